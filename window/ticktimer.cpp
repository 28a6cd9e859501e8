#include "window/ticktimer.h"

#include <QTimerEvent>
#include <algorithm>

namespace tolvaro {

TickTimer::TickTimer(QObject* parent) : QTimer(parent) { setTimerType(Qt::PreciseTimer); }

void TickTimer::Start() { TickIn(interval() - kLeadMs); }

void TickTimer::TickIn(int milliseconds) {
    start();
    next_.start(std::max(0, milliseconds), Qt::PreciseTimer, this);
}

void TickTimer::timerEvent(QTimerEvent* event) {
    if (event->timerId() != next_.timerId()) {
        QTimer::timerEvent(event);
        return;
    }
    next_.stop();
    if (!isActive()) return;  // stopped before this tick
    // Restarted from this moment, the repeating timer keeps this beat; the tick itself is this one.
    start();
    QTimerEvent tick(timerId());
    QTimer::timerEvent(&tick);
}

}  // namespace tolvaro
