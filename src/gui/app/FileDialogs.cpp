#include "gui/app/FileDialogs.h"

#include "core/base/AppProfile.h"
#include "core/base/Format.h"
#include "core/base/MessageIds.h"
#include "core/base/UserPrompt.h"
#include "gui/ui/UtilityClass.h"
#include "platform/files/SafeFile.h"

#include <filesystem>

#include <unistd.h>

namespace {

std::string FolderToRemember(const std::string& path)
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

std::optional<std::string> SystemFolderOf(const std::string& path)
{
    static const char* const folders[] = {"/bin",   "/boot", "/dev",  "/etc", "/lib", "/lib32",
                                          "/lib64", "/proc", "/sbin", "/sys", "/usr"};
    const auto within = [](const std::string& candidate) -> std::optional<std::string> {
        for (const char* folder : folders) {
            const std::string prefix = folder;
            if (candidate == prefix || candidate.compare(0, prefix.size() + 1, prefix + "/") == 0)
                return prefix;
        }
        return std::nullopt;
    };
    if (path.empty() || path.front() != '/')
        return std::nullopt;
    const std::filesystem::path written(path);
    if (auto folder = within(written.lexically_normal().string()))
        return folder;
    // Where links lead: a link to /etc is /etc.
    std::error_code error;
    const std::filesystem::path real = std::filesystem::weakly_canonical(written, error);
    return error ? std::nullopt : within(real.string());
}

bool IsInSystemFolder(const std::string& path)
{
    return SystemFolderOf(path).has_value();
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
        WriteAppProfileString(profileEntry, FolderToRemember(answer->path));
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
        if (const auto refused = SystemFolderOf(answer->path)) {
            AppMessageBox("Illegal Folder,  please choose another folder. Read or Write to " + *refused
                          + " is not permitted.");
            continue;
        }
        if (!profileEntry.empty())
            WriteAppProfileString(profileEntry, FolderToRemember(answer->path));
        return SaveFileChoice{answer->path, answer->filterIndex};
    }
}

bool AskBeforeReplacing(const std::string& path, const std::string& question, const std::string& caption)
{
    // The name itself, not what a link leads to: a link is replaced too.
    return !FileExists(path) || AppMessageBox(question, caption, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

bool ConfirmOverwrite(const std::string& path)
{
    return AskBeforeReplacing(path, "Overwrite existing file?", "File exists");
}

bool ConfirmReplace(const std::string& path)
{
    return AskBeforeReplacing(path, Format("%s already exists.\nDo you want to replace it?", path.c_str()),
                              "File exists");
}

std::optional<std::string> BrowseForFolder(QWidget* owner, const std::string& title)
{
    std::string folder;
    CUtilityClass().BrowseForFolder(owner, title, std::string(), folder);
    if (folder.empty())
        return std::nullopt;
    return folder;
}
