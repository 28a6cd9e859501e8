// The worksheet's text, line by line, against the sheets written out by hand.
#include <QtTest>

#include <string>
#include <vector>

#include "print/worksheet.h"
#include "sampletable.h"

using tolvaro::SheetKind;
using tolvaro::WorksheetTable;

Q_DECLARE_METATYPE(SheetKind)

namespace {

const std::string kTab7Bar = "\t\t\t\t\t\t\t|";
const std::string kTabBar = "\t|";
const std::string kSeparator = "\t\t\t\t\t\t\t\t|";
const std::string kEq = "       =  ";
const std::string kDots = ".  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .  .";
const std::string kNameLine =
    "    Naam : . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . . "
    ". . . . . . . . . . . . . . . . . . . . . . . . . . . . . . .";
const std::string kRule = "    ___________________________________________________________________________________________";
const std::string kTitle = "Machten, blad 3";

std::string Sp(int n) { return std::string(static_cast<std::size_t>(n), ' '); }

// Row r of the sheets above, written out: the exponent line, then the base line of the exercise
// sheet and of the solutions sheet.
struct Row {
    std::string exponents;
    std::string exerciseBases;
    std::string solutionBases;
};

std::vector<Row> Rows() {
    const std::string d = kEq + kDots;
    return {
        {Sp(16) + "2" + kTab7Bar + Sp(16) + "2",
         "    " + Sp(10) + "3" + d + kTabBar + "    " + Sp(10) + "4" + "  " + d,
         "    " + Sp(10) + "3" + kEq + "9" + Sp(58) + kTabBar + "    " + Sp(10) + "4" + "  " + kEq + "16"},
        {Sp(16) + "2" + kTab7Bar + Sp(16) + "12",
         "    999999" + d + kTabBar + "    " + Sp(8) + "12" + d,
         "    999999" + kEq + "999998000001" + Sp(36) + kTabBar + "    " + Sp(8) + "12" + kEq + "8916100448256"},
        {Sp(16) + "12" + kTab7Bar + Sp(16) + "12",
         "    " + Sp(10) + "7" + d + kTabBar + "    999999" + d,
         "    " + Sp(10) + "7" + kEq + "13841287201" + Sp(38) + kTabBar + "    999999" + kEq + "9,99988000066E71"},
        {Sp(16) + "3" + kTab7Bar + Sp(16) + "99",
         "    " + Sp(8) + "10" + d + kTabBar + "    " + Sp(10) + "5" + d,
         "    " + Sp(8) + "10" + kEq + "1000" + Sp(52) + kTabBar + "    " + Sp(10) + "5" + kEq + "1,57772181044202E69"},
        {Sp(16) + "2" + kTab7Bar + Sp(16) + "3",
         "    " + Sp(10) + "1" + d + kTabBar + "    123456" + "  " + d,
         "    " + Sp(10) + "1" + kEq + "1" + Sp(58) + kTabBar + "    123456" + "  " + kEq + "1,88164029520282E15"},
        {Sp(16) + "10" + kTab7Bar + Sp(16) + "2",
         "    " + Sp(8) + "25" + d + kTabBar + "    " + Sp(10) + "9" + "  " + d,
         "    " + Sp(8) + "25" + kEq + "95367431640625" + Sp(32) + kTabBar + "    " + Sp(10) + "9" + "  " + kEq + "81"},
        {Sp(16) + "99" + kTab7Bar + Sp(16) + "7",
         "    999999" + d + kTabBar + "    " + Sp(10) + "2" + "  " + d,
         "    999999" + kEq + "9,99901004850843E593" + Sp(20) + kTabBar + "    " + Sp(10) + "2" + "  " + kEq + "128"},
        {Sp(16) + "2" + kTab7Bar + Sp(16) + "8",
         "    " + Sp(10) + "8" + d + kTabBar + "    " + Sp(8) + "30" + "  " + d,
         "    " + Sp(10) + "8" + kEq + "64" + Sp(56) + kTabBar + "    " + Sp(8) + "30" + "  " + kEq + "656100000000"},
        {Sp(16) + "5" + kTab7Bar + Sp(16) + "12",
         "    100000" + d + kTabBar + "    " + Sp(10) + "1" + d,
         "    100000" + kEq + "1E25" + Sp(52) + kTabBar + "    " + Sp(10) + "1" + kEq + "1"},
        {Sp(16) + "62" + kTab7Bar + Sp(16) + "3",
         "    " + Sp(10) + "2" + d + kTabBar + "    999999" + "  " + d,
         "    " + Sp(10) + "2" + kEq + "4,61168601842739E18" + Sp(22) + kTabBar + "    999999" + "  " + kEq +
             "9,99997000003E17"},
        {Sp(16) + "25" + kTab7Bar + Sp(16) + "2",
         "    " + Sp(10) + "5" + d + kTabBar + "    " + Sp(2) + "77777" + "  " + d,
         "    " + Sp(10) + "5" + kEq + "2,98023223876953E17" + Sp(22) + kTabBar + "    " + Sp(2) + "77777" + "  " +
             kEq + "6049261729"},
        {Sp(16) + "9" + kTab7Bar + Sp(16) + "40",
         "    " + Sp(10) + "6" + d + kTabBar + "    " + Sp(10) + "3" + d,
         "    " + Sp(10) + "6" + kEq + "10077696" + Sp(44) + kTabBar + "    " + Sp(10) + "3" + kEq +
             "1,21576654590569E19"},
        {Sp(16) + "11" + kTab7Bar + Sp(16) + "2",
         "    " + Sp(8) + "11" + d + kTabBar + "    " + Sp(8) + "11" + "  " + d,
         "    " + Sp(8) + "11" + kEq + "285311670611" + Sp(36) + kTabBar + "    " + Sp(8) + "11" + "  " + kEq + "121"},
        {Sp(16) + "12" + kTab7Bar + Sp(16) + "4",
         "    999999" + d + kTabBar + "    " + Sp(10) + "4" + "  " + d,
         "    999999" + kEq + "9,99988000066E71" + Sp(28) + kTabBar + "    " + Sp(10) + "4" + "  " + kEq + "256"},
        {Sp(16) + "2" + kTab7Bar + Sp(16) + "9",
         "    " + Sp(8) + "12" + d + kTabBar + "    999999" + "  " + d,
         "    " + Sp(8) + "12" + kEq + "144" + Sp(54) + kTabBar + "    999999" + "  " + kEq + "9,99991000036E53"},
    };
}

// The printed sheet, written out from top to bottom.
std::vector<std::string> ExpectedSheet(SheetKind kind, const std::string& title) {
    const bool exercises = kind == SheetKind::Exercises;
    std::vector<std::string> lines = {"", "", "    " + title, "", "",
                                      exercises ? kNameLine : "    Oplossingen. ", "", "", kRule, kSeparator};
    const std::vector<Row> rows = Rows();
    for (std::size_t r = 0; r < rows.size(); ++r) {
        lines.push_back(rows[r].exponents);
        lines.push_back(exercises ? rows[r].exerciseBases : rows[r].solutionBases);
        lines.push_back(r + 1 < rows.size() ? kSeparator : kRule);
    }
    lines.insert(lines.end(), {"", ""});
    if (exercises) lines.emplace_back("  Punten :");
    return lines;
}

std::vector<std::string> Printed(SheetKind kind, const std::string& title = kTitle) {
    return tolvaro::PrintedLines(tolvaro::ComposeSheet(kind, SampleTable(), title, kSeparator));
}

QString Describe(const std::string& line) {
    return QString::fromStdString(line).replace(QLatin1Char('\t'), QStringLiteral("<TAB>"));
}

QByteArray B(const std::string& s) { return QByteArray::fromStdString(s); }

}  // namespace

