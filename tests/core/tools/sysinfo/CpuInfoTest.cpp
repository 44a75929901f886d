#include "core/tools/sysinfo/CpuInfo.h"
#include "core/tools/sysinfo/SystemInfoReport.h"
#include "support/SysinfoFakes.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <vector>

namespace {

// The processor section of the report on a machine with no processor files,
// or with two processors whose first shares its core with `siblings`.
std::vector<std::string> CpuSection(std::map<std::uint32_t, CpuidRegs> leaves, bool available = true,
                                    const char* siblings = nullptr)
{
    TempDir root;
    if (siblings) {
        std::filesystem::create_directories(root.File("sys/devices/system/cpu/cpu0/topology"));
        WriteFileText(root.File("sys/devices/system/cpu/online"), "0-1\n");
        WriteFileText(root.File("sys/devices/system/cpu/cpu0/topology/thread_siblings_list"),
                      std::string(siblings) + "\n");
    }
    SystemSources sources;
    sources.root = root.Path();
    sources.cpuid = std::make_shared<FakeCpuid>(std::move(leaves), available);
    sources.counters = std::make_shared<FakeCounters>(2400, available);
    SystemInfoReport report(sources, WindowFacts{});
    const int end = report.ReportSystemCPU(0);
    std::vector<std::string> lines = report.Lines(end);
    return lines;
}

}  // namespace

TEST(CpuInfo, RegistersGiveTheirBytesLowestFirstUpToAZero)
{
    EXPECT_EQ(CpuRegisterText(RegisterOf("Genu")), "Genu");
    EXPECT_EQ(CpuRegisterText(0x00434241), "ABC");
    EXPECT_EQ(CpuRegisterText(0x41420043), "C");
    EXPECT_EQ(CpuRegisterText(0), "");
    EXPECT_EQ(CpuRegistersText(CpuidRegs{RegisterOf("AMD "), RegisterOf("Athl"), 0x0000006F, RegisterOf("n")}),
              "AMD Athlon");
}

