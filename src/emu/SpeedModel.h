#pragma once

#include "emu/Medium.h"

#include <cstdint>

namespace emu {

// How a drive turns the disc while it reads.
enum class Rotation : std::uint8_t {
    // Constant linear velocity at the speed asked for; near the centre the
    // spindle's fastest rotation holds it back (partial CAV).
    Clv,
    // Constant angular velocity: the speed asked for is reached at the outer
    // edge and grows with the radius (no faster than the spindle turns).
    Cav,
    // Constant linear velocity in zones of equal width, one step faster per
    // zone outward: each zone at the speed CAV would give at its inner edge.
    ZonedClv,
};

// The spiral track of one family of 120 mm discs and its 1x rate.
struct TrackGeometry {
    double blocksPerSecond1x = 0;  // user blocks (or CD sectors) a second at 1x
    double kBpsPer1x = 0;  // what SET CD SPEED and SET STREAMING count a 1x as (kB of 1000 bytes)
    double velocity = 0;  // linear velocity at 1x, m/s
    double trackPitch = 0;  // m
    double startRadius = 0;  // m: where block 0 lies
    double outerRadius = 0;  // m: the edge of the data zone
};

// The standards' values; two-layer DVD runs faster at 1x than one layer.
TrackGeometry GeometryOf(MediumFamily family, int layers);

// How a drive reads each family of discs when not asked for CAV, and how
// fast its spindle changes speed (data of a drive preset).
struct ReadRotations {
    Rotation cd = Rotation::Cav;
    Rotation dvd = Rotation::Cav;
    Rotation hdDvd = Rotation::Clv;
    Rotation bd = Rotation::ZonedClv;
    int zones = 4;  // of a zoned CLV
    double spindleRpmPerSecond = 8000;  // spin-up and speed changes
    // The spindle's fastest rotation, one for every family; 0: that of the
    // drive's fastest top read speed at the outer edge.
    double spindleCeilingRpm = 0;

    Rotation For(MediumFamily family) const;
};

// How the drive reads one disc at the speed it was asked for: the closed
// form of its read speed and rotation at every block, and the time reads
// take. Speeds are multiples of the family's 1x.
struct SpinPlan {
    TrackGeometry geometry;
    Rotation rotation = Rotation::Cav;
    double topX = 1;  // the drive's fastest for the family: CAV at the outer edge
    double targetX = 1;  // the speed asked for, at most topX
    int zones = 1;
    // The spindle's fastest rotation; 0: the top speed's at the outer edge.
    double ceilingRpm = 0;
    // Blocks of the first layer on a two-layer disc (opposite track path:
    // the second layer runs from the outside back in); 0 on one layer.
    std::uint64_t layerZeroBlocks = 0;

    double RadiusAt(std::uint64_t lba) const;  // m
    // The fastest read the spindle's ceiling allows at a radius.
    double CeilingSpeedAt(double radius) const;
    double SpeedAt(std::uint64_t lba) const;
    double RpmAt(std::uint64_t lba) const;
    // Reading count blocks from lba with the spindle at speed.
    std::uint64_t TransferMicroseconds(std::uint64_t lba, std::uint64_t count) const;
};

// The rotation of a speed (a multiple of 1x) at a radius.
double RpmOf(const TrackGeometry& geometry, double x, double radius);

// The speed of an SET CD SPEED or SET STREAMING request in kB/s as a
// multiple of 1x: 0 and FFFFh ask for the fastest, anything above it gets it.
double RequestedSpeed(std::uint32_t kBps, const TrackGeometry& geometry, double topX);

}  // namespace emu
