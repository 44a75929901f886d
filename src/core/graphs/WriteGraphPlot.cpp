#include "core/graphs/WriteGraphPlot.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace {

constexpr int kRight = kRatePlotWidth - 1;  // 450
constexpr int kBottom = kWriteGraphPlotHeight - 1;  // 434
constexpr int kPercentBase = 100;
constexpr int kSpeedStartY = 353;
constexpr int kRpmStartY = 359;
constexpr double kRpmPerPixel = 93.75;

// What a pass reads of a sample: its speed, sector and rotation, and its
// pair of percentages (write: buffer and CPU; verify: CPU and 0).
struct PassSample {
    int speed;
    std::int64_t sector;
    int rpm;
    bool hasPair;
    int first;
    int second;
};

PassSample Read(const WriteGraphSample& s)
{
    return {s.speed, s.sector, s.rpm, s.buffer != -100 || s.cpu != -100, s.buffer, s.cpu};
}

PassSample Read(const VerifyGraphSample& s)
{
    return {s.speed, s.sector, s.rpm, s.cpu != -100, s.cpu, 0};
}

struct ColumnValues {
    int speed = 0;
    int first = 0;
    int second = 0;
};

// Walks one pass's samples column by column. The current sector starts at 0
// once a pass; the sample index runs on across the columns.
template <class Sample>
class PassWalker {
public:
    PassWalker(const std::vector<Sample>& samples, bool pairsActive, const RateGraphState& graph) :
        m_samples(samples),
        m_pairsActive(pairsActive),
        m_averaged(graph.averaged != 0),
        m_shift(std::max(graph.sampleShift, 0)),
        m_cap(WriteGraphSpeedCap(graph))
    {
    }

    // The samples below the limit (at least one) summed into a column.
    ColumnValues Gather(std::int64_t limit)
    {
        std::int64_t speedSum = 0;
        int speeds = 0;
        std::int64_t firstSum = 0;
        std::int64_t secondSum = 0;
        int pairs = 0;
        do {
            std::size_t taken = m_index;
            if (!m_averaged)
                for (int k = 0; k < m_shift && m_sector > 0 && m_sector < limit && Below(taken); ++k)
                    ++taken;
            const PassSample sample = Read(m_samples[taken]);
            const int speed = std::min(sample.speed, m_cap);
            m_lastFirstValid = sample.first != -100;
            m_lastSecondValid = sample.second != -100;
            const bool pair = m_pairsActive && sample.hasPair;
            if (m_averaged) {
                if (speed > 1) {
                    speedSum += speed;
                    ++speeds;
                }
                if (pair && sample.first > 1) {
                    firstSum += sample.first;
                    secondSum += sample.second;
                    ++pairs;
                }
            } else {
                if (speeds < 2) {
                    speedSum += speed;
                    ++speeds;
                }
                if (pair && pairs < 2) {
                    firstSum += sample.first;
                    secondSum += sample.second;
                    ++pairs;
                }
            }
            m_sector = sample.sector;
            m_index = taken + 1;
        } while (m_sector < limit && Below(m_index));
        ColumnValues values;
        if (speeds > 0)
            values.speed = static_cast<int>(speedSum / speeds);
        if (pairs > 0) {
            values.first = static_cast<int>(firstSum / pairs);
            values.second = static_cast<int>(secondSum / pairs);
        }
        return values;
    }

    // Whether columns remain: the index is below count - 2.
    bool More() const { return Below(m_index); }
    bool LastFirstValid() const { return m_lastFirstValid; }
    bool LastSecondValid() const { return m_lastSecondValid; }

private:
    bool Below(std::size_t index) const { return index + 2 < m_samples.size(); }

    const std::vector<Sample>& m_samples;
    bool m_pairsActive;
    bool m_averaged;
    int m_shift;
    int m_cap;
    std::size_t m_index = 0;
    std::int64_t m_sector = 0;
    bool m_lastFirstValid = false;
    bool m_lastSecondValid = false;
};

