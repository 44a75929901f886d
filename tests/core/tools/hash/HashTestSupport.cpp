#include "HashTestSupport.h"

#include "core/base/Format.h"
#include "core/tools/hash/MD5Context.h"
#include "core/tools/hash/SHA1.h"
#include "core/tools/hash/SHAHash.h"

#include <stdexcept>

const char* AlgorithmName(Algorithm algorithm)
{
    switch (algorithm) {
    case Algorithm::Md5: return "MD5";
    case Algorithm::Sha1Class: return "SHA1 class";
    case Algorithm::Sha1: return "SHA-1";
    case Algorithm::Sha224: return "SHA-224";
    case Algorithm::Sha256: return "SHA-256";
    case Algorithm::Sha384: return "SHA-384";
    case Algorithm::Sha512: return "SHA-512";
    }
    return "?";
}

namespace {

SHA_TYPE ShaType(Algorithm algorithm)
{
    switch (algorithm) {
    case Algorithm::Sha224: return SHA_TYPE_224;
    case Algorithm::Sha256: return SHA_TYPE_256;
    case Algorithm::Sha384: return SHA_TYPE_384;
    case Algorithm::Sha512: return SHA_TYPE_512;
    default: return SHA_TYPE_1;
    }
}

}  // namespace

std::string DigestOfPieces(Algorithm algorithm, const std::vector<std::string_view>& pieces)
{
    if (algorithm == Algorithm::Md5) {
        MD5Context context;
        context.Init();
        for (std::string_view piece : pieces)
            context.Update(piece.data(), static_cast<unsigned>(piece.size()));
        context.Final();
        return MD5DigestToHex(context.digest).get();
    }
    if (algorithm == Algorithm::Sha1Class) {
        SHA1 sha;
        for (std::string_view piece : pieces)
            sha.Input(reinterpret_cast<const unsigned char*>(piece.data()), static_cast<unsigned>(piece.size()));
        unsigned words[5];
        if (!sha.Result(words))
            return "corrupted";
        return Format("%08x%08x%08x%08x%08x", words[0], words[1], words[2], words[3], words[4]);
    }
    SHAHash sha;
    sha.Init(ShaType(algorithm));
    for (std::string_view piece : pieces)
        sha.Update(piece.data(), static_cast<unsigned>(piece.size()));
    return sha.Finish();
}

std::string DigestOf(Algorithm algorithm, std::string_view message)
{
    return DigestOfPieces(algorithm, {message});
}

std::string HexToBytes(std::string_view hex)
{
    const auto nibble = [](char digit) {
        if (digit >= '0' && digit <= '9')
            return digit - '0';
        if (digit >= 'a' && digit <= 'f')
            return digit - 'a' + 10;
        if (digit >= 'A' && digit <= 'F')
            return digit - 'A' + 10;
        throw std::invalid_argument(std::string("not a hex digit: ") + digit);
    };
    if (hex.size() % 2 != 0)
        throw std::invalid_argument("odd number of hex digits");
    std::string bytes(hex.size() / 2, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(nibble(hex[2 * i]) << 4 | nibble(hex[2 * i + 1]));
    return bytes;
}

std::string PatternBytes(std::size_t length, unsigned seed)
{
    std::string bytes(length, '\0');
    std::uint32_t state = seed * 2654435761u + 1;
    for (char& byte : bytes) {
        state = state * 1664525u + 1013904223u;
        byte = static_cast<char>(state >> 24);
    }
    return bytes;
}

std::string KernelsName(const ::testing::TestParamInfo<HashKernels>& info)
{
    return info.param == HashKernels::Portable ? "Portable" : "Fastest";
}

void PrintTo(HashKernels kernels, std::ostream* out)
{
    *out << (kernels == HashKernels::Portable ? "Portable" : "Fastest");
}
