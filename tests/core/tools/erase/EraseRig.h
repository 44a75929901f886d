#pragma once

#include "core/base/MessageIds.h"
#include "core/drive/DriveContext.h"
#include "core/tools/erase/EraseSink.h"
#include "platform/devices/DeviceUse.h"
#include "support/EmulatedDriveRig.h"
#include "support/TestSupport.h"

#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

// What an erase told its dialog, from any thread.
class RecordingEraseSink : public EraseSink {
public:
    void SetStatus(const std::string& text) override;
    void SetProgress(int percent) override;
    void Ended(const EraseResult& result) override;

    std::vector<std::string> Statuses() const;
    std::vector<int> Progress() const;
    std::optional<EraseResult> Result() const;
    // Called with every status, on the thread that set it (a test's Stop).
    std::function<void(const std::string&)> onStatus;

private:
    mutable std::mutex m_mutex;
    std::vector<std::string> m_statuses;
    std::vector<int> m_progress;
    std::optional<EraseResult> m_result;
};

// A drive context on one emulated drive made current, its waits on the
// virtual clock, with a recording sink and a prompt that answers from a script.
struct EraseRig : EmulatedDriveRig {
    EraseRig(const char* drivePreset, const char* mediumPreset);
    EraseRig(emu::DriveIdentity identity, const char* mediumPreset);

    // A device in no use, as the confirmation's probe sees it.
    static DeviceUse Free(const std::string&) { return {}; }
    // The commands that went out, polling (TEST UNIT READY, REQUEST SENSE)
    // left out and a run of the same command as one line marked "(repeated)".
    std::vector<std::string> Trace() const;

    ScopedProgramLog log;
    DriveContext context;
    RecordingEraseSink sink;
    ScriptedPrompt prompt;
};

// The golden trace of a case: compared with tests/core/tools/erase/golden/<name>.txt
// (QUENZA_UPDATE_GOLDEN=1 writes it anew).
void ExpectGoldenTrace(const std::string& name, const std::vector<std::string>& trace);
