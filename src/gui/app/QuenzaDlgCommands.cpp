#include "core/base/LogFile.h"
#include "core/app/MainPages.h"
#include "core/base/UserPrompt.h"
#include "core/info/DriveInfoPage.h"
#include "gui/app/FileDialogs.h"
#include "gui/app/QuenzaDlg.h"
#include "gui/ui/AboutDlg.h"
#include "gui/ui/ButtonST.h"
#include "gui/ui/Comment.h"
#include "gui/ui/FileSizeRequest.h"
#include "gui/ui/MatrixStatic.h"
#include "gui/ui/ShellOpen.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QMouseEvent>
#include <QWindow>

void CQuenzaDlg::OnEject()
{
    if (RefuseWhileTesting(true))
        return;
    LogEntry("OnEject() - Eject/Close command received");
    RunDriveWork([this] { m_Core.m_Drives.mmc.EjectOrCloseTray(); });
}

void CQuenzaDlg::OnHelp()
{
    // "Get Help" first: the local pages or the sites it lists.
    CHelp help(this);
    if (help.DoModal() != CHelp::kLocalHelp)
        return;
    OpenHelpPage(HelpTopicForPage(m_nCurrentPage));
}

void CQuenzaDlg::OnHomePage()
{
    // The program's own pages stand for its web site.
    ShellOpen(HelpFolder() + HelpTopicForPage(-1));
}

void CQuenzaDlg::OnCopyToClipboard()
{
    LogEntry("Copy to Clipboard command received");
    QClipboard* clipboard = QGuiApplication::clipboard();
    const CopyKind copy = PageOf(m_nCurrentPage).copy;
    if (copy != CopyKind::Picture && copy != CopyKind::PictureAndFields) {
        clipboard->setText(QString::fromStdString(m_Core.ClipboardText(m_nCurrentPage)));
        return;
    }
    auto* copied = new QMimeData;
    copied->setImageData(grab().toImage());
    if (copy == CopyKind::PictureAndFields)
        copied->setText(QString::fromStdString(DriveInfoPageText(ShownDriveInfoPage())));
    clipboard->setMimeData(copied);
}

DriveInfoPage CQuenzaDlg::ShownDriveInfoPage()
{
    DriveInfoPage page;
    for (const DriveInfoField& field : DriveInfoFields())
        page.texts[field.id] = m_strInfo[field.id];
    for (const CapabilityBox& box : CapabilityBoxes()) {
        if (const auto* shown = Item<CButtonST>(box.id))
            page.boxes[box.id] = shown->isEnabled() ? shown->GetCheckState() : kUnknownBox;
    }
    return page;
}

void CQuenzaDlg::OnSaveRawData()
{
    if (m_DriveJobs.Working()) {  // a sector read may still fill the buffer
        WhenDriveIdle([this] { OnSaveRawData(); });
        return;
    }
    switch (PageOf(m_nCurrentPage).rawData) {
    case RawData::MediaCode: AppMessageBox("To save Complete Media Code use Clipboard or Snapshot"); return;
    case RawData::None: AppMessageBox("Error.  There is no hexadecimal data to save"); return;
    case RawData::Bytes: break;
    }
    const auto choice = ShowSaveFileDialog(this, "Choose a FileName to save as", "Bin Files (*.bin)",
                                           "Last Bin Save Directory", "bin", 1);
    if (!choice) {
        AppMessageBox("Error opening save file");
        return;
    }
    if (!ConfirmReplace(choice->path))
        return;
    CFileSizeRequest sizeRequest(this);
    if (sizeRequest.DoModal() != IDOK)
        return;  // the size was not given: nothing is written
    std::string error;
    if (!m_Core.SaveDataBuffer(choice->path, sizeRequest.m_dwSize, error)) {
        LogEntry("OnSaveRawData() - " + error);
        AppMessageBox("Error opening file for write");
        return;
    }
    AppMessageBox("File write successful");
}

void CQuenzaDlg::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        CDialog::mousePressEvent(event);
        return;
    }
    // A free spot of the window drags it (a page may watch the click too).
    if (windowHandle())
        windowHandle()->startSystemMove();
    CDialog::mousePressEvent(event);
}

void CQuenzaDlg::OnEditStatusComment()
{
    if (const std::optional<std::string> comment = AskComment(this, m_MatrixStatus->GetText()))
        ShowStatus(*comment);
}

void CQuenzaDlg::MapCommands()
{
    MapCommand(IDC_EJECT, [this] { OnEject(); });
    MapCommand(IDC_HELP, [this] { OnHelp(); });
    MapCommand(IDC_HOMEPAGE, [this] { OnHomePage(); });
    MapCommand(IDC_COPY, [this] { OnCopyToClipboard(); });
    MapCommand(IDC_SAVERAW, [this] { OnSaveRawData(); });
    MapCommand(IDC_REFRESH, [this] { OnRefresh(); });
    MapCommand(IDC_START, [this] { OnStart(); });
    MapCommand(IDC_STOP, [this] { OnStop(); });
    MapCommand(IDC_SAVE, [this] { OnSave(); });
    MapCommand(IDC_SETTINGS, [this] { OnSettings(); });
    MapCommand(ID_SETTINGS_MENU, [this] { OnSettings(); });
    MapCommand(ID_EXIT_PROGRAM, [this] { OnExitProgram(); });
    MapCommand(IDC_PIPO, [this] { OnPiPoScan(); });
    MapCommand(IDC_GRAPHVIEWER, [this] { OnGraphFileViewer(); });
    MapNotify(IDC_DEVICES, Notify::SelChange, [this] { OnSelchangeDevicescombo(); });
    MapNotify(IDC_TOOLS, Notify::SelChange, [this] { OnSelchangeToolscombo(); });
    MapNotify(IDC_STATUS, Notify::DoubleClick, [this] { OnEditStatusComment(); });
}
