// When the main window's activation handler runs: first show and the return from a print
// options dialog, and never for a message box, the printer setup dialog or another window.
#include <QtTest>

#include <QCheckBox>
#include <QMessageBox>
#include <QTextEdit>

#include "formfixture.h"
#include "print/tprintdialoog1.h"

using namespace tolvaro;
using tolvaro::test::FormFixture;

namespace {

QList<TPrintDialoog1*> LiveDialogs() {
    QList<TPrintDialoog1*> dialogs;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* d = qobject_cast<TPrintDialoog1*>(w)) dialogs << d;
    }
    return dialogs;
}

TPrintDialoog1* OpenDialog(FormFixture& f) {
    f.click("Image3");
    const auto dialogs = LiveDialogs();
    if (dialogs.size() != 1) return nullptr;
    return dialogs.first();
}

void Drain() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

}  // namespace

class TestActivation : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { ConfigureApplication(*qApp); }

    // The program builds its controls only once its window is shown. The window it ends up with
    // is the one built at once: the same controls in the same places, shown and hidden alike,
    // one first activation, and the first set drawn.
    void controlsBuiltAfterShowMatchBuiltAtOnce() {
        FormFixture reference;
        tolvaro::test::FakeClock clock;
        TForm1 form(clock, nullptr, TForm1::Build::AfterShow);
        QVERIFY(form.findChildren<QWidget*>().isEmpty());
        form.show();
        QTRY_COMPARE(form.activationCount(), 1);
        const QList<QWidget*> expected = reference.form->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        QVERIFY(expected.size() > 10);
        int compared = 0;
        for (QWidget* want : reference.form->findChildren<QWidget*>()) {
            if (want->objectName().isEmpty() || want->objectName().startsWith(QLatin1String("qt_"))) continue;
            auto* got = form.findChild<QWidget*>(want->objectName());
            QVERIFY2(got, qPrintable(want->objectName()));
            QCOMPARE(got->geometry(), want->geometry());
            QCOMPARE(got->isVisibleTo(&form), want->isVisibleTo(reference.form.get()));
            ++compared;
        }
        QVERIFY(compared >= 100);
        QVERIFY(!QString::fromStdString(form.Text(Row(RowPart::Grondtal, 1))).isEmpty());
        QVERIFY(!form.windowIcon().isNull());
    }

    void closingTheDialogActivatesOnce_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("setupShown");
        QTest::newRow("OK") << "ok" << true;
        QTest::newRow("Cancel") << "cancel" << false;
        QTest::newRow("window manager close") << "close" << false;
        QTest::newRow("Enter") << "enter" << true;
        QTest::newRow("Escape") << "escape" << false;
    }
    void closingTheDialogActivatesOnce() {
        QFETCH(QString, how);
        QFETCH(bool, setupShown);
        FormFixture f;
        int setups = 0;
        f.form->printer().SetSetupHook([&setups](QPrinter&) {
            ++setups;
            return false;  // the user cancels the printer setup
        });
        QTest::keyClicks(f.result(1), "4");
        TPrintDialoog1* dialog = OpenDialog(f);
        QVERIFY(dialog);
        QVERIFY(!f.form->isEnabled());
        QVERIFY(!f.form->printFlags().PrintRequested);
        // Clicks on the disabled main window do nothing.
        f.click("Kontroleer");
        QVERIFY(f.rowText(RowPart::Kontrol, 1).isEmpty());
        if (how == "ok") dialog->OKKnop->click();
        if (how == "cancel") dialog->CancelKnop->click();
        if (how == "close") dialog->close();
        if (how == "enter") QTest::keyClick(dialog->Edit1, Qt::Key_Return);
        if (how == "escape") QTest::keyClick(dialog->Edit1, Qt::Key_Escape);
        QVERIFY(f.form->isEnabled());
        QTRY_COMPARE(f.form->activationCount(), 2);
        QCOMPARE(setups, setupShown ? 1 : 0);
        QVERIFY(!f.form->printFlags().PrintRequested || !setupShown);
        // The new set replaced the typed answer; the series goes on.
        QVERIFY(f.result(1)->text().isEmpty());
        QCOMPARE(f.text("Reeksteller"), QStringLiteral("1"));
        Drain();
        QVERIFY(LiveDialogs().isEmpty());
        // Nothing more happens later.
        QTest::qWait(0);
        QCOMPARE(f.form->activationCount(), 2);
    }

    // A double click on the printer: the second click falls on the disabled main window, which a
    // window manager then makes active. The dialog takes the keyboard back: Escape reaches it.
    void doubleClickOnThePrinterLeavesTheKeyboardInTheDialog() {
        FormFixture f;
        QWidget* printer = f.get("Image3");
        QTest::mouseDClick(f.form->windowHandle(), Qt::LeftButton, {}, printer->mapTo(f.form.get(), QPoint(8, 8)));
        QCOMPARE(LiveDialogs().size(), 1);
        TPrintDialoog1* dialog = LiveDialogs().first();
        f.form->activateWindow();
        QCoreApplication::processEvents();  // the main window's activation
        QTRY_VERIFY(dialog->isActiveWindow());
        QCOMPARE(QApplication::focusWidget(), dialog->Edit1);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(f.form->isEnabled());
        QTRY_COMPARE(f.form->activationCount(), 2);
    }

    void otherActivationsDoNotCount() {
        FormFixture f;
        int setups = 0;
        f.form->printer().SetSetupHook([&setups](QPrinter&) { return ++setups, false; });
        TPrintDialoog1* dialog = OpenDialog(f);
        dialog->OKKnop->click();
        QTRY_COMPARE(f.form->activationCount(), 2);
        QCOMPARE(setups, 1);
        QTest::keyClicks(f.result(2), "9");

        // Another window of the desktop takes the focus and gives it back.
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        other.hide();
        f.form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f.form.get()));

        // A message box closes.
        QTimer::singleShot(0, [] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) box->accept();
        });
        QMessageBox::information(f.form.get(), QStringLiteral("Tolvaro"), QStringLiteral("Even geduld."));
        QCoreApplication::processEvents();

        QCOMPARE(f.form->activationCount(), 2);
        QCOMPARE(setups, 1);
        QCOMPARE(f.result(2)->text(), QStringLiteral("9"));
    }

    void okPrintsTheSheetsThroughTheBuffer_data() {
        QTest::addColumn<bool>("solutions");
        QTest::newRow("exercise sheet only") << false;
        QTest::newRow("with solutions") << true;
    }
    void okPrintsTheSheetsThroughTheBuffer() {
        QFETCH(bool, solutions);
        FormFixture f;
        QTemporaryDir dir;
        f.form->printer().SetSetupHook([&dir](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(dir.filePath(QStringLiteral("sheet.pdf")));
            return true;
        });
        TPrintDialoog1* dialog = OpenDialog(f);
        dialog->Edit1->setText(QStringLiteral("Machten"));
        dialog->CheckBox1->setChecked(solutions);
        dialog->OKKnop->click();
        QTRY_COMPARE(f.form->activationCount(), 2);
        QVERIFY(f.errors.isEmpty());
        QVERIFY(f.form->printFlags().PrintRequested);
        QCOMPARE(f.form->printFlags().WorksheetTitle, std::string("Machten"));
        QVERIFY(QFileInfo(dir.filePath(QStringLiteral("sheet.pdf"))).size() > 0);
        // The buffer holds the last sheet printed.
        const QString last = f.get<QTextEdit>("RichEdit1")->toPlainText();
        QCOMPARE(last.contains(QStringLiteral("Oplossingen.")), solutions);
        QCOMPARE(last.contains(QStringLiteral("Naam :")), !solutions);
        QCOMPARE(last.split(u'\n').size(), solutions ? 57 : 58);
        QCOMPARE(QString::fromStdString(f.form->WorksheetTable[29].exponent), QStringLiteral("2"));
    }

    void aFailingPrinterIsReportedAndPracticeGoesOn() {
        FormFixture f;
        f.form->printer().SetSetupHook([](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(QStringLiteral("/nonexistent-dir/x/sheet.pdf"));
            return true;
        });
        f.click("Kontroleer");
        const QString points = f.text("Label6");
        TPrintDialoog1* dialog = OpenDialog(f);
        dialog->OKKnop->click();
        QTRY_COMPARE(f.form->activationCount(), 2);
        QCOMPARE(f.errors.size(), 1);
        QVERIFY2(f.errors.front().contains(QStringLiteral("bestaat niet")), qPrintable(f.errors.front()));
        QVERIFY(f.form->isEnabled());
        QCOMPARE(f.text("Label6"), points);
        QCOMPARE(f.text("Reeksteller"), QStringLiteral("1"));
    }

    void hundredOpeningsLeaveNoDialogAlive() {
        FormFixture f;
        f.form->printer().SetSetupHook([](QPrinter&) { return false; });
        for (int i = 0; i < 100; ++i) {
            TPrintDialoog1* dialog = OpenDialog(f);
            QVERIFY(dialog);
            QCOMPARE(dialog->Edit1->text(), QStringLiteral("Oefening"));
            QVERIFY(!dialog->CheckBox1->isChecked());
            dialog->Edit1->setText(QStringLiteral("Titel"));
            dialog->CheckBox1->setChecked(true);
            (i % 2 ? dialog->CancelKnop : dialog->OKKnop)->click();
            QTRY_COMPARE(f.form->activationCount(), i + 2);
            Drain();
        }
        QVERIFY(LiveDialogs().isEmpty());
        QVERIFY(f.form->isEnabled());
    }
};

QTEST_MAIN(TestActivation)
#include "test_activation.moc"
