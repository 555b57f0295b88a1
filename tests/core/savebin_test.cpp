#include "core/USaveBincc.h"

#include "core/UComon.h"
#include "core/USettings.h"
#include "platform/XMLDoc.h"
#include "support/TempDir.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

LongWord U32(const QByteArray &B, int Ofs)
{
    LongWord v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<Byte>(B.at(Ofs + i));
    return v;
}

Word U16(const QByteArray &B, int Ofs)
{
    return static_cast<Word>(static_cast<Byte>(B.at(Ofs)) | (static_cast<Byte>(B.at(Ofs + 1)) << 8));
}

QByteArray Octets(const QByteArray &B, int Ofs)
{
    return B.mid(Ofs, 4);
}

QByteArray IP(int a, int b, int c, int d)
{
    QByteArray r;
    for (int v : {a, b, c, d})
        r.append(static_cast<char>(v));
    return r;
}

// "ParGen.xml" as the communication parameters editor saves it, with one value replaced.
QByteArray ParGen(std::initializer_list<std::pair<const char *, const char *>> Changes = {})
{
    std::vector<std::pair<QByteArray, QByteArray>> Elements = {
        {"EtherNetIP_Master_IP1", "192"}, {"EtherNetIP_Master_IP2", "168"}, {"EtherNetIP_Master_IP3", "0"}, {"EtherNetIP_Master_IP4", "5"},
        {"EtherNetIP_Master_SM1", "255"}, {"EtherNetIP_Master_SM2", "255"}, {"EtherNetIP_Master_SM3", "255"}, {"EtherNetIP_Master_SM4", "0"},
        {"EtherNetIP_Master_GAT1", "192"}, {"EtherNetIP_Master_GAT2", "168"}, {"EtherNetIP_Master_GAT3", "0"}, {"EtherNetIP_Master_GAT4", "1"},
        {"EtherNetIP_Master_EN_GAT", "0"}, {"EtherNetIP_Master_Port", "44818"},
        {"SERIAL_SERIAL", "0"}, {"SERIAL_BAUDRATE", "7"}, {"SERIAL_PARITY", "0"}, {"SERIAL_STOPBITS", "0"},
    };
    QByteArray Xml = "<Par_Gen>";
    for (auto &[Name, Value] : Elements) {
        const char *Text = Value.constData();
        bool Drop = false;
        for (const auto &[CName, CValue] : Changes)
            if (Name == CName) {
                Text = CValue;
                Drop = CValue == nullptr;
            }
        if (!Drop)
            Xml += "<" + Name + ">" + QByteArray(Text) + "</" + Name + ">";
    }
    return Xml + "</Par_Gen><!--SW_VERSION = 1.000-->";
}

QByteArray Row(const char *Enable, const char *IP_Address, const char *Start_Input, const char *Num_Input,
               const char *Start_Output, const char *Num_Output, const char *Time_Poll = "500")
{
    QByteArray r = "<row Enable=\"" + QByteArray(Enable) + "\"";
    if (IP_Address)
        r += " IP_Address=\"" + QByteArray(IP_Address) + "\"";
    r += " Start_Input=\"" + QByteArray(Start_Input) + "\" Num_Input=\"" + QByteArray(Num_Input) + "\"";
    r += " Start_Output=\"" + QByteArray(Start_Output) + "\" Num_Output=\"" + QByteArray(Num_Output) + "\"";
    if (Time_Poll)
        r += " Time_Poll=\"" + QByteArray(Time_Poll) + "\"";
    r += " Instance_T_O=\"101\" Connection_Point_T_O=\"110\" Instance_O_T=\"102\" Connection_Point_O_T=\"120\" Mnemonic=\"m\"/>";
    return r;
}

QByteArray Rules(const QByteArray &Rows)
{
    return "<EtherNetIP_Master_Access>" + Rows + "</EtherNetIP_Master_Access><!--SW_VERSION = 1.005-->";
}

class SaveBinTest : public TempDirTest {
protected:
    void SetUp() override
    {
        QDir(Dir()).mkpath(QStringLiteral("PROJECTS/Plant/bin"));
        Path_Active_Conf = Dir() + QStringLiteral("\\PROJECTS\\Plant");
        Set_Files();
        XML1 = NewXMLDocument();
    }

