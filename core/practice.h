#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/extended.h"
#include "core/random.h"
#include "core/view.h"

namespace tolvaro {

// One drawn exercise: base, exponent and the power in extended precision.
// Before the first draw a row holds 0^1 = 0, as ExpectedPowers holds zeros.
struct Exercise {
    std::int32_t base = 0;
    std::int32_t exponent = 1;
    Extended power = 0;
};

// Exercise sets, the series score, the answer check and the settings fields.
class Practice {
public:
    Practice(View& view, Random& random) : view_(view), random_(random) {}

    // --- Exercise sets and series state
    // Reads both settings and draws base then exponent; throws std::runtime_error (with a Dutch
    // message) when a settings text is not an integer text. Writes no control.
    Exercise DrawValues();
    // Draws into one row's four controls; the exercise's power is the row's expected power.
    Exercise DrawExercise(Control grondtal, Control exponent, Control result, Control kontrol);
    void NewExerciseSet();
    void ShowScore();
    void ResetSeries();

    // --- Answer checking and scoring
    // An answer in plain whole digits is right only when it is exactly base^exponent: the
    // extended values of a wrong whole number and of a power above 2^64 may be equal. Any other
    // answer is right when its extended value equals the power.
    void CheckAnswer(const std::string& answer, Control kontrol, const Exercise& expected);
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
    std::array<Extended, kRows> ExpectedPowers{};
    std::array<Exercise, kRows> RowExercises{};  // the rows' exercises, whose powers these are
    std::int32_t BehaaldePunten = 0;
    std::int32_t VastgelegdePunten = 0;
    std::int32_t MaximumPunten = 0;
    std::int32_t AantalGoed = 0;
    std::array<bool, kRows> RowsRight{};  // the last check's verdict of each row
    std::string SavedMaxGrondtal;
    std::string SavedMaxExponent;
    std::string SavedTimerMinuten;

    // The settings edit the last settings moment is about, and the text saved for it.
    Control SettingField() const { return settingField_; }
    const std::string& Saved(Control edit) { return SavedText(edit); }
    // The set number within the series, held by Reeksteller.
    std::int32_t SetNumber() const;

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
    Control settingField_ = Control::MaxGrondtal;
};

// Remove every character of code 32 or lower from both ends.
std::string TrimControl(std::string_view text);

}  // namespace tolvaro
