#pragma once

#include "core/drive/Device.h"
#include "core/tools/disk/DiskAccess.h"
#include "core/tools/disk/DiskTestSink.h"
#include "support/FakeBlockDevice.h"
#include "support/TestSupport.h"

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

// Records what a disk test tells its window (the latest text of each field).
class RecordingDiskSink : public DiskTestSink {
public:
    struct Message {
        std::string text;
        std::string caption;
        unsigned type;
    };

    void SetFieldText(int controlId, const std::string& text) override;
    void SetProgress(int position, const std::string& text) override;
    void EnableControl(int controlId, bool enabled) override;
    void ShowMessage(const std::string& text, const std::string& caption, unsigned type) override;
    void OnTestEnded() override;
    // Kept until RunCalls, as a window's thread takes them when it is free.
    void CallOnWindow(std::function<void()> call) override;

    // Makes the calls kept so far, on the caller's thread; how many.
    int RunCalls();
    std::string Field(int controlId) const;
    std::vector<Message> Messages() const;
    // The message texts joined, for a quick look.
    std::string MessageText() const;
    int Progress() const;
    std::string ProgressText() const;
    int ProgressCalls() const;
    int Ended() const;
    // Whether the control was last enabled; nullopt when never told.
    std::optional<bool> Enabled(int controlId) const;

    // Called (on the test's worker) after every progress report.
    std::function<void(int calls)> onProgress;

private:
    mutable std::mutex m_mutex;
    std::map<int, std::string> m_fields;
    std::map<int, bool> m_enabled;
    std::vector<Message> m_messages;
    int m_progress = -1;
    std::string m_progressText;
    int m_progressCalls = 0;
    int m_ended = 0;
    std::vector<std::function<void()>> m_calls;
};

// A disk record as the disk list makes it from sysfs.
std::unique_ptr<CDevice> MakeDiskRecord(const std::string& name, const std::string& vendor, const std::string& model,
                                        const std::string& firmware = "1.00", bool removable = false, int busType = 7);

// A host over one disk "sdz" whose node is answered by a fake disk, used by
// nothing, listed in a /sys/block of its own, with a clock the test moves.
struct FakeDiskHost {
    explicit FakeDiskHost(std::uint64_t sizeBytes, bool removable = true, std::uint32_t sectorBytes = 512);
    FakeDiskHost(const FakeDiskHost&) = delete;
    FakeDiskHost& operator=(const FakeDiskHost&) = delete;

    std::shared_ptr<FakeDisk> disk;
    TempDir sysBlock;  // sdz/size: the disk's 512-byte sectors
    std::unique_ptr<CDevice> record;
    std::shared_ptr<SteppingClock> clock = std::make_shared<SteppingClock>();
    DeviceUse use;  // what the gate's probe answers
    DiskToolHost host;
};
