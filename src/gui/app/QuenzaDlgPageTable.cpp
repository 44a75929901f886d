#include "core/app/MainPages.h"
#include "core/base/LogFile.h"
#include "core/base/UserPrompt.h"
#include "gui/app/QuenzaDlg.h"

#include <QComboBox>

// The pages and the tools list. A page's help, copy, view and the names of
// its commands are its row of MainPages(); what it does is the object its
// line of PageClasses() makes. A page no line names does nothing on a drive
// or disc change, and its buttons answer by name that they are not
// available yet; so does a tools entry no line names.
void CQuenzaDlg::BindPagesAndTools()
{
    const std::vector<PageClass> classes = PageClasses();
    m_Pages.Make(*this, classes);
    // A page's command button replaces the answer that it is not available;
    // the button of a line without a page (a tool's window) runs its Show.
    for (std::size_t i = 0; i < classes.size(); ++i) {
        const PageClass& line = classes[i];
        if (line.button != 0 && !line.pages.empty())
            MapCommand(line.button, [this, page = line.pages.front()] { OpenPage(page); });
        else if (line.button != 0)
            MapCommand(line.button, [tool = m_Pages.All()[i].get()] { tool->Show(kNoPage); });
    }
}

void CQuenzaDlg::OpenPage(int page)
{
    if (MainWindowPage* handler = PageFor(page))
        handler->Show(page);
}

void CQuenzaDlg::ShowPage(int page)
{
    m_nCurrentPage = page;
    switch (PageOf(page).view) {
    case PageView::DriveInfo: ShowDriveInfoPage(true); break;
    case PageView::Output: ShowListOutput(true); break;
    case PageView::OutputWithProgress: ShowInfoDisplayWithProgress(true); break;
    case PageView::Tool:
    case PageView::Later: break;
    }
}

void CQuenzaDlg::OnStart()
{
    RunPageCommand(&PageRow::start, &MainWindowPage::Start);
}

void CQuenzaDlg::OnStop()
{
    RunPageCommand(&PageRow::stop, &MainWindowPage::Stop);
}

void CQuenzaDlg::OnSave()
{
    RunPageCommand(&PageRow::save, &MainWindowPage::Save);
}

void CQuenzaDlg::RunPageCommand(const char* PageRow::*name, bool (MainWindowPage::*command)(int))
{
    const PageRow& page = PageWithCommand(m_nCurrentPage, name);
    MainWindowPage* handler = PageFor(page.id);
    if (!handler || !(handler->*command)(page.id))
        NotAvailableYet(page.*name);
}

void CQuenzaDlg::OnRefresh()
{
    if (MainWindowPage* page = PageFor(m_nCurrentPage))
        page->Refresh(m_nCurrentPage);
}

// ---- Tools & Utilities ----

void CQuenzaDlg::OnSelchangeToolscombo()
{
    const int item = m_cbTools->currentIndex();
    LogEntryF("Tools & Utilities item selected, item number %d", item);
    if (item == 0)
        return;
    UpdateData(false);
    LogEntry("Calling DoReadStruct()");
    DoReadstruct();
}

int CQuenzaDlg::DoReadstruct()
{
    LogEntry("Start DoReadstruct() function");
    ShowStatus("Ready");
    const int item = m_cbTools->currentIndex();
    const ToolsItemRow* row = FindToolsItem(item);
    if (row) {
        if (item == kToolsHeading)
            AppMessageBox("You chose a heading,  please choose another item");
        else if (MainWindowPage* tool = m_Pages.ToolFor(item))
            tool->ToolsItemChosen(item);
        else
            NotAvailableYet(row->name);
    }
    if (!row || row->logsEnd)
        LogEntry("End DoReadstruct()");
    return item == kToolsBurnInfo ? 3 : 0;
}
