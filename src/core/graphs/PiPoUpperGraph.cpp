#include "core/graphs/PiPoUpperGraph.h"

#include "core/graphs/PiPoScaleLadders.h"

#include <algorithm>

void PiPoUpperGraph::AddPoint(int pi, int speed)
{
    Append([&](PiPoUpperState& s) {
        s.data.pi.push_back(pi);
        s.data.speed.push_back(speed);
    });
}

std::size_t PiPoUpperGraph::GetPointCount() const
{
    return Read([](const PiPoUpperState& s) { return s.data.pi.size(); });
}

void PiPoUpperGraph::SetShowSeries(int showPI, int showSpeed)
{
    Update(
        [&](PiPoUpperState& s) {
            s.data.showPI = showPI;
            s.data.showSpeed = showSpeed;
        },
        false);
}

void PiPoUpperGraph::SetPlotModes(int piMode, int speedMode)
{
    Update(
        [&](PiPoUpperState& s) {
            s.data.piLineMode = piMode == 0 ? 1 : 0;
            s.data.speedLineMode = speedMode == 0 ? 1 : 0;
        },
        true);
}

void PiPoUpperGraph::SetPIScale(int code)
{
    Update(
        [&](PiPoUpperState& s) {
            if (const auto factor = PIScaleFactor(code))
                s.data.piFactor = *factor;
        },
        true);
}

void PiPoUpperGraph::SetSpeedScale(int band)
{
    Update(
        [&](PiPoUpperState& s) {
            if (const auto factor = SpeedScaleFactor(band))
                s.data.speedFactor = *factor;
        },
        true);
}

int PiPoUpperGraph::GetPIScaleCode() const
{
    return Read([](const PiPoUpperState& s) { return PIScaleCode(s.data.piFactor); });
}

void PiPoUpperGraph::SetSpeedColor(COLORREF colour)
{
    Update([&](PiPoUpperState& s) { s.data.speedColor = s.speedPen = colour; }, true);
}

void PiPoUpperGraph::SetPIColor(COLORREF colour)
{
    Update([&](PiPoUpperState& s) { s.data.piColor = s.piPen = colour; }, true);
}

int PiPoUpperGraph::GetMaxSpeed() const
{
    return Read([](const PiPoUpperState& s) {
        const auto& speed = s.data.speed;
        return speed.empty() ? 0 : std::max(0, *std::max_element(speed.begin(), speed.end()));
    });
}

void PiPoUpperGraph::ClearGraph()
{
    Update(
        [](PiPoUpperState& s) {
            s.data.pi.clear();
            s.data.speed.clear();
            ClearFrame(s);
        },
        true);
}

PiPoUpperData PiPoUpperGraph::StoreRecord() const
{
    return Read([](const PiPoUpperState& s) { return s.data; });
}

void PiPoUpperGraph::LoadRecord(const PiPoUpperData& record)
{
    Update(
        [&](PiPoUpperState& s) {
            PiPoUpperData loaded = record;
            loaded.pi = std::move(s.data.pi);
            loaded.speed = std::move(s.data.speed);
            AppendSamples(loaded.pi, record.pi);
            AppendSamples(loaded.speed, record.speed);
            s.data = std::move(loaded);
            LoadFrame(s, record.frame);
        },
        false);
}
