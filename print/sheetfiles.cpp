#include "print/sheetfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStandardPaths>

#include <cstdio>
#include <vector>

#include <unistd.h>

namespace tolvaro {
namespace {

const QString kSolutionsSuffix = QStringLiteral(" - oplossingen");
constexpr int kMaxNameChars = 80;
// Far enough below the 255 bytes most file systems allow for a name to leave room for
// " - oplossingen (n).pdf".
constexpr int kMaxNameBytes = 180;

// Characters that end a path or that Windows file systems, and so most USB sticks, refuse.
bool Refused(char32_t c) { return c < 0x80 && QStringView(u"/\\:*?\"<>|").contains(QChar(c)); }

// Characters that don't belong in a name at all: control and format characters (these include
// the direction overrides that can make "fdp.exe" look like "exe.pdf") and lone surrogates.
bool Dropped(char32_t c) {
    const QChar::Category category = QChar::category(c);
    return category == QChar::Other_Control || category == QChar::Other_Format ||
           category == QChar::Other_Surrogate;
}

bool TrimmedAway(char32_t c) { return c == U' ' || c == U'.'; }

QString FromCodePoints(const std::vector<char32_t>& chars) {
    return QString::fromUcs4(chars.data(), static_cast<qsizetype>(chars.size()));
}

QString Sibling(const QString& file, const QString& nameSuffix) {
    const QFileInfo info(file);
    const QString extension = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
    return QDir(info.path()).filePath(info.completeBaseName() + nameSuffix + extension);
}

bool Taken(const QString& file) {
    const QFileInfo info(file);
    return info.exists() || info.isSymLink();
}

}  // namespace

QString SafeFileName(const QString& title) {
    std::vector<char32_t> name;
    bool space = false;
    for (const char32_t c : title.toUcs4()) {
        if (QChar::isSpace(c)) {
            space = true;
            continue;
        }
        if (Dropped(c)) continue;
        if (space && !name.empty()) name.push_back(U' ');
        space = false;
        name.push_back(Refused(c) ? U'_' : c);
    }
    // No hidden file, and nothing that Windows would quietly drop at the end.
    while (!name.empty() && TrimmedAway(name.front())) name.erase(name.begin());
    if (name.size() > kMaxNameChars) name.resize(kMaxNameChars);
    while (!name.empty() && FromCodePoints(name).toUtf8().size() > kMaxNameBytes) name.pop_back();
    while (!name.empty() && TrimmedAway(name.back())) name.pop_back();
    return name.empty() ? QStringLiteral("Oefening") : FromCodePoints(name);
}

QString SheetName(SheetKind kind, const QString& title) {
    return SafeFileName(title) + (kind == SheetKind::Solutions ? kSolutionsSuffix : QString());
}

QString ProposedSheetFile(const QString& title, const QString& folder) {
    QString dir = folder;
    if (dir.isEmpty() || !QFileInfo(dir).isDir())
        dir = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (dir.isEmpty() || !QFileInfo(dir).isDir()) dir = QDir::homePath();
    return QDir(dir).filePath(SheetName(SheetKind::Exercises, title) + QStringLiteral(".pdf"));
}

QString SolutionsFile(const QString& sheetFile) { return Sibling(sheetFile, kSolutionsSuffix); }

QString FreeFile(const QString& file) {
    if (!Taken(file)) return file;
    for (int n = 2;; ++n) {
        const QString candidate = Sibling(file, QStringLiteral(" (%1)").arg(n));
        if (!Taken(candidate)) return candidate;
    }
}

QString FollowLinks(const QString& file) {
    QFileInfo info(file);
    // The depth at which the system itself gives up on a chain of links.
    for (int depth = 0; depth < 40 && info.isSymLink(); ++depth) info.setFile(info.symLinkTarget());
    return info.filePath();
}

QString StartFileBeside(const QString& file) {
    const QFileInfo info(file);
    const QDir folder(info.absolutePath());
    for (int attempt = 0; attempt < 100; ++attempt) {
        const quint32 tag = QRandomGenerator::global()->generate();
        const QString name =
            folder.filePath(QStringLiteral(".%1.%2.part").arg(info.fileName()).arg(tag, 8, 16, QLatin1Char('0')));
        QFile partial(name);
        if (partial.open(QIODevice::WriteOnly | QIODevice::NewOnly)) return name;
        if (!QFileInfo(name).isSymLink() && !QFileInfo::exists(name)) break;  // the folder refuses it
    }
    return {};
}

bool IsWholePdf(const QString& file) {
    QFile pdf(file);
    if (!pdf.open(QIODevice::ReadOnly)) return false;
    const QByteArray data = pdf.readAll();
    if (!data.startsWith("%PDF-") || !data.trimmed().endsWith("%%EOF")) return false;
    // The end names where the cross-reference table begins; a file cut short and ended by chance
    // would have to get that right as well.
    const qsizetype start = data.lastIndexOf("startxref");
    if (start < 0) return false;
    bool ok = false;
    const qlonglong table = data.mid(start + 9, data.lastIndexOf("%%EOF") - start - 9).trimmed().toLongLong(&ok);
    return ok && table >= 0 && table < start && data.mid(table, 4) == "xref";
}

bool PutInPlace(const QString& written, const QString& file) {
    QFile done(written);
    if (!done.open(QIODevice::ReadOnly) || ::fsync(done.handle()) != 0) return false;
    done.close();
    return std::rename(QFile::encodeName(written).constData(), QFile::encodeName(file).constData()) == 0;
}

QString WriteFailureReason(const QString& file) {
    const QFileInfo info(file);
    const QFileInfo folder(info.absolutePath());
    if (!folder.isDir()) return QStringLiteral("de map \"%1\" bestaat niet").arg(folder.filePath());
    // The file is written beside its place first, so the folder must take a new file as well.
    if ((info.exists() && !info.isWritable()) || !folder.isWritable())
        return QStringLiteral("u hebt geen toestemming om daar te schrijven");
    return QStringLiteral("het bestand kan niet worden geschreven");
}

}  // namespace tolvaro
