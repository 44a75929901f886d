#include "emu/commands/Commands.h"
#include "scsi/Bytes.h"
#include "scsi/Opcodes.h"

#include <algorithm>

namespace emu {

namespace {

constexpr std::uint8_t kCapabilitiesPage = 0x2A;
constexpr std::uint8_t kWriteParametersPage = 0x05;
constexpr std::uint8_t kAllPages = 0x3F;
enum PageControl : std::uint8_t { kCurrent = 0, kChangeable = 1, kDefault = 2, kSaved = 3 };

// The capabilities and mechanical status page in its MMC-3 layout, with
// the lock state of the moment and the speeds of the loaded medium.
std::vector<std::uint8_t> CapabilitiesPage(const DriveState& drive)
{
    const DriveCapabilities& caps = drive.identity.capabilities;
    const MediumSpeeds& speeds = drive.CurrentSpeeds();
    std::vector<std::uint8_t> page(32 + 4 * speeds.writeSpeedsKBps.size(), 0);
    page[0] = kCapabilitiesPage;
    page[1] = static_cast<std::uint8_t>(page.size() - 2);
    page[2] = caps.readFlags;
    page[3] = caps.writeFlags;
    page[4] = caps.mediaFunctions;
    page[5] = caps.cdDaFunctions;
    page[6] = static_cast<std::uint8_t>((caps.loadingMechanism << 5) | (caps.canEject ? 0x08 : 0)
                                        | (drive.removalPrevented ? 0x02 : 0) | (caps.canLock ? 0x01 : 0));
    page[7] = 0x03;  // separate volume and mute per channel
    const auto atMost = [](std::uint16_t set, std::uint16_t top) { return set && set < top ? set : top; };
    const std::uint16_t readSpeed = atMost(drive.readSpeedKBps, speeds.readKBps);
    const std::uint16_t writeSpeed = atMost(drive.writeSpeedKBps, speeds.writeKBps);
    scsi::PutBe16(&page[8], speeds.readKBps);
    scsi::PutBe16(&page[10], caps.volumeLevels);
    scsi::PutBe16(&page[12], caps.bufferKB);
    scsi::PutBe16(&page[14], readSpeed);
    scsi::PutBe16(&page[18], speeds.writeKBps);
    scsi::PutBe16(&page[20], writeSpeed);
    scsi::PutBe16(&page[28], writeSpeed);
    scsi::PutBe16(&page[30], static_cast<std::uint32_t>(speeds.writeSpeedsKBps.size()));
    for (std::size_t i = 0; i < speeds.writeSpeedsKBps.size(); ++i)
        scsi::PutBe16(&page[32 + 4 * i + 2], speeds.writeSpeedsKBps[i]);
    return page;
}

// A writer's write parameters page carries the loaded CD's media catalogue
// number (MCVAL and 13 digits at bytes 16-29).
void PutCatalogNumber(std::vector<std::uint8_t>& page, const DriveState& drive)
{
    if ((page[0] & 0x3F) != kWriteParametersPage || page.size() < 32 || !drive.medium
        || drive.medium->description.family != MediumFamily::Cd)
        return;
    const std::string& number = drive.medium->description.catalogNumber;
    if (number.size() != 13)
        return;
    page[16] = 0x80;
    std::copy(number.begin(), number.end(), page.begin() + 17);
}

std::vector<std::vector<std::uint8_t>> AllPages(const DriveState& drive)
{
    std::vector<std::vector<std::uint8_t>> pages = drive.identity.modePages;
    for (std::vector<std::uint8_t>& page : pages) {
        for (const auto& selected : drive.selectedModePages)
            if ((selected[0] & 0x3F) == (page[0] & 0x3F))
                page = selected;
        PutCatalogNumber(page, drive);
    }
    pages.push_back(CapabilitiesPage(drive));
    std::sort(pages.begin(), pages.end(), [](const auto& a, const auto& b) { return (a[0] & 0x3F) < (b[0] & 0x3F); });
    return pages;
}

void ModeSense10(CommandContext& command)
{
    const auto control = static_cast<PageControl>(command.Byte(2) >> 6);
    const std::uint8_t pageCode = command.Byte(2) & 0x3F;
    if (control == kSaved) {
        command.Fail(sense::kSavingNotSupported);
        return;
    }
    if (command.Byte(3) != 0) {  // no subpages
        command.Fail(sense::kInvalidFieldInCdb);
        return;
    }
    if (pageCode == kAllPages && command.drive.identity.refusals.allModePages) {
        command.Fail(sense::kInvalidFieldInCdb);
        return;
    }
    std::vector<std::uint8_t> answer(8, 0);  // header without block descriptors
    for (std::vector<std::uint8_t> page : AllPages(command.drive)) {
        if (pageCode != kAllPages && (page[0] & 0x3F) != pageCode)
            continue;
        if (control == kChangeable)
            std::fill(page.begin() + 2, page.end(), 0);
        answer.insert(answer.end(), page.begin(), page.end());
    }
    if (answer.size() == 8) {
        command.Fail(sense::kInvalidFieldInCdb);
        return;
    }
    scsi::PutBe16(&answer[0], static_cast<std::uint32_t>(answer.size() - 2));
    command.Answer(answer, command.Be16(7));
}

// MODE SELECT(10) with page format: the pages of the parameter list after
// its 8-byte header replace the current ones. Only the power condition page
// may change here, and only as long as the drive's own.
void ModeSelect10(CommandContext& command)
{
    constexpr std::uint8_t kPowerConditionPage = 0x1A;
    constexpr std::size_t kHeaderLength = 8;
    if ((command.Byte(1) & 0x10) == 0 || (command.Byte(1) & 0x01) != 0) {  // page format, no saving
        command.Fail(sense::kInvalidFieldInCdb);
        return;
    }
    if (!command.TransferIs(command.Be16(7)))
        return;
    std::size_t length = 0;
    const std::uint8_t* list = command.DataOut(length);
    if (!list || length < kHeaderLength) {
        command.Fail(sense::kParameterListLengthError);
        return;
    }
    std::vector<std::vector<std::uint8_t>> pages;
    for (std::size_t at = kHeaderLength; at < length;) {
        if (at + 2 > length || at + 2 + list[at + 1] > length) {
            command.Fail(sense::kParameterListLengthError);
            return;
        }
        std::vector<std::uint8_t> page(list + at, list + at + 2 + list[at + 1]);
        page[0] &= 0x3F;
        const auto& own = command.drive.identity.modePages;
        const bool known = std::any_of(own.begin(), own.end(), [&](const auto& mine) {
            return (mine[0] & 0x3F) == page[0] && mine.size() == page.size();
        });
        if (page[0] != kPowerConditionPage || !known) {
            command.Fail(sense::kInvalidFieldInParameterList);
            return;
        }
        pages.push_back(std::move(page));
        at += pages.back().size();
    }
    for (auto& page : pages) {
        std::erase_if(command.drive.selectedModePages, [&](const auto& kept) { return kept[0] == page[0]; });
        command.drive.selectedModePages.push_back(std::move(page));
    }
}

}  // namespace

void RegisterModeSense(CommandTable& table)
{
    table.Register({.opcode = mmc::kModeSense10, .name = "MODE SENSE(10)", .cdbLength = 10, .handler = ModeSense10});
    table.Register({.opcode = mmc::kModeSelect10, .name = "MODE SELECT(10)", .cdbLength = 10, .handler = ModeSelect10});
}

}  // namespace emu
