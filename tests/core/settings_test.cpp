#include "core/USettings.h"

#include "core/UComon.h"
#include "platform/Encoding.h"
#include "platform/XMLDoc.h"
#include "support/TempDir.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

const char *Full_File =
    "<Conf_Settings><lastproj><projectname>Plant_A</projectname></lastproj>"
    "<lastipadd><ipaddress>10.1.2.3</ipaddress></lastipadd>"
    "<lastlang><language>Italiano</language></lastlang>"
    "<lastinternet><enable_internet>1</enable_internet><enable_update>1</enable_update>"
    "<enable_jump_field_tables>1</enable_jump_field_tables><Double_Click_Auto_Size>1</Double_Click_Auto_Size>"
    "</lastinternet></Conf_Settings>";

struct TSettingValues {
    const char *Name;
    const char *IP;
    const char *Language;
    bool Internet, Update, Jump, AutoSize;
};

const TSettingValues Defaults = {"", "192.168.2.205", "English", false, false, false, false};
const TSettingValues Full = {"Plant_A", "10.1.2.3", "Italiano", true, true, true, true};

class SettingsTest : public TempDirTest {
protected:
    void SetUp() override
    {
        Path_Exe = Dir();
        XML1 = NewXMLDocument();
    }

    void Expect(const TSettingValues &v, const std::string &Where) const
    {
        EXPECT_EQ(Name_Active_Conf, QString::fromUtf8(v.Name)) << Where;
        EXPECT_EQ(Last_IP_Address, QString::fromUtf8(v.IP)) << Where;
        EXPECT_EQ(Language_Name, QString::fromUtf8(v.Language)) << Where;
        EXPECT_EQ(Opt_Internet, v.Internet) << Where;
        EXPECT_EQ(Opt_Check_Update, v.Update) << Where;
        EXPECT_EQ(Opt_Jump_Field, v.Jump) << Where;
        EXPECT_EQ(Opt_AutoSize_Col, v.AutoSize) << Where;
    }

    // Values that no file gives, so that a reader that keeps old values shows.
    static void Scramble()
    {
        Name_Active_Conf = QStringLiteral("old");
        Path_Active_Conf = QStringLiteral("old path");
        Last_IP_Address = QStringLiteral("old ip");
        Language_Name = QStringLiteral("old language");
        Opt_Internet = Opt_Check_Update = Opt_Jump_Field = Opt_AutoSize_Col = true;
    }

    void ReadFile(const QByteArray &Bytes)
    {
        WriteBytes(QStringLiteral("Fabricor.xml"), Bytes);
        Scramble();
        Read_Setting(XML1.get());
    }

    std::unique_ptr<TXMLDocument> XML1;
};

TEST_F(SettingsTest, NoFileGivesTheDefaults)
{
    Scramble();
    Read_Setting(XML1.get());
    Expect(Defaults, "no file");
    EXPECT_TRUE(Path_Active_Conf.isEmpty());
}

TEST_F(SettingsTest, FullFile)
{
    ReadFile(Full_File);
    Expect(Full, "full file");
}

TEST_F(SettingsTest, FilesOfOtherWritersAreRead)
{
    QByteArray Indented(Full_File);
    Indented.replace("><", ">\r\n  <");
    const QByteArray Utf16 = TEncoding::Unicode()->GetPreamble() +
                             TEncoding::Unicode()->GetBytes(QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-16\"?>") +
                                                            QString::fromUtf8(Full_File));
    const QByteArray Cases[] = {
        "\xef\xbb\xbf<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n" + Indented,
        Utf16,
    };
    for (const QByteArray &Bytes : Cases) {
        ReadFile(Bytes);
        Expect(Full, Bytes.left(60).toStdString());
    }
}

struct TDamageCase {
    const char *Replace; // a part of the full file...
    const char *By;      // ...and what takes its place
    TSettingValues Values;
};

