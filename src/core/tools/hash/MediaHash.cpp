#include "core/tools/hash/MediaHash.h"

#include "core/base/Format.h"
#include "core/base/LogFile.h"
#include "core/base/ReportText.h"
#include "core/base/Percent.h"
#include "core/drive/MediaType.h"
#include "core/tools/hash/HashReport.h"
#include "platform/text/Trim.h"

#include <algorithm>
#include <new>

namespace {

constexpr int kStatusEveryReads = 17;
constexpr int kBlocksPerMegabyte = 512;
constexpr std::size_t kBurnerTextOffset = 8;
constexpr std::size_t kBurnerTextLength = 68;
constexpr std::size_t kRegionByte = 5;
constexpr std::size_t kApplicationOffset = 574;
constexpr std::size_t kApplicationLength = 57;
constexpr std::int64_t kApplicationBlock = 16;

bool HasBurnerInformation(int mediaType)
{
    return mediaType == kMediaDvdMinusR || mediaType == kMediaDvdMinusRw || mediaType == kMediaDvdMinusRDl;
}

}  // namespace

MediaHash::MediaHash(DriveContext& drives, ReportText& report, HashEvents& events, HashChoice choice) :
    m_report(report), m_events(events), m_choice(choice), m_drive(drives)
{
}

HashOutcome MediaHash::HashMedia(std::int64_t startLba, std::int64_t endLba, const std::function<bool()>& keepRunning)
{
    LogEntry("Start HashMedia()");
    try {
        m_drive.LockAndDismountVolume();
        MultiDigest digests(m_choice.Kinds());
        m_report.ShowStatus("Reading Media information please wait...");
        if (!m_drive.TestMediaPresent())
            return EndWith("No Media is present", HashOutcome::Failed);
        int line = WriteMediaInformation(m_drive.GetMediaType());
        m_drive.SetHighestSpeed();
        m_events.OverallProgress(0);
        m_report.ShowStatus("Computing MD5/SHA please wait...");

        ++line;
        const bool entireMedia = startLba == 0 && m_discLastLba == endLba;
        m_report.SetLine(line++, MediaHashHeading(m_choice, entireMedia));
        ++line;
        m_drive.PreventMediumRemoval(true);
        const auto start = static_cast<std::uint32_t>(startLba);
        const auto end = static_cast<std::uint32_t>(endLba);
        m_report.SetLine(line++,
                         Format("%-73s",
                                Format("Computing from Logical Block Addresses %X (%d) to %X (%d)", start,
                                       static_cast<int>(start), end, static_cast<int>(end))
                                    .c_str()));
        m_report.SetLine(
            line++,
            Format("%-73s",
                   Format("Total Number of sectors to be computed %d", static_cast<int>(end - start + 1)).c_str()));
        ++line;
        m_report.RefreshDisplay(ReportText::kWholeReport);

        const HashOutcome read = ReadAndHash(startLba, endLba, digests, keepRunning);
        if (read != HashOutcome::Done)
            return read;
        digests.Finish();
        m_report.ShowStatus("Ready");
        m_drive.PreventMediumRemoval(false);
        m_drive.UnlockVolume();
        for (const std::string& text : DigestGroupLines(digests, m_choice))
            m_report.SetLine(line++, text);
        m_report.RefreshDisplay(ReportText::kWholeReport);
        LogEntry("End HashMedia()");
        return HashOutcome::Done;
    } catch (const std::bad_alloc&) {
        return EndWith("Could not allocate memory", HashOutcome::Failed);
    } catch (const std::exception& error) {
        LogEntry(std::string("EXCEPTION OCCURRED IN HashMedia() - ") + error.what());
        return EndWith("Ready", HashOutcome::Failed);
    }
}

