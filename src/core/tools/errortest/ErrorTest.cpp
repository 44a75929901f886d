#include "core/tools/errortest/ErrorTest.h"

#include "core/base/Format.h"
#include "core/base/LogFile.h"
#include "core/base/MessageIds.h"
#include "core/base/Percent.h"
#include "core/app/TestPageControls.h"
#include "core/drive/ChannelCoordinator.h"
#include "core/drive/DriveContext.h"
#include "core/drive/SenseReport.h"
#include "core/tools/iso/DiscWalk.h"
#include "core/tools/testpage/DiscFacts.h"
#include "core/tools/testpage/TestPageEvents.h"
#include "core/tools/testpage/TestReads.h"
#include "core/tools/testpage/TestResults.h"
#include "scsi/DiscStructure.h"
#include "scsi/Opcodes.h"

#include <algorithm>
#include <array>
#include <new>

using namespace testpage;
using namespace errortest;

namespace {

constexpr int kBlocksPerRead = 25;
constexpr int kCdBlocksPerRead = 20;
constexpr int kBdReadsPerGroup = 75;
constexpr std::size_t kRawSectorBytes = 2352;
constexpr std::uint32_t kStructureLength = disc_structure::kPhysicalFormatLength;

}  // namespace

namespace errortest {

GroupShape GroupShapeFor(int profile, int layers)
{
    if (IsCdProfile(profile))
        return {4, kCdBlocksPerRead};
    if (IsDdcdProfile(profile))
        return {8, kCdBlocksPerRead};
    if (IsBdProfile(profile))
        return {kBdReadsPerGroup, kBlocksPerRead};
    return {layers > 1 ? 32 : 16, kBlocksPerRead};
}

}  // namespace errortest

std::string ErrorTestReach::StoppedLine() const
{
    const double share = discBlocks ? 100.0 * nextBlock / discBlocks : 0;
    if (end == ErrorTestEnd::Fault)
        return Format("Test ended at LBA = %08xh, %s: %u of %u blocks tested (%.2f%%)", faultBlock, DriveLossText(loss),
                      nextBlock, discBlocks, share);
    if (end != ErrorTestEnd::Stopped)
        return {};
    return Format("Test stopped at LBA = %08xh: %u of %u blocks tested (%.2f%%)", nextBlock, nextBlock, discBlocks,
                  share);
}

// One run's state.
struct ErrorTest::Run {
    int profile = 0;
    GroupShape shape;
    std::uint32_t last = 0;  // READ CAPACITY's last block
    std::uint32_t blocks = 0;  // the disc's: the last one is tested too
    std::uint32_t position = 0;
    std::uint8_t opcode = mmc::kRead10;
    std::size_t blockBytes = kBlockBytes;
    std::vector<std::uint8_t> buffer;
    std::optional<TrayLock> tray;
    std::string lengthText;
};

ErrorTest::ErrorTest(DriveContext& drives, ReportText& report, TestPageEvents& events, ChannelClaim& claim) :
    m_drives(drives), m_report(report), m_events(events), m_claim(claim)
{
}

ErrorTestEnd ErrorTest::DoErrorTest()
{
    return RunBody(Body::CdDvd);
}

ErrorTestEnd ErrorTest::DoBDErrorTest()
{
    LogEntry("Start THREAD DoBDErrorTest()");
    const ErrorTestEnd end = RunBody(Body::Bd);
    LogEntry("End DoBDErrorTest()");
    return end;
}

ErrorTestEnd ErrorTest::RunBody(Body body)
{
    const VolumeLock volume(m_drives.m_ScsiCommand);
    Run run;
    try {
        run.buffer.resize(std::size_t{kBlocksPerRead} * kBlockBytes);
    } catch (const std::bad_alloc&) {
        if (body == Body::Bd)
            LogEntry("Error DoBDErrorTest()  buffer is NULL ");
        m_events.ShowStatus("Could not allocate memory");
        m_events.Beep(MB_OK);
        return EndEarly(nullptr);
    }
    if (const auto end = SetUp(run, body))
        return *end;
    return Test(run, body);
}

