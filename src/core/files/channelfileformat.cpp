#include "files/channelfileformat.h"
#include "image/fieldcoding.h"
#include "table/channeltable.h"
#include "table/settingstext.h"

namespace ChannelFileFormat {

const std::array<ChannelKey, 18> &channelKeys()
{
    static const QString none = QStringLiteral("Нет");
    static const std::array<ChannelKey, 18> keys{{
        {QStringLiteral("Номер"), ChannelTable::Number, QStringLiteral("1")},
        {QStringLiteral("Rx"), ChannelTable::Rx, QStringLiteral("144000")},
        {QStringLiteral("Tx"), ChannelTable::Tx, QStringLiteral("144000")},
        {QStringLiteral("CTCSS_Rx"), ChannelTable::CtcRx, none},
        {QStringLiteral("CTCSS_Tx"), ChannelTable::CtcTx, none},
        {QStringLiteral("DCS_Rx"), ChannelTable::DcsRx, none},
        {QStringLiteral("DCS_Tx"), ChannelTable::DcsTx, none},
        {QStringLiteral("Тон_Rx"), ChannelTable::ToneRx, none},
        {QStringLiteral("Тон_Tx"), ChannelTable::ToneTx, none},
        {QStringLiteral("ШП"), ChannelTable::Sh, QStringLiteral("1")},
        {QStringLiteral("P_max"), ChannelTable::PMax, QStringLiteral("1")},
        {QStringLiteral("P_min"), ChannelTable::PMin, QStringLiteral("1")},
        {QStringLiteral("Сканировать"), ChannelTable::Scan, uncheckedValue()},
        {QStringLiteral("Sw"), ChannelTable::Sw, QStringLiteral("25")},
        {QStringLiteral("Id_Тон"), ChannelTable::IdTone, uncheckedValue()},
        {QStringLiteral("Tx_Off"), ChannelTable::TxOff, QStringLiteral("Норм")},
        {QStringLiteral("Время"), ChannelTable::Time, none},
        {QStringLiteral("Активен"), ChannelTable::Active, uncheckedValue()},
    }};
    return keys;
}

QString bandKey()
{
    return QStringLiteral("Тип");
}

QString moduleKey()
{
    return QStringLiteral("ТипВУ");
}

QString checkedValue()
{
    return QStringLiteral("да");
}

QString uncheckedValue()
{
    return QStringLiteral("нет");
}

const QStringList &words()
{
    static const QStringList all = [] {
        QStringList words{SettingsText::sectionName(),
                          bandKey(),
                          moduleKey(),
                          checkedValue(),
                          uncheckedValue(),
                          FieldCoding::rxRepeaterText(),
                          FieldCoding::txRepeaterText()};
        for (const auto &key : SettingsText::keys())
            words << key.name << key.fileDefault;
        for (const ChannelKey &key : channelKeys())
            words << key.name << key.defaultValue;
        words.removeDuplicates();
        return words;
    }();
    return all;
}

} // namespace ChannelFileFormat
