// Fuzz target of the write-graph file reader and the save transformation:
// each input is loaded as it is, then again with its checksum line set right
// so that mutations get past the checksum to the keys and samples.

#include "FuzzCheck.h"
#include "core/graphs/WriteGraphChecksum.h"
#include "core/graphs/WriteGraphFile.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace {

void LoadAndSave(const std::string& text)
{
    WriteGraphFile file;
    const int result = file.LoadGraphText(text);
    Check((result == 0) == file.Messages().empty());
    const WriteGraph& graph = file.Graph();
    Check(graph.layerBreakX >= 0 && graph.layerBreakX <= kGraphMarkerMaxX);
    Check(graph.endOfDataX >= 0 && graph.endOfDataX <= kGraphMarkerMaxX);

    // A save never drops anything up to the end of the checksum line.
    const std::size_t kept = std::min(AfterChecksumLine(text), text.size());
    const std::string saved = file.TextForSave("fuzz comment", "second comment");
    Check(saved.compare(0, kept, text, 0, kept) == 0);
    Check(saved.size() >= kept + 2 * (WriteGraphFile::kCommentWidth + 10));
}

// The input with the checksum line a reader expects after its end marker.
bool WithRightChecksum(std::string& text)
{
    const std::size_t end = ChecksumEnd(text);
    if (end == std::string::npos)
        return false;
    const std::size_t start = end + 2;
    if (text.size() < start + 17)
        text.resize(start + 17, '\n');
    text.replace(start, 16, VerifyChecksum(text));
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    LoadAndSave(text);
    if (WithRightChecksum(text))
        LoadAndSave(text);
    return 0;
}
