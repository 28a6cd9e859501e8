// The main window at several screen scale factors: the window keeps its logical size and every
// control its place, texts fit their controls as well as at factor 1, and every picture is drawn
// from its vector art at the device resolution instead of being enlarged from a small bitmap.
//
// QT_SCALE_FACTOR is read when the application object is made, so the program runs itself once
// per factor in a child process (TOLVARO_DPI_FACTOR names the factor of a child). The child at
// factor 1 writes the text and size measurements the later factors are held to. Screenshots of
// every state are left as PNG files in $TOLVARO_DPI_ARTEFACTS (default: the working directory).
#include <QtTest>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QStyleOptionButton>
#include <QSvgRenderer>
#include <QTextStream>
#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <vector>

#include "formfixture.h"
#include "window/controltable.h"
#include "window/screen/screenscale.h"
#include "window/widgets.h"

using namespace tolvaro;
using tolvaro::test::FormFixture;

namespace {

constexpr const char* kFactorVariable = "TOLVARO_DPI_FACTOR";
// 1.0625: where the window is made smaller than the desktop asks, to fit a small screen.
const char* const kFactors[] = {"1", "1.0625", "1.5", "2"};

// A picture matches its reference when the colours are this close on average (0-255 per
// channel) and its strongest edges keep at least this share of the reference's gradient.
// Measured at 1.5 and 2: the window's pictures drawn from their art differ by at most 0.01 and
// keep all of their edges; the same pictures enlarged from a 1x rendering differ by 5.8 to 17
// and keep 0.62 to 0.82; the button glyph squeezed by half a pixel differs by 5.1, keeps 0.895.
constexpr double kMaxMeanDiff = 3.0;
constexpr double kMinSharpness = 0.9;

// Logical pixels a text may lose beyond what it loses at factor 1 (rounding of the metrics).
constexpr int kTextSlack = 1;

QString ArtefactDir() {
    const QString dir = qEnvironmentVariable("TOLVARO_DPI_ARTEFACTS");
    return dir.isEmpty() ? QDir::currentPath() : dir;
}

// Per control: the logical pixels its text needs beyond its width and height, and its width.
QString MeasuresPath(const QString& factor) {
    return QStringLiteral("%1/highdpi-x%2-measures.tsv").arg(ArtefactDir(), factor);
}

const ControlSpec* EntryOf(const QString& name) {
    for (const ControlSpec& entry : MainWindowControls()) {
        if (name == QString::fromStdString(entry.ObjectName())) return &entry;
    }
    return nullptr;
}

// ---------------------------------------------------------------- image comparison

double Luma(QRgb p) { return 0.299 * qRed(p) + 0.587 * qGreen(p) + 0.114 * qBlue(p); }

// Sobel gradient magnitude of the luminance; the border row and column count as flat.
std::vector<double> Gradient(const QImage& image) {
    const int w = image.width();
    const int h = image.height();
    std::vector<double> luma(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < w; ++x) luma[static_cast<size_t>(y) * w + x] = Luma(line[x]);
    }
    std::vector<double> out(luma.size(), 0.0);
    auto at = [&](int x, int y) { return luma[static_cast<size_t>(y) * w + x]; };
    for (int y = 1; y + 1 < h; ++y) {
        for (int x = 1; x + 1 < w; ++x) {
            const double gx = (at(x + 1, y - 1) + 2 * at(x + 1, y) + at(x + 1, y + 1)) -
                              (at(x - 1, y - 1) + 2 * at(x - 1, y) + at(x - 1, y + 1));
            const double gy = (at(x - 1, y + 1) + 2 * at(x, y + 1) + at(x + 1, y + 1)) -
                              (at(x - 1, y - 1) + 2 * at(x, y - 1) + at(x + 1, y - 1));
            out[static_cast<size_t>(y) * w + x] = std::hypot(gx, gy);
        }
    }
    return out;
}

