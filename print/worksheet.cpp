#include "print/worksheet.h"

#include <cstddef>

namespace tolvaro {
namespace {

// Every piece of the sheet that doesn't depend on the exercises.
constexpr std::string_view kIndent = "    ";
constexpr std::string_view kExponentIndent = "                ";  // sixteen spaces
constexpr std::string_view kEqualsPiece = "       =  ";
constexpr std::string_view kRightExponentPad = "  ";
constexpr std::string_view kTab = "\t";
constexpr std::string_view kBar = "|";
constexpr std::string_view kSevenTabs = "\t\t\t\t\t\t\t";
constexpr std::string_view kSolutionsHeading = "    Oplossingen. ";
constexpr std::string_view kScoreLine = "  Punten :";
constexpr int kNameDots = 83;
constexpr int kRuleLength = 91;
constexpr int kAnswerDots = 19;
constexpr int kBaseDigits = 6;       // the widest base: six digits
constexpr int kPowerDigits = 30;     // the left power with its fill takes thirty digit widths

// Number of characters of a UTF-8 text.
int Length(std::string_view text) {
    int count = 0;
    for (const char c : text) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
    }
    return count;
}

std::string NameLine() {
    std::string line{kIndent};
    line += "Naam :";
    for (int i = 0; i < kNameDots; ++i) line += " .";
    return line;
}

std::string Rule() { return std::string{kIndent} + std::string(kRuleLength, '_'); }

std::string AnswerSpace() {
    std::string dots = ".";
    for (int i = 1; i < kAnswerDots; ++i) dots += "  .";
    return dots;
}

// Four spaces and the fill that right-aligns the base on six digit widths.
std::string BasePiece(const std::string& base) {
    return std::string{kIndent} + Fill(kBaseDigits - Length(base)) + base;
}

std::string ExponentLine(const WorksheetEntry& left, const WorksheetEntry& right) {
    std::string line{kExponentIndent};
    line += left.exponent;
    line += kSevenTabs;
    line += kBar;
    line += kExponentIndent;
    line += right.exponent;
    return line;
}

std::string BaseLine(SheetKind kind, const WorksheetEntry& left, const WorksheetEntry& right) {
    std::string leftAnswer;
    std::string rightAnswer;
    if (kind == SheetKind::Exercises) {
        leftAnswer = AnswerSpace();
        rightAnswer = leftAnswer;
    } else {
        leftAnswer = left.power + Fill(kPowerDigits - Length(left.power));
        rightAnswer = right.power;
    }

    std::string line = BasePiece(left.base);
    line += kEqualsPiece;
    line += leftAnswer;
    line += kTab;
    line += kBar;
    line += BasePiece(right.base);
    // Only the right-hand exponent decides: a one-character exponent gets two more spaces.
    if (Length(right.exponent) == 1) line += kRightExponentPad;
    line += kEqualsPiece;
    line += rightAnswer;
    return line;
}

}  // namespace

std::string Fill(int n) {
    std::string units;
    for (int i = 0; i < n; ++i) units += "  ";
    return units;
}

std::vector<std::string> ComposeSheet(SheetKind kind, const WorksheetTable& table, std::string_view title,
                                      std::string_view rowSeparator) {
    std::vector<std::string> lines;
    lines.emplace_back("\r");
    lines.push_back(std::string{kIndent} + std::string{title} + "\r\r");
    lines.push_back(kind == SheetKind::Exercises ? NameLine() : std::string{kSolutionsHeading});
    lines.emplace_back("\r");
    lines.push_back(Rule());
    lines.emplace_back(rowSeparator);
    for (int r = 0; r < kWorksheetRows; ++r) {
        const WorksheetEntry& left = table[static_cast<std::size_t>(r)];
        const WorksheetEntry& right = table[static_cast<std::size_t>(r + kWorksheetRows)];
        lines.push_back(ExponentLine(left, right));
        lines.push_back(BaseLine(kind, left, right));
        if (r + 1 < kWorksheetRows) {
            lines.emplace_back(rowSeparator);
        } else {
            lines.push_back(Rule() + "\r\r");
        }
    }
    if (kind == SheetKind::Exercises) lines.emplace_back(kScoreLine);
    return lines;
}

std::vector<std::string> PrintedLines(const std::vector<std::string>& addedLines) {
    std::vector<std::string> printed;
    for (const std::string& added : addedLines) {
        std::size_t start = 0;
        for (std::size_t cr = added.find('\r'); cr != std::string::npos; cr = added.find('\r', start)) {
            printed.push_back(added.substr(start, cr - start));
            start = cr + 1;
        }
        printed.push_back(added.substr(start));
    }
    return printed;
}

}  // namespace tolvaro
