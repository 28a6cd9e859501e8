// printbench: the time from OK in the print options dialog to the first page delivered to a PDF
// printer, through the real main window and dialog, against the same page printed by the bare
// Qt way (a QTextDocument printed to a QPrinter). A thread watches the output directory with
// inotify and notes the moment the first PDF file is closed after writing: the first page
// delivered (the exercise sheet; with solutions, the solutions sheet follows as a second job).
// Prints, per round: <tolvaro microseconds> <bare microseconds>.
//
// usage: printbench [rounds] [--solutions]
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QtTest>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include "core/steadyclock.h"
#include "print/tprintdialoog1.h"
#include "window/accessibility/formaccessibility.h"
#include "window/application.h"
#include "window/tform1.h"

namespace {

using Clock = std::chrono::steady_clock;

// Notes when the first file in a directory is closed after writing.
class FirstDelivery {
public:
    explicit FirstDelivery(const QString& dir) {
        fd_ = inotify_init1(IN_NONBLOCK);
        inotify_add_watch(fd_, QFile::encodeName(dir).constData(), IN_CLOSE_WRITE);
        thread_ = std::thread([this] {
            alignas(inotify_event) char buffer[4096];
            while (!stop_) {
                pollfd p{fd_, POLLIN, 0};
                if (poll(&p, 1, 5) <= 0) continue;
                if (read(fd_, buffer, sizeof buffer) > 0 && !seen_) {
                    at_ = Clock::now();
                    seen_ = true;
                }
            }
        });
    }
    ~FirstDelivery() {
        stop_ = true;
        thread_.join();
        close(fd_);
    }
    bool seen() const { return seen_; }
    Clock::time_point at() const { return at_; }

private:
    int fd_ = -1;
    std::atomic<bool> stop_{false};
    std::atomic<bool> seen_{false};
    Clock::time_point at_;
    std::thread thread_;
};

long long Micros(Clock::duration d) { return std::chrono::duration_cast<std::chrono::microseconds>(d).count(); }

// One round through the main window: the printer picture, the dialog, OK; microseconds from OK to
// the first delivered document, or -1.
long long TolvaroRound(tolvaro::TForm1& form, const QString& dir, bool solutions) {
    const int activations = form.activationCount();
    // The printer picture pressed the way assistive tools press it: a click without a pointer.
    QAccessible::queryAccessibleInterface(form.findChild<QWidget*>(QStringLiteral("Image3")))
        ->actionInterface()
        ->doAction(QAccessibleActionInterface::pressAction());
    tolvaro::TPrintDialoog1* dialog = nullptr;
    (void)QTest::qWaitFor([&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* d = qobject_cast<tolvaro::TPrintDialoog1*>(w); d && d->isVisible()) dialog = d;
        }
        return dialog != nullptr;
    });
    if (!dialog) return -1;
    dialog->CheckBox1->setChecked(solutions);
    FirstDelivery delivery(dir);
    const auto ok = Clock::now();
    dialog->OKKnop->click();
    if (!QTest::qWaitFor([&] { return delivery.seen() && form.activationCount() > activations; }, 30000)) return -1;
    return Micros(delivery.at() - ok);
}

long long BareRound(const QString& text, const QString& dir) {
    FirstDelivery delivery(dir);
    const auto start = Clock::now();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QDir(dir).filePath(QStringLiteral("bare.pdf")));
    QTextDocument document(text);
    document.setDefaultFont(QFont(QStringLiteral("Liberation Serif"), 12));
    document.print(&printer);
    if (!QTest::qWaitFor([&] { return delivery.seen(); }, 30000)) return -1;
    return Micros(delivery.at() - start);
}

}  // namespace

int main(int argc, char* argv[]) {
    tolvaro::TolvaroApplication app(argc, argv);
    int rounds = 10;
    bool solutions = false;
    for (int i = 1; i < argc; ++i) {
        if (QByteArray(argv[i]) == "--solutions") solutions = true;
        else rounds = std::max(1, std::atoi(argv[i]));
    }
    QTemporaryDir tolvaroDir, bareDir;
    const tolvaro::SteadyClock clock;
    tolvaro::TForm1 form(clock);
    const tolvaro::FormAccessibility accessibility(form);  // beside the window, as at start-up
    form.printer().SetSetupHook([&tolvaroDir](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QDir(tolvaroDir.path()).filePath(QStringLiteral("sheet.pdf")));
        return true;
    });
    form.show();
    if (!QTest::qWaitFor([&] { return form.activationCount() == 1; }, 30000)) return 1;

    // The bare program prints a page of the same size: the worksheet's text as last printed.
    QString text;
    for (int round = 0; round <= rounds; ++round) {
        const long long tolvaro = TolvaroRound(form, tolvaroDir.path(), solutions);
        if (text.isEmpty()) text = form.printer().BufferText();
        const long long bare = BareRound(text, bareDir.path());
        if (tolvaro < 0 || bare < 0) {
            std::fprintf(stderr, "printbench: round %d: no document delivered\n", round);
            return 1;
        }
        if (round > 0) std::printf("%lld %lld\n", tolvaro, bare);  // round 0 loads the print system
        std::fflush(stdout);
    }
    return 0;
}
