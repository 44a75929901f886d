#pragma once

#include "core/info/booktype/BookTypeControl.h"

// `CNuTekBook`'s logic: the Nu/QSI drives' book types of DVD+R, DVD+RW,
// DVD-R and DVD-RW, in flash and as currently used (F3h), and the direct
// change of the DVD+RW or DVD-RW in the drive.
class NuTekBookControl : public BookTypeControl {
public:
    using BookTypeControl::BookTypeControl;

    // The four default books, in the bit order of the drive's answers.
    enum Book { kPlusR = 0, kPlusRw = 1, kMinusR = 2, kMinusRw = 3 };

    void OnInitDialog() override;
    void Refresh() override;
    const char* HelpTopic() const override { return "Book Type Bitsetting.htm"; }

    // "Enable  Flash Ram Save" was ticked or cleared.
    void OnFlashSave();
    void OnSetDefaultBook(Book book);
    void OnSetMinusRwDirect();  // "Set -RW Media Direct"
    void OnSetPlusRwDirect();  // "Set +RW Media Direct"

private:
    bool FirmwareRefused();
    // The drive refused a set: says so and ends the dialog.
    void Failed(const VendorReply& reply, const char* text);
    // The disc in the drive is of the media type, else says so.
    bool DiscIs(int mediaType, const char* wrongMedia);
    void SetDirect(int mediaType, const char* kind, int book, int byte3, int byte4, int byte11, const char* failure);
};
