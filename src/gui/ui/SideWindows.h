#pragma once

#include <functional>
#include <utility>
#include <vector>

class PageHost;

// The tool windows that slide out beside the main window's right edge (the
// sector viewer's address window, the custom command panel) take the same
// place: before one comes out, the others slide back. A part the pages
// share (PageHost::Shared).
class SideWindows {
public:
    explicit SideWindows(PageHost& /*host*/) {}

    // `slideBack` slides the owner's window back when it is out.
    void Add(const void* owner, std::function<void()> slideBack)
    {
        m_windows.emplace_back(owner, std::move(slideBack));
    }
    void Remove(const void* owner)
    {
        std::erase_if(m_windows, [owner](const auto& window) { return window.first == owner; });
    }
    // Before the owner's window comes out.
    void SlideBackAllBut(const void* owner) const
    {
        for (const auto& [other, slideBack] : m_windows)
            if (other != owner)
                slideBack();
    }

private:
    std::vector<std::pair<const void*, std::function<void()>>> m_windows;
};
