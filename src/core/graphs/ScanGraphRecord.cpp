#include "core/graphs/ScanGraphRecord.h"

#include "core/base/Format.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// The field order of both records lives here once; the writer and the reader
// walk it with their own visitor. Data is const when writing.
template <class Frame, class Visitor>
void VisitFrameMarkers(Frame& frame, Visitor& v)
{
    v.Int(frame.endMarkerX);
    v.Color(frame.endMarkerColor);
    v.Color(frame.gridColor);
    v.Color(frame.halfGridColor);
    v.Color(frame.backgroundColor);
    v.Int(frame.layerBreakX);
    v.Color(frame.layerBreakColor);
    v.Reserved();
    v.Color(frame.layerBreakColor2);
    v.Reserved();
    v.Reserved();
    v.Reserved();
}

template <class Frame, class Visitor>
void VisitFrameFlags(Frame& frame, Visitor& v)
{
    v.Int(frame.cleared);
    v.Int(frame.notSmallDisc);
    v.Int(frame.smallDisc);
}

template <class Data, class Visitor>
void VisitUpperFields(Data& d, Visitor& v)
{
    v.Int(d.speedLineMode);
    v.Int(d.piLineMode);
    v.Int(d.showSpeed);
    v.Int(d.showPI);
    v.Factor(d.piFactor);
    v.Factor(d.speedFactor);
    VisitFrameMarkers(d.frame, v);
    v.Color(d.speedColor);
    v.Color(d.piColor);
    v.Reserved();
    v.Reserved();
    v.SampleCount();
    v.SampleCount();  // the speed count, equal to N
    VisitFrameFlags(d.frame, v);
}

template <class Data, class Visitor>
void VisitLowerFields(Data& d, Visitor& v)
{
    v.Int(d.poLineMode);
    v.Int(d.pifLineMode);
    v.Int(d.showPO);
    v.Int(d.showPIF);
    v.Int(d.jitterScaleCode);
    v.Factor(d.pifFactor);
    VisitFrameMarkers(d.frame, v);
    v.Color(d.poColor);
    v.Color(d.pifColor);
    v.JitterShortfall();
    v.Reserved();
    v.SampleCount();
    VisitFrameFlags(d.frame, v);
}

class FieldWriter {
public:
    FieldWriter(LittleEndianWriter& out, std::int32_t count, std::int32_t jitterShortfall = 0) :
        m_out(out), m_count(count), m_jitterShortfall(jitterShortfall)
    {
    }
    void Int(std::int32_t value) { m_out.WriteInt32(value); }
    void Color(COLORREF colour) { m_out.WriteInt32(static_cast<std::int32_t>(colour)); }
    void Factor(float factor) { m_out.WriteFloat(factor); }
    void Reserved() { m_out.WriteInt32(0); }
    void SampleCount() { m_out.WriteInt32(m_count); }
    void JitterShortfall() { m_out.WriteInt32(m_jitterShortfall); }

private:
    LittleEndianWriter& m_out;
    std::int32_t m_count;
    std::int32_t m_jitterShortfall;
};

// Reads the fixed part; the caller has checked that it is all there. The
// first count field gives N, a second one is skipped.
class FieldReader {
public:
    explicit FieldReader(LittleEndianReader& in) : m_in(in) {}
    void Int(std::int32_t& value) { m_in.ReadInt32(value); }
    void Color(COLORREF& colour)
    {
        std::int32_t value = 0;
        m_in.ReadInt32(value);
        colour = static_cast<COLORREF>(value);
    }
    void Factor(float& factor)
    {
        m_in.ReadFloat(factor);
        m_factorsFinite = m_factorsFinite && std::isfinite(factor);
    }
    void Reserved()
    {
        std::int32_t ignored = 0;
        m_in.ReadInt32(ignored);
    }
    void SampleCount()
    {
        std::int32_t value = 0;
        m_in.ReadInt32(value);
        if (!m_countRead)
            m_count = value;
        m_countRead = true;
    }

    void JitterShortfall() { m_in.ReadInt32(m_jitterShortfall); }

