#pragma once

#include "platform/passthrough/PassThrough.h"

#include <cstdint>
#include <string>
#include <vector>

// What a vendor command (or a short sequence of them) came back with.
// `value` is what the wrapper reads from the answer, -1 when the drive
// refused; set commands give the channel's result (0 taken, 1 not). A
// command the kernel would not pass on never reached the drive: that says
// nothing about the drive's family and is told apart here.
struct VendorReply {
    int value = -1;
    PassThroughError error = PassThroughError::None;  // the first command of the sequence that was not delivered
    std::string reason;  // why, for the user
    std::vector<std::uint8_t> refusedCdb;  // the command that was not delivered

    bool KernelRefused() const { return error == PassThroughError::KernelRefused; }
    // Takes a later command's value, and its refusal unless one came before.
    void Then(const VendorReply& later)
    {
        value = later.value;
        if (error == PassThroughError::None)
            *this = VendorReply{later.value, later.error, later.reason, later.refusedCdb};
    }
};
