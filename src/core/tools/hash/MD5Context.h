#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

// The MD5 message digest of RFC 1321: Init, any number of Update calls, then
// Final, which leaves the 16 digest bytes in digest and clears the rest, so
// Init must run again before the object is reused.
struct MD5Context {
    MD5Context() { Init(); }

    void Init();
    void Update(const char* data, unsigned length);
    void Final();

    std::uint32_t state[4];
    std::uint32_t bitCount[2];  // bits fed, modulo 2^64, low word first
    std::uint8_t buffer[64];
    std::uint8_t digest[16] = {};

private:
    void Transform(const std::uint8_t* blocks, std::size_t blockCount);
    static void Encode(std::uint8_t* output, const std::uint32_t* input, unsigned length);
};

// The 32 lower-case hex digits of an MD5 digest, zero-terminated.
std::unique_ptr<char[]> MD5DigestToHex(const std::uint8_t digest[16]);

// The hex MD5 of a whole file; null when it cannot be opened or read.
std::unique_ptr<char[]> MD5File(const char* path);
