#include "print/printjob.h"

#include "core/numbertext.h"
#include "print/sheetfiles.h"

namespace tolvaro {
namespace {

void PrintSheet(View& view, SheetKind kind, const WorksheetTable& table, const std::string& title,
                const std::string& rowSeparator) {
    view.ClearPrintBuffer();
    for (const std::string& line : ComposeSheet(kind, table, title, rowSeparator)) view.AddPrintLine(line);
    view.PrintBuffer(SheetName(kind, QString::fromStdString(title)).toStdString());
}

}  // namespace

void RunPrintJob(View& view, Practice& practice, PrintFlags& flags, WorksheetTable& table,
                 const std::string& rowSeparator) {
    if (!flags.PrintRequested || flags.PrintCancelled) return;

    flags.PrintRequested = view.ExecutePrinterSetup();
    if (!flags.PrintRequested) return;

    // The same rule as the exercise set on screen, but no control is written: the screen's
    // exercises and their expected powers stay as they are.
    practice.random().SeedFromClock();
    for (WorksheetEntry& entry : table) {
        const Exercise drawn = practice.DrawValues();
        entry.base = FloatToText(drawn.base);
        entry.exponent = IntToText(drawn.exponent);
        entry.power = FloatToText(drawn.power);
    }

    PrintSheet(view, SheetKind::Exercises, table, flags.WorksheetTitle, rowSeparator);
    // Read only now, after the exercise sheet has gone to the printer.
    if (flags.PrintSolutions) {
        PrintSheet(view, SheetKind::Solutions, table, flags.WorksheetTitle, rowSeparator);
    }
}

}  // namespace tolvaro
