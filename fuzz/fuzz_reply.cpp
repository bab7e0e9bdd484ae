// A station's reply to the read request, of any length and content, decoded
// the way a read decodes it as the bytes arrive.
//
// Beside "no sanitizer report": the table never outgrows the image; a reply
// that was decoded whole sizes table and text as the reply says; what a read
// shows saves as a channel file that loads back with the same channel rows,
// and names its archive copy by a plain file name; the data check then ends
// with its message or a platform error.

#include "check/datacheck.h"
#include "common/platformerror.h"
#include "files/channelfile.h"
#include "files/readarchive.h"
#include "image/stationreply.h"
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
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));

    RadioImage image;
    image.fillFromReadOrder(bytes);
    FUZZ_CHECK(image.channelCount() <= 255);

    const StationReply reply = StationReply::decode(bytes);
    FUZZ_CHECK(reply.decodedBytes() <= bytes.size());
    FUZZ_CHECK(reply.table().rowCount() <= RadioImage::MaxChannels + 1);
    FUZZ_CHECK(reply.settingsLines().size() <= 27);
    FUZZ_CHECK(reply.placedOver(RadioImage()).channelCount() <= RadioImage::MaxChannels);
    if (reply.refusal()) {
        FUZZ_CHECK(!reply.complete());
        FUZZ_CHECK(bytes.size() >= 10);
        FUZZ_CHECK(static_cast<std::uint8_t>(bytes.at(StationLayout::readAt(StationLayout::Name::ChannelCount)))
                   > RadioImage::MaxChannels);
    }
    if (!reply.complete())
        return 0;

    const ChannelPlan plan = reply.plan();
    const int channels = reply.station().image.channelCount();
    FUZZ_CHECK_EQUAL(reply.decodedBytes(), RadioImage::ReadPrefixSize + RadioImage::RecordSize * channels);
    FUZZ_CHECK_EQUAL(plan.table.rowCount(), channels + 1);
    FUZZ_CHECK_EQUAL(plan.settingsLines.size(), 27);
    for (int row = 1; row <= channels; ++row)
        FUZZ_CHECK(plan.table.hasBoxes(row));

    // Whatever the station sent can be kept as a channel file, under a name
    // made of its serial number that is a plain file name.
    FUZZ_CHECK(!ChannelFile::checkWritable(plan));
    const QString archiveName = ReadArchive::baseName(plan.settingsLines, QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5)));
    FUZZ_CHECK(!archiveName.isEmpty());
    for (const QChar c : archiveName)
        FUZZ_CHECK(c.isLetterOrNumber() || c == u'-' || c == u'_' || c == u' ');
    ChannelPlan loaded;
    const ChannelFile::LoadResult load = ChannelFile::loadBytes(ChannelFile::encode(plan), loaded);
    FUZZ_CHECK_EQUAL(load.channelCount, channels);
    checkSameRows(plan.table, loaded.table);

    try {
        const DataCheckResult outcome = DataCheck::run(plan, tempSettingsFile());
        FUZZ_CHECK(!outcome.text().isEmpty());
    } catch (const PlatformError &error) {
        FUZZ_CHECK(!error.text().isEmpty());
    }
    return 0;
}
