#pragma once

#include "core/ui/CharFilter.h"

#include <QLineEdit>

// An edit that takes only digits: hexadecimal digits in hex mode (the
// start), decimal digits otherwise. A typed character of any other kind is
// dropped; the editing keys (Backspace, Delete, the arrows, the shortcuts
// for select all, cut, copy, paste and undo) and the dialog's keys work as
// usual, and what is pasted goes in only when it is all digits.
class CCEditEx : public QLineEdit {
    Q_OBJECT

public:
    explicit CCEditEx(QWidget* parent = nullptr);
    void SetHexMode(bool hex) { m_filter.SetHexMode(hex); }
    bool IsHexMode() const { return m_filter.IsHexMode(); }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    CharFilter m_filter;
};
