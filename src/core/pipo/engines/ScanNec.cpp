#include "core/drive/DriveContext.h"
#include "core/pipo/ScanContext.h"
#include "core/pipo/engines/F3SessionScan.h"
#include "core/pipo/engines/ScanEngine.h"

#include <array>

namespace {

constexpr std::uint32_t kStartBytes = 2048;
constexpr std::uint32_t kShortBytes = 8;

}  // namespace

void ScanNec(ScanContext& context)
{
    NecCommands& nec = context.drive.nec;
    std::array<std::uint8_t, kStartBytes> buffer{};
    F3SessionCommands commands;
    commands.start = [&] {
        nec.NecReadErrorData(buffer.data(), 0x01, 0, kStartBytes);
        nec.NecReadErrorData(buffer.data(), 0x02, 0, kShortBytes);
    };
    commands.read = [&](std::uint8_t* reply, std::uint64_t running) {
        return nec.NecReadErrorData(reply, 0x03, running, kShortBytes).value;
    };
    commands.retry = [&](std::uint64_t lastAccepted) {
        nec.NecReadErrorData(buffer.data(), 0x02, lastAccepted, kShortBytes);
    };
    commands.end = [&] { nec.NecReadErrorData(buffer.data(), 0x0F, 0, kShortBytes); };
    commands.firmwareMessage = "Check your firmware. Revision 2R8 at least is required.";
    RunF3SessionScan(context, commands);
}
