#include "core/tools/sysinfo/CpuInfo.h"

namespace {

constexpr std::uint32_t kExtendedBase = 0x80000000u;

CpuidRegs Leaf(const CpuidSource& cpuid, std::uint32_t leaf)
{
    CpuidRegs in;
    in.eax = leaf;
    return cpuid.Query(in);
}

int Bit(std::uint32_t value, int bit)
{
    return static_cast<int>((value >> bit) & 1u);
}

int Bits(std::uint32_t value, int first, int count)
{
    return static_cast<int>((value >> first) & ((1u << count) - 1u));
}

// Leaf 1's EAX, or 0 when the highest standard leaf is below 1.
std::uint32_t SignatureOf(const CpuidSource& cpuid)
{
    if (!cpuid.Available() || Leaf(cpuid, 0).eax < 1)
        return 0;
    return Leaf(cpuid, 1).eax;
}

}  // namespace

std::string CpuRegisterText(std::uint32_t value)
{
    std::string text;
    for (int i = 0; i < 4; ++i) {
        const char c = static_cast<char>((value >> (8 * i)) & 0xFFu);
        if (c == '\0')
            break;
        text.push_back(c);
    }
    return text;
}

std::string CpuRegistersText(const CpuidRegs& regs)
{
    return CpuRegisterText(regs.eax) + CpuRegisterText(regs.ebx) + CpuRegisterText(regs.ecx)
        + CpuRegisterText(regs.edx);
}

CCpuInfo::CCpuInfo(const CpuidSource& cpuid)
{
    Fill(cpuid);
}

void CCpuInfo::Fill(const CpuidSource& cpuid)
{
    if (!cpuid.Available())
        return;
    m_bIdentified = true;
    const CpuidRegs leaf0 = Leaf(cpuid, 0);
    m_strVendor = CpuRegisterText(leaf0.ebx) + CpuRegisterText(leaf0.edx) + CpuRegisterText(leaf0.ecx);
    if (leaf0.eax == 0)
        return;
    const CpuidRegs leaf1 = Leaf(cpuid, 1);
    m_nStepping = Bits(leaf1.eax, 0, 4);
    m_nModel = Bits(leaf1.eax, 4, 4);
    m_nFamily = Bits(leaf1.eax, 8, 4);
    m_nProcessorType = Bits(leaf1.eax, 12, 2);
    m_nExtendedModel = Bits(leaf1.eax, 16, 4);
    m_nExtendedFamily = Bits(leaf1.eax, 20, 8);
    m_bFPU = Bit(leaf1.edx, 0);
    m_bMMX = Bit(leaf1.edx, 23);
    m_bSSE = Bit(leaf1.edx, 25);
    m_bSSE2 = Bit(leaf1.edx, 26);
    m_bHTT = Bit(leaf1.edx, 28);
    m_bSSE3 = Bit(leaf1.ecx, 0);
    m_bEST = Bit(leaf1.ecx, 7);
    m_bSSSE3 = Bit(leaf1.ecx, 9);

    const std::uint32_t highestExtended = Leaf(cpuid, kExtendedBase).eax;
    if (highestExtended > kExtendedBase) {
        const CpuidRegs features = Leaf(cpuid, kExtendedBase + 1);
        m_bMMXExt = Bit(features.edx, 22);
        m_bEx3DNow = Bit(features.edx, 30);
        m_b3DNow = Bit(features.edx, 31);
    }
    if (highestExtended >= kExtendedBase + 4) {
        m_strBrand = CpuRegistersText(Leaf(cpuid, kExtendedBase + 2)) + CpuRegistersText(Leaf(cpuid, kExtendedBase + 3))
            + CpuRegistersText(Leaf(cpuid, kExtendedBase + 4));
    }
    if (highestExtended > kExtendedBase + 5) {
        m_nL2CacheKB = static_cast<int>(Leaf(cpuid, kExtendedBase + 6).ecx >> 16);
        m_bL2CacheRead = true;
    }
}

std::optional<int> CCpuInfo::MeasureClock(CycleCounters& counters, const std::function<bool()>& stop)
{
    if (!counters.HasTimeStampCounter())
        return std::nullopt;
    const std::uint64_t frequency = counters.CounterFrequency();
    const std::uint64_t c0 = counters.Counter();
    const std::uint64_t t0 = counters.TimeStamp();
    std::uint64_t polls = 0;
    while (counters.Counter() <= c0 + frequency) {
        if (stop && (++polls & 0xFFFu) == 0 && stop())
            return std::nullopt;
    }
    const std::uint64_t t1 = counters.TimeStamp();
    return static_cast<int>((t1 - t0) / 1'000'000u);
}

int GetCpuFamily(const CpuidSource& cpuid)
{
    return Bits(SignatureOf(cpuid), 8, 4);
}

int GetCpuModel(const CpuidSource& cpuid)
{
    return Bits(SignatureOf(cpuid), 4, 4);
}

int GetCpuStepping(const CpuidSource& cpuid)
{
    return Bits(SignatureOf(cpuid), 0, 4);
}

int GetCpuExtendedModel(const CpuidSource& cpuid)
{
    return Bits(SignatureOf(cpuid), 16, 4);
}

int GetCpuExtendedFamily(const CpuidSource& cpuid)
{
    return Bits(SignatureOf(cpuid), 20, 8);
}

int GetCpuDisplayFamily(const CpuidSource& cpuid)
{
    const int family = GetCpuFamily(cpuid);
    return family == 15 ? family + GetCpuExtendedFamily(cpuid) : family;
}

int GetCpuDisplayModel(const CpuidSource& cpuid)
{
    const int model = GetCpuModel(cpuid);
    return GetCpuDisplayFamily(cpuid) >= 6 ? (GetCpuExtendedModel(cpuid) << 4) + model : model;
}
