#pragma once

#include "core/ui/UiGeometry.h"

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

// The sector viewer's slide out from under the right edge of the main
// window and back: 25 moves of a 25th of its width, the first 50 ms after
// the start, the others 25 ms apart; docked at the main window's right
// edge, 430 pixels below its top.
class LbaSlide {
public:
    static constexpr int kWidth = 233;
    static constexpr int kHeight = 68;
    static constexpr int kDockOffsetY = 430;
    static constexpr int kFirstStepMs = 50;
    static constexpr int kStepMs = 25;

    struct Step {
        enum class Kind { Move, Dock, Hide } kind = Kind::Move;
        UiRect place;  // Move and Dock: where the window goes
        int nextTimerMs = 0;  // 0: the slide has ended
    };

    // 1 while hidden or hiding (from construction), 0 while shown or showing.
    bool Hidden() const { return m_bHidden == 1; }
    bool TimerArmed() const { return m_bTimerArmed != 0; }
    // Reverses the direction and starts from the first step: the timer to set.
    int StartSlide();
    // One timer tick beside the main window's rectangle.
    Step OnTimer(const UiRect& main);
    // Where a docked window stands beside the main window.
    static UiRect DockedPlace(const UiRect& main);

private:
    int m_nSlideStep = 1;
    std::uint8_t m_bTimerArmed = 0;
    int m_bHidden = 1;
};
