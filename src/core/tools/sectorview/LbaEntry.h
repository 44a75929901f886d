#pragma once

#include "core/ui/DockSlide.h"

#include <cstdint>
#include <optional>
#include <string>

// The sector viewer's address: the edit's text in hexadecimal (the start)
// or decimal, the address last sent, and the step after a read. Addresses
// are those of MMC's block commands: 0 to FFFFFFFFh; a step never leaves
// that range.
class LbaEntry {
public:
    bool IsHex() const { return m_bHex == 1; }
    const std::string& Text() const { return m_strText; }
    void SetText(std::string text) { m_strText = std::move(text); }
    std::uint32_t LastSent() const { return m_nLBA; }

    // The address to read: the text's leading digits of the current base.
    // nullopt (with the message to show) for an empty text or one beyond
    // the last address.
    std::optional<std::uint32_t> Send(std::string& message);
    // After a read that worked: the address one on or one back, shown.
    void NextLBA();
    void PrevLBA();
    // The radix buttons; the text is rewritten in the new base, once.
    void OnHex();
    void OnDecimal();
    // Backspace: the last character goes.
    void RemoveLastCharacter();

private:
    std::string Show(std::uint32_t lba) const;

    int m_bHex = 1;
    int m_bDecimal = 0;
    std::string m_strText = "0";
    std::uint32_t m_nLBA = 0;
};

// The leading digits of text in base 16 or 10; nullopt without one or past
// 32 bits.
std::optional<std::uint32_t> ParseLba(const std::string& text, int base);

// The sector viewer's slide beside the main window: 233 x 68 pixels, docked
// 430 pixels below the main window's top.
class LbaSlide : public DockSlide {
public:
    static constexpr int kWidth = 233;
    static constexpr int kHeight = 68;
    static constexpr int kDockOffsetY = 430;
    static constexpr DockShape kShape{kWidth, kHeight, kDockOffsetY};

    LbaSlide() : DockSlide(kShape) {}
};
