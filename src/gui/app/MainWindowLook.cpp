#include "gui/app/MainWindowLook.h"

#include "core/base/AppProfile.h"
#include "core/base/LogFile.h"
#include "core/base/UserPrompt.h"
#include "core/graphs/RateGraph.h"
#include "core/info/DriveInfoPage.h"
#include "core/ui/GraphColours.h"
#include "core/ui/LedIndicators.h"
#include "gui/ui/ButtonST.h"
#include "gui/ui/Dialog.h"
#include "gui/ui/MatrixStatic.h"
#include "gui/ui/QtConvert.h"
#include "gui/ui/Resources.h"
#include "platform/files/SafeFile.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>

namespace {

constexpr int kWebPageButton = 1097;  // the web-page button, drawn from artwork of its own
constexpr int kLargestSkinSide = 8192;
constexpr std::uintmax_t kLargestSkinFileBytes = 64 << 20;

LedGroup GroupOfBox(const CapabilityBox& box)
{
    if (const auto group = LedGroupOf(box.id))
        return *group;
    switch (box.group) {
    case CapabilityGroup::Read: return LedGroup::Read;
    case CapabilityGroup::Write: return LedGroup::Write;
    case CapabilityGroup::General:
    case CapabilityGroup::Unused: break;
    }
    return LedGroup::Other;
}

// The artwork with one key colour replaced.
QImage Recoloured(unsigned id, COLORREF key, COLORREF colour)
{
    QImage image = LoadBitmapResource(id).convertToFormat(QImage::Format_ARGB32);
    const QRgb from = ToQColor(key).rgb();
    const QRgb to = ToQColor(colour).rgb();
    TransformPixels(image, [from, to](QRgb pixel) { return (pixel | 0xFF000000u) == from ? to : pixel; });
    return image;
}

}  // namespace

QImage LoadSkinImage(const std::string& path)
{
    // Only a regular file is read: a pipe or a device named here would hold
    // the window up at every start.
    std::string bytes;
    std::string error;
    if (ReadRegularFile(path, kLargestSkinFileBytes, bytes, &error) != ReadFileResult::Ok) {
        LogEntry("Skin not read: " + error);
        return QImage();
    }
    QByteArray data = QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    if (size.width() > kLargestSkinSide || size.height() > kLargestSkinSide)
        return QImage();
    return reader.read();
}

std::pair<QImage, QImage> MakeLedImages(COLORREF colour, COLORREF face)
{
    return {Recoloured(IDB_LED_LIT, kLedLitKey, colour), Recoloured(IDB_LED_UNLIT, kLedUnlitKey, face)};
}

void MakeLedButton(CButtonST& indicator, COLORREF colour)
{
    const auto [lit, unlit] = MakeLedImages(colour, ToColorRef(indicator.palette().color(QPalette::Button)));
    indicator.SetBitmaps(lit, kSkinTransparent, unlit, kSkinTransparent);
    indicator.setCheckable(true);
}

MainWindowLook::MainWindowLook(CDialog& window) : m_window(window)
{
}

void MainWindowLook::LoadBannerSkin()
{
    m_strBannerSkin = GetAppProfileString(kBannerSkinEntry, std::string());
    if (!m_strBannerSkin.empty()) {
        m_hBanner = LoadSkinImage(m_strBannerSkin);
        if (!m_hBanner.isNull())
            return;
        LogEntryF("Banner skin %s could not be read, the built-in banner is used", m_strBannerSkin.c_str());
        m_strBannerSkin.clear();
    }
    m_hBanner = LoadBitmapResource(IDB_BANNER);
}

int MainWindowLook::TileBitmap(QPainter& painter, const QImage& bitmap) const
{
    if (bitmap.isNull())
        return 0;
    for (const UiRect& tile : BannerTiles(bitmap.width(), bitmap.height()))
        painter.drawImage(ToQRect(tile), bitmap, QRect(0, 0, tile.Width(), tile.Height()));
    return 1;
}

