#pragma once

#include "core/base/ColorRef.h"
#include "core/graphs/LockedGraph.h"
#include "core/graphs/WriteGraph.h"

#include <cstdint>
#include <vector>

// Plot geometry of the rate graph: 451 columns over 401 rows for the rate
// curves and the block map, 435 rows for the write-graph plot.
constexpr int kRatePlotWidth = 451;
constexpr int kRatePlotHeight = 401;
constexpr int kWriteGraphPlotHeight = 435;
constexpr int kRateCurveCapacity = 4510;

// One rate curve: its start point and the points appended since (plot
// pixels, computed by the test that feeds it).
struct RateCurve {
    int originX = 0;
    int originY = 320;
    std::vector<int> x;
    std::vector<int> y;

    std::size_t Count() const { return x.size(); }
};

// The picture the rate graph shows: chosen from what it holds.
enum class RatePicture { Curves, WriteGraph, ErrorMap };

// Everything the rate graph keeps. Flags are 0 or 1.
struct RateGraphState {
    // Write-graph plot.
    int averaged = 1;  // 0: sampled mode
    int showWriteCpu = 1;
    int showVerifyCpu = 1;
    int showWriteBuffer = 1;
    int showVerifyRpm = 1;
    int showWriteRpm = 1;
    int writeGraphMode = 0;  // an empty graph paints the write-graph plot
    int cdMedia = 0;
    std::uint8_t bdMedia = 0;
    std::uint8_t hdDvdMedia = 0;
    // Rate plot: the curves shown; on the write-graph plot the write (RPM
    // flag) and verify (speed flag) passes.
    int showRpm = 1;
    int showSpeed = 0;
    int endMarkerX = 0;  // 0: no line
    COLORREF endMarkerColor = 0;
    COLORREF gridColor = RGB(0, 0xFF, 0);
    COLORREF dimGridColor = RGB(0, 0x84, 0);
    COLORREF backgroundColor = 0;  // the owner sets it before the graph is shown
    int layerBreakX = 0;  // 0: no line
    COLORREF layerBreakColor = 0;
    int layerBreakDraw = 1;  // the write-graph plot draws the layer break only when 1
    int errorMapLayerBreakY = 0;  // 0: no line
    COLORREF errorMapLayerBreakColor = 0;
    COLORREF speedColor = RGB(0xFF, 0xFF, 0);
    COLORREF rpmColor = RGB(0, 0xFF, 0);
    RateCurve speed;
    RateCurve rpm;
    // The x of the previous AddRpmPoint; a point is taken only right of it.
    int previousRpmX = 0;
    // Block map.
    int blockCounter = 0;
    int mode = -1;  // -1 new, 0 after ClearGraph, 1 after ClearErrorMap (block map)
    std::vector<int> badBlocks;
    std::vector<int> retriedBlocks;
    // Write graph: one entry a sample, a missing percentage being -100.
    std::vector<WriteGraphSample> writeSamples;
    std::vector<VerifyGraphSample> verifySamples;
    int writePairCount = 0;  // samples that carry a buffer or CPU value
    int verifyPairCount = 0;  // samples that carry a CPU value
    int sampleShift = 0;

    RatePicture Picture() const;
};

// Fixed pens of the write-graph plot's verify pass.
constexpr COLORREF kVerifySpeedPen = RGB(0, 0xFF, 0xFF);
constexpr COLORREF kVerifyRpmPen = RGB(0xFF, 0, 0xFF);
// Block map fills.
constexpr COLORREF kGoodBlockColor = RGB(0, 0xB4, 0);
constexpr COLORREF kBadBlockColor = RGB(0xFF, 0, 0);
constexpr COLORREF kRetriedBlockColor = RGB(0xFF, 0xFF, 0xFF);

// The rate graph: read-speed and rotation curves of the speed tests, the
// block map of the read-error tests, and the write and verify passes of a
// write-graph file. Tests feed it from their worker thread while the GUI
// thread paints it, each under the graph's lock (LockedGraph); appended rate
// points keep the revision.
class RateGraph : public LockedGraph<RateGraphState> {
public:
    RateGraph() = default;

    // Rate curves. A full curve (4,510 points) drops further points.
    void AddSpeedPoint(int x, int y);
    // Taken only when x lies right of the previous call's x (which every
    // call updates, and ClearGraph resets to 0).
    void AddRpmPoint(int x, int y);
    void SetSpeedOrigin(int x, int y);
    void SetRpmOrigin(int x, int y);
    // The speed curve drawn so far (its origin too) brought to a new scale:
    // each height above the bottom line baseY multiplied by numerator /
    // denominator; repaints.
    void ScaleSpeedCurve(int baseY, int numerator, int denominator);

    // Markers; (0, 0) removes one. No repaint.
    void SetCapacityMarker(int x, COLORREF colour);
    void SetLayerBreakMarker(int x, COLORREF colour, int drawFlag);
    void SetErrorMapLayerBreak(int y, COLORREF colour);

    // Colours; each repaints the whole graph.
    void SetSpeedColor(COLORREF colour);
    void SetRpmColor(COLORREF colour);
    void SetMarkerColor(COLORREF colour);
    // Both layer-break lines (rate plot and block map).
    void SetLayerBreakColor(COLORREF colour);
    void SetGridColors(COLORREF grid, COLORREF dimGrid, COLORREF background);

    void ShowRpmCurve(int flag);
    void ShowSpeedCurve(int flag);

    // Block map. No repaint: the test calls Redraw to show its progress.
    void NextErrorBlock();
    void MarkBlockBad();
    void MarkBlockRecovered();

    // Curves, markers, block counter and write-graph samples emptied, mode 0;
    // the bad and retried lists stay. No repaint.
    void ClearGraph();
    // ClearGraph, then an empty block map (mode 1) without markers; repaints.
    void ClearErrorMap();

    // Write graph. speed, buffer and CPU are times 100, -100 where missing.
    void AddWriteSample(int speed, int sector, int rpm, int buffer, int cpu);
    void AddVerifySample(int speed, int sector, int rpm, int cpu);
    // A whole loaded file's samples under one lock.
    void AddWriteGraphSamples(const std::vector<WriteGraphSample>& write, const std::vector<VerifyGraphSample>& verify);
    void SetWriteGraphMode(int flag);
    void SetMediaFlags(int cd, int bd, int hdDvd);
    // Sampled mode: samples skipped before each one taken; repaints only
    // while the averaged flag is 0.
    void SetSampleShift(int samples);
    void SetAveraged(int flag);
    // The write-graph plot's own curve toggles; each repaints.
    void ShowWriteCpu(int flag);
    void ShowVerifyCpu(int flag);
    void ShowWriteBuffer(int flag);
    void ShowVerifyRpm(int flag);
    void ShowWriteRpm(int flag);

    bool HasWriteGraphSamples() const;
};
