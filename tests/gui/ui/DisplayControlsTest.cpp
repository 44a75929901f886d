#include "gui/ui/MatrixStatic.h"
#include "gui/ui/Resources.h"
#include "gui/ui/TextProgressCtrl.h"
#include "UiTestHelpers.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace {

constexpr LedColorScheme kScheme{RGB(10, 20, 30), RGB(250, 200, 0), RGB(90, 60, 0)};

// The dot pattern of "L": the left column and the bottom row lit.
bool DotOfL(int column, int row)
{
    return column == 0 || row == 6;
}

}  // namespace

TEST(MatrixStatic, DrawsEachDotInTheDisplaysColours)
{
    CMatrixStatic display;
    SetUpOneLineDisplay(display, 2, kScheme);
    EXPECT_EQ(display.size(), QSize(2 * 11 + 6, 17 + 3));
    display.SetText("L");
    ASSERT_EQ(display.GetText(), "L ");
    const QImage image = Render(display);

    // Client area at (2,2); preset 2 dots are 2 x 2 pixels on a 2-pixel pitch.
    for (int row = 0; row < 7; ++row) {
        for (int column = 0; column < 5; ++column) {
            const COLORREF expected = DotOfL(column, row) ? kScheme.lit : kScheme.unlit;
            EXPECT_EQ(PixelAt(image, 2 + column * 2, 2 + row * 2), expected) << column << "," << row;
            EXPECT_EQ(PixelAt(image, 3 + column * 2, 3 + row * 2), expected) << column << "," << row;
            // The blank in the second cell shows only unlit dots.
            EXPECT_EQ(PixelAt(image, 13 + column * 2, 2 + row * 2), kScheme.unlit);
        }
    }
    EXPECT_EQ(PixelAt(image, 12, 2), kScheme.background);  // gap between cells
    EXPECT_EQ(PixelAt(image, 2, 17), kScheme.background);  // gap below the row
    EXPECT_EQ(PixelAt(image, 0, 0), RoleColor(display, QPalette::Dark));  // sunken frame
}

TEST(MatrixStatic, ColourSchemeChangesRepaintInTheNewColours)
{
    CMatrixStatic display;
    SetUpOneLineDisplay(display, 1, kScheme);
    display.SetText("L");
    display.SetColors(0x000000, 0x00FFB1, 0x005000);
    const QImage image = Render(display);
    EXPECT_EQ(PixelAt(image, 2, 2), 0x00FFB1u);
    EXPECT_EQ(PixelAt(image, 4, 2), 0x005000u);
}

TEST(MatrixStatic, StatusLineSizeAndSingleRepaint)
{
    CMatrixStatic display;
    SetUpOneLineDisplay(display, 40, kScheme);
    EXPECT_EQ(display.width(), 446);
    display.show();
    QApplication::processEvents();
    PaintCounter paints(display);
    display.SetText("Ready");
    display.SetText("Ready");
    EXPECT_EQ(paints.count, 1);
    EXPECT_EQ(display.GetText(), "Ready" + std::string(35, ' '));
    char buffer[60];
    EXPECT_EQ(display.GetText(buffer, sizeof buffer), 40);
    EXPECT_EQ(std::string(buffer), display.GetText());
}

TEST(MatrixStatic, ATimerTurnsTheTextLeft)
{
    CMatrixStatic display;
    SetUpOneLineDisplay(display, 4, kScheme);
    display.SetText("AB");
    const int timer = display.startTimer(1000);
    QTimerEvent tick(timer);
    QApplication::sendEvent(&display, &tick);
    display.killTimer(timer);
    EXPECT_EQ(display.GetText(), "B  A");
}

TEST(MatrixStatic, GeneratedSheetHasTheLayoutOfItsPreset)
{
    const QImage sheet = LoadBitmapResource(kMatrixSheetSmall);
    ASSERT_EQ(sheet.size(), QSize(352, 51));
    // "A" sits in row 1, column 1: its top-left dot is unlit, the dot two to the right lit.
    EXPECT_EQ(sheet.pixelColor(11, 17), QColor(0x17, 0x40, 0x67));  // 0x674017
    EXPECT_EQ(sheet.pixelColor(15, 17), QColor(0x3F, 0xB5, 0xFF));  // 0xFFB53F
    EXPECT_EQ(sheet.pixelColor(21, 17), Qt::black);  // the gap across
    EXPECT_EQ(LoadBitmapResource(kMatrixSheetLarge).size(), QSize(32 * 22, 3 * 30));
    EXPECT_EQ(LoadBitmapResource(kMatrixSheetMedium).size(), QSize(32 * 16, 3 * 22));
    EXPECT_TRUE(LoadBitmapResource(4242).isNull());
}

