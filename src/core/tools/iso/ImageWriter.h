#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

class StagedFile;

// Writes an image file in pieces of about a megabyte on a thread of its own,
// so that reading the disc and writing the file go on at the same time. The
// first write error is kept and returned by the next call; nothing is
// written after it.
class ImageWriter {
public:
    explicit ImageWriter(StagedFile& file);
    // Waits for the piece being written; what was not handed over is dropped.
    ~ImageWriter();
    ImageWriter(const ImageWriter&) = delete;
    ImageWriter& operator=(const ImageWriter&) = delete;

    bool Append(const std::uint8_t* data, std::size_t size, std::string& error);
    // Writes everything appended and waits until it is written.
    bool Finish(std::string& error);

    static constexpr std::size_t kPieceBytes = std::size_t{1} << 20;

private:
    bool HandOver(std::string& error);
    void Loop();

    StagedFile& m_file;
    std::vector<std::uint8_t> m_filling;
    std::vector<std::uint8_t> m_writing;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_busy = false;
    bool m_stop = false;
    std::optional<std::string> m_error;
    std::thread m_thread;
};
