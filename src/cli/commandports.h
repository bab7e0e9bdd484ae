#pragma once

#include "link/seriallink.h"

// The serial layer through which the commands open their ports: the
// system's, unless a program that runs the commands in its own process
// gives them another (a line in memory).
namespace CommandPorts {

SerialLinkFactory factory();
void use(SerialLinkFactory factory);

} // namespace CommandPorts
