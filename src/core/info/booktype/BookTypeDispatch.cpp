#include "core/info/booktype/BookTypeDispatch.h"

#include "core/base/LogFile.h"
#include "core/drive/DriveContext.h"
#include "core/drive/vendor/RawAccess.h"
#include "core/info/booktype/BookTypeSession.h"

#include <array>
#include <optional>
#include <string_view>

namespace {

constexpr std::array<std::string_view, 3> kPlextorModels = {"PLEXTOR DVDR   PX-716A", "PLEXTOR DVDR   PX-712A",
                                                            "PLEXTOR DVDR   PX-708A"};

// The dispatch's probes on the current drive: a probe the kernel refused
// ends it (noted once).
class Probes {
public:
    explicit Probes(DriveContext& drive) : m_drive(drive) {}

    bool Begins(std::string_view prefix) const
    {
        const CDevice* device = m_drive.list.m_pCurrentDevice;
        return device && device->IdentityBeginsWith(prefix);
    }
    // The reply's value; none when the kernel refused the command.
    std::optional<int> Value(const VendorReply& reply, const char* probe)
    {
        if (!reply.KernelRefused())
            return reply.value;
        LogEntry(std::string("ChangePLUSBookField() - ") + probe + " - " + reply.reason);
        m_refused = RefusedProbeOf(reply, probe);
        return std::nullopt;
    }
    BookTypeChoice RawAccessMessage() const
    {
        return {BookTypeDialog::None, 0, m_refused.Message(kBookTypeActivity), "", MB_OK | MB_ICONEXCLAMATION, {}};
    }

private:
    DriveContext& m_drive;
    RefusedProbe m_refused;
};

BookTypeChoice Message(const char* text, const char* caption = "")
{
    return {BookTypeDialog::None, 0, text, caption, MB_OK, {}};
}

BookTypeChoice Dialog(BookTypeDialog dialog, int generation = 0)
{
    return {dialog, generation, {}, {}, MB_OK, {}};
}

// Steps 8 on: the probes of the families that an identity does not name.
BookTypeChoice ProbeFamilies(DriveContext& drive, Probes& probes)
{
    const auto nec = probes.Value(drive.nec.NecQueryBookType(0, 2), "NecQueryBookType");
    if (!nec)
        return probes.RawAccessMessage();
    if (*nec != -1)
        return Dialog(BookTypeDialog::Nec);

    std::vector<std::string> notices;
    const auto status20 = probes.Value(drive.liteon.GetVendorStatusDF20(), "GetVendorStatusDF20");
    if (!status20)
        return probes.RawAccessMessage();
    if (*status20 != -1 && !probes.Value(drive.liteon.LiteonQueryBookType(), "LiteonQueryBookType"))
        return probes.RawAccessMessage();
    const auto status10 = probes.Value(drive.liteon.GetVendorStatusDF10(), "GetVendorStatusDF10");
    if (!status10)
        return probes.RawAccessMessage();
    if (*status10 != -1) {
        notices.emplace_back("Newer commands are currently being implemented, check next version");
        if (!probes.Value(drive.liteon.LiteonQueryBookType(), "LiteonQueryBookType"))
            return probes.RawAccessMessage();
    }
    const auto liteon = probes.Value(drive.liteon.LiteonQueryBookType(), "LiteonQueryBookType");
    if (!liteon)
        return probes.RawAccessMessage();
    if (*liteon != -1) {
        BookTypeChoice choice = Dialog(BookTypeDialog::Liteon);
        choice.notices = std::move(notices);
        return choice;
    }

    const auto nu = probes.Value(drive.nuQsi.QueryNuQsiStatus(), "QueryNuQsiStatus");
    if (!nu)
        return probes.RawAccessMessage();
    if (*nu != -1)
        return Dialog(BookTypeDialog::NuTek);

    const int generation = drive.configuration.GetPlusDriveGeneration();
    if (generation == 0)
        return Message("This feature is for some Ricoh/Benq/BTC/Nu/NEC/Liteon DVDRW drives only", "Wrong Drive Type");

    const auto benq = probes.Value(drive.benq.BenqQueryBookType00(), "BenqQueryBookType00");
    if (!benq)
        return probes.RawAccessMessage();
    if (*benq != -1)
        return Dialog(BookTypeDialog::Benq);
    if (probes.Begins("AOPEN    DUW1608"))
        return Dialog(BookTypeDialog::Aopen);
    const auto ricoh = probes.Value(drive.ricoh.RicohQueryBookType00(), "RicohQueryBookType00");
    if (!ricoh)
        return probes.RawAccessMessage();
    if (*ricoh != -1)
        return Dialog(BookTypeDialog::SetBookType, generation);
    // Last: the Ricoh-type drives take the BTC probe's FAh too.
    const auto btc = probes.Value(drive.btc.IsBtcDrive(), "IsBtcDrive");
    if (!btc)
        return probes.RawAccessMessage();
    if (*btc == 1)
        return Dialog(BookTypeDialog::Btc);
    return Message("It seems your drive does not support bitsetting");
}

}  // namespace

BookTypeChoice ChooseBookTypeDialog(DriveContext& drive)
{
    LogEntry("Start ChangePLUSBookField()");
    Probes probes(drive);
    if (probes.Begins("PIONEER DVD-RW"))
        return Message("Pioneer drives do not support bitsetting");
    if (probes.Begins("PIODATA DVD-RW"))
        return Message("This Piodata drive has +R bitsetting fixed at -ROM");

    // The unlock sequence: its answer is not used.
    if (!probes.Value(drive.benq.VendorProbeFF09(), "VendorProbeFF09"))
        return probes.RawAccessMessage();

    // "HL-DT-ST DVDRAM" compares on its first 14 characters.
    if (probes.Begins("HL-DT-STDVDRAM") || probes.Begins("HL-DT-ST DVDRA")) {
        std::array<std::uint8_t, 4> answer{};
        const auto read = probes.Value(drive.lg.VendorFARead(answer.data(), 4), "VendorFARead");
        if (!read)
            return probes.RawAccessMessage();
        if (*read != 0)
            return Message("Drive or firmware does not support bitsetting, or wrong firmware");
        return Dialog(BookTypeDialog::Lg);
    }
    // The TDK DVDRW1616N is no Plextor-made drive. Its INQUIRY vendor "TDK"
    // is padded to eight characters in the identity, so both spellings count.
    if (!probes.Begins("TDK DVDRW1616N") && !probes.Begins("TDK     DVDRW1616N")) {
        bool plextor = probes.Begins("TDK");
        for (const std::string_view model : kPlextorModels)
            plextor = plextor || probes.Begins(model);
        if (plextor) {
            std::array<std::uint8_t, 8> answer{};
            const auto read = probes.Value(drive.plextor.PlextorE9Read(answer.data(), 8, 0x0A), "PlextorE9Read");
            if (!read)
                return probes.RawAccessMessage();
            if (*read != 0)
                return Message(
                    "Drive or firmware revision does not support bitsetting (1.08+ for 708A & 1.05+ for 712A)");
            return Dialog(BookTypeDialog::PlextorTdk);
        }
    }
    return ProbeFamilies(drive, probes);
}
