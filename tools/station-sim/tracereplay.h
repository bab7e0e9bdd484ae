#pragma once

#include "trace/trace.h"

#include <QList>
#include <cstdint>

// The station's side of a recorded trace, to be played against the program
// with its timing. Each byte the station sent is tied to the program's byte
// it followed (the n-th the program sent, counted over the whole trace) and
// goes out as long after that byte reaches the line as it did then; bytes
// sent before the program's first byte go out as long after the line's
// start as they did after the port's opening. What the recording's line did
// on the way (an adapter's bursts, a lost byte) is in those times already.
class TraceReplay
{
public:
    struct Timed
    {
        qint64 us; // after the anchor
        std::uint8_t byte;
    };

    explicit TraceReplay(const Trace &trace);

    // The bytes sent before the program's first, from the line's start.
    const QList<Timed> &opening() const { return m_answers.constFirst(); }
    // The bytes that followed the program's n-th byte (from 1), from its arrival.
    QList<Timed> after(qsizetype n) const { return m_answers.value(n); }
    // The line went away (its port failed once open) when the program had
    // taken this many of the station's bytes; -1 when it never did.
    qsizetype goneAfterTaken() const { return m_goneAfterTaken; }

private:
    QList<QList<Timed>> m_answers; // [0] the opening
    qsizetype m_goneAfterTaken = -1;
};