class TestWorksheet : public QObject {
    Q_OBJECT

private slots:
    void fill_data() {
        QTest::addColumn<int>("n");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("negative") << -3 << QByteArray();
        QTest::newRow("zero") << 0 << QByteArray();
        QTest::newRow("one unit") << 1 << QByteArray("  ");
        QTest::newRow("five units before a one-digit base") << 5 << QByteArray("          ");
        QTest::newRow("29 units after a one-character power") << 29 << QByteArray(58, ' ');
    }
    void fill() {
        QFETCH(int, n);
        QFETCH(QByteArray, expected);
        QCOMPARE(B(tolvaro::Fill(n)), expected);
    }

    void printedLines_data() {
        QTest::addColumn<QList<QByteArray>>("added");
        QTest::addColumn<QList<QByteArray>>("printed");
        QTest::newRow("plain line") << QList<QByteArray>{"abc"} << QList<QByteArray>{"abc"};
        QTest::newRow("empty line") << QList<QByteArray>{""} << QList<QByteArray>{""};
        QTest::newRow("lone carriage return gives two empty lines")
            << QList<QByteArray>{"\r"} << QList<QByteArray>{"", ""};
        QTest::newRow("two trailing carriage returns") << QList<QByteArray>{"    T\r\r"}
                                                       << QList<QByteArray>{"    T", "", ""};
        QTest::newRow("carriage return inside") << QList<QByteArray>{"a\rb", "c"}
                                                << QList<QByteArray>{"a", "b", "c"};
        QTest::newRow("tabs are kept") << QList<QByteArray>{"\t\t|"} << QList<QByteArray>{"\t\t|"};
    }
    void printedLines() {
        QFETCH(QList<QByteArray>, added);
        QFETCH(QList<QByteArray>, printed);
        std::vector<std::string> in;
        for (const QByteArray& line : added) in.push_back(line.toStdString());
        QList<QByteArray> out;
        for (const std::string& line : tolvaro::PrintedLines(in)) out.append(B(line));
        QCOMPARE(out, printed);
    }

