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

// Notes the keys of `names` that `values` lacks, under the section's name.
void noteDefaulted(const QString &section, const QStringList &names, const std::vector<std::optional<QString>> &values,
                   ChannelFile::Lacking &lacking)
{
    ChannelFile::Lacking::Keys missing{section, {}, false};
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (!values[i])
            missing.keys.append(names.at(static_cast<qsizetype>(i)));
    }
    if (missing.keys.isEmpty())
        return;
    missing.all = missing.keys.size() == names.size();
    lacking.defaulted.append(std::move(missing));
}

// `general` starts with every key missing and takes back those found.
QStringList settingsLines(const Profile &profile, ChannelFile::Lacking::Keys &general)
{
    const auto &keys = SettingsText::keys();
    static const QStringList names = namesOf(keys);
    const auto values = profile.values(SettingsText::sectionName(), names);
    QStringList lines{SettingsText::sectionLine()};
    for (std::size_t i = 0; i < keys.size(); ++i) {
        lines.append(SettingsText::line(keys[i].key, cut(values[i].value_or(keys[i].fileDefault))));
        // A template has no serial number: a file saved from one lacks nothing.
        if (!values[i] && keys[i].templateValue)
            general.keys.append(keys[i].name);
        general.all = general.all && !values[i];
    }
    return lines;
}

void fillRow(const Profile &profile, int row, ChannelTable &table, ChannelFile::Lacking &lacking)
{
    static const QStringList names = namesOf(ChannelFileFormat::channelKeys());
    const auto &keys = ChannelFileFormat::channelKeys();
    const QString section = QString::number(row);
    const auto values = profile.values(section, names);
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const QString value = cut(values[i].value_or(keys[i].defaultValue));
        if (ChannelTable::isCheckColumn(keys[i].column))
            table.setChecked(keys[i].column, row, value != ChannelFileFormat::uncheckedValue());
        else
            table.setCell(keys[i].column, row, value);
    }
    noteDefaulted(section, names, values, lacking);
}

// Every section but the general one and channel sections 1 to `channels`.
void noteUnread(const Profile &profile, int channels, ChannelFile::Lacking &lacking)
{
    const QString general = SettingsText::sectionName();
    profile.forEachSectionName([&](QStringView name) {
        bool number = false;
        const int row = name.toInt(&number);
        const bool read = (number && row >= 1 && row <= channels && name == QString::number(row))
                          || name.compare(general, Qt::CaseInsensitive) == 0;
        if (read)
            return;
        if (lacking.unread.size() < ChannelFile::MaxListed)
            lacking.unread.append(name.toString());
        else
            ++lacking.moreUnread;
    });
}

QString sectionRange(const QString &first, const QString &last)
{
    return first == last ? QStringLiteral("[%1]").arg(first) : QStringLiteral("[%1]-[%2]").arg(first, last);
}

} // namespace

QString ChannelFile::missingSectionText()
{
    return QStringLiteral("Fixed row count must be less than row count");
}

QString ChannelFile::lackingText(const Lacking &lacking)
{
    if (lacking.isEmpty())
        return QString();
    QStringList lines{
        QStringLiteral("Файл каналов загружен, но в нём недостаёт данных; проверьте таблицу и общие установки.")};
    if (!lacking.defaulted.isEmpty()) {
        lines.append(QStringLiteral("Значения по умолчанию взяты для ключей:"));
        int groups = 0;
        qsizetype notListed = 0;
        for (qsizetype i = 0; i < lacking.defaulted.size();) {
            // Neighbouring channel sections that lack the same keys make one line.
            const Lacking::Keys &first = lacking.defaulted.at(i);
            qsizetype end = i + 1;
            while (end < lacking.defaulted.size()) {
                const Lacking::Keys &next = lacking.defaulted.at(end);
                const Lacking::Keys &previous = lacking.defaulted.at(end - 1);
                if (next.keys != first.keys || next.section.toInt() != previous.section.toInt() + 1
                    || previous.section.toInt() == 0)
                    break;
                ++end;
            }
            if (groups++ < MaxListed) {
                const QString keys = first.all ? QStringLiteral("все ключи") : first.keys.join(QStringLiteral(", "));
                lines.append(sectionRange(first.section, lacking.defaulted.at(end - 1).section) + QStringLiteral(": ")
                             + keys);
            } else {
                notListed += end - i;
            }
            i = end;
        }
        if (notListed > 0)
            lines.append(QStringLiteral("и ещё в %1 разделах").arg(notListed));
    }
    if (!lacking.unread.isEmpty()) {
        QString names = u'[' + lacking.unread.join(QStringLiteral("], [")) + u']';
        if (lacking.moreUnread > 0)
            names += QStringLiteral(" и ещё %1").arg(lacking.moreUnread);
        const QString read = lacking.channels == 1
                                 ? QStringLiteral("раздела канала [1]")
                                 : QStringLiteral("разделов каналов %1, идущих подряд")
                                       .arg(sectionRange(QStringLiteral("1"), QString::number(lacking.channels)));
        lines.append(
            (lacking.unread.size() + lacking.moreUnread == 1 ? QStringLiteral("Не прочитан раздел ")
                                                             : QStringLiteral("Не прочитаны разделы "))
            + names
            + QStringLiteral(": файл каналов читается из раздела [%1] и %2.").arg(SettingsText::sectionName(), read));
    }
    return lines.join(u'\n');
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
    DecodedText decoded = TextFileDecoder::decode(bytes, ChannelFileFormat::words());
    if (decoded.mixed)
        throw PlatformError(QStringLiteral("Файл не загружен: в нём смешаны кодировки. Строка %1 записана в UTF-8, "
                                           "а строка %2 - нет. Сохраните файл целиком в одной кодировке, UTF-8 "
                                           "или Windows-1251.")
                                .arg(decoded.mixed->utf8Line)
                                .arg(decoded.mixed->otherLine));
    result.encoding = decoded.encoding;
    const Profile profile = Profile::fromText(std::move(decoded.text));

    Lacking::Keys general{SettingsText::sectionName(), {}, true};
    plan.settingsLines = settingsLines(profile, general);
    result.namesSerial =
        profile.value(SettingsText::sectionName(), SettingsText::name(SettingsText::Key::Serial)).has_value();
    const QStringList codeKeys{ChannelFileFormat::bandKey(), ChannelFileFormat::moduleKey()};
    const auto codes = profile.values(SettingsText::sectionName(), codeKeys);
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
    Lacking &lacking = result.lacking;
    lacking.channels = channels;
    for (std::size_t i = 0; i < codes.size(); ++i) {
        if (!codes[i])
            general.keys.append(codeKeys.at(static_cast<qsizetype>(i)));
        general.all = general.all && !codes[i];
    }
    if (!general.keys.isEmpty())
        lacking.defaulted.append(std::move(general));
    for (int row = 1; row <= channels; ++row)
        fillRow(profile, row, table, lacking);
    noteUnread(profile, channels, lacking);
    return result;
}
