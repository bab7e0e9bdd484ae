#pragma once

#include "link/seriallink.h"

#include <memory>

// The serial link of the platform the program is built for: QSerialPort on
// Linux (qtseriallink.*), the Win32 communications API on Windows
// (winseriallink.*). The build takes the matching systemseriallink_*.cpp.
std::unique_ptr<SerialLink> makeSystemSerialLink();
SerialLinkFactory systemSerialLinkFactory();
