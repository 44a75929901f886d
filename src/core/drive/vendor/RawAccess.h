#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct VendorReply;

// What the user is told when the kernel would not pass a vendor command on:
// "<what> needs raw device access (...)", with the ways to grant it.
std::string RawAccessNeeded(std::string_view what);

// A vendor command the kernel refused, for the message.
struct RefusedProbe {
    std::string probe;  // the command's name ("BenqSignature11" ...)
    std::vector<std::uint8_t> cdb;
    // RawAccessNeeded(what), then the command by name and bytes.
    std::string Message(std::string_view what) const;
};

// The refused command of a reply the kernel refused.
RefusedProbe RefusedProbeOf(const VendorReply& reply, std::string probe);
