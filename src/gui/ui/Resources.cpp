#include "gui/ui/Resources.h"

#include "core/ui/MatrixGlyphs.h"
#include "gui/ui/QtConvert.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

// The artwork is compiled into this static library: its resources are
// registered by hand, since nothing else refers to them.
static void EnsureArtwork()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(quenzario);
        return true;
    }();
    (void)registered;
}

namespace {

constexpr int kIconSize = 32;

QImage ShippedImage(const char* folder, unsigned id)
{
    EnsureArtwork();
    return QImage(QString(":/%1/%2.png").arg(folder).arg(id));
}

std::optional<int> PresetOfSheet(unsigned id)
{
    for (const int preset : {0, 1, 2}) {
        if (MatrixPreset(preset).bitmapId == id)
            return preset;
    }
    return std::nullopt;
}

QImage BlankIcon()
{
    QImage icon(kIconSize, kIconSize, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    return icon;
}

// A blue disc with a white "i".
QImage DrawMessageIcon()
{
    QImage icon = BlankIcon();
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0x10, 0x3A, 0x8C), 1.5));
    painter.setBrush(QColor(0x2B, 0x6C, 0xD8));
    painter.drawEllipse(QRectF(1.5, 1.5, 29, 29));
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawEllipse(QRectF(13.5, 6.5, 5, 5));
    painter.drawRoundedRect(QRectF(13.5, 13.5, 5, 12), 1.5, 1.5);
    return icon;
}

// A yellow triangle with a black "!".
QImage DrawWarningIcon()
{
    QImage icon = BlankIcon();
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath triangle;
    triangle.moveTo(16, 2);
    triangle.lineTo(30.5, 29);
    triangle.lineTo(1.5, 29);
    triangle.closeSubpath();
    painter.setPen(QPen(QColor(0x80, 0x60, 0x00), 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(QColor(0xFF, 0xCC, 0x1A));
    painter.drawPath(triangle);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawRoundedRect(QRectF(14.5, 10, 3, 11), 1, 1);
    painter.drawEllipse(QRectF(14.25, 22.5, 3.5, 3.5));
    return icon;
}

}  // namespace

QImage RenderGlyphSheet(int preset)
{
    const MatrixCellMetrics metrics = MatrixPreset(preset);
    const UiSize size = GlyphSheetSize(metrics);
    QImage sheet(size.width, size.height, QImage::Format_RGB32);
    sheet.fill(ToQColor(kSheetBackground));
    QPainter painter(&sheet);
    for (int code = kFirstGlyph; code <= kLastGlyph; ++code) {
        const UiPoint cell = GlyphCellOrigin(static_cast<char>(code), metrics);
        for (int row = 0; row < kGlyphDotRows; ++row) {
            for (int column = 0; column < kGlyphDotColumns; ++column) {
                const bool lit = GlyphDotLit(static_cast<unsigned char>(code), column, row);
                const UiRect dot = GlyphDotRect(metrics, column, row).Offset(cell.x, cell.y);
                painter.fillRect(ToQRect(dot), ToQColor(lit ? kSheetLit : kSheetUnlit));
            }
        }
    }
    return sheet;
}

QImage LoadBitmapResource(unsigned id)
{
    QImage shipped = ShippedImage("bitmaps", id);
    if (!shipped.isNull())
        return shipped;
    if (const auto preset = PresetOfSheet(id))
        return RenderGlyphSheet(*preset);
    return QImage();
}

QImage LoadIconResource(unsigned id)
{
    QImage shipped = ShippedImage("icons", id);
    if (!shipped.isNull())
        return shipped;
    switch (id) {
    case IDI_MESSAGE: return DrawMessageIcon();
    case IDI_WARNING: return DrawWarningIcon();
    default: return QImage();
    }
}

std::optional<QCursor> LoadCursorResource(unsigned id)
{
    const QImage shipped = ShippedImage("cursors", id);
    if (shipped.isNull())
        return std::nullopt;
    return QCursor(QPixmap::fromImage(shipped));
}
