#pragma once

#include <QString>
#include <array>

// The keys of a channel file and the values the loader takes for missing ones.
namespace ChannelFileFormat {

struct SettingsKey
{
    QString name;
    QString defaultValue;
};

struct ChannelKey
{
    QString name;
    int column;  // ChannelTable column the key carries
    QString defaultValue;
};

// The 26 settings keys in the order the loader writes the settings text.
const std::array<SettingsKey, 26> &settingsKeys();
// The 18 keys of a channel section in file order.
const std::array<ChannelKey, 18> &channelKeys();

QString bandKey();    // "Тип"
QString moduleKey();  // "ТипВУ"
QString checkedValue();    // "да"
QString uncheckedValue();  // "нет"

// The loader cuts longer values to this length.
constexpr qsizetype MaxValueLength = 2047;

} // namespace ChannelFileFormat
