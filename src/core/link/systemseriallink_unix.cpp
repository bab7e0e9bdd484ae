#include "link/systemseriallink.h"

#include "link/qtseriallink.h"

std::unique_ptr<SerialLink> makeSystemSerialLink()
{
    return std::make_unique<QtSerialLink>();
}

SerialLinkFactory systemSerialLinkFactory()
{
    return QtSerialLink::factory();
}
