#include "core/tools/erase/EraseDialogIds.h"
#include "core/tools/erase/EraseMedia.h"
#include "gui/app/MainWindowRig.h"
#include "gui/tools/erase/DCErase.h"
#include "gui/tools/erase/EraseDlg.h"
#include "gui/tools/erase/ErasePage.h"
#include "emu/MediaPresets.h"
#include "support/gui/ScopedModalHook.h"

#include <QAbstractButton>

#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using namespace erasing;

// The main window on one emulated drive whose gate finds the device free;
// the erase dialogs its entries open are answered by `use`.
struct EraseEntryRig : MainWindowRig {
    EraseEntryRig(const char* drive, const char* medium) : MainWindowRig(Presets{{drive, medium}})
    {
        Start();
        PageObject<ErasePage>().deviceUse = [](const std::string&) { return DeviceUse{}; };
        modalHook.Set([this](CDialog& window) {
            opened.push_back(window.TemplateId());
            if (use)
                use(window);
            return window.ModalResult();
        });
    }

    void PressErase()
    {
        dialog->SendCommand(IDC_ERASE);
        Settle();
    }
    void ChooseDcErase() { ChooseTool(kToolsDcErase); }

    std::vector<int> opened;  // template ids
    std::function<void(CDialog&)> use;
    ScopedModalHook modalHook;
};

// A wait clock whose sleeps on threads other than the test's wait until the
// test opens it: an erase's worker is caught in the middle of its wait.
class GatedWaitClock : public WaitClock {
public:
    explicit GatedWaitClock(std::shared_ptr<WaitClock> inner) : m_inner(std::move(inner)) {}
    std::uint64_t NowMs() const override { return m_inner->NowMs(); }
    void SleepMs(std::uint32_t milliseconds) override
    {
        if (std::this_thread::get_id() != m_owner) {
            std::unique_lock lock(m_mutex);
            m_waiting = true;
            m_changed.notify_all();
            m_changed.wait(lock, [this] { return m_open; });
        }
        m_inner->SleepMs(milliseconds);
    }
    void WaitForSleeper()
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return m_waiting; });
    }
    void Open()
    {
        std::lock_guard lock(m_mutex);
        m_open = true;
        m_changed.notify_all();
    }

private:
    std::shared_ptr<WaitClock> m_inner;
    const std::thread::id m_owner = std::this_thread::get_id();
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_waiting = false;
    bool m_open = false;
};

// The question of the confirmation gate among those asked.
const ScriptedPrompt::Asked* GateQuestion(const ScriptedPrompt& prompt)
{
    const auto gate = std::find_if(prompt.asked.begin(), prompt.asked.end(),
                                   [](const auto& asked) { return asked.text.find("Medium: ") != std::string::npos; });
    return gate == prompt.asked.end() ? nullptr : &*gate;
}

}  // namespace

TEST(EraseEntries, EachDialogStartsWithTheKindOfTheLoadedDisc)
{
    struct Case {
        const char* drive;
        const char* medium;
        const char* caption;  // of the erase dialog by its kind; null: no disc, no dialog
        int dcKind;
    };
    const Case cases[] = {
        {"bd-writer", "bd-re", "Blu-Ray Erase", kKindDvdPlusRw},
        {"dvd-writer", "dvd-rw", "Format/Erase DVD-RW media in current drive.", kKindDvdMinusRw},
        {"dvd-writer", "dvd-ram", "Erase DVD-RAM media in current drive.", kKindDvdRam},
        {"dvd-writer", "cd-rw", "Format/Erase CD-RW media in current drive.", kKindCdRw},
        {"dvd-writer", "dvd+rw", "Format DVD+RW media in current drive.", kKindDvdPlusRw},
        {"dvd-writer", "none", nullptr, kKindDvdPlusRw},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.medium);
        EraseEntryRig rig(c.drive, c.medium);
        std::string caption;
        int kind = -1;
        rig.use = [&](CDialog& dialog) {
            caption = dialog.GetDlgItemText(IDC_ERASE_CAPTION);
            if (auto* dc = dynamic_cast<CDCErase*>(&dialog))
                kind = dc->Control().MediaKind();
        };
        rig.PressErase();
        if (c.caption) {
            EXPECT_EQ(rig.opened, std::vector<int>{kEraseTemplate});
            EXPECT_EQ(caption, c.caption);
            EXPECT_EQ(rig.dialog->m_Core.m_Report.GetStatusText(), "Ready");
        } else {
            // Without a disc the Erase button only says so.
            EXPECT_TRUE(rig.opened.empty());
            EXPECT_EQ(rig.dialog->m_Core.m_Report.GetStatusText(), "No media present in drive");
        }
        // DC erase makes its own media check: its dialog always opens.
        rig.opened.clear();
        rig.ChooseDcErase();
        EXPECT_EQ(rig.opened, std::vector<int>{kDcEraseTemplate});
        EXPECT_EQ(kind, c.dcKind);
        EXPECT_EQ(rig.dialog->m_Core.m_Report.GetStatusText(), "Ready");
        // Neither answers that it is not available.
        for (const auto& asked : rig.prompt.asked)
            EXPECT_EQ(asked.text.find("not available"), std::string::npos) << asked.text;
    }
}

