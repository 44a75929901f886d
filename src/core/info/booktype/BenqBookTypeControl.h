#pragma once

#include "core/info/booktype/PlusBookTypeControl.h"

// `CBenqBookType`'s logic: the drive's DVD+RW and DVD+R settings through the
// BenQ service-mode commands, and the DVD+RW in the drive.
class BenqBookTypeControl : public PlusBookTypeControl {
public:
    using PlusBookTypeControl::PlusBookTypeControl;

    void OnInitDialog() override;
    void Refresh() override;
    const char* HelpTopic() const override { return "Book Type Bitsetting.htm"; }

    void OnSetRwDefault();  // "Set Drive Default (DVD+R&W Media)"
    void OnSetRDefault();  // "&Set Drive Default (DVD+&R Media)"
    void OnSetCurrentMedia();  // "&Set Current Media (DVD+RW only)"

private:
    // The value of the DVD+RW set commands; none after telling why not.
    std::optional<int> RwValue();
    void Set(int selector, int value, bool withData, const char* kind);
};
