#include "gui/app/FileDialogs.h"

#include "core/base/AppProfile.h"
#include "core/base/Format.h"
#include "core/base/MessageIds.h"
#include "core/base/UserPrompt.h"
#include "gui/ui/UtilityClass.h"

#include <filesystem>

#include <unistd.h>

namespace {

std::string FolderOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return std::string();
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string CurrentFolder()
{
    char buffer[4096];
    return ::getcwd(buffer, sizeof buffer) ? buffer : std::string();
}

}  // namespace

bool IsInSystemFolder(const std::string& path)
{
    static const char* const folders[] = {"/bin",   "/boot", "/dev",  "/etc", "/lib", "/lib32",
                                          "/lib64", "/proc", "/sbin", "/sys", "/usr"};
    for (const char* folder : folders) {
        const std::string prefix = folder;
        if (path == prefix || path.compare(0, prefix.size() + 1, prefix + "/") == 0)
            return true;
    }
    return false;
}

std::optional<std::string> ShowOpenFileDialog(QWidget* owner, const std::string& title, const std::string& filter,
                                              const std::string& profileEntry, const std::string& defaultExtension)
{
    FileDialogRequest request;
    request.owner = owner;
    request.title = title;
    request.filter = filter;
    request.defaultExtension = defaultExtension;
    request.folder = profileEntry.empty() ? CurrentFolder() : GetAppProfileString(profileEntry, CurrentFolder());
    const auto answer = GetFileDialogService().GetOpenFileName(request);
    if (!answer || answer->path.empty())
        return std::nullopt;
    if (!profileEntry.empty())
        WriteAppProfileString(profileEntry, FolderOf(answer->path));
    return answer->path;
}

std::optional<SaveFileChoice> ShowSaveFileDialog(QWidget* owner, const std::string& title, const std::string& filter,
                                                 const std::string& profileEntry, const std::string& defaultExtension,
                                                 int filterIndex)
{
    FileDialogRequest request;
    request.owner = owner;
    request.title = title;
    request.filter = filter;
    request.defaultExtension = defaultExtension;
    request.filterIndex = filterIndex;
    request.folder = GetAppProfileString(profileEntry, std::string());
    for (;;) {
        const auto answer = GetFileDialogService().GetSaveFileName(request);
        if (!answer || answer->path.empty())
            return std::nullopt;
        if (IsInSystemFolder(answer->path)) {
            AppMessageBox("Illegal Folder,  please choose another folder. Read or Write to Windows is not permitted.");
            continue;
        }
        if (!profileEntry.empty())
            WriteAppProfileString(profileEntry, FolderOf(answer->path));
        return SaveFileChoice{answer->path, answer->filterIndex};
    }
}

bool ConfirmOverwrite(const std::string& path)
{
    std::error_code ignored;
    return !std::filesystem::exists(path, ignored)
        || AppMessageBox("Overwrite existing file?", "File exists", MB_YESNO | MB_ICONQUESTION) == IDYES;
}

bool ConfirmReplace(const std::string& path)
{
    std::error_code ignored;
    if (!std::filesystem::exists(path, ignored))
        return true;
    return AppMessageBox(Format("%s already exists.\nDo you want to replace it?", path.c_str()), "File exists",
                         MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2)
        == IDYES;
}

std::optional<std::string> BrowseForFolder(QWidget* owner, const std::string& title)
{
    std::string folder;
    CUtilityClass().BrowseForFolder(owner, title, std::string(), folder);
    if (folder.empty())
        return std::nullopt;
    return folder;
}
