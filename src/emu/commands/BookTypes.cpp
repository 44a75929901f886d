#include "emu/commands/BookTypes.h"

#include "emu/commands/Measurement.h"

#include <algorithm>

namespace emu {

bool IsWritableBookType(std::uint8_t book)
{
    return book == 0 || book == 2 || book == 3 || book == 9 || book == 10 || book == 14;
}

std::optional<std::uint8_t> BookTypeOfByte(std::uint8_t value)
{
    const auto book = static_cast<std::uint8_t>(value >> 4);
    return IsWritableBookType(book) ? std::optional(book) : std::nullopt;
}

MediumDescription* DiscOfKind(CommandContext& command, std::initializer_list<BookKind> kinds)
{
    if (!HasReadyMedium(command))
        return nullptr;
    MediumDescription& disc = command.drive.medium->description;
    const auto kind = BookKindOfProfile(disc.profile);
    if (!kind || std::find(kinds.begin(), kinds.end(), *kind) == kinds.end()) {
        command.Fail(sense::kCannotWriteMedium);
        return nullptr;
    }
    return &disc;
}

}  // namespace emu
