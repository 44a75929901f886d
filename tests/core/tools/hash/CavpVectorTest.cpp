#include "HashTestSupport.h"

#include "core/base/Format.h"
#include "platform/files/SafeFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

// The NIST CAVP response files as Debian's python3-cryptography-vectors
// installs them (the build scripts install the package).
namespace {

const std::string kVectorFolder = "/usr/lib/python3/dist-packages/cryptography_vectors/hashes/";

struct VectorFile {
    Algorithm algorithm;
    const char* stem;  // e.g. "SHA2/SHA256" for SHA2/SHA256ShortMsg.rsp
};

const VectorFile kShaFiles[] = {
    {Algorithm::Sha1Class, "SHA1/SHA1"}, {Algorithm::Sha1, "SHA1/SHA1"},     {Algorithm::Sha224, "SHA2/SHA224"},
    {Algorithm::Sha256, "SHA2/SHA256"},  {Algorithm::Sha384, "SHA2/SHA384"}, {Algorithm::Sha512, "SHA2/SHA512"},
};

// "Name = value" lines in file order.
std::vector<std::pair<std::string, std::string>> ReadAssignments(const std::string& path)
{
    std::string text;
    std::string error;
    if (!ReadWholeFile(path, text, &error)) {
        ADD_FAILURE() << error;
        return {};
    }
    std::vector<std::pair<std::string, std::string>> assignments;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const auto equals = line.find(" = ");
        if (line.empty() || line[0] == '#' || line[0] == '[' || equals == std::string::npos)
            continue;
        assignments.emplace_back(line.substr(0, equals), line.substr(equals + 3));
    }
    return assignments;
}

// Checks every Len/Msg/MD record of a message file; returns how many.
int CheckMessageFile(Algorithm algorithm, const std::string& path)
{
    int checked = 0;
    long bits = -1;
    std::string message;
    for (const auto& [name, value] : ReadAssignments(path)) {
        if (name == "Len") {
            EXPECT_TRUE(ParseLong(value, bits)) << value;
        } else if (name == "Msg") {
            message = HexToBytes(value).substr(0, static_cast<std::size_t>(bits / 8));
        } else if (name == "MD") {
            EXPECT_EQ(DigestOf(algorithm, message), value) << path << ", Len = " << bits;
            ++checked;
        }
    }
    return checked;
}

// The Monte Carlo test: from a seed, 100 checkpoints, each after 1000 digests
// of the last three digests joined.
int CheckMonteCarloFile(Algorithm algorithm, const std::string& path)
{
    int checked = 0;
    std::string seed;
    for (const auto& [name, value] : ReadAssignments(path)) {
        if (name == "Seed") {
            seed = HexToBytes(value);
        } else if (name == "MD") {
            std::string last[3] = {seed, seed, seed};
            for (int i = 3; i < 1003; ++i) {
                const std::string next = HexToBytes(DigestOfPieces(algorithm, {last[0], last[1], last[2]}));
                last[0] = last[1];
                last[1] = last[2];
                last[2] = next;
            }
            seed = last[2];
            EXPECT_EQ(HexToBytes(value), seed) << path << ", checkpoint " << checked;
            ++checked;
        }
    }
    return checked;
}

// CI installs the vectors, so there a missing file fails the test.
bool VectorsMissing()
{
    return !FileExists(kVectorFolder + "SHA1/SHA1ShortMsg.rsp");
}

}  // namespace

#define REQUIRE_VECTORS()                                                                                              \
    do {                                                                                                               \
        if (VectorsMissing()) {                                                                                        \
            const char* ci = std::getenv("CI");                                                                        \
            if (ci && std::string(ci) == "true")                                                                       \
                FAIL() << "NIST vectors missing under " << kVectorFolder << " (python3-cryptography-vectors)";         \
            GTEST_SKIP() << "install python3-cryptography-vectors to run the NIST vectors";                            \
        }                                                                                                              \
    } while (false)

class CavpVectors : public BothKernels {};
INSTANTIATE_WITH_BOTH_KERNELS(CavpVectors);

TEST_P(CavpVectors, ShortMessages)
{
    REQUIRE_VECTORS();
    for (const VectorFile& file : kShaFiles) {
        SCOPED_TRACE(AlgorithmName(file.algorithm));
        EXPECT_GE(CheckMessageFile(file.algorithm, kVectorFolder + file.stem + "ShortMsg.rsp"), 65);
    }
    EXPECT_EQ(CheckMessageFile(Algorithm::Md5, kVectorFolder + "MD5/rfc-1321.txt"), 7);
}

TEST_P(CavpVectors, LongMessages)
{
    REQUIRE_VECTORS();
    for (const VectorFile& file : kShaFiles) {
        SCOPED_TRACE(AlgorithmName(file.algorithm));
        EXPECT_GE(CheckMessageFile(file.algorithm, kVectorFolder + file.stem + "LongMsg.rsp"), 64);
    }
}

TEST_P(CavpVectors, MonteCarlo)
{
    REQUIRE_VECTORS();
    for (const VectorFile& file : kShaFiles) {
        SCOPED_TRACE(AlgorithmName(file.algorithm));
        EXPECT_EQ(CheckMonteCarloFile(file.algorithm, kVectorFolder + file.stem + "Monte.rsp"), 100);
    }
}
