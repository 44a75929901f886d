#include "core/app/TestPageControls.h"
#include "core/base/AppProfile.h"
#include "core/base/LogFile.h"
#include "core/base/MessageIds.h"
#include "gui/app/QuenzaDlg.h"
#include "gui/graphs/GraphStatic.h"
#include "gui/tools/settings/Settings.h"
#include "gui/ui/AboutDlg.h"
#include "gui/ui/WindowSnapshot.h"

#include <QEvent>

void CQuenzaDlg::MapPresenceCommands()
{
    m_Presence.SetCommandTarget([this](int command) { SendCommand(command); });
    MapCommand(ID_SHOW_WINDOW, [this] { m_Presence.OnShowWindowCommand(); });
    MapCommand(ID_CHECK_UPDATE, [this] { m_Updates.Checkprogupdate(); });
    MapCommand(IDC_SNAPSHOT, [this] { OnSnapshot(); });
    MapCommand(IDC_ABOUT, [this] { OnAbout(); });
}

void CQuenzaDlg::OnSettings()
{
    if (RefuseWhileTesting(true, false))
        return;
    LogEntry("Settings option clicked");
    CSettings settings(this);
    if (settings.DoModal() != IDOK)
        return;
    LogEntry("Returned from Settings, checking changes.");
    ApplySettings();
}

void CQuenzaDlg::ApplySettings()
{
    auto* graph = Item<CGraphStatic>(testpage::kGraph);  // made with the first test page
    if (graph)
        graph->update();
    m_Look.LoadBannerSkin();
    m_Look.InitCustomButtons();
    m_Look.RefreshButtonBackgrounds();
    m_Look.ApplyColours(m_MatrixStatus, graph);
    ApplyOutputColours();
    m_Presence.SetAlwaysOnTop(GetAppProfileInt("AlwaysOnTop", 0) == 1);
    m_Presence.ApplyTranslucency();
    m_Presence.ApplyIconSetting();
    if (m_Presence.m_bHidden == 0)
        show();
}

void CQuenzaDlg::OnAbout()
{
    LogEntry("Open About dialog command received");
    CAboutDlg about(this);
    if (about.DoModal() != CAboutDlg::kCheckForUpdate)
        return;
    LogEntry("Check for program update command received");
    m_Updates.CheckForUpdate();
}

void CQuenzaDlg::OnSnapshot()
{
    SaveWindowSnapshot(*this);
}

void CQuenzaDlg::changeEvent(QEvent* event)
{
    CDialog::changeEvent(event);
    // The title bar's minimise button hides the window in the tray, as the
    // window's own minimise command does (once the minimising is done).
    if (event->type() != QEvent::WindowStateChange || !isMinimized())
        return;
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (isMinimized() && m_Presence.m_bTrayIcon == 1 && m_Presence.m_bHidden == 0
                && GetAppProfileInt("MinimizeToStatusArea", 1) == 1)
                m_Presence.HideToStatusArea();
        },
        Qt::QueuedConnection);
}
