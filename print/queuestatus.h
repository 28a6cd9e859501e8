// Whether the print service took the last job sent to a print queue.
#pragma once

#include <QString>

namespace tolvaro {

// Why the print service did not take the job that Qt's print support last handed to it, in Dutch
// to go into a sentence of the error report; empty when it took the job, or when no job went to
// a print queue. Qt hands the job over when painting on the printer ends and does not look at
// the answer itself.
QString LastJobRefusal();

}  // namespace tolvaro
