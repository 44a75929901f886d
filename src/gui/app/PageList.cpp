#include "core/app/MainControls.h"
#include "core/app/MainPages.h"
#include "gui/app/PageSet.h"
#include "gui/info/DriveInformationPage.h"
#include "gui/info/ListingPages.h"
#include "gui/info/MediaInfoPage.h"
#include "gui/info/ReportPages.h"
#include "gui/info/booktype/BookTypePage.h"
#include "gui/tools/disk/DiskToolsPage.h"
#include "gui/tools/erase/ErasePage.h"
#include "gui/tools/errortest/ErrorTestPage.h"
#include "gui/tools/hash/HashPages.h"
#include "gui/tools/iso/IsoPage.h"
#include "gui/tools/sectorview/SectorViewPage.h"
#include "gui/tools/speed/SpeedTestPage.h"
#include "gui/tools/sysinfo/SystemInfoPage.h"
#include "gui/tools/usercommand/UserCommandPage.h"

// Every page and tool of the main window: its class, its pages (rows of
// MainPages()), its entries of the tools list (rows of ToolsItems()) and its
// command button. A page or entry no line names does nothing on a drive or
// disc change, and its commands answer that they are not available.
// The objects are made in this order (the test pages' shared controls with
// the first of them) and take a message not their current page's in it.
std::vector<PageClass> PageClasses()
{
    return {
        {MakePage<DriveInformationPage>, {kPageDriveInfo}, {}, IDC_DRIVEINFO},
        {MakePage<MediaInfoPage>, {kPageMediaInfo, kPageMediaCode}, {kToolsBurnInfo, kToolsMediaCode}, IDC_MEDIAINFO},
        {MakePage<ReportPages>, {kPageInfoDisplay, kPageReport3, kPageReport5, kPageReport6}},
        {MakePage<ListingPages>, {kPageModePages, kPageFeatures}, {kToolsFeatures, kToolsModePages}},
        {MakePage<SpeedTestPage>, {kPageSpeedTest}, {}, IDC_SPEEDTEST},
        {MakePage<ErrorTestPage>, {kPageErrorTest}, {}, IDC_ERRORTEST},
        {MakePage<IsoPage>, {kPageCompare, kPageCreateIso}, {}, IDC_COMPARE},
        {MakePage<CHashPages>,
         {kPageDiscHash, kPageFileHash},
         {kToolsDiscMd5, kToolsFileMd5, kToolsDiscSha1, kToolsFileSha1, kToolsDiscSha2, kToolsFileSha2}},
        {MakePage<SectorViewPage>, {}, {kToolsSectorViewer}},
        {MakePage<SystemInfoPage>, {kPageSystemInfo}, {}, IDC_SYSINFO},
        {MakePage<DiskToolsPage>, {}, {kToolsFlashTest, kToolsSectorEditor}, IDC_HDDTEST},
        {MakePage<ErasePage>, {}, {kToolsDcErase}, IDC_ERASE},
        {MakePage<BookTypePage>, {}, {}, IDC_BOOKTYPE},
        {MakePage<UserCommandPage>, {}, {kToolsCustomCommand}},
    };
}
