#include "commandline.h"
#include "commands.h"
#include "console.h"
#include "consoleprogress.h"
#include "exitcodes.h"
#include "helpwords.h"
#include "common/paths.h"
#include "link/linktexts.h"
#include "link/portmap.h"
#include "link/portsearch.h"

namespace Commands {

int search(const QStringList &arguments)
{
    CommandLine line(QStringLiteral("search"),
                     QStringLiteral("Поиск станции кнопкой \"USB\": опрос портов COM1...COM7 %1.\n"
                                    "Печатает найденный порт и его устройство или \"%2\".\n"
                                    "Код выхода: 0 - найдена, 3 - нет.")
                         .arg(HelpWords::searchedPorts(), LinkTexts::searchNotFound()));
    if (!line.parse(arguments))
        return ExitCode::Done;

    std::uint8_t portNumber = 0;
    {
        ConsoleProgress progress(Console::errIsTerminal());
        PortSearch(progress).run(portNumber);
    }
    if (portNumber == 0) {
        Console::out(LinkTexts::searchNotFound());
        return ExitCode::NoAnswer;
    }
    const PortEntry port = PortMap::fromOptionsFile(Paths::optionsFile()).entry(portNumber);
    Console::out(QStringLiteral("%1: %2 %3").arg(LinkTexts::searchFound(), port.name, port.device));
    return ExitCode::Done;
}

} // namespace Commands
