#pragma once

#include "paperdocument.h"

#include <QDate>
#include <QString>

struct ChannelPlan;

// The channel sheet: what the window holds for one station, on A4 landscape
// pages to print or to keep as PDF. The station type and module, the
// general settings, the channel table with its header on every page and the
// repeater marks standing out, the date, and page numbers.
namespace ChannelSheet {

// `source` names where the data come from (a file name) in the sheet's
// heading and foot; empty leaves it out.
PaperDocument build(const ChannelPlan &plan, const QDate &date, const QString &source = QString());

// A4 landscape with its margins: what a print dialog should open with.
QPageLayout pageLayout();

} // namespace ChannelSheet
