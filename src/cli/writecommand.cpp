#include "checkedfile.h"
#include "commandline.h"
#include "commands.h"
#include "console.h"
#include "consoleprogress.h"
#include "exitcodes.h"
#include "portargument.h"
#include "stationsession.h"
#include "writeverification.h"
#include "link/stationwriter.h"
#include "link/transferlink.h"
#include "state/appstate.h"

namespace {

QString writtenText()
{
    return QStringLiteral("Данные записаны в станцию.");
}

// "Запись данных " as the dialog's button runs it, the progress on standard
// error; the bar's line is ended when this returns.
WriteOutcome writeToStation(AppState &state, const PortArgument &port)
{
    ConsoleProgress progress(Console::errIsTerminal());
    TransferLink link(progress);
    state.portNumber = port.applyTo(link);
    return StationWriter::write(state, link);
}

int verify(const AppState &state, const PortArgument &port)
{
    AppState held;
    const StationRead read = StationRead::run(held, port);
    switch (read.outcome) {
    case StationReader::Outcome::NoAnswer:
        Console::out(StationTexts::noAnswer());
        return ExitCode::NoAnswer;
    case StationReader::Outcome::Refused:
        Console::out(read.refusal ? read.refusal->text : StationTexts::noAnswer());
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

int write(const QStringList &arguments)
{
    CommandLine line(QStringLiteral("write"),
                     QStringLiteral("Как check, затем \"Запись данных \" в станцию на порту PORT.\n"
                                    "С --verify затем читает станцию и сравнивает прочитанное с записанным.\n"
                                    "Ход передачи - на stderr, итог - одной строкой на stdout.\n"
                                    "Код выхода: 0 - записано (и проверено), 1 - отказ проверки,\n"
                                    "3 - станция не ответила, 4 - станция хранит не то, что записано."));
    line.addChannelFileArgument();
    line.addPortOption();
    line.addOption(QCommandLineOption(QStringLiteral("verify"),
                                      QStringLiteral("Прочитать станцию после записи и сравнить.")));
    if (!line.parse(arguments))
        return ExitCode::Done;
    const PortArgument port = PortArgument::parse(line.value(QStringLiteral("port")));

    AppState state;
    const DataCheckResult result = loadAndCheck(line.argument(0), state);
    if (!result.passed()) {
        Console::out(result.text());
        return ExitCode::Refused;
    }
    const WriteOutcome written = writeToStation(state, port);
    switch (written.kind) {
    case WriteOutcome::Kind::Completed:
        break;
    case WriteOutcome::Kind::NotStarted:
    case WriteOutcome::Kind::BrokenOff:
        Console::out(StationTexts::noAnswer());
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
