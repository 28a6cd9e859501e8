#include <QtTest>

#include <string>

#include "core/numbertext.h"
#include "core/power.h"
#include "extendedliteral.h"

Q_DECLARE_METATYPE(tolvaro::Extended)

using namespace tolvaro;

namespace {

const Extended kInf = Extended::Infinity();

QByteArray Show(const Extended& v) {
    Extended::Mpfr x;
    v.Get(x);
    char buffer[64];
    mpfr_snprintf(buffer, sizeof buffer, "%.21Rg", static_cast<mpfr_srcptr>(x));
    return buffer;
}

// base^exponent computed exactly, then rounded once into the format.
Extended ExactPowerReference(long base, unsigned long exponent) {
    GmpInteger power;
    mpz_set_si(power.get(), base);
    mpz_pow_ui(power.get(), power.get(), exponent);
    const Extended::Range range;
    Extended::Mpfr value;
    return Extended::Round(value, mpfr_set_z(value, power.get(), MPFR_RNDN));
}

}  // namespace

class TestPower : public QObject {
    Q_OBJECT

private slots:
    // The four steps of the power and their order.
    void rules_data() {
        QTest::addColumn<Extended>("base");
        QTest::addColumn<Extended>("exponent");
        QTest::addColumn<Extended>("expected");
        QTest::newRow("exponent 0") << 5.0_x << 0.0_x << 1.0_x;
        QTest::newRow("zero to the 0") << 0.0_x << 0.0_x << 1.0_x;
        QTest::newRow("negative to the 0") << -3.0_x << 0.0_x << 1.0_x;
        QTest::newRow("infinity to the 0") << kInf << 0.0_x << 1.0_x;
        QTest::newRow("zero to a whole power") << 0.0_x << 3.0_x << 0.0_x;
        QTest::newRow("zero to a fraction") << 0.0_x << 2.5_x << 0.0_x;
        QTest::newRow("zero to a huge power") << 0.0_x << 1e30_x << 0.0_x;
        QTest::newRow("zero to a negative power") << 0.0_x << -1.0_x << kInf;
        QTest::newRow("square") << 7.0_x << 2.0_x << 49.0_x;
        QTest::newRow("first power") << 999999.0_x << 1.0_x << 999999.0_x;
        QTest::newRow("one to a large power") << 1.0_x << 2147483647.0_x << 1.0_x;
        QTest::newRow("minus one, odd") << -1.0_x << 2147483647.0_x << -1.0_x;
        QTest::newRow("minus one, even") << -1.0_x << 2147483646.0_x << 1.0_x;
        QTest::newRow("negative base, odd") << -2.0_x << 3.0_x << -8.0_x;
        QTest::newRow("negative base, even") << -2.0_x << 4.0_x << 16.0_x;
        QTest::newRow("negative exponent") << 2.0_x << -2.0_x << 0.25_x;
        QTest::newRow("thousandth") << 10.0_x << -3.0_x << 1.0_x / 1000.0_x;
        QTest::newRow("fraction base") << 0.5_x << 3.0_x << 0.125_x;
        QTest::newRow("whole power overflows") << 999999.0_x << 1000.0_x << kInf;
        QTest::newRow("negative whole power overflows") << -999999.0_x << 1001.0_x << -kInf;
        QTest::newRow("largest exponent overflows") << 10.0_x << 2147483647.0_x << kInf;
        QTest::newRow("2^16383 still finite") << 2.0_x << 16383.0_x << Ldexp(1.0_x, 16383);
        QTest::newRow("2^16384 overflows") << 2.0_x << 16384.0_x << kInf;
        QTest::newRow("exponent beyond 32 bits uses exp/log") << 1.0_x << 4294967296.0_x << 1.0_x;
        QTest::newRow("huge exponent overflows via exp/log") << 2.0_x << 4294967296.0_x << kInf;
        QTest::newRow("infinity squared") << kInf << 2.0_x << kInf;
    }
    void rules() {
        QFETCH(Extended, base);
        QFETCH(Extended, exponent);
        QFETCH(Extended, expected);
        const Extended result = Power(base, exponent);
        QVERIFY2(result == expected, Show(result) + " vs " + Show(expected));
    }

    // Fractional exponents go through exp and log: close, not exact.
    void fractionalExponent_data() {
        QTest::addColumn<Extended>("base");
        QTest::addColumn<Extended>("exponent");
        QTest::addColumn<Extended>("expected");
        QTest::newRow("square root of 4") << 4.0_x << 0.5_x << 2.0_x;
        QTest::newRow("square root of 2") << 2.0_x << 0.5_x << 1.41421356237309504880_x;
        QTest::newRow("negative fraction") << 16.0_x << -0.25_x << 0.5_x;
    }
    void fractionalExponent() {
        QFETCH(Extended, base);
        QFETCH(Extended, exponent);
        QFETCH(Extended, expected);
        const Extended result = Power(base, exponent);
        QVERIFY2(result - expected <= 1e-17_x * expected && expected - result <= 1e-17_x * expected, Show(result));
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
        const Extended result = Power(base, exponent);
        const Extended expected = ExactPowerReference(base, static_cast<unsigned long>(exponent));
        QVERIFY2(result.IsFinite(), Show(result));
        QVERIFY2(result == expected, Show(result) + " vs " + Show(expected));
    }

    // Bases and exponents the exercises draw, against the correctly
    // rounded reference.
    void exerciseRange() {
        for (long base = 999900; base <= 999999; ++base) {
            for (unsigned long exponent = 2; exponent <= 99; exponent += 7) {
                const Extended result = Power(base, exponent);
                QVERIFY2(result == ExactPowerReference(base, exponent),
                         QByteArray::number(qint64(base)) + "^" + QByteArray::number(quint64(exponent)));
            }
        }
    }

    void knownValues() {
        // 3^40 = 12157665459056928801 needs 64 bits and is held exactly.
        QVERIFY(Power(3, 40) == Extended(12157665459056928801ull));
        QCOMPARE(FloatToText(Power(3, 40)), std::string("1,21576654590569E19"));
        QVERIFY(Power(5, 33) == *TextToFloat("116415321826934814453125"));
        QCOMPARE(FloatToText(Power(5, 25)), std::string("2,98023223876953E17"));
        QCOMPARE(FloatToText(Power(35, 10)), std::string("2,75854735351563E15"));
        QCOMPARE(FloatToText(Power(999999, 99)), std::string("9,99901004850843E593"));
    }
};

QTEST_APPLESS_MAIN(TestPower)
#include "test_power.moc"
