#pragma once

#include "core/drive/DriveGuards.h"
#include "core/drive/DriveLoss.h"
#include "core/drive/MmcTypes.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class ChannelClaim;
class DriveContext;
class ReportText;
class TestPageEvents;

namespace errortest {

// The error page's result fields, by the speed page's ids they share.
constexpr int kFieldSector = 1292;
constexpr int kFieldBadSectors = 1281;
constexpr int kFieldSuspectSectors = 1282;
constexpr int kFieldBadShare = 1296;

constexpr const char* kReadErrorsHeading = "                         Read Errors";

// The reads of one block map cell and the blocks of one read, by the
// disc's profile and layers: CD 4 x 20, DDCD 8 x 20, BD 75 x 25, any other
// 16 x 25 a layer.
struct GroupShape {
    int readsPerGroup = 16;
    int blocksPerRead = 25;
    int BlocksPerCell() const { return readsPerGroup * blocksPerRead; }
};
GroupShape GroupShapeFor(int profile, int layers);

}  // namespace errortest

// How a run ended.
enum class ErrorTestEnd {
    Complete,  // every block of the disc was tried
    Stopped,  // Stop, with the results so far kept
    Failed,  // before the test began: the buffer, READ CAPACITY, the test read
    Blank,
    Encrypted,
    Fault,  // the disc or the drive went, or the drive hung: the results up to there kept
};

// Where a run got to: the list file of a stopped run says so.
struct ErrorTestReach {
    ErrorTestEnd end = ErrorTestEnd::Failed;
    std::uint32_t nextBlock = 0;  // blocks before it were tried
    std::uint32_t discBlocks = 0;
    int bad = 0;
    int suspect = 0;
    DriveLoss loss = DriveLoss::None;  // what ended a Fault run
    std::uint32_t faultBlock = 0;  // where the read that said so began

    // "" unless stopped or ended by a fault: the line the list file adds.
    std::string StoppedLine() const;
};

// The read error test: reads the whole disc in groups of large reads (one
// group a cell of the block map); a group that fails is read again one
// block at a time, and every block that stays unreadable is listed ("%d.
// Error - LBA = %08xh") and counted bad; the cell is marked bad then, or
// suspect when every block read alone. Two bodies: CD/DVD and BD. It runs on
// a worker thread with the drive's channel claimed (the claim's busy flag,
// g_bErrorTestRunning, is its stop token, polled before each group and after
// each single-block read), tells the page through the events and waits on
// the drive's wait clock. A read that says the disc or the drive has gone
// ends the run there, keeping what was measured. The tray and the volume are given back on every
// way out.
class ErrorTest {
public:
    // report: where a failed read is told (the sense report).
    ErrorTest(DriveContext& drives, ReportText& report, TestPageEvents& events, ChannelClaim& claim);

    ErrorTestEnd DoErrorTest();
    ErrorTestEnd DoBDErrorTest();

    const ErrorTestReach& Reach() const { return m_reach; }

private:
    struct Run;
    enum class Body { CdDvd, Bd };

    ErrorTestEnd RunBody(Body body);
    std::optional<ErrorTestEnd> SetUp(Run& run, Body body);
    bool TestRead(Run& run, Body body);
    ErrorTestEnd Test(Run& run, Body body);
    // The single-block pass over the blocks [from, to) of a failed group;
    // the end when Stop came or the disc or the drive went.
    std::optional<ErrorTestEnd> TestBlocks(Run& run, std::uint32_t from, std::uint32_t to, bool& badInGroup);
    BlockReadResult Read(Run& run, std::uint8_t byte1, std::uint32_t lba, int count);
    // The loss a failed read tells, when it tells one.
    DriveLoss LossAfter(const BlockReadResult& read);
    void ShowShare(const Run& run);
    void ShowProgress(const Run& run, std::uint32_t position);

    ErrorTestEnd EndNormally(Run& run);
    ErrorTestEnd EndStopped(Run& run);
    ErrorTestEnd EndEncrypted(Run& run);
    ErrorTestEnd EndByFault(Run& run, DriveLoss loss, std::uint32_t lba);
    ErrorTestEnd EndEarly(const char* status);
    void RestorePage();

    DriveContext& m_drives;
    ReportText& m_report;
    TestPageEvents& m_events;
    ChannelClaim& m_claim;
    ErrorTestReach m_reach;
};

// The worker entries: each logs its start, runs its body and returns 0;
// without a test (null) it logs why and returns 1.
int ErrorThread(ErrorTest* test);
int BDErrorThread(ErrorTest* test);
// The entry for a profile: BD (40h-43h) or any other.
using ErrorThreadEntry = int (*)(ErrorTest*);
ErrorThreadEntry ErrorThreadFor(int profile);
