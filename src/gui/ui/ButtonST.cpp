#include "gui/ui/ButtonST.h"

#include "gui/ui/QtConvert.h"
#include "gui/ui/Resources.h"

#include <QApplication>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

namespace {

constexpr QRgb kWhite = 0xFFFFFFu;

// The system's colours do not change with the control's state.
QColor SystemColor(const QWidget& widget, QPalette::ColorRole role)
{
    return widget.palette().color(QPalette::Active, role);
}

// Top and left edges in one colour, bottom and right in the other.
void Draw3dRect(QPainter& painter, const QRect& rect, const QColor& topLeft, const QColor& bottomRight)
{
    painter.fillRect(QRect(rect.left(), rect.top(), rect.width() - 1, 1), topLeft);
    painter.fillRect(QRect(rect.left(), rect.top(), 1, rect.height() - 1), topLeft);
    painter.fillRect(QRect(rect.right(), rect.top(), 1, rect.height()), bottomRight);
    painter.fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), bottomRight);
}

}  // namespace

QImage MaskedImage(const QImage& image, COLORREF transparent)
{
    QImage masked = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = ToQColor(transparent).rgb() & kWhite;
    TransformPixels(masked, [key](QRgb pixel) { return (pixel & kWhite) == key ? 0u : pixel; });
    return masked;
}

QImage GrayIcon(const QImage& icon)
{
    QImage gray = icon.convertToFormat(QImage::Format_ARGB32);
    TransformPixels(gray, [](QRgb pixel) {
        if ((pixel & kWhite) == 0)
            return pixel;
        const int level = static_cast<int>(GrayLevel(static_cast<unsigned>(qRed(pixel)),
                                                     static_cast<unsigned>(qGreen(pixel)),
                                                     static_cast<unsigned>(qBlue(pixel))));
        return qRgba(level, level, level, qAlpha(pixel));
    });
    return gray;
}

QImage EmbossedImage(const QImage& image, const QColor& highlight, const QColor& shadow)
{
    const QImage source = image.convertToFormat(QImage::Format_ARGB32);
    QImage embossed(source.width() + 1, source.height() + 1, QImage::Format_ARGB32);
    embossed.fill(Qt::transparent);
    const auto ink = [&source](int x, int y) {
        const QRgb pixel = source.pixel(x, y);
        return qAlpha(pixel) != 0 && (pixel & kWhite) != kWhite;
    };
    for (int pass = 0; pass < 2; ++pass) {
        const int shift = pass == 0 ? 1 : 0;
        const QRgb color = (pass == 0 ? highlight : shadow).rgba();
        for (int y = 0; y < source.height(); ++y)
            for (int x = 0; x < source.width(); ++x)
                if (ink(x, y))
                    embossed.setPixel(x + shift, y + shift, color);
    }
    return embossed;
}

CButtonST::CButtonST(QWidget* parent) : CButtonST(QString(), parent)
{
}

CButtonST::CButtonST(const QString& caption, QWidget* parent) :
    QPushButton(caption, parent),
    m_look(ToColorRef(SystemColor(*this, QPalette::Button)), ToColorRef(SystemColor(*this, QPalette::ButtonText)))
{
    setMouseTracking(true);
    m_look.SetPressShift(BTNST_PRESSED_LEFTRIGHT);
}

CButtonST::~CButtonST() = default;

void CButtonST::FreeImages()
{
    m_icons = {};
    m_bitmaps = {};
}

void CButtonST::Repaint(bool repaint)
{
    if (repaint)
        update();
}

unsigned CButtonST::SetIcons(const QImage& in, const QImage& out)
{
    FreeImages();
    if (!in.isNull()) {
        m_icons[0] = in.convertToFormat(QImage::Format_ARGB32);
        if (!out.isNull())
            m_icons[1] = out.convertToFormat(QImage::Format_ARGB32);
    }
    updateGeometry();
    update();
    return BTNST_OK;
}

