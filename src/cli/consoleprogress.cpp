#include "consoleprogress.h"

#include "console.h"
#include "link/linktexts.h"

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

void ConsoleProgress::setStatus(const QString &text)
{
    if (text == m_status)
        return;
    m_status = text;
    if (m_terminal && m_barOpen)
        draw();
}

void ConsoleProgress::setProgress(int value)
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

void ConsoleProgress::setSearchCaption(const QString &text)
{
    // The search's result is the command's own last line.
    if (text != LinkTexts::searching())
        return;
    finish();
    Console::err(text);
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

void ConsoleProgress::restart()
{
    finish();
    m_status.clear();
    m_value = -1;
}
