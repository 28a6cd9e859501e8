// The print job through an in-memory view: when it prints, what it prints, and what it leaves
// alone.
#include <QtTest>

#include <stdexcept>
#include <string>
#include <vector>

#include "core/practice.h"
#include "core/random.h"
#include "fakeview.h"

using tolvaro::test::FakeView;
#include "print/printflags.h"
#include "print/printjob.h"
#include "print/worksheet.h"

using tolvaro::PrintFlags;
using tolvaro::SheetKind;
using tolvaro::WorksheetEntry;

namespace {

const std::string kRowSeparator = "\t\t\t\t\t\t\t\t|";

// A view, the practice core on it and the program's flags, as the main window holds them.
struct Fixture {
    FakeView view;
    tolvaro::Random random;
    tolvaro::Practice practice{view, random};
    PrintFlags flags;
    tolvaro::WorksheetTable table;

    Fixture() { table.fill(WorksheetEntry{"old", "old", "old"}); }
    void Run() { tolvaro::RunPrintJob(view, practice, flags, table, kRowSeparator); }
    bool TableUntouched() const { return table[0].base == "old" && table[29].power == "old"; }
};

unsigned long long IntPower(unsigned long long base, int exponent) {
    unsigned long long p = 1;
    for (int i = 0; i < exponent; ++i) p *= base;
    return p;
}

}  // namespace

class TestPrintJob : public QObject {
    Q_OBJECT

private slots:
    // What the dialog's answer and the setup dialog's answer lead to.
    void outcome_data() {
        QTest::addColumn<bool>("requested");
        QTest::addColumn<bool>("cancelled");
        QTest::addColumn<bool>("setupConfirmed");
        QTest::addColumn<bool>("solutions");
        QTest::addColumn<int>("setups");
        QTest::addColumn<int>("jobs");
        QTest::addColumn<bool>("requestedAfter");
        QTest::newRow("no dialog closed since activation") << false << false << true << true << 0 << 0 << false;
        QTest::newRow("dialog cancelled") << true << true << true << true << 0 << 0 << true;
        QTest::newRow("OK, setup cancelled") << true << false << false << true << 1 << 0 << false;
        QTest::newRow("OK, exercise sheet only") << true << false << true << false << 1 << 1 << true;
        QTest::newRow("OK, with solutions sheet") << true << false << true << true << 1 << 2 << true;
    }
    void outcome() {
        QFETCH(bool, requested);
        QFETCH(bool, cancelled);
        QFETCH(bool, setupConfirmed);
        QFETCH(bool, solutions);
        QFETCH(int, setups);
        QFETCH(int, jobs);
        QFETCH(bool, requestedAfter);
        Fixture f;
        f.flags = {requested, cancelled, solutions, "Week 12"};
        f.view.setupResult = setupConfirmed;
        f.Run();

        QCOMPARE(f.view.setupCalls, setups);
        if (setups > 0) QCOMPARE(f.view.log.front(), std::string("setup"));
        QCOMPARE(int(f.view.jobs.size()), jobs);
        QCOMPARE(f.flags.PrintRequested, requestedAfter);
        QCOMPARE(f.flags.PrintCancelled, cancelled);
        QCOMPARE(f.TableUntouched(), jobs == 0);
        // Each job is one sheet, composed from a cleared buffer and named after it; the exercise
        // sheet comes first and both show the same thirty entries.
        const SheetKind kinds[] = {SheetKind::Exercises, SheetKind::Solutions};
        const std::string names[] = {"Week 12", "Week 12 - oplossingen"};
        for (int j = 0; j < jobs; ++j) {
            const FakeView::Job& job = f.view.jobs[static_cast<std::size_t>(j)];
            QCOMPARE(job.title, names[j]);
            QVERIFY(job.added == tolvaro::ComposeSheet(kinds[j], f.table, "Week 12", kRowSeparator));
        }
        int clears = 0;
        for (const std::string& step : f.view.log) clears += step == "clear";
        QCOMPARE(clears, jobs);
    }

