#include "core/tools/erase/EraseDialogIds.h"
#include "core/tools/erase/EraseMedia.h"
#include "gui/app/MainWindowRig.h"
#include "gui/tools/erase/DCErase.h"
#include "gui/tools/erase/EraseDlg.h"
#include "gui/tools/erase/ErasePage.h"

#include <QAbstractButton>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
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
        CDialog::SetModalRunHook([this](CDialog& window) {
            opened.push_back(window.TemplateId());
            if (use)
                use(window);
            return window.ModalResult();
        });
    }
    ~EraseEntryRig() { CDialog::SetModalRunHook(nullptr); }

    void PressErase()
    {
        dialog->SendCommand(IDC_ERASE);
        Settle();
    }
    void ChooseDcErase() { ChooseTool(kToolsDcErase); }

    std::vector<int> opened;  // template ids
    std::function<void(CDialog&)> use;
};

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
