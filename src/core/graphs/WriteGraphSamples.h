#pragma once

#include "core/graphs/WriteGraph.h"
#include "core/graphs/WriteGraphRotation.h"

#include <string>
#include <string_view>
#include <vector>

// Sample lines: speed, sector and a field that is not used, then for the
// write pass optionally buffer and cpu, for the verify pass cpu, all comma
// separated. The section runs from the line after its start marker to a line
// that begins with '[' or has 'E' as its second character, or to the last 24
// characters of the file.

// Appends the write section's samples; raises the Speed Max display to the
// highest speed and the Speed End display to the larger of the last two
// speeds ("%.2fx"). False when the section's start marker is missing.
bool ParseWriteSamples(std::string_view text, const RotationModel& rotation, std::vector<WriteGraphSample>& samples,
                       std::string& speedMax, std::string& speedEnd);

// Appends the verify section's samples. False when its start marker is missing.
bool ParseVerifySamples(std::string_view text, const RotationModel& rotation, std::vector<VerifyGraphSample>& samples);
