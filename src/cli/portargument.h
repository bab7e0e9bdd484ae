#pragma once

#include <QString>
#include <cstdint>

// The PORT of a command: a port name COM1 to COM255, opened through the
// program's port map, or the path of a device, opened as it is.
struct PortArgument
{
    std::uint8_t portNumber = 0; // 0 for a device path
    QString device;              // empty for a port name

    // Throws UsageError for an empty text and for COM0 or a COM number above 255.
    static PortArgument parse(const QString &text);
};
