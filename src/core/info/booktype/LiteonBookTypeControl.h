#pragma once

#include "core/info/booktype/BookTypeControl.h"

// `CLiteonBookType`'s logic: the Lite-On and Sony drives' one book-type
// choice for DVD+R and DVD+R DL (DFh).
class LiteonBookTypeControl : public BookTypeControl {
public:
    using BookTypeControl::BookTypeControl;

    enum Choice { kPlusRw = 0, kNormal = 1, kRom = 2 };

    void OnInitDialog() override;
    void Refresh() override;
    const char* HelpTopic() const override { return "Liteon Book Type Bitsetting .htm"; }

    void OnChange();  // "Chan&ge..."
    void OnQuery() { Refresh(); }
};
