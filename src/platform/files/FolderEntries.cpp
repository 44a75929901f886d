#include "platform/files/FolderEntries.h"

#include "platform/files/SafeFile.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>

namespace {

EntryKind KindOf(mode_t mode)
{
    if (S_ISREG(mode))
        return EntryKind::RegularFile;
    if (S_ISDIR(mode))
        return EntryKind::Folder;
    return EntryKind::Other;
}

void Describe(const struct stat& info, FolderEntry& entry)
{
    entry.kind = KindOf(info.st_mode);
    entry.device = static_cast<std::uint64_t>(info.st_dev);
    entry.inode = static_cast<std::uint64_t>(info.st_ino);
    entry.size = S_ISREG(info.st_mode) ? static_cast<std::uint64_t>(info.st_size) : 0;
}

// Looks at name in the folder open as dirFd, following a link; a link that
// leads nowhere is told apart from a name that cannot be looked at.
void LookAt(int dirFd, FolderEntry& entry)
{
    struct stat info {};
    if (::fstatat(dirFd, entry.name.c_str(), &info, 0) == 0) {
        Describe(info, entry);
        return;
    }
    const int failure = errno;
    struct stat link {};
    if (failure == ENOENT && ::fstatat(dirFd, entry.name.c_str(), &link, AT_SYMLINK_NOFOLLOW) == 0
        && S_ISLNK(link.st_mode)) {
        entry.kind = EntryKind::DanglingLink;
        return;
    }
    entry.kind = EntryKind::Unknown;
    entry.error = ErrnoText(failure);
}

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

}  // namespace

bool ListFolderEntries(const std::string& folder, std::vector<FolderEntry>& entries, std::string* error)
{
    entries.clear();
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        if (error)
            *error = ErrnoText(errno);
        return false;
    }
    std::unique_ptr<DIR, DirCloser> dir(::fdopendir(fd));
    if (!dir) {
        const int failure = errno;
        ::close(fd);
        if (error)
            *error = ErrnoText(failure);
        return false;
    }
    for (;;) {
        errno = 0;
        const dirent* found = ::readdir(dir.get());
        if (!found) {
            if (errno != 0) {
                if (error)
                    *error = ErrnoText(errno);
                return false;
            }
            return true;
        }
        if (std::strcmp(found->d_name, ".") == 0 || std::strcmp(found->d_name, "..") == 0)
            continue;
        FolderEntry entry;
        entry.name = found->d_name;
        LookAt(::dirfd(dir.get()), entry);
        entries.push_back(std::move(entry));
    }
}

bool LookAtPath(const std::string& path, FolderEntry& entry, std::string* error)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        entry.kind = EntryKind::Unknown;
        entry.error = ErrnoText(errno);
        if (error)
            *error = entry.error;
        return false;
    }
    Describe(info, entry);
    return true;
}
