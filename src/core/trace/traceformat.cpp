#include "trace/traceformat.h"

#include "common/platformerror.h"

#include <QStringList>
#include <array>
#include <utility>

namespace TraceFormat {

namespace {

const char *const kFirstLine = "Журнал обмена Ветрал, формат 1";
const auto kDateFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz");

// The header's keys, in the order they are written, and the member each fills.
const std::array<std::pair<const char *, QString Trace::*>, 8> kHeader{{
    {"программа", &Trace::program},
    {"передача", &Trace::transfer},
    {"порт", &Trace::port},
    {"адаптер", &Trace::adapter},
    {"задержка адаптера", &Trace::latency},
    {"паузы", &Trace::timings},
    {"итог", &Trace::outcome},
    {"начало", nullptr},
}};

QString oneLine(const QString &text)
{
    QString line = text;
    line.replace(QLatin1String("\r\n"), QLatin1String(" "));
    line.replace(u'\n', u' ');
    line.replace(u'\r', u' ');
    return line;
}

QString eventWord(TraceEvent::Kind kind)
{
    switch (kind) {
    case TraceEvent::Kind::Opened:
        return QStringLiteral("открыт");
    case TraceEvent::Kind::Closed:
        return QStringLiteral("закрыт");
    case TraceEvent::Kind::Sent:
        return QStringLiteral(">");
    case TraceEvent::Kind::Received:
        return QStringLiteral("<");
    case TraceEvent::Kind::Failed:
        break;
    }
    return QStringLiteral("ошибка");
}

[[noreturn]] void notATrace(int lineNumber, const QString &why)
{
    throw PlatformError(QStringLiteral("Это не журнал обмена: строка %1: %2").arg(lineNumber).arg(why));
}

TraceEvent eventOf(const QString &line, int lineNumber)
{
    const qsizetype blank = line.indexOf(u' ');
    bool ok = false;
    TraceEvent event;
    event.ms = line.left(blank).toLongLong(&ok);
    if (!ok || blank < 0)
        notATrace(lineNumber, QStringLiteral("нет времени в миллисекундах"));
    const QString rest = line.mid(blank + 1);
    const qsizetype wordEnd = rest.indexOf(u' ');
    const QString word = rest.left(wordEnd);
    const QString value = wordEnd < 0 ? QString() : rest.mid(wordEnd + 1);
    for (const auto kind : {TraceEvent::Kind::Opened, TraceEvent::Kind::Closed, TraceEvent::Kind::Sent,
                            TraceEvent::Kind::Received, TraceEvent::Kind::Failed}) {
        if (word != eventWord(kind))
            continue;
        event.kind = kind;
        if (kind == TraceEvent::Kind::Sent || kind == TraceEvent::Kind::Received) {
            for (const QString &hex : value.split(u' ', Qt::SkipEmptyParts)) {
                const uint byte = hex.toUInt(&ok, 16);
                if (!ok || hex.size() != 2)
                    notATrace(lineNumber, QStringLiteral("\"%1\" не байт в шестнадцатеричной записи").arg(hex));
                event.bytes.append(static_cast<char>(byte));
            }
            if (event.bytes.isEmpty())
                notATrace(lineNumber, QStringLiteral("нет байтов"));
        } else {
            event.text = value;
        }
        return event;
    }
    notATrace(lineNumber, QStringLiteral("неизвестное событие \"%1\"").arg(word));
}

} // namespace

QByteArray encode(const Trace &trace)
{
    QString text = QString::fromUtf8(kFirstLine) + u'\n';
    for (const auto &[key, member] : kHeader) {
        const QString value = member ? trace.*member : trace.started.toString(kDateFormat);
        if (!value.isEmpty())
            text += QString::fromUtf8(key) + QStringLiteral(": ") + oneLine(value) + u'\n';
    }
    text += QStringLiteral("# время в мс от начала; > программа станции, < станция программе\n");
    for (const TraceEvent &event : trace.events) {
        text += QString::number(event.ms) + u' ' + eventWord(event.kind);
        if (!event.bytes.isEmpty())
            text += u' ' + QString::fromLatin1(event.bytes.toHex(' ').toUpper());
        if (!event.text.isEmpty())
            text += u' ' + oneLine(event.text);
        text += u'\n';
    }
    return text.toUtf8();
}

Trace decode(const QByteArray &bytes)
{
    const QStringList lines = QString::fromUtf8(bytes).split(u'\n');
    if (lines.constFirst().trimmed() != QString::fromUtf8(kFirstLine))
        notATrace(1, QStringLiteral("нет заголовка \"%1\"").arg(QString::fromUtf8(kFirstLine)));
    Trace trace;
    bool inEvents = false;
    for (int i = 1; i < lines.size(); ++i) {
        const QString line = lines.at(i).trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        if (!inEvents && !line.front().isDigit()) {
            const qsizetype colon = line.indexOf(QLatin1String(": "));
            if (colon < 0)
                notATrace(i + 1, QStringLiteral("ни строка заголовка, ни событие"));
            const QString key = line.left(colon);
            const QString value = line.mid(colon + 2);
            for (const auto &[name, member] : kHeader) {
                if (key != QString::fromUtf8(name))
                    continue;
                if (member)
                    trace.*member = value;
                else
                    trace.started = QDateTime::fromString(value, kDateFormat);
            }
            continue;
        }
        inEvents = true;
        trace.events.append(eventOf(line, i + 1));
    }
    return trace;
}

} // namespace TraceFormat
