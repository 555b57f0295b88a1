#include "core/UComPorts.h"

#include <QByteArray>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

// COM n is the n-th serial device of the machine, /dev/ttyS(n - 1).
bool Com_Port_Exists(int n)
{
    if (n < 1)
        return false;
    const QByteArray Device = "/dev/ttyS" + QByteArray::number(n - 1);
    const int Fd = ::open(Device.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (Fd >= 0) {
        ::close(Fd);
        return true;
    }
    // A port that another program holds, or that we may not open, is there all the same.
    return errno == EACCES || errno == EBUSY;
}
