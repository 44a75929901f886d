#include "core/info/booktype/BtcBookTypeControl.h"

#include "core/drive/DriveContext.h"
#include "core/drive/MediaType.h"
#include "core/info/booktype/BookTypeControls.h"

namespace {

using namespace booktype_ids::btc;

}  // namespace

void BtcBookTypeControl::OnInitDialog()
{
    radios[IDC_MODE_GROUP] = kRom;
    for (const int id : {IDC_DISC_BOOK, IDC_R_LINE, IDC_RW_LINE})
        texts[id] = "------";
    Refresh();
}

void BtcBookTypeControl::Refresh()
{
    DriveContext& drive = m_session.drive;
    texts[IDC_DISC_BOOK] = BookTypeText(ReadDiscBookType(drive));
    const int state = drive.btc.VendorFA01Read().value;
    texts[IDC_R_LINE] = "------";
    texts[IDC_RW_LINE] = "------";
    switch (state) {
    case 0x00: {
        // The drive writes the disc in it as what it is.
        const int mediaType = drive.media.GetMediaType();
        if (mediaType == kMediaDvdMinusR || mediaType == kMediaDvdPlusR || mediaType == kMediaDvdPlusRDl)
            texts[IDC_R_LINE] = MediaTypeName(mediaType);
        else if (mediaType == kMediaDvdMinusRw || mediaType == kMediaDvdPlusRw)
            texts[IDC_RW_LINE] = MediaTypeName(mediaType);
        break;
    }
    case 0x11:
    case 0x44: texts[IDC_R_LINE] = "DVD-ROM"; break;
    case 0x22:
    case 0x88: texts[IDC_RW_LINE] = "DVD-ROM"; break;
    default: break;
    }
}

void BtcBookTypeControl::OnChangeCurrentMedia()
{
    DriveContext& drive = m_session.drive;
    if (drive.mmc.TestMediaPresent() == 0) {
        m_session.Message("For this command a DVDRW media must be in the drive", "Error");
        End(1);
        return;
    }
    const int mediaType = drive.media.GetMediaType();
    if (mediaType == kMediaDvdMinusR) {
        m_session.Message("Cannot alter book type of written DVD-R", "Incorrect Media");
        m_session.ReportLine("Cannot use DVD-R media");
        End(0);
        return;
    }
    if (mediaType == kMediaDvdPlusR) {
        m_session.Message("Cannot alter book type of DVD+R", "Incorrect Media");
        m_session.ReportLine("Cannot alter book type of written DVD+R");
        End(0);
        return;
    }
    if (mediaType != kMediaDvdMinusRw && mediaType != kMediaDvdPlusRw) {
        m_session.ReportLine("Incorrect book type!");
        End(0);
        return;
    }
    const bool rom = Radio(IDC_MODE_GROUP) == kRom;
    const char* kind = MediaTypeName(mediaType);
    const int value = rom ? 0x01 : mediaType == kMediaDvdMinusRw ? 0x32 : 0x92;
    const char* book = rom ? "DVD-ROM" : kind;
    if (!m_session.ConfirmWrite("Change the book type of the disc in the drive", kind, LoadedDiscChange(kind, book)))
        return;
    texts[IDC_DISC_BOOK] = book;
    const VendorReply reply = drive.btc.VendorFA00Write(value, 0, 0);
    if (reply.value != 0)
        m_session.TellFailure(reply, "VendorFA00Write", "Error writing bitsetting bits");
    Refresh();
}

void BtcBookTypeControl::OnSetDefaultMode()
{
    const bool rom = Radio(IDC_MODE_GROUP) == kRom;
    const std::string change = rom ? NextBurnChange("DVD±R or DVD±RW", "DVD-ROM")
                                   : NextBurnChange("DVD±R or DVD±RW", "what the disc is (DVD+R, DVD-RW ...)");
    if (!m_session.ConfirmWrite("Set the drive's default book type", "DVD±R and DVD±RW", change))
        return;
    const VendorReply reply = rom ? m_session.drive.btc.VendorFA00Write(1, 1, 0)
                                  : m_session.drive.btc.VendorFA00Write(0, 0, 1);
    if (reply.value != 0)
        m_session.TellFailure(reply, "VendorFA00Write", "Error writing bitsetting bits");
    Refresh();
}
