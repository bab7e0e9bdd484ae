#include "check/datacheck.h"
#include "check/channelrowcoder.h"
#include "check/settingsrules.h"
#include "check/tempsettingsfile.h"
#include "state/appstate.h"

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

DataCheckResult run(AppState &state, const QString &tempSettingsPath)
{
    state.dataValid = false;
    state.settingsDigitCount = 0;

    // Refused before the file is touched, so that no character is written as another.
    if (auto refusal = TempSettingsFile::refuseUnencodable(state.settingsLines))
        return {refusal};
    const Profile settings = TempSettingsFile::writeAndRead(state.settingsLines, tempSettingsPath);

    state.image.clearRecords();

    SettingsRules rules(settings, state);
    if (auto refusal = rules.run())
        return {refusal};

    // The settings rules have refused a table of more than 99 rows.
    const ChannelRowCoder coder(state.table, state.profile, rules.dcsMode());
    for (int row = 1; row <= state.table.channelCount(); ++row) {
        if (auto refusal = coder.code(row, state.image.records[static_cast<std::size_t>(row - 1)]))
            return {refusal};
    }

    state.moduleCode = static_cast<std::uint8_t>(state.moduleMenuIndex);
    state.dataValid = true;
    return {};
}

} // namespace DataCheck
