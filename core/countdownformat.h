// The countdown's text: hours, minutes and seconds as the user's long time format writes them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tolvaro {

class CountdownFormat {
public:
    // `timePattern` (UTF-8) names the fields with letters, as locales publish their time formats:
    // h or H for hours, m for minutes, s for seconds, doubled for two digits; text between single
    // quotes is literal, '' is a quote. A countdown is a span, not a time of day: the hours are
    // counted in full whatever the clock convention, and what the pattern says about the day
    // (AM/PM, the time zone, parts of a second) is left out, with what stands before the first
    // field. A unit sign after the seconds stays ("s", "초").
    explicit CountdownFormat(std::string_view timePattern = "H:mm:ss");

    std::string Format(std::int64_t seconds) const;

private:
    struct Piece {
        char field;  // 'h', 'm', 's', or 0 for literal text
        int width;
        std::string text;
    };
    std::vector<Piece> pieces_;
};

}  // namespace tolvaro