std::optional<ErrorTestEnd> ErrorTest::SetUp(Run& run, Body body)
{
    DriveContext& drives = m_drives;
    m_events.SetText(kFieldBadSectors, "0");
    m_events.SetText(kFieldSuspectSectors, "0");
    m_events.SetText(kFieldBadShare, "0%");
    m_events.ResetList(kReadErrorsHeading);
    m_events.EnablePageButton(PageButton::Save, false);
    m_events.SetMapLayerBreak(0);

    if (drives.media.GetDriveProfile(run.profile) != 0 && body == Body::Bd)
        LogEntry("Error DoBDErrorTest()  SCSI_Cmd_GetConfiguration");
    if (!m_claim.Begin())  // stopped before it began
        return EndEarly("Ready");

    int layers = 1;
    std::uint32_t layerBreak = 0;
    if (body == Body::CdDvd) {
        std::vector<std::uint8_t> answer(kStructureLength, 0);
        if (drives.reads.ReadDiscStructureNoCheck(0, 0, disc_structure::kPhysicalFormat, kStructureLength,
                                                  answer.data())
            == 0) {
            const DiscLayers found = discwalk::LayersFromStructure(answer);
            layers = found.layers;
            layerBreak = static_cast<std::uint32_t>(found.layerBreakLba);
        }
    }
    run.shape = GroupShapeFor(body == Body::Bd ? profile::kBdRom : run.profile, layers);

    const CapacityAnswer capacity = drives.reads.ReadCapacityAnswer();
    if (!capacity.ok) {
        if (body == Body::Bd)
            LogEntry("Error DoBDErrorTest()  SCSI_Cmd_ReadCapacity");
        m_events.Beep(MB_OK);
        return EndEarly(nullptr);
    }
    run.last = capacity.lastLba;
    if (layers == 2)
        m_events.SetMapLayerBreak(discwalk::LayerBreakCell(layerBreak));
    if (run.last == 0) {
        m_events.MessageBox("Media seems to be blank!");
        RestorePage();
        m_events.Post(WM_TESTENDED);
        m_events.ShowStatus("Error - Media is blank");
        m_claim.BusyFlag() = 0;
        m_reach.end = ErrorTestEnd::Blank;
        return ErrorTestEnd::Blank;
    }
    // The last block READ CAPACITY names is the disc's too: it is tested.
    run.blocks = run.last + 1;
    m_reach.discBlocks = run.blocks;
    for (const auto* labels : {&kSpeedAxisLabels, &kRpmAxisLabels})
        for (int id : *labels)
            m_events.SetText(id, "");
    run.lengthText = DiscLengthText(body == Body::Bd ? profile::kBdRom : run.profile, run.last);
    m_events.SetText(kFieldLength, run.lengthText);
    drives.mmc.PollUntilReady();

    if (!TestRead(run, body))
        return ErrorTestEnd::Failed;
    if (body == Body::Bd)
        LogEntry("DoBDErrorTest()  Do PreventAllowRemoval");
    run.tray.emplace(drives.mmc);
    if (body == Body::Bd)
        LogEntry("DoBDErrorTest()  Do SCSI_Cmd_SetSpeed");
    // The drive's fastest reading and writing; the result is not looked at.
    drives.mmc.SetCdSpeedKBps(kMaximumCdSpeed, kMaximumCdSpeed);
    m_events.ShowStatus("Test Running");
    return std::nullopt;
}

bool ErrorTest::TestRead(Run& run, Body body)
{
    // Never past the disc's end: a small disc would refuse it.
    const int count = static_cast<int>(std::min<std::uint32_t>(run.shape.blocksPerRead, run.blocks));
    if (Read(run, kForceUnitAccess, 0, count).ok)
        return true;
    if (body == Body::CdDvd) {
        if (!ReadForTest(m_drives.reads, mmc::kReadCd, 0, std::max(1, count / 2), 0, run.buffer)) {
            run.opcode = mmc::kReadCd;
            run.blockBytes = kRawSectorBytes;
            try {
                run.buffer.assign(std::size_t(run.shape.blocksPerRead) * kRawSectorBytes, 0);
            } catch (const std::bad_alloc&) {
                EndEarly("Could not allocate memory");
                return false;
            }
            return true;
        }
    } else {
        LogEntry("Error DoBDErrorTest()  SCSI_Cmd_Read10");
    }
    ReportSenseError(m_drives.m_ScsiCommand, m_report, mmc::kRead10);
    EndEarly(nullptr);
    return false;
}

