#include "core/info/booktype/SetBookTypeControl.h"

#include "core/base/LogFile.h"
#include "core/drive/DriveContext.h"
#include "core/info/booktype/BookTypeControls.h"

#include <iterator>

namespace {

using namespace booktype_ids::plus;

enum Target : std::uint8_t {
    kRwDefault = 1,
    kCurrentMedium = 2,
    kRwDefaultSecond = 12,
    kCurrentMediumSecond = 14,
    kRDefault = 20,
};

constexpr int kValues[] = {0x92, 0xA1, 0x32, 0x22, 0x01};

// The setting byte that gives the drive's DVD+RW default back; none for a
// read that failed or a value this program does not know.
std::optional<int> DefaultToRestore(int reading)
{
    switch (reading) {
    case 0x20: return 0x22;
    case 0x30: return 0x32;
    case 0x90: return 0x92;
    case 0xA0: return 0xA1;
    default: return reading >= 0 && reading < 0x10 ? std::optional(0x01) : std::nullopt;
    }
}

// The text of a FAh reading: below 10h DVD-ROM.
const char* ReadingText(int reading)
{
    if (reading < 0)
        return "------";
    return reading < 0x10 ? "DVD-ROM" : BookTypeText(reading >> 4);
}

}  // namespace

SetBookTypeControl::SetBookTypeControl(BookTypeSession& session, int generation) :
    PlusBookTypeControl(session), m_nGeneration(generation)
{
}

void SetBookTypeControl::OnInitDialog()
{
    radios[IDC_BOOK_GROUP] = kPlusRw;
    for (const int id : {IDC_SET_RW_DEFAULT, IDC_SET_R_DEFAULT, IDC_SET_MEDIA})
        Enable(id, false);
    const CDevice* device = m_session.Device();
    const std::string identity = device ? device->m_strIdentity : std::string();
    if (identity.find("NEC") != std::string::npos && identity.find("1300") != std::string::npos) {
        Enable(IDC_SET_RW_DEFAULT, true);
        Enable(IDC_SET_R_DEFAULT, true);
        m_bMediaChangeAllowed = false;
        title = "DVD+R/RW BitSetting (NEC 1300A HACKED DRIVES ONLY)";
    } else {
        Enable(IDC_SET_RW_DEFAULT, m_nGeneration >= 1);
        Enable(IDC_SET_R_DEFAULT, m_nGeneration >= 2);
        Enable(IDC_SET_MEDIA, true);
    }
    Refresh();
}

void SetBookTypeControl::Refresh()
{
    RicohCommands& ricoh = m_session.drive.ricoh;
    texts[IDC_PLUS_RW_SETTING] = ReadingText(ricoh.RicohQueryBookType00().value);
    texts[IDC_PLUS_R_SETTING] = ReadingText(ricoh.RicohQueryBookType10().value);
    const bool known = ShowDiscBook(IDC_DISC_BOOK, ReadDiscBookType(m_session.drive), "------");
    Enable(IDC_SET_MEDIA, known && m_bMediaChangeAllowed);
}

int SetBookTypeControl::Value() const
{
    const int choice = Choice();
    return choice >= 0 && choice < static_cast<int>(std::size(kValues)) ? kValues[choice] : kValues[kRom];
}

std::optional<std::uint8_t> SetBookTypeControl::TargetFor(std::uint8_t target)
{
    if (m_nGeneration == 0) {
        m_session.Message("Drive is not a 1st or 2nd Generation DVD+RW", "Error");
        End(1);
        return std::nullopt;
    }
    if (m_nGeneration == 2) {
        if (target == kCurrentMedium)
            target = kCurrentMediumSecond;
        else if (target == kRwDefault)
            target = kRwDefaultSecond;
    } else if (m_nGeneration == 1) {
        if (target == kRDefault) {
            m_session.ShowStatus("Wrong media type for drive");
            m_session.Message("+R is not applicable to this unit");
            End(1);
            return std::nullopt;
        }
        if (target == kRwDefaultSecond)
            target = kRwDefault;
    }
    return target;
}

