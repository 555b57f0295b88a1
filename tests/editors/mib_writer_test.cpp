// The SNMP MIB step: the module written from the trap rules, byte for byte and as an SNMP
// manager's compiler reads it, and the questions around the file.
#include "helpers/WritersFixture.h"

#include "core/UComon.h"
#include "core/UFabricoreFirmWare.h"
#include "editors/mib/USNMP_MIB.h"
#include "platform/Dialogs.h"

#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <gmock/gmock.h>

#include <algorithm>
#include <optional>
#include <sys/stat.h>
#include <vector>

namespace {

struct TRule {
    QString Enable;
    QString Type;
    std::optional<QString> Description;
};

QString Row(const TRule &R)
{
    QString S = QStringLiteral("<row Enable=\"%1\" Community_Name=\"public\" Type=\"%2\"").arg(R.Enable, R.Type);
    if (R.Description)
        S += QStringLiteral(" Description=\"%1\"").arg(R.Description->toHtmlEscaped().replace(u'\n', QStringLiteral("&#10;")));
    return S + QStringLiteral(" Mnemonic=\"m\"/>");
}

QByteArray Snmp_File(const std::vector<TRule> &Reads, const std::vector<TRule> &Writes)
{
    QString S = QStringLiteral("<?xml version=\"1.0\"?>\r\n<SNMP_Trap><SNMP_Trap_Read>");
    for (const TRule &R : Reads)
        S += Row(R);
    S += QStringLiteral("</SNMP_Trap_Read><SNMP_Trap_Write>");
    for (const TRule &R : Writes)
        S += Row(R);
    S += QStringLiteral("</SNMP_Trap_Write></SNMP_Trap>\r\n<!--SW_VERSION = 1.000-->\r\n");
    return S.toUtf8();
}

// What check_mib.py lists: name -> "kind parent sub".
struct TMib {
    int Exit = -1;
    QMap<QString, QString> Defs;
    QStringList Names;
};

TMib Check_Mib(const QString &Path)
{
    const TToolRun R = Run_Tool(Debian_Python, {Test_Source(QStringLiteral("tools/check_mib.py")), Path});
    TMib M;
    M.Exit = R.Exit;
    for (const QString &Line : R.Out.split(u'\n', Qt::SkipEmptyParts)) {
        const QString Name = Line.section(u' ', 0, 0);
        M.Names << Name;
        M.Defs[Name] = Line.section(u' ', 1);
    }
    EXPECT_EQ(R.Exit, 0) << R.Err.toStdString();
    return M;
}

class MibWriterTest : public TWritersTest {
protected:
    QString Out() const { return ConfPath(QStringLiteral("gateway.mib")); }
    // The step with the dialog confirmed on Out().
    void Write()
    {
        GuiTest::TScriptedModalHook Hook;
        Hook.Answer(mrOk, Out());
        Step(FFabricoreFirmWare->Btn_SNMP_MIB);
        EXPECT_EQ(Hook.Pending(), 0u);
    }
};

TEST_F(MibWriterTest, RulesGiveTheGoldenModuleThatAManagerCompiles)
{
    WriteConf(QStringLiteral("SNMP_Trap.xml"),
              Snmp_File({{"Y", "Int", QStringLiteral("temp")}, {"N", "Int", QStringLiteral("off")},
                         {"y", "String", QStringLiteral("label")}},
                        {{"Y", "INT", QStringLiteral("setp")}}));
    Write();
    EXPECT_EQ(Read_File(Out()), Read_File(Test_Source(QStringLiteral("editors/golden/gateway.mib"))));

    const TMib M = Check_Mib(Out());
    EXPECT_EQ(M.Defs[QStringLiteral("temp")], QStringLiteral("objectTypeClause bufferinval 1"));
    EXPECT_EQ(M.Defs[QStringLiteral("label")], QStringLiteral("objectTypeClause bufferinval 2"));
    EXPECT_EQ(M.Defs[QStringLiteral("setp")], QStringLiteral("objectTypeClause bufferoutval 1"));
    EXPECT_EQ(M.Defs[QStringLiteral("trapval1")], QStringLiteral("notificationTypeClause trapsval 1"));
    EXPECT_EQ(M.Defs[QStringLiteral("trapval2")], QStringLiteral("notificationTypeClause trapsval 2"));
    EXPECT_FALSE(M.Defs.contains(QStringLiteral("off")));
}

TEST_F(MibWriterTest, WithoutRuleFileOnlyTheFixedLines)
{
    Write();
    EXPECT_EQ(Read_File(Out()), Read_File(Test_Source(QStringLiteral("editors/golden/gateway_norules.mib"))));
    Check_Mib(Out());
}

// A description that is empty, missing, taken by the module or by an earlier object gives
// the generated name and stays the DESCRIPTION; every name of the module is unique.
TEST_F(MibWriterTest, TakenOrEmptyDescriptionsGetGeneratedNames)
{
    WriteConf(QStringLiteral("SNMP_Trap.xml"),
              Snmp_File({{"Y", "Int", QStringLiteral("data")},
                         {"Y", "Int", QString()},
                         {"Y", "Int", std::nullopt},
                         {"Y", "String", QStringLiteral("speed")},
                         {"Y", "String", QStringLiteral("Speed")},
                         {"Y", "Int", QStringLiteral("trapval1")},
                         {"Y", "Int", QStringLiteral("bufferinblk3")},
                         {"Y", "Int", QStringLiteral("bufferoutval1")}},
                        {{"Y", "Int", QStringLiteral("speed")}, {"Y", "Int", QStringLiteral("bufferinval2")}}));
    Write();
    const TMib M = Check_Mib(Out());
    EXPECT_EQ(M.Names.size(), QSet<QString>(M.Names.begin(), M.Names.end()).size());
    EXPECT_EQ(M.Defs[QStringLiteral("data")], QStringLiteral("valueDeclaration application 1"));
    const std::vector<std::pair<QString, QString>> Expected = {
        {"bufferinval1", "bufferinval 1"}, {"bufferinval2", "bufferinval 2"}, {"bufferinval3", "bufferinval 3"},
        {"speed", "bufferinval 4"},        {"bufferinval5", "bufferinval 5"}, {"bufferinval6", "bufferinval 6"},
        {"bufferinval7", "bufferinval 7"}, {"bufferinval8", "bufferinval 8"}, {"bufferoutval1", "bufferoutval 1"},
        {"bufferoutval2", "bufferoutval 2"}};
    for (const auto &[Name, Place] : Expected)
        EXPECT_EQ(M.Defs[Name], QStringLiteral("objectTypeClause ") + Place) << Name.toStdString();
    const QString Text = QString::fromLatin1(Read_File(Out()));
    EXPECT_TRUE(Text.contains(QStringLiteral("bufferinval1 OBJECT-TYPE SYNTAX INTEGER MAX-ACCESS read-only STATUS current DESCRIPTION \"data\" ::= { bufferinval 1 }")));
    EXPECT_TRUE(Text.contains(QStringLiteral("bufferinval3 OBJECT-TYPE SYNTAX INTEGER MAX-ACCESS read-only STATUS current DESCRIPTION \"\" ::= { bufferinval 3 }")));
    EXPECT_TRUE(Text.contains(QStringLiteral("trapval6 NOTIFICATION-TYPE STATUS current DESCRIPTION \"trapval1\" ::= { trapsval 6 }")));
}

// Files made by hand may hold descriptions the editor refuses: the module still compiles.
TEST_F(MibWriterTest, DescriptionsThatCannotBeNamesKeepTheModuleWhole)
{
    WriteConf(QStringLiteral("SNMP_Trap.xml"),
              Snmp_File({{"Y", "Int", QStringLiteral("Temp")},
                         {"Y", "Int", QStringLiteral("a b")},
                         {"Y", "Int", QStringLiteral("say \"hi\"")},
                         {"Y", "Int", QStringLiteral("two\nlines")}},
                        {}));
    Write();
    const TMib M = Check_Mib(Out());
    for (int i = 1; i <= 4; ++i)
        EXPECT_EQ(M.Defs[QStringLiteral("bufferinval%1").arg(i)], QStringLiteral("objectTypeClause bufferinval %1").arg(i));
    const QString Text = QString::fromLatin1(Read_File(Out()));
    EXPECT_TRUE(Text.contains(QStringLiteral("DESCRIPTION \"say 'hi'\" ::= { bufferinval 3 }")));
    EXPECT_TRUE(Text.contains(QStringLiteral("DESCRIPTION \"two lines\" ::= { bufferinval 4 }")));
}

// What an independent linter finds wrong in the module: its lines of error severity (0 to 3).
// Minimal base modules beside the tests resolve the imports.
QStringList Lint_Errors(const QString &Path)
{
    const TToolRun R = Run_Tool(QStringLiteral("/usr/bin/env"),
                                {QStringLiteral("SMIPATH=") + Test_Source(QStringLiteral("tools/mibs")),
                                 QStringLiteral("smilint"), QStringLiteral("-s"), QStringLiteral("-l"),
                                 QStringLiteral("9"), Path});
    QStringList Errors;
    for (const QString &Line : (R.Out + R.Err).split(u'\n', Qt::SkipEmptyParts))
        if (Line.contains(QRegularExpression(QStringLiteral(": \\[[0-3]\\] "))))
            Errors << Line;
    EXPECT_TRUE(R.Out.contains(QStringLiteral("[5]")) || R.Err.contains(QStringLiteral("[5]")))
        << "the linter did not read the module: " << R.Err.toStdString();
    return Errors;
}

// The notation allows 7-bit characters only in a quoted string, and no hyphen in the name of
// an object: accented letters keep their base letter, other characters become "?", and a
// hyphenated description gives the generated name.
TEST_F(MibWriterTest, NonAsciiAndHyphenatedDescriptionsPassTheLinter)
{
    WriteConf(QStringLiteral("SNMP_Trap.xml"),
              Snmp_File({{"Y", "Int", QStringLiteral("caf\u00e9")},
                         {"Y", "Int", QStringLiteral("temp-in")},
                         {"Y", "String", QStringLiteral("\u6e29\u5ea6 \U0001F321 \u00bd \ufb01ne")},
                         {"Y", "String", QStringLiteral("tab\there")}},
                        {{"Y", "Int", QStringLiteral("na\u00efve-out")}}));
    Write();
    EXPECT_EQ(Lint_Errors(Out()), QStringList());
    const QByteArray Bytes = Read_File(Out());
    EXPECT_FALSE(std::any_of(Bytes.begin(), Bytes.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; }));
    const TMib M = Check_Mib(Out());
    EXPECT_EQ(M.Defs[QStringLiteral("bufferinval1")], QStringLiteral("objectTypeClause bufferinval 1"));
    EXPECT_EQ(M.Defs[QStringLiteral("bufferinval2")], QStringLiteral("objectTypeClause bufferinval 2"));
    EXPECT_EQ(M.Defs[QStringLiteral("bufferoutval1")], QStringLiteral("objectTypeClause bufferoutval 1"));
    const QString Text = QString::fromLatin1(Bytes);
    EXPECT_TRUE(Text.contains(QStringLiteral("DESCRIPTION \"cafe\" ::= { bufferinval 1 }")));
    EXPECT_TRUE(Text.contains(QStringLiteral("DESCRIPTION \"temp-in\" ::= { bufferinval 2 }")));
    EXPECT_TRUE(Text.contains(QStringLiteral("DESCRIPTION \"?? ? ? fine\" ::= { bufferinval 3 }")));
    EXPECT_TRUE(Text.contains(QStringLiteral("DESCRIPTION \"tab here\" ::= { bufferinval 4 }")));
    EXPECT_TRUE(Text.contains(QStringLiteral("DESCRIPTION \"naive-out\" ::= { bufferoutval 1 }")));
    EXPECT_TRUE(Text.contains(QStringLiteral("trapval1 NOTIFICATION-TYPE STATUS current DESCRIPTION \"cafe\" ::= { trapsval 1 }")));
}

