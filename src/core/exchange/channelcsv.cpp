#include "exchange/channelcsv.h"
#include "common/excerpt.h"
#include "exchange/csvtext.h"
#include "files/channelfile.h"
#include "files/channelfileformat.h"
#include "files/fileaccess.h"
#include "files/windows1251.h"
#include "table/listchoice.h"
#include "table/tablesheet.h"

#include <QRegularExpression>
#include <algorithm>
#include <optional>

namespace ChannelCsv {

namespace {

constexpr int Columns = ChannelTable::ColumnCount;

QString ticked()
{
    return QStringLiteral("+");
}

QString headerOf(int column)
{
    return ChannelTable::headerTexts()[static_cast<std::size_t>(column)];
}

// Where a file fails: its line and, when one is to blame, its column (from 1).
QString place(qsizetype line, int column)
{
    QString where = QStringLiteral("строка %1").arg(line);
    if (column > 0)
        where += QStringLiteral(", столбец %1").arg(column);
    if (column > 0 && column <= Columns)
        where += QStringLiteral(" (\"%1\")").arg(headerOf(column - 1).trimmed());
    return where;
}

Refusal notTaken(qsizetype line, int column, const QString &what)
{
    return Refusal{QStringLiteral("Файл CSV не принят: %1: %2.").arg(place(line, column), what)};
}

Refusal notWritten(int row, int column, const QString &what)
{
    // The header is the file's line 1, channel row r its line r + 1.
    return Refusal{QStringLiteral("Таблица не записана в CSV: %1: %2.").arg(place(row + 1, column + 1), what)};
}

QString quoted(const QString &text)
{
    return u'"' + Excerpt::of(text) + u'"';
}

// A whole or decimal number with a comma or a point, as spreadsheet
// programs of either convention write it.
std::optional<double> numberIn(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("^\\d+([.,]\\d+)?$"));
    if (!pattern.match(text).hasMatch())
        return std::nullopt;
    bool ok = false;
    const double value = QString(text).replace(u',', u'.').toDouble(&ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

QString frequencyText(const QString &field)
{
    // Exactly, in the text: the station's form has two decimals.
    static const QRegularExpression pattern(QStringLiteral("^0*(\\d{1,9})(?:[.,](\\d{1,2}))?$"));
    const QRegularExpressionMatch match = pattern.match(field.trimmed());
    if (!match.hasMatch())
        return field;
    return match.captured(1) + u',' + match.captured(2).leftJustified(2, u'0');
}

QString listText(CellList list, const QString &field)
{
    const QStringList &items = ListChoice::items(list);
    const QString text = field.trimmed();
    for (const QString &item : items)
        if (item.compare(text, Qt::CaseInsensitive) == 0)
            return item;
    if (const auto value = numberIn(text))
        for (const QString &item : items)
            if (numberIn(item) == value)
                return item;
    return field;
}

QStringList headerFields()
{
    QStringList fields;
    for (const QString &text : ChannelTable::headerTexts())
        fields.append(text);
    return fields;
}

// The headers and fixed values a line of the table in UTF-8 shows.
const QStringList &knownWords()
{
    static const QStringList words = [] {
        QStringList all = ChannelFileFormat::words();
        for (const QString &text : ChannelTable::headerTexts())
            all.append(text.trimmed());
        return all;
    }();
    return words;
}

QString boxField(const ChannelTable &table, int column, int row)
{
    return table.isChecked(column, row) ? ticked() : QString();
}

QString fileText(const ChannelTable &table)
{
    QString text = CsvText::line(headerFields());
    for (int row = 1; row < table.rowCount(); ++row) {
        QStringList fields;
        for (int column = 0; column < Columns; ++column)
            fields.append(ChannelTable::isCheckColumn(column) ? boxField(table, column, row) : table.cell(column, row));
        text += CsvText::line(fields);
    }
    return text;
}

// The first cell the code page cannot hold; the header texts all fit.
std::optional<Refusal> unencodableCell(const ChannelTable &table)
{
    for (int row = 1; row < table.rowCount(); ++row)
        for (int column = 0; column < Columns; ++column)
            if (const auto bad = Windows1251::findUnencodable(table.cell(column, row)))
                return notWritten(row, column, Windows1251::cannotHold(*bad));
    return std::nullopt;
}

// Fields past the 18th are taken only while empty: a spreadsheet program
// may close a line with separators of columns nobody filled.
std::optional<Refusal> checkWidth(const CsvText::Record &record, const QString &lineKind)
{
    const qsizetype count = record.fields.size();
    if (count < Columns)
        return notTaken(
            record.line, static_cast<int>(count) + 1,
            QStringLiteral("в %1 %2 полей, а в таблице каналов %3 столбцов").arg(lineKind).arg(count).arg(Columns));
    for (qsizetype extra = Columns; extra < count; ++extra)
        if (!record.fields.at(extra).isEmpty())
            return notTaken(record.line, static_cast<int>(extra) + 1,
                            QStringLiteral("лишнее поле %1: в таблице каналов %2 столбцов")
                                .arg(quoted(record.fields.at(extra)))
                                .arg(Columns));
    return std::nullopt;
}

std::optional<Refusal> checkHeader(const CsvText::Record &record)
{
    if (auto refusal = checkWidth(record, QStringLiteral("строке заголовков")))
        return refusal;
    for (int column = 0; column < Columns; ++column) {
        const QString expected = headerOf(column).trimmed();
        // " Tx, кГЦ" as a file load writes it is the same header.
        if (record.fields.at(column).trimmed().compare(expected, Qt::CaseInsensitive) != 0)
            return notTaken(record.line, column + 1,
                            QStringLiteral("заголовок %1, а должен быть \"%2\" - это не таблица каналов")
                                .arg(quoted(record.fields.at(column)), expected));
    }
    return std::nullopt;
}

std::optional<bool> boxIn(const QString &field)
{
    const QString word = field.trimmed();
    if (word.isEmpty())
        return false;
    return TableSheet::boxState(word);
}

// Fills table row `row` from the record, or refuses it.
std::optional<Refusal> takeRow(const CsvText::Record &record, ChannelTable &table, int row)
{
    if (auto refusal = checkWidth(record, QStringLiteral("строке")))
        return refusal;
    for (int column = 0; column < Columns; ++column) {
        const QString &field = record.fields.at(column);
        if (!ChannelTable::isCheckColumn(column)) {
            table.setCell(column, row, cellText(column, field));
            continue;
        }
        const std::optional<bool> box = boxIn(field);
        if (!box)
            return notTaken(record.line, column + 1,
                            QStringLiteral("%1 вместо \"+\" (отмечено) или пустого поля").arg(quoted(field)));
        table.setChecked(column, row, *box);
    }
    return std::nullopt;
}

} // namespace

QString cellText(int column, const QString &field)
{
    if (column == ChannelTable::Rx || column == ChannelTable::Tx)
        return frequencyText(field);
    const CellList list = ListChoice::listFor(column);
    return list == CellList::None ? field : listText(list, field);
}

std::variant<QByteArray, Refusal> encode(const ChannelTable &table, Encoding encoding)
{
    const QString text = fileText(table);
    if (encoding == Encoding::Utf8)
        return CsvText::utf8WithMark(text);
    if (Windows1251::findUnencodable(text)) {
        if (auto refusal = unencodableCell(table))
            return *refusal;
    }
    return Windows1251::encode(text);
}

MaybeRefusal save(const ChannelTable &table, const QString &path, Encoding encoding)
{
    const auto encoded = encode(table, encoding);
    if (const auto *refusal = std::get_if<Refusal>(&encoded))
        return *refusal;
    FileAccess::writeAtomically(path, std::get<QByteArray>(encoded));
    return std::nullopt;
}

std::variant<Imported, Refusal> decode(const QByteArray &bytes)
{
    const DecodedText decoded = TextFileDecoder::decode(bytes, knownWords());
    if (decoded.mixed)
        return notTaken(decoded.mixed->otherLine, 0,
                        QStringLiteral("строка не в кодировке UTF-8, в которой записан остальной файл; сохраните "
                                       "файл в одной кодировке"));
    // The header and as many channel rows as a channel file may hold.
    const CsvText::Parsed parsed = CsvText::parse(decoded.text, 1 + ChannelFile::MaxChannelRows);
    if (parsed.fault)
        return notTaken(parsed.fault->line, parsed.fault->field, parsed.fault->what);
    if (parsed.records.empty())
        return notTaken(
            1, 0, QStringLiteral("файл пуст, а в первой строке должны стоять заголовки столбцов таблицы каналов"));
    if (auto refusal = checkHeader(parsed.records.front()))
        return *refusal;
    if (parsed.records.size() == 1)
        return notTaken(parsed.records.front().line + 1, 0,
                        QStringLiteral("в файле нет ни одной строки каналов, только заголовки"));

    Imported imported;
    imported.encoding = decoded.encoding;
    ChannelTable &table = imported.table;
    table.setRowCount(static_cast<int>(parsed.records.size()));
    table.setHeader(ChannelTable::headerTexts());
    table.addCheckBoxes();
    for (int row = 1; row < table.rowCount(); ++row)
        if (auto refusal = takeRow(parsed.records.at(static_cast<std::size_t>(row)), table, row))
            return *refusal;
    return imported;
}

std::variant<Imported, Refusal> load(const QString &path)
{
    return decode(FileAccess::read(path, ChannelFile::MaxFileBytes));
}

ChannelTable inserted(const ChannelTable &table, int row, const ChannelTable &imported)
{
    ChannelTable result = table;
    const int first = std::clamp(row, 1, result.rowCount());
    for (int from = 1; from < imported.rowCount(); ++from) {
        const int at = first + from - 1;
        result.insertRow(at);
        for (int column = 0; column < Columns; ++column) {
            if (ChannelTable::isCheckColumn(column))
                result.setChecked(column, at, imported.isChecked(column, from));
            else
                result.setCell(column, at, imported.cell(column, from));
        }
    }
    return result;
}

} // namespace ChannelCsv
