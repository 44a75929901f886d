#include "gui/ui/CallOnWindowThread.h"

#include <QMetaObject>
#include <QObject>
#include <QThread>

void CallOnWindowThread(const QPointer<QObject>& window, std::function<void()> call)
{
    QObject* target = window.data();
    if (target == nullptr)
        return;
    if (QThread::currentThread() == target->thread()) {
        call();
        return;
    }
    QMetaObject::invokeMethod(target, std::move(call), Qt::QueuedConnection);
}
