#include "core/base/MessageIds.h"
#include "core/drive/WrapperRig.h"
#include "core/tools/erase/EraseDialogIds.h"
#include "core/tools/erase/EraseMedia.h"
#include "gui/tools/erase/DCErase.h"
#include "gui/tools/erase/EraseDlg.h"
#include "gui/ui/TextProgressCtrl.h"
#include "gui/ui/UiTestHelpers.h"

#include <QCheckBox>

#include <gtest/gtest.h>

#include <map>
#include <memory>

namespace {

using namespace erasing;

DeviceUse Free(const std::string&)
{
    return {};
}

// A dialog of the erase tools opened as its owner opens it (the modal run
// answered at once), on one emulated drive, with scripted message boxes.
template <class Dialog>
struct DialogRig {
    DialogRig(const char* drive, const char* medium, int kind = -1) : drives(drive, medium)
    {
        dialog = std::make_unique<Dialog>(drives.context, &prompt, nullptr, Free);
        if (kind >= 0)
            dialog->SetMediaKind(kind);
        result = RunModalAnswered(*dialog);
    }

    bool Checked(int id) const { return dialog->IsDlgButtonChecked(id) == 1; }
    bool Enabled(int id) const { return dialog->GetDlgItem(id)->isEnabled(); }
    void Click(int id) { dialog->template Item<QAbstractButton>(id)->click(); }
    // Runs the worker to its end and delivers what it told the window.
    void Finish()
    {
        dialog->Control().Join();
        PumpPostedMessages();
    }

