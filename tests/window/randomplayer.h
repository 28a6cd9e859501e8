// The careless user of the random-use test: a seeded player that picks any control and does
// anything a pupil might do to it, then checks that the window still tells a consistent story.
// Step() plays one event and returns the first broken rule, or an empty text.
#pragma once

#include <QtTest>

#include <QCheckBox>
#include <QClipboard>
#include <QTemporaryDir>

#include <gmp.h>

#include <deque>
#include <random>

#include "core/numbertext.h"
#include "formfixture.h"
#include "print/tprintdialoog1.h"

namespace tolvaro::test {

inline QList<TPrintDialoog1*> VisibleDialogs() {
    QList<TPrintDialoog1*> dialogs;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* d = qobject_cast<TPrintDialoog1*>(w); d && d->isVisible()) dialogs << d;
    }
    return dialogs;
}

// The exact power of base^exponent in decimal digits, or an empty text when it is 2^64 or more
// (then the program's value is rounded and no typed digits are sure to be right).
inline QString ExactPowerBelow2To64(const QString& base, const QString& exponent) {
    bool okBase = false;
    bool okExponent = false;
    const long b = base.toLong(&okBase);
    const long e = exponent.toLong(&okExponent);
    if (!okBase || !okExponent || b < 0 || e < 0 || e > 200) return {};
    mpz_t power;
    mpz_init(power);
    mpz_ui_pow_ui(power, static_cast<unsigned long>(b), static_cast<unsigned long>(e));
    QString text;
    if (mpz_sizeinbase(power, 2) <= 64) {
        std::string digits(mpz_sizeinbase(power, 10) + 2, '\0');
        mpz_get_str(digits.data(), 10, power);
        text = QString::fromLatin1(digits.c_str());
    }
    mpz_clear(power);
    return text;
}

class Player {
public:
    Player(FormFixture& f, quint32 seed, const QTemporaryDir& pdfDir) : f_(f), rng_(seed), pdfDir_(pdfDir) {
        for (QWidget* w : f_.form->findChildren<QWidget*>()) {
            const QString name = w->objectName();
            // Image4 ends the program; that is no careless use but the end of it.
            if (name.isEmpty() || name.startsWith(QLatin1String("qt_")) || name == QLatin1String("Image4")) continue;
            controls_ << w;
        }
    }

    // Plays one event (a print dialog opening counts as one, with its own steps inside) and
    // returns the first broken rule, or an empty text.
    QString Step() {
        const int roll = Pick(100);
        if (roll < 18) return ClickAnyControl();
        if (roll < 32) return AnswerARow();
        if (roll < 42) return TypeAtFocus(RandomText());
        if (roll < 55) return PressAKey();
        if (roll < 62) return ClickCheck();
        if (roll < 67) {
            if (f_.get("VolgendeOefening")->isVisible() && f_.form->isEnabled()) ++counts.nextSets;
            return ClickIfShown("VolgendeOefening");
        }
        if (roll < 74) return ChangeASetting();
        if (roll < 78) return StartAContest();
        if (roll < 86) return Tick();
        if (roll < 89) return Paste();
        if (roll < 94) return MoveTheMouse();
        if (roll < 97) return PrintDialog();
        return ClickIfShown("Image1");
    }

