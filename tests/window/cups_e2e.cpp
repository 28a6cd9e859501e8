// The worksheet through a real print service: a private CUPS scheduler with a raw queue that
// keeps every job's document, the exercise sheet and the solutions sheet printed through
// the main window, and the spooled documents read back.
//
// The test starts its own cupsd on a socket in a temporary folder and never talks to the
// machine's own print service. The printing itself runs in a child process (this program with
// --print-child), because Qt's print support reads CUPS_SERVER when it first starts.
#include <QtTest>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include <csignal>
#include <unistd.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif

#include <QPrintDialog>
#include <QtWidgets>

#include "core/steadyclock.h"
#include "pdftools.h"
#include "print/tprintdialoog1.h"
#include "print/worksheet.h"
#include "window/application.h"
#include "window/tform1.h"

namespace {

const QString kQueue = QStringLiteral("tolvaro-test");

QString FindTool(const QString& name) {
    QString path = QStandardPaths::findExecutable(name);
    if (path.isEmpty()) path = QStandardPaths::findExecutable(name, {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin")});
    return path;
}

// Child: the real program's print path. The main window is shown, the printer picture opens the
// print options dialog, OK with a title and the solutions option ticked hands the focus back, and
// the window's activation prints both sheets on the queue; Qt's setup dialog, confirmed from a
// timer, must offer the queue, with a file named after the title. The sheets as composed from the
// window's thirty exercises are written into `outDir` (sheet-0.txt, sheet-1.txt).
// With `failure` "refused" the queue refuses jobs: the error report must name the exercise sheet,
// the queue and the reason, and practice must carry on.
int PrintChild(int argc, char* argv[], const QString& outDir, const QString& failure) {
    QApplication app(argc, argv);
    tolvaro::ConfigureApplication(app);
    const tolvaro::SteadyClock clock;
    tolvaro::TForm1 form(clock);
    QStringList errors;
    form.setErrorReporter([&errors](const QString& message) { errors << message; });
    QString offered;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&offered] {
        if (auto* d = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget())) {
            offered = d->findChild<QComboBox*>(QStringLiteral("printers"))->currentText() + u'|' +
                      d->findChild<QLineEdit*>(QStringLiteral("filename"))->text();
            d->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        }
    });
    answer.start(50);
    form.show();
    if (!QTest::qWaitFor([&] { return form.activationCount() == 1; })) return 5;
    form.findChild<QLineEdit*>(QStringLiteral("MaxGrondtal"))->setText(QStringLiteral("999999"));
    form.findChild<QLineEdit*>(QStringLiteral("MaxExponent"))->setText(QStringLiteral("12"));
    QTest::mouseClick(form.findChild<QWidget*>(QStringLiteral("Image3")), Qt::LeftButton);
    tolvaro::TPrintDialoog1* dialog = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* d = qobject_cast<tolvaro::TPrintDialoog1*>(w)) dialog = d;
    }
    if (!dialog) return 6;
    for (const QChar c : QString::fromUtf8("Machten \xC3\xA9\xC3\xA9n"))  // typed over the selected title
        QTest::sendKeyEvent(QTest::Click, dialog->Edit1, Qt::Key_unknown, c, {});
    dialog->CheckBox1->setChecked(true);
    dialog->OKKnop->click();
    if (!QTest::qWaitFor([&] { return form.activationCount() == 2; })) return 7;
    if (!failure.isEmpty()) {
        std::fprintf(stderr, "reported: %s\n", qPrintable(errors.join(u'\n')));
        if (errors.size() != 1 || !errors[0].startsWith(QStringLiteral("Het werkblad")) ||
            !errors[0].contains(kQueue) || !errors[0].contains(QStringLiteral("neemt geen opdrachten aan")))
            return 8;
        form.findChild<QPushButton*>(QStringLiteral("Kontroleer"))->click();
        return form.findChild<QPushButton*>(QStringLiteral("VolgendeOefening"))->isVisible() ? 0 : 9;
    }
    if (!errors.isEmpty()) {
        std::fprintf(stderr, "print failed: %s\n", qPrintable(errors.join(u'\n')));
        return 1;
    }
    if (offered != kQueue + u'|' + QDir::home().filePath(QString::fromUtf8("Machten \xC3\xA9\xC3\xA9n.pdf"))) {
        std::fprintf(stderr, "the dialog offered %s\n", qPrintable(offered));
        return 2;
    }
    const std::string title = form.printFlags().WorksheetTitle;
    const tolvaro::SheetKind kinds[] = {tolvaro::SheetKind::Exercises, tolvaro::SheetKind::Solutions};
    for (int i = 0; i < 2; ++i) {
        QFile file(QDir(outDir).filePath(QStringLiteral("sheet-%1.txt").arg(i)));
        if (!file.open(QIODevice::WriteOnly)) return 3;
        const auto added = tolvaro::ComposeSheet(kinds[i], form.WorksheetTable, title, form.RowSeparator);
        for (const std::string& line : tolvaro::PrintedLines(added)) file.write((line + "\n").c_str());
    }
    return 0;
}

}  // namespace

