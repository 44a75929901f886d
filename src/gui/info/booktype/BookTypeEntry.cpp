#include "gui/info/booktype/BookTypeEntry.h"

#include "core/base/LogFile.h"
#include "core/info/booktype/BookTypeSession.h"
#include "gui/info/booktype/BenqBookType.h"
#include "gui/info/booktype/BookTypeAopen.h"
#include "gui/info/booktype/BookTypeNEC.h"
#include "gui/info/booktype/BtcBookType.h"
#include "gui/info/booktype/LGBook.h"
#include "gui/info/booktype/LiteonBookType.h"
#include "gui/info/booktype/NuTekBook.h"

std::unique_ptr<CDialog> MakeBookTypeDialog(const BookTypeChoice& choice, BookTypeSession& session, QWidget* parent)
{
    switch (choice.dialog) {
    case BookTypeDialog::Lg: return std::make_unique<CLGBook>(session, false, parent);
    case BookTypeDialog::PlextorTdk: return std::make_unique<CLGBook>(session, true, parent);
    case BookTypeDialog::Nec: return std::make_unique<CBookTypeNEC>(session, parent);
    case BookTypeDialog::Liteon: return std::make_unique<CLiteonBookType>(session, parent);
    case BookTypeDialog::NuTek: return std::make_unique<CNuTekBook>(session, parent);
    case BookTypeDialog::Btc: return std::make_unique<CBtcBookType>(session, parent);
    case BookTypeDialog::Benq: return std::make_unique<CBenqBookType>(session, parent);
    case BookTypeDialog::Aopen: return std::make_unique<CBookTypeAopen>(session, parent);
    case BookTypeDialog::SetBookType: return std::make_unique<CSetBookType>(session, choice.generation, parent);
    case BookTypeDialog::None: break;
    }
    return nullptr;
}

void ShowBookTypeChoice(const BookTypeChoice& choice, DriveContext& drive, UserPrompt& prompt, QWidget* parent,
                        const BookTypeOptions& options)
{
    for (const std::string& notice : choice.notices)
        prompt.MessageBox(notice, "", MB_OK);
    if (choice.dialog == BookTypeDialog::None) {
        if (!choice.message.empty())
            prompt.MessageBox(choice.message, choice.caption, choice.type);
        LogEntry("End ChangePLUSBookField()");
        return;
    }
    BookTypeSession session(drive, prompt);
    session.status = options.status;
    if (options.deviceUse)
        session.deviceUse = options.deviceUse;
    const std::unique_ptr<CDialog> dialog = MakeBookTypeDialog(choice, session, parent);
    if (options.dialogOpen)
        options.dialogOpen(dialog.get());
    dialog->DoModal();
    if (options.dialogOpen)
        options.dialogOpen(nullptr);
    LogEntry("End ChangePLUSBookField()");
}

void ChangePLUSBookField(DriveContext& drive, UserPrompt& prompt, QWidget* parent, const BookTypeOptions& options)
{
    ShowBookTypeChoice(ChooseBookTypeDialog(drive), drive, prompt, parent, options);
}
