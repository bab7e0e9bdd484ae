// print: the channel sheet of a channel file as PDF; and the application
// object of the commands that draw pages.
#include "commandline.h"
#include "commands.h"
#include "console.h"
#include "common/exitcodes.h"
#include "paperplatform.h"
#include "channelsheet.h"
#include "paperpdf.h"
#include "table/channelplan.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <cstring>

namespace Commands {

std::unique_ptr<QCoreApplication> application(int &argc, char **argv)
{
    // Pages are laid out with the fonts of Qt Gui, which need a
    // QGuiApplication; the other commands do without.
    const bool drawsPages = argc > 1 && (std::strcmp(argv[1], "print") == 0 || std::strcmp(argv[1], "report") == 0);
    if (!drawsPages)
        return std::make_unique<QCoreApplication>(argc, argv);
    PaperPlatform::prepare();
    return std::make_unique<QGuiApplication>(argc, argv);
}

int printSheet(const CommandLine &line)
{
    const QString file = line.argument(0);
    ChannelPlan state;
    Commands::loadFile(file, state);
    const QString output = line.value(QStringLiteral("output"));
    PaperPdf::save(ChannelSheet::build(state, QDate::currentDate(), QFileInfo(file).fileName()), output);
    Console::out(QStringLiteral("Лист каналов записан в файл %1.").arg(QDir::toNativeSeparators(output)));
    return ExitCode::Done;
}

} // namespace Commands
