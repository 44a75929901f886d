#pragma once

#include "core/base/ConfirmationGate.h"
#include "core/tools/erase/EraseFormat.h"
#include "core/tools/erase/EraseWorker.h"

#include <functional>
#include <map>
#include <string>

class DriveContext;
class UserPrompt;

namespace erasing {

// What the erase dialog shows: the check boxes, which of them are enabled
// (by control id), the caption above them and the window title.
struct EraseDialogState {
    EraseChecks checks;
    std::map<int, bool> enabled;
    std::string caption;
    std::string title = "RW / RAM Erase / Format ";
    bool Enabled(int id) const;
};

// The erase dialog's logic on its thread: the set-up by media kind, the
// check boxes kept exclusive, and "&Go": the operation's checks, the
// confirmation (ConfirmDestructiveOperation) and the run on the worker.
class EraseControl {
public:
    EraseControl(
        DriveContext& drive, EraseSink& sink, UserPrompt* prompt,
        DeviceUseProbe probe = [](const std::string& node) { return DescribeDeviceUse(node); });

    // Before the dialog runs (EraseKindFor of the disc's media type).
    void SetMediaKind(int kind) { m_nMediaKind = m_nDiscKind = kind; }
    int MediaKind() const { return m_nMediaKind; }
    // OnInitDialog: the caption and the check boxes by kind (a CD-RW runs as kind 0).
    void InitDialog();
    EraseDialogState& State() { return m_state; }

    void OnFullFormat();
    void OnEraseOption();
    void OnFastFormat();
    void OnRestart();

    // "&Go": true when the worker took the drive: it runs the checks, the
    // confirmation and the operation, and the dialog is told the end
    // (NotStarted with an empty status when a check ended it: the status
    // line says why). False when the drive is busy.
    bool Go();
    // Stops the running operation at its next check.
    void Stop() { m_worker.Stop(); }
    bool Running() const { return m_worker.Running(); }
    void Join() { m_worker.Join(); }

    // Empties the main window's report (the tools that close the tray do);
    // called on the worker.
    std::function<void()> clearReport;

private:
    void Enable(std::initializer_list<int> ids, bool enable);

    DriveContext& m_drive;
    EraseSink& m_sink;
    UserPrompt* m_prompt;
    DeviceUseProbe m_probe;
    int m_nMediaKind = 1;
    int m_nDiscKind = 1;  // as set: a CD-RW stays a CD-RW for the bounds of its waits
    EraseDialogState m_state;
    EraseFormat m_format;
    EraseWorker m_worker;  // last: joined before the rest goes
};

}  // namespace erasing
