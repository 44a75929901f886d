#pragma once

#include "core/tools/iso/DiscBlockReader.h"

class MainDialogCore;

// The ISO page's tools on the main window's current drive: every call is
// one command (or one wait) on the window's command channel.
class DriveBlockReader : public DiscBlockReader {
public:
    explicit DriveBlockReader(MainDialogCore& core) : m_core(core) {}

    std::optional<int> CurrentProfile() override;
    std::optional<DiscLayers> ReadLayers() override;
    std::optional<std::int64_t> ReadLastLba() override;
    void WaitUntilReady() override;
    BlockReadResult ReadBlocks(BlockRead command, std::int64_t lba, int count, std::span<std::uint8_t> buffer) override;
    void PreventRemoval(bool prevent) override;
    void SetMaximumSpeed() override;
    void ReportSenseError(int opcode) override;

private:
    MainDialogCore& m_core;
};
