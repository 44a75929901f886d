#include "core/info/booktype/NuTekBookControl.h"

#include "core/drive/DriveContext.h"
#include "core/drive/MediaType.h"
#include "core/info/booktype/BookTypeControls.h"

namespace {

using namespace booktype_ids::nutek;

constexpr std::uint8_t kCurrentOnly = 0x5A;
enum Choice { kOwnKind = 0, kRom = 1 };

// Per book: its name, its radio group, its flash and current texts, and the
// set values for its own kind and for DVD-ROM.
struct BookRow {
    const char* name;
    int group;
    int flashText;
    int currentText;
    int ownValue;
    int romValue;
};
// clang-format off
constexpr BookRow kBooks[] = {
    {"DVD+R",  IDC_R_GROUP,        IDC_R_FLASH,        IDC_R_DRAM,        0x10, 0x11},
    {"DVD+RW", IDC_RW_GROUP,       IDC_RW_FLASH,       IDC_RW_DRAM,       0x20, 0x22},
    {"DVD-R",  IDC_MINUS_R_GROUP,  IDC_MINUS_R_FLASH,  IDC_MINUS_R_DRAM,  0x40, 0x44},
    {"DVD-RW", IDC_MINUS_RW_GROUP, IDC_MINUS_RW_FLASH, IDC_MINUS_RW_DRAM, 0x80, 0x88},
};
// clang-format on

}  // namespace

void NuTekBookControl::OnInitDialog()
{
    for (const BookRow& row : kBooks)
        radios[row.group] = kOwnKind;
    checks[IDC_FLASH_SAVE] = 0;
    texts[IDC_MINUS_RW_MEDIA] = "N/A";
    texts[IDC_RW_MEDIA] = "N/A";
    DriveContext& drive = m_session.drive;
    if (drive.mmc.TestMediaPresent() == 1) {
        const int bookType = drive.media.GetBookType();
        if (bookType == kMediaDvdMinusRw)
            texts[IDC_MINUS_RW_MEDIA] = "DVD-RW";
        else if (bookType == kMediaDvdPlusRw)
            texts[IDC_RW_MEDIA] = "DVD+RW";
        else if (bookType == 0) {
            const int mediaType = drive.media.GetMediaType();
            if (mediaType == kMediaDvdMinusRw)
                texts[IDC_MINUS_RW_MEDIA] = "DVD-ROM";
            else if (mediaType == kMediaDvdPlusRw)
                texts[IDC_RW_MEDIA] = "DVD-ROM";
        }
    }
    Refresh();
}

void NuTekBookControl::Refresh()
{
    NuQsiCommands& nu = m_session.drive.nuQsi;
    const int flash = nu.NuQsiQueryF30E().value;
    const int current = nu.QueryNuQsiStatus().value;
    for (int bit = 0; bit < 4; ++bit) {
        const BookRow& row = kBooks[bit];
        const auto text = [&](int bits) { return bits < 0 ? "------" : (bits & (1 << bit)) ? "DVD-ROM" : row.name; };
        texts[row.flashText] = text(flash);
        texts[row.currentText] = text(current);
    }
}

void NuTekBookControl::OnFlashSave()
{
    if (checks[IDC_FLASH_SAVE])
        m_session.Message("WARNING - FLASH RAM HAS LIMITED LIFE CYCLE");
}

bool NuTekBookControl::FirmwareRefused()
{
    const CDevice* device = m_session.Device();
    if (!device || device->m_strFirmware != "BX02")
        return false;
    m_session.Message("Wrong firmware revision,  you must upgrade to at least BX03 firmware");
    return true;
}

void NuTekBookControl::Failed(const VendorReply& reply, const char* text)
{
    if (!m_session.TellFailure(reply, "NuQsiSetBookType", text))
        m_session.ShowStatus("Error. May not be a Nu-Tek drive or wrong firmware");
    End(1);
}

void NuTekBookControl::OnSetDefaultBook(Book book)
{
    if (FirmwareRefused())
        return;
    const BookRow& row = kBooks[book];
    const bool flash = checks[IDC_FLASH_SAVE] != 0;
    if (flash
        && m_session.Message("Are you sure you want to change the bitsetting?", "Are you sure?",
                             MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2)
            != IDYES)
        return;
    const bool rom = Radio(row.group) == kRom;
    std::string change = NextBurnChange(row.name, rom ? "DVD-ROM" : row.name);
    change += flash ? " The drive keeps it in its flash memory." : " (until the drive is switched off)";
    if (!m_session.ConfirmWrite(std::string("Set the drive's ") + row.name + " book type", row.name, change))
        return;
    const VendorReply reply = m_session.drive.nuQsi.NuQsiSetBookType(rom ? row.romValue : row.ownValue, 0,
                                                                     flash ? 0 : kCurrentOnly);
    if (reply.value != 0) {
        Failed(reply, "Error, Drive does not support bitsetting");
        return;
    }
    Refresh();
}

bool NuTekBookControl::DiscIs(int mediaType, const char* wrongMedia)
{
    DriveContext& drive = m_session.drive;
    if (drive.mmc.TestMediaPresent() != 1) {
        m_session.Message("No Media Present");
        return false;
    }
    if (drive.media.GetMediaType() != mediaType) {
        m_session.Message(wrongMedia);
        return false;
    }
    return true;
}

void NuTekBookControl::SetDirect(int mediaType, const char* kind, int book, int byte3, int byte4, int byte11,
                                 const char* failure)
{
    if (FirmwareRefused())
        return;
    const bool minus = mediaType == kMediaDvdMinusRw;
    if (!DiscIs(mediaType, minus ? "Wrong Media for function, -RW expected" : "Wrong Media for function, +RW expected"))
        return;
    const bool rom = Radio(kBooks[book].group) == kRom;
    if (!m_session.ConfirmWrite("Change the book type of the disc in the drive", kind,
                                LoadedDiscChange(kind, rom ? "DVD-ROM" : kind)))
        return;
    const VendorReply reply = m_session.drive.nuQsi.NuQsiSetBookType(byte3, byte4, byte11);
    texts[minus ? IDC_MINUS_RW_MEDIA : IDC_RW_MEDIA] = "N/A";
    if (reply.value != 0) {
        Failed(reply, failure);
        return;
    }
    Refresh();
}

// The -RW group's own values, 80h or 88h, as the -RW default book sends them.
void NuTekBookControl::OnSetMinusRwDirect()
{
    const BookRow& row = kBooks[kMinusRw];
    const int value = Radio(row.group) == kRom ? row.romValue : row.ownValue;
    SetDirect(kMediaDvdMinusRw, "DVD-RW", kMinusRw, value, 0x08, kCurrentOnly,
              "Error, Drive does not support bitsetting");
}

void NuTekBookControl::OnSetPlusRwDirect()
{
    const int value = Radio(kBooks[kPlusRw].group) == kRom ? 0xE2 : 0xE0;
    SetDirect(kMediaDvdPlusRw, "DVD+RW", kPlusRw, value, 0x02, 0, "Error, Drive bitset command failed.");
}
