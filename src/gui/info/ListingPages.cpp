#include "gui/info/ListingPages.h"

#include "core/app/MainPages.h"
#include "gui/app/PageHost.h"

void ListingPages::ListDriveFeaturesProfiles()
{
    m_host.ShowPage(kPageFeatures);
    MainDialogCore& core = m_host.Core();
    m_host.RunDriveWork([&core] { core.ListDriveFeaturesProfiles(); });
}

void ListingPages::ListDriveModePages()
{
    m_host.ShowPage(kPageModePages);
    MainDialogCore& core = m_host.Core();
    m_host.RunDriveWork([&core] { core.ListDriveModePages(); });
}

void ListingPages::DriveSelected(int page)
{
    if (page == kPageFeatures)
        ListDriveFeaturesProfiles();
    else
        ListDriveModePages();
}

void ListingPages::DiscArrived(int page)
{
    // The listing marks the disc's profile current.
    if (page == kPageFeatures)
        ListDriveFeaturesProfiles();
}

void ListingPages::DiscRemoved(int page)
{
    DiscArrived(page);
}

void ListingPages::ToolsItemChosen(int item)
{
    if (item == kToolsFeatures)
        ListDriveFeaturesProfiles();
    else
        ListDriveModePages();
}