QSize CButtonST::sizeHint() const
{
    QSize size = QPushButton::sizeHint();
    if (HasIcon() && !text().isEmpty() && m_look.Alignment() != ST_ALIGN_VERT)
        size.rwidth() += m_icons[0].width() + m_look.ImageOrigin().x;
    return size;
}

unsigned CButtonST::SetIcons(const QImage& in, int outKind)
{
    return SetIcons(in, outKind == BTNST_AUTO_GRAY && !in.isNull() ? GrayIcon(in) : QImage());
}

unsigned CButtonST::SetIconResources(unsigned inId, int outId)
{
    const QImage in = inId ? LoadIconResource(inId) : QImage();
    const QImage out = outId > 0 ? LoadIconResource(static_cast<unsigned>(outId)) : QImage();
    if ((inId && in.isNull()) || (outId > 0 && out.isNull())) {
        FreeImages();
        update();
        return BTNST_INVALIDRESOURCE;
    }
    if (outId == BTNST_AUTO_GRAY)
        return SetIcons(in, BTNST_AUTO_GRAY);
    return SetIcons(in, out);
}

unsigned CButtonST::SetBitmaps(const QImage& in, COLORREF transparentIn, const QImage& out, COLORREF transparentOut)
{
    FreeImages();
    if (!in.isNull())
        m_bitmaps[0] = MaskedImage(in, transparentIn);
    if (!out.isNull())
        m_bitmaps[1] = MaskedImage(out, transparentOut);
    update();
    return BTNST_OK;
}

unsigned CButtonST::SetBitmapResources(unsigned inId, COLORREF transparentIn, unsigned outId, COLORREF transparentOut)
{
    const QImage in = inId ? LoadBitmapResource(inId) : QImage();
    const QImage out = outId ? LoadBitmapResource(outId) : QImage();
    if ((inId && in.isNull()) || (outId && out.isNull())) {
        FreeImages();
        update();
        return BTNST_INVALIDRESOURCE;
    }
    return SetBitmaps(in, transparentIn, out, transparentOut);
}

unsigned CButtonST::SetBitmapCells(const QImage& in, int xIn, int yIn, int cellWidth, int cellHeight, const QImage& out,
                                   int xOut, int yOut, COLORREF transparent)
{
    if (in.isNull() || out.isNull())
        return BTNST_FAILEDMASK;
    FreeImages();
    if (cellWidth <= 0 || cellHeight <= 0) {
        update();
        return BTNST_FAILEDMASK;
    }
    // A cell reaching past the skin is transparent there.
    const auto cell = [&](const QImage& skin, int x, int y) {
        return MaskedImage(skin.convertToFormat(QImage::Format_ARGB32).copy(x, y, cellWidth, cellHeight), transparent);
    };
    m_bitmaps[0] = cell(in, xIn, yIn);
    m_bitmaps[1] = cell(out, xOut, yOut);
    repaint();
    return BTNST_OK;
}

unsigned CButtonST::SetBitmapCellResource(unsigned bitmapId, int xIn, int yIn, int cellWidth, int cellHeight, int xOut,
                                          int yOut, COLORREF transparent)
{
    if (bitmapId == 0)
        return BTNST_FAILEDMASK;
    const QImage skin = LoadBitmapResource(bitmapId);
    return SetBitmapCells(skin, xIn, yIn, cellWidth, cellHeight, skin, xOut, yOut, transparent);
}

unsigned CButtonST::SetFlatStyle(bool flat, bool repaint)
{
    m_look.SetFlat(flat);
    Repaint(repaint);
    return BTNST_OK;
}

unsigned CButtonST::SetAlignment(std::uint8_t align, bool repaint)
{
    const unsigned result = m_look.SetAlignment(align);
    if (result == BTNST_OK)
        Repaint(repaint);
    return result;
}

unsigned CButtonST::SetPressShift(std::uint8_t style, bool repaint)
{
    const unsigned result = m_look.SetPressShift(style);
    if (result == BTNST_OK)
        Repaint(repaint);
    return result;
}

