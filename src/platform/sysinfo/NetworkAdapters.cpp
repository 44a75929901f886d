#include "platform/sysinfo/NetworkAdapters.h"

#include "platform/files/AttributeFiles.h"
#include "platform/sysinfo/HardwareNames.h"
#include "platform/sysinfo/RootedPath.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <linux/if_addr.h>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <optional>
#include <sstream>
#include <sys/socket.h>
#include <sys/time.h>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr int kLoopbackType = 772;  // ARPHRD_LOOPBACK
constexpr std::uint32_t kForever = 0xFFFFFFFFu;

std::string Ipv4Text(const std::uint8_t (&bytes)[4])
{
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, bytes, text, sizeof text);
    return text;
}

// An address of its family's length as text; nullopt for another length.
std::optional<std::string> AddressText(int family, const std::uint8_t* data, std::size_t size)
{
    const std::size_t length = family == AF_INET6 ? 16 : 4;
    if (size != length)
        return std::nullopt;
    char text[INET6_ADDRSTRLEN] = {};
    if (!inet_ntop(family, data, text, sizeof text))
        return std::nullopt;
    return std::string(text);
}

// "02:fc:00:00:00:01" of addr_len bytes; empty when it is not that.
std::vector<std::uint8_t> ParseHardwareAddress(const std::string& text, std::uint64_t length)
{
    std::vector<std::uint8_t> bytes;
    std::istringstream in(text);
    std::string part;
    while (std::getline(in, part, ':')) {
        if (part.size() != 2 || !std::isxdigit(static_cast<unsigned char>(part[0]))
            || !std::isxdigit(static_cast<unsigned char>(part[1])))
            return {};
        bytes.push_back(static_cast<std::uint8_t>(std::stoi(part, nullptr, 16)));
    }
    if (bytes.size() != length)
        return {};
    return bytes;
}

class NetlinkSocket {
public:
    NetlinkSocket() : m_fd(::socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC, NETLINK_ROUTE)) {}
    ~NetlinkSocket()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    NetlinkSocket(const NetlinkSocket&) = delete;
    NetlinkSocket& operator=(const NetlinkSocket&) = delete;
    int Fd() const { return m_fd; }

private:
    int m_fd;
};

template <typename T>
T ReadStruct(const std::uint8_t* at)
{
    T value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

// One RTM_NEWADDR message's body (after its nlmsghdr).
std::optional<InterfaceAddress> ParseAddressMessage(const std::uint8_t* body, std::size_t length, std::time_t now,
                                                    double secondsSinceBoot)
{
    if (length < NLMSG_ALIGN(sizeof(ifaddrmsg)))
        return std::nullopt;
    const auto message = ReadStruct<ifaddrmsg>(body);
    if (message.ifa_family != AF_INET && message.ifa_family != AF_INET6)
        return std::nullopt;
    InterfaceAddress address;
    address.ipv6 = message.ifa_family == AF_INET6;
    address.interfaceIndex = static_cast<int>(message.ifa_index);
    address.prefixLength = message.ifa_prefixlen;
    std::uint32_t flags = message.ifa_flags;
    std::optional<std::string> local;
    std::optional<std::string> peer;
    std::optional<ifa_cacheinfo> cache;
    std::size_t at = NLMSG_ALIGN(sizeof(ifaddrmsg));
    while (at + sizeof(rtattr) <= length) {
        const auto attribute = ReadStruct<rtattr>(body + at);
        if (attribute.rta_len < sizeof(rtattr) || at + attribute.rta_len > length)
            break;
        const std::uint8_t* data = body + at + RTA_LENGTH(0);
        const std::size_t size = attribute.rta_len - RTA_LENGTH(0);
        if (attribute.rta_type == IFA_LOCAL || attribute.rta_type == IFA_ADDRESS) {
            (attribute.rta_type == IFA_LOCAL ? local : peer) = AddressText(message.ifa_family, data, size);
        } else if (attribute.rta_type == IFA_FLAGS && size == sizeof(std::uint32_t)) {
            flags = ReadStruct<std::uint32_t>(data);
        } else if (attribute.rta_type == IFA_CACHEINFO && size == sizeof(ifa_cacheinfo)) {
            cache = ReadStruct<ifa_cacheinfo>(data);
        }
        at += RTA_ALIGN(attribute.rta_len);
    }
    if (!local && !peer)
        return std::nullopt;
    address.address = local ? *local : *peer;
    address.dynamic = (flags & IFA_F_PERMANENT) == 0;
    if (address.dynamic && cache) {
        // tstamp: hundredths of a second since boot when it was last given.
        const double age = secondsSinceBoot - cache->tstamp / 100.0;
        address.obtained = now - static_cast<std::time_t>(age > 0 ? age : 0);
        if (cache->ifa_valid != kForever)
            address.expires = now + static_cast<std::time_t>(cache->ifa_valid);
    }
    return address;
}

}  // namespace

