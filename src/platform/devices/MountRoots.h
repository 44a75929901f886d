#pragma once

#include <optional>
#include <string>

// Where the file system of the disc in a drive is mounted, so that tools can
// read the disc's files (a DVD-Video's VIDEO_TS folder).
class MountRoots {
public:
    virtual ~MountRoots() = default;
    // The folder the disc in the drive ("sr0") is mounted on; nullopt when
    // the disc is not mounted or the drive has no file system to mount (an
    // emulated drive).
    virtual std::optional<std::string> MountRootOf(const std::string& driveText) const = 0;
    // Where MountRootOf looks for the drive's mount, for the user ("/dev/sr0
    // in /proc/self/mountinfo").
    virtual std::string WhereMountIsLookedFor(const std::string& driveText) const { return driveText; }
};

// The machine's mounts (mountInfo stands for /proc/self/mountinfo and
// devRoot for /dev, so tests use fixture files): the first mount whose
// source is the drive's device node.
class SystemMountRoots : public MountRoots {
public:
    explicit SystemMountRoots(std::string mountInfo = "/proc/self/mountinfo", std::string devRoot = "/dev") :
        m_mountInfo(std::move(mountInfo)), m_devRoot(std::move(devRoot))
    {
    }
    std::optional<std::string> MountRootOf(const std::string& driveText) const override;
    std::string WhereMountIsLookedFor(const std::string& driveText) const override;

private:
    std::string m_mountInfo;
    std::string m_devRoot;
};

// A mount point field of the mount table: its octal escapes ("\040" for a
// blank) undone.
std::string UnescapeMountField(const std::string& field);

// One line of /proc/self/mountinfo, its fields unescaped.
struct MountInfoEntry {
    std::string device;  // "major:minor"
    std::string root;  // the folder of the file system seen there, "/" for all of it
    std::string mountPoint;
    std::string type;
    std::string source;
};
std::optional<MountInfoEntry> ParseMountInfoLine(const std::string& line);