TEST(EraseEntries, RefusedWhileATestRunsOrAnotherOperationHoldsTheDrive)
{
    EraseEntryRig rig("dvd-writer", "dvd-rw");
    std::vector<DriveHolder> cases = TestsThatHoldTheDrive();
    cases.push_back(ClaimHolder("disc hash", ChannelUse::MediaHash));
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        for (const auto& open :
             {std::function<void()>([&] { rig.PressErase(); }), std::function<void()>([&] { rig.ChooseDcErase(); })}) {
            rig.prompt.asked.clear();
            test.hold(*rig.dialog, true);
            open();
            test.hold(*rig.dialog, false);
            EXPECT_TRUE(rig.opened.empty());
            ASSERT_EQ(rig.prompt.asked.size(), 1u);
            EXPECT_EQ(rig.prompt.asked[0].text, "You must stop the test first");
            EXPECT_EQ(rig.prompt.asked[0].caption, "Error Test Running!");
        }
    }
    // Nothing runs any more: the button opens its dialog again.
    rig.PressErase();
    EXPECT_EQ(rig.opened, std::vector<int>{kEraseTemplate});
}

TEST(EraseEntries, TheEraseButtonBlanksADvdRwThroughTheConfirmation)
{
    EraseEntryRig rig("dvd-writer", "dvd-rw");
    std::string status;
    rig.use = [&](CDialog& dialog) {
        auto& erase = dynamic_cast<CEraseDlg&>(dialog);
        ASSERT_TRUE(erase.IsDlgButtonChecked(IDC_ERASE_OPTION) == 1);
        ASSERT_TRUE(erase.IsDlgButtonChecked(IDC_QUICK) == 1);
        for (int answer = 0; answer < 3; ++answer)
            rig.prompt.Answer(IDYES);
        erase.SendCommand(IDOK);  // "&Go"
        erase.Control().Join();
        PumpPostedMessages();
        status = erase.StatusText();
    };
    rig.PressErase();
    ASSERT_EQ(rig.opened, std::vector<int>{kEraseTemplate});
    EXPECT_EQ(status, "Erase disc completed no error");
    ASSERT_TRUE(rig.drives[0]->CurrentMedium());
    EXPECT_EQ(rig.drives[0]->CurrentMedium()->status, emu::DiscStatus::Blank);
    // The confirmation named the drive's node and the disc before anything was lost.
    const auto gate = std::find_if(rig.prompt.asked.begin(), rig.prompt.asked.end(),
                                   [](const auto& asked) { return asked.text.find("emu0") != std::string::npos; });
    ASSERT_NE(gate, rig.prompt.asked.end());
    EXPECT_NE(gate->text.find("DVD-RW"), std::string::npos);
    EXPECT_FALSE(rig.dialog->m_Core.m_Drives.coordinator.InUse());
}

TEST(EraseEntries, TheToolsListsDcEraseBlanksADvdRwOnANuQsiBurner)
{
    EraseEntryRig rig("nu", "dvd-rw");
    std::string status;
    rig.use = [&](CDialog& dialog) {
        auto& dc = dynamic_cast<CDCErase&>(dialog);
        for (int answer = 0; answer < 3; ++answer)
            rig.prompt.Answer(IDYES);
        dc.Item<QAbstractButton>(IDC_QUICK_ERASE)->click();
        dc.Control().Join();
        PumpPostedMessages();
        status = dc.StatusText();
    };
    rig.ChooseDcErase();
    ASSERT_EQ(rig.opened, std::vector<int>{kDcEraseTemplate});
    EXPECT_EQ(status, "DC Erase completed");
    ASSERT_TRUE(rig.drives[0]->CurrentMedium());
    EXPECT_EQ(rig.drives[0]->CurrentMedium()->status, emu::DiscStatus::Blank);
    EXPECT_FALSE(rig.dialog->m_Core.m_Drives.coordinator.InUse());
}

TEST(EraseEntries, ADiscThatCannotBeErasedIsRefusedBeforeTheWindowOpensNamingIt)
{
    for (const auto& [drive, medium, name] :
         {std::tuple{"dvd-writer", "dvd+r", "DVD+R"}, std::tuple{"dvd-writer", "dvd-rom", "DVD-ROM"},
          std::tuple{"bd-writer", "bd-r", "BD-R"}}) {
        SCOPED_TRACE(medium);
        EraseEntryRig rig(drive, medium);
        rig.PressErase();
        EXPECT_TRUE(rig.opened.empty());
        const std::string says = std::string("The disc in the drive (") + name + ") cannot be erased";
        ASSERT_EQ(rig.prompt.asked.size(), 1u);
        EXPECT_EQ(rig.prompt.asked[0].text.rfind(says, 0), 0u) << rig.prompt.asked[0].text;
        EXPECT_EQ(rig.dialog->m_Core.m_Report.GetStatusText(), std::string(name) + " disc cannot be erased");
    }
}

