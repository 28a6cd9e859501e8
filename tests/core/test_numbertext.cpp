#include <QtTest>

#include <algorithm>
#include <clocale>
#include <cstring>
#include <random>
#include <string>

#include "core/numbertext.h"
#include "core/power.h"
#include "extendedliteral.h"

Q_DECLARE_METATYPE(tolvaro::Extended)

using namespace tolvaro;

namespace {

const Extended kMax = Extended::Max();
const Extended kInf = Extended::Infinity();
const Extended kDenormMin = Extended::DenormMin();
const Extended kMinNormal = Extended::MinNormal();

// Equal values of the same sign, so that -0 and 0 can be told apart.
bool SameBits(const Extended& a, const Extended& b) {
    return a.SignBit() == b.SignBit() && (a == b || (a.IsNaN() && b.IsNaN()));
}

QByteArray Show(const Extended& v) {
    Extended::Mpfr x;
    v.Get(x);
    char buffer[64];
    mpfr_snprintf(buffer, sizeof buffer, "%.21Rg", static_cast<mpfr_srcptr>(x));
    return buffer;
}

// The next value up from a finite value of 0 or more.
Extended NextUp(const Extended& v) {
    return v + (v.IsZero() ? kDenormMin : Ldexp(1, std::max<long>(v.Exponent() - 64, -16445)));
}

// MPFR's correctly rounded reading of the text, after turning the comma into a point.
std::optional<Extended> Reference(std::string text) {
    std::replace(text.begin(), text.end(), ',', '.');
    const Extended::Range range;
    Extended::Mpfr read;
    const Extended v = Extended::Round(read, mpfr_strtofr(read, text.c_str(), nullptr, 10, MPFR_RNDN));
    if (v.IsInfinite()) return std::nullopt;
    return v;
}

// The decimal text of the exact midpoint between a and the next value up b.
std::string MidpointText(const Extended& a, const Extended& b) {
    mpfr_t sum;
    mpfr_init2(sum, 66);
    Extended::Mpfr x;
    a.Get(x);
    mpfr_set(sum, x, MPFR_RNDN);
    b.Get(x);
    mpfr_add(sum, sum, x, MPFR_RNDN);  // exact in 66 bits
    GmpInteger ma;
    const auto half = static_cast<std::int32_t>(mpfr_get_z_2exp(ma.get(), sum)) - 1;  // midpoint = ma * 2^half
    mpfr_clear(sum);
    std::int64_t decimalExponent = 0;
    if (half >= 0) {
        mpz_mul_2exp(ma.get(), ma.get(), half);
    } else {
        GmpInteger five;
        mpz_ui_pow_ui(five.get(), 5, static_cast<unsigned long>(-half));
        mpz_mul(ma.get(), ma.get(), five.get());
        decimalExponent = half;  // m * 2^-k == m * 5^k * 10^-k
    }
    std::string digits(mpz_sizeinbase(ma.get(), 10) + 2, '\0');
    mpz_get_str(digits.data(), 10, ma.get());
    digits.resize(std::strlen(digits.c_str()));
    const std::string text = digits + "E" + std::to_string(decimalExponent);
    return text;
}

// Splits a number text into its significant digits (no trailing zeros) and
// the decimal exponent of the first one; works for plain and exponent form
// with either a comma or a point.
void DigitsAndDecade(std::string text, std::string& digits, int& decade) {
    if (!text.empty() && text[0] == '-') text.erase(0, 1);
    int exponent = 0;
    if (const auto e = text.find_first_of("Ee"); e != std::string::npos) {
        exponent = std::stoi(text.substr(e + 1));
        text.erase(e);
    }
    const auto comma = text.find_first_of(",.");
    const std::string integerPart = text.substr(0, comma);
    const std::string fractionPart = comma == std::string::npos ? "" : text.substr(comma + 1);
    digits = integerPart + fractionPart;
    const auto first = digits.find_first_not_of('0');
    decade = static_cast<int>(integerPart.size()) - 1 - static_cast<int>(first) + exponent;
    digits = digits.substr(first);
    digits.erase(digits.find_last_not_of('0') + 1);
}

}  // namespace

class TestNumberText : public QObject {
    Q_OBJECT

private slots:
    void intToText_data() {
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << 0 << "0";
        QTest::newRow("seven") << 7 << "7";
        QTest::newRow("negative") << -42 << "-42";
        QTest::newRow("no grouping") << 1234567 << "1234567";
        QTest::newRow("largest") << 2147483647 << "2147483647";
        QTest::newRow("smallest") << int(-2147483647 - 1) << "-2147483648";
    }
    void intToText() {
        QFETCH(int, value);
        QFETCH(QString, text);
        QCOMPARE(QString::fromStdString(IntToText(value)), text);
    }

