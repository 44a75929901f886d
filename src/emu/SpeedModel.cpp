#include "emu/SpeedModel.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace emu {

namespace {

constexpr double kDataZoneEdge = 0.058;  // m, of every 120 mm format
constexpr double kBlockBytes = 2048;

}  // namespace

TrackGeometry GeometryOf(MediumFamily family, int layers)
{
    switch (family) {
    case MediumFamily::Cd: return {75, 176.4, 1.2, 1.6e-6, 0.025, kDataZoneEdge};
    case MediumFamily::Dvd:
        return {1385000 / kBlockBytes, 1385, layers > 1 ? 3.84 : 3.49, 0.74e-6, 0.024, kDataZoneEdge};
    case MediumFamily::HdDvd: return {4568000 / kBlockBytes, 4568, 6.61, 0.40e-6, 0.024, kDataZoneEdge};
    case MediumFamily::Bd: return {4500000 / kBlockBytes, 4500, 4.917, 0.32e-6, 0.024, kDataZoneEdge};
    }
    return {};
}

Rotation ReadRotations::For(MediumFamily family) const
{
    switch (family) {
    case MediumFamily::Cd: return cd;
    case MediumFamily::Dvd: return dvd;
    case MediumFamily::HdDvd: return hdDvd;
    case MediumFamily::Bd: return bd;
    }
    return cd;
}

double SpinPlan::RadiusAt(std::uint64_t lba) const
{
    // The track's area up to the block: its length (the time at 1x times the
    // velocity) times the pitch.
    double block = static_cast<double>(lba);
    if (layerZeroBlocks && lba >= layerZeroBlocks)
        block = std::max(0.0, 2.0 * static_cast<double>(layerZeroBlocks) - 1.0 - block);
    const double seconds = block / geometry.blocksPerSecond1x;
    const double area = geometry.velocity * geometry.trackPitch * seconds / std::numbers::pi;
    return std::sqrt(area + geometry.startRadius * geometry.startRadius);
}

double RpmOf(const TrackGeometry& geometry, double x, double radius)
{
    return x * geometry.velocity * 60 / (2 * std::numbers::pi * radius);
}

double SpinPlan::CeilingSpeedAt(double radius) const
{
    const double rpm = ceilingRpm > 0 ? ceilingRpm : RpmOf(geometry, topX, geometry.outerRadius);
    return rpm * 2 * std::numbers::pi * radius / (60 * geometry.velocity);
}

double SpinPlan::SpeedAt(std::uint64_t lba) const
{
    const double radius = RadiusAt(lba);
    const double outer = geometry.outerRadius;
    switch (rotation) {
    case Rotation::Clv: return std::min(targetX, CeilingSpeedAt(radius));
    case Rotation::Cav: return std::min(targetX, CeilingSpeedAt(outer)) * radius / outer;
    case Rotation::ZonedClv: {
        const double width = (outer - geometry.startRadius) / std::max(zones, 1);
        const double zone = std::clamp(std::floor((radius - geometry.startRadius) / width), 0.0,
                                       static_cast<double>(std::max(zones, 1) - 1));
        const double inner = geometry.startRadius + zone * width;
        return std::min(targetX * inner / outer, CeilingSpeedAt(inner));
    }
    }
    return targetX;
}

double SpinPlan::RpmAt(std::uint64_t lba) const
{
    return RpmOf(geometry, SpeedAt(lba), RadiusAt(lba));
}

std::uint64_t SpinPlan::TransferMicroseconds(std::uint64_t lba, std::uint64_t count) const
{
    if (count == 0)
        return 0;
    const double speed = SpeedAt(lba + count / 2);
    return static_cast<std::uint64_t>(
        std::llround(1e6 * static_cast<double>(count) / (speed * geometry.blocksPerSecond1x)));
}

double RequestedSpeed(std::uint32_t kBps, const TrackGeometry& geometry, double topX)
{
    if (kBps == 0 || kBps >= 0xFFFF)
        return topX;
    return std::clamp(kBps / geometry.kBpsPer1x, 0.1, topX);
}

}  // namespace emu
