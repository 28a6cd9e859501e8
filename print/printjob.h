// The print job: the second step of the main window's activation handler.
#pragma once

#include <string>

#include "core/practice.h"
#include "core/view.h"
#include "print/printflags.h"
#include "print/worksheet.h"

namespace tolvaro {

// Does its work only after the print options dialog was closed with OK: asks for a printer,
// draws thirty exercises into `table` and prints the exercise sheet and, when asked for, the
// solutions sheet, each as one job through the view's print buffer, named after its sheet
// (SheetName). Catches nothing: a failure stops the job at that step and propagates to the
// caller.
void RunPrintJob(View& view, Practice& practice, PrintFlags& flags, WorksheetTable& table,
                 const std::string& rowSeparator);

}  // namespace tolvaro