    // Every printed line of both sheets against the hand-written sheets.
    void sheetLine_data() {
        QTest::addColumn<SheetKind>("kind");
        QTest::addColumn<int>("index");
        QTest::addColumn<QByteArray>("expected");
        for (const SheetKind kind : {SheetKind::Exercises, SheetKind::Solutions}) {
            const char* name = kind == SheetKind::Exercises ? "exercises" : "solutions";
            const std::vector<std::string> lines = ExpectedSheet(kind, kTitle);
            for (std::size_t i = 0; i < lines.size(); ++i) {
                const int row = i >= 10 && i < 55 ? static_cast<int>((i - 10) / 3) + 1 : 0;
                const char* part = row == 0             ? "frame"
                                   : (i - 10) % 3 == 0 ? "exponents"
                                   : (i - 10) % 3 == 1 ? "bases"
                                   : row == 15         ? "closing rule"
                                                       : "separator";
                QTest::addRow("%s line %02d %s row %d", name, int(i) + 1, part, row)
                    << kind << int(i) << B(lines[i]);
            }
        }
    }
    void sheetLine() {
        QFETCH(SheetKind, kind);
        QFETCH(int, index);
        QFETCH(QByteArray, expected);
        const std::vector<std::string> printed = Printed(kind);
        QVERIFY(index < int(printed.size()));
        const std::string& actual = printed[static_cast<std::size_t>(index)];
        if (B(actual) != expected) {
            QFAIL(qPrintable(QStringLiteral("\nactual:   [%1]\nexpected: [%2]")
                                 .arg(Describe(actual), Describe(expected.toStdString()))));
        }
    }

    void sheetShape_data() {
        QTest::addColumn<SheetKind>("kind");
        QTest::addColumn<int>("lineCount");
        QTest::addColumn<int>("addedCount");
        QTest::addColumn<int>("headingLength");
        QTest::newRow("exercises") << SheetKind::Exercises << 58 << 52 << 176;
        QTest::newRow("solutions") << SheetKind::Solutions << 57 << 51 << 17;
    }
    void sheetShape() {
        QFETCH(SheetKind, kind);
        QFETCH(int, lineCount);
        QFETCH(int, addedCount);
        QFETCH(int, headingLength);
        const std::vector<std::string> added = tolvaro::ComposeSheet(kind, SampleTable(), kTitle, kSeparator);
        QCOMPARE(int(added.size()), addedCount);
        QCOMPARE(int(tolvaro::PrintedLines(added).size()), lineCount);
        QCOMPARE(B(added[0]), QByteArray("\r"));
        QCOMPARE(B(added[1]), B("    " + kTitle + "\r\r"));
        QCOMPARE(int(added[2].size()), headingLength);
        QCOMPARE(B(added[3]), QByteArray("\r"));
        QCOMPARE(int(added[4].size()), 95);
        QCOMPARE(B(added[5]), B(kSeparator));
        // The closing rule is one added line of 97 characters: the rule and two carriage returns.
        const std::string& closing = added[static_cast<std::size_t>(5 + 15 * 3)];
        QCOMPARE(int(closing.size()), 97);
        QCOMPARE(B(closing), B(kRule + "\r\r"));
    }

    void titleLine_data() {
        QTest::addColumn<QByteArray>("title");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("default title") << QByteArray("Oefening") << QByteArray("    Oefening");
        QTest::newRow("empty title keeps the leading spaces") << QByteArray() << QByteArray("    ");
        QTest::newRow("accented title") << QByteArray("Oefening \xC3\xA9\xC3\xAB")
                                        << QByteArray("    Oefening \xC3\xA9\xC3\xAB");
    }
    void titleLine() {
        QFETCH(QByteArray, title);
        QFETCH(QByteArray, expected);
        for (const SheetKind kind : {SheetKind::Exercises, SheetKind::Solutions}) {
            const std::vector<std::string> printed = Printed(kind, title.toStdString());
            QCOMPARE(B(printed[2]), expected);
            QCOMPARE(B(printed[3]), QByteArray());
            QCOMPARE(B(printed[4]), QByteArray());
        }
    }

    // The worked example: default settings, B = 3 on the left and 4 on the right, both exponents
    // "2", powers 9 and 16.
    void workedExample_data() {
        QTest::addColumn<SheetKind>("kind");
        QTest::addColumn<QByteArray>("bases");
        QTest::newRow("exercises") << SheetKind::Exercises
                                   << B(Sp(14) + "3" + kEq + kDots + "\t|" + Sp(14) + "4" + "  " + kEq + kDots);
        QTest::newRow("solutions") << SheetKind::Solutions
                                   << B(Sp(14) + "3" + kEq + "9" + Sp(58) + "\t|" + Sp(14) + "4" + "  " + kEq + "16");
    }
    void workedExample() {
        QFETCH(SheetKind, kind);
        QFETCH(QByteArray, bases);
        WorksheetTable table;
        for (int k = 0; k < 30; ++k) table[static_cast<std::size_t>(k)] = {"3", "2", "9"};
        table[15] = {"4", "2", "16"};
        const std::vector<std::string> printed =
            tolvaro::PrintedLines(tolvaro::ComposeSheet(kind, table, "Oefening", kSeparator));
        QCOMPARE(B(printed[10]), B(Sp(16) + "2" + "\t\t\t\t\t\t\t|" + Sp(16) + "2"));
        QCOMPARE(B(printed[11]), bases);
    }
};

QTEST_APPLESS_MAIN(TestWorksheet)
#include "test_worksheet.moc"
