#include "checkedfile.h"
#include "commandline.h"
#include "commands.h"
#include "console.h"
#include "consoleprogress.h"
#include "exitcodes.h"
#include "portargument.h"
#include "stationsession.h"
#include "writeverification.h"
#include "common/platformerror.h"
#include "link/linktexts.h"
#include "link/stationwriter.h"
#include "link/transferlink.h"
#include "state/appstate.h"

namespace {

// Differences named in the final line; the rest are counted.
constexpr int kNamedDifferences = 10;

QString writtenText()
{
    return QStringLiteral("Данные записаны в станцию.");
}

// "Запись данных " as the dialog's button runs it. True when the station
// answered throughout; false when a wait ran out ("AK"), whether at the start
// byte (the write then ends quietly) or later (the write then stops at its
// next port operation with the closed port's error).
bool writeToStation(AppState &state, const PortArgument &port)
{
    ConsoleProgress progress(Console::errIsTerminal());
    TransferLink link(progress);
    state.portNumber = port.applyTo(link);
    try {
        StationWriter::write(state, link);  // never refuses: the data passed the check
    } catch (const PlatformError &) {
        if (!progress.stationSilent())
            throw;
    }
    return !progress.stationSilent();
}

int verify(const AppState &state, const PortArgument &port)
{
    AppState held;
    const StationRead read = StationRead::run(held, port);
    switch (read.outcome) {
    case StationReader::Outcome::NoAnswer:
        // The write itself completed: only the reading back failed.
        Console::out(QStringLiteral("Данные записаны в станцию, но прочитать их для сверки не удалось: "
                                    "станция не отвечает (%1).").arg(LinkTexts::noAnswer()));
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
    QString text = QStringLiteral("Станция хранит не то, что записано: ") +
                   differences.mid(0, kNamedDifferences).join(QStringLiteral("; "));
    if (differences.size() > kNamedDifferences)
        text += QStringLiteral("; и ещё отличий: %1").arg(differences.size() - kNamedDifferences);
    Console::out(text);
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
    if (!result.passed) {
        Console::out(result.message.text);
        return ExitCode::Refused;
    }
    if (!writeToStation(state, port)) {
        Console::out(StationTexts::noAnswer());
        return ExitCode::NoAnswer;
    }
    if (!line.isSet(QStringLiteral("verify"))) {
        Console::out(writtenText());
        return ExitCode::Done;
    }
    return verify(state, port);
}

} // namespace Commands
