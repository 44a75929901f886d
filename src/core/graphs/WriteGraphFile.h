#pragma once

#include "core/graphs/WriteGraph.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A write-graph file (".ibg", ".mbg") of an outside burning tool: single-byte
// text with a checksum line, read into a WriteGraph for the plot and the
// viewer's displays, and saved back with two comment lines after the checksum
// line. The loaded text is kept for that save.
class WriteGraphFile {
public:
    // Files above this size are refused before they are read, as is anything
    // but a regular file.
    static constexpr std::uintmax_t kMaxFileSize = 256u << 20;
    static constexpr std::size_t kCommentWidth = 40;

    // Reads and checks the file. 0 when it was shown; non-zero when it was
    // refused or a section could not be read, with Messages() saying why (one
    // message box each, in order). A refusal leaves the graph cleared and the
    // displays as far as they were filled.
    int LoadGraphFile(const std::string& path);
    // The same for a file's text already in memory.
    int LoadGraphText(std::string text);

    const WriteGraph& Graph() const { return m_graph; }
    const WriteGraphDisplays& Displays() const { return m_displays; }
    const std::vector<std::string>& Messages() const { return m_messages; }
    bool HasLoadedText() const { return m_hasLoadedText; }
    // Whether a save may write the loaded text back: only after a load that
    // was shown without a fault. A refused file's text is never saved.
    bool CanSave() const { return m_hasLoadedText && m_lastLoadShown; }
    const std::string& LoadedText() const { return m_loadedText; }

    // The text a save writes: the loaded text, from which the comment lines of
    // an earlier save (those after the checksum line) are dropped for good,
    // then "COMMENT1=" and "COMMENT2=" lines of exactly 40 characters each.
    std::string TextForSave(std::string_view comment1, std::string_view comment2);
    // Writes TextForSave to path through a temporary file. False with the
    // message to show when there is nothing to save (CanSave) or the write
    // fails.
    bool SaveGraphFile(const std::string& path, std::string_view comment1, std::string_view comment2,
                       std::string& message);

private:
    struct Configuration;
    struct PassKeys;

    int Refuse(const char* message);
    void ClearGraph();
    // Each returns the refusal message, or null when the file passed.
    const char* CheckForm(std::string_view text) const;
    const char* ReadConfiguration(std::string_view text, Configuration& config);
    const char* ReadPassKeys(std::string_view text, PassKeys& pass);
    void FillDisplays(const Configuration& config, const PassKeys& pass);
    void SetMediaClass(const Configuration& config);
    void SetMarkers();
    int ParseSections(std::string_view text);
    void ReadComments(std::string_view text);

    WriteGraph m_graph;
    WriteGraphDisplays m_displays;
    std::vector<std::string> m_messages;
    std::string m_loadedText;
    bool m_hasLoadedText = false;
    bool m_lastLoadShown = false;
};
