// Draws the program's built-in artwork into <resources>/bitmaps/<id>.png and
// <resources>/icons/<id>.png: the banner, the button skin in the skin's cell
// layout, the web-page button, the two LED images and the program icon.
// Transparent parts are magenta (0xFF00FF), as every skin has them.
#include "core/ui/Skins.h"

#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <cstdio>
#include <functional>
#include <map>
#include <string>

namespace {

const QColor kMagenta(255, 0, 255);
const QColor kFace(236, 236, 236);  // what half-covered edge pixels are blended with
const QColor kInk(52, 74, 110);
const QColor kInkHot(18, 40, 84);

using Glyph = std::function<void(QPainter&, const QRectF&, const QColor&)>;

// A picture drawn with antialiasing on a transparent canvas, then flattened:
// mostly covered pixels over the button face, the rest magenta.
QImage Flatten(const QImage& drawn)
{
    QImage out(drawn.size(), QImage::Format_RGB32);
    for (int y = 0; y < drawn.height(); ++y) {
        for (int x = 0; x < drawn.width(); ++x) {
            const QColor c = QColor::fromRgba(drawn.pixel(x, y));
            if (c.alpha() < 110) {
                out.setPixelColor(x, y, kMagenta);
                continue;
            }
            const double a = c.alphaF();
            out.setPixelColor(x, y,
                              QColor::fromRgbF(c.redF() * a + kFace.redF() * (1 - a),
                                               c.greenF() * a + kFace.greenF() * (1 - a),
                                               c.blueF() * a + kFace.blueF() * (1 - a)));
        }
    }
    return out;
}

QImage Canvas(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

QPen Pen(const QColor& colour, double width)
{
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void Disc(QPainter& p, const QPointF& centre, double radius, const QColor& ink)
{
    QRadialGradient shine(centre - QPointF(radius / 3, radius / 3), radius * 1.4);
    shine.setColorAt(0, QColor(250, 252, 255));
    shine.setColorAt(0.6, QColor(190, 205, 230));
    shine.setColorAt(1, QColor(150, 170, 210));
    p.setPen(Pen(ink, 1.2));
    p.setBrush(shine);
    p.drawEllipse(centre, radius, radius);
    p.setBrush(kFace);
    p.drawEllipse(centre, radius / 3.5, radius / 3.5);
}

// The glyphs, each drawn into a square area.
std::map<std::string, Glyph> Glyphs()
{
    std::map<std::string, Glyph> glyphs;
    glyphs["eject"] = [](QPainter& p, const QRectF& r, const QColor& ink) {
        QPainterPath up;
        up.moveTo(r.center().x(), r.top() + r.height() * 0.1);
        up.lineTo(r.right() - r.width() * 0.1, r.top() + r.height() * 0.58);
        up.lineTo(r.left() + r.width() * 0.1, r.top() + r.height() * 0.58);
        up.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        p.drawPath(up);
        p.drawRoundedRect(
            QRectF(r.left() + r.width() * 0.1, r.top() + r.height() * 0.7, r.width() * 0.8, r.height() * 0.17), 1, 1);
    };
    glyphs["media information"] = [](QPainter& p, const QRectF& r, const QColor& ink) {
        Disc(p, r.center(), r.width() / 2 - 1, ink);
        p.setPen(Pen(ink, 2));
        p.drawLine(QPointF(r.right() - 3, r.top() + 4), QPointF(r.right() - 3, r.top() + 4.2));
        p.drawLine(QPointF(r.right() - 3, r.top() + 8), QPointF(r.right() - 3, r.bottom() - 4));
    };
    glyphs["drive information"] = [](QPainter& p, const QRectF& r, const QColor& ink) {
        const QRectF box(r.left(), r.top() + r.height() * 0.25, r.width(), r.height() * 0.5);
        QLinearGradient body(box.topLeft(), box.bottomLeft());
        body.setColorAt(0, QColor(245, 247, 250));
        body.setColorAt(1, QColor(170, 180, 198));
        p.setPen(Pen(ink, 1.2));
        p.setBrush(body);
        p.drawRoundedRect(box, 2, 2);
        p.drawLine(QPointF(box.left() + 3, box.center().y()), QPointF(box.right() - 7, box.center().y()));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(40, 200, 60));
        p.drawEllipse(QPointF(box.right() - 3.5, box.bottom() - 3), 1.4, 1.4);
    };
    glyphs["book type"] = [](QPainter& p, const QRectF& r, const QColor& ink) {
        p.setPen(Pen(ink, 1.2));
        p.setBrush(QColor(120, 150, 205));
        const QRectF cover(r.left() + 2, r.top() + 1, r.width() - 4, r.height() - 2);
        p.drawRoundedRect(cover, 1.5, 1.5);
        p.setBrush(QColor(250, 250, 245));
        p.drawRect(QRectF(cover.left() + 3, cover.top() + 2, cover.width() - 5, cover.height() - 4));
        p.drawLine(QPointF(cover.left() + 6, cover.top() + 6), QPointF(cover.right() - 4, cover.top() + 6));
        p.drawLine(QPointF(cover.left() + 6, cover.top() + 10), QPointF(cover.right() - 4, cover.top() + 10));
    };
    glyphs["settings"] = [](QPainter& p, const QRectF& r, const QColor& ink) {
        const QPointF c = r.center();
        const double outer = r.width() / 2 - 0.5;
        const double inner = outer * 0.72;
        QPainterPath gear;
        for (int i = 0; i < 16; ++i) {
            const double angle = i * M_PI / 8;
            const double radius = (i % 2 == 0) ? outer : inner;
            const QPointF at(c.x() + radius * std::cos(angle), c.y() + radius * std::sin(angle));
            if (i == 0)
                gear.moveTo(at);
            else
                gear.lineTo(at);
        }
        gear.closeSubpath();
        gear.addEllipse(c, outer * 0.3, outer * 0.3);
        gear.setFillRule(Qt::OddEvenFill);
        p.setPen(Pen(ink, 1));
        p.setBrush(QColor(150, 165, 190));
        p.drawPath(gear);
    };
    glyphs["about"] = [](QPainter& p, const QRectF& r, const QColor& ink) {
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        p.drawEllipse(r.center(), r.width() / 2, r.width() / 2);
        p.setPen(Pen(Qt::white, 1.6));
        p.drawPoint(QPointF(r.center().x(), r.top() + r.height() * 0.25));
        p.drawLine(QPointF(r.center().x(), r.top() + r.height() * 0.45), QPointF(r.center().x(), r.bottom() - 2.5));
    };
    glyphs["help"] = [](QPainter& p, const QRectF& r, const QColor& ink) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(40, 120, 60));
        p.drawEllipse(r.center(), r.width() / 2, r.width() / 2);
        QFont font("DejaVu Sans");
        font.setPixelSize(static_cast<int>(r.height() * 0.8));
        font.setBold(true);
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(r, Qt::AlignCenter, "?");
        (void)ink;
    };
    glyphs["erase"] = [](QPainter& p, const QRectF& r, const QColor& ink) {
        Disc(p, r.center(), r.width() / 2 - 1, ink);
        p.setPen(Pen(QColor(210, 60, 40), 2.4));
        p.drawArc(QRectF(r.left() + 3, r.top() + 3, r.width() - 6, r.height() - 6), 30 * 16, 200 * 16);
    };
    glyphs["copy to clipboard"] = [](QPainter& p, const QRectF& r, const QColor& ink) {
        p.setPen(Pen(ink, 1.1));
        p.setBrush(QColor(225, 232, 245));
        p.drawRect(QRectF(r.left() + 1, r.top() + 1, r.width() * 0.6, r.height() * 0.72));
        p.setBrush(QColor(252, 252, 252));
        p.drawRect(
            QRectF(r.left() + r.width() * 0.35, r.top() + r.height() * 0.25, r.width() * 0.6, r.height() * 0.72));
    };
    glyphs["system information"] = [](QPainter& p, const QRectF& r, const QColor& ink) {
        const QRectF chip = r.adjusted(4, 4, -4, -4);
        p.setPen(Pen(ink, 1.2));
        for (int i = 0; i < 4; ++i) {
            const double t = chip.left() + 2 + i * (chip.width() - 4) / 3;
            p.drawLine(QPointF(t, r.top() + 1), QPointF(t, chip.top()));
            p.drawLine(QPointF(t, chip.bottom()), QPointF(t, r.bottom() - 1));
            const double s = chip.top() + 2 + i * (chip.height() - 4) / 3;
            p.drawLine(QPointF(r.left() + 1, s), QPointF(chip.left(), s));
            p.drawLine(QPointF(chip.right(), s), QPointF(r.right() - 1, s));
        }
        p.setBrush(QColor(60, 70, 90));
        p.drawRoundedRect(chip, 1.5, 1.5);
    };
    glyphs["speed test"] = [](QPainter& p, const QRectF& r, const QColor& ink) {
        const QRectF dial(r.left() + 1, r.top() + 3, r.width() - 2, r.width() - 2);
        p.setPen(Pen(ink, 1.6));
        p.setBrush(Qt::NoBrush);
        p.drawArc(dial, 0, 180 * 16);
        p.setPen(Pen(QColor(220, 70, 40), 2));
        p.drawLine(dial.center(), dial.center() + QPointF(dial.width() * 0.33, -dial.height() * 0.3));
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        p.drawEllipse(dial.center(), 1.8, 1.8);
    };
    glyphs["graph file viewer"] = [](QPainter& p, const QRectF& r, const QColor& ink) {
        p.setPen(Pen(ink, 1.3));
        p.drawLine(QPointF(r.left() + 1, r.top() + 1), QPointF(r.left() + 1, r.bottom() - 1));
        p.drawLine(QPointF(r.left() + 1, r.bottom() - 1), QPointF(r.right() - 1, r.bottom() - 1));
        p.setPen(Pen(QColor(40, 160, 60), 1.8));
        const QPointF points[] = {{r.left() + 3, r.bottom() - 4},
                                  {r.left() + 7, r.bottom() - 9},
                                  {r.left() + 11, r.bottom() - 7},
                                  {r.left() + 15, r.top() + 5},
                                  {r.right() - 2, r.top() + 3}};
        p.drawPolyline(points, 5);
    };
    glyphs["read error test"] = [](QPainter& p, const QRectF& r, const QColor& ink) {
        Disc(p, r.center(), r.width() / 2 - 1, ink);
        p.setPen(Pen(QColor(210, 40, 40), 2.2));
        const QPointF c = r.center() + QPointF(4, 4);
        p.drawLine(c + QPointF(-3, -3), c + QPointF(3, 3));
        p.drawLine(c + QPointF(-3, 3), c + QPointF(3, -3));
    };
    glyphs["hard disk test"] = [](QPainter& p, const QRectF& r, const QColor& ink) {
        const QRectF box = r.adjusted(1, 3, -1, -3);
        p.setPen(Pen(ink, 1.2));
        p.setBrush(QColor(175, 185, 200));
        p.drawRoundedRect(box, 2, 2);
        p.setBrush(QColor(230, 235, 242));
        p.drawEllipse(QPointF(box.center().x() - 1, box.center().y()), box.height() * 0.38, box.height() * 0.38);
        p.drawLine(box.center() + QPointF(-1, 0), box.bottomRight() + QPointF(-3, -3));
    };
    glyphs["PI/PO scan"] = [](QPainter& p, const QRectF& r, const QColor& ink) {
        p.setPen(Qt::NoPen);
        const double heights[] = {0.4, 0.75, 0.55, 0.95, 0.35};
        for (int i = 0; i < 5; ++i) {
            p.setBrush(i == 3 ? QColor(220, 60, 40) : QColor(60, 170, 80));
            const double h = (r.height() - 2) * heights[i];
            p.drawRect(QRectF(r.left() + 1 + i * (r.width() - 2) / 5, r.bottom() - 1 - h, (r.width() - 2) / 5 - 1, h));
        }
        p.setPen(Pen(ink, 1.1));
        p.drawLine(QPointF(r.left(), r.bottom() - 0.5), QPointF(r.right(), r.bottom() - 0.5));
    };
    glyphs["snapshot"] = [](QPainter& p, const QRectF& r, const QColor& ink) {
        const QRectF body = r.adjusted(0.5, 5, -0.5, -2);
        p.setPen(Pen(ink, 1.2));
        p.setBrush(QColor(90, 100, 120));
        p.drawRoundedRect(QRectF(body.left() + 3, body.top() - 3, 6, 4), 1, 1);
        p.drawRoundedRect(body, 2, 2);
        p.setBrush(QColor(200, 220, 250));
        p.drawEllipse(body.center(), body.height() * 0.33, body.height() * 0.33);
    };
    glyphs["save raw data"] = [](QPainter& p, const QRectF& r, const QColor& ink) {
        p.setPen(Pen(ink, 1.2));
        p.setBrush(QColor(70, 100, 160));
        p.drawRoundedRect(r.adjusted(1, 1, -1, -1), 2, 2);
        p.setBrush(QColor(245, 245, 245));
        p.drawRect(QRectF(r.left() + 4, r.top() + 1, r.width() - 8, r.height() * 0.35));
        QFont font("DejaVu Sans Mono");
        font.setPixelSize(static_cast<int>(r.height() * 0.42));
        font.setBold(true);
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(QRectF(r.left(), r.top() + r.height() * 0.45, r.width(), r.height() * 0.5), Qt::AlignCenter, "01");
    };
    glyphs["ISO compare and creation"] = [](QPainter& p, const QRectF& r, const QColor& ink) {
        Disc(p, r.center() + QPointF(-3, -2), r.width() / 2 - 3, ink);
        Disc(p, r.center() + QPointF(3, 2), r.width() / 2 - 3, ink);
    };
    return glyphs;
}

