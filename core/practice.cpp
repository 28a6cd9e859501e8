#include "core/practice.h"

#include <stdexcept>

#include "core/numbertext.h"
#include "core/power.h"

namespace tolvaro {

namespace {

constexpr char kEnter = 13;

std::int32_t SettingValue(const View& view, Control edit) {
    const std::string text = view.Text(edit);
    const auto value = TextToInt(text);
    if (!value) throw std::runtime_error("'" + text + "' is geen geldig geheel getal.");
    return *value;
}

std::string ReadAsComma(std::string text) {
    if (const auto dot = text.find('.'); dot != std::string::npos) text[dot] = ',';
    return text;
}

}  // namespace

std::string TrimControl(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && static_cast<unsigned char>(text[begin]) <= 32) ++begin;
    while (end > begin && static_cast<unsigned char>(text[end - 1]) <= 32) --end;
    return std::string(text.substr(begin, end - begin));
}

// ---------------------------------------------------------------- exercise sets and series state

Exercise Practice::DrawValues() {
    Exercise exercise;
    // A draw from no values (settings of 0 or below) gives 0: bases become 1, exponents 2.
    const std::int32_t g = SettingValue(view_, Control::MaxGrondtal);
    exercise.base = 1 + random_.Draw(g);
    const std::int32_t e = SettingValue(view_, Control::MaxExponent);
    exercise.exponent = 2 + random_.Draw(e > INT32_MIN ? e - 1 : 0);
    exercise.power = Power(exercise.base, exercise.exponent);
    return exercise;
}

Exercise Practice::DrawExercise(Control grondtal, Control exponent, Control result, Control kontrol) {
    const Exercise exercise = DrawValues();
    view_.SetText(grondtal, FloatToText(exercise.base));
    view_.SetText(exponent, IntToText(exercise.exponent));
    view_.SetText(result, "");
    view_.SetText(kontrol, "");
    return exercise;
}

void Practice::NewExerciseSet() {
    view_.SetVisible(Control::VolgendeOefening, false);
    for (int row = 1; row <= kRows; ++row) {
        RowExercises[row - 1] = DrawExercise(Row(RowPart::Grondtal, row), Row(RowPart::Exponent, row),
                                             Row(RowPart::Result, row), Row(RowPart::Kontrol, row));
        ExpectedPowers[row - 1] = RowExercises[row - 1].power;
    }
    view_.SetFocus(Control::Oef1Result);
    ShowScore();
}

void Practice::ShowScore() {
    view_.SetText(Control::Label6, IntToText(BehaaldePunten));
    view_.SetText(Control::Label8, IntToText(MaximumPunten));
}

std::int32_t Practice::SetNumber() const { return SettingValue(view_, Control::Reeksteller); }

void Practice::ResetSeries() {
    view_.SetText(Control::Reeksteller, "1");
    BehaaldePunten = 0;
    MaximumPunten = 10;
    VastgelegdePunten = 0;
    ShowScore();
}

// ---------------------------------------------------------------- answer checking and scoring

void Practice::CheckAnswer(const std::string& answer, Control kontrol, const Exercise& expected) {
    const std::string trimmed = TrimControl(answer);
    bool right = false;
    if (const auto exact = IsExactPowerText(trimmed, expected.base, expected.exponent)) {
        right = *exact;
    } else if (!IsNotNumber(trimmed)) {
        const auto value = TextToFloat(ReadAsComma(trimmed));
        right = value && *value == expected.power;
    }
    if (right) {
        view_.SetText(kontrol, "GOED");
        view_.SetFontColor(kontrol, Color::clGreen);
        ++AantalGoed;
    } else {
        view_.SetText(kontrol, "FOUT");
        view_.SetFontColor(kontrol, Color::clRed);
    }
}

void Practice::CheckAllAnswers() {
    BehaaldePunten = VastgelegdePunten;
    AantalGoed = 0;
    for (int row = 1; row <= kRows; ++row) {
        const std::int32_t rightBefore = AantalGoed;
        CheckAnswer(view_.Text(Row(RowPart::Result, row)), Row(RowPart::Kontrol, row), RowExercises[row - 1]);
        RowsRight[row - 1] = AantalGoed > rightBefore;
    }
    BehaaldePunten += AantalGoed;
    ShowScore();
    view_.SetVisible(Control::VolgendeOefening, true);
}

void Practice::KontroleerClick() {
    CheckAllAnswers();
    view_.Happened(Moment::Checked);
}

