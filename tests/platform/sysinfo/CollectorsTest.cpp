#include "platform/sysinfo/NetworkAdapters.h"
#include "platform/sysinfo/Processors.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

TEST(Processors, CpuListsAndTheirFaults)
{
    const std::pair<const char*, std::vector<int>> cases[] = {
        {"0-3,6\n", {0, 1, 2, 3, 6}}, {"0", {0}}, {"", {}}, {"3-1", {}}, {"0,0", {}}, {"0-", {}}, {"x", {}},
        {"0-99999999", {}},
    };
    for (const auto& [text, numbers] : cases)
        EXPECT_EQ(ParseCpuList(text), numbers) << text;
}

TEST(NetworkAdapters, DefaultGatewaysOfTheRouteTable)
{
    TempDir dir;
    WriteFileText(dir.File("route"),
                  "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\tWindow\tIRTT\n"
                  "eth0\t00000000\t0101A8C0\t0003\t0\t0\t100\t00000000\t0\t0\t0\n"
                  "eth0\t0001A8C0\t00000000\t0001\t0\t0\t100\t00FFFFFF\t0\t0\t0\n"  // the local network
                  "eth1\t00000000\t0100000A\t0002\t0\t0\t100\t00000000\t0\t0\t0\n"  // down
                  "eth1\t00000000\tnonsense\t0003\t0\t0\t100\t00000000\t0\t0\t0\n"
                  "eth1\t00000000\n"
                  "eth1\t00000000\tFE0110AC\t0003\t0\t0\t200\t00000000\t0\t0\t0\n");
    EXPECT_EQ(ReadDefaultGateways(dir.File("route")),
              (std::vector<std::pair<std::string, std::string>>{{"eth0", "192.168.1.1"}, {"eth1", "172.16.1.254"}}));
    EXPECT_TRUE(ReadDefaultGateways(dir.File("missing")).empty());
}

TEST(NetworkAdapters, HardwareAddressesKeepTheirOwnLength)
{
    TempDir root;
    const auto link = [&](const char* name, int index, const char* length, const char* address) {
        const std::string at = root.File("sys/class/net/") + name;
        std::filesystem::create_directories(at);
        WriteFileText(at + "/ifindex", std::to_string(index) + "\n");
        WriteFileText(at + "/type", "1\n");
        WriteFileText(at + "/addr_len", length);
        WriteFileText(at + "/address", address);
    };
    const std::string infiniband = "80:00:02:08:fe:80:00:00:00:00:00:00:00:02:c9:03:00:0a:bc:de";
    link("ib0", 3, "20\n", (infiniband + "\n").c_str());
    link("eth0", 2, "6\n", "3c:97:0e:12:34:56\n");
    link("tun0", 4, "0\n", "\n");
    link("odd0", 5, "6\n", "3c:97:0e:12:34\n");
    link("bad0", 6, "6\n", "3c:97:0e:12:34:zz\n");
    const std::vector<NetworkAdapter> adapters = ListNetworkAdapters(
        root.Path(), {{2, "192.0.2.2", 24, false, 0, 0}, {9, "198.51.100.1", 24, false, 0, 0}});
    ASSERT_EQ(adapters.size(), 5u);
    EXPECT_EQ(adapters[0].name, "eth0");
    EXPECT_EQ(adapters[0].hardwareAddress, (std::vector<std::uint8_t>{0x3c, 0x97, 0x0e, 0x12, 0x34, 0x56}));
    ASSERT_EQ(adapters[0].addresses.size(), 1u);
    EXPECT_EQ(adapters[0].addresses[0].address, "192.0.2.2");
    EXPECT_EQ(adapters[1].name, "ib0");
    EXPECT_EQ(adapters[1].hardwareAddress.size(), 20u);
    EXPECT_EQ(adapters[1].hardwareAddress.back(), 0xde);
    for (std::size_t i = 2; i < adapters.size(); ++i)
        EXPECT_TRUE(adapters[i].hardwareAddress.empty()) << adapters[i].name;
}
