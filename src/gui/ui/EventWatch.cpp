#include "gui/ui/EventWatch.h"

EventWatch::EventWatch(QObject* watched, QEvent::Type type, std::function<void(QEvent&)> seen) :
    m_watched(watched), m_type(type), m_seen(std::move(seen))
{
    watched->installEventFilter(this);
}

bool EventWatch::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_watched && event->type() == m_type)
        m_seen(*event);
    return false;
}
