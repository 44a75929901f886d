#include "core/app/MainPages.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <utility>
#include <vector>

TEST(MainPages, EachPageHasOneRowAndAHelpPageThatShips)
{
    const std::filesystem::path help = std::filesystem::path(QUENZA_SOURCE_DIR) / "resources" / "help";
    std::set<int> ids;
    for (const PageRow& page : MainPages()) {
        EXPECT_TRUE(ids.insert(page.id).second) << "page " << page.id << " has two rows";
        EXPECT_GE(page.id, 0);
        EXPECT_TRUE(std::filesystem::is_regular_file(help / page.helpTopic)) << page.helpTopic;
        EXPECT_EQ(&PageOf(page.id), &page);
    }
    EXPECT_TRUE(std::filesystem::is_regular_file(help / kDefaultHelpTopic));
    // The values the window routes by.
    EXPECT_EQ(ids, (std::set<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 10, 11, 12, 14, 15, 16, 17}));
}

TEST(MainPages, HelpTopicOfEachPage)
{
    const std::vector<std::pair<int, std::string>> cases = {{kPageDriveInfo, "Drive Info.htm"},
                                                            {kPageMediaInfo, "Media Info.htm"},
                                                            {kPageInfoDisplay, "Advanced Commands.htm"},
                                                            {kPageMediaCode, "Advanced Commands.htm"},
                                                            {kPageReport6, "Advanced Commands.htm"},
                                                            {kPageSpeedTest, "DVD Speed Test.htm"},
                                                            {kPageErrorTest, "CD-DVD Error Test.htm"},
                                                            {kPageCompare, "ISO Compare.htm"},
                                                            {kPageCreateIso, "ISO Compare.htm"},
                                                            {kPageSystemInfo, "sysinfo.html"},
                                                            {kPageDiscHash, "Compute MD5-SHA.html"},
                                                            {kPageFileHash, "Compute MD5-SHA Files.html"},
                                                            {kPageReport3, "introduction.htm"},
                                                            {kPageFeatures, "introduction.htm"},
                                                            {9, "introduction.htm"},
                                                            {kNoPage, "introduction.htm"}};
    for (const auto& [page, topic] : cases)
        EXPECT_EQ(HelpTopicForPage(page), topic) << page;
}

TEST(MainPages, GraphPagesAreCopiedAsPicturesTheMediaCodeWithoutOffsets)
{
    std::set<int> pictures;
    for (const PageRow& page : MainPages())
        if (page.copy == CopyKind::Picture)
            pictures.insert(page.id);
    EXPECT_EQ(pictures, (std::set<int>{kPageSpeedTest, kPageErrorTest, kPageCompare, kPageCreateIso}));
    EXPECT_EQ(PageOf(kPageDriveInfo).copy, CopyKind::PictureAndFields);
    EXPECT_EQ(PageOf(kPageMediaCode).copy, CopyKind::TextWithoutOffsets);
    EXPECT_EQ(PageOf(9).copy, CopyKind::Text);
}

TEST(MainPages, AButtonRunsOnlyItsOwnPagesCommandAndATestsEndFallsBackToTheSpeedTest)
{
    struct Case {
        int page;
        const char* PageRow::*command;
        int fallback;
        int runs;  // kNoPage: nothing runs
        std::string name;
    };
    const Case cases[] = {
        {kPageDriveInfo, &PageRow::start, kNoPage, kNoPage, ""},
        {kPageInfoDisplay, &PageRow::start, kNoPage, kNoPage, ""},  // the sector viewer's dump
        {kPageCreateIso, &PageRow::start, kNoPage, kNoPage, ""},
        {kPageCreateIso, &PageRow::save, kNoPage, kNoPage, ""},
        {kPageCreateIso, &PageRow::stop, kNoPage, kPageCreateIso, "Stopping the ISO creation"},
        {kPageCompare, &PageRow::save, kNoPage, kPageCompare, "Creating an ISO image"},
        {kPageDiscHash, &PageRow::save, kNoPage, kPageDiscHash, "A custom block range"},
        {kPageFileHash, &PageRow::stop, kNoPage, kPageFileHash, "Hashing a folder"},
        {kNoPage, &PageRow::stop, kNoPage, kNoPage, ""},
        // WM_TESTENDED: the current page's Stop, else the speed test's.
        {kNoPage, &PageRow::stop, kPageSpeedTest, kPageSpeedTest, "Stopping the read speed test"},
        {kPageMediaInfo, &PageRow::stop, kPageSpeedTest, kPageSpeedTest, "Stopping the read speed test"},
        {kPageErrorTest, &PageRow::stop, kPageSpeedTest, kPageErrorTest, "Stopping the read error test"},
    };
    for (const Case& c : cases) {
        const PageRow* runs = PageWithCommand(c.page, c.command, c.fallback);
        if (c.runs == kNoPage) {
            EXPECT_EQ(runs, nullptr) << c.page;
            continue;
        }
        ASSERT_NE(runs, nullptr) << c.page;
        EXPECT_EQ(runs->id, c.runs) << c.page;
        EXPECT_EQ(runs->*c.command, c.name) << c.page;
    }
}

TEST(ToolsItems, TheListHoldsItsEntriesInOrderEachByItsNumber)
{
    const std::vector<std::string> texts = {
        "           Tools & Utilities",
        "Test Flash Ram Size & Sector test",
        "Read burn info from DVD-R/RW media",
        "Compute MD5 of a disc",
        "Compute MD5 of a file or folder",
        "Compute MD5/SHA1 disc hash",
        "Compute MD5/SHA1 file/folder hash",
        "Compute MD5/SHA1/SHA2 disc hash",
        "Compute MD5/SHA1/SHA2 file/folder hash",
        "Show complete media code",
        "Show blocks from media",
        "Show / Edit Hex Sectors or Files",
        "Show Drive Features & Profiles",
        "Show Drive Supported Mode Pages",
        "Perform DCErase for QSI / NU drives",
        "Send Custom Command (now with edit)",
    };
    ASSERT_EQ(ToolsItems().size(), texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const ToolsItemRow& row = ToolsItems()[i];
        EXPECT_EQ(row.item, static_cast<int>(i));
        EXPECT_EQ(row.text, texts[i]);
        EXPECT_FALSE(std::string(row.name).empty()) << i;
        EXPECT_EQ(FindToolsItem(row.item), &row);
    }
    EXPECT_EQ(FindToolsItem(-1), nullptr);
    EXPECT_EQ(FindToolsItem(kToolsItemCount), nullptr);
}
