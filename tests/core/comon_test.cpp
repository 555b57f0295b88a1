#include "core/UComon.h"

#include "platform/Classes.h"
#include "platform/SerialPorts.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

struct TIPCase {
    const char *Text;
    bool Valid;
    const char *IP1, *IP2, *IP3, *IP4;
};

TEST(CheckIPAddress, Table)
{
    const TIPCase Cases[] = {
        {"192.168.2.205", true, "192", "168", "2", "205"},
        {"  192.168.2.205  ", true, "192", "168", "2", "205"},
        {"192 . 168 .2 .  205", true, "192", "168", "2", "205"},
        {"0.0.0.0", true, "0", "0", "0", "0"},
        {"255.255.255.255", true, "255", "255", "255", "255"},
        {"192.168.2", false, "192", "168", "", ""},
        {"192.168.2.205.7", false, "192", "168", "2", "205.7"},
        {"192.168.2.256", false, "192", "168", "2", "256"},
        {"192.168.-1.1", false, "192", "168", "-1", "1"},
        {"192.168..5", false, "192", "168", "", "5"},
        {"a.b.c.d", false, "a", "b", "c", "d"},
        {"", false, "", "", "", ""},
        {"192", false, "", "", "", ""},
        {"....", false, "", "", "", "."},
        {"99999999999999999999.1.1.1", false, "99999999999999999999", "1", "1", "1"},
    };
    for (const TIPCase &c : Cases) {
        UnicodeString IP1 = QStringLiteral("x"), IP2 = QStringLiteral("x"), IP3 = QStringLiteral("x"), IP4 = QStringLiteral("x");
        const bool Valid = Check_IP_Address(QString::fromUtf8(c.Text), IP1, IP2, IP3, IP4);
        EXPECT_EQ(Valid, c.Valid) << c.Text;
        if (c.Valid || *c.IP1) {
            EXPECT_EQ(IP1, QString::fromUtf8(c.IP1)) << c.Text;
            EXPECT_EQ(IP2, QString::fromUtf8(c.IP2)) << c.Text;
        }
        if (c.Valid) {
            EXPECT_EQ(IP3, QString::fromUtf8(c.IP3)) << c.Text;
            EXPECT_EQ(IP4, QString::fromUtf8(c.IP4)) << c.Text;
        }
    }
}

struct TConvCase {
    const char *Text;
    bool Error;
    int B1, B2, B3, B4;
};

TEST(ConvIPAddress, Table)
{
    const TConvCase Cases[] = {
        {"192.168.0.5", false, 192, 168, 0, 5},
        {"10.0.0", true, 10, 0, 0, 0},
        {"10.0.0.256", true, 10, 0, 0, 0},
        {"a.168.1.2", true, 0, 168, 1, 2},
        {"1.2.3.4.5", true, 1, 2, 3, 0},
        {"255.255.255.255", false, 255, 255, 255, 255},
        {"...", true, 0, 0, 0, 0},
        {"4294967297.1.1.1", true, 0, 1, 1, 1},
    };
    for (const TConvCase &c : Cases) {
        Byte B[4] = {7, 7, 7, 7};
        EXPECT_EQ(Conv_IP_Address(QString::fromUtf8(c.Text), B[0], B[1], B[2], B[3]), c.Error) << c.Text;
        EXPECT_EQ(B[0], c.B1) << c.Text;
        EXPECT_EQ(B[1], c.B2) << c.Text;
        EXPECT_EQ(B[2], c.B3) << c.Text;
        EXPECT_EQ(B[3], c.B4) << c.Text;
    }
}

TEST(ConvIPAddress, EmptyTextIsAnErrorAndWritesNothing)
{
    Byte B1 = 1, B2 = 2, B3 = 3, B4 = 4;
    EXPECT_TRUE(Conv_IP_Address(QString(), B1, B2, B3, B4));
    EXPECT_EQ(B1, 1);
    EXPECT_EQ(B2, 2);
    EXPECT_EQ(B3, 3);
    EXPECT_EQ(B4, 4);
}

TEST(IsNotDotted, FindsTheDot)
{
    EXPECT_TRUE(Is_Not_Dotted(QStringLiteral("1/2/3")));
    EXPECT_TRUE(Is_Not_Dotted(QString()));
    EXPECT_FALSE(Is_Not_Dotted(QStringLiteral("1.2")));
}

struct TKNXCase {
    const char *Text;
    bool Is_Group;
    bool Allow_Zero;
    int Result;
};

