#include "gui/info/ReportPages.h"

#include "core/app/MainPages.h"
#include "gui/app/PageHost.h"
#include "gui/ui/Dialog.h"

#include <QComboBox>

void ReportPages::DriveSelected(int page)
{
    // The burn information is read again from the new drive's disc.
    if (page == kPageInfoDisplay && m_host.ToolsEntry() == kToolsBurnInfo)
        m_host.RunToolsEntryAgain();
}

void ReportPages::DiscArrived(int page)
{
    if (page != kPageReport3)
        m_host.RunToolsEntryAgain();
}

void ReportPages::DiscRemoved(int)
{
    m_host.ClearReport();
}
