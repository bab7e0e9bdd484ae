#pragma once

// Shared by the read tests: an observer of both the dialog and the rebuilt
// data, a serial link that traces its port operations, and a comparison of
// everything a read may change in AppState.

#include "link/readobserver.h"
#include "state/appstate.h"
#include "support/linkfixtures.h"

#include <QTest>
#include <memory>

namespace ReadFixtures {

// Logs the dialog's events and the read observer's into one list:
// "settings 3" (the line count then), "station 30-60" or "station none",
// "table", "module 4" (the menu index then), "refused".
class ReadRecorder : public LinkFixtures::RecordingObserver, public ReadObserver
{
public:
    explicit ReadRecorder(const AppState &state) : m_state(state) {}

    QList<Refusal> refusals;
    // keepAlives at the last progress or data event: the empty polls after it
    // are those of the wait that ended the read.
    int pollsAtLastEvent = 0;

    int pollsSinceLastEvent() const { return keepAlives - pollsAtLastEvent; }

    void setProgress(int value) override
    {
        RecordingObserver::setProgress(value);
        pollsAtLastEvent = keepAlives;
    }
    void settingsChanged() override { log(QStringLiteral("settings %1").arg(m_state.settingsLines.size())); }
    void stationSelected(std::optional<StationKind> kind) override
    {
        log(QStringLiteral("station ") + (kind ? kindName(*kind) : QStringLiteral("none")));
    }
    void tableShown() override { log(QStringLiteral("table")); }
    void moduleMarked() override { log(QStringLiteral("module %1").arg(m_state.chosenModule)); }
    void refused(const Refusal &refusal) override
    {
        refusals.append(refusal);
        log(QStringLiteral("refused"));
    }

    static QString kindName(StationKind kind)
    {
        switch (kind) {
        case StationKind::Band30_60:
            return QStringLiteral("30-60");
        case StationKind::Band144_174:
            return QStringLiteral("144-174");
        case StationKind::Band400_486:
            return QStringLiteral("400-486");
        }
        return QString();
    }

    // The events of the read observer only.
    QStringList dataEvents() const
    {
        QStringList out;
        for (const QString &e : events)
            if (e.startsWith(QLatin1String("settings")) || e.startsWith(QLatin1String("station"))
                || e == QLatin1String("table") || e.startsWith(QLatin1String("module"))
                || e == QLatin1String("refused"))
                out.append(e);
        return out;
    }

private:
    void log(const QString &event)
    {
        events.append(event);
        pollsAtLastEvent = keepAlives;
    }

    const AppState &m_state;
};

// A link that logs "open", "purge in", "purge out", "send 1e" and
// "close" (of an open port) in the order they happen.
class TracingLink final : public LinkFixtures::ForwardingLink
{
public:
    explicit TracingLink(std::shared_ptr<QStringList> trace) : m_trace(std::move(trace)) {}
    void open(const QString &device) override
    {
        m_trace->append(QStringLiteral("open"));
        m_link->open(device);
    }
    void close() override
    {
        if (m_link->isOpen())
            m_trace->append(QStringLiteral("close"));
        m_link->close();
    }
    void sendByte(std::uint8_t byte) override
    {
        m_trace->append(QStringLiteral("send %1").arg(byte, 2, 16, QLatin1Char('0')));
        m_link->sendByte(byte);
    }
    void purgeReceive() override
    {
        m_trace->append(QStringLiteral("purge in"));
        m_link->purgeReceive();
    }
    void purgeSend() override
    {
        m_trace->append(QStringLiteral("purge out"));
        m_link->purgeSend();
    }

private:
    std::shared_ptr<QStringList> m_trace;
};

inline SerialLinkFactory tracingFactory(std::shared_ptr<QStringList> trace)
{
    return [trace] { return std::make_unique<TracingLink>(trace); };
}

// Every cell, box and count of the two tables.
inline void compareTables(const ChannelTable &actual, const ChannelTable &expected)
{
    QCOMPARE(actual.rowCount(), expected.rowCount());
    QCOMPARE(actual.checkBoxRowCount(), expected.checkBoxRowCount());
    for (int row = 0; row < expected.rowCount(); ++row) {
        QCOMPARE(actual.hasBoxes(row), expected.hasBoxes(row));
        for (int column = 0; column < ChannelTable::ColumnCount; ++column) {
            QCOMPARE(actual.cell(column, row), expected.cell(column, row));
            QCOMPARE(actual.isChecked(column, row), expected.isChecked(column, row));
        }
    }
}

// Everything a read may touch, and what it must not.
inline void compareStates(const AppState &actual, const AppState &expected)
{
    QCOMPARE(actual.settingsLines, expected.settingsLines);
    compareTables(actual.table, expected.table);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(actual.image.header, expected.image.header);
    QCOMPARE(actual.image.tones, expected.image.tones);
    QCOMPARE(actual.image.idCode, expected.image.idCode);
    QVERIFY(actual.image.records == expected.image.records);
    QCOMPARE(actual.stationKind, expected.stationKind);
    QCOMPARE(actual.profile().prescaler, expected.profile().prescaler);
    QCOMPARE(actual.bandCode, expected.bandCode);
    QCOMPARE(actual.moduleCode, expected.moduleCode);
    QCOMPARE(actual.chosenModule, expected.chosenModule);
    QCOMPARE(actual.dataValid, expected.dataValid);
    QCOMPARE(actual.settingsDigitCount, expected.settingsDigitCount);
}

} // namespace ReadFixtures
