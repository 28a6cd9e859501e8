#include "window/accessibility/formaccessibility.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QWidget>

#include "window/accessibility/atspistate.h"
#include "window/accessibility/interfaces.h"
#include "window/accessibility/notices.h"
#include "window/controltable.h"
#include "window/tform1.h"
#include "window/widgets.h"

namespace tolvaro {

namespace {

constexpr int kAnnounceDelayMs = 250;
constexpr int kRepeatFocusMs = 1000;
constexpr QLatin1String kBackToPractice(" Escape: terug naar het oefenen.");

// How the manual and the descriptions name a key ("Ctrl+Enter"); empty for none.
QString KeyName(const QKeySequence& key) {
    return key.toString(QKeySequence::PortableText).replace(QLatin1String("Return"), QLatin1String("Enter"));
}

// Every change is an event a screen reader may speak: only real changes are made.
void SetDescription(QWidget* widget, const QString& text) {
    if (widget->accessibleDescription() != text) widget->setAccessibleDescription(text);
}

// "3 minuten", "1 minuut".
QString Minutes(const QString& count) {
    return count + (count.trimmed() == QLatin1String("1") ? QStringLiteral(" minuut") : QStringLiteral(" minuten"));
}

// A time left in whole seconds as it is said.
QString SpokenSpan(std::int64_t seconds) {
    const std::int64_t values[3] = {seconds / 3600, seconds / 60 % 60, seconds % 60};
    const char* units[3][2] = {{" uur", " uur"}, {" minuut", " minuten"}, {" seconde", " seconden"}};
    QStringList said;
    for (int i = 0; i < 3; ++i) {
        if (values[i] > 0) said << QString::number(values[i]) + QLatin1String(units[i][values[i] == 1 ? 0 : 1]);
    }
    return said.isEmpty() ? QStringLiteral("minder dan een seconde") : notices::Enumeration(said);
}

}  // namespace

QString AccessibleDescriptionOf(std::string_view helpText, const QString& keyName) {
    QString text = QString::fromUtf8(helpText.data(), static_cast<qsizetype>(helpText.size()));
    text.replace(u'\r', u'\n');
    while (text.startsWith(u'\n')) text.remove(0, 1);
    if (keyName.isEmpty()) return text;
    if (!text.isEmpty()) text += u'\n';
    return text + QStringLiteral("Sneltoets: ") + keyName + u'.';
}

QString ExerciseReading(const QString& base, const QString& exponent) {
    return base + QStringLiteral(" tot de macht ") + exponent;
}

// ---------------------------------------------------------------- the main window

FormAccessibility::FormAccessibility(TForm1& form) : form_(form), focusHold_(&form) {
    if (form_.isBuilt()) Attach();
    else connect(&form_, &TForm1::built, this, &FormAccessibility::Attach);
}

void FormAccessibility::Attach() {
    // A control's help text and key are its description; the pictures that react to a click are
    // offered as buttons.
    for (QWidget* widget : form_.findChildren<QWidget*>()) {
        const ControlSpec* entry = form_.rowOf(widget);
        if (!entry) continue;
        // Without a help text, the tooltip (which assistive tools read in its place) goes first.
        const char* text = entry->help ? entry->help : entry->tooltip ? entry->tooltip : "";
        const QString description = AccessibleDescriptionOf(text, KeyName(KeyOf(widget)));
        if (!description.isEmpty()) widget->setAccessibleDescription(description);
        if (entry->kind == Kind::Image && entry->handlers.click) MarkClickablePicture(widget);
    }
    connect(&form_, &TForm1::textChanged, this, &FormAccessibility::TextChanged);
    // The countdown says the time left to a screen reader (it shows it to everyone else).
    connect(static_cast<TLabel*>(form_.widget(Control::KlokVenster)), &TLabel::clicked, this,
            &FormAccessibility::AnnounceTimeLeft);
    // The points say the standing (Ctrl+S), the numbers each with what it counts.
    connect(static_cast<TLabel*>(form_.widget(Control::Label6)), &TLabel::clicked, this,
            &FormAccessibility::AnnounceStanding);
    connect(&form_, &TForm1::happened, this, &FormAccessibility::Told);
    connect(&form_, &TForm1::aboutShown, this, &FormAccessibility::AnnounceAbout);
    connect(&form_, &TForm1::keyRefused, this, &FormAccessibility::KeyRefused);
    connect(&form_, &TForm1::keyClick, this, &FormAccessibility::KeyClick);
    // A character the field's limit refuses is said (a screen reader echoes it as if typed).
    for (Control edit : {Control::MaxGrondtal, Control::MaxExponent, Control::TimerMinuten}) {
        form_.widget(edit)->installEventFilter(this);
    }
    // Shown after the start: assistive tools must learn that they are visible, and what they cover.
    for (Control control : {Control::Kontroleer, Control::VolgendeOefening, Control::Startknop, Control::OKKnop1,
                            Control::KlokVenster, Control::Panel3, Control::Info}) {
        form_.widget(control)->installEventFilter(this);
    }
    for (int row = 1; row <= kRows; ++row) RowWidget(RowPart::Result, row)->installEventFilter(this);
    announceTimer_.setSingleShot(true);
    announceTimer_.setInterval(kAnnounceDelayMs);
    connect(&announceTimer_, &QTimer::timeout, this, [this] {
        announcer_->hide();
        announcer_->show();
        refusal_.clear();
        focusHold_.Release();
    });
    lateRefresh_.setSingleShot(true);
    lateRefresh_.setInterval(2 * kAnnounceDelayMs);
    connect(&lateRefresh_, &QTimer::timeout, this, [this] { Refresh(true); });
    QAccessible::installActivationObserver(this);
    if (QAccessible::isActive()) accessibilityActiveChanged(true);
}

FormAccessibility::~FormAccessibility() { QAccessible::removeActivationObserver(this); }

QWidget* FormAccessibility::RowWidget(RowPart part, int row) const { return form_.widget(Row(part, row)); }

QString FormAccessibility::LabelText(Control label) const { return QString::fromStdString(form_.Text(label)); }

void FormAccessibility::TextChanged(Control control) {
    if (active_ && (control == Control::Label6 || control == Control::Label8)) NameScore();
    const int index = static_cast<int>(control) - static_cast<int>(Row(RowPart::Grondtal, 1));
    if (index >= 0 && index < 4 * kRows) MarkDirty(index % kRows + 1);
}

// The readings of a row are renewed once the handler that changed it is done, so that a screen
// reader never hears a half-drawn exercise; entering a field renews its reading at once.
void FormAccessibility::MarkDirty(int row) {
    dirtyRows_ |= 1u << (row - 1);
    staleAnswers_ |= 1u << (row - 1);
    if (refreshQueued_ || !active_) return;
    refreshQueued_ = true;
    QMetaObject::invokeMethod(this, [this] { Refresh(); }, Qt::QueuedConnection);
}

void FormAccessibility::Refresh(bool everyAnswer) {
    refreshQueued_ = false;
    if (!active_) return;
    for (int row = 1; row <= kRows; ++row) {
        const unsigned bit = 1u << (row - 1);
        const QString reading = ExerciseReading(LabelText(Row(RowPart::Grondtal, row)),
                                                LabelText(Row(RowPart::Exponent, row)));
        if (dirtyRows_ & bit) {
            SetDescription(RowWidget(RowPart::Grondtal, row), reading);
            SetDescription(RowWidget(RowPart::Exponent, row), reading);
        }
        // An answer field is renewed at once when it has or gets the focus, the others once the
        // notification is out: Orca drops what appears in a flood of events, and a new set that
        // changed ten readings at once would make one.
        QWidget* edit = RowWidget(RowPart::Result, row);
        if (!(staleAnswers_ & bit) || (!everyAnswer && !edit->hasFocus())) continue;
        // The verdict beside the field, as long as the screen shows it.
        const QString verdict = LabelText(Row(RowPart::Kontrol, row));
        SetDescription(edit, verdict.isEmpty() ? reading : reading + QStringLiteral(". ") + verdict);
        staleAnswers_ &= ~bit;
    }
    dirtyRows_ = 0;
    if (staleAnswers_ && !lateRefresh_.isActive()) lateRefresh_.start();
}

void FormAccessibility::accessibilityActiveChanged(bool active) {
    active_ = active;
    if (!active) return;
    dirtyRows_ = staleAnswers_ = (1u << kRows) - 1;
    Refresh(true);
    NameScore();
    // Qt's bridge to AT-SPI sends nothing until the registry has taken the program in, which may
    // come after the window took the focus: the screen reader would not hear where the pupil
    // starts. The focus is told again a moment later (a screen reader that heard it ignores it).
    QTimer::singleShot(kRepeatFocusMs, this, [this] {
        QWidget* focus = QApplication::focusWidget();
        if (!focus || focus->window() != &form_ || !form_.isActiveWindow()) return;
        QAccessibleEvent event(focus, QAccessible::Focus);
        QAccessible::updateAccessibility(&event);
    });
}

bool FormAccessibility::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::FocusIn:
        case QEvent::FocusOut:
            // Before the screen reader asks the field what it is.
            for (int row = 1; row <= kRows; ++row) {
                if (watched == RowWidget(RowPart::Result, row)) MarkDirty(row);
            }
            Refresh();
            break;
        case QEvent::Show:
        case QEvent::Hide:
            if (active_ && watched->isWidgetType()) {
                Shown(static_cast<QWidget*>(watched), event->type() == QEvent::Show);
            }
            break;
        case QEvent::KeyPress: {
            // Tab leads nowhere from the results (the answers are locked): they are said again.
            const auto* press = static_cast<QKeyEvent*>(event);
            const int key = press->key();
            // Typed into a field before the click's message was out: where the keys go is told first.
            if (qobject_cast<QLineEdit*>(watched) && focusHold_.Hides(static_cast<QWidget*>(watched))) {
                focusHold_.Release();
            }
            if (watched == form_.widget(Control::Panel3) && (key == Qt::Key_Tab || key == Qt::Key_Backtab)) {
                AnnounceResults();
            }
            auto* edit = qobject_cast<QLineEdit*>(watched);
            const bool typed = !press->text().isEmpty() && press->text()[0].isPrint() &&
                               !(press->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
            if (edit && typed && !edit->hasSelectedText() && edit->text().size() >= edit->maxLength()) {
                Announce(QStringLiteral("Hoogstens %1 tekens.").arg(edit->maxLength()));
            }
            break;
        }
        default: break;
    }
    return QObject::eventFilter(watched, event);
}

