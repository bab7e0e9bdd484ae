#pragma once

#include <QByteArray>
#include <QString>

class ReportDocument;

// Writes a report as a .docx package (WordprocessingML in a zip) that word
// processors open as it is.
namespace DocxWriter {

// The package's bytes; a failure of the zip library throws a PlatformError
// that names the report `shownPath`.
QByteArray package(const ReportDocument &doc, const QString &shownPath);

// Creates the file; an existing file (or link, a dangling one included) is
// never replaced, also when it appears while the report is written: the
// package is written whole under a hidden name and takes its own only where
// none stands. Any failure (the name is taken, the folder is missing or not
// writable, the disk is full) throws a PlatformError naming the file and the
// reason; no partial file is left under the name.
void write(const ReportDocument &doc, const QString &path);

// The same under the first free name of <folder>/<base>.docx,
// "<base> (2).docx", "<base> (3).docx" ...; returns the path taken. Reports
// written at the same moment under one base never replace each other.
QString writeNumbered(const ReportDocument &doc, const QString &folder, const QString &base);

} // namespace DocxWriter
