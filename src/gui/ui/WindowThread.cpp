#include "gui/ui/WindowThread.h"

#include <QMetaObject>
#include <QObject>
#include <QThread>

bool OnWindowThread(const QObject* window)
{
    return window != nullptr && QThread::currentThread() == window->thread();
}

void RunOnWindowThread(QObject* window, std::function<void()> call)
{
    if (window == nullptr)
        return;
    if (QThread::currentThread() == window->thread()) {
        call();
        return;
    }
    QMetaObject::invokeMethod(window, std::move(call), Qt::QueuedConnection);  // dropped with the window
}
