#include "commandline.h"
#include "commands.h"
#include "console.h"
#include "common/exitcodes.h"
#include "common/paths.h"
#include "link/linktexts.h"
#include "link/portlisting.h"

namespace Commands {

int ports(const QStringList &arguments)
{
    CommandLine line(QStringLiteral("ports"),
                     QStringLiteral("Последовательные порты системы и устройства, которые раздел [Ports] файла\n"
                                    "V404Options.ini называет, по строке на порт, через табуляцию: имена COM по\n"
                                    "карте портов программы (через запятую, \"-\" - ни одного), устройство, адаптер,\n"
                                    "изготовитель, VID:PID, серийный номер, драйвер, задержка адаптера (\"-\" - не\n"
                                    "известно). Задержку больше 1 мс объясняет строка в стандартном потоке ошибок.\n"
                                    "Ни один порт не открывается. Код выхода 0."));
    if (!line.parse(arguments))
        return ExitCode::Done;

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
