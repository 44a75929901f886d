#include "core/app/MainPages.h"
#include "gui/app/PageSet.h"

#include <gtest/gtest.h>

#include <set>

// Each page, tools entry and command button belongs to one line of the list
// (a second line would silently take it over), and each names a row that exists.
TEST(PageList, EachPageToolsEntryAndButtonHasOneClassAndItsRow)
{
    std::set<int> pages;
    std::set<int> items;
    std::set<int> buttons;
    for (const PageClass& line : PageClasses()) {
        EXPECT_NE(line.make, nullptr);
        for (int page : line.pages) {
            EXPECT_TRUE(pages.insert(page).second) << "page " << page;
            EXPECT_EQ(PageOf(page).id, page) << "page " << page << " has no row";
        }
        for (int item : line.toolsItems) {
            EXPECT_TRUE(items.insert(item).second) << "tools entry " << item;
            EXPECT_NE(FindToolsItem(item), nullptr) << "tools entry " << item;
            EXPECT_NE(item, kToolsHeading);
        }
        // A button without a page opens its tool's window.
        if (line.button != 0) {
            EXPECT_TRUE(buttons.insert(line.button).second) << "button " << line.button;
        }
        EXPECT_FALSE(line.pages.empty() && line.toolsItems.empty() && line.button == 0) << "a line nothing reaches";
    }
}
