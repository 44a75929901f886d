#include "core/pipo/ScanProber.h"

#include "core/base/LogFile.h"
#include "core/drive/DriveContext.h"
#include "core/pipo/ScanContext.h"

#include <array>
#include <cstdint>
#include <string>

namespace {

constexpr std::string_view kAtapiPrefix = "ATAPI";
constexpr std::string_view kIhasTag = "iHAS";  // anywhere in the identity, letter case as given
// A model that measures jitter but refuses the probe; its first 16 characters decide.
constexpr std::string_view kJitterWithoutProbe = std::string_view("ATAPI   DVD A  DH20A3P").substr(0, 16);

constexpr std::size_t kCyberAnswer = 8;

// Each BenQ probe waits for the unit first (a loading disc refuses it).
VendorReply Benq(DriveContext& drive, VendorReply (BenqCommands::*command)())
{
    drive.mmc.WaitForUnitReady(5);
    return (drive.benq.*command)();
}

}  // namespace

ScanProber::ScanProber(ScanContext& context) : m_context(context), m_drive(context.drive)
{
}

ScanProber::~ScanProber()
{
    if (m_benqVendorMode)
        Benq(m_drive, &BenqCommands::BenqSignature12);
    if (m_benqServiceMode)
        m_drive.benq.BenqSignatureF2();
}

const CDevice* ScanProber::Device() const
{
    return m_drive.list.m_pCurrentDevice;
}

bool ScanProber::Begins(std::string_view prefix) const
{
    return !prefix.empty() && Device() && Device()->IdentityBeginsWith(prefix);
}

bool ScanProber::Contains(std::string_view text) const
{
    return Device() && Device()->m_strIdentity.find(text) != std::string::npos;
}

bool ScanProber::Delivered(const VendorReply& reply, const char* probe)
{
    if (!reply.KernelRefused())
        return true;
    m_refused = RefusedProbe{probe, reply.refusedCdb};
    LogEntry(std::string(probe) + " - " + reply.reason);
    return false;
}

std::optional<bool> ScanProber::Answers(const VendorReply& reply, const char* probe)
{
    return Delivered(reply, probe) ? std::optional(reply.value != -1) : std::nullopt;
}

std::optional<int> ScanProber::LiteonProbeDF1B()
{
    const VendorReply reply = m_drive.liteon.LiteonJitterProbe();
    if (!Delivered(reply, "LiteonProbeDF1B"))
        return std::nullopt;
    ScanState& state = m_context.state;
    if (reply.value != -1) {
        state.m_bJitterCapable = 1;
        return reply.value;
    }
    state.m_bJitterCapable = Begins(kJitterWithoutProbe) ? 1 : 0;
    return state.m_bJitterCapable ? 0 : -1;
}

std::optional<int> ScanProber::LiteonProbeDF0F()
{
    if (!LiteonProbeDF1B())
        return std::nullopt;
    const VendorReply reply = m_drive.liteon.LiteonProbeDF0F();
    return Delivered(reply, "LiteonProbeDF0F") ? std::optional(reply.value) : std::nullopt;
}

std::optional<bool> ScanProber::BenqModes()
{
    const VendorReply older = Benq(m_drive, &BenqCommands::BenqSignature11);
    if (!Delivered(older, "BenqSignature11"))
        return std::nullopt;
    VendorReply service;
    if (older.value != 0) {
        service = Benq(m_drive, &BenqCommands::BenqSignatureF1);
        if (!Delivered(service, "BenqSignatureF1"))
            return std::nullopt;
    }
    const bool benq = older.value == 0 || service.value == 0;
    m_benqVendorMode = benq;
    m_benqServiceMode = older.value != 0 && service.value == 0;
    return benq;
}

std::optional<bool> ProbeBenq(ScanProber& prober)
{
    return prober.BenqModes();
}

std::optional<bool> ProbeIhasBookType(ScanProber& prober)
{
    if (!prober.Contains(kIhasTag))
        return false;
    return prober.Answers(prober.m_drive.nec.IhasBookTypeProbe(), "IhasBookTypeProbe");
}

std::optional<bool> ProbeLiteon(ScanProber& prober)
{
    DriveContext& drive = prober.m_drive;
    // An iHAS that refused its own probe, or an ATAPI model: the jitter probe decides.
    if (prober.Contains(kIhasTag) || prober.Begins(kAtapiPrefix))
        return prober.LiteonProbeDF1B() ? std::optional(true) : std::nullopt;

    const auto df0f = prober.LiteonProbeDF0F();
    if (!df0f)
        return std::nullopt;
    bool liteon = *df0f != -1;
    for (const auto status : {&LiteonCommands::GetVendorStatusDF10, &LiteonCommands::GetVendorStatusDF20}) {
        if (liteon)
            break;
        const auto answered = prober.Answers((drive.liteon.*status)(), "GetVendorStatus");
        if (!answered)
            return std::nullopt;
        liteon = *answered;
    }
    return liteon;
}

std::optional<bool> ProbeSamsung(ScanProber& prober)
{
    const auto startLba = static_cast<std::uint32_t>(prober.m_context.state.m_llStartLba);
    const VendorReply samsung = prober.m_drive.samsung.SamsungWriteVerifySuccess(startLba);
    if (!prober.Delivered(samsung, "SamsungWriteVerifySuccess"))
        return std::nullopt;
    return samsung.value == 1;
}

std::optional<bool> ProbeGenericF3(ScanProber& prober)
{
    return prober.Answers(prober.m_drive.nuQsi.NuQsiQueryF30E(), "ProbeF30E71");
}

std::optional<bool> ProbeCyberdrive(ScanProber& prober)
{
    DriveContext& drive = prober.m_drive;
    std::array<std::uint8_t, kCyberAnswer> answer{};
    const VendorReply cyber = drive.cyberdrive.CyberSignatureCommand(answer.data(), kCyberAnswer, 1);
    if (!prober.Delivered(cyber, "CyberSignatureCommand"))
        return std::nullopt;
    if (cyber.value != 0)
        return false;
    drive.cyberdrive.CyberSignatureCommand(answer.data(), kCyberAnswer, 0);
    return true;
}

std::optional<bool> ProbeIhasF3Session(ScanProber& prober)
{
    const VendorReply f3 = prober.m_drive.ihas.ProbeF3Subcommands();
    if (!prober.Delivered(f3, "ProbeF3Subcommands"))
        return std::nullopt;
    return f3.value == 1;
}
