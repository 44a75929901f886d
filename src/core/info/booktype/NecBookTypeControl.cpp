#include "core/info/booktype/NecBookTypeControl.h"

#include "core/base/Format.h"
#include "core/base/LogFile.h"
#include "core/drive/DriveContext.h"
#include "core/info/booktype/BookTypeControls.h"

namespace {

using namespace booktype_ids::nec;

enum SubCommand { kWriteDefault = 1, kWriteTemporary = 3, kSelect = 4 };
enum Use { kUseTemporary = 0, kUseFlash = 1 };

// Per kind (DVD+R, DVD+RW, DVD+R DL): its name, its texts (selector 0 and
// 1), its radio group and the setting byte of each choice, in choice order.
struct KindRow {
    const char* name;
    int defaultText;
    int temporaryText;
    int group;
    std::array<int, 3> values;  // -1: no such choice
    const char* choiceNames[3];
};
// clang-format off
constexpr KindRow kRows[] = {
    {"DVD+R",    IDC_R_DEFAULT,  IDC_R_TEMPORARY,  IDC_R_GROUP,  {0xA0, 0x20, 0x00}, {"DVD+R", "DVD-R", "DVD-ROM"}},
    {"DVD+RW",   IDC_RW_DEFAULT, IDC_RW_TEMPORARY, IDC_RW_GROUP, {0x90, 0x30, 0x00}, {"DVD+RW", "DVD-RW", "DVD-ROM"}},
    {"DVD+R DL", IDC_DL_DEFAULT, IDC_DL_TEMPORARY, IDC_DL_GROUP, {0xE0, 0x00, -1},   {"DVD+R DL", "DVD-ROM", ""}},
};
// clang-format on

constexpr const char* kVersionTexts[] = {
    "Found Firmware Command Vers 1 - Supports DVD+RDL Flash Bitset only",
    "Found Firmware Command Vers 2 - Supports DVD+RDL Bitsetting",
    "Found Firmware Command Vers 3 - Supports DVD+R/DL Bitsetting",
    "Found Firmware Command Vers 4 - Supports DVD+R/RW/DL Bitsetting",
};

// The choice a reading stands for; -1 for a value of none of them.
int ChoiceOfReading(const KindRow& row, int reading)
{
    if (reading == 0x01)
        reading = 0x00;
    for (int choice = 0; choice < 3; ++choice)
        if (row.values[choice] == reading)
            return choice;
    return -1;
}

}  // namespace

void NecBookTypeControl::OnInitDialog()
{
    // As the template has them: the DVD+R and DVD+RW controls start disabled.
    for (const int id : {IDC_SET_TEMP_R, IDC_SET_DEFAULT_R, IDC_R_DEFAULT, IDC_R_TEMPORARY, IDC_SET_TEMP_RW,
                         IDC_SET_DEFAULT_RW, IDC_RW_DEFAULT, IDC_RW_TEMPORARY})
        Enable(id, false);
    for (const int id : kRRadios)
        Enable(id, false);
    for (const int id : kRwRadios)
        Enable(id, false);
    Refresh();
    // The firmware command version is answer bytes 2-3 of the C9h counter
    // query (NecQueryCounterA); bytes 4-5 of the same answer are the flash
    // writes left (NecQueryCounterB).
    m_nFirmwareCommandVersion = m_session.drive.nec.NecQueryCounterA().value;
    const int version = m_nFirmwareCommandVersion;
    if (version >= 1 && version <= 4)
        texts[IDC_VERSION] = kVersionTexts[version - 1];
    if (version == 1)
        for (const int id : kUseRadios)
            Enable(id, false);
    if (version == 3 || version == 4) {
        for (const int id : {IDC_SET_TEMP_R, IDC_SET_DEFAULT_R, IDC_R_DEFAULT, IDC_R_TEMPORARY})
            Enable(id, true);
        for (const int id : kRRadios)
            Enable(id, true);
    }
    if (version == 4) {
        for (const int id : {IDC_SET_TEMP_RW, IDC_SET_DEFAULT_RW, IDC_RW_DEFAULT, IDC_RW_TEMPORARY})
            Enable(id, true);
        for (const int id : kRwRadios)
            Enable(id, true);
    }
    radios[IDC_USE_GROUP] = kUseTemporary;
}

void NecBookTypeControl::ShowSetting(Kind kind, int selector, int reading)
{
    const KindRow& row = kRows[kind];
    std::string& text = texts[selector == 0 ? row.defaultText : row.temporaryText];
    const int choice = ChoiceOfReading(row, reading);
    if (reading == -1)
        text = "N/A";
    else if (choice != -1)
        text = row.choiceNames[choice];
    // Another value leaves the text as it was.
    if (selector == 1 && choice != -1) {
        radios[row.group] = choice;
        m_readChoice[kind] = choice;
    }
}