void DrawCell(QPainter& p, const QRectF& cell, const Glyph& glyph, bool hot)
{
    if (hot) {
        QLinearGradient plate(cell.topLeft(), cell.bottomLeft());
        plate.setColorAt(0, QColor(250, 252, 255));
        plate.setColorAt(1, QColor(196, 214, 240));
        p.setPen(Pen(QColor(120, 150, 200), 1));
        p.setBrush(plate);
        p.drawRoundedRect(cell.adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    }
    const double side = std::min(cell.width(), cell.height()) - (cell.height() > 20 ? 4 : 2);
    const QRectF area(cell.center().x() - side / 2, cell.center().y() - side / 2, side, side);
    glyph(p, area, hot ? kInkHot : kInk);
}

QImage DrawButtonSkin()
{
    const UiSize extent = SkinExtent();
    QImage canvas = Canvas(extent.width, extent.height);
    QPainter p(&canvas);
    p.setRenderHint(QPainter::Antialiasing);
    const auto glyphs = Glyphs();
    for (const SkinCell& cell : ButtonSkinCells()) {
        const Glyph& glyph = glyphs.at(cell.role);
        DrawCell(p, QRectF(cell.outX, cell.y, cell.width, cell.height), glyph, false);
        DrawCell(p, QRectF(cell.inX, cell.y, cell.width, cell.height), glyph, true);
    }
    p.end();
    return Flatten(canvas);
}

QImage DrawBanner()
{
    QImage banner(kBannerWidth, kBannerHeight, QImage::Format_RGB32);
    QPainter p(&banner);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient band(0, 0, kBannerWidth, kBannerHeight);
    band.setColorAt(0, QColor(14, 34, 78));
    band.setColorAt(1, QColor(64, 104, 164));
    p.fillRect(banner.rect(), band);
    // Rings of a disc rising on the right.
    for (int i = 0; i < 9; ++i) {
        p.setPen(QPen(QColor(255, 255, 255, 18 + i * 3), 1.2));
        const double radius = 40 + i * 14;
        p.drawEllipse(QPointF(kBannerWidth - 90, kBannerHeight + 20), radius, radius);
    }
    QFont name("DejaVu Sans");
    name.setPixelSize(26);
    name.setBold(true);
    p.setFont(name);
    p.setPen(QColor(236, 242, 252));
    p.drawText(QRect(14, 2, 400, 32), Qt::AlignLeft | Qt::AlignVCenter, "Quenzario");
    p.setPen(QColor(0, 0, 0, 90));
    p.drawLine(0, kBannerHeight - 1, kBannerWidth, kBannerHeight - 1);
    return banner;
}

QImage DrawWebButton(bool hot)
{
    constexpr int kSide = 24;
    QImage canvas = Canvas(kSide, kSide);
    QPainter p(&canvas);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c(kSide / 2.0, kSide / 2.0);
    QRadialGradient sea(c - QPointF(3, 3), 13);
    sea.setColorAt(0, hot ? QColor(150, 210, 255) : QColor(110, 170, 225));
    sea.setColorAt(1, hot ? QColor(40, 110, 210) : QColor(30, 80, 160));
    p.setPen(QPen(QColor(20, 50, 110), 1.2));
    p.setBrush(sea);
    p.drawEllipse(c, 10.5, 10.5);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(230, 240, 255, 200), 1));
    p.drawEllipse(c, 4.5, 10.5);
    p.drawLine(QPointF(c.x() - 10.5, c.y()), QPointF(c.x() + 10.5, c.y()));
    p.drawLine(QPointF(c.x(), c.y() - 10.5), QPointF(c.x(), c.y() + 10.5));
    p.end();
    return Flatten(canvas);
}

