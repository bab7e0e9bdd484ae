#include "link/systemports.h"

#include <windows.h>

#include <setupapi.h>

#include <QStringList>

#include <optional>
#include <string>

namespace {

// The device setup class "Ports" (COM and LPT ports).
constexpr GUID kPortsClass = {0x4d36e978, 0xe325, 0x11ce, {0xbf, 0xc1, 0x08, 0x00, 0x2b, 0xe1, 0x03, 0x18}};

QString registryString(HKEY key, const wchar_t *name)
{
    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_SZ)
        return {};
    std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
    if (::RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE *>(text.data()), &size) != ERROR_SUCCESS)
        return {};
    return QString::fromWCharArray(text.c_str()); // up to the first NUL
}

std::optional<int> registryNumber(HKEY key, const wchar_t *name)
{
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof value;
    if (::RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE *>(&value), &size) != ERROR_SUCCESS
        || type != REG_DWORD || size != sizeof value)
        return std::nullopt;
    return static_cast<int>(value);
}

QString deviceProperty(HDEVINFO set, SP_DEVINFO_DATA &device, DWORD property)
{
    wchar_t text[512] = {};
    DWORD type = 0;
    if (!::SetupDiGetDeviceRegistryPropertyW(set, &device, property, &type, reinterpret_cast<BYTE *>(text),
                                             sizeof text - sizeof(wchar_t), nullptr)
        || type != REG_SZ)
        return {};
    return QString::fromWCharArray(text);
}

QString instanceId(HDEVINFO set, SP_DEVINFO_DATA &device)
{
    wchar_t text[512] = {};
    if (!::SetupDiGetDeviceInstanceIdW(set, &device, text, 511, nullptr))
        return {};
    return QString::fromWCharArray(text);
}

std::optional<quint16> idAfter(const QString &text, const QString &prefix)
{
    const qsizetype at = text.indexOf(prefix, 0, Qt::CaseInsensitive);
    if (at < 0)
        return std::nullopt;
    bool ok = false;
    const uint value = text.mid(at + prefix.size(), 4).toUInt(&ok, 16);
    if (!ok || value > 0xFFFF)
        return std::nullopt;
    return static_cast<quint16>(value);
}

// The ids and serial number in a device's instance id:
// "USB\VID_1A86&PID_7523\<serial>" (a serial made up by Windows holds '&'),
// or the FTDI driver's "FTDIBUS\VID_0403+PID_6001+A50285BIA\0000", whose
// serial number ends in the letter of the chip's port (A for the first).
void fromInstanceId(const QString &id, SerialAdapter &adapter)
{
    adapter.vendorId = idAfter(id, QStringLiteral("VID_"));
    adapter.productId = idAfter(id, QStringLiteral("PID_"));
    const QStringList parts = id.split(u'\\');
    if (parts.size() < 3)
        return;
    if (parts.at(0).compare(QStringLiteral("FTDIBUS"), Qt::CaseInsensitive) == 0) {
        const QStringList fields = parts.at(1).split(u'+');
        if (fields.size() >= 3 && fields.at(2).size() > 1)
            adapter.serialNumber = fields.at(2).chopped(1);
    } else if (parts.at(0).compare(QStringLiteral("USB"), Qt::CaseInsensitive) == 0 && !parts.at(2).contains(u'&')) {
        adapter.serialNumber = parts.at(2);
    }
}

QList<SystemPort> fromSetupApi()
{
    QList<SystemPort> ports;
    HDEVINFO set = ::SetupDiGetClassDevsW(&kPortsClass, nullptr, nullptr, DIGCF_PRESENT);
    if (set == INVALID_HANDLE_VALUE)
        return ports;
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    for (DWORD i = 0; ::SetupDiEnumDeviceInfo(set, i, &device); ++i) {
        HKEY key = ::SetupDiOpenDevRegKey(set, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
        if (key == INVALID_HANDLE_VALUE)
            continue;
        // The COM number comes from the port's own name, never from the
        // friendly name, which may be in any language.
        const QString name = registryString(key, L"PortName").trimmed();
        SerialAdapter adapter;
        // FTDI's driver keeps the latency timer beside the port's name.
        adapter.latencyMs = registryNumber(key, L"LatencyTimer");
        ::RegCloseKey(key);
        if (!SystemPorts::comNumber(name))
            continue; // a printer port of the same class
        adapter.product = deviceProperty(set, device, SPDRP_DEVICEDESC);
        adapter.manufacturer = deviceProperty(set, device, SPDRP_MFG);
        adapter.driver = deviceProperty(set, device, SPDRP_SERVICE);
        fromInstanceId(instanceId(set, device), adapter);
        QString friendly = deviceProperty(set, device, SPDRP_FRIENDLYNAME);
        if (friendly.isEmpty())
            friendly = adapter.product;
        ports.append({name.toUpper(), friendly, adapter});
    }
    ::SetupDiDestroyDeviceInfoList(set);
    return ports;
}

QList<SystemPort> fromDeviceMap()
{
    QList<SystemPort> ports;
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) != ERROR_SUCCESS)
        return ports;
    for (DWORD i = 0;; ++i) {
        wchar_t valueName[256];
        DWORD nameLength = 256;
        wchar_t data[256] = {};
        DWORD dataSize = sizeof data - sizeof(wchar_t);
        DWORD type = 0;
        const LONG result =
            ::RegEnumValueW(key, i, valueName, &nameLength, nullptr, &type, reinterpret_cast<BYTE *>(data), &dataSize);
        if (result == ERROR_NO_MORE_ITEMS)
            break;
        if (result != ERROR_SUCCESS || type != REG_SZ)
            continue;
        const QString name = QString::fromWCharArray(data).trimmed();
        if (SystemPorts::comNumber(name))
            ports.append({name.toUpper(), QString()});
    }
    ::RegCloseKey(key);
    return ports;
}

} // namespace

namespace SystemPorts {

QList<SystemPort> list()
{
    // SetupAPI first, for the friendly names; the device map adds ports
    // whose driver does not register with the class.
    return inComOrder(fromSetupApi() + fromDeviceMap());
}

QString deviceKey(const QString &device)
{
    QString name = device.trimmed().toUpper();
    if (name.startsWith(QStringLiteral("\\\\.\\")))
        name.remove(0, 4);
    return name;
}

QList<int> searchNumbers()
{
    QList<int> numbers;
    for (const SystemPort &port : list()) {
        const int number = comNumber(port.device).value_or(0);
        // The port number is kept in a byte.
        if (number >= 1 && number <= 255)
            numbers.append(number);
    }
    return numbers;
}

} // namespace SystemPorts
