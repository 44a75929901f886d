#pragma once

#include <optional>

// The main window's own controls by id: command buttons, lists, output,
// status, progress bars and the page buttons every page shares.
enum MainControl : int {
    IDC_OUTPUT = 1000,
    IDC_SETTINGS = 1006,
    IDC_MEDIAINFO = 1004,
    IDC_DRIVEINFO = 1005,
    IDC_COMPARE = 1007,
    IDC_ERASE = 1026,
    IDC_ABOUT = 1034,
    IDC_COPY = 1061,
    IDC_SNAPSHOT = 1064,
    IDC_SPEEDTEST = 1065,
    IDC_ERRORTEST = 1066,
    IDC_SYSINFO = 1067,
    IDC_GRAPHVIEWER = 1068,
    IDC_HDDTEST = 1069,
    IDC_DEVICES = 1087,
    IDC_EJECT = 1088,
    IDC_TOOLS = 1090,
    IDC_BOOKTYPE = 1091,
    IDC_HOMEPAGE = 1097,
    IDC_HELP = 1102,
    IDC_STATUS = 1138,
    IDC_STOP = 1273,
    IDC_START = 1276,
    IDC_SAVE = 1289,
    IDC_MEDIATYPE = 1290,
    IDC_REFRESH = 1294,
    IDC_PROGRESS2 = 1297,
    IDC_MEDIAID = 1303,
    IDC_PROGRESS = 1306,
    IDC_SAVERAW = 1326,
    IDC_PIPO = 1356,
};

// The page buttons every page shares, by what they do.
enum class PageButton { Start, Stop, Save };

constexpr int PageButtonId(PageButton button)
{
    switch (button) {
    case PageButton::Start: return IDC_START;
    case PageButton::Stop: return IDC_STOP;
    case PageButton::Save: break;
    }
    return IDC_SAVE;
}

// The page button a control id names; none for another control.
constexpr std::optional<PageButton> PageButtonOf(int id)
{
    for (PageButton button : {PageButton::Start, PageButton::Stop, PageButton::Save})
        if (PageButtonId(button) == id)
            return button;
    return std::nullopt;
}