// The control and all inside it are visible now, or not; a panel shown over others covers them.
void FormAccessibility::Shown(QWidget* widget, bool shown) {
    TellShown(widget, shown);
    for (QWidget* inside : widget->findChildren<QWidget*>()) {
        if (!inside->isHidden()) TellShown(inside, shown);
    }
    if (widget == form_.widget(Control::Panel3) || widget == form_.widget(Control::Info)) UpdateCovered();
}

// A control counts as covered when a panel shown above it holds its centre, or, for a container,
// nearly all of it (the results panel leaves a strip of the exercises' border).
void FormAccessibility::UpdateCovered() {
    QList<QRect> covers;
    QList<QWidget*> coverPanels;
    for (Control panel : {Control::Panel3, Control::Info}) {
        QWidget* cover = form_.widget(panel);
        if (cover->isHidden()) continue;
        covers << cover->geometry();
        coverPanels << cover;
    }
    for (QWidget* widget : form_.findChildren<QWidget*>()) {
        const QRect area(widget->mapTo(&form_, QPoint(0, 0)), widget->size());
        bool covered = false;
        for (qsizetype i = 0; i < covers.size() && !covered; ++i) {
            QWidget* cover = coverPanels[i];
            // A panel covers neither itself nor what lies in it, and the about panel lies above the results.
            if (widget == cover || cover->isAncestorOf(widget) || widget->isAncestorOf(cover)) continue;
            if (cover == form_.widget(Control::Panel3) && widget == form_.widget(Control::Info)) continue;
            const bool container = !widget->findChildren<QWidget*>(Qt::FindDirectChildrenOnly).isEmpty();
            const QRect under = covers[i].intersected(area);
            covered = container ? 10LL * under.width() * under.height() >= 9LL * area.width() * area.height()
                                : covers[i].contains(area.center());
        }
        if (SetCovered(widget, covered) && !widget->isHidden()) TellShown(widget, !covered);
    }
}

