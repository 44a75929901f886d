#pragma once

#include "platform/sysinfo/Cpuid.h"
#include "platform/sysinfo/CycleCounters.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

// The text of a register's four bytes, lowest first, up to the first zero
// byte.
std::string CpuRegisterText(std::uint32_t value);
// EAX, EBX, ECX and EDX as texts, joined in this order.
std::string CpuRegistersText(const CpuidRegs& regs);

// The processor as CPUID tells it, read once.
class CCpuInfo {
public:
    explicit CCpuInfo(const CpuidSource& cpuid = MachineCpuid());

    void Fill(const CpuidSource& cpuid);

    // The clock in MHz: time-stamp ticks over one second of the steady
    // counter. Runs the second out on the calling thread, so a worker calls
    // it; stop (polled while it waits) ends it early. Nullopt without a
    // time-stamp counter or when stopped.
    static std::optional<int> MeasureClock(CycleCounters& counters, const std::function<bool()>& stop = {});

    // False where the processor has no CPUID: every field keeps its default.
    bool m_bIdentified = false;

    int m_bMMX = 0;
    int m_bMMXExt = 0;
    int m_b3DNow = 0;
    int m_bEx3DNow = 0;
    int m_bSSE = 0;
    int m_bSSE2 = 0;
    int m_bSSE3 = 0;
    int m_bHTT = 0;
    int m_nStepping = 0;
    int m_nModel = 0;
    int m_nFamily = 0;
    int m_nProcessorType = 0;
    int m_nExtendedModel = 0;
    int m_nExtendedFamily = 0;
    int m_nL2CacheKB = 0;
    bool m_bL2CacheRead = false;  // leaf 80000006h was there
    std::string m_strBrand = "(unknown)";
    std::string m_strVendor = "(unknown)";
    int m_bFPU = 0;
    int m_bSSSE3 = 0;
    int m_bEST = 0;
};

// Leaf 1's EAX fields, asked again; 0 when the processor has no leaf 1.
int GetCpuFamily(const CpuidSource& cpuid);
int GetCpuModel(const CpuidSource& cpuid);
int GetCpuStepping(const CpuidSource& cpuid);
int GetCpuExtendedModel(const CpuidSource& cpuid);
int GetCpuExtendedFamily(const CpuidSource& cpuid);
// The family and model as the processor's makers and the kernel count them:
// the extended family added to family 15, the extended model above the
// model from family 6 on.
int GetCpuDisplayFamily(const CpuidSource& cpuid);
int GetCpuDisplayModel(const CpuidSource& cpuid);
