#include "gui/ui/MatrixStatic.h"

#include "gui/ui/QtConvert.h"
#include "gui/ui/Resources.h"

#include <QPainter>

#include <algorithm>

CMatrixStatic::CMatrixStatic(QWidget* parent) : QWidget(parent)
{
}

void CMatrixStatic::SetSize(int preset)
{
    m_model.SetSize(preset);
    m_sheet = QImage();
}

void CMatrixStatic::SetAutoPad(bool pad, char padChar)
{
    m_model.SetAutoPad(pad, padChar);
}

QSize CMatrixStatic::ClientSize() const
{
    return QSize(std::max(0, width() - MatrixTextModel::kFrameTotal),
                 std::max(0, height() - MatrixTextModel::kFrameTotal));
}

void CMatrixStatic::AdjustWidthToColumns(int columns)
{
    const QSize client = ClientSize();
    const UiSize size = m_model.AdjustWidthToColumns(columns, {client.width(), client.height()});
    setFixedSize(size.width, size.height);
}

void CMatrixStatic::AdjustHeightToRows(int rows)
{
    const QSize client = ClientSize();
    const UiSize size = m_model.AdjustHeightToRows(rows, {client.width(), client.height()});
    setFixedSize(size.width, size.height);
}

void CMatrixStatic::SetColumnCount(int columns)
{
    m_model.SetColumnCount(columns);
}

void CMatrixStatic::SetRowCount(int rows)
{
    m_model.SetRowCount(rows);
}

void CMatrixStatic::SetColors(COLORREF background, COLORREF lit, COLORREF unlit)
{
    m_colors = {background, lit, unlit};
    m_sheet = QImage();
    update();
}

void CMatrixStatic::SetText(const std::string& text)
{
    if (m_model.SetText(text))
        repaint();
}

const QImage& CMatrixStatic::Sheet()
{
    if (m_sheet.isNull()) {
        m_sheet = LoadBitmapResource(m_model.Metrics().bitmapId).convertToFormat(QImage::Format_RGB32);
        TransformPixels(m_sheet, [this](QRgb pixel) {
            return ToQColor(RemapSheetColor(ToColorRef(QColor(pixel)), m_colors)).rgb();
        });
    }
    return m_sheet;
}

void CMatrixStatic::paintEvent(QPaintEvent*)
{
    if (m_model.Text().empty())
        return;
    const QSize client = ClientSize();
    QImage offscreen(client, QImage::Format_RGB32);
    offscreen.fill(ToQColor(m_colors.background));
    {
        QPainter cells(&offscreen);
        const QImage& sheet = Sheet();
        const MatrixCellMetrics& metrics = m_model.Metrics();
        for (const MatrixTextModel::CellCopy& cell : m_model.Layout())
            cells.drawImage(QPoint(cell.dest.x, cell.dest.y), sheet,
                            QRect(cell.source.x, cell.source.y, metrics.PitchX(), metrics.PitchY()));
    }
    QPainter painter(this);
    // A sunken frame: two lines of shadow left and top, one of light right and bottom.
    painter.fillRect(rect(), palette().color(QPalette::Dark));
    painter.fillRect(QRect(MatrixTextModel::kFrameLeft, height() - 1, width(), 1), palette().color(QPalette::Light));
    painter.fillRect(QRect(width() - 1, MatrixTextModel::kFrameTop, 1, height()), palette().color(QPalette::Light));
    painter.drawImage(QPoint(MatrixTextModel::kFrameLeft, MatrixTextModel::kFrameTop), offscreen);
}

void CMatrixStatic::timerEvent(QTimerEvent*)
{
    m_model.Rotate();
    update();
}

void SetUpOneLineDisplay(CMatrixStatic& display, int columns, const LedColorScheme& colours)
{
    display.SetRowCount(1);
    display.SetColumnCount(columns);
    display.SetSize(2);
    display.SetColors(colours.background, colours.lit, colours.unlit);
    display.AdjustWidthToColumns(columns);
    display.AdjustHeightToRows(1);
    display.SetAutoPad(true, ' ');
}
