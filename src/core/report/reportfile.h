#pragma once

#include <QByteArray>
#include <QString>

// A finished report document (.docx or .pdf) put on disk. A report is a
// record: an existing file (or link, a dangling one included) is never
// replaced, also when it appears while the report is written; the bytes go
// whole under a hidden name in the target's folder and take their own only
// where none stands. Failures throw a PlatformError naming the file and the
// reason ("Не удалось записать протокол в файл ..."); no partial file is left
// under the name.
namespace ReportFile {

QString failure(const QString &path, const QString &reason);

void write(const QByteArray &bytes, const QString &path);

// The same under the first free name of <folder>/<base><suffix>,
// "<base> (2)<suffix>" ...; returns the path taken. Reports written at the
// same moment under one base never replace each other.
QString writeNumbered(const QByteArray &bytes, const QString &folder, const QString &base, const QString &suffix);

} // namespace ReportFile
