#pragma once

#include "core/graphs/LockedGraph.h"
#include "core/graphs/PiPoGraphData.h"

#include <cstdint>
#include <vector>

// How a graph draws beside what it stores: progressive colouring and the
// marker pens (white while progressive colouring is on).
struct PiPoGraphLook {
    int progressive = 1;
    COLORREF endMarkerPen = 0;
    COLORREF layerBreakPen = 0;
};

// What the upper and the lower PI/PO graph share. The scan thread appends
// samples and sets markers while the GUI thread sets colours and scales and
// paints, each under the graph's lock (LockedGraph).
// State holds `data` (with its `frame`) and `look`.
template <class State>
class PiPoGraphBase : public LockedGraph<State> {
public:
    // Marker positions and colours; (0, 0) removes a marker. No repaint.
    void SetCapacityMarker(int x, COLORREF colour)
    {
        Update([&](State& s) { PlaceEndMarker(s, x, colour); }, false);
    }
    void SetLayerBreakMarker(int x, COLORREF colour)
    {
        Update([&](State& s) { PlaceLayerBreak(s, x, colour); }, false);
    }
    void SetCapacityMarkerColor(COLORREF colour)
    {
        Update([&](State& s) { PlaceEndMarker(s, s.data.frame.endMarkerX, colour); }, true);
    }
    void SetLayerBreakMarkerColor(COLORREF colour)
    {
        Update(
            [&](State& s) {
                PlaceLayerBreak(s, s.data.frame.layerBreakX, colour);
                s.data.frame.layerBreakColor2 = colour;
            },
            true);
    }

    void SetSmallDiscScale(int flag)
    {
        Update(
            [&](State& s) {
                s.data.frame.smallDisc = flag;
                s.data.frame.notSmallDisc = flag == 0 ? 1 : 0;
            },
            false);
    }
    void ClearSmallDiscScale()
    {
        Update([](State& s) { s.data.frame.smallDisc = s.data.frame.notSmallDisc = 0; }, false);
    }

    // Leaves the marker pens as they are until a marker is set again.
    void SetProgressiveColors(int flag)
    {
        Update([&](State& s) { s.look.progressive = flag != 0 ? 1 : 0; }, true);
    }
    int GetProgressiveColors() const
    {
        return Read([](const State& s) { return s.look.progressive; });
    }

    void SetGridColors(COLORREF grid, COLORREF halfGrid, COLORREF background)
    {
        Update(
            [&](State& s) {
                s.data.frame.gridColor = grid;
                s.data.frame.halfGridColor = halfGrid;
                s.data.frame.backgroundColor = background;
            },
            true);
    }

protected:
    PiPoGraphBase() = default;
    ~PiPoGraphBase() = default;

    using LockedGraph<State>::Update;
    using LockedGraph<State>::Append;
    using LockedGraph<State>::Read;

    // Empty markers and small-disc flags, the cleared flag set.
    static void ClearFrame(State& s)
    {
        PlaceEndMarker(s, 0, 0);
        PlaceLayerBreak(s, 0, 0);
        s.data.frame.smallDisc = s.data.frame.notSmallDisc = 0;
        s.data.frame.cleared = 1;
    }

    // Takes the loaded fields as they are and re-places the markers that are
    // set, which renews their pens.
    static void LoadFrame(State& s, const PiPoGraphFrame& loaded)
    {
        s.data.frame = loaded;
        if (loaded.endMarkerX > 0)
            PlaceEndMarker(s, loaded.endMarkerX, loaded.endMarkerColor);
        if (loaded.layerBreakX > 0)
            PlaceLayerBreak(s, loaded.layerBreakX, loaded.layerBreakColor);
    }

    // A loaded record's samples go behind those already held.
    static void AppendSamples(std::vector<std::int32_t>& to, const std::vector<std::int32_t>& from)
    {
        to.insert(to.end(), from.begin(), from.end());
    }

private:
    static COLORREF MarkerPen(const State& s, COLORREF colour)
    {
        return s.look.progressive != 0 ? RGB(0xFF, 0xFF, 0xFF) : colour;
    }
    static void PlaceEndMarker(State& s, int x, COLORREF colour)
    {
        s.data.frame.endMarkerX = x;
        s.data.frame.endMarkerColor = colour;
        s.look.endMarkerPen = MarkerPen(s, colour);
    }
    static void PlaceLayerBreak(State& s, int x, COLORREF colour)
    {
        s.data.frame.layerBreakX = x;
        s.data.frame.layerBreakColor = colour;
        s.look.layerBreakPen = MarkerPen(s, colour);
    }
};
