#pragma once

#include <QPointer>

#include <functional>
#include <utility>

class QObject;

// Runs a call on a window's thread: at once when called there, else queued
// on the window, in order, and dropped when the window is gone first (a null
// window drops it too).
void RunOnWindowThread(QObject* window, std::function<void()> call);
// Whether the caller runs on the window's thread (false without a window).
bool OnWindowThread(const QObject* window);

// A worker's sink as the worker sees it: each call is handed to the
// window's thread (RunOnWindowThread) and made there on the window's own
// sink. The adapter of each sink overrides its calls with Post.
template <class Sink>
class WindowThreadSink : public Sink {
public:
    WindowThreadSink(QObject* window, Sink& onWindowThread) : m_window(window), m_target(onWindowThread) {}

protected:
    void Post(std::function<void(Sink&)> call)
    {
        RunOnWindowThread(m_window.data(), [target = &m_target, call = std::move(call)] { call(*target); });
    }
    bool OnWindowThread() const { return ::OnWindowThread(m_window.data()); }
    // The window's own sink, for calls made on its thread.
    Sink& Target() { return m_target; }

private:
    QPointer<QObject> m_window;
    Sink& m_target;
};
