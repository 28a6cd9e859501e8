#include <QtTest>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <limits>
#include <locale.h>
#include <string>

#include "core/numbertext.h"
#include "core/power.h"

Q_DECLARE_METATYPE(long double)

using namespace tolvaro;

namespace {

constexpr long double kInf = std::numeric_limits<long double>::infinity();

QByteArray Show(long double v) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.21Lg", v);
    return buffer;
}

// base^exponent written out exactly, read back by glibc's correctly
// rounded strtold (C locale).
long double ExactPowerReference(long base, unsigned long exponent) {
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
    GmpInteger power;
    mpz_set_si(power.get(), base);
    mpz_pow_ui(power.get(), power.get(), exponent);
    std::string digits(mpz_sizeinbase(power.get(), 10) + 2, '\0');
    mpz_get_str(digits.data(), 10, power.get());
    errno = 0;
    return strtold_l(digits.c_str(), nullptr, cLocale);
}

}  // namespace

class TestPower : public QObject {
    Q_OBJECT

private slots:
    // The four steps of the power and their order.
    void rules_data() {
        QTest::addColumn<long double>("base");
        QTest::addColumn<long double>("exponent");
        QTest::addColumn<long double>("expected");
        QTest::newRow("exponent 0") << 5.0L << 0.0L << 1.0L;
        QTest::newRow("zero to the 0") << 0.0L << 0.0L << 1.0L;
        QTest::newRow("negative to the 0") << -3.0L << 0.0L << 1.0L;
        QTest::newRow("infinity to the 0") << kInf << 0.0L << 1.0L;
        QTest::newRow("zero to a whole power") << 0.0L << 3.0L << 0.0L;
        QTest::newRow("zero to a fraction") << 0.0L << 2.5L << 0.0L;
        QTest::newRow("zero to a huge power") << 0.0L << 1e30L << 0.0L;
        QTest::newRow("zero to a negative power") << 0.0L << -1.0L << kInf;
        QTest::newRow("square") << 7.0L << 2.0L << 49.0L;
        QTest::newRow("first power") << 999999.0L << 1.0L << 999999.0L;
        QTest::newRow("one to a large power") << 1.0L << 2147483647.0L << 1.0L;
        QTest::newRow("minus one, odd") << -1.0L << 2147483647.0L << -1.0L;
        QTest::newRow("minus one, even") << -1.0L << 2147483646.0L << 1.0L;
        QTest::newRow("negative base, odd") << -2.0L << 3.0L << -8.0L;
        QTest::newRow("negative base, even") << -2.0L << 4.0L << 16.0L;
        QTest::newRow("negative exponent") << 2.0L << -2.0L << 0.25L;
        QTest::newRow("thousandth") << 10.0L << -3.0L << 1.0L / 1000.0L;
        QTest::newRow("fraction base") << 0.5L << 3.0L << 0.125L;
        QTest::newRow("whole power overflows") << 999999.0L << 1000.0L << kInf;
        QTest::newRow("negative whole power overflows") << -999999.0L << 1001.0L << -kInf;
        QTest::newRow("largest exponent overflows") << 10.0L << 2147483647.0L << kInf;
        QTest::newRow("2^16383 still finite") << 2.0L << 16383.0L << std::ldexp(1.0L, 16383);
        QTest::newRow("2^16384 overflows") << 2.0L << 16384.0L << kInf;
        QTest::newRow("exponent beyond 32 bits uses exp/log") << 1.0L << 4294967296.0L << 1.0L;
        QTest::newRow("huge exponent overflows via exp/log") << 2.0L << 4294967296.0L << kInf;
        QTest::newRow("infinity squared") << kInf << 2.0L << kInf;
    }
    void rules() {
        QFETCH(long double, base);
        QFETCH(long double, exponent);
        QFETCH(long double, expected);
        const long double result = Power(base, exponent);
        QVERIFY2(result == expected, Show(result) + " vs " + Show(expected));
    }

    // Fractional exponents go through exp and log: close, not exact.
    void fractionalExponent_data() {
        QTest::addColumn<long double>("base");
        QTest::addColumn<long double>("exponent");
        QTest::addColumn<long double>("expected");
        QTest::newRow("square root of 4") << 4.0L << 0.5L << 2.0L;
        QTest::newRow("square root of 2") << 2.0L << 0.5L << 1.41421356237309504880L;
        QTest::newRow("negative fraction") << 16.0L << -0.25L << 0.5L;
    }
    void fractionalExponent() {
        QFETCH(long double, base);
        QFETCH(long double, exponent);
        QFETCH(long double, expected);
        const long double result = Power(base, exponent);
        QVERIFY2(std::fabs(result - expected) <= 1e-17L * expected, Show(result));
    }

    // Whole bases to whole powers are the exact power rounded once.
    void exactWholePowers_data() {
        QTest::addColumn<int>("base");
        QTest::addColumn<int>("exponent");
        QTest::newRow("3^40, below 2^64") << 3 << 40;
        QTest::newRow("2^64") << 2 << 64;
        QTest::newRow("5^33") << 5 << 33;
        QTest::newRow("35^10") << 35 << 10;
        QTest::newRow("7^30") << 7 << 30;
        QTest::newRow("999999^2") << 999999 << 2;
        QTest::newRow("123457^50") << 123457 << 50;
        QTest::newRow("999999^99") << 999999 << 99;
        QTest::newRow("-3^41") << -3 << 41;
        QTest::newRow("-999999^99") << -999999 << 99;
        QTest::newRow("3^10000") << 3 << 10000;
    }
    void exactWholePowers() {
        QFETCH(int, base);
        QFETCH(int, exponent);
        const long double result = Power(base, exponent);
        const long double expected = ExactPowerReference(base, static_cast<unsigned long>(exponent));
        QVERIFY2(std::isfinite(result), Show(result));
        QVERIFY2(result == expected, Show(result) + " vs " + Show(expected));
    }

    // Bases and exponents the exercises draw, against the correctly
    // rounded reference.
    void exerciseRange() {
        for (long base = 999900; base <= 999999; ++base) {
            for (unsigned long exponent = 2; exponent <= 99; exponent += 7) {
                const long double result = Power(base, exponent);
                QVERIFY2(result == ExactPowerReference(base, exponent),
                         QByteArray::number(qint64(base)) + "^" + QByteArray::number(quint64(exponent)));
            }
        }
    }

    void knownValues() {
        // 3^40 = 12157665459056928801 needs 64 bits and is held exactly.
        QVERIFY(Power(3, 40) == static_cast<long double>(12157665459056928801ull));
        QCOMPARE(FloatToText(Power(3, 40)), std::string("1,21576654590569E19"));
        QVERIFY(Power(5, 33) == *TextToFloat("116415321826934814453125"));
        QCOMPARE(FloatToText(Power(5, 25)), std::string("2,98023223876953E17"));
        QCOMPARE(FloatToText(Power(35, 10)), std::string("2,75854735351563E15"));
        QCOMPARE(FloatToText(Power(999999, 99)), std::string("9,99901004850843E593"));
    }
};

QTEST_APPLESS_MAIN(TestPower)
#include "test_power.moc"