TEST_F(MibWriterTest, ThreeHundredRulesGiveThreeHundredObjects)
{
    std::vector<TRule> Reads;
    for (int i = 0; i < 300; ++i)
        Reads.push_back({"Y", i % 2 ? "Int" : "String", QStringLiteral("v%1").arg(i)});
    WriteConf(QStringLiteral("SNMP_Trap.xml"), Snmp_File(Reads, Reads));
    Write();
    const TMib M = Check_Mib(Out());
    EXPECT_EQ(M.Defs[QStringLiteral("v299")], QStringLiteral("objectTypeClause bufferinval 300"));
    EXPECT_EQ(M.Defs[QStringLiteral("bufferoutval300")], QStringLiteral("objectTypeClause bufferoutval 300"));
    EXPECT_EQ(M.Defs[QStringLiteral("trapval300")], QStringLiteral("notificationTypeClause trapsval 300"));
    const QString Text = QString::fromLatin1(Read_File(Out()));
    EXPECT_TRUE(Text.contains(QStringLiteral("v299 OBJECT-TYPE SYNTAX INTEGER ")));
    EXPECT_TRUE(Text.contains(QStringLiteral("v298 OBJECT-TYPE SYNTAX OCTET STRING ")));
}

TEST_F(MibWriterTest, DialogAndOverwriteQuestion)
{
    {
        GuiTest::TScriptedModalHook Hook;
        Hook.Handle([this](TModalRequest &R) {
            EXPECT_EQ(R.Kind, mkSaveDialog);
            EXPECT_EQ(R.InitialDir, Path_Active_Conf);
            EXPECT_EQ(R.Filter, QStringLiteral("Management Information Base (*.mib)|*.mib"));
            return mrCancel;
        });
        Step(FFabricoreFirmWare->Btn_SNMP_MIB);
        EXPECT_FALSE(QFile::exists(Out()));
    }
    WriteConf(QStringLiteral("gateway.mib"), "old");
    {
        GuiTest::TScriptedModalHook Hook;
        Hook.Answer(mrOk, Out()).Answer(mrNo);
        Step(FFabricoreFirmWare->Btn_SNMP_MIB);
        ASSERT_EQ(Hook.Shown.size(), 2u);
        EXPECT_EQ(Hook.Shown[1].Text, QStringLiteral("File already exists! Do you want to overwrite the file?"));
        EXPECT_EQ(Hook.Shown[1].Buttons, (std::vector<TMsgDlgBtn>{mbYes, mbNo}));
        EXPECT_EQ(Read_File(Out()), "old");
    }
    {
        GuiTest::TScriptedModalHook Hook;
        Hook.Answer(mrOk, Out()).Answer(mrYes);
        Step(FFabricoreFirmWare->Btn_SNMP_MIB);
        EXPECT_TRUE(Read_File(Out()).startsWith("GATEWAY DEFINITIONS ::= BEGIN\r\n"));
    }
    {
        // A name typed without extension gets the dialog's default one.
        GuiTest::TScriptedModalHook Hook;
        Hook.Answer(mrOk, ConfPath(QStringLiteral("plain")));
        Step(FFabricoreFirmWare->Btn_SNMP_MIB);
        EXPECT_TRUE(QFile::exists(ConfPath(QStringLiteral("plain.mib"))));
    }
}

