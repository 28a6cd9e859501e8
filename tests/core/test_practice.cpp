// Exercise sets, scoring and the settings fields, driven through an in-memory view.
#include <QtTest>

#include <set>

#include "core/numbertext.h"
#include "core/power.h"
#include "core/practice.h"
#include "fakeview.h"

using namespace tolvaro;
using tolvaro::test::FakeView;

namespace {

std::string PowerText(const FakeView& view, int row) {
    // The exact answer of a row, as a pupil would type it.
    const long long base = std::stoll(view.Text(Row(RowPart::Grondtal, row)));
    const int exponent = std::stoi(view.Text(Row(RowPart::Exponent, row)));
    long long power = 1;
    for (int i = 0; i < exponent; ++i) power *= base;
    return std::to_string(power);
}

struct Fixture {
    Fixture() {
        random.Seed(42);
        practice.ResetSeries();
        practice.NewExerciseSet();
    }
    void AnswerRight(int rows) {
        for (int row = 1; row <= kRows; ++row) {
            view.texts[Row(RowPart::Result, row)] = row <= rows ? PowerText(view, row) : "";
        }
    }
    FakeView view;
    Random random;
    Practice practice{view, random};
};

}  // namespace

class TestPractice : public QObject {
    Q_OBJECT

private slots:
    void drawRanges_data() {
        QTest::addColumn<QString>("grondtal");
        QTest::addColumn<QString>("exponent");
        QTest::addColumn<int>("minBase");
        QTest::addColumn<int>("maxBase");
        QTest::addColumn<int>("minExp");
        QTest::addColumn<int>("maxExp");
        QTest::newRow("defaults") << "5" << "2" << 1 << 5 << 2 << 2;
        QTest::newRow("base 1") << "1" << "2" << 1 << 1 << 2 << 2;
        QTest::newRow("base 0 gives 1") << "0" << "2" << 1 << 1 << 2 << 2;
        QTest::newRow("base -5 gives 1") << "-5" << "2" << 1 << 1 << 2 << 2;
        QTest::newRow("exponent 1 gives 2") << "5" << "1" << 1 << 5 << 2 << 2;
        QTest::newRow("exponent 0 gives 2") << "5" << "0" << 1 << 5 << 2 << 2;
        QTest::newRow("exponent -7 gives 2") << "5" << "-7" << 1 << 5 << 2 << 2;
        QTest::newRow("exponent 99") << "3" << "99" << 1 << 3 << 2 << 99;
        QTest::newRow("largest") << "999999" << "99" << 1 << 999999 << 2 << 99;
        QTest::newRow("lowest int") << "-2147483648" << "-2147483648" << 1 << 1 << 2 << 2;
    }
    void drawRanges() {
        QFETCH(QString, grondtal);
        QFETCH(QString, exponent);
        QFETCH(int, minBase);
        QFETCH(int, maxBase);
        QFETCH(int, minExp);
        QFETCH(int, maxExp);
        FakeView view;
        view.texts[Control::MaxGrondtal] = grondtal.toStdString();
        view.texts[Control::MaxExponent] = exponent.toStdString();
        Random random;
        random.Seed(7);
        Practice practice(view, random);
        std::set<int> bases, exponents;
        for (int i = 0; i < 3000; ++i) {
            const Exercise e = practice.DrawValues();
            QVERIFY(e.base >= minBase && e.base <= maxBase);
            QVERIFY(e.exponent >= minExp && e.exponent <= maxExp);
            QVERIFY(e.power.IsFinite() && e.power > 0);  // 80-bit, never inf
            bases.insert(e.base);
            exponents.insert(e.exponent);
        }
        // Small ranges are covered completely by 3000 draws.
        if (maxBase - minBase < 10) QCOMPARE(int(bases.size()), maxBase - minBase + 1);
        if (maxExp - minExp < 100) QCOMPARE(int(exponents.size()), maxExp - minExp + 1);
    }

