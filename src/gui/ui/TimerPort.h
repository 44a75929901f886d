#pragma once

class CDialog;

// Starts and stops a window's timers by id; the window's OnTimer hands each
// tick to whoever asked for it. Tests keep the timers and tick them.
class TimerPort {
public:
    virtual ~TimerPort() = default;
    // The same id restarts the timer.
    virtual void SetTimer(int id, int milliseconds) = 0;
    virtual void KillTimer(int id) = 0;
};

// The timers of a dialog (CDialog::SetTimer and KillTimer).
class DialogTimers : public TimerPort {
public:
    explicit DialogTimers(CDialog& dialog) : m_dialog(dialog) {}
    void SetTimer(int id, int milliseconds) override;
    void KillTimer(int id) override;

private:
    CDialog& m_dialog;
};