class TestCupsEndToEnd : public QObject {
    Q_OBJECT

public:
    QString self;

private:
    QTemporaryDir root_;
    QProcess cupsd_;
    QString socket_;
    QString lpadmin_, lpstat_;

    QString Lp(const QString& tool, const QStringList& args, bool* ok = nullptr) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("CUPS_SERVER"), socket_);
        process.setProcessEnvironment(env);
        process.start(tool, args);
        const bool done = process.waitForFinished(30000);
        if (ok) *ok = done && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
        return QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
    }

    bool Write(const QString& name, const QString& text) {
        QFile file(root_.filePath(name));
        return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) == text.toUtf8().size();
    }

    // Runs the print child; empty when it ended well, else what it said.
    QString RunChild(const QString& outDir, const QString& failure = {}) {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("CUPS_SERVER"), socket_);
        env.insert(QStringLiteral("HOME"), outDir);
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(self, {QStringLiteral("--print-child"), outDir, failure});
        if (!child.waitForFinished(120000)) return QStringLiteral("the print child did not end");
        if (child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0) return {};
        return QStringLiteral("exit %1: %2").arg(child.exitCode()).arg(QString::fromUtf8(child.readAll()));
    }

    QStringList SpooledDocuments() const {
        return QDir(root_.filePath(QStringLiteral("spool")))
            .entryList({QStringLiteral("d*")}, QDir::Files, QDir::Name);
    }

private slots:
    void initTestCase() {
        const QString cupsd = FindTool(QStringLiteral("cupsd"));
        if (cupsd.isEmpty()) QSKIP("cupsd is not installed: no print service to print through");
        lpadmin_ = FindTool(QStringLiteral("lpadmin"));
        lpstat_ = FindTool(QStringLiteral("lpstat"));
        QVERIFY2(!lpadmin_.isEmpty() && !lpstat_.isEmpty(), "cupsd is installed but lpadmin or lpstat is missing");
        QVERIFY2(pdftools::Available(QStringLiteral("pdftotext")), "pdftotext (poppler-utils) is missing");

        QVERIFY(root_.isValid());
        const QString dir = root_.path();
        // The scheduler's helpers may run as another user: they must reach the folder.
        QVERIFY(QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                               QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                               QFile::ExeOther));
        for (const char* sub : {"spool", "tmp", "cache", "state", "log", "ppd"})
            QVERIFY(QDir(dir).mkpath(QString::fromLatin1(sub)));
        socket_ = root_.filePath(QStringLiteral("cups.sock"));

        QVERIFY(Write(QStringLiteral("cupsd.conf"), QStringLiteral(
            "Listen %1\n"
            "LogLevel info\n"
            "Browsing No\n"
            "WebInterface No\n"
            "DefaultAuthType None\n"
            "PreserveJobFiles Yes\n"
            "PreserveJobHistory Yes\n"
            "DirtyCleanInterval 0\n"
            "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
            "<Location /admin>\n  Order allow,deny\n  Allow all\n</Location>\n"
            "<Policy default>\n  <Limit All>\n    Order allow,deny\n    Allow all\n  </Limit>\n</Policy>\n")
            .arg(socket_)));
        QString files = QStringLiteral(
            "ServerRoot %1\n"
            "RequestRoot %1/spool\n"
            "TempDir %1/tmp\n"
            "CacheDir %1/cache\n"
            "StateDir %1/state\n"
            "AccessLog %1/log/access_log\n"
            "ErrorLog %1/log/error_log\n"
            "PageLog %1/log/page_log\n"
            "FileDevice Yes\n"
            "Sandboxing Relaxed\n").arg(dir);
        if (::geteuid() == 0) files += QStringLiteral("SystemGroup root\nUser lp\nGroup lp\n");
        QVERIFY(Write(QStringLiteral("cups-files.conf"), files));

        cupsd_.setProcessChannelMode(QProcess::MergedChannels);
#ifdef __linux__
        // Should this test die before its clean-up, the scheduler goes with it.
        cupsd_.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
