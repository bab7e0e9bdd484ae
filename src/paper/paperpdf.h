#pragma once

#include "paperdocument.h"

#include <QByteArray>
#include <QString>

// Paper documents as PDF files (QPdfWriter). Both need a QGuiApplication
// for the fonts; the command line makes one on the offscreen platform.
namespace PaperPdf {

QByteArray bytes(const PaperDocument &doc);

// Replaces the file as a whole or leaves it as it was; failures throw
// PlatformError with the numbered input/output message.
void save(const PaperDocument &doc, const QString &path);

} // namespace PaperPdf
