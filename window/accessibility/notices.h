// The texts a screen reader is told about the settings, the standing, a set drawn anew and a
// contest's results, composed from the logic's own values.
#pragma once

#include <QString>
#include <QStringList>
#include <string>

#include "core/contest.h"
#include "core/practice.h"
#include "core/view.h"

namespace tolvaro::notices {

// "2, 5 en 7".
QString Enumeration(const QStringList& items);

// What a settings moment tells of the field named `fieldName`, whose saved text is `value` and
// which takes `maxLength` characters: "Grootste grondtal, was 7.", "Grootste grondtal blijft 7.",
// "Niet aanvaard. Het grootste grondtal blijft 7: een geheel getal tot en met 999999."
QString Setting(Moment moment, Control field, const QString& fieldName, const std::string& value, int maxLength);

// "Oefening nr. 2. Behaalde punten: 6 van de 20."
QString Standing(const Practice& practice);

// "2 punten van de 3 gemaakte oefeningen, 66,6 procent goed."
QString Results(const Contest::Result& result);

// A set drawn anew by the activation after a print dialog, and the files a worksheet was written to.
QString FreshSet(std::int32_t setNumber, const QStringList& files);

}  // namespace tolvaro::notices
