// What assistive tools (screen readers over AT-SPI) are told about the main window, by the
// accessibility layer made beside it at start-up: it listens to what the window tells (the texts
// the view sets, what has happened, a key that cannot act) and asks the logic for the values it
// says. Labels and buttons are read by their visible text, controls without a caption by the Dutch
// name in their row of the control table; a control's help text and key are its description, and
// its key is the key binding of its action.
//
// Each answer field reads its row's exercise ("5 tot de macht 2") and the verdict beside it.
// What the window tells it has happened (a check, a new set or series, a contest's start and end,
// the about panel) is said unasked, through a notification that appears; so is a key that cannot
// act. The contest's results stay readable on the panel that shows them. What a panel covers is
// not showing to assistive tools. Whatever is only for assistive tools waits until one is active.
#pragma once

#include <QAccessible>
#include <QObject>
#include <QString>
#include <QTimer>
#include <string_view>

#include "core/view.h"
#include "window/accessibility/focushold.h"

class QWidget;

namespace tolvaro {

class TForm1;

// A help text (lines joined by carriage returns) and a key's name as an accessible description:
// the lines joined by line feeds, without the empty first line some texts start with, then
// "Sneltoets: <key>." when there is a key.
QString AccessibleDescriptionOf(std::string_view helpText, const QString& keyName = {});

// How a row's exercise is read out: "7 tot de macht 2".
QString ExerciseReading(const QString& base, const QString& exponent);

// The main window as a screen reader user meets it. Made beside the window, before or after its
// controls are built; it takes them up once they are.
class FormAccessibility : public QObject, public QAccessible::ActivationObserver {
public:
    explicit FormAccessibility(TForm1& form);
    ~FormAccessibility() override;

    // The last message said unasked (empty before the first).
    QString LastAnnouncement() const;
    // The time left in a contest, or its results once it has ended.
    void AnnounceTimeLeft();
    // A key whose control cannot be clicked now: why, or what to do first.
    void KeyRefused(QWidget* control);
    // The set number, the points and the maximum of the series.
    void AnnounceStanding();

    void accessibilityActiveChanged(bool active) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Attach();
    void TextChanged(Control control);
    QWidget* RowWidget(RowPart part, int row) const;
    QString LabelText(Control label) const;
    void MarkDirty(int row);
    void Refresh(bool everyAnswer = false);
    void Shown(QWidget* widget, bool shown);
    void UpdateCovered();
    void Announce(const QString& message);
    void Told(Moment moment);
    void KeyClick(QWidget* control, bool started);
    void NameScore();
    void AnnounceCheck();
    void AnnounceAbout(bool shown);
    QString SetIntro(bool withField = true, bool withMaximum = false);
    void AnnounceResults();
    QString Results() const;

    TForm1& form_;
    unsigned dirtyRows_ = 0;     // rows whose labels' reading may have changed
    unsigned staleAnswers_ = 0;  // answer fields whose reading may have changed
    bool refreshQueued_ = false;
    bool active_ = false;  // an accessibility client is active
    QWidget* announcer_ = nullptr;
    QTimer announceTimer_;
    FocusHold focusHold_;
    QString refusal_;  // the message waiting to be said refuses a settings text
    QTimer lateRefresh_;
};

}  // namespace tolvaro
