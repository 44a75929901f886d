#pragma once

#include "gui/tools/testpage/TestPage.h"

// The ISO page (page 11, and 12 while an image is created): the image,
// VIDEO_TS and folder compares (Start, captioned "Compare") and ISO creation
// (Save, captioned "Create"). The work runs on the tools' worker; what it
// tells comes back through the host's events and the posted end messages.
class IsoPage : public TestPage {
public:
    explicit IsoPage(PageHost& host);

    void OnISOPage();
    void ShowISOPage(bool show);
    void SetupISOPage(bool clearMap);
    void StartCompare();
    void StartCreateIso();
    void OnCompareIsoRadio();
    void OnCompareVideoRadio();
    void EndCompareUi();
    void EndCreateIsoUi();

    void DriveSelected(int page) override;
    void DiscArrived(int page) override;
    void DiscRemoved(int page) override;
    bool Start(int page) override;
    bool Stop(int page) override;
    bool Save(int page) override;
    void Show(int page) override;
    bool OnPageMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    int m_nCompareSource = 0;  // "ISO", "DVD-Video", "Folder": 0, 1, 2
};
