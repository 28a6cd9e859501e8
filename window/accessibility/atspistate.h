// State changes that Qt does not pass on to AT-SPI clients. Qt tells a client only that a control
// starts or stops "showing"; a client that asked about a control while it was hidden keeps it
// "not visible" in its cache for good, and Orca's flat review skips such a control. A control
// covered by a panel stays "showing" to Qt, and would be read under the panel.
#pragma once

class QWidget;

namespace tolvaro {

// Tells the clients that the control is visible and showing now, or neither.
void TellShown(QWidget* widget, bool shown);

}  // namespace tolvaro
