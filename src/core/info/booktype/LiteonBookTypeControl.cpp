#include "core/info/booktype/LiteonBookTypeControl.h"

#include "core/drive/DriveContext.h"
#include "core/drive/MediaType.h"
#include "core/info/booktype/BookTypeControls.h"

namespace {

using namespace booktype_ids::liteon;

constexpr int kValues[] = {2, 0, 1};  // DFh set values of "DVD+RW", "Normal", "DVD-ROM"

// The loaded disc's own kind as the setting "as the disc is" shows it.
const char* OwnKindText(int mediaType)
{
    switch (mediaType) {
    case kMediaDvdPlusRw: return "DVD+RW";
    case kMediaDvdPlusR: return "DVD+R";
    case kMediaDvdPlusRDl: return "DVD+R DL";
    default: return "------";
    }
}

}  // namespace

void LiteonBookTypeControl::OnInitDialog()
{
    radios[IDC_CHOICE_GROUP] = kRom;
    Refresh();
}

// "Chan&ge..." needs a DVD+R or DVD+R DL in the drive: taken from the disc's
// profile, not its book type, which shows the drive's setting on a blank disc.
void LiteonBookTypeControl::Refresh()
{
    DriveContext& drive = m_session.drive;
    const char* book = BookTypeText(ReadDiscBookType(drive));
    texts[IDC_DISC_TYPE] = std::string(book) == "------" ? "No Media" : book;
    const int mediaType = drive.mmc.TestMediaPresent() == 1 ? drive.media.GetMediaType() : -1;
    Enable(IDC_CHANGE, mediaType == kMediaDvdPlusR || mediaType == kMediaDvdPlusRDl);
    switch (drive.liteon.LiteonQueryBookType().value) {
    case 0: texts[IDC_DRIVE_SETTING] = OwnKindText(mediaType); break;
    case 2:
    case 18: texts[IDC_DRIVE_SETTING] = "DVD+RW"; break;
    case 1:
    case 17: texts[IDC_DRIVE_SETTING] = "DVD-ROM"; break;
    default: texts[IDC_DRIVE_SETTING] = "------"; break;
    }
}

void LiteonBookTypeControl::OnChange()
{
    const int choice = Radio(IDC_CHOICE_GROUP);
    if (choice < 0 || choice > kRom)
        return;
    const char* books[] = {"DVD+RW", "what the disc is (DVD+R, DVD+R DL)", "DVD-ROM"};
    if (!m_session.ConfirmWrite("Set the drive's DVD+R book type", "DVD+R and DVD+R DL",
                                NextBurnChange("DVD+R or DVD+R DL", books[choice])))
        return;
    const VendorReply reply = m_session.drive.liteon.LiteonSetBookType(1, kValues[choice]);
    if (reply.value != 0)
        m_session.TellFailure(reply, "LiteonSetBookType", "Error writing bitsetting bits");
    Refresh();
}
