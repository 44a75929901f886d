#include "core/info/booktype/BenqBookTypeControl.h"

#include "core/drive/DriveContext.h"
#include "core/info/booktype/BookTypeControls.h"

namespace {

using namespace booktype_ids::plus;

enum Selector { kCurrentMedium = 0x02, kPlusRwDefault = 0x04, kPlusRDefault = 0x05 };

}  // namespace

void BenqBookTypeControl::OnInitDialog()
{
    radios[IDC_BOOK_GROUP] = kPlusRw;
    Enable(IDC_SET_RW_DEFAULT, true);
    Enable(IDC_SET_R_DEFAULT, true);
    Enable(IDC_SET_MEDIA, true);
    Enable(kBookRadios[kMinusR], false);
    Enable(kBookRadios[kMinusRw], false);
    Refresh();
}

void BenqBookTypeControl::Refresh()
{
    BenqCommands& benq = m_session.drive.benq;
    texts[IDC_PLUS_RW_SETTING] = BookTypeText(benq.BenqQueryBookType00().value);
    texts[IDC_PLUS_R_SETTING] = BookTypeText(benq.BenqQueryBookType10().value);
    Enable(IDC_SET_MEDIA, ShowDiscBook(IDC_DISC_BOOK, ReadDiscBookType(m_session.drive), "------"));
}

std::optional<int> BenqBookTypeControl::RwValue()
{
    switch (Choice()) {
    case kPlusRw: return 0x92;
    case kRom: return 0x01;
    case kMinusRw:
    case kMinusR: return 0x00;
    case kPlusR: m_session.Message("Cannot set +RW as +R, use +RW or -ROM"); return std::nullopt;
    default: return std::nullopt;
    }
}

void BenqBookTypeControl::Set(int selector, int value, bool withData, const char* kind)
{
    if (!ConfirmSetting(SettingText(value), kind, selector == kCurrentMedium))
        return;
    BenqCommands& benq = m_session.drive.benq;
    const VendorReply reply = withData ? benq.BenqSetBookTypeData(selector, value)
                                       : benq.BenqSetBookType(selector, value);
    if (reply.value != 0)
        m_session.TellFailure(reply, withData ? "BenqSetBookTypeData" : "BenqSetBookType",
                              "Error writing bitsetting bits");
    Refresh();
}

void BenqBookTypeControl::OnSetRwDefault()
{
    if (const auto value = RwValue())
        Set(kPlusRwDefault, *value, false, "DVD+RW");
}

void BenqBookTypeControl::OnSetRDefault()
{
    std::optional<int> value;
    switch (Choice()) {
    case kPlusR: value = 0xA1; break;
    case kRom: value = 0x01; break;
    case kMinusRw:
    case kMinusR: value = 0x00; break;
    case kPlusRw: m_session.Message("Cannot set +R as +RW, use +R or -ROM"); break;
    default: break;
    }
    if (value)
        Set(kPlusRDefault, *value, false, "DVD+R");
}

void BenqBookTypeControl::OnSetCurrentMedia()
{
    if (!CheckDiscIsPlusRw("Incorrect Media", ""))
        return;
    if (const auto value = RwValue())
        Set(kCurrentMedium, *value, true, "DVD+RW");
}
