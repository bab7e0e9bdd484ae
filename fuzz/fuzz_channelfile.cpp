// A channel file of any bytes, loaded the way "Чтение файла" loads it, then
// checked the way "Контроль" checks what the window holds.
//
// Beside "no sanitizer report": the load leaves the window a whole table (27
// settings lines, every channel row with its boxes); what it loaded saves and
// loads back unchanged; the data check ends with its message or a platform
// error, never anything else.

#include "check/datacheck.h"
#include "common/platformerror.h"
#include "files/channelfile.h"
#include "table/channelplan.h"
#include "fuzzcheck.h"

#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>

namespace {

QString tempSettingsFile()
{
    static QTemporaryDir dir;
    return dir.filePath(QStringLiteral("MyTemp.ini"));
}

void checkWhole(const ChannelPlan &state, const ChannelFile::LoadResult &result)
{
    FUZZ_CHECK_EQUAL(state.settingsLines.size(), 27);
    FUZZ_CHECK_EQUAL(state.table.rowCount(), result.channelCount + 1);
    FUZZ_CHECK(result.channelCount <= ChannelFile::MaxChannelRows);
    FUZZ_CHECK_EQUAL(result.refusal.has_value(), result.channelCount == 0);
    for (int row = 1; row < state.table.rowCount(); ++row)
        FUZZ_CHECK(state.table.hasBoxes(row));
}

// The settings text and the table, as the window shows them.
void checkSameWindow(const ChannelPlan &a, const ChannelPlan &b)
{
    FUZZ_CHECK_EQUAL(a.settingsLines, b.settingsLines);
    FUZZ_CHECK_EQUAL(a.table.rowCount(), b.table.rowCount());
    for (int row = 0; row < a.table.rowCount(); ++row) {
        for (int column = 0; column < ChannelTable::ColumnCount; ++column) {
            FUZZ_CHECK_EQUAL(a.table.cell(column, row), b.table.cell(column, row));
            FUZZ_CHECK_EQUAL(a.table.isChecked(column, row), b.table.isChecked(column, row));
        }
    }
}

void checkSameContent(const ChannelPlan &a, const ChannelPlan &b)
{
    checkSameWindow(a, b);
    FUZZ_CHECK_EQUAL(a.bandCode, b.bandCode);
    FUZZ_CHECK_EQUAL(a.moduleCode, b.moduleCode);
    FUZZ_CHECK(a.stationKind == b.stationKind);
    FUZZ_CHECK_EQUAL(a.chosenModule, b.chosenModule);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    ChannelPlan loaded;
    ChannelFile::LoadResult result;
    try {
        result = ChannelFile::loadBytes(bytes, loaded);
    } catch (const PlatformError &error) {
        // Lines in two encodings: refused with a message, the window untouched.
        FUZZ_CHECK(!error.text().isEmpty());
        FUZZ_CHECK(loaded.settingsLines == ChannelPlan().settingsLines);
        return 0;
    }
    checkWhole(loaded, result);

    // What was loaded can be saved (or is refused with a message), and the
    // saved file loads back as the same window content.
    if (!ChannelFile::checkWritable(loaded)) {
        ChannelPlan again;
        const ChannelFile::LoadResult second = ChannelFile::loadBytes(ChannelFile::encode(loaded), again);
        checkWhole(again, second);
        FUZZ_CHECK_EQUAL(second.channelCount, result.channelCount);
        checkSameContent(loaded, again);
    }

    try {
        const DataCheckResult outcome = DataCheck::run(loaded, tempSettingsFile());
        FUZZ_CHECK(!outcome.text().isEmpty());
        if (outcome.passed())
            FUZZ_CHECK_EQUAL(outcome.station.image.channelCount(), loaded.table.channelCount());
    } catch (const PlatformError &error) {
        // A conversion error of a cell or setting: named.
        FUZZ_CHECK(!error.text().isEmpty());
    }
    return 0;
}