    void WriteParGen(const QByteArray &Xml) const { WriteBytes(QStringLiteral("PROJECTS/Plant/ParGen.xml"), Xml); }
    void WriteRules(const QByteArray &Xml) const { WriteBytes(QStringLiteral("PROJECTS/Plant/EtherNetIP_Master_Rules.xml"), Xml); }

    // Compiles and writes the image and returns the file's bytes.
    QByteArray Build()
    {
        Create_Bin(XML1.get());
        Save_Bin();
        return ReadBytes(QStringLiteral("PROJECTS/Plant/bin/bank.bin"));
    }

    static LongWord Sum(const QByteArray &B)
    {
        LongWord s = 0;
        for (int i = 0; i < 0x7FC; ++i)
            s += static_cast<Byte>(B.at(i));
        return s;
    }

    std::unique_ptr<TXMLDocument> XML1;
};

TEST_F(SaveBinTest, NeitherFileGivesTheResetBlock)
{
    const QByteArray B = Build();
    ASSERT_EQ(B.size(), 2368);
    QByteArray Expected(2048, '\0');
    auto Put32 = [&](int Ofs, LongWord v) {
        for (int i = 0; i < 4; ++i)
            Expected[Ofs + i] = static_cast<char>(v >> (8 * i));
    };
    auto Put16 = [&](int Ofs, Word v) {
        Expected[Ofs] = static_cast<char>(v);
        Expected[Ofs + 1] = static_cast<char>(v >> 8);
    };
    Put32(0x000, 250000);
    Put32(0x00C, 9600);
    Expected.replace(0x028, 4, IP(192, 168, 2, 205));
    Expected.replace(0x02C, 4, IP(255, 255, 255, 0));
    Expected.replace(0x030, 4, IP(255, 255, 255, 255));
    Put16(0x034, 10000);
    Put16(0x036, 10001);
    Put16(0x038, 10001);
    Put32(0x03C, 9600);
    Put32(0x27C, 0x00068800);
    Put32(0x7FC, 3346);
    EXPECT_EQ(B.left(2048), Expected);
    EXPECT_EQ(B.mid(2048), QByteArray(320, '\0'));
    EXPECT_EQ(Image_Len, 2368);
}

TEST_F(SaveBinTest, EditorDefaultsWithoutRules)
{
    WriteParGen(ParGen());
    const QByteArray B = Build();
    ASSERT_EQ(B.size(), 2368);
    EXPECT_EQ(Octets(B, 0x028), IP(192, 168, 0, 5));
    EXPECT_EQ(Octets(B, 0x130), IP(192, 168, 0, 5));
    EXPECT_EQ(Octets(B, 0x02C), IP(255, 255, 255, 0));
    EXPECT_EQ(Octets(B, 0x134), IP(255, 255, 255, 0));
    EXPECT_EQ(Octets(B, 0x030), IP(255, 255, 255, 255));
    EXPECT_EQ(Octets(B, 0x138), IP(255, 255, 255, 255));
    EXPECT_EQ(U32(B, 0x00C), 115200u);
    EXPECT_EQ(U32(B, 0x03C), 115200u);
    EXPECT_EQ(U32(B, 0x014), 1u);
    EXPECT_EQ(U32(B, 0x044), 1u);
    EXPECT_EQ(static_cast<Byte>(B.at(0x061)), 1);
    EXPECT_EQ(U16(B, 0x012), 0);
    EXPECT_EQ(U32(B, 0x278), 0u);
    EXPECT_EQ(U32(B, 0x7FC), 5357u);
    EXPECT_EQ(B.mid(2048), QByteArray(320, '\0'));
}

struct TParCase {
    const char *Element;
    const char *Text; // nullptr: the element is left out
    int Ofs;
    int Size;
    LongWord Value;
};

