#include "core/contest.h"

#include <stdexcept>

#include "core/numbertext.h"

namespace tolvaro {

void Contest::StartknopClick() {
    practice_.NewExerciseSet();
    practice_.ResetSeries();
    view_.SetFocus(Control::Oef1Result);
    const std::int64_t start = clock_.Now();
    const std::string minutesText = view_.Text(Control::TimerMinuten);
    const auto minutes = TextToInt(minutesText);
    if (!minutes) throw std::runtime_error("'" + minutesText + "' is geen geldig geheel getal.");
    ContestEndTime = start + static_cast<std::int64_t>(*minutes) * 60'000 * kMillisecond;
    ShownSeconds = -1;
    view_.SetVisible(Control::Startknop, false);
    view_.SetVisible(Control::KlokVenster, true);
    ContestRunning = true;
    view_.SetTimerEnabled(true);
    view_.SetVisible(Control::OKKnop1, true);
    view_.SetEnabled(Control::Instellingen, false);
    view_.Happened(Moment::ContestStarted);
}

void Contest::Timer1Timer() {
    if (!ContestRunning) return;
    if (!view_.IsVisible(Control::KlokVenster)) {
        // RESET was pressed while the contest ran: stop without results.
        view_.SetTimerEnabled(false);
        ContestRunning = false;
        return;
    }
    // Within one millisecond of the end counts as the end itself, which does not end it yet.
    if (clock_.Now() - ContestEndTime < kMillisecond) {
        const std::int64_t remaining = ContestEndTime - clock_.Now();
        ShownSeconds = WholeSeconds(remaining);
        view_.SetText(Control::KlokVenster, FormatCountdown(remaining));
        // The ticks come a little ahead of each second, so the last one before the end comes just
        // before it, and the next a whole period later would give almost a second more. The tick
        // after it comes just past the end instead, rounded up to the timer's milliseconds.
        const std::int64_t untilEndTick = remaining + kEndTickLate;
        if (untilEndTick < kTickMs * kMillisecond) {
            view_.SetTimerNextTick(static_cast<int>((untilEndTick + kMillisecond - 1) / kMillisecond));
        }
        return;
    }
    ContestEnd();
}

std::int64_t Contest::WholeSeconds(std::int64_t remaining) {
    if (remaining < 0) remaining = 0;
    const std::int64_t milliseconds = (remaining + kMillisecond / 2) / kMillisecond;
    return milliseconds / 1000;
}

std::string Contest::FormatCountdown(std::int64_t remaining) const {
    return countdownFormat_.Format(WholeSeconds(remaining));
}

void Contest::ContestEnd() {
    ContestRunning = false;
    view_.SetTimerEnabled(false);
    // Disabling the panel takes the focus out of an answer edit, which normalises it first.
    view_.SetEnabled(Control::Panel1, false);
    view_.SetVisible(Control::Kontroleer, false);
    practice_.CheckAllAnswers();

    // Empty rows after the last filled-in one were not reached; the ones before it count as made.
    std::int32_t unanswered = 0;
    bool filledSeen = false;
    for (int row = kRows; row >= 1; --row) {
        if (view_.Text(Row(RowPart::Result, row)).empty() && !filledSeen) {
            ++unanswered;
        } else {
            filledSeen = true;
        }
    }

    view_.SetText(Control::Label48, IntToText(practice_.BehaaldePunten));
    practice_.MaximumPunten -= unanswered;
    view_.SetText(Control::Label49, IntToText(practice_.MaximumPunten));
    result_ = {practice_.BehaaldePunten, practice_.MaximumPunten, {}};
    if (practice_.MaximumPunten == 0) {
        // Nothing made: no percentage to compute.
        result_ = {0, 0, "0"};
        view_.SetText(Control::Label48, "0");
        view_.SetText(Control::Label49, "0");
        view_.SetText(Control::Label51, "0");
    } else {
        const Extended percentage = Extended(practice_.BehaaldePunten) / practice_.MaximumPunten * 100;
        std::string text = FloatToText(percentage);
        if (const auto comma = text.find(','); comma != std::string::npos) {
            text += "00000";
            text.resize(comma + 2);  // one digit after the comma, cut rather than rounded
        }
        result_.percentage = text;
        view_.SetText(Control::Label51, text);
    }
    view_.SetVisible(Control::Panel3, true);
    view_.SetVisible(Control::VolgendeOefening, false);
    view_.Happened(Moment::ContestEnded);
}

Contest::State Contest::state() const {
    if (ContestRunning) return view_.IsVisible(Control::KlokVenster) ? State::Running : State::Stopping;
    return view_.IsVisible(Control::Panel3) ? State::Finished : State::Idle;
}

void Contest::OKKnop1Click() {
    view_.SetEnabled(Control::Panel1, true);
    view_.SetVisible(Control::Kontroleer, true);
    view_.SetVisible(Control::KlokVenster, false);
    view_.SetVisible(Control::OKKnop1, false);
    view_.SetText(Control::TimerMinuten, "0");
    view_.SetVisible(Control::Panel3, false);
    practice_.NewExerciseSet();
    practice_.ResetSeries();
    view_.SetEnabled(Control::Instellingen, true);
    view_.Happened(Moment::ContestReset);
}

}  // namespace tolvaro
