#include "gui/ui/ShellOpen.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QUrl>

namespace {

std::function<bool(const std::string&)>& Hook()
{
    static std::function<bool(const std::string&)> hook;
    return hook;
}

} // namespace

bool ShellOpen(const std::string& target)
{
    if (Hook())
        return Hook()(target);
    const QString text = QString::fromStdString(target);
    const QUrl url = text.contains("://") ? QUrl(text) : QUrl::fromLocalFile(text);
    return QDesktopServices::openUrl(url);
}

void SetShellOpenHook(std::function<bool(const std::string&)> hook)
{
    Hook() = std::move(hook);
}

std::string ProgramFolder()
{
    return QCoreApplication::applicationDirPath().toStdString() + "/";
}