TEST_F(MibWriterTest, RuleFileThatIsNotXmlShowsTheErrorAndKeepsTheOldFile)
{
    WriteConf(QStringLiteral("SNMP_Trap.xml"), "<SNMP_Trap><SNMP_Trap_Read>");
    WriteConf(QStringLiteral("gateway.mib"), "old");
    GuiTest::TScriptedModalHook Hook;
    Hook.Answer(mrOk, Out()).Answer(mrYes).Answer(mrOk);
    Step(FFabricoreFirmWare->Btn_SNMP_MIB);
    ASSERT_EQ(Hook.Shown.size(), 3u);
    EXPECT_EQ(Hook.Shown[2].DlgType, mtError);
    EXPECT_EQ(Read_File(Out()), "old");
}

TEST_F(MibWriterTest, FileThatCannotBeWrittenIsReported)
{
    ASSERT_TRUE(QDir().mkpath(Out()));
    GuiTest::TScriptedModalHook Hook;
    Hook.Answer(mrOk, Out()).Answer(mrOk);
    Step(FFabricoreFirmWare->Btn_SNMP_MIB);
    ASSERT_EQ(Hook.Shown.size(), 2u);
    EXPECT_EQ(Hook.Shown[1].DlgType, mtError);
    EXPECT_TRUE(QFileInfo(Out()).isDir());
    EXPECT_EQ(QDir(ConfPath(QString())).entryList(QDir::Files), QStringList());
}

// A pipe in place of the rule file would block the step for good: it is refused like a file
// that cannot be read.
TEST_F(MibWriterTest, PipeAsRuleFileIsRefused)
{
    ASSERT_EQ(::mkfifo(ConfPath(QStringLiteral("SNMP_Trap.xml")).toLocal8Bit().constData(), 0600), 0);
    GuiTest::TScriptedModalHook Hook;
    Hook.Answer(mrOk, Out()).Answer(mrOk);
    Step(FFabricoreFirmWare->Btn_SNMP_MIB);
    ASSERT_EQ(Hook.Shown.size(), 2u);
    EXPECT_EQ(Hook.Shown[1].DlgType, mtError);
    EXPECT_FALSE(QFile::exists(Out()));
}

TEST_F(MibWriterTest, NoConfigurationIsRefused)
{
    CloseConf();
    GuiTest::TScriptedModalHook Hook;
    Hook.Answer(mrOk);
    Step(FFabricoreFirmWare->Btn_SNMP_MIB);
    ASSERT_EQ(Hook.Shown.size(), 1u);
    EXPECT_EQ(Hook.Shown[0].Text, QStringLiteral("Error! Project not Valid"));
}

} // namespace