    void newSetPostConditions() {
        Fixture f;
        f.view.visible[Control::VolgendeOefening] = true;
        f.view.texts[Row(RowPart::Result, 3)] = "12";
        f.view.texts[Row(RowPart::Kontrol, 4)] = "GOED";
        f.practice.NewExerciseSet();
        for (int row = 1; row <= kRows; ++row) {
            QCOMPARE(f.view.Text(Row(RowPart::Result, row)), std::string());
            QCOMPARE(f.view.Text(Row(RowPart::Kontrol, row)), std::string());
            const std::string base = f.view.Text(Row(RowPart::Grondtal, row));
            QVERIFY(base >= "1" && base <= "5" && base.size() == 1);
            QCOMPARE(f.view.Text(Row(RowPart::Exponent, row)), std::string("2"));
            const int b = std::stoi(base);
            QCOMPARE(f.practice.ExpectedPowers[row - 1], Extended(b * b));
        }
        QVERIFY(!f.view.IsVisible(Control::VolgendeOefening));
        QCOMPARE(f.view.focus, Control::Oef1Result);
        QCOMPARE(f.view.Text(Control::Label6), std::string("0"));
        QCOMPARE(f.view.Text(Control::Label8), std::string("10"));
    }

    void aBadSettingStopsTheSetAndReports() {
        Fixture f;
        f.view.texts[Control::MaxGrondtal] = "x";
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, f.practice.NewExerciseSet());
    }

    void scoring() {
        Fixture f;
        // Twice the same check gives the same score.
        f.AnswerRight(10);
        f.practice.KontroleerClick();
        f.practice.KontroleerClick();
        QCOMPARE(f.view.Text(Control::Label6), std::string("10"));
        QCOMPARE(f.view.Text(Control::Label8), std::string("10"));
        QVERIFY(f.view.IsVisible(Control::VolgendeOefening));
        f.practice.VolgendeOefeningClick();
        QCOMPARE(f.view.Text(Control::Reeksteller), std::string("2"));
        QCOMPARE(f.view.Text(Control::Label6), std::string("10"));
        QCOMPARE(f.view.Text(Control::Label8), std::string("20"));
        QVERIFY(!f.view.IsVisible(Control::VolgendeOefening));
        f.AnswerRight(7);
        f.practice.KontroleerClick();
        QCOMPARE(f.view.Text(Control::Label6), std::string("17"));
        QCOMPARE(f.practice.BehaaldePunten, f.practice.VastgelegdePunten + f.practice.AantalGoed);
    }

    void correctingAndCheckingAgainReplacesTheSetScore() {
        Fixture f;
        f.AnswerRight(6);
        f.practice.KontroleerClick();
        QCOMPARE(f.view.Text(Control::Label6), std::string("6"));
        f.view.texts[Row(RowPart::Result, 7)] = PowerText(f.view, 7);
        f.view.texts[Row(RowPart::Result, 8)] = PowerText(f.view, 8);
        f.practice.MaxGrondtalEnter();
        QVERIFY(!f.view.IsVisible(Control::VolgendeOefening));
        f.practice.KontroleerClick();
        QCOMPARE(f.view.Text(Control::Label6), std::string("8"));
        QCOMPARE(f.view.Text(Row(RowPart::Kontrol, 9)), std::string("FOUT"));
        QCOMPARE(f.view.colors[Row(RowPart::Kontrol, 9)], Color::clRed);
        QCOMPARE(f.view.colors[Row(RowPart::Kontrol, 1)], Color::clGreen);
    }

    void answers_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("right");
        QTest::newRow("plain") << "16" << true;
        QTest::newRow("plus") << "+16" << true;
        QTest::newRow("comma zero") << "16,0" << true;
        QTest::newRow("point zero") << "16.0" << true;
        QTest::newRow("exponent form") << "1,6E1" << true;
        QTest::newRow("spaces around") << "  16 " << true;
        QTest::newRow("tab and newline around") << "\t16\r\n" << true;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("spaces only") << "   " << false;
        QTest::newRow("wrong") << "15" << false;
        QTest::newRow("one ulp above") << "16,000000000000000002" << false;
        QTest::newRow("below half an ulp rounds to it") << "16,0000000000000000001" << true;
        QTest::newRow("letters") << "zestien" << false;
        QTest::newRow("two points") << "1.6.0" << false;
        QTest::newRow("grouped") << "1 6" << false;
        QTest::newRow("double sign") << "--16" << false;
        QTest::newRow("overflow") << "1E5000" << false;
        QTest::newRow("arabic-indic digits") << QString::fromUtf8("١٦") << false;
        QTest::newRow("fullwidth digits") << QString::fromUtf8("１６") << false;
    }
    void answers() {
        QFETCH(QString, answer);
        QFETCH(bool, right);
        FakeView view;
        Random random;
        Practice practice(view, random);
        practice.AantalGoed = 0;
        practice.CheckAnswer(answer.toStdString(), Control::Oef1Kontrol, Exercise{4, 2, 16});
        QCOMPARE(view.Text(Control::Oef1Kontrol), std::string(right ? "GOED" : "FOUT"));
        QCOMPARE(practice.AantalGoed, right ? 1 : 0);
    }

    // Plain whole digits are right only when they are exactly the power, also above 2^64 where
    // a wrong number may have the same extended value; other forms are judged by that value.
    void wholeNumbersJudgedExactly_data() {
        QTest::addColumn<int>("base");
        QTest::addColumn<int>("exponent");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("right");
        QTest::newRow("5^33, above 2^64") << 5 << 33 << "116415321826934814453125" << true;
        QTest::newRow("5^33 + 1") << 5 << 33 << "116415321826934814453126" << false;
        QTest::newRow("635622^4, sign and spaces") << 635622 << 4 << " +163228384357185373149456 " << true;
        QTest::newRow("635622^4 + 1") << 635622 << 4 << "163228384357185373149457" << false;
        QTest::newRow("779702^4 + 1") << 779702 << 4 << "369585218103563079110417" << false;
        QTest::newRow("3^40 + 1, below 2^64") << 3 << 40 << "12157665459056928802" << false;
        QTest::newRow("same extended value, other digits") << 635622 << 4 << "163228384357185373149000" << false;
        QTest::newRow("that value in exponent form") << 635622 << 4 << "1,63228384357185373149E23" << true;
        QTest::newRow("30 digits in exponent form") << 635622 << 5 << "1,0375155212188288125E29" << true;
    }
    void wholeNumbersJudgedExactly() {
        QFETCH(int, base);
        QFETCH(int, exponent);
        QFETCH(QString, answer);
        QFETCH(bool, right);
        FakeView view;
        Random random;
        Practice practice(view, random);
        practice.CheckAnswer(answer.toStdString(), Control::Oef1Kontrol, Exercise{base, exponent, Power(base, exponent)});
        QCOMPARE(view.Text(Control::Oef1Kontrol), std::string(right ? "GOED" : "FOUT"));
    }

    void normalisingOnExit_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("after");
        QTest::newRow("decimal point") << "2.5" << "2,5";
        QTest::newRow("grouping points") << "1.000.000" << "";
        QTest::newRow("spaces around") << " 25 " << "25";
        QTest::newRow("control characters around") << "\t\n25\r" << "25";
        QTest::newRow("inner line break") << "2\n5" << "";
        QTest::newRow("letters") << "abc" << "";
        QTest::newRow("spaces only") << "     " << "";
        QTest::newRow("huge exponent") << "1E5000" << "";
        QTest::newRow("double minus") << "--5" << "";
        QTest::newRow("two commas") << "1,2,3" << "";
        QTest::newRow("exponent form kept") << "1.6e1" << "1,6e1";
        QTest::newRow("non-ascii") << QString::fromUtf8("éé") << "";
    }
    void normalisingOnExit() {
        QFETCH(QString, typed);
        QFETCH(QString, after);
        Fixture f;
        const int pointsBefore = f.practice.BehaaldePunten;
        f.view.texts[Row(RowPart::Result, 4)] = typed.toStdString();
        f.practice.ResultExit(4);
        QCOMPARE(QString::fromStdString(f.view.Text(Row(RowPart::Result, 4))), after);
        QCOMPARE(f.practice.BehaaldePunten, pointsBefore);
    }

    void answerEditKeys() {
        Fixture f;
        f.view.texts[Row(RowPart::Result, 5)] = "25";
        f.practice.ResultClick(5);
        QCOMPARE(f.view.Text(Row(RowPart::Result, 5)), std::string());
        f.practice.ResultKeyPress(10, 13);
        QCOMPARE(f.view.focus, Control::Oef1Result);
        f.practice.ResultKeyPress(3, 13);
        QCOMPARE(f.view.focus, Row(RowPart::Result, 4));
        f.practice.ResultKeyPress(3, 'a');
        QCOMPARE(f.view.focus, Row(RowPart::Result, 4));
    }

    // Settings: a click saves and empties, leaving settles the text.
    void settingsExit_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("newSeries");
        QTest::newRow("changed") << "8" << "8" << true;
        QTest::newRow("same value") << "5" << "5" << false;
        QTest::newRow("space before same value") << " 5" << "5" << false;
        QTest::newRow("leading zero is a change") << "05" << "05" << true;
        QTest::newRow("plus sign is a change") << "+5" << "+5" << true;
        QTest::newRow("letters restore") << "x" << "5" << false;
        QTest::newRow("empty restores") << "" << "5" << false;
        QTest::newRow("decimal restores") << "2,5" << "5" << false;
        QTest::newRow("lone sign restores") << "-" << "5" << false;
        QTest::newRow("zero accepted") << "0" << "0" << true;
        QTest::newRow("negative accepted") << "-3" << "-3" << true;
    }
    void settingsExit() {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(bool, newSeries);
        Fixture f;
        f.AnswerRight(10);
        f.practice.KontroleerClick();
        f.practice.VolgendeOefeningClick();  // set 2, 10 points committed
        const auto powersBefore = f.practice.ExpectedPowers;
        f.practice.MaxGrondtalClick();
        QCOMPARE(f.view.Text(Control::MaxGrondtal), std::string());
        QCOMPARE(f.view.focus, Control::MaxGrondtal);
        f.view.texts[Control::MaxGrondtal] = typed.toStdString();
        f.practice.MaxGrondtalExit();
        QCOMPARE(QString::fromStdString(f.view.Text(Control::MaxGrondtal)), shown);
        QCOMPARE(f.view.Text(Control::Reeksteller), std::string(newSeries ? "1" : "2"));
        QCOMPARE(f.view.Text(Control::Label8), std::string(newSeries ? "10" : "20"));
        QCOMPARE(f.practice.ExpectedPowers != powersBefore, newSeries);
        const Moment told = newSeries ? Moment::SeriesRestarted
                            : shown == typed.trimmed() ? Moment::SettingKept : Moment::SettingRefused;
        QCOMPARE(f.view.moments.back(), told);
    }

    void settingEnterKeyGoesToFirstRow() {
        Fixture f;
        f.practice.MaxExponentClick();
        f.view.texts[Control::MaxExponent] = "  7 ";
        f.practice.MaxExponentKeyPress(13);
        QCOMPARE(f.view.Text(Control::MaxExponent), std::string("7"));
        QCOMPARE(f.view.focus, Control::Oef1Result);
        f.practice.MaxExponentExit();  // the focus change runs the exit
        QCOMPARE(f.view.Text(Control::Reeksteller), std::string("1"));
        f.practice.MaxExponentClick();
        f.view.texts[Control::MaxExponent] = "q";
        f.practice.MaxExponentKeyPress(13);
        QCOMPARE(f.view.Text(Control::MaxExponent), std::string("7"));
    }

    void secondClickIntoEmptiedSettingKeepsTheLastValue() {
        Fixture f;
        f.practice.MaxGrondtalClick();
        f.practice.MaxGrondtalClick();  // the field is empty now: nothing new to save
        f.practice.MaxGrondtalExit();
        QCOMPARE(f.view.Text(Control::MaxGrondtal), std::string("5"));
        f.practice.NewExerciseSet();  // the draw can still read the setting
    }

    void timerMinutesDecideStart_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("startShown");
        QTest::addColumn<bool>("newSeries");
        QTest::newRow("three") << "3" << true << true;
        QTest::newRow("zero") << "0" << false << true;
        QTest::newRow("minus two") << "-2" << false << true;
        QTest::newRow("empty restores, nothing drawn") << "" << false << false;
    }
    void timerMinutesDecideStart() {
        QFETCH(QString, typed);
        QFETCH(bool, startShown);
        QFETCH(bool, newSeries);
        Fixture f;
        f.AnswerRight(10);
        f.practice.KontroleerClick();
        f.practice.VolgendeOefeningClick();
        f.practice.TimerMinutenClick();
        f.practice.TimerMinutenEnter();
        f.view.texts[Control::TimerMinuten] = typed.toStdString();
        f.practice.TimerMinutenExit();
        QCOMPARE(f.view.IsVisible(Control::Startknop), startShown);
        QCOMPARE(f.view.Text(Control::Reeksteller), std::string(newSeries ? "1" : "2"));
    }
};

QTEST_APPLESS_MAIN(TestPractice)
#include "test_practice.moc"
