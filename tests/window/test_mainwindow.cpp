// The real main window driven by object name: start state, keyboard, about panel, stop picture,
// practice, the settings fields, bad input and the general error report.
#include <QtTest>

#include <QClipboard>
#include <QGroupBox>
#include <QMimeData>
#include <QStyle>
#include <QTextEdit>

#include "formfixture.h"
#include "print/tprintdialoog1.h"
#include "print/windowlook.h"
#include "window/helptexts.h"
#include "window/widgets.h"

using namespace tolvaro;
using tolvaro::test::FormFixture;

class TestMainWindow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { ConfigureApplication(*qApp); }

    void startState() {
        FormFixture f;
        TForm1& form = *f.form;
        QCOMPARE(form.windowTitle(), QStringLiteral("Tolvaro v.1 (KVZ)"));
        QCOMPARE(form.size(), QSize(809, 646));
        QCOMPARE(form.minimumSize(), form.maximumSize());
        QVERIFY(!(form.windowFlags() & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(form.windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(form.windowFlags() & Qt::WindowCloseButtonHint);
        QCOMPARE(f.text("MaxGrondtal"), QStringLiteral("5"));
        QCOMPARE(f.text("MaxExponent"), QStringLiteral("2"));
        QCOMPARE(f.text("TimerMinuten"), QStringLiteral("0"));
        QCOMPARE(f.text("Reeksteller"), QStringLiteral("1"));
        QCOMPARE(f.text("Label6"), QStringLiteral("0"));
        QCOMPARE(f.text("Label14"), QStringLiteral("OP"));
        QCOMPARE(f.text("Label8"), QStringLiteral("10"));
        for (int row = 1; row <= kRows; ++row) {
            QCOMPARE(f.rowText(RowPart::Exponent, row), QStringLiteral("2"));
            const int base = f.rowText(RowPart::Grondtal, row).toInt();
            QVERIFY(base >= 1 && base <= 5);
            QVERIFY(f.result(row)->text().isEmpty());
            QVERIFY(f.rowText(RowPart::Kontrol, row).isEmpty());
        }
        QCOMPARE(QApplication::focusWidget(), f.result(1));
        QVERIFY(f.get("Kontroleer")->isVisible());
        for (const char* hidden : {"VolgendeOefening", "Startknop", "OKKnop1", "KlokVenster", "Panel3", "Info",
                                   "RichEdit1"}) {
            QVERIFY2(!f.get(hidden)->isVisible(), hidden);
        }
        QVERIFY(f.get<QTextEdit>("Help")->toPlainText().isEmpty());
        QVERIFY(f.get("Instellingen")->isEnabled());
        QVERIFY(!form.timer1().isActive());
        QCOMPARE(form.timer1().interval(), 1000);
        QCOMPARE(form.RowSeparator, std::string("\t\t\t\t\t\t\t\t|"));
        QVERIFY(f.errors.isEmpty());
    }

    void controlRectangles_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("rect");
        QTest::newRow("Instellingen") << "Instellingen" << QRect(24, 9, 761, 89);
        QTest::newRow("MaxGrondtal") << "MaxGrondtal" << QRect(263, 16, 57, 17);
        QTest::newRow("TimerMinuten") << "TimerMinuten" << QRect(261, 64, 59, 17);
        QTest::newRow("Image4") << "Image4" << QRect(26, 104, 57, 25);
        QTest::newRow("Panel1") << "Panel1" << QRect(24, 134, 569, 314);
        QTest::newRow("Oef1Result") << "Oef1Result" << QRect(207, 34, 234, 20);
        QTest::newRow("Oef10Result") << "Oef10Result" << QRect(207, 278, 234, 20);
        QTest::newRow("Oef5Kontrol") << "Oef5Kontrol" << QRect(466, 143, 68, 18);
        QTest::newRow("Oef3Grondtal") << "Oef3Grondtal" << QRect(69, 90, 62, 18);
        QTest::newRow("Panel2") << "Panel2" << QRect(608, 134, 177, 313);
        QTest::newRow("Label6") << "Label6" << QRect(35, 66, 105, 37);
        QTest::newRow("Kontroleer") << "Kontroleer" << QRect(397, 455, 136, 23);
        QTest::newRow("VolgendeOefening") << "VolgendeOefening" << QRect(68, 456, 262, 24);
        QTest::newRow("Help") << "Help" << QRect(16, 496, 769, 139);
        QTest::newRow("Panel3") << "Panel3" << QRect(24, 136, 761, 313);
        QTest::newRow("Info") << "Info" << QRect(172, 33, 585, 280);
        QTest::newRow("KlokVenster") << "KlokVenster" << QRect(416, 106, 87, 24);
        QTest::newRow("Startknop") << "Startknop" << QRect(431, 107, 62, 22);
        QTest::newRow("OKKnop") << "OKKnop" << QRect(286, 237, 36, 25);
    }
    void controlRectangles() {
        QFETCH(QString, name);
        QFETCH(QRect, rect);
        FormFixture f;
        QCOMPARE(f.get(name.toLatin1().constData())->geometry(), rect);
    }

    // Without a pointer of its own: a label's or image's is its parent's, a control's its kind's.
    void pointers_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("pointer");
        for (const char* name : {"Help", "Oef1Grondtal"}) QTest::newRow(name) << name << "no drop";
        for (const char* name : {"Startknop", "OKKnop1", "Info", "Label45", "Image2", "OKKnop"}) QTest::newRow(name) << name << "arrow";
        QTest::newRow("Label47") << "Label47" << "slashed circle";
    }
    void pointers() {
        QFETCH(QString, name);
        QFETCH(QString, pointer);
        FormFixture f;
        QWidget* control = f.get(name.toLatin1().constData());
        for (QWidget* w = control; w != f.form.get(); w = w->parentWidget()) w->show();
        const QCursor shown = f.form->childAt(control->mapTo(f.form.get(), QPoint(4, 4)))->cursor();
        const bool noDrop = shown.pixmap().toImage() == NoDropCursor().pixmap().toImage();
        QCOMPARE(noDrop ? "no drop" : shown.shape() == Qt::ArrowCursor ? "arrow" : "slashed circle", pointer);
    }

    void tabCyclesTheAnswerEditsOnly() {
        FormFixture f;
        for (int step = 1; step <= 2 * kRows; ++step) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), f.result(step % kRows + 1));
        }
    }

    // Enter alone or with Shift; with Ctrl or Alt it is another key (a button's shortcut).
    void enterMovesToTheNextRow_data() {
        QTest::addColumn<Qt::Key>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<bool>("isEnter");
        QTest::newRow("Return") << Qt::Key_Return << Qt::KeyboardModifiers() << true;
        QTest::newRow("keypad Enter") << Qt::Key_Enter << Qt::KeyboardModifiers(Qt::KeypadModifier) << true;
        QTest::newRow("Shift+Return") << Qt::Key_Return << Qt::KeyboardModifiers(Qt::ShiftModifier) << true;
        QTest::newRow("Ctrl+Shift+keypad Enter") << Qt::Key_Enter << (Qt::ControlModifier | Qt::ShiftModifier | Qt::KeypadModifier) << false;
        QTest::newRow("Alt+Return") << Qt::Key_Return << Qt::KeyboardModifiers(Qt::AltModifier) << false;
    }
    void enterMovesToTheNextRow() {
        QFETCH(Qt::Key, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(bool, isEnter);
        FormFixture f;
        f.result(10)->setFocus();
        QTest::keyClick(f.result(10), key, modifiers);
        QCOMPARE(QApplication::focusWidget(), f.result(isEnter ? 1 : 10));
        auto* setting = f.get<QLineEdit>("MaxGrondtal");
        QTest::mouseClick(setting, Qt::LeftButton);
        QTest::keyClicks(setting, " 8");
        QTest::keyClick(setting, key, modifiers);
        QCOMPARE(setting->text(), isEnter ? QStringLiteral("8") : QStringLiteral(" 8"));
        f.click("Image1");
        QTest::keyClick(f.result(1), key, modifiers);
        QCOMPARE(f.get("Info")->isVisible(), !isEnter);
    }

    void aboutPanelLeavesTheExercisesAlone() {
        FormFixture f;
        QTest::keyClicks(f.result(1), "7");
        const QString base = f.rowText(RowPart::Grondtal, 1);
        for (int i = 0; i < 3; ++i) {
            f.click("Image1");
            QVERIFY(f.get("Info")->isVisible());
            f.click("Image1");
            QVERIFY(f.get("Info")->isVisible());
            // Enter in an edit presses the panel's OK instead of moving on.
            QTest::keyClick(f.result(1), Qt::Key_Return);
            QVERIFY(!f.get("Info")->isVisible());
            QCOMPARE(QApplication::focusWidget(), f.result(1));
        }
        f.click("Image1");
        f.click("OKKnop");
        QVERIFY(!f.get("Info")->isVisible());
        QTest::keyClick(f.form->windowHandle(), '7');  // the click took no focus: typing goes on
        QCOMPARE(f.result(1)->text(), QStringLiteral("77"));
        f.form->setFocus();  // on no control, Escape and Enter close the panel too
        for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return}) {
            f.click("Image1");
            QTest::keyClick(f.form->windowHandle(), key);
            QVERIFY(!f.get("Info")->isVisible());
        }
        QCOMPARE(f.rowText(RowPart::Grondtal, 1), base);
        QCOMPARE(f.form->activationCount(), 1);
    }

    // OK on the about panel leaves the focus where it was; hiding the panel must not pass the
    // focus on to the first answer edit, whose entry would hide VOLGENDE OEFENING.
    void closingAboutPanelKeepsNextButton() {
        FormFixture f;
        f.click("Kontroleer");
        QVERIFY(f.get("VolgendeOefening")->isVisible());
        f.click("Image1");
        f.click("OKKnop");
        QVERIFY(!f.get("Info")->isVisible());
        QVERIFY(f.get("VolgendeOefening")->isVisible());
        QVERIFY(!qobject_cast<QLineEdit*>(QApplication::focusWidget()));
        QVERIFY(f.errors.isEmpty());
    }

    void stopPictureEndsTheEventLoop() {
        FormFixture f;
        QTimer::singleShot(0, f.form.get(), [&f] { f.click("Image4"); });
        QCOMPARE(QCoreApplication::exec(), 0);
    }

    void closeBoxEndsTheEventLoop() {
        FormFixture f;
        QTimer::singleShot(0, f.form.get(), [&f] { f.form->close(); });
        QCOMPARE(QCoreApplication::exec(), 0);
    }

    void practiceASeries() {
        FormFixture f;
        for (int row = 1; row <= kRows; ++row) {
            QTest::keyClicks(f.result(row), f.answer(row));
            QTest::keyClick(f.result(row), Qt::Key_Return);
        }
        f.click("Kontroleer");
        f.click("Kontroleer");
        QCOMPARE(f.text("Label6"), QStringLiteral("10"));
        for (int row = 1; row <= kRows; ++row) {
            QCOMPARE(f.rowText(RowPart::Kontrol, row), QStringLiteral("GOED"));
            auto* verdict = f.get<QLabel>(("Oef" + std::to_string(row) + "Kontrol").c_str());
            QCOMPARE(verdict->palette().color(QPalette::WindowText), QColor(0, 128, 0));
        }
        QVERIFY(f.get("VolgendeOefening")->isVisible());
        f.click("VolgendeOefening");
        QCOMPARE(f.text("Reeksteller"), QStringLiteral("2"));
        QCOMPARE(f.text("Label8"), QStringLiteral("20"));
        QCOMPARE(QApplication::focusWidget(), f.result(1));
        for (int row = 1; row <= 7; ++row) {
            QTest::keyClicks(f.result(row), f.answer(row));
            QTest::keyClick(f.result(row), Qt::Key_Tab);
        }
        f.click("Kontroleer");
        QCOMPARE(f.text("Label6"), QStringLiteral("17"));
        QCOMPARE(f.rowText(RowPart::Kontrol, 8), QStringLiteral("FOUT"));
        auto* verdict = f.get<QLabel>("Oef8Kontrol");
        QCOMPARE(verdict->palette().color(QPalette::WindowText), QColor(255, 0, 0));
        // Entering an answer edit hides VOLGENDE OEFENING again; the score stays.
        QTest::mouseClick(f.result(4), Qt::LeftButton);
        QVERIFY(!f.get("VolgendeOefening")->isVisible());
        QVERIFY(f.result(4)->text().isEmpty());  // a click empties the answer
        QCOMPARE(f.text("Label6"), QStringLiteral("17"));
    }

    void typedAnswersAreNormalisedOnLeaving_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("after");
        QTest::newRow("decimal point") << "2.5" << "2,5";
        QTest::newRow("grouping points") << "1.000.000" << "";
        QTest::newRow("spaces around") << " 25 " << "25";
        QTest::newRow("letters") << "vijfentwintig" << "";
        QTest::newRow("spaces only") << "     " << "";
        QTest::newRow("huge") << "1E5000" << "";
        QTest::newRow("double minus") << "--5" << "";
        QTest::newRow("commas") << "1,2,3" << "";
        QTest::newRow("other scripts") << QString::fromUtf8("٢٥") << "";
        QTest::newRow("longer than the edit") << QString(40, u'9') << QString(25, u'9');
    }
    void typedAnswersAreNormalisedOnLeaving() {
        QFETCH(QString, typed);
        QFETCH(QString, after);
        FormFixture f;
        FormFixture::type(f.result(1), typed);
        QTest::keyClick(f.result(1), Qt::Key_Tab);
        QCOMPARE(f.result(1)->text(), after);
        f.click("Kontroleer");
        QCOMPARE(f.text("Label6").toInt(), f.form->practice().AantalGoed);
        QVERIFY(f.errors.isEmpty());
    }

    // Answer 1 alone keeps its selection on leaving, as long as the normalising keeps its text.
    void onlyAnswerOneKeepsItsSelection() {
        FormFixture f;
        const std::tuple<int, const char*, bool> cases[] = {{1, "16", true}, {1, "2.5", false}, {2, "16", false}};
        for (const auto& [row, typed, kept] : cases) {
            f.result(row % kRows + 1)->setFocus();
            f.result(row)->setText(QString::fromLatin1(typed));
            f.result(row)->setFocus(Qt::TabFocusReason);
            QTest::keyClick(f.result(row), Qt::Key_Tab);
            QVERIFY2(f.result(row)->hasSelectedText() == kept, typed);
        }
    }

    void pastedTextWithLineBreaks() {
        FormFixture f;
        f.result(2)->insert(QStringLiteral("1\n6\t"));
        f.result(3)->insert(QStringLiteral("\t16\r\n"));
        f.result(4)->setFocus();
        f.click("Kontroleer");
        QVERIFY(f.errors.isEmpty());
        QCOMPARE(f.form->practice().BehaaldePunten,
                 f.form->practice().VastgelegdePunten + f.form->practice().AantalGoed);
    }

    void settingsChangeStartsANewSeries() {
        FormFixture f;
        f.click("Kontroleer");
        f.click("VolgendeOefening");
        QCOMPARE(f.text("Reeksteller"), QStringLiteral("2"));
        f.typeSetting("MaxGrondtal", QStringLiteral("8"));
        QCOMPARE(f.text("MaxGrondtal"), QStringLiteral("8"));
        QCOMPARE(f.text("Reeksteller"), QStringLiteral("1"));
        QCOMPARE(f.text("Label6"), QStringLiteral("0"));
        QCOMPARE(f.text("Label8"), QStringLiteral("10"));
        QCOMPARE(QApplication::focusWidget(), f.result(1));
    }

    // Clicked from a changed settings edit straight into another: the same one new set as by Enter.
    void clickFromAChangedSettingDrawsOneSet() {
        QStringList bases[2];
        for (const bool viaClick : {false, true}) {
            FormFixture f;
            f.form->practice().random().Seed(7);
            QTest::mouseClick(f.get("MaxGrondtal"), Qt::LeftButton);
            QTest::keyClicks(f.get("MaxGrondtal"), "8");
            viaClick ? QTest::mouseClick(f.get("MaxExponent"), Qt::LeftButton)
                     : QTest::keyClick(f.get("MaxGrondtal"), Qt::Key_Return);
            QCOMPARE(QApplication::focusWidget(), viaClick ? f.get("MaxExponent") : f.result(1));
            for (int row = 1; row <= kRows; ++row) bases[viaClick] << f.rowText(RowPart::Grondtal, row);
        }
        QCOMPARE(bases[1], bases[0]);
    }

    void badSettingsAreRestoredQuietly_data() {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("letters") << "MaxGrondtal" << "abc" << "5";
        QTest::newRow("empty") << "MaxExponent" << "" << "2";
        QTest::newRow("decimal") << "MaxGrondtal" << "2,5" << "5";
        QTest::newRow("lone sign") << "MaxExponent" << "-" << "2";
        QTest::newRow("same value") << "MaxExponent" << "2" << "2";
        // Enter in the minutes field always settles it on a valid text, which starts a new series;
        // leaving it by Tab with letters only restores it.
        QTest::newRow("minutes letters, left by Tab") << "TimerMinuten" << "x\t" << "0";
        QTest::newRow("non-ascii") << "MaxGrondtal" << QString::fromUtf8("éé") << "5";
    }
    void badSettingsAreRestoredQuietly() {
        QFETCH(QString, edit);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        FormFixture f;
        f.click("Kontroleer");
        f.click("VolgendeOefening");
        const QString base = f.rowText(RowPart::Grondtal, 1);
        if (typed.endsWith(u'\t')) {
            auto* field = f.get<QLineEdit>(edit.toLatin1().constData());
            QTest::mouseClick(field, Qt::LeftButton);
            FormFixture::type(field, typed.chopped(1));
            QTest::keyClick(field, Qt::Key_Tab);
        } else {
            f.typeSetting(edit.toLatin1().constData(), typed);
        }
        QCOMPARE(f.text(edit.toLatin1().constData()), shown);
        QCOMPARE(f.text("Reeksteller"), QStringLiteral("2"));
        QCOMPARE(f.rowText(RowPart::Grondtal, 1), base);
        QVERIFY(f.errors.isEmpty());
    }

    void textNotValueDecidesAChange_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("newSeries");
        QTest::newRow("05") << "05" << true;
        QTest::newRow("+5") << "+5" << true;
        QTest::newRow(" 5") << " 5" << false;
    }
    void textNotValueDecidesAChange() {
        QFETCH(QString, typed);
        QFETCH(bool, newSeries);
        FormFixture f;
        f.click("Kontroleer");
        f.click("VolgendeOefening");
        f.typeSetting("MaxGrondtal", typed);
        QCOMPARE(f.text("Reeksteller"), newSeries ? QStringLiteral("1") : QStringLiteral("2"));
    }

    void startShownForMinutesAboveZero_data() {
        QTest::addColumn<QString>("minutes");
        QTest::addColumn<bool>("shown");
        QTest::newRow("3") << "3" << true;
        QTest::newRow("0") << "0" << false;
        QTest::newRow("-2") << "-2" << false;
    }
    void startShownForMinutesAboveZero() {
        QFETCH(QString, minutes);
        QFETCH(bool, shown);
        FormFixture f;
        f.typeSetting("TimerMinuten", minutes);
        QCOMPARE(f.get("Startknop")->isVisible(), shown);
        // Leaving the field again (empty) puts the value back and changes nothing.
        f.typeSetting("TimerMinuten", QString());
        QCOMPARE(f.text("TimerMinuten"), minutes);
        QCOMPARE(f.get("Startknop")->isVisible(), shown);
    }

    void enteringASettingHidesNextSet() {
        FormFixture f;
        f.click("Kontroleer");
        QVERIFY(f.get("VolgendeOefening")->isVisible());
        QTest::mouseClick(f.get("TimerMinuten"), Qt::LeftButton);
        QVERIFY(!f.get("VolgendeOefening")->isVisible());
        f.result(1)->setFocus();
        f.click("Kontroleer");
        QTest::mouseClick(f.get("MaxExponent"), Qt::LeftButton);
        QVERIFY(!f.get("VolgendeOefening")->isVisible());
    }

    // A key does what the click on its control does, from every state: the field being left
    // settles first, a control hidden, disabled or under the about panel does nothing, and the focus
    // ends where the click leaves it. Steps: "Control|Key" (clicked, or its key pressed), "Control"
    // (clicked) or "type:text" (where the focus is); both runs must end alike, as `expected` says.
    void keyActsAsItsClick_data() {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("expected");
        const QStringList tenRight{"type:*", "MaxGrondtal"}, threeMinutes{"TimerMinuten", "type:3\r"};
        QTest::newRow("emptied setting, check, next") << tenRight + QStringList{"Kontroleer|Ctrl+Enter",
            "VolgendeOefening|Ctrl+N", "Kontroleer|Ctrl+Enter"} << QStringList{"Label6=10", "Label8=20", "MaxGrondtal=5"};
        QTest::newRow("invalid setting, keypad check") << tenRight + QStringList{"type:x", "Kontroleer|Ctrl+Num+Enter",
            "VolgendeOefening|Ctrl+N", "Kontroleer|Ctrl+Enter"} << QStringList{"Label6=10", "Label8=20"};
        QTest::newRow("0 minutes typed, start") << threeMinutes + QStringList{"TimerMinuten", "type:0",
            "Startknop|Ctrl+T"} << QStringList{"Startknop=hidden", "KlokVenster=hidden", "timer=off"};
        QTest::newRow("about panel over start") << threeMinutes + QStringList{"Image1|F1", "Startknop|Ctrl+T",
            "MaxExponent|Alt+E", "Image3|Ctrl+P", "Kontroleer|Ctrl+Enter"}
            << QStringList{"timer=off", "MaxExponent=2", "dialogs=0", "focus=Kontroleer"};
        QTest::newRow("contest") << threeMinutes + QStringList{"Startknop|Ctrl+T", "MaxGrondtal|Alt+G", "MaxExponent|Alt+E",
            "TimerMinuten|Alt+M", "Image3|Ctrl+P", "Image1|F1", "Kontroleer|Ctrl+Enter"}
            << QStringList{"timer=on", "MaxGrondtal=5", "Info=hidden", "dialogs=0"};
        QTest::newRow("typing after the check") << QStringList{"type:*", "Kontroleer|Ctrl+Enter", "type:9"}
            << QStringList{"Label6=10", "VolgendeOefening=shown", "focus=Kontroleer"};
        QTest::newRow("settings entered by key") << QStringList{"MaxGrondtal|Alt+G", "type:8", "MaxExponent|Alt+E",
            "type:3", "TimerMinuten|Alt+M"} << QStringList{"MaxGrondtal=8", "MaxExponent=3", "TimerMinuten=",
            "focus=TimerMinuten"};
        QTest::newRow("printer") << QStringList{"Image3|Ctrl+P"} << QStringList{"dialogs=1"};
    }
    void keyActsAsItsClick() {
        QFETCH(QStringList, steps);
        QFETCH(QStringList, expected);
        QStringList outcome[2];
        for (const bool byKey : {false, true}) {
            FormFixture f;
            for (const QString& step : steps) {
                QWidget* focus = QApplication::focusWidget() ? QApplication::focusWidget() : f.form.get();
                if (step == "type:*") {  // the ten right answers
                    for (int row = 1; row <= kRows; ++row) f.result(row)->setText(f.answer(row));
                } else if (step.startsWith("type:")) {
                    QTest::keyClicks(focus, step.mid(5).remove(u'\r'));
                    if (step.endsWith(u'\r')) QTest::keyClick(focus, Qt::Key_Return);
                } else if (!step.contains(u'|') || !byKey) {
                    // Where the pointer is: a control under the about panel is not hit.
                    QWidget* w = f.get(step.section(u'|', 0, 0).toLatin1().constData());
                    QTest::mouseClick(f.form->windowHandle(), Qt::LeftButton, {}, w->mapTo(f.form.get(), w->rect().center()));
                } else {
                    const QKeyCombination key = QKeySequence::fromString(step.section(u'|', 1))[0];
                    QTest::keyClick(focus, key.key(), key.keyboardModifiers());
                }
                QCoreApplication::processEvents();  // a dialog's activation, a queued focus step
            }
            QStringList& state = outcome[byKey];
            for (const char* name : {"Reeksteller", "Label6", "Label8", "MaxGrondtal", "MaxExponent", "TimerMinuten",
                                     "Oef1Result", "Oef1Kontrol"})
                state << QString::fromLatin1(name) + u'=' + f.text(name);
            for (const char* name : {"VolgendeOefening", "Kontroleer", "Startknop", "KlokVenster", "Info", "Panel3"})
                state << QString::fromLatin1(name) + (f.get(name)->isVisible() ? "=shown" : "=hidden");
            state << QStringLiteral("timer=") + (f.form->timer1().isActive() ? "on" : "off")
                  << "focus=" + (QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString())
                  << "exercise=" + f.rowText(RowPart::Grondtal, 1) << "errors=" + f.errors.join(u',');
            int dialogs = 0;
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (auto* d = qobject_cast<TPrintDialoog1*>(w); d && d->isVisible()) ++dialogs, d->CancelKnop->click();
            }
            state << "dialogs=" + QString::number(dialogs);
        }
        QCOMPARE(outcome[true], outcome[false]);
        for (const QString& item : expected) QVERIFY2(outcome[true].contains(item), qPrintable(item));
    }

    // The stop key works whatever runs, also during a contest.
    void stopKeyEndsTheEventLoopDuringAContest() {
        FormFixture f;
        f.typeSetting("TimerMinuten", QStringLiteral("2"));
        f.click("Startknop");
        QTimer::singleShot(0, f.form.get(), [] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Q, Qt::ControlModifier); });
        QCOMPARE(QCoreApplication::exec(), 0);
    }

    void escapePressesResetOnlyWhileShown() {
        FormFixture f;
        QTest::keyClick(f.result(1), Qt::Key_Escape);
        QCOMPARE(f.text("Reeksteller"), QStringLiteral("1"));
        f.typeSetting("TimerMinuten", QStringLiteral("2"));
        f.click("Startknop");
        QVERIFY(f.get("OKKnop1")->isVisible());
        QVERIFY(!f.get("Instellingen")->isEnabled());
        QTest::keyClick(f.result(1), Qt::Key_Escape, Qt::ShiftModifier);
        QVERIFY(f.get("OKKnop1")->isVisible());
        QTest::keyClick(f.result(1), Qt::Key_Escape);
        QVERIFY(!f.get("OKKnop1")->isVisible());
        QVERIFY(f.get("Instellingen")->isEnabled());
        QCOMPARE(f.text("TimerMinuten"), QStringLiteral("0"));
    }

    void contestEndNormalisesTheFocusedAnswer() {
        FormFixture f;
        f.typeSetting("TimerMinuten", QStringLiteral("1"));
        f.click("Startknop");
        QCOMPARE(QApplication::focusWidget(), f.result(1));
        const QString right = f.answer(1);
        QTest::keyClicks(f.result(1), right + QStringLiteral(".0"));
        f.clock.AdvanceMs(60'001);
        f.form->contest().Timer1Timer();
        QCOMPARE(f.result(1)->text(), right + QStringLiteral(",0"));
        QCOMPARE(f.rowText(RowPart::Kontrol, 1), QStringLiteral("GOED"));
        QCOMPARE(f.text("Label48"), QStringLiteral("1"));
        QCOMPARE(f.text("Label49"), QStringLiteral("1"));
        QCOMPARE(f.text("Label51"), QStringLiteral("100"));
        QVERIFY(f.get("Panel3")->isVisible());
        QVERIFY(!f.get("Panel1")->isEnabled());
        QVERIFY(!f.get("Kontroleer")->isVisible());
        QVERIFY(!f.get("VolgendeOefening")->isVisible());
        // The settings group, with the print and info pictures, is out of reach until RESET.
        f.click("Image1");
        QVERIFY(!f.get("Info")->isVisible());
        f.click("OKKnop1");
        f.click("Image1");
        QVERIFY(f.get("Info")->isVisible());
    }

    // The countdown in the user's long time format, kept whole in its label of fixed size.
    void timerTicksDriveTheCountdown_data() {
        QTest::addColumn<QString>("locale");  // empty: the system's, "HH:mm:ss t" in the tests
        QTest::addColumn<QString>("minutes");
        QTest::addColumn<QString>("shown");
        QTest::newRow("system") << "" << "10" << "00:09:59";
        QTest::newRow("fr_CA, unit names") << "fr_CA" << "999" << "16 h 38 min 59 s";
    }
    void timerTicksDriveTheCountdown() {
        QFETCH(QString, locale);
        QFETCH(QString, minutes);
        QFETCH(QString, shown);
        if (!locale.isEmpty()) QLocale::setDefault(QLocale(locale));
        FormFixture f;
        QLocale::setDefault(QLocale::system());
        f.typeSetting("TimerMinuten", minutes);
        f.click("Startknop");
        QVERIFY(f.form->timer1().isActive());
        QCOMPARE(f.form->timer1().timerType(), Qt::PreciseTimer);
        QCOMPARE(f.form->timer1().interval(), 1000);
        f.clock.AdvanceMs(1000);
        f.form->timer1().setInterval(1);  // the tick itself reads only the fake clock
        QTRY_COMPARE(f.text("KlokVenster"), shown);
        auto* clock = f.get<QLabel>("KlokVenster");
        QVERIFY(clock->fontMetrics().horizontalAdvance(shown) <= clock->contentsRect().width());
    }

    void helpTexts_data() {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("shown");
        const auto q = [](std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); };
        QTest::newRow("settings edit") << "MaxGrondtal" << "" << q(help::kMaxGrondtal);
        QTest::newRow("group background clears") << "MaxGrondtal" << "Instellingen" << "";
        QTest::newRow("group label keeps") << "MaxGrondtal" << "Label1" << q(help::kMaxGrondtal);
        QTest::newRow("answer edit") << "Oef7Result" << "" << q(help::kResult);
        QTest::newRow("panel background clears") << "Oef7Result" << "Panel1" << "";
        QTest::newRow("row label keeps") << "Oef7Result" << "Oef7Grondtal" << q(help::kResult);
        QTest::newRow("score panel clears") << "Label6" << "Panel2" << "";
        QTest::newRow("window clears") << "Label8" << "Form1" << "";
        QTest::newRow("timer") << "TimerMinuten" << "Label36" << q(help::kTimerMinuten);
        QTest::newRow("counter") << "Reeksteller" << "Image1" << q(help::kReeksteller);
        QTest::newRow("check") << "Kontroleer" << "Help" << q(help::kKontroleer);
        QTest::newRow("printer") << "Image3" << "" << q(help::kImage3);
        QTest::newRow("stop") << "Image4" << "" << q(help::kImage4);
        QTest::newRow("exponent") << "MaxExponent" << "Label3" << q(help::kMaxExponent);
    }
    void helpTexts() {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(QString, shown);
        FormFixture f;
        auto move = [&f](const QString& name) {
            QWidget* w = name == QLatin1String("Form1") ? f.form.get() : f.get(name.toLatin1().constData());
            QPoint inside(2, w->height() / 2);
            if (name == QLatin1String("Form1")) inside = QPoint(5, 640);
            if (name == QLatin1String("Instellingen") || name == QLatin1String("Panel1") ||
                name == QLatin1String("Panel2")) {
                inside = QPoint(w->width() - 8, w->height() - 8);
            }
            QTest::mouseMove(w, inside);
        };
        move(first);
        if (!second.isEmpty()) move(second);
        QString expected = shown;
        expected.replace(u'\r', u'\n');
        QTRY_COMPARE(f.get<QTextEdit>("Help")->toPlainText(), expected);
    }

    // Text dragged from anywhere lands in no field: a field's text comes only from typing after
    // it was entered, so that leaving it settles every text it holds.
    void dropsAreRefused() {
        FormFixture f;
        QMimeData mime;
        mime.setText(QStringLiteral("2D"));
        for (const char* name : {"MaxGrondtal", "MaxExponent", "TimerMinuten", "Oef1Result", "Help"}) {
            QWidget* target = f.get(name);
            QDragEnterEvent enter(target->mapTo(f.form.get(), target->rect().center()), Qt::CopyAction | Qt::MoveAction,
                                  &mime, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(f.form->windowHandle(), &enter);
            QVERIFY2(!enter.isAccepted(), name);  // no drop follows then
        }
    }

    // The help box's text can be selected and copied, but a press on the selection that moves
    // selects anew instead of dragging the text away: such a drag could leave the window waiting.
    void helpTextSelectsButDoesNotDrag() {
        FormFixture f;
        f.form->SetHelpText(std::string(help::kResult));
        auto* help = f.get<QTextEdit>("Help");
        QVERIFY(help->find(QStringLiteral("oplossing")));
        QTextCursor inside = help->textCursor();
        inside.setPosition(inside.selectionStart() + 2);  // a press inside the selection
        const QPoint press = help->cursorRect(inside).center();
        const QPoint release = press + QPoint(3 * QApplication::startDragDistance() + 15, 0);
        QTest::mousePress(help->viewport(), Qt::LeftButton, {}, press);
        QTest::mouseMove(help->viewport(), release);
        QTest::mouseRelease(help->viewport(), Qt::LeftButton, {}, release);
        const QTextCursor selected = help->textCursor();
        QCOMPARE(selected.selectionStart(), help->cursorForPosition(press).position());
        QCOMPARE(selected.selectionEnd(), help->cursorForPosition(release).position());
        help->copy();
        QCOMPARE(QGuiApplication::clipboard()->text(), selected.selectedText());
    }

    void helpTextLengths() {
        const std::pair<std::string_view, int> texts[] = {
            {help::kMaxGrondtal, 114}, {help::kMaxExponent, 114},      {help::kTimerMinuten, 496},
            {help::kReeksteller, 211}, {help::kResult, 87},            {help::kLabel6, 75},
            {help::kLabel8, 71},       {help::kKontroleer, 225},       {help::kVolgendeOefening, 118},
            {help::kImage3, 297},      {help::kImage4, 26},
        };
        for (const auto& [text, length] : texts) {
            QCOMPARE(QString::fromUtf8(text.data(), qsizetype(text.size())).size(), length);
            QVERIFY(text.find('\n') == std::string_view::npos);
        }
    }

    void tooltipsOnlyWhereListed() {
        FormFixture f;
        QCOMPARE(f.get("Kontroleer")->toolTip(), QStringLiteral("Controleer uw oefening op fouten."));
        QCOMPARE(f.get("Kontroleer")->toolTipDuration(), 5000);
        QCOMPARE(f.result(3)->toolTip(), QStringLiteral("Uw oplossing."));
        for (const char* none : {"Instellingen", "Panel1", "Panel2", "Label1", "Label36", "Startknop", "OKKnop1",
                                 "KlokVenster", "Oef1Kontrol", "Panel3", "Info"}) {
            QVERIFY2(f.get(none)->toolTip().isEmpty(), none);
        }
        QCOMPARE(f.get("Kontroleer")->style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay), 500);
    }

    // Measured on the rendered windows; run again under GTK's dark Adwaita scheme.
    // Every text against its background: 4.5:1 (AA) for the fields and buttons in the light look,
    // 7:1 (AAA) for every text in the high-contrast look: under a high-contrast GTK theme (a run
    // of its own) and with a KDE-like high-contrast palette handed over by the platform theme.
    void textStaysLegible_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("kde");
        const char* fields[] = {"Form1/Oef2Result", "Form1/Oef1Result/selected", "Form1/MaxGrondtal",
                                "Form1/Kontroleer", "PrintDialoog1/Edit1", "PrintDialoog1/Edit1/selected",
                                "PrintDialoog1/Label1", "PrintDialoog1/CheckBox1", "PrintDialoog1/OKKnop",
                                "PrintDialoog1/CancelKnop"};
        const char* labels[] = {"Form1/Oef1Kontrol/FOUT", "Form1/Oef2Kontrol/GOED", "Form1/Label6", "Form1/Label8",
                                "Form1/Label41", "Form1/Reeksteller", "Form1/Label1", "Form1/Label38",
                                "Form1/Oef1Grondtal"};
        for (const bool kde : {false, true}) {
            QStringList paths;
            for (const char* path : fields) paths << QLatin1String(path);
            if (kde || HighContrastLook())
                for (const char* path : labels) paths << QLatin1String(path);
            for (const QString& path : paths) QTest::newRow(qPrintable((kde ? "kde " : "") + path)) << path << kde;
        }
    }
    void textStaysLegible() {
        QFETCH(QString, path);
        QFETCH(bool, kde);
        if (qgetenv("GTK_THEME").endsWith(":dark")) QVERIFY(qApp->palette().color(QPalette::Base).lightness() < 64);
        if (qgetenv("GTK_THEME").startsWith("HighContrast")) QVERIFY(HighContrastLook());
        const QPalette desktop = qApp->palette();
        const auto restore = qScopeGuard([desktop] {
            qApp->setPalette(desktop);
            ChooseDesktopLook(desktop);
        });
        if (kde) {
            QPalette palette;  // white on black, yellow text in fields
            for (auto role : {QPalette::Window, QPalette::Base, QPalette::Button, QPalette::HighlightedText})
                palette.setColor(role, Qt::black);
            for (auto role : {QPalette::WindowText, QPalette::ButtonText}) palette.setColor(role, Qt::white);
            for (auto role : {QPalette::Text, QPalette::Highlight}) palette.setColor(role, Qt::yellow);
            qApp->setPalette(palette);
            ChooseDesktopLook(palette);
            QVERIFY(HighContrastLook());
        }
        FormFixture f;
        if (path.startsWith("PrintDialoog1")) f.click("Image3");
        if (path.endsWith("GOED")) f.result(2)->setText(f.answer(2));
        if (path.contains("Kontrol/")) f.click("Kontroleer");
        QWidget* w = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->isVisible() && top->objectName() == path.section(u'/', 0, 0))
                w = top->findChild<QWidget*>(path.section(u'/', 1, 1));
        if (path.contains("Kontrol/")) QCOMPARE(qobject_cast<QLabel*>(w)->text(), path.section(u'/', 2));
        auto* edit = qobject_cast<QLineEdit*>(w);
        if (edit) edit->setText(QStringLiteral("1234567890123456789012345"));
        if (path.endsWith("selected")) edit->selectAll();
        // Inside the frame, or inside the selection; the commonest colour is the background.
        const QImage image = w->grab().toImage();
        const QRect area = path.endsWith("selected") ? QRect(8, image.height() / 2 - 3, w->width() / 3, 6)
                                                     : image.rect().adjusted(4, 4, -4, -4);
        QHash<QRgb, int> counts;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x) ++counts[image.pixel(x, y)];
        const QRgb background = std::max_element(counts.keyValueBegin(), counts.keyValueEnd(),
                                                 [](auto a, auto b) { return a.second < b.second; })->first;
        auto luminance = [](QRgb c) {  // relative luminance + 0.05, as WCAG counts it
            auto linear = [](int v) { return v <= 10 ? v / 3294.6 : std::pow((v / 255.0 + 0.055) / 1.055, 2.4); };
            return 0.2126 * linear(qRed(c)) + 0.7152 * linear(qGreen(c)) + 0.0722 * linear(qBlue(c)) + 0.05;
        };
        double contrast = 1;
        for (const QRgb c : counts.keys())
            contrast = std::max({contrast, luminance(c) / luminance(background), luminance(background) / luminance(c)});
        if (w->window() != f.form.get()) delete w->window();  // the dialog is no child of the form
        const double wanted = HighContrastLook() ? 7 : 4.5;
        QVERIFY2(contrast >= wanted, qPrintable(QString::number(contrast)));
    }

    void standardDialogsSpeakDutch() {
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Annuleren"));
        QCOMPARE(QCoreApplication::translate("QPrintDialog", "Print"), QStringLiteral("Afdrukken"));
    }

    void errorsEscapingAHandlerAreReported() {
        FormFixture f;
        // A settings text that is not an integer can't be typed; set it behind the edit's back.
        f.get<QLineEdit>("MaxExponent")->setText(QStringLiteral("x"));
        f.click("Kontroleer");
        f.click("VolgendeOefening");
        QCOMPARE(f.errors.size(), 1);
        QVERIFY(f.errors.first().contains(QStringLiteral("'x'")));
        // The program carries on.
        f.get<QLineEdit>("MaxExponent")->setText(QStringLiteral("2"));
        f.click("Kontroleer");
        QCOMPARE(f.errors.size(), 1);
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