BlockReadResult ErrorTest::Read(Run& run, std::uint8_t byte1, std::uint32_t lba, int count)
{
    const auto bytes = std::span(run.buffer).first(std::size_t(count) * run.blockBytes);
    return ReadBlocksForTest(m_drives.reads, run.opcode, lba, count, byte1, bytes);
}

DriveLoss ErrorTest::LossAfter(const BlockReadResult& read)
{
    return read.ok ? DriveLoss::None : ConfirmLoss(m_drives.m_ScsiCommand, m_drives.mmc.GetWaitClock(), read);
}

ErrorTestEnd ErrorTest::Test(Run& run, Body body)
{
    while (run.position < run.blocks) {
        m_events.SetText(kFieldSector, Format("%Xh", run.position));
        m_reach.nextBlock = run.position;
        if (m_claim.StopRequested()) {
            if (body == Body::Bd)
                LogEntry("DoBDErrorTest()  Stop command received");
            return EndStopped(run);
        }
        const std::uint32_t groupStart = run.position;
        int failedReads = 0;
        std::optional<SenseCode> lastFailure;
        for (int read = 0; read < run.shape.readsPerGroup; ++read) {
            const int count = static_cast<int>(std::min<std::uint32_t>(
                static_cast<std::uint32_t>(run.shape.blocksPerRead), run.blocks - run.position));
            if (count < 1)
                break;
            const BlockReadResult result = Read(run, 0, run.position, count);
            if (!result.ok) {
                // The group is not counted: the blocks before it were tested.
                m_reach.nextBlock = groupStart;
                if (const DriveLoss loss = LossAfter(result); loss != DriveLoss::None)
                    return EndByFault(run, loss, run.position);
                ++failedReads;
                lastFailure = result.sense;
            }
            run.position += static_cast<std::uint32_t>(count);
        }
        if (failedReads > 0) {
            if (body == Body::Bd) {
                LogEntry("DoBDErrorTest()  read error in loop");
                m_events.ShowStatus("Retrying sectors....");
            }
            // The sense of the group's last failed read tells a locked disc.
            if (IsLockedDisc(*lastFailure))
                return EndEncrypted(run);
            m_events.ShowStatus("Testing individual blocks..");
            // Exactly the blocks the group read, the short last group's too.
            bool badInGroup = false;
            if (const auto end = TestBlocks(run, groupStart, run.position, badInGroup))
                return *end;
            m_events.SetText(kFieldSuspectSectors, Format("%d", m_reach.suspect));
            ShowShare(run);
            if (badInGroup)
                m_events.NextMapBlock(true);
            else
                m_events.NextMapBlockSuspect();
            m_events.ShowStatus("Test Running");
        } else {
            m_events.NextMapBlock(false);
        }
        m_reach.nextBlock = run.position;
        ShowProgress(run, run.position);
    }
    return EndNormally(run);
}

std::optional<ErrorTestEnd> ErrorTest::TestBlocks(Run& run, std::uint32_t from, std::uint32_t to, bool& badInGroup)
{
    for (std::uint32_t lba = from; lba < to; ++lba) {
        const BlockReadResult read = Read(run, 0, lba, 1);
        if (read.ok) {
            ++m_reach.suspect;
        } else if (const DriveLoss loss = LossAfter(read); loss != DriveLoss::None) {
            // The blocks before it were tried alone, and the cell is not drawn.
            m_reach.nextBlock = lba;
            return EndByFault(run, loss, lba);
        } else {
            ++m_reach.bad;
            badInGroup = true;
            m_events.AddListLine(Format("%d. Error - LBA = %08xh", m_reach.bad, lba));
            m_events.SetText(kFieldBadSectors, Format("%d", m_reach.bad));
            ShowShare(run);
            if (m_reach.bad == 1)
                m_events.EnablePageButton(PageButton::Save, true);
        }
        if (m_claim.StopRequested()) {
            // This block was tried; the ones after it were not tried alone.
            m_reach.nextBlock = lba + 1;
            return EndStopped(run);
        }
    }
    return std::nullopt;
}

void ErrorTest::ShowShare(const Run& run)
{
    const double share = 100.0 * (m_reach.bad + m_reach.suspect) / run.blocks;
    m_events.SetText(kFieldBadShare, Format("%.4f%%", share));
}

