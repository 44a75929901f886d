#include "core/info/booktype/AopenBookTypeControl.h"

#include "core/drive/DriveContext.h"
#include "core/info/booktype/BookTypeControls.h"

#include <iterator>

namespace {

using namespace booktype_ids::aopen;
using booktype_ids::plus::IDC_BOOK_GROUP;

enum Target { kRwDrive = 4, kMedium = 6, kRDrive = 20 };
constexpr int kValues[] = {0x9F, 0xAF, 0x4F, 0x3F, 0x0F};

// An EEPROM setting: 0 DVD-ROM, another the kind itself.
const char* EepromText(int reading, const char* kind)
{
    if (reading < 0)
        return "------";
    return reading == 0 ? "DVD-ROM" : kind;
}

}  // namespace

void AopenBookTypeControl::OnInitDialog()
{
    radios[IDC_BOOK_GROUP] = kRom;
    Refresh();
}

void AopenBookTypeControl::Refresh()
{
    ShowDiscBook(IDC_DISC_BOOK, m_session.drive.media.GetBookType(), "--------");
    Enable(IDC_SET_MEDIA, Text(IDC_DISC_BOOK) != "--------");
    RicohCommands& ricoh = m_session.drive.ricoh;
    texts[IDC_RW_EEPROM] = EepromText(ricoh.VendorFAQuery00().value, "DVD+RW");
    texts[IDC_R_EEPROM] = EepromText(ricoh.VendorFAQuery10().value, "DVD+R");
}

void AopenBookTypeControl::Set(int target, const char* kind, bool loadedDisc)
{
    const int choice = Choice();
    if (choice < 0 || choice >= static_cast<int>(std::size(kValues)))
        return;
    if (!ConfirmSetting(kChoiceNames[choice], kind, loadedDisc))
        return;
    const VendorReply reply = m_session.drive.ricoh.VendorF9Set(target, 0, kValues[choice], 0xFF);
    if (reply.value != 0)
        m_session.TellFailure(reply, "VendorF9Set", "Error writing bitsetting bits");
    Refresh();
}

void AopenBookTypeControl::SetDrive(int target, const char* kind)
{
    if (m_session.drive.mmc.TestMediaPresent() == 1) {
        m_session.Message("Please remove media before change drive settings");
        return;
    }
    Set(target, kind, false);
}

void AopenBookTypeControl::OnSetRwDrive()
{
    SetDrive(kRwDrive, "DVD+RW");
}

void AopenBookTypeControl::OnSetRDrive()
{
    SetDrive(kRDrive, "DVD+R");
}

void AopenBookTypeControl::OnSetMedia()
{
    if (CheckDiscIsPlusRw("Cannot alter book type of DVD-R/RW", "Incorrect Media"))
        Set(kMedium, "DVD+RW", true);
}
