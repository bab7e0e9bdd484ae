#include "transfer/writeverification.h"

#include "files/channelfileformat.h"
#include "image/radioimage.h"
#include "table/settingstext.h"

#include <algorithm>

namespace WriteVerification {

namespace {

// Differences named in a summary; the rest are counted.
constexpr int kNamedDifferences = 10;

// The write order's prefix, field by field, named by the settings and file keys.
QStringList prefixFields()
{
    using SettingsText::Key;
    using SettingsText::name;
    QStringList fields{name(Key::Brightness), name(Key::Volume), QStringLiteral("число каналов"), name(Key::KeyBeep),
                       name(Key::SpecialChannel)};
    for (int n = 1; n <= 10; ++n)
        fields.append(name(SettingsText::tone(n)));
    fields << name(Key::Id) + QStringLiteral(", старший байт") << name(Key::Id) + QStringLiteral(", младший байт")
           << name(Key::Fv) << name(Key::MinVolume) << name(Key::DcsMode)
           << QStringList{name(Key::ScanOption), name(Key::VOption), name(Key::Vu)}.join(QStringLiteral(", "))
           << ChannelFileFormat::moduleKey();
    for (int copy = 0; copy < 3; ++copy)
        fields.append(ChannelFileFormat::bandKey());
    return fields;
}

// The second and third copy of the band code: the reply has only one.
constexpr int kBandRepeat1 = 23;
constexpr int kBandRepeat2 = 24;

QString hexByte(char byte)
{
    return QStringLiteral("%1").arg(static_cast<unsigned char>(byte), 2, 16, QLatin1Char('0')).toUpper();
}

// The reply in the write order, from the station's own values of every field.
QByteArray replyInWriteOrder(const QByteArray &reply)
{
    RadioImage image;
    const RadioImage::ReadExtras extras = image.fillFromReadOrder(reply);
    image.idCode = extras.idCode.value_or(0);
    return image.writeOrder(extras.moduleCode.value_or(0), extras.bandCode.value_or(0));
}

} // namespace

QString fieldName(int position)
{
    static const QStringList prefix = prefixFields();
    if (position < RadioImage::WritePrefixSize)
        return prefix.at(position);
    const int offset = position - RadioImage::WritePrefixSize;
    return QStringLiteral("запись %1, байт %2")
        .arg(offset / RadioImage::RecordSize + 1)
        .arg(offset % RadioImage::RecordSize);
}

QStringList differences(const QByteArray &written, const QByteArray &reply)
{
    const QByteArray held = replyInWriteOrder(reply);
    QStringList found;
    // A different channel count shows as its own field; the records are
    // compared as far as both sides have them.
    const qsizetype common = std::min(written.size(), held.size());
    for (qsizetype i = 0; i < common; ++i) {
        if (i == kBandRepeat1 || i == kBandRepeat2 || written.at(i) == held.at(i))
            continue;
        found.append(QStringLiteral("%1: записано %2, прочитано %3")
                         .arg(fieldName(static_cast<int>(i)), hexByte(written.at(i)), hexByte(held.at(i))));
    }
    return found;
}

QString summary(const QStringList &differences)
{
    QString text = differences.mid(0, kNamedDifferences).join(QStringLiteral("; "));
    if (differences.size() > kNamedDifferences)
        text += QStringLiteral("; и ещё отличий: %1").arg(differences.size() - kNamedDifferences);
    return text;
}

} // namespace WriteVerification
