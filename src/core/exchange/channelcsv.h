#pragma once

#include "common/refusal.h"
#include "files/textfiledecoder.h"
#include "table/channeltable.h"

#include <QByteArray>
#include <QString>
#include <variant>

// The channel table as a CSV file that a spreadsheet program opens by a
// double click where Russian settings hold (CsvText): the table's 18 column
// headers in the first line, then one line per channel row, cells as the
// table shows them (decimal commas), a ticked box as "+" and a clear one as
// an empty field.
//
// Reading takes what a spreadsheet program makes of such a file when it
// saves it again: codes, tones, levels and frequencies by value ("23" is the
// DCS code "023", "67" the tone "67,0", "146500" the frequency
// "146500,00"). A file that is not such a table is refused as a whole with
// the first line and column that fail; the caller's table is never touched.
namespace ChannelCsv {

enum class Encoding {
    Utf8,        // with a byte order mark: the default
    Windows1251, // for older spreadsheet programs that take the system's code page
};

// The file's bytes, or the refusal naming the first cell (line and column)
// that the encoding cannot hold.
std::variant<QByteArray, Refusal> encode(const ChannelTable &table, Encoding encoding);
// Replaces the file as a whole or leaves it as it was. A refusal of encode()
// writes nothing; the platform's failures throw PlatformError.
MaybeRefusal save(const ChannelTable &table, const QString &path, Encoding encoding);

struct Imported
{
    // The header row and a row per line of the file, each with its three boxes.
    ChannelTable table;
    // How the file was written, so that an export can keep it.
    TextEncoding encoding = TextEncoding::Utf8;
};

// UTF-8 (with or without its mark), UTF-16 with its mark, or Windows-1251.
std::variant<Imported, Refusal> decode(const QByteArray &bytes);
// Throws PlatformError when the file cannot be read (missing, a folder,
// larger than a channel file ever is).
std::variant<Imported, Refusal> load(const QString &path);

// The cell a field of the column stands for: a frequency as "146500,00"
// whatever form of its number the field holds; in a list column, the list's
// item that the field names by its text (letter case aside) or by its
// number; any other field as it is, for the data check to judge.
QString cellText(int column, const QString &field);

// The table with the imported channel rows put in before `row`
// (1..rowCount(); rowCount() appends). The rows keep their numbers and
// boxes; in a table whose boxes were detached they get none, like the rest.
ChannelTable inserted(const ChannelTable &table, int row, const ChannelTable &imported);

} // namespace ChannelCsv
