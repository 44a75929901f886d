#pragma once

#include "gui/ui/FileDialogService.h"

#include <optional>
#include <string>

// Open and save choosers that start in the folder last used for the same
// purpose (kept in the profile entry) and remember the chosen folder.
// The save chooser keeps asking while the path lies in a system folder.
std::optional<std::string> ShowOpenFileDialog(QWidget* owner, const std::string& title, const std::string& filter,
                                              const std::string& profileEntry, const std::string& defaultExtension);

struct SaveFileChoice {
    std::string path;
    int filterIndex = 1;
};
std::optional<SaveFileChoice> ShowSaveFileDialog(QWidget* owner, const std::string& title, const std::string& filter,
                                                 const std::string& profileEntry, const std::string& defaultExtension,
                                                 int filterIndex);

// After a save chooser: true when no name stands at path yet (not even a
// link, whether or not it leads anywhere) or the user agrees to replace it
// when asked `question`, with No as the default. Every save that asks goes
// through it.
bool AskBeforeReplacing(const std::string& path, const std::string& question, const std::string& caption);
// "Overwrite existing file?": the snapshots and the graph files.
bool ConfirmOverwrite(const std::string& path);
// The question naming the file: the image, list and data saves.
bool ConfirmReplace(const std::string& path);

// The folder chooser, starting in the current folder; nullopt when cancelled.
std::optional<std::string> BrowseForFolder(QWidget* owner, const std::string& title);

// True when the path lies in a folder of the operating system that the
// program must not read or write files in.
bool IsInSystemFolder(const std::string& path);
// That folder ("/etc"), also where ".." or a link leads into it; nullopt
// for any other path.
std::optional<std::string> SystemFolderOf(const std::string& path);
