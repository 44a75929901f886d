#include "gui/tools/disk/DiskToolsPage.h"

#include "core/app/MainPages.h"
#include "core/base/UserPrompt.h"
#include "core/drive/Device.h"
#include "gui/app/PageHost.h"
#include "gui/tools/flashtest/FlashMemoryTest.h"
#include "gui/tools/hddtest/HddErrorTest.h"
#include "gui/tools/sectoredit/HddSectorReadWrite.h"
#include "gui/ui/Dialog.h"
#include "gui/ui/ModelessWindow.h"
#include "gui/ui/WaitBox.h"

#include <QApplication>

#include <string>

DiskToolsPage::DiskToolsPage(PageHost& host) : m_host(host)
{
}

void DiskToolsPage::Show(int)
{
    ShowHddErrorTest();
}

void DiskToolsPage::ToolsItemChosen(int item)
{
    if (item == kToolsFlashTest)
        ShowFlashDriveTest();
    else
        ShowSectorEditor();
}

void DiskToolsPage::ShowHddErrorTest()
{
    Open(Tool::HddTest);
}

void DiskToolsPage::ShowFlashDriveTest()
{
    Open(Tool::FlashTest);
}

void DiskToolsPage::ShowSectorEditor()
{
    Open(Tool::SectorEditor);
}

void DiskToolsPage::Open(Tool tool)
{
    // Listing the disks closes the optical drive's channel: never under a test.
    if (m_bWindowOpen || m_host.RefuseWhileTesting(true) || m_host.Core().m_Drives.coordinator.InUse())
        return;
    m_host.WhenDriveIdle([this, tool] {
        if (!m_bWindowOpen && !m_host.Core().m_Drives.coordinator.InUse())
            RunWindow(tool);
    });
}

void DiskToolsPage::FillHDDComboList()
{
    DiskList& disks = m_host.Core().m_Drives.disks;
    ModelessWindow<CWaitBox> waitBox;
    CDialog& window = m_host.Window();
    disks.hooks.showWaitBox = [&waitBox, &window](const std::string& text) {
        auto* box = new CWaitBox(&window);
        box->SetModeless(true);
        box->Create();
        box->SetText(text);
        box->adjustSize();
        box->move(window.geometry().center() - box->rect().center());
        waitBox.Adopt(box);
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    };
    disks.hooks.hideWaitBox = [&waitBox] { waitBox.Close(); };
    disks.FillHDDComboList();
    disks.hooks = {};
}

void DiskToolsPage::RunWindow(Tool tool)
{
    FillHDDComboList();
    const DriveContext& drives = m_host.Core().m_Drives;
    std::vector<CDevice*> offered;
    if (tool == Tool::FlashTest) {
        std::string message;
        offered = drives.disks.FlashTestDrives(message);
        if (offered.empty()) {
            AppMessageBox(message);
            return;
        }
    } else {
        offered = drives.disks.HddTestDrives();
    }
    // The window keeps its own records: the lists may be rebuilt while it is open.
    std::vector<std::unique_ptr<CDevice>> records;
    DiskToolHost host;
    host.access = m_Access;
    host.access.devRoot = drives.Sources().devRoot;
    host.access.sysBlockRoot = drives.Sources().sysBlockRoot;
    for (const CDevice* disk : offered) {
        records.push_back(std::make_unique<CDevice>(*disk));
        host.drives.push_back(records.back().get());
    }
    m_bWindowOpen = true;
    CDialog* parent = &m_host.Window();
    switch (tool) {
    case Tool::HddTest: CHddErrorTest(std::move(host), parent).DoModal(); break;
    case Tool::FlashTest: CFlashMemoryTest(std::move(host), parent).DoModal(); break;
    case Tool::SectorEditor: CHddSectorReadWrite(std::move(host), parent).DoModal(); break;
    }
    m_bWindowOpen = false;
}
