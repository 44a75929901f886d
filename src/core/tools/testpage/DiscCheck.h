#pragma once

#include <string>

class DriveContext;

namespace testpage {

// What Start finds out about the disc before a test's worker begins.
struct DiscForTest {
    bool present = false;
    std::string typeName;
    bool ready = true;
    bool capacityRead = false;  // READ CAPACITY, into the data buffer
    int profile = 0;
};

// With readySeconds above 0 the drive is sent to block 0 (SEEK) and given
// that long to become ready before its capacity is read.
DiscForTest CheckDiscForTest(DriveContext& drives, int readySeconds = 0);

}  // namespace testpage
