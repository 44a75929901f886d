#pragma once

// Scan files written field by field, as the format lays them out, for tests
// to compare the writer against and feed the reader. Built from the layout
// alone, never through the program's own writer. Header-only so that tests,
// benchmarks and fuzz seeds share it.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

class ScanFileFixture {
public:
    // Version 2: magic, three ranges, one sample in each graph.
    static ScanFileFixture Version2()
    {
        ScanFileFixture f;
        f.Text("QNZVERSION2")
            .Range({.nStartLba = 0, .nEndLba = 0x23053F, .llEndLba = 0x23053F, .llStartLba = 0x1A2B})  // current
            .Range({.nStartLba = 0, .nEndLba = 0x23053F, .llEndLba = 0x23053F, .llStartLba = 0x1A2B})  // slot 1
            .Range({.nStartLba = 0, .nEndLba = 0x23053F, .llEndLba = 0x100000, .llStartLba = 0x800});  // slot 2
        f.U32(25)  // PI peak
            .U32(1)  // PIF avg
            .U32(5)  // PIF peak
            .U32(0)  // POF total
            .U32(120)  // PIF total
            .U32(82)  // jitter peak
            .U32(75)  // jitter avg
            .U32(80)  // jitter inst
            .U32(4321)  // PI total
            .U32(3)  // PI avg
            .U32(1)  // show PIF
            .U32(0)  // show PO
            .U32(1)  // show jitter
            .U32(1)  // show PI
            .U32(1)  // show speed
            .BlankPadded("Test Complete", kStatusWidth);  // status

        f.upperAt = f.Size();
        f.U32(1)  // speed line mode
            .U32(1)  // PI line mode
            .U32(1)  // show speed
            .U32(1)  // show PI
            .Float(4.0f)  // PI factor
            .Float(1.0f)  // speed factor
            .Markers({.endMarkerX = 420, .endMarkerColor = 0xFF, .gridColor = 0x6D6D6D, .halfGridColor = 0x363636})
            .U32(0xFFFF)  // speed colour
            .U32(0xFF00)  // PI colour
            .Zeros(8)  // reserved, reserved
            .U32(1)  // N
            .U32(1)  // speed count
            .U32(1)  // cleared
            .U32(1)  // not small disc
            .U32(0)  // small disc
            .Series({9})  // PI
            .Series({83});  // speed

        f.lowerAt = f.Size();
        f.U32(1)  // PO line mode
            .U32(1)  // PIF line mode
            .U32(0)  // show PO
            .U32(1)  // show PIF
            .U32(3)  // jitter scale code
            .Float(16.0f)  // PIF factor
            .Markers({.endMarkerX = 420, .endMarkerColor = 0xFF, .gridColor = 0x6D6D6D, .halfGridColor = 0x363636})
            .U32(0xFFFF)  // PO colour
            .U32(0xFF00)  // PIF colour
            .Zeros(8)  // reserved, reserved
            .U32(1)  // N
            .U32(1)  // cleared
            .U32(1)  // not small disc
            .U32(0)  // small disc
            .Series({2})  // PIF
            .Series({0})  // PO
            .Series({79});  // jitter

        f.Strings({.midCode = "CMC", .mediaType = "DVD-R", .bookType = "N/A", .driveText = "Drive\xE9"});
        f.U32(4)  // PI scale code
            .U32(2)  // PIF scale code
            .U32(3);  // jitter scale code
        return f;
    }

    // Version 1: no magic, no ranges; an empty MID code and an empty drive text.
    static ScanFileFixture Version1()
    {
        ScanFileFixture f;
        f.U32(3)  // PI peak
            .U32(0)  // PIF avg
            .U32(1)  // PIF peak
            .U32(0)  // POF total
            .U32(2)  // PIF total
            .U32(0)  // jitter peak
            .U32(0)  // jitter avg
            .U32(0)  // jitter inst
            .U32(40)  // PI total
            .U32(1)  // PI avg
            .U32(1)  // show PIF
            .U32(1)  // show PO
            .U32(1)  // show jitter
            .U32(1)  // show PI
            .U32(1)  // show speed
            .BlankPadded("Ready", kStatusWidth);  // status

        f.upperAt = f.Size();
        f.U32(1)  // speed line mode
            .U32(1)  // PI line mode
            .U32(1)  // show speed
            .U32(1)  // show PI
            .Float(16.0f)  // PI factor
            .Float(4.0f)  // speed factor
            .Markers({.gridColor = 0x00FF00, .halfGridColor = 0x008400})
            .U32(0xFFFF)  // speed colour
            .U32(0xFF00)  // PI colour
            .Zeros(8)  // reserved, reserved
            .U32(1)  // N
            .U32(1)  // speed count
            .U32(1)  // cleared
            .U32(0)  // not small disc
            .U32(0)  // small disc
            .Series({3})  // PI
            .Series({40});  // speed

        f.lowerAt = f.Size();
        f.U32(1)  // PO line mode
            .U32(1)  // PIF line mode
            .U32(1)  // show PO
            .U32(1)  // show PIF
            .U32(0)  // jitter scale code
            .Float(16.0f)  // PIF factor
            .Markers({.gridColor = 0x00FF00, .halfGridColor = 0x008400})
            .U32(0xFFFF)  // PO colour
            .U32(0xFF00)  // PIF colour
            .Zeros(8)  // reserved, reserved
            .U32(2)  // N
            .U32(1)  // cleared
            .U32(0)  // not small disc
            .U32(0)  // small disc
            .Series({1, 4})  // PIF
            .Series({0, 1})  // PO
            .Series({0, 0});  // jitter

        f.Strings({.midCode = "", .mediaType = "DVD+R", .bookType = "DVD-ROM", .driveText = ""});
        f.U32(0)  // PI scale code
            .U32(2)  // PIF scale code
            .U32(0);  // jitter scale code
        return f;
    }

