#pragma once

#include <cstdint>

// The processor identification instruction behind an interface, so tests
// give the registers of any processor.

// In: EAX is the leaf and ECX the sub-leaf. Out: the four registers.
struct CpuidRegs {
    std::uint32_t eax = 0;
    std::uint32_t ebx = 0;
    std::uint32_t ecx = 0;
    std::uint32_t edx = 0;
};

class CpuidSource {
public:
    virtual ~CpuidSource() = default;
    // False where the processor has no such instruction (not x86); Query
    // then answers zeros.
    virtual bool Available() const = 0;
    virtual CpuidRegs Query(const CpuidRegs& in) const = 0;
};

// This machine's processor: the instruction itself on x86-64, nothing elsewhere.
class MachineCpuid : public CpuidSource {
public:
    bool Available() const override;
    CpuidRegs Query(const CpuidRegs& in) const override;
};

// Runs CPUID with the registers of `in` on this machine's processor.
CpuidRegs GetCpuid(const CpuidRegs& in);