int MediaHash::WriteMediaInformation(int mediaType)
{
    int line = HasBurnerInformation(mediaType) ? WriteBurnerBlock() : 0;
    m_report.SetLine(line++, Format("%28s%29s", " ", "Media Disc Information"));
    ++line;
    std::string id;
    if (m_drive.GetMediaIDString(id) == 0)
        id.clear();
    m_report.SetLine(line++, Format("Media ID%65s", TrimText(id).c_str()));
    m_report.SetLine(line++, Format("Media Type%63s", TrimText(m_drive.GetMediaTypeName()).c_str()));

    std::vector<std::uint8_t> answer;
    if (m_drive.IsVideoDvd() && m_drive.ReadRegionInformation(answer) == 0) {
        std::string regions;
        for (int region = 0; region < 8; ++region)
            if (!(answer[kRegionByte] & (1u << region)))
                regions += std::to_string(region + 1) + ",";
        if (!regions.empty())
            regions.pop_back();
        m_report.SetLine(line++, Format("%-47s%26s", "Disc Regions are ", regions.c_str()));
        m_report.SetLine(line++, Format("CSS Protected%60s", m_drive.IsMediaCSSProtected() == 1 ? "Yes" : "No"));
    }

    if (const CapacityAnswer capacity = m_drive.ReadCapacity(); capacity.ok) {
        m_discLastLba = capacity.lastLba;
        const auto bytes = static_cast<std::int64_t>(static_cast<std::int32_t>(capacity.lastLba)) * 2048;
        if (bytes <= 0) {
            m_report.SetLine(line++, Format("%-43s%30s", "Format Capacity ", "Blank Disc"));
        } else {
            const auto count = static_cast<float>(bytes);
            const std::string size = Format("%8.2fGB(%4.2fGB)", count / 1073741824.0, count / 1e9);
            m_report.SetLine(line++, Format("%-43s%30s", "Format Capacity", size.c_str()));
        }
    } else if (mediaType == kMediaDvdRom) {
        m_report.SetLine(line++, Format("%s%59s", "Formatted Size", "Pressed DVD"));
    }

    std::vector<std::uint8_t> block;
    if (m_drive.ReadBlock(kApplicationBlock, block) == 0) {
        const std::string application = TrimText(
            AnswerText(block, kApplicationOffset, block.size()).substr(0, kApplicationLength));
        if (!application.empty())
            m_report.SetLine(line++, Format("Application id%59s", application.c_str()));
    }
    return line;
}

int MediaHash::WriteBurnerBlock()
{
    m_report.SetLine(0, Format("%13s%s%13s", " ", "Information on burner used to write this Media", " "));
    std::vector<std::uint8_t> answer;
    if (m_drive.ReadBurnerInformation(answer) != 0) {
        m_report.SetLine(
            2, Format("%2s%s%s", " ", "Not supported by your burner (recommend Pioneer, Liteon, NEC, Optiarc)", " "));
    } else {
        std::string text;
        for (std::size_t i = kBurnerTextOffset; i < kBurnerTextOffset + kBurnerTextLength; ++i) {
            const auto c = static_cast<signed char>(answer[i]);
            text.push_back(c < '0' || c > 'z' ? ' ' : static_cast<char>(c));
        }
        m_report.SetLine(2, Format("%73s", text.c_str()));
    }
    return 4;
}

HashOutcome MediaHash::ReadAndHash(std::int64_t startLba, std::int64_t endLba, MultiDigest& digests,
                                   const std::function<bool()>& keepRunning)
{
    std::vector<std::uint8_t> buffer(std::size_t{kBlocksPerRead} * kBlockBytes);
    int passes = 0;
    int shown = -1;
    for (std::int64_t lba = startLba; lba <= endLba;) {
        const int percent = PercentOf(lba - startLba, endLba - startLba + 1);
        if (percent != shown) {
            shown = percent;
            m_events.OverallProgress(percent);
        }
        if (++passes == kStatusEveryReads) {
            passes = 0;
            m_report.ShowStatus(Format("Finished reading %dMB of %dMB", static_cast<int>(lba / kBlocksPerMegabyte),
                                       static_cast<int>(endLba / kBlocksPerMegabyte)));
        }
        if (!keepRunning())
            return EndWith("User aborted", HashOutcome::Cancelled);
        int count = kBlocksPerRead;
        if (endLba - lba + 1 < kBlocksPerRead) {
            count = static_cast<int>(endLba - lba + 1);
            std::fill(buffer.begin(), buffer.end(), 0);
        }
        m_drive.PollUntilReady();
        SenseCode sense;
        if (m_drive.Read10(buffer.data(), static_cast<std::uint32_t>(lba), count, sense) != 0) {
            LogEntryF("HashMedia() - READ(10) of %d blocks at %lld failed, sense %X/%02X/%02X", count,
                      static_cast<long long>(lba), sense.key, sense.asc, sense.ascq);
            if (sense.key == 5 && sense.asc == 0x6F && sense.ascq == 0x03) {
                m_events.Notice("This Disc is encrypted and locked and cannot be read. Try playing in a player first "
                                "to unlock it");
                return EndWith("Media is encrypted & locked", HashOutcome::Failed);
            }
            m_events.Notice("Unrecoverable Media error, MD5 calculation cannot continue");
            return EndWith("Unrecoverable Media error", HashOutcome::Failed);
        }
        digests.Update(buffer.data(), std::size_t(count) * kBlockBytes);
        lba += count;
    }
    return HashOutcome::Done;
}

HashOutcome MediaHash::EndWith(const std::string& status, HashOutcome outcome)
{
    m_report.ShowStatus(status);
    m_drive.PreventMediumRemoval(false);
    m_drive.UnlockVolume();
    LogEntry("End HashMedia() - " + status);
    return outcome;
}
