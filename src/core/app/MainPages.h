#pragma once

#include <span>

// The pages of the main window and the entries of its "Tools & Utilities"
// list as two tables. A page is a row of MainPages() by its current-page
// value, which decides what help, Copy, Start, Stop and the saves do; a list
// entry is a row of ToolsItems() by its item number. The window binds what
// each row does (gui/app); a command it has not bound answers with the name
// its row gives that it is not available in this version.

enum MainPage : int {
    kNoPage = -1,
    kPageDriveInfo = 0,
    kPageMediaInfo = 1,
    kPageInfoDisplay = 2,
    kPageReport3 = 3,  // 3, 5 and 6: report pages of later tools
    kPageMediaCode = 4,
    kPageReport5 = 5,
    kPageReport6 = 6,
    kPageSpeedTest = 7,
    kPageErrorTest = 8,
    kPageModePages = 10,
    kPageCompare = 11,
    kPageCreateIso = 12,
    kPageFeatures = 14,
    kPageSystemInfo = 15,
    kPageDiscHash = 16,
    kPageFileHash = 17,
};

// What Copy puts on the clipboard.
enum class CopyKind {
    Text,  // the report lines
    TextWithoutOffsets,  // the byte lines without their offset column
    Picture,  // the window as it looks
    PictureAndFields,  // the window as it looks, and the drive page's fields as text
};

// What a page shows between the command buttons and the combo boxes.
enum class PageView {
    Later,  // shown by a later version
    DriveInfo,  // the drive's fields and capability boxes
    Output,  // the output box, at the size it has
    OutputWithProgress,  // the output box, shortened, above the progress bars
    Tool,  // the tool's own controls, which its handlers show
};

// What the save-raw-data button finds on a page.
enum class RawData {
    None,  // no bytes to save
    Bytes,  // the data buffer, shown as bytes
    MediaCode,  // the media code: copied or snapped, not saved
};

constexpr const char* kDefaultHelpTopic = "introduction.htm";

struct PageRow {
    int id = kNoPage;
    const char* helpTopic = kDefaultHelpTopic;  // a page of the help folder
    CopyKind copy = CopyKind::Text;
    PageView view = PageView::Later;
    RawData rawData = RawData::None;
    // The page's own Start, Stop and Save, by name; null: the page has none.
    const char* start = nullptr;
    const char* stop = nullptr;
    const char* save = nullptr;
};

std::span<const PageRow> MainPages();
// The row of a page; a value without one gets the row of any other page
// (no commands of its own, text copy, the default help).
const PageRow& PageOf(int page);
// The row whose Start, Stop or Save (&PageRow::start ...) runs on a page:
// the page's own, else the fallback page's; null when neither has one (a
// button never runs another page's command: kNoPage).
const PageRow* PageWithCommand(int page, const char* PageRow::*command, int fallback = kNoPage);
const char* HelpTopicForPage(int page);

// The entries of "Tools & Utilities" by item number.
enum ToolsItem : int {
    kToolsHeading = 0,
    kToolsFlashTest = 1,
    kToolsBurnInfo = 2,
    kToolsDiscMd5 = 3,
    kToolsFileMd5 = 4,
    kToolsDiscSha1 = 5,
    kToolsFileSha1 = 6,
    kToolsDiscSha2 = 7,
    kToolsFileSha2 = 8,
    kToolsMediaCode = 9,
    kToolsSectorViewer = 10,
    kToolsSectorEditor = 11,
    kToolsFeatures = 12,
    kToolsModePages = 13,
    kToolsDcErase = 14,
    kToolsCustomCommand = 15,
};
constexpr int kToolsItemCount = 16;

struct ToolsItemRow {
    int item;
    const char* text;  // as the list shows it
    const char* name;  // what it is called when it answers that it is not available
    bool logsEnd;  // the dispatcher logs its end after this item
};

std::span<const ToolsItemRow> ToolsItems();
// Null for a number outside the list.
const ToolsItemRow* FindToolsItem(int item);
