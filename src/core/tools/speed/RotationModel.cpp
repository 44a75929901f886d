#include "core/tools/speed/RotationModel.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.1415926;

// Blocks a second at 1x and the radius where block 0 lies.
struct Track {
    double blocksPerSecond;
    double startRadius;
};

Track TrackOf(double velocity)
{
    if (velocity == 6.61)
        return {2230, 0.024};
    if (velocity == 4.92)
        return {2248, 0.024};
    if (velocity == 1.2)
        return {75, 0.025};
    return {676.2695313, 0.024};
}

double Rpm(double block, double rate, double velocity, double trackPitch, const Track& track, double startRadiusSquared)
{
    const double radius = std::sqrt(velocity * trackPitch * (block / track.blocksPerSecond) / kPi + startRadiusSquared);
    return (rate * 0.5 / track.blocksPerSecond) * (velocity * 60) / (6.2831852 * radius);
}

}  // namespace

double CalcRpm(unsigned block, double rate, double velocity, int pathFlag, unsigned, double trackPitch,
               unsigned layerBreak)
{
    const Track track = TrackOf(velocity);
    double position = block;
    const bool foldsBack = velocity != 4.92 && velocity != 1.2;  // the DVD and HD DVD formats
    if (foldsBack && pathFlag == 0 && layerBreak != 0 && block > layerBreak)
        position = std::max(0.0, 2.0 * layerBreak - position);
    return Rpm(position, rate, velocity, trackPitch, track, track.startRadius * track.startRadius);
}

double CalcBdRpm(unsigned block, double rate, double velocity, int, double trackPitch, int, int)
{
    return Rpm(block, rate, velocity, trackPitch, {2248, 0.024}, 0.000576);
}
