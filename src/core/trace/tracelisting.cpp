#include "trace/tracelisting.h"

#include <optional>

namespace TraceListing {

namespace {

constexpr std::uint8_t StartByte = 0x14;
constexpr std::uint8_t RequestByte = 0x1E;
constexpr std::uint8_t ProbeByte = 0xAF;
constexpr std::uint8_t ClosingByte = 0x05;
constexpr int WriteSettingsBytes = 26; // the start byte and the settings before the records
constexpr int ReplySettingsBytes = 28; // blocks 1 to 4 of a read's reply
constexpr int RecordBytes = 18;
constexpr int ChannelCountPlace = 5; // in block 1 of a reply

QString channel(qsizetype index)
{
    return QStringLiteral("канал %1").arg(index / RecordBytes + 1);
}

// The step of a byte by its place since the port was opened.
class Steps
{
public:
    void opened() { *this = Steps(); }

    QString sent(std::uint8_t byte)
    {
        if (m_sent == 0)
            m_kind = byte;
        const qsizetype place = m_sent++;
        m_lastSent = sentStep(byte, place);
        return m_lastSent;
    }

    QString received(std::uint8_t byte)
    {
        // A reply's places count from the request: what came before it
        // (a station powering up, the rest of an earlier reply) is no part of it.
        if (m_sent == 0)
            return QStringLiteral("до начала");
        const qsizetype place = m_received++;
        if (m_kind != RequestByte)
            return m_kind == ProbeByte ? QStringLiteral("ответ на пробу") : m_lastSent;
        if (place == ChannelCountPlace)
            m_channels = byte;
        if (place < 10)
            return QStringLiteral("блок 1: заголовок");
        if (place < 20)
            return QStringLiteral("блок 2: тоны");
        if (place < 24)
            return QStringLiteral("блок 3: заголовок");
        if (place < ReplySettingsBytes)
            return QStringLiteral("блок 4: модуль, диапазон");
        if (m_channels && place >= ReplySettingsBytes + *m_channels * RecordBytes)
            return QStringLiteral("сверх ответа");
        return channel(place - ReplySettingsBytes);
    }

private:
    QString sentStep(std::uint8_t byte, qsizetype place) const
    {
        if (m_kind == ProbeByte)
            return byte == ProbeByte     ? QStringLiteral("проба")
                   : byte == ClosingByte ? QStringLiteral("закрытие")
                                         : QStringLiteral("байт");
        if (m_kind == RequestByte)
            return place == 0 ? QStringLiteral("запрос") : QStringLiteral("сверх запроса");
        if (m_kind != StartByte)
            return QStringLiteral("байт");
        if (place == 0)
            return QStringLiteral("стартовый байт");
        if (place <= 5)
            return QStringLiteral("заголовок");
        if (place <= 15)
            return QStringLiteral("тоны");
        if (place <= 17)
            return QStringLiteral("Id");
        if (place <= 21)
            return QStringLiteral("заголовок");
        if (place == 22)
            return QStringLiteral("модуль");
        if (place < WriteSettingsBytes)
            return QStringLiteral("диапазон");
        return channel(place - WriteSettingsBytes);
    }

    std::uint8_t m_kind = 0;
    qsizetype m_sent = 0;
    qsizetype m_received = 0;
    QString m_lastSent;
    std::optional<int> m_channels;
};

QString line(qint64 ms, const QString &direction, const QString &step, const QString &what)
{
    return QStringLiteral("%1 мс  %2  %3 %4").arg(ms, 8).arg(direction).arg(step, -24).arg(what);
}

} // namespace

QStringList lines(const Trace &trace)
{
    QStringList out;
    const auto header = [&out](const QString &name, const QString &value) {
        if (!value.isEmpty())
            out.append(QStringLiteral("%1: %2").arg(name, value));
    };
    header(QStringLiteral("Передача"), trace.transfer);
    header(QStringLiteral("Итог"), trace.outcome);
    header(QStringLiteral("Порт"), trace.port);
    header(QStringLiteral("Адаптер"), trace.adapter);
    header(QStringLiteral("Задержка адаптера"), trace.latency);
    header(QStringLiteral("Начало"), trace.started.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss")));
    header(QStringLiteral("Программа"), trace.program);
    header(QStringLiteral("Паузы"), trace.timings);
    out.append(QStringLiteral("Передано программой: %1 байт, принято от станции: %2 байт")
                   .arg(trace.sent().size())
                   .arg(trace.received().size()));
    out.append(QStringLiteral("Время в мс от начала; -> программа станции, <- станция программе"));
    out.append(QString());

    Steps steps;
    for (const TraceEvent &event : trace.events) {
        switch (event.kind) {
        case TraceEvent::Kind::Opened:
            steps.opened();
            out.append(line(event.ms, QStringLiteral("--"), QStringLiteral("порт открыт"), event.text));
            continue;
        case TraceEvent::Kind::Closed:
            out.append(line(event.ms, QStringLiteral("--"), QStringLiteral("порт закрыт"), QString()));
            continue;
        case TraceEvent::Kind::Failed:
            out.append(line(event.ms, QStringLiteral("!!"), QStringLiteral("ошибка порта"), event.text));
            continue;
        case TraceEvent::Kind::Sent:
        case TraceEvent::Kind::Received:
            break;
        }
        const bool sent = event.kind == TraceEvent::Kind::Sent;
        const QString direction = sent ? QStringLiteral("->") : QStringLiteral("<-");
        QString runStep;
        QByteArray run;
        const auto flush = [&] {
            if (!run.isEmpty())
                out.append(line(event.ms, direction, runStep, QString::fromLatin1(run.toHex(' ').toUpper())));
            run.clear();
        };
        for (const char c : event.bytes) {
            const auto byte = static_cast<std::uint8_t>(c);
            const QString step = sent ? steps.sent(byte) : steps.received(byte);
            if (step != runStep)
                flush();
            runStep = step;
            run.append(c);
        }
        flush();
    }
    return out;
}

} // namespace TraceListing