// The LEDs are drawn without antialiasing: the key colour must stay pure.
QImage DrawLed(const QColor& key)
{
    constexpr int kSide = 11;
    QImage led(kSide, kSide, QImage::Format_RGB32);
    led.fill(kMagenta);
    QPainter p(&led);
    p.setPen(QColor(70, 70, 70));
    p.setBrush(key);
    p.drawEllipse(QRect(0, 0, kSide - 1, kSide - 1));
    p.end();
    led.setPixelColor(3, 3, QColor(255, 255, 255));
    led.setPixelColor(4, 3, QColor(255, 255, 255));
    led.setPixelColor(3, 4, QColor(255, 255, 255));
    return led;
}

QImage DrawProgramIcon()
{
    constexpr int kSide = 64;
    QImage icon(kSide, kSide, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c(kSide / 2.0, kSide / 2.0);
    QConicalGradient rainbow(c, 30);
    rainbow.setColorAt(0, QColor(210, 225, 250));
    rainbow.setColorAt(0.25, QColor(160, 235, 220));
    rainbow.setColorAt(0.5, QColor(235, 215, 250));
    rainbow.setColorAt(0.75, QColor(250, 235, 190));
    rainbow.setColorAt(1, QColor(210, 225, 250));
    p.setPen(QPen(QColor(30, 50, 100), 2));
    p.setBrush(rainbow);
    p.drawEllipse(c, 30, 30);
    p.setBrush(Qt::transparent);
    p.setCompositionMode(QPainter::CompositionMode_Clear);
    p.drawEllipse(c, 6, 6);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, 6, 6);
    // A rising rate curve across the disc.
    p.setPen(QPen(QColor(20, 150, 60), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const QPointF curve[] = {{12, 46}, {24, 40}, {36, 30}, {52, 16}};
    p.drawPolyline(curve, 4);
    return icon;
}

bool Save(const QImage& image, const std::string& path)
{
    if (!image.save(QString::fromStdString(path), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return false;
    }
    std::printf("%s %dx%d\n", path.c_str(), image.width(), image.height());
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: draw_artwork <resources folder>\n");
        return 2;
    }
    const std::string bitmaps = std::string(argv[1]) + "/bitmaps/";
    const std::string icons = std::string(argv[1]) + "/icons/";
    const auto name = [](unsigned id) { return std::to_string(id) + ".png"; };
    bool ok = Save(DrawButtonSkin(), bitmaps + name(IDB_BUTTON_SKIN));
    ok = Save(DrawBanner(), bitmaps + name(IDB_BANNER)) && ok;
    ok = Save(DrawWebButton(true), bitmaps + name(IDB_WEBPAGE_IN)) && ok;
    ok = Save(DrawWebButton(false), bitmaps + name(IDB_WEBPAGE_OUT)) && ok;
    ok = Save(DrawLed(QColor(255, 0, 0)), bitmaps + name(IDB_LED_LIT)) && ok;
    ok = Save(DrawLed(QColor(0, 255, 0)), bitmaps + name(IDB_LED_UNLIT)) && ok;
    ok = Save(DrawProgramIcon(), icons + "128.png") && ok;
    return ok ? 0 : 1;
}
