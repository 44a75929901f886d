#pragma once

#include "core/base/ColorRef.h"
#include "core/ui/UiGeometry.h"

#include <string>

// A colour value that means "not set: use the system's colour".
constexpr COLORREF CLR_DEFAULT = 0xFF000000;

// Range, position and text of a progress bar that draws its own text, and
// the two rectangles (bar and rest of the track) it paints.
class ProgressModel {
public:
    // Positions are kept inside the range, as a progress bar does.
    void SetRange(int lower, int upper);
    int Lower() const { return m_nMin; }
    int Upper() const { return m_nMax; }
    // Each returns the previous position; *redraw tells whether the bar's
    // length over the given extent (pixels) changed.
    int SetPos(int position, int extent, bool* redraw = nullptr);
    int OffsetPos(int delta, int extent, bool* redraw = nullptr);
    int StepIt(int extent, bool* redraw = nullptr);
    int SetStep(int step);
    int Pos() const { return m_nPos; }
    // Forget the bar length worked out, after the control changed size.
    void Resized() { m_nBarLength = -1; }

    void SetText(const std::string& text) { m_strText = text; }
    const std::string& Text() const { return m_strText; }
    void SetShowText(bool show) { m_bShowText = show; }
    bool ShowsText() const { return m_bShowText; }

    bool IsDrawable() const { return m_nMin < m_nMax; }
    // (position - lower) / (upper - lower); 0 with an empty range.
    double Fraction() const;
    // The owner's text, or the percentage as "42 % Complete".
    std::string DisplayText() const;

    struct Parts {
        UiRect bar;
        UiRect rest;
    };
    Parts Split(const UiRect& client, bool vertical) const;

    // Colours: CLR_DEFAULT stands for the system's colour in each slot.
    COLORREF SetBarColor(COLORREF color);
    COLORREF SetBkColor(COLORREF color);
    COLORREF SetTextColor(COLORREF color);
    COLORREF BarColor(COLORREF systemHighlight) const;
    COLORREF BkColor(COLORREF systemWindow) const;
    // The text is drawn in the text colour, or else in the colour of the
    // other part, so that it stays readable over both.
    COLORREF TextColorOverBar(COLORREF bkColor) const;
    COLORREF TextColorOverRest(COLORREF barColor) const;

private:
    int Clamped(long long position) const;

    COLORREF m_crText = CLR_DEFAULT;
    int m_nPos = 0;
    int m_nStep = 1;
    int m_nMax = 100;
    int m_nMin = 0;
    std::string m_strText;
    bool m_bShowText = true;
    int m_nBarLength = -1;
    COLORREF m_crBar = CLR_DEFAULT;
    COLORREF m_crBk = CLR_DEFAULT;
};
