#pragma once

#include "core/tools/testpage/TestPageEvents.h"

namespace testpage {

// The result fields of a test page reset: the second progress bar at 0,
// fields 0, 2 and 5-9 "-----", "Elapsed Time" "00:00:00", field 3 "0".
void ResetTestResults(TestPageEvents& events);

}  // namespace testpage
