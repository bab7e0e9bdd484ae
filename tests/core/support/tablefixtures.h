#pragma once

// Column names for the tests' small edit languages ("c:Rx:2=144000"), so
// that a case names its column as the code does, by ChannelTable::Column.

#include "table/channeltable.h"

#include <QString>
#include <QtGlobal>
#include <array>

namespace TableFixtures {

// The column whose enumerator is spelled `name`; a fatal error for any other text.
inline ChannelTable::Column columnNamed(const QString &name)
{
    using C = ChannelTable::Column;
    static const std::array<std::pair<const char *, C>, ChannelTable::ColumnCount> names{{
        {"Number", C::Number}, {"Rx", C::Rx}, {"Tx", C::Tx}, {"CtcRx", C::CtcRx}, {"CtcTx", C::CtcTx},
        {"DcsRx", C::DcsRx}, {"DcsTx", C::DcsTx}, {"ToneRx", C::ToneRx}, {"ToneTx", C::ToneTx}, {"Sh", C::Sh},
        {"PMax", C::PMax}, {"PMin", C::PMin}, {"Scan", C::Scan}, {"Sw", C::Sw}, {"IdTone", C::IdTone},
        {"TxOff", C::TxOff}, {"Time", C::Time}, {"Active", C::Active},
    }};
    for (const auto &[text, column] : names) {
        if (name == QLatin1String(text))
            return column;
    }
    qFatal("no column named %s", qPrintable(name));
}

} // namespace TableFixtures
