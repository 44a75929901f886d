#pragma once

#include "gui/ui/FileDialogService.h"

#include <deque>
#include <vector>

// Answers file choosers from a script (nullopt = cancelled) and records the
// requests.
class ScriptedFileDialogs : public FileDialogService {
public:
    ScriptedFileDialogs() { SetFileDialogService(this); }
    ~ScriptedFileDialogs() override { SetFileDialogService(nullptr); }
    std::optional<FileDialogAnswer> GetOpenFileName(const FileDialogRequest& request) override { return Next(request); }
    std::optional<FileDialogAnswer> GetSaveFileName(const FileDialogRequest& request) override { return Next(request); }
    std::optional<FileDialogAnswer> GetExistingDirectory(const FileDialogRequest& request) override
    {
        return Next(request);
    }
    void Answer(std::optional<FileDialogAnswer> answer) { m_answers.push_back(std::move(answer)); }

    std::vector<FileDialogRequest> requests;

private:
    std::optional<FileDialogAnswer> Next(const FileDialogRequest& request)
    {
        requests.push_back(request);
        if (m_answers.empty())
            return std::nullopt;
        auto answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }
    std::deque<std::optional<FileDialogAnswer>> m_answers;
};
