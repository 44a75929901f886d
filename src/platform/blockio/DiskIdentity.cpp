#include "platform/blockio/DiskIdentity.h"

#include "platform/files/AttributeFiles.h"

#include <filesystem>
#include <initializer_list>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <system_error>

namespace fs = std::filesystem;

namespace {

std::string FirstAttribute(const fs::path& folder, std::initializer_list<const char*> names)
{
    for (const char* name : names)
        if (std::string value = ReadAttribute((folder / name).string()); !value.empty())
            return value;
    return {};
}

}  // namespace

bool SameDisk(const DiskIdentity& a, const DiskIdentity& b)
{
    if (a.device != b.device || a.regularFile != b.regularFile)
        return false;
    if (a.sequence && b.sequence)
        return *a.sequence == *b.sequence;
    return a.inode == b.inode && a.model == b.model && a.serial == b.serial && a.sizeBytes == b.sizeBytes;
}

DiskIdentity DiskIdentityOf(const struct stat& info, std::uint64_t sizeBytes, const std::string& sysRoot)
{
    DiskIdentity identity;
    identity.sizeBytes = sizeBytes;
    if (!S_ISBLK(info.st_mode)) {
        identity.regularFile = true;
        identity.device = info.st_dev;
        identity.inode = info.st_ino;
        return identity;
    }
    identity.device = info.st_rdev;
    const std::string number = std::to_string(major(info.st_rdev)) + ":" + std::to_string(minor(info.st_rdev));
    std::error_code error;
    fs::path disk = fs::canonical(fs::path(sysRoot) / "dev/block" / number, error);
    if (error)
        return identity;
    if (fs::exists(disk / "partition", error))  // a partition: the disk it lies on tells
        disk = disk.parent_path();
    identity.sequence = ReadAttributeNumber((disk / "diskseq").string());
    const std::string vendor = ReadAttribute((disk / "device/vendor").string());
    const std::string model = FirstAttribute(disk / "device", {"model", "name"});
    identity.model = vendor.empty() ? model : model.empty() ? vendor : vendor + " " + model;
    identity.serial = FirstAttribute(disk, {"device/serial", "serial", "device/wwid", "loop/backing_file"});
    return identity;
}
