#include "emu/CdSector.h"

#include "emu/MediumGeometry.h"

#include <cstring>

namespace emu {

namespace {

constexpr std::size_t kHeaderAt = 12;
constexpr std::size_t kUserAt = 16;
constexpr std::size_t kEdcAt = 2064;
constexpr std::size_t kParityPAt = 2076;
constexpr std::size_t kParityQAt = 2248;

struct EccTables {
    std::array<std::uint8_t, 256> forward{};
    std::array<std::uint8_t, 256> backward{};
    std::array<std::uint32_t, 256> edc{};
    EccTables()
    {
        for (std::uint32_t i = 0; i < 256; ++i) {
            // GF(2^8) over x^8 + x^4 + x^3 + x^2 + 1.
            const std::uint32_t doubled = (i << 1) ^ ((i & 0x80) ? 0x11D : 0);
            forward[i] = static_cast<std::uint8_t>(doubled);
            backward[i ^ doubled] = static_cast<std::uint8_t>(i);
            std::uint32_t crc = i;
            for (int bit = 0; bit < 8; ++bit)
                crc = (crc >> 1) ^ ((crc & 1) ? 0xD8018001u : 0);
            edc[i] = crc;
        }
    }
};

const EccTables& Tables()
{
    static const EccTables tables;
    return tables;
}

std::uint8_t Bcd(int value)
{
    return static_cast<std::uint8_t>((value / 10) << 4 | (value % 10));
}

// One parity set (P or Q) of the Reed-Solomon product code over the sector
// from its header on.
void ComputeParity(std::uint8_t* sector, int majorCount, int minorCount, int majorStep, int minorStep,
                   std::uint8_t* parity)
{
    const EccTables& tables = Tables();
    const std::uint8_t* source = sector + kHeaderAt;
    const int size = majorCount * minorCount;
    for (int major = 0; major < majorCount; ++major) {
        int index = (major >> 1) * majorStep + (major & 1);
        std::uint8_t a = 0;
        std::uint8_t b = 0;
        for (int minor = 0; minor < minorCount; ++minor) {
            const std::uint8_t value = source[index];
            index += minorStep;
            if (index >= size)
                index -= size;
            a ^= value;
            b ^= value;
            a = tables.forward[a];
        }
        a = tables.backward[tables.forward[a] ^ b];
        parity[major] = a;
        parity[major + majorCount] = a ^ b;
    }
}

}  // namespace

std::uint32_t CdEdc(std::span<const std::uint8_t> bytes)
{
    const EccTables& tables = Tables();
    std::uint32_t edc = 0;
    for (const std::uint8_t byte : bytes)
        edc = (edc >> 8) ^ tables.edc[(edc ^ byte) & 0xFF];
    return edc;
}

std::array<std::uint8_t, kRawCdSectorBytes> MakeMode1Sector(std::int64_t lba,
                                                            std::span<const std::uint8_t, kCdUserDataBytes> user)
{
    std::array<std::uint8_t, kRawCdSectorBytes> sector{};
    std::memset(sector.data() + 1, 0xFF, 10);
    const Msf time = LbaToMsf(lba);
    sector[kHeaderAt] = Bcd(time.minute);
    sector[kHeaderAt + 1] = Bcd(time.second);
    sector[kHeaderAt + 2] = Bcd(time.frame);
    sector[kHeaderAt + 3] = 1;
    std::memcpy(sector.data() + kUserAt, user.data(), kCdUserDataBytes);
    const std::uint32_t edc = CdEdc(std::span(sector).first(kEdcAt));
    for (int i = 0; i < 4; ++i)
        sector[kEdcAt + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(edc >> (8 * i));
    ComputeParity(sector.data(), 86, 24, 2, 86, sector.data() + kParityPAt);
    ComputeParity(sector.data(), 52, 43, 86, 88, sector.data() + kParityQAt);
    return sector;
}

}  // namespace emu
