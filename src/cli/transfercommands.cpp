// "Запись данных " and "Чтение данных " from the command line: the transfer
// dialog's progress on standard error, the outcome as one line and the exit
// status.
#include "commandline.h"
#include "commands.h"
#include "console.h"
#include "consoleprogress.h"
#include "exitcodes.h"
#include "portargument.h"
#include "writeverification.h"
#include "common/platformerror.h"
#include "files/channelfile.h"
#include "files/fileaccess.h"
#include "files/readarchive.h"
#include "link/linktexts.h"
#include "link/qtseriallink.h"
#include "link/readobserver.h"
#include "link/stationreader.h"
#include "link/stationwriter.h"
#include "link/transferlink.h"
#include "state/appstate.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <memory>

namespace {

// A wait for the station ran out ("AK" in the transfer dialog).
QString noAnswerText()
{
    return QStringLiteral("Станция не отвечает (%1).").arg(LinkTexts::noAnswer());
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
}

// The serial port of the program, keeping a copy of every byte the transfer
// takes from the line, so that a read's reply can be compared byte for byte.
class RecordingSerialLink final : public SerialLink
{
public:
    explicit RecordingSerialLink(std::shared_ptr<QByteArray> taken) : m_taken(std::move(taken)) {}

    static SerialLinkFactory factory(const std::shared_ptr<QByteArray> &taken)
    {
        return [taken] { return std::make_unique<RecordingSerialLink>(taken); };
    }

    void open(const QString &device) override { m_link.open(device); }
    bool isOpen() const override { return m_link.isOpen(); }
    void close() override { m_link.close(); }
    void sendByte(std::uint8_t byte) override { m_link.sendByte(byte); }
    bool byteReady() override { return m_link.byteReady(); }
    std::uint8_t takeByte() override
    {
        const std::uint8_t byte = m_link.takeByte();
        m_taken->append(static_cast<char>(byte));
        return byte;
    }
    bool waitForByte(int ms) override { return m_link.waitForByte(ms); }
    void purgeReceive() override { m_link.purgeReceive(); }
    void purgeSend() override { m_link.purgeSend(); }

private:
    std::shared_ptr<QByteArray> m_taken;
    QtSerialLink m_link;
};

// A read without a window: nothing to show while the reply arrives; a refusal
// of the reply is kept for the command to report.
class QuietReadView final : public ReadObserver
{
public:
    void settingsChanged() override {}
    void stationSelected(std::optional<StationKind>) override {}
    void tableShown() override {}
    void moduleMarked() override {}
    void refused(const Refusal &refusal) override { m_refusal = refusal; }

    const MaybeRefusal &refusal() const { return m_refusal; }

private:
    MaybeRefusal m_refusal;
};

// One "Чтение данных " without a window: the progress on standard error, the
// reply decoded into the state as the window decodes it. Serial errors are
// thrown as PlatformError.
struct StationRead
{
    StationReader::Outcome outcome = StationReader::Outcome::NoAnswer;
    MaybeRefusal refusal;   // when the reply was refused
    QByteArray reply;       // every byte taken from the line, in order
};

StationRead readStation(AppState &state, const PortArgument &port)
{
    StationRead result;
    auto taken = std::make_shared<QByteArray>();
    ConsoleProgress progress(Console::errIsTerminal());
    TransferLink link(progress, Paths::optionsFile(), RecordingSerialLink::factory(taken));
    state.portNumber = port.applyTo(link);
    QuietReadView view;
    result.outcome = StationReader::read(state, link, view);
    result.refusal = view.refusal();
    result.reply = *taken;
    return result;
}

// Differences named in the final line; the rest are counted.
constexpr int kNamedDifferences = 10;

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
    const StationRead read = readStation(held, port);
    switch (read.outcome) {
    case StationReader::Outcome::NoAnswer:
        // The write itself completed: only the reading back failed.
        Console::out(QStringLiteral("Данные записаны в станцию, но прочитать их для сверки не удалось: "
                                    "станция не отвечает (%1).").arg(LinkTexts::noAnswer()));
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
    QString text = QStringLiteral("Станция хранит не то, что записано: ") +
                   differences.mid(0, kNamedDifferences).join(QStringLiteral("; "));
    if (differences.size() > kNamedDifferences)
        text += QStringLiteral("; и ещё отличий: %1").arg(differences.size() - kNamedDifferences);
    Console::out(text);
    return ExitCode::Differs;
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
    const StationRead read = readStation(state, port);
    if (read.outcome == StationReader::Outcome::NoAnswer) {
        Console::out(noAnswerText());
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
                                    "3 - станция не ответила, 4 - станция хранит не то, что записано."));
    line.addChannelFileArgument();
    line.addPortOption();
    line.addOption(QCommandLineOption(QStringLiteral("verify"),
                                      QStringLiteral("Прочитать станцию после записи и сравнить.")));
    if (!line.parse(arguments))
        return ExitCode::Done;
    const PortArgument port = PortArgument::parse(line.value(QStringLiteral("port")));

    AppState state;
    if (!loadPassingCheck(line.argument(0), state))
        return ExitCode::Refused;
    const WriteOutcome written = writeToStation(state, port);
    switch (written.kind) {
    case WriteOutcome::Kind::Completed:
        break;
    case WriteOutcome::Kind::NotStarted:
    case WriteOutcome::Kind::BrokenOff:
        Console::out(noAnswerText());
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
