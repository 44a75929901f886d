#include "gui/ui/ShellOpen.h"

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
    if (text.contains("://"))
        return QDesktopServices::openUrl(QUrl(text));
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
