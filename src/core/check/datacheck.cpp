#include "check/datacheck.h"
#include "check/channelrowcoder.h"
#include "check/settingsrules.h"
#include "check/tempsettingsfile.h"
#include "table/channelplan.h"

namespace DataCheck {

QString successText()
{
    return QStringLiteral("Все данные введены верно.");
}

} // namespace DataCheck

QString DataCheckResult::text() const
{
    return refusal ? refusal->text : DataCheck::successText();
}

namespace DataCheck {

DataCheckResult run(const ChannelPlan &plan, const QString &tempSettingsPath)
{
    DataCheckResult result;
    StationData &station = result.station;
    station.moduleCode = static_cast<std::uint8_t>(plan.chosenModule);
    station.bandCode = plan.bandCode;
    station.stationKind = plan.stationKind;

    // Refused before the file is touched, so that no character is written as another.
    if ((result.refusal = TempSettingsFile::refuseUnencodable(plan.settingsLines)))
        return result;
    const Profile settings = TempSettingsFile::writeAndRead(plan.settingsLines, tempSettingsPath);

    SettingsRules rules(settings, plan.table, station.image, result.settingsDigitCount);
    if ((result.refusal = rules.run()))
        return result;

    // The settings rules have refused a table of more than 99 rows.
    const ChannelRowCoder coder(plan.table, plan.profile(), rules.dcsMode());
    for (int row = 1; row <= plan.table.channelCount(); ++row) {
        if ((result.refusal = coder.code(row, station.image.records[static_cast<std::size_t>(row - 1)])))
            return result;
    }
    return result;
}

} // namespace DataCheck
