#pragma once

#include "core/base/ConfirmationGate.h"
#include "core/tools/erase/DcErase.h"
#include "core/tools/erase/EraseWorker.h"

#include <cstdint>
#include <string>

class DriveContext;
class UserPrompt;

namespace erasing {

// The DC erase dialog's logic on its thread: the maker and medium checks at
// the start, Full and Quick Erase (their ranges, the checks, the
// confirmation, the run on the worker) and Stop, which only asks the run to
// stop.
class DcEraseControl {
public:
    DcEraseControl(
        DriveContext& drive, EraseSink& sink, UserPrompt* prompt,
        DeviceUseProbe probe = [](const std::string& node) { return DescribeDeviceUse(node); });

    // Kept like the erase dialog's; the dialog takes the media type itself.
    void SetMediaKind(int kind) { m_nMediaKind = kind; }
    int MediaKind() const { return m_nMediaKind; }
    // OnInitDialog: true when the erase buttons may be used; false when the
    // dialog ends (not a Nu/QSI burner, or no disc; after its message).
    bool InitDialog();
    int MediaType() const { return m_nMediaType; }

    void OnFullErase();
    void OnQuickErase();
    // Only asks the running erase to stop (it never touches the tray).
    void OnStop() { m_worker.Stop(); }
    bool Running() const { return m_worker.Running(); }
    void Join() { m_worker.Join(); }

private:
    // StartEraseThread: true when the erase runs.
    bool StartEraseThread(std::int64_t rangeStart, std::int64_t rangeEnd, bool quick);

    DriveContext& m_drive;
    EraseSink& m_sink;
    UserPrompt* m_prompt;
    DeviceUseProbe m_probe;
    int m_nMediaKind = 1;
    int m_nMediaType = 0;
    DcErase m_erase;
    EraseWorker m_worker;  // last: joined before the rest goes
};

}  // namespace erasing
