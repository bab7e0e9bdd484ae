#include "commandline.h"
#include "commandports.h"
#include "commands.h"
#include "console.h"
#include "common/exitcodes.h"
#include "helpwords.h"
#include "common/paths.h"
#include "link/linktexts.h"
#include "link/portsearch.h"
#include "transfer/transferjob.h"

namespace Commands {

int search(const CommandLine &)
{
    Console::err(LinkTexts::searching());
    TransferJob search(Paths::optionsFile(), CommandPorts::factory(), PortSearchTimings(),
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
