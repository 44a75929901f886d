#include "platform/passthrough/EmulatedDrives.h"

#include "emu/Clock.h"
#include "emu/DrivePresets.h"
#include "emu/EmulatedDrive.h"
#include "emu/MediaPresets.h"
#include "platform/text/Trim.h"
#include "scsi/AsciiText.h"

#include <charconv>
#include <string_view>

namespace {

std::vector<std::string> Split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end - start));  // npos - start still reaches the end
        if (end == std::string::npos)
            return parts;
        start = end + 1;
    }
}

std::string Joined(const std::vector<std::string>& names)
{
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "" : ", ") + name;
    return text;
}

class DriveClockTime : public EmulatedDriveTime {
public:
    explicit DriveClockTime(std::shared_ptr<emu::Clock> clock) : m_clock(std::move(clock)) {}
    std::uint64_t NowMs() const override { return m_clock->NowMs(); }
    void Wait(std::uint32_t milliseconds) override { m_clock->Spend(std::uint64_t{milliseconds} * 1000); }

private:
    std::shared_ptr<emu::Clock> m_clock;
};

bool IsSpeedupItem(const std::string& item)
{
    constexpr std::string_view kPrefix = "speedup=";
    return item.size() >= kPrefix.size() && scsi::EqualsIgnoringCase(item.substr(0, kPrefix.size()), kPrefix);
}

}  // namespace

double ParseEmulatedSpeedup(const std::string& setting, std::vector<std::string>& problems)
{
    double speedup = kDefaultEmulatedSpeedup;
    for (const std::string& rawItem : Split(setting, ',')) {
        const std::string item = TrimText(rawItem);
        if (!IsSpeedupItem(item))
            continue;
        const std::string value = TrimText(item.substr(item.find('=') + 1));
        int parsed = -1;
        const auto [end, failure] = std::from_chars(value.data(), value.data() + value.size(), parsed);
        if (value.empty() || failure != std::errc() || end != value.data() + value.size() || parsed < 0
            || parsed > 1000) {
            problems.push_back("\"" + item + "\" is not speedup=N with N from 0 to 1000");
            continue;
        }
        speedup = parsed;
    }
    return speedup;
}

std::shared_ptr<EmulatedDriveTime> EmulatedDriveTimeOf(const emu::EmulatedDrive& drive)
{
    std::shared_ptr<emu::Clock> clock = drive.GetClock();
    if (!clock || dynamic_cast<emu::SteadyClock*>(clock.get()))
        return nullptr;  // its spends pass no time: a wait on it would not wait
    return std::make_shared<DriveClockTime>(std::move(clock));
}

std::vector<EmulatedDriveRequest> DefaultEmulatedDrives()
{
    return {{"dvd-writer", "dvd+r"}, {"bd-writer", "bd-r"}, {"cd-reader", "cd-rom"}};
}

std::vector<EmulatedDriveRequest> ParseEmulateSetting(const std::string& setting, std::vector<std::string>& problems)
{
    std::vector<EmulatedDriveRequest> requests;
    for (const std::string& rawItem : Split(setting, ',')) {
        const std::string item = TrimText(rawItem);
        if (item.empty() || IsSpeedupItem(item))
            continue;
        if (scsi::EqualsIgnoringCase(item, "default")) {
            for (const auto& request : DefaultEmulatedDrives())
                requests.push_back(request);
            continue;
        }
        const std::vector<std::string> parts = Split(item, ':');
        if (parts.size() != 2 || TrimText(parts[0]).empty() || TrimText(parts[1]).empty()) {
            problems.push_back("\"" + item + "\" is not drive:medium");
            continue;
        }
        requests.push_back({TrimText(parts[0]), TrimText(parts[1])});
    }
    return requests;
}

std::vector<NamedEmulatedDrive> MakeEmulatedDrives(const std::string& setting, std::vector<std::string>& problems)
{
    std::vector<NamedEmulatedDrive> drives;
    const double speedup = ParseEmulatedSpeedup(setting, problems);
    std::shared_ptr<emu::Clock> clock;
    if (speedup > 0)
        clock = std::make_shared<emu::PacedClock>(speedup);
    else
        clock = std::make_shared<emu::SteadyClock>();
    for (const EmulatedDriveRequest& request : ParseEmulateSetting(setting, problems)) {
        std::string error;
        auto drive = emu::MakeEmulatedDrive(request.drivePreset, request.mediumPreset, clock, &error);
        if (!drive) {
            problems.push_back(error);
            continue;
        }
        drives.emplace_back("emu" + std::to_string(drives.size()), std::move(drive));
    }
    return drives;
}

std::string DescribeEmulatePresets()
{
    return "Drive presets: " + Joined(emu::DrivePresetNames())
        + "\nMedium presets: " + Joined(emu::MediumPresetNames());
}
