#pragma once

#include <cstdint>
#include <random>

namespace tolvaro {

// The one pseudo-random generator of the program.
class Random {
public:
    void Seed(std::uint64_t seed) { engine_.seed(seed); }
    void SeedFromClock();
    // A uniformly drawn integer from 0 to n - 1; 0 when n <= 0.
    std::int32_t Draw(std::int32_t n);

private:
    std::mt19937_64 engine_{5489u};
};

}  // namespace tolvaro
