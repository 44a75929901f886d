#include "platform/files/SafeFile.h"

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

void SetError(std::string* error, const std::string& text)
{
    if (error)
        *error = text;
}

bool WriteAll(int fd, std::string_view data)
{
    while (!data.empty()) {
        const ssize_t written = ::write(fd, data.data(), data.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

// Appends the rest of the file to content, stopping once content holds more
// than limit bytes; false (errno set) on a read error.
bool ReadAll(int fd, std::string& content, std::size_t limit = SIZE_MAX)
{
    char buffer[65536];
    while (content.size() <= limit) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return got == 0;
        content.append(buffer, static_cast<size_t>(got));
    }
    return true;
}

}  // namespace

std::string ErrnoText(int error)
{
    char buffer[256];
    return strerror_r(error, buffer, sizeof buffer);
}

std::string FolderOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string TemporaryPatternBeside(const std::string& path)
{
    // "." + name + ".XXXXXX" must stay a valid name: the name is shortened,
    // never inside a UTF-8 sequence.
    constexpr std::size_t kSuffix = 7;
    std::string name = path.substr(path.find_last_of('/') + 1);
    const std::size_t room = NAME_MAX - 1 - kSuffix;
    if (name.size() > room) {
        std::size_t cut = room;
        while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80)
            --cut;
        name.resize(cut);
    }
    const std::string folder = FolderOf(path);
    return (folder == "/" ? std::string() : folder) + "/." + name + ".XXXXXX";
}

bool MakeFolders(const std::string& folder)
{
    if (folder.empty())
        return true;
    struct stat st {};
    if (::stat(folder.c_str(), &st) == 0)
        return S_ISDIR(st.st_mode);
    const auto slash = folder.find_last_of('/');
    if (slash != std::string::npos && slash > 0 && !MakeFolders(folder.substr(0, slash)))
        return false;
    return ::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
}

bool FileExists(const std::string& path)
{
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

bool WriteFileAtomically(const std::string& path, std::string_view content, std::string* error, unsigned mode)
{
    const std::string temp = TemporaryPatternBeside(path);
    std::vector<char> name(temp.begin(), temp.end());
    name.push_back('\0');
    const int fd = ::mkstemp(name.data());
    if (fd < 0) {
        SetError(error, "cannot create a temporary file beside " + path + ": " + ErrnoText(errno));
        return false;
    }
    bool ok = WriteAll(fd, content) && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
    int failure = ok ? 0 : errno;  // of the first step that failed
    if (::close(fd) != 0 && ok) {
        ok = false;
        failure = errno;
    }
    if (ok && ::rename(name.data(), path.c_str()) == 0)
        return true;
    SetError(error, "cannot write " + path + ": " + ErrnoText(ok ? errno : failure));
    ::unlink(name.data());
    return false;
}

bool ReadWholeFile(const std::string& path, std::string& content, std::string* error)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        SetError(error, "cannot open " + path + ": " + ErrnoText(errno));
        return false;
    }
    content.clear();
    const bool read = ReadAll(fd, content);
    if (!read)
        SetError(error, "cannot read " + path + ": " + ErrnoText(errno));
    ::close(fd);
    return read;
}

ReadFileResult ReadRegularFile(const std::string& path, std::uintmax_t maxSize, std::string& content,
                               std::string* error)
{
    // What is plainly no regular file is not opened at all (opening a device
    // can do something); a pipe that takes its place before the open below
    // does not wait for a writer, as the open does not block.
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
        SetError(error, path + " is not a regular file; not read");
        return ReadFileResult::Failed;
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        SetError(error, "cannot open " + path + ": " + ErrnoText(errno));
        return ReadFileResult::Failed;
    }
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        SetError(error, path + " is not a regular file; not read");
        return ReadFileResult::Failed;
    }
    const auto refuseTooLarge = [&] {
        content.clear();
        SetError(error, path + " is larger than " + std::to_string(maxSize) + " bytes; not read");
        return ReadFileResult::TooLarge;
    };
    if (static_cast<std::uintmax_t>(st.st_size) > maxSize) {
        ::close(fd);
        return refuseTooLarge();
    }
    content.clear();
    content.reserve(static_cast<std::size_t>(st.st_size));
    const bool read = ReadAll(fd, content, static_cast<std::size_t>(maxSize));
    if (!read)
        SetError(error, "cannot read " + path + ": " + ErrnoText(errno));
    ::close(fd);
    if (!read)
        return ReadFileResult::Failed;
    // The file grew while it was read.
    return content.size() > maxSize ? refuseTooLarge() : ReadFileResult::Ok;
}

int OpenPrivateFileForWriting(const std::string& path, std::string* error)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, 0600);
    if (fd < 0) {
        SetError(error, "cannot open " + path + ": " + ErrnoText(errno));
        return -1;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid()) {
        SetError(error, path + " is not a regular file of this user; not used");
        ::close(fd);
        return -1;
    }
    if (::ftruncate(fd, 0) != 0 || ::fchmod(fd, 0600) != 0) {
        SetError(error, "cannot truncate " + path + ": " + ErrnoText(errno));
        ::close(fd);
        return -1;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    return fd;
}

bool MovePrivateFile(const std::string& source, const std::string& target, std::string* error)
{
    struct stat st {};
    if (::lstat(source.c_str(), &st) != 0) {
        if (errno == ENOENT)
            return true;
        SetError(error, "cannot open " + source + ": " + ErrnoText(errno));
        return false;
    }
    if (!S_ISREG(st.st_mode) || st.st_uid != ::geteuid()) {
        SetError(error, source + " is not a regular file of this user; not kept");
        return false;
    }
    if (::rename(source.c_str(), target.c_str()) != 0) {
        SetError(error, "cannot rename " + source + " to " + target + ": " + ErrnoText(errno));
        return false;
    }
    return true;
}

std::optional<std::string> FinalLinkTarget(const std::string& path, std::string* error)
{
    constexpr int kMaxLinks = 40;  // as the kernel allows in one path
    std::string current = path;
    for (int link = 0; link < kMaxLinks; ++link) {
        struct stat st {};
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return current;
        char target[4096];
        const ssize_t length = ::readlink(current.c_str(), target, sizeof target);
        if (length <= 0 || static_cast<size_t>(length) == sizeof target) {
            SetError(error, "cannot read the link " + current + ": " + ErrnoText(length < 0 ? errno : ENAMETOOLONG));
            return std::nullopt;
        }
        const std::string next(target, static_cast<size_t>(length));
        current = next.front() == '/' ? next : FolderOf(current) + "/" + next;
    }
    SetError(error, path + " is a loop of symbolic links");
    return std::nullopt;
}

bool KeepFileAside(const std::string& path, const std::string& aside, std::string* error)
{
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 && errno == ENOENT)
        return true;
    if (::unlink(aside.c_str()) != 0 && errno != ENOENT) {
        SetError(error, "cannot replace " + aside + ": " + ErrnoText(errno));
        return false;
    }
    if (::link(path.c_str(), aside.c_str()) == 0)
        return true;
    if (::rename(path.c_str(), aside.c_str()) == 0)
        return true;
    SetError(error, "cannot keep " + path + " as " + aside + ": " + ErrnoText(errno));
    return false;
}