// Mean absolute difference per colour channel of two opaque pictures of the same size.
double MeanDiff(const QImage& candidateIn, const QImage& referenceIn) {
    const QImage candidate = candidateIn.convertToFormat(QImage::Format_RGB32);
    const QImage reference = referenceIn.convertToFormat(QImage::Format_RGB32);
    Q_ASSERT(candidate.size() == reference.size());
    double diff = 0;
    for (int y = 0; y < reference.height(); ++y) {
        const auto* c = reinterpret_cast<const QRgb*>(candidate.constScanLine(y));
        const auto* r = reinterpret_cast<const QRgb*>(reference.constScanLine(y));
        for (int x = 0; x < reference.width(); ++x) {
            diff += std::abs(qRed(c[x]) - qRed(r[x])) + std::abs(qGreen(c[x]) - qGreen(r[x])) +
                    std::abs(qBlue(c[x]) - qBlue(r[x]));
        }
    }
    return diff / (3.0 * reference.width() * reference.height());
}

struct Match {
    double meanDiff = 0;   // mean absolute difference per colour channel
    double sharpness = 0;  // strongest edges of the candidate against those of the reference
    bool passes() const { return meanDiff < kMaxMeanDiff && sharpness >= kMinSharpness; }
    QString describe() const {
        return QStringLiteral("mean diff %1 (limit %2), sharpness %3 (at least %4)")
            .arg(meanDiff, 0, 'f', 2).arg(kMaxMeanDiff).arg(sharpness, 0, 'f', 3).arg(kMinSharpness);
    }
};

// Compares two pictures of the same size. Sharpness sums the candidate's N strongest gradients
// against the reference's, N being the number of reference pixels on an edge (gradient at least
// a quarter of its maximum): a picture moved by a pixel keeps its edges, a blurred one does not.
Match Compare(const QImage& candidateIn, const QImage& referenceIn) {
    const QImage candidate = candidateIn.convertToFormat(QImage::Format_RGB32);
    const QImage reference = referenceIn.convertToFormat(QImage::Format_RGB32);
    Match match;
    match.meanDiff = MeanDiff(candidate, reference);

    std::vector<double> gc = Gradient(candidate);
    std::vector<double> gr = Gradient(reference);
    const double threshold = *std::max_element(gr.begin(), gr.end()) / 4;
    const auto edgePixels = static_cast<size_t>(std::count_if(gr.begin(), gr.end(), [&](double g) {
        return g >= threshold && g > 0;
    }));
    if (edgePixels == 0) {
        match.sharpness = 1;
        return match;
    }
    auto strongest = [edgePixels](std::vector<double>& g) {
        std::partial_sort(g.begin(), g.begin() + static_cast<std::ptrdiff_t>(edgePixels), g.end(),
                          std::greater<>());
        double sum = 0;
        for (size_t i = 0; i < edgePixels; ++i) sum += g[i];
        return sum;
    };
    match.sharpness = strongest(gc) / strongest(gr);
    return match;
}

// Draws an SVG into `rect` (logical units of `painter`) the way TImage does: stretched to the
// control, or at its natural size bounded by the control, from the top-left corner.
void RenderLikeTImage(QPainter& painter, QSvgRenderer& renderer, QSizeF control, bool stretch) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setClipRect(QRectF(QPointF(0, 0), control));
    if (stretch) {
        renderer.render(&painter, QRectF(QPointF(0, 0), control));
    } else {
        const QSize natural = renderer.defaultSize().boundedTo(control.toSize());
        renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(natural)));
    }
}

QImage ToArgb(const QImage& image) { return image.convertToFormat(QImage::Format_ARGB32_Premultiplied); }

// ---------------------------------------------------------------- measurements

// What a label or button's text needs beyond its rectangle, in logical pixels.
struct TextFit {
    int lossW = 0;
    int lossH = 0;
    int width = 0;  // the control's width (auto-sized labels follow their text)
};

TextFit MeasureText(QWidget* widget) {
    TextFit fit;
    fit.width = widget->width();
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        if (label->wordWrap()) {
            fit.lossH = std::max(0, label->heightForWidth(label->width()) - label->height());
        } else {
            const QSize hint = label->sizeHint();
            fit.lossW = std::max(0, hint.width() - label->width());
            fit.lossH = std::max(0, hint.height() - label->height());
        }
    } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        const QRect contents = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        const QFontMetrics metrics(button->font());
        fit.lossW = std::max(0, metrics.horizontalAdvance(button->text()) - contents.width());
        fit.lossH = std::max(0, metrics.height() - contents.height());
    }
    return fit;
}

}  // namespace

