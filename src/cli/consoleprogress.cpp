#include "consoleprogress.h"

#include "console.h"
#include "link/linktexts.h"
#include "transfer/stationsequence.h"
#include "transfer/transfergauge.h"

#include <algorithm>

namespace {
constexpr int kBarWidth = 40;
}

ConsoleProgress::ConsoleProgress(bool terminal, QString station) : m_terminal(terminal), m_station(std::move(station))
{
}

void ConsoleProgress::stopDeferred(bool writing, qint64 remainingMs)
{
    finish();
    Console::err(stopNotice(m_station, writing, remainingMs));
}

QString stopNotice(const QString &station, bool writing, qint64 remainingMs)
{
    // Whole seconds, at least one: "ещё 0 с" would promise an end that is not there yet.
    const qint64 seconds = std::max<qint64>(1, (remainingMs + 999) / 1000);
    if (writing)
        return QStringLiteral("Остановка: запись станции %1 будет закончена (ещё %2 с); второй Ctrl+C прервёт её и "
                              "оставит станцию записанной не полностью")
            .arg(station)
            .arg(seconds);
    return QStringLiteral("Остановка: чтение станции %1 будет закончено (ещё %2 с); второй Ctrl+C прервёт его")
        .arg(station)
        .arg(seconds);
}

void ConsoleProgress::stepStarted(SequenceStep step)
{
    finish();
    m_step = step;
    m_value = -1;
    m_status = step == SequenceStep::Write ? LinkTexts::writing() : LinkTexts::reading();
}

void ConsoleProgress::progress(const TransferProgress &progress)
{
    setValue(TransferGauge::value(progress));
}

void ConsoleProgress::ended(const SequenceOutcome &outcome)
{
    using Kind = SequenceOutcome::Kind;
    if (!outcome.portOpened)
        return;
    const bool stepCompleted = outcome.kind == Kind::Done || outcome.kind == Kind::ArchiveFailed
                               || outcome.kind == Kind::Differs || outcome.kind == Kind::StationChanged;
    if (stepCompleted)
        setValue(TransferGauge::completed(outcome.step));
    setStatus(outcome.kind == Kind::NoAnswer || outcome.kind == Kind::Refused ? LinkTexts::noAnswer()
                                                                              : LinkTexts::idle());
    finish();
}

void ConsoleProgress::setStatus(const QString &text)
{
    if (text == m_status)
        return;
    m_status = text;
    if (m_terminal && m_barOpen)
        draw();
}

void ConsoleProgress::setValue(int value)
{
    if (value == m_value)
        return;
    m_value = value;
    if (m_terminal) {
        draw();
        return;
    }
    Console::err(QStringLiteral("%1 %2%").arg(m_status).arg(value));
}

void ConsoleProgress::draw()
{
    const int filled = std::clamp(m_value, 0, 100) * kBarWidth / 100;
    Console::errRaw(QStringLiteral("\r%1 [%2%3] %4%")
                        .arg(m_status, -3)
                        .arg(QString(filled, u'#'), QString(kBarWidth - filled, u'.'))
                        .arg(m_value, 3));
    m_barOpen = true;
}

void ConsoleProgress::finish()
{
    if (m_barOpen)
        Console::errRaw(QStringLiteral("\n"));
    m_barOpen = false;
}
