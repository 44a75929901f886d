#pragma once

#include "emu/Sense.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace emu {

// One entry of the drive's injected-error list. A rule matches commands whose
// operation code lies in [firstOpcode, lastOpcode]; with a block range it
// matches only block commands that touch it. It fires `remaining` times
// (-1: for ever); a rule not tied to blocks lets the first `skip` commands it
// matches pass first.
struct ErrorRule {
    enum class Kind {
        Sense,  // the drive answers CHECK CONDITION with `sense`
        PermissionDenied,  // the kernel refuses to pass the command on (EPERM)
        TransportFailure,  // the command is lost on the way: no status, no sense
    };
    Kind kind = Kind::Sense;
    std::uint8_t firstOpcode = 0x00;
    std::uint8_t lastOpcode = 0xFF;
    std::uint64_t firstBlock = 0;
    std::uint64_t blockCount = 0;  // 0: not tied to blocks
    Sense sense;
    int remaining = -1;
    int skip = 0;

    bool MatchesOpcode(std::uint8_t opcode) const { return opcode >= firstOpcode && opcode <= lastOpcode; }
    bool TiedToBlocks() const { return blockCount != 0; }

    static ErrorRule UnreadableBlocks(std::uint64_t first, std::uint64_t count)
    {
        ErrorRule rule;
        rule.firstBlock = first;
        rule.blockCount = count;
        rule.sense = sense::kUnrecoveredReadError;
        return rule;
    }
    static ErrorRule CheckCondition(std::uint8_t opcode, const Sense& answer, int times = -1, int after = 0)
    {
        ErrorRule rule;
        rule.firstOpcode = rule.lastOpcode = opcode;
        rule.sense = answer;
        rule.remaining = times;
        rule.skip = after;
        return rule;
    }
    static ErrorRule Refusal(Kind kind, std::uint8_t first = 0x00, std::uint8_t last = 0xFF, int times = -1)
    {
        ErrorRule rule;
        rule.kind = kind;
        rule.firstOpcode = first;
        rule.lastOpcode = last;
        rule.remaining = times;
        return rule;
    }
};

// The error list's rules tied to blocks, kept by their first block so that
// a read finds the rules it touches without looking at every other one (a
// disc may carry thousands of bad blocks).
class BlockRules {
public:
    void Add(const ErrorRule& rule);
    void Clear();
    // The CHECK CONDITION rule that fires first for [lba, lba + count): the
    // one whose range begins lowest within it, the earlier added on a tie;
    // firstBad gets that block. Null when none does.
    ErrorRule* FindFirst(std::uint8_t opcode, std::uint64_t lba, std::uint64_t count, std::uint64_t& firstBad);

private:
    struct Entry {
        ErrorRule rule;
        std::size_t order;
    };
    std::vector<Entry> m_entries;  // by first block, then order
    std::uint64_t m_longest = 0;
    std::size_t m_added = 0;
};

}  // namespace emu
