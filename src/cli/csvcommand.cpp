// csv export and csv import: the channel table to and from a spreadsheet
// program, as CSV.
#include "commandline.h"
#include "commands.h"
#include "console.h"
#include "common/exitcodes.h"
#include "exchange/channelcsv.h"
#include "files/channelfile.h"
#include "state/appstate.h"
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

std::unique_ptr<CommandLine> exportLine()
{
    auto line = std::make_unique<CommandLine>(
        QStringLiteral("csv export"),
        QStringLiteral("Записывает таблицу каналов файла FILE в OUT.csv для электронной таблицы: разделитель \";\",\n"
                       "заголовки столбцов в первой строке, десятичная запятая, отмеченный флажок - \"+\".\n"
                       "Код выхода: 0, 1 - символ, которого нет в кодировке windows-1251."));
    line->addChannelFileArgument();
    line->addArgument(QStringLiteral("OUT"), QStringLiteral("Файл CSV, который будет записан (заменяется целиком)."));
    line->addOption(QCommandLineOption(QStringLiteral("encoding"),
                                       QStringLiteral("utf-8 (с меткой BOM, по умолчанию) или windows-1251."),
                                       QStringLiteral("ENC"), QStringLiteral("utf-8")));
    return line;
}

std::unique_ptr<CommandLine> importLine()
{
    auto line = std::make_unique<CommandLine>(
        QStringLiteral("csv import"),
        QStringLiteral("Записывает файл каналов OUT.ini с таблицей каналов из IN.csv (UTF-8 или windows-1251).\n"
                       "Общие установки, тип станции и модуль - из файла --settings, без него - как у шаблона.\n"
                       "Код выхода: 0, 1 - файл не является таблицей каналов (названы строка и столбец)."));
    line->addArgument(QStringLiteral("IN"), QStringLiteral("Файл CSV с таблицей каналов."));
    line->addArgument(QStringLiteral("OUT"), QStringLiteral("Файл каналов (.ini), который будет записан."));
    line->addOption(QCommandLineOption(QStringLiteral("settings"),
                                       QStringLiteral("Файл каналов, из которого взять общие установки и тип станции."),
                                       QStringLiteral("FILE.ini")));
    return line;
}

int exportTable(const QStringList &arguments)
{
    const auto line = exportLine();
    if (!line->parse(arguments))
        return ExitCode::Done;
    const ChannelCsv::Encoding encoding = encodingNamed(line->value(QStringLiteral("encoding")));

    AppState state;
    Commands::loadFile(line->argument(0), state);
    const QString output = line->argument(1);
    if (const MaybeRefusal refusal = ChannelCsv::save(state.table, output, encoding)) {
        Console::out(refusal->text);
        return ExitCode::Refused;
    }
    Console::out(QStringLiteral("Таблица каналов записана в файл %1 (каналов: %2).")
                     .arg(native(output))
                     .arg(state.table.channelCount()));
    return ExitCode::Done;
}

int importTable(const QStringList &arguments)
{
    const auto line = importLine();
    if (!line->parse(arguments))
        return ExitCode::Done;

    AppState state;
    state.settingsLines = SettingsText::templateLines();
    if (line->isSet(QStringLiteral("settings"))) {
        // Only the settings, the station type and the module are taken: a
        // file without channels gives them too.
        ChannelFile::load(line->value(QStringLiteral("settings")), state);
    }
    const QString input = line->argument(0);
    const auto imported = ChannelCsv::load(input);
    if (const auto *refusal = std::get_if<Refusal>(&imported)) {
        Console::out(refusal->text);
        return ExitCode::Refused;
    }
    state.table = std::get<ChannelCsv::Imported>(imported).table;
    state.dataValid = false;
    const QString output = line->argument(1);
    if (const MaybeRefusal refusal = ChannelFile::save(state, output)) {
        Console::out(refusal->text);
        return ExitCode::Refused;
    }
    Console::out(QStringLiteral("Файл каналов %1 записан из %2 (каналов: %3).")
                     .arg(native(output), native(input))
                     .arg(state.table.channelCount()));
    return ExitCode::Done;
}

} // namespace

namespace Commands {

int csv(const QStringList &arguments)
{
    const QString action = arguments.value(0);
    if (action == QStringLiteral("export"))
        return exportTable(arguments.mid(1));
    if (action == QStringLiteral("import"))
        return importTable(arguments.mid(1));
    if (action == QStringLiteral("--help") || action == QStringLiteral("-h")) {
        Console::out(exportLine()->helpText() + QStringLiteral("\n\n") + importLine()->helpText());
        return ExitCode::Done;
    }
    if (action.isEmpty())
        throw UsageError(QStringLiteral("Не указано действие: export или import (см. vetral-cli csv --help)"));
    throw UsageError(
        QStringLiteral("Неизвестное действие \"%1\": export или import (см. vetral-cli csv --help)").arg(action));
}

} // namespace Commands
