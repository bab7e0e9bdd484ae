#include "batch/batchstation.h"

#include "batch/batchreports.h"
#include "files/profile.h"
#include "image/fieldcoding.h"
#include "table/settingstext.h"

namespace BatchStation {

namespace {

// A copy of the state whose settings text says `value` for `key`.
AppState withSetting(const AppState &state, SettingsText::Key key, const QString &value)
{
    AppState copy = state;
    Profile settings(copy.settingsLines);
    settings.setValue(SettingsText::sectionName(), SettingsText::name(key), value);
    copy.settingsLines = settings.lines();
    return copy;
}

} // namespace

StationPlan plan(const AppState &state, const QString &device, const QString &optionsFile, const QString &archiveFolder,
                 BatchReports *reports, const TransferStop *stop)
{
    StationPlan plan;
    plan.link.optionsFile = optionsFile;
    plan.link.device = device;
    plan.link.stop = stop;
    plan.state = state;
    plan.archiveFolder = archiveFolder;
    if (reports) {
        // The report shows the station it was made for.
        plan.report = [reports](const AppState &writtenState, const QString &serial) {
            return reports->save(withSetting(writtenState, SettingsText::Key::Serial, serial), serial);
        };
    }
    return plan;
}

AppState withId(const AppState &checked, const QString &id)
{
    AppState state = withSetting(checked, SettingsText::Key::Id, id);
    state.image.idCode = FieldCoding::idCode(id).value_or(state.image.idCode);
    return state;
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
