#pragma once

#include <QEvent>
#include <QLineEdit>
#include <QListView>

// Controls whose text is drawn smaller, down to a smallest size, until the
// whole of it fits. The font set on them is the size they start from.

// The base font, or a smaller one in which text fits in `room` pixels (the
// smallest when none does).
QFont FontToFit(const QFont& base, const QString& text, int room);

// What the fitting controls share: the font set on them is kept as the size
// to start from, and they fit again when it or their size changes.
template <class Control>
class Fitting : public Control {
public:
    using Control::Control;

protected:
    virtual void Fit() = 0;
    const QFont& BaseFont() const { return m_base; }
    void ShowFont(const QFont& font)
    {
        m_bFitting = true;
        this->setFont(font);
        m_bFitting = false;
    }
    void changeEvent(QEvent* event) override
    {
        if (event->type() == QEvent::FontChange && !m_bFitting) {
            m_base = this->font();
            Fit();
        }
        Control::changeEvent(event);
    }
    void resizeEvent(QResizeEvent* event) override
    {
        Control::resizeEvent(event);
        Fit();
    }

private:
    QFont m_base = this->font();
    bool m_bFitting = false;
};

// A read-only field; a text that had to shrink, or still does not fit, is
// also its tooltip.
class FittingField : public Fitting<QLineEdit> {
public:
    explicit FittingField(QWidget* parent = nullptr);

private:
    void Fit() override;
};

// A list whose lines all fit its width: its longest line (by characters, so
// that a million lines cost no measuring) chooses the size. Follows the rows
// of whatever model it is given.
class FittingList : public Fitting<QListView> {
public:
    explicit FittingList(QWidget* parent = nullptr);
    ~FittingList() override;

    void setModel(QAbstractItemModel* model) override;

private:
    void Fit() override;

    QString m_longest;
};
