// The CANopen EDS step: the data sheet of the PDO and SDO server rules, byte for byte and as a
// strict INI reader takes it.
#include "helpers/WritersFixture.h"

#include "core/UComon.h"
#include "core/UFabricoreFirmWare.h"
#include "editors/eds/UEds.h"
#include "platform/Dialogs.h"
#include "platform/SysUtils.h"

#include <gmock/gmock.h>

#include <vector>

namespace {

struct TPdo {
    QString Cob, Dim;
};
struct TSdo {
    QString Index, Sub, NByte;
};

QByteArray Pdo_File(const std::vector<TPdo> &Rx, const std::vector<TPdo> &Tx)
{
    auto Rows = [](const std::vector<TPdo> &List) {
        QString S;
        for (const TPdo &P : List)
            S += QStringLiteral("<row Enable=\"Y\"") + (P.Cob.isNull() ? QString() : QStringLiteral(" COB-ID=\"%1\"").arg(P.Cob))
                 + (P.Dim.isNull() ? QString() : QStringLiteral(" Dimension=\"%1\"").arg(P.Dim)) + QStringLiteral("/>");
        return S;
    };
    return (QStringLiteral("<?xml version=\"1.0\"?>\r\n<PDO_CANopen><Receive_PDO>") + Rows(Rx)
            + QStringLiteral("</Receive_PDO><Transmit_PDO>") + Rows(Tx) + QStringLiteral("</Transmit_PDO></PDO_CANopen>\r\n"))
        .toUtf8();
}

QByteArray Sdo_File(const std::vector<TSdo> &Read, const std::vector<TSdo> &Write)
{
    auto Rows = [](const std::vector<TSdo> &List) {
        QString S;
        for (const TSdo &R : List) {
            S += QStringLiteral("<row Address_B1=\"0\"");
            if (!R.Index.isNull())
                S += QStringLiteral(" Index=\"%1\"").arg(R.Index);
            if (!R.Sub.isNull())
                S += QStringLiteral(" SubIndex=\"%1\"").arg(R.Sub);
            if (!R.NByte.isNull())
                S += QStringLiteral(" NByte=\"%1\"").arg(R.NByte);
            S += QStringLiteral(" Mnemonic=\"m\"/>");
        }
        return S;
    };
    return (QStringLiteral("<SDO_Server_CANopen><SDO_Read>") + Rows(Read) + QStringLiteral("</SDO_Read><SDO_Write>")
            + Rows(Write) + QStringLiteral("</SDO_Write></SDO_Server_CANopen>"))
        .toUtf8();
}

class EdsWriterTest : public TWritersTest {
protected:
    void SetUp() override
    {
        TWritersTest::SetUp();
        SetFixedClock(2026, 12, 8, 12, 30, 0);
    }
    QString Out() const { return ConfPath(QStringLiteral("device.eds")); }
    // The step with the dialog confirmed on Out(); the text written.
    QString Write()
    {
        GuiTest::TScriptedModalHook Hook;
        Hook.Answer(mrOk, Out());
        Step(FFabricoreFirmWare->Btn_CANopen_EDS);
        EXPECT_EQ(Hook.Pending(), 0u);
        EXPECT_EQ(Hook.Shown.size(), 1u);
        return QString::fromLatin1(Read_File(Out()));
    }
    // check_eds.py's verdict: the section names, or a failure of the test.
    QStringList Check_Eds()
    {
        const TToolRun R = Run_Tool(Debian_Python, {Test_Source(QStringLiteral("tools/check_eds.py")), Out()});
        EXPECT_EQ(R.Exit, 0) << R.Err.toStdString();
        return R.Out.split(u'\n', Qt::SkipEmptyParts);
    }
    // The lines of one section.
    static QStringList Section(const QString &Text, const QString &Name)
    {
        const QStringList Lines = Text.split(QStringLiteral("\r\n"));
        QStringList Out;
        for (qsizetype i = Lines.indexOf(QLatin1Char('[') + Name + QLatin1Char(']')) + 1;
             i > 0 && i < Lines.size() && !Lines[i].isEmpty() && !Lines[i].startsWith(u'['); ++i)
            Out << Lines[i];
        return Out;
    }
};

TEST_F(EdsWriterTest, RulesGiveTheGoldenDataSheet)
{
    WriteConf(QStringLiteral("PDO_CANopen.xml"), Pdo_File({{"0x201", "2"}}, {{"$181", "1"}}));
    WriteConf(QStringLiteral("SDO_Server_CANopen.xml"), Sdo_File({{"0x2000", "2", "2"}}, {{"8192", "1", "4"}}));
    Write();
    EXPECT_EQ(Read_File(Out()), Read_File(Test_Source(QStringLiteral("editors/golden/example.eds"))));
    Check_Eds();
}

TEST_F(EdsWriterTest, WithoutRuleFiles)
{
    const QString Text = Write();
    EXPECT_THAT(Section(Text, QStringLiteral("DeviceInfo")), testing::IsSupersetOf({QStringLiteral("NrOfRXPDO=0"), QStringLiteral("NrOfTXPDO=0")}));
    EXPECT_EQ(Section(Text, QStringLiteral("OptionalObjects")).first(), QStringLiteral("SupportedObjects=8"));
    EXPECT_EQ(Section(Text, QStringLiteral("ManufacturerObjects")), QStringList{QStringLiteral("SupportedObjects=0")});
    EXPECT_TRUE(Text.endsWith(QStringLiteral("[1280sub3]\r\nParameterName=Node ID of the SDO Server\r\nObjectType=0x07\r\n"
                                             "DataType=0x0005\r\nAccessType=rw\r\nPDOMapping=0\r\n\r\n")));
    EXPECT_EQ(Check_Eds().size(), 32);
}

// The clock is read once: a write just before midnight never pairs one day's date with the
// next day's time.
TEST_F(EdsWriterTest, TimeOfTheDataSheet)
{
    const std::pair<int, int> Times[] = {{12, 0}, {12, 30}, {0, 15}, {13, 5}, {23, 59}};
    const QStringList Expected = {"12:00AM", "00:30PM", "00:15AM", "01:05PM", "11:59PM"};
    for (size_t i = 0; i < std::size(Times); ++i)
        EXPECT_EQ(EDS_Time(EncodeTime(static_cast<Word>(Times[i].first), static_cast<Word>(Times[i].second), 0, 0)),
                  Expected[static_cast<qsizetype>(i)]);

    const TDateTime Before = EncodeDate(2026, 12, 8) + EncodeTime(23, 59, 59, 999);
    int Readings = 0;
    SetClock([&] { return Readings++ == 0 ? Before : Before + 1.0 / 86400; });
    const QString Text = Write();
    EXPECT_THAT(Section(Text, QStringLiteral("FileInfo")),
                testing::IsSupersetOf({QStringLiteral("CreationTime=11:59PM"), QStringLiteral("CreationDate=12-08-2026"),
                                       QStringLiteral("ModificationTime=11:59PM"), QStringLiteral("ModificationDate=12-08-2026")}));
}

TEST_F(EdsWriterTest, ManufacturerObjects)
{
    WriteConf(QStringLiteral("SDO_Server_CANopen.xml"),
              Sdo_File({{"0x2001", "10", "1"}, {"0x2001", "255", "2"}, {"0x2002", "0", "4"}, {"0x2001", "0", "3"},
                        {"0x2003", "1", "1"}},
                       {{"0x2003", "1", "4"}, {"0x2002", "1", "2"}}));
    const QString Text = Write();
    EXPECT_EQ(Section(Text, QStringLiteral("ManufacturerObjects")),
              (QStringList{"SupportedObjects=3", "1=0x2001", "2=0x2002", "3=0x2003"}));
    EXPECT_EQ(Section(Text, QStringLiteral("2001")), (QStringList{"SubNumber=3", "ParameterName=App Vars", "ObjectType=0x9"}));
    EXPECT_EQ(Section(Text, QStringLiteral("2001sub0")),
              (QStringList{"ParameterName=Application Variable", "ObjectType=0x7", "DataType=0x0007", "LowLimit=0x00000000",
                           "HighLimit=0xFFFFFFFF", "DefaultValue=0x00000000", "AccessType=ro", "PDOMapping=0"}));
    EXPECT_EQ(Section(Text, QStringLiteral("2001subA")),
              (QStringList{"ParameterName=Application Variable", "ObjectType=0x7", "DataType=0x0005", "LowLimit=0x00",
                           "HighLimit=0xFF", "DefaultValue=0x00", "AccessType=ro", "PDOMapping=0"}));
    EXPECT_EQ(Section(Text, QStringLiteral("2001subFF")),
              (QStringList{"ParameterName=Application Variable", "ObjectType=0x7", "DataType=0x0006", "LowLimit=0x0000",
                           "HighLimit=0xFFFF", "DefaultValue=0x0000", "AccessType=ro", "PDOMapping=0"}));
    EXPECT_EQ(Section(Text, QStringLiteral("2002sub1")).filter(QStringLiteral("Access")), QStringList{QStringLiteral("AccessType=rw")});
    // The same index and sub-index twice: the read row stays, the write row is dropped.
    EXPECT_EQ(Section(Text, QStringLiteral("2003")).first(), QStringLiteral("SubNumber=2"));
    EXPECT_THAT(Section(Text, QStringLiteral("2003sub1")), testing::IsSupersetOf({QStringLiteral("DataType=0x0005"), QStringLiteral("AccessType=ro")}));
    const QStringList Sections = Check_Eds();
    EXPECT_EQ(Sections.mid(Sections.indexOf(QStringLiteral("2001"))),
              (QStringList{"2001", "2001sub0", "2001subA", "2001subFF", "2002", "2002sub0", "2002sub1", "2003", "2003sub0", "2003sub1"}));
}

TEST_F(EdsWriterTest, PdoTablesHoldThirtyOfEachKind)
{
    std::vector<TPdo> Rx, Tx;
    for (int i = 0; i < 31; ++i) {
        Rx.push_back({QStringLiteral("0x%1").arg(0x200 + i, 0, 16), "8"});
        Tx.push_back({QStringLiteral("%1").arg(0x180 + i), i == 0 ? QString() : QStringLiteral("12")});
    }
    Rx[1] = {QStringLiteral("abc"), QStringLiteral("-3")};
    WriteConf(QStringLiteral("PDO_CANopen.xml"), Pdo_File(Rx, Tx));
    const QString Text = Write();
    EXPECT_THAT(Section(Text, QStringLiteral("DeviceInfo")), testing::IsSupersetOf({QStringLiteral("NrOfRXPDO=30"), QStringLiteral("NrOfTXPDO=30")}));
    EXPECT_EQ(Section(Text, QStringLiteral("OptionalObjects")).first(), QStringLiteral("SupportedObjects=188"));
    EXPECT_EQ(Section(Text, QStringLiteral("OptionalObjects")).last(), QStringLiteral("188=0x706D"));
    EXPECT_THAT(Section(Text, QStringLiteral("1401sub1")), testing::Contains(QStringLiteral("DefaultValue=0x00000000")));
    EXPECT_EQ(Section(Text, QStringLiteral("1601")).first(), QStringLiteral("SubNumber=1"));
    EXPECT_EQ(Section(Text, QStringLiteral("1A00")).first(), QStringLiteral("SubNumber=9"));
    EXPECT_EQ(Section(Text, QStringLiteral("1A01")).first(), QStringLiteral("SubNumber=9"));
    EXPECT_THAT(Section(Text, QStringLiteral("1A1Dsub8")), testing::Contains(QStringLiteral("DefaultValue=0x706D0808")));
    EXPECT_THAT(Section(Text, QStringLiteral("701Dsub8")), testing::Contains(QStringLiteral("ParameterName=av8")));
    EXPECT_THAT(Section(Text, QStringLiteral("706Dsub8")), testing::Contains(QStringLiteral("ParameterName=cv8")));
    EXPECT_FALSE(Text.contains(QStringLiteral("[141E]")));
    Check_Eds();
}

TEST_F(EdsWriterTest, DamagedRuleFilesShowTheErrorAndKeepTheOldFile)
{
    const std::pair<QString, QByteArray> Damaged[] = {
        {"SDO_Server_CANopen.xml", Sdo_File({{QString(), "1", "1"}}, {})},
        {"SDO_Server_CANopen.xml", Sdo_File({{"0x2000", "x", "1"}}, {})},
        {"SDO_Server_CANopen.xml", Sdo_File({}, {{"0x2000", "1", QString()}})},
        {"SDO_Server_CANopen.xml", Sdo_File({{"0x1000", "1", "1"}}, {})},
        {"SDO_Server_CANopen.xml", Sdo_File({{"0x6000", "1", "1"}}, {})},
        {"SDO_Server_CANopen.xml", Sdo_File({{"0x2000", "256", "1"}}, {})},
        {"SDO_Server_CANopen.xml", "<SDO_Server_CANopen><SDO_Read>"},
        {"PDO_CANopen.xml", "not xml"},
    };
    for (const auto &[File, Bytes] : Damaged) {
        QFile::remove(ConfPath(QStringLiteral("SDO_Server_CANopen.xml")));
        QFile::remove(ConfPath(QStringLiteral("PDO_CANopen.xml")));
        WriteConf(File, Bytes);
        WriteConf(QStringLiteral("device.eds"), "old");
        GuiTest::TScriptedModalHook Hook;
        Hook.Answer(mrOk, Out()).Answer(mrOk);
        Step(FFabricoreFirmWare->Btn_CANopen_EDS);
        ASSERT_EQ(Hook.Shown.size(), 2u) << Bytes.toStdString();
        EXPECT_EQ(Hook.Shown[1].DlgType, mtError);
        EXPECT_EQ(Read_File(Out()), "old") << Bytes.toStdString();
    }
}

TEST_F(EdsWriterTest, DialogAndNoQuestion)
{
    {
        GuiTest::TScriptedModalHook Hook;
        Hook.Handle([this](TModalRequest &R) {
            EXPECT_EQ(R.Kind, mkSaveDialog);
            EXPECT_EQ(R.InitialDir, Path_Active_Conf);
            EXPECT_EQ(R.Filter, QStringLiteral("Electronic Data Sheet (*.eds)|*.eds"));
            return mrCancel;
        });
        Step(FFabricoreFirmWare->Btn_CANopen_EDS);
        EXPECT_FALSE(QFile::exists(Out()));
    }
    WriteConf(QStringLiteral("device.eds"), "old");
    EXPECT_TRUE(Write().startsWith(QStringLiteral("[FileInfo]\r\n")));
    CloseConf();
    GuiTest::TScriptedModalHook Hook;
    Hook.Answer(mrOk);
    Step(FFabricoreFirmWare->Btn_CANopen_EDS);
    ASSERT_EQ(Hook.Shown.size(), 1u);
    EXPECT_EQ(Hook.Shown[0].Text, QStringLiteral("Error! Project not Valid"));
}

} // namespace
