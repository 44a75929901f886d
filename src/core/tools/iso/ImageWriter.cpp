#include "core/tools/iso/ImageWriter.h"

#include "platform/files/StagedFile.h"

ImageWriter::ImageWriter(StagedFile& file) : m_file(file)
{
    m_filling.reserve(2 * kPieceBytes);
    m_writing.reserve(2 * kPieceBytes);
    m_thread = std::thread([this] { Loop(); });
}

ImageWriter::~ImageWriter()
{
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

bool ImageWriter::Append(const std::uint8_t* data, std::size_t size, std::string& error)
{
    m_filling.insert(m_filling.end(), data, data + size);
    return m_filling.size() < kPieceBytes || HandOver(error);
}

bool ImageWriter::Finish(std::string& error)
{
    if (!m_filling.empty() && !HandOver(error))
        return false;
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return !m_busy; });
    if (m_error) {
        error = *m_error;
        return false;
    }
    return true;
}

bool ImageWriter::HandOver(std::string& error)
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return !m_busy; });
    if (m_error) {
        error = *m_error;
        return false;
    }
    std::swap(m_filling, m_writing);
    m_filling.clear();
    m_busy = true;
    lock.unlock();
    m_changed.notify_all();
    return true;
}

void ImageWriter::Loop()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_busy || m_stop; });
        if (!m_busy)
            return;
        lock.unlock();
        std::string error;
        const bool written = m_file.Write(m_writing.data(), m_writing.size(), &error);
        lock.lock();
        if (!written)
            m_error = error;
        m_busy = false;
        m_changed.notify_all();
    }
}
