#include "core/ui/TextLimit.h"

std::string CutToCharacters(const std::string& text, std::size_t maxCharacters)
{
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        // Continuation bytes (10xxxxxx) belong to the character before them.
        if ((static_cast<unsigned char>(text[i]) & 0xC0u) == 0x80u)
            continue;
        if (characters++ == maxCharacters)
            return text.substr(0, i);
    }
    return text;
}