TEST_F(SaveBinTest, ParameterValues)
{
    const TParCase Cases[] = {
        {"SERIAL_BAUDRATE", "0", 0x00C, 4, 1200},
        {"SERIAL_BAUDRATE", "3", 0x00C, 4, 9600},
        {"SERIAL_BAUDRATE", "4", 0x03C, 4, 19200},
        {"SERIAL_BAUDRATE", "6", 0x00C, 4, 57600},
        {"SERIAL_BAUDRATE", "8", 0x00C, 4, 9600},
        {"SERIAL_BAUDRATE", "-1", 0x03C, 4, 9600},
        {"SERIAL_BAUDRATE", "abc", 0x00C, 4, 115200},
        {"SERIAL_BAUDRATE", "99999999999999999999", 0x00C, 4, 115200},
        {"SERIAL_BAUDRATE", nullptr, 0x00C, 4, 115200},
        {"SERIAL_PARITY", "2", 0x012, 2, 2},
        {"SERIAL_PARITY", "1", 0x042, 2, 1},
        {"SERIAL_PARITY", "65537", 0x012, 2, 1},
        {"SERIAL_PARITY", "x", 0x042, 2, 0},
        {"SERIAL_STOPBITS", "1", 0x014, 4, 2},
        {"SERIAL_STOPBITS", "1", 0x044, 4, 2},
        {"SERIAL_STOPBITS", "2", 0x014, 4, 1},
        {"SERIAL_STOPBITS", " 1", 0x014, 4, 1},
        {"SERIAL_STOPBITS", nullptr, 0x044, 4, 1},
        {"SERIAL_SERIAL", "1", 0x061, 1, 0},
        {"SERIAL_SERIAL", "00", 0x061, 1, 0},
        {"SERIAL_SERIAL", nullptr, 0x061, 1, 0},
        {"EtherNetIP_Master_IP1", "300", 0x028, 1, 44},
        {"EtherNetIP_Master_IP1", "300", 0x130, 1, 44},
        {"EtherNetIP_Master_IP2", "abc", 0x029, 1, 168},
        {"EtherNetIP_Master_IP3", "", 0x02A, 1, 0},
        {"EtherNetIP_Master_IP3", nullptr, 0x02A, 1, 0},
        {"EtherNetIP_Master_IP4", "<b>7</b>", 0x02B, 1, 5},
        {"EtherNetIP_Master_SM4", "128", 0x137, 1, 128},
        {"EtherNetIP_Master_EN_GAT", "true", 0x030, 1, 255},
        {"EtherNetIP_Master_EN_GAT", "1", 0x030, 1, 192},
        {"EtherNetIP_Master_EN_GAT", "1", 0x13B, 1, 1},
        {"EtherNetIP_Master_Port", "502", 0x034, 2, 10000},
    };
    for (const TParCase &c : Cases) {
        WriteParGen(ParGen({{c.Element, c.Text}}));
        const QByteArray B = Build();
        ASSERT_EQ(B.size(), 2368);
        const LongWord Got = c.Size == 4 ? U32(B, c.Ofs) : c.Size == 2 ? U16(B, c.Ofs) : static_cast<Byte>(B.at(c.Ofs));
        EXPECT_EQ(Got, c.Value) << c.Element << " = " << (c.Text ? c.Text : "(missing)");
        EXPECT_EQ(U32(B, 0x7FC), Sum(B)) << c.Element;
    }
}

TEST_F(SaveBinTest, GatewayOnlyWhenEnabled)
{
    WriteParGen(ParGen({{"EtherNetIP_Master_EN_GAT", "1"}, {"EtherNetIP_Master_GAT1", "10"}, {"EtherNetIP_Master_GAT4", "254"}}));
    QByteArray B = Build();
    EXPECT_EQ(Octets(B, 0x030), IP(10, 168, 0, 254));
    EXPECT_EQ(Octets(B, 0x138), IP(10, 168, 0, 254));
    WriteParGen(ParGen({{"EtherNetIP_Master_EN_GAT", "0"}, {"EtherNetIP_Master_GAT1", "10"}}));
    B = Build();
    EXPECT_EQ(Octets(B, 0x030), IP(255, 255, 255, 255));
    EXPECT_EQ(Octets(B, 0x138), IP(255, 255, 255, 255));
}

TEST_F(SaveBinTest, RootOfAnotherNameAndDeclarationAreRead)
{
    QByteArray Xml = ParGen({{"SERIAL_BAUDRATE", "0"}});
    Xml.replace("Par_Gen", "Other");
    WriteParGen("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<!-- note -->\r\n" + Xml);
    const QByteArray B = Build();
    EXPECT_EQ(U32(B, 0x00C), 1200u);
    EXPECT_EQ(Octets(B, 0x028), IP(192, 168, 0, 5));
}

