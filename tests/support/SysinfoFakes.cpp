#include "support/SysinfoFakes.h"

#include <memory>
#include <optional>
#include <vector>

std::uint32_t RegisterOf(const std::string& text, std::size_t at)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4 && at + i < text.size(); ++i)
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(text[at + i])) << (8 * i);
    return value;
}

CpuidRegs VendorLeaf(std::uint32_t highest, const std::string& vendor)
{
    return CpuidRegs{highest, RegisterOf(vendor, 0), RegisterOf(vendor, 8), RegisterOf(vendor, 4)};
}

void PutBrand(std::map<std::uint32_t, CpuidRegs>& leaves, const std::string& brand)
{
    for (std::uint32_t leaf = 0; leaf < 3; ++leaf) {
        const std::size_t at = leaf * 16;
        leaves[0x80000002u + leaf] = CpuidRegs{RegisterOf(brand, at), RegisterOf(brand, at + 4),
                                               RegisterOf(brand, at + 8), RegisterOf(brand, at + 12)};
    }
}

std::map<std::uint32_t, CpuidRegs> IntelCore()
{
    std::map<std::uint32_t, CpuidRegs> leaves;
    leaves[0] = VendorLeaf(0xD, "GenuineIntel");
    leaves[1] = CpuidRegs{0x000306C3, 0x03100800, 0x7FFAFBBF, 0xBFEBFBFF};
    leaves[0x80000000u] = CpuidRegs{0x80000008u, 0, 0, 0};
    leaves[0x80000001u] = CpuidRegs{0, 0, 0x00000021, 0x2C100800};
    PutBrand(leaves, "      Intel(R) Core(TM)  i7-4770 CPU @ 3.40GHz");
    leaves[0x80000006u] = CpuidRegs{0, 0, 0x01006040, 0};
    return leaves;
}

std::map<std::uint32_t, CpuidRegs> AmdAthlon64()
{
    std::map<std::uint32_t, CpuidRegs> leaves;
    leaves[0] = VendorLeaf(0x1, "AuthenticAMD");
    leaves[1] = CpuidRegs{0x00020FB1, 0x00020800, 0x00000281, 0x178BFBFF};
    leaves[0x80000000u] = CpuidRegs{0x80000018u, 0, 0, 0};
    leaves[0x80000001u] = CpuidRegs{0x00020FB1, 0, 0x0000001F, 0xEBD3FBFF};
    PutBrand(leaves, "AMD Athlon(tm) 64 X2 Dual Core Processor 4200+");
    leaves[0x80000006u] = CpuidRegs{0, 0, 0x02008140, 0};
    return leaves;
}

SystemSources FixtureSystemSources(const std::string& machineRoot)
{
    SystemSources sources;
    sources.root = machineRoot;
    sources.cpuid = std::make_shared<FakeCpuid>(IntelCore());
    sources.counters = std::make_shared<FakeCounters>(3400);
    sources.fileSystemSpace = [](const std::string& mountPoint) -> std::optional<FileSystemSpace> {
        const std::map<std::string, FileSystemSpace> sizes = {
            {"/", {250'000'000'000, 101'234'567'890}}, {"/home files", {1'000'000'000'000, 3'221'225'472}},
            {"/boot/efi", {536'870'912, 1023}},        {"/srv", {1'000'000'000'000, 3'221'225'472}},
            {"/media/cdrom", {734'003'200, 0}},
        };
        const auto found = sizes.find(mountPoint);
        if (found == sizes.end())
            return std::nullopt;  // the network share does not answer
        return found->second;
    };
    sources.interfaceAddresses = [] {
        return std::vector<InterfaceAddress>{
            {2, "192.168.1.20", 24, true, 1'700'000'000, 1'700'086'400},
            {1, "127.0.0.1", 8, false, 0, 0},
            {2, "192.168.1.21", 24, false, 0, 0},
            {4, "10.8.0.2", 24, false, 0, 0},
            {2, "2001:db8:1::20", 64, true, 1'700'000'000, 1'700'086'400, true},
            {2, "fe80::3e97:eff:fe12:3456", 64, false, 0, 0, true},
        };
    };
    return sources;
}