// A percent curve in the top band, with an x of its own.
class PercentCurve {
public:
    PercentCurve(COLORREF pen, bool rightEdgeTest) : m_pen(pen), m_rightEdgeTest(rightEdgeTest) {}

    void Add(std::vector<PlotStep>& steps, int value, int endX)
    {
        const int y = std::min(kPercentBase, kPercentBase - value / 100);
        const int from = m_hasPrevious ? m_previousY : y;
        if ((!m_rightEdgeTest || m_x < kRight) && m_x < endX) {
            steps.push_back(PlotLine(m_pen, m_x, from, m_x + 1, y));
            ++m_x;
        }
        m_previousY = y;
        m_hasPrevious = true;
    }

private:
    COLORREF m_pen;
    bool m_rightEdgeTest;
    int m_x = 0;
    int m_previousY = 0;
    bool m_hasPrevious = false;  // the first segment starts at its own height
};

struct PlotScales {
    int sectorsPerColumn;
    int layerFactor;  // 2 with a layer break: a column covers both layers
    double pixelsPerSpeed;
    int endX;

    // The last sector of column c: of the write pass for c, of the verify pass for c + 1.
    std::int64_t Limit(int column) const { return static_cast<std::int64_t>(sectorsPerColumn) * column * layerFactor; }
    int SpeedY(int speed) const { return std::max(0, static_cast<int>(kBottom - speed / 100.0 * pixelsPerSpeed)); }
    bool CanAdvance(int column) const { return column < kRight && column < endX; }
};

void AppendBackground(std::vector<PlotStep>& steps, const RateGraphState& graph)
{
    steps.push_back(PlotFillRect(graph.backgroundColor, 0, 0, kRatePlotWidth, kWriteGraphPlotHeight));
    for (int x = 10; x <= 440; x += 10)
        steps.push_back(PlotLine(graph.dimGridColor, x, 0, x, kWriteGraphPlotHeight));
    steps.push_back(PlotLine(graph.gridColor, 0, 0, kRight, 0));
    steps.push_back(PlotLine(graph.gridColor, kRight, 0, kRight, kBottom));
    steps.push_back(PlotLine(graph.gridColor, kRight, kBottom, 0, kBottom));
    steps.push_back(PlotLine(graph.gridColor, 0, kBottom, 0, 0));
    for (int x = 50; x <= kRight; x += 50)
        steps.push_back(PlotLine(graph.gridColor, x, 0, x, kWriteGraphPlotHeight));
    for (int y = 36; y <= 420; y += 16)
        steps.push_back(PlotLine(graph.dimGridColor, 0, y, kRatePlotWidth, y));
    for (int y = 0; y <= kPercentBase; y += 20)
        steps.push_back(PlotLine(graph.gridColor, 0, y, kRatePlotWidth, y));
}

void AppendMarkers(std::vector<PlotStep>& steps, const RateGraphState& graph)
{
    if (graph.endMarkerX != 0)
        steps.push_back(PlotLine(graph.endMarkerColor, graph.endMarkerX, 1, graph.endMarkerX, kBottom));
    if (graph.layerBreakX != 0 && graph.layerBreakDraw == 1)
        steps.push_back(PlotLine(graph.layerBreakColor, graph.layerBreakX, 1, graph.layerBreakX, kBottom));
}

void AppendWritePass(std::vector<PlotStep>& steps, const RateGraphState& graph, const PlotScales& scales)
{
    const bool pairsActive = graph.writePairCount != 0 && (graph.showWriteCpu != 0 || graph.showWriteBuffer != 0);
    PassWalker walker(graph.writeSamples, pairsActive, graph);
    PercentCurve buffer(kWriteBufferPen, true);
    PercentCurve cpu(kWriteCpuPen, true);
    int column = 0;
    int previousY = kSpeedStartY;
    do {
        const ColumnValues values = walker.Gather(scales.Limit(column));
        const int y = scales.SpeedY(values.speed);
        if (graph.writePairCount != 0) {
            if (graph.showWriteBuffer != 0 && walker.LastFirstValid())
                buffer.Add(steps, values.first, scales.endX);
            if (graph.showWriteCpu != 0 && walker.LastSecondValid())
                cpu.Add(steps, values.second, scales.endX);
        }
        if (scales.CanAdvance(column)) {
            steps.push_back(PlotLine(graph.speedColor, column, previousY, column + 1, y));
            ++column;
        }
        previousY = y;
    } while (walker.More());
}

