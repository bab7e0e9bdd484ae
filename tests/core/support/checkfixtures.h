#pragma once

// Shared by the data check tests: template data, the small edit language
// the cases are written in, and the record bytes as hex text.

#include "check/datacheck.h"
#include "image/radioimage.h"
#include "table/channelplan.h"
#include "table/templatebuilder.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <array>
#include <utility>

namespace CheckFixtures {

// The column whose enumerator is spelled `name` ("Rx", "PMin"); a fatal
// error for any other text. The cases name their columns as the code does.
inline ChannelTable::Column columnNamed(const QString &name)
{
    using C = ChannelTable::Column;
    static const std::array<std::pair<const char *, C>, ChannelTable::ColumnCount> names{{
        {"Number", C::Number},
        {"Rx", C::Rx},
        {"Tx", C::Tx},
        {"CtcRx", C::CtcRx},
        {"CtcTx", C::CtcTx},
        {"DcsRx", C::DcsRx},
        {"DcsTx", C::DcsTx},
        {"ToneRx", C::ToneRx},
        {"ToneTx", C::ToneTx},
        {"Sh", C::Sh},
        {"PMax", C::PMax},
        {"PMin", C::PMin},
        {"Scan", C::Scan},
        {"Sw", C::Sw},
        {"IdTone", C::IdTone},
        {"TxOff", C::TxOff},
        {"Time", C::Time},
        {"Active", C::Active},
    }};
    for (const auto &[text, column] : names) {
        if (name == QLatin1String(text))
            return column;
    }
    qFatal("no column named %s", qPrintable(name));
}

inline const QString kSuccess = QStringLiteral("Все данные введены верно.");

// A table of `channels` rows from the band's low limit + 4000 kHz in steps of
// 1000 kHz, with the template's cells, boxes and settings lines.
inline ChannelPlan templatePlan(StationKind kind = StationKind::Band144_174, int channels = 3)
{
    ChannelPlan plan;
    plan.selectStation(kind);
    const StationProfile &p = plan.profile();
    const auto refusal = TemplateBuilder::build(
        {QString::number(channels), QString::number(p.lowKHz + 4000), QStringLiteral("1000")}, plan);
    if (refusal)
        qFatal("template refused: %s", qPrintable(refusal->text));
    return plan;
}

inline int settingLine(const QStringList &lines, const QString &key)
{
    for (int i = 0; i < lines.size(); ++i)
        if (lines.at(i).contains(u'=') && lines.at(i).section(u'=', 0, 0) == key)
            return i;
    return -1;
}

// One edit of the template's data:
//   s:KEY=VALUE  set a settings line (appended when missing)   d:KEY  delete it
//   add:LINE     append a raw line   top:LINE  insert a line right after the section line
//   line0:LINE   replace the section line   clear  no settings lines at all
//   c:COLUMN:ROW=TEXT  a cell   b:COLUMN:ROW=0|1  a check box   rows:N  N channel rows   detach
inline void applyEdit(ChannelPlan &plan, const QString &edit)
{
    const QString kind = edit.section(u':', 0, 0);
    const QString rest = edit.section(u':', 1);
    QStringList &lines = plan.settingsLines;
    if (kind == QLatin1String("s") || kind == QLatin1String("d")) {
        const QString key = rest.section(u'=', 0, 0);
        const int at = settingLine(lines, key);
        if (kind == QLatin1String("d"))
            lines.removeAt(at);
        else if (at < 0)
            lines.append(rest);
        else
            lines[at] = rest;
    } else if (kind == QLatin1String("add")) {
        lines.append(rest);
    } else if (kind == QLatin1String("top")) {
        lines.insert(1, rest);
    } else if (kind == QLatin1String("line0")) {
        lines[0] = rest;
    } else if (kind == QLatin1String("clear")) {
        lines.clear();
    } else if (kind == QLatin1String("c") || kind == QLatin1String("b")) {
        const int column = columnNamed(rest.section(u':', 0, 0));
        const QString rowAndValue = rest.section(u':', 1);
        const int row = rowAndValue.section(u'=', 0, 0).toInt();
        const QString value = rowAndValue.section(u'=', 1);
        if (kind == QLatin1String("c"))
            plan.table.setCell(column, row, value);
        else
            plan.table.setChecked(column, row, value == QLatin1String("1"));
    } else if (kind == QLatin1String("rows")) {
        plan.table.setRowCount(rest.toInt() + 1);
    } else if (kind == QLatin1String("detach")) {
        plan.table.detachCheckBoxes();
    } else {
        qFatal("unknown edit %s", qPrintable(edit));
    }
}

inline void applyEdits(ChannelPlan &plan, const QStringList &edits)
{
    for (const QString &edit : edits)
        applyEdit(plan, edit);
}

inline QByteArray recordHex(const RadioImage &image, int index)
{
    const auto &record = image.records[std::size_t(index)];
    return QByteArray(reinterpret_cast<const char *>(record.data()), RadioImage::RecordSize).toHex(' ').toUpper();
}

// "BE01 11D881" -> "BE 01 11 D8 81"
inline QByteArray spaced(const char *hex)
{
    return QByteArray::fromHex(hex).toHex(' ').toUpper();
}

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<missing>");
    return file.readAll();
}

// The data check with its temporary settings file in a folder of its own.
class CheckRunner
{
public:
    DataCheckResult operator()(const ChannelPlan &plan) const { return DataCheck::run(plan, tempFile()); }
    QString tempFile() const { return m_dir.filePath(QStringLiteral("MyTemp.ini")); }
    QString folder() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
};

} // namespace CheckFixtures
