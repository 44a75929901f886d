#include "core/info/booktype/LgBookControl.h"

#include "core/drive/DriveContext.h"
#include "core/info/booktype/BookTypeControls.h"

#include <array>

namespace {

using namespace booktype_ids::lg;

enum KindCode { kPlusRwCode = 0x09, kPlusRCode = 0x0A, kDualLayerCode = 0x0E };
constexpr int kSettingBytes = 4;
constexpr int kPlextorAnswer = 8;

}  // namespace

LgBookControl::LgBookControl(BookTypeSession& session, bool plextorMode) :
    BookTypeControl(session), m_bPlextorMode(plextorMode)
{
}

void LgBookControl::OnInitDialog()
{
    title = m_bPlextorMode ? "Plextor / TDK Book Type Setting" : "LG GSA-4120B Book Type Setting";
    radios[IDC_MODE_GROUP] = kRom;
    Refresh();
}

void LgBookControl::Refresh()
{
    DriveContext& drive = m_session.drive;
    if (!m_bPlextorMode) {
        std::array<std::uint8_t, kSettingBytes> answer{};
        // A failed read is shown as such, not as the zeros of its buffer.
        const bool read = drive.lg.VendorFARead(answer.data(), kSettingBytes).value == 0;
        texts[IDC_PLUS_TEXT] = !read ? "N/A" : answer[0] == 0xA0 ? "DVD+R/RW" : "DVD-ROM";
        texts[IDC_DL_TEXT] = !read ? "N/A" : answer[1] == 0xE0 ? "DVD+RDL" : "DVD-ROM";
        return;
    }
    std::array<std::uint8_t, kPlextorAnswer> answer{};
    if (drive.plextor.PlextorE9Read(answer.data(), kPlextorAnswer, kPlusRCode).value != 0) {
        texts[IDC_PLUS_TEXT] = "N/A";
        Enable(IDC_CHANGE_PLUS, false);
        Enable(IDC_CHANGE_DL, false);
        Enable(IDC_DL_TEXT, false);
    } else {
        texts[IDC_PLUS_TEXT] = answer[2] == 0 ? "DVD+R/RW" : "DVD-ROM";
    }
    if (drive.plextor.PlextorE9Read(answer.data(), kPlextorAnswer, kDualLayerCode).value != 0)
        texts[IDC_DL_TEXT] = "N/A";
    else
        texts[IDC_DL_TEXT] = answer[2] == 0 ? "DVD+RDL" : "DVD-ROM";
    Enable(IDC_CHANGE_DL, false);
    Enable(IDC_DL_TEXT, false);
}

bool LgBookControl::Confirm(const char* kinds)
{
    const bool rom = Radio(IDC_MODE_GROUP) == kRom;
    return m_session.ConfirmWrite(
        std::string("Set the drive's ") + kinds + " book type", kinds,
        NextBurnChange(kinds, rom ? "DVD-ROM" : std::string("what the disc is (") + kinds + ")"));
}

void LgBookControl::Failed(const VendorReply& reply, const char* command)
{
    m_session.TellFailure(reply, command, "Error writing bitsetting bits");
}

void LgBookControl::OnChangePlus()
{
    const int choice = Radio(IDC_MODE_GROUP);
    if (choice < 0 || !Confirm("DVD+R or DVD+RW"))
        return;
    DriveContext& drive = m_session.drive;
    if (!m_bPlextorMode) {
        if (const VendorReply reply = drive.lg.LgFCWrite(choice, 1); reply.value != 0)
            Failed(reply, "LgFCWrite");
    } else {
        VendorReply reply = drive.plextor.PlextorE9Write(choice, kPlusRCode);
        if (reply.value == 0)
            reply = drive.plextor.PlextorE9Write(choice, kPlusRwCode);
        if (reply.value != 0)
            Failed(reply, "PlextorE9Write");
    }
    Refresh();
}

void LgBookControl::OnChangeDualLayer()
{
    const int choice = Radio(IDC_MODE_GROUP);
    if (choice < 0 || !Confirm("DVD+R DL"))
        return;
    DriveContext& drive = m_session.drive;
    if (!m_bPlextorMode) {
        if (const VendorReply reply = drive.lg.LgFCWrite(choice, 0); reply.value != 0)
            Failed(reply, "LgFCWrite");
        Refresh();
        return;
    }
    if (const VendorReply reply = drive.plextor.PlextorE9Write(choice, kDualLayerCode); reply.value != 0)
        Failed(reply, "PlextorE9Write");
}
