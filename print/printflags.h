// The answer of the print options dialog, read by the print job.
#pragma once

#include <string>

namespace tolvaro {

// One instance for the whole program, however many print dialogs are opened: the main window
// owns it and hands it by reference to every dialog and to the print job.
struct PrintFlags {
    // A dialog was closed with OK or Cancel since a dialog last became active; after the
    // printer setup step of the print job, that step's result.
    bool PrintRequested = false;
    // The last dialog was closed with Cancel.
    bool PrintCancelled = false;
    // A solutions sheet follows the exercise sheet.
    bool PrintSolutions = false;
    // The title at the head of both sheets (UTF-8).
    std::string WorksheetTitle;
};

}  // namespace tolvaro
