#pragma once

#include <QList>
#include <QPageLayout>
#include <QString>
#include <QStringList>
#include <variant>

// A document for paper as the painter lays it out: paragraphs and tables,
// one after the other, on pages of one layout. It says what stands on the
// pages, not where: PaperPainter breaks it into pages of the device it is
// given. Sizes are in points.

struct PaperParagraph
{
    QString text;
    qreal pointSize = 12;
    bool bold = false;
    bool centred = false;
    // Goes to the next page with the first line of what follows it.
    bool keepWithNext = false;
};

struct PaperRow
{
    QStringList cells;
    // Bold on a grey ground.
    bool header = false;
    // Columns (from 0) whose cells stand out, bold on a grey ground.
    QList<int> marked;
};

struct PaperTable
{
    QList<qreal> columnWidths;
    qreal pointSize = 12;
    qreal headerPointSize = 11;
    bool centred = true;
    // The first rows, which stand again at the top of every page the table
    // goes on to.
    int repeatedRows = 0;
    QList<PaperRow> rows;
};

using PaperBlock = std::variant<PaperParagraph, PaperTable>;

struct PaperDocument
{
    QPageLayout page;
    // The title of the PDF file.
    QString title;
    // The typeface of every text; the system's substitute where it is missing
    // (Linux: the metric-compatible Liberation fonts for "Times New Roman"
    // and "Arial").
    QString fontFamily;
    QList<PaperBlock> blocks;
    // Stands at the foot of every page with "Страница N из M"; no foot when empty.
    QString footer;
};
