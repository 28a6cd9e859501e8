#pragma once

#include <cstdint>
#include <string>

#include "core/countdownformat.h"
#include "core/practice.h"
#include "core/view.h"

namespace tolvaro {

// The timed contest: START, the one-second countdown, the results at the end, and RESET.
//
// The contest is measured on a clock that never jumps, so a change of the wall clock (summer
// time, a time service) neither shortens nor lengthens it, and midnight means nothing to it.
class Contest {
public:
    // Idle; running; stopping (RESET pressed, the next tick stops the timer); finished (the
    // results are shown).
    enum class State { Idle, Running, Stopping, Finished };
    // What the results panel shows once a contest has ended.
    struct Result {
        std::int32_t points = 0;
        std::int32_t made = 0;       // exercises made
        std::string percentage;      // as shown, e.g. "66,6"
    };

    static constexpr std::int64_t kMillisecond = 1'000'000;  // in clock units (nanoseconds)
    static constexpr int kTickMs = 1000;                      // the period of Timer1
    // The tick that ends the contest comes this long after ContestEndTime: past the end test's
    // tolerance of one millisecond, with one more for the timer's rounding to whole milliseconds.
    static constexpr std::int64_t kEndTickLate = 2 * kMillisecond;

    Contest(View& view, Practice& practice, const Clock& clock, CountdownFormat countdownFormat = CountdownFormat())
        : view_(view), practice_(practice), clock_(clock), countdownFormat_(std::move(countdownFormat)) {}

    void StartknopClick();
    void Timer1Timer();
    void OKKnop1Click();

    // The remaining time as hours, minutes and whole seconds in the countdown's format.
    std::string FormatCountdown(std::int64_t remaining) const;
    // The whole seconds of a remaining time, as the countdown shows them.
    static std::int64_t WholeSeconds(std::int64_t remaining);

    State state() const;
    const Result& result() const { return result_; }

    bool ContestRunning = false;
    std::int64_t ContestEndTime = 0;  // clock reading at which the contest ends
    std::int64_t ShownSeconds = -1;   // the seconds left the countdown shows; -1 before its first tick

private:
    void ContestEnd();

    View& view_;
    Practice& practice_;
    const Clock& clock_;
    CountdownFormat countdownFormat_;
    Result result_;
};

}  // namespace tolvaro
