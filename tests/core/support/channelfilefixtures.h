#pragma once

// Shared by the channel file tests: a state whose every setting and cell
// differs from the defaults, whole-file reads and writes, and the text of
// a platform failure.

#include "common/platformerror.h"
#include "files/channelfile.h"
#include "files/channelfileformat.h"
#include "files/ioerror.h"
#include "files/profile.h"
#include "files/windows1251.h"
#include "table/channelplan.h"
#include "table/settingstext.h"

#include <QDir>
#include <QRandomGenerator>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtTest>
#include <cerrno>
#include <functional>

#ifdef Q_OS_UNIX
#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

Q_DECLARE_METATYPE(StationKind)
Q_DECLARE_METATYPE(TextEncoding)

namespace ChannelFileFixtures {

inline const QString kGeneral = QStringLiteral("Общие установки");

// The 27 lines a load writes, with values other than the loader's defaults.
inline QStringList settingsLines()
{
    const QStringList values{"A1B2C3", "12AB", "700",  "750", "1000", "1200", "1400", "1550", "1700",
                             "1990",   "2100", "2400", "5",   "10",   "25",   "40",   "3",    "12",
                             "2",      "-",    "12",   "-",   "+",    "+",    "+",    "2"};
    QStringList lines{SettingsText::sectionLine()};
    for (std::size_t i = 0; i < SettingsText::keys().size(); ++i)
        lines << SettingsText::keys()[i].name + u'=' + values.at(static_cast<qsizetype>(i));
    return lines;
}

inline ChannelPlan makeState(StationKind kind, std::uint8_t module, int channels)
{
    ChannelPlan state;
    state.selectStation(kind);
    state.setModuleCode(module);
    state.settingsLines = settingsLines();
    ChannelTable &t = state.table;
    t.setRowCount(channels + 1);
    t.setHeader(ChannelTable::headerTexts());
    t.addCheckBoxes();
    for (int r = 1; r <= channels; ++r) {
        const QStringList texts{QString::number(r * 3),
                                r % 4 ? QStringLiteral("144006,25") : QStringLiteral("РЕТР_ПП"),
                                QString::number(140000 + r),
                                r % 2 ? "67,0" : "Нет",
                                "254,1",
                                "023",
                                r % 3 ? "Нет" : "754",
                                "10",
                                "Нет",
                                "6",
                                "4",
                                "1",
                                "",
                                r % 2 ? "12,5" : "25",
                                "",
                                r % 3 ? "RSSI" : "Норм",
                                r % 2 ? "15" : "Нет",
                                ""};
        for (int c = 0; c < ChannelTable::ColumnCount; ++c)
            t.setCell(c, r, texts.at(c));
        t.setChecked(ChannelTable::Scan, r, r % 2 == 0);
        t.setChecked(ChannelTable::IdTone, r, r % 3 == 0);
        t.setChecked(ChannelTable::Active, r, r % 5 != 0);
    }
    return state;
}

inline QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

inline void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

inline ChannelFile::LoadResult loadText(const QString &text, ChannelPlan &state)
{
    return ChannelFile::loadBytes(Windows1251::encode(text), state);
}

inline QString failureOf(const std::function<void()> &action)
{
    try {
        action();
    } catch (const PlatformError &error) {
        return error.text();
    }
    return QStringLiteral("<no failure>");
}

} // namespace ChannelFileFixtures
