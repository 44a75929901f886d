#pragma once

#include <QPointer>

#include <functional>

class QObject;

// Runs call on the thread of window: at once when called there, otherwise
// queued on the window (and dropped with it); nothing once the window is
// gone. How workers' sinks reach their window.
void CallOnWindowThread(const QPointer<QObject>& window, std::function<void()> call);
