// A CSV file of any bytes, imported the way "Импорт из CSV…" and `vetral-cli
// csv import` take it.
//
// Beside "no sanitizer report": a refusal names a line; a file taken gives a
// whole table (the header, at least one channel row, every row with its
// boxes) whose cells are in the forms a second import keeps, so that an
// export of it, in either encoding, imports as the same table.

#include "common/refusal.h"
#include "exchange/channelcsv.h"
#include "fuzzcheck.h"

#include <cstddef>
#include <cstdint>

namespace {

void checkSameTable(const ChannelTable &a, const ChannelTable &b)
{
    FUZZ_CHECK_EQUAL(a.rowCount(), b.rowCount());
    for (int row = 1; row < a.rowCount(); ++row) {
        for (int column = 0; column < ChannelTable::ColumnCount; ++column) {
            FUZZ_CHECK_EQUAL(a.cell(column, row), b.cell(column, row));
            FUZZ_CHECK_EQUAL(a.isChecked(column, row), b.isChecked(column, row));
        }
    }
}

void checkExportsBack(const ChannelTable &table, ChannelCsv::Encoding encoding)
{
    const auto encoded = ChannelCsv::encode(table, encoding);
    if (const auto *refusal = std::get_if<Refusal>(&encoded)) {
        // Only Windows-1251 lacks characters.
        FUZZ_CHECK(encoding == ChannelCsv::Encoding::Windows1251);
        FUZZ_CHECK(refusal->text.startsWith(QStringLiteral("Таблица не записана в CSV: строка ")));
        return;
    }
    const auto again = ChannelCsv::decode(std::get<QByteArray>(encoded));
    FUZZ_CHECK(std::holds_alternative<ChannelCsv::Imported>(again));
    checkSameTable(table, std::get<ChannelCsv::Imported>(again).table);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const auto result = ChannelCsv::decode(bytes);
    if (const auto *refusal = std::get_if<Refusal>(&result)) {
        FUZZ_CHECK(refusal->text.startsWith(QStringLiteral("Файл CSV не принят: строка ")));
        return 0;
    }
    const ChannelTable &table = std::get<ChannelCsv::Imported>(result).table;
    FUZZ_CHECK(table.rowCount() >= 2);
    for (int row = 1; row < table.rowCount(); ++row)
        FUZZ_CHECK(table.hasBoxes(row));
    checkExportsBack(table, ChannelCsv::Encoding::Utf8);
    checkExportsBack(table, ChannelCsv::Encoding::Windows1251);
    return 0;
}
