#pragma once

#include "core/ui/ColorSchemes.h"
#include "core/ui/MatrixText.h"

#include <QImage>
#include <QWidget>

#include <string>

// A static control that shows its text as lit dot-matrix characters, like an
// LED panel. Owners set it up once (size preset, rows, columns, colours,
// padding) and then only call SetText. A timer started on the control turns
// its text left by one character on every tick.
class CMatrixStatic : public QWidget {
    Q_OBJECT

public:
    explicit CMatrixStatic(QWidget* parent = nullptr);

    void SetSize(int preset);
    void SetAutoPad(bool pad, char padChar = ' ');
    void AdjustWidthToColumns(int columns);
    void AdjustHeightToRows(int rows);
    void SetColumnCount(int columns);
    void SetRowCount(int rows);
    void SetColors(COLORREF background, COLORREF lit, COLORREF unlit);
    void SetText(const std::string& text);
    int GetText(char* buffer, int size) const { return m_model.GetText(buffer, size); }
    const std::string& GetText() const { return m_model.Text(); }

    const MatrixTextModel& Model() const { return m_model; }
    const LedColorScheme& Colors() const { return m_colors; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    QSize ClientSize() const;
    const QImage& Sheet();

    MatrixTextModel m_model;
    LedColorScheme m_colors{0x000000, 0xFFB53F, 0x674017};
    QImage m_sheet;  // the character sheet in the display's colours
};

// The usual set-up: one row of columns characters at size preset 2 in the
// given colours, the control fitted to them, short texts padded with blanks.
void SetUpOneLineDisplay(CMatrixStatic& display, int columns, const LedColorScheme& colours);
