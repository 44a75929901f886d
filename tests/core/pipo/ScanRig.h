#pragma once

#include "core/drive/WrapperRig.h"
#include "core/pipo/ScanContext.h"
#include "core/pipo/ScanSink.h"

#include <atomic>
#include <functional>
#include <map>
#include <string>
#include <vector>

// Records what a scan tells the window.
struct RecordingScanSink : ScanSink {
    void SetStatus(const std::string& text) override
    {
        statuses.push_back(text);
        screen.push_back("status " + text);
        if (onStatus)
            onStatus(text);
    }
    void SetProgress(int position) override { progress.push_back(position); }
    void SetDisplays(const ScanDisplayTexts& texts) override { displays.push_back(texts); }
    void SetCaption(int controlId, const std::string& text) override { captions.emplace_back(controlId, text); }
    void EnableControl(int controlId, bool enabled) override { enabled ? ++enables[controlId] : --enables[controlId]; }
    void ShowControl(int controlId, bool shown) override { shown ? ++shows[controlId] : --shows[controlId]; }
    void ShowQualityRating() override { ++ratings; }
    void OnStop() override { ++stops; }
    void RestoreStatusDisplay(const std::string& savedStatus) override
    {
        restored.push_back(savedStatus);
        screen.push_back("restored " + savedStatus);
    }

    std::vector<std::string> statuses;
    std::vector<int> progress;
    std::vector<ScanDisplayTexts> displays;
    std::vector<std::pair<int, std::string>> captions;
    std::map<int, int> enables;
    std::map<int, int> shows;
    int ratings = 0;
    int stops = 0;
    std::vector<std::string> restored;
    // The status line as it changed: statuses and restored status displays.
    std::vector<std::string> screen;
    std::function<void(const std::string&)> onStatus;  // after each status
};

// A scan context on one emulated drive (a wrapper rig), with a recording
// sink, a scripted prompt and a running flag of its own.
struct ScanRig : WrapperRig {
    ScanRig(const char* drivePreset, const char* mediumPreset) :
        WrapperRig(drivePreset, mediumPreset), scan(context, sink, prompt, running)
    {
    }
    ScanRig(emu::DriveIdentity identity, const char* mediumPreset) :
        WrapperRig(std::move(identity), mediumPreset), scan(context, sink, prompt, running)
    {
    }

    RecordingScanSink sink;
    ScriptedPrompt prompt;
    std::atomic<int> running{0};
    ScanContext scan;
};
