#pragma once

#include <QElapsedTimer>

// Delivers the window system's pending events at most sixty times a second. Commands yield once
// per record; delivering events for each of a hundred thousand items would cost far more than the
// items, while sixty times a second still repaints a form smoothly and answers every click at once.
class EventDelivery {
public:
    void deliver();

private:
    static constexpr qint64 kIntervalMs = 16;
    QElapsedTimer last_;
};
