#include "core/graphs/WriteGraphRotation.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(CalcRpmFromSector, FollowsTheRadiusOfTheSector)
{
    struct Case {
        const char* name;
        double sector, dataRate, velocity;
        int layerMode;
        double capacity, trackPitch, layerBreak;
        double rpm;
    };
    const Case cases[] = {
        {"DVD 1x at the start", 0, 1385, 3.49, 1, 2295104, 7.4e-7, 0, 1421.9539477},
        {"DVD 16x outside", 2000000, 1385 * 16, 3.49, 1, 2295104, 7.4e-7, 0, 9957.1925482},
        {"past the capacity starts again", 2295104 + 5000, 1385, 3.49, 1, 2295104, 7.4e-7, 0, 1414.5105706},
        {"second layer folds back", 2086912 + 1000, 1385 * 8, 3.84, 0, 4173824, 8e-7, 2086912, 5012.0755037},
        {"first layer", 2086912 - 1000, 1385 * 8, 3.84, 0, 4173824, 8e-7, 2086912, 5012.0755037},
        {"CD", 300000, 150 * 48, 1.2, 1, 359847, 1.6e-6, 0, 9927.7668014},
        {"CD does not fold", 400000, 150, 1.2, 0, 359847, 1.6e-6, 1, 183.8592345},
        {"HD DVD", 100000, 4462 * 2, 6.61, 1, 7341056, 4e-7, 0, 15735.9983931},
        {"folded below the start", 9000000, 1385, 3.84, 0, 4173824, 8e-7, 2086912, 1564.5567791},
        {"negative sector", -500000, 1385, 3.49, 1, 2295104, 7.4e-7, 0, 1421.9539477},
    };
    for (const Case& c : cases) {
        const double rpm = CalcRpmFromSector(c.sector, c.dataRate, c.velocity, c.layerMode, c.capacity, c.trackPitch,
                                             c.layerBreak);
        EXPECT_NEAR(rpm, c.rpm, 1e-6) << c.name;
    }
}
