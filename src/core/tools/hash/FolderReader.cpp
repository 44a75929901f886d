#include "core/tools/hash/FolderReader.h"

#include "platform/devices/DiskKind.h"
#include "platform/files/SequentialFile.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>

// What the taker, the readers and the pieces still out share; it lives as
// long as any of them.
struct FolderReader::Shared {
    struct FileState {
        std::deque<FilePiece> pieces;
        bool finished = false;
        FileReadState end = FileReadState::End;
        std::uint64_t size = 0;
        std::string error;
    };

    Shared(const std::vector<FileForHash>& list, FolderReadSettings readSettings) :
        files(list), settings(std::move(readSettings))
    {
    }

    void ReadFile(const std::shared_ptr<Shared>& self, std::size_t index, DiskPool& pool);
    // A piece for file `index`, its memory counted against the budget;
    // empty once stopped. A turn on the disk is let go before waiting for
    // memory, so that the file being taken can always be read.
    std::optional<std::pair<std::uint8_t*, std::unique_ptr<std::uint8_t[]>>>
    Allocate(std::size_t index, std::size_t length, std::unique_lock<std::mutex>& diskTurn);
    FilePiece MakePiece(const std::shared_ptr<Shared>& self, std::size_t index, std::unique_ptr<std::uint8_t[]> memory,
                        std::size_t length);
    void GiveBack(std::size_t index, std::unique_ptr<std::uint8_t[]> memory, std::size_t length);
    void Deliver(std::size_t index, FilePiece piece);
    void Finish(std::size_t index, FileReadState end, std::uint64_t size, std::string error);

    const std::vector<FileForHash>& files;
    const FolderReadSettings settings;
    std::mutex mutex;
    std::condition_variable changed;
    std::map<std::size_t, FileState> states;  // files given to a reader and not yet taken to their end
    std::vector<std::unique_ptr<std::uint8_t[]>> spare;  // full-size pieces given back
    std::size_t head = 0;  // the file being taken
    std::size_t bytesAhead = 0;  // read and not yet given back, of every file
    std::size_t peakBytes = 0;
    std::map<std::size_t, std::size_t> bytesOfFile;  // the same by file
    bool stopping = false;
};

