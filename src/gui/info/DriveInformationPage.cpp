#include "gui/info/DriveInformationPage.h"

#include "core/app/MainLayout.h"
#include "core/app/MainPages.h"
#include "core/info/DriveInfoPage.h"
#include "gui/app/PageHost.h"
#include "gui/ui/ButtonST.h"
#include "gui/ui/Dialog.h"
#include "gui/ui/FittingText.h"
#include "gui/ui/Labels.h"
#include "gui/ui/QtConvert.h"

#include <QLabel>
#include <QLineEdit>
#include <QPainter>

#include <memory>
#include <tuple>

namespace {

// The capability boxes: three columns of 13-pixel rows under their titles.
constexpr int kBoxWidth = 145;
constexpr int kBoxHeight = 13;
constexpr int kFirstColumn = 29;
constexpr int kSecondColumn = 184;
constexpr int kGeneralColumn = 340;
constexpr int kReadTitleY = 72;
constexpr int kWriteTitleY = 274;
constexpr int kTitleHeight = 16;
constexpr int kReadRowsPerColumn = 14;  // 27 read boxes
constexpr int kWriteRowsPerColumn = 13;  // 25 write boxes and HD-BURN RW
// The text fields: labels right-aligned before the values, one row every 20 pixels.
constexpr int kLabelX = 462;
constexpr int kLabelWidth = 150;
constexpr int kFieldX = 615;
constexpr int kFieldWidth = 116;
constexpr int kMediaLabelWidth = 88;
constexpr int kFieldHeight = 18;
constexpr int kFirstFieldY = 109;
constexpr int kFieldPitch = 20;

// A capability box: its LED (the look's, in its group's colour), then its
// caption from the left.
class CapabilityIndicator : public CButtonST {
public:
    CapabilityIndicator(const QString& caption, QWidget* parent) : CButtonST(caption, parent) {}

protected:
    void PaintCaption(QPainter& painter, const QRect& caption, const ButtonDrawState&) override
    {
        painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
        painter.drawText(caption.adjusted(3, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, text());
    }
};

}  // namespace

DriveInformationPage::DriveInformationPage(PageHost& host) : m_host(host), m_dlg(host.Window())
{
    CreateControls();
}

QFont DriveInformationPage::IndicatorFont()
{
    QFont font("Arial");
    font.setPixelSize(11);
    return font;
}

void DriveInformationPage::CreateControls()
{
    QWidget* parent = &m_dlg;
    int readRow = 0;
    int writeRow = 0;
    int generalRow = 0;
    for (const CapabilityBox& box : CapabilityBoxes()) {
        auto* button = new CapabilityIndicator(box.caption, parent);
        button->setCheckable(true);
        button->SetFlatStyle(true);
        button->SetDrawBorder(false);
        button->SetAlignment(ST_ALIGN_HORIZ);
        button->setFont(IndicatorFont());
        button->setFocusPolicy(Qt::NoFocus);
        button->setAttribute(Qt::WA_TransparentForMouseEvents);  // it shows, it does not take clicks
        // Read and write boxes fill two columns under their titles; the
        // unused HD-BURN RW box closes the write group, the others the general one.
        const bool read = box.group == CapabilityGroup::Read;
        const bool write = box.group == CapabilityGroup::Write || box.id == IDC_WRITE_HDBURN_RW;
        int x = kGeneralColumn;
        int y = kReadTitleY + kTitleHeight + generalRow * kBoxHeight;
        if (read || write) {
            int& columnRow = read ? readRow : writeRow;
            const int rows = read ? kReadRowsPerColumn : kWriteRowsPerColumn;
            x = columnRow < rows ? kFirstColumn : kSecondColumn;
            y = (read ? kReadTitleY : kWriteTitleY) + kTitleHeight + (columnRow % rows) * kBoxHeight;
            ++columnRow;
        } else {
            ++generalRow;
        }
        button->setGeometry(x, y, kBoxWidth, kBoxHeight);
        m_dlg.BindControl(box.id, button);
        m_controls.push_back(button);
    }
    QFont titleFont("Arial");
    titleFont.setPixelSize(14);
    titleFont.setBold(true);
    for (auto [title, x, y] : {std::tuple{"Drive Supported Read Features", kFirstColumn, kReadTitleY},
                               {"Drive Supported Write Features", kFirstColumn, kWriteTitleY},
                               {"Drive General Features", kGeneralColumn, kReadTitleY}}) {
        QLabel* label = AddLabel(parent, title, QRect(x, y, 300, kTitleHeight));
        label->setFont(titleFont);
        m_controls.push_back(label);
    }

    int fieldRow = 0;
    for (const DriveInfoField& field : DriveInfoFields()) {
        auto* edit = new QLineEdit(parent);
        edit->setReadOnly(true);
        if (field.id == IDC_MODEL) {
            edit->setGeometry(ToQRect(kModelField));
            edit->setFrame(false);
            edit->setAlignment(Qt::AlignCenter);
        } else {
            const int y = kFirstFieldY + fieldRow++ * kFieldPitch;
            m_controls.push_back(
                AddLabel(parent, field.label, QRect(kLabelX, y, kLabelWidth - 6, kFieldHeight), Qt::AlignRight));
            edit->setGeometry(kFieldX, y, kFieldWidth, kFieldHeight);
        }
        m_dlg.BindControl(field.id, edit);
        m_controls.push_back(edit);
    }
    // The disc: its type and media ID, below the drive's own fields, their
    // labels short and their fields wide (a DVD-RAM's media ID is long).
    const int mediaY = kFirstFieldY + (fieldRow + 1) * kFieldPitch;
    const int mediaFieldX = kLabelX + kMediaLabelWidth + 4;
    for (auto [id, label, y] :
         {std::tuple{IDC_MEDIATYPE, "Media Type", mediaY}, {IDC_MEDIAID, "Media ID", mediaY + kFieldPitch}}) {
        auto* edit = new FittingField(parent);
        edit->setGeometry(mediaFieldX, y, kFieldX + kFieldWidth - mediaFieldX, kFieldHeight);
        m_dlg.BindControl(id, edit);
        m_controls.push_back(
            AddLabel(parent, label, QRect(kLabelX, y, kMediaLabelWidth, kFieldHeight), Qt::AlignRight));
        m_controls.push_back(edit);
    }
}

void DriveInformationPage::ShowControls(bool show)
{
    for (QWidget* widget : m_controls)
        widget->setVisible(show);
}

bool DriveInformationPage::ControlsInView() const
{
    return !m_controls.empty() && m_controls.front()->isVisibleTo(&m_dlg);
}

void DriveInformationPage::Show(int)
{
    OnDriveinfo();
}

void DriveInformationPage::DriveSelected(int page)
{
    if (page == kPageDriveInfo) {
        OnDriveinfo();
        return;
    }
    // Another page shows over this one's fields (the media pages): they
    // become the new drive's, and that page stays current.
    ClearDriveInfoFields();
    MainDialogCore& core = m_host.Core();
    auto facts = std::make_shared<DriveInfoFacts>();
    m_host.RunDriveWork([&core, facts] { *facts = core.InterrogateDriveInfo(); },
                        [this, facts] {
                            m_host.ShowNotice(facts->notice);
                            ShowDriveInfoFields(*facts);
                        });
}

void DriveInformationPage::DiscArrived(int)
{
    // The status line names the disc in the drive.
    MainDialogCore& core = m_host.Core();
    m_host.RunDriveWork([&core] { core.ShowMediaStatus(); });
}

void DriveInformationPage::DiscRemoved(int page)
{
    DiscArrived(page);
}

void DriveInformationPage::Refresh(int)
{
    m_host.WhenDriveIdle([this] {
        if (CDevice* device = m_host.CurrentDevice()) {
            device->m_bDriveInfoRead = 0;
            OnDriveinfo();
        }
    });
}

void DriveInformationPage::OnDriveinfo()
{
    m_host.SetCurrentPage(kPageDriveInfo);
    if (m_host.RefuseWhileTesting(true))
        return;
    ClearDriveInfoFields();
    MainDialogCore& core = m_host.Core();
    auto facts = std::make_shared<DriveInfoFacts>();
    m_host.RunDriveWork([&core, facts] { *facts = core.InterrogateDriveInfo(); },
                        [this, facts] { DisplayDriveInfo(*facts); });
}

void DriveInformationPage::ClearDriveInfoFields()
{
    // The record's flags are cleared by the interrogation that follows, on
    // the drive thread.
    for (const DriveInfoField& field : DriveInfoFields())
        m_host.DriveInfoText(field.id).clear();
    m_dlg.UpdateData(false);
}

void DriveInformationPage::DisplayDriveInfo(const DriveInfoFacts& facts)
{
    m_host.ShowNotice(facts.notice);
    m_host.ShowDriveInfoPage(true);
    ShowDriveInfoFields(facts);
}

void DriveInformationPage::ShowDriveInfoFields(const DriveInfoFacts& facts)
{
    for (const auto& [id, text] : facts.page.texts)
        m_host.DriveInfoText(id) = text;
    for (const auto& [id, state] : facts.page.boxes)
        if (auto* box = m_dlg.Item<CButtonST>(id)) {
            // A capability the drive did not tell is greyed out, neither lit nor dark.
            box->setEnabled(state != kUnknownBox);
            box->SetCheckState(state == 1 ? 1 : 0);
        }
    m_dlg.UpdateData(false);
}
