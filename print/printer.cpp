#include "print/printer.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPalette>
#include <QPrintDialog>
#include <QTextBlock>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextOption>

#include <memory>
#include <stdexcept>

namespace tolvaro {
namespace {

// How many device pixels of the layout's paint device one document unit takes. Qt counts tab
// stops and fixed line heights in logical pixels of the screen and scales them to the paint
// device, so measure the factor rather than guess the screen's resolution.
qreal DocumentUnitScale(QPaintDevice* device) {
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

// The sheet's font: Times New Roman, 12 points.
QFont SheetFont() {
    QFont font(QStringLiteral("Times New Roman"));
    font.setStyleHint(QFont::Times);
    font.setPointSizeF(Printer::kFontPoints);
    return font;
}

// The document as it is printed on `printer`: paginated onto its printable area, in the
// printer's device pixels.
std::unique_ptr<QTextDocument> LayOut(const QString& text, QPrinter& printer) {
    auto doc = std::make_unique<QTextDocument>();
    doc->documentLayout()->setPaintDevice(&printer);
    doc->setDocumentMargin(0);
    doc->setUndoRedoEnabled(false);
    doc->setDefaultFont(SheetFont());

    const qreal unit = DocumentUnitScale(&printer);
    QTextOption option = doc->defaultTextOption();
    option.setWrapMode(QTextOption::NoWrap);
    option.setTabStopDistance(Printer::kTabStopInches * printer.logicalDpiX() / unit);
    doc->setDefaultTextOption(option);

    doc->setPageSize(printer.pageRect(QPrinter::DevicePixel).size());
    doc->setPlainText(text);

    // Single line spacing is the font's height, ascent and descent, without the extra leading
    // some faces ask for: a sheet of 58 lines then fits a Letter page as well as an A4 one.
    QTextBlockFormat spacing;
    spacing.setLineHeight(QFontMetricsF(SheetFont(), &printer).height() / unit, QTextBlockFormat::FixedHeight);
    QTextCursor all(doc.get());
    all.select(QTextCursor::Document);
    all.mergeBlockFormat(spacing);
    return doc;
}

}  // namespace

Printer::Printer() = default;

bool Printer::Setup(QWidget* parent) {
    if (setupHook_) return setupHook_(printer());
    QPrintDialog dialog(&printer(), parent);
    return dialog.exec() == QDialog::Accepted;
}

void Printer::AddLine(const std::string& line) {
    buffer_.append(QString::fromStdString(line).split(QLatin1Char('\r')));
}

void Printer::Print(const QString& text, const QString& jobTitle) {
    QPrinter& device = printer();
    if (!device.isValid()) Fail("Er is geen geldige printer gekozen; er is niets geprint.");

    device.setDocName(jobTitle);
    // The text goes onto the whole printable area: only the margins the printer can't print on.
    const QPageLayout page = device.pageLayout();
    device.setPageMargins(page.minimumMargins(), page.units());

    // Checked beforehand: Qt's PDF output without a file name fails to start and then stays
    // marked as busy, which would spoil every later job.
    if (device.outputFormat() == QPrinter::PdfFormat && device.outputFileName().isEmpty())
        Fail("Er is geen bestand gekozen om naar te printen; er is niets geprint.");

    QPainter painter;
    if (!painter.begin(&device)) Fail("De printer kan niet worden geopend; er is niets geprint.");

    const std::unique_ptr<QTextDocument> doc = LayOut(text, device);
    const QSizeF pageSize = doc->pageSize();
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette.setColor(QPalette::Text, Qt::black);

    const int pages = doc->pageCount();
    for (int i = 0; i < pages; ++i) {
        if (i > 0 && !device.newPage()) {
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

    if (!painter.end() || device.printerState() == QPrinter::Error) Fail("Het printen is mislukt.");
}

}  // namespace tolvaro
