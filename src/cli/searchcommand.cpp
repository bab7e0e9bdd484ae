#include "commandline.h"
#include "commands.h"
#include "console.h"
#include "exitcodes.h"
#include "common/paths.h"
#include "link/linktexts.h"
#include "link/portmap.h"
#include "link/portsearch.h"
#include "link/systemseriallink.h"
#include "transfer/transferjob.h"

namespace Commands {

int search(const QStringList &arguments)
{
    CommandLine line(QStringLiteral("search"),
                     QStringLiteral("Поиск станции кнопкой \"USB\": опрос портов COM1...COM7 по карте портов\n"
                                    "программы. Печатает найденный порт и его устройство или \"%1\".\n"
                                    "Код выхода: 0 - найдена, 3 - нет.")
                         .arg(LinkTexts::searchNotFound()));
    if (!line.parse(arguments))
        return ExitCode::Done;

    Console::err(LinkTexts::searching());
    TransferJob search(Paths::optionsFile(), systemSerialLinkFactory(), PortSearchTimings());
    runToEnd(search, &TransferJob::finished);
    const std::uint8_t portNumber = search.foundPort();
    if (portNumber == 0) {
        Console::out(LinkTexts::searchNotFound());
        return ExitCode::NoAnswer;
    }
    const PortEntry port = PortMap::fromOptionsFile(Paths::optionsFile()).entry(portNumber);
    Console::out(QStringLiteral("%1: %2 %3").arg(LinkTexts::searchFound(), port.name, port.device));
    return ExitCode::Done;
}

} // namespace Commands
