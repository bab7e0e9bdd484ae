#include "link/options.h"

#include "files/windows1251.h"

#include <QFile>
#include <QFileInfo>

namespace LinkOptions {

namespace {
constexpr int kDefaultPort = 2;
}

Profile load(const QString &optionsFile)
{
    // Only a regular file is read: a pipe in its place would block the
    // dialog, a device such as /dev/zero would never end.
    if (!QFileInfo(optionsFile).isFile())
        return Profile();
    QFile file(optionsFile);
    if (!file.open(QIODevice::ReadOnly))
        return Profile();
    return Profile::fromText(Windows1251::decode(file.read(MaxFileBytes)));
}

std::uint8_t portValue(const QString &optionsFile)
{
    const int value = load(optionsFile).integer(QStringLiteral("All"), QStringLiteral("Port"), kDefaultPort);
    // Only the low byte is kept, as in the byte-wide port number.
    return static_cast<std::uint8_t>(value & 0xFF);
}

std::uint8_t portNumberFromOptions(const QString &optionsFile)
{
    return portValue(optionsFile) == 2 ? 2 : 1;
}

bool choosePortOnDialogOpen(std::uint8_t &portNumber, const QString &optionsFile)
{
    if (portNumber != 0)
        return false;
    portNumber = portNumberFromOptions(optionsFile);
    return true;
}

} // namespace LinkOptions
