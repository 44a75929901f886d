#include "core/graphs/PiPoLowerGraph.h"

void PiPoLowerGraph::AddPoint(int pif, int po, int jitter)
{
    Append([&](PiPoLowerState& s) {
        s.data.pif.push_back(pif);
        s.data.po.push_back(po);
        if (jitter != -1)
            s.data.jitter.push_back(jitter);
    });
}

void PiPoLowerGraph::AddJitterPoint(int jitter)
{
    Append([&](PiPoLowerState& s) { s.data.jitter.push_back(jitter); });
}

void PiPoLowerGraph::AddPIFPoint(int pif)
{
    Append([&](PiPoLowerState& s) {
        s.data.pif.push_back(pif);
        s.data.po.push_back(0);
    });
}

std::size_t PiPoLowerGraph::GetPointCount() const
{
    return Read([](const PiPoLowerState& s) { return s.data.pif.size(); });
}

std::size_t PiPoLowerGraph::GetJitterCount() const
{
    return Read([](const PiPoLowerState& s) { return s.data.jitter.size(); });
}

void PiPoLowerGraph::SetShowSeries(int showPIF, int showPO, int showJitter)
{
    Update(
        [&](PiPoLowerState& s) {
            s.data.showPIF = showPIF;
            s.data.showPO = showPO;
            s.showJitter = showJitter;
        },
        false);
}

void PiPoLowerGraph::SetPlotModes(int pifMode, int poMode)
{
    Update(
        [&](PiPoLowerState& s) {
            s.data.pifLineMode = pifMode == 0 ? 1 : 0;
            s.data.poLineMode = poMode == 0 ? 1 : 0;
        },
        false);
}

void PiPoLowerGraph::SetPOColor(COLORREF colour)
{
    Update([&](PiPoLowerState& s) { s.data.poColor = s.poPen = colour; }, true);
}

void PiPoLowerGraph::SetPIFJitterColors(COLORREF pifColour, COLORREF jitterColour)
{
    Update(
        [&](PiPoLowerState& s) {
            s.data.pifColor = s.pifPen = pifColour;
            s.jitterPen = jitterColour;
        },
        true);
}

void PiPoLowerGraph::SetPIFScale(int code)
{
    Update(
        [&](PiPoLowerState& s) {
            if (const auto factor = PIFScaleFactor(code))
                s.data.pifFactor = *factor;
        },
        true);
}

int PiPoLowerGraph::GetPIFScaleCode() const
{
    return Read([](const PiPoLowerState& s) { return PIFScaleCode(s.data.pifFactor); });
}

void PiPoLowerGraph::SetJitterScale(int code)
{
    Update(
        [&](PiPoLowerState& s) {
            s.data.jitterScaleCode = code;
            if (const auto factor = JitterScaleFactor(code))
                s.jitterFactor = *factor;
        },
        true);
}

int PiPoLowerGraph::GetJitterScaleCode() const
{
    return Read([](const PiPoLowerState& s) { return JitterScaleCode(s.jitterFactor); });
}

void PiPoLowerGraph::ClearGraph()
{
    Update(
        [](PiPoLowerState& s) {
            s.data.pif.clear();
            s.data.po.clear();
            s.data.jitter.clear();
            ClearFrame(s);
        },
        true);
}

PiPoLowerData PiPoLowerGraph::StoreRecord() const
{
    return Read([](const PiPoLowerState& s) { return s.data; });
}

void PiPoLowerGraph::LoadRecord(const PiPoLowerData& record)
{
    Update(
        [&](PiPoLowerState& s) {
            PiPoLowerData loaded = record;
            loaded.pif = std::move(s.data.pif);
            loaded.po = std::move(s.data.po);
            loaded.jitter = std::move(s.data.jitter);
            AppendSamples(loaded.pif, record.pif);
            AppendSamples(loaded.po, record.po);
            AppendSamples(loaded.jitter, record.jitter);
            s.data = std::move(loaded);
            LoadFrame(s, record.frame);
        },
        false);
}
