#pragma once

#include "common/refusal.h"
#include "table/channeltable.h"

#include <QStringList>

struct ChannelPlan;

// "Ok" of the template panel: a fresh table of N channels from a start
// frequency and a step, with the default cells, fresh boxes and the 26
// settings lines.
namespace TemplateBuilder {

struct Fields
{
    QString count;
    QString start;
    QString step;
};

// Checks the three fields in order and, when they pass, rebuilds the table and
// the settings lines. A refusal leaves both untouched; so does a start or step
// that is not a number at all, which throws the conversion error.
MaybeRefusal build(const Fields &fields, int bandLowKHz, int bandHighKHz, ChannelTable &table,
                   QStringList &settingsLines);

// build() within the band of the plan's station type.
MaybeRefusal build(const Fields &fields, ChannelPlan &plan);

// The band message of the template and of the data check: "140-174".
QString bandRange(int bandLowKHz, int bandHighKHz);

// True when f·100, rounded half to even, is a multiple of 625 (6,25 kHz).
bool isMultipleOf6_25(double kHz);

// Key filters of the count field (digits) and the frequency fields (digits and comma).
// Backspace passes; anything else is refused with its message and the default sound.
MaybeRefusal filterCountKey(QChar key);
MaybeRefusal filterFrequencyKey(QChar key);

} // namespace TemplateBuilder
