#include "gui/graphs/PlotReplay.h"

#include "gui/ui/QtConvert.h"

#include <QPainter>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace {

// The clip as a pixel range, within the image.
struct PixelBox {
    int left;
    int top;
    int right;  // exclusive
    int bottom;  // exclusive

    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

void SetPixel(QImage& image, int x, int y, QRgb colour)
{
    reinterpret_cast<QRgb*>(image.scanLine(y))[x] = colour;
}

// Pixel i (0 .. steps - 1) of the line lies at major + i on its long axis
// and at minor + round(i x delta / steps) on the other: only the steps whose
// long-axis position lies in the clip are looked at.
void PaintLine(QImage& image, const PlotStep& step, QRgb colour, const PixelBox& box)
{
    const std::int64_t dx = static_cast<std::int64_t>(step.x2) - step.x1;
    const std::int64_t dy = static_cast<std::int64_t>(step.y2) - step.y1;
    const bool steep = std::llabs(dy) > std::llabs(dx);
    const std::int64_t steps = steep ? std::llabs(dy) : std::llabs(dx);
    if (steps == 0)
        return;
    const std::int64_t majorStart = steep ? step.y1 : step.x1;
    const std::int64_t majorSign = (steep ? dy : dx) < 0 ? -1 : 1;
    const std::int64_t minorStart = steep ? step.x1 : step.y1;
    const std::int64_t minorDelta = steep ? dx : dy;
    const std::int64_t low = steep ? box.top : box.left;
    const std::int64_t high = steep ? box.bottom : box.right;  // exclusive
    // The steps whose long-axis position lies in [low, high).
    std::int64_t first = 0;
    std::int64_t last = steps - 1;
    if (majorSign > 0) {
        first = std::max<std::int64_t>(first, low - majorStart);
        last = std::min<std::int64_t>(last, high - 1 - majorStart);
    } else {
        first = std::max<std::int64_t>(first, majorStart - (high - 1));
        last = std::min<std::int64_t>(last, majorStart - low);
    }
    for (std::int64_t i = first; i <= last; ++i) {
        const std::int64_t twice = 2 * i * minorDelta;
        // Rounded half away from zero, symmetric for both directions.
        const std::int64_t offset = twice >= 0 ? (twice + steps) / (2 * steps) : -((-twice + steps) / (2 * steps));
        const std::int64_t major = majorStart + majorSign * i;
        const std::int64_t minor = minorStart + offset;
        const int x = static_cast<int>(steep ? minor : major);
        const int y = static_cast<int>(steep ? major : minor);
        if (box.Contains(x, y))
            SetPixel(image, x, y, colour);
    }
}

void FillRect(QImage& image, const PlotStep& step, QRgb colour, const PixelBox& box)
{
    const int left = std::max(step.x1, box.left);
    const int right = std::min(step.x2, box.right);
    const int top = std::max(step.y1, box.top);
    const int bottom = std::min(step.y2, box.bottom);
    for (int y = top; y < bottom; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        std::fill(line + left, line + std::max(left, right), colour);
    }
}

void PaintText(QImage& image, const PlotStep& step, const PixelBox& box)
{
    QPainter painter(&image);
    painter.setClipRect(QRect(box.left, box.top, box.right - box.left, box.bottom - box.top));
    painter.setPen(ToQColor(step.color));
    QFont font("Arial");
    font.setPixelSize(11);
    painter.setFont(font);
    painter.drawText(QRect(step.x1, step.y1, image.width(), image.height()), Qt::AlignLeft | Qt::AlignTop,
                     QString::fromStdString(step.text));
}

}  // namespace

void ReplayPlotSteps(QImage& image, const std::vector<PlotStep>& steps, const PlotArea& clip)
{
    const PixelBox box{std::max(clip.left, 0), std::max(clip.top, 0), std::min(clip.right, image.width()),
                       std::min(clip.bottom, image.height())};
    if (box.right <= box.left || box.bottom <= box.top)
        return;
    for (const PlotStep& step : steps) {
        const QRgb colour = ToQColor(step.color).rgb();
        switch (step.kind) {
        case PlotStepKind::Line: PaintLine(image, step, colour, box); break;
        case PlotStepKind::FillRect: FillRect(image, step, colour, box); break;
        case PlotStepKind::Text: PaintText(image, step, box); break;
        }
    }
}
