// The timed contest on a fake clock: countdown texts, the end test, the results, RESET.
#include <QtTest>

#include "core/contest.h"
#include "core/numbertext.h"
#include "fakeview.h"

using namespace tolvaro;
using tolvaro::test::FakeClock;
using tolvaro::test::FakeView;

namespace {

struct Fixture {
    explicit Fixture(const char* minutes = "10") {
        random.Seed(3);
        practice.ResetSeries();
        practice.NewExerciseSet();
        view.texts[Control::TimerMinuten] = minutes;
        contest.StartknopClick();
    }
    // Fills rows with the right answer ("R"), a wrong one ("W") or nothing (" ").
    void Fill(const char* pattern) {
        for (int row = 1; row <= kRows; ++row) {
            const char c = pattern[row - 1];
            const Exercise& expected = practice.RowExercises[row - 1];
            view.texts[Row(RowPart::Result, row)] =
                c == 'R' ? FloatToText(expected.power) : c == 'W' ? "-1" : "";
        }
    }
    void Tick(std::int64_t afterMs) {
        clock.AdvanceMs(afterMs);
        contest.Timer1Timer();
    }
    void RunOut() { Tick(10 * 60'000 + 1); }  // one millisecond past the end
    std::string T(Control c) const { return view.Text(c); }

    FakeView view;
    FakeClock clock;
    Random random;
    Practice practice{view, random};
    Contest contest{view, practice, clock};
};

}  // namespace

class TestContest : public QObject {
    Q_OBJECT

private slots:
    void startState() {
        Fixture f;
        QVERIFY(f.contest.ContestRunning);
        QVERIFY(f.view.timerEnabled);
        QVERIFY(!f.view.IsVisible(Control::Startknop));
        QVERIFY(f.view.IsVisible(Control::KlokVenster));
        QVERIFY(f.view.IsVisible(Control::OKKnop1));
        QVERIFY(!f.view.IsEnabled(Control::Instellingen));
        QCOMPARE(f.view.focus, Control::Oef1Result);
        QCOMPARE(f.T(Control::Reeksteller), std::string("1"));
    }

    void countdownTexts_data() {
        QTest::addColumn<QString>("minutes");
        QTest::addColumn<int>("afterMs");
        QTest::addColumn<QString>("shown");
        QTest::newRow("first tick of 10") << "10" << 1000 << "0:09:59";
        QTest::newRow("late first tick") << "10" << 1012 << "0:09:58";
        QTest::newRow("first tick of 999") << "999" << 1000 << "16:38:59";
        QTest::newRow("first tick of 60") << "60" << 1000 << "0:59:59";
        QTest::newRow("last second") << "1" << 59'000 << "0:00:01";
        QTest::newRow("half a second left rounds to ms, drops the rest") << "1" << 59'500 << "0:00:00";
        QTest::newRow("at the end") << "1" << 60'000 << "0:00:00";
    }
    void countdownTexts() {
        QFETCH(QString, minutes);
        QFETCH(int, afterMs);
        QFETCH(QString, shown);
        Fixture f(minutes.toLatin1().constData());
        f.Tick(afterMs);
        QCOMPARE(QString::fromStdString(f.T(Control::KlokVenster)), shown);
        QVERIFY(f.contest.ContestRunning);
    }

    // The user's long time format, literals and unit signs included, without what only a time of
    // day has (AM/PM, the time zone). Locales built from their names need not be installed.
    void countdownInLongTimeFormat_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("shown");  // 999 minutes less one second, then ten minutes less one second
        const std::pair<const char*, const char*> locales[] = {
            {"fr_CA", "16 h 38 min 59 s|00 h 09 min 59 s"}, {"ko_KR", "16시 38분 59초|0시 9분 59초"},
            {"nl_NL", "16:38:59|00:09:59"}, {"de_DE", "16:38:59|00:09:59"}, {"en_US", "16:38:59|0:09:59"},
            {"fi_FI", "16.38.59|0.09.59"},  {"ar_EG", "16:38:59|0:09:59"},  {"zh_CN", "16:38:59|00:09:59"},
            {"bg_BG", "16:38:59 ч.|0:09:59 ч."}, {"fa_IR", "16:38:59|0:09:59"},
        };
        for (const auto& [name, shown] : locales)
            QTest::newRow(name) << QLocale(QString::fromLatin1(name)).timeFormat(QLocale::LongFormat) << QString::fromUtf8(shown);
        QTest::newRow("doubled quotes") << "H''mm'''s'''ss" << "16'38's'59|0'09's'59";
        QTest::newRow("parts of a second, AM/PM") << "h:mm:ss.zzz AP" << "16:38:59|0:09:59";
    }
    void countdownInLongTimeFormat() {
        QFETCH(QString, pattern);
        QFETCH(QString, shown);
        const CountdownFormat format(pattern.toStdString());
        QCOMPARE(QString::fromStdString(format.Format(999 * 60 - 1) + '|' + format.Format(10 * 60 - 1)), shown);
    }

