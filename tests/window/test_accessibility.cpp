// What a screen reader gets from the main window through Qt's accessibility interfaces:
// names, roles and descriptions, the exercise read as a whole, and a lesson played through
// the accessible actions and text interfaces alone.
#include <QtTest>

#include <QAccessible>
#include <QAbstractButton>
#include <QLineEdit>

#include "formfixture.h"
#include "window/accessibility/formaccessibility.h"
#include "window/helptexts.h"

using namespace tolvaro;
using tolvaro::test::FormFixture;

namespace {

QAccessibleInterface* Accessible(const FormFixture& f, const char* name) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(f.get(name));
    if (!iface) qFatal("no accessible interface for %s", name);
    return iface;
}

// Every key is told with its control.
QString Description(std::string_view help, const char* key = nullptr) {
    QString text = QString::fromUtf8(help.data(), static_cast<qsizetype>(help.size()));
    text.replace(u'\r', u'\n').remove(QRegularExpression(QStringLiteral("^\n+")));
    return key ? (text.isEmpty() ? text : text + u'\n') + "Sneltoets: " + key + '.' : text;
}

QByteArray RowName(const char* part, int row) { return "Oef" + QByteArray::number(row) + part; }

}  // namespace

class TestAccessibility : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        ConfigureApplication(*qApp);
    }

    void names_data() {
        QTest::addColumn<QByteArray>("control");
        QTest::addColumn<int>("role");
        QTest::addColumn<QString>("name");
        const auto row = [](const char* tag, const char* control, QAccessible::Role role, const char* name) {
            QTest::newRow(tag) << QByteArray(control) << static_cast<int>(role) << QString::fromUtf8(name);
        };
        row("answer edit 3", "Oef3Result", QAccessible::EditableText, "Oplossing oefening 3");
        row("answer edit 10", "Oef10Result", QAccessible::EditableText, "Oplossing oefening 10");
        row("largest base", "MaxGrondtal", QAccessible::EditableText, "Grootste grondtal");
        row("largest exponent", "MaxExponent", QAccessible::EditableText, "Grootste exponent");
        row("minutes", "TimerMinuten", QAccessible::EditableText, "Timer in minuten");
        row("stop picture", "Image4", QAccessible::Button, "Stop het programma");
        row("printer picture", "Image3", QAccessible::Button, "Printen");
        row("info picture", "Image1", QAccessible::Button, "Info");
        row("check button", "Kontroleer", QAccessible::Button, "CONTROLEER");
        row("next button", "VolgendeOefening", QAccessible::Button, "VOLGENDE OEFENING");
        row("about OK", "OKKnop", QAccessible::Button, "OK");
        row("exercise panel, not a frame", "Panel1", QAccessible::Pane, "Oefeningen");
        row("settings group", "Instellingen", QAccessible::Grouping, "Instellingen");
        row("series counter", "Reeksteller", QAccessible::StaticText, "1");
        row("maximum points", "Label8", QAccessible::StaticText, "10");
        row("column header", "Label38", QAccessible::StaticText,
            "Nr.      Grondtal + Exponent                           Macht                                  Test");
    }

    void names() {
        QFETCH(QByteArray, control);
        QFETCH(int, role);
        QFETCH(QString, name);
        FormFixture f;
        QAccessibleInterface* iface = Accessible(f, control.constData());
        QCOMPARE(static_cast<int>(iface->role()), role);
        QCOMPARE(iface->text(QAccessible::Name), name);
    }

    // Every control a pupil can type into or press has a name a screen reader can say.
    void everyControlNamed() {
        FormFixture f;
        QList<QWidget*> controls;
        for (QWidget* w : f.form->findChildren<QWidget*>()) {
            const QAccessibleActionInterface* actions = QAccessible::queryAccessibleInterface(w)->actionInterface();
            const bool pressable = actions && !actions->actionNames().isEmpty();
            if (qobject_cast<QLineEdit*>(w) || qobject_cast<QAbstractButton*>(w) || pressable) controls << w;
        }
        QVERIFY(controls.size() >= 10 + 3 + 3 + 5);
        for (QWidget* w : controls) {
            QVERIFY2(!QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name).isEmpty(),
                     qPrintable(w->objectName()));
        }
    }

    void descriptions_data() {
        QTest::addColumn<QByteArray>("control");
        QTest::addColumn<QString>("description");
        const auto row = [](const char* control, std::string_view help, const char* key = nullptr) {
            QTest::newRow(control) << QByteArray(control) << Description(help, key);
        };
        row("MaxGrondtal", help::kMaxGrondtal, "Alt+G");
        row("MaxExponent", help::kMaxExponent, "Alt+E");
        row("TimerMinuten", help::kTimerMinuten, "Alt+M");
        row("Oef7Result", help::kResult);
        row("Label6", help::kLabel6, "Ctrl+S");
        row("Kontroleer", help::kKontroleer, "Ctrl+Enter");
        row("VolgendeOefening", help::kVolgendeOefening, "Ctrl+N");
        row("Startknop", {}, "Ctrl+T");
        row("OKKnop1", {}, "Esc");
        row("Image3", help::kImage3, "Ctrl+P");
        row("Image4", help::kImage4, "Ctrl+Q");
        row("Image1", "Info over het Programma.", "F1");  // no help text: the tooltip
        row("Oef1Kontrol", {});
    }

    void descriptions() {
        QFETCH(QByteArray, control);
        QFETCH(QString, description);
        FormFixture f;
        QCOMPARE(Accessible(f, control.constData())->text(QAccessible::Description), description);
    }

    // Each key is the key binding of its control's first action, as Qt reports its own shortcuts.
    void keyBindings_data() {
        QTest::addColumn<QByteArray>("control");
        QTest::addColumn<QString>("binding");
        for (const auto& [control, binding] : {std::pair{"Kontroleer", "Ctrl+Return"}, {"OKKnop1", "Esc"},
                                               {"Image3", "Ctrl+P"}, {"MaxGrondtal", "Alt+G"}, {"Oef1Result", ""}})
            QTest::newRow(control) << QByteArray(control) << QString::fromLatin1(binding);
    }

    void keyBindings() {
        QFETCH(QByteArray, control);
        QFETCH(QString, binding);
        FormFixture f;
        QAccessibleActionInterface* actions = Accessible(f, control.constData())->actionInterface();
        QCOMPARE(actions->keyBindingsForAction(actions->actionNames().value(0)).join(u';'), binding);
    }

    // The base and the exponent label and the answer field of a row read the whole exercise, also
    // after a new set.
    void exerciseReadAsAWhole() {
        FormFixture f;
        QAccessible::setActive(true);  // as with a screen reader
        for (int round = 0; round < 2; ++round) {
            for (int row = 1; row <= kRows; ++row) {
                const QString reading = f.rowText(RowPart::Grondtal, row) + QStringLiteral(" tot de macht ") +
                                        f.rowText(RowPart::Exponent, row);
                QCOMPARE(Accessible(f, RowName("Grondtal", row))->text(QAccessible::Description), reading);
                QCOMPARE(Accessible(f, RowName("Exponent", row))->text(QAccessible::Description), reading);
                QTRY_COMPARE(Accessible(f, RowName("Result", row))->text(QAccessible::Description), reading);
            }
            f.typeSetting("MaxGrondtal", QStringLiteral("12"));
            f.typeSetting("MaxExponent", QStringLiteral("3"));
        }
    }

    // The field reads its exercise and, after a check, its verdict until its answer is changed;
    // no key presses a button of the disabled window (while the print options dialog is open).
    void answerFieldReading() {
        FormFixture f;
        QAccessible::setActive(true);  // as with a screen reader
        QCOMPARE(QAccessible::queryAccessibleInterface(f.form.get())->role(), QAccessible::Window);
        QLineEdit* edit = f.result(2);
        const QString reading = f.rowText(RowPart::Grondtal, 2) + " tot de macht " + f.rowText(RowPart::Exponent, 2);
        const auto enter = [&] {
            f.result(3)->setFocus(Qt::TabFocusReason);
            edit->setFocus(Qt::TabFocusReason);
            return edit->accessibleDescription();
        };
        QCOMPARE(enter(), reading);
        FormFixture::type(edit, f.answer(2) + " ");
        QTest::keyClick(edit, Qt::Key_Return, Qt::ControlModifier);
        QTRY_COMPARE(edit->accessibleDescription(), reading + ". GOED");
        QCOMPARE(f.accessibility->LastAnnouncement(),
                 "1 van de 10 goed. Fout: oefeningen 1, 3, 4, 5, 6, 7, 8, 9 en 10. Behaalde punten: 1 op 10.");
        QCOMPARE(enter(), reading + ". GOED");  // normalised on leaving, the same answer
        // The verdict is read while the screen shows it, also after the answer was changed or emptied.
        FormFixture::type(edit, "abc");
        QCOMPARE(enter(), reading + ". GOED");
        // Answer 1 keeps its selection in sight without the focus, but Orca must not read it
        // along with the field that has the focus.
        f.result(1)->setText(QStringLiteral("25"));
        f.result(1)->setFocus(Qt::TabFocusReason);
        edit->setFocus(Qt::TabFocusReason);
        QVERIFY(f.result(1)->hasSelectedText());
        QCOMPARE(QAccessible::queryAccessibleInterface(f.result(1))->textInterface()->selectionCount(), 0);
        f.form->setEnabled(false);
        QTest::keyClick(edit, Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(f.text("Oef2Kontrol"), QStringLiteral("GOED"));
    }

    // A magnifier follows the typing by the caret: after the last character too, where it stands.
    void caretAtTheEndOfTheText() {
        FormFixture f;
        QLineEdit* edit = f.result(1);
        edit->setFocus(Qt::TabFocusReason);
        FormFixture::type(edit, QStringLiteral("16"));
        QAccessibleTextInterface* text = QAccessible::queryAccessibleInterface(edit)->textInterface();
        const QRect last = text->characterRect(1);
        const QRect caret = text->characterRect(2);
        QVERIFY(!caret.isEmpty());
        QCOMPARE(caret.left(), last.right() + 1);
        QCOMPARE(caret.top(), last.top());
        QCOMPARE(caret.height(), last.height());
        // Where the field draws its caret.
        const QPoint drawn = edit->mapToGlobal(edit->inputMethodQuery(Qt::ImCursorRectangle).toRect().center());
        QVERIFY2(std::abs(caret.center().x() - drawn.x()) <= 1, qPrintable(QString::number(drawn.x() - caret.x())));
        QVERIFY(text->characterRect(3).isEmpty());
    }

    // A contest heard from start to end, on the fake clock: what it is, the time left on request,
    // the results with the focus on them (where Escape still leaves), and nothing read under them.
    void contestHeard() {
        FormFixture f;
        QAccessible::setActive(true);
        const auto said = [&] { return f.accessibility->LastAnnouncement(); };
        const auto key = [&](Qt::Key k) { QTest::keyClick(QApplication::focusWidget(), k, Qt::ControlModifier); };
        const auto tick = [&](int ms) { f.clock.AdvanceMs(ms); f.form->contest().Timer1Timer(); };
        key(Qt::Key_N);  // no VOLGENDE OEFENING before a check
        QCOMPARE(said(), "VOLGENDE OEFENING is er nu niet. Controleer eerst opnieuw met Ctrl+Enter.");
        key(Qt::Key_K);
        QCOMPARE(said(), "Er loopt geen wedstrijd.");
        f.typeSetting("TimerMinuten", QStringLiteral("1"));
        QCOMPARE(said(), "Timer in minuten 1. Nieuwe reeks, 0 punten. Oefening nr. 1. START staat klaar: Ctrl+T start "
                         "een wedstrijd van 1 minuut.");
        f.click("Startknop");
        QVERIFY(said().startsWith(
            "De wedstrijd van 1 minuut is begonnen. Escape stopt hem. Oefening nr. 1. Oplossing oefening 1: "));
        key(Qt::Key_K);
        QCOMPARE(said(), "Nog 1 minuut.");
        key(Qt::Key_P);
        QCOMPARE(said(), "Printen: niet tijdens de wedstrijd. Ctrl+P werkt weer na de wedstrijd.");
        tick(1000);
        key(Qt::Key_K);
        QCOMPARE(said(), "Nog 59 seconden.");
        QTest::keyClicks(f.result(1), f.answer(1));
        tick(60'000);
        // Said once, by the results as they take the focus.
        const QString results = QStringLiteral("1 punt van de 1 gemaakte oefening, 100 procent goed.");
        QVERIFY(!said().contains("procent"));
        QCOMPARE(QApplication::focusWidget(), f.get("Panel3"));
        QAccessibleInterface* panel = Accessible(f, "Panel3");
        QCOMPARE(panel->text(QAccessible::Name) + ": " + panel->text(QAccessible::Description),
                 "Uitslag: De tijd is om. " + results + " Escape: terug naar het oefenen.");
        key(Qt::Key_N);
        QCOMPARE(said(), "De wedstrijd is voorbij. Escape: terug naar het oefenen.");
        key(Qt::Key_S);
        QCOMPARE(said(), "Oefening nr. 1. Behaalde punten: 1 van de 1.");
        QVERIFY(panel->state().focused && !panel->state().offscreen);
        for (const char* covered : {"Panel1", "Panel2", "Oef1Result", "Label6"})
            QVERIFY2(Accessible(f, covered)->state().offscreen, covered);
        key(Qt::Key_K);
        QCOMPARE(said(), "De tijd is om. " + results);
        QTest::keyClick(f.get("Panel3"), Qt::Key_Tab);
        QCOMPARE(said(), results + " Escape: terug naar het oefenen.");
        QTest::keyClick(f.get("Panel3"), Qt::Key_Escape);
        QVERIFY(said().startsWith("Terug naar het oefenen. Nieuwe reeks, 0 punten. Oefening nr. 1."));
        QVERIFY(!Accessible(f, "Oef1Result")->state().offscreen);
    }

    // A settings key empties the field and says what it held; leaving it says what was taken or kept.
    void settingsHeard_data() {
        QTest::addColumn<QByteArray>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("typing");  // said after the key and the typing
        QTest::addColumn<QString>("left");    // said after Enter
        const QString fresh = QStringLiteral(" Nieuwe reeks, 0 punten. Oefening nr. 1.");
        QTest::newRow("taken") << QByteArray("MaxGrondtal") << "8" << "Grootste grondtal, was 5."
                               << "Grootste grondtal 8." + fresh;
        QTest::newRow("letters") << QByteArray("MaxGrondtal") << "abc" << "Grootste grondtal, was 5."
                                 << "Niet aanvaard. Het grootste grondtal blijft 5: een geheel getal tot en met 999999.";
        QTest::newRow("empty") << QByteArray("MaxExponent") << "" << "Grootste exponent, was 2."
                               << "Niet aanvaard. De grootste exponent blijft 2: een geheel getal tot en met 99.";
        QTest::newRow("unchanged") << QByteArray("MaxExponent") << "2" << "Grootste exponent, was 2."
                                   << "Grootste exponent blijft 2.";
        QTest::newRow("over the limit") << QByteArray("MaxGrondtal") << "1234567" << "Hoogstens 6 tekens."
                                        << "Grootste grondtal 123456." + fresh;
        QTest::newRow("minutes refused") << QByteArray("TimerMinuten") << "x" << "Timer in minuten, was 0."
                                         << "Niet aanvaard. Het aantal minuten blijft 0: een geheel getal tot en "
                                            "met 999." + fresh;
    }

    void settingsHeard() {
        QFETCH(QByteArray, field);
        QFETCH(QString, typed);
        QFETCH(QString, typing);
        QFETCH(QString, left);
        FormFixture f;
        QAccessible::setActive(true);
        const Qt::Key key = field == "MaxExponent" ? Qt::Key_E : field == "TimerMinuten" ? Qt::Key_M : Qt::Key_G;
        QTest::keyClick(f.result(1), key, Qt::AltModifier);
        FormFixture::type(f.get(field.constData()), typed);
        QCOMPARE(f.accessibility->LastAnnouncement(), typing);
        QTest::keyClick(f.get(field.constData()), Qt::Key_Return);
        QCOMPARE(f.accessibility->LastAnnouncement(), left);
    }

    // The about panel is said as it opens and closes; what it covers is not read meanwhile (the
    // rows below it, their numbers left of it and the help box are).
    void aboutPanelHeard() {
        FormFixture f;
        QAccessible::setActive(true);
        f.click("Image1");
        const QString said = f.accessibility->LastAnnouncement();
        QVERIFY(said.startsWith("Over het programma. Tolvaro v.1 Flexibel ") && said.endsWith(" Enter sluit het."));
        QVERIFY(Accessible(f, "Oef1Result")->state().offscreen);
        for (const char* shown : {"Oef10Result", "Label15", "Info"})
            QVERIFY2(!Accessible(f, shown)->state().offscreen, shown);
        QTest::keyClick(f.result(10), Qt::Key_Return);
        QCOMPARE(f.accessibility->LastAnnouncement(), "Over het programma gesloten.");
        QVERIFY(!Accessible(f, "Oef1Result")->state().offscreen);
    }

    // A lesson through the accessibility interfaces only: read each exercise, write the answer,
    // press CONTROLEER, hear GOED or FOUT per row.
    void lessonWithoutMouseOrKeys() {
        FormFixture f;
        QAccessible::setActive(true);  // as with a screen reader
        for (int row = 1; row <= kRows; ++row) {
            const QStringList reading =
                Accessible(f, RowName("Grondtal", row))->text(QAccessible::Description).split(QStringLiteral(" tot de macht "));
            QCOMPARE(reading.size(), 2);
            qlonglong power = 1;
            for (int i = 0; i < reading[1].toInt(); ++i) power *= reading[0].toLongLong();
            if (row % 3 == 0) ++power;  // every third answer wrong
            QAccessibleInterface* edit = Accessible(f, RowName("Result", row));
            QVERIFY(edit->editableTextInterface());
            edit->editableTextInterface()->replaceText(0, edit->textInterface()->characterCount(),
                                                      QString::number(power));
        }
        QAccessibleInterface* check = Accessible(f, "Kontroleer");
        check->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        // Qt presses a button the way a click looks: down, and up a moment later.
        for (int row = 1; row <= kRows; ++row) {
            QTRY_COMPARE(Accessible(f, RowName("Kontrol", row))->text(QAccessible::Name),
                     row % 3 == 0 ? QStringLiteral("FOUT") : QStringLiteral("GOED"));
        }
        QCOMPARE(f.text("Label6"), QStringLiteral("7"));
    }

    // The pictures press like buttons while they can be clicked, and not while disabled.
    void picturesPress() {
        FormFixture f;
        QAccessibleInterface* info = Accessible(f, "Image1");
        QCOMPARE(info->actionInterface()->actionNames(), QStringList{QAccessibleActionInterface::pressAction()});
        info->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QVERIFY(f.get("Info")->isVisible());
        Accessible(f, "OKKnop")->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QTRY_VERIFY(!f.get("Info")->isVisible());

        f.form->SetEnabled(Control::Instellingen, false);
        QAccessibleInterface* printer = Accessible(f, "Image3");
        QVERIFY(printer->actionInterface()->actionNames().isEmpty());
        printer->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QVERIFY(!QApplication::activePopupWidget());
        const QWidgetList windows = QApplication::topLevelWidgets();
        QCOMPARE(std::count_if(windows.cbegin(), windows.cend(), [](QWidget* w) { return w->isVisible(); }), 1);
        QVERIFY(f.errors.isEmpty());
    }
};

QTEST_MAIN(TestAccessibility)
#include "test_accessibility.moc"
