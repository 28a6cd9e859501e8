// The print options dialog: what a fresh one shows, what each way out records, and that the
// main window is handed back every time.
#include <QtTest>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

#include "print/nodropcursor.h"
#include "print/printflags.h"
#include "print/tprintdialoog1.h"

using tolvaro::PrintFlags;
using tolvaro::TPrintDialoog1;

namespace {

enum class Way { OkClick, CancelClick, EnterInTitle, EnterOnCheckBox, EscapeInTitle, EscapeOnOk, WindowClose };

int LiveDialogs() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    int count = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) count += qobject_cast<TPrintDialoog1*>(w) != nullptr;
    return count;
}

void Leave(TPrintDialoog1* dialog, Way way) {
    switch (way) {
    case Way::OkClick:
        QTest::mouseClick(dialog->OKKnop, Qt::LeftButton);
        break;
    case Way::CancelClick:
        QTest::mouseClick(dialog->CancelKnop, Qt::LeftButton);
        break;
    case Way::EnterInTitle:
        QTest::keyClick(dialog->Edit1, Qt::Key_Return);
        break;
    case Way::EnterOnCheckBox:
        QTest::keyClick(dialog->CheckBox1, Qt::Key_Enter);
        break;
    case Way::EscapeInTitle:
        QTest::keyClick(dialog->Edit1, Qt::Key_Escape);
        break;
    case Way::EscapeOnOk:
        QTest::keyClick(dialog->OKKnop, Qt::Key_Escape);
        break;
    case Way::WindowClose:  // what a window manager's close (Alt+F4) amounts to
        dialog->close();
        break;
    }
}

}  // namespace

Q_DECLARE_METATYPE(Way)

