#pragma once

#include "core/drive/vendor/RawAccess.h"

#include <optional>
#include <string_view>

class CDevice;
class ScanContext;
class DriveContext;
struct VendorReply;

// The probes of one classification, on the context's drive. Each result
// that came back from the drive is a yes or a no; a command the kernel
// would not pass on is neither, and stops the classification. A BenQ mode
// a probe entered is left when the prober ends.
class ScanProber {
public:
    explicit ScanProber(ScanContext& context);
    ScanProber(const ScanProber&) = delete;
    ScanProber& operator=(const ScanProber&) = delete;
    ~ScanProber();

    // Whether the drive's identity begins with the prefix (without regard to
    // case); an empty prefix names no drive.
    bool Begins(std::string_view prefix) const;
    // Whether the identity holds the text, letter case as given.
    bool Contains(std::string_view text) const;
    // The command the kernel refused, once one was.
    const std::optional<RefusedProbe>& Refused() const { return m_refused; }

    // Takes a probe's reply: false when the kernel refused it (noted).
    bool Delivered(const VendorReply& reply, const char* probe);
    // A query answered (not -1); none when the kernel refused it.
    std::optional<bool> Answers(const VendorReply& reply, const char* probe);

    // `LiteonProbeDF1B`: sets m_bJitterCapable; the first answer byte, -1
    // when refused (a model known to measure jitter without taking the probe
    // gives 0); none when the kernel refused it.
    std::optional<int> LiteonProbeDF1B();
    // `LiteonProbeDF0F`: the jitter probe, then the book-type read.
    std::optional<int> LiteonProbeDF0F();
    // The BenQ vendor mode (11h) and, failing that, the service mode (F1h).
    std::optional<bool> BenqModes();

    ScanContext& m_context;
    DriveContext& m_drive;

private:
    const CDevice* Device() const;

    std::optional<RefusedProbe> m_refused;
    bool m_benqVendorMode = false;  // left with 12h (the BenQ set-up sends it)
    bool m_benqServiceMode = false;  // left with F2h
};

// The probes of the families (`ScanFamilyProbe`), named by what they tell.
std::optional<bool> ProbeBenq(ScanProber& prober);
std::optional<bool> ProbeIhasBookType(ScanProber& prober);
std::optional<bool> ProbeLiteon(ScanProber& prober);
std::optional<bool> ProbeSamsung(ScanProber& prober);
std::optional<bool> ProbeGenericF3(ScanProber& prober);
std::optional<bool> ProbeCyberdrive(ScanProber& prober);
std::optional<bool> ProbeIhasF3Session(ScanProber& prober);
