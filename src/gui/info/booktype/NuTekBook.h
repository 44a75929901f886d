#pragma once

#include "gui/info/booktype/BookTypeDialog.h"

class NuTekBookControl;
struct BookTypeSession;

// Dialog 214: the Nu/QSI drives' default books and the direct change of the
// DVD±RW in the drive.
class CNuTekBook : public CBookTypeDialog {
    Q_OBJECT

public:
    static constexpr int IDD = 214;
    CNuTekBook(BookTypeSession& session, QWidget* parent = nullptr);
    NuTekBookControl& Logic();
};
