#pragma once

#include <QString>
#include <QStringList>

// The station's tone and code lists. A text's position is its code for the
// station; position 0 is "Нет" in both.
namespace CodeLists {

const QStringList &ctcss(); // 56 texts, station order, five texts twice
const QStringList &dcs();   // 85 texts

// First position of the text, or -1 when the list does not hold it.
int ctcssIndex(const QString &text);
int dcsIndex(const QString &text);

// Position (1..84) of the partner of the DCS code at position 1..84 in the
// symmetric pair table; -1 outside that range.
int dcsPartner(int position);

} // namespace CodeLists