TEST(CpuInfo, ProcessorsAsTheirRegistersTellThem)
{
    struct Case {
        const char* name;
        std::map<std::uint32_t, CpuidRegs> leaves;
        const char* vendor;
        const char* brand;
        int family, model, stepping, extendedFamily, extendedModel, l2;
        const char* features;
    };
    std::map<std::uint32_t, CpuidRegs> leafZeroOnly{{0, VendorLeaf(0, "GenuineIntel")},
                                                    {1, CpuidRegs{0x306C3, 0, ~0u, ~0u}}};
    std::map<std::uint32_t, CpuidRegs> noBrand = IntelCore();
    noBrand[0x80000000u].eax = 0x80000001u;
    const Case cases[] = {
        {"Intel", IntelCore(), "GenuineIntel", "      Intel(R) Core(TM)  i7-4770 CPU @ 3.40GHz", 6, 12, 3, 0, 3, 256,
         "FPU, MMX, SSE, SSE2, SSE3, HTT, SSSE3, EST"},
        {"AMD", AmdAthlon64(), "AuthenticAMD", "AMD Athlon(tm) 64 X2 Dual Core Processor 4200+", 15, 11, 1, 0, 2, 512,
         "FPU, 3DNow!, Ex3DNow!, MMX, MMXExt, SSE, SSE2, SSE3, HTT"},
        {"leaf 0 only", leafZeroOnly, "GenuineIntel", "(unknown)", 0, 0, 0, 0, 0, 0, ""},
        {"no brand leaves", noBrand, "GenuineIntel", "(unknown)", 6, 12, 3, 0, 3, 0,
         "FPU, MMX, SSE, SSE2, SSE3, HTT, SSSE3, EST"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        const FakeCpuid cpuid(test.leaves);
        const CCpuInfo cpu(cpuid);
        EXPECT_EQ(cpu.m_strVendor, test.vendor);
        EXPECT_EQ(cpu.m_strBrand, test.brand);
        EXPECT_EQ(cpu.m_nFamily, test.family);
        EXPECT_EQ(cpu.m_nModel, test.model);
        EXPECT_EQ(cpu.m_nStepping, test.stepping);
        EXPECT_EQ(cpu.m_nExtendedFamily, test.extendedFamily);
        EXPECT_EQ(cpu.m_nExtendedModel, test.extendedModel);
        EXPECT_EQ(cpu.m_nL2CacheKB, test.l2);
        EXPECT_EQ(GetCpuFamily(cpuid), test.family);
        EXPECT_EQ(GetCpuModel(cpuid), test.model);
        EXPECT_EQ(GetCpuStepping(cpuid), test.stepping);
        EXPECT_EQ(GetCpuExtendedFamily(cpuid), test.extendedFamily);
        EXPECT_EQ(GetCpuExtendedModel(cpuid), test.extendedModel);
        EXPECT_EQ(CpuFeatureList(cpu, GetCpuVendorName(cpu.m_strVendor) == "Intel"), test.features);
    }
}

TEST(CpuInfo, TheProcessorSectionOfTheReport)
{
    // clang-format off
    EXPECT_EQ(CpuSection(IntelCore()), (std::vector<std::string>{
        "CPU (Processor) Information",
        "---------------------------",
        "CPU Speed (Calculated)                                           2.40GHz",
        "CPU Type                         Intel(R) Core(TM) i7-4770 CPU @ 3.40GHz",
        "CPU (Processor)                           Family 6, Model 60, Stepping 3",
        "Vendor Name                                                        Intel",
        "CPU Features                  FPU, MMX, SSE, SSE2, SSE3, HTT, SSSE3, EST",
        "CPU L2 Cache Size                                                  256KB",
        "",
    }));
    EXPECT_EQ(CpuSection(AmdAthlon64()), (std::vector<std::string>{
        "CPU (Processor) Information",
        "---------------------------",
        "CPU Speed (Calculated)                                           2.40GHz",
        "CPU Type                  AMD Athlon(tm) 64 X2 Dual Core Processor 4200+",
        "CPU (Processor)                          Family 15, Model 43, Stepping 1",
        "Vendor Name                                                          AMD",
        "CPU Features    FPU, 3DNow!, Ex3DNow!, MMX, MMXExt, SSE, SSE2, SSE3, HTT",
        "CPU L2 Cache Size                                                  512KB",
        "",
    }));
    // Without CPUID (another architecture) the section says what it cannot tell.
    EXPECT_EQ(CpuSection(IntelCore(), false), (std::vector<std::string>{
        "CPU (Processor) Information",
        "---------------------------",
        "CPU Type                                                       (unknown)",
        "Vendor Name                                                    (unknown)",
        "",
    }));
    // clang-format on
}

TEST(CpuInfo, FamilyAndModelAsTheKernelCountsThem)
{
    struct Case {
        const char* name;
        std::uint32_t signature;  // leaf 1 EAX
        int family, model;
    };
    const Case cases[] = {
        {"Intel family 6", 0x000306C3, 6, 60},
        {"AMD family 15", 0x00020FB1, 15, 43},
        {"AMD family 15 + 11", 0x00B40F40, 26, 68},
        {"Pentium, family 5", 0x00010543, 5, 4},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        std::map<std::uint32_t, CpuidRegs> leaves = AmdAthlon64();
        leaves[1].eax = test.signature;
        const FakeCpuid cpuid(leaves);
        EXPECT_EQ(GetCpuDisplayFamily(cpuid), test.family);
        EXPECT_EQ(GetCpuDisplayModel(cpuid), test.model);
    }
}

TEST(CpuInfo, HttIsListedOnlyWhereACoreRunsMoreThanOneThread)
{
    const auto features = [](const char* siblings) {
        for (const std::string& line : CpuSection(IntelCore(), true, siblings))
            if (line.rfind("CPU Features", 0) == 0)
                return line;
        return std::string();
    };
    EXPECT_EQ(features("0"), "CPU Features                       FPU, MMX, SSE, SSE2, SSE3, SSSE3, EST");
    EXPECT_EQ(features("0,4"), "CPU Features                  FPU, MMX, SSE, SSE2, SSE3, HTT, SSSE3, EST");
    // Without the kernel's topology CPUID's bit stands.
    EXPECT_EQ(features(nullptr), features("0-1"));
}

TEST(CpuInfo, TheClockIsTheTimeStampTicksOfOneSecond)
{
    FakeCounters counters(3392);
    EXPECT_EQ(CCpuInfo::MeasureClock(counters), 3392);
    FakeCounters none(3392, false);
    EXPECT_EQ(CCpuInfo::MeasureClock(none), std::nullopt);
    FakeCounters stopped(3392);
    int asked = 0;
    EXPECT_EQ(CCpuInfo::MeasureClock(stopped, [&] { return ++asked == 3; }), std::nullopt);
    EXPECT_EQ(asked, 3);
    EXPECT_EQ(CpuClockText(1000), "1000.00MHz");
    EXPECT_EQ(CpuClockText(1001), "1.00GHz");
    EXPECT_EQ(CpuClockText(3392), "3.39GHz");
}

TEST(CpuInfo, VendorNames)
{
    for (const auto& [vendor, name] : {std::pair{"AuthenticAMD", "AMD"},
                                       {"GenuineIntel", "Intel"},
                                       {"CyrixInstead", "Cyrix"},
                                       {"CentaurHauls", "Centaur"},
                                       {"RiseRiseRise", "Rise"},
                                       {"GenuineTMx86", "Transmeta"},
                                       {"UMC UMC UMC ", "UMC"},
                                       {"HygonGenuine", "HygonGenuine"}})
        EXPECT_EQ(GetCpuVendorName(vendor), name);
}
