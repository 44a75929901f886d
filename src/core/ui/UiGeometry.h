#pragma once

// Pixel geometry of the controls, kept free of any toolkit so that layouts
// can be checked without drawing. Rectangles are left/top inclusive and
// right/bottom exclusive.
struct UiPoint {
    int x = 0;
    int y = 0;
    bool operator==(const UiPoint&) const = default;
};

struct UiSize {
    int width = 0;
    int height = 0;
    bool operator==(const UiSize&) const = default;
};

struct UiRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    UiRect Offset(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
    UiRect Deflate(int d) const { return {left + d, top + d, right - d, bottom - d}; }
    bool operator==(const UiRect&) const = default;
};
