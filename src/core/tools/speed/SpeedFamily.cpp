#include "core/tools/speed/SpeedFamily.h"

#include "core/tools/testpage/DiscFacts.h"

#include <cstdlib>

namespace {

constexpr double kBlocksPerGigabyte = 524288.0;
// The 1x of DVD (1,385,000 bytes a second) and BD (4,500,000) in kB of 1024 bytes.
constexpr double kDvd1x = 1385000.0 / 1024;
constexpr double kBd1x = 4500000.0 / 1024;

constexpr AxisTexts kTensOfX = {"90x", "80x", "70x", "60x", "50x", "40x", "30x", "20x", "10x"};
constexpr AxisTexts kEvenX = {"18x", "16x", "14x", "12x", "10x", "8x", "6x", "4x", "2x"};
constexpr AxisTexts kOnesOfX = {"9x", "8x", "7x", "6x", "5x", "4x", "3x", "2x", "1x"};
constexpr AxisTexts kEvenK = {"18k", "16k", "14k", "12k", "10k", "8k", "6k", "4k", "2k"};
constexpr AxisTexts kOnesOfK = {"9k", "8k", "7k", "6k", "5k", "4k", "3k", "2k", "1k"};

// clang-format off
const SpeedFamilyFacts kFacts[] = {
    // kB/s  cap  y/x  rpm  velocity pitch    B1-B4 and their two-layer texts
    {150,  0,   4,  50, 1.2,  1.6e-6,  {"200MB", "400MB", "600MB", "800MB"}, {"200MB", "400MB", "600MB", "800MB"},
     kTensOfX, kEvenK, 176},
    {150,  0,   4,  50, 1.2,  1.6e-6,  {"0.4GB", "0.8GB", "1.2GB", "1.6GB"}, {"0.4GB", "0.8GB", "1.2GB", "1.6GB"},
     kTensOfX, kEvenK, 176},
    {kDvd1x, 24, 20, 50, 3.49, 7.4e-7,  {" 1GB ", " 2GB ", " 3GB ", " 4GB "}, {" 2GB ", " 4GB ", " 6GB ", " 8GB "},
     kEvenX, kEvenK, 1385},
    {4462, 0,   40, 50, 6.61, 4e-7,    {" 4GB ", " 8GB ", " 12GB ", " 16GB "}, {" 8GB ", " 16GB ", " 24GB ", " 32GB "},
     kOnesOfX, kEvenK, 4568},
    {kBd1x, 12,  40, 25, 4.92, 3.2e-7,  {" 6GB ", " 12GB ", " 18GB ", " 24GB "}, {" 12GB ", " 24GB ", " 36GB ", " 48GB "},
     kOnesOfX, kOnesOfK, 4496},
};
// clang-format on

double Gigabytes(std::int64_t blocks)
{
    return static_cast<double>(blocks) / kBlocksPerGigabyte;
}

}  // namespace

const AxisTexts kFastDvdSpeedLabels = {"36x", "32x", "28x", "24x", "20x", "16x", "12x", "8x", "4x"};
const AxisTexts kFastHdDvdSpeedLabels = kEvenX;
const AxisTexts kFastBdSpeedLabels = kEvenX;

SpeedFamily SpeedFamilyOf(int profile)
{
    if (profile::IsCdProfile(profile))
        return SpeedFamily::Cd;
    if (profile::IsDdcdProfile(profile))
        return SpeedFamily::Ddcd;
    if (profile::IsHdDvdProfile(profile))
        return SpeedFamily::HdDvd;
    if (profile::IsBdProfile(profile))
        return SpeedFamily::Bd;
    return SpeedFamily::Dvd;
}

bool IsCdFamily(SpeedFamily family)
{
    return family == SpeedFamily::Cd || family == SpeedFamily::Ddcd;
}

const SpeedFamilyFacts& FactsOf(SpeedFamily family)
{
    return kFacts[static_cast<int>(family)];
}

double CapacityLineX(SpeedFamily family, std::int64_t last, double layerFactor)
{
    switch (family) {
    case SpeedFamily::Cd: return static_cast<double>(last / 930);
    case SpeedFamily::Ddcd: return static_cast<double>(last / 1860);
    case SpeedFamily::Dvd: return Gigabytes(last) * 100 / layerFactor;
    case SpeedFamily::HdDvd: return Gigabytes(last) * 25 / layerFactor;
    case SpeedFamily::Bd: return Gigabytes(last) * 16.66666 / layerFactor;
    }
    return 0;
}

int PointX(SpeedFamily family, std::int64_t block, double layerFactor)
{
    switch (family) {
    case SpeedFamily::Cd: return static_cast<int>((block + 1) / 930);
    case SpeedFamily::Ddcd: return static_cast<int>((block + 1) / 1860);
    case SpeedFamily::Dvd: return static_cast<int>(Gigabytes(block + 1) * 100 / layerFactor);
    case SpeedFamily::HdDvd: return static_cast<int>(Gigabytes(block + 1) * 25 / layerFactor);
    case SpeedFamily::Bd: return static_cast<int>(16.6666 / layerFactor) * static_cast<int>(block >> 19);
    }
    return 0;
}

std::vector<std::string> SpeedListFor(int profile)
{
    std::vector<std::string> list = {"MAX"};
    const auto countDown = [&list](int from, int to, int step) {
        for (int x = from; x >= to; x -= step)
            list.push_back(std::to_string(x) + "x");
    };
    switch (SpeedFamilyOf(profile)) {
    case SpeedFamily::Cd:
    case SpeedFamily::Ddcd:
        countDown(80, 10, 10);
        countDown(9, 1, 1);
        break;
    case SpeedFamily::Bd: countDown(9, 1, 1); break;
    case SpeedFamily::HdDvd: countDown(18, 1, 1); break;
    case SpeedFamily::Dvd: countDown(20, 1, 1); break;
    }
    return list;
}

int SpeedOfEntry(const std::string& entry)
{
    return std::atoi(entry.c_str());
}

std::vector<std::string> PreSpinList()
{
    std::vector<std::string> list = {"No Prespin", "1 Second"};
    for (int seconds = 2; seconds <= 10; ++seconds)
        list.push_back(std::to_string(seconds) + " Seconds");
    return list;
}

CapacityTexts PageCapacityLabels(int profile)
{
    if (profile::IsHdDvdProfile(profile))
        return {"4GB", "8GB", "12GB", "16GB"};
    if (profile::IsBdProfile(profile))
        return {"6GB", "12GB", "18GB", "24GB"};
    return {"1GB", "2GB", "3GB", "4GB"};
}
