#pragma once

#include "platform/sysinfo/Cpuid.h"
#include "platform/sysinfo/CycleCounters.h"
#include "platform/sysinfo/SystemSources.h"

#include <cstdint>
#include <map>
#include <string>

// A processor given as its CPUID answers by leaf; a leaf it lacks answers zeros.
class FakeCpuid : public CpuidSource {
public:
    explicit FakeCpuid(std::map<std::uint32_t, CpuidRegs> leaves, bool available = true) :
        m_leaves(std::move(leaves)), m_available(available)
    {
    }
    bool Available() const override { return m_available; }
    CpuidRegs Query(const CpuidRegs& in) const override
    {
        const auto found = m_leaves.find(in.eax);
        return found == m_leaves.end() ? CpuidRegs{} : found->second;
    }

private:
    std::map<std::uint32_t, CpuidRegs> m_leaves;
    bool m_available;
};

// Four characters as a register holds them, the first in the lowest byte.
std::uint32_t RegisterOf(const std::string& text, std::size_t at = 0);
// Leaf 0 of a vendor with the highest standard leaf.
CpuidRegs VendorLeaf(std::uint32_t highest, const std::string& vendor);
// Puts a brand text (up to 48 characters) into leaves 80000002h-80000004h.
void PutBrand(std::map<std::uint32_t, CpuidRegs>& leaves, const std::string& brand);

// The answers of two processors.
std::map<std::uint32_t, CpuidRegs> IntelCore();  // family 6, SSSE3 and EST
std::map<std::uint32_t, CpuidRegs> AmdAthlon64();  // family 15, 3DNow!, SSSE3 and EST bits set too

// Counters of a processor at `mhz`: each read of the steady counter is one
// microsecond after the one before.
class FakeCounters : public CycleCounters {
public:
    explicit FakeCounters(std::uint64_t mhz, bool timeStampCounter = true) :
        m_mhz(mhz), m_timeStampCounter(timeStampCounter)
    {
    }
    bool HasTimeStampCounter() const override { return m_timeStampCounter; }
    std::uint64_t TimeStamp() override { return m_nanoseconds * m_mhz / 1000; }
    std::uint64_t Counter() override { return m_nanoseconds += 1000; }
    std::uint64_t CounterFrequency() const override { return 1'000'000'000; }

private:
    std::uint64_t m_mhz;
    bool m_timeStampCounter;
    std::uint64_t m_nanoseconds = 0;
};

// The fixture machine under machineRoot (tests/core/tools/sysinfo/machine):
// its files, an Intel processor at 3.4 GHz, the sizes of its file systems
// and its addresses.
SystemSources FixtureSystemSources(const std::string& machineRoot);
