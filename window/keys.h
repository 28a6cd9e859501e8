// The keyboard of the main window: every control with a key in the control table is clicked by
// it exactly as by the mouse, and Enter and Escape keep their meaning for edits and buttons.
#pragma once

#include <QKeyCombination>
#include <QString>

namespace tolvaro {

// How the manual and assistive tools name a key ("Ctrl+Enter"); empty for none.
QString KeyName(QKeyCombination key);

// A pressed key as the control table spells it: the keypad's Enter is Enter.
QKeyCombination TableKey(int key, Qt::KeyboardModifiers modifiers);

}  // namespace tolvaro