class TestHighDpi : public QObject {
    Q_OBJECT

public:
    explicit TestHighDpi(QString factorText) : factorText_(std::move(factorText)), factor_(factorText_.toDouble()) {}

private slots:
    void initTestCase();
    void windowKeepsItsLogicalSize();
    void controlsKeepTheirPlaces_data();
    void controlsKeepTheirPlaces();
    void textsFit_data();
    void textsFit();
    void picturesAreSharp_data();
    void picturesAreSharp();
    void noDropCursorMatchesTheScreen();
    void scaleFitsTheScreen_data();
    void scaleFitsTheScreen();
    void waylandRoomScalesText_data();
    void waylandRoomScalesText();
    void cleanupTestCase();

private:
    enum class State { Main, About, Results };
    void SetState(State state);
    QImage Shot();
    QString Tag(const QString& what) const { return QStringLiteral("x%1 %2").arg(factorText_, what); }
    // The aligned device rectangle of a control in the window's screenshot and the exact one.
    QRect DeviceRect(QWidget* widget, QRectF* exact = nullptr) const;
    bool ReadBaseline();
    void WriteMeasures() const;

    QString factorText_;
    double factor_;
    std::unique_ptr<FormFixture> fixture_;
    QMap<QString, TextFit> fits_;      // every label or button with a text, at this factor
    QMap<QString, TextFit> baseline_;  // the same at factor 1
    bool haveBaseline_ = false;
};

void TestHighDpi::initTestCase() {
    ConfigureApplication(*qApp);
    QVERIFY2(qFuzzyCompare(qApp->devicePixelRatio(), factor_),
             qPrintable(QStringLiteral("application ratio %1").arg(qApp->devicePixelRatio())));
    fixture_ = std::make_unique<FormFixture>();
    QVERIFY(fixture_->form);
    TForm1& form = *fixture_->form;
    // Widest texts the changing labels show in use.
    form.SetText(Row(RowPart::Grondtal, 1), "999999");
    form.SetText(Row(RowPart::Exponent, 1), "99");
    form.SetText(Row(RowPart::Kontrol, 1), "FOUT");
    form.SetText(Row(RowPart::Kontrol, 2), "GOED");
    form.SetText(Control::KlokVenster, "88:88");
    form.SetText(Control::Reeksteller, "99");
    form.SetText(Control::Label6, "990");
    form.SetText(Control::Label8, "990");
    form.SetText(Control::Label48, "990");
    form.SetText(Control::Label49, "990");
    form.SetText(Control::Label51, "100");

    // Each state once: measured (hidden panels size their labels when first shown) and kept.
    for (const auto& [state, name] : {std::pair{State::Results, "results"}, std::pair{State::About, "about"},
                                      std::pair{State::Main, "main"}}) {
        SetState(state);
        const QPixmap shot = form.grab();
        const QString file = QStringLiteral("%1/highdpi-x%2-%3.png").arg(ArtefactDir(), factorText_, name);
        QVERIFY2(shot.save(file), qPrintable(file));
    }
    for (QWidget* widget : form.findChildren<QWidget*>()) {
        const bool label = qobject_cast<QLabel*>(widget) && !static_cast<QLabel*>(widget)->text().isEmpty();
        const bool button = qobject_cast<QPushButton*>(widget) && !static_cast<QPushButton*>(widget)->text().isEmpty();
        if ((label || button) && EntryOf(widget->objectName())) fits_.insert(widget->objectName(), MeasureText(widget));
    }
    WriteMeasures();
    if (qFuzzyCompare(factor_, 1.0)) {
        baseline_ = fits_;
        haveBaseline_ = true;
    } else {
        haveBaseline_ = ReadBaseline();
    }
}

void TestHighDpi::cleanupTestCase() { fixture_.reset(); }

void TestHighDpi::SetState(State state) {
    TForm1& form = *fixture_->form;
    form.SetVisible(Control::Panel3, state == State::Results);
    form.SetVisible(Control::Info, state == State::About);
}

// The window in device pixels; the images made from it are painted on in device pixels.
QImage TestHighDpi::Shot() {
    QImage image = fixture_->form->grab().toImage();
    image.setDevicePixelRatio(1);
    return image;
}

