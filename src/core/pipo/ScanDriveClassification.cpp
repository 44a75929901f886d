#include "core/pipo/ScanDriveClassification.h"

#include "core/base/Format.h"
#include "core/base/LogFile.h"
#include "core/base/UserPrompt.h"
#include "core/drive/CommandFailure.h"
#include "core/drive/DriveContext.h"
#include "core/pipo/ScanContext.h"

#include <iterator>
#include <string_view>

namespace {

// Identity prefixes (vendor and product, compared without regard to case)
// that decide the family before any probe is sent, in this order.
struct IdentityPrefix {
    std::string_view prefix;
    int code;
};
constexpr int kNoScanning = -2;  // Toshiba: a message, and the code stays as it was
// clang-format off
constexpr IdentityPrefix kPrefixesBeforeProbes[] = {
    {"PLEXTOR DVDR   PX-716A", kDrivePlextor},
    {"PLEXTOR DVDR   PX-712A", kDrivePlextor},
    {"PLEXTOR DVDR   PX-708A", kDrivePlextor},
    {"AOPEN",                  kDriveAopen},
    {"PIONEER DVD-RW",         kDrivePioneer},
    {"PIODATA DVD-RW",         kDrivePioneer},
    {"ASUS    DRW-1608P",      kDrivePioneer},
    {"TOSHIBA",                kNoScanning},
};
// After the BenQ probes.
constexpr IdentityPrefix kPrefixesAfterBenq[] = {
    {"DVDRW   IDE10",  kDriveBtc},
    {"_NEC    DVD_RW", kDriveNec},
    {"OPTIARC",        kDriveNec},
};
// Lite-On's own and rebadged drives, when its probes are refused.
constexpr std::string_view kLiteonPrefixes[] = {
    "TEAC    DV-W516G", "MEMOREX DVD+/-DLRWL1", "JLMS", "LITE-ON", "SONY",
};
// clang-format on
constexpr std::string_view kSamsungPrefix = "TSSTCORP";
constexpr std::string_view kAtapiPrefix = "ATAPI";
constexpr std::string_view kIhasTag = "iHAS";  // anywhere in the identity, letter case as given
// A model that measures jitter but refuses the probe; its first 16 characters decide.
constexpr std::string_view kJitterWithoutProbe = std::string_view("ATAPI   DVD A  DH20A3P").substr(0, 16);

constexpr const char* kToshibaMessage = "Toshiba drives do not support pi//po scanning";

constexpr std::size_t kCyberAnswer = 8;

using Captions = std::array<const char*, 4>;
constexpr Captions kCaptions1to4 = {"1x", "2x", "3x", "4x"};
constexpr Captions kCaptions2to8 = {"2x", "4x", "6x", "8x"};
constexpr Captions kCaptions4to16 = {"4x", "8x", "12x", "16x"};

ScanWindowSetup Setup(ScanViewMode view, std::optional<Captions> captions)
{
    ScanWindowSetup setup;
    setup.view = view;
    setup.speedCaptions = captions;
    return setup;
}

std::array<ScanWindowSetup, kDriveUnsuitable + 1> BuildWindowSetups()
{
    std::array<ScanWindowSetup, kDriveUnsuitable + 1> setups;
    setups[kDriveGenericF3] = Setup(ScanViewMode::Generic, kCaptions4to16);
    setups[kDriveBenq] = Setup(ScanViewMode::Benq, kCaptions2to8);
    setups[kDriveBenq].takesCavSpeed = true;
    setups[kDriveBtc] = Setup(ScanViewMode::BtcSamsung, std::nullopt);
    setups[kDriveBtc].showSpeedToggle = false;
    setups[kDriveLiteon] = Setup(ScanViewMode::Liteon, kCaptions2to8);
    setups[kDriveLiteon].speedBox = ScanSpeedBox::ReadSpeed;
    setups[kDriveCyberdrive] = Setup(ScanViewMode::PO, kCaptions2to8);
    setups[kDriveCyberdrive].takesCavSpeed = true;
    setups[kDrivePioneer] = Setup(ScanViewMode::Pioneer, kCaptions2to8);
    setups[kDriveAopen] = setups[kDrivePioneer];
    setups[kDriveNec] = Setup(ScanViewMode::NecIhas, kCaptions1to4);
    setups[kDriveNec].speedBox = ScanSpeedBox::NecSpeed;
    setups[kDriveNec].resetSpeedAxis = true;
    setups[kDriveIhas] = setups[kDriveNec];
    setups[kDrivePlextor] = Setup(ScanViewMode::Plextor, kCaptions1to4);
    setups[kDrivePlextor].enableAccuracy = true;
    setups[kDrivePlextor].showSpeedToggle = false;
    setups[kDriveSamsung] = Setup(ScanViewMode::BtcSamsung, kCaptions2to8);
    setups[kDriveSamsung].speedBox = ScanSpeedBox::ReadSpeed;
    setups[kDriveUnsuitable] = Setup(ScanViewMode::Generic, kCaptions4to16);
    setups[kDriveUnsuitable].startEnabled = false;
    return setups;
}

// The probes of one classification, on the context's drive. Each result
// that came back from the drive is a yes or a no; a command the kernel
// would not pass on is neither, and stops the classification.
class Prober {
public:
    explicit Prober(ScanContext& context) : m_context(context), m_drive(context.drive) {}

