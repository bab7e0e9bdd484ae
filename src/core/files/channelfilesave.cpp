#include "files/channelfile.h"
#include "common/platformerror.h"
#include "files/channelfileformat.h"
#include "files/fileaccess.h"
#include "files/profile.h"
#include "files/windows1251.h"
#include "table/channelplan.h"
#include "table/settingstext.h"

namespace {

struct Unwritable
{
    QString character;
    bool lineBreak = false;
};

std::optional<Unwritable> findUnwritable(const QString &text)
{
    qsizetype breakAt = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == u'\n' || text.at(i) == u'\r') {
            breakAt = i;
            break;
        }
    }
    const auto unencodable = Windows1251::findUnencodable(breakAt < 0 ? text : text.first(breakAt));
    if (unencodable)
        return Unwritable{unencodable->character, false};
    if (breakAt >= 0)
        return Unwritable{text.sliced(breakAt, 1), true};
    return std::nullopt;
}

QString codePoint(const QString &character)
{
    const char32_t code = character.size() == 2 && character.at(0).isHighSurrogate()
                              ? QChar::surrogateToUcs4(character.at(0), character.at(1))
                              : character.at(0).unicode();
    return QStringLiteral("U+%1").arg(static_cast<uint>(code), 4, 16, QLatin1Char('0')).toUpper();
}

Refusal refusal(const Unwritable &bad, const QString &where)
{
    const QString text =
        bad.lineBreak ? QStringLiteral("Разрыв строки (%1) %2 нельзя записать в файл. Файл не сохранён.")
                            .arg(codePoint(bad.character), where)
                      : QStringLiteral("Символ «%1» (%2) %3 нельзя записать в файл: его нет в кодировке Windows-1251. "
                                       "Файл не сохранён.")
                            .arg(bad.character, codePoint(bad.character), where);
    return Refusal{text, Sound::Error};
}

} // namespace

MaybeRefusal ChannelFile::checkWritable(const ChannelPlan &plan)
{
    for (qsizetype i = 0; i < plan.settingsLines.size(); ++i) {
        if (const auto bad = findUnwritable(plan.settingsLines.at(i)))
            return refusal(*bad, QStringLiteral("в строке %1 общих установок").arg(i + 1));
    }
    const ChannelTable &table = plan.table;
    for (int row = 1; row < table.rowCount(); ++row) {
        for (int column = 0; column < ChannelTable::ColumnCount; ++column) {
            if (ChannelTable::isCheckColumn(column))
                continue;
            if (const auto bad = findUnwritable(table.cell(column, row))) {
                const QString header = ChannelTable::headerTexts()[static_cast<std::size_t>(column)].trimmed();
                return refusal(*bad, QStringLiteral("в строке %1 таблицы каналов, столбец «%2»,").arg(row).arg(header));
            }
        }
    }
    return std::nullopt;
}

QString ChannelFile::text(const ChannelPlan &plan)
{
    using namespace ChannelFileFormat;
    Profile profile(plan.settingsLines);
    const QString general = SettingsText::sectionName();
    profile.setValue(general, bandKey(), QString::number(plan.bandCode));
    profile.setValue(general, moduleKey(), QString::number(plan.moduleCode));
    const ChannelTable &table = plan.table;
    for (int row = 1; row < table.rowCount(); ++row) {
        const QString section = QString::number(row);
        for (const ChannelKey &key : channelKeys()) {
            const QString value = !ChannelTable::isCheckColumn(key.column) ? table.cell(key.column, row)
                                  : table.isChecked(key.column, row)       ? checkedValue()
                                                                           : uncheckedValue();
            profile.setValue(section, key.name, value);
        }
    }
    return profile.toText();
}

QByteArray ChannelFile::encode(const ChannelPlan &plan)
{
    if (const auto refused = checkWritable(plan))
        throw PlatformError(refused->text);
    return Windows1251::encode(text(plan));
}

MaybeRefusal ChannelFile::save(const ChannelPlan &plan, const QString &path)
{
    if (auto refused = checkWritable(plan))
        return refused;
    FileAccess::writeAtomically(path, Windows1251::encode(text(plan)));
    return std::nullopt;
}
