#include "core/graphs/RateGraph.h"

#include <utility>

namespace {

void AppendPoint(RateCurve& curve, int x, int y)
{
    if (curve.Count() >= static_cast<std::size_t>(kRateCurveCapacity))
        return;
    curve.x.push_back(x);
    curve.y.push_back(y);
}

void ClearCurve(RateCurve& curve)
{
    curve.x.clear();
    curve.y.clear();
}

bool HasWritePair(const WriteGraphSample& sample)
{
    return sample.buffer != -100 || sample.cpu != -100;
}

bool HasVerifyPair(const VerifyGraphSample& sample)
{
    return sample.cpu != -100;
}

}  // namespace

RatePicture RateGraphState::Picture() const
{
    if (speed.Count() > 0 || rpm.Count() > 0)
        return RatePicture::Curves;
    if (writeGraphMode != 0)
        return RatePicture::WriteGraph;
    if (mode == 1)
        return RatePicture::ErrorMap;
    return RatePicture::Curves;
}

void RateGraph::AddSpeedPoint(int x, int y)
{
    Append([&](RateGraphState& s) { AppendPoint(s.speed, x, y); });
}

void RateGraph::ScaleSpeedCurve(int baseY, int numerator, int denominator)
{
    if (denominator == 0)
        return;
    const auto scaled = [&](int y) { return baseY - (baseY - y) * numerator / denominator; };
    Update(
        [&](RateGraphState& s) {
            s.speed.originY = scaled(s.speed.originY);
            for (int& y : s.speed.y)
                y = scaled(y);
        },
        true);
}

void RateGraph::AddRpmPoint(int x, int y)
{
    Append([&](RateGraphState& s) {
        if (x > s.previousRpmX)
            AppendPoint(s.rpm, x, y);
        s.previousRpmX = x;
    });
}

void RateGraph::SetSpeedOrigin(int x, int y)
{
    Update(
        [&](RateGraphState& s) {
            s.speed.originX = x;
            s.speed.originY = y;
        },
        false);
}

void RateGraph::SetRpmOrigin(int x, int y)
{
    Update(
        [&](RateGraphState& s) {
            s.rpm.originX = x;
            s.rpm.originY = y;
        },
        false);
}

void RateGraph::SetCapacityMarker(int x, COLORREF colour)
{
    Update(
        [&](RateGraphState& s) {
            s.endMarkerX = x;
            s.endMarkerColor = colour;
        },
        false);
}

void RateGraph::SetLayerBreakMarker(int x, COLORREF colour, int drawFlag)
{
    Update(
        [&](RateGraphState& s) {
            s.layerBreakX = x;
            s.layerBreakColor = colour;
            s.layerBreakDraw = drawFlag;
        },
        false);
}

void RateGraph::SetErrorMapLayerBreak(int y, COLORREF colour)
{
    Update(
        [&](RateGraphState& s) {
            s.errorMapLayerBreakY = y;
            s.errorMapLayerBreakColor = colour;
        },
        false);
}

void RateGraph::SetSpeedColor(COLORREF colour)
{
    Update([&](RateGraphState& s) { s.speedColor = colour; }, true);
}

void RateGraph::SetRpmColor(COLORREF colour)
{
    Update([&](RateGraphState& s) { s.rpmColor = colour; }, true);
}

void RateGraph::SetMarkerColor(COLORREF colour)
{
    Update([&](RateGraphState& s) { s.endMarkerColor = colour; }, true);
}

void RateGraph::SetLayerBreakColor(COLORREF colour)
{
    Update(
        [&](RateGraphState& s) {
            s.layerBreakColor = colour;
            s.errorMapLayerBreakColor = colour;
        },
        true);
}

void RateGraph::SetGridColors(COLORREF grid, COLORREF dimGrid, COLORREF background)
{
    Update(
        [&](RateGraphState& s) {
            s.gridColor = grid;
            s.dimGridColor = dimGrid;
            s.backgroundColor = background;
        },
        true);
}

void RateGraph::ShowRpmCurve(int flag)
{
    Update([&](RateGraphState& s) { s.showRpm = flag; }, true);
}

void RateGraph::ShowSpeedCurve(int flag)
{
    Update([&](RateGraphState& s) { s.showSpeed = flag; }, true);
}

void RateGraph::NextErrorBlock()
{
    Update([](RateGraphState& s) { ++s.blockCounter; }, false);
}

void RateGraph::MarkBlockBad()
{
    Update([](RateGraphState& s) { s.badBlocks.push_back(s.blockCounter); }, false);
}

