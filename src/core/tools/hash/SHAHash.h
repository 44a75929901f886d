#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The digest a SHAHash computes. Stored as an int: values outside 1 to 5 are
// kept and refused by Init, Update and Finish.
enum SHA_TYPE : int {
    SHA_TYPE_1 = 1,
    SHA_TYPE_224 = 2,
    SHA_TYPE_256 = 3,
    SHA_TYPE_384 = 4,
    SHA_TYPE_512 = 5,
};

// SHA-1, SHA-224, SHA-256, SHA-384 or SHA-512 of FIPS 180-2 with a lower-case
// hex result: Init(type), any number of Update calls, Finish, GetHexDigest.
// Failures throw std::runtime_error ("Invalid SHA_TYPE type!",
// "Unfinished execution!").
class SHAHash {
public:
    SHAHash();

    void Init(SHA_TYPE type);
    void Update(const char* data, unsigned length);
    // Closes the message and returns its hex digest; later calls return the
    // same digest until Init starts a new message.
    std::string Finish();
    const char* GetHexDigest() const;

private:
    using Block64Function = void (*)(std::uint32_t* state, const std::uint8_t* blocks, std::size_t count);

    void Update64(const std::uint8_t* data, unsigned length, Block64Function processBlocks);
    void Update128(const std::uint8_t* data, unsigned length);
    void Final64(Block64Function processBlocks);
    void Final128();
    static void ProcessBlockSHA1(std::uint32_t* state, const std::uint8_t* blocks, std::size_t count);
    static void ProcessBlockSHA256(std::uint32_t* state, const std::uint8_t* blocks, std::size_t count);
    void ProcessBlockSHA512(const std::uint8_t* blocks, std::size_t count);
    void BuildHexDigest();

    SHA_TYPE m_type;
    std::string m_digest;
    bool m_finished;
    char m_hexText[129];
    std::uint8_t m_digestBytes[64];
    union {
        std::uint32_t words32[16];
        std::uint64_t words64[8];
    } m_state;
    std::uint64_t m_bitCount[2];  // low, high
    std::uint8_t m_block[128];
};
