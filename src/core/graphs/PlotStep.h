#pragma once

#include "core/app/ColorRef.h"

#include <string>

// One drawing step of a graph in plot coordinates (pixels, y downwards). A
// widget replays a list of them in order with a painter; tests read them.
enum class PlotStepKind {
    Line,  // (x1, y1) to (x2, y2), the end point itself not painted
    FillRect,  // left x1, top y1, right x2, bottom y2 (both exclusive)
    Text,  // text with its top left corner at (x1, y1)
};

struct PlotStep {
    PlotStepKind kind = PlotStepKind::Line;
    COLORREF color = 0;
    int x1 = 0;
    int y1 = 0;
    int x2 = 0;
    int y2 = 0;
    std::string text;

    bool operator==(const PlotStep&) const = default;
};

inline PlotStep PlotLine(COLORREF color, int x1, int y1, int x2, int y2)
{
    return PlotStep{PlotStepKind::Line, color, x1, y1, x2, y2, {}};
}

inline PlotStep PlotFillRect(COLORREF color, int left, int top, int right, int bottom)
{
    return PlotStep{PlotStepKind::FillRect, color, left, top, right, bottom, {}};
}

inline PlotStep PlotText(COLORREF color, int x, int y, std::string text)
{
    return PlotStep{PlotStepKind::Text, color, x, y, x, y, std::move(text)};
}
