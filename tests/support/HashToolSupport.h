#pragma once

#include "core/base/ReportText.h"
#include "core/tools/hash/HashEvents.h"

#include <array>
#include <functional>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

// Records what a hash run tells and answers its questions from a script
// (no answer left: go on without the file).
class RecordingHashEvents : public HashEvents {
public:
    void FileProgress(int filesHandled, int fileCount, int percent) override;
    void OverallProgress(int percent) override;
    bool AbortAfterOpenError(const std::string& path, const std::string& reason) override;
    void Notice(const std::string& text) override;

    struct Progress {
        int filesHandled, fileCount, percent;
    };
    std::vector<Progress> fileProgress;
    std::vector<int> overallProgress;
    int questions = 0;
    std::vector<std::pair<std::string, std::string>> openErrors;  // the path and the reason of each question
    std::vector<bool> abortAnswers;
    std::vector<std::string> notices;
    // Runs after each file progress, on the run's thread.
    std::function<void(const Progress&)> onFileProgress;

private:
    std::mutex m_mutex;
};

// The six digests in the order MD5, SHA-1, SHA-224, SHA-256, SHA-384,
// SHA-512, lower case; empty where none.
using SixDigests = std::array<std::string, 6>;

// The digests the report lines show under their headings (a long one joined
// from its two lines), in lower case.
SixDigests DigestsInReport(ReportText& report);
// The line that holds exactly this text; -1 when none.
int LineOf(ReportText& report, const std::string& text);

// What md5sum, sha1sum ... sha512sum say of a file.
SixDigests CoreutilsDigests(const std::string& path);
// The digests of the contents of the regular files below a folder in the
// folder hash's order, computed by a Python script; links to folders that
// hold them are left out.
SixDigests ReferenceFolderDigests(const std::string& folder);