void RateGraph::MarkBlockRecovered()
{
    Update([](RateGraphState& s) { s.retriedBlocks.push_back(s.blockCounter); }, false);
}

void RateGraph::ClearGraph()
{
    Update(
        [](RateGraphState& s) {
            ClearCurve(s.speed);
            ClearCurve(s.rpm);
            s.previousRpmX = 0;
            s.endMarkerX = 0;
            s.endMarkerColor = 0;
            s.layerBreakX = 0;
            s.layerBreakColor = 0;
            s.errorMapLayerBreakY = 0;
            s.errorMapLayerBreakColor = 0;
            s.blockCounter = 0;
            s.mode = 0;
            s.writeSamples.clear();
            s.verifySamples.clear();
            s.writePairCount = 0;
            s.verifyPairCount = 0;
        },
        false);
}

void RateGraph::ClearErrorMap()
{
    ClearGraph();
    Update(
        [](RateGraphState& s) {
            s.blockCounter = 0;
            s.mode = 1;
            s.badBlocks.clear();
            s.retriedBlocks.clear();
            s.layerBreakX = 0;
            s.layerBreakColor = 0;
            s.layerBreakDraw = 1;
            s.endMarkerX = 0;
            s.endMarkerColor = 0;
        },
        true);
}

void RateGraph::AddWriteSample(int speed, int sector, int rpm, int buffer, int cpu)
{
    Update(
        [&](RateGraphState& s) {
            s.writeSamples.push_back({speed, sector, rpm, buffer, cpu});
            s.writePairCount += HasWritePair(s.writeSamples.back()) ? 1 : 0;
        },
        false);
}

void RateGraph::AddVerifySample(int speed, int sector, int rpm, int cpu)
{
    Update(
        [&](RateGraphState& s) {
            s.verifySamples.push_back({speed, sector, rpm, cpu});
            s.verifyPairCount += HasVerifyPair(s.verifySamples.back()) ? 1 : 0;
        },
        false);
}

void RateGraph::AddWriteGraphSamples(const std::vector<WriteGraphSample>& write,
                                     const std::vector<VerifyGraphSample>& verify)
{
    Update(
        [&](RateGraphState& s) {
            s.writeSamples.insert(s.writeSamples.end(), write.begin(), write.end());
            s.verifySamples.insert(s.verifySamples.end(), verify.begin(), verify.end());
            for (const WriteGraphSample& sample : write)
                s.writePairCount += HasWritePair(sample) ? 1 : 0;
            for (const VerifyGraphSample& sample : verify)
                s.verifyPairCount += HasVerifyPair(sample) ? 1 : 0;
        },
        false);
}

void RateGraph::SetWriteGraphMode(int flag)
{
    Update([&](RateGraphState& s) { s.writeGraphMode = flag; }, true);
}

void RateGraph::SetMediaFlags(int cd, int bd, int hdDvd)
{
    Update(
        [&](RateGraphState& s) {
            s.cdMedia = cd;
            s.bdMedia = bd != 0 ? 1 : 0;
            s.hdDvdMedia = hdDvd != 0 ? 1 : 0;
        },
        false);
}

void RateGraph::SetSampleShift(int samples)
{
    bool sampled = false;
    Update(
        [&](RateGraphState& s) {
            s.sampleShift = samples;
            sampled = s.averaged == 0;
        },
        false);
    if (sampled)
        Redraw();
}

void RateGraph::SetAveraged(int flag)
{
    Update([&](RateGraphState& s) { s.averaged = flag; }, true);
}

void RateGraph::ShowWriteCpu(int flag)
{
    Update([&](RateGraphState& s) { s.showWriteCpu = flag; }, true);
}

void RateGraph::ShowVerifyCpu(int flag)
{
    Update([&](RateGraphState& s) { s.showVerifyCpu = flag; }, true);
}

void RateGraph::ShowWriteBuffer(int flag)
{
    Update([&](RateGraphState& s) { s.showWriteBuffer = flag; }, true);
}

void RateGraph::ShowVerifyRpm(int flag)
{
    Update([&](RateGraphState& s) { s.showVerifyRpm = flag; }, true);
}

void RateGraph::ShowWriteRpm(int flag)
{
    Update([&](RateGraphState& s) { s.showWriteRpm = flag; }, true);
}

bool RateGraph::HasWriteGraphSamples() const
{
    return Read([](const RateGraphState& s) { return !s.writeSamples.empty() || !s.verifySamples.empty(); });
}
