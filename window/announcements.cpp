// What the main window says unasked, through a notification that appears (Orca speaks one as it
// is shown, wherever the focus is): what the window tells has happened, the about panel, the time
// left on request, and what to do where a key cannot act.
#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>

#include "window/accessibility.h"
#include "window/notices.h"
#include "window/tform1.h"

namespace tolvaro {

namespace {

constexpr QLatin1String kBackToPractice(" Escape: terug naar het oefenen.");

// "3 minuten", "1 minuut".
QString Minutes(const QString& count) {
    return count + (count.trimmed() == QLatin1String("1") ? QStringLiteral(" minuut") : QStringLiteral(" minuten"));
}

// A countdown text (hours, minutes and seconds in the locale's format) as it is said.
QString SpokenSpan(const QString& countdown) {
    const QStringList parts = countdown.split(QRegularExpression(QStringLiteral("\\D+")), Qt::SkipEmptyParts);
    if (parts.size() != 3) return countdown;
    const char* units[3][2] = {{" uur", " uur"}, {" minuut", " minuten"}, {" seconde", " seconden"}};
    QStringList said;
    for (int i = 0; i < 3; ++i) {
        const int value = parts[i].toInt();
        if (value > 0) said << QString::number(value) + QLatin1String(units[i][value == 1 ? 0 : 1]);
    }
    return said.isEmpty() ? QStringLiteral("minder dan een seconde") : notices::Enumeration(said);
}

}  // namespace

void FormAccessibility::Told(Moment moment) {
    switch (moment) {
        case Moment::Checked: AnnounceCheck(); break;
        case Moment::NextSet: Announce(SetIntro(true, true)); break;
        case Moment::SeriesRestarted: {
            // After a refused text the refusal says which value stays; otherwise the value taken.
            const Control field = form_.practice().SettingField();
            QString message = !refusal_.isEmpty() ? refusal_ + u' '
                                                  : QStringLiteral("%1 %2. ").arg(form_.widget(field)->accessibleName(),
                                                                                  QString::fromStdString(form_.Text(field)));
            message += QStringLiteral("Nieuwe reeks, 0 punten. ") + SetIntro(false);
            if (!form_.widget(Control::Startknop)->isHidden()) {
                message += QStringLiteral(" START staat klaar: Ctrl+T start een wedstrijd van ") +
                           Minutes(QString::fromStdString(form_.Text(Control::TimerMinuten))) + u'.';
            }
            Announce(message);
            break;
        }
        case Moment::SettingCleared:
        case Moment::SettingRefused:
        case Moment::SettingKept: {
            // Leaving a field whose text was refused on Enter keeps the value: the refusal is said,
            // also before what the next field says.
            if (moment == Moment::SettingKept && !refusal_.isEmpty()) break;
            const Control field = form_.practice().SettingField();
            auto* edit = static_cast<QLineEdit*>(form_.widget(field));
            const QString notice = notices::Setting(moment, field, edit->accessibleName(),
                                                    form_.practice().Saved(field), edit->maxLength());
            Announce(refusal_.isEmpty() ? notice : refusal_ + u' ' + notice);
            if (moment == Moment::SettingRefused) refusal_ = notice;
            break;
        }
        case Moment::ActivationDrew: {
            // A worksheet written to files says where, after a print dialog closed with OK.
            const PrintFlags& flags = form_.printFlags();
            const bool printed = flags.PrintRequested && !flags.PrintCancelled;
            Announce(notices::FreshSet(form_.practice().SetNumber(),
                                       printed ? form_.printer().WrittenFiles() : QStringList()));
            break;
        }
        case Moment::ContestStarted:
            Announce(QStringLiteral("De wedstrijd van %1 is begonnen. Escape stopt hem. ")
                         .arg(Minutes(QString::fromStdString(form_.Text(Control::TimerMinuten)))) +
                     SetIntro());
            break;
        case Moment::ContestEnded: {
            // Said once: as the results take the focus, or else as a message.
            QWidget* results = form_.widget(Control::Panel3);
            const QString message = QStringLiteral("De tijd is om. ") + Results() + kBackToPractice;
            results->setAccessibleDescription(message);
            if (!results->hasFocus()) Announce(message);
            break;
        }
        case Moment::ContestReset:
            Announce(QStringLiteral("Terug naar het oefenen. Nieuwe reeks, 0 punten. ") + SetIntro());
            break;
    }
}

void FormAccessibility::AnnounceStanding() { Announce(notices::Standing(form_.practice())); }

// Flat review reads each number of the score panel with what it counts.
void FormAccessibility::NameScore() {
    const Practice& practice = form_.practice();
    const std::pair<Control, QString> names[] = {
        {Control::Label6, QStringLiteral("Behaalde punten %1").arg(practice.BehaaldePunten)},
        {Control::Label8, QStringLiteral("Maximum punten %1").arg(practice.MaximumPunten)},
    };
    for (const auto& [label, name] : names) {
        if (form_.widget(label)->accessibleName() != name) form_.widget(label)->setAccessibleName(name);
    }
}

// A key's click of a button moves the focus first; that move is told once the click's message is
// out. A field a key enters is told at once: the pupil types on right away.
void FormAccessibility::KeyClick(QWidget* control, bool started) {
    if (!active_) return;
    if (started) {
        if (qobject_cast<QAbstractButton*>(control)) focusHold_.Begin();
        return;
    }
    focusHold_.EndClick();
    if (!announceTimer_.isActive()) focusHold_.Release();
}

void FormAccessibility::AnnounceCheck() {
    QStringList wrong;
    for (int row = 1; row <= kRows; ++row) {
        if (LabelText(Row(RowPart::Kontrol, row)) == QLatin1String("FOUT")) wrong << QString::number(row);
    }
    QString message = QStringLiteral("%1 van de %2 goed. ").arg(form_.practice().AantalGoed).arg(kRows);
    if (!wrong.isEmpty()) {
        message += (wrong.size() == 1 ? QStringLiteral("Fout: oefening ") : QStringLiteral("Fout: oefeningen ")) +
                   notices::Enumeration(wrong) + QStringLiteral(". ");
    }
    Announce(message + QStringLiteral("Behaalde punten: %1 op %2.").arg(LabelText(Control::Label6),
                                                                        LabelText(Control::Label8)));
}

// The new set puts the focus in row 1, but Orca 43 does not say it when a button took the focus
// first: clearing the answers moves their carets, and by the time Orca reads those moves row 1 has
// the focus, so it takes the focus as known. The set and the field are said here instead. Leaving
// a settings field for row 1 is a move Orca does say; there the field is not said twice. Nor is it
// after a key's click: that focus change is told after this message, and Orca says it.
QString FormAccessibility::SetIntro(bool withField, bool withMaximum) {
    QString intro = QStringLiteral("Oefening nr. %1.").arg(LabelText(Control::Reeksteller));
    if (withMaximum) intro += QStringLiteral(" Maximum punten: %1.").arg(form_.practice().MaximumPunten);
    QWidget* focus = QApplication::focusWidget();
    // A focus change held back until this is said is told by the screen reader itself.
    if (!withField || (focusHold_.Hides(focus) && focus != focusHold_.Before())) return intro;
    for (int row = 1; row <= kRows; ++row) {
        if (focus != RowWidget(RowPart::Result, row)) continue;
        Refresh();
        intro += QStringLiteral(" %1: %2").arg(focus->accessibleName(), focus->accessibleDescription());
    }
    return intro;
}

void FormAccessibility::AnnounceResults() { Announce(Results() + kBackToPractice); }

QString FormAccessibility::Results() const { return notices::Results(form_.contest().result()); }

void FormAccessibility::AnnounceAbout(bool shown) {
    if (!shown) {
        Announce(QStringLiteral("Over het programma gesloten."));
        return;
    }
    QStringList texts;
    for (const char* name : {"Label44", "Label45", "Label42", "Label43", "Label46"}) {
        if (auto* label = form_.widget(Control::Info)->findChild<QLabel*>(QLatin1String(name))) texts << label->text();
    }
    Announce(QStringLiteral("Over het programma. ") + texts.join(u' ') + QStringLiteral(" Enter sluit het."));
}

void FormAccessibility::AnnounceTimeLeft() {
    if (!form_.widget(Control::Panel3)->isHidden()) {
        Announce(QStringLiteral("De tijd is om. ") + Results());
    } else if (form_.widget(Control::KlokVenster)->isHidden()) {
        Announce(QStringLiteral("Er loopt geen wedstrijd."));
    } else {
        const QString clock = LabelText(Control::KlokVenster);
        // The clock shows nothing before its first tick.
        Announce(QStringLiteral("Nog ") +
                 (clock.isEmpty() ? Minutes(QString::fromStdString(form_.Text(Control::TimerMinuten)))
                                  : SpokenSpan(clock)) +
                 u'.');
    }
}

// Where a mouse could not click either: what stands in the way, or what to do first. During a
// contest and after it, the advice is what works then.
void FormAccessibility::KeyRefused(QWidget* control) {
    const auto is = [&](Control c) { return control == form_.widget(c); };
    const Contest::State contest = form_.contest().state();
    QString message;
    if (!control->isVisible()) {
        if (contest == Contest::State::Finished) {
            message = QStringLiteral("De wedstrijd is voorbij.") + kBackToPractice;
        } else if (contest == Contest::State::Running && is(Control::Startknop)) {
            message = QStringLiteral("De wedstrijd loopt al.");
        } else if (is(Control::VolgendeOefening)) {
            message = QStringLiteral("VOLGENDE OEFENING is er nu niet. Controleer eerst opnieuw met Ctrl+Enter.");
        } else if (is(Control::Startknop)) {
            message = QStringLiteral("START is er nu niet. Vul eerst bij de timer, Alt+M, een aantal minuten in.");
        } else if (is(Control::KlokVenster)) {
            message = QStringLiteral("Er loopt geen wedstrijd.");
        }
    } else if (!control->isEnabled() && contest == Contest::State::Running) {
        message = QStringLiteral("%1: niet tijdens de wedstrijd. %2 werkt weer na de wedstrijd.")
                      .arg(control->accessibleName(), form_.KeyNameOf(control));
    } else if (!control->isEnabled()) {
        message = QStringLiteral("Dat kan niet zolang de wedstrijd op het scherm staat.") + kBackToPractice;
    } else if (!form_.widget(Control::Info)->isHidden()) {
        message = QStringLiteral("Het venster Over het programma ligt erover. Enter sluit het.");
    }
    if (!message.isEmpty()) Announce(message);
}

}  // namespace tolvaro