unsigned CButtonST::SetCheckState(int check, bool repaint)
{
    if (isCheckable()) {
        setChecked(check != 0);
        Repaint(repaint);
    }
    return BTNST_OK;
}

unsigned CButtonST::SetDefaultColors(bool repaint)
{
    m_look.SetDefaultColors(ToColorRef(SystemColor(*this, QPalette::Button)),
                            ToColorRef(SystemColor(*this, QPalette::ButtonText)));
    Repaint(repaint);
    return BTNST_OK;
}

unsigned CButtonST::ShiftColor(std::uint8_t index, std::int16_t offset, bool repaint)
{
    const unsigned result = m_look.ShiftColor(index, offset);
    if (result == BTNST_OK)
        Repaint(repaint);
    return result;
}

unsigned CButtonST::SetCursorResource(int cursorId, bool repaint)
{
    unsetCursor();
    if (cursorId == 0)
        return BTNST_OK;
    const auto cursor = cursorId > 0 ? LoadCursorResource(static_cast<unsigned>(cursorId)) : std::nullopt;
    if (!cursor)
        return BTNST_INVALIDRESOURCE;
    setCursor(*cursor);
    Repaint(repaint);
    return BTNST_OK;
}

unsigned CButtonST::SetDrawBorder(bool draw, bool repaint)
{
    m_look.SetDrawBorder(draw);
    Repaint(repaint);
    return BTNST_OK;
}

void CButtonST::SetTooltipText(const std::string& text, bool activate)
{
    setToolTip(activate ? QString::fromStdString(text) : QString());
}

void CButtonST::EnableTransparentDraw(bool repaint)
{
    m_bDrawTransparent = true;
    Repaint(repaint);
}

ButtonDrawState CButtonST::CurrentState() const
{
    ButtonDrawState state;
    state.checkBox = isCheckable();
    state.pressed = isDown() || (state.checkBox && isChecked());
    state.focused = hasFocus();
    state.disabled = !isEnabled();
    state.isDefault = isDefault();
    return state;
}

