#include "commandline.h"
#include "commands.h"
#include "console.h"
#include "consoleprogress.h"
#include "common/exitcodes.h"
#include "helpwords.h"
#include "link/linktexts.h"
#include "link/portsearch.h"

namespace Commands {

int search(const CommandLine &)
{
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