    std::int32_t Count() const { return m_count; }
    std::int32_t JitterShortfallRead() const { return m_jitterShortfall; }
    bool FactorsFinite() const { return m_factorsFinite; }

private:
    LittleEndianReader& m_in;
    std::int32_t m_count = 0;
    std::int32_t m_jitterShortfall = 0;
    bool m_countRead = false;
    bool m_factorsFinite = true;
};

// N values, the series padded with zeros when it is shorter.
void WriteSeries(LittleEndianWriter& out, const std::vector<std::int32_t>& series, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i)
        out.WriteInt32(i < series.size() ? series[i] : 0);
}

std::vector<std::int32_t> ReadSeries(LittleEndianReader& in, std::int32_t count)
{
    std::vector<std::int32_t> series(static_cast<std::size_t>(count));
    for (std::int32_t& value : series)
        in.ReadInt32(value);
    return series;
}

// Reads the fixed part into data and checks it; N series must follow.
template <class Data, class Visit>
bool ReadFixedPart(LittleEndianReader& in, std::size_t fixedSize, std::size_t seriesCount, const char* graphName,
                   Visit visit, Data& data, std::int32_t& count, std::string& error,
                   std::int32_t* jitterShortfall = nullptr)
{
    if (in.Remaining() < fixedSize) {
        error = Format("The file ends inside the %s graph.", graphName);
        return false;
    }
    FieldReader reader(in);
    visit(data, reader);
    count = reader.Count();
    if (jitterShortfall != nullptr)
        *jitterShortfall = reader.JitterShortfallRead();
    if (!reader.FactorsFinite()) {
        error = Format("The %s graph has a scale that is not a number.", graphName);
        return false;
    }
    if (count < 0) {
        error = Format("The %s graph has a negative sample count (%d).", graphName, count);
        return false;
    }
    if (static_cast<std::uint64_t>(count) * seriesCount * 4 > in.Remaining()) {
        error = Format("The %s graph claims %d samples, more than the file holds.", graphName, count);
        return false;
    }
    return true;
}

}  // namespace

void WriteUpperRecord(LittleEndianWriter& out, const PiPoUpperData& data)
{
    const std::size_t count = data.pi.size();
    FieldWriter writer(out, static_cast<std::int32_t>(count));
    VisitUpperFields(data, writer);
    WriteSeries(out, data.pi, count);
    WriteSeries(out, data.speed, count);
}

void WriteLowerRecord(LittleEndianWriter& out, const PiPoLowerData& data)
{
    const std::size_t count = std::max({data.pif.size(), data.po.size(), data.jitter.size()});
    FieldWriter writer(out, static_cast<std::int32_t>(count), static_cast<std::int32_t>(count - data.jitter.size()));
    VisitLowerFields(data, writer);
    WriteSeries(out, data.pif, count);
    WriteSeries(out, data.po, count);
    WriteSeries(out, data.jitter, count);
}

bool ReadUpperRecord(LittleEndianReader& in, PiPoUpperData& data, std::string& error)
{
    PiPoUpperData read;
    std::int32_t count = 0;
    const auto visit = [](PiPoUpperData& d, FieldReader& r) { VisitUpperFields(d, r); };
    if (!ReadFixedPart(in, kUpperRecordFixedSize, 2, "upper", visit, read, count, error))
        return false;
    read.pi = ReadSeries(in, count);
    read.speed = ReadSeries(in, count);
    data = std::move(read);
    return true;
}

bool ReadLowerRecord(LittleEndianReader& in, PiPoLowerData& data, std::string& error)
{
    PiPoLowerData read;
    std::int32_t count = 0;
    std::int32_t jitterShortfall = 0;
    const auto visit = [](PiPoLowerData& d, FieldReader& r) { VisitLowerFields(d, r); };
    if (!ReadFixedPart(in, kLowerRecordFixedSize, 3, "lower", visit, read, count, error, &jitterShortfall))
        return false;
    read.pif = ReadSeries(in, count);
    read.po = ReadSeries(in, count);
    read.jitter = ReadSeries(in, count);
    // Only the measured jitter points; a field outside 0..N (a file of
    // another writer) keeps all N.
    if (jitterShortfall > 0 && jitterShortfall <= count)
        read.jitter.resize(static_cast<std::size_t>(count - jitterShortfall));
    data = std::move(read);
    return true;
}