TEST(EraseEntries, AfterItsOwnEjectGoAsksAboutTheDiscInTheDriveOnceTheTrayIsClosed)
{
    struct Case {
        const char* swapped;  // put on the open tray; null: the same disc stays
        const char* medium;
    };
    for (const Case c : {Case{nullptr, "Medium: CD-RW"}, Case{"dvd-rw", "Medium: DVD-RW"}}) {
        SCOPED_TRACE(c.medium);
        EraseEntryRig rig("dvd-writer", "cd-rw");
        const auto& drive = rig.drives[0];
        rig.use = [&](CDialog& dialog) {
            auto& erase = dynamic_cast<CEraseDlg&>(dialog);
            rig.prompt.Answer(IDYES);  // the confirmation of the first erase
            erase.SendCommand(IDOK);
            erase.Control().Join();
            PumpPostedMessages();
            ASSERT_TRUE(drive->TrayOpen());  // "Eject Disc" is on
            if (c.swapped) {
                ASSERT_TRUE(drive->LoadMedium(*emu::FindMediumPreset(c.swapped)));
                ASSERT_TRUE(drive->EjectMedium());
            }
            rig.prompt.asked.clear();
            rig.prompt.Answer(IDNO);
            erase.SendCommand(IDOK);  // Go again, with the tray open
            erase.Control().Join();
            PumpPostedMessages();
        };
        rig.PressErase();
        ASSERT_EQ(rig.opened, std::vector<int>{kEraseTemplate});
        const ScriptedPrompt::Asked* gate = GateQuestion(rig.prompt);
        ASSERT_NE(gate, nullptr);
        EXPECT_NE(gate->text.find(c.medium), std::string::npos) << gate->text;
        EXPECT_EQ(gate->type & MB_DEFBUTTON_MASK, unsigned{MB_DEFBUTTON2});
        EXPECT_FALSE(drive->TrayOpen());
    }
}

TEST(EraseEntries, ClosingTheWindowDuringABlankAsksAndTheStatusSaysTheDriveIsBusyUntilItEnds)
{
    EraseEntryRig rig("dvd-writer", "cd-rw");
    std::vector<std::function<void()>> scheduled;
    rig.PageObject<ErasePage>().schedule = [&](int, std::function<void()> action) {
        scheduled.push_back(std::move(action));
    };
    auto gate = std::make_shared<GatedWaitClock>(rig.waitClock);
    rig.use = [&](CDialog& dialog) {
        auto& erase = dynamic_cast<CEraseDlg&>(dialog);
        rig.dialog->m_Core.m_Drives.mmc.SetWaitClock(gate);
        rig.prompt.Answer(IDYES);  // the confirmation
        erase.SendCommand(IDOK);
        gate->WaitForSleeper();  // the worker waits for the drive's blank
        rig.prompt.Answer(IDNO);
        erase.SendMessage(WM_CLOSE);  // the close box: asked, and kept open
        EXPECT_TRUE(erase.Control().Running());
        EXPECT_EQ(erase.ModalResult(), -1);
        rig.prompt.Answer(IDYES);
        erase.SendMessage(WM_CLOSE);  // asked again, and closed
        gate->Open();
        erase.Control().Join();
        PumpPostedMessages();
        rig.dialog->m_Core.m_Drives.mmc.SetWaitClock(rig.waitClock);
    };
    rig.PressErase();
    ASSERT_EQ(rig.opened, std::vector<int>{kEraseTemplate});
    const auto closeQuestions = std::count_if(rig.prompt.asked.begin(), rig.prompt.asked.end(), [](const auto& asked) {
        return asked.text.rfind("The drive will go on erasing; the disc is unusable until it ends", 0) == 0
            && (asked.type & MB_DEFBUTTON_MASK) == MB_DEFBUTTON2;
    });
    EXPECT_EQ(closeQuestions, 2);

    // The drive still blanks: the status says so, asked again later, until the drive answers ready.
    const std::string busy = rig.dialog->m_Core.m_Report.GetStatusText();
    EXPECT_EQ(busy.rfind("Drive busy", 0), 0u) << busy;
    ASSERT_EQ(scheduled.size(), 1u);
    rig.clock->Advance(1000);
    std::exchange(scheduled, {}).front()();
    rig.Settle();
    EXPECT_EQ(rig.dialog->m_Core.m_Report.GetStatusText(), busy);
    ASSERT_EQ(scheduled.size(), 1u);
    rig.clock->Advance(rig.drives[0]->Identity().minimalBlankMs);
    std::exchange(scheduled, {}).front()();
    rig.Settle();
    EXPECT_TRUE(scheduled.empty());
    EXPECT_NE(rig.dialog->m_Core.m_Report.GetStatusText().rfind("Drive busy", 0), 0u);
    EXPECT_EQ(rig.drives[0]->CurrentMedium()->status, emu::DiscStatus::Blank);
}
