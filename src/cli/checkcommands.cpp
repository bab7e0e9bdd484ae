// check, dump and report: the commands that load a channel file as "Чтение
// файла" does and run "Контроль" on it.
#include "commandline.h"
#include "commands.h"
#include "console.h"
#include "common/exitcodes.h"
#include "common/paths.h"
#include "common/platformerror.h"
#include "files/channelfile.h"
#include "image/radioimage.h"
#include "report/reportdocument.h"
#include "reportpaper.h"
#include "state/appstate.h"

namespace {

QString hexLine(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

} // namespace

namespace Commands {

void loadFile(const QString &path, AppState &state)
{
    const ChannelFile::LoadResult loaded = ChannelFile::load(path, state);
    // The command line counts a file the window cannot take among the
    // failures of files (status 2), as one that cannot be opened.
    if (loaded.refusal)
        throw PlatformError(loaded.refusal->text);
    // What the file lacks is checked at its defaults: a warning, not a failure.
    if (const QString lacking = ChannelFile::lackingText(loaded.lacking); !lacking.isEmpty())
        Console::err(lacking);
}

DataCheckResult loadAndCheck(const QString &path, AppState &state)
{
    loadFile(path, state);
    return DataCheck::run(state, Paths::tempSettingsFile());
}

bool loadPassingCheck(const QString &path, AppState &state)
{
    const DataCheckResult result = loadAndCheck(path, state);
    if (!result.passed())
        Console::out(result.text());
    return result.passed();
}

int check(const CommandLine &line)
{
    AppState state;
    const DataCheckResult result = loadAndCheck(line.argument(0), state);
    Console::out(result.text());
    return result.passed() ? ExitCode::Done : ExitCode::Refused;
}

int dump(const CommandLine &line)
{
    AppState state;
    if (!loadPassingCheck(line.argument(0), state))
        return ExitCode::Refused;
    const QByteArray bytes = state.image.writeOrder(state.moduleCode, state.bandCode);
    Console::out(hexLine(bytes.first(RadioImage::WritePrefixSize)));
    for (qsizetype at = RadioImage::WritePrefixSize; at < bytes.size(); at += RadioImage::RecordSize)
        Console::out(hexLine(bytes.sliced(at, RadioImage::RecordSize)));
    return ExitCode::Done;
}

int report(const CommandLine &line)
{
    AppState state;
    if (!loadPassingCheck(line.argument(0), state))
        return ExitCode::Refused;
    const ReportDocument doc = ReportDocument::build(state, line.value(QStringLiteral("serial")));
    ReportPaper::write(doc, line.value(QStringLiteral("output")));
    return ExitCode::Done;
}

} // namespace Commands
