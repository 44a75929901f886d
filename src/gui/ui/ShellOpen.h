#pragma once

#include <functional>
#include <string>

// Opens a document or a web address with the desktop's program for it (the
// help pages, the home page). False when there is no such program.
bool ShellOpen(const std::string& target);

// Tests: while set, the hook gets every target instead of the desktop.
void SetShellOpenHook(std::function<bool(const std::string&)> hook);

// The folder of the running program, with a trailing "/".
std::string ProgramFolder();
// Tests: while set (ending in "/"), the program stands in that folder.
void SetProgramFolderForTests(std::string folder);
// The folder of the help pages, with a trailing "/": "help/" beside the
// program, or the installed program's "<prefix>/share/quenzario/help/".
std::string HelpFolder();
// Opens a page of the help folder; says so when it cannot be opened.
void OpenHelpPage(const std::string& topic);
