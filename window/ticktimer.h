// Timer1: the contest's repeating timer.
#pragma once

#include <QBasicTimer>
#include <QTimer>

namespace tolvaro {

// A precise repeating timer whose ticks come a little before each whole period after its start
// instead of a little after it.
//
// A timer is never early, but often late: Qt's default coarse timers by up to 5 % of the period,
// a precise one by the event loop's waking on whole milliseconds plus the system's own latency,
// a millisecond or two under load. The countdown reads the clock at each tick and drops the rest
// of a second, so a tick that comes even a millisecond late shows one second less: the first
// text of a ten-minute contest would read 0:09:58, and ticks on either side of the second would
// show one second twice and skip the next. Ticking kLeadMs ahead keeps every tick inside the
// second it stands for; the ticks after the first keep that phase (a precise timer does not
// drift), so the lead is taken once.
class TickTimer : public QTimer {
public:
    static constexpr int kLeadMs = 50;

    explicit TickTimer(QObject* parent = nullptr);

    // Starts the timer, or restarts it if it runs: the first timeout comes kLeadMs before one
    // interval from now, the later ones a whole interval apart. stop() stops both.
    void Start();
    // The next timeout comes `milliseconds` from now (at most one interval), the later ones a whole
    // interval apart from it.
    void TickIn(int milliseconds);

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    QBasicTimer next_;  // the one timeout off the interval's beat
};

}  // namespace tolvaro
