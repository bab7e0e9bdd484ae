// A station's reply to the read request, of any length and content, decoded
// the way a read decodes it as the bytes arrive.
//
// Beside "no sanitizer report": the table never outgrows the image; a reply
// that was decoded whole sizes table and text as the reply says; what a read
// put into the window saves as a channel file that loads back with the same
// channel rows, and names its archive copy by a plain file name; the data
// check then ends with its message or a platform error.

#include "check/datacheck.h"
#include "common/platformerror.h"
#include "files/channelfile.h"
#include "files/readarchive.h"
#include "image/imagedecoder.h"
#include "state/appstate.h"
#include "fuzzcheck.h"

#include <QDateTime>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>

namespace {

QString tempSettingsFile()
{
    static QTemporaryDir dir;
    return dir.filePath(QStringLiteral("MyTemp.ini"));
}

// Rows 1..N as a file load gives them back. The header row differs by
// design, and a file value loses its surrounding blanks: a frequency word
// that decodes below 100 kHz is shown padded ("  0,00") and loads as "0,00".
void checkSameRows(const ChannelTable &read, const ChannelTable &loaded)
{
    FUZZ_CHECK_EQUAL(loaded.rowCount(), read.rowCount());
    for (int row = 1; row < read.rowCount(); ++row) {
        for (int column = 0; column < ChannelTable::ColumnCount; ++column) {
            FUZZ_CHECK_EQUAL(loaded.cell(column, row), read.cell(column, row).trimmed());
            FUZZ_CHECK_EQUAL(loaded.isChecked(column, row), read.isChecked(column, row));
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray reply(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));

    RadioImage image;
    image.fillFromReadOrder(reply);
    FUZZ_CHECK(image.channelCount() <= 255);

    AppState state;
    const ReplyDecoding result = decodeWholeReply(state, reply);
    FUZZ_CHECK(result.bytesUsed <= reply.size());
    FUZZ_CHECK(state.table.rowCount() <= RadioImage::MaxChannels + 1);
    FUZZ_CHECK(state.settingsLines.size() <= 27);
    if (result.refusal) {
        FUZZ_CHECK(!result.complete);
        FUZZ_CHECK(reply.size() >= ImageDecoder::Block1Size);
        FUZZ_CHECK(static_cast<std::uint8_t>(reply.at(RadioImage::ChannelCount)) > RadioImage::MaxChannels);
    }
    if (!result.complete)
        return 0;

    const int channels = state.image.channelCount();
    FUZZ_CHECK_EQUAL(result.bytesUsed, RadioImage::ReadPrefixSize + RadioImage::RecordSize * channels);
    FUZZ_CHECK_EQUAL(state.table.rowCount(), channels + 1);
    FUZZ_CHECK_EQUAL(state.settingsLines.size(), 27);
    for (int row = 1; row <= channels; ++row)
        FUZZ_CHECK(state.table.hasBoxes(row));

    // Whatever the station sent can be kept as a channel file, under a name
    // made of its serial number that is a plain file name.
    FUZZ_CHECK(!ChannelFile::checkWritable(state));
    const QString archiveName =
        ReadArchive::baseName(state.settingsLines, QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5)));
    FUZZ_CHECK(!archiveName.isEmpty());
    for (const QChar c : archiveName)
        FUZZ_CHECK(c.isLetterOrNumber() || c == u'-' || c == u'_' || c == u' ');
    AppState loaded;
    const ChannelFile::LoadResult load = ChannelFile::loadBytes(ChannelFile::encode(state), loaded);
    FUZZ_CHECK_EQUAL(load.channelCount, channels);
    checkSameRows(state.table, loaded.table);

    AppState checked = state;
    try {
        const DataCheckResult outcome = checked.check(tempSettingsFile());
        FUZZ_CHECK_EQUAL(outcome.passed(), checked.dataValid);
        FUZZ_CHECK(!outcome.text().isEmpty());
    } catch (const PlatformError &error) {
        FUZZ_CHECK(!error.text().isEmpty());
        FUZZ_CHECK(!checked.dataValid);
    }
    return 0;
}
