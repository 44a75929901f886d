#pragma once

#include "core/info/booktype/PlusBookTypeControl.h"

#include <cstdint>

// `CSetBookType`'s logic, for the Ricoh-type drives: the settings from the
// FAh queries, every change through the Ricoh set command (F9h) to a target
// that depends on the drive's DVD+ writing generation.
class SetBookTypeControl : public PlusBookTypeControl {
public:
    // generation: `GetPlusDriveGeneration` (0 neither DVD+R nor DVD+RW, 1
    // one of them, 2 both).
    SetBookTypeControl(BookTypeSession& session, int generation);

    void OnInitDialog() override;
    void Refresh() override;
    const char* HelpTopic() const override { return "Book Type Bitsetting.htm"; }

    void OnSetRwDefault();  // target 1
    void OnSetRDefault();  // target 20
    void OnSetCurrentMedia();  // target 2, then the DVD+RW default back to target 1

private:
    // The target a generation sends; none after the dialog was ended.
    std::optional<std::uint8_t> TargetFor(std::uint8_t target);
    // Sends the value; false (and the dialog ended) when the drive refused.
    bool Send(std::uint8_t target, int value);
    // After a change of the disc: the drive's DVD+RW setting given back.
    void GiveDefaultBack(std::uint8_t target, int value);
    int Value() const;

    int m_nGeneration;
    std::uint8_t m_nSetTarget = 0;
    bool m_bMediaChangeAllowed = true;
};
