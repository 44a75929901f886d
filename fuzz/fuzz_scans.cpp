// Fuzz target of the scan engines' reading of their drives' answers: the
// input's first byte picks the engine, the rest are the answers of its
// drive. Every engine, run as the scan thread runs it, ends whatever the
// drive says, with its running flag cleared and no more graph points than
// the graph takes.

#include "FuzzCheck.h"
#include "FuzzScans.h"
#include "core/base/MessageIds.h"
#include "core/graphs/PiPoLowerGraph.h"
#include "core/graphs/PiPoUpperGraph.h"
#include "core/pipo/ScanContext.h"
#include "core/pipo/ScanDriveSteps.h"
#include "core/pipo/engines/ScanLoop.h"
#include "support/QuietScanSink.h"
#include "support/ScanChoices.h"

#include <atomic>
#include <iterator>

namespace {

// Every question is answered Yes: stop, abort.
class AnswerYes : public UserPrompt {
public:
    int MessageBox(const std::string&, const std::string&, unsigned) override { return IDYES; }
};

}  // namespace

// clang-format off
const FuzzedEngine kFuzzedEngines[] = {
    {"liteon", ScanLiteon}, {"liteon", ScanLiteonWithJitter}, {"samsung", ScanSamsung},
    {"plextor", ScanPlextor}, {"pioneer", ScanPioneer}, {"benq", ScanBenqNew},
    {"benq-dw1620", ScanBenq}, {"cyberdrive", ScanCyberdrive}, {"generic-f3", ScanGeneric},
    {"btc", ScanBtc}, {"nec", ScanNec}, {"ihas", ScanIhas},
};
// clang-format on
const std::size_t kFuzzedEngineCount = std::size(kFuzzedEngines);

void Scan(fuzzdrive::FuzzCore& fuzz, std::size_t engine)
{
    constexpr std::int64_t kScanSectors = 24000;
    fuzz.Inquire();
    fuzz.Record().m_bDvdDrive = 1;
    QuietScanSink sink;
    AnswerYes prompt;
    std::atomic<int> running{0};
    ScanContext scan(fuzz.core.m_Drives, sink, prompt, running);
    PiPoUpperGraph upper;
    PiPoLowerGraph lower;
    scan.m_pUpperGraph = &upper;
    scan.m_pLowerGraph = &lower;
    scan.state.m_nGraphSlot = 1;
    scan.state.m_llEndLba = kScanSectors;
    ChooseDefaultScanChoices(scan);
    LockTray(scan, true);
    RunScanEngine(kFuzzedEngines[engine % kFuzzedEngineCount].engine, scan);
    Check(running.load() == 0);
    Check(upper.GetPointCount() <= kMaxUpperPoints + 1);
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    fuzzdrive::RunOnInput(data + 1, size - 1, [&](fuzzdrive::FuzzCore& fuzz) { Scan(fuzz, data[0]); });
    return 0;
}
