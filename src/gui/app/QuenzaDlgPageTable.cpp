#include "core/base/BusyFlags.h"
#include "core/base/Format.h"
#include "core/app/MainPages.h"
#include "core/base/UserPrompt.h"
#include "gui/app/QuenzaDlg.h"
#include "gui/tools/hash/HashPages.h"

// What the pages and the tools list do. A page's help, copy, view and the
// names of its commands are its row of MainPages(); here it gets its
// handlers. A page that has no row here, or a handler it lacks, does
// nothing on a drive or disc change, and its buttons answer by name that
// they are not available yet.
void CQuenzaDlg::BindPagesAndTools()
{
    const auto rerunTool = [this] { DoReadstruct(); };
    const auto clearReport = [this] { m_Core.m_Report.ClearDisplay(); };
    // The status line names the disc in the drive, and the listing marks its profile current.
    const auto mediaStatus = [this] { RunDriveWork([this] { m_Core.ShowMediaStatus(); }); };
    const auto relistFeatures = [this] { ListDriveFeaturesProfiles(); };
    m_PageHandlers = {
        {kPageDriveInfo,
         {.driveSelected = [this] { OnDriveinfo(); },
          .discArrived = mediaStatus,
          .discRemoved = mediaStatus,
          .refresh =
              [this] {
                  WhenDriveIdle([this] {
                      if (CDevice* device = m_Core.m_Drives.list.m_pCurrentDevice) {
                          device->m_bDriveInfoRead = 0;
                          OnDriveinfo();
                      }
                  });
              }}},
        {kPageMediaInfo,
         {.driveSelected = [this] { GeneralInfo(); },
          .discArrived = [this] { GeneralInfo(); },
          .discRemoved = [this] { ClearMediaInfoReport(); },
          .refresh = [this] { GeneralInfo(); }}},
        {kPageInfoDisplay, {.discArrived = rerunTool, .discRemoved = clearReport}},
        {kPageReport3, {.discRemoved = clearReport}},
        {kPageMediaCode,
         {.driveSelected = [this] { ShowCompleteMediaCode(); },
          .discArrived = [this] { ShowCompleteMediaCode(); },
          .discRemoved = clearReport}},
        {kPageReport5, {.discArrived = rerunTool, .discRemoved = clearReport}},
        {kPageReport6, {.discArrived = rerunTool, .discRemoved = clearReport}},
        {kPageSpeedTest,
         {.driveSelected = [this] { OnSpeedTest(); },
          .discArrived =
              [this] {
                  if (!m_Core.m_Drives.coordinator.InUse())
                      SetupSpeedTestPage(false);
              },
          .discRemoved =
              [this] {
                  if (g_bSpeedTestRunning == 1)
                      StopSpeedTest();
              },
          .start = [this] { StartSpeedTest(); },
          .stop = [this] { StopSpeedTest(); },
          .save = [this] { SaveReadErrorList(); }}},
        {kPageErrorTest,
         {.discArrived =
              [this] {
                  if (!m_Core.m_Drives.coordinator.InUse())
                      SetupErrorTestPage(true);
              },
          .discRemoved =
              [this] {
                  if (g_bErrorTestRunning == 1)
                      EndErrorTestUi();
              },
          .start = [this] { StartErrorTest(); },
          .stop = [this] { StopErrorTest(); },
          .save = [this] { SaveReadErrorList(); }}},
        {kPageModePages, {.driveSelected = [this] { ListDriveModePages(); }}},
        {kPageCompare,
         {.discArrived =
              [this] {
                  if (!m_Core.m_Drives.coordinator.InUse())
                      SetupISOPage(true);
              },
          .discRemoved =
              [this] {
                  if (g_bCompareRunning == 1)
                      EndCompareUi();
              },
          .start = [this] { StartCompare(); },
          .stop = [this] { EndCompareUi(); },
          .save = [this] { StartCreateIso(); }}},
        {kPageCreateIso,
         {.discRemoved =
              [this] {
                  if (g_bCreateIsoRunning == 1)
                      EndCreateIsoUi();
              },
          .stop = [this] { EndCreateIsoUi(); }}},
        {kPageFeatures,
         {.driveSelected = relistFeatures, .discArrived = relistFeatures, .discRemoved = relistFeatures}},
        {kPageDiscHash,
         {.discRemoved = clearReport,
          .start = [this] { m_pHashPages->OnStartDiscHash(); },
          .stop = [this] { m_pHashPages->StopDiscHash(); },
          .save = [this] { m_pHashPages->OnCustomRange(); }}},
        // Start is "File", Stop "Folder"; a disc going leaves a running hash's report alone.
        {kPageFileHash,
         {.discRemoved =
              [this, clearReport] {
                  if (!m_pHashPages->FileHashRunning())
                      clearReport();
              },
          .start = [this] { m_pHashPages->ComputeFileHash(); },
          .stop = [this] { m_pHashPages->OnFolderButton(); }}},
    };

    CHashPages& hash = *m_pHashPages;
    const auto discHash = [&hash](int item) { return [&hash, item] { hash.SetUpDiscHashPage(item); }; };
    const auto fileHash = [&hash](int item) { return [&hash, item] { hash.SetUpFileHashPage(item); }; };
    m_ToolsHandlers = {
        {kToolsHeading, [] { AppMessageBox("You chose a heading,  please choose another item"); }},
        {kToolsBurnInfo, [this] { ShowBurnerInfo(); }},
        {kToolsMediaCode, [this] { ShowCompleteMediaCode(); }},
        {kToolsDiscMd5, discHash(kToolsDiscMd5)},
        {kToolsFileMd5, fileHash(kToolsFileMd5)},
        {kToolsDiscSha1, discHash(kToolsDiscSha1)},
        {kToolsFileSha1, fileHash(kToolsFileSha1)},
        {kToolsDiscSha2, discHash(kToolsDiscSha2)},
        {kToolsFileSha2, fileHash(kToolsFileSha2)},
        {kToolsFeatures, [this] { ListDriveFeaturesProfiles(); }},
        {kToolsModePages, [this] { ListDriveModePages(); }},
        {kToolsSectorViewer, [this] { OnSectorViewer(); }},
    };
}

void CQuenzaDlg::ClearMediaInfoReport()
{
    // The title stays for the next report.
    m_Core.m_Report.ClearDisplay();
    m_Core.m_Report.SetLine(0, Format("%28s%s%28s", " ", "Media Information", " "));
}
