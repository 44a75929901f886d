#pragma once

#include "core/tools/sectorview/LbaEntry.h"
#include "gui/ui/BaseDialog.h"

class CCEditEx;

// The sector viewer's address window "Enter Logical Block Address": it
// slides out from under the main window's right edge, takes a block
// address in hexadecimal or decimal and asks the main window to show that
// block ("&Fwd" posts WM_READSECTOR, "&Rev" WM_LBAENTERED, with the
// address); after a read the main window steps the address on or back.
// "&Close" slides it back. Enter and Escape do nothing here.
class CGetLBA : public CBaseDialog {
    Q_OBJECT

public:
    static constexpr int IDD = 171;
    static constexpr int IDC_HEX = 1026;
    static constexpr int IDC_LBA = 1130;
    static constexpr int IDC_FWD = 1131;
    static constexpr int IDC_DECIMAL = 1132;
    static constexpr int IDC_REV = 1133;
    static constexpr int IDC_CLOSE = 1208;
    static constexpr int kSlideTimer = 1;

    explicit CGetLBA(QWidget* mainWindow);

    bool OnInitDialog() override;
    void OnTimer(int id) override;

    int GetWidth() const { return LbaSlide::kWidth; }
    int GetHeight() const { return LbaSlide::kHeight; }
    // The main window's rectangle, before each slide and when it docks the window.
    void SetMainRect(const UiRect& main) { m_rcMain = main; }
    bool IsHidden() const { return m_Slide.Hidden(); }
    void StartSlide();
    // Docked beside the main window, when shown and not sliding.
    void Dock();

    void OnFwd();
    void OnRev();
    void NextLBA();
    void PrevLBA();
    void OnHex();
    void OnDecimal();
    void OnCloseButton() { StartSlide(); }
    const LbaEntry& Entry() const { return m_Entry; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Send(UINT message);
    void ReadControls();
    void RefreshControls();

    CCEditEx* m_edLBA = nullptr;
    LbaEntry m_Entry;
    LbaSlide m_Slide;
    UiRect m_rcMain;
    QWidget* m_pMainWindow;
};
