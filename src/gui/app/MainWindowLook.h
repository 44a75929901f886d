#pragma once

#include "core/base/ColorRef.h"
#include "core/ui/ColorSchemes.h"
#include "core/ui/Skins.h"

#include <QImage>

#include <string>
#include <utility>

class CButtonST;
class CDialog;
class CMatrixStatic;
class QPainter;
class RateGraph;

// The main window's painted look: the banner over the top band, the button
// skin of the command buttons, the capability LEDs in their groups'
// colours, the status display's colour scheme and the main graph's colours.
// Works on the window's controls by id; a control the window lacks is left
// out.
class MainWindowLook {
public:
    explicit MainWindowLook(CDialog& window);

    // The banner: "BannerSkin" when that file reads as a picture, else the
    // built-in one (and the name is forgotten for this run).
    void LoadBannerSkin();
    // Tiles the bitmap over the banner area from (0, 0); 0 without a bitmap.
    int TileBitmap(QPainter& painter, const QImage& bitmap) const;
    int PaintBanner(QPainter& painter) const { return TileBitmap(painter, m_hBanner); }

    // The LEDs, the skinned buttons drawn without borders, then the skin.
    void InitCustomButtons();
    // The web-page button's images and every skinned button's cells, from
    // "ButtonsSkin" or the built-in skin. A skin file that cannot be read or
    // is too small is refused with a message and the built-in one is used.
    void ApplyButtonSkin();
    int SetSkinButtonBitmaps(CButtonST& button, const SkinCell& cell, const QImage& skin);
    // Forgets "ButtonsSkin" and applies the built-in skin.
    void ResetButtonsSkin();
    void RefreshButtonBackgrounds();

    // Every capability indicator gets its lit and unlit images in its group's colour.
    void InitLedButtons();
    void DeleteSkinObjects();

    void LoadColourScheme();
    void ApplySpeedGraphColours(RateGraph& graph);
    void ApplyGraphColours(RateGraph& graph);
    // After the settings: the scheme on the status display, the graph's
    // colours, and the whole window repainted.
    void ApplyColours(CMatrixStatic* status, RateGraph* graph);

    QImage m_hBanner;
    std::string m_strBannerSkin;
    LedColorScheme m_crScheme = GetColorScheme(kDefaultColorScheme);
    COLORREF m_crGraphVert = 0xFFFFFF;
    int m_bLedButtonsReady = 0;

private:
    // The web-page button's images and the skinned buttons' cells.
    void ApplySkin(const QImage& skin);

    CDialog& m_window;
};

// A picture file as the skins read it: null when it cannot be read or is
// larger than a skin could sensibly be.
QImage LoadSkinImage(const std::string& path);
// An indicator's lit image (the LED artwork's pure red in colour) and unlit
// image (its pure green in the button face's colour).
std::pair<QImage, QImage> MakeLedImages(COLORREF colour, COLORREF face);
void MakeLedButton(CButtonST& indicator, COLORREF colour);
