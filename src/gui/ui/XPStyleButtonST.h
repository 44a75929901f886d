#pragma once

#include "gui/ui/ButtonST.h"

class CThemeHelperST;

// A CButtonST whose background and border come from the platform's visual
// style while themes are on; its icons, colours and tooltip stay its own.
class CXPStyleButtonST : public CButtonST {
    Q_OBJECT

public:
    explicit CXPStyleButtonST(QWidget* parent = nullptr);
    explicit CXPStyleButtonST(const QString& caption, QWidget* parent = nullptr);

    // Not owned: the dialog keeps the helper as long as its buttons. Null
    // draws as a plain CButtonST.
    void SetThemeHelper(CThemeHelperST* themeHelper);

protected:
    void PaintBackground(QPainter& painter, const QRect& rect, const ButtonDrawState& state) override;
    void PaintBorder(QPainter& painter, const QRect& rect, const ButtonDrawState& state) override;

private:
    bool Themed() const;

    CThemeHelperST* m_pTheme = nullptr;
};
