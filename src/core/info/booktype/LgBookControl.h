#pragma once

#include "core/info/booktype/BookTypeControl.h"

// `CLGBook`'s logic: the LG drives' book type (FAh read, FCh write) or, in
// its Plextor/TDK mode, the Plextor drives' (E9h): "Normal" or "DVD-ROM" for
// DVD+R/RW and for DVD+R DL.
class LgBookControl : public BookTypeControl {
public:
    LgBookControl(BookTypeSession& session, bool plextorMode);

    enum Choice { kNormal = 0, kRom = 1 };

    void OnInitDialog() override;
    void Refresh() override;
    const char* HelpTopic() const override { return "LG Bitsetting Dialog.htm"; }

    void OnChangePlus();  // "&Change +R/RW Mode"
    void OnChangeDualLayer();  // "Change +R&DL Mode"

    const bool m_bPlextorMode;

private:
    bool Confirm(const char* kinds);
    void Failed(const VendorReply& reply, const char* command);
};
