#pragma once

#include "core/tools/hash/FolderListing.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

struct FolderReadSettings {
    // Large files are read in pieces of this size; smaller ones in one piece.
    std::size_t pieceBytes = std::size_t{4} << 20;
    // How much may be read ahead of the digests.
    std::size_t budgetBytes = std::size_t{64} << 20;
    std::size_t filesAhead = 1024;
    // Readers at once per disk. On a spinning disk they read at once only
    // what the system holds in memory; for the rest they take turns.
    unsigned readersPerDisk = 4;
    // Whether the disk of a file system spins; nullopt: no disk (read as
    // one without seeks). The machine's disks by default.
    std::function<std::optional<bool>(std::uint64_t device)> isRotational = {};
    // Tests: runs on the reader's thread before a file is opened (offset 0)
    // and before each further piece is read.
    std::function<void(const std::string& path, std::uint64_t offset)> beforeRead = {};
    // Tests: runs on a reader's thread when it waits for memory to come back.
    std::function<void()> waitingForMemory = {};
};

// A part of a file's contents, in order. Its memory goes back to the reader
// when the last copy of data is let go, also after the reader has gone.
struct FilePiece {
    std::shared_ptr<const std::uint8_t> data;
    std::size_t length = 0;
};

enum class FileReadState {
    Piece,  // the next piece of the file
    End,  // the whole file has been given, its length as it was opened
    NotOpened,  // nothing of it was read
    ReadFailed,  // a read failed, or the file changed its length while read
    Stopped,
};

struct FileRead {
    FileReadState state = FileReadState::Stopped;
    FilePiece piece;
    std::uint64_t size = 0;  // of the open file
    std::string error;  // why it could not be opened or read
};

// Reads the files of a folder hash ahead of the digests, which take them in
// order. Readers are pooled by disk, a few per disk, so that many small files
// come in faster, and reads never fight over a spinning disk: there what is
// in memory already is read at once, and what must come from the disk is
// read by one reader at a time, a whole file in one turn. Large files are
// read in large pieces with sequential read-ahead advised. What is read and
// not yet hashed stays within a memory budget.
class FolderReader {
public:
    FolderReader(const std::vector<FileForHash>& files, FolderReadSettings settings = {});
    ~FolderReader();
    FolderReader(const FolderReader&) = delete;
    FolderReader& operator=(const FolderReader&) = delete;

    // The next piece, or the end, of file `index`. Files are taken in the
    // order of the list, each until its end (any state but Piece).
    FileRead Take(std::size_t index);
    // Ends every read; Take answers Stopped from then on.
    void Stop();
    // The most memory that pieces read and not yet let go ever held.
    std::size_t PeakBytesAhead() const;

private:
    struct Shared;
    struct DiskPool {
        std::vector<std::size_t> files;  // indices of the list, in order
        std::size_t next = 0;
        bool spinning = false;
        std::mutex diskTurn;  // held by the reader waiting for a spinning disk
    };

    static void ReaderLoop(const std::shared_ptr<Shared>& shared, DiskPool& pool);

    std::shared_ptr<Shared> m_shared;
    std::vector<std::unique_ptr<DiskPool>> m_pools;
    std::vector<std::thread> m_readers;
};
