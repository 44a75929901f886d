#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

// A large file written piece by piece under a temporary name beside its final
// name, and given the final name only by Commit: a reader of the final name
// never sees a part of it, and a file left unfinished is removed when the
// object goes. What stood under the final name stays until the commit.
class StagedFile {
public:
    // Null (error says why) when no file can be made in the target's folder.
    static std::unique_ptr<StagedFile> Create(const std::string& path, std::string* error = nullptr);
    ~StagedFile();
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    // Every byte or nothing: false (error says why) when the system took less.
    bool Write(const void* data, std::size_t size, std::string* error = nullptr);
    // Flushes the data to the disk, closes the file and renames it to its
    // final name. False (error says why) leaves nothing under the final name
    // that was not there before.
    bool Commit(std::string* error = nullptr);

    const std::string& Path() const { return m_path; }
    const std::string& TemporaryPath() const { return m_temporaryPath; }
    std::uint64_t BytesWritten() const { return m_written; }

private:
    StagedFile(std::string path, std::string temporaryPath, int fd);
    void Abandon();

    std::string m_path;
    std::string m_temporaryPath;
    int m_fd;
    std::uint64_t m_written = 0;
    std::uint64_t m_handedToDisk = 0;  // written bytes whose writeback has been started
    bool m_committed = false;
};

// Bytes an ordinary user may still write on the file system that holds the
// folder of path (the path itself need not exist); nullopt when unknown.
std::optional<std::uint64_t> FreeBytesForFile(const std::string& path);
