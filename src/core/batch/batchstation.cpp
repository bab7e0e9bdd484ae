#include "batch/batchstation.h"

#include "batch/batchreports.h"
#include "files/profile.h"
#include "image/fieldcoding.h"
#include "table/settingstext.h"
#include "trace/transfertrace.h"

namespace BatchStation {

namespace {

// A copy of the plan whose settings text says `value` for `key`.
ChannelPlan withSetting(const ChannelPlan &channels, SettingsText::Key key, const QString &value)
{
    ChannelPlan copy = channels;
    Profile settings(copy.settingsLines);
    settings.setValue(SettingsText::sectionName(), SettingsText::name(key), value);
    copy.settingsLines = settings.lines();
    return copy;
}

} // namespace

StationPlan plan(const ChannelPlan &channels, const StationData &data, const QString &device,
                 const QString &optionsFile, const QString &archiveFolder, std::shared_ptr<BatchReports> reports,
                 std::shared_ptr<TransferStop> stop)
{
    StationPlan plan;
    plan.link.optionsFile = optionsFile;
    plan.link.device = device;
    plan.link.stop = std::move(stop);
    plan.channels = channels;
    plan.data = data;
    plan.archiveFolder = archiveFolder;
    plan.link.traceFolder = TransferTrace::folderBeside(archiveFolder);
    if (reports) {
        // The report shows the station it was made for.
        plan.report = [reports](const ChannelPlan &written, const StationData &bytes, const QString &serial) {
            return reports->save(withSetting(written, SettingsText::Key::Serial, serial), bytes.image.channelCount(),
                                 serial);
        };
    }
    return plan;
}

void setId(StationPlan &plan, const QString &id)
{
    plan.channels = withSetting(plan.channels, SettingsText::Key::Id, id);
    plan.data.image.idCode = FieldCoding::idCode(id).value_or(plan.data.image.idCode);
}

QString stepName(SequenceStep step)
{
    switch (step) {
    case SequenceStep::BackUp:
        return QStringLiteral("чтение");
    case SequenceStep::Write:
        return QStringLiteral("запись");
    case SequenceStep::Verify:
        return QStringLiteral("проверка");
    case SequenceStep::Report:
        break;
    }
    return QStringLiteral("протокол");
}

} // namespace BatchStation