    void floatToText_data() {
        QTest::addColumn<Extended>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("seven") << 7.0_x << "7";
        QTest::newRow("two and a half") << 2.5_x << "2,5";
        QTest::newRow("negative fraction") << -2.5_x << "-2,5";
        QTest::newRow("zero") << 0.0_x << "0";
        QTest::newRow("negative zero") << -0.0_x << "0";
        QTest::newRow("one third") << 1.0_x / 3 << "0,333333333333333";
        QTest::newRow("two thirds round up") << 2.0_x / 3 << "0,666666666666667";
        QTest::newRow("tenth") << 0.1_x << "0,1";
        QTest::newRow("integer and fraction") << 123456.789_x << "123456,789";
        QTest::newRow("fifteen nines") << 999999999999999.0_x << "999999999999999";
        QTest::newRow("10^15") << 1e15_x << "1E15";
        QTest::newRow("16 digits") << 1234567890123456.0_x << "1,23456789012346E15";
        QTest::newRow("half rounds into next decade") << 999999999999999.5_x << "1E15";
        QTest::newRow("16 digits tie to 10^16") << 9999999999999995.0_x << "1E16";
        QTest::newRow("5^25") << 298023223876953125.0_x << "2,98023223876953E17";
        // 2758547353515625 = 35^10: the sixteenth digit is an exact 5, away from zero.
        QTest::newRow("35^10 tie") << 2758547353515625.0_x << "2,75854735351563E15";
        QTest::newRow("-35^10 tie") << -2758547353515625.0_x << "-2,75854735351563E15";
        QTest::newRow("2^64") << 18446744073709551616.0_x << "1,84467440737096E19";
        QTest::newRow("999999^99") << Power(999999, 99) << "9,99901004850843E593";
        QTest::newRow("0,0001 plain") << 0.0001_x << "0,0001";
        QTest::newRow("0,00009 exponent") << 0.00009_x << "9E-5";
        QTest::newRow("negative small") << -0.00009_x << "-9E-5";
        QTest::newRow("rounds up to 0,0001") << 0.0000999999999999999999_x << "0,0001";
        QTest::newRow("1E-10") << 1e-10_x << "1E-10";
        QTest::newRow("1,5E-300") << 1.5e-300_x << "1,5E-300";
        QTest::newRow("largest finite") << kMax << "1,18973149535723E4932";
        QTest::newRow("smallest subnormal") << kDenormMin << "3,64519953188247E-4951";
        QTest::newRow("infinity") << kInf << "INF";
        QTest::newRow("minus infinity") << -kInf << "-INF";
        QTest::newRow("nan") << Extended::NaN() << "NAN";
    }
    void floatToText() {
        QFETCH(Extended, value);
        QFETCH(QString, text);
        QCOMPARE(QString::fromStdString(FloatToText(value)), text);
    }

    // Digits and exponent against MPFR's printf for random bit patterns
    // (exact ties, where printf rounds to even, don't occur among them).
    void floatToTextAgainstPrintf() {
        std::mt19937_64 random(20240611);
        std::uniform_int_distribution<int> binaryExponent(-16440, 16380);
        std::uniform_int_distribution<int> smallExponent(-60, 80);
        for (int i = 0; i < 20000; ++i) {
            const std::uint64_t bits = random() | (1ull << 63);
            const int e = (i % 2) ? smallExponent(random) : binaryExponent(random);
            Extended v = Ldexp(Extended(bits), e - 63);
            if (i % 3 == 0) v = -v;
            const std::string ours = FloatToText(v);
            Extended::Mpfr x;
            v.Get(x);
            char buffer[64];
            mpfr_snprintf(buffer, sizeof buffer, "%.14Re", static_cast<mpfr_srcptr>(x));
            std::string expectedDigits, actualDigits;
            int expectedDecade = 0, actualDecade = 0;
            DigitsAndDecade(buffer, expectedDigits, expectedDecade);
            DigitsAndDecade(ours, actualDigits, actualDecade);
            const QByteArray context = QByteArray(ours.c_str()) + " vs " + buffer;
            QVERIFY2(actualDigits == expectedDigits && actualDecade == expectedDecade, context);
            QVERIFY2((ours[0] == '-') == (v < 0), context);
            const bool exponentForm = ours.find('E') != std::string::npos;
            QVERIFY2(exponentForm == (actualDecade > 14 || actualDecade < -4), context);
            QVERIFY2(ours.find('+') == std::string::npos && ours.find('.') == std::string::npos, context);
        }
    }

