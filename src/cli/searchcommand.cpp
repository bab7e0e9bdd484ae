#include "commandline.h"
#include "commands.h"
#include "console.h"
#include "consoleprogress.h"
#include "common/exitcodes.h"
#include "helpwords.h"
#include "link/linktexts.h"
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
    PortEntry found;
    {
        ConsoleProgress progress(Console::errIsTerminal());
        PortSearch search(progress);
        search.run(portNumber);
        found = search.found();
    }
    if (portNumber == 0) {
        Console::out(LinkTexts::searchNotFound());
        return ExitCode::NoAnswer;
    }
    Console::out(QStringLiteral("%1: %2").arg(LinkTexts::searchFound(), found.withSystemName()));
    return ExitCode::Done;
}

} // namespace Commands
