#include "core/base/AppProfile.h"
#include "core/graphs/RateGraph.h"
#include "core/ui/ColorSchemes.h"
#include "core/ui/Skins.h"
#include "gui/app/MainWindowLook.h"
#include "gui/ui/ButtonST.h"
#include "gui/ui/Dialog.h"
#include "gui/ui/MatrixStatic.h"
#include "gui/ui/QtConvert.h"
#include "gui/ui/Resources.h"
#include "support/TestSupport.h"
#include "support/gui/Pixels.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include <sys/stat.h>

namespace {

// The indicators of the three groups and one the groups do not list.
constexpr int kReadLed = 1140;
constexpr int kWriteLed = 1151;
constexpr int kOtherLed = 1161;
constexpr int kUnlistedLed = 1234;  // SecurDisc, a general feature of the page

struct LookRig {
    ScopedProfile profile;
    ScriptedPrompt prompt;
    TempDir dir;
    CDialog window;
    MainWindowLook look{window};

    LookRig()
    {
        for (const SkinCell& cell : ButtonSkinCells())
            window.BindControl(cell.controlId, new CButtonST(&window));
        window.BindControl(1097, new CButtonST(&window));
        for (const int id : {kReadLed, kWriteLed, kOtherLed, kUnlistedLed})
            window.BindControl(id, new CButtonST(&window));
    }
    CButtonST& Button(int id) { return *window.Item<CButtonST>(id); }
    std::string WriteSkin(const std::string& name, const QImage& image)
    {
        const std::string path = dir.File(name);
        EXPECT_TRUE(image.save(QString::fromStdString(path)));
        return path;
    }
};

// Every cell of the layout painted in a colour of its own: in cells red,
// out cells blue, the rest magenta.
QImage MarkedSkin(int width, int height)
{
    QImage skin(width, height, QImage::Format_RGB32);
    skin.fill(ToQColor(kSkinTransparent));
    QPainter painter(&skin);
    for (const SkinCell& cell : ButtonSkinCells()) {
        painter.fillRect(cell.inX, cell.y, cell.width, cell.height, Qt::red);
        painter.fillRect(cell.outX, cell.y, cell.width, cell.height, Qt::blue);
    }
    return skin;
}

int CountOpaque(const QImage& image, QRgb colour)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) == colour ? 1 : 0;
    return count;
}

int CountTransparent(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += qAlpha(image.pixel(x, y)) == 0 ? 1 : 0;
    return count;
}

}  // namespace

TEST(MainWindowLook, ASkinFileGivesEachButtonItsCellsAndCellsPastItAreTransparent)
{
    LookRig rig;
    // Wide enough to be accepted, narrower than the cells reach.
    WriteAppProfileString("ButtonsSkin", rig.WriteSkin("skin.bmp", MarkedSkin(300, 125)));
    rig.look.InitCustomButtons();
    EXPECT_TRUE(rig.prompt.asked.empty());
    for (const SkinCell& cell : ButtonSkinCells()) {
        const CButtonST& button = rig.Button(cell.controlId);
        ASSERT_TRUE(button.HasBitmap()) << cell.role;
        EXPECT_EQ(button.Bitmap(0).size(), QSize(cell.width, cell.height)) << cell.role;
        const int area = cell.width * cell.height;
        const auto inside = [&](int x) { return std::clamp(300 - x, 0, cell.width) * cell.height; };
        EXPECT_EQ(CountOpaque(button.Bitmap(0), qRgb(255, 0, 0)), inside(cell.inX)) << cell.role;
        EXPECT_EQ(CountOpaque(button.Bitmap(1), qRgb(0, 0, 255)), inside(cell.outX)) << cell.role;
        EXPECT_EQ(CountTransparent(button.Bitmap(0)), area - inside(cell.inX)) << cell.role;
    }
    // The hard disk test's in cell starts at 296: four columns of it are in the skin.
    EXPECT_EQ(CountOpaque(rig.Button(1069).Bitmap(0), qRgb(255, 0, 0)), 4 * 24);
    EXPECT_EQ(CountTransparent(rig.Button(1068).Bitmap(0)), 36 * 24);
    // The web-page button keeps its own artwork.
    EXPECT_EQ(rig.Button(1097).Bitmap(0).size(), LoadBitmapResource(IDB_WEBPAGE_IN).size());
}

