#include "gui/ui/ButtonST.h"
#include "gui/ui/Resources.h"
#include "gui/ui/ThemeHelperST.h"
#include "gui/ui/XPStyleButtonST.h"
#include "UiTestHelpers.h"

#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

constexpr int kWidth = 80;
constexpr int kHeight = 30;
const QRect kInside(2, 2, kWidth - 4, kHeight - 4);  // clear of any border

void Prepare(CButtonST& button)
{
    button.resize(kWidth, kHeight);
    button.ShiftColor(BTNST_COLOR_BK_IN, -60);  // hot and pressed stand out from the face
}

void Hover(CButtonST& button)
{
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(&button, &enter);
}

void Mouse(QWidget& widget, QEvent::Type type)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

// A 2 x 1 skin of 20 x 10 cells: the left cell red with a magenta corner,
// the right cell blue.
QImage Skin()
{
    QImage skin(40, 10, QImage::Format_RGB32);
    skin.fill(QColor(0, 0, 255));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x)
            skin.setPixel(x, y, (x < 4 && y < 4) ? qRgb(255, 0, 255) : qRgb(255, 0, 0));
    return skin;
}

}  // namespace

TEST(ButtonST, StatesPaintTheirBackgroundBorderAndCaption)
{
    CButtonST button("OK");
    Prepare(button);
    const COLORREF face = RoleColor(button, QPalette::Button);
    const COLORREF light = RoleColor(button, QPalette::Light);
    const COLORREF dark = RoleColor(button, QPalette::Dark);
    const COLORREF hotFace = button.Look().Color(BTNST_COLOR_BK_IN);
    const COLORREF text = button.Look().Color(BTNST_COLOR_FG_OUT);
    ASSERT_NE(light, dark);
    ASSERT_NE(dark, text);

    // Normal: flat, no border, the caption in the text colour.
    const QImage normal = Render(button);
    EXPECT_EQ(PixelAt(normal, 0, 0), face);
    EXPECT_EQ(PixelAt(normal, kWidth - 1, kHeight - 1), face);
    const QRect caption = InkBox(normal, kInside, face);
    ASSERT_FALSE(caption.isEmpty());
    EXPECT_GT(CountPixels(normal, caption, text), 0);

    // Hover: the "in" background and a raised border; the caption stays put.
    Hover(button);
    ASSERT_TRUE(button.Look().IsHot());
    const QImage hover = Render(button);
    EXPECT_EQ(PixelAt(hover, 0, 0), light);
    EXPECT_EQ(PixelAt(hover, kWidth - 1, kHeight - 1), dark);
    EXPECT_EQ(PixelAt(hover, 2, 2), hotFace);
    EXPECT_EQ(InkBox(hover, kInside, hotFace), caption);

    // Pressed: sunken, and the caption moves by the press shift.
    button.setDown(true);
    const QImage pressed = Render(button);
    EXPECT_EQ(PixelAt(pressed, 0, 0), dark);
    EXPECT_EQ(PixelAt(pressed, kWidth - 1, kHeight - 1), light);
    EXPECT_EQ(PixelAt(pressed, 2, 2), hotFace);
    EXPECT_EQ(InkBox(pressed, kInside, hotFace), caption.translated(1, 1));
    button.setDown(false);

    // Disabled: the hot state ends; the caption is etched in shadow and light.
    button.setEnabled(false);
    EXPECT_FALSE(button.Look().IsHot());
    const QImage disabled = Render(button);
    EXPECT_EQ(PixelAt(disabled, 0, 0), face);
    EXPECT_GT(CountPixels(disabled, kInside, dark), 0);
    EXPECT_EQ(CountPixels(disabled, kInside, text), 0);
}

TEST(ButtonST, ACheckBoxKeepsItsCaptionInPlaceWhenTicked)
{
    CButtonST button("Chk");
    Prepare(button);
    button.setCheckable(true);
    const COLORREF face = RoleColor(button, QPalette::Button);
    const QRect still = InkBox(Render(button), kInside, face);
    EXPECT_EQ(button.SetCheckState(1), BTNST_OK);
    EXPECT_EQ(button.GetCheckState(), 1);
    const QImage ticked = Render(button);
    EXPECT_EQ(PixelAt(ticked, 0, 0), RoleColor(button, QPalette::Dark));  // drawn pressed
    EXPECT_EQ(InkBox(ticked, kInside, button.Look().Color(BTNST_COLOR_BK_IN)), still);

    CButtonST push("Psh");
    EXPECT_EQ(push.SetCheckState(1), BTNST_OK);  // not a check box: ignored
    EXPECT_EQ(push.GetCheckState(), 0);
}