TEST_F(SettingsTest, EachDamagedEntryAffectsOnlyItsOwnValue)
{
    const TDamageCase Cases[] = {
        {"<Conf_Settings>", "<Other_Root>", {"Plant_A", "10.1.2.3", "Italiano", true, true, true, true}},
        {"<lastproj><projectname>Plant_A</projectname></lastproj>", "", {"", "10.1.2.3", "Italiano", true, true, true, true}},
        {"<projectname>Plant_A</projectname>", "<projectname><b>x</b></projectname>", {"", "10.1.2.3", "Italiano", true, true, true, true}},
        {"<projectname>Plant_A</projectname>", "<projectname/>", {"", "10.1.2.3", "Italiano", true, true, true, true}},
        {"<ipaddress>10.1.2.3</ipaddress>", "", {"Plant_A", "192.168.2.205", "Italiano", true, true, true, true}},
        {"<lastipadd>", "<lastipaddr>", {"Plant_A", "192.168.2.205", "Italiano", true, true, true, true}},
        {"<language>Italiano</language>", "<language></language>", {"Plant_A", "10.1.2.3", "", true, true, true, true}},
        {"<lastlang><language>Italiano</language></lastlang>", "", {"Plant_A", "10.1.2.3", "English", true, true, true, true}},
        {"<enable_internet>1</enable_internet>", "<enable_internet>true</enable_internet>", {"Plant_A", "10.1.2.3", "Italiano", false, true, true, true}},
        {"<enable_update>1</enable_update>", "<enable_update> 1</enable_update>", {"Plant_A", "10.1.2.3", "Italiano", true, false, true, true}},
        {"<enable_jump_field_tables>1</enable_jump_field_tables>", "<enable_jump_field_tables>01</enable_jump_field_tables>", {"Plant_A", "10.1.2.3", "Italiano", true, true, false, true}},
        {"<Double_Click_Auto_Size>1</Double_Click_Auto_Size>", "", {"Plant_A", "10.1.2.3", "Italiano", true, true, true, false}},
        {"<enable_internet>1</enable_internet>", "<enable_internet><x/></enable_internet>", {"Plant_A", "10.1.2.3", "Italiano", false, true, true, true}},
        {"<lastinternet>", "<lastinternet2>", {"Plant_A", "10.1.2.3", "Italiano", false, false, false, false}},
        {"<Conf_Settings>", "<?xml version=\"1.0\" encoding=\"UTF-8\"?><!-- saved --><Conf_Settings>", {"Plant_A", "10.1.2.3", "Italiano", true, true, true, true}},
    };
    for (const TDamageCase &c : Cases) {
        QByteArray Bytes(Full_File);
        Bytes.replace(QByteArray(c.Replace), QByteArray(c.By));
        if (QByteArray(c.Replace) == "<lastipadd>")
            Bytes.replace("</lastipadd>", "</lastipaddr>");
        if (QByteArray(c.Replace) == "<lastinternet>")
            Bytes.replace("</lastinternet>", "</lastinternet2>");
        if (QByteArray(c.Replace) == "<Conf_Settings>" && QByteArray(c.By) == "<Other_Root>")
            Bytes.replace("</Conf_Settings>", "</Other_Root>");
        ReadFile(Bytes);
        Expect(c.Values, Bytes.toStdString());
    }
}

TEST_F(SettingsTest, FilesThatAreNoXmlGiveTheDefaults)
{
    QByteArray Garbage;
    quint32 Seed = 99;
    for (int i = 0; i < 4096; ++i) {
        Seed = Seed * 1664525u + 1013904223u;
        Garbage.append(static_cast<char>(Seed >> 24));
    }
    const QByteArray Cases[] = {
        Garbage,
        QByteArray(),
        QByteArray("<Conf_Settings>"),
        QByteArray("\xff\xfe<\0C\0", 6),
    };
    for (const QByteArray &Bytes : Cases) {
        ReadFile(Bytes);
        Expect(Defaults, Bytes.left(40).toStdString());
    }
}

TEST_F(SettingsTest, EveryTruncationReadsWithoutHarm)
{
    const QByteArray File(Full_File);
    for (int Len = 0; Len < File.size(); ++Len) {
        ReadFile(File.left(Len));
        // A truncated file is no XML: the defaults, never a half-read value.
        Expect(Defaults, File.left(Len).toStdString());
    }
}

TEST_F(SettingsTest, MutatedFilesReadWithoutHarm)
{
    quint32 Seed = 77;
    auto Next = [&Seed] {
        Seed = Seed * 1103515245u + 12345u;
        return Seed >> 8;
    };
    for (int Round = 0; Round < 300; ++Round) {
        QByteArray Bytes(Full_File);
        for (int k = 0; k < 3; ++k) {
            const int At = static_cast<int>(Next() % static_cast<quint32>(Bytes.size()));
            if (Next() % 2)
                Bytes[At] = static_cast<char>(Next());
            else
                Bytes.remove(At, 1 + static_cast<int>(Next() % 15));
        }
        ReadFile(Bytes);
        // Every value is the file's own or its default, never a leftover of an earlier run.
        EXPECT_NE(Last_IP_Address, QStringLiteral("old ip"));
        EXPECT_NE(Language_Name, QStringLiteral("old language"));
        EXPECT_NE(Name_Active_Conf, QStringLiteral("old"));
        EXPECT_TRUE(Path_Active_Conf.isEmpty());
    }
}

TEST_F(SettingsTest, HugeValuesAreKeptAsText)
{
    const QByteArray Long(100000, 'x');
    QByteArray Bytes(Full_File);
    Bytes.replace("Plant_A", Long);
    ReadFile(Bytes);
    EXPECT_EQ(Name_Active_Conf.size(), 100000);
    EXPECT_EQ(Language_Name, QStringLiteral("Italiano"));
}

