#pragma once

// What bench_iso and bench_compare share: the main window's core on one
// emulated drive, a sink that shows nothing, and a scratch folder.

#include "core/app/MainDialogCore.h"
#include "core/base/MessageIds.h"
#include "core/tools/testpage/TestPageEvents.h"
#include "emu/EmulatedDrive.h"
#include "emu/MediaPresets.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

class SilentEvents : public TestPageEvents {
public:
    void ShowStatus(const std::string&) override {}
    void SetText(int, const std::string&) override {}
    void Enable(int, bool) override {}
    void SetProgress(int) override {}
    void ResetList(const std::string&) override {}
    void AddListLine(const std::string& line) override { lastLine = line; }
    void ClearBlockMap() override {}
    void SetMapLayerBreak(int) override {}
    void NextMapBlock(bool) override {}
    int MessageBox(const std::string& text, const std::string&, unsigned) override
    {
        lastBox = text;
        return IDOK;
    }
    void Beep(unsigned) override {}
    void Post(UINT) override {}

    std::string lastBox;
    std::string lastLine;
};

// A folder of its own under $TMPDIR (else /tmp), removed with its files.
class ScratchFolder {
public:
    ScratchFolder()
    {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/quenza-bench-XXXXXX";
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("cannot make a scratch folder");
        m_path = pattern;
    }
    ~ScratchFolder() { std::filesystem::remove_all(m_path); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    std::string File(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

// The core with an emulated DVD writer as its current drive; the disc is
// `disc` (its blocks from its image, or generated).
struct EmulatedCore {
    explicit EmulatedCore(const emu::MediumDescription& disc)
    {
        std::string error;
        drive = emu::MakeEmulatedDrive("dvd-writer", "none", std::make_shared<emu::SteadyClock>(), &error);
        if (!drive || !drive->InsertMedium(disc, &error))
            throw std::runtime_error(error);
        DriveSources sources;
        sources.sysBlockRoot = machine.File("sys");
        sources.devRoot = machine.File("dev");
        sources.watchIntervalMs = 0;
        sources.emulated = {{"emu0", drive}};
        core = std::make_unique<MainDialogCore>(std::move(sources));
        if (!core->m_Drives.list.FillDeviceComboList())
            throw std::runtime_error("the emulated drive is not listed");
        core->m_Drives.list.SetDeviceComboSel(0);
        core->m_Drives.list.OnSelchangeDevicescombo();
    }

    ScratchFolder machine;
    std::shared_ptr<emu::EmulatedDrive> drive;
    std::unique_ptr<MainDialogCore> core;
};

inline double SecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}
