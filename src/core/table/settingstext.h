#pragma once

#include <QString>
#include <QStringList>

// The general settings text: "[Общие установки]" and key=value lines.
namespace SettingsText {

QString sectionName();     // Общие установки
QString sectionLine();     // [Общие установки]
// The 26 lines a template writes.
QStringList templateLines();

// The text of the multi-line field as lines and back. A final line break
// does not make an empty last line.
QStringList fromPlainText(const QString &text);
QString toPlainText(const QStringList &lines);

} // namespace SettingsText
