#pragma once

#include <cstddef>

// The program's short names for a failed command's sense key and for its
// additional sense code (ASC) with qualifier (ASCQ).

// An empty text for a key outside 0-15.
const char* GetSenseKeyText(int senseKey);
// An empty text for a pair that is not listed.
const char* GetAscAscqText(int asc, int ascq);

// One row of the ASC/ASCQ table; anyQualifier rows name every ASCQ of their ASC.
struct AscAscqText {
    int asc;
    int ascq;
    bool anyQualifier;
    const char* text;
};

constexpr std::size_t kSenseKeyTextCount = 16;
// The table in the order it is searched.
const AscAscqText* AscAscqTexts(std::size_t& count);