    // The rules every state of the window keeps.
    QString Invariants() const {
        const Practice& p = f_.form->practice();
        if (!f_.errors.isEmpty()) return "the general error report was reached: " + f_.errors.join(" | ");

        const bool dialogOpen = !VisibleDialogs().isEmpty();
        if (VisibleDialogs().size() > 1) return QStringLiteral("more than one print dialog is open");
        if (f_.form->isEnabled() == dialogOpen)
            return dialogOpen ? QStringLiteral("the main window is enabled under an open print dialog")
                              : QStringLiteral("the main window is disabled with no print dialog open");

        const auto set = TextToInt(f_.text("Reeksteller").toStdString());
        if (!set) return "Reeksteller holds no integer text: '" + f_.text("Reeksteller") + "'";
        if (*set < 1) return "Reeksteller below 1: " + f_.text("Reeksteller");

        QWidget* focus = QApplication::focusWidget();
        if (focus && (!focus->isVisible() || !focus->isEnabled()))
            return QStringLiteral("the keyboard focus is on %1, which is %2")
                .arg(focus->objectName(), focus->isVisible() ? QStringLiteral("disabled") : QStringLiteral("hidden"));
        QWidget* formFocus = f_.form->focusWidget();
        for (const char* name : {"MaxGrondtal", "MaxExponent", "TimerMinuten"}) {
            QWidget* edit = f_.get(name);
            if (edit == focus || edit == formFocus) continue;
            if (IsNotInteger(f_.text(name).toStdString()))
                return QStringLiteral("%1 holds '%2' while it has no focus").arg(name, f_.text(name));
        }

        if (const QString wrong = ExercisesWithinSettings(); !wrong.isEmpty()) return wrong;

        int verdicts = 0;
        int right = 0;
        for (int row = 1; row <= kRows; ++row) {
            const QString verdict = f_.rowText(RowPart::Kontrol, row);
            if (verdict.isEmpty()) continue;
            if (verdict != QLatin1String("GOED") && verdict != QLatin1String("FOUT"))
                return QStringLiteral("row %1 shows the verdict '%2'").arg(row).arg(verdict);
            ++verdicts;
            if (verdict == QLatin1String("GOED")) ++right;
        }
        if (verdicts != 0 && verdicts != kRows) return QStringLiteral("only %1 rows show a verdict").arg(verdicts);
        if (verdicts == kRows && p.BehaaldePunten != p.VastgelegdePunten + right)
            return QStringLiteral("BehaaldePunten %1 is not VastgelegdePunten %2 + %3 rows GOED")
                .arg(p.BehaaldePunten)
                .arg(p.VastgelegdePunten)
                .arg(right);
        if (!f_.get("VolgendeOefening")->isHidden() && verdicts == 0)
            return QStringLiteral("VOLGENDE OEFENING is shown without a checked set");

        const bool finished = !f_.get("Panel3")->isHidden();
        if (finished) {
            for (const char* name : {"Panel1", "Instellingen"})
                if (f_.get(name)->isEnabled()) return QStringLiteral("%1 is enabled under the results").arg(name);
            for (const char* name : {"Kontroleer", "VolgendeOefening"})
                if (!f_.get(name)->isHidden()) return QStringLiteral("%1 is shown with the results").arg(name);
        } else {
            if (p.MaximumPunten != 10 * *set)
                return QStringLiteral("MaximumPunten %1 is not 10 x set %2").arg(p.MaximumPunten).arg(*set);
            if (f_.text("Label8") != QString::number(p.MaximumPunten) ||
                f_.text("Label6") != QString::number(p.BehaaldePunten))
                return QStringLiteral("the score shows %1 OP %2 for %3 OP %4")
                    .arg(f_.text("Label6"), f_.text("Label8"))
                    .arg(p.BehaaldePunten)
                    .arg(p.MaximumPunten);
        }
        if (p.VastgelegdePunten < 0 || p.BehaaldePunten < p.VastgelegdePunten ||
            p.BehaaldePunten > p.MaximumPunten)
            return QStringLiteral("impossible score: %1 committed, %2 obtained, %3 maximum")
                .arg(p.VastgelegdePunten)
                .arg(p.BehaaldePunten)
                .arg(p.MaximumPunten);
        if (f_.form->contest().ContestRunning != f_.form->timer1().isActive())
            return f_.form->timer1().isActive() ? QStringLiteral("the timer runs without a contest")
                                                : QStringLiteral("a contest runs without the timer");
        return {};
    }

