// The main window.
//
// Data flow in window/: TForm1 builds every control from its row of the control table and
// connects the control's signals (clicked, entered, left, Enter pressed) and its key (a QShortcut)
// to the handlers the row names, once; those are the core's handlers of the same names, which
// read and write the controls back through the View operations implemented here. Errors escaping
// a handler go to the general error report. The window tells what happened through its signals;
// the accessibility layer (window/accessibility/) is made beside it and listens.
#pragma once

#include <QHash>
#include <QKeySequence>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "core/contest.h"
#include "core/practice.h"
#include "core/random.h"
#include "core/view.h"
#include "print/printer.h"
#include "print/printflags.h"
#include "print/worksheet.h"
#include "window/controltable.h"
#include "window/ticktimer.h"

class QLabel;
class QTextEdit;

namespace tolvaro {

class TForm1 : public QWidget, public View {
    Q_OBJECT

public:
    // When the controls are built: at once, or when the window is first shown, so that the
    // window appears before the fonts and the controls are loaded (the program's start-up).
    enum class Build { Now, AfterShow };
    // In the layout's pixels; the window is drawn at the screen's scale.
    static constexpr QSize kClientSize{809, 646};

    // The clock measures contests; tests pass a fake one.
    explicit TForm1(const Clock& clock, QWidget* parent = nullptr, Build build = Build::Now);
    ~TForm1() override;

    // View
    void SetText(Control control, const std::string& text) override;
    std::string Text(Control control) const override;
    void SetVisible(Control control, bool visible) override;
    bool IsVisible(Control control) const override;
    void SetEnabled(Control control, bool enabled) override;
    void SetFocus(Control control) override;
    void SetFontColor(Control control, Color color) override;
    void SetHelpText(const std::string& text) override;
    void SetTimerEnabled(bool enabled) override;
    void SetTimerInterval(int milliseconds) override;
    void SetTimerNextTick(int milliseconds) override;
    void ClearPrintBuffer() override;
    void AddPrintLine(const std::string& line) override;
    void PrintBuffer(const std::string& jobTitle) override;
    bool ExecutePrinterSetup() override;
    void OpenPrintDialog() override;
    void Quit() override;
    void Happened(Moment moment) override;

    // The print options dialog hands the focus back: the next activation is due.
    void ReturnFromPrintDialog();

    Practice& practice() { return practice_; }
    Contest& contest() { return contest_; }
    PrintFlags& printFlags() { return printFlags_; }
    Printer& printer() { return printer_; }
    QTimer& timer1() { return timer1_; }
    QWidget* widget(Control control) const { return widgets_[static_cast<int>(control)]; }
    // The row a control was made from; none for the window and the widgets Qt makes inside controls.
    const ControlSpec* rowOf(const QWidget* control) const { return rowOf_.value(control); }
    bool isBuilt() const { return built_; }
    int activationCount() const { return activations_; }
    // Replaces the message box of the general error report (tests count the reports instead).
    void setErrorReporter(std::function<void(const QString&)> reporter) { errorReporter_ = std::move(reporter); }

    std::array<WorksheetEntry, 30> WorksheetTable;  // the last print job's thirty exercises
    std::string RowSeparator;

    // Handlers of the window itself.
    void Image1Click();
    void OKKnopClick();
    void Image3Click();
    void Image4Click();

signals:
    // The controls are made and wired (at once, or when the window is first shown).
    void built();
    // A view operation set a control's text.
    void textChanged(tolvaro::Control control);
    // Told once the logic's handler is done with the controls.
    void happened(tolvaro::Moment moment);
    void aboutShown(bool shown);
    // A key whose control a click could not reach now (hidden, disabled, under the about panel).
    void keyRefused(QWidget* control);
    // A key's click of the control begins (true) or is done (false).
    void keyClick(QWidget* control, bool started);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Construct();
    void BuildControls();
    void Connect(const ControlSpec& entry, QWidget* widget);
    void AddKey(const QKeySequence& key, QWidget* control);
    void FormCreate();
    void FormActivate();
    bool PressAboutOk();
    void EnterKey(Handler handler, Control control);
    void EscapeKey();
    void ClickByKey(QWidget* control);
    void ClickReachable(QWidget* control);
    bool Reachable(const QWidget* control) const;
    void AdjustAutoSize(QLabel* label);
    void Run(const std::function<void()>& handler);
    void ReportError(const QString& message);

    Random random_;
    Practice practice_;
    Contest contest_;
    PrintFlags printFlags_;
    Printer printer_;
    TickTimer timer1_;
    std::array<QWidget*, static_cast<int>(Control::Count)> widgets_{};
    QHash<const QObject*, const ControlSpec*> rowOf_;
    QTextEdit* help_ = nullptr;
    QTextEdit* richEdit1_ = nullptr;
    QWidget* info_ = nullptr;
    QCursor noDropCursor_;
    bool activationPending_ = true;
    bool shownOnce_ = false;
    bool built_ = false;
    bool measuring_ = false;  // labels are sized to their text once the window is up
    int activations_ = 0;
    std::function<void(const QString&)> errorReporter_;
};

}  // namespace tolvaro