class TestPrintDialog : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { QTRY_COMPARE(LiveDialogs(), 0); }

    void freshDialog() {
        QWidget main;
        main.show();
        PrintFlags flags{true, true, true, "Vorige"};
        QPointer<TPrintDialoog1> dialog = new TPrintDialoog1(flags, &main, [] {});

        QVERIFY(dialog->isVisible());
        QVERIFY(!dialog->isModal());
        QVERIFY(dialog->windowFlags().testFlag(Qt::FramelessWindowHint));
        QVERIFY(dialog->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(dialog->windowHandle()->transientParent(), main.windowHandle());  // placed over it
        QCOMPARE(dialog->Edit1->text(), QStringLiteral("Oefening"));
        QVERIFY(!dialog->CheckBox1->isChecked());
        QVERIFY(dialog->Label1->width() >= dialog->Label1->sizeHint().width());  // captions not cut off
        QVERIFY(dialog->CheckBox1->width() >= dialog->CheckBox1->sizeHint().width());
        QVERIFY(!dialog->OKKnop->icon().isNull());
        QVERIFY(!dialog->CancelKnop->icon().isNull());
        const QRect screen = dialog->screen()->geometry();
        QVERIFY(qAbs(dialog->geometry().center().x() - screen.center().x()) <= 1);
        QVERIFY(qAbs(dialog->geometry().center().y() - screen.center().y()) <= 1);
        // The program's no-drop pointer over the background and the panel with its caption.
        const QImage noDrop = tolvaro::NoDropCursor().pixmap().toImage();
        QWidget* const surfaces[] = {dialog, dialog->Panel1, dialog->Label1};
        for (QWidget* w : surfaces) QCOMPARE(w->cursor().pixmap().toImage(), noDrop);
        QCOMPARE(dialog->Edit1->cursor().shape(), Qt::ArrowCursor);

        // Tab order: title, option, OK, Cancel.
        QCOMPARE(dialog->Edit1->nextInFocusChain(), static_cast<QWidget*>(dialog->CheckBox1));
        QCOMPARE(dialog->CheckBox1->nextInFocusChain(), static_cast<QWidget*>(dialog->OKKnop));
        QCOMPARE(dialog->OKKnop->nextInFocusChain(), static_cast<QWidget*>(dialog->CancelKnop));

        // Becoming active: nothing requested yet, the main window takes no input, the focus is
        // in the title. The other values stay.
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(dialog->Edit1));
        QCOMPARE(flags.PrintRequested, false);
        QCOMPARE(flags.PrintCancelled, true);
        QCOMPARE(flags.PrintSolutions, true);
        QCOMPARE(flags.WorksheetTitle, std::string("Vorige"));
        QVERIFY(!main.isEnabled());

        dialog->CancelKnopClick();
    }

    // The activation step runs once per dialog, however often the dialog is activated.
    void activationRunsOnce() {
        QWidget main;
        PrintFlags flags;
        QPointer<TPrintDialoog1> dialog = new TPrintDialoog1(flags, &main, [] {});
        QVERIFY(!main.isEnabled());
        main.setEnabled(true);
        flags.PrintRequested = true;
        QEvent activate(QEvent::WindowActivate);
        QApplication::sendEvent(dialog, &activate);
        QCOMPARE(flags.PrintRequested, true);
        QVERIFY(main.isEnabled());
        dialog->close();
    }

    // Every way out: the values recorded, the main window enabled again, the focus handed back
    // exactly once, and the dialog released.
    void leaving_data() {
        QTest::addColumn<Way>("way");
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("tick");
        QTest::addColumn<bool>("cancelled");
        QTest::addColumn<bool>("solutions");
        QTest::addColumn<QString>("recordedTitle");
        // Earlier values: PrintSolutions true, WorksheetTitle "Vorige", PrintCancelled false.
        QTest::newRow("OK, untouched") << Way::OkClick << QString() << false << false << false << "Oefening";
        QTest::newRow("OK, title typed and option ticked")
            << Way::OkClick << "Machten 3b" << true << false << true << "Machten 3b";
        QTest::newRow("OK, empty title") << Way::OkClick << "" << false << false << false << "";
        QTest::newRow("OK, accented title") << Way::OkClick << QString::fromUtf8("Oefening één") << true << false
                                            << true << QString::fromUtf8("Oefening één");
        QTest::newRow("Enter in the title presses OK")
            << Way::EnterInTitle << "Toets" << true << false << true << "Toets";
        QTest::newRow("Enter on the option presses OK")
            << Way::EnterOnCheckBox << QString() << true << false << true << "Oefening";
        QTest::newRow("Cancel keeps title and option")
            << Way::CancelClick << "Niet dit" << false << true << true << "Vorige";
        QTest::newRow("Escape in the title presses Cancel")
            << Way::EscapeInTitle << "Niet dit" << false << true << true << "Vorige";
        QTest::newRow("Escape on OK presses Cancel") << Way::EscapeOnOk << QString() << false << true << true
                                                     << "Vorige";
        QTest::newRow("window-manager close counts as Cancel")
            << Way::WindowClose << "Niet dit" << false << true << true << "Vorige";
    }
    void leaving() {
        QFETCH(Way, way);
        QFETCH(QString, title);
        QFETCH(bool, tick);
        QFETCH(bool, cancelled);
        QFETCH(bool, solutions);
        QFETCH(QString, recordedTitle);

        QWidget main;
        main.show();
        PrintFlags flags{false, false, true, "Vorige"};
        int returns = 0;
        bool hiddenAndEnabledOnReturn = false;
        QPointer<TPrintDialoog1> dialog;
        dialog = new TPrintDialoog1(flags, &main, [&] {
            ++returns;
            hiddenAndEnabledOnReturn = (!dialog || !dialog->isVisible()) && main.isEnabled();
        });
        QVERIFY(!main.isEnabled());

        // Typed over the title, which the dialog opens with selected (Key_unknown: testlib knows
        // no key for an accented letter).
        if (!title.isNull() && title.isEmpty()) QTest::keyClick(dialog->Edit1, Qt::Key_Backspace);
        for (const QChar c : title) QTest::sendKeyEvent(QTest::Click, dialog->Edit1, Qt::Key_unknown, c, {});
        if (tick) QTest::mouseClick(dialog->CheckBox1, Qt::LeftButton);
        QCOMPARE(dialog->CheckBox1->isChecked(), tick);

        Leave(dialog, way);

        QCOMPARE(flags.PrintRequested, true);
        QCOMPARE(flags.PrintCancelled, cancelled);
        QCOMPARE(flags.PrintSolutions, solutions);
        QCOMPARE(QString::fromStdString(flags.WorksheetTitle), recordedTitle);
        QVERIFY(main.isEnabled());
        QTRY_COMPARE(returns, 1);
        QVERIFY(hiddenAndEnabledOnReturn);
        QTRY_VERIFY(dialog.isNull());
        QCoreApplication::processEvents();
        QCOMPARE(returns, 1);
    }

    // Only the state of the option at the moment of OK counts.
    void optionCountsAtOk_data() {
        QTest::addColumn<int>("clicks");
        QTest::addColumn<bool>("solutions");
        QTest::newRow("ticked and cleared twice") << 4 << false;
        QTest::newRow("ticked, cleared, ticked") << 3 << true;
    }
    void optionCountsAtOk() {
        QFETCH(int, clicks);
        QFETCH(bool, solutions);
        QWidget main;
        PrintFlags flags{false, false, !solutions, "x"};
        auto* dialog = new TPrintDialoog1(flags, &main, [] {});
        for (int i = 0; i < clicks; ++i) {
            QTest::mouseClick(dialog->CheckBox1, Qt::LeftButton);
            QCOMPARE(flags.PrintSolutions, !solutions);  // ticking alone records nothing
        }
        dialog->OKKnopClick();
        QCOMPARE(flags.PrintSolutions, solutions);
    }

    // Each opening is a new window with the defaults, and no closed dialog stays alive.
    void manyOpenings() {
        QWidget main;
        main.show();
        PrintFlags flags;
        int returns = 0;
        for (int i = 0; i < 100; ++i) {
            QPointer<TPrintDialoog1> dialog = new TPrintDialoog1(flags, &main, [&] { ++returns; });
            QCOMPARE(dialog->Edit1->text(), QStringLiteral("Oefening"));
            QVERIFY(!dialog->CheckBox1->isChecked());
            QVERIFY(!main.isEnabled());
            dialog->Edit1->setText(QStringLiteral("Blad %1").arg(i));
            dialog->CheckBox1->setChecked(true);
            Leave(dialog, static_cast<Way>(i % 7));
            QVERIFY(main.isEnabled());
            QCOMPARE(LiveDialogs(), 0);
            QVERIFY(dialog.isNull());
        }
        QTRY_COMPARE(returns, 100);
    }

    // The dialog released without an answer (the program ends) leaves the main window usable.
    void releasedWhileOpen() {
        QWidget main;
        PrintFlags flags;
        auto* dialog = new TPrintDialoog1(flags, &main, [] {});
        QVERIFY(!main.isEnabled());
        delete dialog;
        QVERIFY(main.isEnabled());
    }
};

QTEST_MAIN(TestPrintDialog)
#include "test_printdialog.moc"