    // The thirty entries are drawn by the exercise rule from the settings texts.
    void drawsFromSettings_data() {
        QTest::addColumn<QString>("maxBase");
        QTest::addColumn<QString>("maxExponent");
        QTest::addColumn<int>("largestBase");
        QTest::addColumn<int>("largestExponent");
        QTest::newRow("defaults") << "5" << "2" << 5 << 2;
        QTest::newRow("twelve and twelve") << "12" << "12" << 12 << 12;
        QTest::newRow("base one, exponent one gives 2") << "1" << "1" << 1 << 2;
    }
    void drawsFromSettings() {
        QFETCH(QString, maxBase);
        QFETCH(QString, maxExponent);
        QFETCH(int, largestBase);
        QFETCH(int, largestExponent);
        Fixture f;
        f.view.texts[tolvaro::Control::MaxGrondtal] = maxBase.toStdString();
        f.view.texts[tolvaro::Control::MaxExponent] = maxExponent.toStdString();
        f.flags = {true, false, false, ""};
        f.Run();
        for (const WorksheetEntry& entry : f.table) {
            const int base = std::stoi(entry.base);
            const int exponent = std::stoi(entry.exponent);
            QVERIFY2(base >= 1 && base <= largestBase, entry.base.c_str());
            QVERIFY2(exponent >= 2 && exponent <= largestExponent, entry.exponent.c_str());
            QCOMPARE(entry.base, std::to_string(base));
            QCOMPARE(entry.exponent, std::to_string(exponent));
            // Below 10^15 the power text is the exact whole number.
            QCOMPARE(entry.power, std::to_string(IntPower(static_cast<unsigned long long>(base), exponent)));
        }
    }

    // The draws write no control: the exercise set on screen and its powers stay.
    void screenUntouched() {
        Fixture f;
        for (int i = 0; i < tolvaro::kRows; ++i) f.practice.ExpectedPowers[static_cast<std::size_t>(i)] = 100 + i;
        const auto before = f.practice.ExpectedPowers;
        f.flags = {true, false, true, ""};
        f.Run();
        QCOMPARE(int(f.view.jobs.size()), 2);
        QVERIFY(f.practice.ExpectedPowers == before);
        QCOMPARE(f.view.writes, 0);
    }

    // The solutions option counts as it stands once the exercise sheet has gone to the printer.
    void solutionsReadAfterExerciseSheet_data() {
        QTest::addColumn<bool>("before");
        QTest::addColumn<bool>("during");
        QTest::addColumn<int>("jobs");
        QTest::newRow("switched on during the first job") << false << true << 2;
        QTest::newRow("switched off during the first job") << true << false << 1;
    }
    void solutionsReadAfterExerciseSheet() {
        QFETCH(bool, before);
        QFETCH(bool, during);
        QFETCH(int, jobs);
        Fixture f;
        f.flags = {true, false, before, ""};
        f.view.onPrint = [&](const FakeView::Job&) { f.flags.PrintSolutions = during; };
        f.Run();
        QCOMPARE(int(f.view.jobs.size()), jobs);
    }

    // A failure stops the job at its step and reaches the caller; what was done stays done.
    void failureStopsTheJob_data() {
        QTest::addColumn<QString>("failing");
        QTest::addColumn<int>("jobs");
        QTest::addColumn<bool>("drawn");
        QTest::newRow("setup dialog fails") << "setup" << 0 << false;
        QTest::newRow("settings text unreadable") << "draw" << 0 << false;
        QTest::newRow("exercise sheet fails") << "print1" << 0 << true;
        QTest::newRow("solutions sheet fails") << "print2" << 1 << true;
    }
    void failureStopsTheJob() {
        QFETCH(QString, failing);
        QFETCH(int, jobs);
        QFETCH(bool, drawn);
        Fixture f;
        f.flags = {true, false, true, ""};
        if (failing == "setup") f.view.onSetup = []() -> bool { throw std::runtime_error("geen printer"); };
        if (failing == "draw") f.view.texts[tolvaro::Control::MaxGrondtal] = "vijf";
        int prints = 0;
        f.view.onPrint = [&](const FakeView::Job&) {
            if (failing == QStringLiteral("print%1").arg(++prints)) throw std::runtime_error("printen mislukt");
        };
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, f.Run());
        QCOMPARE(int(f.view.jobs.size()), jobs);
        QCOMPARE(f.flags.PrintRequested, true);
        QCOMPARE(!f.TableUntouched(), drawn);
    }
};

QTEST_APPLESS_MAIN(TestPrintJob)
#include "test_printjob.moc"
