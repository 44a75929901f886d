#include "core/info/booktype/PlusBookTypeControl.h"

#include "core/drive/DriveContext.h"
#include "core/drive/MediaType.h"
#include "core/info/booktype/BookTypeControls.h"

int PlusBookTypeControl::Choice() const
{
    return Radio(booktype_ids::plus::IDC_BOOK_GROUP);
}

bool PlusBookTypeControl::CheckDiscIsPlusRw(const char* minusText, const char* minusCaption)
{
    if (m_session.drive.mmc.TestMediaPresent() == 0) {
        m_session.Message("For this command a DVD+RW media must be in the drive", "Error");
        End(1);
        return false;
    }
    const int mediaType = m_session.drive.media.GetMediaType();
    if (mediaType == kMediaDvdPlusRw)
        return true;
    if (mediaType == kMediaDvdMinusR || mediaType == kMediaDvdMinusRw) {
        m_session.Message(minusText, minusCaption);
        m_session.ReportLine("Cannot use DVD-R/RW drives/media");
    } else if (mediaType == kMediaDvdPlusR) {
        m_session.Message("Cannot alter book type of DVD+R", "Incorrect Media");
        m_session.ReportLine("Cannot alter book type of DVD+R");
    } else {
        m_session.ReportLine("Incorrect book type!");
    }
    End(0);
    return false;
}

bool PlusBookTypeControl::ShowDiscBook(int id, int bookType, const char* unknown)
{
    const char* text = BookTypeText(bookType);
    const bool known = text != std::string("------");
    texts[id] = known ? text : unknown;
    return known;
}

bool PlusBookTypeControl::ConfirmSetting(const std::string& book, const char* kind, bool loadedDisc)
{
    if (loadedDisc)
        return m_session.ConfirmWrite("Change the book type of the disc in the drive", kind,
                                      LoadedDiscChange(kind, book));
    return m_session.ConfirmWrite(std::string("Set the drive's ") + kind + " book type", kind,
                                  NextBurnChange(kind, book));
}

const char* SettingText(int value)
{
    return BookTypeText((value >> 4) & 0x0F);
}
