#include "print/printer.h"

#include <QAbstractTextDocumentLayout>
#include <QPageLayout>
#include <QPainter>
#include <QPalette>
#include <QPrintDialog>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextOption>

#include <stdexcept>

namespace tolvaro {
namespace {

// How many device pixels of the layout's paint device one unit of a tab stop distance takes.
// Qt counts tab stops in logical pixels of the screen and scales them to the paint device, so
// measure it rather than guess the screen's resolution.
qreal TabUnitScale(QPaintDevice* device) {
    constexpr qreal probe = 1000.0;
    QTextDocument doc;
    doc.documentLayout()->setPaintDevice(device);
    doc.setDocumentMargin(0);
    QTextOption option = doc.defaultTextOption();
    option.setWrapMode(QTextOption::NoWrap);
    option.setTabStopDistance(probe);
    doc.setDefaultTextOption(option);
    doc.setPlainText(QStringLiteral("\tx"));
    const QTextLayout* layout = doc.firstBlock().layout();
    if (!layout || layout->lineCount() == 0) return 1.0;
    const qreal x = layout->lineAt(0).cursorToX(1);
    return x > 0 ? x / probe : 1.0;
}

[[noreturn]] void Fail(const char* message) { throw std::runtime_error(message); }

}  // namespace

Printer::Printer() = default;

bool Printer::Setup(QWidget* parent) {
    if (setupHook_) return setupHook_(printer_);
    QPrintDialog dialog(&printer_, parent);
    return dialog.exec() == QDialog::Accepted;
}

void Printer::AddLine(const std::string& line) {
    buffer_.append(QString::fromStdString(line).split(QLatin1Char('\r')));
}

QFont Printer::SheetFont() {
    QFont font(QStringLiteral("Times New Roman"));
    font.setStyleHint(QFont::Times);
    font.setPointSizeF(kFontPoints);
    return font;
}

std::unique_ptr<QTextDocument> Printer::LayOut(const QString& text, QPrinter& printer) {
    auto doc = std::make_unique<QTextDocument>();
    doc->documentLayout()->setPaintDevice(&printer);
    doc->setDocumentMargin(0);
    doc->setUndoRedoEnabled(false);
    doc->setDefaultFont(SheetFont());

    QTextOption option = doc->defaultTextOption();
    option.setWrapMode(QTextOption::NoWrap);
    option.setTabStopDistance(kTabStopInches * printer.logicalDpiX() / TabUnitScale(&printer));
    doc->setDefaultTextOption(option);

    doc->setPageSize(printer.pageRect(QPrinter::DevicePixel).size());
    doc->setPlainText(text);
    return doc;
}

void Printer::Print(const QString& text, const QString& jobTitle) {
    if (!printer_.isValid()) Fail("Er is geen geldige printer gekozen; er is niets geprint.");

    printer_.setDocName(jobTitle);
    // The text goes onto the whole printable area: only the margins the printer can't print on.
    const QPageLayout page = printer_.pageLayout();
    printer_.setPageMargins(page.minimumMargins(), page.units());

    QPainter painter;
    if (!painter.begin(&printer_)) Fail("De printer kan niet worden geopend; er is niets geprint.");

    const std::unique_ptr<QTextDocument> doc = LayOut(text, printer_);
    const QSizeF pageSize = doc->pageSize();
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette.setColor(QPalette::Text, Qt::black);

    const int pages = doc->pageCount();
    for (int i = 0; i < pages; ++i) {
        if (i > 0 && !printer_.newPage()) {
            painter.end();
            Fail("Het printen is mislukt: er kan geen nieuwe bladzijde worden begonnen.");
        }
        const QRectF clip(0, i * pageSize.height(), pageSize.width(), pageSize.height());
        painter.save();
        painter.translate(0, -clip.top());
        painter.setClipRect(clip);
        context.clip = clip;
        doc->documentLayout()->draw(&painter, context);
        painter.restore();
    }

    if (!painter.end() || printer_.printerState() == QPrinter::Error) Fail("Het printen is mislukt.");
}

}  // namespace tolvaro
