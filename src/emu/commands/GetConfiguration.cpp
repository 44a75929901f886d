#include "emu/commands/Commands.h"
#include "scsi/Bytes.h"
#include "scsi/Opcodes.h"

#include <algorithm>

namespace emu {

namespace {

enum RequestType : std::uint8_t { kAllFeatures = 0, kCurrentFeatures = 1, kOneFeature = 2 };

void AppendFeature(std::vector<std::uint8_t>& out, std::uint16_t code, std::uint8_t version, bool persistent,
                   bool current, const std::vector<std::uint8_t>& data)
{
    const std::size_t at = out.size();
    out.resize(at + 4);
    scsi::PutBe16(&out[at], code);
    out[at + 2] = static_cast<std::uint8_t>((version << 2) | (persistent ? 0x02 : 0) | (current ? 0x01 : 0));
    out[at + 3] = static_cast<std::uint8_t>(data.size());
    out.insert(out.end(), data.begin(), data.end());
}

std::vector<std::uint8_t> ProfileListData(const DriveState& drive, std::uint16_t currentProfile)
{
    std::vector<std::uint8_t> data;
    for (std::uint16_t profile : drive.identity.profiles) {
        data.insert(data.end(),
                    {static_cast<std::uint8_t>(profile >> 8), static_cast<std::uint8_t>(profile),
                     static_cast<std::uint8_t>(profile == currentProfile ? 0x01 : 0x00), 0x00});
    }
    return data;
}

bool IsCurrent(const FeatureDescriptor& feature, std::uint16_t currentProfile)
{
    if (feature.alwaysCurrent)
        return true;
    return currentProfile != 0
        && std::find(feature.currentForProfiles.begin(), feature.currentForProfiles.end(), currentProfile)
        != feature.currentForProfiles.end();
}

void GetConfiguration(CommandContext& command)
{
    const std::uint8_t requestType = command.Byte(1) & 0x03;
    const std::uint16_t start = command.Be16(2);
    if (requestType > kOneFeature || (start != 0 && command.drive.identity.refusals.featuresFromAboveZero)) {
        command.Fail(sense::kInvalidFieldInCdb);
        return;
    }
    const DriveState& drive = command.drive;
    const std::uint16_t currentProfile = drive.CurrentProfile();
    const auto wanted = [&](std::uint16_t code, bool current) {
        if (requestType == kOneFeature)
            return code == start;
        return code >= start && (requestType == kAllFeatures || current);
    };

    std::vector<std::uint8_t> answer(8, 0);
    scsi::PutBe16(&answer[6], currentProfile);
    if (wanted(0x0000, true))
        AppendFeature(answer, 0x0000, 0, true, true, ProfileListData(drive, currentProfile));
    for (const FeatureDescriptor& feature : drive.identity.features) {
        const bool current = IsCurrent(feature, currentProfile);
        if (wanted(feature.code, current))
            AppendFeature(answer, feature.code, feature.version, feature.persistent, current, feature.data);
    }
    scsi::PutBe32(&answer[0], static_cast<std::uint32_t>(answer.size() - 4));
    command.Answer(answer, command.Be16(7));
}

}  // namespace

void RegisterGetConfiguration(CommandTable& table)
{
    table.Register({.opcode = mmc::kGetConfiguration,
                    .name = "GET CONFIGURATION",
                    .cdbLength = 10,
                    .reportsUnitAttention = false,
                    .handler = GetConfiguration});
}

}  // namespace emu
