#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>
#include <vector>

// Comma-separated values as a spreadsheet program writes them where Russian
// settings hold: RFC 4180 with ";" between the fields (the comma is the
// decimal separator there). A field holding ";", a quote or a line break is
// quoted, a quote inside it doubled; lines end with CR LF.
namespace CsvText {

constexpr char16_t Separator = u';';

// One field as written.
QString field(const QString &text);
// The fields of one record and its CR LF.
QString line(const QStringList &fields);

// The text as UTF-8 behind a byte order mark, by which spreadsheet
// programs tell UTF-8 from the system's code page.
QByteArray utf8WithMark(const QString &text);

struct Record
{
    QStringList fields;
    // The line of the text the record begins on, from 1 (a quoted line break
    // makes a record span lines).
    qsizetype line = 0;
};

// Where reading stopped: the line the field begins on and its place in
// the record, both from 1, and what is wrong, in words.
struct Fault
{
    qsizetype line = 0;
    int field = 0;
    QString what;
};

struct Parsed
{
    std::vector<Record> records;
    std::optional<Fault> fault;
};

// Records end at CR LF, LF or a lone CR outside quotes; empty lines at the
// end make no records. A quote inside an unquoted field is taken as it
// stands, as spreadsheet programs take it. Reading stops with a fault at an
// unclosed quote, at text after a closing quote, and past maxRecords records.
Parsed parse(QStringView text, qsizetype maxRecords);

} // namespace CsvText
