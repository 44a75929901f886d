#pragma once

#include "core/ui/CharFilter.h"

#include <QLineEdit>

// An edit that lets only digits through the keyboard: hexadecimal digits in
// hex mode (the start), decimal digits otherwise. Every other typed
// character is dropped, Backspace included; keys that type nothing (Delete,
// the arrows) and the dialog's keys (Enter, Escape, Tab) work as usual.
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
