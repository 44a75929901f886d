#pragma once

#include "gui/app/MainWindowPage.h"

class CDialog;
class PageHost;

// The media information report (page 1, its button), the complete media
// code (page 4) and the burner information (on page 2), each from its tools
// entry too. The reports run as drive work and show in their own window
// (CMediaInfo).
class MediaInfoPage : public MainWindowPage {
public:
    explicit MediaInfoPage(PageHost& host);

    void OnMediaInfo();
    void GeneralInfo();
    int ShowCompleteMediaCode();
    void ShowBurnerInfo();
    // The report emptied, its title kept for the next one.
    void ClearMediaInfoReport();

    void DriveSelected(int page) override;
    void DiscArrived(int page) override;
    void DiscRemoved(int page) override;
    void Refresh(int page) override;
    void Show(int page) override;
    void ToolsItemChosen(int item) override;

private:
    PageHost& m_host;
    CDialog& m_dlg;
    // A report window is open or being filled: a disc arriving meanwhile starts no second one.
    bool m_bReportOpen = false;
};
