#include "core/countdownformat.h"

#include <algorithm>

namespace tolvaro {
namespace {

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// Any byte of a multi-byte UTF-8 character counts: unit signs are letters of other scripts.
bool HasLetter(const std::string& text) {
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return IsAsciiLetter(c) || static_cast<unsigned char>(c) >= 0x80; });
}

char FieldOf(char letter) {
    switch (letter) {
        case 'h':
        case 'H': return 'h';
        case 'm': return 'm';
        case 's': return 's';
        default: return 'x';  // a field the countdown leaves out
    }
}

}  // namespace

CountdownFormat::CountdownFormat(std::string_view pattern) {
    std::vector<Piece> all;
    auto literal = [&all](std::string_view text) {
        if (all.empty() || all.back().field != 0) all.push_back({0, 0, {}});
        all.back().text += text;
    };
    for (std::size_t i = 0; i < pattern.size();) {
        const char c = pattern[i];
        if (c == '\'') {
            ++i;
            if (i < pattern.size() && pattern[i] == '\'') {
                literal("'");
                ++i;
                continue;
            }
            while (i < pattern.size()) {
                if (pattern[i] != '\'') {
                    literal(pattern.substr(i++, 1));
                } else if (i + 1 < pattern.size() && pattern[i + 1] == '\'') {
                    literal("'");
                    i += 2;
                } else {
                    ++i;
                    break;
                }
            }
        } else if (IsAsciiLetter(c)) {
            std::size_t end = i;
            while (end < pattern.size() && pattern[end] == c) ++end;
            all.push_back({FieldOf(c), static_cast<int>(std::min<std::size_t>(end - i, 2)), {}});
            i = end;
        } else {
            literal(pattern.substr(i++, 1));
        }
    }

    auto isTime = [](const Piece& p) { return p.field == 'h' || p.field == 'm' || p.field == 's'; };
    const auto first = std::find_if(all.begin(), all.end(), isTime);
    if (first == all.end()) {
        *this = CountdownFormat();
        return;
    }
    const auto last = std::find_if(all.rbegin(), all.rend(), isTime).base();
    for (auto it = first; it != last; ++it) {
        if (it->field != 'x') pieces_.push_back(*it);
    }
    // The text after the last field up to the next left-out one: a unit sign stays, a separator
    // or bracket that leads to the time zone goes.
    if (last != all.end() && last->field == 0 && HasLetter(last->text)) {
        std::string unit = last->text;
        while (!unit.empty() && std::string_view(" \t([{").find(unit.back()) != std::string_view::npos) unit.pop_back();
        pieces_.push_back({0, 0, unit});
    }
}

std::string CountdownFormat::Format(std::int64_t seconds) const {
    std::string text;
    for (const Piece& piece : pieces_) {
        if (piece.field == 0) {
            text += piece.text;
            continue;
        }
        const std::int64_t value = piece.field == 'h'   ? seconds / 3600
                                   : piece.field == 'm' ? seconds / 60 % 60
                                                        : seconds % 60;
        std::string digits = std::to_string(value);
        if (static_cast<int>(digits.size()) < piece.width) digits.insert(0, piece.width - digits.size(), '0');
        text += digits;
    }
    return text;
}

}  // namespace tolvaro