#endif
        cupsd_.start(cupsd, {QStringLiteral("-f"), QStringLiteral("-c"), root_.filePath(QStringLiteral("cupsd.conf")),
                             QStringLiteral("-s"), root_.filePath(QStringLiteral("cups-files.conf"))});
        QVERIFY2(cupsd_.waitForStarted(10000), "cupsd does not start");
        QTRY_VERIFY_WITH_TIMEOUT(Lp(lpstat_, {QStringLiteral("-r")}).contains(QStringLiteral("is running")) ||
                                     cupsd_.state() == QProcess::NotRunning,
                                 20000);
        QVERIFY2(cupsd_.state() == QProcess::Running, qPrintable(QString::fromUtf8(cupsd_.readAll())));

        bool ok = false;
        const QString out = Lp(lpadmin_, {QStringLiteral("-p"), kQueue, QStringLiteral("-v"),
                                          QStringLiteral("file:/dev/null"), QStringLiteral("-E")},
                               &ok);
        QVERIFY2(ok, qPrintable(out));
        QVERIFY2(Lp(lpstat_, {QStringLiteral("-p"), kQueue}).contains(QStringLiteral("idle")), "queue not ready");
    }

    void cleanupTestCase() {
        if (cupsd_.state() != QProcess::NotRunning) {
            cupsd_.terminate();
            if (!cupsd_.waitForFinished(10000)) {
                cupsd_.kill();
                cupsd_.waitForFinished(5000);
            }
        }
    }

    // Two jobs, exercise sheet first, each a document that reads as its sheet was composed,
    // with the same thirty exercises.
    void worksheetWithSolutions() {
        QTemporaryDir out;
        QVERIFY(out.isValid());
        const QString failed = RunChild(out.path());
        QVERIFY2(failed.isEmpty(), qPrintable(failed));

        // Both jobs through the queue.
        QTRY_COMPARE_WITH_TIMEOUT(
            Lp(lpstat_, {QStringLiteral("-W"), QStringLiteral("completed"), QStringLiteral("-o"), kQueue})
                .count(kQueue + QLatin1Char('-')),
            2, 30000);
        QCOMPARE(SpooledDocuments(), (QStringList{"d00001-001", "d00002-001"}));

        std::vector<QStringList> sheets;
        for (int i = 0; i < 2; ++i) {
            QFile expected(out.filePath(QStringLiteral("sheet-%1.txt").arg(i)));
            QVERIFY(expected.open(QIODevice::ReadOnly));
            std::vector<std::string> lines;
            for (const QByteArray& line : expected.readAll().split('\n')) lines.push_back(line.toStdString());
            const QStringList composed = pdftools::Squeezed(lines);
            const QString document = QDir(root_.filePath(QStringLiteral("spool"))).filePath(SpooledDocuments()[i]);
            QCOMPARE(pdftools::SqueezedLines(document), composed);
            // Each job named after its sheet: the job-name attribute as the scheduler keeps it.
            QFile job(QDir(root_.filePath(QStringLiteral("spool"))).filePath(QStringLiteral("c0000%1").arg(i + 1)));
            QTRY_VERIFY_WITH_TIMEOUT(job.exists(), 10000);
            const QByteArray name = i == 0 ? "Machten \xC3\xA9\xC3\xA9n" : "Machten \xC3\xA9\xC3\xA9n - oplossingen";
            QVERIFY(job.open(QIODevice::ReadOnly) &&
                    job.readAll().contains("job-name" + QByteArray(1, '\0') + char(name.size()) + name));
            sheets.push_back(composed);
        }
        // Exercise sheet first: the name line there, the solutions heading second.
        QVERIFY(sheets[0][1].startsWith(QStringLiteral("Naam:")));
        QCOMPARE(sheets[1][1], QStringLiteral("Oplossingen."));
        QCOMPARE(sheets[0].size(), 50);
        QCOMPARE(sheets[1].size(), 49);
        // The same thirty exercises: exponent lines agree, and each base line starts alike.
        for (int r = 0; r < 15; ++r) {
            const int exponents = 4 + 3 * r;
            const int bases = exponents + 1;
            QCOMPARE(sheets[1][exponents], sheets[0][exponents]);
            const QStringList exerciseHalves = sheets[0][bases].split(QLatin1Char('|'));
            const QStringList solutionHalves = sheets[1][bases].split(QLatin1Char('|'));
            QCOMPARE(exerciseHalves.size(), 2);
            QCOMPARE(solutionHalves.size(), 2);
            for (int side = 0; side < 2; ++side)
                QCOMPARE(solutionHalves[side].section(QLatin1Char('='), 0, 0),
                         exerciseHalves[side].section(QLatin1Char('='), 0, 0));
        }
    }

    // A queue that refuses jobs: the error report says so for the exercise sheet, nothing is
    // printed, and practice carries on.
    void refusedJob() {
        auto jobs = [this] { return Lp(lpstat_, {QStringLiteral("-W"), QStringLiteral("all"), QStringLiteral("-o"), kQueue}); };
        const QString before = jobs();
        bool ok = false;
        Lp(FindTool(QStringLiteral("cupsreject")), {kQueue}, &ok);
        QVERIFY(ok);
        QTemporaryDir out;
        const QString failed = RunChild(out.path(), QStringLiteral("refused"));
        Lp(FindTool(QStringLiteral("cupsaccept")), {kQueue});
        QVERIFY2(failed.isEmpty(), qPrintable(failed));
        QCOMPARE(jobs(), before);
    }
};

int main(int argc, char* argv[]) {
    if (argc >= 4 && QByteArray(argv[1]) == "--print-child")
        return PrintChild(1, argv, QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    QApplication app(argc, argv);
    TestCupsEndToEnd test;
    test.self = QCoreApplication::applicationFilePath();
    return QTest::qExec(&test, argc, argv);
}

#include "cups_e2e.moc"