    void endTestHasOneMillisecondTolerance() {
        Fixture f("1");
        f.clock.AdvanceMs(60'000);
        f.clock.now += Contest::kMillisecond - 1;  // just under a millisecond late: still equal
        f.contest.Timer1Timer();
        QVERIFY(f.contest.ContestRunning);
        QCOMPARE(f.T(Control::KlokVenster), std::string("0:00:00"));
        f.clock.now += 1;  // exactly one millisecond past: the end
        f.contest.Timer1Timer();
        QVERIFY(!f.contest.ContestRunning);
        QVERIFY(!f.view.timerEnabled);
        QVERIFY(f.view.IsVisible(Control::Panel3));
    }

    void results_data() {
        QTest::addColumn<int>("setsBefore");  // sets finished with all ten right before the last
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("points");
        QTest::addColumn<QString>("made");
        QTest::addColumn<QString>("percent");
        QTest::addColumn<int>("maximum");
        QTest::newRow("nothing typed") << 0 << "          " << "0" << "0" << "0" << 0;
        QTest::newRow("two of three") << 0 << "RRW       " << "2" << "3" << "66,6" << 3;
        QTest::newRow("one of eight") << 0 << "RWWWWWWW  " << "1" << "8" << "12,5" << 8;
        QTest::newRow("rows 1 and 3: row 2 made and wrong") << 0 << "R R       " << "2" << "3" << "66,6" << 3;
        QTest::newRow("all ten right") << 0 << "RRRRRRRRRR" << "10" << "10" << "100" << 10;
        QTest::newRow("half") << 0 << "RRRRRWWWWW" << "5" << "10" << "50" << 10;
        QTest::newRow("third set, rows 1-4") << 2 << "RRWW      " << "22" << "24" << "91,6" << 24;
        QTest::newRow("new set untouched") << 1 << "          " << "10" << "10" << "100" << 10;
        QTest::newRow("none right of ten") << 0 << "WWWWWWWWWW" << "0" << "10" << "0" << 10;
    }
    void results() {
        QFETCH(int, setsBefore);
        QFETCH(QString, pattern);
        QFETCH(QString, points);
        QFETCH(QString, made);
        QFETCH(QString, percent);
        QFETCH(int, maximum);
        Fixture f;
        for (int set = 0; set < setsBefore; ++set) {
            f.Fill("RRRRRRRRRR");
            f.practice.KontroleerClick();
            f.practice.VolgendeOefeningClick();
        }
        f.Fill(pattern.toLatin1().constData());
        f.RunOut();
        QCOMPARE(QString::fromStdString(f.T(Control::Label48)), points);
        QCOMPARE(QString::fromStdString(f.T(Control::Label49)), made);
        QCOMPARE(QString::fromStdString(f.T(Control::Label51)), percent);
        QCOMPARE(f.practice.MaximumPunten, maximum);
        const Contest::Result& result = f.contest.result();  // what a screen reader is told
        QCOMPARE(QString("%1 %2 %3").arg(result.points).arg(result.made).arg(result.percentage.c_str()),
                 points + ' ' + made + ' ' + percent);
        QCOMPARE(f.contest.state(), Contest::State::Finished);
        QVERIFY(f.view.IsVisible(Control::Panel3));
        QVERIFY(!f.view.IsVisible(Control::VolgendeOefening));
        QVERIFY(!f.view.IsVisible(Control::Kontroleer));
        QVERIFY(!f.view.IsEnabled(Control::Panel1));
        QVERIFY(!f.view.IsEnabled(Control::Instellingen));
        QVERIFY(f.view.IsVisible(Control::OKKnop1));
    }

    void eighteenOfTwentyFour() {
        // Third set with rows 1 to 4 filled and 18 points in all: 18 OP 24, 75 %.
        Fixture f;
        f.Fill("RRRRRRRWWW");
        f.practice.KontroleerClick();
        f.practice.VolgendeOefeningClick();
        f.Fill("RRRRRRRWWW");
        f.practice.KontroleerClick();
        f.practice.VolgendeOefeningClick();
        f.Fill("RRRR      ");
        f.RunOut();
        QCOMPARE(f.T(Control::Label48), std::string("18"));
        QCOMPARE(f.T(Control::Label49), std::string("24"));
        QCOMPARE(f.T(Control::Label51), std::string("75"));
    }

    void resetWhileRunning() {
        Fixture f;
        f.Tick(1000);
        f.contest.OKKnop1Click();
        QCOMPARE(f.T(Control::TimerMinuten), std::string("0"));
        QVERIFY(!f.view.IsVisible(Control::KlokVenster));
        QVERIFY(!f.view.IsVisible(Control::OKKnop1));
        QVERIFY(!f.view.IsVisible(Control::Startknop));
        QVERIFY(f.view.IsEnabled(Control::Instellingen));
        QCOMPARE(f.T(Control::Reeksteller), std::string("1"));
        QVERIFY(f.view.timerEnabled);  // stopped by the next tick, not by RESET
        QCOMPARE(f.contest.state(), Contest::State::Stopping);
        f.Tick(20 * 60'000);
        QCOMPARE(f.contest.state(), Contest::State::Idle);
        QVERIFY(!f.view.timerEnabled);
        QVERIFY(!f.contest.ContestRunning);
        QVERIFY(!f.view.IsVisible(Control::Panel3));
    }

    void startAgainBeforeTheStoppingTick() {
        Fixture f;
        f.contest.OKKnop1Click();
        f.view.texts[Control::TimerMinuten] = "2";
        f.contest.StartknopClick();
        f.Tick(1000);
        QVERIFY(f.contest.ContestRunning);
        QCOMPARE(f.T(Control::KlokVenster), std::string("0:01:59"));
        f.Tick(2 * 60'000);
        QVERIFY(f.view.IsVisible(Control::Panel3));
    }

    void resetAfterTheEnd() {
        Fixture f;
        f.RunOut();
        f.contest.OKKnop1Click();
        QVERIFY(!f.view.IsVisible(Control::Panel3));
        QVERIFY(f.view.IsVisible(Control::Kontroleer));
        QVERIFY(f.view.IsEnabled(Control::Panel1));
        QCOMPARE(f.practice.MaximumPunten, 10);
        f.Tick(1000);  // a stray tick does nothing
        QVERIFY(!f.contest.ContestRunning);
    }

    // The window hears each step once its controls are set: the results are there when told.
    void momentsTold() {
        Fixture f;
        f.practice.KontroleerClick();
        f.practice.VolgendeOefeningClick();
        f.Tick(1000);
        f.RunOut();
        QVERIFY(f.view.IsVisible(Control::Panel3));
        f.contest.OKKnop1Click();
        QCOMPARE(f.view.moments, (std::vector<Moment>{Moment::ContestStarted, Moment::Checked, Moment::NextSet,
                                                      Moment::ContestEnded, Moment::ContestReset}));
    }

    void startWithoutWholeMinutesReports() {
        FakeView view;
        FakeClock clock;
        Random random;
        Practice practice(view, random);
        Contest contest(view, practice, clock);
        view.texts[Control::TimerMinuten] = "";
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, contest.StartknopClick());
        QVERIFY(!contest.ContestRunning);
        QCOMPARE(view.Text(Control::Reeksteller), std::string("1"));
    }

    void longContestDoesNotOverflow() {
        // Ticks 50 ms ahead of each second stay exact in the clock's units; the last comes just past the end.
        Fixture f("999");
        for (int i = 0; i < 999 * 60 - 1; ++i) f.Tick(i ? 1000 : 950);
        QCOMPARE(f.T(Control::KlokVenster), std::string("0:00:01"));
        f.Tick(1000);
        QVERIFY(f.contest.ContestRunning);
        f.Tick(f.view.nextTickMs);
        QVERIFY(!f.contest.ContestRunning);
        QCOMPARE(f.clock.now - f.contest.ContestEndTime, Contest::kEndTickLate);
    }
};

QTEST_APPLESS_MAIN(TestContest)
#include "test_contest.moc"
