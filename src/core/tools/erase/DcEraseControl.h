#pragma once

#include "core/base/ConfirmationGate.h"
#include "core/tools/erase/DcErase.h"
#include "core/tools/erase/EraseWorker.h"

#include <cstdint>
#include <optional>
#include <string>

class DriveContext;
class UserPrompt;

namespace erasing {

// The DC erase dialog's logic: the maker and medium checks at the start (on
// the dialog's thread), Full and Quick Erase (their ranges, the checks and
// the confirmation, then the erase, all on the worker) and Stop, which only
// asks the run to stop.
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
    // The disc's media type when the dialog opened.
    int MediaType() const { return m_nMediaType; }

    // True when the worker took the drive: it runs the checks, the questions
    // and the erase, and the dialog is told the end (NotStarted with an empty
    // status when a check ended it: the status line says why). False when
    // the erase runs or the drive is busy.
    bool OnFullErase();
    bool OnQuickErase();
    // Only asks the running erase to stop (it never touches the tray).
    void OnStop() { m_worker.Stop(); }
    bool Running() const { return m_worker.Running(); }
    void Join() { m_worker.Join(); }

private:
    struct Range {
        std::int64_t start;
        std::int64_t end;
    };
    // The range of the disc's erase (the full one asks first); none when it
    // ends here, after its message or status.
    std::optional<Range> FullRange(int mediaType);
    std::optional<Range> QuickRange(int mediaType);
    // On the worker: the media type, the range, the device's use and the
    // erase's own checks.
    std::optional<DcErasePlan> Checks(bool quick);
    bool StartErase(bool quick);

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
