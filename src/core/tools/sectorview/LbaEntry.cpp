#include "core/tools/sectorview/LbaEntry.h"

#include "core/base/Format.h"

std::optional<std::uint32_t> ParseLba(const std::string& text, int base)
{
    std::uint64_t value = 0;
    std::size_t digits = 0;
    for (char c : text) {
        int digit = -1;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        if (digit < 0 || digit >= base)
            break;
        value = value * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
        if (value > 0xFFFFFFFFu)
            return std::nullopt;
        ++digits;
    }
    if (digits == 0)
        return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

std::optional<std::uint32_t> LbaEntry::Send(std::string& message)
{
    const std::optional<std::uint32_t> lba = m_strText.empty() ? std::nullopt : ParseLba(m_strText, IsHex() ? 16 : 10);
    if (!lba) {
        message = "Enter a valid LBA";
        return std::nullopt;
    }
    m_nLBA = *lba;
    return lba;
}

void LbaEntry::NextLBA()
{
    if (m_nLBA < 0xFFFFFFFFu)
        ++m_nLBA;
    m_strText = Show(m_nLBA);
}

void LbaEntry::PrevLBA()
{
    if (m_nLBA > 0)
        --m_nLBA;
    m_strText = Show(m_nLBA);
}

void LbaEntry::OnHex()
{
    if (m_bHex == 1)
        return;
    m_bHex = 1;
    m_bDecimal = 0;
    m_strText = Show(ParseLba(m_strText, 10).value_or(0));
}

void LbaEntry::OnDecimal()
{
    if (m_bDecimal == 1)
        return;
    m_bDecimal = 1;
    m_bHex = 0;
    m_strText = Show(ParseLba(m_strText, 16).value_or(0));
}

void LbaEntry::RemoveLastCharacter()
{
    if (!m_strText.empty())
        m_strText.pop_back();
}

std::string LbaEntry::Show(std::uint32_t lba) const
{
    return Format(IsHex() ? "%x" : "%u", lba);
}
