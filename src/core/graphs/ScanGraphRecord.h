#pragma once

#include "core/graphs/LittleEndianStream.h"
#include "core/graphs/PiPoGraphData.h"

#include <cstddef>
#include <string>

// The saved records of the two PI/PO graphs: a fixed part of int32/float
// fields (no tag, no length) followed by every series with N values each.
constexpr std::size_t kUpperRecordFixedSize = 108;
constexpr std::size_t kLowerRecordFixedSize = 104;

void WriteUpperRecord(LittleEndianWriter& out, const PiPoUpperData& data);
// N is the longest of the three series; shorter ones are written padded with
// zeros, so a scan without a jitter pass keeps its PIF and PO samples. The
// jitter padding's length is kept in the record's first reserved field
// after the colours (0 in older files), so a load draws only the measured
// jitter points; readers that ignore the field see the padded series.
void WriteLowerRecord(LittleEndianWriter& out, const PiPoLowerData& data);

// False with the reason when the record ends early or holds what no graph
// can (a negative count, more samples than the bytes left, a scale factor
// that is not a number); data is untouched then. The speed count field of
// the upper record is read and ignored: both series get N samples. The lower
// record's jitter series is N less its padding.
bool ReadUpperRecord(LittleEndianReader& in, PiPoUpperData& data, std::string& error);
bool ReadLowerRecord(LittleEndianReader& in, PiPoLowerData& data, std::string& error);
