#pragma once

#include "core/app/MainControls.h"
#include "core/base/MessageIds.h"

#include <string>

// What the test pages' engines (the speed tests, ISO creation and the
// compares) tell the main window while they run, on their own thread: the
// event sink, and with MessageBox the question port (the worker waits, the
// window answers). The window shows it on its thread; tests record it.
class TestPageEvents {
public:
    virtual ~TestPageEvents() = default;

    virtual void ShowStatus(const std::string& text) = 0;
    // Texts and enabled states of the page's controls by id (result fields,
    // labels, button captions, combo boxes; core/app/TestPageControls.h).
    virtual void SetText(int control, const std::string& text) = 0;
    virtual void Enable(int control, bool enable) = 0;
    // The page's Start, Stop and Save: a run started (Start off, Stop on) or
    // ended (the other way round), and each one alone. The window sets them
    // in one place (PageHost::EnablePageButton).
    void SetPageRunning(bool running)
    {
        EnablePageButton(PageButton::Start, !running);
        EnablePageButton(PageButton::Stop, running);
    }
    void EnablePageButton(PageButton button, bool enable) { Enable(PageButtonId(button), enable); }
    // The second progress bar, 0-100.
    virtual void SetProgress(int percent) = 0;
    virtual void ResetList(const std::string& heading) = 0;
    virtual void AddListLine(const std::string& line) = 0;

    // The block map of the main graph: one cell a step.
    virtual void ClearBlockMap() = 0;
    // The layer-break line at a cell; 0 removes it.
    virtual void SetMapLayerBreak(int cell) = 0;
    virtual void NextMapBlock(bool bad) = 0;
    // A cell whose reads failed but whose every block read again alone.
    virtual void NextMapBlockSuspect() { NextMapBlock(false); }

    // A message box; the worker waits for the answer (ID* of MessageIds.h).
    virtual int MessageBox(const std::string& text, const std::string& caption = std::string(), unsigned type = 0) = 0;
    // MB_OK for the default beep, MB_ICONINFORMATION for the information beep.
    virtual void Beep(unsigned type) = 0;
    // An end message to the main window (WM_TESTENDED, WM_ERRORTESTENDED,
    // WM_COMPAREENDED), posted after everything told before it.
    virtual void Post(UINT message) = 0;
};
