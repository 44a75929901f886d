#pragma once

#include <string>

class QWidget;

// The folder picker of the folder tools.
class CUtilityClass {
public:
    // Lets the user choose a folder (the file dialog service's folder
    // chooser, starting in the current folder) and puts its path into path;
    // path is empty when the user cancels. The third argument is not used.
    void BrowseForFolder(QWidget* owner, const std::string& title, const std::string& unused, std::string& path);

    std::string m_strValue;
};
