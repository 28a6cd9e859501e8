// The printer of the main window: the printer setup dialog, the hidden print buffer and the
// printing of that buffer's plain text as one job.
#pragma once

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
    // confirmed.
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

    // The modal printer setup dialog; true when the user confirmed it. The chosen printer is
    // kept for every later job.
    bool Setup(QWidget* parent);
    void SetSetupHook(SetupHook hook) { setupHook_ = std::move(hook); }

    // Prints plain text (lines separated by '\n') as one job under `jobTitle`, on the whole
    // printable area of the page and on further pages as needed. Throws std::runtime_error with
    // a Dutch message when there is no usable printer or printing fails.
    void Print(const QString& text, const QString& jobTitle);

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
    std::unique_ptr<QPrinter> printer_;
    SetupHook setupHook_;
    QStringList buffer_;
};

}  // namespace tolvaro
