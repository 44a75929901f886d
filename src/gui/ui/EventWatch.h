#pragma once

#include <QEvent>
#include <QObject>

#include <functional>

// Calls `seen` for every event of `type` that `watched` itself receives,
// before the object's own handler, which still gets it. A part of a window
// follows the window's moves or clicks this way; the watch ends when it is
// destroyed.
class EventWatch : public QObject {
    Q_OBJECT

public:
    EventWatch(QObject* watched, QEvent::Type type, std::function<void(QEvent&)> seen);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QObject* m_watched;
    QEvent::Type m_type;
    std::function<void(QEvent&)> m_seen;
};