QString FormAccessibility::LastAnnouncement() const {
    return announcer_ ? announcer_->accessibleName() : QString();
}

// Said by a notification that appears: Orca speaks one as it is shown, wherever the focus is.
void FormAccessibility::Announce(const QString& message) {
    if (!active_) return;
    Refresh();  // the field's own reading first
    if (!announcer_) {
        announcer_ = new QWidget(&form_);
        MarkNotification(announcer_);
        announcer_->setObjectName(QStringLiteral("Melding"));
        announcer_->setAttribute(Qt::WA_TransparentForMouseEvents);
        announcer_->setFocusPolicy(Qt::NoFocus);
        announcer_->setGeometry(0, 0, 1, 1);
        announcer_->lower();
    }
    // Shown a moment later: the notification must not arrive in the flood of events its cause
    // (a new set, a check) sets off, or Orca drops it.
    announcer_->setAccessibleName(message);
    announceTimer_.start();
}

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
        if (!form_.practice().RowsRight[row - 1]) wrong << QString::number(row);
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
    for (Control label : {Control::Label44, Control::Label45, Control::Label42, Control::Label43, Control::Label46}) {
        texts << LabelText(label);
    }
    Announce(QStringLiteral("Over het programma. ") + texts.join(u' ') + QStringLiteral(" Enter sluit het."));
}

void FormAccessibility::AnnounceTimeLeft() {
    if (!form_.widget(Control::Panel3)->isHidden()) {
        Announce(QStringLiteral("De tijd is om. ") + Results());
    } else if (form_.widget(Control::KlokVenster)->isHidden()) {
        Announce(QStringLiteral("Er loopt geen wedstrijd."));
    } else {
        // The countdown shows nothing before its first tick.
        const std::int64_t shown = form_.contest().ShownSeconds;
        Announce(QStringLiteral("Nog ") +
                 (shown < 0 ? Minutes(QString::fromStdString(form_.Text(Control::TimerMinuten))) : SpokenSpan(shown)) +
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
                      .arg(control->accessibleName(), KeyName(KeyOf(control)));
    } else if (!control->isEnabled()) {
        message = QStringLiteral("Dat kan niet zolang de wedstrijd op het scherm staat.") + kBackToPractice;
    } else if (!form_.widget(Control::Info)->isHidden()) {
        message = QStringLiteral("Het venster Over het programma ligt erover. Enter sluit het.");
    }
    if (!message.isEmpty()) Announce(message);
}

}  // namespace tolvaro