    const CDevice* Device() const { return m_drive.list.m_pCurrentDevice; }
    bool Begins(std::string_view prefix) const { return Device() && Device()->IdentityBeginsWith(prefix); }
    bool Contains(std::string_view text) const
    {
        return Device() && Device()->m_strIdentity.find(text) != std::string::npos;
    }
    const std::optional<RefusedProbe>& Refused() const { return m_refused; }

    // Takes a probe's reply: false when the kernel refused it (noted).
    bool Delivered(const VendorReply& reply, const char* probe)
    {
        if (!reply.KernelRefused())
            return true;
        m_refused = RefusedProbe{probe, reply.refusedCdb};
        LogEntry(std::string(probe) + " - " + reply.reason);
        return false;
    }

    // Each BenQ probe waits for the unit first (a loading disc refuses it).
    VendorReply Benq(VendorReply (BenqCommands::*command)())
    {
        m_drive.mmc.WaitForUnitReady(5);
        return (m_drive.benq.*command)();
    }

    // `CPiPo::LiteonProbeDF1B`: sets m_bJitterCapable; the first answer byte,
    // -1 when refused (a model known to measure jitter without taking the
    // probe gives 0).
    std::optional<int> LiteonProbeDF1B()
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

    // `CPiPo::LiteonProbeDF0F`: the jitter probe, then the book-type read.
    std::optional<int> LiteonProbeDF0F()
    {
        if (!LiteonProbeDF1B())
            return std::nullopt;
        const VendorReply reply = m_drive.liteon.LiteonProbeDF0F();
        return Delivered(reply, "LiteonProbeDF0F") ? std::optional(reply.value) : std::nullopt;
    }

    // A query answered (not -1); none when the kernel refused it.
    std::optional<bool> Answers(const VendorReply& reply, const char* probe)
    {
        return Delivered(reply, probe) ? std::optional(reply.value != -1) : std::nullopt;
    }

