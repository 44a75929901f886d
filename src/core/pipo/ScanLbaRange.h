#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The custom scan range of `CSetLogicalBlockAddress`: the start and end LBA
// as texts in the chosen base, in megabytes (512 sectors of 2048 bytes) and
// as slider positions, kept in step. An end beyond the recorded area resets
// everything to the defaults.
class ScanLbaRange {
public:
    enum Base { Hexadecimal = 0, Decimal = 1 };

    ScanLbaRange(std::int32_t lowest, std::int32_t highest);

    std::int32_t Lowest() const { return m_lowest; }
    std::int32_t Highest() const { return m_highest; }
    // Slider ranges: the end 0 .. highest, the start 0 .. highest - 1.
    std::int32_t StartSliderMax() const { return m_highest > 0 ? m_highest - 1 : 0; }

    void SetDefaults();
    // "&Hexadecimal" / "&Decimal": both LBA texts rewritten in the new base.
    void SetBase(Base base);
    Base GetBase() const { return m_base; }

    // An edit's new text. Characters the base does not allow are removed,
    // wherever they stand; the message says so. The returned message (if
    // any) is shown to the user.
    std::optional<std::string> OnStartTextChanged(const std::string& text);
    std::optional<std::string> OnEndTextChanged(const std::string& text);
    std::optional<std::string> OnStartMegabytesChanged(const std::string& text);
    std::optional<std::string> OnEndMegabytesChanged(const std::string& text);
    // A slider moved: the start stays below the end, the end above the start.
    void OnStartSlider(std::int32_t position);
    void OnEndSlider(std::int32_t position);

    // "&Accept": the range in "%X" texts, or the message that says why the
    // texts are refused (empty, beyond the recorded area, start above end);
    // a refusal keeps the texts as they are.
    struct Accepted {
        std::string startText;
        std::string endText;
        std::int64_t start = 0;
        std::int64_t end = 0;
    };
    std::optional<Accepted> Accept(std::string& message) const;

    std::string startText;
    std::string endText;
    std::string startMegabytes;
    std::string endMegabytes;
    std::int32_t startSlider = 0;
    std::int32_t endSlider = 0;

private:
    std::string InBase(std::int64_t value) const;
    // The text's value in the current base; nullopt when it is not a number.
    std::optional<std::int64_t> ValueOf(const std::string& text) const;
    std::optional<std::string> Clean(std::string& text) const;

    std::int32_t m_lowest;
    std::int32_t m_highest;
    Base m_base = Hexadecimal;
};

constexpr const char* kLbaDecimalOnly = "Error, when in decimal mode only character 0 - 9 are valid";
constexpr const char* kLbaHexOnly = "Error, when in hexaecimal mode only character 0 - 9 and A - F are valid";
constexpr const char* kLbaBeyondEnd
    = "Error, LBA cannot be beyond the end of the recorded area, values will be reset to default";
constexpr const char* kLbaEndBeyondEnd
    = "Error, End value cannot be beyond the end of the recorded area, values will be reset to default";
constexpr const char* kLbaStartAboveEnd = "Error, the starting LBA must lie below the ending LBA";
constexpr const char* kLbaMissing = "Error, both the starting and the ending LBA must be given";
