#include "commandline.h"
#include "commands.h"
#include "console.h"
#include "exitcodes.h"
#include "portargument.h"
#include "stationsession.h"
#include "common/platformerror.h"
#include "files/channelfile.h"
#include "files/fileaccess.h"
#include "files/readarchive.h"
#include "state/appstate.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

namespace {

// An output that cannot be saved is refused before the station is asked,
// with its real reason rather than the save's numbered error.
void requireSavable(const QString &output)
{
    if (const auto refusal = FileAccess::targetRefusal(output))
        throw PlatformError(*refusal);
    const QFileInfo info(output);
    if (!info.dir().exists())
        throw PlatformError(QStringLiteral("Файл \"%1\" не может быть создан: папки \"%2\" нет.")
                                .arg(QDir::toNativeSeparators(output), QDir::toNativeSeparators(info.absolutePath())));
}

} // namespace

namespace Commands {

int read(const QStringList &arguments)
{
    CommandLine line(QStringLiteral("read"),
                     QStringLiteral("\"Чтение данных \" из станции на порту PORT; прочитанное сохраняется в FILE\n"
                                    "так, как его записала бы \"Запись в файл\", и копией в архив чтений.\n"
                                    "Ход передачи - на stderr. Код выхода: 0 - прочитано, 1 - ответ станции\n"
                                    "отвергнут, 3 - станция не ответила."));
    line.addPortOption();
    line.addOption(QCommandLineOption(QStringLiteral("output"), QStringLiteral("Файл каналов, который будет записан."),
                                      QStringLiteral("FILE")),
                   true);
    if (!line.parse(arguments))
        return ExitCode::Done;
    const PortArgument port = PortArgument::parse(line.value(QStringLiteral("port")));
    const QString output = line.value(QStringLiteral("output"));
    requireSavable(output);

    AppState state;
    const StationRead read = StationRead::run(state, port);
    if (read.outcome == StationReader::Outcome::NoAnswer) {
        Console::out(StationTexts::noAnswer());
        return ExitCode::NoAnswer;
    }
    if (read.outcome == StationReader::Outcome::Refused) {
        Console::out(read.refusal ? read.refusal->text : StationTexts::noAnswer());
        return ExitCode::Refused;
    }

    // The copy comes first, so the station's data are kept even when the
    // output file cannot be written.
    try {
        const QString copy = ReadArchive::store(state, ReadArchive::folder(), QDateTime::currentDateTime());
        Console::err(QStringLiteral("Копия в архиве чтений: %1").arg(QDir::toNativeSeparators(copy)));
    } catch (const PlatformError &e) {
        Console::err(ReadArchive::failureMessage(e.text()));
    }

    if (const auto refusal = ChannelFile::save(state, output)) {
        Console::out(refusal->text);
        return ExitCode::Refused;
    }
    Console::out(QStringLiteral("Данные станции сохранены в файл %1.").arg(QDir::toNativeSeparators(output)));
    return ExitCode::Done;
}

} // namespace Commands