namespace {

constexpr COLORREF kBar = RGB(200, 0, 0);
constexpr COLORREF kTrack = RGB(255, 255, 255);

void SetUpBar(CTextProgressCtrl& bar)
{
    bar.resize(240, 24);
    bar.SetFillColour(kBar);
    bar.SetBkColour(kTrack);
}

// The track in one colour with the text centred on it in another.
QImage Expected(const CTextProgressCtrl& bar, COLORREF track, COLORREF text, const QString& caption)
{
    QImage image(bar.size(), QImage::Format_RGB32);
    image.fill(QColor(static_cast<int>(GetRValue(track)), static_cast<int>(GetGValue(track)),
                      static_cast<int>(GetBValue(track))));
    QPainter painter(&image);
    painter.setFont(bar.font());
    painter.setPen(QColor(static_cast<int>(GetRValue(text)), static_cast<int>(GetGValue(text)),
                          static_cast<int>(GetBValue(text))));
    painter.drawText(image.rect(), Qt::AlignCenter | Qt::TextSingleLine, caption);
    return image;
}

}  // namespace

TEST(TextProgressCtrl, TextTakesTheOtherColourOnEachSide)
{
    CTextProgressCtrl bar;
    SetUpBar(bar);
    const QImage empty = Render(bar);
    EXPECT_EQ(empty, Expected(bar, kTrack, kBar, "0 % Complete"));
    EXPECT_GT(CountPixels(empty, empty.rect(), kBar), 0);

    bar.SetPos(100);
    EXPECT_EQ(Render(bar), Expected(bar, kBar, kTrack, "100 % Complete"));

    // Half way: over the bar the text is drawn in the track's colour, over
    // the rest in the bar's.
    bar.SetPos(50);
    const QImage half = Render(bar);
    const QRect barSide(0, 0, 120, 24);
    const QRect restSide(120, 0, 120, 24);
    EXPECT_GT(CountPixels(half, barSide, kTrack), 0);
    EXPECT_GT(CountPixels(half, restSide, kBar), 0);
    EXPECT_EQ(PixelAt(half, 1, 1), kBar);
    EXPECT_EQ(PixelAt(half, 238, 22), kTrack);

    bar.SetWindowText("Hashing");
    EXPECT_EQ(bar.Model().DisplayText(), "Hashing");
    bar.SetPos(0);
    EXPECT_EQ(Render(bar), Expected(bar, kTrack, kBar, "Hashing"));
}

TEST(TextProgressCtrl, OwnersTextComesThroughTheDialogsTextHelpers)
{
    CDialog dialog;
    auto* bar = new CTextProgressCtrl(&dialog);
    dialog.BindControl(1306, bar);
    dialog.SetDlgItemText(1306, "42 % Hashed");
    EXPECT_EQ(bar->GetWindowText(), "42 % Hashed");
    EXPECT_EQ(dialog.GetDlgItemText(1306), "42 % Hashed");
}

TEST(TextProgressCtrl, VerticalBarsAndEmptyRanges)
{
    CTextProgressCtrl bar;
    SetUpBar(bar);
    bar.resize(24, 100);
    bar.SetVertical(true);
    bar.SetPos(25);
    const QImage vertical = Render(bar);
    EXPECT_EQ(CountPixels(vertical, QRect(0, 75, 24, 25), kBar), 24 * 25);  // rises from the bottom
    EXPECT_EQ(CountPixels(vertical, QRect(0, 0, 24, 75), kTrack), 24 * 75);  // and shows no text

    CTextProgressCtrl none;
    SetUpBar(none);
    none.SetRange(5, 5);
    none.SetPos(5);
    const QImage nothing = Render(none);
    EXPECT_EQ(CountPixels(nothing, nothing.rect(), kBar) + CountPixels(nothing, nothing.rect(), kTrack), 0);
}

TEST(TextProgressCtrl, RepaintsOnlyWhenTheBarMoves)
{
    CTextProgressCtrl bar;
    SetUpBar(bar);
    bar.resize(50, 20);
    bar.show();
    QApplication::processEvents();
    PaintCounter paints(bar);
    EXPECT_EQ(bar.SetPos(10), 0);
    EXPECT_EQ(paints.count, 1);
    bar.SetPos(10);
    bar.SetPos(11);  // 5.5 pixels: the same 5
    EXPECT_EQ(paints.count, 1);
    bar.SetStep(2);
    EXPECT_EQ(bar.StepIt(), 11);
    EXPECT_EQ(paints.count, 2);
    EXPECT_EQ(bar.OffsetPos(200), 13);
    EXPECT_EQ(bar.GetPos(), 100);
    int lower = -1;
    int upper = -1;
    bar.GetRange(lower, upper);
    EXPECT_EQ(lower, 0);
    EXPECT_EQ(upper, 100);
}
