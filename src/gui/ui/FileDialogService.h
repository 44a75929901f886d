#pragma once

#include <optional>
#include <string>

class QWidget;

// The open and save file choosers and the folder chooser. The GUI uses Qt's dialogs; tests answer
// from a script.
struct FileDialogRequest {
    QWidget* owner = nullptr;
    std::string title;
    std::string folder;  // initial folder
    std::string filter;  // "PNG Files (*.png);;All Files (*)"
    std::string defaultExtension;
    int filterIndex = 1;  // 1-based, as the profile stores it
};

struct FileDialogAnswer {
    std::string path;
    int filterIndex = 1;
};

class FileDialogService {
public:
    virtual ~FileDialogService() = default;
    virtual std::optional<FileDialogAnswer> GetOpenFileName(const FileDialogRequest& request) = 0;
    virtual std::optional<FileDialogAnswer> GetSaveFileName(const FileDialogRequest& request) = 0;
    // A folder (title and initial folder of the request); nullopt when cancelled.
    virtual std::optional<std::string> BrowseForFolder(const FileDialogRequest& request) = 0;
};

FileDialogService& GetFileDialogService();
// Replaces the service (tests); null restores Qt's dialogs.
void SetFileDialogService(FileDialogService* service);
