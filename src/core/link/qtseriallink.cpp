#include "link/qtseriallink.h"

#include "common/platformerror.h"
#include "link/lowlatency_unix.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <unistd.h>
#endif

QtSerialLink::~QtSerialLink()
{
    close();
}

void QtSerialLink::open(const QString &device)
{
    close();
    m_device = device;
    const QString canonical = QFileInfo(device).canonicalFilePath();
    const QString resolved = canonical.isEmpty() ? device : canonical;
    lockDevice(resolved);
    m_port.setPortName(resolved);
    m_port.setBaudRate(QSerialPort::Baud1200);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setParity(QSerialPort::NoParity);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    // QSerialPort opens exclusively: a lock file and, on Unix, TIOCEXCL.
    if (!m_port.open(QIODevice::ReadWrite)) {
        const bool lockedElsewhere = m_port.error() == QSerialPort::PermissionError && m_lockFd >= 0;
        const QString reason = m_port.errorString();
        unlockDevice();
        // Our own lock was free, so a refusal of a device we may open is the
        // lock file of another program.
        if (lockedElsewhere)
            throw PlatformError(SerialErrors::portBusy(device));
        throw PlatformError(SerialErrors::cannotOpen(device, reason));
    }
    raiseModemLines();
    m_lowLatency = requestLowLatency(int(m_port.handle()));
}

#ifdef Q_OS_UNIX

namespace {

// The account the program runs as, as adduser takes it.
QString accountName()
{
    if (const passwd *entry = ::getpwuid(::geteuid()))
        return QString::fromLocal8Bit(entry->pw_name);
    return qEnvironmentVariable("USER", QStringLiteral("<пользователь>"));
}

} // namespace

void QtSerialLink::lockDevice(const QString &resolved)
{
    // A descriptor of our own carries the lock: it is taken before the port
    // is opened, so a busy device is refused before anything is set on it.
    const int fd = ::open(QFile::encodeName(resolved).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        // The exclusive open of another holder (TIOCEXCL).
        if (errno == EBUSY)
            throw PlatformError(SerialErrors::portBusy(m_device));
        if (errno == EACCES)
            throw PlatformError(SerialErrors::noPermission(m_device, accountName()));
        return; // QSerialPort tells why it cannot be opened
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        if (error == EWOULDBLOCK)
            throw PlatformError(SerialErrors::portBusy(m_device));
        return; // a device without locks is still used
    }
    m_lockFd = fd;
}

void QtSerialLink::unlockDevice()
{
    if (m_lockFd >= 0)
        ::close(m_lockFd); // closing drops the lock
    m_lockFd = -1;
}

#else

void QtSerialLink::lockDevice(const QString &) {}
void QtSerialLink::unlockDevice() {}

#endif

void QtSerialLink::raiseModemLines()
{
    // Pseudo-terminals and some virtual ports have no modem lines; the port
    // still carries data, so a refusal here is not a failure.
    m_port.setDataTerminalReady(true);
    m_port.setRequestToSend(true);
    m_port.clearError();
}

bool QtSerialLink::isOpen() const
{
    return m_port.isOpen();
}

void QtSerialLink::close()
{
    if (m_port.isOpen())
        m_port.close();
    m_port.clearError();
    unlockDevice();
}

void QtSerialLink::requireOpen() const
{
    if (!m_port.isOpen())
        throw PlatformError(SerialErrors::notOpen());
}

void QtSerialLink::sendByte(std::uint8_t byte)
{
    requireOpen();
    m_port.clearError();
    const char c = static_cast<char>(byte);
    if (m_port.write(&c, 1) != 1)
        throw PlatformError(SerialErrors::cannotSend(m_device, m_port.errorString()));
    // Hand the byte to the driver now: without an event loop nothing else would.
    m_port.flush();
    if (m_port.error() == QSerialPort::ResourceError || m_port.error() == QSerialPort::WriteError)
        throw PlatformError(SerialErrors::cannotSend(m_device, m_port.errorString()));
}

void QtSerialLink::waitForData(int ms)
{
    m_port.clearError();
    if (m_port.waitForReadyRead(ms) || m_port.bytesAvailable() > 0)
        return;
    const QSerialPort::SerialPortError error = m_port.error();
    if (error != QSerialPort::NoError && error != QSerialPort::TimeoutError)
        throw PlatformError(SerialErrors::cannotReceive(m_device, m_port.errorString()));
}

bool QtSerialLink::byteReady()
{
    requireOpen();
    if (m_port.bytesAvailable() > 0)
        return true;
    // A zero wait reads whatever the driver holds without blocking.
    waitForData(0);
    return m_port.bytesAvailable() > 0;
}

std::uint8_t QtSerialLink::takeByte()
{
    requireOpen();
    char c = 0;
    if (!m_port.getChar(&c))
        throw PlatformError(QStringLiteral("Нет принятого байта"));
    return static_cast<std::uint8_t>(c);
}

bool QtSerialLink::waitForByte(int ms)
{
    requireOpen();
    if (m_port.bytesAvailable() > 0)
        return true;
    waitForData(ms);
    return m_port.bytesAvailable() > 0;
}

void QtSerialLink::purgeReceive()
{
    requireOpen();
    m_port.clear(QSerialPort::Input);
}

void QtSerialLink::purgeSend()
{
    requireOpen();
    m_port.clear(QSerialPort::Output);
}

SerialLinkFactory QtSerialLink::factory()
{
    return [] { return std::make_unique<QtSerialLink>(); };
}
