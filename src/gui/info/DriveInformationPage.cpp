#include "gui/info/DriveInformationPage.h"

#include "core/app/MainPages.h"
#include "core/info/DriveInfoPage.h"
#include "gui/app/PageHost.h"
#include "gui/ui/ButtonST.h"
#include "gui/ui/Dialog.h"

#include <memory>

DriveInformationPage::DriveInformationPage(PageHost& host) : m_host(host), m_dlg(host.Window())
{
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
        if (CDevice* device = m_host.Core().m_Drives.list.m_pCurrentDevice) {
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
