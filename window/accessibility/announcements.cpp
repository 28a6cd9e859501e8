// What the main window says unasked, through a notification that appears (Orca speaks one as it
// is shown, wherever the focus is): what the window tells has happened, the about panel, the time
// left on request, and what to do where a key cannot act.
#include <QApplication>
#include <QLabel>
#include <QRegularExpression>

#include "window/accessibility/formaccessibility.h"
#include "window/tform1.h"

namespace tolvaro {

namespace {

constexpr QLatin1String kBackToPractice(" Escape: terug naar het oefenen.");

// "3 minuten", "1 minuut".
QString Minutes(const QString& count) {
    return count + (count.trimmed() == QLatin1String("1") ? QStringLiteral(" minuut") : QStringLiteral(" minuten"));
}

// "2, 5 en 7".
QString Enumeration(const QStringList& items) {
    if (items.size() < 2) return items.join(QString());
    return QStringList(items.mid(0, items.size() - 1)).join(QStringLiteral(", ")) + QStringLiteral(" en ") +
           items.last();
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
    return said.isEmpty() ? QStringLiteral("minder dan een seconde") : Enumeration(said);
}

}  // namespace

void FormAccessibility::Told(Moment moment) {
    switch (moment) {
        case Moment::Checked: AnnounceCheck(); break;
        case Moment::NextSet: Announce(SetIntro()); break;
        case Moment::SeriesRestarted: {
            QString message = QStringLiteral("Nieuwe reeks, 0 punten. ") + SetIntro(false);
            if (!form_.widget(Control::Startknop)->isHidden()) {
                message += QStringLiteral(" START staat klaar: Ctrl+T start een wedstrijd van ") +
                           Minutes(QString::fromStdString(form_.Text(Control::TimerMinuten))) + u'.';
            }
            Announce(message);
            break;
        }
        case Moment::ContestStarted:
            Announce(QStringLiteral("De wedstrijd van %1 is begonnen. Escape stopt hem. ")
                         .arg(Minutes(QString::fromStdString(form_.Text(Control::TimerMinuten)))) +
                     SetIntro());
            break;
        case Moment::ContestEnded:
            // Read again wherever the pupil asks what the focus is on.
            form_.widget(Control::Panel3)->setAccessibleDescription(Results());
            Announce(QStringLiteral("De tijd is om. ") + Results() + kBackToPractice);
            break;
        case Moment::ContestReset:
            Announce(QStringLiteral("Terug naar het oefenen. Nieuwe reeks, 0 punten. ") + SetIntro());
            break;
    }
}

void FormAccessibility::AnnounceCheck() {
    QStringList wrong;
    for (int row = 1; row <= kRows; ++row) {
        if (LabelText(Row(RowPart::Kontrol, row)) == QLatin1String("FOUT")) wrong << QString::number(row);
    }
    QString message = QStringLiteral("%1 van de %2 goed. ").arg(form_.practice().AantalGoed).arg(kRows);
    if (!wrong.isEmpty()) {
        message += (wrong.size() == 1 ? QStringLiteral("Fout: oefening ") : QStringLiteral("Fout: oefeningen ")) +
                   Enumeration(wrong) + QStringLiteral(". ");
    }
    Announce(message + QStringLiteral("Behaalde punten: %1 op %2.").arg(LabelText(Control::Label6),
                                                                        LabelText(Control::Label8)));
}

// The new set puts the focus in row 1, but Orca 43 does not say it when a button took the focus
// first: clearing the answers moves their carets, and by the time Orca reads those moves row 1 has
// the focus, so it takes the focus as known. The set and the field are said here instead. Leaving
// a settings field for row 1 is a move Orca does say; there the field is not said twice.
QString FormAccessibility::SetIntro(bool withField) {
    QString intro = QStringLiteral("Oefening nr. %1.").arg(LabelText(Control::Reeksteller));
    if (!withField) return intro;
    QWidget* focus = QApplication::focusWidget();
    for (int row = 1; row <= kRows; ++row) {
        if (focus != RowWidget(RowPart::Result, row)) continue;
        Refresh();
        intro += QStringLiteral(" %1: %2").arg(focus->accessibleName(), focus->accessibleDescription());
    }
    return intro;
}

void FormAccessibility::AnnounceResults() { Announce(Results() + kBackToPractice); }

QString FormAccessibility::Results() const {
    return QStringLiteral("Puntentotaal: %1 op %2. %3 procent goed.")
        .arg(LabelText(Control::Label48), LabelText(Control::Label49), LabelText(Control::Label51));
}

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

// Where a mouse could not click either: what stands in the way, or what to do first.
void FormAccessibility::KeyRefused(QWidget* control) {
    const auto is = [&](Control c) { return control == form_.widget(c); };
    QString message;
    if (!control->isVisible()) {
        if (is(Control::VolgendeOefening)) {
            message = QStringLiteral("VOLGENDE OEFENING is er nu niet. Controleer eerst opnieuw met Ctrl+Enter.");
        } else if (is(Control::Kontroleer)) {
            message = QStringLiteral("De wedstrijd is voorbij.") + kBackToPractice;
        } else if (is(Control::Startknop)) {
            message = QStringLiteral("START is er nu niet. Vul eerst bij de timer, Alt+M, een aantal minuten in.");
        } else if (is(Control::KlokVenster)) {
            message = QStringLiteral("Er loopt geen wedstrijd.");
        }
    } else if (!control->isEnabled()) {
        message = QStringLiteral("Dat kan niet zolang de wedstrijd op het scherm staat.") + kBackToPractice;
    } else if (!form_.widget(Control::Info)->isHidden()) {
        message = QStringLiteral("Het venster Over het programma ligt erover. Enter sluit het.");
    }
    if (!message.isEmpty()) Announce(message);
}

}  // namespace tolvaro
