#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// The listings of what a drive reports about itself, as report lines: its
// profiles and features (GET CONFIGURATION) and its mode pages (MODE
// SENSE(10)). Each reader takes the whole buffer the answer was read into and
// reads only what lies inside it.

// Names as the listings print them; null for a number without one.
const char* ProfileListingName(int profile);
const char* FeatureListingName(int feature);
// Every page code from 01h to 3Fh has a name.
const char* ModePageListingName(int page);

// The title and one line per profile of an answer from feature 0 on; empty
// when the answer is too short to hold a profile list.
std::vector<std::string> ProfileListingLines(std::span<const std::uint8_t> answer);
// The title and one line per feature descriptor of an answer (two for the
// DVD+R and DVD+RW features of a drive that writes them).
std::vector<std::string> FeatureListingLines(std::span<const std::uint8_t> answer);
// The title and one line per mode page that starts within the first 248
// bytes of the answer; lightScribePages counts the pages 31h and 32h.
std::vector<std::string> ModePageListingLines(std::span<const std::uint8_t> answer, int& lightScribePages);
