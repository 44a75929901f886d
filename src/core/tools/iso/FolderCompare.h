#pragma once

#include "core/tools/iso/DiscCompare.h"
#include "core/tools/testpage/TestPageEvents.h"

#include <atomic>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

// The file compares of the ISO page: the disc's VIDEO_TS folder against a
// folder the user chose, and one folder tree against another. Both walk the
// names of both sides in byte order, so a file that only one side has is
// found as well as one whose length or bytes differ; the first difference
// ends the compare. Symbolic links are followed as the files they name; a
// link that loops ends the compare with its path, and a pair of folders
// that links reach again is compared once (the list says how often).
class FolderCompare {
public:
    FolderCompare(TestPageEvents& events, std::atomic<int>& running) : m_events(events), m_running(running) {}

    // chosenIfo: the VIDEO_TS.IFO the user chose, whose folder is compared;
    // discRoot: the folder the disc is mounted on (nullopt: not mounted, and
    // lookedFor says where its mount was looked for). A compare that cannot
    // begin says why and gives the page back.
    CompareEnd DoVideoTSCompare(const std::string& chosenIfo, const std::optional<std::string>& discRoot,
                                const std::string& lookedFor = {});
    CompareEnd DoDirCompare(const std::string& first, const std::string& second);

    // Regular files below a folder, links followed, loops counted once.
    static int CountFolderFiles(const std::string& folder);

    static constexpr std::size_t kVideoChunkBytes = 51200;
    static constexpr std::size_t kFolderChunkBytes = 2048;

private:
    enum class Outcome { Same, Different, Failed, Stopped };
    using FolderId = std::pair<std::uint64_t, std::uint64_t>;  // device, inode

    Outcome CompareFolderTree(const std::string& first, const std::string& second, std::set<FolderId>& firstPath,
                              std::set<FolderId>& secondPath);
    Outcome CompareTwoFiles(const std::string& first, const std::string& second);
    Outcome OpenFailure(const std::string& path);
    void CountMatch();

    TestPageEvents& m_events;
    std::atomic<int>& m_running;
    int m_nFolderFileTotal = 0;
    int m_nFolderFilesDone = 0;
    int m_nLastPercent = 0;
    std::set<std::pair<FolderId, FolderId>> m_comparedFolders;
    int m_nRepeatedFolders = 0;
};

// The names in a folder, in byte order, without "." and ".."; nullopt when
// it cannot be listed.
std::optional<std::vector<std::string>> FolderNames(const std::string& folder);
