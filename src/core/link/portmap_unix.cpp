#include "link/portmap.h"

#include <array>

QString PortMap::defaultDevice(int portNumber)
{
    static const std::array<const char *, 7> devices = {
        "/dev/ttyS0", "/dev/ttyS1", "/dev/ttyUSB0", "/dev/ttyACM0", "/dev/ttyUSB1", "/dev/ttyACM1", "/dev/ttyUSB2",
    };
    if (portNumber < 1 || portNumber >= FirstDefaultless)
        return QString();
    return QString::fromLatin1(devices[static_cast<std::size_t>(portNumber - 1)]);
}
