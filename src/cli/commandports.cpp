#include "commandports.h"

#include "link/systemseriallink.h"

namespace {

SerialLinkFactory &current()
{
    static SerialLinkFactory factory = systemSerialLinkFactory();
    return factory;
}

} // namespace

namespace CommandPorts {

SerialLinkFactory factory()
{
    return current();
}

void use(SerialLinkFactory factory)
{
    current() = std::move(factory);
}

} // namespace CommandPorts
