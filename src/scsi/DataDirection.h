#pragma once

#include <cstdint>

// Which way a command's data moves, numbered as the channel's request block
// has it: out to the drive, in from the drive, or no data phase at all.
enum class DataDirection : std::uint8_t { Out = 0, In = 1, None = 2 };