void Practice::VolgendeOefeningClick() {
    VastgelegdePunten = BehaaldePunten;
    const std::int32_t n = SettingValue(view_, Control::Reeksteller) + 1;
    view_.SetText(Control::Reeksteller, IntToText(n));
    MaximumPunten = 10 * n;
    NewExerciseSet();
    view_.Happened(Moment::NextSet);
}

void Practice::MaxGrondtalEnter() { view_.SetVisible(Control::VolgendeOefening, false); }

void Practice::ResultClick(int row) { view_.SetText(Row(RowPart::Result, row), ""); }

void Practice::ResultKeyPress(int row, char key) {
    if (key != kEnter) return;
    view_.SetFocus(Row(RowPart::Result, row % kRows + 1));
}

void Practice::ResultExit(int row) {
    const Control edit = Row(RowPart::Result, row);
    const std::string text = TrimControl(ReadAsComma(view_.Text(edit)));
    view_.SetText(edit, text);
    if (!TextToFloat(text)) view_.SetText(edit, "");
}

// ---------------------------------------------------------------- settings fields

void Practice::SettingClick(Control edit, std::string& saved) {
    // Only an integer text is saved, so that leaving the field empty always brings back the
    // last valid value, even after a second click into the emptied field.
    const std::string text = view_.Text(edit);
    if (!IsNotInteger(text)) saved = text;
    view_.SetText(edit, "");
    view_.SetFocus(edit);
    settingField_ = edit;
    view_.Happened(Moment::SettingCleared);
}

std::string& Practice::SavedText(Control edit) {
    if (edit == Control::MaxExponent) return SavedMaxExponent;
    if (edit == Control::TimerMinuten) return SavedTimerMinuten;
    return SavedMaxGrondtal;
}

void Practice::SettingEntered(Control edit) {
    const std::string text = view_.Text(edit);
    if (!IsNotInteger(text)) SavedText(edit) = text;
}

void Practice::SettingKeyPress(Control edit, const std::string& saved, char key) {
    if (key != kEnter) return;
    const std::string text = TrimControl(view_.Text(edit));
    const bool refused = IsNotInteger(text);
    view_.SetText(edit, refused ? saved : text);
    if (refused) {
        settingField_ = edit;
        view_.Happened(Moment::SettingRefused);
    }
    view_.SetFocus(Control::Oef1Result);
}

bool Practice::SettleSetting(Control edit, const std::string& saved) {
    const std::string text = TrimControl(view_.Text(edit));
    view_.SetText(edit, text);
    settingField_ = edit;
    if (IsNotInteger(text)) {
        view_.SetText(edit, saved);
        view_.Happened(Moment::SettingRefused);
        return false;
    }
    return true;
}

void Practice::MaxGrondtalClick() { SettingClick(Control::MaxGrondtal, SavedMaxGrondtal); }
void Practice::MaxExponentClick() { SettingClick(Control::MaxExponent, SavedMaxExponent); }
void Practice::TimerMinutenClick() { SettingClick(Control::TimerMinuten, SavedTimerMinuten); }

void Practice::MaxGrondtalKeyPress(char key) { SettingKeyPress(Control::MaxGrondtal, SavedMaxGrondtal, key); }
void Practice::MaxExponentKeyPress(char key) { SettingKeyPress(Control::MaxExponent, SavedMaxExponent, key); }
void Practice::TimerMinutenKeyPress(char key) { SettingKeyPress(Control::TimerMinuten, SavedTimerMinuten, key); }

void Practice::TimerMinutenEnter() { view_.SetVisible(Control::VolgendeOefening, false); }

void Practice::LimitExit(Control edit, const std::string& saved) {
    // Compared as texts: "05" or "+5" after "5" is a change, a trimmed " 5" is not.
    if (!SettleSetting(edit, saved)) return;
    if (view_.Text(edit) == saved) {
        view_.Happened(Moment::SettingKept);
        return;
    }
    NewExerciseSet();
    ResetSeries();
    view_.Happened(Moment::SeriesRestarted);
}

void Practice::MaxGrondtalExit() { LimitExit(Control::MaxGrondtal, SavedMaxGrondtal); }
void Practice::MaxExponentExit() { LimitExit(Control::MaxExponent, SavedMaxExponent); }

void Practice::TimerMinutenExit() {
    if (!SettleSetting(Control::TimerMinuten, SavedTimerMinuten)) return;
    NewExerciseSet();
    ResetSeries();
    view_.SetVisible(Control::Startknop, SettingValue(view_, Control::TimerMinuten) > 0);
    view_.Happened(Moment::SeriesRestarted);
}

}  // namespace tolvaro
