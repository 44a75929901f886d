#pragma once

#include <functional>

class QObject;

// Runs a call on a window's thread: at once when called there, else queued
// on the window, in order, and dropped when the window is gone first (a null
// window drops it too).
void RunOnWindowThread(QObject* window, std::function<void()> call);
