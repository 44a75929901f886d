#include "core/tools/hash/FolderReader.h"

#include "platform/devices/DiskKind.h"
#include "platform/files/SequentialFile.h"

#include <algorithm>

FolderReader::FolderReader(const std::vector<FileForHash>& files, FolderReadSettings settings) :
    m_files(files), m_settings(std::move(settings))
{
    std::map<std::uint64_t, DiskPool*> byDevice;
    for (std::size_t index = 0; index < files.size(); ++index) {
        DiskPool*& pool = byDevice[files[index].device];
        if (!pool) {
            m_pools.push_back(std::make_unique<DiskPool>());
            pool = m_pools.back().get();
        }
        pool->files.push_back(index);
    }
    try {
        for (const auto& [device, pool] : byDevice) {
            const std::optional<bool> spinning =
                m_settings.isRotational ? m_settings.isRotational(device) : IsRotationalDisk(device);
            const std::size_t readers = spinning.value_or(false) ? 1 : std::max(1u, m_settings.readersPerSolidStateDisk);
            for (std::size_t i = 0; i < std::min(readers, pool->files.size()); ++i)
                m_readers.emplace_back(&FolderReader::ReaderLoop, this, std::ref(*pool));
        }
    } catch (...) {
        Stop();
        for (std::thread& reader : m_readers)
            reader.join();
        throw;
    }
}

FolderReader::~FolderReader()
{
    Stop();
    for (std::thread& reader : m_readers)
        reader.join();
}

FileRead FolderReader::Take(std::size_t index)
{
    std::unique_lock lock(m_mutex);
    if (m_head != index) {
        m_head = index;
        m_changed.notify_all();  // the window of files read ahead moved on
    }
    std::map<std::size_t, FileState>::iterator state;
    m_changed.wait(lock, [&] {
        if (m_stopping)
            return true;
        state = m_states.find(index);
        return state != m_states.end() && (!state->second.pieces.empty() || state->second.finished);
    });
    FileRead read;
    if (m_stopping)
        return read;
    read.size = state->second.size;
    if (!state->second.pieces.empty()) {
        read.state = FileReadState::Piece;
        read.piece = std::move(state->second.pieces.front());
        state->second.pieces.pop_front();
        return read;
    }
    read.state = state->second.end;
    read.error = std::move(state->second.error);
    m_states.erase(state);
    return read;
}

void FolderReader::Return(FilePiece piece)
{
    std::lock_guard lock(m_mutex);
    m_bytesAhead -= piece.length;
    const std::size_t keep = m_settings.budgetBytes / std::max<std::size_t>(m_settings.pieceBytes, 1) + 1;
    if (piece.data && piece.capacity == m_settings.pieceBytes && m_spare.size() < keep)
        m_spare.push_back(std::move(piece.data));
    m_changed.notify_all();
}

void FolderReader::Stop()
{
    std::lock_guard lock(m_mutex);
    m_stopping = true;
    m_changed.notify_all();
}

void FolderReader::ReaderLoop(DiskPool& pool)
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [&] {
            return m_stopping || pool.next >= pool.files.size()
                || pool.files[pool.next] < m_head + m_settings.filesAhead;
        });
        if (m_stopping || pool.next >= pool.files.size())
            return;
        const std::size_t index = pool.files[pool.next++];
        m_states[index];
        lock.unlock();
        ReadFile(index);
        lock.lock();
    }
}

void FolderReader::ReadFile(std::size_t index)
{
    const FileForHash& file = m_files[index];
    if (!file.problem.empty()) {
        Finish(index, FileReadState::NotOpened, 0, file.problem);
        return;
    }
    if (m_settings.beforeRead)
        m_settings.beforeRead(file.path, 0);
    SequentialFile input;
    std::string error;
    if (!input.Open(file.path, &error)) {
        Finish(index, FileReadState::NotOpened, 0, error);
        return;
    }
    const std::uint64_t size = input.Size();
    {
        std::lock_guard lock(m_mutex);
        m_states[index].size = size;
    }
    if (size > m_settings.pieceBytes)
        input.AdviseSequential();
    for (std::uint64_t left = size; left > 0;) {
        const auto length = static_cast<std::size_t>(std::min<std::uint64_t>(left, m_settings.pieceBytes));
        if (m_settings.beforeRead && left < size)
            m_settings.beforeRead(file.path, size - left);
        std::optional<FilePiece> piece = AllocatePiece(index, length);
        if (!piece) {
            Finish(index, FileReadState::Stopped, size, {});
            return;
        }
        std::size_t got = 0;
        const bool read = input.ReadFull(piece->data.get(), length, got, &error);
        if (!read || got < length) {
            Return(std::move(*piece));
            Finish(index, FileReadState::ReadFailed, size, read ? "the file became shorter while it was read" : error);
            return;
        }
        Deliver(index, std::move(*piece));
        left -= length;
    }
    std::uint8_t more = 0;
    std::size_t got = 0;
    if (!input.ReadFull(&more, 1, got, &error))
        Finish(index, FileReadState::ReadFailed, size, error);
    else if (got != 0)
        Finish(index, FileReadState::ReadFailed, size, "the file grew while it was read");
    else
        Finish(index, FileReadState::End, size, {});
}

std::optional<FilePiece> FolderReader::AllocatePiece(std::size_t index, std::size_t length)
{
    FilePiece piece;
    {
        std::unique_lock lock(m_mutex);
        // The file being taken always gets memory, so that it never waits
        // for files behind it.
        m_changed.wait(lock, [&] {
            return m_stopping || index == m_head || m_bytesAhead + length <= m_settings.budgetBytes;
        });
        if (m_stopping)
            return std::nullopt;
        m_bytesAhead += length;
        if (length == m_settings.pieceBytes && !m_spare.empty()) {
            piece.data = std::move(m_spare.back());
            m_spare.pop_back();
        }
    }
    if (!piece.data)
        piece.data = std::make_unique_for_overwrite<std::uint8_t[]>(length);
    piece.capacity = length;
    piece.length = length;
    return piece;
}

void FolderReader::Deliver(std::size_t index, FilePiece piece)
{
    std::lock_guard lock(m_mutex);
    m_states[index].pieces.push_back(std::move(piece));
    m_changed.notify_all();
}

void FolderReader::Finish(std::size_t index, FileReadState end, std::uint64_t size, std::string error)
{
    std::lock_guard lock(m_mutex);
    FileState& state = m_states[index];
    state.finished = true;
    state.end = end;
    state.size = size;
    state.error = std::move(error);
    m_changed.notify_all();
}
