#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

// An IPv4 or IPv6 address of an interface. A dynamic address (one the
// kernel was given with a lifetime, as a DHCP client or IPv6 autoconfiguration
// does) has the time it was last given and the time it runs out (0 when it
// never does).
struct InterfaceAddress {
    int interfaceIndex = 0;
    std::string address;  // "192.0.2.2", "2001:db8::2"
    int prefixLength = 0;
    bool dynamic = false;
    std::time_t obtained = 0;
    std::time_t expires = 0;
    bool ipv6 = false;
};

// The machine's IPv4 and IPv6 addresses from the kernel (rtnetlink), in its
// order; empty when it cannot be asked.
std::vector<InterfaceAddress> ReadInterfaceAddresses();

// A network interface other than loopback, as sys/class/net and
// proc/net/route under `root` ("/" or a fixture tree) tell it, with its
// addresses from `addresses`.
struct NetworkAdapter {
    std::string name;  // "eth0"
    int index = 0;
    std::string description;  // the name of its PCI or USB device; empty for virtual ones
    std::vector<std::uint8_t> hardwareAddress;  // as long as the link's addresses are
    std::vector<InterfaceAddress> addresses;
    std::vector<std::string> gateways;  // of its default routes
};
// In interface index order.
std::vector<NetworkAdapter> ListNetworkAdapters(const std::string& root,
                                                const std::vector<InterfaceAddress>& addresses);

// The default gateways of each interface in proc/net/route's form, in the
// table's order: (interface, "192.0.2.1").
std::vector<std::pair<std::string, std::string>> ReadDefaultGateways(const std::string& routeFile);
