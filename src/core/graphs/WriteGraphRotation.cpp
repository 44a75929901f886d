#include "core/graphs/WriteGraphRotation.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kCdVelocity = 1.2;

}  // namespace

double CalcRpmFromSector(double sector, double dataRate, double velocity, int layerMode, double capacity,
                         double trackPitch, double layerBreak)
{
    double sectorsPerSecond = 676.2695313;
    double innerRadius = 0.024;
    if (velocity == kCdVelocity) {
        sectorsPerSecond = 75;
        innerRadius = 0.025;
    } else if (layerMode == 1 && sector > capacity) {
        sector -= capacity;
    } else if (layerMode == 0 && sector > layerBreak) {
        sector = 2 * layerBreak - sector;
    }
    // A sector below 0 (bad data, or folded past the start) sits at the inner radius.
    sector = std::max(sector, 0.0);
    const double radius = std::sqrt(velocity * trackPitch * (sector / sectorsPerSecond) / 3.1415926
                                    + innerRadius * innerRadius);
    return (dataRate * 0.5 / sectorsPerSecond) * (velocity * 60) / (radius * 6.2831852);
}

RotationModel RotationModel::For(GraphMediaClass mediaClass, std::int64_t layerBreak, std::int64_t capacity,
                                 double averageSpeed)
{
    RotationModel model;
    model.m_layerMode = layerBreak == 0 ? 1 : 0;
    model.m_capacity = static_cast<double>(capacity);
    model.m_layerBreak = static_cast<double>(layerBreak);
    switch (mediaClass) {
    case GraphMediaClass::Bd:
        model.m_fixed = true;
        model.m_fixedRpm = averageSpeed * 833.33;
        break;
    case GraphMediaClass::Cd:
        model.m_velocity = kCdVelocity;
        model.m_trackPitch = 1.6e-6;
        model.m_ratePerSpeed = 150;
        break;
    case GraphMediaClass::HdDvd:
        model.m_velocity = 6.61;
        model.m_trackPitch = 4e-7;
        model.m_ratePerSpeed = 4462;
        break;
    case GraphMediaClass::Dvd:
        model.m_velocity = layerBreak < 1 ? 3.49 : 3.84;
        model.m_trackPitch = layerBreak < 1 ? 7.4e-7 : 8e-7;
        model.m_ratePerSpeed = 1385;
        break;
    }
    return model;
}

double RotationModel::Rpm(double speed, std::int64_t sector) const
{
    if (m_fixed)
        return m_fixedRpm;
    if (!(speed > 0))
        return 0;
    return CalcRpmFromSector(static_cast<double>(sector), speed * m_ratePerSpeed, m_velocity, m_layerMode, m_capacity,
                             m_trackPitch, m_layerBreak);
}
