#pragma once

#include "core/graphs/WriteGraph.h"

#include <cstdint>

// Rotation in RPM at a sector for a constant linear velocity v (m/s) and track
// pitch p (m) at data rate b (KB/s). v = 1.2 is the CD model; otherwise a
// single-layer sector beyond the capacity c (layer mode 1) or a dual-layer
// sector beyond the layer break L (layer mode 0) is folded back.
double CalcRpmFromSector(double sector, double dataRate, double velocity, int layerMode, double capacity,
                         double trackPitch, double layerBreak);

// The rotation of the samples of one medium.
class RotationModel {
public:
    static RotationModel For(GraphMediaClass mediaClass, std::int64_t layerBreak, std::int64_t capacity,
                             double averageSpeed);
    double Rpm(double speed, std::int64_t sector) const;

private:
    bool m_fixed = false;  // BD: no model, one value for every sample
    double m_fixedRpm = 0;
    double m_velocity = 0;
    double m_trackPitch = 0;
    double m_ratePerSpeed = 0;  // KB/s at 1x
    int m_layerMode = 0;
    double m_capacity = 0;
    double m_layerBreak = 0;
};
