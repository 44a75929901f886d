#pragma once

// Scan files written field by field, as the format lays them out, for tests
// to compare the writer against and feed the reader. Built from the layout
// alone, never through the program's own writer. Header-only so that tests,
// benchmarks and fuzz seeds share it.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class ScanFileFixture {
public:
    // Version 2: magic, three ranges, one sample in each graph.
    static ScanFileFixture Version2()
    {
        const MarkerFields markers{
            .endMarkerX = 420, .endMarkerColor = 0xFF, .gridColor = 0x6D6D6D, .halfGridColor = 0x363636};
        ScanFileFixture f;
        f.Text("QNZVERSION2")
            .Range({.nStartLba = 0, .nEndLba = 0x23053F, .llEndLba = 0x23053F, .llStartLba = 0x1A2B})  // current
            .Range({.nStartLba = 0, .nEndLba = 0x23053F, .llEndLba = 0x23053F, .llStartLba = 0x1A2B})  // slot 1
            .Range({.nStartLba = 0, .nEndLba = 0x23053F, .llEndLba = 0x100000, .llStartLba = 0x800});  // slot 2
        f.Summary({.piPeak = 25,
                   .pifAvg = 1,
                   .pifPeak = 5,
                   .pofTotal = 0,
                   .pifTotal = 120,
                   .jitterPeak = 82,
                   .jitterAvg = 75,
                   .jitterInst = 80,
                   .piTotal = 4321,
                   .piAvg = 3,
                   .showPif = 1,
                   .showPo = 0,
                   .showJitter = 1,
                   .status = "Test Complete"});
        f.Upper(
            {.piFactor = 4.0f, .speedFactor = 1.0f, .markers = markers, .notSmallDisc = 1, .pi = {9}, .speed = {83}});
        f.Lower({.showPo = 0,
                 .jitterScaleCode = 3,
                 .markers = markers,
                 .notSmallDisc = 1,
                 .pif = {2},
                 .po = {0},
                 .jitter = {79}});
        f.Strings({.midCode = "CMC", .mediaType = "DVD-R", .bookType = "N/A", .driveText = "Drive\xE9"});
        f.U32(4)  // PI scale code
            .U32(2)  // PIF scale code
            .U32(3);  // jitter scale code
        return f;
    }

    // Version 1: no magic, no ranges; an empty MID code and an empty drive text.
    static ScanFileFixture Version1()
    {
        const MarkerFields markers{.gridColor = 0x00FF00, .halfGridColor = 0x008400};
        ScanFileFixture f;
        f.Summary({.piPeak = 3,
                   .pifAvg = 0,
                   .pifPeak = 1,
                   .pofTotal = 0,
                   .pifTotal = 2,
                   .jitterPeak = 0,
                   .jitterAvg = 0,
                   .jitterInst = 0,
                   .piTotal = 40,
                   .piAvg = 1,
                   .showPif = 1,
                   .showPo = 1,
                   .showJitter = 1,
                   .status = "Ready"});
        f.Upper(
            {.piFactor = 16.0f, .speedFactor = 4.0f, .markers = markers, .notSmallDisc = 0, .pi = {3}, .speed = {40}});
        f.Lower({.showPo = 1,
                 .jitterScaleCode = 0,
                 .markers = markers,
                 .notSmallDisc = 0,
                 .pif = {1, 4},
                 .po = {0, 1},
                 .jitter = {0, 0}});
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
    ScanFileFixture& Series(const std::vector<std::uint32_t>& values)
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

    // The summary ahead of the graphs: peaks, averages and totals, the
    // series shown, the status line blank-padded.
    struct SummaryFields {
        std::uint32_t piPeak = 0;
        std::uint32_t pifAvg = 0;
        std::uint32_t pifPeak = 0;
        std::uint32_t pofTotal = 0;
        std::uint32_t pifTotal = 0;
        std::uint32_t jitterPeak = 0;
        std::uint32_t jitterAvg = 0;
        std::uint32_t jitterInst = 0;
        std::uint32_t piTotal = 0;
        std::uint32_t piAvg = 0;
        std::uint32_t showPif = 1;
        std::uint32_t showPo = 1;
        std::uint32_t showJitter = 1;
        std::uint32_t showPi = 1;
        std::uint32_t showSpeed = 1;
        std::string_view status;
    };
    ScanFileFixture& Summary(const SummaryFields& summary)
    {
        return U32(summary.piPeak)
            .U32(summary.pifAvg)
            .U32(summary.pifPeak)
            .U32(summary.pofTotal)
            .U32(summary.pifTotal)
            .U32(summary.jitterPeak)
            .U32(summary.jitterAvg)
            .U32(summary.jitterInst)
            .U32(summary.piTotal)
            .U32(summary.piAvg)
            .U32(summary.showPif)
            .U32(summary.showPo)
            .U32(summary.showJitter)
            .U32(summary.showPi)
            .U32(summary.showSpeed)
            .BlankPadded(summary.status, kStatusWidth);
    }

    // The upper graph's record (sets upperAt): N and the speed count are the
    // series' lengths.
    struct UpperFields {
        std::uint32_t speedLineMode = 1;
        std::uint32_t piLineMode = 1;
        std::uint32_t showSpeed = 1;
        std::uint32_t showPi = 1;
        float piFactor = 1.0f;
        float speedFactor = 1.0f;
        MarkerFields markers;
        std::uint32_t speedColour = 0xFFFF;
        std::uint32_t piColour = 0xFF00;
        std::uint32_t cleared = 1;
        std::uint32_t notSmallDisc = 1;
        std::uint32_t smallDisc = 0;
        std::vector<std::uint32_t> pi;
        std::vector<std::uint32_t> speed;
    };
    ScanFileFixture& Upper(const UpperFields& upper)
    {
        upperAt = Size();
        return U32(upper.speedLineMode)
            .U32(upper.piLineMode)
            .U32(upper.showSpeed)
            .U32(upper.showPi)
            .Float(upper.piFactor)
            .Float(upper.speedFactor)
            .Markers(upper.markers)
            .U32(upper.speedColour)
            .U32(upper.piColour)
            .Zeros(8)  // reserved, reserved
            .U32(static_cast<std::uint32_t>(upper.pi.size()))  // N
            .U32(static_cast<std::uint32_t>(upper.speed.size()))
            .U32(upper.cleared)
            .U32(upper.notSmallDisc)
            .U32(upper.smallDisc)
            .Series(upper.pi)
            .Series(upper.speed);
    }

    // The lower graph's record (sets lowerAt): N is the PIF series' length.
    struct LowerFields {
        std::uint32_t poLineMode = 1;
        std::uint32_t pifLineMode = 1;
        std::uint32_t showPo = 1;
        std::uint32_t showPif = 1;
        std::uint32_t jitterScaleCode = 0;
        float pifFactor = 16.0f;
        MarkerFields markers;
        std::uint32_t poColour = 0xFFFF;
        std::uint32_t pifColour = 0xFF00;
        std::uint32_t cleared = 1;
        std::uint32_t notSmallDisc = 1;
        std::uint32_t smallDisc = 0;
        std::vector<std::uint32_t> pif;
        std::vector<std::uint32_t> po;
        std::vector<std::uint32_t> jitter;
    };
    ScanFileFixture& Lower(const LowerFields& lower)
    {
        lowerAt = Size();
        return U32(lower.poLineMode)
            .U32(lower.pifLineMode)
            .U32(lower.showPo)
            .U32(lower.showPif)
            .U32(lower.jitterScaleCode)
            .Float(lower.pifFactor)
            .Markers(lower.markers)
            .U32(lower.poColour)
            .U32(lower.pifColour)
            .Zeros(8)  // reserved, reserved
            .U32(static_cast<std::uint32_t>(lower.pif.size()))  // N
            .U32(lower.cleared)
            .U32(lower.notSmallDisc)
            .U32(lower.smallDisc)
            .Series(lower.pif)
            .Series(lower.po)
            .Series(lower.jitter);
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
