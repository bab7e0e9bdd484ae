#include "files/channelfile.h"
#include "common/platformerror.h"
#include "files/channelfileformat.h"
#include "files/fileaccess.h"
#include "files/profile.h"
#include "table/channelplan.h"
#include "table/settingstext.h"

#include <QDir>
#include <cstdint>
#include <new>

namespace {

// Longer values are cut, as the profile reader's buffer of 2048 characters did.
QString cut(QString value)
{
    if (value.size() > ChannelFileFormat::MaxValueLength) {
        qsizetype length = ChannelFileFormat::MaxValueLength;
        if (value.at(length - 1).isHighSurrogate())
            --length;
        value.truncate(length);
    }
    return value;
}

template <typename Keys>
QStringList namesOf(const Keys &keys)
{
    QStringList names;
    names.reserve(static_cast<qsizetype>(keys.size()));
    for (const auto &key : keys)
        names.append(key.name);
    return names;
}

// A whole number, decimal or hexadecimal, of which one byte is kept; any
// other text counts as 0.
std::uint8_t lowByte(const std::optional<QString> &value)
{
    const int number = value ? Profile::parseInteger(*value, Profile::IntSyntax::DecimalOrHex).value_or(0) : 0;
    return static_cast<std::uint8_t>(number & 0xFF);
}

QStringList settingsLines(const Profile &profile)
{
    const auto &keys = SettingsText::keys();
    static const QStringList names = namesOf(keys);
    const auto values = profile.values(SettingsText::sectionName(), names);
    QStringList lines{SettingsText::sectionLine()};
    for (std::size_t i = 0; i < keys.size(); ++i)
        lines.append(SettingsText::line(keys[i].key, cut(values[i].value_or(keys[i].fileDefault))));
    return lines;
}

void fillRow(const Profile &profile, int row, ChannelTable &table)
{
    static const QStringList names = namesOf(ChannelFileFormat::channelKeys());
    const auto &keys = ChannelFileFormat::channelKeys();
    const auto values = profile.values(QString::number(row), names);
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const QString value = cut(values[i].value_or(keys[i].defaultValue));
        if (ChannelTable::isCheckColumn(keys[i].column))
            table.setChecked(keys[i].column, row, value != ChannelFileFormat::uncheckedValue());
        else
            table.setCell(keys[i].column, row, value);
    }
}

} // namespace

QString ChannelFile::missingSectionText()
{
    return QStringLiteral("Fixed row count must be less than row count");
}

ChannelFile::LoadResult ChannelFile::load(const QString &path, ChannelPlan &plan)
{
    try {
        return loadBytes(FileAccess::readForUpdate(path, MaxFileBytes), plan);
    } catch (const std::bad_alloc &) {
        // The plan takes the file only once it is decoded, so nothing has
        // changed yet when the memory runs out.
        throw PlatformError(
            QStringLiteral("Файл \"%1\" не загружен: не хватило памяти.").arg(QDir::toNativeSeparators(path)));
    }
}

ChannelFile::LoadResult ChannelFile::loadBytes(const QByteArray &bytes, ChannelPlan &plan)
{
    LoadResult result;
    DecodedText decoded = TextFileDecoder::decode(bytes);
    if (decoded.mixedAtLine > 0)
        throw PlatformError(QStringLiteral("Файл не загружен: в нём смешаны кодировки. Он записан в UTF-8, но "
                                           "строка %1 не в UTF-8. Сохраните файл целиком в одной кодировке, "
                                           "UTF-8 или Windows-1251.")
                                .arg(decoded.mixedAtLine));
    result.encoding = decoded.encoding;
    const Profile profile = Profile::fromText(std::move(decoded.text));

    plan.settingsLines = settingsLines(profile);
    const auto codes =
        profile.values(SettingsText::sectionName(), {ChannelFileFormat::bandKey(), ChannelFileFormat::moduleKey()});
    const std::uint8_t band = lowByte(codes[0]);
    const std::uint8_t module = lowByte(codes[1]);
    result.selectedStation = plan.selectStationByBandCode(band);
    plan.setModuleCode(module);

    int channels = 0;
    while (channels < MaxChannelRows && profile.hasKeys(QString::number(channels + 1)))
        ++channels;
    ChannelTable &table = plan.table;
    table.setRowCount(1);
    table.setRowCount(channels + 1);
    table.setHeader(ChannelTable::loadedHeaderTexts());
    table.addCheckBoxes();
    result.channelCount = channels;
    if (channels == 0) {
        result.refusal = Refusal{missingSectionText()};
        return result;
    }
    for (int row = 1; row <= channels; ++row)
        fillRow(profile, row, table);
    return result;
}
