#pragma once

#include <QString>

class ReportDocument;

// Writes a report as a .docx package (WordprocessingML in a zip) that word
// processors open as it is.
namespace DocxWriter {

// Creates the file; an existing file is never replaced. Any failure (the file
// exists, the folder is missing or not writable, the disk is full) throws a
// PlatformError naming the file and the reason; no partial file is left.
void write(const ReportDocument &doc, const QString &path);

} // namespace DocxWriter