TEST(MainWindowLook, ABadSkinIsRefusedAndTheBuiltInOneRestored)
{
    LookRig rig;
    rig.look.ApplyButtonSkin();
    const QImage builtIn = rig.Button(1088).Bitmap(1);
    ASSERT_FALSE(builtIn.isNull());
    EXPECT_EQ(builtIn.size(), QSize(36, 24));
    EXPECT_GT(CountTransparent(builtIn), 0) << "magenta is transparent";

    struct Case {
        const char* name;
        QImage image;
    };
    const Case cases[] = {{"narrow.png", MarkedSkin(294, 125)}, {"low.png", MarkedSkin(295, 124)}};
    for (const Case& c : cases) {
        WriteAppProfileString("ButtonsSkin", rig.WriteSkin(c.name, c.image));
        rig.prompt.asked.clear();
        rig.look.ApplyButtonSkin();
        ASSERT_EQ(rig.prompt.asked.size(), 1u) << c.name;
        EXPECT_EQ(rig.prompt.asked[0].text, "Invalid button skin bitmap file, Default bitmap restored!");
        EXPECT_EQ(GetAppProfileString("ButtonsSkin", "unset"), "");
        EXPECT_EQ(rig.Button(1088).Bitmap(1), builtIn) << c.name;
    }
    // A file that is no picture at all, or none.
    for (const std::string& path : {rig.dir.File("notes.txt"), rig.dir.File("missing.png")}) {
        WriteFileText(rig.dir.File("notes.txt"), "not a picture");
        WriteAppProfileString("ButtonsSkin", path);
        rig.prompt.asked.clear();
        rig.look.ApplyButtonSkin();
        EXPECT_EQ(rig.prompt.asked.size(), 1u) << path;
        EXPECT_EQ(rig.Button(1088).Bitmap(1), builtIn) << path;
    }
    // The exactly smallest skin is taken.
    WriteAppProfileString("ButtonsSkin", rig.WriteSkin("least.png", MarkedSkin(295, 125)));
    rig.prompt.asked.clear();
    rig.look.ApplyButtonSkin();
    EXPECT_TRUE(rig.prompt.asked.empty());
    EXPECT_EQ(CountOpaque(rig.Button(1088).Bitmap(1), qRgb(0, 0, 255)), 36 * 24);
}

TEST(MainWindowLook, APipeOrAFolderNamedAsASkinIsNeverOpened)
{
    LookRig rig;
    const std::string pipe = rig.dir.File("skin.png");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    std::filesystem::create_directories(rig.dir.File("folder.png"));
    const QImage builtIn = [&] {
        WriteAppProfileString("ButtonsSkin", "");
        rig.look.ApplyButtonSkin();
        return rig.Button(1088).Bitmap(1);
    }();
    for (const std::string& path : {pipe, rig.dir.File("folder.png")}) {
        // An open of the pipe would wait for a writer that never comes.
        WriteAppProfileString("BannerSkin", path);
        rig.look.LoadBannerSkin();
        EXPECT_EQ(rig.look.m_strBannerSkin, "") << path;
        EXPECT_EQ(rig.look.m_hBanner.size(), QSize(748, 67)) << path;

        WriteAppProfileString("ButtonsSkin", path);
        rig.prompt.asked.clear();
        rig.look.ApplyButtonSkin();
        EXPECT_EQ(rig.prompt.asked.size(), 1u) << path;
        EXPECT_EQ(GetAppProfileString("ButtonsSkin", "unset"), "") << path;
        EXPECT_EQ(rig.Button(1088).Bitmap(1), builtIn) << path;
    }
}

