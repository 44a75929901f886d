#pragma once

#include "emu/CommandTable.h"

#include <cstdint>
#include <initializer_list>
#include <optional>

namespace emu {

// What the families' book-type commands share.

// A book type a drive writes: DVD-ROM, DVD-R, DVD-RW, DVD+RW, DVD+R, DVD+R DL.
bool IsWritableBookType(std::uint8_t book);

// The book type in the high nibble of a family's setting byte (01h and 00h
// both DVD-ROM); none for a value that names no book type a drive writes.
std::optional<std::uint8_t> BookTypeOfByte(std::uint8_t value);

// The loaded disc when it is ready and of one of the kinds; otherwise fails
// the command (not ready, or a disc whose book type cannot be changed so)
// and gives null.
MediumDescription* DiscOfKind(CommandContext& command, std::initializer_list<BookKind> kinds);

}  // namespace emu
