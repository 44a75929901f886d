#pragma once

#include "core/tools/hash/FolderListing.h"

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
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
    // Readers at once on a disk without seeks; a spinning disk gets one.
    unsigned readersPerSolidStateDisk = 4;
    // Whether the disk of a file system spins; nullopt: no disk (read in
    // parallel). The machine's disks by default.
    std::function<std::optional<bool>(std::uint64_t device)> isRotational = {};
    // Tests: runs on the reader's thread before a file is opened (offset 0)
    // and before each further piece is read.
    std::function<void(const std::string& path, std::uint64_t offset)> beforeRead = {};
};

// A part of a file's contents, in order.
struct FilePiece {
    std::unique_ptr<std::uint8_t[]> data;
    std::size_t length = 0;
    std::size_t capacity = 0;
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
// order. Readers are pooled by disk, so reads never fight over one: a
// spinning disk is read by one reader, file after file, a disk without
// seeks by a few at once (many small files come in faster so). Large files
// are read in large pieces with sequential read-ahead advised. What is read
// and not yet taken stays within a memory budget.
class FolderReader {
public:
    FolderReader(const std::vector<FileForHash>& files, FolderReadSettings settings = {});
    ~FolderReader();
    FolderReader(const FolderReader&) = delete;
    FolderReader& operator=(const FolderReader&) = delete;

    // The next piece, or the end, of file `index`. Files are taken in the
    // order of the list, each until its end (any state but Piece).
    FileRead Take(std::size_t index);
    // Gives a piece's memory back once its bytes are hashed.
    void Return(FilePiece piece);
    // Ends every read; Take answers Stopped from then on.
    void Stop();

private:
    struct FileState {
        std::deque<FilePiece> pieces;
        bool finished = false;
        FileReadState end = FileReadState::End;
        std::uint64_t size = 0;
        std::string error;
    };
    struct DiskPool {
        std::vector<std::size_t> files;  // indices of the list, in order
        std::size_t next = 0;
    };

    void ReaderLoop(DiskPool& pool);
    void ReadFile(std::size_t index);
    // Memory for a piece of file `index`; empty once stopped.
    std::optional<FilePiece> AllocatePiece(std::size_t index, std::size_t length);
    void Deliver(std::size_t index, FilePiece piece);
    void Finish(std::size_t index, FileReadState end, std::uint64_t size, std::string error);

    const std::vector<FileForHash>& m_files;
    const FolderReadSettings m_settings;
    std::vector<std::unique_ptr<DiskPool>> m_pools;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::map<std::size_t, FileState> m_states;  // files given to a reader and not yet taken to their end
    std::vector<std::unique_ptr<std::uint8_t[]>> m_spare;  // full-size pieces given back
    std::size_t m_head = 0;  // the file being taken
    std::size_t m_bytesAhead = 0;
    bool m_stopping = false;
    std::vector<std::thread> m_readers;
};
