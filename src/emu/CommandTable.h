#pragma once

#include "emu/DriveState.h"
#include "emu/Sense.h"
#include "scsi/DataDirection.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace emu {

using CdbBytes = std::array<std::uint8_t, 16>;

// One command on its way through a handler: the CDB, the host's buffer, and
// what the handler answers.
class CommandContext {
public:
    CommandContext(DriveState& driveState, const CdbBytes& cdbBytes, DataDirection direction, std::uint8_t* buffer,
                   std::size_t bufferLength) :
        drive(driveState), cdb(cdbBytes), m_direction(direction), m_buffer(buffer), m_bufferLength(bufferLength)
    {
    }

    std::uint8_t Byte(std::size_t index) const { return cdb[index]; }
    std::uint16_t Be16(std::size_t index) const;
    std::uint32_t Be32(std::size_t index) const;

    // Sends a data-in answer cut to the allocation length; a host transfer
    // of another length is a mismatch, but a larger buffer still gets the
    // answer (the rest is residue), as a drive sends it.
    void Answer(const std::vector<std::uint8_t>& bytes, std::size_t allocationLength);
    // Whether the host's transfer is as long as the command asks for (the
    // blocks of a read, a parameter list, an allocation length); if not, the
    // command fails as a data phase error and the mismatch is reported.
    bool TransferIs(std::size_t bytes);
    // The host's buffer for a data-in answer written in place; null when the
    // host asked for no data in.
    std::uint8_t* DataIn(std::size_t& length);
    // The host's data-out bytes (a parameter list); null when it sent none.
    const std::uint8_t* DataOut(std::size_t& length) const;
    void SetTransferred(std::size_t bytes) { m_transferred = bytes; }

    void Fail(const Sense& answer, std::optional<std::uint32_t> information = std::nullopt);
    bool Failed() const { return m_failure.has_value(); }
    const std::optional<Sense>& Failure() const { return m_failure; }
    std::optional<std::uint32_t> Information() const { return m_information; }
    std::size_t Transferred() const { return m_transferred; }

    DriveState& drive;
    const CdbBytes& cdb;

private:
    bool CheckTransfer(std::size_t bytes, bool roomToSpare);

    DataDirection m_direction;
    std::uint8_t* m_buffer;
    std::size_t m_bufferLength;
    std::size_t m_transferred = 0;
    std::optional<Sense> m_failure;
    std::optional<std::uint32_t> m_information;
};

using CommandHandler = void (*)(CommandContext&);

// Told of every command whose host transfer differs from the length its CDB
// asks for (a program fault): what was sent and what was asked. Tests fail on
// it; the previous hook is returned so that a test can put it back.
using TransferMismatchHook = std::function<void(const std::string& what)>;
TransferMismatchHook SetTransferMismatchHook(TransferMismatchHook hook);

// How the drive treats one operation code before its handler runs.
struct CommandEntry {
    std::uint8_t opcode = 0;
    const char* name = "";
    std::uint8_t cdbLength = 0;  // the length strict mode insists on
    bool needsReadyMedium = false;  // not-ready sense while no readable disc is ready
    bool reportsUnitAttention = true;  // INQUIRY, REQUEST SENSE and GET CONFIGURATION do not
    CommandHandler handler = nullptr;
};

// The commands a drive knows, keyed by operation code. Command sets are
// built by registering handlers, so a new command is a new file.
class CommandTable {
public:
    void Register(const CommandEntry& entry) { m_entries[entry.opcode] = entry; }
    const CommandEntry* Find(std::uint8_t opcode) const { return m_entries[opcode] ? &*m_entries[opcode] : nullptr; }

private:
    std::array<std::optional<CommandEntry>, 256> m_entries;
};

}  // namespace emu
