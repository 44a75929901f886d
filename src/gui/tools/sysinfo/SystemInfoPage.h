#pragma once

#include "gui/app/MainWindowPage.h"
#include "platform/sysinfo/SystemSources.h"

#include <atomic>
#include <memory>

class PageHost;

// The system information page (page 15, its command button): the report
// about the computer, built on the tools' worker from the machine's sources
// and the window's facts, then shown whole in the output box. Its first
// lines say that it holds the host name and the network addresses. Built
// again when another drive is chosen on the page; refused while a test runs.
class SystemInfoPage : public MainWindowPage {
public:
    explicit SystemInfoPage(PageHost& host) : m_host(host) {}

    void OnSystemInformation();

    void Show(int page) override;
    void DriveSelected(int page) override;
    // The window ends: a report being built stops.
    void CloseWindows() override;

    // Where the report's facts come from (tests give a fixture machine).
    SystemSources m_Sources;

private:
    PageHost& m_host;
    bool m_bBuilding = false;
    std::shared_ptr<std::atomic<bool>> m_stop = std::make_shared<std::atomic<bool>>(false);
};