TEST(ButtonST, DefaultButtonThatIsNotFlatHasABlackFrame)
{
    CButtonST button("Go");
    Prepare(button);
    button.SetFlatStyle(false);
    EXPECT_EQ(PixelAt(Render(button), 0, 0), RoleColor(button, QPalette::Light));  // raised border
    button.setDefault(true);
    const QImage framed = Render(button);
    EXPECT_EQ(PixelAt(framed, 0, 0), RGB(0, 0, 0));
    EXPECT_EQ(PixelAt(framed, kWidth - 1, kHeight - 1), RGB(0, 0, 0));
    EXPECT_EQ(PixelAt(framed, 1, 1), RoleColor(button, QPalette::Light));
}

TEST(ButtonST, ADoubleClickActsAsASecondPress)
{
    CButtonST button("Twice");
    Prepare(button);
    int clicks = 0;
    QObject::connect(&button, &QPushButton::clicked, [&] { ++clicks; });
    Mouse(button, QEvent::MouseButtonPress);
    Mouse(button, QEvent::MouseButtonRelease);
    Mouse(button, QEvent::MouseButtonDblClick);
    Mouse(button, QEvent::MouseButtonRelease);
    EXPECT_EQ(clicks, 2);
}

TEST(ButtonST, SkinCellsGiveTheInAndOutImages)
{
    CButtonST button;
    Prepare(button);
    constexpr COLORREF magenta = 0xFF00FF;
    ASSERT_EQ(button.SetBitmapCells(Skin(), 0, 0, 20, 10, Skin(), 20, 0, magenta), BTNST_OK);
    EXPECT_EQ(button.Bitmap(0).size(), QSize(20, 10));
    EXPECT_EQ(qAlpha(button.Bitmap(0).pixel(0, 0)), 0);  // magenta is transparent
    EXPECT_EQ(button.Bitmap(0).pixel(10, 5), qRgb(255, 0, 0));

    // Centred without a caption: the out cell shows, the in cell when hot.
    const QPoint centre(kWidth / 2, kHeight / 2);
    const QPoint corner((kWidth - 20) / 2, (kHeight - 10) / 2);
    const QImage out = Render(button);
    EXPECT_EQ(PixelAt(out, centre.x(), centre.y()), RGB(0, 0, 255));
    Hover(button);
    const QImage in = Render(button);
    EXPECT_EQ(PixelAt(in, centre.x(), centre.y()), RGB(255, 0, 0));
    EXPECT_EQ(PixelAt(in, corner.x(), corner.y()), button.Look().Color(BTNST_COLOR_BK_IN));

    // A cell reaching past the skin is transparent outside it.
    EXPECT_EQ(button.SetBitmapCells(Skin(), 30, 5, 20, 10, Skin(), 0, 0, magenta), BTNST_OK);
    EXPECT_EQ(button.Bitmap(0).pixel(0, 0), qRgb(0, 0, 255));
    EXPECT_EQ(qAlpha(button.Bitmap(0).pixel(19, 9)), 0);
}

TEST(ButtonST, ImageSettersReportBadInput)
{
    CButtonST button;
    struct Case {
        const char* what;
        std::function<unsigned()> call;
        unsigned expected;
        bool imagesLeft;
    };
    const Case cases[] = {
        {"no icon, grey out", [&] { return button.SetIconResources(0, BTNST_AUTO_GRAY); }, BTNST_OK, false},
        {"icon and grey copy", [&] { return button.SetIconResources(IDI_MESSAGE, BTNST_AUTO_GRAY); }, BTNST_OK, true},
        {"unknown icon", [&] { return button.SetIconResources(4242, 0); }, BTNST_INVALIDRESOURCE, false},
        {"unknown bitmap", [&] { return button.SetBitmapResources(4242, 0, 0, 0); }, BTNST_INVALIDRESOURCE, false},
        {"cell of id 0", [&] { return button.SetBitmapCellResource(0, 0, 0, 8, 8, 8, 0, 0); }, BTNST_FAILEDMASK, false},
        {"cell of unknown id", [&] { return button.SetBitmapCellResource(4242, 0, 0, 8, 8, 8, 0, 0); },
         BTNST_FAILEDMASK, false},
        {"cell of the sheet", [&] { return button.SetBitmapCellResource(129, 0, 17, 11, 17, 11, 17, 0); }, BTNST_OK,
         true},
        {"missing skin", [&] { return button.SetBitmapCells(QImage(), 0, 0, 8, 8, Skin(), 0, 0, 0); }, BTNST_FAILEDMASK,
         true},  // nothing freed before the check
        {"empty cell", [&] { return button.SetBitmapCells(Skin(), 0, 0, 0, 8, Skin(), 0, 0, 0); }, BTNST_FAILEDMASK,
         false},
        {"no cursor", [&] { return button.SetCursorResource(0); }, BTNST_OK, false},
        {"unknown cursor", [&] { return button.SetCursorResource(77); }, BTNST_INVALIDRESOURCE, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.call(), c.expected) << c.what;
        EXPECT_EQ(button.HasIcon() || button.HasBitmap(), c.imagesLeft) << c.what;
    }
}

