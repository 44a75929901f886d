#pragma once

#include "core/tools/testpage/TestPageEvents.h"

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

// Records what a tool tells the window, and answers its message boxes from
// a script (IDOK / IDYES when the script is empty).
class RecordingEvents : public TestPageEvents {
public:
    struct Box {
        std::string text;
        std::string caption;
        unsigned type;
        // The page as the box found it: the status and the last progress (-1: none).
        std::string status;
        int progress;
    };

    void ShowStatus(const std::string& text) override
    {
        statuses.push_back(text);
        if (onStatus)
            onStatus(text);
    }
    void SetText(int control, const std::string& text) override { texts[control] = text; }
    void Enable(int control, bool enable) override { enabled[control] = enable; }
    void SetProgress(int percent) override { progress.push_back(percent); }
    void ResetList(const std::string& heading) override { list.assign(1, heading); }
    void AddListLine(const std::string& line) override { list.push_back(line); }
    void ClearBlockMap() override { map.push_back("clear"); }
    void SetMapLayerBreak(int cell) override { map.push_back("break " + std::to_string(cell)); }
    void NextMapBlock(bool bad) override { map.push_back(bad ? "bad" : "good"); }
    void NextMapBlockSuspect() override { map.push_back("suspect"); }
    int MessageBox(const std::string& text, const std::string& caption, unsigned type) override;
    void Beep(unsigned type) override { beeps.push_back(type); }
    void Post(UINT message) override { posted.push_back(message); }

    std::string Status() const { return statuses.empty() ? std::string() : statuses.back(); }
    std::vector<std::string> BoxTexts() const;
    // The list without its heading.
    std::vector<std::string> Lines() const;
    int MapCells() const;

    std::vector<std::string> statuses;
    std::map<int, std::string> texts;
    std::map<int, bool> enabled;
    std::vector<int> progress;
    std::vector<std::string> list;
    std::vector<std::string> map;
    std::vector<Box> boxes;
    std::deque<int> answers;
    std::vector<unsigned> beeps;
    std::vector<UINT> posted;
    // Called with each status as it comes: a test acts in the middle of a run.
    std::function<void(const std::string&)> onStatus;
};
