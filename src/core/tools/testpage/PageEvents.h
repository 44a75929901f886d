#pragma once

#include "core/base/MessageTarget.h"
#include "core/base/ReportText.h"
#include "core/app/TestPageState.h"
#include "core/tools/testpage/TestPageEvents.h"

#include <functional>

// The main window's side of the ISO page's events: the status line in the
// report, the page's controls and list in its test page state, the end
// messages posted to the window, message boxes through the user prompt. The
// block map and the beeps go to hooks the window sets (nothing without one).
class PageEvents : public TestPageEvents {
public:
    PageEvents(ReportText& report, TestPageState& page, MessageTargetPtr window) :
        m_report(report), m_page(page), m_window(std::move(window))
    {
    }

    struct BlockMapHooks {
        std::function<void()> clear;
        std::function<void(int cell)> layerBreak;
        std::function<void(bool bad)> next;
        std::function<void()> nextSuspect;
    };
    void SetBlockMapHooks(BlockMapHooks hooks) { m_map = std::move(hooks); }
    void SetBeepHook(std::function<void(unsigned)> beep) { m_beep = std::move(beep); }
    // What the page shows (the results list reads its lines there).
    const TestPageState& State() const { return m_page; }

    void ShowStatus(const std::string& text) override { m_report.ShowStatus(text); }
    void SetText(int control, const std::string& text) override { m_page.SetText(control, text); }
    void Enable(int control, bool enable) override { m_page.Enable(control, enable); }
    void SetProgress(int percent) override { m_page.SetProgress(percent); }
    void ResetList(const std::string& heading) override { m_page.ResetList(heading); }
    void AddListLine(const std::string& line) override { m_page.AddListLine(line); }
    void ClearBlockMap() override;
    void SetMapLayerBreak(int cell) override;
    void NextMapBlock(bool bad) override;
    void NextMapBlockSuspect() override;
    int MessageBox(const std::string& text, const std::string& caption, unsigned type) override;
    void Beep(unsigned type) override;
    void Post(UINT message) override;

private:
    ReportText& m_report;
    TestPageState& m_page;
    MessageTargetPtr m_window;
    BlockMapHooks m_map;
    std::function<void(unsigned)> m_beep;
};
