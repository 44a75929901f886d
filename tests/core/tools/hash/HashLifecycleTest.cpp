#include "HashTestSupport.h"

#include "core/tools/hash/MD5Context.h"
#include "core/tools/hash/SHA1.h"
#include "core/tools/hash/SHAHash.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <stdexcept>

namespace {

// The message of a runtime_error thrown by call, or "" when none is thrown.
template <class Call>
std::string ErrorOf(Call call)
{
    try {
        call();
    } catch (const std::runtime_error& error) {
        return error.what();
    }
    return "";
}

}  // namespace

TEST(SHAHashLifecycle, RefusesTypesOutsideOneToFive)
{
    for (int type : {0, 6, -1}) {
        SHAHash sha;
        EXPECT_EQ(ErrorOf([&] { sha.Init(static_cast<SHA_TYPE>(type)); }), "Invalid SHA_TYPE type!") << type;
        // The bad type stays, so the next calls fail the same way.
        EXPECT_EQ(ErrorOf([&] { sha.Update("abc", 3); }), "Invalid SHA_TYPE type!") << type;
        EXPECT_EQ(ErrorOf([&] { sha.Finish(); }), "Invalid SHA_TYPE type!") << type;
    }
    SHAHash fresh;
    EXPECT_EQ(ErrorOf([&] { fresh.Update("abc", 3); }), "Invalid SHA_TYPE type!");
    EXPECT_EQ(ErrorOf([&] { fresh.GetHexDigest(); }), "Unfinished execution!");
}

TEST(SHAHashLifecycle, DigestIsReadableOnlyAfterFinish)
{
    SHAHash sha;
    sha.Init(SHA_TYPE_256);
    EXPECT_EQ(ErrorOf([&] { sha.GetHexDigest(); }), "Unfinished execution!");
    sha.Update("abc", 3);
    const std::string digest = sha.Finish();
    EXPECT_EQ(digest, "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_STREQ(sha.GetHexDigest(), digest.c_str());
    // A second Finish must not pad the message again.
    EXPECT_EQ(sha.Finish(), digest);

    // Init starts a new message, of any type.
    sha.Init(SHA_TYPE_1);
    EXPECT_EQ(ErrorOf([&] { sha.GetHexDigest(); }), "Unfinished execution!");
    EXPECT_EQ(sha.Finish(), "da39a3ee5e6b4b0d3255bfef95601890afd80709");
}

TEST(SHA1Lifecycle, ResultClosesTheMessage)
{
    SHA1 sha;
    sha.Input(reinterpret_cast<const unsigned char*>("abc"), 3);
    unsigned first[5], second[5];
    ASSERT_TRUE(sha.Result(first));
    ASSERT_TRUE(sha.Result(second));
    EXPECT_EQ(first[0], 0xa9993e36u);
    EXPECT_TRUE(std::equal(first, first + 5, second));

    sha.Input(nullptr, 0);  // nothing to take, nothing spoilt
    EXPECT_TRUE(sha.Result(second));

    sha.InputByte('d');
    EXPECT_FALSE(sha.Result(second));
    EXPECT_FALSE(sha.Result(second));

    sha.Reset();
    sha.Input(reinterpret_cast<const unsigned char*>("abc"), 3);
    ASSERT_TRUE(sha.Result(second));
    EXPECT_TRUE(std::equal(first, first + 5, second));
}

TEST(MD5Lifecycle, FinalKeepsOnlyTheDigest)
{
    MD5Context context;
    context.Init();
    context.Update("abc", 3);
    context.Final();
    EXPECT_STREQ(MD5DigestToHex(context.digest).get(), "900150983cd24fb0d6963f7d28e17f72");
    const std::uint8_t zeros[64] = {};
    EXPECT_EQ(std::memcmp(context.state, zeros, sizeof context.state), 0);
    EXPECT_EQ(std::memcmp(context.bitCount, zeros, sizeof context.bitCount), 0);
    EXPECT_EQ(std::memcmp(context.buffer, zeros, sizeof context.buffer), 0);

    context.Init();
    context.Update("a", 1);
    context.Final();
    EXPECT_STREQ(MD5DigestToHex(context.digest).get(), "0cc175b9c0f1b6a831c399e269772661");
}

TEST(MD5Lifecycle, BitCountCarriesIntoTheHighWord)
{
    MD5Context context;
    context.Init();
    context.bitCount[0] = 0xFFFFFFF8u;  // as after 2^29 - 1 bytes
    context.Update("ab", 2);
    EXPECT_EQ(context.bitCount[0], 8u);
    EXPECT_EQ(context.bitCount[1], 1u);
}

TEST(MD5File, HashesTheWholeFile)
{
    TempDir dir;
    const std::string content = PatternBytes(5000);  // several 1024-byte reads and a short one
    WriteFileText(dir.File("data.bin"), content);
    const auto hex = MD5File(dir.File("data.bin").c_str());
    ASSERT_TRUE(hex);
    EXPECT_EQ(hex.get(), DigestOf(Algorithm::Md5, content));

    WriteFileText(dir.File("empty"), "");
    EXPECT_STREQ(MD5File(dir.File("empty").c_str()).get(), "d41d8cd98f00b204e9800998ecf8427e");
}

TEST(MD5File, UnreadableFilesGiveNoDigest)
{
    TempDir dir;
    EXPECT_EQ(MD5File(dir.File("missing").c_str()), nullptr);
    // A folder opens but every read fails: that is no digest of an empty file.
    std::filesystem::create_directory(dir.File("folder"));
    EXPECT_EQ(MD5File(dir.File("folder").c_str()), nullptr);
}
