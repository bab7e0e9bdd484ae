#include "link/winseriallink.h"

#include "common/platformerror.h"

#include <windows.h>

namespace {

HANDLE handleOf(void *handle)
{
    return static_cast<HANDLE>(handle);
}

// The longest a byte may take to leave: at 1200 baud a byte takes about
// 8 ms; a driver that holds it longer than this has lost its device.
constexpr DWORD kWriteTimeoutMs = 2000;
constexpr DWORD kReadChunk = 256;

} // namespace

WinSerialLink::~WinSerialLink()
{
    close();
}

QString WinSerialLink::devicePath(const QString &device)
{
    if (device.startsWith(QStringLiteral("\\\\")))
        return device;
    return QStringLiteral("\\\\.\\") + device;
}

void WinSerialLink::open(const QString &device)
{
    close();
    m_device = device;
    const std::wstring path = devicePath(device).toStdWString();
    // No sharing: Windows gives a COM port to one program at a time, and
    // that is the lock that keeps a second transfer off the device.
    HANDLE handle = ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION)
            throw PlatformError(SerialErrors::portBusy(device));
        throw PlatformError(SerialErrors::cannotOpen(device, qt_error_string(static_cast<int>(error))));
    }
    m_handle = handle;

    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    COMMTIMEOUTS timeouts{};
    // Reads return at once with what the driver holds (see fill()); a write
    // that the driver cannot pass on within the bound fails.
    timeouts.ReadIntervalTimeout = MAXDWORD;
    timeouts.WriteTotalTimeoutConstant = kWriteTimeoutMs;
    // A port that opens but takes no settings is let go, with the system's reason.
    const auto refuse = [this, &device] {
        const DWORD error = ::GetLastError();
        close();
        throw PlatformError(SerialErrors::cannotOpen(device, qt_error_string(static_cast<int>(error))));
    };
    if (!::GetCommState(handle, &dcb))
        refuse();
    dcb.BaudRate = CBR_1200;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.fBinary = TRUE;
    dcb.fParity = FALSE;
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDtrControl = DTR_CONTROL_DISABLE;
    dcb.fRtsControl = RTS_CONTROL_DISABLE;
    dcb.fDsrSensitivity = FALSE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fNull = FALSE;
    dcb.fAbortOnError = FALSE;
    if (!::SetCommState(handle, &dcb) || !::SetCommTimeouts(handle, &timeouts))
        refuse();
    m_waitMs = 0;
    ::SetupComm(handle, 4096, 4096);
    // As on Linux: the lines are raised, and a port without them (a virtual
    // one) still carries data, so a refusal here is no failure.
    ::EscapeCommFunction(handle, SETDTR);
    ::EscapeCommFunction(handle, SETRTS);
    ::PurgeComm(handle, PURGE_RXCLEAR | PURGE_TXCLEAR);
}

bool WinSerialLink::isOpen() const
{
    return m_handle != nullptr;
}

void WinSerialLink::close()
{
    if (m_handle != nullptr)
        ::CloseHandle(handleOf(m_handle));
    m_handle = nullptr;
    m_waitMs = -1;
    m_received.clear();
}

void WinSerialLink::requireOpen() const
{
    if (m_handle == nullptr)
        throw PlatformError(SerialErrors::notOpen());
}

void WinSerialLink::failed(unsigned long error, bool sending)
{
    // The device is gone or broken: the port is closed, so that the
    // transfer's next port operation stops as well.
    const QString reason = qt_error_string(static_cast<int>(error));
    close();
    throw PlatformError(sending ? SerialErrors::cannotSend(m_device, reason)
                                : SerialErrors::cannotReceive(m_device, reason));
}

void WinSerialLink::sendByte(std::uint8_t byte)
{
    requireOpen();
    const char c = static_cast<char>(byte);
    DWORD written = 0;
    if (!::WriteFile(handleOf(m_handle), &c, 1, &written, nullptr))
        failed(::GetLastError(), true);
    if (written != 1)
        failed(ERROR_TIMEOUT, true);
}

void WinSerialLink::fill(int ms)
{
    const DWORD wait = static_cast<DWORD>(ms < 0 ? 0 : ms);
    if (m_waitMs != static_cast<int>(wait)) {
        // MAXDWORD/0/0 returns at once; MAXDWORD/MAXDWORD/t returns as soon
        // as one byte is there, or after t milliseconds without any.
        COMMTIMEOUTS timeouts{};
        timeouts.ReadIntervalTimeout = MAXDWORD;
        timeouts.ReadTotalTimeoutMultiplier = wait == 0 ? 0 : MAXDWORD;
        timeouts.ReadTotalTimeoutConstant = wait;
        timeouts.WriteTotalTimeoutConstant = kWriteTimeoutMs;
        if (!::SetCommTimeouts(handleOf(m_handle), &timeouts))
            failed(::GetLastError(), false);
        m_waitMs = static_cast<int>(wait);
    }
    char buffer[kReadChunk];
    DWORD got = 0;
    if (!::ReadFile(handleOf(m_handle), buffer, kReadChunk, &got, nullptr))
        failed(::GetLastError(), false);
    m_received.append(buffer, static_cast<qsizetype>(got));
}

bool WinSerialLink::byteReady()
{
    requireOpen();
    if (m_received.isEmpty())
        fill(0);
    return !m_received.isEmpty();
}

std::uint8_t WinSerialLink::takeByte()
{
    requireOpen();
    if (m_received.isEmpty())
        throw PlatformError(QStringLiteral("Нет принятого байта"));
    const auto byte = static_cast<std::uint8_t>(m_received.front());
    m_received.remove(0, 1);
    return byte;
}

bool WinSerialLink::waitForByte(int ms)
{
    requireOpen();
    if (m_received.isEmpty())
        fill(ms);
    return !m_received.isEmpty();
}

void WinSerialLink::purgeReceive()
{
    requireOpen();
    m_received.clear();
    if (!::PurgeComm(handleOf(m_handle), PURGE_RXABORT | PURGE_RXCLEAR))
        failed(::GetLastError(), false);
}

void WinSerialLink::purgeSend()
{
    requireOpen();
    if (!::PurgeComm(handleOf(m_handle), PURGE_TXABORT | PURGE_TXCLEAR))
        failed(::GetLastError(), true);
}
