// The files of a worksheet printed to PDF: the name proposed for its title, the solutions
// sheet's file beside the exercise sheet, a free name when a file is already there, writing a
// file whole before it takes its place, and why a file could not be written.
#pragma once

#include <QString>

#include "print/worksheet.h"

namespace tolvaro {

// The title typed by the user made into a file name without extension: no path separators,
// no characters that other systems (a USB stick) refuse, no control characters, no leading
// dot, runs of white space as one space, at most 80 characters; "Oefening" when nothing is left.
QString SafeFileName(const QString& title);

// The name of a sheet of the worksheet titled `title`, for its print job and its PDF file: the
// title's safe name, followed by " - oplossingen" on the solutions sheet. On a shared printer it
// tells a teacher's sheets from other jobs and the exercises from the solutions; being a safe
// name, it is never empty and never longer than a print service takes.
QString SheetName(SheetKind kind, const QString& title);

// The PDF file proposed for a worksheet: its title's safe name in `folder` when that folder
// still exists, else in the user's documents folder, else in the home folder.
QString ProposedSheetFile(const QString& title, const QString& folder);

// The solutions sheet's file beside the exercise sheet's: " - oplossingen" before the extension.
QString SolutionsFile(const QString& sheetFile);

// `file` itself when nothing is there yet, else the first free "<name> (n).<extension>".
QString FreeFile(const QString& file);

// `file` itself, or the file its links lead to.
QString FollowLinks(const QString& file);

// A new, empty, hidden file beside `file`, in which `file` is written whole before it takes its
// place; empty when the folder refuses it. Created exclusively, so nothing planted under its name
// beforehand, such as a link, is written through.
QString StartFileBeside(const QString& file);

// Whether `file` holds a PDF document to its end: a file system that ran full cuts it short.
bool IsWholePdf(const QString& file);

// Puts the written file `written` in the place of `file`, on the disk for good. Whatever was
// there, a link as well, is replaced, never written through.
bool PutInPlace(const QString& written, const QString& file);

// Why `file` could not be written, in Dutch, to go into a sentence of the error report.
QString WriteFailureReason(const QString& file);

}  // namespace tolvaro