void AppendVerifyPass(std::vector<PlotStep>& steps, const RateGraphState& graph, const PlotScales& scales)
{
    const bool pairsActive = graph.verifyPairCount != 0 && graph.showVerifyCpu != 0;
    PassWalker walker(graph.verifySamples, pairsActive, graph);
    PercentCurve cpu(kVerifyCpuPen, false);
    int column = 0;
    int previousY = kSpeedStartY;
    do {
        const ColumnValues values = walker.Gather(scales.Limit(column + 1));
        const int y = scales.SpeedY(values.speed);
        if (pairsActive)
            cpu.Add(steps, values.first, scales.endX);
        if (scales.CanAdvance(column)) {
            steps.push_back(PlotLine(kVerifySpeedPen, column, previousY, column + 1, y));
            ++column;
        }
        previousY = y;
    } while (walker.More());
}

// The mean rotation of each column's samples (those above 1 RPM).
template <class Sample>
void AppendRpmCurve(std::vector<PlotStep>& steps, const std::vector<Sample>& samples, COLORREF pen,
                    const PlotScales& scales, int limitShift)
{
    const auto below = [&](std::size_t index) { return index + 2 < samples.size(); };
    std::size_t index = 0;
    int x = 0;
    int y = kRpmStartY;
    int column = 0;
    do {
        const std::int64_t limit = scales.Limit(column + limitShift);
        std::int64_t sum = 0;
        std::int64_t count = 0;
        std::int64_t sector = 0;
        do {
            const PassSample sample = Read(samples[index]);
            if (sample.rpm > 1) {
                sum += sample.rpm;
                ++count;
            }
            sector = sample.sector;
            ++index;
        } while (sector < limit && below(index));
        const int nextY = count > 0 ? std::max(0, static_cast<int>(kBottom - (sum / count) / kRpmPerPixel)) : kBottom;
        if (!scales.CanAdvance(column))
            break;  // nothing more is drawn
        steps.push_back(PlotLine(pen, x, y, column, nextY));
        x = column;
        y = nextY;
        ++column;
    } while (below(index));
}

}  // namespace

int WriteGraphSpeedCap(const RateGraphState& graph)
{
    return graph.cdMedia != 0 ? 7800 : 2700;
}

int WriteGraphSectorsPerColumn(const RateGraphState& graph)
{
    if (graph.cdMedia != 0)
        return 1024;
    if (graph.bdMedia != 0)
        return 30720;
    if (graph.hdDvdMedia != 0)
        return 20480;
    return 5120;
}

std::vector<PlotStep> BuildWriteGraphPlot(const RateGraphState& graph)
{
    std::vector<PlotStep> steps;
    AppendBackground(steps, graph);
    AppendMarkers(steps, graph);
    if (graph.writeSamples.empty() && graph.verifySamples.empty())
        return steps;

    const PlotScales scales{WriteGraphSectorsPerColumn(graph), graph.layerBreakX > 0 ? 2 : 1,
                            graph.cdMedia != 0 ? 5.33 : 16.0, graph.endMarkerX};
    if (!graph.writeSamples.empty() && graph.showRpm != 0) {
        AppendWritePass(steps, graph, scales);
        if (graph.showWriteRpm != 0)
            AppendRpmCurve(steps, graph.writeSamples, graph.rpmColor, scales, 0);
    }
    if (!graph.verifySamples.empty() && graph.showSpeed != 0) {
        AppendVerifyPass(steps, graph, scales);
        if (graph.showVerifyRpm != 0)
            AppendRpmCurve(steps, graph.verifySamples, kVerifyRpmPen, scales, 1);
    }
    AppendMarkers(steps, graph);
    return steps;
}
