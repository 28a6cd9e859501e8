// The printer of the main window: the printer setup dialog, the hidden print buffer and the
// printing of that buffer's plain text as one job. A printer that writes a PDF file keeps each
// sheet of a worksheet in a file of its own.
#pragma once

#include <QPointer>
#include <QPrinter>
#include <QString>
#include <QStringList>

#include <functional>
#include <string>

class QWidget;

namespace tolvaro {

class Printer {
public:
    // Replaces the interactive setup dialog: adjusts the printer and returns whether it was
    // confirmed. Nothing asks the user then: an existing solutions file is kept (the default
    // answer of its question).
    using SetupHook = std::function<bool(QPrinter&)>;

    // The default tab stop distance of the sheet's text. With the sheet font every vertical bar
    // of a worksheet lands on the eighth tab stop, whether a line reaches it with seven tabs after
    // an exponent, one tab after an answer space or power, or eight tabs from the start, and the
    // widest line still fits A4 and Letter.
    static constexpr qreal kTabStopInches = 0.47;
    static constexpr qreal kFontPoints = 12.0;

    Printer();
    Printer(const Printer&) = delete;
    Printer& operator=(const Printer&) = delete;

    // The modal printer setup dialog for the worksheet titled `worksheetTitle` (UTF-8); true
    // when the user confirmed it. The chosen printer is kept for every later job. The file a
    // PDF printer is to write is proposed after the title.
    bool Setup(QWidget* parent, const std::string& worksheetTitle = {});
    void SetSetupHook(SetupHook hook) { setupHook_ = std::move(hook); }

    // Prints plain text (lines separated by '\n') as one job under `jobTitle`, on the whole
    // printable area of the page and on further pages as needed. Throws std::runtime_error with
    // a Dutch message, naming the sheet and the file or queue, when there is no usable printer,
    // printing fails, the file could not be written whole or the print service refused the job.
    // On a PDF printer the file carries the worksheet title instead, and every job after the
    // first since Setup is the solutions sheet: it goes to the file SolutionsFile() names beside
    // the first, where an existing file (not a link) is replaced only when the user agrees.
    void Print(const QString& text, const QString& jobTitle);

    // The files the sheets printed since Setup were written to (none on a print queue).
    const QStringList& WrittenFiles() const { return written_; }

    // The hidden print buffer: each added line ends a line, and a carriage return inside it
    // breaks the line there as well.
    void ClearBuffer() { buffer_.clear(); }
    void AddLine(const std::string& line);
    QString BufferText() const { return buffer_.join(QLatin1Char('\n')); }
    void PrintBuffer(const std::string& jobTitle) {
        Print(BufferText(), QString::fromStdString(jobTitle));
    }

    // Created on first use: loading the print system costs start-up time the program doesn't
    // need until a worksheet is printed.
    QPrinter& printer() {
        if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        return *printer_;
    }

private:
    QString SolutionsTarget() const;
    bool MayReplace(const QString& file, const QString& alternative) const;

    std::unique_ptr<QPrinter> printer_;
    SetupHook setupHook_;
    QStringList buffer_;
    QPointer<QWidget> parent_;
    QString worksheetTitle_;
    QString sheetFile_;   // the file confirmed for the exercise sheet; empty on a print queue
    QString lastFolder_;  // where the user saved the last worksheet
    int sheetsSinceSetup_ = 0;
    QStringList written_;
};

}  // namespace tolvaro
