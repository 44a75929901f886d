#include "core/ui/MatrixText.h"

#include <algorithm>
#include <cstring>

void MatrixTextModel::SetAutoPad(bool pad, char padChar)
{
    m_bAutoPad = pad;
    m_chPad = padChar;
}

void MatrixTextModel::SetColumnCount(int columns)
{
    m_nColumns = columns > 0 ? columns : static_cast<int>(m_strText.size());
}

void MatrixTextModel::SetRowCount(int rows)
{
    if (rows > 0)
        m_nRows = rows;
    else
        m_nRows = m_nColumns > 0 ? static_cast<int>(m_strText.size()) / m_nColumns : 1;
}

std::string MatrixTextModel::Padded(std::string text, int rows, int columns) const
{
    const size_t cells = static_cast<size_t>(std::max(rows, 1)) * static_cast<size_t>(std::max(columns, 0));
    if (m_bAutoPad && text.size() < cells)
        text.resize(cells, m_chPad);
    return text;
}

bool MatrixTextModel::SetText(const std::string& text)
{
    if (text == m_strText)
        return false;
    const int columns = m_nColumns == 0 ? static_cast<int>(text.size()) : m_nColumns;
    const int rows = m_nRows == 0 ? 1 : m_nRows;
    std::string shown = Padded(text, rows, columns);
    // Setting the unpadded form of what is shown changes nothing either.
    if (shown == m_strText)
        return false;
    m_nColumns = columns;
    m_nRows = rows;
    m_strText = std::move(shown);
    return true;
}

int MatrixTextModel::GetText(char* buffer, int size) const
{
    if (m_strText.empty())
        return 0;
    if (buffer && size > 0) {
        const size_t count = std::min(m_strText.size(), static_cast<size_t>(size - 1));
        std::memcpy(buffer, m_strText.data(), count);
        buffer[count] = '\0';
    }
    return static_cast<int>(m_strText.size());
}

void MatrixTextModel::Rotate()
{
    m_strText = Padded(m_strText, m_nRows, m_nColumns);
    if (m_strText.empty())
        return;
    const size_t length = m_strText.size();
    if (m_nRows <= 1 || m_nColumns <= 0) {
        std::rotate(m_strText.begin(), m_strText.begin() + 1, m_strText.end());
        return;
    }
    const auto columns = static_cast<size_t>(m_nColumns);
    for (size_t row = 0; row < static_cast<size_t>(m_nRows) && row * columns < length; ++row) {
        const auto first = m_strText.begin() + static_cast<std::ptrdiff_t>(row * columns);
        const auto last = m_strText.begin() + static_cast<std::ptrdiff_t>(std::min(length, (row + 1) * columns));
        std::rotate(first, first + 1, last);
    }
}

UiSize MatrixTextModel::AdjustWidthToColumns(int columns, UiSize client)
{
    if (m_nColumns == 0)
        m_nColumns = columns;
    return {columns * m_metrics.PitchX() + 6, client.height + 6};
}

UiSize MatrixTextModel::AdjustHeightToRows(int rows, UiSize client)
{
    if (m_nRows == 0)
        m_nRows = rows;
    return {client.width + 3, rows * m_metrics.PitchY() + 3};
}

std::vector<MatrixTextModel::CellCopy> MatrixTextModel::Layout() const
{
    std::vector<CellCopy> cells;
    cells.reserve(m_strText.size());
    UiPoint at{0, 0};
    int inRow = 0;
    int row = 0;
    for (const char character : m_strText) {
        cells.push_back({GlyphCellOrigin(character, m_metrics), at});
        at.x += m_metrics.PitchX();
        if (++inRow != m_nColumns || m_nRows == 0)
            continue;
        // The row is full: a one-row display ends, a block goes on below.
        if (m_nRows == 1 || row == m_nRows - 1)
            break;
        ++row;
        inRow = 0;
        at = {0, at.y + m_metrics.PitchY()};
    }
    return cells;
}
