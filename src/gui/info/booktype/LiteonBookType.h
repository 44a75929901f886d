#pragma once

#include "gui/info/booktype/BookTypeDialog.h"

class LiteonBookTypeControl;
struct BookTypeSession;

// Dialog 224: the Lite-On and Sony drives' book type of DVD+R and DVD+R DL.
class CLiteonBookType : public CBookTypeDialog {
    Q_OBJECT

public:
    static constexpr int IDD = 224;
    CLiteonBookType(BookTypeSession& session, QWidget* parent = nullptr);
    LiteonBookTypeControl& Logic();
};
