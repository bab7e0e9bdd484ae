#pragma once

#include "files/profile.h"

#include <QString>
#include <cstdint>

// The options file V404Options.ini: read, never written. Section "All" key
// "Port" names the connector used first; section "Ports" maps port names to
// devices (see PortMap).
namespace LinkOptions {

// An options file holds a few lines; a longer one is read this far only.
constexpr qint64 MaxFileBytes = 1 << 20;

// The file's profile; empty when the file is missing, cannot be read or is
// no regular file.
Profile load(const QString &optionsFile);

// The "Port" value of section "All" as the byte it is stored in: 2 when the
// file, the section or the key is missing or the value is not a whole number.
std::uint8_t portValue(const QString &optionsFile);

// What the first opening of the transfer dialog makes of that value: 2 stays
// COM2, every other value selects COM1.
std::uint8_t portNumberFromOptions(const QString &optionsFile);

// Run whenever the transfer dialog is opened: while no port is chosen
// (portNumber 0) the options file decides; a port chosen earlier stands.
// Returns true when the file was read.
bool choosePortOnDialogOpen(std::uint8_t &portNumber, const QString &optionsFile);

} // namespace LinkOptions
