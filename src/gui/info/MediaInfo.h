#pragma once

#include "core/base/ReportText.h"
#include "gui/ui/Dialog.h"

#include <functional>
#include <memory>

class CButtonST;
class CMyEdit;

// The window of the media information report and the complete media code:
// the banner and one read-only text of the report's 73-column lines.
class CMediaInfo : public CDialog {
    Q_OBJECT

public:
    enum { IDD = 351, IDC_BANNER = 1097, IDC_TEXT = 1664 };

    // lines: the report lines its owner filled (written before the window runs).
    explicit CMediaInfo(std::shared_ptr<ReportText> lines, QWidget* parent = nullptr);

    // Empties the lines 0 to 127.
    void ClearDisplay();
    // Shows the lines in the text, as the main window's report shows its own.
    void RefreshDisplay(int mode, int bytes);
    std::string DisplayedText() const;

    bool OnInitDialog() override;
    // The banner button's action (the owner's home page).
    std::function<void()> m_HomePage;

    // The window's height for a system caption of that height.
    static int WindowHeightFor(int captionHeight);

private:
    void SetWindowSize();
    void InitControls();

    std::shared_ptr<ReportText> m_Lines;
    CButtonST* m_Banner = nullptr;
    CMyEdit* m_Text = nullptr;
};
