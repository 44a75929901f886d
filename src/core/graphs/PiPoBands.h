#pragma once

#include "core/base/ColorRef.h"

// Progressive colouring: a sample is drawn in the colour of its value's band,
// from green over yellow to red.
// Upper graph (PI): band k holds values up to 8k, bands 1..32.
int UpperBand(int value);
COLORREF UpperBandColor(int band);
// Lower graph (PIF): band k holds values up to 2k, bands 1..17.
int LowerBand(int value);
COLORREF LowerBandColor(int band);
