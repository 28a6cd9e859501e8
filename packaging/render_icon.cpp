// Build-time tool: renders the program's SVG icon into the PNG sizes of the hicolor icon theme,
//   tolvaro_render_icon <icon.svg> <theme dir> <name> <size>...
// writing <theme dir>/<size>x<size>/apps/<name>.png for every size. Not installed.
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>

#include <cstdio>

namespace {

int Fail(const QString& message) {
    std::fprintf(stderr, "tolvaro_render_icon: %s\n", qPrintable(message));
    return 1;
}

// True when at least one pixel is not fully transparent: a renderer that quietly draws nothing
// must not end up as an invisible icon in the menu.
bool HasVisiblePixels(const QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(line[x]) != 0) return true;
        }
    }
    return false;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 5) {
        return Fail(QStringLiteral("usage: tolvaro_render_icon <icon.svg> <theme dir> <name> <size>..."));
    }
    const QString source = QString::fromLocal8Bit(argv[1]);
    const QString themeDir = QString::fromLocal8Bit(argv[2]);
    const QString name = QString::fromLocal8Bit(argv[3]);

    QSvgRenderer renderer(source);
    if (!renderer.isValid()) return Fail(QStringLiteral("cannot read %1").arg(source));

    for (int i = 4; i < argc; ++i) {
        bool ok = false;
        const int size = QString::fromLocal8Bit(argv[i]).toInt(&ok);
        if (!ok || size <= 0 || size > 1024) return Fail(QStringLiteral("bad size '%1'").arg(argv[i]));

        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            renderer.render(&painter, QRectF(0, 0, size, size));
        }
        if (!HasVisiblePixels(image)) return Fail(QStringLiteral("%1 renders empty at %2 px").arg(source).arg(size));

        const QString dir = QStringLiteral("%1/%2x%2/apps").arg(themeDir).arg(size);
        if (!QDir().mkpath(dir)) return Fail(QStringLiteral("cannot create %1").arg(dir));
        const QString target = QStringLiteral("%1/%2.png").arg(dir, name);
        // Straight (not premultiplied) alpha is what PNG stores.
        if (!image.convertToFormat(QImage::Format_ARGB32).save(target, "PNG")) {
            return Fail(QStringLiteral("cannot write %1").arg(target));
        }
    }
    return 0;
}
