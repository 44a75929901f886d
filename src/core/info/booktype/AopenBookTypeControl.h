#pragma once

#include "core/info/booktype/PlusBookTypeControl.h"

// `CBookTypeAopen`'s logic: the AOpen DUW1608's EEPROM settings (FAh
// queries) and its set command (F9h) for the drive and the disc in it.
class AopenBookTypeControl : public PlusBookTypeControl {
public:
    using PlusBookTypeControl::PlusBookTypeControl;

    void OnInitDialog() override;
    void Refresh() override;
    const char* HelpTopic() const override { return "NEC Bitsetting Dialog.htm"; }

    void OnSetRwDrive();  // "Set Drive (DVD+R&W Media)"
    void OnSetRDrive();  // "&Set Drive (DVD+&R Media)"
    void OnSetMedia();  // "&Set Media (DVD+RW Only)"

private:
    void SetDrive(int target, const char* kind);
    void Set(int target, const char* kind, bool loadedDisc);
};
