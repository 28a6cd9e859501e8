// The number rules without Qt, for every architecture: built natively as core_numberrules, and
// cross-compiled for arm64, armhf and i386 and run under qemu-user by tests/cross/cross_test.sh.
// Every expected result is what amd64's 80-bit long double arithmetic gave; the digest pins some
// twenty thousand more (powers, squarings into the subnormals and past the largest value, number
// texts both ways, percentages), computed with that arithmetic.
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>

#include "core/numbertext.h"
#include "core/power.h"

using namespace tolvaro;

namespace {

int failures = 0;

void Check(bool ok, const std::string& what) {
    if (ok) return;
    std::printf("FAIL: %s\n", what.c_str());
    ++failures;
}

void CheckText(const Extended& value, const std::string& text) {
    Check(FloatToText(value) == text, "FloatToText gives " + FloatToText(value) + ", not " + text);
}

// All 64 bits of a value, as MPFR's exact hexadecimal text.
std::string Exact(const Extended& value) {
    Extended::Mpfr x;
    value.Get(x);
    char text[64];
    mpfr_snprintf(text, sizeof text, "%Ra", static_cast<mpfr_srcptr>(x));
    return text;
}

// FNV-1a over the texts of the results, each text ended by a zero byte.
struct Digest {
    std::uint64_t hash = 14695981039346656037ull;
    void Add(const std::string& text) {
        for (const char c : text + '\0') hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    }
};

std::uint64_t ResultsDigest() {
    Digest digest;
    std::mt19937_64 random(25);  // its sequence is the same everywhere; only % and shifts used below
    for (int i = 0; i < 90; ++i) {
        const long base = i < 30 ? i + 1 : i < 60 ? 999940 + i : static_cast<long>(random() % 999999 + 1);
        for (int exponent = 2; exponent <= 99; ++exponent) {
            const Extended power = Power(base, exponent);
            digest.Add(Exact(power));
            digest.Add(FloatToText(power));
        }
    }
    for (int i = 0; i < 3000; ++i) {
        const std::uint64_t bits = random() | std::uint64_t{1} << 63;
        const long scale = static_cast<long>(random() % 200) - 100 - 63;
        const Extended base = Ldexp(Extended(bits), i % 2 ? scale : scale / 40);  // no whole ones
        const long exponent = static_cast<long>(random() % 401) - 200;
        digest.Add(Exact(Power(base, exponent)));
        const Extended anywhere = Ldexp(Extended(bits), static_cast<long>(random() % 32900) - 16470 - 63);
        digest.Add(FloatToText(i % 3 ? anywhere : -anywhere));
        std::string text = i % 4 ? "" : "-";
        for (std::uint64_t digits = random(); digits > 0; digits /= 7) text += static_cast<char>('0' + digits % 10);
        text += (i % 2 ? "E" : ",5E") + std::to_string(static_cast<long>(random() % 9950) - 4975);
        const auto read = TextToFloat(text);
        digest.Add(read ? Exact(*read) : "none");
    }
    for (int made = 1; made <= 100; ++made) {
        for (int right = 0; right <= made; ++right) digest.Add(FloatToText(Extended(right) / made * 100));
    }
    return digest.hash;
}

}  // namespace

int main() {
    CheckText(Power(999999, 99), "9,99901004850843E593");
    Check(Power(3, 40) == Extended(12157665459056928801ull), "3^40 is held exactly");
    Check(Power(999999, 1000).IsInfinite() && Power(2, 16384).IsInfinite(), "powers beyond the range overflow");
    Check(Power(Extended(0.5), 16445) == Extended::DenormMin(), "0,5^16445 is the smallest subnormal");
    Check(Power(Extended(0.5), 16446) == 0, "half the smallest subnormal ties to 0");
    Check(Power(Extended(0.5), 16444) * Extended(0.75) == Extended::DenormMin() * 2, "1,5 subnormal steps tie to the even 2");
    CheckText(Power(35, 10), "2,75854735351563E15");
    CheckText(Extended::Max(), "1,18973149535723E4932");
    CheckText(Extended::DenormMin(), "3,64519953188247E-4951");
    CheckText(Extended(2) / 3 * 100, "66,6666666666667");
    Check(TextToFloat("1,18973149535723176505E4932") == Extended::Max(), "the largest value reads back");
    Check(!TextToFloat("1,18973149535723176506E4932"), "just beyond the largest value fails");
    Check(TextToFloat("3,6451995318824746025E-4951") == Extended::DenormMin(), "the smallest subnormal reads back");
    Check(TextToFloat("163228384357185373149457") == Power(635622, 4), "635622^4 + 1 has the power's extended value");
    Check(IsExactPowerText("163228384357185373149457", 635622, 4) == false, "635622^4 + 1 is not the power");
    Check(IsExactPowerText(" +163228384357185373149456", 635622, 4) == true, "635622^4 is the power");

    const std::uint64_t digest = ResultsDigest();
    Check(digest == 9237180482501094507ull, "the digest of the results is " + std::to_string(digest));
    std::printf("%s: %d failed\n", failures ? "FAIL" : "PASS", failures);
    return failures ? 1 : 0;
}
