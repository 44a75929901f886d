#pragma once

#include <functional>

// The simple beep (type 0xFFFFFFFF) and the system's sound types.
constexpr unsigned MB_SIMPLEBEEP = 0xFFFFFFFFu;

void MessageBeep(unsigned type = MB_SIMPLEBEEP);

// Tests: while set, beeps go to the hook instead of the speaker.
void SetBeepHook(std::function<void(unsigned)> hook);
