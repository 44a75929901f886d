#pragma once

#include "core/info/booktype/BookTypeControl.h"

#include <array>

// `CBookTypeNEC`'s logic: the NEC drives' flash (default) and temporary
// book types of DVD+R DL, DVD+R and DVD+RW through C9h, what the firmware's
// command version allows, and the ration of flash writes.
class NecBookTypeControl : public BookTypeControl {
public:
    using BookTypeControl::BookTypeControl;

    // The kinds as C9h byte 2 names them.
    enum Kind { kPlusR = 0, kPlusRw = 1, kDualLayer = 2 };

    void OnInitDialog() override;
    void Refresh() override;
    const char* HelpTopic() const override { return "NEC Bitsetting Dialog.htm"; }
    // Writes what the user chose and did not set yet (a temporary book
    // type, or the flash settings to use), once the gate agrees.
    void OnClosing() override;

    void OnSetDefault(Kind kind);
    void OnSetTemporary(Kind kind);

    int m_nFirmwareCommandVersion = -1;
    int m_nChangesRemaining = 0;

private:
    // The setting byte of the kind's radio choice.
    int ChosenValue(Kind kind) const;
    // Whether the firmware's version lets the dialog change the kind.
    bool KindEnabled(Kind kind) const;
    void ShowSetting(Kind kind, int selector, int reading);

    // The radio choice each kind had after the last refresh: what the
    // temporary setting reads.
    std::array<int, 3> m_readChoice = {-1, -1, -1};
};