std::vector<InterfaceAddress> ReadInterfaceAddresses()
{
    NetlinkSocket socket;
    if (socket.Fd() < 0)
        return {};
    struct {
        nlmsghdr header;
        ifaddrmsg message;
    } request{};
    request.header.nlmsg_len = sizeof request;
    request.header.nlmsg_type = RTM_GETADDR;
    request.header.nlmsg_flags = NLM_F_REQUEST | NLM_F_DUMP;
    request.header.nlmsg_seq = 1;
    request.message.ifa_family = AF_UNSPEC;
    const timeval patience{2, 0};
    ::setsockopt(socket.Fd(), SOL_SOCKET, SO_RCVTIMEO, &patience, sizeof patience);
    sockaddr_nl kernel{};
    kernel.nl_family = AF_NETLINK;
    if (::sendto(socket.Fd(), &request, sizeof request, 0, reinterpret_cast<const sockaddr*>(&kernel), sizeof kernel)
        < 0)
        return {};

    timespec since{};
    clock_gettime(CLOCK_MONOTONIC, &since);
    const double secondsSinceBoot = static_cast<double>(since.tv_sec) + static_cast<double>(since.tv_nsec) / 1e9;
    const std::time_t now = std::time(nullptr);

    std::vector<InterfaceAddress> addresses;
    std::vector<std::uint8_t> buffer(64 * 1024);
    for (;;) {
        const ssize_t received = ::recv(socket.Fd(), buffer.data(), buffer.size(), 0);
        if (received <= 0)
            return addresses;
        std::size_t at = 0;
        const auto length = static_cast<std::size_t>(received);
        while (at + sizeof(nlmsghdr) <= length) {
            const auto header = ReadStruct<nlmsghdr>(buffer.data() + at);
            if (header.nlmsg_len < sizeof(nlmsghdr) || at + header.nlmsg_len > length)
                return addresses;
            if (header.nlmsg_type == NLMSG_DONE || header.nlmsg_type == NLMSG_ERROR)
                return addresses;
            if (header.nlmsg_type == RTM_NEWADDR) {
                const std::size_t bodyAt = at + NLMSG_HDRLEN;
                if (auto address = ParseAddressMessage(buffer.data() + bodyAt, header.nlmsg_len - NLMSG_HDRLEN, now,
                                                       secondsSinceBoot))
                    addresses.push_back(std::move(*address));
            }
            at += NLMSG_ALIGN(header.nlmsg_len);
        }
    }
}

std::vector<std::pair<std::string, std::string>> ReadDefaultGateways(const std::string& routeFile)
{
    // Iface Destination Gateway Flags RefCnt Use Metric Mask ...; the
    // addresses are the network-order words printed as numbers of this
    // machine's byte order, so their bytes in memory are the address.
    constexpr unsigned kUp = 0x1;
    constexpr unsigned kGateway = 0x2;
    std::vector<std::pair<std::string, std::string>> gateways;
    std::ifstream in(routeFile);
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string name;
        std::string destination;
        std::string gateway;
        std::string flagsText;
        std::string refs;
        std::string use;
        std::string metric;
        std::string mask;
        if (!(fields >> name >> destination >> gateway >> flagsText >> refs >> use >> metric >> mask))
            continue;
        unsigned long flags = 0;
        unsigned long word = 0;
        try {
            flags = std::stoul(flagsText, nullptr, 16);
            word = std::stoul(gateway, nullptr, 16);
        } catch (const std::exception&) {
            continue;
        }
        if (destination != "00000000" || mask != "00000000" || (flags & (kUp | kGateway)) != (kUp | kGateway)
            || gateway.size() != 8)
            continue;
        const auto raw = static_cast<std::uint32_t>(word);
        std::uint8_t bytes[4];
        std::memcpy(bytes, &raw, sizeof bytes);
        gateways.emplace_back(name, Ipv4Text(bytes));
    }
    return gateways;
}

std::vector<NetworkAdapter> ListNetworkAdapters(const std::string& root, const std::vector<InterfaceAddress>& addresses)
{
    const std::string classNet = RootedPath(root, "sys/class/net");
    std::vector<NetworkAdapter> adapters;
    std::vector<std::optional<HardwareId>> devices;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(classNet, error)) {
        const std::string at = entry.path().string() + "/";
        const auto index = ReadAttributeNumber(at + "ifindex");
        if (!index || *index > 0x7FFFFFFF || ReadAttributeNumber(at + "type") == std::uint64_t{kLoopbackType})
            continue;
        NetworkAdapter adapter;
        adapter.name = entry.path().filename().string();
        adapter.index = static_cast<int>(*index);
        if (const auto length = ReadAttributeNumber(at + "addr_len"))
            adapter.hardwareAddress = ParseHardwareAddress(ReadAttribute(at + "address"), *length);
        for (const InterfaceAddress& address : addresses) {
            if (address.interfaceIndex == adapter.index)
                adapter.addresses.push_back(address);
        }
        std::error_code noDevice;
        devices.push_back(fs::exists(entry.path() / "device", noDevice) ? NearestHardwareId(entry.path() / "device")
                                                                        : std::nullopt);
        adapters.push_back(std::move(adapter));
    }
    std::vector<HardwareId> ids;
    for (const auto& device : devices) {
        if (device)
            ids.push_back(*device);
    }
    const HardwareNames names(root, ids);
    for (std::size_t i = 0; i < adapters.size(); ++i) {
        if (devices[i])
            adapters[i].description = names.Describe(*devices[i]);
    }
    for (const auto& [name, gateway] : ReadDefaultGateways(RootedPath(root, "proc/net/route"))) {
        for (NetworkAdapter& adapter : adapters) {
            if (adapter.name == name)
                adapter.gateways.push_back(gateway);
        }
    }
    std::sort(adapters.begin(), adapters.end(),
              [](const NetworkAdapter& a, const NetworkAdapter& b) { return a.index < b.index; });
    return adapters;
}
