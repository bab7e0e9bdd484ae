#include "table/listchoice.h"
#include "common/numbers.h"
#include "station/codelists.h"
#include "table/channeltable.h"

namespace ListChoice {

namespace {
const QString &none()
{
    static const QString text = QStringLiteral("Нет");
    return text;
}

QStringList numbers(int first, int last)
{
    QStringList out;
    for (int n = first; n <= last; ++n)
        out << QString::number(n);
    return out;
}

std::optional<int> within(CellList list, long long position)
{
    if (position < 0 || position >= items(list).size())
        return std::nullopt;
    return static_cast<int>(position);
}

// Every item is compared and each match chosen, so the last match wins.
std::optional<int> lastMatch(CellList list, const QString &text)
{
    return within(list, items(list).lastIndexOf(text));
}
} // namespace

CellList listFor(int column)
{
    switch (column) {
    case ChannelTable::CtcRx:
    case ChannelTable::CtcTx:
        return CellList::Ctcss;
    case ChannelTable::DcsRx:
    case ChannelTable::DcsTx:
        return CellList::Dcs;
    case ChannelTable::ToneRx:
    case ChannelTable::ToneTx:
        return CellList::Tone;
    case ChannelTable::Sh:
        return CellList::Squelch;
    case ChannelTable::PMax:
    case ChannelTable::PMin:
        return CellList::Power;
    case ChannelTable::Sw:
        return CellList::Width;
    case ChannelTable::TxOff:
        return CellList::TxOff;
    case ChannelTable::Time:
        return CellList::Time;
    default:
        return CellList::None;
    }
}

const QStringList &items(CellList list)
{
    static const QStringList tone = QStringList{none()} + numbers(1, 10);
    static const QStringList squelch = numbers(1, 6);
    static const QStringList power = numbers(1, 4);
    static const QStringList width{QStringLiteral("12,5"), QStringLiteral("25")};
    static const QStringList time = QStringList{none()} + numbers(1, 15);
    static const QStringList txOff{QStringLiteral("Норм"), QStringLiteral("RSSI"), QStringLiteral("OFF")};
    static const QStringList empty;
    switch (list) {
    case CellList::Ctcss:
        return CodeLists::ctcss();
    case CellList::Dcs:
        return CodeLists::dcs();
    case CellList::Tone:
        return tone;
    case CellList::Squelch:
        return squelch;
    case CellList::Power:
        return power;
    case CellList::Width:
        return width;
    case CellList::Time:
        return time;
    case CellList::TxOff:
        return txOff;
    case CellList::None:
        break;
    }
    return empty;
}

std::optional<int> choose(CellList list, const QString &text)
{
    switch (list) {
    case CellList::Ctcss:
    case CellList::Dcs:
    case CellList::TxOff:
        return lastMatch(list, text);
    case CellList::Tone:
    case CellList::Time:
        return text == none() ? 0 : within(list, Numbers::toInt(text));
    case CellList::Squelch:
    case CellList::Power:
        return within(list, static_cast<long long>(Numbers::toInt(text)) - 1);
    case CellList::Width:
        return text == QLatin1String("25") ? 1 : 0;
    case CellList::None:
        break;
    }
    return std::nullopt;
}

} // namespace ListChoice
