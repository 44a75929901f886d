#include "EraseRig.h"

#include "core/base/Format.h"

#include <gtest/gtest.h>

#include <cstdlib>

void RecordingEraseSink::SetStatus(const std::string& text)
{
    {
        std::lock_guard lock(m_mutex);
        m_statuses.push_back(text);
    }
    if (onStatus)
        onStatus(text);
}

void RecordingEraseSink::SetProgress(int percent)
{
    std::lock_guard lock(m_mutex);
    m_progress.push_back(percent);
}

void RecordingEraseSink::Ended(const EraseResult& result)
{
    std::lock_guard lock(m_mutex);
    m_result = result;
}

std::vector<std::string> RecordingEraseSink::Statuses() const
{
    std::lock_guard lock(m_mutex);
    return m_statuses;
}

std::vector<int> RecordingEraseSink::Progress() const
{
    std::lock_guard lock(m_mutex);
    return m_progress;
}

std::optional<EraseResult> RecordingEraseSink::Result() const
{
    std::lock_guard lock(m_mutex);
    return m_result;
}

EraseRig::EraseRig(const char* drivePreset, const char* mediumPreset) :
    EmulatedDriveRig(drivePreset, mediumPreset), context(Sources())
{
    MakeCurrent(context);
    drive->SetStrictCdbLength(true);
}

EraseRig::EraseRig(emu::DriveIdentity identity, const char* mediumPreset) :
    EmulatedDriveRig(std::move(identity), mediumPreset), context(Sources())
{
    MakeCurrent(context);
    drive->SetStrictCdbLength(true);
}

std::vector<std::string> EraseRig::Trace() const
{
    const auto hex = [](const std::vector<std::uint8_t>& bytes) {
        std::string text;
        for (std::uint8_t byte : bytes)
            text += Format(text.empty() ? "%02X" : " %02X", byte);
        return text;
    };
    std::vector<std::string> lines;
    std::string last;
    for (const emu::JournalEntry& entry : drive->Journal()) {
        if (entry.Opcode() == 0x00 || entry.Opcode() == 0x03)
            continue;
        std::string line = hex(entry.Bytes());
        if (entry.Opcode() == 0x04)  // the parameter list is what matters
            line += " / " + hex(entry.dataOut);
        if (line == last) {
            if (lines.back().find("(repeated)") == std::string::npos)
                lines.back() += " (repeated)";
            continue;
        }
        lines.push_back(line);
        last = line;
    }
    return lines;
}

void ExpectGoldenTrace(const std::string& name, const std::vector<std::string>& trace)
{
    std::string text;
    for (const std::string& line : trace)
        text += line + "\n";
    const std::string path = std::string(QUENZA_SOURCE_DIR) + "/tests/core/tools/erase/golden/" + name + ".txt";
    if (std::getenv("QUENZA_UPDATE_GOLDEN"))
        WriteFileText(path, text);
    EXPECT_EQ(text, ReadFileText(path)) << name;
}
