#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>

// The USB serial adapter (or built-in port) behind a serial device, as far as
// the system tells: what a technician reads off the adapter or its box, and
// what decides how fast the station can be programmed through it. Listed
// without opening the port.
struct SerialAdapter
{
    // The adapter's own name ("FT232R USB UART") and its maker ("FTDI").
    QString product;
    QString manufacturer;
    std::optional<quint16> vendorId;
    std::optional<quint16> productId;
    QString serialNumber;
    // Linux: the kernel's driver ("ftdi_sio", "ch341-uart", "cdc_acm");
    // Windows: the driver's service ("FTSER2K", "CH341SER_A64", "usbser").
    QString driver;
    // The latency timer, where the driver tells it (FTDI adapters): how long
    // the adapter holds received bytes before it hands them on.
    std::optional<int> latencyMs;

    bool operator==(const SerialAdapter &) const = default;

    // "0403:6001"; empty when not known.
    QString vidPid() const;
    // What is known, in one line: "FT232R USB UART, FTDI, 0403:6001,
    // серийный номер A50285BI, драйвер ftdi_sio, задержка 16 мс"; empty
    // when nothing is.
    QString details() const;
    // Said when the latency timer is above 1 ms: what it costs a write and
    // how to set it (`device` names the port in the instructions); empty
    // otherwise.
    QString latencyNote(const QString &device) const;

    // Every byte of a write waits for its answer, which the adapter holds
    // up to its latency: a write of 99 channels has this many of them.
    static constexpr int BytesOf99ChannelWrite = 1 + 25 + 99 * 18;
};

// How the latency timer is set on this system (serialadapter_unix.cpp,
// serialadapter_win.cpp).
QString latencyTimerInstructions(const QString &device);
