#include "window/ticktimer.h"

#include <QTimerEvent>
#include <algorithm>

namespace tolvaro {

TickTimer::TickTimer(QObject* parent) : QTimer(parent) { setTimerType(Qt::PreciseTimer); }

void TickTimer::Start() {
    start();
    first_.start(std::max(0, interval() - kLeadMs), Qt::PreciseTimer, this);
}

void TickTimer::timerEvent(QTimerEvent* event) {
    if (event->timerId() != first_.timerId()) {
        QTimer::timerEvent(event);
        return;
    }
    first_.stop();
    if (!isActive()) return;  // stopped before its first tick
    // Restarted from this moment, the repeating timer keeps the lead; the tick itself is this one.
    start();
    QTimerEvent tick(timerId());
    QTimer::timerEvent(&tick);
}

}  // namespace tolvaro
