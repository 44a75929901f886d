#pragma once

#include <cstdint>
#include <functional>
#include <string>

class ScanContext;

// The NEC and iHAS scan: one design that differs in the F3h sub-commands it
// sends and in the firmware message.
struct F3SessionCommands {
    std::function<void()> start;  // 01h, then 02h
    // 03h into the reply (the running position for the families that take
    // one): the channel's result.
    std::function<int(std::uint8_t* reply, std::uint64_t runningPosition)> read;
    std::function<void(std::uint64_t lastAccepted)> retry;  // 02h
    std::function<void()> end;  // 0Fh
    std::string firmwareMessage;  // a first read refused at the start of the disc
};

// The read time of the NEC speed box's selection (SET STREAMING), FFFFh for
// the drive's own speed.
std::uint16_t NecStreamingTime(int selection);

// The scan: SET STREAMING from the NEC speed box, the start sub-commands,
// the SEEK to the start, groups of ten counted reads of 128 sectors each,
// spikes against the scale filtered, readings above 2560 retried, graph
// points with root-mean-square averages, the end check; every way out ends
// the session.
void RunF3SessionScan(ScanContext& context, const F3SessionCommands& commands);
