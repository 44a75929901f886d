#include "IsoTestSupport.h"

#include "core/base/MessageIds.h"
#include "support/TestSupport.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/wait.h>

namespace {

constexpr std::size_t kBlock = 2048;
constexpr std::size_t kRawSector = 2352;

}  // namespace

ImageDiscReader::ImageDiscReader(const std::string& imagePath) : m_path(imagePath)
{
    m_blocks = static_cast<std::int64_t>((std::filesystem::file_size(imagePath) + kBlock - 1) / kBlock);
}

ImageDiscReader::ImageDiscReader(std::int64_t blocks) : m_blocks(blocks)
{
}

std::optional<std::int64_t> ImageDiscReader::ReadLastLba()
{
    if (capacityFails)
        return std::nullopt;
    return lastLbaOverride ? *lastLbaOverride : m_blocks - 1;
}

std::vector<std::uint8_t> ImageDiscReader::Block(std::int64_t lba) const
{
    std::vector<std::uint8_t> block(kBlock, 0);
    if (m_path.empty()) {
        for (std::size_t i = 0; i < kBlock; ++i)
            block[i] = static_cast<std::uint8_t>((lba * 7 + static_cast<std::int64_t>(i) * 13) & 0xFF);
        return block;
    }
    std::ifstream file(m_path, std::ios::binary);
    file.seekg(static_cast<std::streamoff>(lba) * static_cast<std::streamoff>(kBlock));
    file.read(reinterpret_cast<char*>(block.data()), kBlock);
    return block;
}

BlockReadResult ImageDiscReader::ReadBlocks(BlockRead command, std::int64_t lba, int count,
                                            std::span<std::uint8_t> buffer)
{
    reads.push_back({command, lba, count});
    BlockReadResult result;
    const auto fail = [&](SenseCode sense, std::optional<std::int64_t> bad = std::nullopt) {
        result.ok = false;
        result.sense = sense;
        if (bad)
            result.badBlock = static_cast<std::uint32_t>(*bad);
        return result;
    };
    if (lba < 0 || count < 0 || lba + count > m_blocks)
        return fail({5, 0x21, 0});
    if (command == BlockRead::ReadCdRaw) {
        if (readCdRefused || buffer.size() < std::size_t(count) * kRawSector)
            return fail({5, 0x24, 0});
        for (int i = 0; i < count; ++i) {
            std::uint8_t* sector = buffer.data() + std::size_t(i) * kRawSector;
            std::memset(sector, audioSectors ? 0x55 : 0, kRawSector);
            if (audioSectors)
                continue;
            std::memset(sector + 1, 0xFF, 10);
            sector[15] = 1;
            const auto block = Block(lba + i);
            std::memcpy(sector + 16, block.data(), kBlock);
        }
        result.ok = true;
        result.transferred = std::size_t(count) * kRawSector;
        return result;
    }
    if (read10Refused)
        return fail({5, 0x64, 0});
    if (buffer.size() < std::size_t(count) * kBlock)
        return fail({5, 0x24, 0});
    int good = count;
    for (int i = 0; i < count; ++i)
        if (unreadable.count(lba + i)) {
            good = i;
            break;
        }
    for (int i = 0; i < good; ++i) {
        const auto block = Block(lba + i);
        std::memcpy(buffer.data() + std::size_t(i) * kBlock, block.data(), kBlock);
    }
    result.transferred = std::size_t(good) * kBlock;
    if (good < count)
        return fail(unreadableSense, lba + good);
    if (static_cast<std::size_t>(lba) == shortTransferAt)
        result.transferred -= kBlock;
    result.ok = true;
    return result;
}

int RunCommand(const std::string& command)
{
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool MakeIsoImage(const std::string& tool, const std::string& folder, const std::string& image)
{
    if (tool == "xorriso")
        return RunCommand("xorriso -as mkisofs -quiet -V QNZTEST -o '" + image + "' '" + folder + "' >/dev/null 2>&1")
            == 0;
    return RunCommand("genisoimage -quiet -V QNZTEST -o '" + image + "' '" + folder + "' >/dev/null 2>&1") == 0;
}

void WriteSampleTree(const std::string& folder)
{
    namespace fs = std::filesystem;
    fs::create_directories(folder + "/docs/deep");
    fs::create_directories(folder + "/VIDEO_TS");
    const auto write = [](const std::string& path, std::size_t size, int seed) {
        std::string bytes(size, '\0');
        for (std::size_t i = 0; i < size; ++i)
            bytes[i] = static_cast<char>((i * 31 + static_cast<std::size_t>(seed) * 7 + i / 2048) & 0xFF);
        WriteFileText(path, bytes);
    };
    write(folder + "/readme.txt", 1000, 1);
    write(folder + "/docs/one.bin", 70000, 2);
    write(folder + "/docs/deep/two.bin", 300000, 3);
    write(folder + "/docs/empty.bin", 0, 4);
    write(folder + "/VIDEO_TS/VIDEO_TS.IFO", 12288, 5);
    write(folder + "/VIDEO_TS/VIDEO_TS.BUP", 12288, 5);
    write(folder + "/VIDEO_TS/VTS_01_1.VOB", 400000, 6);
}

std::string FileBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}
