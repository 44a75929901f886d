#pragma once

#include "core/ui/MatrixGlyphs.h"
#include "core/ui/UiGeometry.h"

#include <string>
#include <vector>

// The text of a dot-matrix display and where each of its characters goes:
// rows and columns, padding, rotation and the window sizes that fit them.
class MatrixTextModel {
public:
    // The display's frame: two pixels left and top, one right and bottom.
    static constexpr int kFrameLeft = 2;
    static constexpr int kFrameTop = 2;
    static constexpr int kFrameTotal = 3;

    void SetSize(int preset) { m_metrics = MatrixPreset(preset); }
    const MatrixCellMetrics& Metrics() const { return m_metrics; }

    void SetAutoPad(bool pad, char padChar);
    // 0 means the length of the current text.
    void SetColumnCount(int columns);
    // 0 means text length / columns, or 1 when there are no columns.
    void SetRowCount(int rows);
    int Columns() const { return m_nColumns; }
    int Rows() const { return m_nRows; }

    // Stores the text (padded when auto-pad is on); false when the display
    // would show what it shows already.
    bool SetText(const std::string& text);
    const std::string& Text() const { return m_strText; }
    // 0 for an empty text; else copies at most size - 1 characters and a
    // terminating zero and returns the text's length.
    int GetText(char* buffer, int size) const;

    // Turns the text (each row of it) left by one character.
    void Rotate();

    // Window sizes: the column count is taken when still 0.
    UiSize AdjustWidthToColumns(int columns, UiSize client);
    UiSize AdjustHeightToRows(int rows, UiSize client);

    // One character copied from the sheet to the client area.
    struct CellCopy {
        UiPoint source;
        UiPoint dest;
        bool operator==(const CellCopy&) const = default;
    };
    std::vector<CellCopy> Layout() const;

private:
    std::string Padded(std::string text, int rows, int columns) const;

    MatrixCellMetrics m_metrics;
    char m_chPad = ' ';
    bool m_bAutoPad = false;
    std::string m_strText;
    int m_nRows = 0;
    int m_nColumns = 0;
};
