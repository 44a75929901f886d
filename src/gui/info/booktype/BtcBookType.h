#pragma once

#include "gui/info/booktype/BookTypeDialog.h"

class BtcBookTypeControl;
struct BookTypeSession;

// Dialog 223: the BTC drives' default mode and the DVD±RW in the drive.
class CBtcBookType : public CBookTypeDialog {
    Q_OBJECT

public:
    static constexpr int IDD = 223;
    CBtcBookType(BookTypeSession& session, QWidget* parent = nullptr);
    BtcBookTypeControl& Logic();
};
