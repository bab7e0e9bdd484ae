#pragma once

#include "link/linkevents.h"

#include <QMetaType>
#include <QString>

// The steps of one station's sequence, in their order.
enum class SequenceStep { BackUp, Write, Verify, Report };

// What a station's sequence tells while it runs, on its own thread: the step
// that begins, then the bytes of its write or read.
class TransferEvents : public LinkEvents
{
public:
    // A step begins, its port open, before its first byte; `serial` is the
    // station's as the backup read found it (empty before).
    virtual void stepStarted(SequenceStep step, const QString &serial)
    {
        Q_UNUSED(step)
        Q_UNUSED(serial)
    }
};

// The bytes of the running step: what a window derives its gauge from.
struct TransferProgress
{
    SequenceStep step = SequenceStep::Write;
    // Bytes on the line so far: sent by a write (its start byte counted),
    // received by a read.
    qsizetype done = 0;
    // The whole step's bytes; for a read 0 until its channel count came.
    qsizetype total = 0;
    // A write's channel records have begun: its settings went out and the
    // pause after them is over.
    bool records = false;

    // A read's progress once `reply` has come.
    static TransferProgress ofReply(SequenceStep step, const QByteArray &reply);

    bool isRead() const { return step == SequenceStep::BackUp || step == SequenceStep::Verify; }
    // 0..100 of the step's bytes.
    int percent() const;

    bool operator==(const TransferProgress &) const = default;
};

Q_DECLARE_METATYPE(SequenceStep)
Q_DECLARE_METATYPE(TransferProgress)
