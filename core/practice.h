#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/random.h"
#include "core/view.h"

namespace tolvaro {

// One drawn exercise: base, exponent and the power in extended precision.
struct Exercise {
    std::int32_t base = 1;
    std::int32_t exponent = 2;
    long double power = 1.0L;
};

// Exercise sets, the series score, the answer check and the settings fields.
class Practice {
public:
    Practice(View& view, Random& random) : view_(view), random_(random) {}

    // --- Exercise sets and series state
    // Reads both settings and draws base then exponent; throws std::runtime_error (with a Dutch
    // message) when a settings text is not an integer text. Writes no control.
    Exercise DrawValues();
    long double DrawExercise(Control grondtal, Control exponent, Control result, Control kontrol);
    void NewExerciseSet();
    void ShowScore();
    void ResetSeries();

    // --- Answer checking and scoring
    void CheckAnswer(const std::string& answer, Control kontrol, long double expected);
    void CheckAllAnswers();
    void KontroleerClick();
    void VolgendeOefeningClick();
    void MaxGrondtalEnter();  // focus enters an answer edit, MaxGrondtal or MaxExponent
    void ResultClick(int row);
    void ResultKeyPress(int row, char key);
    void ResultExit(int row);

    // --- Settings fields
    void MaxGrondtalClick();
    void MaxGrondtalKeyPress(char key);
    void MaxGrondtalExit();
    void MaxExponentClick();
    void MaxExponentKeyPress(char key);
    void MaxExponentExit();
    void TimerMinutenClick();
    void TimerMinutenEnter();
    void TimerMinutenKeyPress(char key);
    void TimerMinutenExit();
    // The focus entered a settings edit: its text is remembered like a click does, so a field
    // entered without a click (a press released beside it) still has a value to fall back to.
    void SettingEntered(Control edit);

    // Module state, readable by the contest, the window and the tests.
    std::array<long double, kRows> ExpectedPowers{};
    std::int32_t BehaaldePunten = 0;
    std::int32_t VastgelegdePunten = 0;
    std::int32_t MaximumPunten = 0;
    std::int32_t AantalGoed = 0;
    std::array<bool, kRows> RowsRight{};  // the last check's verdict of each row
    std::string SavedMaxGrondtal;
    std::string SavedMaxExponent;
    std::string SavedTimerMinuten;

    View& view() { return view_; }
    Random& random() { return random_; }

private:
    std::string& SavedText(Control edit);
    void SettingClick(Control edit, std::string& saved);
    void SettingKeyPress(Control edit, const std::string& saved, char key);
    // Trims the edit and puts the saved text back when it is not an integer; false then.
    bool SettleSetting(Control edit, const std::string& saved);
    // Leaving the largest base or exponent: a changed valid text starts a new set and series.
    void LimitExit(Control edit, const std::string& saved);

    View& view_;
    Random& random_;
};

// Remove every character of code 32 or lower from both ends.
std::string TrimControl(std::string_view text);

}  // namespace tolvaro
