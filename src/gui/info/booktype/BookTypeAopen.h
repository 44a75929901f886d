#pragma once

#include "gui/info/booktype/BookTypeDialog.h"

class AopenBookTypeControl;
struct BookTypeSession;

// Dialog 261: the AOpen DUW1608's EEPROM settings and the DVD+RW in it.
class CBookTypeAopen : public CBookTypeDialog {
    Q_OBJECT

public:
    static constexpr int IDD = 261;
    CBookTypeAopen(BookTypeSession& session, QWidget* parent = nullptr);
    AopenBookTypeControl& Logic();
};
