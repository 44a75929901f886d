#pragma once

#include "core/tools/iso/DiscBlockReader.h"
#include "core/tools/testpage/TestPageEvents.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

// How an ISO creation ended.
enum class IsoCreationEnd {
    Complete,  // the image is under its name
    EarlyEnd,  // refused before the copy began
    Blank,  // the disc has no data
    Stopped,
    Locked,  // an encrypted disc that is still locked
    ReadError,
    WriteError,
};

struct IsoCreationRequest {
    std::string path;  // the image file the user chose
    // Bytes free where the image goes; nullopt when that cannot be told.
    std::function<std::optional<std::uint64_t>(const std::string& path)> freeBytes;
};

// Copies the disc's data area, block 0 to the last block READ CAPACITY
// reports, into an image file of 2048 bytes a block. The image is written
// under a temporary name and gets its own only when it is complete; any
// other end removes it. A block the drive cannot read ends the copy with its
// address in the result list; nothing that was not read goes into the image.
// `running` is the busy flag: set once the copy begins, cleared by Stop (the
// copy ends at the next step) and at every end.
class IsoCreation {
public:
    IsoCreation(DiscBlockReader& drive, TestPageEvents& events, std::atomic<int>& running) :
        m_drive(drive), m_events(events), m_running(running)
    {
    }

    IsoCreationEnd DoCreateISO(const IsoCreationRequest& request);

    // The end before the copy began: the buttons and lists usable again.
    static void EarlyEnd(TestPageEvents& events);

private:
    struct ReadFailure {
        std::int64_t lba = 0;
        SenseCode sense;
    };
    class Copy;

    IsoCreationEnd EndAfterFailure(const ReadFailure& failure);
    IsoCreationEnd EndAfterWriteError(const std::string& reason);
    void RestoreAfterCopy();

    DiscBlockReader& m_drive;
    TestPageEvents& m_events;
    std::atomic<int>& m_running;
};
