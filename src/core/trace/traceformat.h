#pragma once

#include "trace/trace.h"

#include <QByteArray>

// A trace as a small UTF-8 text that a person can read in any editor and
// the program reads back: a first line naming the format, "key: value"
// header lines, then one line per event, "<ms> > 14 05" for bytes the
// program sent, "<ms> < 14" for bytes it took, "<ms> открыт <device>",
// "<ms> закрыт", "<ms> ошибка <reason>". Lines beginning with "#" are
// notes for the reader.
namespace TraceFormat {

QByteArray encode(const Trace &trace);
// Throws PlatformError naming the first line that is not of a trace.
Trace decode(const QByteArray &text);

} // namespace TraceFormat
