#include "gui/app/PageSet.h"

void PageSet::Make(PageHost& host, const std::vector<PageClass>& classes)
{
    for (const PageClass& line : classes) {
        MainWindowPage& page = *m_pages.emplace_back(line.make(host));
        for (int id : line.pages)
            m_byPage[id] = &page;
        for (int item : line.toolsItems)
            m_byTool[item] = &page;
    }
}

void PageSet::Clear()
{
    m_byPage.clear();
    m_byTool.clear();
    m_pages.clear();
    m_shared.clear();
}

MainWindowPage* PageSet::PageFor(int page) const
{
    const auto it = m_byPage.find(page);
    return it == m_byPage.end() ? nullptr : it->second;
}

MainWindowPage* PageSet::ToolFor(int item) const
{
    const auto it = m_byTool.find(item);
    return it == m_byTool.end() ? nullptr : it->second;
}

bool PageSet::Deliver(int currentPage, UINT message, WPARAM wParam, LPARAM lParam) const
{
    MainWindowPage* current = PageFor(currentPage);
    if (current && current->OnPageMessage(message, wParam, lParam))
        return true;
    for (const auto& page : m_pages)
        if (page.get() != current && page->OnPageMessage(message, wParam, lParam))
            return true;
    return false;
}
