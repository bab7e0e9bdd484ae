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

namespace {

QString hexLine(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

} // namespace

namespace Commands {

void loadFile(const QString &path, ChannelPlan &plan)
{
    const ChannelFile::LoadResult loaded = ChannelFile::load(path, plan);
    // The command line counts a file the window cannot take among the
    // failures of files (status 2), as one that cannot be opened.
    if (loaded.refusal)
        throw PlatformError(loaded.refusal->text);
    // What the file lacks is checked at its defaults: a warning, not a failure.
    if (const QString lacking = ChannelFile::lackingText(loaded.lacking); !lacking.isEmpty())
        Console::err(lacking);
}

CheckedFile loadAndCheck(const QString &path)
{
    CheckedFile file;
    loadFile(path, file.plan);
    file.check = DataCheck::run(file.plan, Paths::tempSettingsFile());
    return file;
}

std::optional<CheckedFile> loadPassingCheck(const QString &path)
{
    CheckedFile file = loadAndCheck(path);
    if (!file.check.passed()) {
        Console::out(file.check.text());
        return std::nullopt;
    }
    return file;
}

int check(const CommandLine &line)
{
    const DataCheckResult result = loadAndCheck(line.argument(0)).check;
    Console::out(result.text());
    return result.passed() ? ExitCode::Done : ExitCode::Refused;
}

int dump(const CommandLine &line)
{
    const auto file = loadPassingCheck(line.argument(0));
    if (!file)
        return ExitCode::Refused;
    const QByteArray bytes = file->check.station.writeOrder();
    Console::out(hexLine(bytes.first(RadioImage::WritePrefixSize)));
    for (qsizetype at = RadioImage::WritePrefixSize; at < bytes.size(); at += RadioImage::RecordSize)
        Console::out(hexLine(bytes.sliced(at, RadioImage::RecordSize)));
    return ExitCode::Done;
}

int report(const CommandLine &line)
{
    const auto file = loadPassingCheck(line.argument(0));
    if (!file)
        return ExitCode::Refused;
    const ReportDocument doc = ReportDocument::build(line.value(QStringLiteral("serial")), file->plan.settingsLines,
                                                     file->plan.table, file->check.station.image.channelCount());
    ReportPaper::write(doc, line.value(QStringLiteral("output")));
    return ExitCode::Done;
}

} // namespace Commands
