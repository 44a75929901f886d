#include "gui/ui/ShellOpen.h"

#include "core/base/UserPrompt.h"
#include "platform/desktop/InstallLayout.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace {

std::function<bool(const std::string&)>& Hook()
{
    static std::function<bool(const std::string&)> hook;
    return hook;
}

std::string& ProgramFolderForTests()
{
    static std::string folder;
    return folder;
}

}  // namespace

bool ShellOpen(const std::string& target)
{
    if (Hook())
        return Hook()(target);
    const QString text = QString::fromStdString(target);
    // An address with a scheme ("https://...", "mailto:...") goes to its
    // program; anything else is a file.
    const QUrl url(text);
    if (!text.startsWith('/') && url.isValid() && url.scheme().size() > 1)
        return QDesktopServices::openUrl(url);
    return QFileInfo::exists(text) && QDesktopServices::openUrl(QUrl::fromLocalFile(text));
}

void SetShellOpenHook(std::function<bool(const std::string&)> hook)
{
    Hook() = std::move(hook);
}

std::string ProgramFolder()
{
    if (!ProgramFolderForTests().empty())
        return ProgramFolderForTests();
    return QCoreApplication::applicationDirPath().toStdString() + "/";
}

void SetProgramFolderForTests(std::string folder)
{
    ProgramFolderForTests() = std::move(folder);
}

std::string HelpFolder()
{
    return HelpFolderFor(ProgramFolder());
}

void OpenHelpPage(const std::string& topic)
{
    const std::string page = HelpFolder() + topic;
    if (!ShellOpen(page))
        AppMessageBox("The help page " + page + " cannot be opened.", "Quenzario", MB_OK | MB_ICONEXCLAMATION);
}