    void textToInt_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("value");
        QTest::newRow("plain") << "5" << true << 5;
        QTest::newRow("leading spaces") << "  5" << true << 5;
        QTest::newRow("plus") << "+5" << true << 5;
        QTest::newRow("minus") << "-5" << true << -5;
        QTest::newRow("leading zeros") << "000000000000000000042" << true << 42;
        QTest::newRow("largest") << "2147483647" << true << 2147483647;
        QTest::newRow("smallest") << "-2147483648" << true << int(-2147483647 - 1);
        QTest::newRow("one too large") << "2147483648" << false << 0;
        QTest::newRow("one too small") << "-2147483649" << false << 0;
        QTest::newRow("far too large") << "99999999999999999999999" << false << 0;
        QTest::newRow("empty") << "" << false << 0;
        QTest::newRow("lone minus") << "-" << false << 0;
        QTest::newRow("lone plus") << "+" << false << 0;
        QTest::newRow("double sign") << "--5" << false << 0;
        QTest::newRow("space after sign") << "- 5" << false << 0;
        QTest::newRow("trailing space") << "5 " << false << 0;
        QTest::newRow("trailing letter") << "5a" << false << 0;
        QTest::newRow("comma") << "5,0" << false << 0;
        QTest::newRow("point") << "5.0" << false << 0;
        QTest::newRow("grouping space") << "1 000" << false << 0;
        QTest::newRow("hex prefix") << "0x10" << false << 0;
        QTest::newRow("tab") << "\t5" << false << 0;
        QTest::newRow("arabic-indic digit") << QString::fromUtf8("\u0665") << false << 0;
        QTest::newRow("fullwidth digit") << QString::fromUtf8("\uFF15") << false << 0;
    }
    void textToInt() {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(int, value);
        const std::string utf8 = text.toStdString();
        const auto result = TextToInt(utf8);
        QCOMPARE(result.has_value(), ok);
        QCOMPARE(IsNotInteger(utf8), !ok);
        if (ok) QCOMPARE(*result, value);
    }

    void textToFloat_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<Extended>("value");
        QTest::newRow("plain") << "16" << true << 16.0_x;
        QTest::newRow("leading spaces") << " 16" << true << 16.0_x;
        QTest::newRow("trailing spaces") << "16  " << true << 16.0_x;
        QTest::newRow("plus") << "+16" << true << 16.0_x;
        QTest::newRow("minus") << "-16" << true << -16.0_x;
        QTest::newRow("comma zero") << "16,0" << true << 16.0_x;
        QTest::newRow("exponent") << "1,6E1" << true << 16.0_x;
        QTest::newRow("negative exponent") << "160E-1" << true << 16.0_x;
        QTest::newRow("fraction") << "2,5" << true << 2.5_x;
        QTest::newRow("no integer digits") << ",5" << true << 0.5_x;
        QTest::newRow("no fraction digits") << "5," << true << 5.0_x;
        QTest::newRow("comma before exponent") << "5,E2" << true << 500.0_x;
        QTest::newRow("zero") << "0" << true << 0.0_x;
        QTest::newRow("minus zero") << "-0" << true << -0.0_x;
        QTest::newRow("zero with huge exponent") << "0E5000" << true << 0.0_x;
        QTest::newRow("leading zeros") << "000000000000000000000000016" << true << 16.0_x;
        QTest::newRow("long exponent digits") << "1E0000000000000000000005" << true << 100000.0_x;
        QTest::newRow("tiny exponent to zero") << "1E-99999" << true << 0.0_x;
        QTest::newRow("endless exponent to zero") << "1E-99999999999999999999999" << true << 0.0_x;
        QTest::newRow("negative tiny to minus zero") << "-1E-99999" << true << -0.0_x;
        QTest::newRow("many digits cancel exponent")
            << QString("1") + QString(6000, '0') + "E-6000" << true << 1.0_x;
        QTest::newRow("many fraction zeros")
            << QString("0,") + QString(6000, '0') + "1E6001" << true << 1.0_x;
        QTest::newRow("largest finite") << "1,18973149535723176502E4932" << true << kMax;
        QTest::newRow("just below overflow midpoint") << "1,18973149535723176505E4932" << true << kMax;
        QTest::newRow("smallest normal") << "3,36210314311209350626E-4932" << true << kMinNormal;
        QTest::newRow("smallest subnormal") << "3,6451995318824746025E-4951" << true << kDenormMin;

        QTest::newRow("point") << "1.6" << false << 0.0_x;
        QTest::newRow("grouping space") << "1 000" << false << 0.0_x;
        QTest::newRow("grouping point") << "1.000,5" << false << 0.0_x;
        QTest::newRow("empty") << "" << false << 0.0_x;
        QTest::newRow("only spaces") << "   " << false << 0.0_x;
        QTest::newRow("lone minus") << "-" << false << 0.0_x;
        QTest::newRow("lone comma") << "," << false << 0.0_x;
        QTest::newRow("exponent only") << "E5" << false << 0.0_x;
        QTest::newRow("empty exponent") << "1E" << false << 0.0_x;
        QTest::newRow("exponent sign only") << "1E+" << false << 0.0_x;
        QTest::newRow("space in exponent") << "1E 5" << false << 0.0_x;
        QTest::newRow("two exponents") << "1E5E5" << false << 0.0_x;
        QTest::newRow("double sign") << "--5" << false << 0.0_x;
        QTest::newRow("space after sign") << "- 5" << false << 0.0_x;
        QTest::newRow("trailing sign") << "5-" << false << 0.0_x;
        QTest::newRow("two commas") << "1,2,3" << false << 0.0_x;
        QTest::newRow("overflow") << "1E5000" << false << 0.0_x;
        QTest::newRow("endless exponent") << "1E99999999999999999999999" << false << 0.0_x;
        QTest::newRow("just above overflow midpoint") << "1,18973149535723176506E4932" << false << 0.0_x;
        QTest::newRow("hex") << "0x10" << false << 0.0_x;
        QTest::newRow("infinity word") << "INF" << false << 0.0_x;
        QTest::newRow("leading tab") << "\t16" << false << 0.0_x;
        QTest::newRow("trailing tab") << "16\t" << false << 0.0_x;
        QTest::newRow("no-break space") << QString::fromUtf8("\u00A016") << false << 0.0_x;
        QTest::newRow("arabic-indic digits") << QString::fromUtf8("\u0661\u0666") << false << 0.0_x;
        QTest::newRow("fullwidth digits") << QString::fromUtf8("\uFF11\uFF16") << false << 0.0_x;
    }
    void textToFloat() {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(Extended, value);
        const auto result = TextToFloat(text.toStdString());
        QCOMPARE(result.has_value(), ok);
        if (ok) QVERIFY2(SameBits(*result, value), Show(*result) + " vs " + Show(value));
    }

    // Exact midpoints between neighbouring values go to the even one;
    // a hair above or below them decides.
    void roundingTies_data() {
        QTest::addColumn<Extended>("low");
        QTest::addColumn<bool>("tieGoesUp");
        QTest::newRow("1, even") << 1.0_x << false;
        QTest::newRow("just above 1, odd") << NextUp(1.0_x) << true;
        QTest::newRow("2^64, even") << 18446744073709551616.0_x << false;
        QTest::newRow("2^64 + 2, odd") << 18446744073709551618.0_x << true;
        QTest::newRow("zero and smallest subnormal") << 0.0_x << false;
        QTest::newRow("smallest subnormal, odd") << kDenormMin << true;
        QTest::newRow("largest subnormal, odd") << kMinNormal - kDenormMin << true;
        QTest::newRow("smallest normal, even") << kMinNormal << false;
        QTest::newRow("below largest, even") << kMax - Ldexp(1, 16384 - 64) << false;
        QTest::newRow("2^13000 + ulp, odd") << NextUp(Ldexp(1.0_x, 13000)) << true;
    }
    void roundingTies() {
        QFETCH(Extended, low);
        QFETCH(bool, tieGoesUp);
        const Extended high = NextUp(low);
        const std::string mid = MidpointText(low, high);
        const auto e = mid.find('E');
        const std::string digits = mid.substr(0, e);
        const long long exponent = std::stoll(mid.substr(e + 1));
        const std::string above = digits + "1E" + std::to_string(exponent - 1);
        const std::string belowDigits = [&] {
            // digits * 10 - 1
            std::string d = digits + "0";
            int i = static_cast<int>(d.size()) - 1;
            while (d[i] == '0') d[i--] = '9';
            --d[i];
            return d;
        }();
        const std::string below = belowDigits + "E" + std::to_string(exponent - 1);

        const auto tie = TextToFloat(mid);
        const auto up = TextToFloat(above);
        const auto down = TextToFloat(below);
        QVERIFY(tie && up && down);
        QVERIFY2(SameBits(*tie, tieGoesUp ? high : low), Show(*tie));
        QVERIFY2(SameBits(*up, high), Show(*up));
        QVERIFY2(SameBits(*down, low), Show(*down));
        QVERIFY(SameBits(*tie, *Reference(mid)));

        const auto negativeTie = TextToFloat("-" + mid);
        QVERIFY(negativeTie && SameBits(*negativeTie, -*tie));
    }

    // Random digit strings over the whole range, including overflow and
    // subnormals, against MPFR's correctly rounded reading.
    void textToFloatAgainstStrtold() {
        std::mt19937_64 random(424242);
        std::uniform_int_distribution<int> length(1, 40);
        std::uniform_int_distribution<int> digit(0, 9);
        std::uniform_int_distribution<int> wideExponent(-4990, 4960);
        std::uniform_int_distribution<int> narrowExponent(-30, 30);
        for (int i = 0; i < 30000; ++i) {
            const int n = length(random);
            std::string text = (i % 5 == 0) ? "-" : "";
            std::string mantissa;
            for (int k = 0; k < n; ++k) mantissa += static_cast<char>('0' + digit(random));
            if (i % 2) mantissa.insert(random() % (mantissa.size() + 1), ",");
            text += mantissa;
            if (i % 4 != 3) text += "E" + std::to_string(i % 3 ? wideExponent(random) : narrowExponent(random));
            const auto ours = TextToFloat(text);
            const auto expected = Reference(text);
            QVERIFY2(ours.has_value() == expected.has_value(), text.c_str());
            if (ours) QVERIFY2(SameBits(*ours, *expected), (text + ": " + Show(*ours).toStdString()).c_str());
        }
    }

    void isNotChecks_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("notInteger");
        QTest::addColumn<bool>("notNumber");
        QTest::newRow("integer") << "25" << false << false;
        QTest::newRow("comma number") << "2,5" << true << false;
        QTest::newRow("point read as comma") << "2.5" << true << false;
        QTest::newRow("only the first point") << "2.5.1" << true << true;
        QTest::newRow("point and comma") << "1.000,5" << true << true;
        QTest::newRow("point exponent") << "1.5E3" << true << false;
        QTest::newRow("empty") << "" << true << true;
        QTest::newRow("word") << "vijf" << true << true;
    }
    void isNotChecks() {
        QFETCH(QString, text);
        QFETCH(bool, notInteger);
        QFETCH(bool, notNumber);
        QCOMPARE(IsNotInteger(text.toStdString()), notInteger);
        QCOMPARE(IsNotNumber(text.toStdString()), notNumber);
    }

    // The comma is fixed: a locale with a decimal point or comma changes nothing.
    void localeIndependence_data() {
        QTest::addColumn<QString>("locale");
        QTest::newRow("C") << "C";
        QTest::newRow("C.UTF-8") << "C.UTF-8";
        QTest::newRow("nl_NL") << "nl_NL.UTF-8";
        QTest::newRow("nl_BE") << "nl_BE.UTF-8";
        QTest::newRow("de_DE") << "de_DE.UTF-8";
        QTest::newRow("en_US") << "en_US.UTF-8";
    }
    void localeIndependence() {
        QFETCH(QString, locale);
        const std::string previous = std::setlocale(LC_ALL, nullptr);
        if (!std::setlocale(LC_ALL, locale.toStdString().c_str()))
            QSKIP("locale not installed");
        const auto half = TextToFloat("2,5");
        const bool pointRejected = !TextToFloat("2.5");
        const auto tenth = TextToFloat("0,1");
        const std::string written = FloatToText(1234.5_x);
        const std::string integer = IntToText(-1234567);
        std::setlocale(LC_ALL, previous.c_str());
        QVERIFY(half && *half == 2.5_x);
        QVERIFY(pointRejected);
        QVERIFY(tenth && *tenth == 0.1_x);
        QCOMPARE(written, std::string("1234,5"));
        QCOMPARE(integer, std::string("-1234567"));
    }
};

QTEST_APPLESS_MAIN(TestNumberText)
#include "test_numbertext.moc"
