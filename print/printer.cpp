#include "print/printer.h"

#include <QAbstractButton>
#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QLineEdit>
#include <QMessageBox>
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
#include <QWidget>

#include <memory>
#include <stdexcept>

#include "print/queuestatus.h"
#include "print/sheetfiles.h"

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
[[noreturn]] void Fail(const QString& message) { throw std::runtime_error(message.toStdString()); }

// What the error report says when sheet number `sheet` (0 for the exercise sheet) could not be
// written to `file`, and why: which sheet is lost, and where the one already written is.
QString FileFailure(int sheet, const QString& file, const QString& reason, const QString& firstFile) {
    if (sheet == 0)
        return QStringLiteral("Het werkblad kan niet worden bewaard in \"%1\": %2. Er is niets bewaard.")
            .arg(file, reason);
    return QStringLiteral("De oplossingen kunnen niet worden bewaard in \"%1\": %2. Het werkblad zelf staat in \"%3\".")
        .arg(file, reason, firstFile);
}

// The same for a sheet that the print service did not take from print queue `queue`.
QString QueueFailure(int sheet, const QString& queue, const QString& reason) {
    if (sheet == 0)
        return QStringLiteral("Het werkblad kan niet worden geprint op \"%1\": %2. Er is niets geprint.")
            .arg(queue, reason);
    return QStringLiteral("De oplossingen kunnen niet worden geprint op \"%1\": %2. Het werkblad zelf is wel "
                          "naar de printer gestuurd.")
        .arg(queue, reason);
}

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

bool Printer::Setup(QWidget* parent, const std::string& worksheetTitle) {
    QPrinter& device = printer();
    parent_ = parent;
    worksheetTitle_ = QString::fromStdString(worksheetTitle);
    sheetsSinceSetup_ = 0;
    sheetFile_.clear();
    written_.clear();

    // A PDF printer takes the proposed file as its own setting. A print queue must not: setting
    // a file name turns the printer into a PDF printer, and later versions of Qt's dialog then
    // offer the file instead of the queue. Its dialog's file field gets the name, for when the
    // user picks a file there.
    const QString proposal = ProposedSheetFile(worksheetTitle_, lastFolder_);
    const bool toFile = device.outputFormat() == QPrinter::PdfFormat;
    if (toFile) device.setOutputFileName(proposal);
    bool confirmed = false;
    if (setupHook_) {
        confirmed = setupHook_(device);
    } else {
        QPrintDialog dialog(&device, parent);
        auto* fileField = dialog.findChild<QLineEdit*>(QStringLiteral("filename"));
        if (!toFile && fileField) fileField->setText(proposal);
        confirmed = dialog.exec() == QDialog::Accepted;
    }
    if (confirmed && device.outputFormat() == QPrinter::PdfFormat) {
        sheetFile_ = device.outputFileName();
        lastFolder_ = QFileInfo(sheetFile_).absolutePath();
    }
    return confirmed;
}

// A link under the wanted name is never replaced, nor asked about: it may lead out of the folder,
// and it isn't the solutions of an earlier worksheet anyway.
QString Printer::SolutionsTarget() const {
    const QString wanted = SolutionsFile(sheetFile_);
    const QString free = FreeFile(wanted);
    return free == wanted || (!QFileInfo(wanted).isSymLink() && MayReplace(wanted, free)) ? wanted : free;
}

// Asked rather than a free name taken in silence: the file there is most likely the solutions
// of an earlier worksheet under the same name, which no longer match the exercise sheet just
// written beside it. The default answer keeps it.
bool Printer::MayReplace(const QString& file, const QString& alternative) const {
    if (setupHook_) return false;
    QMessageBox box(QMessageBox::Question, parent_ ? parent_->window()->windowTitle() : QString(),
                    QStringLiteral("Het bestand \"%1\" bestaat al.\n\nWilt u het vervangen door de oplossingen van "
                                   "dit werkblad? Bij \"Nee\" komen de oplossingen in \"%2\".")
                        .arg(QFileInfo(file).fileName(), QFileInfo(alternative).fileName()),
                    QMessageBox::Yes | QMessageBox::No, parent_);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("Ja"));
    box.button(QMessageBox::No)->setText(QStringLiteral("Nee"));
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void Printer::AddLine(const std::string& line) {
    buffer_.append(QString::fromStdString(line).split(QLatin1Char('\r')));
}

