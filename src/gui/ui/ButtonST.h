#pragma once

#include "core/base/ColorRef.h"
#include "core/ui/ButtonLook.h"

#include <QImage>
#include <QPushButton>

#include <array>
#include <cstdint>
#include <string>

class QPainter;

// The out image of SetIcons/SetIconResources made as a grey copy of the in icon.
constexpr int BTNST_AUTO_GRAY = -2;

// Push or check button (check box when checkable) that draws itself from its
// own state and colours: background, border, icon or bitmap, caption and
// focus rectangle. Flat buttons turn "hot" while the pointer is over them.
// The in image (index 0) shows while hot or pressed, the out image (1)
// otherwise.
class CButtonST : public QPushButton {
    Q_OBJECT

public:
    explicit CButtonST(QWidget* parent = nullptr);
    explicit CButtonST(const QString& caption, QWidget* parent = nullptr);
    ~CButtonST() override;

    // Images; each frees the images set before. A null in image means none.
    unsigned SetIcons(const QImage& in, const QImage& out = QImage());
    unsigned SetIcons(const QImage& in, int outKind);  // 0 none, BTNST_AUTO_GRAY
    unsigned SetIconResources(unsigned inId, int outId);
    unsigned SetBitmaps(const QImage& in, COLORREF transparentIn, const QImage& out = QImage(),
                        COLORREF transparentOut = 0);
    unsigned SetBitmapResources(unsigned inId, COLORREF transparentIn, unsigned outId, COLORREF transparentOut);
    // Both images cut from cells of skin bitmaps.
    unsigned SetBitmapCells(const QImage& in, int xIn, int yIn, int cellWidth, int cellHeight, const QImage& out,
                            int xOut, int yOut, COLORREF transparent);
    unsigned SetBitmapCellResource(unsigned bitmapId, int xIn, int yIn, int cellWidth, int cellHeight, int xOut,
                                   int yOut, COLORREF transparent);

    unsigned SetFlatStyle(bool flat, bool repaint = true);
    unsigned SetAlignment(std::uint8_t align, bool repaint = true);
    unsigned SetPressShift(std::uint8_t style, bool repaint = true);
    unsigned SetCheckState(int check, bool repaint = true);
    int GetCheckState() const { return isCheckable() && isChecked() ? 1 : 0; }
    unsigned SetDefaultColors(bool repaint = true);
    unsigned ShiftColor(std::uint8_t index, std::int16_t offset, bool repaint = true);
    unsigned SetCursorResource(int cursorId, bool repaint = false);
    unsigned SetDrawBorder(bool draw, bool repaint = true);
    void SetTooltipText(const std::string& text, bool activate = true);
    // Draws over the parent's background instead of a background colour.
    void EnableTransparentDraw(bool repaint = false);

    const ButtonLook& Look() const { return m_look; }
    bool HasIcon() const { return !m_icons[0].isNull(); }
    bool HasBitmap() const { return !m_bitmaps[0].isNull(); }
    const QImage& Icon(int index) const { return m_icons.at(static_cast<std::size_t>(index)); }
    const QImage& Bitmap(int index) const { return m_bitmaps.at(static_cast<std::size_t>(index)); }
    // Room for an icon beside the caption too.
    QSize sizeHint() const override;

protected:
    ButtonDrawState CurrentState() const;

    virtual void PaintBackground(QPainter& painter, const QRect& rect, const ButtonDrawState& state);
    virtual void PaintBorder(QPainter& painter, const QRect& rect, const ButtonDrawState& state);
    virtual void PaintIcon(QPainter& painter, const QRect& item, bool hasCaption, QRect& caption,
                           const ButtonDrawState& state);
    virtual void PaintBitmap(QPainter& painter, const QRect& item, bool hasCaption, QRect& caption,
                             const ButtonDrawState& state);
    virtual void PaintCaption(QPainter& painter, const QRect& caption, const ButtonDrawState& state);

    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void FreeImages();
    // Places the image of the state and returns it with where it goes.
    const QImage& PlaceImage(const std::array<QImage, 2>& images, const QRect& item, bool hasCaption, QRect& caption,
                             const ButtonDrawState& state, QPoint& at) const;
    void EndHot();
    void Repaint(bool repaint);

    ButtonLook m_look;
    bool m_bShowDisabledBitmap = true;
    bool m_bDrawTransparent = false;
    std::array<QImage, 2> m_icons;
    std::array<QImage, 2> m_bitmaps;
};

// Image helpers of the owner-drawn controls.
// The image with the pixels of the transparent colour made transparent.
QImage MaskedImage(const QImage& image, COLORREF transparent);
// Grey copy of an icon: pure black and transparent pixels stay as they are.
QImage GrayIcon(const QImage& icon);
// The image drawn embossed, as disabled controls draw: every pixel that is
// not white shows in highlight one pixel down and right, then in shadow.
QImage EmbossedImage(const QImage& image, const QColor& highlight, const QColor& shadow);
