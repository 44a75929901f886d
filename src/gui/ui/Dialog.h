#pragma once

#include "core/base/MessageIds.h"
#include "core/base/MessageTarget.h"

#include <QDialog>

#include <functional>
#include <map>
#include <memory>
#include <string>

class CDialog;

// State of one data exchange between a dialog's controls and its members.
class CDataExchange {
public:
    CDataExchange(CDialog* dialog, bool saveAndValidate) : m_pDlgWnd(dialog), m_bSaveAndValidate(saveAndValidate) {}
    // Marks the exchange failed; the message is shown to the user once.
    void Fail(int controlId, const std::string& message);

    CDialog* m_pDlgWnd;
    bool m_bSaveAndValidate;
    bool m_bFailed = false;
    int m_nFailedControl = 0;
};

void DDX_Text(CDataExchange& dx, int id, std::string& value);
void DDX_Text(CDataExchange& dx, int id, int& value);
void DDX_Text(CDataExchange& dx, int id, unsigned& value);
void DDX_Check(CDataExchange& dx, int id, int& value);
// Radio buttons bound with consecutive ids from firstId; -1 when none is checked.
void DDX_Radio(CDataExchange& dx, int firstId, int& value);
void DDX_CBIndex(CDataExchange& dx, int id, int& value);
void DDV_MaxChars(CDataExchange& dx, int id, std::string& value, int maxChars);
void DDV_MinMaxUInt(CDataExchange& dx, int id, unsigned value, unsigned minValue, unsigned maxValue);

// Control notifications a dialog can map to handlers.
enum class Notify { Clicked, SelChange, EditChange, KillFocus, SetFocus, DoubleClick };

// Base of every dialog: controls by id, a command map, timers by id,
// thread-safe posted messages handled in WindowProc on the GUI thread, and
// modal or modeless runs. A modal-run hook lets tests answer a dialog
// without an event loop.
class CDialog : public QDialog {
    Q_OBJECT

public:
    explicit CDialog(int templateId = 0, QWidget* parent = nullptr);
    ~CDialog() override;

    int TemplateId() const { return m_nTemplateId; }

    // Controls by id.
    void BindControl(int id, QWidget* widget);
    QWidget* GetDlgItem(int id) const;
    template <class T>
    T* Item(int id) const
    {
        return qobject_cast<T*>(GetDlgItem(id));
    }
    void EnableDlgItem(int id, bool enable);
    void ShowDlgItem(int id, bool show);
    void MoveDlgItem(int id, int x, int y, int width, int height);
    void SetDlgItemText(int id, const std::string& text);
    std::string GetDlgItemText(int id) const;
    void CheckDlgButton(int id, int check);
    int IsDlgButtonChecked(int id) const;

    // Data exchange between controls and members: save = controls to members.
    bool UpdateData(bool saveAndValidate = true);
    virtual void DoDataExchange(CDataExchange& dx);

    // Command map.
    void MapCommand(int id, std::function<void()> handler);
    void MapNotify(int id, Notify code, std::function<void()> handler);
    // Runs the command of a control or menu id as a click would.
    void SendCommand(int id);
    void SendNotify(int id, Notify code);

    // Timers by id; the same id restarts the timer.
    void SetTimer(int id, int milliseconds);
    void KillTimer(int id);
    bool HasTimer(int id) const;
    virtual void OnTimer(int id);
    // Runs one tick of a timer now (tests).
    void FireTimer(int id) { OnTimer(id); }

    // Messages. PostMessage is safe from any thread and dropped once the
    // window is gone; SendMessage runs WindowProc at once on the GUI thread.
    MessageTargetPtr GetMessageTarget() const { return m_pMessageTarget; }
    bool PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    // Runs.
    int DoModal();
    void EndDialog(int result);
    // Creates and shows the dialog modelessly.
    bool Create();
    void DestroyWindow();
    bool IsInitialised() const { return m_bInitialised; }
    // The code the dialog ended with, -1 while it has not ended.
    int ModalResult() const { return m_nModalResult; }

    virtual bool OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void OnClose();
    // Called once the window is destroyed (after DestroyWindow).
    virtual void PostNcDestroy() {}

    // Tests: while set, DoModal initialises the dialog, calls the hook and
    // returns its result instead of running an event loop.
    using ModalRunHook = std::function<int(CDialog&)>;
    static void SetModalRunHook(ModalRunHook hook);

    void accept() override;
    void reject() override;

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    class Target;
    void EnsureInitialised();
    void DispatchCommand(int id);
    void DispatchNotify(int id, Notify code);

    int m_nTemplateId;
    bool m_bInitialised = false;
    bool m_bDestroyed = false;
    int m_nModalResult = -1;
    std::map<int, QWidget*> m_controls;
    std::map<int, std::function<void()>> m_commands;
    std::map<std::pair<int, Notify>, std::function<void()>> m_notifies;
    std::map<int, int> m_timers;  // our id -> Qt timer id
    std::shared_ptr<Target> m_pTarget;
    MessageTargetPtr m_pMessageTarget;
};

// Lets tests and the GUI deliver posted messages now.
void PumpPostedMessages();