FolderReader::FolderReader(const std::vector<FileForHash>& files, FolderReadSettings settings) :
    m_shared(std::make_shared<Shared>(files, std::move(settings)))
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
    const FolderReadSettings& chosen = m_shared->settings;
    try {
        for (const auto& [device, pool] : byDevice) {
            const std::optional<bool> spinning = chosen.isRotational ? chosen.isRotational(device)
                                                                     : IsRotationalDisk(device);
            pool->spinning = spinning.value_or(false);
            const std::size_t readers = std::max(1u, chosen.readersPerDisk);
            for (std::size_t i = 0; i < std::min(readers, pool->files.size()); ++i)
                m_readers.emplace_back(&FolderReader::ReaderLoop, m_shared, std::ref(*pool));
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
    // Pieces read and never taken hold the shared state: let them go.
    std::map<std::size_t, Shared::FileState> left;
    {
        std::lock_guard lock(m_shared->mutex);
        left.swap(m_shared->states);
    }
}

FileRead FolderReader::Take(std::size_t index)
{
    Shared& shared = *m_shared;
    std::unique_lock lock(shared.mutex);
    if (shared.head != index) {
        shared.head = index;
        shared.changed.notify_all();  // the window of files read ahead moved on
    }
    std::map<std::size_t, Shared::FileState>::iterator state;
    shared.changed.wait(lock, [&] {
        if (shared.stopping)
            return true;
        state = shared.states.find(index);
        return state != shared.states.end() && (!state->second.pieces.empty() || state->second.finished);
    });
    FileRead read;
    if (shared.stopping)
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
    shared.states.erase(state);
    return read;
}

std::size_t FolderReader::PeakBytesAhead() const
{
    std::lock_guard lock(m_shared->mutex);
    return m_shared->peakBytes;
}

void FolderReader::Stop()
{
    std::lock_guard lock(m_shared->mutex);
    m_shared->stopping = true;
    m_shared->changed.notify_all();
}

void FolderReader::ReaderLoop(const std::shared_ptr<Shared>& shared, DiskPool& pool)
{
    std::unique_lock lock(shared->mutex);
    for (;;) {
        shared->changed.wait(lock, [&] {
            return shared->stopping || pool.next >= pool.files.size()
                || pool.files[pool.next] < shared->head + shared->settings.filesAhead;
        });
        if (shared->stopping || pool.next >= pool.files.size())
            return;
        const std::size_t index = pool.files[pool.next++];
        shared->states[index];
        lock.unlock();
        shared->ReadFile(shared, index, pool);
        lock.lock();
    }
}

void FolderReader::Shared::ReadFile(const std::shared_ptr<Shared>& self, std::size_t index, DiskPool& pool)
{
    const FileForHash& file = files[index];
    if (!file.problem.empty()) {
        Finish(index, FileReadState::NotOpened, 0, file.problem);
        return;
    }
    if (settings.beforeRead)
        settings.beforeRead(file.path, 0);
    SequentialFile input;
    std::string error;
    if (!input.Open(file.path, &error)) {
        Finish(index, FileReadState::NotOpened, 0, error);
        return;
    }
    const std::uint64_t size = input.Size();
    {
        std::lock_guard lock(mutex);
        states[index].size = size;
    }
    if (size > settings.pieceBytes)
        input.AdviseSequential();
    // On a spinning disk what is in memory is read at once; the rest waits
    // for this reader's turn, which lasts to the end of the file.
    std::unique_lock<std::mutex> diskTurn(pool.diskTurn, std::defer_lock);
    const auto readPiece = [&](std::uint8_t* at, std::size_t length, std::size_t& got) {
        got = 0;
        if (pool.spinning && !diskTurn.owns_lock()) {
            if (!input.ReadCached(at, length, got, &error))
                return false;
            if (got == length)
                return true;
            diskTurn.lock();
        }
        std::size_t more = 0;
        const bool read = input.ReadFull(at + got, length - got, more, &error);
        got += more;
        return read;
    };
    for (std::uint64_t left = size; left > 0;) {
        const auto length = static_cast<std::size_t>(std::min<std::uint64_t>(left, settings.pieceBytes));
        if (settings.beforeRead && left < size)
            settings.beforeRead(file.path, size - left);
        auto memory = Allocate(index, length, diskTurn);
        if (!memory) {
            Finish(index, FileReadState::Stopped, size, {});
            return;
        }
        // From here the memory goes back to the budget however this ends.
        FilePiece piece = MakePiece(self, index, std::move(memory->second), length);
        std::size_t got = 0;
        const bool read = readPiece(memory->first, length, got);
        if (!read || got < length) {
            Finish(index, FileReadState::ReadFailed, size, read ? "the file became shorter while it was read" : error);
            return;
        }
        Deliver(index, std::move(piece));
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

std::optional<std::pair<std::uint8_t*, std::unique_ptr<std::uint8_t[]>>>
FolderReader::Shared::Allocate(std::size_t index, std::size_t length, std::unique_lock<std::mutex>& diskTurn)
{
    std::unique_ptr<std::uint8_t[]> memory;
    {
        std::unique_lock lock(mutex);
        // The file being taken never waits for files behind it: it has a
        // budget of its own, half the whole, beside what they hold.
        const auto mayGo = [&] {
            if (stopping || bytesAhead + length <= settings.budgetBytes)
                return true;
            const std::size_t own = bytesOfFile.contains(index) ? bytesOfFile[index] : 0;
            return index == head && (own == 0 || own + length <= settings.budgetBytes / 2);
        };
        if (!mayGo() && diskTurn.owns_lock()) {
            lock.unlock();
            diskTurn.unlock();
            lock.lock();
        }
        if (!mayGo() && settings.waitingForMemory)
            settings.waitingForMemory();
        changed.wait(lock, mayGo);
        if (stopping)
            return std::nullopt;
        bytesAhead += length;
        bytesOfFile[index] += length;
        peakBytes = std::max(peakBytes, bytesAhead);
        if (length == settings.pieceBytes && !spare.empty()) {
            memory = std::move(spare.back());
            spare.pop_back();
        }
    }
    if (!memory)
        memory = std::make_unique_for_overwrite<std::uint8_t[]>(length);
    std::uint8_t* bytes = memory.get();
    return std::make_pair(bytes, std::move(memory));
}

FilePiece FolderReader::Shared::MakePiece(const std::shared_ptr<Shared>& self, std::size_t index,
                                          std::unique_ptr<std::uint8_t[]> memory, std::size_t length)
{
    std::uint8_t* bytes = memory.release();
    FilePiece piece;
    piece.length = length;
    try {
        piece.data = std::shared_ptr<const std::uint8_t>(bytes, [self, index, length](const std::uint8_t* given) {
            self->GiveBack(index, std::unique_ptr<std::uint8_t[]>(const_cast<std::uint8_t*>(given)), length);
        });
    } catch (...) {
        GiveBack(index, std::unique_ptr<std::uint8_t[]>(bytes), length);
        throw;
    }
    return piece;
}

void FolderReader::Shared::GiveBack(std::size_t index, std::unique_ptr<std::uint8_t[]> memory, std::size_t length)
{
    std::lock_guard lock(mutex);
    bytesAhead -= length;
    if (const auto own = bytesOfFile.find(index); own != bytesOfFile.end() && (own->second -= length) == 0)
        bytesOfFile.erase(own);
    const std::size_t keep = settings.budgetBytes / std::max<std::size_t>(settings.pieceBytes, 1) + 1;
    if (length == settings.pieceBytes && spare.size() < keep)
        spare.push_back(std::move(memory));
    changed.notify_all();
    // Memory not kept is freed after the lock is let go (declared first, it
    // would be; as a parameter it goes when the call ends).
}

void FolderReader::Shared::Deliver(std::size_t index, FilePiece piece)
{
    std::lock_guard lock(mutex);
    states[index].pieces.push_back(std::move(piece));
    changed.notify_all();
}

void FolderReader::Shared::Finish(std::size_t index, FileReadState end, std::uint64_t size, std::string error)
{
    std::lock_guard lock(mutex);
    FileState& state = states[index];
    state.finished = true;
    state.end = end;
    state.size = size;
    state.error = std::move(error);
    changed.notify_all();
}
