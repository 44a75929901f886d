#pragma once

#include "gui/info/booktype/BookTypeDialog.h"

class LgBookControl;
struct BookTypeSession;

// Dialog 247: the LG drives' book type, or the Plextor and TDK drives' in
// its Plextor/TDK mode.
class CLGBook : public CBookTypeDialog {
    Q_OBJECT

public:
    static constexpr int IDD = 247;
    CLGBook(BookTypeSession& session, bool plextorMode, QWidget* parent = nullptr);
    LgBookControl& Logic();
};
