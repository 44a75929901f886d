#pragma once

#include <QLineEdit>
#include <QListWidget>

// Controls whose text is drawn smaller, down to a smallest size, until the
// whole of it fits. The font set on them is the size they start from.

// The base font, or a smaller one in which text fits in `room` pixels (the
// smallest when none does).
QFont FontToFit(const QFont& base, const QString& text, int room);

// A read-only field; a text that had to shrink, or still does not fit, is
// also its tooltip.
class FittingField : public QLineEdit {
    Q_OBJECT

public:
    explicit FittingField(QWidget* parent = nullptr);

protected:
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Fit();

    QFont m_base;
    bool m_bFitting = false;
};

// A list whose lines all fit its width: its longest line (by characters, so
// that a million lines cost no measuring) chooses the size.
class FittingList : public QListWidget {
    Q_OBJECT

public:
    explicit FittingList(QWidget* parent = nullptr);
    ~FittingList() override;

protected:
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Fit();

    QFont m_base;
    QString m_longest;
    bool m_bFitting = false;
};
