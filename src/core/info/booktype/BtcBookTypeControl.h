#pragma once

#include "core/info/booktype/BookTypeControl.h"

// `CBtcBookType`'s logic: the BTC drives' book-type state (FAh 01h), the
// drive's default mode and the DVD±RW in the drive (FAh 00h).
class BtcBookTypeControl : public BookTypeControl {
public:
    using BookTypeControl::BookTypeControl;

    enum Choice { kNormal = 0, kRom = 1 };

    void OnInitDialog() override;
    void Refresh() override;
    const char* HelpTopic() const override { return "Book Type Bitsetting BTC.htm"; }

    void OnChangeCurrentMedia();  // "C&hange Current DVD±R/RW Media"
    void OnSetDefaultMode();  // "Set &Default Mode (±RW/±R)"
    void OnQuery() { Refresh(); }
};
