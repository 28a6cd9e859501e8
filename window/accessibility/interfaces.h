// The accessibility interfaces of the program's windows, panels, pictures, buttons and fields:
// what Qt's own would say, with the roles screen readers expect (a panel presented as a frame
// makes Orca take it for a window and drop every focus event inside it), the pictures that react
// to a click as buttons, each control's key as the key binding of its action, and what a panel
// covers as not showing.
#pragma once

class QWidget;

namespace tolvaro {

// Registers the interfaces (once per application).
void InstallAccessibility();

// Marks a picture as clickable: assistive tools see it as a button whose press action clicks it.
void MarkClickablePicture(QWidget* picture);

// Marks a plain widget as a notification, which Orca speaks as it is shown.
void MarkNotification(QWidget* widget);

// A control under a panel shown over it is not showing to assistive tools; true when it changed.
bool SetCovered(QWidget* widget, bool covered);

}  // namespace tolvaro
