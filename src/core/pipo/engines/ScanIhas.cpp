#include "core/drive/DriveContext.h"
#include "core/pipo/ScanContext.h"
#include "core/pipo/engines/F3SessionScan.h"
#include "core/pipo/engines/ScanEngine.h"

#include <array>

namespace {

constexpr std::uint32_t kStartBytes = 2048;
constexpr std::uint32_t kShortBytes = 8;

}  // namespace

void ScanIhas(ScanContext& context)
{
    IhasCommands& ihas = context.drive.ihas;
    std::array<std::uint8_t, kStartBytes> buffer{};
    F3SessionCommands commands;
    commands.start = [&] {
        ihas.VendorF3Read(buffer.data(), 0x01, kStartBytes);
        ihas.VendorF3Read(buffer.data(), 0x02, kShortBytes);
    };
    commands.read = [&](std::uint8_t* reply, std::uint64_t) {
        return ihas.VendorF3Read(reply, 0x03, kShortBytes).value;
    };
    commands.retry = [&](std::uint64_t) { ihas.VendorF3Read(buffer.data(), 0x02, kShortBytes); };
    commands.end = [&] { ihas.VendorF3Read(buffer.data(), 0x0F, kShortBytes); };
    commands.firmwareMessage = "Check your firmware revision.";
    RunF3SessionScan(context, commands);
}
