#pragma once

#include <cstdint>
#include <optional>
#include <string>

// Small text files of /sys and /proc that hold one value.

// The file's text without blanks and line ends at either end; empty when it
// cannot be read.
std::string ReadAttribute(const std::string& path);

// The file's whole decimal number; nullopt when it holds anything else.
std::optional<std::uint64_t> ReadAttributeNumber(const std::string& path);

// The file's hexadecimal number, with or without "0x"; nullopt when it holds
// anything else or more than 32 bits.
std::optional<std::uint32_t> ReadAttributeHex(const std::string& path);
