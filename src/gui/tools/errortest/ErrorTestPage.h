#pragma once

#include "gui/tools/testpage/TestPage.h"

#include <memory>
#include <string>

class EventWatch;

// The read error test page (page 8): the block map on the main graph, the
// bad and suspect counts, the list of unreadable blocks, Start, Stop and
// Save; a click on the map names the blocks of its cell. The test runs on
// the tools' worker (core/tools/errortest); what it tells comes back through
// the host's events and WM_ERRORTESTENDED.
class ErrorTestPage : public TestPage {
public:
    explicit ErrorTestPage(PageHost& host);
    ~ErrorTestPage() override;

    void OnErrorTestPage();
    void ShowErrorTestPage(bool show);
    void SetupErrorTestPage(bool clearMap);
    // The three result labels the error page renames, and their names elsewhere.
    void NameErrorPageLabels(bool errorPage);
    void StartErrorTest();
    void StopErrorTest();
    void EndErrorTestUi();

    void DriveSelected(int page) override;
    void DiscArrived(int page) override;
    void DiscRemoved(int page) override;
    bool Start(int page) override;
    bool Stop(int page) override;
    bool Save(int page) override;
    void Show(int page) override;
    void Hide() override;
    bool OnPageMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    std::string m_strErrorTestStopped;  // how far a stopped test got, for its list file

private:
    // A click on the window while the page is current and no test runs.
    void OnMapClick(int x, int y);

    std::unique_ptr<EventWatch> m_clicks;
};