QRect TestHighDpi::DeviceRect(QWidget* widget, QRectF* exact) const {
    const QRectF logical(widget->mapTo(fixture_->form.get(), QPoint(0, 0)), widget->size());
    const QRectF device(logical.topLeft() * factor_, logical.size() * factor_);
    if (exact) *exact = device;
    return device.toAlignedRect();
}

void TestHighDpi::WriteMeasures() const {
    QFile file(MeasuresPath(factorText_));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        qWarning("cannot write %s", qPrintable(file.fileName()));
        return;
    }
    QTextStream out(&file);
    for (auto it = fits_.cbegin(); it != fits_.cend(); ++it) {
        out << it.key() << '\t' << it->lossW << '\t' << it->lossH << '\t' << it->width << '\n';
    }
}

bool TestHighDpi::ReadBaseline() {
    QFile file(MeasuresPath(QStringLiteral("1")));
    if (!file.open(QIODevice::ReadOnly)) return false;
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QStringList fields = in.readLine().split(u'\t');
        if (fields.size() != 4) continue;
        baseline_.insert(fields[0], {fields[1].toInt(), fields[2].toInt(), fields[3].toInt()});
    }
    return !baseline_.isEmpty();
}

void TestHighDpi::windowKeepsItsLogicalSize() {
    TForm1& form = *fixture_->form;
    QCOMPARE(form.size(), QSize(809, 646));
    QCOMPARE(form.rect(), form.contentsRect());
    QVERIFY(form.windowHandle());
    QCOMPARE(form.windowHandle()->size(), QSize(809, 646));
    QVERIFY(qFuzzyCompare(form.windowHandle()->devicePixelRatio(), factor_));
    QVERIFY(qFuzzyCompare(form.devicePixelRatioF(), factor_));
    const QPixmap shot = form.grab();
    QVERIFY(qFuzzyCompare(shot.devicePixelRatio(), factor_));
    QCOMPARE(shot.size(), QSize(809, 646) * factor_);
}

void TestHighDpi::controlsKeepTheirPlaces_data() {
    QTest::addColumn<QString>("name");
    for (const ControlSpec& entry : MainWindowControls()) {
        QTest::newRow(qPrintable(Tag(QString::fromStdString(entry.ObjectName())))) << QString::fromStdString(entry.ObjectName());
    }
}

// Logical geometry is the table's at every factor, so the device geometry scales with the
// factor; an auto-sized label keeps its anchored edge and follows its text.
void TestHighDpi::controlsKeepTheirPlaces() {
    QFETCH(QString, name);
    const ControlSpec& entry = *EntryOf(name);
    QWidget* widget = fixture_->form->findChild<QWidget*>(name);
    QVERIFY(widget);
    const QRect table(entry.x, entry.y, entry.width, entry.height);
    const QRect actual = widget->geometry();
    if (!(entry.flags & AutoSize) || !fits_.contains(name)) {
        QCOMPARE(actual, table);
        return;
    }
    QCOMPARE(actual.y(), table.y());
    QCOMPARE(actual.height(), table.height());
    if (entry.flags & AlignRight) {
        QCOMPARE(actual.right(), table.right());
    } else {
        QCOMPARE(actual.x(), table.x());
    }
    QCOMPARE(actual.width(), static_cast<QLabel*>(widget)->sizeHint().width());
    if (haveBaseline_ && baseline_.contains(name)) {
        QVERIFY2(std::abs(actual.width() - baseline_[name].width) <= 2,
                 qPrintable(QStringLiteral("width %1, at factor 1 %2").arg(actual.width()).arg(baseline_[name].width)));
    }
}

void TestHighDpi::textsFit_data() {
    QTest::addColumn<QString>("name");
    for (auto it = fits_.cbegin(); it != fits_.cend(); ++it) QTest::newRow(qPrintable(Tag(it.key()))) << it.key();
}

// Auto-sized labels lose nothing; other controls lose no more of their text than at factor 1.
void TestHighDpi::textsFit() {
    QFETCH(QString, name);
    const TextFit fit = fits_.value(name);
    const ControlSpec& entry = *EntryOf(name);
    if (entry.kind == Kind::Label && (entry.flags & AutoSize)) QCOMPARE(fit.lossW, 0);
    if (!haveBaseline_) QSKIP("no measurements of factor 1 (run the program without TOLVARO_DPI_FACTOR)");
    QVERIFY(baseline_.contains(name));
    const TextFit at1 = baseline_.value(name);
    QVERIFY2(fit.lossW <= at1.lossW + kTextSlack && fit.lossH <= at1.lossH + kTextSlack,
             qPrintable(QStringLiteral("text overflows by %1x%2 logical pixels, at factor 1 by %3x%4")
                            .arg(fit.lossW).arg(fit.lossH).arg(at1.lossW).arg(at1.lossH)));
}

