#pragma once

#include "core/base/MessageIds.h"

#include <QPlainTextEdit>

// The report box: a double click tells the owning dialog where the caret
// (or selection) was before the double click selects a word, by posting
// WM_OUTPUTEDITNOTIFY with the start in the low and the end in the high
// 16 bits of wParam.
class CMyEdit : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit CMyEdit(QWidget* parent = nullptr);

    static WPARAM SelectionParam(int start, int end)
    {
        return (static_cast<WPARAM>(start) & 0xFFFFu) | ((static_cast<WPARAM>(end) & 0xFFFFu) << 16);
    }

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};
