#pragma once

#include <string>

// What a hash run tells its owner while it runs, on the run's own thread.
// The report lines and the status line go to the main window's ReportText;
// these are the rest: progress, questions and message boxes. A window
// implementation hands them to its own thread; nothing here may touch a
// widget.
class HashEvents {
public:
    virtual ~HashEvents() = default;

    // The file being read: files handled so far, the file count, and the
    // percentage of this file read.
    virtual void FileProgress(int filesHandled, int fileCount, int percent) = 0;
    // The share of the whole run done: files of a folder, blocks of a disc.
    virtual void OverallProgress(int percent) = 0;
    // A file or folder of a folder hash cannot be opened (its path, and
    // why): true to abort the folder hash, false to go on without it. The
    // run waits for the answer.
    virtual bool AbortAfterOpenError(const std::string& path, const std::string& reason) = 0;
    // A message box for the user; the run goes on without waiting.
    virtual void Notice(const std::string& text) = 0;
};

// How a hash run ended.
enum class HashOutcome {
    Done,  // the digests are in the report
    Cancelled,  // the user stopped it or chose to abort
    Failed,  // it could not be computed; no digest was written
};
