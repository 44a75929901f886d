#pragma once

#include "core/graphs/PlotStep.h"

#include <QImage>

#include <vector>

// Paints drawing steps into a 32-bit image, only inside clip. Lines leave
// out their end point, as the plots are built to expect; every pixel of a
// line is a function of the line alone, so a strip painted again under a
// clip matches the whole picture painted at once.
void ReplayPlotSteps(QImage& image, const std::vector<PlotStep>& steps, const PlotArea& clip);
