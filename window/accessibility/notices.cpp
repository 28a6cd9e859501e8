#include "window/accessibility/notices.h"

#include <QFileInfo>

namespace tolvaro::notices {

QString Enumeration(const QStringList& items) {
    if (items.size() < 2) return items.join(QString());
    return QStringList(items.mid(0, items.size() - 1)).join(QStringLiteral(", ")) + QStringLiteral(" en ") +
           items.last();
}

QString Setting(Moment moment, Control field, const QString& fieldName, const std::string& value, int maxLength) {
    const QString saved = QString::fromStdString(value);
    if (moment == Moment::SettingCleared) return QStringLiteral("%1, was %2.").arg(fieldName, saved);
    if (moment == Moment::SettingKept) return QStringLiteral("%1 blijft %2.").arg(fieldName, saved);
    const QString what = field == Control::MaxExponent    ? QStringLiteral("De grootste exponent")
                         : field == Control::TimerMinuten ? QStringLiteral("Het aantal minuten")
                                                          : QStringLiteral("Het grootste grondtal");
    return QStringLiteral("Niet aanvaard. %1 blijft %2: een geheel getal tot en met %3.")
        .arg(what, saved, QString(maxLength, u'9'));
}

QString Standing(const Practice& practice) {
    return QStringLiteral("Oefening nr. %1. Behaalde punten: %2 van de %3.")
        .arg(practice.SetNumber())
        .arg(practice.BehaaldePunten)
        .arg(practice.MaximumPunten);
}

QString Results(const Contest::Result& result) {
    return QStringLiteral("%1 %2 van de %3 %4, %5 procent goed.")
        .arg(result.points)
        .arg(result.points == 1 ? QStringLiteral("punt") : QStringLiteral("punten"))
        .arg(result.made)
        .arg(result.made == 1 ? QStringLiteral("gemaakte oefening") : QStringLiteral("gemaakte oefeningen"),
             QString::fromStdString(result.percentage));
}

QString FreshSet(std::int32_t setNumber, const QStringList& files) {
    const QString message =
        QStringLiteral("Nieuwe oefeningen: de antwoorden zijn gewist. Oefening nr. %1.").arg(setNumber);
    if (files.isEmpty()) return message;
    QStringList names;
    for (const QString& file : files) names << QFileInfo(file).fileName();
    return message + QStringLiteral(" Het werkblad is geschreven naar %1 in de map %2.")
                         .arg(Enumeration(names), QFileInfo(files.first()).absolutePath());
}

}  // namespace tolvaro::notices