void MainWindowLook::InitCustomButtons()
{
    InitLedButtons();
    LogEntry("Initialising custom buttons");
    RefreshButtonBackgrounds();
    for (const SkinCell& cell : ButtonSkinCells()) {
        if (auto* button = m_window.Item<CButtonST>(cell.controlId))
            button->SetDrawBorder(false);
    }
    ApplyButtonSkin();
}

int MainWindowLook::SetSkinButtonBitmaps(CButtonST& button, const SkinCell& cell, const QImage& skin)
{
    // A cell reaching past the skin is transparent there (CButtonST::SetBitmapCells).
    return static_cast<int>(button.SetBitmapCells(skin, cell.inX, cell.y, cell.width, cell.height, skin, cell.outX,
                                                  cell.y, kSkinTransparent));
}

void MainWindowLook::ApplyButtonSkin()
{
    const std::string file = GetAppProfileString(kButtonsSkinEntry, std::string());
    if (file.empty()) {
        ApplySkin(LoadBitmapResource(IDB_BUTTON_SKIN));
        return;
    }
    const QImage skin = LoadSkinImage(file);
    if (IsUsableButtonSkin(skin.width(), skin.height())) {
        ApplySkin(skin);
        return;
    }
    LogEntryF("Button skin %s refused (%dx%d)", file.c_str(), skin.width(), skin.height());
    AppMessageBox(kInvalidSkinMessage);
    ResetButtonsSkin();
}

void MainWindowLook::ApplySkin(const QImage& skin)
{
    if (auto* web = m_window.Item<CButtonST>(kWebPageButton)) {
        web->SetFlatStyle(true);
        web->SetBitmapResources(IDB_WEBPAGE_IN, kSkinTransparent, IDB_WEBPAGE_OUT, kSkinTransparent);
    }
    for (const SkinCell& cell : ButtonSkinCells()) {
        if (auto* button = m_window.Item<CButtonST>(cell.controlId))
            SetSkinButtonBitmaps(*button, cell, skin);
    }
}

void MainWindowLook::ResetButtonsSkin()
{
    WriteAppProfileString(kButtonsSkinEntry, std::string());
    ApplySkin(LoadBitmapResource(IDB_BUTTON_SKIN));
}

void MainWindowLook::RefreshButtonBackgrounds()
{
    for (const SkinCell& cell : ButtonSkinCells()) {
        if (auto* button = m_window.Item<CButtonST>(cell.controlId))
            button->update();
    }
    if (auto* web = m_window.Item<CButtonST>(kWebPageButton))
        web->update();
}

void MainWindowLook::InitLedButtons()
{
    LogEntry("Initialising DriveInfo LED buttons");
    DeleteSkinObjects();
    for (const CapabilityBox& box : CapabilityBoxes()) {
        if (auto* indicator = m_window.Item<CButtonST>(box.id))
            MakeLedButton(*indicator, ReadLedGroupColour(GroupOfBox(box)));
    }
    m_bLedButtonsReady = 1;
    LogEntry("END Initialising DriveInfo LED buttons");
}

void MainWindowLook::DeleteSkinObjects()
{
    // The images belong to their buttons, which free them when given new ones.
    m_bLedButtonsReady = 0;
}

void MainWindowLook::LoadColourScheme()
{
    m_crScheme = ReadColorScheme();
}

void MainWindowLook::ApplySpeedGraphColours(RateGraph& graph)
{
    const MainGraphColours colours = ReadMainGraphColours();
    graph.SetSpeedColor(colours.speed);
    graph.SetRpmColor(colours.rpm);
}

void MainWindowLook::ApplyGraphColours(RateGraph& graph)
{
    const MainGraphColours colours = ReadMainGraphColours();
    graph.SetGridColors(colours.foreground, colours.grid, colours.background);
    m_crGraphVert = colours.vertical;
    graph.SetMarkerColor(colours.vertical);
    graph.SetLayerBreakColor(colours.vertical);
}

void MainWindowLook::ApplyColours(CMatrixStatic* status, RateGraph* graph)
{
    LoadColourScheme();
    if (status)
        status->SetColors(m_crScheme.background, m_crScheme.lit, m_crScheme.unlit);
    if (graph) {
        ApplySpeedGraphColours(*graph);
        ApplyGraphColours(*graph);
    }
    m_window.update();
}
