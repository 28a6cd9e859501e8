// Long use leaves nothing behind: a hundred print dialogs and a thousand sets drawn and checked
// end with as many live widgets and objects as they began with. Under AddressSanitizer the
// program's own allocations are also checked for leaks when the test program ends.
#include <QtTest>

#include <QCheckBox>
#include <QTemporaryDir>

#include "formfixture.h"
#include "print/tprintdialoog1.h"

using namespace tolvaro;
using tolvaro::test::FormFixture;

namespace {

void Drain() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// What is alive: every widget of the application, the top-level ones, and the main window's
// objects (widgets or not).
struct Census {
    qsizetype widgets = 0;
    qsizetype topLevel = 0;
    qsizetype formObjects = 0;

    static Census Take(const FormFixture& f) {
        Drain();
        return {QApplication::allWidgets().size(), QApplication::topLevelWidgets().size(),
                f.form->findChildren<QObject*>().size()};
    }
    bool operator==(const Census&) const = default;
};

QString Describe(const Census& c) {
    return QStringLiteral("%1 widgets, %2 top-level, %3 objects in the main window")
        .arg(c.widgets)
        .arg(c.topLevel)
        .arg(c.formObjects);
}

TPrintDialoog1* OpenDialog(FormFixture& f) {
    f.click("Image3");
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* d = qobject_cast<TPrintDialoog1*>(w); d && d->isVisible()) return d;
    }
    return nullptr;
}

}  // namespace

class TestMemory : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { ConfigureApplication(*qApp); }

    void hundredPrintDialogsLeaveNoWidgets() {
        FormFixture f;
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        int printed = 0;
        bool toPdf = false;
        f.form->printer().SetSetupHook([&](QPrinter& printer) {
            if (!toPdf) return false;
            ++printed;
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(dir.filePath(QStringLiteral("sheet.pdf")));
            return true;
        });
        // One opening first, printed, so that whatever Qt creates once on first use exists.
        toPdf = true;
        TPrintDialoog1* first = OpenDialog(f);
        QVERIFY(first);
        first->OKKnop->click();
        QTRY_COMPARE(f.form->activationCount(), 2);
        const Census before = Census::Take(f);

        for (int i = 0; i < 100; ++i) {
            toPdf = i % 10 == 0;  // every tenth opening prints a worksheet with its solutions
            TPrintDialoog1* dialog = OpenDialog(f);
            QVERIFY2(dialog, qPrintable(QStringLiteral("opening %1").arg(i)));
            dialog->Edit1->setText(QStringLiteral("Machten %1").arg(i));
            dialog->CheckBox1->setChecked(toPdf);
            switch (i % 5) {
                case 0: dialog->OKKnop->click(); break;
                case 1: dialog->CancelKnop->click(); break;
                case 2: dialog->close(); break;
                case 3: QTest::keyClick(dialog->Edit1, Qt::Key_Return); break;
                default: QTest::keyClick(dialog->Edit1, Qt::Key_Escape); break;
            }
            QTRY_COMPARE(f.form->activationCount(), i + 3);
        }
        QCOMPARE(printed, 11);
        QVERIFY(f.errors.isEmpty());
        const Census after = Census::Take(f);
        QVERIFY2(after == before, qPrintable(Describe(before) + QStringLiteral(" before, ") + Describe(after) +
                                             QStringLiteral(" after")));
    }

    void thousandSetsLeaveNoWidgets() {
        FormFixture f;
        f.click("Kontroleer");
        f.click("VolgendeOefening");
        const Census before = Census::Take(f);
        int points = 0;
        for (int set = 1; set <= 1000; ++set) {
            if (set % 100 == 0) {
                // A settings change now and then: a new series, drawn from other limits.
                f.typeSetting("MaxGrondtal", QString::number(5 + set / 100));
                QCOMPARE(f.text("Reeksteller"), QStringLiteral("1"));
                points = 0;
            }
            for (int row = 1; row <= kRows; ++row) {
                // Right (rows 1, 4, 7, 10), wrong and unreadable answers.
                const QString answer = row % 3 == 1 ? f.answer(row) : row % 3 == 2 ? QStringLiteral("1,5") : "x";
                QTest::keyClicks(f.result(row), answer);
                QTest::keyClick(f.result(row), Qt::Key_Return);
            }
            QTest::mouseMove(f.get("Kontroleer"));  // the help box changes too
            f.click("Kontroleer");
            points += 4;
            QCOMPARE(f.text("Label6"), QString::number(points));
            f.click("VolgendeOefening");
        }
        f.typeSetting("MaxGrondtal", QStringLiteral("5"));
        QVERIFY(f.errors.isEmpty());
        const Census after = Census::Take(f);
        QVERIFY2(after == before, qPrintable(Describe(before) + QStringLiteral(" before, ") + Describe(after) +
                                             QStringLiteral(" after")));
    }
};

QTEST_MAIN(TestMemory)
#include "test_memory.moc"