bool SetBookTypeControl::Send(std::uint8_t target, int value)
{
    m_nSetTarget = target;
    const VendorReply reply = m_session.drive.ricoh.RicohSetBookType(m_nSetTarget, value);
    if (reply.value == 0)
        return true;
    if (!m_session.TellFailure(reply, "RicohSetBookType", "Error, Drive does not support bitsetting"))
        m_session.ShowStatus("Error. May not be a Ricoh drive");
    End(1);
    return false;
}

void SetBookTypeControl::OnSetRwDefault()
{
    const auto target = TargetFor(kRwDefault);
    if (!target || !ConfirmSetting(SettingText(Value()), "DVD+RW", false))
        return;
    if (Send(*target, Value()))
        Refresh();
}

void SetBookTypeControl::OnSetRDefault()
{
    const auto target = TargetFor(kRDefault);
    if (!target || !ConfirmSetting(SettingText(Value()), "DVD+R", false))
        return;
    if (Send(*target, Value()))
        Refresh();
}

// The drive writes the disc with its DVD+RW setting: the chosen value goes
// to the disc and the default read before is given back. A default that
// could not be read is not given back (a guess would become the drive's
// default); the user is told so before the change.
void SetBookTypeControl::OnSetCurrentMedia()
{
    if (!CheckDiscIsPlusRw("Cannot alter book type of DVD-R/RW", "Incorrect Media"))
        return;
    const int reading = m_session.drive.ricoh.RicohQueryBookType00().value;
    const std::optional<int> restore = DefaultToRestore(reading);
    const auto target = TargetFor(kCurrentMedium);
    if (!target)
        return;
    std::string change = LoadedDiscChange("DVD+RW", SettingText(Value()));
    if (!restore)
        change += " The drive's own DVD+RW setting could not be read, so it cannot be set back afterwards: the "
                  "drive may go on writing DVD+RW discs so.";
    if (!m_session.ConfirmWrite("Change the book type of the disc in the drive", "DVD+RW", change))
        return;
    if (!Send(*target, Value()))
        return;
    if (!restore) {
        LogEntry("SetBookType - the DVD+RW default was not read: it is not set back");
        m_session.ShowStatus("DVD+RW default unknown: not set back");
    } else if (const auto defaultTarget = TargetFor(kRwDefault)) {
        GiveDefaultBack(*defaultTarget, *restore);
    } else {
        return;
    }
    Refresh();
}

// The disc has changed and with it the drive's DVD+RW setting: a refusal
// to take the setting back is no refusal of book types. It is tried once
// more; then the user is told what the drive was left with, as read.
void SetBookTypeControl::GiveDefaultBack(std::uint8_t target, int value)
{
    RicohCommands& ricoh = m_session.drive.ricoh;
    VendorReply reply = ricoh.RicohSetBookType(target, value);
    if (reply.value == 0)
        return;
    LogEntry("SetBookType - the DVD+RW default was not set back, trying once more: " + reply.reason);
    reply = ricoh.RicohSetBookType(target, value);
    if (reply.value == 0)
        return;
    const int left = ricoh.RicohQueryBookType00().value;
    const std::string now = left < 0 ? std::string("what it writes DVD+RW discs as now could not be read")
                                     : std::string("it now writes DVD+RW discs as ") + ReadingText(left);
    const std::string text = std::string("The disc in the drive was changed, but the drive did not take its DVD+RW "
                                         "setting back (")
        + SettingText(value) + "): " + now + ".";
    m_session.TellFailure(reply, "RicohSetBookType", text, "Book type");
    m_session.ShowStatus(left < 0 ? std::string("DVD+RW default not set back")
                                  : std::string("DVD+RW default left at ") + ReadingText(left));
}
