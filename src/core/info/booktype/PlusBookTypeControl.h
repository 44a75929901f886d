#pragma once

#include "core/info/booktype/BookTypeControl.h"

#include <optional>

// What the dialogs of the BenQ, Ricoh-type and AOpen drives share: the
// "DVD+RW", "DVD+R", "DVD-RW", "DVD-R", "DVD-ROM" choice and the checks of a
// change of the disc in the drive.
class PlusBookTypeControl : public BookTypeControl {
public:
    using BookTypeControl::BookTypeControl;

    enum Choice { kPlusRw = 0, kPlusR = 1, kMinusRw = 2, kMinusR = 3, kRom = 4 };
    static constexpr const char* kChoiceNames[] = {"DVD+RW", "DVD+R", "DVD-RW", "DVD-R", "DVD-ROM"};

protected:
    // The choice of the radio group.
    int Choice() const;
    // Steps 1-2 of a change of the disc in the drive: true with a DVD+RW
    // there; otherwise tells why (a DVD-R/RW with `minusText`, as a message
    // with `minusCaption`) and ends the dialog.
    bool CheckDiscIsPlusRw(const char* minusText, const char* minusCaption);
    // The disc's book type into a text: its name, or `unknown` for a
    // failed read or a type the dialog has no name for (false then).
    bool ShowDiscBook(int id, int bookType, const char* unknown);
    // Asks the gate for a book type of the next discs of a kind or of the
    // disc in the drive.
    bool ConfirmSetting(const std::string& book, const char* kind, bool loadedDisc);
};

// The book type a setting byte names, by its high nibble ("DVD-ROM" for 00h
// and 01h).
const char* SettingText(int value);
