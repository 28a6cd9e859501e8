// Reading printed PDF files back with poppler's command-line tools, for the print tests.
#pragma once

#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace pdftools {

inline bool Available(const QString& program) { return !QStandardPaths::findExecutable(program).isEmpty(); }

// Runs a tool and returns its standard output; `ok` tells whether it ran and exited with 0.
inline QString Run(const QString& program, const QStringList& args, bool* ok = nullptr) {
    QProcess process;
    process.start(program, args);
    const bool done = process.waitForFinished(60000);
    const bool success = done && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    if (ok) *ok = success;
    return QString::fromUtf8(process.readAllStandardOutput());
}

inline int PageCount(const QString& pdf) {
    const QRegularExpression pages(QStringLiteral("^Pages:\\s+(\\d+)"), QRegularExpression::MultilineOption);
    const QRegularExpressionMatch m = pages.match(Run(QStringLiteral("pdfinfo"), {pdf}));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

inline QString Title(const QString& pdf) {
    const QRegularExpression title(QStringLiteral("^Title:[ \\t]*(.*)$"), QRegularExpression::MultilineOption);
    const QRegularExpressionMatch m = title.match(Run(QStringLiteral("pdfinfo"), {pdf}));
    return m.hasMatch() ? m.captured(1).trimmed() : QString();
}

// The fonts of the file as "name emb" pairs, e.g. "ABCDEF+LiberationSerif yes".
inline QStringList Fonts(const QString& pdf) {
    QStringList fonts;
    const QStringList lines = Run(QStringLiteral("pdffonts"), {pdf}).split(QLatin1Char('\n'));
    const QRegularExpression row(
        QStringLiteral("^(\\S+)\\s.*\\s(yes|no)\\s+(yes|no)\\s+(yes|no)\\s+\\d+\\s+\\d+\\s*$"));
    for (const QString& line : lines) {
        const QRegularExpressionMatch m = row.match(line);
        if (m.hasMatch()) fonts << m.captured(1) + QLatin1Char(' ') + m.captured(2);
    }
    return fonts;
}

// The text of the file as pdftotext -layout reads it, without empty lines and with all
// whitespace removed from each line: what is left must be the printed characters in order.
inline QStringList SqueezedLines(const QString& pdf) {
    QStringList squeezed;
    const QString text = Run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    for (QString line : text.split(QLatin1Char('\n'))) {
        line.remove(QRegularExpression(QStringLiteral("[\\s\\f]")));
        if (!line.isEmpty()) squeezed << line;
    }
    return squeezed;
}

inline QStringList Squeezed(const std::vector<std::string>& lines) {
    QStringList squeezed;
    for (const std::string& line : lines) {
        QString s = QString::fromStdString(line);
        s.remove(QRegularExpression(QStringLiteral("\\s")));
        if (!s.isEmpty()) squeezed << s;
    }
    return squeezed;
}

// A word of the text layer with its box in points from the top left of its page.
struct Word {
    int page = 0;
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
    QString text;
};

struct Layout {
    double pageWidth = 0, pageHeight = 0;
    std::vector<Word> words;
};

inline Layout Words(const QString& pdf) {
    Layout layout;
    const QString html = Run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    const QRegularExpression token(QStringLiteral(
        "<page width=\"([\\d.]+)\" height=\"([\\d.]+)\">|<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" "
        "xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
    int page = 0;
    for (auto it = token.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (!m.captured(1).isEmpty()) {
            ++page;
            layout.pageWidth = m.captured(1).toDouble();
            layout.pageHeight = m.captured(2).toDouble();
            continue;
        }
        layout.words.push_back({page, m.captured(3).toDouble(), m.captured(4).toDouble(), m.captured(5).toDouble(),
                                m.captured(6).toDouble(), m.captured(7)});
    }
    return layout;
}

// The words grouped into text lines (same page, same top), top to bottom, left to right.
inline std::vector<std::vector<Word>> Lines(const Layout& layout) {
    std::vector<Word> words = layout.words;
    std::sort(words.begin(), words.end(), [](const Word& a, const Word& b) {
        if (a.page != b.page) return a.page < b.page;
        if (std::abs(a.yMin - b.yMin) > 1.0) return a.yMin < b.yMin;
        return a.xMin < b.xMin;
    });
    std::vector<std::vector<Word>> lines;
    for (const Word& w : words) {
        if (lines.empty() || lines.back().front().page != w.page || std::abs(lines.back().front().yMin - w.yMin) > 1.0)
            lines.emplace_back();
        lines.back().push_back(w);
    }
    return lines;
}

// A vertical stroke found on a rendered page.
struct Stroke {
    double x = 0;  // centre of the stroke
    int top = 0, bottom = 0;
};

// Vertical strokes of dark pixels at least `minLength` pixels long and at most `maxWidth` wide:
// on a worksheet rendered at 100 dpi these are the vertical bars, nothing else.
inline std::vector<Stroke> VerticalStrokes(const QImage& page, int minLength, int maxWidth = 4) {
    const QImage gray = page.convertToFormat(QImage::Format_Grayscale8);
    auto dark = [&](int x, int y) { return gray.constScanLine(y)[x] < 140; };
    struct Run {
        int x, top, bottom;
    };
    std::vector<Run> runs;
    for (int x = 0; x < gray.width(); ++x) {
        int start = -1;
        for (int y = 0; y <= gray.height(); ++y) {
            const bool d = y < gray.height() && dark(x, y);
            if (d && start < 0) start = y;
            if (!d && start >= 0) {
                if (y - start >= minLength) runs.push_back({x, start, y - 1});
                start = -1;
            }
        }
    }
    // Runs in neighbouring columns that overlap vertically belong to one stroke.
    std::vector<Stroke> strokes;
    std::vector<bool> used(runs.size(), false);
    for (std::size_t i = 0; i < runs.size(); ++i) {
        if (used[i]) continue;
        used[i] = true;
        int xMin = runs[i].x, xMax = runs[i].x, top = runs[i].top, bottom = runs[i].bottom;
        double sum = runs[i].x;
        int count = 1;
        for (bool grown = true; grown;) {
            grown = false;
            for (std::size_t j = 0; j < runs.size(); ++j) {
                if (used[j] || runs[j].x < xMin - 1 || runs[j].x > xMax + 1) continue;
                if (runs[j].bottom < top || runs[j].top > bottom) continue;
                used[j] = true;
                grown = true;
                xMin = std::min(xMin, runs[j].x);
                xMax = std::max(xMax, runs[j].x);
                top = std::min(top, runs[j].top);
                bottom = std::max(bottom, runs[j].bottom);
                sum += runs[j].x;
                ++count;
            }
        }
        if (xMax - xMin + 1 <= maxWidth) strokes.push_back({sum / count, top, bottom});
    }
    std::sort(strokes.begin(), strokes.end(), [](const Stroke& a, const Stroke& b) { return a.top < b.top; });
    return strokes;
}

}  // namespace pdftools
