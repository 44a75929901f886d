#include "core/ui/CharFilter.h"

void CharFilter::SetHexMode(bool hex)
{
    m_strAllowed = hex ? "0123456789ABCDEFabcdef" : "0123456789";
}

bool CharFilter::Accepts(char32_t character) const
{
    return character != 0 && character < 0x80 && m_strAllowed.find(static_cast<char>(character)) != std::string::npos;
}
