// The sheets on paper: printed through Printer to PDF, read back with poppler's tools and
// checked for their text, their font and the columns of their layout.
#include <QtTest>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPageSize>
#include <QPrintDialog>
#include <QTemporaryDir>
#include <QtWidgets>

#include <csignal>
#include <stdexcept>
#include <string>
#include <vector>

#include <sys/resource.h>

#include "core/practice.h"
#include "core/random.h"
#include "fakeview.h"

using tolvaro::test::FakeView;
#include "pdftools.h"
#include "print/printer.h"
#include "print/printflags.h"
#include "print/printjob.h"
#include "print/sheetfiles.h"
#include "print/worksheet.h"
#include "sampletable.h"

using tolvaro::Printer;
using tolvaro::SheetKind;

Q_DECLARE_METATYPE(SheetKind)

namespace {

const std::string kRowSeparator = "\t\t\t\t\t\t\t\t|";
constexpr int kRenderDpi = 100;

// Directs the printer to a PDF file of the given paper size instead of asking the user.
void ToPdf(Printer& printer, const QString& file, QPageSize::PageSizeId paper = QPageSize::A4) {
    printer.SetSetupHook([file, paper](QPrinter& p) {
        p.setOutputFormat(QPrinter::PdfFormat);
        p.setOutputFileName(file);
        p.setPageSize(QPageSize(paper));
        return true;
    });
    QVERIFY(printer.Setup(nullptr));
}

std::vector<std::string> Sheet(SheetKind kind, const tolvaro::WorksheetTable& table, const std::string& title) {
    return tolvaro::ComposeSheet(kind, table, title, kRowSeparator);
}

void PrintLines(Printer& printer, const std::vector<std::string>& added) {
    printer.ClearBuffer();
    for (const std::string& line : added) printer.AddLine(line);
    printer.PrintBuffer("");
}

QImage Render(const QString& pdf, const QString& stem) {
    bool ok = false;
    pdftools::Run(QStringLiteral("pdftoppm"),
                  {QStringLiteral("-r"), QString::number(kRenderDpi), QStringLiteral("-png"),
                   QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"), QStringLiteral("1"), pdf, stem},
                  &ok);
    if (!ok) return {};
    const QDir dir = QFileInfo(stem).dir();
    const QStringList pngs =
        dir.entryList({QFileInfo(stem).fileName() + QStringLiteral("-*.png")}, QDir::Files, QDir::Name);
    return pngs.isEmpty() ? QImage() : QImage(dir.filePath(pngs.first()));
}

// The columns of a sheet as the text layer places them. Empty when all is well.
QString CheckColumns(const pdftools::Layout& layout) {
    constexpr double tolerance = 0.5;  // points
    std::vector<double> bars, leftBaseEnds, rightBaseEnds;
    int exponentLines = 0;
    const auto lines = pdftools::Lines(layout);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto& line = lines[i];
        for (const pdftools::Word& w : line) {
            if (w.xMax > layout.pageWidth + tolerance)
                return QStringLiteral("\"%1\" reaches past the page edge").arg(w.text);
        }
        const auto bar = std::find_if(line.begin(), line.end(), [](const auto& w) { return w.text == "|"; });
        if (bar == line.end()) continue;
        bars.push_back(bar->xMin);
        const bool baseLine =
            std::any_of(line.begin(), line.end(), [](const auto& w) { return w.text == QLatin1String("="); });
        if (bar == line.begin() || bar + 1 == line.end()) continue;  // a separator
        if (baseLine) {
            leftBaseEnds.push_back(line.front().xMax);
            rightBaseEnds.push_back((bar + 1)->xMax);
            continue;
        }
        // An exponent line: each exponent starts where the base below it ends.
        ++exponentLines;
        if (i + 1 >= lines.size()) return QStringLiteral("exponent line without base line");
        const auto& below = lines[i + 1];
        const auto belowBar = std::find_if(below.begin(), below.end(), [](const auto& w) { return w.text == "|"; });
        if (belowBar == below.end() || belowBar + 1 == below.end()) return QStringLiteral("no base line below");
        if (std::abs(line.front().xMin - below.front().xMax) > tolerance)
            return QStringLiteral("left exponent %1 at %2, its base %3 ends at %4")
                .arg(line.front().text).arg(line.front().xMin).arg(below.front().text).arg(below.front().xMax);
        if (std::abs((bar + 1)->xMin - (belowBar + 1)->xMax) > tolerance)
            return QStringLiteral("right exponent %1 at %2, its base %3 ends at %4")
                .arg((bar + 1)->text).arg((bar + 1)->xMin).arg((belowBar + 1)->text).arg((belowBar + 1)->xMax);
    }
    auto spread = [](const std::vector<double>& v) {
        return v.empty() ? 0.0 : *std::max_element(v.begin(), v.end()) - *std::min_element(v.begin(), v.end());
    };
    if (bars.size() != 45) return QStringLiteral("%1 bars instead of 45").arg(bars.size());
    if (spread(bars) > tolerance) return QStringLiteral("the bars stray %1 pt apart").arg(spread(bars));
    if (leftBaseEnds.size() != 15 || exponentLines != 15) return QStringLiteral("not fifteen rows");
    if (spread(leftBaseEnds) > tolerance) return QStringLiteral("left bases not right-aligned");
    if (spread(rightBaseEnds) > tolerance)
        return QStringLiteral("right bases stray %1 pt apart").arg(spread(rightBaseEnds));
    return {};
}

// The vertical bars of a rendered sheet: 45 strokes in one column. Empty when all is well.
QString CheckBarsOnImage(const QImage& page) {
    if (page.isNull()) return QStringLiteral("no rendered page");
    // A bar is nearly an em high; digits and letters reach at most about two thirds of that.
    const int minLength = qRound(12.0 / 72.0 * kRenderDpi * 0.8);
    const std::vector<pdftools::Stroke> strokes = pdftools::VerticalStrokes(page, minLength);
    QStringList found;
    double xMin = 1e9, xMax = -1e9;
    for (const auto& s : strokes) {
        found << QStringLiteral("%1@%2").arg(s.x, 0, 'f', 1).arg(s.top);
        xMin = std::min(xMin, s.x);
        xMax = std::max(xMax, s.x);
    }
    if (strokes.size() != 45)
        return QStringLiteral("%1 bars instead of 45: %2").arg(strokes.size()).arg(found.join(QLatin1Char(' ')));
    if (xMax - xMin > 2.0) return QStringLiteral("bars %1 px apart: %2").arg(xMax - xMin).arg(found.join(' '));
    return {};
}

}  // namespace