void Printer::Print(const QString& text, const QString& jobTitle) {
    QPrinter& device = printer();
    if (!device.isValid()) Fail("Er is geen geldige printer gekozen; er is niets geprint.");
    const int sheet = sheetsSinceSetup_++;
    const bool toFile = device.outputFormat() == QPrinter::PdfFormat;

    // A file shows its title in viewers and file managers; a queue's job title stays as given.
    device.setDocName(toFile ? worksheetTitle_ : jobTitle);
    // The text goes onto the whole printable area: only the margins the printer can't print on.
    const QPageLayout page = device.pageLayout();
    device.setPageMargins(page.minimumMargins(), page.units());

    // Checked beforehand: Qt's PDF output without a file name fails to start and then stays
    // marked as busy, which would spoil every later job.
    if (toFile && device.outputFileName().isEmpty())
        Fail("Er is geen bestand gekozen om naar te printen; er is niets geprint.");

    // Where the sheet is to end up: the file confirmed in the dialog, through its links as the
    // dialog itself would write it, or for the solutions sheet a file beside it, which would
    // otherwise replace the exercise sheet in the one file.
    const QString chosen = device.outputFileName();
    const QString file = !toFile                              ? QString()
                         : sheet > 0 && !sheetFile_.isEmpty() ? SolutionsTarget()
                                                              : FollowLinks(chosen);
    auto failFile = [&](const QString& reason) { Fail(FileFailure(sheet, file, reason, sheetFile_)); };
    auto fail = [&](const char* printerMessage) {
        if (toFile) failFile(WriteFailureReason(file));
        Fail(printerMessage);
    };

    // A file is written beside its place and put there only when whole: a full disk leaves
    // neither a sheet cut short nor a lost earlier file. The printer goes back to the confirmed
    // file afterwards, whatever happens.
    struct Partial {
        QPrinter& device;
        const QString& chosen;
        QString file;
        ~Partial() {
            if (file.isEmpty()) return;
            QFile::remove(file);
            device.setOutputFileName(chosen);
        }
    } partial{device, chosen, {}};
    if (toFile) {
        if (QFileInfo(file).exists() && !QFileInfo(file).isWritable()) fail(nullptr);
        partial.file = StartFileBeside(file);
        if (partial.file.isEmpty()) fail(nullptr);
        device.setOutputFileName(partial.file);
    }

    QPainter painter;
    if (!painter.begin(&device)) fail("De printer kan niet worden geopend; er is niets geprint.");

    const std::unique_ptr<QTextDocument> doc = LayOut(text, device);
    const QSizeF pageSize = doc->pageSize();
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette.setColor(QPalette::Text, Qt::black);

    const int pages = doc->pageCount();
    for (int i = 0; i < pages; ++i) {
        if (i > 0 && !device.newPage()) {
            painter.end();
            fail("Het printen is mislukt: er kan geen nieuwe bladzijde worden begonnen.");
        }
        const QRectF clip(0, i * pageSize.height(), pageSize.width(), pageSize.height());
        painter.save();
        painter.translate(0, -clip.top());
        painter.setClipRect(clip);
        context.clip = clip;
        doc->documentLayout()->draw(&painter, context);
        painter.restore();
    }

    if (!painter.end() || device.printerState() == QPrinter::Error) fail("Het printen is mislukt.");

    if (!toFile) {
        if (const QString refusal = LastJobRefusal(); !refusal.isEmpty())
            Fail(QueueFailure(sheet, device.printerName(), refusal));
        return;
    }
    if (!IsWholePdf(partial.file))
        failFile(QStringLiteral("het bestand kon maar voor een deel worden geschreven, misschien is de schijf vol"));
    if (!PutInPlace(partial.file, file)) fail(nullptr);
    written_ << file;
}

}  // namespace tolvaro
