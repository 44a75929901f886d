#pragma once

#include "gui/app/MainWindowPage.h"

#include <QFont>

#include <vector>

class CDialog;
class QWidget;
class PageHost;
struct DriveInfoFacts;

// The drive information page (page 0, the window's first): the drive's
// fields and capability boxes, read again for another drive or on Refresh
// (also under another page that leaves them in view); a disc coming or going
// names itself in the status line.
class DriveInformationPage : public MainWindowPage {
public:
    explicit DriveInformationPage(PageHost& host);

    // The capability boxes' font (the window's own font change leaves them).
    static QFont IndicatorFont();
    // The fields, their labels and the capability boxes shown or hidden
    // (the window's drive information view).
    void ShowControls(bool show);
    bool ControlsInView() const;

    void OnDriveinfo();
    void ClearDriveInfoFields();
    void DisplayDriveInfo(const DriveInfoFacts& facts);
    // The fields and boxes filled, the page shown or not.
    void ShowDriveInfoFields(const DriveInfoFacts& facts);

    void DriveSelected(int page) override;
    void DiscArrived(int page) override;
    void DiscRemoved(int page) override;
    void Refresh(int page) override;
    void Show(int page) override;

private:
    void CreateControls();

    PageHost& m_host;
    CDialog& m_dlg;
    std::vector<QWidget*> m_controls;  // every control of the page
};