void NecBookTypeControl::Refresh()
{
    NecCommands& nec = m_session.drive.nec;
    for (const Kind kind : {kDualLayer, kPlusR, kPlusRw})
        for (const int selector : {0, 1})
            ShowSetting(kind, selector, nec.NecQueryBookType(selector, kind).value);
    const int count = nec.NecQueryCounterB().value;
    m_nChangesRemaining = count > 500 ? (count & 0x1FF) : count;
    texts[IDC_CHANGES_LEFT] = count < 0 ? std::string("N/A") : Format("%d", m_nChangesRemaining);
}

int NecBookTypeControl::ChosenValue(Kind kind) const
{
    const KindRow& row = kRows[kind];
    const int choice = Radio(row.group);
    return choice >= 0 && choice < 3 ? row.values[choice] : -1;
}

bool NecBookTypeControl::KindEnabled(Kind kind) const
{
    switch (kind) {
    case kDualLayer: return m_nFirmwareCommandVersion >= 1;
    case kPlusR: return m_nFirmwareCommandVersion >= 3;
    case kPlusRw: return m_nFirmwareCommandVersion >= 4;
    }
    return false;
}

void NecBookTypeControl::OnSetDefault(Kind kind)
{
    const int value = ChosenValue(kind);
    if (value < 0)
        return;
    if (m_nChangesRemaining <= 0) {
        m_session.Message("Setting not permitted,  your flash ram is in danger of failing.  Use Temporary setting");
        return;
    }
    const std::string question = m_nChangesRemaining == 1
        ? std::string("Do you know this is very last time you can set default mode ever? Continue?")
        : Format("Setting default can only be done %d more times.  Do you want to continue?", m_nChangesRemaining);
    if (m_session.Message(question, "ARE YOU SURE?", MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
        return;
    const KindRow& row = kRows[kind];
    const std::string book = row.choiceNames[Radio(row.group)];
    if (!m_session.ConfirmWrite(std::string("Set the drive's default ") + row.name + " book type (flash)", row.name,
                                NextBurnChange(row.name, book) + " The drive's flash allows this "
                                    + Format("%d", m_nChangesRemaining) + " more times."))
        return;
    const VendorReply reply = m_session.drive.nec.NecC9Command(kWriteDefault, kind, value, 0);
    if (reply.value != 0)
        m_session.TellFailure(reply, "NecC9Command", "Error writing bitsetting bits");
    Refresh();
}

void NecBookTypeControl::OnSetTemporary(Kind kind)
{
    const int value = ChosenValue(kind);
    if (value < 0)
        return;
    const KindRow& row = kRows[kind];
    const std::string book = row.choiceNames[Radio(row.group)];
    if (!m_session.ConfirmWrite(std::string("Set the drive's temporary ") + row.name + " book type", row.name,
                                NextBurnChange(row.name, book) + " (until the drive is switched off)"))
        return;
    const VendorReply reply = m_session.drive.nec.NecC9Command(kWriteTemporary, kind, value, 0);
    if (reply.value != 0)
        m_session.TellFailure(reply, "NecC9Command", "Error writing bitsetting bits");
    Refresh();
}

// Only what the user changed is written: the flash settings chosen for use,
// or a temporary book type chosen and not set yet, each kind with its own
// selection.
void NecBookTypeControl::OnClosing()
{
    NecCommands& nec = m_session.drive.nec;
    const bool useFlash = Radio(IDC_USE_GROUP) == kUseFlash && m_nFirmwareCommandVersion >= 2;
    std::vector<Kind> changed;
    std::string change;
    for (const Kind kind : {kDualLayer, kPlusR, kPlusRw}) {
        if (!KindEnabled(kind) || (kind == kDualLayer && m_nFirmwareCommandVersion < 2))
            continue;
        const KindRow& row = kRows[kind];
        const int choice = Radio(row.group);
        if (useFlash) {
            changed.push_back(kind);
            change += "The next " + std::string(row.name)
                + " burned in this drive takes its default (flash) book type. ";
        } else if (choice >= 0 && choice != m_readChoice[kind] && ChosenValue(kind) >= 0) {
            changed.push_back(kind);
            change += NextBurnChange(row.name, row.choiceNames[choice]) + " ";
        }
    }
    if (changed.empty())
        return;
    change += useFlash ? "" : "(until the drive is switched off)";
    if (!m_session.ConfirmWrite(useFlash ? "Use the drive's default (flash) book types"
                                         : "Set the drive's temporary book types",
                                "DVD+R, DVD+RW, DVD+R DL", change)) {
        LogEntry("NEC book type - the choices were not written");
        return;
    }
    for (const Kind kind : changed) {
        VendorReply reply;
        if (useFlash) {
            reply = nec.NecC9Command(kSelect, kind, 0, 1);
        } else {
            reply = nec.NecC9Command(kWriteTemporary, kind, ChosenValue(kind), 0);
            if (reply.value == 0)
                reply = nec.NecC9Command(kSelect, kind, 0, 0);
        }
        if (reply.value != 0) {
            m_session.TellFailure(reply, "NecC9Command", "Error writing bitsetting bits");
            break;
        }
    }
    Refresh();
}
