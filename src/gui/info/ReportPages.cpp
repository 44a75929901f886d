#include "gui/info/ReportPages.h"

#include "core/app/MainPages.h"
#include "gui/app/PageHost.h"

void ReportPages::DiscArrived(int page)
{
    if (page != kPageReport3)
        m_host.DoReadstruct();
}

void ReportPages::DiscRemoved(int)
{
    m_host.Core().m_Report.ClearDisplay();
}
