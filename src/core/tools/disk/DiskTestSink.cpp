#include "core/tools/disk/DiskTestSink.h"

#include "core/graphs/HddCellMap.h"
#include "core/tools/disk/DiskToolIds.h"

using namespace disktool;

void ResetTestDisplay(HddCellMap& map, DiskTestSink& sink)
{
    map.Reset();
    map.Refresh();
    for (int field : {IDC_TESTINGSECTOR, IDC_SECTORSREMAINING, IDC_AMOUNTTESTED, IDC_AMOUNTREMAINING})
        sink.SetFieldText(field, "0");
    sink.SetFieldText(IDC_AVERAGESPEED, std::string());
}

void ShowTestRunning(DiskTestSink& sink)
{
    sink.EnableControl(IDC_STOPTEST, true);
    sink.EnableControl(IDC_STARTTEST, false);
}