class TestPrinter : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        for (const char* tool : {"pdftotext", "pdffonts", "pdfinfo", "pdftoppm"}) {
            if (!pdftools::Available(QString::fromLatin1(tool)))
                QSKIP(qPrintable(QStringLiteral("%1 (poppler-utils) is not installed").arg(tool)));
        }
        qputenv("CUPS_SERVER", "/nonexistent-tolvaro/cups.sock");  // a teacher at home: no print queue
        qunsetenv("XDG_CONFIG_HOME");
    }

    void safeFileName_data() {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("name");
        const QString accents = QString::fromUtf8("Machten \xC3\xA9\xC3\xA9n");
        QTest::newRow("plain, accents") << accents << accents;
        QTest::newRow("separators, refused by USB sticks") << "../Week 3/4\\5: a*b?<>|\"" << "_Week 3_4_5_ a_b_____";
        QTest::newRow("control, direction override") << QString::fromUtf8("Week\x01 1\xE2\x80\xAE" "fdp.exe")
                                                     << "Week 1fdp.exe";
        QTest::newRow("white space, hidden file, trailing dots") << " . .bash\t\n rc... " << "bash rc";
        QTest::newRow("empty") << "" << "Oefening";
        const QString smiley = QStringLiteral("\U0001F600");
        QTest::newRow("long in bytes") << smiley.repeated(100) << smiley.repeated(45);
    }
    void safeFileName() {
        QFETCH(QString, title);
        QFETCH(QString, name);
        QCOMPARE(tolvaro::SafeFileName(title), name);
    }

    // Saved through Qt's own dialog without a print queue: the file offered is named after the
    // title, in the documents folder or else at home; the solutions go beside it, replacing old
    // ones only when the user says so (the default keeps them: the first free name then). A link
    // there may lead out of the folder: it is taken as a name in use, without a question.
    void savedAsPdf_data() {
        QTest::addColumn<bool>("taken");  // old solutions there, and no documents folder
        QTest::addColumn<bool>("replace");
        QTest::addColumn<QString>("link");  // under the solutions' name: "broken", or to a file "elsewhere"
        QTest::newRow("documents folder") << false << false << "";
        QTest::newRow("home, old solutions replaced") << true << true << "";
        QTest::newRow("home, old solutions kept") << true << false << "";
        QTest::newRow("broken link, neither asked about nor followed") << false << true << "broken";
        QTest::newRow("link elsewhere, neither asked about nor followed") << false << true << "elsewhere";
    }
    void savedAsPdf() {
        QFETCH(bool, taken);
        QFETCH(bool, replace);
        QFETCH(QString, link);
        QTemporaryDir home;
        qputenv("HOME", QFile::encodeName(home.path()));
        QDir folder(home.path());
        QVERIFY(taken || (folder.mkdir(QStringLiteral("Documents")) && folder.cd(QStringLiteral("Documents"))));
        const QString solutions = folder.filePath(QStringLiteral("Week 3_4 - oplossingen.pdf"));
        for (const QString& old : {solutions, folder.filePath(QStringLiteral("Week 3_4 - oplossingen (2).pdf"))})
            QVERIFY(!taken || QFile(old).open(QIODevice::WriteOnly));  // empty, unlike a sheet
        const QString elsewhere = home.filePath(QStringLiteral("elsewhere.pdf"));
        QVERIFY(link != QLatin1String("elsewhere") || QFile(elsewhere).open(QIODevice::WriteOnly));
        QVERIFY(link.isEmpty() || QFile::link(elsewhere, solutions));
        QString offered, byDefault;
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                byDefault = box->defaultButton()->text();
                box->button(replace ? QMessageBox::Yes : QMessageBox::No)->click();
            } else if (auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget())) {
                if (auto* printers = dialog->findChild<QComboBox*>(QStringLiteral("printers"));
                    printers->currentIndex() == printers->count() - 1)  // the file entry
                    offered = dialog->findChild<QLineEdit*>(QStringLiteral("filename"))->text();
                dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
            }
        });
        timer.start(50);
        Printer printer;
        QVERIFY(printer.Setup(nullptr, "Week 3/4"));
        PrintLines(printer, {"blad"});
        PrintLines(printer, {"oplossingen"});
        QCOMPARE(offered, folder.filePath(QStringLiteral("Week 3_4.pdf")));
        QCOMPARE(byDefault, taken ? QStringLiteral("Nee") : QString());
        QCOMPARE(pdftools::SqueezedLines(offered), QStringList{"blad"});
        const QString written = taken && !replace ? folder.filePath(QStringLiteral("Week 3_4 - oplossingen (3).pdf"))
                                : !link.isEmpty()  ? folder.filePath(QStringLiteral("Week 3_4 - oplossingen (2).pdf"))
                                                   : solutions;
        QCOMPARE(pdftools::SqueezedLines(written), QStringList{"oplossingen"});
        QCOMPARE(pdftools::Title(written), QStringLiteral("Week 3/4"));
        QCOMPARE(QFileInfo(solutions).size() == 0, (taken && !replace) || !link.isEmpty());
        QCOMPARE(QFileInfo(solutions).isSymLink(), !link.isEmpty());
        QCOMPARE(QFileInfo::exists(elsewhere), link == QLatin1String("elsewhere"));
    }

    void buffer_data() {
        QTest::addColumn<QStringList>("added");
        QTest::addColumn<QString>("text");
        QTest::newRow("one line") << QStringList{"a"} << "a";
        QTest::newRow("each added line is a line") << QStringList{"a", "b"} << "a\nb";
        QTest::newRow("carriage return breaks the line") << QStringList{"\r", "x\r\r", "y"} << "\n\nx\n\n\ny";
        QTest::newRow("tabs and bars stay") << QStringList{"\t\t|"} << "\t\t|";
        QTest::newRow("accents") << QStringList{QString::fromUtf8("Oefening é")} << QString::fromUtf8("Oefening é");
    }
    void buffer() {
        QFETCH(QStringList, added);
        QFETCH(QString, text);
        Printer printer;
        printer.AddLine("left over");
        printer.ClearBuffer();
        for (const QString& line : added) printer.AddLine(line.toStdString());
        QCOMPARE(printer.BufferText(), text);
    }

    // Both sheets on both paper sizes: one page, the text as composed, the sheet's font embedded,
    // and every column where the tab stops put it.
    void sheetOnPaper_data() {
        QTest::addColumn<SheetKind>("kind");
        QTest::addColumn<QPageSize::PageSizeId>("paper");
        QTest::newRow("A4 exercise sheet") << SheetKind::Exercises << QPageSize::A4;
        QTest::newRow("A4 solutions sheet") << SheetKind::Solutions << QPageSize::A4;
        QTest::newRow("Letter exercise sheet") << SheetKind::Exercises << QPageSize::Letter;
        QTest::newRow("Letter solutions sheet") << SheetKind::Solutions << QPageSize::Letter;
    }
    void sheetOnPaper() {
        QFETCH(SheetKind, kind);
        QFETCH(QPageSize::PageSizeId, paper);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString pdf = dir.filePath(QStringLiteral("sheet.pdf"));
        const std::vector<std::string> sheet = Sheet(kind, SampleTable(), "Oefening \xC3\xA9\xC3\xA9n");

        Printer printer;
        ToPdf(printer, pdf, paper);
        PrintLines(printer, sheet);

        QCOMPARE(pdftools::PageCount(pdf), 1);
        const QStringList fonts = pdftools::Fonts(pdf);
        QVERIFY(!fonts.isEmpty());
        for (const QString& font : fonts) QVERIFY2(font.contains("LiberationSerif") && font.endsWith(" yes"), qPrintable(font));

        const QStringList expected = pdftools::Squeezed(tolvaro::PrintedLines(sheet));
        QCOMPARE(expected.size(), kind == SheetKind::Exercises ? 50 : 49);
        QCOMPARE(pdftools::SqueezedLines(pdf), expected);

        const pdftools::Layout layout = pdftools::Words(pdf);
        const QString columns = CheckColumns(layout);
        QVERIFY2(columns.isEmpty(), qPrintable(columns));

        const QString bars = CheckBarsOnImage(Render(pdf, dir.filePath(QStringLiteral("page"))));
        QVERIFY2(bars.isEmpty(), qPrintable(bars));
    }

    // Text longer than a page goes on over further pages of the same job.
    void continuesOnFurtherPages() {
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("long.pdf"));
        std::vector<std::string> lines;
        for (int i = 1; i <= 150; ++i) lines.push_back("Regel " + std::to_string(i));
        Printer printer;
        ToPdf(printer, pdf);
        PrintLines(printer, lines);
        QVERIFY(pdftools::PageCount(pdf) >= 3);
        QCOMPARE(pdftools::SqueezedLines(pdf), pdftools::Squeezed(lines));
    }

    // A PDF file carries the worksheet's title, and the printer keeps its choice between jobs.
    void documentTitle_data() {
        QTest::addColumn<QString>("title");
        QTest::newRow("empty") << QString();
        QTest::newRow("named") << QString::fromUtf8("Werkblad \xC3\xA9\xC3\xA9n");
    }
    void documentTitle() {
        QFETCH(QString, title);
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("title.pdf"));
        Printer printer;
        ToPdf(printer, pdf);
        QVERIFY(printer.Setup(nullptr, title.toStdString()));
        printer.Print(QStringLiteral("x"), QString());
        QCOMPARE(printer.printer().docName(), title);
        QCOMPARE(pdftools::Title(pdf), title);
        QCOMPARE(printer.printer().outputFileName(), pdf);
    }

    // A printer that can't print makes the job fail with a message; the next job still prints.
    void failure_data() {
        QTest::addColumn<QString>("folder");  // under a temporary folder; empty: no file name
        QTest::addColumn<QString>("reason");
        QTest::newRow("folder gone") << "gone" << "bestaat niet";
        QTest::newRow("no permission") << "read-only" << "toestemming";
        QTest::newRow("PDF without a file name") << "" << "geen bestand";
    }
    void failure() {
        QFETCH(QString, folder);
        QFETCH(QString, reason);
        QTemporaryDir parent;
        const QString outputFile = folder.isEmpty() ? QString() : parent.filePath(folder + "/sheet.pdf");
        const QString readOnly = parent.filePath(QStringLiteral("read-only"));
        QVERIFY(QDir().mkdir(readOnly) && QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::ExeOwner));
        if (outputFile.startsWith(readOnly) && QFileInfo(readOnly).isWritable()) QSKIP("this user may write anywhere");
        Printer printer;
        printer.SetSetupHook([&](QPrinter& p) {
            p.setOutputFormat(QPrinter::PdfFormat);
            p.setOutputFileName(outputFile);
            return true;
        });
        QVERIFY(printer.Setup(nullptr));
        QString message;
        try {
            printer.Print(QStringLiteral("x"), QString());
        } catch (const std::runtime_error& e) {
            message = QString::fromUtf8(e.what());
        }
        QVERIFY2(message.contains(reason) && message.contains(outputFile), qPrintable(message));
        QVERIFY(!QFileInfo::exists(outputFile));

        QTemporaryDir dir;
        ToPdf(printer, dir.filePath(QStringLiteral("after.pdf")));
        printer.Print(QStringLiteral("weer"), QString());
        QCOMPARE(pdftools::SqueezedLines(dir.filePath(QStringLiteral("after.pdf"))), QStringList{"weer"});
    }

    // A file system that runs full cuts a sheet short. The job then fails, saying which sheet and
    // where; nothing half written is left, and an earlier file in the sheet's place stays. The
    // limit on the size of the files this process writes cuts the file where a full disk would.
    void cutShort_data() {
        QTest::addColumn<int>("failing");  // the sheet that meets the limit, 0 for the exercise sheet
        QTest::newRow("exercise sheet at 4 KB") << 0;
        QTest::newRow("solutions sheet at nothing") << 1;
    }
    void cutShort() {
        QFETCH(int, failing);
        QTemporaryDir dir;
        const QString files[] = {dir.filePath(QStringLiteral("Vol.pdf")), dir.filePath(QStringLiteral("Vol - oplossingen.pdf"))};
        QFile earlier(files[0]);
        QVERIFY(earlier.open(QIODevice::WriteOnly) && earlier.write("eerder") == 6 && earlier.flush());
        Printer printer;
        ToPdf(printer, files[0]);
        std::signal(SIGXFSZ, SIG_IGN);  // a write past the limit fails instead of ending the process
        rlimit unlimited{};
        QVERIFY(::getrlimit(RLIMIT_FSIZE, &unlimited) == 0);
        rlimit cut{failing == 0 ? 4096u : 0u, unlimited.rlim_max};
        QString message;
        for (int sheet = 0; sheet <= failing; ++sheet) {
            QVERIFY(sheet < failing || ::setrlimit(RLIMIT_FSIZE, &cut) == 0);
            try {
                PrintLines(printer, Sheet(sheet == 0 ? SheetKind::Exercises : SheetKind::Solutions, SampleTable(), ""));
            } catch (const std::runtime_error& e) {
                message = QString::fromUtf8(e.what());
            }
        }
        QVERIFY(::setrlimit(RLIMIT_FSIZE, &unlimited) == 0);
        QVERIFY2(message.startsWith(failing == 0 ? "Het werkblad" : "De oplossingen") && message.contains(files[failing]) &&
                     message.contains(files[0]) && message.contains(QStringLiteral("schijf vol")),
                 qPrintable(message));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Vol.pdf"});
        QCOMPARE(QFileInfo(files[0]).size() == 6, failing == 0);
    }

    // The whole job: the setup dialog, thirty draws from the settings, the exercise sheet and
    // the solutions sheet, each a PDF file of its own, with the same thirty exercises.
    void printJobThroughPrinter() {
        QTemporaryDir dir;
        Printer printer;
        FakeView view;
        view.texts[tolvaro::Control::MaxGrondtal] = "12";
        view.texts[tolvaro::Control::MaxExponent] = "12";
        tolvaro::Random random;
        tolvaro::Practice practice(view, random);
        tolvaro::PrintFlags flags{true, false, true, "Machten oefenen"};
        tolvaro::WorksheetTable table;
        const QStringList pdfs{dir.filePath("Machten oefenen.pdf"), dir.filePath("Machten oefenen - oplossingen.pdf")};
        view.onSetup = [&] {
            ToPdf(printer, pdfs[0]);
            return true;
        };
        view.onPrint = [&](const FakeView::Job& job) {
            printer.ClearBuffer();
            for (const std::string& line : job.added) printer.AddLine(line);
            printer.PrintBuffer(job.title);
        };

        tolvaro::RunPrintJob(view, practice, flags, table, kRowSeparator);

        const SheetKind kinds[] = {SheetKind::Exercises, SheetKind::Solutions};
        const char* names[] = {"worksheet-exercises.png", "worksheet-solutions.png"};
        const QString samples = qEnvironmentVariable("TOLVARO_SAMPLE_DIR");
        for (int i = 0; i < 2; ++i) {
            const std::vector<std::string> sheet = Sheet(kinds[i], table, flags.WorksheetTitle);
            QCOMPARE(pdftools::SqueezedLines(pdfs[i]), pdftools::Squeezed(tolvaro::PrintedLines(sheet)));
            const QString columns = CheckColumns(pdftools::Words(pdfs[i]));
            QVERIFY2(columns.isEmpty(), qPrintable(columns));
            const QImage page = Render(pdfs[i], dir.filePath(QStringLiteral("render-%1").arg(i)));
            const QString bars = CheckBarsOnImage(page);
            QVERIFY2(bars.isEmpty(), qPrintable(bars));
            if (!samples.isEmpty()) QVERIFY(page.save(QDir(samples).filePath(QString::fromLatin1(names[i]))));
        }
    }
};

QTEST_MAIN(TestPrinter)
#include "test_printer.moc"
