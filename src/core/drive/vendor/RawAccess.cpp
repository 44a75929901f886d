#include "core/drive/vendor/RawAccess.h"

#include "core/base/Format.h"
#include "core/drive/vendor/VendorReply.h"

std::string RawAccessNeeded(std::string_view what)
{
    return std::string(what) + " needs raw device access (root, CAP_SYS_RAWIO, or the drive's /dev/sgN node)";
}

std::string RefusedProbe::Message(std::string_view what) const
{
    std::string command;
    for (const std::uint8_t byte : cdb)
        command += Format(command.empty() ? "%02X" : " %02X", byte);
    return RawAccessNeeded(what) + ".\n\nRefused: " + probe + " (" + command + ")";
}

RefusedProbe RefusedProbeOf(const VendorReply& reply, std::string probe)
{
    return {std::move(probe), reply.refusedCdb};
}
