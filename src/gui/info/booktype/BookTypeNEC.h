#pragma once

#include "gui/info/booktype/BookTypeDialog.h"

class NecBookTypeControl;
struct BookTypeSession;

// Dialog 244: the NEC drives' flash and temporary book types. Closing it
// writes what the user chose and did not set yet.
class CBookTypeNEC : public CBookTypeDialog {
    Q_OBJECT

public:
    static constexpr int IDD = 244;
    CBookTypeNEC(BookTypeSession& session, QWidget* parent = nullptr);
    NecBookTypeControl& Logic();

    void OnCancel() override;
};
