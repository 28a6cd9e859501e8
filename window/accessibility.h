// What assistive tools (screen readers over AT-SPI) are told about the main window's controls.
// Labels and buttons are read by their visible text; controls without a caption get a Dutch
// name here, a control with a help text gets that text as its description, and the pictures
// that react to a click are presented as buttons that can be pressed.
#pragma once

#include <QString>
#include <string_view>

class QWidget;

namespace tolvaro {

// The Dutch accessible name of a control without a caption of its own (by object name);
// empty for controls whose visible text names them.
QString AccessibleNameOf(const QString& objectName);

// A help text (lines joined by carriage returns) as an accessible description: lines joined by
// line feeds, without the empty first line some texts start with.
QString AccessibleDescriptionOf(std::string_view helpText);

// How a row's exercise is read out: "7 tot de macht 2".
QString ExerciseReading(const QString& base, const QString& exponent);

// Marks a picture as clickable: assistive tools see it as a button whose press action clicks it.
void MarkClickablePicture(QWidget* picture);

// Registers the accessibility interface of clickable pictures (once per application).
void InstallAccessibility();

}  // namespace tolvaro