TEST(CheckKNXAddress, Table)
{
    const TKNXCase Cases[] = {
        {"1.1.20", false, false, 0},
        {" 1 . 1 . 20 ", false, false, 0},
        {"0.0.0", false, true, 0},
        {"0.0.0", false, false, 1},
        {"16.1.1", false, true, 1},
        {"1.16.1", false, true, 1},
        {"1.1.256", false, true, 1},
        {"1.1.2.3", false, true, 1},
        {"230.240", false, false, 0},
        {" 255 . 0 ", false, false, 0},
        {"x.y", false, false, 1},
        {"256.1", false, true, 1},
        {"1.-1", false, true, 1},
        {"0.0", false, false, 1},
        {"0.0", false, true, 0},
        {"1/1", false, true, 1},
        {"1.1/1", false, true, 1},
        {"65535", false, false, 0},
        {"65536", false, false, 1},
        {"0", false, true, 1},
        {"abc", false, true, 1},
        {"", false, true, 1},
        {"31/7/255", true, false, 0},
        {"32/7/255", true, false, 1},
        {"31/8/255", true, false, 1},
        {"0/0/0", true, true, 1},
        {"1/2/3/4", true, false, 1},
        {"0/0", true, false, 1},
        {"1/2048", true, false, 1},
        {"31/2047", true, false, 0},
        {"0/1", true, false, 0},
        {"1.2", true, false, 1},
        {"65535", true, false, 0},
        {"0", true, false, 1},
        {"99999999999999999999", true, false, 1},
        {"1/99999999999999999999", true, false, 1},
    };
    for (const TKNXCase &c : Cases)
        EXPECT_EQ(Check_KNX_Address(QString::fromUtf8(c.Text), c.Is_Group, c.Allow_Zero), c.Result)
            << c.Text << (c.Is_Group ? " group" : " individual") << (c.Allow_Zero ? " zero allowed" : "");
}

TEST(ProgramPaths, FoldersBesideTheProgram)
{
    Set_Program_Paths(QStringLiteral("/opt/conf"));
    EXPECT_EQ(Path_Exe, QStringLiteral("/opt/conf"));
    EXPECT_EQ(Path_Projects, QStringLiteral("/opt/conf\\PROJECTS"));
    EXPECT_EQ(Path_Master, QStringLiteral("/opt/conf\\MASTER"));
    EXPECT_EQ(Path_Language, QStringLiteral("/opt/conf\\LANGUAGE"));
}

TEST(StartUp, IdentityTextsAndSharedLists)
{
    Set_Identity_Texts();
    EXPECT_EQ(Caption_Main, QStringLiteral("VeltraCorp - Configurator CF40385 - EtherNet/IP Master / Serial Port "));
    EXPECT_EQ(SW_Code, QStringLiteral("CF40385"));
    EXPECT_EQ(SW_Desc, QStringLiteral("EtherNet/IP Master / Serial Port - Converter"));
    Create_Common_Lists();
    ASSERT_TRUE(SL_Copy_Row && SL_MIB_Desc_Read && SL_MIB_Desc_Write);
    EXPECT_EQ(SL_Copy_Row->Count(), 0);
}

} // namespace

namespace {

class ComPortsTest : public TempDirTest {
protected:
    void TearDown() override { qunsetenv(DeviceFolderVariable); }
};

TEST_F(ComPortsTest, ListsThePortsThatExistInAscendingOrder)
{
    qputenv(DeviceFolderVariable, Dir().toUtf8());
    // Devices in reverse order of creation, and one that maps to no port number.
    WriteBytes(QStringLiteral("ttyACM0"), "");
    WriteBytes(QStringLiteral("ttyUSB1"), "");
    WriteBytes(QStringLiteral("ttyS0"), "");
    WriteBytes(QStringLiteral("ttyXYZ"), "");
    const std::unique_ptr<TStringList> Ports = Find_ComPorts();
    ASSERT_EQ(Ports->Count(), 3);
    EXPECT_EQ(Ports->Strings(0), QStringLiteral("1"));
    EXPECT_EQ(Ports->Strings(1), QStringLiteral("34"));
    EXPECT_EQ(Ports->Strings(2), QStringLiteral("65"));
}

TEST_F(ComPortsTest, NoDevicesGiveAnEmptyList)
{
    qputenv(DeviceFolderVariable, PathOf(QStringLiteral("none")).toUtf8());
    EXPECT_EQ(Find_ComPorts()->Count(), 0);
}

} // namespace
