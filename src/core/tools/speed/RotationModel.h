#pragma once

// The disc's rotation as the read speed test works it out from the spiral
// track: the radius of a block from the track's area up to it, then the
// revolutions a minute the measured rate needs there.

// block, rate in kB/s, linear velocity in m/s at 1x (its value tells the
// family: 6.61 HD DVD, 4.92 BD, 1.2 CD, any other DVD), path flag (0:
// opposite track path, whose second layer folds back at the layer break),
// last block, track pitch in m and layer-break block.
double CalcRpm(unsigned block, double rate, double velocity, int pathFlag, unsigned lastBlock, double trackPitch,
               unsigned layerBreak);
// The BD case of the same model; the ints are not used.
double CalcBdRpm(unsigned block, double rate, double velocity, int unused, double trackPitch, int unused2, int unused3);
