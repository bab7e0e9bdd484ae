#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

// The results of a batch as a table that a spreadsheet program opens by a
// double click where Russian settings hold: UTF-8 with a byte order mark,
// fields separated by ";", lines ended by CR LF, a field holding ";", a
// quote or a line break quoted.
namespace BatchJournal {

struct Row
{
    QString port;
    QString serial;
    QString id;
    QString result;
    QDateTime ended;
    QString archiveCopy;
    QString report;
};

QByteArray csv(const QList<Row> &rows);

} // namespace BatchJournal
