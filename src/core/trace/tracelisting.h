#pragma once

#include "trace/trace.h"

#include <QString>
#include <QStringList>

// A trace as a person reads it, the same in `vetral-cli trace` and in the
// transfer dialog's "Журнал обмена…": the header, then one line per run of
// bytes in one direction within one step of the protocol: time in ms,
// direction, step, the bytes in upper-case hexadecimal.
//
// The steps are told from the bytes' places, counted from each opening of
// the port: a write begins with its start byte 14 (header, tones, Id,
// header, module, band, then the channel records, each byte answered), a
// read with its request 1E (blocks 1 to 4, then the channel records of the
// count block 1 gave), the search with its probe AF and closing byte 05.
namespace TraceListing {

QStringList lines(const Trace &trace);
inline QString text(const Trace &trace)
{
    return lines(trace).join(u'\n') + u'\n';
}

} // namespace TraceListing
