#pragma once

#include <chrono>

#include "core/view.h"

namespace tolvaro {

// The real monotonic clock.
class SteadyClock final : public Clock {
public:
    std::int64_t Now() const override {
        return std::chrono::duration_cast<std::chrono::nanoseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }
};

}  // namespace tolvaro