TEST_F(SaveBinTest, EnabledRulesFillTheRecordsInOrder)
{
    WriteRules(Rules(Row("N", "10.0.0.1", "1", "11", "2", "22") +
                     Row("Y", "10.0.0.2", "3", "30", "4", "40", "250") +
                     Row("y ", "10.0.0.3", "5", "50", "6", "60") +
                     Row("Y", "10.0.0.4", "7", "70", "8", "80")));
    const QByteArray B = Build();
    ASSERT_EQ(B.size(), 2368);
    EXPECT_EQ(U32(B, 0x278), 3u);
    EXPECT_EQ(U32(B, 0x074), 150u);
    EXPECT_EQ(U32(B, 0x078), 180u);
    const QByteArray R0 = B.mid(0x800, 32), R1 = B.mid(0x820, 32), R2 = B.mid(0x840, 32);
    EXPECT_EQ(Octets(R0, 0), IP(10, 0, 0, 2));
    EXPECT_EQ(U16(R0, 4), 3);
    EXPECT_EQ(U16(R0, 6), 30);
    EXPECT_EQ(U16(R0, 8), 0);
    EXPECT_EQ(U16(R0, 10), 4);
    EXPECT_EQ(U16(R0, 12), 40);
    EXPECT_EQ(U16(R0, 14), 0);
    EXPECT_EQ(U16(R0, 16), 101);
    EXPECT_EQ(U16(R0, 18), 110);
    EXPECT_EQ(U16(R0, 20), 102);
    EXPECT_EQ(U16(R0, 22), 120);
    EXPECT_EQ(U32(R0, 24), 250u);
    EXPECT_EQ(U32(R0, 28), 0u);
    EXPECT_EQ(Octets(R1, 0), IP(10, 0, 0, 3));
    EXPECT_EQ(U16(R1, 8), 30);
    EXPECT_EQ(U16(R1, 14), 40);
    EXPECT_EQ(Octets(R2, 0), IP(10, 0, 0, 4));
    EXPECT_EQ(U16(R2, 8), 80);
    EXPECT_EQ(U16(R2, 14), 100);
    EXPECT_EQ(B.mid(0x860), QByteArray(0x940 - 0x860, '\0'));
    EXPECT_EQ(U32(B, 0x7FC), Sum(B));
}

TEST_F(SaveBinTest, RuleDefaults)
{
    QByteArray Missing = "<row Enable=\"Y\"/>";
    QByteArray Bad = Row("Y", "10.x.0.1", "a", "b", "c", "d", "e");
    Bad.replace("Instance_T_O=\"101\"", "Instance_T_O=\"abc\"");
    WriteRules(Rules(Row("Y", "1.2.3.4", "0", "5", "0", "6", nullptr) + Missing + Bad + Row("Y", "", "0", "0", "0", "0") +
                     "<row IP_Address=\"9.9.9.9\"/>" + "<!-- a note --><row Enable=\"Y\" IP_Address=\"1.1.1\"/>"));
    const QByteArray B = Build();
    EXPECT_EQ(U32(B, 0x278), 5u);
    const QByteArray R0 = B.mid(0x800, 32), R1 = B.mid(0x820, 32), R2 = B.mid(0x840, 32), R3 = B.mid(0x860, 32), R4 = B.mid(0x880, 32);
    EXPECT_EQ(U32(R0, 24), 1000u);
    EXPECT_EQ(Octets(R1, 0), IP(255, 255, 255, 255));
    EXPECT_EQ(U16(R1, 6), 0);
    EXPECT_EQ(U16(R1, 8), 5);
    EXPECT_EQ(U16(R1, 16), 1);
    EXPECT_EQ(U16(R1, 18), 100);
    EXPECT_EQ(U16(R1, 20), 1);
    EXPECT_EQ(U16(R1, 22), 101);
    EXPECT_EQ(U32(R1, 24), 1000u);
    EXPECT_EQ(Octets(R2, 0), IP(10, 0, 0, 1));
    EXPECT_EQ(U16(R2, 4), 0);
    EXPECT_EQ(U16(R2, 16), 1);
    EXPECT_EQ(U32(R2, 24), 1000u);
    EXPECT_EQ(Octets(R3, 0), IP(0, 0, 0, 0));
    EXPECT_EQ(Octets(R4, 0), IP(1, 1, 0, 1));
    EXPECT_EQ(U32(B, 0x074), 5u);
    EXPECT_EQ(U32(B, 0x078), 6u);
}

