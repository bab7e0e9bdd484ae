#include "commandline.h"
#include "commands.h"
#include "console.h"
#include "common/exitcodes.h"
#include "common/paths.h"
#include "link/linktexts.h"
#include "link/portlisting.h"

namespace Commands {

int ports(const CommandLine &)
{
    const QList<ListedPort> ports = PortListing::list(Paths::optionsFile());
    if (ports.isEmpty())
        Console::err(LinkTexts::noPortFound());
    for (const ListedPort &port : ports)
        Console::out(PortListing::line(port));
    for (const ListedPort &port : ports) {
        const QString note = port.adapter.latencyNote(port.device);
        if (!note.isEmpty())
            Console::err(QStringLiteral("%1: %2").arg(port.names.value(0, port.device), note));
    }
    return ExitCode::Done;
}

} // namespace Commands
