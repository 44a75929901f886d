#include "platform/sysinfo/Cpuid.h"

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#define QUENZA_HAS_CPUID 1
#else
#define QUENZA_HAS_CPUID 0
#endif

bool MachineCpuid::Available() const
{
    return QUENZA_HAS_CPUID != 0;
}

CpuidRegs MachineCpuid::Query(const CpuidRegs& in) const
{
    CpuidRegs out;
#if QUENZA_HAS_CPUID
    __cpuid_count(in.eax, in.ecx, out.eax, out.ebx, out.ecx, out.edx);
#else
    (void)in;
#endif
    return out;
}

CpuidRegs GetCpuid(const CpuidRegs& in)
{
    return MachineCpuid().Query(in);
}
