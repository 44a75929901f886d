#pragma once

#include "gui/app/MainWindowPage.h"
#include "gui/app/PageHost.h"
#include "gui/tools/testpage/TestPageSurface.h"

#include <vector>

// The base of the test pages (speed, error, ISO): their host and the
// controls they share. Each keeps its own choices and state.
class TestPage : public MainWindowPage {
public:
    // The shared controls, the page buttons and the progress bars go with the page.
    void Hide() override;

protected:
    explicit TestPage(PageHost& host) : m_host(host), m_dlg(host.Window()), m_surface(host.Shared<TestPageSurface>()) {}

    // The page's frame shown: every other view hidden, the lists shown, the
    // result rows where the page stands them, its controls and the page
    // buttons with the second progress bar shown.
    void ShowTestPageFrame(const std::vector<int>& controls, int labelX, int fieldX, int fieldWidth);
    // Its controls, the page buttons and the second progress bar hidden.
    void HideTestPageFrame(const std::vector<int>& controls);
    void ResetTestResults() { m_surface.ResetTestResults(); }
    void ShowPageMediaType() { m_surface.ShowPageMediaType(); }

    PageHost& m_host;
    CDialog& m_dlg;
    TestPageSurface& m_surface;
};
