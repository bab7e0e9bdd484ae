#include "image/stationlayout.h"

#include "files/channelfileformat.h"

namespace StationLayout {

namespace {

QString fieldName(const Field &f, int byte)
{
    using SettingsText::name;
    switch (f.store) {
    case Store::Module:
        return ChannelFileFormat::moduleKey();
    case Store::Band:
        return ChannelFileFormat::bandKey();
    case Store::IdHigh:
        return name(Key::Id) + QStringLiteral(", старший байт");
    case Store::IdLow:
        return name(Key::Id) + QStringLiteral(", младший байт");
    case Store::Tone:
        return name(SettingsText::tone(byte + 1));
    default:
        break;
    }
    if (!f.key)
        return QStringLiteral("число каналов");
    if (*f.key == Key::ScanOption)
        return QStringList{name(Key::ScanOption), name(Key::VOption), name(Key::Vu)}.join(QStringLiteral(", "));
    return name(*f.key);
}

} // namespace

QList<Key> keysOf(const Field &field)
{
    if (field.store == Store::Tone) {
        QList<Key> tones;
        for (int n = 1; n <= field.size; ++n)
            tones.append(SettingsText::tone(n));
        return tones;
    }
    if (field.key == Key::ScanOption)
        return {Key::ScanOption, Key::VOption, Key::Vu};
    if (field.key)
        return {*field.key};
    return {};
}

const Field &writtenField(int position)
{
    for (const Name name : writeOrder) {
        const Field &f = field(name);
        const int at = writeAt(name);
        if (position >= at && position < at + f.size * f.writeCopies)
            return f;
    }
    return field(Name::Records);
}

QString writtenByteName(int position)
{
    if (position >= WritePrefixSize) {
        const int offset = position - WritePrefixSize;
        return QStringLiteral("запись %1, байт %2").arg(offset / RecordSize + 1).arg(offset % RecordSize);
    }
    const Field &f = writtenField(position);
    return fieldName(f, (position - writeAt(f.name)) % f.size);
}

} // namespace StationLayout
