// COM port numbers mapped to serial devices, checked on a fake device folder.
#include "platform/SerialPorts.h"

#include "support/TempDir.h"

#include <QFile>
#include <QStringList>
#include <QtGlobal>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

namespace {

class SerialPortsTest : public TempDirTest {
protected:
    void SetUp() override
    {
        FOld = qgetenv(DeviceFolderVariable);
        qputenv(DeviceFolderVariable, QFile::encodeName(Dir()) + "/");
    }
    void TearDown() override
    {
        if (FOld.isNull())
            qunsetenv(DeviceFolderVariable);
        else
            qputenv(DeviceFolderVariable, FOld);
    }

    // A device that exists but refuses to be opened for reading and writing, as a port held
    // by another program does. Without permissions on a file we cannot open it; for a user
    // who may open anything, a kernel setting that is read-only for everyone takes its place.
    bool MakeRefusingDevice(const QString &name)
    {
        WriteBytes(name, "");
        QFile::setPermissions(PathOf(name), QFile::Permissions());
        if (!Opens(name))
            return true;
        QFile::remove(PathOf(name));
        return QFile::link(QStringLiteral("/proc/sys/kernel/osrelease"), PathOf(name)) && !Opens(name);
    }

    bool Opens(const QString &name)
    {
        const int fd = ::open(QFile::encodeName(PathOf(name)).constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0)
            ::close(fd);
        return fd >= 0;
    }

    QByteArray FOld;
};

TEST_F(SerialPortsTest, NumbersMapToDeviceBlocks)
{
    const struct {
        int Number;
        const char *Device;
    } cases[] = {{1, "ttyS0"}, {4, "ttyS3"}, {32, "ttyS31"}, {33, "ttyUSB0"}, {64, "ttyUSB31"}, {65, "ttyACM0"}, {96, "ttyACM31"}};
    for (const auto &c : cases)
        EXPECT_EQ(ComPortDevice(c.Number), Dir() + QLatin1Char('/') + QLatin1String(c.Device)) << c.Number;
    for (int none : {0, -1, 97, 256, 1000})
        EXPECT_TRUE(ComPortDevice(none).isEmpty()) << none;

    qunsetenv(DeviceFolderVariable);
    EXPECT_EQ(ComPortDevice(1), QStringLiteral("/dev/ttyS0"));
    EXPECT_EQ(SerialDeviceFolder(), QStringLiteral("/dev"));
}

TEST_F(SerialPortsTest, PortsThatOpenOrAreBusyExistOthersDoNot)
{
    WriteBytes(QStringLiteral("ttyS0"), "");
    WriteBytes(QStringLiteral("ttyUSB0"), "");
    WriteBytes(QStringLiteral("ttyACM2"), "");
    ASSERT_TRUE(MakeRefusingDevice(QStringLiteral("ttyS4"))) << "no way to make a device that refuses access here";
    ASSERT_TRUE(QDir(Dir()).mkdir(QStringLiteral("ttyS2")));                              // opens with another error
    ASSERT_TRUE(QFile::link(PathOf(QStringLiteral("gone")), PathOf(QStringLiteral("ttyS3")))); // dangling
    WriteBytes(QStringLiteral("ttyUSB99"), ""); // beyond the block: no number names it

    // The serial port scan of the update dialog tries every number.
    QStringList found;
    for (int n = 1; n <= 256; ++n)
        if (ComPortExists(n))
            found << QString::number(n);
    EXPECT_EQ(found, QStringList({QStringLiteral("1"), QStringLiteral("5"), QStringLiteral("33"), QStringLiteral("67")}));
    EXPECT_FALSE(ComPortExists(0));
    EXPECT_FALSE(ComPortExists(-3));
}

} // namespace
