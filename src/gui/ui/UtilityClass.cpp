#include "gui/ui/UtilityClass.h"

#include "gui/ui/FileDialogService.h"

#include <unistd.h>

void CUtilityClass::BrowseForFolder(QWidget* owner, const std::string& title, const std::string&, std::string& path)
{
    path.clear();
    FileDialogRequest request;
    request.owner = owner;
    request.title = title;
    char current[4096];
    if (::getcwd(current, sizeof current))
        request.folder = current;
    if (const auto folder = GetFileDialogService().BrowseForFolder(request))
        path = *folder;
}
