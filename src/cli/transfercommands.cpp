// "Запись данных " and "Чтение данных " from the command line: the transfer
// dialog's progress on standard error, the outcome as one line and the exit
// status.
#include "commandline.h"
#include "commands.h"
#include "console.h"
#include "consoleprogress.h"
#include "exitcodes.h"
#include "portargument.h"
#include "stationread.h"
#include "writeverification.h"
#include "common/platformerror.h"
#include "files/channelfile.h"
#include "files/fileaccess.h"
#include "files/ioerror.h"
#include "files/readarchive.h"
#include "link/linktexts.h"
#include "link/stationreader.h"
#include "link/stationwriter.h"
#include "link/transferlink.h"
#include "state/appstate.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

namespace {

// A wait for the station ran out ("AK" in the transfer dialog); `detail`
// says more when the line was busy.
QString noAnswerText(const QString &detail = QString())
{
    return QStringLiteral("Станция не отвечает (%1)%2.").arg(LinkTexts::noAnswer(), detail);
}

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
    // A name too long, or a folder that takes no file, would fail only after
    // the station was read.
    if (const int blocker = FileAccess::writeBlocker(output))
        throw PlatformError(QStringLiteral("Файл \"%1\" не может быть записан: %2")
                                .arg(QDir::toNativeSeparators(output), IoError::message(blocker)));
}

// A read with its progress on standard error; the bar's line is ended when
// this returns.
StationRead readStation(AppState &state, const PortArgument &port)
{
    ConsoleProgress progress(Console::errIsTerminal());
    return StationRead::run(state, port, progress, Paths::optionsFile());
}

QString writtenText()
{
    return QStringLiteral("Данные записаны в станцию.");
}

// "Запись данных " as the dialog's button runs it, the progress on standard
// error; the bar's line is ended when this returns.
WriteOutcome writeToStation(AppState &state, const PortArgument &port, bool &lineBusy)
{
    ConsoleProgress progress(Console::errIsTerminal());
    TransferLink link(progress);
    state.portNumber = port.applyTo(link);
    const WriteOutcome outcome = StationWriter::write(state, link);
    lineBusy = link.lineStayedBusy();
    return outcome;
}

int verify(const AppState &state, const PortArgument &port)
{
    AppState held;
    const StationRead read = readStation(held, port);
    switch (read.outcome) {
    case StationReader::Outcome::NoAnswer:
        if (const auto invalid = read.invalidReply()) {
            Console::out(QStringLiteral("Данные записаны в станцию, но при чтении для сверки %1.").arg(*invalid));
            return ExitCode::Differs;
        }
        // The write itself completed: only the reading back failed.
        Console::out(QStringLiteral("Данные записаны в станцию, но прочитать их для сверки не удалось: "
                                    "станция не отвечает (%1)%2.")
                         .arg(LinkTexts::noAnswer(), read.noAnswerDetail()));
        return ExitCode::NoAnswer;
    case StationReader::Outcome::Refused:
        Console::out(read.refusal ? read.refusal->text : noAnswerText());
        return ExitCode::Differs;
    case StationReader::Outcome::Complete:
        break;
    }
    const QByteArray written = state.image.writeOrder(state.moduleCode, state.bandCode);
    const QStringList differences = WriteVerification::differences(written, read.reply);
    if (differences.isEmpty()) {
        Console::out(QStringLiteral("Данные записаны в станцию, прочитаны и совпадают с записанными."));
        return ExitCode::Done;
    }
    Console::out(QStringLiteral("Станция хранит не то, что записано: ") + WriteVerification::summary(differences));
    return ExitCode::Differs;
}

} // namespace

namespace Commands {

int read(const QStringList &arguments)
{
    CommandLine line(QStringLiteral("read"),
                     QStringLiteral("\"Чтение данных \" из станции на порту PORT; прочитанное сохраняется в FILE\n"
                                    "так, как его записала бы \"Запись в файл\", и копией в архив чтений.\n"
                                    "FILE проверяется до обращения к станции (папка есть и принимает файл, имя\n"
                                    "допустимо). Ход передачи - на stderr. Код выхода: 0 - прочитано, 1 - ответ\n"
                                    "станции отвергнут или недопустим, 3 - станция не ответила."));
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
    const StationRead read = readStation(state, port);
    if (const auto invalid = read.invalidReply()) {
        Console::out(QStringLiteral("Станция ответила, но %1.").arg(*invalid));
        return ExitCode::Refused;
    }
    if (read.outcome == StationReader::Outcome::NoAnswer) {
        Console::out(noAnswerText(read.noAnswerDetail()));
        return ExitCode::NoAnswer;
    }
    if (read.outcome == StationReader::Outcome::Refused) {
        Console::out(read.refusal ? read.refusal->text : noAnswerText());
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

int write(const QStringList &arguments)
{
    CommandLine line(QStringLiteral("write"),
                     QStringLiteral("Как check, затем \"Запись данных \" в станцию на порту PORT.\n"
                                    "С --verify затем читает станцию и сравнивает прочитанное с записанным.\n"
                                    "Ход передачи - на stderr, итог - одной строкой на stdout.\n"
                                    "Код выхода: 0 - записано (и проверено), 1 - отказ проверки,\n"
                                    "3 - станция не ответила, 4 - станция хранит не то, что записано\n"
                                    "(или её ответ на проверочное чтение недопустим)."));
    line.addChannelFileArgument();
    line.addPortOption();
    line.addOption(
        QCommandLineOption(QStringLiteral("verify"), QStringLiteral("Прочитать станцию после записи и сравнить.")));
    if (!line.parse(arguments))
        return ExitCode::Done;
    const PortArgument port = PortArgument::parse(line.value(QStringLiteral("port")));

    AppState state;
    if (!loadPassingCheck(line.argument(0), state))
        return ExitCode::Refused;
    bool lineBusy = false;
    const WriteOutcome written = writeToStation(state, port, lineBusy);
    switch (written.kind) {
    case WriteOutcome::Kind::Completed:
        break;
    case WriteOutcome::Kind::NotStarted:
    case WriteOutcome::Kind::BrokenOff:
        Console::out(noAnswerText(lineBusy ? busyLineText() : QString()));
        return ExitCode::NoAnswer;
    case WriteOutcome::Kind::NotChecked:
        Console::out(written.refusal->text);
        return ExitCode::Refused;
    case WriteOutcome::Kind::PortFailure:
        Console::err(written.failure);
        return ExitCode::Failure;
    }
    if (!line.isSet(QStringLiteral("verify"))) {
        Console::out(writtenText());
        return ExitCode::Done;
    }
    return verify(state, port);
}

} // namespace Commands
