#include "print/sheetfiles.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <vector>

namespace tolvaro {
namespace {

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

QString ProposedSheetFile(const QString& title, const QString& folder) {
    QString dir = folder;
    if (dir.isEmpty() || !QFileInfo(dir).isDir())
        dir = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (dir.isEmpty() || !QFileInfo(dir).isDir()) dir = QDir::homePath();
    return QDir(dir).filePath(SafeFileName(title) + QStringLiteral(".pdf"));
}

QString SolutionsFile(const QString& sheetFile) { return Sibling(sheetFile, QStringLiteral(" - oplossingen")); }

QString FreeFile(const QString& file) {
    if (!Taken(file)) return file;
    for (int n = 2;; ++n) {
        const QString candidate = Sibling(file, QStringLiteral(" (%1)").arg(n));
        if (!Taken(candidate)) return candidate;
    }
}

QString WriteFailureReason(const QString& file) {
    const QFileInfo info(file);
    const QFileInfo folder(info.absolutePath());
    if (!folder.isDir()) return QStringLiteral("de map \"%1\" bestaat niet").arg(folder.filePath());
    if (info.exists() ? !info.isWritable() : !folder.isWritable())
        return QStringLiteral("u hebt geen toestemming om daar te schrijven");
    return QStringLiteral("het bestand kan niet worden geschreven");
}

}  // namespace tolvaro
