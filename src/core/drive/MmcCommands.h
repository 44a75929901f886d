#pragma once

#include "core/base/WaitClock.h"
#include "core/drive/MmcTypes.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

class CDevice;
class CScsiCommand;

// The page codes 01h-3Eh, the capabilities page 2Ah first.
std::vector<std::uint8_t> EveryModePage();

// The MMC commands that ask the drive about itself and its state, move its
// tray and read its region, each a complete CDB of its standard length on
// the current drive. Unless said otherwise a result is the channel's: 0
// done, 1 failed with the sense left in the channel for the sense report.
// The commands that read the disc are MmcMediaReads.
class MmcCommands {
public:
    // current: the drive list's current drive, read when a command needs it.
    MmcCommands(CScsiCommand& channel, CDevice* const& current);

    // 1 when a disc is loaded and ready, else 0.
    int TestMediaPresent();
    // TEST UNIT READY once: ready, or the sense of a unit that is not.
    CommandAnswer TestUnitReady();
    // Asks up to 2 x seconds times, 500 ms apart: 0 ready, or no disc, or the
    // request itself failed without sense; 1 still not ready. With a running
    // flag the wait also ends (1) as soon as the flag reads 0 (Stop).
    int WaitForUnitReady(int seconds, const std::atomic<int>* running = nullptr);
    // Asks TEST UNIT READY every pollMs until the drive is ready: 0 then; 1
    // when waiting cannot help (no disc, the request cannot be sent) or the
    // time bound passed. whileWaiting runs before each pause.
    static constexpr std::uint32_t kReadyTimeoutSeconds = 120;  // a spin-up
    static constexpr std::uint32_t kReadyPollMs = 100;  // a pause keeps a not-ready drive from being flooded
    int PollUntilReady(std::uint32_t timeoutSeconds = kReadyTimeoutSeconds, std::uint32_t pollMs = kReadyPollMs,
                       const std::function<void()>& whileWaiting = {});
    // 1 when MODE SENSE answers with the capabilities page 2Ah, else 0 (with
    // which command failed and why in `failure`).
    int TestMMCCompliant(std::string* failure = nullptr);
    // Progress of a long operation, 0-65535 (fractions of 65536); 0 when none.
    int GetProgress();
    // The Data Length of the configuration header; 0 on failure.
    int GetConfigurationDataLength();
    int GetConfiguration(int requestType, int startingFeature, std::uint8_t* buffer, std::uint32_t length);
    // MODE SENSE(10) of one page's current values: the bytes that came into
    // a new buffer of the allocation.
    DriveAnswer ModePageAnswer(std::uint8_t pageCode, std::uint16_t allocation);
    // MODE SENSE(10) of all pages: 252 bytes, then again with the length the
    // drive gives (mode data length + 2, at most `limit`), or 2048 bytes after
    // a failure. A drive that refuses the page list is asked for the pages one
    // by one (pagesOneByOne, in order; empty: every page code, 2Ah first), and
    // the pages it gives are put together as one answer with an 8-byte header.
    int ReadAllModePages(std::vector<std::uint8_t>& answer, std::uint32_t limit, std::uint32_t* received = nullptr,
                         std::span<const std::uint8_t> pagesOneByOne = {});
    // SET CD SPEED of the speed list's entry: index x step 0 is the drive's
    // fastest, else (count - index x step + 1) x unitSpeed kB/s, for reading
    // and writing.
    int SetCdSpeed(int index, int unitSpeed, int count, int step, int rotationControl);
    // SET CD SPEED in kB/s (kMaximumCdSpeed: the drive's fastest), with the
    // rotation control of byte 1 (0 CLV, 1 CAV).
    int SetCdSpeedKBps(std::uint16_t readKBps, std::uint16_t writeKBps, std::uint8_t rotationControl = 0);
    // SET STREAMING of one performance descriptor, sent as long as the CDB
    // says it is.
    int SetStreaming(const StreamingRequest& request);
    // SEEK(10): moves the head to the block.
    int Seek(std::uint32_t lba);
    // Also keeps m_bTrayLocked: the tray counts as locked only when the drive took the lock.
    int PreventMediumRemoval(int prevent);
    // 1 when the mechanism reports its door open.
    int IsDoorOpen();
    // Opens the tray when it is closed and closes it when it is open.
    int EjectOrCloseTray();
    // REPORT KEY of the RPC state into the current record's region fields
    // (they keep their values on failure; m_bRegionRead says whether they were read).
    int ReportRpcState();
    static std::string GetRatedSpeedText(const std::string& mediaId);

    // The clock of the waits between commands: the drive context gives the
    // current drive's (DriveWaitClock), tests a virtual one.
    void SetWaitClock(std::shared_ptr<WaitClock> clock);
    WaitClock& GetWaitClock() const { return *m_pWaitClock; }

    std::atomic<int> m_bTrayLocked{0};  // 1 while the program holds the drive's tray locked

private:
    int ModeSense10(std::uint8_t pageCode, std::vector<std::uint8_t>& answer, std::uint32_t allocation,
                    std::uint32_t* received);
    int ReadModePagesOneByOne(std::vector<std::uint8_t>& answer, std::uint32_t cap, std::uint32_t* received,
                              std::span<const std::uint8_t> pageCodes);

    CScsiCommand& m_ScsiCommand;
    CDevice* const& m_pCurrentDevice;
    std::shared_ptr<WaitClock> m_pWaitClock = SystemWaitClock();
};