void TestHighDpi::picturesAreSharp_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("enlarged");  // compare a 1x rendering enlarged to the device size instead
    for (const ControlSpec& entry : MainWindowControls()) {
        if (!entry.picture) continue;
        const QString name = QString::fromStdString(entry.ObjectName());
        QTest::newRow(qPrintable(Tag(name))) << name << false;
        // At factor 1 an enlarged rendering is the rendering itself; enlarged by a sixteenth, it
        // is too little blurred for the comparison to tell.
        if (factor_ >= 1.125) QTest::newRow(qPrintable(Tag(name + QStringLiteral(" enlarged from 1x")))) << name << true;
    }
}

// Each picture's part of the screenshot against its SVG rendered straight at the device size
// onto the same background (the screenshot without the picture). The enlarged rows show that
// the comparison tells a picture blown up from a small rendering apart: those must not pass.
void TestHighDpi::picturesAreSharp() {
    QFETCH(QString, name);
    QFETCH(bool, enlarged);
    const ControlSpec& entry = *EntryOf(name);
    QWidget* widget = fixture_->form->findChild<QWidget*>(name);
    QVERIFY(widget);
    SetState(widget->parentWidget()->objectName() == QLatin1String("Info") ? State::About : State::Main);
    QVERIFY(widget->isVisible());
    QSvgRenderer renderer(QString::fromLatin1(entry.picture));
    QVERIFY(renderer.isValid());

    QRectF exact;
    const QRect area = DeviceRect(widget, &exact);
    const QImage shot = Shot();
    QVERIFY(shot.rect().contains(area));
    const QImage actual = shot.copy(area);

    QImage candidate;
    QImage reference;
    auto* button = qobject_cast<QPushButton*>(widget);
    if (!button) {
        widget->hide();
        const QImage background = ToArgb(Shot().copy(area));
        widget->show();
        const QPointF offset = exact.topLeft() - QPointF(area.topLeft());
        reference = background;
        {
            QPainter painter(&reference);
            painter.translate(offset);
            painter.scale(factor_, factor_);
            RenderLikeTImage(painter, renderer, widget->size(), entry.stretch);
        }
        if (enlarged) {
            QImage small = ToArgb(background.scaled(widget->size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
            {
                QPainter painter(&small);
                RenderLikeTImage(painter, renderer, widget->size(), entry.stretch);
            }
            candidate = background;
            QPainter painter(&candidate);
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            painter.drawImage(QRectF(offset, exact.size()), small);
        } else {
            candidate = actual;
        }
    } else {
        // The button's style places the glyph: find where it lies in the screenshot. The glyph
        // keeps the picture's aspect within the icon size.
        const QIcon icon = button->icon();
        QVERIFY(!icon.isNull());
        button->setIcon(QIcon());
        const QImage background = ToArgb(Shot().copy(area));
        button->setIcon(icon);
        const QSize logical = renderer.defaultSize().scaled(button->iconSize(), Qt::KeepAspectRatio);
        const QSize nominal = (QSizeF(logical) * factor_).toSize();
        auto glyph = [&](QSize device, bool fromSmall) {
            QImage image(device, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            if (fromSmall) {
                QImage small(logical, QImage::Format_ARGB32_Premultiplied);
                small.fill(Qt::transparent);
                QPainter smallPainter(&small);
                smallPainter.setRenderHint(QPainter::Antialiasing);
                renderer.render(&smallPainter, QRectF(QPointF(0, 0), QSizeF(logical)));
                smallPainter.end();
                painter.setRenderHint(QPainter::SmoothPixmapTransform);
                painter.drawImage(image.rect(), small);
            } else {
                renderer.render(&painter, QRectF(image.rect()));
            }
            return image;
        };
        auto onBackground = [&](const QImage& glyphImage, QPoint at) {
            QImage image = background;
            QPainter painter(&image);
            painter.drawImage(at, glyphImage);
            return image;
        };
        double best = 1e9;
        QImage bestGlyph;
        QPoint bestAt;
        for (int grow = -1; grow <= 1; ++grow) {
            const QImage sharp = glyph(nominal + QSize(grow, grow), false);
            for (int y = 0; y + sharp.height() <= area.height(); ++y) {
                for (int x = 0; x + sharp.width() <= area.width(); ++x) {
                    const double diff = MeanDiff(actual, onBackground(sharp, {x, y}));
                    if (diff < best) {
                        best = diff;
                        bestGlyph = sharp;
                        bestAt = {x, y};
                    }
                }
            }
        }
        QVERIFY(!bestGlyph.isNull());
        // Only the glyph (and a pixel around it) is compared: the button face would dilute it.
        const QRect glyphArea = QRect(bestAt, bestGlyph.size()).adjusted(-1, -1, 1, 1) & actual.rect();
        reference = onBackground(bestGlyph, bestAt).copy(glyphArea);
        candidate = (enlarged ? onBackground(glyph(bestGlyph.size(), true), bestAt) : actual).copy(glyphArea);
    }

    const Match match = Compare(candidate, reference);
    qInfo("%s: %s", qPrintable(name), qPrintable(match.describe()));
    if (enlarged) {
        QVERIFY2(!match.passes(), qPrintable(QStringLiteral("an enlarged picture passed: ") + match.describe()));
        return;
    }
    if (!match.passes()) {
        const QString base = QStringLiteral("%1/highdpi-x%2-%3").arg(ArtefactDir(), factorText_, name);
        actual.save(base + QStringLiteral("-actual.png"));
        reference.save(base + QStringLiteral("-reference.png"));
    }
    QVERIFY2(match.passes(), qPrintable(match.describe()));
}

// The program's own pointer is drawn for the screen's pixel ratio, hot spot in logical pixels.
void TestHighDpi::noDropCursorMatchesTheScreen() {
    const QCursor cursor = NoDropCursor();
    QCOMPARE(cursor.shape(), Qt::BitmapCursor);
    const QPixmap pixmap = cursor.pixmap();
    QVERIFY2(qFuzzyCompare(pixmap.devicePixelRatio(), factor_),
             qPrintable(QStringLiteral("pointer drawn at ratio %1").arg(pixmap.devicePixelRatio())));
    QCOMPARE(pixmap.deviceIndependentSize(), QSizeF(32, 32));
    QCOMPARE(cursor.hotSpot(), QPoint(1, 1));
    QVERIFY(qFuzzyCompare(fixture_->form->cursor().pixmap().devicePixelRatio(), factor_));
}

void TestHighDpi::scaleFitsTheScreen_data() {
    QTest::addColumn<double>("desktop");
    QTest::addColumn<QSize>("area");
    QTest::addColumn<QMargins>("frame");
    QTest::addColumn<double>("expected");
    const QMargins openbox(1, 20, 1, 1);
    // The layout with a pixel to spare on every side, frame and all: 811 x 648 at scale 1.
    QTest::newRow("room at the desktop's scale") << 1.0 << QSize(1280, 1024) << openbox << 1.0;
    QTest::newRow("room to spare at 2") << 2.0 << QSize(3840, 2120) << openbox << 2.0;
    QTest::newRow("desktop scale just fits") << 1.25 << QSize(1016, 831) << openbox << 1.25;
    // Otherwise the largest sixteenth that fits.
    QTest::newRow("120 dpi above a panel") << 1.25 << QSize(1366, 728) << openbox << 17.0 / 16;
    QTest::newRow("the next sixteenth just fits") << 1.25 << QSize(1366, 750) << openbox << 18.0 / 16;
    QTest::newRow("narrow and tall") << 2.0 << QSize(1200, 1600) << openbox << 23.0 / 16;
    QTest::newRow("too small at 1") << 1.0 << QSize(1024, 560) << openbox << 1.0;
    QTest::newRow("too small at 1, desktop at 1.5") << 1.5 << QSize(1024, 560) << openbox << 1.0;
    QTest::newRow("desktop below 1, too small even so") << 0.75 << QSize(1024, 400) << openbox << 0.75;
    QTest::newRow("Wayland at 2, its decoration") << 2.0 << QSize(1366, 768) << QMargins(6, 60, 6, 6) << 17.0 / 16;
}

// The desktop's scale where the window fits, else the largest sixteenth that fits, not below 1.
void TestHighDpi::scaleFitsTheScreen() {
    if (!qFuzzyCompare(factor_, 1.0)) QSKIP("arithmetic alone: once is enough");
    QFETCH(double, desktop);
    QFETCH(QSize, area);
    QFETCH(QMargins, frame);
    QFETCH(double, expected);
    QCOMPARE(FittingScale(TForm1::kClientSize, ScreenRoom{desktop, area, frame}), expected);
}

void TestHighDpi::waylandRoomScalesText_data() {
    QTest::addColumn<QSize>("output");
    QTest::addColumn<int>("outputScale");
    QTest::addColumn<double>("textScaling");
    QTest::addColumn<bool>("gnome");
    QTest::addColumn<double>("expected");
    // Qt's decoration of 3 px around and a 30 px title bar; GNOME's top bar of 32 px; all at the output's scale.
    QTest::newRow("text at 1.25") << QSize(1920, 1080) << 1 << 1.25 << false << 1.25;
    QTest::newRow("text at 0.9") << QSize(1920, 1080) << 1 << 0.9 << false << 0.9;
    QTest::newRow("text at 1.5 at 200 %") << QSize(3840, 2160) << 2 << 1.5 << true << 3.0;
    QTest::newRow("200 %, no top bar") << QSize(1920, 1080) << 2 << 1.0 << false << 25.0 / 16;
    QTest::newRow("200 %, below GNOME's top bar") << QSize(1920, 1080) << 2 << 1.0 << true << 23.0 / 16;
    QTest::newRow("text at 1.25, below GNOME's top bar") << QSize(1366, 768) << 1 << 1.25 << true << 17.0 / 16;
}

// GNOME's text scaling on Wayland enlarges the window as Xft.dpi does on X11, as far as it fits.
void TestHighDpi::waylandRoomScalesText() {
    if (!qFuzzyCompare(factor_, 1.0)) QSKIP("arithmetic alone: once is enough");
    QFETCH(QSize, output);
    QFETCH(int, outputScale);
    QFETCH(double, textScaling);
    QFETCH(bool, gnome);
    QFETCH(double, expected);
    const ScreenRoom room = WaylandRoom(WaylandOutput{output, outputScale}, 1, textScaling, gnome);
    QCOMPARE(room.qtScale, double(outputScale));
    QCOMPARE(FittingScale(TForm1::kClientSize, room), expected);
}

// ---------------------------------------------------------------- one child process per factor

namespace {

int RunEveryFactor(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    for (const char* factor : kFactors) QFile::remove(MeasuresPath(QString::fromLatin1(factor)));
    int failed = 0;
    for (const char* factor : kFactors) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(kFactorVariable), QString::fromLatin1(factor));
        env.insert(QStringLiteral("QT_SCALE_FACTOR"), QString::fromLatin1(factor));
        env.remove(QStringLiteral("QT_SCREEN_SCALE_FACTORS"));
        env.remove(QStringLiteral("QT_AUTO_SCREEN_SCALE_FACTOR"));
        env.remove(QStringLiteral("QT_ENABLE_HIGHDPI_SCALING"));
        if (!env.contains(QStringLiteral("QT_QPA_PLATFORM"))) env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        QProcess child;
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(QCoreApplication::applicationFilePath(), app.arguments().mid(1));
        const bool finished = child.waitForStarted() && child.waitForFinished(120'000);
        if (!finished) child.kill();
        const bool ok = finished && child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0;
        std::fprintf(stdout, "scale factor %s: %s\n", factor, ok ? "passed" : "FAILED");
        std::fflush(stdout);
        if (!ok) ++failed;
    }
    return failed;
}

}  // namespace

int main(int argc, char** argv) {
    const QByteArray factor = qgetenv(kFactorVariable);
    if (factor.isEmpty()) return RunEveryFactor(argc, argv);
    qputenv("QT_SCALE_FACTOR", factor);
    QApplication app(argc, argv);
    TestHighDpi test{QString::fromLatin1(factor)};
    return QTest::qExec(&test, argc, argv);
}

#include "test_highdpi.moc"
