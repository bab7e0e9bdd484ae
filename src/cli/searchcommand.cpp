#include "commandline.h"
#include "commands.h"
#include "console.h"
#include "exitcodes.h"
#include "helpwords.h"
#include "common/paths.h"
#include "link/linktexts.h"
#include "link/portsearch.h"
#include "link/systemseriallink.h"
#include "transfer/transferjob.h"

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

    Console::err(LinkTexts::searching());
    TransferJob search(Paths::optionsFile(), systemSerialLinkFactory(), PortSearchTimings(),
                       Paths::dataFolderRefusal() ? QString() : traceFolder());
    runToEnd(search, &TransferJob::finished);
    const std::uint8_t portNumber = search.foundPort();
    const PortEntry found = search.foundEntry();
    if (portNumber == 0) {
        Console::out(LinkTexts::searchNotFound());
        return ExitCode::NoAnswer;
    }
    Console::out(QStringLiteral("%1: %2").arg(LinkTexts::searchFound(), found.withSystemName()));
    return ExitCode::Done;
}

} // namespace Commands
