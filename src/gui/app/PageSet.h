#pragma once

#include "gui/app/MainWindowPage.h"

#include <map>
#include <memory>
#include <typeindex>
#include <vector>

class PageHost;

// One line of the page list: a page class, the pages (MainPage ids) and
// tools entries (ToolsItem numbers) it serves, and its command button, which
// runs Show on its first page, or Show(kNoPage) on a line without a page (a
// tool's window); 0: none.
struct PageClass {
    std::unique_ptr<MainWindowPage> (*make)(PageHost& host);
    std::vector<int> pages;
    std::vector<int> toolsItems = {};
    int button = 0;
};

template <class Page>
std::unique_ptr<MainWindowPage> MakePage(PageHost& host)
{
    return std::make_unique<Page>(host);
}

// The list (gui/app/PageList.cpp): every page and tool of the main window.
std::vector<PageClass> PageClasses();

// The main window's pages, one object a line of the list, made in its
// order, found by page id and tools entry. A part the pages share outlives
// them.
class PageSet {
public:
    void Make(PageHost& host, const std::vector<PageClass>& classes);
    // The pages gone, then the parts they shared.
    void Clear();

    // Null for a page or entry no line names.
    MainWindowPage* PageFor(int page) const;
    MainWindowPage* ToolFor(int item) const;
    // A page's own posted message: offered to the current page first, then
    // to the others in the list's order; false when none takes it.
    bool Deliver(int currentPage, UINT message, WPARAM wParam, LPARAM lParam) const;
    const std::vector<std::unique_ptr<MainWindowPage>>& All() const { return m_pages; }
    // The object of a page class (tests).
    template <class Page>
    Page* Find() const
    {
        for (const auto& page : m_pages)
            if (auto* found = dynamic_cast<Page*>(page.get()))
                return found;
        return nullptr;
    }
    std::shared_ptr<void>& SharedSlot(std::type_index part) { return m_shared[part]; }

private:
    std::map<std::type_index, std::shared_ptr<void>> m_shared;  // first: destroyed after the pages
    std::vector<std::unique_ptr<MainWindowPage>> m_pages;
    std::map<int, MainWindowPage*> m_byPage;
    std::map<int, MainWindowPage*> m_byTool;
};
