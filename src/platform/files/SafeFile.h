#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Writes the file through a temporary name in the same folder and renames it
// over the target, so a reader sees the old or the new file, never a part.
// On failure the old file is left as it was and error (when given) says why.
bool WriteFileAtomically(const std::string& path, std::string_view content, std::string* error = nullptr,
                         unsigned mode = 0644);

// Reads a whole file; false (with the reason) when it cannot be read.
bool ReadWholeFile(const std::string& path, std::string& content, std::string* error = nullptr);

// Reads a whole file chosen from outside: only a regular file (a pipe or a
// device could block or never end) of at most maxSize bytes. A path that is
// no regular file is not even opened; both are checked again on the opened
// file before anything is read. Anything but Ok gives the reason in error.
enum class ReadFileResult { Ok, Failed, TooLarge };
ReadFileResult ReadRegularFile(const std::string& path, std::uintmax_t maxSize, std::string& content,
                               std::string* error = nullptr);

// Opens a file in a shared folder for writing by this user only: creates it
// with mode 0600, never follows a symbolic link, refuses anything that is not
// a regular file owned by this user, and truncates it. -1 on failure.
int OpenPrivateFileForWriting(const std::string& path, std::string* error = nullptr);

// Renames source, a regular file of this user, to target (replacing it), so
// nothing is read or copied however large it is; a missing source is success
// with nothing moved. Links are not followed.
bool MovePrivateFile(const std::string& source, const std::string& target, std::string* error = nullptr);

// The name a write of path must replace so that a symbolic link stays a link:
// path itself when it is no link, else the end of its chain of links (which
// need not exist yet). Nullopt, with the reason, for a loop of links or a
// link that cannot be read.
std::optional<std::string> FinalLinkTarget(const std::string& path, std::string* error = nullptr);

// Keeps the file at path, unchanged, under the name aside (replacing what
// was there): as a second hard link, so path stays in place until it is
// rewritten, or by renaming path where the file system has no hard links.
// A missing file is success with nothing kept.
bool KeepFileAside(const std::string& path, const std::string& aside, std::string* error = nullptr);

// Makes the folder and the folders above it that are missing (owner-only);
// true when it is a folder afterwards.
bool MakeFolders(const std::string& folder);

bool FileExists(const std::string& path);
// The folder of a path ("." for a bare name).
std::string FolderOf(const std::string& path);
// The mkstemp pattern of a hidden temporary file beside path, its name
// shortened so that it fits NAME_MAX whatever the length of path's name.
std::string TemporaryPatternBeside(const std::string& path);
std::string ErrnoText(int error);