    // What a replay needs to see: focus, active window, contest and panels.
    QString State() const {
        QWidget* active = QApplication::activeWindow();
        QWidget* formFocus = f_.form->focusWidget();
        QString panels;
        for (const char* name : {"Kontroleer", "VolgendeOefening", "Startknop", "OKKnop1", "KlokVenster", "Panel3", "Info"})
            if (!f_.get(name)->isHidden()) panels += QLatin1String(name) + QLatin1Char(' ');
        return QStringLiteral("active %1, focus %2, form focus %3; shown: %4; settings '%5' '%6' '%7'%8%9")
            .arg(active ? active->objectName() : QStringLiteral("-"), FocusName(),
                 formFocus ? formFocus->objectName() : QStringLiteral("-"), panels, f_.text("MaxGrondtal"),
                 f_.text("MaxExponent"), f_.text("TimerMinuten"),
                 f_.form->isEnabled() ? QString() : QStringLiteral("; form disabled"),
                 f_.form->contest().ContestRunning ? QStringLiteral("; contest running") : QString());
    }

    std::deque<QString> recent;  // the last events, for the report of a failure

    struct Counts {
        int checks = 0, rowsRight = 0, nextSets = 0, settings = 0, contests = 0, results = 0, dialogs = 0,
            printed = 0;
    } counts;

private:
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    bool Chance(int percent) { return Pick(100) < percent; }
    template <class T>
    const T& OneOf(const QList<T>& list) { return list.at(Pick(static_cast<int>(list.size()))); }

    void Note(const QString& what) {
        recent.push_back(what + QStringLiteral("   [") + State() + QStringLiteral("]"));
        if (recent.size() > 25) recent.pop_front();
    }

    // Where the keyboard's keys go: the focus widget, or the active window.
    static QWidget* KeyTarget() {
        if (QWidget* w = QApplication::focusWidget()) return w;
        if (QWidget* w = QApplication::activeWindow()) return w;
        return nullptr;
    }

