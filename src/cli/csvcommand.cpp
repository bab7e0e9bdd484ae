// csv export and csv import: the channel table to and from a spreadsheet
// program, as CSV.
#include "commandline.h"
#include "commands.h"
#include "console.h"
#include "common/exitcodes.h"
#include "exchange/channelcsv.h"
#include "files/channelfile.h"
#include "table/channelplan.h"
#include "table/settingstext.h"

#include <QDir>
#include <memory>

namespace {

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

ChannelCsv::Encoding encodingNamed(const QString &name)
{
    const QString n = name.toLower();
    if (n == QStringLiteral("utf-8") || n == QStringLiteral("utf8"))
        return ChannelCsv::Encoding::Utf8;
    if (n == QStringLiteral("windows-1251") || n == QStringLiteral("cp1251"))
        return ChannelCsv::Encoding::Windows1251;
    throw UsageError(
        QStringLiteral("Неизвестная кодировка \"%1\": utf-8 или windows-1251 (см. vetral-cli csv --help)").arg(name));
}

} // namespace

namespace Commands {

int csvExport(const CommandLine &line)
{
    const ChannelCsv::Encoding encoding = encodingNamed(line.value(QStringLiteral("encoding")));

    ChannelPlan state;
    Commands::loadFile(line.argument(0), state);
    const QString output = line.argument(1);
    if (const MaybeRefusal refusal = ChannelCsv::save(state.table, output, encoding)) {
        Console::out(refusal->text);
        return ExitCode::Refused;
    }
    Console::out(QStringLiteral("Таблица каналов записана в файл %1 (каналов: %2).")
                     .arg(native(output))
                     .arg(state.table.channelCount()));
    return ExitCode::Done;
}

int csvImport(const CommandLine &line)
{
    ChannelPlan state;
    state.settingsLines = SettingsText::templateLines();
    if (line.isSet(QStringLiteral("settings"))) {
        // Only the settings, the station type and the module are taken: a
        // file without channels gives them too.
        ChannelFile::load(line.value(QStringLiteral("settings")), state);
    }
    const QString input = line.argument(0);
    const auto imported = ChannelCsv::load(input);
    if (const auto *refusal = std::get_if<Refusal>(&imported)) {
        Console::out(refusal->text);
        return ExitCode::Refused;
    }
    state.table = std::get<ChannelCsv::Imported>(imported).table;
    const QString output = line.argument(1);
    if (const MaybeRefusal refusal = ChannelFile::save(state, output)) {
        Console::out(refusal->text);
        return ExitCode::Refused;
    }
    Console::out(QStringLiteral("Файл каналов %1 записан из %2 (каналов: %3).")
                     .arg(native(output), native(input))
                     .arg(state.table.channelCount()));
    return ExitCode::Done;
}

} // namespace Commands
