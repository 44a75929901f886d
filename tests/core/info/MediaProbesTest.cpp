#include "core/base/Format.h"
#include "core/info/MediaProbes.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

bool HasTool(const char* name)
{
    return std::system(Format("command -v %s >/dev/null 2>&1 || test -x /usr/sbin/%s", name, name).c_str()) == 0;
}

// Blocks of 2048 bytes from an image file.
BlockReader ImageReader(const std::string& path)
{
    return [path](std::int64_t lba, std::vector<std::uint8_t>& block) {
        std::ifstream file(path, std::ios::binary);
        file.seekg(lba * 2048);
        block.assign(2048, 0);
        file.read(reinterpret_cast<char*>(block.data()), 2048);
        return file.gcount() == 2048;
    };
}

std::string MakeUdfImage(const TempDir& dir, const char* revision, const char* media = "hd")
{
    const std::string image = dir.File(Format("udf-%s.img", revision));
    const std::string command = Format(
        "truncate -s 16M '%s' && PATH=$PATH:/usr/sbin mkudffs --media-type=%s --blocksize=2048 --udfrev=%s "
        "--label=QNZ_UDF_DISC '%s' >/dev/null 2>&1",
        image.c_str(), media, revision, image.c_str());
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return image;
}

TEST(CheckUDF, AUdfImageGivesItsRevisionAndVolume)
{
    if (!HasTool("mkudffs"))
        GTEST_SKIP() << "mkudffs (udftools) is not installed";
    TempDir dir;
    struct Case {
        const char* revision;
        const char* media;
        const char* text;
    };
    for (const Case& c : {Case{"2.50", "bdr", "2.50"}, Case{"1.02", "hd", "1.02"}, Case{"2.01", "hd", "2.01"}}) {
        UdfVolume volume;
        ASSERT_EQ(CheckUDF(ImageReader(MakeUdfImage(dir, c.revision, c.media)), volume), 1) << c.revision;
        const char* text = c.text;
        EXPECT_EQ(volume.revision, text);
        EXPECT_EQ(volume.volume, "QNZ_UDF_DISC");
        EXPECT_FALSE(volume.implementation.empty());
        EXPECT_GE(volume.year, 2000);
    }
}

TEST(CheckUDF, AnIsoOnlyImageAndDamagedUdfAreNoUdfVolume)
{
    if (!HasTool("xorriso") || !HasTool("mkudffs"))
        GTEST_SKIP() << "xorriso or mkudffs is not installed";
    TempDir dir;
    std::filesystem::create_directories(dir.File("tree"));
    WriteFileText(dir.File("tree/readme.txt"), "quenzario");
    const std::string iso = dir.File("plain.iso");
    ASSERT_EQ(std::system(Format("xorriso -as mkisofs -V QNZISO -o '%s' '%s' >/dev/null 2>&1", iso.c_str(),
                                 dir.File("tree").c_str())
                              .c_str()),
              0);
    UdfVolume volume;
    EXPECT_EQ(CheckUDF(ImageReader(iso), volume), 0);

    // The anchor's checksum broken, and separately its sequence pointing at nothing.
    for (const std::size_t offset : {std::size_t{4}, std::size_t{20}}) {
        const std::string image = MakeUdfImage(dir, "2.01");
        std::fstream file(image, std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(256 * 2048 + static_cast<std::streamoff>(offset));
        const char junk[4] = {'\x5A', '\x5A', '\x5A', '\x5A'};
        file.write(junk, offset == 4 ? 1 : 4);
        file.close();
        EXPECT_EQ(CheckUDF(ImageReader(image), volume), 0) << offset;
    }
    // Block 16 without a recognised identifier is not read further.
    int reads = 0;
    const BlockReader zeros = [&reads](std::int64_t, std::vector<std::uint8_t>& block) {
        ++reads;
        block.assign(2048, 0);
        return true;
    };
    EXPECT_EQ(CheckUDF(zeros, volume), 0);
    EXPECT_EQ(reads, 1);
}

}  // namespace
