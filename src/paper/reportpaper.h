#pragma once

#include "paperdocument.h"

#include <QByteArray>
#include <QString>

class ReportDocument;

// The test report on paper: the one description of the report
// (ReportDocument) that the .docx writer also writes, laid out on its
// landscape A4 page with its margins, fonts and column widths.
namespace ReportPaper {

PaperDocument build(const ReportDocument &report);

// The report as PDF; needs a QGuiApplication.
QByteArray pdf(const ReportDocument &report);

// True for a path whose extension is ".pdf" (any letter case).
bool isPdf(const QString &path);

// The report in the format the extension names: PDF for ".pdf", a .docx
// for any other. An existing file is never replaced (ReportFile).
void write(const ReportDocument &report, const QString &path);

} // namespace ReportPaper
