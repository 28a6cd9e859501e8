// The main window.
//
// Data flow in window/: TForm1 builds every control from the control table, then turns Qt's
// events (clicks, keys, focus in and out, mouse movement, timer ticks) into calls of the core
// handlers of the same names; those read and write the controls back through the View
// operations implemented here. Errors escaping a handler go to the general error report.
#pragma once

#include <QHash>
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
#include "window/ticktimer.h"

class QLabel;
class QTextEdit;

namespace tolvaro {

struct ControlSpec;
class FormAccessibility;

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
    int activationCount() const { return activations_; }
    FormAccessibility* accessibility() const { return accessibility_.get(); }
    // Replaces the message box of the general error report (tests count the reports instead).
    void setErrorReporter(std::function<void(const QString&)> reporter) { errorReporter_ = std::move(reporter); }

    std::array<WorksheetEntry, 30> WorksheetTable;  // the last print job's thirty exercises
    std::string RowSeparator;

signals:
    // Told once the logic's handler is done with the controls.
    void happened(tolvaro::Moment moment);
    void aboutShown(bool shown);
    // A key whose control a click could not reach now (hidden, disabled, under the about panel).
    void keyRefused(QWidget* control);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    struct Handlers {
        std::function<void()> click;
        std::function<void()> enter;
        std::function<void()> exit;
        std::function<void()> enterKey;
        const char* help = nullptr;  // help text shown on mouse movement; "" clears the box
    };

    void Construct();
    void BuildControls();
    QWidget* CreateControl(const ControlSpec& entry, QWidget* parent);
    void WireHandlers();
    void FormCreate();
    void FormActivate();
    void Image1Click();
    void OKKnopClick();
    void Image3Click();
    void Image4Click();
    bool HandleKey(QWidget* widget, int key, Qt::KeyboardModifiers modifiers);
    void ClickByKey(QWidget* control);
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
    QHash<QObject*, Handlers> handlers_;
    QHash<QObject*, const ControlSpec*> specs_;
    QHash<int, QWidget*> keys_;  // the control each key clicks, by the key's combined value
    QTextEdit* help_ = nullptr;
    QTextEdit* richEdit1_ = nullptr;
    QWidget* info_ = nullptr;
    QPointer<QWidget> pressed_;
    QPointer<QWidget> entered_;  // the control whose exit may run next
    QCursor noDropCursor_;
    bool activationPending_ = true;
    bool shownOnce_ = false;
    bool built_ = false;
    bool measuring_ = false;  // labels are sized to their text once the window is up
    int activations_ = 0;
    std::function<void(const QString&)> errorReporter_;
    std::unique_ptr<FormAccessibility> accessibility_;
};

}  // namespace tolvaro
