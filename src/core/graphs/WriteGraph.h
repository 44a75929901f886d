#pragma once

#include "core/base/ColorRef.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The lines that open and close the sample sections of a write-graph file.
constexpr std::string_view kStartWriteMarker = "[START_WRITE_GRAPH_VALUES]";
constexpr std::string_view kEndWriteMarker = "[END_WRITE_GRAPH_VALUES]";
constexpr std::string_view kStartVerifyMarker = "[START_VERIFY_GRAPH_VALUES]";
constexpr std::string_view kEndVerifyMarker = "[END_VERIFY_GRAPH_VALUES]";

// The medium a write-graph file describes; it sets the plot's scales.
enum class GraphMediaClass { Dvd, Cd, HdDvd, Bd };

// One sample of the write pass. speed is the multiple of 1x, buffer and cpu
// percentages, each times 100; -100 marks a missing percentage.
struct WriteGraphSample {
    int speed;
    int sector;
    int rpm;
    int buffer;
    int cpu;
};

// One sample of the verify pass, in the same units.
struct VerifyGraphSample {
    int speed;
    int sector;
    int rpm;
    int cpu;
};

// The end-of-data and layer-break lines are drawn in this colour and never
// right of this column of the 451-pixel plot.
constexpr COLORREF kGraphMarkerColour = 0x0064FF;
constexpr int kGraphMarkerMaxX = 449;

// What a loaded graph file gives the plot.
struct WriteGraph {
    std::string version;  // "1" or "2"
    bool cdFlag = false;
    GraphMediaClass mediaClass = GraphMediaClass::Dvd;
    bool dualLayer = false;
    std::int64_t mediaCapacity = 0;
    std::int64_t dataSectors = 0;
    std::int64_t layerBreak = 0;  // for BD as the capacity rule may set it
    double averageSpeed = 0;  // the file's average speed, for the BD rotation
    std::array<std::string, 4> xAxisCaptions{"1GB", "2GB", "3GB", "4GB"};
    int layerBreakX = 0;  // 0: no line
    bool layerBreakDrawn = true;
    int endOfDataX = 0;  // 0: no line
    bool hasWriteSection = false;
    bool hasVerifySection = false;
    std::vector<WriteGraphSample> writeSamples;
    std::vector<VerifyGraphSample> verifySamples;

    int Layers() const { return dualLayer ? 2 : 1; }
    // Sectors that one pixel column of the plot stands for on one layer.
    int SectorsPerColumn() const
    {
        switch (mediaClass) {
        case GraphMediaClass::Bd: return 30720;
        case GraphMediaClass::HdDvd: return 20480;
        case GraphMediaClass::Cd: return 1024;
        case GraphMediaClass::Dvd: break;
        }
        return 5120;
    }
};

// The viewer's text displays. They keep what a previous load put there until
// a later load overwrites them.
struct WriteGraphDisplays {
    std::string device;  // "model firmware (bus)", or the first comment
    std::string comment;  // the second comment, or the hint to edit it
    std::string dateTime;
    std::string mediaType;
    std::string bookType;
    std::string mediaId;
    std::string capacity;
    std::string dataSectors;
    std::string dataType;
    std::string sampleRate;
    std::string burnTime;
    std::string timeLabel = "Burn Time";
    std::string writeTestMode;
    std::string speedSelected;
    std::string speedStart;
    std::string speedEnd;
    std::string speedAverage;
    std::string speedMax;
};
