#include "link/systemports.h"

#include "link/portsearch.h"
#include "link/sysfsports_unix.h"

#include <QDir>
#include <QFileInfo>

namespace SystemPorts {

QList<SystemPort> list()
{
    return SysfsPorts::list();
}

QString deviceKey(const QString &device)
{
    const QFileInfo info(device);
    const QString path = info.canonicalFilePath();
    // A name the file system does not know (a device not plugged in) is
    // still one device per spelling.
    return path.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : path;
}

QList<int> searchNumbers()
{
    // The default map gives COM1 to COM7 the built-in ports and the first
    // USB adapters of either kind (see PortMap).
    QList<int> numbers;
    for (int n = PortSearch::FirstPort; n <= PortSearch::LastPort; ++n)
        numbers.append(n);
    return numbers;
}

} // namespace SystemPorts