    ScanContext& m_context;
    DriveContext& m_drive;

private:
    std::optional<RefusedProbe> m_refused;
};

// The family of a drive that the probes tell; none when a probe was refused
// by the kernel. Runs after the BenQ probes found none.
std::optional<int> ProbeFamilyAfterBenq(Prober& prober)
{
    DriveContext& drive = prober.m_drive;
    for (const IdentityPrefix& entry : kPrefixesAfterBenq)
        if (prober.Begins(entry.prefix))
            return entry.code;

    if (prober.Contains(kIhasTag)) {
        const auto ihas = prober.Answers(drive.nec.IhasBookTypeProbe(), "IhasBookTypeProbe");
        if (!ihas)
            return std::nullopt;
        if (*ihas)
            return kDriveIhas;
    }
    if (prober.Contains(kIhasTag) || prober.Begins(kAtapiPrefix))
        return prober.LiteonProbeDF1B() ? std::optional<int>(kDriveLiteon) : std::nullopt;

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
    for (const std::string_view prefix : kLiteonPrefixes)
        liteon = liteon || prober.Begins(prefix);
    if (liteon)
        return kDriveLiteon;

    const auto startLba = static_cast<std::uint32_t>(prober.m_context.state.m_llStartLba);
    const VendorReply samsung = drive.samsung.SamsungWriteVerifySuccess(startLba);
    if (!prober.Delivered(samsung, "SamsungWriteVerifySuccess"))
        return std::nullopt;
    if (samsung.value == 1 || prober.Begins(kSamsungPrefix))
        return kDriveSamsung;

    const auto generic = prober.Answers(drive.nuQsi.NuQsiQueryF30E(), "ProbeF30E71");
    if (!generic)
        return std::nullopt;
    if (*generic)
        return kDriveGenericF3;

    std::array<std::uint8_t, kCyberAnswer> answer{};
    const VendorReply cyber = drive.cyberdrive.CyberSignatureCommand(answer.data(), kCyberAnswer, 1);
    if (!prober.Delivered(cyber, "CyberSignatureCommand"))
        return std::nullopt;
    if (cyber.value == 0) {
        drive.cyberdrive.CyberSignatureCommand(answer.data(), kCyberAnswer, 0);
        return kDriveCyberdrive;
    }

    const VendorReply f3 = drive.ihas.ProbeF3Subcommands();
    if (!prober.Delivered(f3, "ProbeF3Subcommands"))
        return std::nullopt;
    return f3.value == 1 ? kDriveIhas : kDriveUnsuitable;
}

// Leaves what a BenQ probe entered, on whatever path the classification
// takes after it: the older vendor mode with 12h (the set-up of the BenQ
// family sends it), the service mode with F2h.
class BenqModesLeft {
public:
    explicit BenqModesLeft(Prober& prober) : m_prober(prober) {}
    BenqModesLeft(const BenqModesLeft&) = delete;
    BenqModesLeft& operator=(const BenqModesLeft&) = delete;
    ~BenqModesLeft()
    {
        if (m_vendorMode)
            m_prober.Benq(&BenqCommands::BenqSignature12);
        if (m_serviceMode)
            m_prober.m_drive.benq.BenqSignatureF2();
    }
    void Entered(bool vendorMode, bool serviceMode)
    {
        m_vendorMode = vendorMode;
        m_serviceMode = serviceMode;
    }

private:
    Prober& m_prober;
    bool m_vendorMode = false;
    bool m_serviceMode = false;
};

ScanDriveDetection Decide(ScanContext& context, int code)
{
    ScanState& state = context.state;
    const bool told = code == kDriveUnsuitable && (state.m_nDriveCode != kDriveUnsuitable || state.rawAccessRefused);
    if (told)
        context.prompt.MessageBox(kUnsuitableDriveMessage, "", MB_OK);
    const ScanWindowSetup& setup = WindowSetupFor(code);
    if (setup.takesCavSpeed)
        state.m_nCavSpeed = CavSpeedForSelection(context.choices.cavSpeedIndex);
    state.m_nDriveCode = code;
    state.rawAccessRefused = false;
    return {code, setup, std::nullopt, told};
}

ScanDriveDetection RefuseForRawAccess(ScanContext& context, const RefusedProbe& refused)
{
    context.prompt.MessageBox(refused.Message(kScanSubject), "", MB_OK | MB_ICONEXCLAMATION);
    context.state.m_nDriveCode = kDriveUnsuitable;
    context.state.rawAccessRefused = true;
    return {kDriveUnsuitable, WindowSetupFor(kDriveUnsuitable), refused, true};
}

}  // namespace

const ScanWindowSetup& WindowSetupFor(int driveCode)
{
    static const auto setups = BuildWindowSetups();
    return setups[driveCode >= 0 && driveCode <= kDriveUnsuitable ? driveCode : kDriveUnsuitable];
}

int CavSpeedForSelection(int index)
{
    switch (index) {
    case 0: return 4;
    case 1: return 6;
    case 2: return 8;
    default: return 12;
    }
}

ScanDriveDetection DetectScanDrive(ScanContext& context)
{
    Prober prober(context);
    for (const IdentityPrefix& entry : kPrefixesBeforeProbes) {
        if (!prober.Begins(entry.prefix))
            continue;
        if (entry.code != kNoScanning)
            return Decide(context, entry.code);
        // A drive that cannot scan: said once, and Start stays disabled.
        if (context.state.m_nDriveCode != kDriveUnsuitable)
            context.prompt.MessageBox(kToshibaMessage, "", MB_OK);
        context.state.m_nDriveCode = kDriveUnsuitable;
        context.state.rawAccessRefused = false;
        return {kDriveUnsuitable, WindowSetupFor(kDriveUnsuitable), std::nullopt, true};
    }

    BenqModesLeft benqModes(prober);
    const VendorReply older = prober.Benq(&BenqCommands::BenqSignature11);
    if (!prober.Delivered(older, "BenqSignature11"))
        return RefuseForRawAccess(context, *prober.Refused());
    VendorReply service;
    if (older.value != 0) {
        service = prober.Benq(&BenqCommands::BenqSignatureF1);
        if (!prober.Delivered(service, "BenqSignatureF1"))
            return RefuseForRawAccess(context, *prober.Refused());
    }
    const bool benq = older.value == 0 || service.value == 0;
    benqModes.Entered(benq, older.value != 0 && service.value == 0);
    if (benq)
        return Decide(context, kDriveBenq);

    const auto code = ProbeFamilyAfterBenq(prober);
    if (!code)
        return RefuseForRawAccess(context, *prober.Refused());
    return Decide(context, *code);
}
