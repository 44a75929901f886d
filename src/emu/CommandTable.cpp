#include "emu/CommandTable.h"

#include "scsi/Bytes.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <utility>

namespace emu {

std::uint16_t CommandContext::Be16(std::size_t index) const
{
    return scsi::GetBe16(&cdb[index]);
}

std::uint32_t CommandContext::Be32(std::size_t index) const
{
    return scsi::GetBe32(&cdb[index]);
}

namespace {

// The hook, made on first use: a test program sets it while its statics
// are made.
struct MismatchHook {
    std::mutex mutex;
    TransferMismatchHook hook;
};

MismatchHook& TheMismatchHook()
{
    static MismatchHook instance;
    return instance;
}

void ReportMismatch(const std::string& what)
{
    MismatchHook& shared = TheMismatchHook();
    TransferMismatchHook hook;
    {
        std::lock_guard lock(shared.mutex);
        hook = shared.hook;
    }
    if (hook)
        hook(what);
}

}  // namespace

TransferMismatchHook SetTransferMismatchHook(TransferMismatchHook hook)
{
    MismatchHook& shared = TheMismatchHook();
    std::lock_guard lock(shared.mutex);
    return std::exchange(shared.hook, std::move(hook));
}

bool CommandContext::TransferIs(std::size_t bytes)
{
    return CheckTransfer(bytes, false);
}

bool CommandContext::CheckTransfer(std::size_t bytes, bool roomToSpare)
{
    const std::size_t host = m_buffer && m_direction != DataDirection::None ? m_bufferLength : 0;
    if (host == bytes || !drive.checkTransferLengths)
        return true;
    char text[160];
    std::snprintf(text, sizeof text, "command %02Xh moved %zu bytes where its CDB asks for %zu", cdb[0], host, bytes);
    ReportMismatch(text);
    // An answer cut to its allocation length fits a larger buffer, the rest
    // left as residue, as on a drive; any other mismatch is a data phase error.
    if (roomToSpare && m_direction == DataDirection::In && host > bytes)
        return true;
    Fail(sense::kDataPhaseError);
    return false;
}

void CommandContext::Answer(const std::vector<std::uint8_t>& bytes, std::size_t allocationLength)
{
    if (!CheckTransfer(allocationLength, true))
        return;
    std::size_t room = 0;
    std::uint8_t* out = DataIn(room);
    const std::size_t count = std::min({bytes.size(), allocationLength, room});
    if (out && count)
        std::memcpy(out, bytes.data(), count);
    m_transferred = out ? count : 0;
}

std::uint8_t* CommandContext::DataIn(std::size_t& length)
{
    if (m_direction != DataDirection::In || !m_buffer) {
        length = 0;
        return nullptr;
    }
    length = m_bufferLength;
    return m_buffer;
}

const std::uint8_t* CommandContext::DataOut(std::size_t& length) const
{
    if (m_direction != DataDirection::Out || !m_buffer) {
        length = 0;
        return nullptr;
    }
    length = m_bufferLength;
    return m_buffer;
}

void CommandContext::Fail(const Sense& answer, std::optional<std::uint32_t> information)
{
    m_failure = answer;
    m_information = information;
}

}  // namespace emu
