// The program's "no drop" pointer, shown over the bare surfaces of both its windows.
#pragma once

#include <QCursor>

namespace tolvaro {

// An arrow with a small slashed circle, drawn by the program at the screen's pixel ratio.
QCursor NoDropCursor();

}  // namespace tolvaro
