#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// A regular file opened for one reading pass from its start to its end.
// Opening never blocks on a pipe put in a file's place, and refuses
// anything that is not a regular file.
class SequentialFile {
public:
    SequentialFile() = default;
    ~SequentialFile();
    SequentialFile(SequentialFile&& other) noexcept;
    SequentialFile& operator=(SequentialFile&& other) noexcept;
    SequentialFile(const SequentialFile&) = delete;
    SequentialFile& operator=(const SequentialFile&) = delete;

    // False, with the reason, when the file cannot be opened or is not a
    // regular file.
    bool Open(const std::string& path, std::string* error = nullptr);
    bool IsOpen() const { return m_fd >= 0; }
    // The size when it was opened.
    std::uint64_t Size() const { return m_size; }
    std::uint64_t Device() const { return m_device; }
    // Tells the system the file is read once from start to end, so that it
    // reads further ahead.
    void AdviseSequential();

    // Fills buffer with the next bytes unless the file ends first; got says
    // how many came. False, with the reason, on a read error.
    bool ReadFull(std::uint8_t* buffer, std::size_t length, std::size_t& got, std::string* error = nullptr);
    // The same, but only what the system holds in memory already: it stops
    // where it would have to wait for the disk. False, with the reason, on a
    // read error.
    bool ReadCached(std::uint8_t* buffer, std::size_t length, std::size_t& got, std::string* error = nullptr);
    void Close();

private:
    int m_fd = -1;
    std::uint64_t m_size = 0;
    std::uint64_t m_device = 0;
    std::uint64_t m_offset = 0;  // of the next read
    bool m_bCachedReadsWork = true;
};