void CButtonST::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const ButtonDrawState state = CurrentState();
    QRect item = rect();
    if (m_look.HasBlackFrame(state)) {
        painter.setPen(Qt::black);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(item.adjusted(0, 0, -1, -1));
        item.adjust(1, 1, -1, -1);
    }
    if (!m_bDrawTransparent)
        PaintBackground(painter, item, state);
    if (m_look.PaintsBorder())
        PaintBorder(painter, item, state);

    const bool hasCaption = !text().isEmpty();
    QRect caption = item;
    if (HasIcon())
        PaintIcon(painter, item, hasCaption, caption, state);
    if (HasBitmap())
        PaintBitmap(painter, item, hasCaption, caption, state);
    if (hasCaption)
        PaintCaption(painter, caption, state);

    if (m_look.DrawsFocusRect(state)) {
        painter.setPen(QPen(SystemColor(*this, QPalette::ButtonText), 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(ToQRect(ButtonLook::FocusRect(ToUiRect(item))).adjusted(0, 0, -1, -1));
    }
}

void CButtonST::PaintBackground(QPainter& painter, const QRect& rect, const ButtonDrawState& state)
{
    painter.fillRect(rect, ToQColor(m_look.BackgroundColor(state)));
}

void CButtonST::PaintBorder(QPainter& painter, const QRect& rect, const ButtonDrawState& state)
{
    const QColor highlight = SystemColor(*this, QPalette::Light);
    const QColor shadow = SystemColor(*this, QPalette::Dark);
    switch (m_look.Border(state)) {
    case ButtonBorder::Sunken: Draw3dRect(painter, rect, shadow, highlight); break;
    case ButtonBorder::Raised: Draw3dRect(painter, rect, highlight, shadow); break;
    case ButtonBorder::None: break;
    }
}

const QImage& CButtonST::PlaceImage(const std::array<QImage, 2>& images, const QRect& item, bool hasCaption,
                                    QRect& caption, const ButtonDrawState& state, QPoint& at) const
{
    const QImage& image = images[m_look.UsesOutImage(state, !images[1].isNull()) ? 1 : 0];
    const ButtonImageLayout layout = m_look.PlaceImage(ToUiRect(item), rect().left() + rect().width(),
                                                       {image.width(), image.height()}, hasCaption, state);
    caption = ToQRect(layout.caption);
    at = QPoint(layout.image.left, layout.image.top);
    return image;
}

void CButtonST::PaintIcon(QPainter& painter, const QRect& item, bool hasCaption, QRect& caption,
                          const ButtonDrawState& state)
{
    QPoint at;
    const QImage& icon = PlaceImage(m_icons, item, hasCaption, caption, state, at);
    if (!state.disabled) {
        painter.drawImage(at, icon);
        return;
    }
    QStyleOption option;
    option.initFrom(this);
    painter.drawPixmap(at, style()->generatedIconPixmap(QIcon::Disabled, QPixmap::fromImage(icon), &option));
}

void CButtonST::PaintBitmap(QPainter& painter, const QRect& item, bool hasCaption, QRect& caption,
                            const ButtonDrawState& state)
{
    QPoint at;
    const QImage& bitmap = PlaceImage(m_bitmaps, item, hasCaption, caption, state, at);
    if (!state.disabled || !m_bShowDisabledBitmap) {
        painter.drawImage(at, bitmap);
        return;
    }
    QImage overWhite(bitmap.size(), QImage::Format_RGB32);
    overWhite.fill(Qt::white);
    QPainter(&overWhite).drawImage(0, 0, bitmap);
    painter.drawImage(
        at, EmbossedImage(overWhite, SystemColor(*this, QPalette::Light), SystemColor(*this, QPalette::Dark)));
}

void CButtonST::PaintCaption(QPainter& painter, const QRect& caption, const ButtonDrawState& state)
{
    const QRect place = ToQRect(m_look.CaptionRect(ToUiRect(caption), state));
    const int flags = Qt::AlignCenter | Qt::TextWordWrap | Qt::TextShowMnemonic;
    painter.setFont(font());
    if (state.disabled) {
        painter.setPen(SystemColor(*this, QPalette::Light));
        painter.drawText(place.translated(1, 1), flags, text());
        painter.setPen(SystemColor(*this, QPalette::Dark));
        painter.drawText(place, flags, text());
        return;
    }
    painter.setPen(ToQColor(m_look.CaptionColor(state)));
    painter.drawText(place, flags, text());
}

void CButtonST::EndHot()
{
    if (m_look.EndHot())
        update();
}

void CButtonST::enterEvent(QEnterEvent* event)
{
    QPushButton::enterEvent(event);
    if (m_look.TrackMouse(true, QApplication::mouseButtons() & Qt::LeftButton))
        update();
}

void CButtonST::leaveEvent(QEvent* event)
{
    QPushButton::leaveEvent(event);
    EndHot();
}

void CButtonST::mouseMoveEvent(QMouseEvent* event)
{
    QPushButton::mouseMoveEvent(event);
    const bool over = rect().contains(event->position().toPoint());
    if (m_look.TrackMouse(over, event->buttons() & Qt::LeftButton))
        update();
}

void CButtonST::focusOutEvent(QFocusEvent* event)
{
    QPushButton::focusOutEvent(event);
    EndHot();
}

void CButtonST::changeEvent(QEvent* event)
{
    QPushButton::changeEvent(event);
    switch (event->type()) {
    case QEvent::EnabledChange:
        if (!isEnabled())
            EndHot();
        break;
    case QEvent::ActivationChange:
        if (!isActiveWindow())
            EndHot();
        break;
    case QEvent::ApplicationPaletteChange:
        // The system's colours changed: the button takes the new defaults.
        SetDefaultColors(true);
        break;
    default: break;
    }
}
