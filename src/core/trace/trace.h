#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QtGlobal>

struct LinkTimings;

// One thing that happened on a transfer's line, at `ms` milliseconds from
// the start of the recording on the line's own clock.
struct TraceEvent
{
    enum class Kind {
        Opened,   // the port was opened; `text` is the device
        Closed,   // the port was closed
        Sent,     // the program sent `bytes` (one after the other within the millisecond)
        Received, // the program took `bytes` off the line
        Failed,   // the port failed; `text` is the system's reason
    };

    qint64 ms = 0;
    Kind kind = Kind::Sent;
    QByteArray bytes;
    QString text;

    bool operator==(const TraceEvent &) const = default;
};

// What was said on the line during one transfer (a write, a read, a search,
// a comparison read, a batch station): every byte with its direction and
// time, and what a support person needs beside them to tell a fault of the
// line from one of the program.
struct Trace
{
    QString program; // "vetral 1.0.0"
    QDateTime started;
    QString transfer; // "запись", "чтение", "поиск" ...
    QString port;     // as the technician named it: "COM3", or a device
    QString adapter;  // what the system tells of it; empty when nothing
    QString latency;  // the adapter's latency note; empty when it costs nothing
    QString timings;  // the waits in force (timingsText)
    QString outcome;  // how the transfer ended, in the program's words
    QList<TraceEvent> events;

    bool operator==(const Trace &) const = default;

    // Appends an event; bytes going the same way in the same millisecond
    // join the event before.
    void add(qint64 ms, TraceEvent::Kind kind, const QByteArray &bytes = {}, const QString &text = {});

    QByteArray sent() const { return bytesOf(TraceEvent::Kind::Sent); }
    QByteArray received() const { return bytesOf(TraceEvent::Kind::Received); }

    // "vetral <version>" of this build.
    static QString thisProgram();
    // "тишина перед запросом 250 мс (не дольше 3000 мс), ответ на байт 201 мс, ..."
    static QString timingsText(const LinkTimings &timings);

private:
    QByteArray bytesOf(TraceEvent::Kind kind) const;
};
