#pragma once

#include "gui/app/MainWindowPage.h"

class PageHost;

// The pages of the tools list's reports in the output box (pages 2, 3, 5
// and 6): a disc coming runs the chosen entry again, a disc going empties
// the report, another drive reads the burn information again.
class ReportPages : public MainWindowPage {
public:
    explicit ReportPages(PageHost& host) : m_host(host) {}

    void DriveSelected(int page) override;
    void DiscArrived(int page) override;
    void DiscRemoved(int page) override;

private:
    PageHost& m_host;
};
