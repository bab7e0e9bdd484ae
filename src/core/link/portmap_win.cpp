#include "link/portmap.h"

QString PortMap::defaultDevice(int portNumber)
{
    // Windows names its ports itself: COMn is the device.
    if (portNumber < 1)
        return QString();
    return portName(portNumber);
}
