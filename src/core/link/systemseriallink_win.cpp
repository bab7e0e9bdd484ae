#include "link/systemseriallink.h"

#include "link/winseriallink.h"

std::unique_ptr<SerialLink> makeSystemSerialLink()
{
    return std::make_unique<WinSerialLink>();
}

SerialLinkFactory systemSerialLinkFactory()
{
    return [] { return makeSystemSerialLink(); };
}
