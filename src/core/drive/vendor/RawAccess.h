#pragma once

#include "core/drive/CommandFailure.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct VendorReply;

// A vendor command the kernel refused, for the message.
struct RefusedProbe {
    std::string probe;  // the command's name ("BenqSignature11" ...)
    std::vector<std::uint8_t> cdb;
    // RawAccessRefusal(what, probe, cdb): the ways to grant the access, then the command.
    std::string Message(std::string_view what) const;
};

// The refused command of a reply the kernel refused.
RefusedProbe RefusedProbeOf(const VendorReply& reply, std::string probe);
