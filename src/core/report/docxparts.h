#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

class ReportDocument;

// The parts of a WordprocessingML package for one report, as XML bytes.
namespace DocxParts {

struct Part
{
    QString name; // path inside the package, no leading slash
    QByteArray data;
};

// A4 landscape in twips (1 pt = 20 twips).
constexpr int PageWidthTwips = 16838;
constexpr int PageHeightTwips = 11906;
constexpr int twips(int points)
{
    return points * 20;
}

// Every part of the package, "[Content_Types].xml" first.
std::vector<Part> package(const ReportDocument &doc);

QByteArray contentTypes();
QByteArray packageRelationships();
QByteArray documentRelationships();
QByteArray settings();
QByteArray styles();
QByteArray document(const ReportDocument &doc);

// Text as a run may hold it: characters that XML 1.0 cannot carry are left out.
QString xmlSafe(const QString &text);

} // namespace DocxParts
