#include "gui/ui/Dialog.h"
#include "support/TestSupport.h"
#include "support/gui/ScopedModalHook.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

struct Seen {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

class ProbeDialog : public CDialog {
public:
    ProbeDialog() : CDialog(284)
    {
        BindControl(IDOK, new QPushButton("OK", this));
        BindControl(1026, new QCheckBox("check", this));
        BindControl(1392, new QLineEdit(this));
        BindControl(1087, new QComboBox(this));
        for (int i = 0; i < 3; ++i)
            BindControl(1322 + i, new QRadioButton(this));
        Item<QComboBox>(1087)->addItems({"sr0", "sr1", "sr2"});
    }
    bool OnInitDialog() override
    {
        ++initCount;
        return CDialog::OnInitDialog();
    }
    void DoDataExchange(CDataExchange& dx) override
    {
        DDX_Check(dx, 1026, check);
        DDX_Text(dx, 1392, size);
        DDV_MinMaxUInt(dx, 1392, size, 1, 2048);
        DDX_CBIndex(dx, 1087, device);
        DDX_Radio(dx, 1322, source);
    }
    void OnTimer(int id) override { ticks.push_back(id); }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        seen.push_back({message, wParam, lParam});
        return CDialog::WindowProc(message, wParam, lParam);
    }

    int initCount = 0;
    int check = 1;
    unsigned size = 2048;
    int device = 2;
    int source = 1;
    std::vector<int> ticks;
    std::vector<Seen> seen;
};

void WaitUntil(const std::function<bool()>& done, int milliseconds = 5000)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < milliseconds)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
}

}  // namespace

TEST(Dialog, ControlsAreFoundByIdAndObjectName)
{
    ProbeDialog dlg;
    EXPECT_EQ(dlg.findChild<QLineEdit*>("id_1392"), dlg.GetDlgItem(1392));
    dlg.SetDlgItemText(1392, "Grüße");
    EXPECT_EQ(dlg.GetDlgItemText(1392), "Grüße");
    dlg.EnableDlgItem(1026, false);
    EXPECT_FALSE(dlg.GetDlgItem(1026)->isEnabled());
    EXPECT_EQ(dlg.GetDlgItem(4242), nullptr);
    dlg.SetDlgItemText(4242, "ignored");  // no control: no crash
}

TEST(Dialog, DataExchangeBothWaysWithValidation)
{
    ScriptedPrompt prompt;
    ProbeDialog dlg;
    dlg.UpdateData(false);
    EXPECT_EQ(dlg.IsDlgButtonChecked(1026), 1);
    EXPECT_EQ(dlg.GetDlgItemText(1392), "2048");
    EXPECT_EQ(dlg.Item<QComboBox>(1087)->currentIndex(), 2);
    EXPECT_TRUE(dlg.Item<QRadioButton>(1323)->isChecked());

    dlg.CheckDlgButton(1026, 0);
    dlg.SetDlgItemText(1392, "512");
    dlg.Item<QRadioButton>(1324)->setChecked(true);
    ASSERT_TRUE(dlg.UpdateData(true));
    EXPECT_EQ(dlg.check, 0);
    EXPECT_EQ(dlg.size, 512u);
    EXPECT_EQ(dlg.source, 2);

    for (const char* bad : {"4096", "0", "-1", "abc"}) {
        dlg.SetDlgItemText(1392, bad);
        EXPECT_FALSE(dlg.UpdateData(true)) << bad;
    }
    EXPECT_EQ(prompt.asked.size(), 4u);
    EXPECT_EQ(prompt.asked[0].text, "Please enter an integer between 1 and 2048.");
}

TEST(Dialog, CommandMapAndDefaultOkCancel)
{
    ScopedModalHook hook([](CDialog& dlg) {
        dlg.SendCommand(1026);
        dlg.Item<QPushButton>(IDOK)->click();
        return dlg.ModalResult();
    });
    ProbeDialog dlg;
    int clicks = 0;
    dlg.MapCommand(1026, [&] { ++clicks; });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(dlg.initCount, 1);

    hook.Set([](CDialog& running) {
        running.reject();  // Escape
        return running.ModalResult();
    });
    ProbeDialog other;
    EXPECT_EQ(other.DoModal(), IDCANCEL);
}

TEST(Dialog, NotificationsReachTheirHandlers)
{
    ProbeDialog dlg;
    std::vector<std::string> order;
    dlg.MapNotify(1087, Notify::SelChange, [&] { order.push_back("sel"); });
    dlg.MapNotify(1392, Notify::EditChange, [&] { order.push_back("edit"); });
    dlg.Item<QComboBox>(1087)->activated(1);
    dlg.SetDlgItemText(1392, "1");
    dlg.SendNotify(1087, Notify::SelChange);
    EXPECT_EQ(order, (std::vector<std::string>{"sel", "edit", "sel"}));
}

TEST(Dialog, TimersFireByIdAndRestartOnTheSameId)
{
    ProbeDialog dlg;
    dlg.SetTimer(7, 10);
    dlg.SetTimer(7, 10);
    dlg.SetTimer(3, 10000);
    WaitUntil([&] { return dlg.ticks.size() >= 2; });
    ASSERT_GE(dlg.ticks.size(), 2u);
    for (int id : dlg.ticks)
        EXPECT_EQ(id, 7);
    dlg.KillTimer(7);
    EXPECT_FALSE(dlg.HasTimer(7));
    EXPECT_TRUE(dlg.HasTimer(3));
    const size_t before = dlg.ticks.size();
    QApplication::processEvents();
    dlg.FireTimer(3);
    EXPECT_EQ(dlg.ticks.size(), before + 1);
    EXPECT_EQ(dlg.ticks.back(), 3);
}

TEST(Dialog, MessagesPostedFromThreadsArriveInOrderOnTheGuiThread)
{
    ProbeDialog dlg;
    constexpr int perThread = 200;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&dlg, t] {
            const MessageTargetPtr target = dlg.GetMessageTarget();
            for (int i = 0; i < perThread; ++i)
                target->PostMessage(WM_TESTENDED, static_cast<WPARAM>(t), i);
        });
    for (auto& thread : threads)
        thread.join();
    EXPECT_TRUE(dlg.seen.empty());  // nothing runs before the queue is pumped
    PumpPostedMessages();
    ASSERT_EQ(dlg.seen.size(), 4u * perThread);
    std::vector<LPARAM> last(4, -1);
    for (const Seen& s : dlg.seen) {
        EXPECT_EQ(s.message, WM_TESTENDED);
        EXPECT_EQ(s.lParam, last[s.wParam] + 1);  // each sender's order kept
        last[s.wParam] = s.lParam;
    }
}

TEST(Dialog, PostsToADeletedWindowAreDropped)
{
    auto* dlg = new ProbeDialog;
    const MessageTargetPtr target = dlg->GetMessageTarget();
    EXPECT_TRUE(target->PostMessage(WM_COMPAREENDED));
    delete dlg;  // with the message still queued
    EXPECT_FALSE(target->PostMessage(WM_COMPAREENDED));
    PumpPostedMessages();  // must not deliver to the dead window
}

TEST(Dialog, CloseBoxGoesThroughWmClose)
{
    ProbeDialog dlg;
    dlg.Create();
    dlg.close();
    ASSERT_FALSE(dlg.seen.empty());
    EXPECT_EQ(dlg.seen.back().message, WM_CLOSE);
    EXPECT_EQ(dlg.ModalResult(), IDCANCEL);
    EXPECT_FALSE(dlg.isVisible());
}