    // The fields, little-endian.
    ScanFileFixture& U32(std::uint32_t value)
    {
        for (int shift = 0; shift < 32; shift += 8)
            m_bytes += static_cast<char>((value >> shift) & 0xFFu);
        return *this;
    }
    ScanFileFixture& I64(std::int64_t value)
    {
        const auto raw = static_cast<std::uint64_t>(value);
        return U32(static_cast<std::uint32_t>(raw)).U32(static_cast<std::uint32_t>(raw >> 32));
    }
    ScanFileFixture& Float(float value) { return U32(std::bit_cast<std::uint32_t>(value)); }
    ScanFileFixture& Series(std::initializer_list<std::uint32_t> values)
    {
        for (std::uint32_t value : values)
            U32(value);
        return *this;
    }
    ScanFileFixture& Zeros(std::size_t count)
    {
        m_bytes.append(count, '\0');
        return *this;
    }
    // One byte a character, as given.
    ScanFileFixture& Text(std::string_view text)
    {
        m_bytes += text;
        return *this;
    }
    // One byte a character, blanks up to width.
    ScanFileFixture& BlankPadded(std::string_view text, std::size_t width)
    {
        m_bytes += text;
        m_bytes.append(width - text.size(), ' ');
        return *this;
    }
    // Four bytes a character: the character as a signed char widened to 32
    // bits (0xE9 is written E9 FF FF FF), then zero characters up to width.
    ScanFileFixture& Wide(std::string_view text, std::size_t width = 0)
    {
        for (char c : text)
            U32(static_cast<std::uint32_t>(static_cast<std::int32_t>(static_cast<signed char>(c))));
        if (width > text.size())
            Zeros(4 * (width - text.size()));
        return *this;
    }

    // A scan range: where the range dialog starts and ends, and the scan's own end and start.
    struct RangeFields {
        std::uint32_t nStartLba = 0;
        std::uint32_t nEndLba = 0;
        std::int64_t llEndLba = 0;
        std::int64_t llStartLba = 0;
    };
    ScanFileFixture& Range(const RangeFields& range)
    {
        return U32(range.nStartLba).U32(range.nEndLba).I64(range.llEndLba).I64(range.llStartLba);
    }

    // The markers, grid and background of a graph record, twelve fields alike in both graphs.
    struct MarkerFields {
        std::uint32_t endMarkerX = 0;
        std::uint32_t endMarkerColor = 0;
        std::uint32_t gridColor = 0;
        std::uint32_t halfGridColor = 0;
        std::uint32_t backgroundColor = 0;
        std::uint32_t layerBreakX = 0;
        std::uint32_t layerBreakColor = 0;
        std::uint32_t layerBreakColor2 = 0;
    };
    ScanFileFixture& Markers(const MarkerFields& markers)
    {
        return U32(markers.endMarkerX)
            .U32(markers.endMarkerColor)
            .U32(markers.gridColor)
            .U32(markers.halfGridColor)
            .U32(markers.backgroundColor)
            .U32(markers.layerBreakX)
            .U32(markers.layerBreakColor)
            .Zeros(4)  // reserved
            .U32(markers.layerBreakColor2)
            .Zeros(12);  // reserved, reserved, reserved
    }

    // The four strings: their lengths in characters, then each at four bytes
    // a character; the drive text always kDriveTextWidth characters, zero-padded.
    struct StringFields {
        std::string_view midCode;
        std::string_view mediaType;
        std::string_view bookType;
        std::string_view driveText;
    };
    ScanFileFixture& Strings(const StringFields& strings)
    {
        lengthsAt = Size();
        return U32(static_cast<std::uint32_t>(strings.midCode.size()))
            .U32(static_cast<std::uint32_t>(strings.mediaType.size()))
            .U32(static_cast<std::uint32_t>(strings.bookType.size()))
            .U32(static_cast<std::uint32_t>(kDriveTextWidth))
            .Wide(strings.midCode)
            .Wide(strings.mediaType)
            .Wide(strings.bookType)
            .Wide(strings.driveText, kDriveTextWidth);
    }

    std::size_t Size() const { return m_bytes.size(); }
    const std::string& Bytes() const { return m_bytes; }

    static constexpr std::size_t kStatusWidth = 40;
    static constexpr std::size_t kDriveTextWidth = 40;

    // Where the sections begin, for tests that change a field in place.
    std::size_t upperAt = 0;  // the upper graph's record
    std::size_t lowerAt = 0;  // the lower graph's record
    std::size_t lengthsAt = 0;  // the four string lengths

private:
    std::string m_bytes;
};
