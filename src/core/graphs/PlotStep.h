#pragma once

#include "core/base/ColorRef.h"

#include <string>
#include <utility>
#include <vector>

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

// A part of a plot (right and bottom exclusive). Builders given an area emit
// only the steps that may touch it, and the widget replays them clipped to
// it, so a few new samples redraw a narrow strip instead of the whole plot.
struct PlotArea {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    static constexpr PlotArea Whole(int width, int height) { return {0, 0, width, height}; }
    // Every step touches it: a whole picture, steps outside the image included.
    static constexpr PlotArea Unbounded() { return {-kFar, -kFar, kFar, kFar}; }
    static constexpr int kFar = 1 << 29;
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool ContainsColumn(int x) const { return x >= left && x < right; }
    // Whether the step may paint a pixel inside (texts always may).
    bool Touches(const PlotStep& step) const
    {
        if (step.kind == PlotStepKind::Text)
            return !IsEmpty();
        const int x1 = step.x1 < step.x2 ? step.x1 : step.x2;
        const int x2 = step.x1 < step.x2 ? step.x2 : step.x1;
        const int y1 = step.y1 < step.y2 ? step.y1 : step.y2;
        const int y2 = step.y1 < step.y2 ? step.y2 : step.y1;
        return x2 >= left && x1 < right && y2 >= top && y1 < bottom;
    }
    // The smallest area holding both (an empty one adds nothing).
    PlotArea United(const PlotArea& other) const
    {
        if (IsEmpty())
            return other;
        if (other.IsEmpty())
            return *this;
        return {left < other.left ? left : other.left, top < other.top ? top : other.top,
                right > other.right ? right : other.right, bottom > other.bottom ? bottom : other.bottom};
    }
    bool operator==(const PlotArea&) const = default;
};

// Appends step when it may touch area.
inline void AppendIfTouching(std::vector<PlotStep>& steps, const PlotArea& area, PlotStep step)
{
    if (area.Touches(step))
        steps.push_back(std::move(step));
}