TEST(MainWindowLook, TheBannerIsTiledFromItsFileOrBuiltIn)
{
    LookRig rig;
    QImage tile(100, 40, QImage::Format_RGB32);
    tile.fill(Qt::green);
    WriteAppProfileString("BannerSkin", rig.WriteSkin("banner.png", tile));
    rig.look.LoadBannerSkin();
    EXPECT_EQ(rig.look.m_strBannerSkin, rig.dir.File("banner.png"));
    QImage band(800, 80, QImage::Format_RGB32);
    band.fill(Qt::black);
    {
        QPainter painter(&band);
        EXPECT_EQ(rig.look.PaintBanner(painter), 1);
    }
    EXPECT_EQ(CountPixels(band, QRect(0, 0, 748, 67), RGB(0, 255, 0)), 748 * 67);
    EXPECT_EQ(CountPixels(band, QRect(0, 67, 800, 13), RGB(0, 0, 0)), 800 * 13) << "nothing below the band";

    WriteAppProfileString("BannerSkin", rig.dir.File("gone.png"));
    rig.look.LoadBannerSkin();
    EXPECT_EQ(rig.look.m_strBannerSkin, "");
    EXPECT_EQ(rig.look.m_hBanner.size(), QSize(748, 67));
    EXPECT_EQ(GetAppProfileString("BannerSkin", ""), rig.dir.File("gone.png")) << "kept for the next start";
    QPainter painter(&band);
    EXPECT_EQ(rig.look.TileBitmap(painter, QImage()), 0);
}

TEST(MainWindowLook, LedsLightInTheirGroupsColours)
{
    LookRig rig;
    WriteAppProfileInt("DriveInfoWriteColor", 0x123456);
    rig.look.InitLedButtons();
    EXPECT_EQ(rig.look.m_bLedButtonsReady, 1);
    struct Case {
        int id;
        COLORREF colour;
    };
    const Case cases[] = {{kReadLed, 0x00FF00}, {kWriteLed, 0x123456}, {kOtherLed, 0xFF4B00}, {kUnlistedLed, 0xFF4B00}};
    for (const Case& c : cases) {
        CButtonST& led = rig.Button(c.id);
        ASSERT_TRUE(led.HasBitmap()) << c.id;
        const QImage lit = led.Bitmap(0).convertToFormat(QImage::Format_RGB32);
        const QImage unlit = led.Bitmap(1).convertToFormat(QImage::Format_RGB32);
        EXPECT_GT(CountPixels(lit, c.colour), 20) << c.id;
        EXPECT_EQ(CountPixels(lit, RGB(255, 0, 0)), 0) << c.id;
        EXPECT_GT(CountPixels(unlit, ToColorRef(led.palette().color(QPalette::Button))), 20) << c.id;
        EXPECT_EQ(CountPixels(unlit, RGB(0, 255, 0)), 0) << c.id;
        EXPECT_GT(CountTransparent(led.Bitmap(0)), 0) << "magenta corners";
        led.resize(145, 13);
        led.SetCheckState(1);
        EXPECT_GT(CountPixels(Render(led), c.colour), 0) << c.id;
    }
}

TEST(MainWindowLook, SchemeAndGraphColoursFromTheProfile)
{
    LookRig rig;
    CMatrixStatic status(&rig.window);
    RateGraph graph;
    WriteAppProfileInt("Colors", 9);
    WriteAppProfileInt("GraphFGColorPick1", 0x787878);
    WriteAppProfileInt("GraphVERTColorPick", 0xFF);
    WriteAppProfileInt("GraphSPEEDColorPick", 0xABCDEF);
    rig.look.ApplyColours(&status, &graph);
    EXPECT_EQ(status.Colors(), GetColorScheme(1));
    EXPECT_EQ(rig.look.m_crScheme, GetColorScheme(1));
    const RateGraphState state = graph.Snapshot();
    EXPECT_EQ(state.gridColor, 0x787878u);
    EXPECT_EQ(state.dimGridColor, 0x3C3C3Cu);
    EXPECT_EQ(state.backgroundColor, 0u);
    EXPECT_EQ(state.speedColor, 0xABCDEFu);
    EXPECT_EQ(state.rpmColor, 0xFF00u);
    EXPECT_EQ(state.layerBreakColor, 0xFFu);
    EXPECT_EQ(state.endMarkerColor, 0xFFu);
    EXPECT_EQ(rig.look.m_crGraphVert, 0xFFu);
}
