#pragma once

#include <array>
#include <cstdint>

// Fixed ASCII texts that some drive families insist on inside their vendor
// CDBs. The program sends them and the emulated families check them, so both
// take them from here.
namespace vendor_signature {

using Signature3 = std::array<std::uint8_t, 3>;
using Signature4 = std::array<std::uint8_t, 4>;
using Signature5 = std::array<std::uint8_t, 5>;

// BenQ: bytes 2-5 of the FDh commands (service mode, Solid Burn).
inline constexpr Signature4 kBenq = {'B', 'E', 'N', 'Q'};

// LG (HL-DT-ST): bytes 2-5 of the FCh book-type write, as the public DVD+R
// book-type tools send it.
inline constexpr Signature4 kLgBookType = {'+', 'R', 'T', 'B'};

// NEC: bytes 4-8 of the C9h commands. A placeholder of the right length: a
// real drive of this family answers only to its maker's value (see README).
// iHAS drives answer the same C9h query with the same tag.
inline constexpr Signature5 kNec = {'Q', 'N', 'Z', 'N', 'E'};

// Cyberdrive: bytes 4-6 of the 33h 6Ch commands. A placeholder of the right
// length, as the NEC one.
inline constexpr Signature3 kCyberdrive = {'Q', 'C', 'Y'};

// Generic F3 drives: bytes 3-7 of F3h 0Ch 00h, the access sequence that
// opens their error measurement. A placeholder of the right length, as the
// NEC one.
inline constexpr Signature5 kGenericF3 = {'Q', 'N', 'Z', 'G', 'F'};

// Nu/QSI DC erase: bytes 3-7 of F3h 0Ch 00h (byte 11 not AAh), the access
// sequence that opens the erase mode. The makers never published theirs:
// this one is ours, defined by the emulated family, so real drives refuse
// the erase (see README).
inline constexpr Signature5 kDcEraseAccess = {'Q', 'N', 'Z', 'D', 'C'};

}  // namespace vendor_signature
