// The seam between the practice logic and whatever shows it.
//
// Data flow in core/: a window event reaches a handler of Practice or Contest (named after the
// control and event, e.g. KontroleerClick); the handler reads and writes controls only through
// View, keeps its own state (score, expected powers, saved settings texts, contest state) in
// members, and reads time through Clock and randomness through Random. Nothing here knows Qt.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/color.h"

namespace tolvaro {

// Every control the logic reads or changes, and those the window and its accessibility layer
// address: one list, which makes both the enum and the object names (a control cannot lack its
// name). The rows are four blocks of ten, in row order, so that Row(RowPart, n) can address them.
#define TOLVARO_ROW_CONTROLS(X, part)                                                                  \
    X(Oef1##part) X(Oef2##part) X(Oef3##part) X(Oef4##part) X(Oef5##part) X(Oef6##part) X(Oef7##part) \
    X(Oef8##part) X(Oef9##part) X(Oef10##part)
#define TOLVARO_CONTROLS(X)                                                                            \
    X(Form1) X(Instellingen) X(MaxGrondtal) X(MaxExponent) X(TimerMinuten) X(Reeksteller) X(KlokVenster) \
    X(Startknop) X(OKKnop1) X(Panel1) X(Panel2) X(Panel3) X(Info) X(Kontroleer) X(VolgendeOefening)     \
    X(Label6) X(Label8) X(Label48) X(Label49) X(Label51) X(Help) X(RichEdit1) X(Image1) X(Image3)        \
    X(Image4) X(OKKnop) X(Label42) X(Label43) X(Label44) X(Label45) X(Label46)                         \
    TOLVARO_ROW_CONTROLS(X, Grondtal) TOLVARO_ROW_CONTROLS(X, Exponent) TOLVARO_ROW_CONTROLS(X, Result) \
    TOLVARO_ROW_CONTROLS(X, Kontrol)

enum class Control : int {
#define TOLVARO_CONTROL_VALUE(name) name,
    TOLVARO_CONTROLS(TOLVARO_CONTROL_VALUE)
#undef TOLVARO_CONTROL_VALUE
    Count,
};

inline constexpr int kRows = 10;

enum class RowPart : int { Grondtal = 0, Exponent = 1, Result = 2, Kontrol = 3 };

// The control of part `part` in exercise row `row` (1 to 10).
constexpr Control Row(RowPart part, int row) {
    return static_cast<Control>(static_cast<int>(Control::Oef1Grondtal) + static_cast<int>(part) * kRows +
                                row - 1);
}

static_assert(static_cast<int>(Control::Oef1Kontrol) - static_cast<int>(Control::Oef1Grondtal) == 3 * kRows);

// The object name of a control, e.g. "Oef3Result".
std::string ControlName(Control control);

// Moments the logic tells the window about once their handler has changed the controls, for
// what follows them beyond the controls themselves (what a screen reader says, where the focus
// rests when no control of the logic takes it).
enum class Moment {
    Checked,          // CONTROLEER judged the set
    NextSet,          // VOLGENDE OEFENING drew the next set of the series
    SeriesRestarted,  // a settings field started a new series
    SettingCleared,   // a click emptied a settings field (Practice::SettingField names it)
    SettingRefused,   // a settings field got its saved text back
    SettingKept,      // a settings field was left with its value unchanged
    ActivationDrew,   // an activation after the first replaced the set on screen
    ContestStarted,
    ContestEnded,     // the results are shown
    ContestReset,     // RESET: back to practice
};

class View {
public:
    virtual ~View() = default;

    virtual void SetText(Control control, const std::string& text) = 0;
    virtual std::string Text(Control control) const = 0;
    virtual void SetVisible(Control control, bool visible) = 0;
    virtual bool IsVisible(Control control) const = 0;
    virtual void SetEnabled(Control control, bool enabled) = 0;
    virtual void SetFocus(Control control) = 0;
    virtual void SetFontColor(Control control, Color color) = 0;
    // Lines separated by a carriage return alone; the empty text clears the box.
    virtual void SetHelpText(const std::string& text) = 0;

    virtual void SetTimerEnabled(bool enabled) = 0;
    virtual void SetTimerInterval(int milliseconds) = 0;
    // The next tick comes this many milliseconds from now (within one period), the later ones a
    // period apart from it.
    virtual void SetTimerNextTick(int milliseconds) = 0;

    // The hidden page buffer: cleared, filled line by line, printed as one job.
    virtual void ClearPrintBuffer() = 0;
    virtual void AddPrintLine(const std::string& line) = 0;
    virtual void PrintBuffer(const std::string& jobTitle) = 0;  // throws std::runtime_error on failure
    // The modal printer setup dialog; true when the user confirmed a printer.
    virtual bool ExecutePrinterSetup() = 0;
    // Creates and shows a fresh print options dialog.
    virtual void OpenPrintDialog() = 0;

    virtual void Quit() = 0;

    virtual void Happened(Moment) {}
};

// A clock that never jumps: nanoseconds since an arbitrary fixed point.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::int64_t Now() const = 0;
};

}  // namespace tolvaro
