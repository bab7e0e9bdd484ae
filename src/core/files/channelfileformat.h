#pragma once

#include <QString>
#include <array>

// The keys of a channel file and the values the loader takes for missing ones.
namespace ChannelFileFormat {

struct ChannelKey
{
    QString name;
    int column; // ChannelTable column the key carries
    QString defaultValue;
};

// The settings keys are SettingsText's.
// The 18 keys of a channel section in file order.
const std::array<ChannelKey, 18> &channelKeys();

QString bandKey();        // "Тип"
QString moduleKey();      // "ТипВУ"
QString checkedValue();   // "да"
QString uncheckedValue(); // "нет"

// The loader cuts longer values to this length.
constexpr qsizetype MaxValueLength = 2047;

} // namespace ChannelFileFormat