TEST(ButtonST, GreyCopyOfAnIcon)
{
    QImage icon(3, 1, QImage::Format_ARGB32);
    icon.setPixel(0, 0, qRgba(255, 0, 0, 255));
    icon.setPixel(1, 0, qRgba(0, 0, 0, 255));
    icon.setPixel(2, 0, qRgba(0, 255, 0, 0));
    const QImage gray = GrayIcon(icon);
    EXPECT_EQ(gray.pixel(0, 0), qRgba(76, 76, 76, 255));
    EXPECT_EQ(gray.pixel(1, 0), qRgba(0, 0, 0, 255));  // pure black left alone
    EXPECT_EQ(qAlpha(gray.pixel(2, 0)), 0);  // the mask is kept

    CButtonST button;
    button.SetIcons(icon, BTNST_AUTO_GRAY);
    EXPECT_EQ(button.Icon(1).pixel(0, 0), qRgba(76, 76, 76, 255));
}

TEST(ButtonST, TooltipFollowsItsActivation)
{
    CButtonST button;
    button.SetTooltipText("Accepts the new comment");
    EXPECT_EQ(button.toolTip(), "Accepts the new comment");
    button.SetTooltipText("Hidden", false);
    EXPECT_TRUE(button.toolTip().isEmpty());
}

TEST(XPStyleButtonST, WithoutThemesItDrawsExactlyLikeAPlainButton)
{
    CThemeHelperST noThemes(nullptr);
    for (const bool flat : {true, false}) {
        CButtonST plain("Same");
        CXPStyleButtonST themed("Same");
        for (CButtonST* button : {&plain, static_cast<CButtonST*>(&themed)}) {
            Prepare(*button);
            button->SetFlatStyle(flat);
            button->setDefault(true);
        }
        themed.SetThemeHelper(&noThemes);
        EXPECT_EQ(Render(themed), Render(plain)) << "flat " << flat;
        themed.SetThemeHelper(nullptr);
        EXPECT_EQ(Render(themed), Render(plain)) << "flat " << flat;
    }
}

TEST(ThemeHelperST, AnswersWithoutAStyleAsWhenThemesAreMissing)
{
    CButtonST window;
    QImage canvas(10, 10, QImage::Format_RGB32);
    QPainter painter(&canvas);
    const QRect rect(0, 0, 10, 10);

    CThemeHelperST missing(nullptr);
    EXPECT_FALSE(missing.IsAppThemed());
    EXPECT_EQ(missing.OpenThemeData(&window, L"BUTTON"), nullptr);
    EXPECT_EQ(missing.CloseThemeData(nullptr), E_FAIL);
    EXPECT_EQ(missing.DrawThemeBackground(nullptr, &painter, BP_PUSHBUTTON, PBS_NORMAL, &rect, nullptr), E_FAIL);

    CThemeHelperST themes;
    EXPECT_TRUE(themes.IsAppThemed());
    EXPECT_EQ(themes.OpenThemeData(&window, L"EDIT"), nullptr);
    HTHEME theme = themes.OpenThemeData(&window, L"button");
    ASSERT_NE(theme, nullptr);
    EXPECT_EQ(themes.DrawThemeBackground(theme, &painter, BP_PUSHBUTTON, PBS_DEFAULTED, &rect, nullptr), S_OK);
    EXPECT_EQ(themes.DrawThemeBackground(theme, &painter, 2, PBS_NORMAL, &rect, nullptr), E_FAIL);
    EXPECT_EQ(themes.CloseThemeData(theme), S_OK);
}
