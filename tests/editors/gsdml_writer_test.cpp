// The PROFINET step: the file-name dialog, the folder asked for, and the GSDML written from the
// station name and the EtherNet/IP rules, byte for byte and as an XML reader takes it.
#include "helpers/WritersFixture.h"

#include "core/UComon.h"
#include "core/UFabricoreFirmWare.h"
#include "editors/gsdml/UProfinetFileName.h"
#include "editors/gsdml/UProfinetXML.h"
#include "platform/Dialogs.h"
#include "platform/StdCtrls.h"

#include <gmock/gmock.h>

#include <vector>

namespace {

QByteArray Par_Gen(const QString &Station)
{
    return (QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<Par_Gen><IP_ADDRESS>1.2.3.4</IP_ADDRESS>")
            + (Station.isNull() ? QString() : QStringLiteral("<PROFINET_NAME_STA>%1</PROFINET_NAME_STA>").arg(Station.toHtmlEscaped()))
            + QStringLiteral("</Par_Gen>\r\n"))
        .toUtf8();
}

QByteArray Rules(const std::vector<std::pair<QString, QString>> &Sizes)
{
    QString S = QStringLiteral("<EtherNetIP_Master_Access>");
    for (const auto &[In, Out] : Sizes)
        S += QStringLiteral("<row Enable=\"N\" IP_Address=\"1.2.3.4\" Num_Input=\"%1\" Num_Output=\"%2\"/>").arg(In, Out);
    return (S + QStringLiteral("</EtherNetIP_Master_Access>\r\n<!--SW_VERSION = 1.005-->")).toUtf8();
}

const QString Name_20130109 = QStringLiteral("GSDML-V2.31-Veltra-DV40368-20130109.xml");

class GsdmlWriterTest : public TWritersTest {
protected:
    void SetUp() override
    {
        TWritersTest::SetUp();
        // The dialog takes its date when it is made, at the program's start.
        delete FProfinetFileName;
        SetFixedClock(2013, 1, 9, 10, 0, 0);
        Application->CreateForm(FProfinetFileName);
    }
    // The step: the dialog confirmed with the user part, the folder dialog with Typed in the
    // configuration folder, Yes to a question when the file exists.
    void Step_Profinet(const QString &User = QString(), const QString &Typed = QStringLiteral("typed.xml"))
    {
        GuiTest::TScriptedModalHook Hook;
        Hook.Handle([&User](TModalRequest &R) {
            EXPECT_EQ(R.Form, FProfinetFileName);
            FProfinetFileName->E_XML_User->SetText(User);
            FProfinetFileName->Btn_OKClick(nullptr);
            return FProfinetFileName->ModalResult();
        });
        Hook.Answer(mrOk, ConfPath(Typed));
        if (QFile::exists(ConfPath(Name_20130109)))
            Hook.Answer(mrYes);
        Step(FFabricoreFirmWare->Btn_PROFINET_XML);
        EXPECT_EQ(Hook.Pending(), 0u);
    }
    QString Out() const { return ConfPath(Name_20130109); }
    QString XPath(const QString &Query)
    {
        const TToolRun R = Run_Tool(QStringLiteral("xmllint"), {QStringLiteral("--xpath"), Query, Out()});
        EXPECT_EQ(R.Exit, 0) << R.Err.toStdString();
        // xmllint ends what it prints with a line break.
        return R.Out.endsWith(u'\n') ? R.Out.chopped(1) : R.Out;
    }
    void Expect_Well_Formed(const QString &Path)
    {
        const TToolRun R = Run_Tool(QStringLiteral("xmllint"), {QStringLiteral("--noout"), Path});
        EXPECT_EQ(R.Exit, 0) << R.Err.toStdString();
        EXPECT_EQ(R.Err, QString());
    }
};

TEST_F(GsdmlWriterTest, NoModulesGiveTheGoldenFile)
{
    Step_Profinet();
    EXPECT_EQ(Read_File(Out()), Read_File(Test_Source(QStringLiteral("editors/golden/gsdml_0_modules.xml"))));
    Expect_Well_Formed(Out());
}

TEST_F(GsdmlWriterTest, TwoRulesGiveTheGoldenFile)
{
    WriteConf(QStringLiteral("ParGen.xml"), Par_Gen(QStringLiteral("PLANT-1")));
    WriteConf(QStringLiteral("EtherNetIP_Master_Rules.xml"), Rules({{"8", "0"}, {"16", "32"}}));
    Step_Profinet();
    EXPECT_EQ(Read_File(Out()), Read_File(Test_Source(QStringLiteral("editors/golden/gsdml_2_modules.xml"))));
    Expect_Well_Formed(Out());
}

TEST_F(GsdmlWriterTest, TwelveRulesGiveTenModules)
{
    std::vector<std::pair<QString, QString>> Sizes;
    for (int k = 1; k <= 12; ++k)
        Sizes.push_back({QString::number(k), k == 3 ? QStringLiteral("x") : QString::number(2 * k)});
    WriteConf(QStringLiteral("EtherNetIP_Master_Rules.xml"), Rules(Sizes));
    Step_Profinet();
    Expect_Well_Formed(Out());
    EXPECT_EQ(XPath(QStringLiteral("count(//*[local-name()=\"ModuleItem\"])")), QStringLiteral("10"));
    EXPECT_EQ(XPath(QStringLiteral("string((//*[local-name()=\"ModuleItem\"])[last()]/*/*[local-name()=\"VirtualSubmoduleItem\"]/@SubmoduleIdentNumber)")),
              QStringLiteral("0x0000000A"));
    EXPECT_EQ(XPath(QStringLiteral("count(//*[local-name()=\"ModuleItem\"][@ID=\"IDM_3\"]//*[local-name()=\"Input\"])")), QStringLiteral("0"));
    EXPECT_EQ(XPath(QStringLiteral("string(//*[local-name()=\"ModuleItem\"][@ID=\"IDM_3\"]//*[local-name()=\"Output\"]/*/@Length)")), QStringLiteral("3"));
    EXPECT_EQ(XPath(QStringLiteral("string(//*[local-name()=\"DeviceAccessPointItem\"]/@DNS_CompatibleName)")), QStringLiteral("SERIAL"));
}

// The station name is the one text from outside: whatever it holds, the file stays XML and an
// XML reader gets the name back.
TEST_F(GsdmlWriterTest, StationNamesReadBackExactly)
{
    const QString Names[] = {QStringLiteral("S\u00fcd & <Nord> \"1\""), QStringLiteral("\u65e5\u672c 'x' \U0001F600")};
    for (const QString &Name : Names) {
        WriteConf(QStringLiteral("ParGen.xml"), Par_Gen(Name));
        Step_Profinet();
        Expect_Well_Formed(Out());
        for (char c : Read_File(Out()))
            ASSERT_TRUE(c == '\r' || c == '\n' || (c >= 32 && c < 127)) << "byte " << int(static_cast<unsigned char>(c));
        EXPECT_EQ(XPath(QStringLiteral("string(//*[local-name()=\"DeviceAccessPointItem\"]/@DNS_CompatibleName)")), Name);
        EXPECT_EQ(XPath(QStringLiteral("string(//*[local-name()=\"DeviceAccessPointItem\"]/@ImplementationType)")), Name);
    }
    for (const QString &Blank : {QStringLiteral("   "), QString()}) {
        WriteConf(QStringLiteral("ParGen.xml"), Par_Gen(Blank));
        Step_Profinet();
        EXPECT_EQ(XPath(QStringLiteral("string(//*[local-name()=\"DeviceAccessPointItem\"]/@DNS_CompatibleName)")), QStringLiteral("SERIAL"));
    }
}

TEST_F(GsdmlWriterTest, FolderOnlyFromTheDialogAndTheQuestion)
{
    {
        GuiTest::TScriptedModalHook Hook;
        Hook.Handle([this](TModalRequest &R) {
            EXPECT_EQ(R.Kind, mkSaveDialog);
            EXPECT_EQ(R.InitialDir, Path_Active_Conf);
            EXPECT_EQ(R.Filter, QStringLiteral("PROFINET XML (*.xml)|") + Name_20130109);
            EXPECT_EQ(R.FileName, Name_20130109);
            R.AnswerFileName = PathOf(QStringLiteral("other.xml"));
            return mrOk;
        });
        Create_PROFINET_XML(Name_20130109);
        EXPECT_FALSE(QFile::exists(PathOf(QStringLiteral("other.xml"))));
        EXPECT_TRUE(QFile::exists(PathOf(Name_20130109)));
    }
    WriteConf(Name_20130109, "old");
    {
        GuiTest::TScriptedModalHook Hook;
        Hook.Answer(mrOk, ConfPath(QStringLiteral("x.xml"))).Answer(mrNo);
        Create_PROFINET_XML(Name_20130109);
        ASSERT_EQ(Hook.Shown.size(), 2u);
        EXPECT_EQ(Hook.Shown[1].Text, QStringLiteral("File already exists! Do you want to overwrite the file?"));
        EXPECT_EQ(Hook.Shown[1].Buttons, (std::vector<TMsgDlgBtn>{mbYes, mbNo}));
        EXPECT_EQ(ReadConf(Name_20130109), "old");
    }
    {
        GuiTest::TScriptedModalHook Hook;
        Hook.Answer(mrCancel);
        Create_PROFINET_XML(Name_20130109);
        EXPECT_EQ(ReadConf(Name_20130109), "old");
    }
}

// A new configuration, whose rules are not saved yet, never gets the modules or the station
// of the one written before.
TEST_F(GsdmlWriterTest, EachCallStartsEmpty)
{
    WriteConf(QStringLiteral("ParGen.xml"), Par_Gen(QStringLiteral("first")));
    WriteConf(QStringLiteral("EtherNetIP_Master_Rules.xml"), Rules({{"8", "8"}}));
    Step_Profinet();
    EXPECT_EQ(XPath(QStringLiteral("count(//*[local-name()=\"ModuleItem\"])")), QStringLiteral("1"));
    OpenConf(QStringLiteral("second"));
    Step_Profinet();
    EXPECT_EQ(XPath(QStringLiteral("count(//*[local-name()=\"ModuleItem\"])")), QStringLiteral("0"));
    EXPECT_EQ(XPath(QStringLiteral("string(//*[local-name()=\"DeviceAccessPointItem\"]/@DNS_CompatibleName)")), QStringLiteral("SERIAL"));
}

TEST_F(GsdmlWriterTest, DamagedRulesFileShowsTheError)
{
    WriteConf(QStringLiteral("EtherNetIP_Master_Rules.xml"), "<EtherNetIP_Master_Access><row");
    GuiTest::TScriptedModalHook Hook;
    Hook.Handle([](TModalRequest &) {
        FProfinetFileName->Btn_OKClick(nullptr);
        return mrOk;
    });
    Hook.Answer(mrOk, ConfPath(QStringLiteral("typed.xml"))).Answer(mrOk);
    Step(FFabricoreFirmWare->Btn_PROFINET_XML);
    ASSERT_EQ(Hook.Shown.size(), 3u);
    EXPECT_EQ(Hook.Shown[2].DlgType, mtError);
    EXPECT_FALSE(QFile::exists(Out()));
}

TEST_F(GsdmlWriterTest, CancelAndNoConfiguration)
{
    {
        GuiTest::TScriptedModalHook Hook;
        Hook.Answer(mrCancel);
        Step(FFabricoreFirmWare->Btn_PROFINET_XML);
        EXPECT_EQ(Hook.Shown.size(), 1u);
        EXPECT_EQ(QDir(ConfPath(QString())).entryList(QDir::Files), QStringList());
    }
    CloseConf();
    GuiTest::TScriptedModalHook Hook;
    Hook.Answer(mrOk);
    Step(FFabricoreFirmWare->Btn_PROFINET_XML);
    ASSERT_EQ(Hook.Shown.size(), 1u);
    EXPECT_EQ(Hook.Shown[0].Text, QStringLiteral("Error! Project not Valid"));
}

} // namespace
