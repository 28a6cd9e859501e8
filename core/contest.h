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

    bool ContestRunning = false;
    std::int64_t ContestEndTime = 0;  // clock reading at which the contest ends
    std::int64_t ShownSeconds = -1;   // the seconds left the countdown shows; -1 before its first tick

private:
    void ContestEnd();

    View& view_;
    Practice& practice_;
    const Clock& clock_;
    CountdownFormat countdownFormat_;
};

}  // namespace tolvaro
