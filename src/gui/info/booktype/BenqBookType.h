#pragma once

#include "gui/info/booktype/BookTypeDialog.h"

class BenqBookTypeControl;
class SetBookTypeControl;
struct BookTypeSession;

// The layout the BenQ and Ricoh-type dialogs share: the disc's and the
// drive's book types, the five choices, the two drive defaults and the disc
// in the drive; both refresh when a disc comes or goes.
class CPlusBookTypeDialog : public CBookTypeDialog {
    Q_OBJECT

public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    struct SetCommands {
        std::function<void()> rwDefault;
        std::function<void()> rDefault;
        std::function<void()> currentMedia;
    };
    CPlusBookTypeDialog(int templateId, const char* caption, std::unique_ptr<BookTypeControl> control, QWidget* parent);
    void Lay(const SetCommands& commands);
};

// Dialog 220: the BenQ drives.
class CBenqBookType : public CPlusBookTypeDialog {
    Q_OBJECT

public:
    static constexpr int IDD = 220;
    CBenqBookType(BookTypeSession& session, QWidget* parent = nullptr);
    BenqBookTypeControl& Logic();
};

// Dialog 200: the Ricoh-type drives, with the DVD+ writing generation.
class CSetBookType : public CPlusBookTypeDialog {
    Q_OBJECT

public:
    static constexpr int IDD = 200;
    CSetBookType(BookTypeSession& session, int generation, QWidget* parent = nullptr);
    SetBookTypeControl& Logic();
};