    // A click as the mouse gives it: at a point of the control, on whatever lies on top there.
    void ClickAt(QWidget* control, bool doubleClick = false) {
        const QPoint inside(Pick(std::max(1, control->width())), Pick(std::max(1, control->height())));
        QWidget* window = control->window();
        const QPoint inWindow = control->mapTo(window, inside);
        QWidget* target = window->childAt(inWindow);
        if (!target) target = window;
        const QPoint at = target->mapFrom(window, inWindow);
        if (doubleClick) {
            QTest::mouseDClick(target, Qt::LeftButton, Qt::NoModifier, at);
        } else {
            QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, at);
        }
    }

    // After every event: the event loop runs as it would before the pupil's next action; a
    // print dialog that was closed must have handed the focus back with exactly one activation.
    QString Finish(const QString& what) {
        QCoreApplication::processEvents();
        Note(what);
        const bool dialogOpen = !VisibleDialogs().isEmpty();
        if (dialogOpen && !dialogSeen_) {
            dialogSeen_ = true;
        } else if (!dialogOpen && dialogSeen_) {
            dialogSeen_ = false;
            ++expectedActivations_;
            ++counts.dialogs;
            if (!QTest::qWaitFor([&] { return f_.form->activationCount() >= expectedActivations_; }))
                return QStringLiteral("no activation after the print dialog closed");
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QCoreApplication::processEvents();
            Note(QStringLiteral("back from the print dialog"));
        }
        if (f_.form->activationCount() != expectedActivations_)
            return QStringLiteral("%1 activations where %2 were due")
                .arg(f_.form->activationCount())
                .arg(expectedActivations_);
        if (!dialogOpen && QApplication::activeWindow() != f_.form.get())
            return QStringLiteral("the main window is not the active window with no print dialog open");
        return Invariants();
    }

    // A press on a control and a release somewhere else: no click, but the press gives focus.
    void PressAndSlideOff(QWidget* control) {
        QWidget* window = control->window();
        const QPoint inWindow = control->mapTo(window, QPoint(control->width() / 2, control->height() / 2));
        QWidget* target = window->childAt(inWindow);
        if (!target) target = window;
        const QPoint at = target->mapFrom(window, inWindow);
        QTest::mousePress(target, Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseRelease(target, Qt::LeftButton, Qt::NoModifier, at + QPoint(0, target->height() + 30));
    }

    QString ClickAnyControl() {
        QList<QWidget*> visible;
        for (QWidget* w : controls_)
            if (w->isVisible()) visible << w;
        QWidget* w = OneOf(visible);
        const int how = Pick(20);
        if (how == 0) {
            PressAndSlideOff(w);
            return Finish(QStringLiteral("press on %1, release beside it").arg(w->objectName()));
        }
        ClickAt(w, how == 1);
        return Finish(QStringLiteral("%1 %2").arg(how == 1 ? "double-click" : "click", w->objectName()));
    }

    QString ClickIfShown(const char* name) {
        QWidget* w = f_.get(name);
        if (!w->isVisible()) return {};
        ClickAt(w);
        return Finish(QStringLiteral("click %1").arg(name));
    }

    // A check, and what it must have found: empty rows wrong, exact powers right.
    QString ClickCheck() {
        QWidget* check = f_.get("Kontroleer");
        const bool runs = check->isVisible() && f_.form->isEnabled();
        const QString broken = ClickIfShown("Kontroleer");
        if (!broken.isEmpty() || !runs) return broken;
        ++counts.checks;
        for (int row = 1; row <= kRows; ++row)
            if (f_.rowText(RowPart::Kontrol, row) == QLatin1String("GOED")) ++counts.rowsRight;
        return CheckedVerdicts();
    }

    // Every row shows an exercise within what the settings fields can hold (at most 999999 and
    // 99; zero and negative values give base 1 and exponent 2), and below 2^64 its expected
    // power is the exact power. (The fields themselves may show a value that drew no set: a
    // second click saves the text typed so far, and leaving the field then restores that.)
    QString ExercisesWithinSettings() const {
        for (int row = 1; row <= kRows; ++row) {
            const QString baseText = f_.rowText(RowPart::Grondtal, row);
            const QString exponentText = f_.rowText(RowPart::Exponent, row);
            bool okBase = false;
            bool okExponent = false;
            const qlonglong base = baseText.toLongLong(&okBase);
            const qlonglong exponent = exponentText.toLongLong(&okExponent);
            if (!okBase || !okExponent || QString::number(base) != baseText ||
                QString::number(exponent) != exponentText)
                return QStringLiteral("row %1 shows %2 ^ %3").arg(row).arg(baseText, exponentText);
            if (base < 1 || base > 999999 || exponent < 2 || exponent > 99)
                return QStringLiteral("row %1 shows %2 ^ %3, beyond any setting").arg(row).arg(base).arg(exponent);
            const QString exact = ExactPowerBelow2To64(baseText, exponentText);
            if (!exact.isEmpty() &&
                f_.form->practice().ExpectedPowers[row - 1] != Extended(exact.toULongLong()))
                return QStringLiteral("row %1 expects %2 for %3 ^ %4")
                    .arg(row)
                    .arg(QString::fromStdString(FloatToText(f_.form->practice().ExpectedPowers[row - 1])), baseText,
                         exponentText);
        }
        return {};
    }

    // The results panel against its own count: every set before the last counts ten made, the
    // last one up to its last filled-in row; the percentage is cut, not rounded, to one decimal.
    QString CheckedResults() const {
        const auto set = TextToInt(f_.text("Reeksteller").toStdString());
        int lastFilled = 0;
        for (int row = 1; row <= kRows; ++row)
            if (!f_.result(row)->text().isEmpty()) lastFilled = row;
        const int made = 10 * (*set - 1) + lastFilled;
        const int points = f_.form->practice().BehaaldePunten;
        QString percent = QStringLiteral("0");
        if (made > 0) {
            const qlonglong tenths = 1000LL * points / made;
            percent = (100LL * points) % made == 0 ? QString::number(100LL * points / made)
                                                   : QStringLiteral("%1,%2").arg(tenths / 10).arg(tenths % 10);
        }
        const QString expected = made > 0 ? QStringLiteral("%1 OP %2 = %3 %").arg(points).arg(made).arg(percent)
                                           : QStringLiteral("0 OP 0 = 0 %");
        const QString shown = QStringLiteral("%1 OP %2 = %3 %").arg(f_.text("Label48"), f_.text("Label49"),
                                                                   f_.text("Label51"));
        if (shown != expected) return QStringLiteral("the results read %1, not %2").arg(shown, expected);
        return {};
    }

    QString CheckedVerdicts() const {
        for (int row = 1; row <= kRows; ++row) {
            const QString answer = f_.result(row)->text();
            const QString verdict = f_.rowText(RowPart::Kontrol, row);
            const QString exact =
                ExactPowerBelow2To64(f_.rowText(RowPart::Grondtal, row), f_.rowText(RowPart::Exponent, row));
            if (answer.isEmpty() && verdict != QLatin1String("FOUT"))
                return QStringLiteral("row %1 is empty but shows '%2'").arg(row).arg(verdict);
            if (!exact.isEmpty() && answer == exact && verdict != QLatin1String("GOED"))
                return QStringLiteral("row %1 holds the exact power %2 but shows '%3'").arg(row).arg(exact, verdict);
            const QColor colour = f_.get<QLabel>(("Oef" + std::to_string(row) + "Kontrol").c_str())
                                      ->palette()
                                      .color(QPalette::WindowText);
            if (colour != (verdict == QLatin1String("GOED") ? QColor(0, 128, 0) : QColor(255, 0, 0)))
                return QStringLiteral("row %1 shows '%2' in %3").arg(row).arg(verdict, colour.name());
        }
        return {};
    }

    QString RandomText() {
        static const QStringList pieces = {
            QStringLiteral("1"), QStringLiteral("16"), QStringLiteral("25"), QStringLiteral("0"), QStringLiteral(","),
            QStringLiteral("."), QStringLiteral("-"), QStringLiteral("+"), QStringLiteral("E"), QStringLiteral("e5"),
            QStringLiteral(" "), QStringLiteral("  "), QStringLiteral("abc"), QStringLiteral("é"), QStringLiteral("ë"),
            QString::fromUtf8("٢٥"), QString::fromUtf8("€"), QString::fromUtf8("😀"), QString::fromUtf8("\u00a0"),
            QStringLiteral("\t"), QStringLiteral("\r"), QStringLiteral("\x1b"), QStringLiteral("\b"),
            QStringLiteral("1E4933"), QStringLiteral("2147483648"), QStringLiteral("-2147483648"),
            QStringLiteral("999999"), QStringLiteral("99"), QString(40, u'9'), QStringLiteral("1,0E1"),
        };
        QString text;
        const int count = Chance(5) ? 30 + Pick(40) : 1 + Pick(4);
        for (int i = 0; i < count; ++i) text += OneOf(pieces);
        return text;
    }

    // Types text key by key at whatever has the focus at each key (Tab and Enter move it).
    QString TypeAtFocus(const QString& text) {
        for (qsizetype i = 0; i < text.size(); ++i) {
            QWidget* target = KeyTarget();
            if (!target) break;
            const QChar c = text.at(i);
            if (c.isHighSurrogate() && i + 1 < text.size()) {
                FormFixture::type(target, text.mid(i, 2));
                ++i;
            } else {
                FormFixture::type(target, QString(c));
            }
        }
        return Finish("type '" + Printable(text) + "' at " + FocusName());
    }

    QString AnswerARow() {
        const int row = 1 + Pick(kRows);
        QLineEdit* edit = f_.result(row);
        if (Chance(70)) ClickAt(edit);
        const QString exact =
            ExactPowerBelow2To64(f_.rowText(RowPart::Grondtal, row), f_.rowText(RowPart::Exponent, row));
        QString answer;
        switch (Pick(6)) {
            case 0:
            case 1: answer = exact; break;
            case 2: answer = QStringLiteral(" +") + exact + QStringLiteral(".0 "); break;
            case 3: answer = QString::fromStdString(FloatToText(f_.form->practice().ExpectedPowers[row - 1])); break;
            case 4: answer = exact + QStringLiteral("1"); break;
            default: answer = RandomText(); break;
        }
        const QString broken = TypeAtFocus(answer);
        if (!broken.isEmpty()) return broken;
        if (Chance(50)) return PressKey(OneOf(QList<int>{Qt::Key_Return, Qt::Key_Enter, Qt::Key_Tab}), {});
        return {};
    }

    // A key at whatever has the focus. Esc without Shift, Ctrl or Alt presses RESET while RESET
    // can be pressed, wherever the focus is in the main window.
    QString PressKey(int key, Qt::KeyboardModifiers modifiers) {
        QWidget* target = KeyTarget();
        if (!target) return {};
        const QString where = FocusName();
        QWidget* reset = f_.get("OKKnop1");
        const bool resets = key == Qt::Key_Escape &&
                            !(modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) &&
                            reset->isVisible() && reset->isEnabled() && target->window() == f_.form.get();
        QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
        const QString broken = Finish(QStringLiteral("key %1%2 at %3")
                                          .arg(modifiers ? QStringLiteral("modified ") : QString())
                                          .arg(QKeySequence(key).toString(), where));
        if (broken.isEmpty() && resets && reset->isVisible())
            return QStringLiteral("Esc at %1 did not press RESET").arg(where);
        return broken;
    }

    QString PressAKey() {
        static const QList<int> keys = {Qt::Key_Return, Qt::Key_Enter,     Qt::Key_Tab,   Qt::Key_Backtab,
                                        Qt::Key_Escape, Qt::Key_Backspace, Qt::Key_Space, Qt::Key_Delete,
                                        Qt::Key_Left,   Qt::Key_End,       Qt::Key_Up,    Qt::Key_F1,
                                        Qt::Key_Z,      Qt::Key_A,         Qt::Key_X,     Qt::Key_Insert};
        static const QList<Qt::KeyboardModifiers> modifiers = {Qt::NoModifier, Qt::NoModifier, Qt::NoModifier,
                                                               Qt::ShiftModifier, Qt::ControlModifier,
                                                               Qt::AltModifier};
        return PressKey(OneOf(keys), OneOf(modifiers));
    }

    QString Paste() {
        static const QStringList clips = {
            QStringLiteral("16"), QStringLiteral("1\n6\t"), QStringLiteral("\t16\r\n"), QStringLiteral("\x01\x02" "25"),
            QString(300, u'7'), QString::fromUtf8("ﬁve 😀 \u200b"), QStringLiteral("-2147483649"), QString(),
        };
        const QString clip = OneOf(clips);
        QGuiApplication::clipboard()->setText(clip);
        Note("clipboard '" + Printable(clip) + "'");
        return PressKey(Qt::Key_V, Qt::ControlModifier);
    }

    QString MoveTheMouse() {
        QList<QWidget*> visible;
        for (QWidget* w : controls_)
            if (w->isVisible()) visible << w;
        QWidget* w = OneOf(visible);
        QTest::mouseMove(w, QPoint(Pick(std::max(1, w->width())), Pick(std::max(1, w->height()))));
        return Finish("move over " + w->objectName());
    }

    QString ChangeASetting() {
        static const char* const names[] = {"MaxGrondtal", "MaxExponent", "TimerMinuten"};
        const char* name = names[Pick(3)];
        QWidget* edit = f_.get(name);
        if (!edit->isVisible()) return {};
        if (edit->isEnabled() && f_.form->isEnabled()) ++counts.settings;
        ClickAt(edit);
        QString value;
        switch (Pick(8)) {
            case 0: value = QString::number(Pick(12)); break;
            case 1: value = QString::number(Pick(12) - 4); break;
            case 2: value = QStringLiteral("999999"); break;
            case 3: value = QStringLiteral("99"); break;
            case 4: value = QStringLiteral(" 0") + QString::number(1 + Pick(5)); break;
            case 5: value = QString(); break;
            default: value = RandomText(); break;
        }
        QString broken = TypeAtFocus(value);
        if (!broken.isEmpty()) return broken;
        switch (Pick(4)) {
            case 0: return PressKey(Qt::Key_Return, {});
            case 1: return PressKey(Qt::Key_Tab, {});
            case 2: ClickAt(f_.result(1 + Pick(kRows))); return Finish(QStringLiteral("click an answer"));
            default: return {};  // left in the field for the next event
        }
    }

    QString StartAContest() {
        if (f_.get("Startknop")->isVisible()) {
            if (f_.form->isEnabled()) ++counts.contests;
            return ClickIfShown("Startknop");
        }
        if (!f_.get("Instellingen")->isEnabled() || !f_.form->isEnabled()) return {};
        ClickAt(f_.get("TimerMinuten"));
        const QString broken = TypeAtFocus(QString::number(1 + Pick(3)));
        if (!broken.isEmpty()) return broken;
        return PressKey(Qt::Key_Return, {});
    }

    QString Tick() {
        if (!f_.form->timer1().isActive()) return {};
        const int ms = Chance(30) ? Pick(2000) : Pick(90'000);
        f_.clock.AdvanceMs(ms);
        const bool wasFinished = !f_.get("Panel3")->isHidden();
        f_.form->contest().Timer1Timer();
        QString broken = Finish(QStringLiteral("tick after %1 ms").arg(ms));
        if (broken.isEmpty() && !wasFinished && !f_.get("Panel3")->isHidden()) {
            ++counts.results;
            broken = CheckedVerdicts();
            if (broken.isEmpty()) broken = CheckedResults();
        }
        return broken;
    }

    QString PrintDialog() {
        QWidget* image3 = f_.get("Image3");
        if (!image3->isVisible() || !image3->isEnabled() || !f_.form->isEnabled()) return {};
        const bool toPdf = Chance(15);
        const QString pdf = pdfDir_.filePath(QStringLiteral("sheet.pdf"));
        f_.form->printer().SetSetupHook([this, toPdf, pdf](QPrinter& printer) {
            if (!toPdf) return false;
            ++counts.printed;
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            return true;
        });
        ClickAt(image3);
        QString broken = Finish(QStringLiteral("click Image3 (printer %1)").arg(toPdf ? "PDF" : "cancelled"));
        if (!broken.isEmpty()) return broken;
        const auto dialogs = VisibleDialogs();
        if (dialogs.isEmpty()) return {};  // covered by the about panel, say
        const QPointer<TPrintDialoog1> dialog = dialogs.first();

        for (int steps = Pick(4); steps > 0; --steps) {
            switch (Pick(4)) {
                case 0: dialog->Edit1->selectAll(); broken = TypeAtFocus(RandomText()); break;
                case 1: ClickAt(dialog->CheckBox1); broken = Finish(QStringLiteral("click CheckBox1")); break;
                case 2: broken = ClickAnyControl(); break;  // on the disabled main window
                default: broken = PressAKey(); break;
            }
            if (!broken.isEmpty()) return broken;
            if (VisibleDialogs().isEmpty()) break;  // Enter or Escape closed it
        }
        if (dialog && dialog->isVisible()) {
            switch (Pick(5)) {
                case 0: ClickAt(dialog->OKKnop); Note(QStringLiteral("click OK")); break;
                case 1: ClickAt(dialog->CancelKnop); Note(QStringLiteral("click Cancel")); break;
                case 2: dialog->close(); Note(QStringLiteral("close the dialog")); break;
                case 3: QTest::keyClick(dialog->Edit1, Qt::Key_Return); Note(QStringLiteral("Enter in the dialog")); break;
                default: QTest::keyClick(dialog->Edit1, Qt::Key_Escape); Note(QStringLiteral("Escape in the dialog")); break;
            }
        }
        if (!VisibleDialogs().isEmpty()) return QStringLiteral("the print dialog did not close");
        return Finish(QStringLiteral("print dialog closed"));
    }

    static QString FocusName() {
        QWidget* w = QApplication::focusWidget();
        return w ? w->objectName() : QStringLiteral("(none)");
    }

    static QString Printable(const QString& text) {
        QString out;
        for (const QChar c : text) {
            if (c.unicode() < 32) {
                out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
            } else {
                out += c;
            }
        }
        return out.size() > 60 ? out.left(57) + QStringLiteral("...") : out;
    }

    FormFixture& f_;
    std::mt19937 rng_;
    const QTemporaryDir& pdfDir_;
    QList<QWidget*> controls_;
    bool dialogSeen_ = false;
    int expectedActivations_ = 1;  // the first show
};

}  // namespace tolvaro::test
