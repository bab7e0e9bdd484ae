#pragma once

#include <QString>
#include <QStringList>
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

// The section names, keys and fixed values of a channel file: a line that
// reads as one of them in UTF-8 shows a file written in UTF-8.
const QStringList &words();

// The loader cuts longer values to this length.
constexpr qsizetype MaxValueLength = 2047;

} // namespace ChannelFileFormat
