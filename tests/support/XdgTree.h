#pragma once

#include "support/TestSupport.h"

#include <filesystem>
#include <string>

// A user's desktop folders in a temporary tree (settings, data, the data and
// settings folders searched after them, home) for one scope, with the
// program's desktop entry installed unless told otherwise; its Exec names the
// running test program, so that the desktop's tools take it as installed.
class XdgTree {
public:
    explicit XdgTree(bool installed = true) :
        m_config("XDG_CONFIG_HOME", m_dir.File("config").c_str()),
        m_data("XDG_DATA_HOME", m_dir.File("data").c_str()),
        m_dataDirs("XDG_DATA_DIRS", m_dir.File("system").c_str()),
        m_configDirs("XDG_CONFIG_DIRS", m_dir.File("etc").c_str()),
        m_home("HOME", m_dir.Path().c_str()),
        m_desktop("XDG_CURRENT_DESKTOP", "X-Generic")
    {
        std::filesystem::create_directories(m_dir.File("config"));
        std::filesystem::create_directories(m_dir.File("data/applications"));
        if (installed)
            WriteFileText(m_dir.File("data/applications/quenzario.desktop"),
                          "[Desktop Entry]\nType=Application\nName=Quenzario\nExec="
                              + std::filesystem::read_symlink("/proc/self/exe").string()
                              + " %f\nMimeType=application/x-quenzario-qnz;application/x-quenzario-qnzx;"
                                "application/x-ibg-graph;application/x-mbg-graph;\n");
    }
    // The user's choice of programs per file type.
    std::string List() const { return m_dir.File("config/mimeapps.list"); }

private:
    TempDir m_dir;
    ScopedEnv m_config, m_data, m_dataDirs, m_configDirs, m_home, m_desktop;
};
