#pragma once

#include "core/base/UserPrompt.h"
#include "core/drive/WrapperRig.h"
#include "gui/pipo/PiPo.h"
#include "support/TestSupport.h"
#include "support/gui/ScopedModalHook.h"
#include "support/gui/ScriptedFileDialogs.h"

#include <functional>
#include <memory>
#include <string>

// The scan window on one emulated drive, opened as the main window opens it
// (its modal run answered at once), with scripted message boxes and file
// choosers.
struct ScanWindowRig {
    explicit ScanWindowRig(const char* drive = "liteon", const char* medium = "dvd+r", std::string cmdLine = {},
                           const std::function<void()>& beforeOpening = {}) :
        drives(drive, medium), cmdLine1(std::move(cmdLine))
    {
        if (beforeOpening)
            beforeOpening();
        window = std::make_unique<CPiPo>(ScanWindowHost{&drives.context, &cmdLine1, &cmdLine2});
        RunModalAnswered(*window);
    }

    std::string Text(int id) const { return window->GetDlgItemText(id); }
    bool Shown(int id) const { return window->GetDlgItem(id)->isVisibleTo(window.get()); }
    bool Enabled(int id) const { return window->GetDlgItem(id)->isEnabled(); }
    // A scan of n points in the current slot, its figures on the displays.
    void FakeScan(int points)
    {
        for (int i = 0; i < points; ++i) {
            window->Context().m_pUpperGraph->AddPoint(i % 30, 80);
            window->Context().m_pLowerGraph->AddPoint(i % 4, 0, 80);
        }
        window->Context().sink.SetDisplays({"1234", "3", "29", "57", "1", "3", "0", "8.0%", "7.9%", "8.4%"});
    }

    TempDir dir;
    ScopedProfile profile;
    ScriptedPrompt prompt;
    ScriptedFileDialogs files;
    WrapperRig drives;
    std::string cmdLine1;
    std::string cmdLine2;
    std::unique_ptr<CPiPo> window;
};
