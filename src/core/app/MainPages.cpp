#include "core/app/MainPages.h"

#include <algorithm>
#include <array>

namespace {

using enum CopyKind;
using enum PageView;

constexpr const char* kAdvancedCommandsHelp = "Advanced Commands.htm";
constexpr const char* kReadErrorListSave = "Saving a read error list";

constexpr std::array kPages = {
    PageRow{.id = kPageDriveInfo, .helpTopic = "Drive Info.htm", .copy = PictureAndFields, .view = DriveInfo},
    PageRow{.id = kPageMediaInfo, .helpTopic = "Media Info.htm"},
    PageRow{.id = kPageInfoDisplay, .helpTopic = kAdvancedCommandsHelp, .view = Output, .rawData = RawData::Bytes},
    PageRow{.id = kPageReport3},
    PageRow{.id = kPageMediaCode,
            .helpTopic = kAdvancedCommandsHelp,
            .copy = TextWithoutOffsets,
            .rawData = RawData::MediaCode},
    PageRow{.id = kPageReport5, .helpTopic = kAdvancedCommandsHelp},
    PageRow{.id = kPageReport6, .helpTopic = kAdvancedCommandsHelp},
    PageRow{.id = kPageSpeedTest,
            .helpTopic = "DVD Speed Test.htm",
            .copy = Picture,
            .view = Tool,
            .start = "The read speed test",
            .stop = "Stopping the read speed test",
            .save = kReadErrorListSave},
    PageRow{.id = kPageErrorTest,
            .helpTopic = "CD-DVD Error Test.htm",
            .copy = Picture,
            .start = "The read error test",
            .stop = "Stopping the read error test",
            .save = kReadErrorListSave},
    PageRow{.id = kPageModePages, .view = Output},
    // Save is the "Create" button here.
    PageRow{.id = kPageCompare,
            .helpTopic = "ISO Compare.htm",
            .copy = Picture,
            .view = Tool,
            .start = "The compare",
            .stop = "Stopping the compare",
            .save = "Creating an ISO image"},
    PageRow{.id = kPageCreateIso,
            .helpTopic = "ISO Compare.htm",
            .copy = Picture,
            .view = Tool,
            .stop = "Stopping the ISO creation"},
    PageRow{.id = kPageFeatures, .view = Output},
    PageRow{.id = kPageSystemInfo, .helpTopic = "sysinfo.html", .view = Output},
    PageRow{.id = kPageDiscHash,
            .helpTopic = "Compute MD5-SHA.html",
            .view = OutputWithProgress,
            .start = "Hashing a disc",
            .stop = "Stopping the disc hash",
            .save = "A custom block range"},
    // Stop is the "Folder" button here.
    PageRow{.id = kPageFileHash,
            .helpTopic = "Compute MD5-SHA Files.html",
            .view = OutputWithProgress,
            .start = "Hashing a file",
            .stop = "Hashing a folder"},
};

constexpr PageRow kAnyOtherPage{};

// clang-format off
constexpr std::array<ToolsItemRow, kToolsItemCount> kToolsItems = {{
    {kToolsHeading,       "           Tools & Utilities",             "The heading",                     true},
    {kToolsFlashTest,     "Test Flash Ram Size & Sector test",        "The flash drive test",            false},
    {kToolsBurnInfo,      "Read burn info from DVD-R/RW media",       "Reading the burn information",    false},
    {kToolsDiscMd5,       "Compute MD5 of a disc",                    "The disc hash",                   false},
    {kToolsFileMd5,       "Compute MD5 of a file or folder",          "The file hash",                   false},
    {kToolsDiscSha1,      "Compute MD5/SHA1 disc hash",               "The disc hash",                   false},
    {kToolsFileSha1,      "Compute MD5/SHA1 file/folder hash",        "The file hash",                   false},
    {kToolsDiscSha2,      "Compute MD5/SHA1/SHA2 disc hash",          "The disc hash",                   false},
    {kToolsFileSha2,      "Compute MD5/SHA1/SHA2 file/folder hash",   "The file hash",                   false},
    {kToolsMediaCode,     "Show complete media code",                 "The complete media code",         false},
    {kToolsSectorViewer,  "Show blocks from media",                   "The sector viewer",               false},
    {kToolsSectorEditor,  "Show / Edit Hex Sectors or Files",         "The sector editor",               true},
    {kToolsFeatures,      "Show Drive Features & Profiles",           "The feature and profile listing", false},
    {kToolsModePages,     "Show Drive Supported Mode Pages",          "The mode page listing",           false},
    {kToolsDcErase,       "Perform DCErase for QSI / NU drives",      "DC erase",                        true},
    {kToolsCustomCommand, "Send Custom Command (now with edit)",      "The custom command window",       false},
}};
// clang-format on

}  // namespace

std::span<const PageRow> MainPages()
{
    return kPages;
}

const PageRow& PageOf(int page)
{
    const auto it = std::find_if(kPages.begin(), kPages.end(), [page](const PageRow& row) { return row.id == page; });
    return it == kPages.end() ? kAnyOtherPage : *it;
}

const PageRow* PageWithCommand(int page, const char* PageRow::*command, int fallback)
{
    for (const int id : {page, fallback}) {
        const PageRow& row = PageOf(id);
        if (id != kNoPage && row.id == id && row.*command)
            return &row;
    }
    return nullptr;
}

const char* HelpTopicForPage(int page)
{
    return PageOf(page).helpTopic;
}

std::span<const ToolsItemRow> ToolsItems()
{
    return kToolsItems;
}

const ToolsItemRow* FindToolsItem(int item)
{
    if (item < 0 || item >= kToolsItemCount)
        return nullptr;
    return &kToolsItems[static_cast<std::size_t>(item)];
}
