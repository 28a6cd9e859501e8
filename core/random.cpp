#include "core/random.h"

#include <chrono>

namespace tolvaro {

void Random::SeedFromClock() {
    const auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    Seed(static_cast<std::uint64_t>(ticks));
}

std::int32_t Random::Draw(std::int32_t n) {
    if (n <= 0) return 0;
    std::uniform_int_distribution<std::int32_t> range(0, n - 1);
    return range(engine_);
}

}  // namespace tolvaro
