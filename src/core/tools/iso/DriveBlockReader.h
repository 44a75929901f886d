#pragma once

#include "core/tools/iso/DiscBlockReader.h"

class DriveContext;
class ReportText;

// The ISO page's tools on the main window's current drive: every call is
// one command (or one wait) on the window's command channel; the sense
// reports go to `report`.
class DriveBlockReader : public DiscBlockReader {
public:
    DriveBlockReader(DriveContext& drives, ReportText& report) : m_drives(drives), m_report(report) {}

    std::optional<int> CurrentProfile() override;
    std::optional<DiscLayers> ReadLayers() override;
    std::optional<std::int64_t> ReadLastLba() override;
    void WaitUntilReady() override;
    BlockReadResult ReadBlocks(BlockRead command, std::int64_t lba, int count, std::span<std::uint8_t> buffer) override;
    void PreventRemoval(bool prevent) override;
    void SetMaximumSpeed() override;
    void ReportSenseError(int opcode) override;
    DriveLoss LossAfter(const BlockReadResult& read) override;

private:
    DriveContext& m_drives;
    ReportText& m_report;
};
