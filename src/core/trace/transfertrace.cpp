#include "trace/transfertrace.h"

#include "batch/batchstation.h"
#include "transfer/outcomewords.h"
#include "common/platformerror.h"
#include "link/portmap.h"
#include "trace/tracestore.h"
#include "transfer/stationsequence.h"

#include <QDir>
#include <QFileInfo>

namespace TransferTrace {

Trace header(const StationPlan &plan)
{
    QStringList steps;
    if (plan.backUp)
        steps.append(BatchStation::stepName(SequenceStep::BackUp));
    if (plan.write)
        steps.append(BatchStation::stepName(SequenceStep::Write));
    if (plan.verify)
        steps.append(BatchStation::stepName(SequenceStep::Verify));
    if (plan.report)
        steps.append(BatchStation::stepName(SequenceStep::Report));
    Trace trace;
    trace.transfer = steps.join(QStringLiteral(", "));
    trace.port = portName(plan.link);
    trace.timings = Trace::timingsText(plan.link.timings);
    return trace;
}

QString portName(const LinkSetup &link)
{
    if (!link.device.isEmpty())
        return link.device;
    if (link.portNumber == 0)
        return QString();
    const QString name = PortMap::portName(link.portNumber);
    const QString device = PortMap::fromOptionsFile(link.optionsFile).deviceFor(link.portNumber);
    return device.isEmpty() ? name : QStringLiteral("%1 (%2)").arg(name, device);
}

QString outcomeText(const SequenceOutcome &outcome)
{
    if (outcome.kind == SequenceOutcome::Kind::Done)
        return QStringLiteral("выполнено");
    return OutcomeWords::text(outcome, OutcomeWords::Voice::BatchLine);
}

QString keep(const Trace &trace, const QString &folder)
{
    if (folder.isEmpty())
        return QString();
    try {
        return TraceStore::store(trace, folder);
    } catch (const PlatformError &) {
        // The station's data matter, the trace only helps find a fault.
        return QString();
    }
}

QString folderBeside(const QString &archiveFolder)
{
    if (archiveFolder.isEmpty())
        return QString();
    return QFileInfo(archiveFolder).dir().filePath(TraceStore::folderName());
}

} // namespace TransferTrace
