#pragma once

#include <string>

// The characters a digit-only edit lets through: hexadecimal digits in hex
// mode (the start), decimal digits otherwise. Control characters
// (Backspace included) are never let through.
class CharFilter {
public:
    void SetHexMode(bool hex);
    bool IsHexMode() const { return m_strAllowed.size() > 10; }
    bool Accepts(char32_t character) const;
    const std::string& Allowed() const { return m_strAllowed; }

private:
    std::string m_strAllowed = "0123456789ABCDEFabcdef";
};
