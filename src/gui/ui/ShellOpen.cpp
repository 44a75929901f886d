#include "gui/ui/ShellOpen.h"

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
    return QCoreApplication::applicationDirPath().toStdString() + "/";
}

std::string HelpFolder()
{
    return HelpFolderFor(ProgramFolder());
}
