#pragma once

#include "core/ui/ProgressModel.h"

#include <QWidget>

#include <string>

// A progress bar that draws its own text ("42 % Complete" or the owner's
// text) centred over the bar, in the colour of the other part on each side,
// so that it stays readable where the bar passes under it. The text can be
// set as the control's window text (SetDlgItemText).
class CTextProgressCtrl : public QWidget {
    Q_OBJECT

public:
    explicit CTextProgressCtrl(QWidget* parent = nullptr);

    void SetRange(int lower, int upper);
    void GetRange(int& lower, int& upper) const;
    int SetPos(int position);
    int OffsetPos(int delta);
    int SetStep(int step);
    int StepIt();
    int GetPos() const { return m_model.Pos(); }

    COLORREF SetFillColour(COLORREF color);
    COLORREF SetBkColour(COLORREF color);
    COLORREF SetTextColour(COLORREF color);
    void SetShowText(bool show);
    void SetWindowText(const std::string& text);
    std::string GetWindowText() const { return m_model.Text(); }
    // A vertical bar rises from the bottom and shows no text.
    void SetVertical(bool vertical);

    const ProgressModel& Model() const { return m_model; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    int Extent() const { return m_bVertical ? height() : width(); }
    // Runs a change of position; repaints when the bar's length changed.
    template <class Move>
    int Moved(Move move);

    ProgressModel m_model;
    bool m_bVertical = false;
};