    ScriptedPrompt prompt;
    WrapperRig drives;
    std::unique_ptr<Dialog> dialog;
    int result = 0;
};

using EraseRig = DialogRig<CEraseDlg>;
using DcRig = DialogRig<CDCErase>;

TEST(EraseDialog, CaptionsAndCheckBoxesFollowTheMediaKind)
{
    struct Case {
        int kind;
        const char* caption;
        const char* title;
        std::vector<int> enabled;  // of the six check boxes
        std::map<int, bool> checked;
    };
    const std::vector<int> boxes = {IDC_ERASE_OPTION, IDC_QUICK,   IDC_FULL_FORMAT,
                                    IDC_FAST_FORMAT,  IDC_RESTART, IDC_COMPATIBLE_CLOSE};
    const Case cases[] = {
        {kKindDvdPlusRw,
         "Format DVD+RW media in current drive.",
         "RW / RAM Erase / Format ",
         {IDC_FULL_FORMAT, IDC_FAST_FORMAT, IDC_COMPATIBLE_CLOSE},
         {{IDC_FAST_FORMAT, true}, {IDC_ERASE_OPTION, false}, {IDC_FULL_FORMAT, false}}},
        {kKindDvdMinusRw,
         "Format/Erase DVD-RW media in current drive.",
         "RW / RAM Erase / Format ",
         {IDC_ERASE_OPTION, IDC_QUICK, IDC_FULL_FORMAT, IDC_FAST_FORMAT},
         {{IDC_ERASE_OPTION, true}, {IDC_QUICK, true}}},
        {kKindCdRw,
         "Format/Erase CD-RW media in current drive.",
         "RW / RAM Erase / Format ",
         {IDC_ERASE_OPTION, IDC_QUICK},
         {{IDC_ERASE_OPTION, true}, {IDC_QUICK, true}}},
        {kKindBdRe, "Blu-Ray Erase", "Blu-Ray Erase", {IDC_ERASE_OPTION}, {{IDC_ERASE_OPTION, true}}},
        {kKindDvdRam,
         "Erase DVD-RAM media in current drive.",
         "RW / RAM Erase / Format ",
         {IDC_ERASE_OPTION},
         {{IDC_ERASE_OPTION, true}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        EraseRig rig("dvd-writer", "dvd+rw", c.kind);
        EXPECT_EQ(rig.dialog->GetDlgItemText(IDC_ERASE_CAPTION), c.caption);
        EXPECT_EQ(rig.dialog->windowTitle().toStdString(), c.title);
        for (int box : boxes)
            EXPECT_EQ(rig.Enabled(box), std::find(c.enabled.begin(), c.enabled.end(), box) != c.enabled.end()) << box;
        for (const auto& [box, checked] : c.checked)
            EXPECT_EQ(rig.Checked(box), checked) << box;
        EXPECT_TRUE(rig.Checked(IDC_ERASE_EJECT));
        EXPECT_EQ(rig.dialog->GetDlgItem(IDC_SHUTDOWN), nullptr);  // no forced power-off here
    }
}

TEST(EraseDialog, TheCheckBoxesStayExclusive)
{
    EraseRig plus("dvd-writer", "dvd+rw", kKindDvdPlusRw);
    plus.Click(IDC_FULL_FORMAT);
    EXPECT_TRUE(plus.Checked(IDC_FULL_FORMAT));
    EXPECT_FALSE(plus.Checked(IDC_FAST_FORMAT));
    EXPECT_TRUE(plus.Enabled(IDC_RESTART));
    EXPECT_FALSE(plus.Enabled(IDC_COMPATIBLE_CLOSE));
    plus.Click(IDC_RESTART);
    EXPECT_TRUE(plus.Checked(IDC_RESTART));
    EXPECT_TRUE(plus.Checked(IDC_FULL_FORMAT));
    plus.Click(IDC_FAST_FORMAT);
    EXPECT_TRUE(plus.Checked(IDC_FAST_FORMAT));
    EXPECT_FALSE(plus.Checked(IDC_FULL_FORMAT));
    EXPECT_FALSE(plus.Checked(IDC_RESTART));
    EXPECT_FALSE(plus.Enabled(IDC_RESTART));
    EXPECT_TRUE(plus.Enabled(IDC_COMPATIBLE_CLOSE));

    EraseRig minus("dvd-writer", "dvd-rw", kKindDvdMinusRw);
    minus.Click(IDC_FAST_FORMAT);
    EXPECT_FALSE(minus.Checked(IDC_ERASE_OPTION));
    EXPECT_FALSE(minus.Enabled(IDC_QUICK));
    minus.Click(IDC_ERASE_OPTION);
    EXPECT_TRUE(minus.Checked(IDC_ERASE_OPTION));
    EXPECT_TRUE(minus.Checked(IDC_QUICK));
    EXPECT_FALSE(minus.Checked(IDC_FAST_FORMAT));
    EXPECT_TRUE(minus.Enabled(IDC_QUICK));
}

TEST(EraseDialog, GoRunsTheEraseToItsEndAndGivesTheWindowBack)
{
    EraseRig rig("bd-writer", "bd-re", kKindBdRe);
    rig.prompt.Answer(IDYES);  // the disc has data on it
    rig.prompt.Answer(IDYES);  // the confirmation
    rig.dialog->SendCommand(IDOK);
    rig.Finish();
    EXPECT_EQ(rig.dialog->StatusText(),
              "Quick erase completed: only the file-system area (first 6.5 MB) was cleared, not the whole disc");
    EXPECT_EQ(rig.dialog->template Item<CTextProgressCtrl>(IDC_ERASE_PROGRESS)->GetPos(), 100);
    EXPECT_TRUE(rig.Enabled(IDOK));
    EXPECT_TRUE(rig.Enabled(IDCANCEL));
    EXPECT_TRUE(rig.drives.drive->ReadsAsZeros(0, 3200));
    EXPECT_TRUE(rig.drives.drive->TrayOpen());
    ASSERT_EQ(rig.prompt.asked.size(), 2u);
    EXPECT_EQ(rig.prompt.asked[0].caption, "Media not blank");

    // Declined: nothing runs and the window is ready again.
    EraseRig declined("dvd-writer", "dvd-ram", kKindDvdRam);
    declined.prompt.Answer(IDNO);
    declined.drives.TakeCdbs();
    declined.dialog->SendCommand(IDOK);
    declined.Finish();
    EXPECT_FALSE(declined.dialog->Control().Running());
    EXPECT_TRUE(declined.Enabled(IDOK));
    for (const auto& cdb : declined.drives.TakeCdbs())
        EXPECT_NE(cdb[0], 0x2A);
}

TEST(DcEraseDialog, RefusesOtherBurnersAndRunsAQuickEraseToItsEnd)
{
    DcRig other("dvd-writer", "dvd-rw");
    EXPECT_EQ(other.dialog->ModalResult(), 0);  // ended in its set-up
    ASSERT_EQ(other.prompt.asked.size(), 1u);
    EXPECT_EQ(other.prompt.asked[0].text, "This function is only supported by Nu/QSI manufactured burners");

    DcRig rig("nu", "dvd+rw");
    EXPECT_EQ(rig.dialog->windowTitle().toStdString(), "DC Erase");
    EXPECT_TRUE(rig.Enabled(IDC_QUICK_ERASE));
    EXPECT_TRUE(rig.Enabled(IDC_FULL_ERASE));
    rig.prompt.Answer(IDYES);  // data on the disc
    rig.prompt.Answer(IDYES);  // the confirmation
    rig.Click(IDC_QUICK_ERASE);
    EXPECT_FALSE(rig.Enabled(IDCANCEL));
    EXPECT_TRUE(rig.Enabled(IDC_DC_STOP));
    rig.Finish();
    EXPECT_EQ(rig.dialog->StatusText(), "DC Erase completed");
    EXPECT_EQ(rig.dialog->Progress(), 100);
    EXPECT_TRUE(rig.Enabled(IDC_QUICK_ERASE));
    EXPECT_TRUE(rig.Enabled(IDCANCEL));
    EXPECT_TRUE(rig.drives.drive->TrayOpen());
}

TEST(DcEraseDialog, ADriveThatStopsAnsweringDuringTheChecksHoldsNoWindow)
{
    DcRig rig("nu", "dvd-rw");
    rig.prompt.Answer(IDYES);  // data on the disc
    rig.prompt.Answer(IDYES);  // the confirmation, were it asked
    rig.drives.TakeCdbs();
    {
        // A command that does not return holds the drive's channel: the test holds it here.
        const auto hung = rig.drives.context.m_ScsiCommand.Lock();
        rig.Click(IDC_QUICK_ERASE);
        EXPECT_TRUE(rig.prompt.asked.empty()) << "the checks ran on the window's thread";
        EXPECT_TRUE(rig.dialog->Control().Running());
        PumpPostedMessages();
        EXPECT_FALSE(rig.Enabled(IDC_QUICK_ERASE));
        EXPECT_FALSE(rig.Enabled(IDC_FULL_ERASE));
        EXPECT_TRUE(rig.Enabled(IDC_DC_STOP));
        rig.dialog->OnCancel();  // closed while the drive hangs: the erase is asked to stop
    }
    rig.Finish();
    EXPECT_FALSE(rig.dialog->Control().Running());
    EXPECT_EQ(rig.dialog->StatusText(), "Stopped");
    EXPECT_EQ(rig.dialog->ModalResult(), IDCANCEL);
    for (const auto& asked : rig.prompt.asked)  // no confirmation after the stop
        EXPECT_EQ(asked.caption, "ARE YOU SURE?");
    for (const auto& cdb : rig.drives.TakeCdbs())
        EXPECT_FALSE(cdb[0] == 0xF3 && cdb[1] == 0x0C) << "a DC erase command went out";
    EXPECT_FALSE(rig.drives.drive->TrayOpen());
}

}  // namespace

TEST(EraseDialogs, EveryQuestionBeforeAWriteDefaultsToNo)
{
    struct Case {
        const char* drive;
        const char* medium;
        int dcButton;  // 0: the erase dialog's Go
        std::vector<std::string> captions;  // of the questions, the confirmation last
    };
    const Case cases[] = {
        {"bd-writer",
         "bd-re",
         0,
         {"Media not blank", "Quick erase of the BD-RE: its file-system area (the first 6.5 MB)"}},
        {"dvd-writer", "dvd+rw", 0, {"Media not blank", "Format the DVD+RW (foreground format, then a quick close)"}},
        {"dvd-writer", "cd-rw", 0, {"Erase the disc (quick blank)"}},
        {"nu", "dvd-rw", IDC_FULL_ERASE, {"Continue?", "ARE YOU SURE?", "DC erase of the disc (full)"}},
        {"nu", "cd-rw", IDC_QUICK_ERASE, {"ARE YOU SURE?", "DC erase of the disc (quick)"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.drive) + " " + c.medium);
        ScriptedPrompt prompt;
        WrapperRig drives(c.drive, c.medium);
        for (std::size_t answer = 1; answer < c.captions.size(); ++answer)
            prompt.Answer(IDYES);
        prompt.Answer(IDNO);  // the confirmation
        drives.TakeCdbs();
        ScopedModalHook hook([&](CDialog& dialog) {
            if (c.dcButton)
                dialog.Item<QAbstractButton>(c.dcButton)->click();
            else
                dialog.SendCommand(IDOK);
            return dialog.ModalResult();
        });
        if (c.dcButton) {
            CDCErase dialog(drives.context, &prompt, nullptr, Free);
            dialog.DoModal();
            dialog.Control().Join();  // the checks and questions run on the worker
            EXPECT_FALSE(dialog.Control().Running());
        } else {
            CEraseDlg dialog(drives.context, &prompt, nullptr, Free);
            dialog.SetMediaKind(EraseKindFor(drives.context.media.GetMediaType()));
            dialog.DoModal();
            dialog.Control().Join();  // Go's checks and questions run on the worker
            EXPECT_FALSE(dialog.Control().Running());
        }
        ASSERT_EQ(prompt.asked.size(), c.captions.size());
        for (std::size_t i = 0; i < c.captions.size(); ++i) {
            EXPECT_EQ(prompt.asked[i].caption, c.captions[i]);
            EXPECT_EQ(prompt.asked[i].type & MB_BUTTON_MASK, unsigned{MB_YESNO});
            EXPECT_EQ(prompt.asked[i].type & MB_DEFBUTTON_MASK, unsigned{MB_DEFBUTTON2}) << c.captions[i];
        }
        for (const auto& cdb : drives.TakeCdbs())  // nothing written after the last No
            EXPECT_TRUE(cdb[0] != 0x2A && cdb[0] != 0xA1 && cdb[0] != 0x04 && !(cdb[0] == 0xF3 && cdb[1] == 0x0C))
                << std::hex << int{cdb[0]};
    }
}

TEST(DcEraseDialog, EnterStartsNoEraseAndAFullEraseOfAClosedDiscCoversIt)
{
    ScriptedPrompt prompt;
    WrapperRig drives("nu", "dvd-rw");
    const std::uint32_t recorded = drives.drive->CurrentMedium()->capacityBlocks;
    CDCErase dialog(drives.context, &prompt, nullptr, Free);
    ScopedModalHook hook([&](CDialog& window) {
        window.show();
        PressKey(window, Qt::Key_Return);  // Close is the default button, not an erase
        EXPECT_TRUE(prompt.asked.empty());
        return window.ModalResult();
    });
    dialog.DoModal();
    EXPECT_TRUE(prompt.asked.empty());
    EXPECT_EQ(dialog.ModalResult(), IDCANCEL);

    CDCErase full(drives.context, &prompt, nullptr, Free);
    for (int answer = 0; answer < 3; ++answer)
        prompt.Answer(IDYES);
    ScopedModalHook run([&](CDialog& window) {
        window.Item<QAbstractButton>(IDC_FULL_ERASE)->click();
        full.Control().Join();
        PumpPostedMessages();
        return window.ModalResult();
    });
    full.DoModal();
    EXPECT_EQ(full.StatusText(), "DC Erase completed");
    ASSERT_EQ(prompt.asked.size(), 3u);
    EXPECT_EQ(prompt.asked[2].caption, "DC erase of the disc (full)");
    const auto erased = drives.drive->VendorState().nuQsi.dcErase.erased;
    ASSERT_FALSE(erased.empty());
    EXPECT_EQ(erased.back().last, 0x30000u + recorded);  // not only up to the data zone's start
    EXPECT_TRUE(drives.drive->ReadsAsZeros(0, 16));
}
