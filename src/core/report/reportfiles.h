#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

class ReportDocument;

// Where reports are kept: every "Создать" makes a new file in the reports
// folder under the user's documents; no report is ever overwritten.
namespace ReportFiles {

QString folderName();    // Протоколы Ветрал
QString reportsFolder(); // <documents>/Протоколы Ветрал

// "Протокол <serial> <yyyy-MM-dd HH-mm-ss>" without extension. Characters a
// file name cannot hold on Windows or Linux become "_", blanks and dots at
// the ends of the serial number are dropped, and a long serial is shortened.
QString baseName(const QString &serial, const QDateTime &time);

// Creates the folder when needed, writes the report under a new name built
// from its serial number and the time (" (2)", " (3)" ... before the
// extension when that name is taken), and returns the file's path. Failures
// throw a PlatformError.
QString save(const ReportDocument &doc, const QString &serial, const QString &folder, const QDateTime &time);
// The same for a report already made in another format: `suffix` is its
// extension with the dot (".pdf").
QString save(const QByteArray &document, const QString &suffix, const QString &serial, const QString &folder,
             const QDateTime &time);

} // namespace ReportFiles
