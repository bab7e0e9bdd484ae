#pragma once

#include "table/channeltable.h"
#include "table/templatebuilder.h"

#include <QStringList>
#include <QTest>

// A template of `channels` rows from `startKHz` by 1000 kHz, with boxes.
inline ChannelTable templateTable(int channels, const QString &startKHz = QStringLiteral("140000"))
{
    ChannelTable table;
    QStringList lines;
    const auto refusal =
        TemplateBuilder::build({QString::number(channels), startKHz, "1000"}, 140000, 174000, table, lines);
    Q_ASSERT(!refusal);
    return table;
}

// Cells written as "column:row=text", e.g. "1:2=146500,00".
inline void setCells(ChannelTable &table, const QStringList &cells)
{
    for (const QString &cell : cells) {
        const qsizetype colon = cell.indexOf(u':');
        const qsizetype equals = cell.indexOf(u'=');
        table.setCell(cell.left(colon).toInt(), cell.mid(colon + 1, equals - colon - 1).toInt(), cell.mid(equals + 1));
    }
}
