#pragma once

#include "core/base/ColorRef.h"

#include <map>
#include <string>
#include <vector>

#include <QRect>

class CDialog;
class CGraphStatic;
class PageHost;
class TestResultsList;

// A colour of the program's profile (the graphs' colours).
COLORREF ProfileColour(const char* entry, COLORREF fallback);

// The controls the test pages (speed, error, ISO) share: the result fields
// with their labels, the results list, the group box with the page's title,
// the main graph and the ISO page's source radios. Workers change them only
// through the host's events; the window shows the changes. The disc's type
// and media ID are the drive information page's fields, moved here while a
// test page shows them.
class TestPageSurface {
public:
    explicit TestPageSurface(PageHost& host);
    ~TestPageSurface();
    TestPageSurface(const TestPageSurface&) = delete;
    TestPageSurface& operator=(const TestPageSurface&) = delete;

    CGraphStatic& Graph() const { return *m_Graph; }
    // The result rows' labels and fields, as a page stands them.
    void PlaceResultRows(int labelX, int fieldX, int fieldWidth);
    void ShowTestPageControls(const std::vector<int>& ids, bool show);
    // Every shared control hidden, the disc's fields back on the drive information page.
    void HideAll();
    // The result fields emptied, and the loaded disc's type in the Media Type field.
    void ResetTestResults();
    void ShowPageMediaType();
    void ApplySpeedGraphColours();
    // Save on the test pages: the results list as the read-error list file;
    // stoppedAt: how far a stopped error test got.
    void SaveReadErrorList(const std::string& stoppedAt);

private:
    PageHost& m_host;
    CDialog& m_dlg;
    CGraphStatic* m_Graph = nullptr;
    TestResultsList* m_lbResults = nullptr;
    int m_nResultFieldX = 612;  // where the result fields stand on the page shown
    int m_nResultFieldWidth = 118;
    int m_nLabelX = 507;  // where their labels stand
    std::map<int, QRect> m_driveInfoPlaces;  // the shared fields' places on the drive information page
};
