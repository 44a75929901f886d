#pragma once

#include "core/tools/iso/DiscBlockReader.h"
#include "support/RecordingEvents.h"

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

// A drive whose disc is an image file: answers as a drive would, from the
// file's blocks, with blocks made unreadable and READ(10) or READ CD refused
// on request. Keeps the reads it was asked for.
class ImageDiscReader : public DiscBlockReader {
public:
    explicit ImageDiscReader(const std::string& imagePath);
    // A disc of `blocks` generated blocks (each filled with its address).
    explicit ImageDiscReader(std::int64_t blocks);

    std::optional<int> CurrentProfile() override { return profile; }
    std::optional<DiscLayers> ReadLayers() override { return layers; }
    std::optional<std::int64_t> ReadLastLba() override;
    void WaitUntilReady() override { ++readyWaits; }
    BlockReadResult ReadBlocks(BlockRead command, std::int64_t lba, int count, std::span<std::uint8_t> buffer) override;
    void PreventRemoval(bool prevent) override { locks.push_back(prevent); }
    void SetMaximumSpeed() override { ++speedSets; }
    void ReportSenseError(int opcode) override { senseReports.push_back(opcode); }

    // The user bytes of a block as the disc holds them.
    std::vector<std::uint8_t> Block(std::int64_t lba) const;
    std::int64_t Blocks() const { return m_blocks; }

    std::optional<int> profile = 0x1B;
    std::optional<DiscLayers> layers = DiscLayers{};
    std::optional<std::int64_t> lastLbaOverride;  // what READ CAPACITY says instead
    bool capacityFails = false;
    bool read10Refused = false;  // as on an audio CD
    bool readCdRefused = false;
    bool audioSectors = false;  // READ CD gives audio, not data sectors
    std::size_t shortTransferAt = SIZE_MAX;  // the read at this LBA sends one block less
    std::set<std::int64_t> unreadable;
    SenseCode unreadableSense{3, 0x11, 0};

    struct Read {
        BlockRead command;
        std::int64_t lba;
        int count;
        bool operator==(const Read&) const = default;
    };
    std::vector<Read> reads;
    std::vector<bool> locks;
    std::vector<int> senseReports;
    int readyWaits = 0;
    int speedSets = 0;

private:
    std::string m_path;
    std::int64_t m_blocks = 0;
};

// Runs a shell command; its exit status.
int RunCommand(const std::string& command);
// Makes an ISO image of a folder with xorriso or genisoimage ("xorriso",
// "genisoimage"); false when the tool fails.
bool MakeIsoImage(const std::string& tool, const std::string& folder, const std::string& image);
// Fills a folder with a small tree: files of several sizes in two levels,
// and a VIDEO_TS folder.
void WriteSampleTree(const std::string& folder);
std::string FileBytes(const std::string& path);
