#pragma once

#include "core/base/BusyFlags.h"
#include "core/drive/ChannelCoordinator.h"
#include "emu/EmulatedDrive.h"
#include "emu/MediaPresets.h"
#include "gui/app/QuenzaDlg.h"
#include "platform/devices/DriveWatcher.h"
#include "platform/files/SafeFile.h"
#include "support/EmulatedDriveRig.h"
#include "support/TestSupport.h"
#include "support/XdgTree.h"
#include "support/gui/ScriptedFetcher.h"
#include "support/gui/ScriptedTray.h"

#include <QComboBox>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// The main window on emulated drives (emu0, emu1 ...) of a machine without
// drives of its own, their clock and the window's waits virtual. The drive
// watcher only looks when a tray changes or a test asks. The desktop is the
// test's: a scripted tray, web fetches that go nowhere, timers of the tray and
// update checks that only the test ticks (dialog->FireTimer), and XDG folders
// of its own without the program installed (so the start-up asks nothing).
struct MainWindowRig {
    using Presets = std::vector<std::pair<const char*, const char*>>;  // drive and medium
    explicit MainWindowRig(Presets presets = {{"dvd-writer", "dvd+r"}, {"bd-writer", "bd-r"}, {"cd-reader", "cd-rom"}})
    {
        DriveSources sources;
        sources.sysBlockRoot = SysBlock();
        sources.devRoot = Dev();
        std::filesystem::create_directories(SysBlock());
        std::filesystem::create_directories(Dev());
        sources.watchIntervalMs = 0;
        for (const auto& [drive, medium] : presets) {
            std::string error;
            auto emulated = emu::MakeEmulatedDrive(drive, medium, clock, &error);
            EXPECT_TRUE(emulated) << error;
            sources.emulated.emplace_back("emu" + std::to_string(sources.emulated.size()), emulated);
            drives.push_back(emulated);
        }
        WindowServices services;
        auto scriptedTray = std::make_unique<ScriptedTray>();
        tray = scriptedTray.get();
        services.tray = std::move(scriptedTray);
        auto scriptedFetcher = std::make_unique<ScriptedFetcher>();
        fetcher = scriptedFetcher.get();
        services.fetcher = std::move(scriptedFetcher);
        auto manualTimers = std::make_unique<ManualTimers>();
        timers = manualTimers.get();
        services.timers = std::move(manualTimers);
        dialog = std::make_unique<CQuenzaDlg>(std::move(sources), std::move(services));
        dialog->m_Core.m_Drives.mmc.SetWaitClock(waitClock);
    }
    ~MainWindowRig()
    {
        g_bErrorTestRunning = g_bSpeedTestRunning = g_bCompareRunning = g_bCreateIsoRunning = g_bMediaHashRunning = 0;
        dialog.reset();
    }

    // Initialised and shown, with the first tick of the start-up timer done.
    void Start()
    {
        dialog->Create();
        dialog->FireTimer(STARTUP_TIMER);
        Settle();
    }
    void Settle() { dialog->WaitForDriveWork(); }
    // The machine's /sys/block and /dev.
    std::string SysBlock() const { return machine.File("sys/block"); }
    std::string Dev() const { return machine.File("dev"); }
    // The object of a page or tool of the window.
    template <class Page>
    Page& PageObject() const
    {
        Page* page = dialog->Pages().Find<Page>();
        EXPECT_NE(page, nullptr);
        return *page;
    }

    std::string Text(int id) const { return dialog->GetDlgItemText(id); }
    bool Ticked(int id) const { return dialog->IsDlgButtonChecked(id) == 1; }
    bool Shown(int id) const { return dialog->GetDlgItem(id)->isVisibleTo(dialog.get()); }
    void SelectDrive(int index)
    {
        dialog->Item<QComboBox>(IDC_DEVICES)->setCurrentIndex(index);
        dialog->SendNotify(IDC_DEVICES, Notify::SelChange);
        Settle();
    }
    void ChooseTool(int item)
    {
        dialog->Item<QComboBox>(IDC_TOOLS)->setCurrentIndex(item);
        dialog->SendNotify(IDC_TOOLS, Notify::SelChange);
        Settle();
    }

    TempDir machine;
    ScopedProfile profile;
    ScopedProgramLog log;
    ScriptedPrompt prompt;
    XdgTree desktop{false};
    std::shared_ptr<emu::ManualClock> clock = std::make_shared<emu::ManualClock>();
    std::shared_ptr<VirtualWaitClock> waitClock = std::make_shared<VirtualWaitClock>(clock);
    std::vector<std::shared_ptr<emu::EmulatedDrive>> drives;
    std::unique_ptr<CQuenzaDlg> dialog;
    ScriptedTray* tray = nullptr;  // the dialog's
    ScriptedFetcher* fetcher = nullptr;  // the dialog's
    ManualTimers* timers = nullptr;  // the dialog's timers of its look, tray and update checks
};

// What may hold the drive when a command comes: a running test's flag, the
// scan window, or another operation's claim of the channel.
struct DriveHolder {
    const char* name;
    std::function<void(CQuenzaDlg&, bool)> hold;
};

inline std::vector<DriveHolder> TestsThatHoldTheDrive()
{
    return {
        {"error test", [](CQuenzaDlg&, bool on) { g_bErrorTestRunning = on; }},
        {"speed test", [](CQuenzaDlg&, bool on) { g_bSpeedTestRunning = on; }},
        {"ISO creation", [](CQuenzaDlg&, bool on) { g_bCreateIsoRunning = on; }},
        {"scan window", [](CQuenzaDlg& dialog, bool on) { dialog.m_bPiPoActive = on; }},
    };
}

inline DriveHolder ClaimHolder(const char* name, ChannelUse use)
{
    auto claim = std::make_shared<std::optional<ChannelClaim>>();
    return {name, [claim, use](CQuenzaDlg& dialog, bool on) {
                if (on)
                    *claim = dialog.m_Core.m_Drives.coordinator.TryClaim(use);
                else
                    claim->reset();
            }};
}
