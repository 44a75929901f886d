// Painting the scan graphs and the write-graph viewer, offscreen.
//
// A PI/PIF/PO/jitter scan of a dual-layer DVD, one point per ECC block
// (260,864 blocks) in every series, is painted from nothing into the upper
// and the lower graph widget at their window size. Goals: the full paint of
// both under 16 ms (one frame), and one point added during a scan (the scan
// thread's append, the GUI thread drawing it into the picture and painting
// the changed strip) under 0.05 ms. Also timed: loading and drawing a
// 100,000-sample write-graph file in the viewer.
//
// Prints "write_graph_load_and_draw_ms N", "add_point_ms N" and, last,
// "paint_ms N" (medians).

#include "core/base/AppProfile.h"
#include "core/graphs/PiPoGraphPlot.h"
#include "gui/graphs/GraphStatic.h"
#include "gui/graphs/GraphStaticPIPO.h"
#include "gui/graphs/IBGGraph.h"
#include "platform/files/SafeFile.h"
#include "support/WriteGraphFixture.h"

#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

constexpr int kEccBlocks = 4173824 / 16;  // a dual-layer DVD
constexpr int kPaintRuns = 21;
constexpr int kWriteGraphSamples = 100000;
constexpr int kLoadRuns = 5;

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::duration duration)
{
    return std::chrono::duration<double, std::milli>(duration).count();
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Error counts that wander like a real scan's, with a layer break.
PiPoUpperData UpperScan()
{
    PiPoUpperData data;
    data.piFactor = 0.5f;
    data.speedFactor = 2.0f;
    data.frame.endMarkerX = 446;
    data.frame.layerBreakX = 223;
    data.frame.backgroundColor = 0;
    data.pi.reserve(kEccBlocks);
    data.speed.reserve(kEccBlocks);
    for (int i = 0; i < kEccBlocks; ++i) {
        data.pi.push_back((i * 37 + i / 500) % 280);
        data.speed.push_back(40 + (i / 1000) % 40);
    }
    return data;
}

PiPoLowerData LowerScan()
{
    PiPoLowerData data;
    data.pifFactor = 4.0f;
    data.frame.endMarkerX = 446;
    data.frame.layerBreakX = 223;
    data.pif.reserve(kEccBlocks);
    data.po.reserve(kEccBlocks);
    data.jitter.reserve(kEccBlocks);
    for (int i = 0; i < kEccBlocks; ++i) {
        data.pif.push_back((i * 7) % 36);
        data.po.push_back(i % 97 == 0 ? 1 : 0);
        data.jitter.push_back(70 + (i * 13) % 25);
    }
    return data;
}

template <class Graph>
void SetUpLook(Graph& graph)
{
    graph.SetGridColors(0x6D6D6D, 0x363636, 0);
    graph.SetCapacityMarker(446, 0x0000FF);
    graph.SetLayerBreakMarker(223, 0x0000FF);
}

// Both graph widgets in a window of their own, shown offscreen.
struct ScanGraphs {
    ScanGraphs() : upper(&window), lower(&window)
    {
        lower.move(0, 166);
        window.resize(450, 166 + 162);
        SetUpLook(upper);
        SetUpLook(lower);
        window.show();
        QApplication::processEvents();
    }

    QWidget window;
    CGraphStaticPIPO upper;
    CGraphStaticPIPOLower lower;
};

double PaintFromNothing()
{
    ScanGraphs graphs;
    graphs.upper.LoadRecord(UpperScan());
    graphs.lower.LoadRecord(LowerScan());
    std::vector<double> times;
    for (int run = 0; run < kPaintRuns; ++run) {
        const Clock::time_point start = Clock::now();
        graphs.upper.Redraw();
        graphs.lower.Redraw();
        graphs.upper.RefreshNow();
        graphs.lower.RefreshNow();
        graphs.upper.repaint();
        graphs.lower.repaint();
        times.push_back(Milliseconds(Clock::now() - start));
    }
    return Median(times);
}

// A live scan: each point is appended, drawn into the pictures and the
// changed strips painted. Only the points inside the plot draw anything, so
// those are the ones timed.
double AddPoint()
{
    ScanGraphs graphs;
    graphs.upper.RefreshNow();
    graphs.lower.RefreshNow();
    std::vector<double> times;
    for (int i = 0; i < kPiPoPlotWidth; ++i) {
        const Clock::time_point start = Clock::now();
        graphs.upper.AddPoint((i * 37) % 280, 40 + i % 40);
        graphs.lower.AddPoint((i * 7) % 36, 0, 70 + (i * 13) % 25);
        graphs.upper.RefreshNow();
        graphs.lower.RefreshNow();
        QApplication::processEvents();
        times.push_back(Milliseconds(Clock::now() - start));
    }
    return Median(times);
}

double LoadAndDrawWriteGraph(const std::string& path)
{
    std::vector<double> times;
    for (int run = 0; run < kLoadRuns; ++run) {
        CIBGGraph viewer;
        CDialog::SetModalRunHook([](CDialog&) { return 0; });
        viewer.DoModal();
        CDialog::SetModalRunHook(nullptr);
        viewer.show();
        QApplication::processEvents();
        viewer.m_strFileName = path;
        const Clock::time_point start = Clock::now();
        if (viewer.LoadGraphFile() != 0)
            return -1;
        viewer.Graph().RefreshNow();
        viewer.Graph().repaint();
        times.push_back(Milliseconds(Clock::now() - start));
    }
    return Median(times);
}

}  // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    const std::filesystem::path folder = std::filesystem::temp_directory_path()
        / ("quenza-bench-plot-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    SetProfilePathForTesting((folder / "quenzario.conf").string());
    const std::string graphFile = (folder / "large.ibg").string();
    std::string error;
    if (!WriteFileAtomically(graphFile, WriteGraphFixture::Dvd(kWriteGraphSamples).Text(), &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }

    const double load = LoadAndDrawWriteGraph(graphFile);
    const double add = AddPoint();
    const double paint = PaintFromNothing();
    std::filesystem::remove_all(folder);
    if (load < 0) {
        std::fprintf(stderr, "the write-graph file did not load\n");
        return 1;
    }
    std::printf("scan_blocks %d\n", kEccBlocks);
    std::printf("write_graph_load_and_draw_ms %.2f\n", load);
    std::printf("add_point_ms %.4f\n", add);
    std::printf("paint_ms %.3f\n", paint);
    return 0;
}
