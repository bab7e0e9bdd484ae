#include "files/channelfileformat.h"
#include "table/channeltable.h"

namespace ChannelFileFormat {

const std::array<SettingsKey, 26> &settingsKeys()
{
    static const std::array<SettingsKey, 26> keys{{
        {QStringLiteral("Серийный номер"), QStringLiteral("100000")},
        {QStringLiteral("Id_номер"), QStringLiteral("1000")},
        {QStringLiteral("Тон1"), QStringLiteral("1000")},
        {QStringLiteral("Тон2"), QStringLiteral("1000")},
        {QStringLiteral("Тон3"), QStringLiteral("1000")},
        {QStringLiteral("Тон4"), QStringLiteral("1000")},
        {QStringLiteral("Тон5"), QStringLiteral("1000")},
        {QStringLiteral("Тон6"), QStringLiteral("1000")},
        {QStringLiteral("Тон7"), QStringLiteral("1000")},
        {QStringLiteral("Тон8"), QStringLiteral("1000")},
        {QStringLiteral("Тон9"), QStringLiteral("1000")},
        {QStringLiteral("Тон10"), QStringLiteral("1000")},
        {QStringLiteral("P_1"), QStringLiteral("1")},
        {QStringLiteral("P_2"), QStringLiteral("1")},
        {QStringLiteral("P_3"), QStringLiteral("1")},
        {QStringLiteral("P_4"), QStringLiteral("1")},
        {QStringLiteral("Яркость диодов"), QStringLiteral("1")},
        {QStringLiteral("Громкость"), QStringLiteral("8")},
        {QStringLiteral("МинГромкость"), QStringLiteral("1")},
        {QStringLiteral("Пик_кнопок"), QStringLiteral("+")},
        {QStringLiteral("ФВ"), QStringLiteral("00")},
        {QStringLiteral("Код_DCS"), QStringLiteral("+")},
        {QStringLiteral("Ф_Скан"), QStringLiteral("-")},
        {QStringLiteral("Ф_V"), QStringLiteral("-")},
        {QStringLiteral("ВУ"), QStringLiteral("-")},
        {QStringLiteral("СК"), QStringLiteral("1")},
    }};
    return keys;
}

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

} // namespace ChannelFileFormat
