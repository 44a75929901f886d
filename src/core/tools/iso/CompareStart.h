#pragma once

#include "core/tools/testpage/TestPageEvents.h"

#include <optional>

class DriveContext;

// What a disc compare (image or VIDEO_TS) checks on the drive before its
// worker compares: a disc is there (its type shown), the drive is ready and
// tells the disc's size. The current profile when the compare can go on;
// nullopt after telling why it cannot (Start and the drive list are usable
// again then).
std::optional<int> StartDiscCompare(DriveContext& drives, TestPageEvents& events);