TEST_F(SettingsTest, SavedFileHasTheElementsInOrder)
{
    Name_Active_Conf = QStringLiteral("Plant_B");
    Last_IP_Address = QStringLiteral("192.168.0.77");
    Language_Name = QStringLiteral("Deutsch");
    Opt_Internet = true;
    Opt_Check_Update = false;
    Opt_Jump_Field = true;
    Opt_AutoSize_Col = false;
    // The shared document still holds another file, which must not leak into the settings.
    XML1->LoadFromXML(QStringLiteral("<Par_Gen><SERIAL_SERIAL>0</SERIAL_SERIAL></Par_Gen><!--SW_VERSION = 1.000-->"));
    Save_Setting(XML1.get());
    EXPECT_EQ(QString::fromUtf8(ReadBytes(QStringLiteral("Fabricor.xml"))).trimmed(),
              QStringLiteral("<Conf_Settings><lastproj><projectname>Plant_B</projectname></lastproj>"
                             "<lastipadd><ipaddress>192.168.0.77</ipaddress></lastipadd>"
                             "<lastlang><language>Deutsch</language></lastlang>"
                             "<lastinternet><enable_internet>1</enable_internet><enable_update>0</enable_update>"
                             "<enable_jump_field_tables>1</enable_jump_field_tables>"
                             "<Double_Click_Auto_Size>0</Double_Click_Auto_Size></lastinternet></Conf_Settings>"));
}

TEST_F(SettingsTest, SaveAndReadBack)
{
    Name_Active_Conf.clear();
    Last_IP_Address = QStringLiteral("10.0.0.9");
    Language_Name = QStringLiteral("Fran\u00e7ais <&>");
    Opt_Internet = false;
    Opt_Check_Update = true;
    Opt_Jump_Field = false;
    Opt_AutoSize_Col = true;
    Save_Setting(nullptr);
    Scramble();
    Read_Setting(XML1.get());
    EXPECT_EQ(Name_Active_Conf, QString());
    EXPECT_EQ(Last_IP_Address, QStringLiteral("10.0.0.9"));
    EXPECT_EQ(Language_Name, QStringLiteral("Fran\u00e7ais <&>"));
    EXPECT_FALSE(Opt_Internet);
    EXPECT_TRUE(Opt_Check_Update);
    EXPECT_FALSE(Opt_Jump_Field);
    EXPECT_TRUE(Opt_AutoSize_Col);
}

TEST_F(SettingsTest, FailedSaveRaisesAndKeepsTheOldFile)
{
    WriteBytes(QStringLiteral("Fabricor.xml"), Full_File);
    Path_Exe = Dir() + QStringLiteral("/missing_folder");
    EXPECT_THROW(Save_Setting(XML1.get()), EFCreateError);
    Path_Exe = Dir();
    // A folder in the file's place cannot be replaced either.
    QDir(Dir()).mkpath(QStringLiteral("sub/Fabricor.xml"));
    Path_Exe = Dir() + QStringLiteral("/sub");
    EXPECT_THROW(Save_Setting(XML1.get()), EFCreateError);
    EXPECT_EQ(ReadBytes(QStringLiteral("Fabricor.xml")), QByteArray(Full_File));
}

TEST_F(SettingsTest, FilePathsOfTheConfiguration)
{
    Path_Active_Conf = QStringLiteral("/x\\PROJECTS\\Plant");
    Set_Files();
    EXPECT_EQ(File_ParGen, QStringLiteral("/x\\PROJECTS\\Plant\\ParGen.xml"));
    EXPECT_EQ(File_EtherNetIP_Master_Rules, QStringLiteral("/x\\PROJECTS\\Plant\\EtherNetIP_Master_Rules.xml"));
    EXPECT_EQ(File_SNMP_Trap, QStringLiteral("/x\\PROJECTS\\Plant\\SNMP_Trap.xml"));
    EXPECT_EQ(File_CAN_Rec_Frames, QStringLiteral("/x\\PROJECTS\\Plant\\CAN_Rec_Frames.xml"));
    EXPECT_EQ(File_CAN_Send_Frames, QStringLiteral("/x\\PROJECTS\\Plant\\CAN_Send_Frames.xml"));
    EXPECT_EQ(File_BACnet_Slave_SetAccess, QStringLiteral("/x\\PROJECTS\\Plant\\BACnet_Slave_SetAccess.xml"));
    EXPECT_EQ(File_KNX_SetAccess, QStringLiteral("/x\\PROJECTS\\Plant\\KNX_SetAccess.xml"));
    EXPECT_EQ(File_MQTT_Set_Topic, QStringLiteral("/x\\PROJECTS\\Plant\\MQTT_Set_Topic.xml"));
    EXPECT_EQ(File_PDO_CANopen, QStringLiteral("/x\\PROJECTS\\Plant\\PDO_CANopen.xml"));
    EXPECT_EQ(File_SDO_Client_CANopen, QStringLiteral("/x\\PROJECTS\\Plant\\SDO_Client_CANopen.xml"));
    EXPECT_EQ(File_SDO_Server_CANopen, QStringLiteral("/x\\PROJECTS\\Plant\\SDO_Server_CANopen.xml"));
    Path_Active_Conf.clear();
    Set_Files();
    EXPECT_EQ(File_ParGen, QStringLiteral("\\ParGen.xml"));
    EXPECT_EQ(File_PDO_CANopen, QStringLiteral("\\PDO_CANopen.xml"));
}

} // namespace
