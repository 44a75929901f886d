#include "core/tools/testpage/TestResults.h"

#include "core/app/TestPageControls.h"

namespace testpage {

void ResetTestResults(TestPageEvents& events)
{
    events.SetProgress(0);
    for (int field : {kFieldCurrentSpeed, kFieldRemaining, kFieldRead, kFieldLength, kFieldAverageSpeed,
                      kFieldAverageDataRate, kFieldLayerTrackPath})
        events.SetText(field, "-----");
    events.SetText(kFieldElapsedTime, "00:00:00");
    events.SetText(kFieldReadErrors, "0");
}

}  // namespace testpage
