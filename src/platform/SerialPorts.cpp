#include "platform/SerialPorts.h"

#include <QFile>
#include <QtGlobal>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

UnicodeString SerialDeviceFolder()
{
    UnicodeString folder = qEnvironmentVariable(DeviceFolderVariable);
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    return folder.isEmpty() ? QStringLiteral("/dev") : folder;
}

UnicodeString ComPortDevice(int Number)
{
    static const char *const kinds[] = {"ttyS", "ttyUSB", "ttyACM"};
    if (Number < 1 || Number > ComPortsPerKind * 3)
        return {};
    const int index = Number - 1;
    return SerialDeviceFolder() + QLatin1Char('/') + QLatin1String(kinds[index / ComPortsPerKind]) + QString::number(index % ComPortsPerKind);
}

bool ComPortExists(int Number)
{
    const UnicodeString device = ComPortDevice(Number);
    if (device.isEmpty())
        return false;
    const QByteArray path = QFile::encodeName(device);
    // Non-blocking, so that a modem port does not wait for its carrier; no controlling terminal.
    const int fd = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0) {
        ::close(fd);
        return true;
    }
    return errno == EBUSY || errno == EACCES || errno == EPERM;
}
