#pragma once

#include "core/ui/ColorSchemes.h"
#include "gui/ui/BaseDialog.h"

#include <string>

class CMatrixStatic;

// A modeless box that shows one line on a dot-matrix display in the colour
// scheme of "Colors", during long start-up steps. Its owner closes it.
class CDigitalMessageBox : public CBaseDialog {
    Q_OBJECT

public:
    static constexpr int IDD = 305;
    explicit CDigitalMessageBox(QWidget* parent = nullptr);

    bool OnInitDialog() override;
    void SetMessageText(const std::string& text);
    CMatrixStatic& Display() const { return *m_pDisplay; }

private:
    CMatrixStatic* m_pDisplay;
    LedColorScheme m_colors{};
};
