// Composition of the printed worksheet: the exercise sheet and its solutions sheet as plain
// text lines for the hidden print buffer.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace tolvaro {

// One exercise of the worksheet as the three texts that are printed.
struct WorksheetEntry {
    std::string base;
    std::string exponent;
    std::string power;
};

// Entries 1 to 15 (indices 0 to 14) fill the left column, 16 to 30 the right column.
inline constexpr int kWorksheetEntries = 30;
inline constexpr int kWorksheetRows = kWorksheetEntries / 2;
using WorksheetTable = std::array<WorksheetEntry, kWorksheetEntries>;

enum class SheetKind { Exercises, Solutions };

// n two-space units; nothing for n <= 0.
std::string Fill(int n);

// The lines added to the print buffer for one sheet, in order. A line may hold carriage
// returns; the buffer breaks the line at each of them.
std::vector<std::string> ComposeSheet(SheetKind kind, const WorksheetTable& table, std::string_view title,
                                      std::string_view rowSeparator);

// The lines as the buffer holds them: every added line broken at its carriage returns.
std::vector<std::string> PrintedLines(const std::vector<std::string>& addedLines);

}  // namespace tolvaro