TEST_F(SaveBinTest, NumbersKeepTheirLowBits)
{
    WriteRules(Rules(Row("Y", "1.1.1.1", "-1", "65537", "70000", "2", "4294967295") +
                     Row("Y", "1.1.1.2", "0", "3", "0", "1", "-1")));
    const QByteArray B = Build();
    const QByteArray R0 = B.mid(0x800, 32), R1 = B.mid(0x820, 32);
    EXPECT_EQ(U16(R0, 4), 0xFFFF);
    EXPECT_EQ(U16(R0, 6), 1);
    EXPECT_EQ(U16(R0, 10), 70000 & 0xFFFF);
    EXPECT_EQ(U32(R0, 24), 1000u); // no 32-bit integer: the default
    EXPECT_EQ(U16(R1, 8), 1);
    EXPECT_EQ(U32(R1, 24), 0xFFFFFFFFu);
    EXPECT_EQ(U32(B, 0x074), 4u);
}

TEST_F(SaveBinTest, MoreThanTenEnabledRowsFillTenRecords)
{
    QByteArray Rows;
    for (int i = 0; i < 14; ++i)
        Rows += Row("Y", QByteArray("10.0.0." + QByteArray::number(i + 1)).constData(), "0", "10", "0", "1");
    WriteRules(Rules(Rows));
    const QByteArray B = Build();
    ASSERT_EQ(B.size(), 2368);
    EXPECT_EQ(U32(B, 0x278), 10u);
    EXPECT_EQ(U32(B, 0x074), 100u);
    EXPECT_EQ(U32(B, 0x078), 10u);
    EXPECT_EQ(Octets(B, 0x800 + 9 * 32), IP(10, 0, 0, 10));
    EXPECT_EQ(U16(B, 0x800 + 9 * 32 + 8), 90);
}

TEST_F(SaveBinTest, DocumentHoldsTheLastFileLoaded)
{
    WriteParGen(ParGen());
    WriteRules(Rules(Row("Y", "1.1.1.1", "0", "1", "0", "1")));
    Create_Bin(XML1.get());
    EXPECT_EQ(Document_Root(XML1.get()).NodeName(), QStringLiteral("EtherNetIP_Master_Access"));
}

TEST_F(SaveBinTest, FilesThatAreNoXmlStopTheComposition)
{
    const QByteArray Good = Rules(Row("Y", "10.0.0.2", "3", "30", "4", "40"));
    QByteArray Garbage;
    quint32 Seed = 7;
    for (int i = 0; i < 3000; ++i) {
        Seed = Seed * 1103515245u + 12345u;
        Garbage.append(static_cast<char>(Seed >> 16));
    }
    std::vector<QByteArray> Cases = {Garbage, QByteArray(), QByteArray("\xef\xbb\xbf"), QByteArray("<a><b></a>")};
    for (int Len = 1; Len < Good.indexOf("<!--"); ++Len)
        Cases.push_back(Good.left(Len));
    for (bool Rules_File : {false, true}) {
        for (const QByteArray &Bytes : Cases) {
            QDir(Dir()).remove(QStringLiteral("PROJECTS/Plant/ParGen.xml"));
            QDir(Dir()).remove(QStringLiteral("PROJECTS/Plant/EtherNetIP_Master_Rules.xml"));
            if (Rules_File)
                WriteRules(Bytes);
            else
                WriteParGen(Bytes);
            EXPECT_THROW(Create_Bin(XML1.get()), EDOMParseError) << Bytes.left(30).toStdString();
        }
    }
    // The image of an earlier composition is not written in place of the one that failed.
    QDir(Dir()).remove(QStringLiteral("PROJECTS/Plant/EtherNetIP_Master_Rules.xml"));
    WriteParGen(ParGen());
    Create_Bin(XML1.get());
    WriteParGen(Garbage);
    EXPECT_THROW(Create_Bin(XML1.get()), EDOMParseError);
    WriteBytes(QStringLiteral("PROJECTS/Plant/bin/bank.bin"), "old image");
    EXPECT_THROW(Save_Bin(), EFCreateError);
    EXPECT_EQ(ReadBytes(QStringLiteral("PROJECTS/Plant/bin/bank.bin")), QByteArray("old image"));
}

