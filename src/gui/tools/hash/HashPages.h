#pragma once

#include "core/base/MessageIds.h"
#include "core/tools/hash/FileHashEngine.h"
#include "core/tools/hash/HashRun.h"
#include "core/tools/hash/PostedHashEvents.h"
#include "gui/app/MainWindowPage.h"

#include <functional>
#include <stop_token>

class CDialog;

class PageHost;

// The hash pages of the main window: the disc hash (page 16: Start, Stop and
// "Custom") and the file and folder hash (page 17: "File" and "Folder",
// which reads "Stop" while a hash runs). The disc hash runs as the window's
// drive work, the file and folder hashes on a thread of their own, one at a
// time. Their progress, questions and message boxes come back as posted
// messages; widgets change here, on the window's thread, only.
class CHashPages : public MainWindowPage {
public:
    explicit CHashPages(PageHost& host);
    // Stops a file or folder hash still going and waits for it.
    ~CHashPages() override;
    CHashPages(const CHashPages&) = delete;
    CHashPages& operator=(const CHashPages&) = delete;

    // The pages as their tools entries set them up.
    void SetUpDiscHashPage(int item);
    void SetUpFileHashPage(int item);
    void ClearProgressBars();

    // Page 16.
    void OnStartDiscHash();
    void StopDiscHash();
    void OnCustomRange();
    // Page 17.
    void ComputeFileHash();
    void OnFolderButton();
    bool FileHashRunning() const { return m_bFileRunShown; }

    // WM_HASHPROGRESS, WM_HASHQUESTION, WM_HASHNOTICE and WM_HASHENDED.
    void OnHashMessage(UINT message);

    void DriveSelected(int page) override;
    void DiscArrived(int page) override;
    void DiscRemoved(int page) override;
    void Hide() override;
    bool Start(int page) override;
    bool Stop(int page) override;
    bool Save(int page) override;
    bool OnPageMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void ToolsItemChosen(int item) override;

    // Which hashes the disc and file hashes compute beside MD5.
    int m_bHashSha1 = 0;
    int m_bHashSha2 = 0;
    // Tests: delivers the posted messages until the file or folder hash has
    // ended and its end has been shown.
    void WaitForFileHash();

private:
    void StartFileRun(std::function<HashOutcome(FileHashEngine&, std::stop_token)> body);
    void ShowFileRunning(bool running);
    void ShowDiscRunning(bool running);
    // The whole disc of the current drive as the range.
    void ReadDiscHashRange();
    // The end of every file and folder hash: the drive is read again and let go.
    void AfterFileHash();
    void ShowProgress();
    void AnswerQuestion();
    void ShowNotices();

    PageHost& m_host;
    CDialog& m_dlg;
    PostedHashEvents m_events;
    bool m_bFileRunShown = false;  // from the start of a file or folder hash until its end is shown
    HashRun m_run;  // last: its thread uses the members above
};
