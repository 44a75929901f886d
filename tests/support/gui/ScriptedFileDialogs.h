#pragma once

#include "gui/ui/FileDialogService.h"

#include <deque>
#include <vector>

// Answers file and folder choosers from a script (nullopt = cancelled) and
// records the requests.
class ScriptedFileDialogs : public FileDialogService {
public:
    ScriptedFileDialogs() { SetFileDialogService(this); }
    ~ScriptedFileDialogs() override { SetFileDialogService(nullptr); }
    std::optional<FileDialogAnswer> GetOpenFileName(const FileDialogRequest& request) override { return Next(request); }
    std::optional<FileDialogAnswer> GetSaveFileName(const FileDialogRequest& request) override { return Next(request); }
    std::optional<std::string> BrowseForFolder(const FileDialogRequest& request) override
    {
        requests.push_back(request);
        if (m_folders.empty())
            return std::nullopt;
        auto folder = m_folders.front();
        m_folders.pop_front();
        return folder;
    }
    void Answer(std::optional<FileDialogAnswer> answer) { m_answers.push_back(std::move(answer)); }
    void AnswerFolder(std::optional<std::string> folder) { m_folders.push_back(std::move(folder)); }

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
    std::deque<std::optional<std::string>> m_folders;
};