TEST_F(SaveBinTest, WellFormedButStrangeFilesReadTheirDefaults)
{
    const QByteArray Cases[] = {
        "<Par_Gen/>",
        "<!-- only a comment --><x/>",
        "<Par_Gen><Par_Gen><SERIAL_BAUDRATE>0</SERIAL_BAUDRATE></Par_Gen></Par_Gen>",
        "<Par_Gen><SERIAL_BAUDRATE>1</SERIAL_BAUDRATE><SERIAL_BAUDRATE>2</SERIAL_BAUDRATE></Par_Gen>",
        "<Par_Gen><SERIAL_BAUDRATE><![CDATA[2]]></SERIAL_BAUDRATE></Par_Gen>",
    };
    for (const QByteArray &Xml : Cases) {
        WriteParGen(Xml);
        WriteRules("<EtherNetIP_Master_Access><row/><row Enable=\"Y\" Enable2=\"\"/>" + QByteArray(5000, ' ') + "</EtherNetIP_Master_Access>");
        const QByteArray B = Build();
        ASSERT_EQ(B.size(), 2368) << Xml.toStdString();
        EXPECT_EQ(U32(B, 0x7FC), Sum(B)) << Xml.toStdString();
        EXPECT_EQ(U32(B, 0x278), 1u);
    }
}

// Damaged copies of good files: every run either stops with a clear error or gives a whole
// image with a right checksum.
TEST_F(SaveBinTest, MutatedFilesNeverBreakTheImage)
{
    const QByteArray Good_ParGen = ParGen({{"EtherNetIP_Master_EN_GAT", "1"}});
    const QByteArray Good_Rules = Rules(Row("Y", "10.0.0.2", "3", "30", "4", "40") + Row("N", "1.1.1.1", "0", "1", "0", "1") +
                                        Row("Y", "10.0.0.3", "5", "50", "6", "60"));
    quint32 Seed = 2026;
    auto Next = [&Seed] {
        Seed = Seed * 1103515245u + 12345u;
        return Seed >> 8;
    };
    for (int Round = 0; Round < 300; ++Round) {
        QByteArray P = Good_ParGen, R = Good_Rules;
        QByteArray &Target = Round % 2 ? R : P;
        const int Changes = 1 + static_cast<int>(Next() % 4);
        for (int k = 0; k < Changes; ++k) {
            const int At = static_cast<int>(Next() % static_cast<quint32>(Target.size()));
            switch (Next() % 4) {
            case 0: Target[At] = static_cast<char>(Next()); break;
            case 1: Target.remove(At, 1 + static_cast<int>(Next() % 20)); break;
            case 2: Target.insert(At, QByteArray(1 + static_cast<int>(Next() % 12), "9<\"=\x00\xff"[Next() % 6])); break;
            default: Target.insert(At, "99999999999999999999"); break;
            }
        }
        WriteParGen(P);
        WriteRules(R);
        try {
            // The composed image, as Save_Bin would write it: writing is tested on its own.
            Create_Bin(XML1.get());
            const QByteArray B(reinterpret_cast<const char *>(Image_Bin), Image_Len);
            ASSERT_EQ(B.size(), 2368);
            EXPECT_EQ(U32(B, 0x7FC), Sum(B));
            EXPECT_LE(U32(B, 0x278), 10u);
        } catch (const Exception &E) {
            EXPECT_TRUE(dynamic_cast<const EXMLDocError *>(&E)) << E.what();
        }
    }
}

TEST_F(SaveBinTest, ImageThatCannotBeWrittenRaisesWithItsPath)
{
    WriteBytes(QStringLiteral("PROJECTS/Plant/bin/bank.bin"), "old image");
    QDir(Dir()).mkpath(QStringLiteral("PROJECTS/NoBin"));
    Path_Active_Conf = Dir() + QStringLiteral("\\PROJECTS\\NoBin");
    Set_Files();
    Create_Bin(XML1.get());
    try {
        Save_Bin();
        FAIL() << "no error";
    } catch (const EFCreateError &E) {
        EXPECT_TRUE(E.Message().contains(QStringLiteral("bank.bin"))) << E.what();
    }
    Path_Active_Conf.clear();
    EXPECT_THROW(Save_Bin(), EFCreateError);
    EXPECT_EQ(ReadBytes(QStringLiteral("PROJECTS/Plant/bin/bank.bin")), QByteArray("old image"));
}

TEST_F(SaveBinTest, ImageReplacesTheOldOne)
{
    WriteBytes(QStringLiteral("PROJECTS/Plant/bin/bank.bin"), QByteArray(5000, 'x'));
    EXPECT_EQ(Build().size(), 2368);
}

} // namespace
