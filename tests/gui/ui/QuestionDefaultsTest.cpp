#include "core/base/MessageIds.h"
#include "core/drive/WrapperRig.h"
#include "core/info/booktype/BookTypeControls.h"
#include "core/info/booktype/BookTypeSession.h"
#include "core/info/booktype/NecBookTypeControl.h"
#include "core/info/booktype/NuTekBookControl.h"
#include "core/pipo/ScanWindowIds.h"
#include "core/tools/sectoredit/SectorEditor.h"
#include "core/tools/usercommand/UserCommandPanel.h"
#include "emu/DrivePresets.h"
#include "gui/pipo/ScanWindowRig.h"
#include "gui/ui/QtUserPrompt.h"
#include "support/DiskToolSupport.h"
#include "support/TestSupport.h"

#include <QMessageBox>
#include <QPushButton>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using Questions = std::vector<ScriptedPrompt::Asked>;

// A book-type dialog's session on an emulated drive in no use.
struct BookTypeRig : WrapperRig {
    explicit BookTypeRig(emu::DriveIdentity identity) : WrapperRig(std::move(identity), "none")
    {
        session.deviceUse = [](const std::string&) { return DeviceUse{}; };
    }
    ScriptedPrompt prompt;
    BookTypeSession session{context, prompt};
};

struct QuietPort : SectorEditorPort {
    void ShowFields() override {}
    void ShowGrid(const std::string&) override {}
    std::optional<std::string> ChooseFileToLoad() override { return std::nullopt; }
    std::optional<std::string> ChooseFileToSave() override { return std::nullopt; }
    bool AskOriginalSize() override { return true; }
    void PutCaretAtEnd(int) override {}
};

Questions SendWithNothingTyped()
{
    ScopedProfile profile;
    ScriptedPrompt prompt;
    UserCommandPanel().ConfirmSend();
    return prompt.asked;
}

Questions SendTypedCommand()
{
    ScopedProfile profile;
    ScriptedPrompt prompt;
    UserCommandPanel panel;
    panel.m_bDataEntered = 1;
    panel.ConfirmSend();
    return prompt.asked;
}

Questions NecDefaultBook()
{
    emu::DriveIdentity identity = *emu::FindDrivePreset("nec");
    identity.vendorSettings.nec.flashWritesLeft = 5;
    BookTypeRig rig(identity);
    NecBookTypeControl control(rig.session);
    control.OnInitDialog();
    control.radios[booktype_ids::nec::IDC_RW_GROUP] = 2;
    control.OnSetDefault(NecBookTypeControl::kPlusRw);
    return rig.prompt.asked;
}

Questions NuTekFlashBook()
{
    BookTypeRig rig(*emu::FindDrivePreset("nu"));
    NuTekBookControl control(rig.session);
    control.OnInitDialog();
    control.checks[booktype_ids::nutek::IDC_FLASH_SAVE] = 1;
    control.OnSetDefaultBook(NuTekBookControl::kPlusRw);
    return rig.prompt.asked;
}

Questions ReadOverSectorChanges()
{
    FakeDiskHost disk(64 * 1024, false);
    ScopedProfile profile;
    ScriptedPrompt prompt;
    QuietPort port;
    SectorEditor editor(disk.host, port);
    int shown = -1;
    editor.OnSelchangeDrive(0, shown);
    editor.m_bChanged = true;
    editor.OnRead();
    return prompt.asked;
}

Questions ScanOverUnsavedGraph()
{
    ScanWindowRig rig;
    rig.window->Context().state.m_bNotSaved1 = 1;
    rig.window->SendCommand(IDC_PIPO_START);
    return rig.prompt.asked;
}

}  // namespace

// Enter at a question whose Yes writes, changes or throws work away answers No.
TEST(Questions, ThoseBeforeAChangeDefaultToNo)
{
    struct Case {
        const char* question;
        std::function<Questions()> ask;
    };
    const Case cases[] = {
        {"You have not entered any data\n\rAre you sure you want to send?", SendWithNothingTyped},
        {"Are you sure you want to send this command?", SendTypedCommand},
        {"Setting default can only be done 5 more times.  Do you want to continue?", NecDefaultBook},
        {"Are you sure you want to change the bitsetting?", NuTekFlashBook},
        {"Are you sure you want to lose current changes?", ReadOverSectorChanges},
        {"Previous graph not saved,  are you sure you want to start?", ScanOverUnsavedGraph},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.question);
        const Questions asked = c.ask();
        ASSERT_FALSE(asked.empty());
        const ScriptedPrompt::Asked& first = asked.front();
        EXPECT_EQ(first.text, c.question);
        const std::unique_ptr<QMessageBox> box = MakeMessageBox(first.text, first.caption, first.type);
        ASSERT_NE(box->button(QMessageBox::No), nullptr);
        EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::No));
    }
}