void ErrorTest::ShowProgress(const Run& run, std::uint32_t position)
{
    m_events.SetProgress(PercentOf(position, run.blocks));
    m_events.SetText(kFieldRemaining, ProgressSizeText(run.profile, run.blocks - position));
    m_events.SetText(kFieldRead, ProgressSizeText(run.profile, position));
}

ErrorTestEnd ErrorTest::EndNormally(Run& run)
{
    m_reach.end = ErrorTestEnd::Complete;
    m_events.SetProgress(100);
    m_events.SetText(kFieldRemaining, "0");
    m_events.SetText(kFieldRead, run.lengthText);
    m_events.Post(WM_ERRORTESTENDED);
    for (int id : {kDevices, kTools})
        m_events.Enable(id, true);
    m_events.SetPageRunning(false);
    m_events.ShowStatus("Ready");
    run.tray.reset();
    m_events.Beep(MB_ICONINFORMATION);
    return ErrorTestEnd::Complete;
}

ErrorTestEnd ErrorTest::EndStopped(Run& run)
{
    // Never reported as complete: the status says where the test stopped,
    // the map keeps the cells drawn so far.
    m_reach.end = ErrorTestEnd::Stopped;
    m_events.SetText(kFieldSuspectSectors, Format("%d", m_reach.suspect));
    if (m_reach.bad + m_reach.suspect > 0)
        ShowShare(run);
    run.tray.reset();
    m_events.ShowStatus(Format("Test stopped at LBA %Xh", m_reach.nextBlock));
    m_claim.BusyFlag() = 0;
    return ErrorTestEnd::Stopped;
}

ErrorTestEnd ErrorTest::EndByFault(Run& run, DriveLoss loss, std::uint32_t lba)
{
    // Never complete: what was measured stays, the status says why it ended.
    m_reach.end = ErrorTestEnd::Fault;
    m_reach.loss = loss;
    m_reach.faultBlock = lba;
    LogEntry(Format("Read error test ended at LBA %Xh: %s", lba, DriveLossText(loss)));
    m_events.SetText(kFieldSuspectSectors, Format("%d", m_reach.suspect));
    if (m_reach.bad + m_reach.suspect > 0)
        ShowShare(run);
    ShowProgress(run, m_reach.nextBlock);
    m_events.Post(WM_ERRORTESTENDED);
    RestorePage();
    m_events.EnablePageButton(PageButton::Save, true);
    m_events.ShowStatus(Format("Test ended at LBA %Xh: %s", lba, DriveLossText(loss)));
    run.tray.reset();
    m_claim.BusyFlag() = 0;
    m_events.Beep(MB_ICONERROR);
    return ErrorTestEnd::Fault;
}

ErrorTestEnd ErrorTest::EndEncrypted(Run& run)
{
    m_reach.end = ErrorTestEnd::Encrypted;
    m_events.MessageBox(kLockedDiscText);
    m_events.ClearBlockMap();
    m_events.SetPageRunning(false);
    ResetTestResults(m_events);
    m_events.ShowStatus("Media is encrypted & locked");
    m_events.Enable(kDevices, true);
    m_events.Enable(kTools, true);
    m_events.Post(WM_ERRORTESTENDED);
    run.tray.reset();
    m_claim.BusyFlag() = 0;
    return ErrorTestEnd::Encrypted;
}

ErrorTestEnd ErrorTest::EndEarly(const char* status)
{
    RestorePage();
    if (status)
        m_events.ShowStatus(status);
    m_claim.BusyFlag() = 0;
    m_reach.end = ErrorTestEnd::Failed;
    return ErrorTestEnd::Failed;
}

void ErrorTest::RestorePage()
{
    for (int id : {kDevices, kTools})
        m_events.Enable(id, true);
    m_events.SetPageRunning(false);
}

int ErrorThread(ErrorTest* test)
{
    if (!test) {
        LogEntry("ErrorThread() - THREAD - InternetThread isn't valid");
        return 1;
    }
    LogEntry("Start THREAD ErrorThread()");
    test->DoErrorTest();
    return 0;
}

int BDErrorThread(ErrorTest* test)
{
    if (!test) {
        LogEntry("ErrorThread() - THREAD - InternetThread isn't valid");
        return 1;
    }
    LogEntry("Start THREAD ErrorThread()");
    test->DoBDErrorTest();
    return 0;
}

ErrorThreadEntry ErrorThreadFor(int profile)
{
    return IsBdProfile(profile) ? BDErrorThread : ErrorThread;
}
