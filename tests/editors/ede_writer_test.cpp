// The BACnet EDE step: the object lines of the BACnet object rules, byte for byte and as a CSV
// reader takes them, and the questions of the main window's step.
#include "helpers/WritersFixture.h"

#include "core/UComon.h"
#include "core/UFabricoreFirmWare.h"
#include "editors/ede/UBACnet_EDE_File.h"
#include "platform/Dialogs.h"

#include <gmock/gmock.h>

#include <vector>

namespace {

struct TObj {
    QString Type, Unit, Mnemonic;
};

QString Attr(const QString &Name, const QString &Value)
{
    return Value.isNull() ? QString() : QStringLiteral(" %1=\"%2\"").arg(Name, Value.toHtmlEscaped());
}

QByteArray Objects_File(const std::vector<TObj> &Reads, const std::vector<TObj> &Writes)
{
    auto Rows = [](const std::vector<TObj> &List) {
        QString S;
        for (const TObj &O : List)
            S += QStringLiteral("<row") + Attr(QStringLiteral("Data_Type"), O.Type)
                 + Attr(QStringLiteral("Eng_Unit"), O.Unit) + QStringLiteral(" Position=\"0\" Bit=\"0\" Length=\"2\"")
                 + Attr(QStringLiteral("Mnemonic"), O.Mnemonic) + QStringLiteral("/>");
        return S;
    };
    return (QStringLiteral("<?xml version=\"1.0\"?>\r\n<BACnet_Slave_SetAccess><BACnet_in_Read>") + Rows(Reads)
            + QStringLiteral("</BACnet_in_Read><BACnet_in_Write>") + Rows(Writes)
            + QStringLiteral("</BACnet_in_Write></BACnet_Slave_SetAccess>\r\n"))
        .toUtf8();
}

QByteArray Par_Gen(const QString &Elements)
{
    return (QStringLiteral("<Par_Gen><IP_ADDRESS>1.2.3.4</IP_ADDRESS>") + Elements + QStringLiteral("</Par_Gen>")).toUtf8();
}

class EdeWriterTest : public TWritersTest {
protected:
    void SetUp() override
    {
        TWritersTest::SetUp();
        EDE_Device_Instance.clear();
        EDE_Long_Names = false;
        SetFixedClock(2021, 3, 14, 9, 5, 30);
    }
    QString Out() const { return ConfPath(QStringLiteral("objects.csv")); }
    // The step with the dialog confirmed on Out() (Yes when it exists); the object lines.
    QStringList Write()
    {
        GuiTest::TScriptedModalHook Hook;
        Hook.Answer(mrOk, Out());
        if (QFile::exists(Out()))
            Hook.Answer(mrYes);
        Step(FFabricoreFirmWare->Btn_BACnet_EDE_File);
        EXPECT_EQ(Hook.Pending(), 0u);
        return QString::fromLatin1(Read_File(Out())).split(QStringLiteral("\r\n")).mid(7);
    }
    // csvkit's verdict on a file: it must hold 8 fields on every line.
    void Expect_Eight_Fields(const QString &Path)
    {
        const TToolRun R = Run_Tool(QStringLiteral("csvclean"), {QStringLiteral("-n"), QStringLiteral("-d"), QStringLiteral(";"), Path});
        EXPECT_EQ(R.Exit, 0) << R.Err.toStdString();
        EXPECT_THAT(R.Out.trimmed(), testing::AnyOf(QString(), QStringLiteral("No errors."))) << R.Out.toStdString();
    }
};

TEST_F(EdeWriterTest, ExampleGivesTheGoldenFileThatACsvReaderTakes)
{
    WriteConf(QStringLiteral("ParGen.xml"), Par_Gen(QStringLiteral("<BACnet_Type>0</BACnet_Type><BACnet_DEV_IDE>1234</BACnet_DEV_IDE><BACnet_Ser_DEV_IDE>77</BACnet_Ser_DEV_IDE>")));
    WriteConf(QStringLiteral("BACnet_Slave_SetAccess.xml"),
              Objects_File({{"Analog Input", "62", "Temp1"}, {"Analog Input", "98", "Level"}},
                           {{"Analog Value", "62", "Setpoint"}}));
    Write();
    EXPECT_EQ(Read_File(Out()), Read_File(Test_Source(QStringLiteral("editors/golden/example.csv"))));
    Expect_Eight_Fields(Out());
    const TToolRun Keys = Run_Tool(QStringLiteral("csvcut"), {QStringLiteral("-d"), QStringLiteral(";"), QStringLiteral("-c"), QStringLiteral("1"), Out()});
    EXPECT_EQ(Keys.Out.split(u'\n', Qt::SkipEmptyParts).mid(7),
              (QStringList{"1234_Temp1_0", "1234_Level_1", "1234_Setpoint_0"}));
}

TEST_F(EdeWriterTest, TypesInstancesAndNames)
{
    WriteConf(QStringLiteral("ParGen.xml"), Par_Gen(QStringLiteral("<BACnet_Type>1</BACnet_Type><BACnet_DEV_IDE>1234</BACnet_DEV_IDE><BACnet_Ser_DEV_IDE>77</BACnet_Ser_DEV_IDE>")));
    WriteConf(QStringLiteral("BACnet_Slave_SetAccess.xml"),
              Objects_File({{"Multi State Value", "95", "ms1"},
                            {" analog input ", "62", "ai"},
                            {"Foo", "62", "foo"},
                            {"Multi State Value", "95", "ms2"},
                            {"Analog Input", "62", "abcdefghijklmnopqrst"},
                            {"Binary Value", "95", ""}},
                           {{"Multi State Value", "95", "ms3"}, {"Positive Integer Value", "95", "pi"}}));
    EXPECT_EQ(Write(), (QStringList{"77_ms1_0;77;ms1;19;0;ms1;95;", "77_ai_0;77;ai;0;0;ai;62;",
                                    "77_foo_1;77;foo;0;1;foo;62;", "77_ms2_1;77;ms2;19;1;ms2;95;",
                                    "77_abcdefghijklmnopqrst_2;77;abcdefghijklmnop;0;2;abcdefghijklmnop;62;",
                                    "77__0;77;;5;0;;95;", "77_ms3_2;77;ms3;19;2;ms3;95;", "77_pi_0;77;pi;48;0;pi;95;",
                                    ""}));
}

// The device instance and the long names outlive a generation whose ParGen.xml lacks them.
TEST_F(EdeWriterTest, DeviceAndLongNamesCarryOver)
{
    WriteConf(QStringLiteral("ParGen.xml"), Par_Gen(QStringLiteral("<BACnet_DEV_IDE>1234</BACnet_DEV_IDE><BACnet_Desc_Chars_Limit>1</BACnet_Desc_Chars_Limit>")));
    WriteConf(QStringLiteral("BACnet_Slave_SetAccess.xml"),
              Objects_File({{"Analog Input", "62", "abcdefghijklmnopqrstuvwxyz0123456789"}}, {}));
    const QStringList Long = {"1234_abcdefghijklmnopqrstuvwxyz0123456789_0;1234;abcdefghijklmnopqrstuvwxyz012345;0;0;abcdefghijklmnopqrstuvwxyz012345;62;", ""};
    EXPECT_EQ(Write(), Long);
    WriteConf(QStringLiteral("ParGen.xml"), Par_Gen(QString()));
    EXPECT_EQ(Write(), Long);
    QFile::remove(ConfPath(QStringLiteral("ParGen.xml")));
    EXPECT_EQ(Write(), Long);
}

TEST_F(EdeWriterTest, SeparatorsInFieldsKeepEightFields)
{
    Name_Active_Conf = QStringLiteral("p;q\"r");
    OpenConf(Name_Active_Conf);
    WriteConf(QStringLiteral("ParGen.xml"), Par_Gen(QStringLiteral("<BACnet_DEV_IDE>1;2</BACnet_DEV_IDE>")));
    WriteConf(QStringLiteral("BACnet_Slave_SetAccess.xml"),
              Objects_File({{"Analog Input", "6;2", "a;b"}, {"Analog Input", "62", "x\"y"}, {"Analog Input", "62", "c\nd"}}, {}));
    EXPECT_EQ(Write(), (QStringList{"1_2_a_b_0;1_2;a_b;0;0;a_b;6_2;", "1_2_x_y_1;1_2;x_y;0;1;x_y;62;",
                                    "1_2_c d_2;1_2;c d;0;2;c d;62;", ""}));
    EXPECT_TRUE(Read_File(Out()).startsWith("PROJECT_NAME; VeltraCorp--p_q_r;;;;;;\r\n"));
    Expect_Eight_Fields(Out());
}

TEST_F(EdeWriterTest, WithoutRuleFileSevenLines)
{
    Write();
    const QByteArray Bytes = Read_File(Out());
    EXPECT_EQ(Bytes.count("\r\n"), 7);
    EXPECT_TRUE(Bytes.endsWith("unit-code;\r\n"));
    EXPECT_TRUE(Bytes.contains("TIMESTAMP_OF_LAST_CHANGE;09:05:30 14/03/2021;;;;;;\r\n"));
    Expect_Eight_Fields(Out());
}

TEST_F(EdeWriterTest, DamagedRuleFileShowsTheErrorAndKeepsTheOldFile)
{
    const QByteArray Damaged[] = {
        "<BACnet_Slave_SetAccess><BACnet_in_Read><row Data_Type=\"Analog Input\" Eng_Unit=\"62\"/></BACnet_in_Read><BACnet_in_Write/></BACnet_Slave_SetAccess>",
        "<BACnet_Slave_SetAccess><BACnet_in_Read/></BACnet_Slave_SetAccess>",
        "<BACnet_Slave_SetAccess><BACnet_in_Read>",
    };
    for (const QByteArray &Bytes : Damaged) {
        WriteConf(QStringLiteral("BACnet_Slave_SetAccess.xml"), Bytes);
        WriteConf(QStringLiteral("objects.csv"), "old");
        GuiTest::TScriptedModalHook Hook;
        Hook.Answer(mrOk, Out()).Answer(mrYes).Answer(mrOk);
        Step(FFabricoreFirmWare->Btn_BACnet_EDE_File);
        ASSERT_EQ(Hook.Shown.size(), 3u);
        EXPECT_EQ(Hook.Shown[2].DlgType, mtError);
        EXPECT_EQ(Read_File(Out()), "old") << Bytes.toStdString();
    }
}

TEST_F(EdeWriterTest, DialogNamesAndQuestion)
{
    {
        GuiTest::TScriptedModalHook Hook;
        Hook.Handle([this](TModalRequest &R) {
            EXPECT_EQ(R.Filter, QStringLiteral("CSV (MS-DOS) (*.csv)|*.csv"));
            EXPECT_EQ(R.InitialDir, Path_Active_Conf);
            return mrCancel;
        });
        Step(FFabricoreFirmWare->Btn_BACnet_EDE_File);
        EXPECT_EQ(QDir(ConfPath(QString())).entryList(QDir::Files), QStringList());
    }
    for (const auto &[Chosen, Written] : {std::pair<QString, QString>{"x", "x.csv"}, {"y.CSV", "y.CSV"}, {"z.csv.txt", "z.csv.txt.csv"}}) {
        GuiTest::TScriptedModalHook Hook;
        Hook.Answer(mrOk, ConfPath(Chosen));
        Step(FFabricoreFirmWare->Btn_BACnet_EDE_File);
        EXPECT_TRUE(QFile::exists(ConfPath(Written))) << Written.toStdString();
    }
    for (const TModalResult Answer : {mrNo, mrCancel}) {
        WriteConf(QStringLiteral("x.csv"), "old");
        GuiTest::TScriptedModalHook Hook;
        Hook.Answer(mrOk, ConfPath(QStringLiteral("x"))).Answer(Answer);
        Step(FFabricoreFirmWare->Btn_BACnet_EDE_File);
        ASSERT_EQ(Hook.Shown.size(), 2u);
        EXPECT_EQ(Hook.Shown[1].Text, QStringLiteral("File already exists! Do you want to overwrite the file?"));
        EXPECT_EQ(Hook.Shown[1].Buttons, (std::vector<TMsgDlgBtn>{mbYes, mbNo, mbCancel}));
        EXPECT_EQ(ReadConf(QStringLiteral("x.csv")), "old");
    }
    CloseConf();
    GuiTest::TScriptedModalHook Hook;
    Hook.Answer(mrOk);
    Step(FFabricoreFirmWare->Btn_BACnet_EDE_File);
    ASSERT_EQ(Hook.Shown.size(), 1u);
    EXPECT_EQ(Hook.Shown[0].Text, QStringLiteral("Error! Project not Valid"));
}

} // namespace
