// The PROFIBUS GSD step: the sizes of ParGen.xml cut into modules, byte for byte, and the
// questions around the file.
#include "helpers/WritersFixture.h"

#include "core/UComon.h"
#include "core/UFabricoreFirmWare.h"
#include "editors/gsd/UProfibus_GSD.h"
#include "platform/Classes.h"
#include "platform/Dialogs.h"

#include <QRegularExpression>
#include <gmock/gmock.h>

namespace {

QByteArray Par_Gen(const QString &In, const QString &Out)
{
    return QStringLiteral("<?xml version=\"1.0\"?>\r\n<Par_Gen><IP_ADDRESS>1.2.3.4</IP_ADDRESS>%1%2</Par_Gen>\r\n")
        .arg(In.isNull() ? QString() : QStringLiteral("<PROFINET_NB_IN>%1</PROFINET_NB_IN>").arg(In),
             Out.isNull() ? QString() : QStringLiteral("<PROFINET_NB_OUT>%1</PROFINET_NB_OUT>").arg(Out))
        .toUtf8();
}

class GsdWriterTest : public TWritersTest {
protected:
    // The step with the dialog answered by Chosen (and Yes to a question); the text written.
    QStringList Write(const QString &Chosen = QStringLiteral("slave"))
    {
        GuiTest::TScriptedModalHook Hook;
        Hook.Answer(mrOk, ConfPath(Chosen));
        if (QFile::exists(ConfPath(GSD_File_Name(Chosen))))
            Hook.Answer(mrYes);
        Step(FFabricoreFirmWare->Btn_PROFIBUS_GSD);
        return QString::fromLatin1(ReadConf(GSD_File_Name(Chosen))).split(QStringLiteral("\r\n"));
    }
    static QStringList Modules(const QStringList &Lines)
    {
        return Lines.filter(QRegularExpression(QStringLiteral("^(Module=|Max_(Module|Input_Len|Output_Len|Data_Len)=|Slot\\()")));
    }
};

TEST_F(GsdWriterTest, SizesGiveTheGoldenFile)
{
    WriteConf(QStringLiteral("ParGen.xml"), Par_Gen(QStringLiteral("64"), QStringLiteral("100")));
    Write();
    EXPECT_EQ(ReadConf(QStringLiteral("slave.gsd")), Read_File(Test_Source(QStringLiteral("editors/golden/out100_in64.gsd"))));
}

TEST_F(GsdWriterTest, ModulesFollowTheSizes)
{
    struct TCase {
        QString In, Out;
        QStringList Expected;
    };
    const TCase Cases[] = {
        {QStringLiteral("0"), QStringLiteral("-5"),
         {"Max_Module=0", "Max_Input_Len=0", "Max_Output_Len=0", "Max_Data_Len=0"}},
        {QString(), QStringLiteral("abc"),
         {"Max_Module=0", "Max_Input_Len=0", "Max_Output_Len=0", "Max_Data_Len=0"}},
        {QStringLiteral("0"), QStringLiteral("64"),
         {"Max_Module=1", "Max_Input_Len=64", "Max_Output_Len=0", "Max_Data_Len=64",
          "Module=\"DI  (PORT1)    \" 0x42,0x3F,0x00,0x01", "Slot(1) = \"Slot 1\" 1 1"}},
        {QStringLiteral("1000"), QStringLiteral("1"),
         {"Max_Module=5", "Max_Input_Len=1", "Max_Output_Len=244", "Max_Data_Len=245",
          "Module=\"DI  (PORT1)    \" 0x42,0x00,0x00,0x01", "Module=\"DO  (PORT2)    \" 0x82,0x3F,0x00,0x02",
          "Module=\"DO  (PORT3)    \" 0x82,0x3F,0x00,0x03", "Module=\"DO  (PORT4)    \" 0x82,0x3F,0x00,0x04",
          "Module=\"DO  (PORT5)    \" 0x82,0x33,0x00,0x05", "Slot(1) = \"Slot 1\" 1 1", "Slot(2) = \"Slot 2\" 2 2",
          "Slot(3) = \"Slot 3\" 3 3", "Slot(4) = \"Slot 4\" 4 4", "Slot(5) = \"Slot 5\" 5 5"}},
    };
    for (const TCase &C : Cases) {
        WriteConf(QStringLiteral("ParGen.xml"), Par_Gen(C.In, C.Out));
        EXPECT_EQ(Modules(Write()), C.Expected) << C.In.toStdString() << "/" << C.Out.toStdString();
    }
}

TEST_F(GsdWriterTest, FileNames)
{
    WriteConf(QStringLiteral("ParGen.xml"), Par_Gen(QStringLiteral("8"), QStringLiteral("8")));
    const std::pair<QString, QString> Cases[] = {
        {"a", "a.gsd"}, {"a.GSD", "a.GSD"}, {"a.gsd.txt", "a.gsd.txt.gsd"}, {"b.gsd.gsd", "b.gsd.gsd"}};
    for (const auto &[Chosen, Written] : Cases) {
        GuiTest::TScriptedModalHook Hook;
        Hook.Handle([&, this](TModalRequest &R) {
            EXPECT_EQ(R.Filter, QStringLiteral("Generic Station Description (*.gsd)|*.gsd"));
            EXPECT_EQ(R.InitialDir, Path_Active_Conf);
            R.AnswerFileName = ConfPath(Chosen);
            return mrOk;
        });
        Step(FFabricoreFirmWare->Btn_PROFIBUS_GSD);
        EXPECT_TRUE(QFile::exists(ConfPath(Written))) << Written.toStdString();
    }
}

TEST_F(GsdWriterTest, QuestionsAndRefusals)
{
    {
        // Without ParGen.xml: the error and no dialog.
        GuiTest::TScriptedModalHook Hook;
        Hook.Answer(mrOk);
        Step(FFabricoreFirmWare->Btn_PROFIBUS_GSD);
        ASSERT_EQ(Hook.Shown.size(), 1u);
        EXPECT_EQ(Hook.Shown[0].Kind, mkMessage);
        EXPECT_EQ(Hook.Shown[0].DlgType, mtError);
        EXPECT_EQ(Hook.Shown[0].Text, QStringLiteral("Error! Please set the Set Communication Parameter before to create the GSD file"));
    }
    WriteConf(QStringLiteral("ParGen.xml"), Par_Gen(QStringLiteral("8"), QStringLiteral("8")));
    {
        GuiTest::TScriptedModalHook Hook;
        Hook.Answer(mrCancel);
        Step(FFabricoreFirmWare->Btn_PROFIBUS_GSD);
        EXPECT_FALSE(QFile::exists(ConfPath(QStringLiteral("slave.gsd"))));
    }
    WriteConf(QStringLiteral("slave.gsd"), "old");
    {
        GuiTest::TScriptedModalHook Hook;
        Hook.Answer(mrOk, ConfPath(QStringLiteral("slave"))).Answer(mrNo);
        Step(FFabricoreFirmWare->Btn_PROFIBUS_GSD);
        ASSERT_EQ(Hook.Shown.size(), 2u);
        EXPECT_EQ(Hook.Shown[1].Text, QStringLiteral("File already exists! Do you want to overwrite the file?"));
        EXPECT_EQ(Hook.Shown[1].Buttons, (std::vector<TMsgDlgBtn>{mbYes, mbNo}));
        EXPECT_EQ(ReadConf(QStringLiteral("slave.gsd")), "old");
    }
    EXPECT_THAT(Write(), testing::Contains(QStringLiteral("Max_Data_Len=16")));
    CloseConf();
    {
        GuiTest::TScriptedModalHook Hook;
        Hook.Answer(mrOk);
        Step(FFabricoreFirmWare->Btn_PROFIBUS_GSD);
        ASSERT_EQ(Hook.Shown.size(), 1u);
        EXPECT_EQ(Hook.Shown[0].Text, QStringLiteral("Error! Project not Valid"));
    }
}

} // namespace
