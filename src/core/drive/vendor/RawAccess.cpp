#include "core/drive/vendor/RawAccess.h"

#include "core/drive/vendor/VendorReply.h"

std::string RefusedProbe::Message(std::string_view what) const
{
    return RawAccessRefusal(std::string(what), probe, cdb);
}

RefusedProbe RefusedProbeOf(const VendorReply& reply, std::string probe)
{
    return {std::move(probe), reply.refusedCdb};
}
