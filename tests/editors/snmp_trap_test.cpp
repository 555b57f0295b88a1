// The SNMP rules editor driven as a user would: its two pages, the numbering of the enabled
// rows, the rules of "SNMP_Trap.xml", the check of each enabled rule and of the descriptions
// across both lists, and the MIB writer reading what the editor wrote.
#include "helpers/RuleEditorsFixture.h"

#include "core/ULanguage.h"
#include "editors/mib/USNMP_MIB.h"
#include "editors/snmp/USNMP_Trap_Access.h"
#include "platform/ComCtrls.h"

#include <gtest/gtest.h>

using GuiTest::TScriptedModalHook;

namespace {

const QStringList Read_Attributes = {"Enable",   "Community_Name", "Type",        "On_Change",  "On_Command",
                                     "On_Timer", "Time",           "Position",    "Bit",        "NumBits",
                                     "Description", "IP_Address",  "Conversion",  "Mnemonic"};
const QStringList Write_Attributes = {"Enable", "Community_Name", "Type",       "Position", "Bit",
                                      "NumBits", "Description",   "Conversion", "Mnemonic"};
const QStringList Good_Read = {"Y", "Harbor", "Int", "N", "N", "N", "", "0", "0", "8", "good", "10.0.0.1", "None", "m"};
const QStringList Good_Write = {"Y", "Lantern", "String", "3", "0", "16", "good", "Float", "m"};

class SNMPTrap : public TRuleEditorsTest {
protected:
    void SetUp() override
    {
        TRuleEditorsTest::SetUp();
        Application->CreateForm(FSNMP_Trap_Access);
    }
    void TearDown() override
    {
        delete FSNMP_Trap_Access;
        FSNMP_Trap_Access = nullptr;
        TRuleEditorsTest::TearDown();
    }
    static TFSNMP_Trap_Access *F() { return FSNMP_Trap_Access; }
    static TExtColumnGrid *R() { return FSNMP_Trap_Access->ACG_SNMP_Read; }
    static TExtColumnGrid *W() { return FSNMP_Trap_Access->ACG_SNMP_Write; }
    QString File() const { return FileText(QStringLiteral("SNMP_Trap.xml")); }
    static QStringList Numbers(TExtColumnGrid *G, int Count)
    {
        QStringList All;
        for (int r = 1; r <= Count; ++r)
            All << G->Cells(0, r);
        return All;
    }
    // Opens the list of a combo cell that takes typing too and picks item Index.
    static void PickComboItem(TExtColumnGrid *G, int c, int r, int Index)
    {
        GoTo(G, c, r);
        GuiTest::PressKey(G, VK_F2);
        GuiTest::PressKey(Focused(G), VK_DOWN, TShiftState{ssAlt});
        GuiTest::ProcessEvents();
        for (int i = 0; i <= Index; ++i)
            GuiTest::PressKey(Focused(G), VK_DOWN);
        GuiTest::PressKey(Focused(G), VK_RETURN);
        GuiTest::ProcessEvents();
    }
    static void ShowPage(int Index)
    {
        F()->PageControl1->SetActivePageIndex(Index);
        GuiTest::ProcessEvents();
    }
};

TEST_F(SNMPTrap, TypedRulesAreNumberedWrittenAndShownAgain)
{
    const QStringList Read = {"Y", "Harbor", "Int", "", "", "Y", "1000", "12", "0", "16", "temp1",
                              "192.168.1.125", "None", ""};
    const QStringList Write = {"Y", "Lantern", "String", "3", "0", "4", "setpoint", "None", ""};
    const TModalResult Result = ShowDialog(F(), [&](TScriptedModalHook &hook) {
        EXPECT_EQ(F()->Caption(), QStringLiteral("Set SNMP Trap Access"));
        EXPECT_EQ(F()->ClientWidth(), 1256);
        EXPECT_EQ(F()->TS_SNMP_Read->Caption(), QStringLiteral("SNMP Read"));
        EXPECT_EQ(F()->TS_SNMP_Write->Caption(), QStringLiteral("SNMP Write"));
        EXPECT_EQ(F()->PageControl1->ActivePageIndex(), 0);
        EXPECT_EQ(R()->ColCount(), 15);
        EXPECT_EQ(W()->ColCount(), 10);
        EXPECT_EQ(R()->Columns()->Items(8)->ComboItems()->Count(), 1438);
        EXPECT_EQ(W()->Columns()->Items(4)->ComboItems()->Strings(1437), QStringLiteral("1437"));
        EXPECT_EQ(F()->NByte_IN, 1438);
        for (TExtColumnGrid *G : {R(), W()}) {
            EXPECT_EQ(G->RowCount(), 257);
            EXPECT_EQ(G->Cells(0, 1), QStringLiteral("1"));
            EXPECT_EQ(G->Cells(0, 256), QStringLiteral("256"));
        }

        PickComboItem(R(), 2, 1, 0);
        PickItem(R(), 3, 1, 0);
        ClickCell(R(), 6, 1);
        TypeCell(R(), 7, 1, QStringLiteral("1000"));
        PickItem(R(), 8, 1, 12);
        PickItem(R(), 9, 1, 0);
        TypeCell(R(), 10, 1, QStringLiteral("16"));
        TypeCell(R(), 11, 1, QStringLiteral("temp1"));
        TypeCell(R(), 12, 1, QStringLiteral("192.168.1.125"));
        PickItem(R(), 13, 1, 0);
        EXPECT_EQ(RowTexts(R(), 1), Read);
        // Names longer than the MIB takes cannot be typed.
        TypeCell(R(), 11, 3, QStringLiteral("abcdefghijklmnopq"));
        EXPECT_EQ(R()->Cells(11, 3), QStringLiteral("abcdefghijklmno"));
        TypeCell(R(), 2, 3, QStringLiteral("Lantern123456789"));
        EXPECT_EQ(R()->Cells(2, 3), QStringLiteral("Lantern12345678"));
        R()->SetCells(11, 3, QString());
        R()->SetCells(2, 3, QString());

        ClickCell(R(), 1, 2);
        EXPECT_EQ(Numbers(R(), 4), QStringList({"1", "", "2", "3"}));
        // Another check box leaves the numbers alone.
        R()->SetCells(1, 4, QStringLiteral("N"));
        ClickCell(R(), 4, 5);
        EXPECT_EQ(R()->Cells(0, 4), QStringLiteral("3"));
        R()->SetCells(1, 4, QStringLiteral("Y"));
        R()->SetCells(4, 5, QString());

        ShowPage(1);
        TypeCell(W(), 2, 1, QStringLiteral("Lantern"));
        PickItem(W(), 3, 1, 1);
        PickItem(W(), 4, 1, 3);
        PickItem(W(), 5, 1, 0);
        TypeCell(W(), 6, 1, QStringLiteral("4"));
        TypeCell(W(), 7, 1, QStringLiteral("setpoint"));
        PickItem(W(), 8, 1, 0);
        EXPECT_EQ(RowTexts(W(), 1), Write);
        EXPECT_TRUE(ClickOK(F(), hook, false));
    });
    ASSERT_EQ(Result, mrOk);
    EXPECT_TRUE(Messages.isEmpty());
    EXPECT_EQ(File().trimmed(), QStringLiteral("<SNMP_Trap><SNMP_Trap_Read>") + RowXml(Read_Attributes, Read)
                                    + QStringLiteral("</SNMP_Trap_Read><SNMP_Trap_Write>")
                                    + RowXml(Write_Attributes, Write)
                                    + QStringLiteral("</SNMP_Trap_Write></SNMP_Trap><!--SW_VERSION = 1.000-->"));

    ShowDialog(F(), [&](TScriptedModalHook &hook) {
        EXPECT_EQ(RowTexts(R(), 1), Read);
        EXPECT_EQ(RowTexts(W(), 1), Write);
        EXPECT_EQ(Numbers(R(), 3), QStringList({"1", "2", "3"}));
        // The page last shown stays; a row copied on the read page is no row of the write page.
        EXPECT_EQ(F()->PageControl1->ActivePageIndex(), 1);
        ShowPage(0);
        R()->SetRow(1);
        GuiTest::Click(F()->Btn_CopyRow);
        EXPECT_TRUE(F()->Do_Copy_In_Read());
        ShowPage(1);
        W()->SetRow(2);
        hook.Answer(mrOk);
        GuiTest::Click(F()->Btn_PasteRow);
        EXPECT_EQ(Message_Texts(hook).back(), Lang_Text(1102));
        EXPECT_EQ(RowTexts(W(), 2), EmptyRow(W()));
        GuiTest::Click(F()->Btn_Cancel);
    });
}

TEST_F(SNMPTrap, EachBadValueOfAnEnabledRuleIsReportedWithItsRow)
{
    const QString P = QStringLiteral("Error row 3!! [SNMP Read] ");
    const QString Desc = QStringLiteral("Error!! The Descriptions must be all differents");
    const char *Bits = "Num Bits/Bytes must be between 1 and 64 bits";
    const char *Bytes = "Num Bits/Bytes must be between 1 and 16 bytes";
    const char *Description = "Description is not correct (allowed characters are \"a\"..\"z\", \"A\"..\"Z\" and "
                              "\"0\"..\"9\"). First character must be a letter and must be lowercase";
    const char *Time = "Time must be between 1 and 1000000000 ms";
    // Row 3 gets a description of its own unless the case gives one.
    const std::pair<int, const char *> Own = {11, "other"};
    const TCheck_Case Cases[] = {
        {{Own, {2, "Har-1"}}, "Community Name is not correct (allowed characters are \"a\"..\"z\", \"A\"..\"Z\" and "
                              "\"0\"..\"9\")"},
        {{Own, {3, ""}}, "Type must be selected"},
        {{Own, {6, "N"}, {7, ""}}, ""},
        {{Own, {6, "Y"}, {7, "0"}}, Time},
        {{Own, {6, "y"}, {7, "1000000001"}}, Time},
        {{Own, {6, "Y"}, {7, "1000000000"}}, ""},
        {{Own, {8, " "}}, "Position must be selected"},
        {{Own, {9, ""}}, "Start Bit must be selected"},
        {{Own, {3, "String"}, {9, "1"}}, "Start Bit must be 0 if Type is String"},
        {{Own, {10, "64"}}, ""},
        {{Own, {10, "65"}}, Bits},
        {{Own, {10, "0"}}, Bits},
        {{Own, {3, "String"}, {10, "16"}}, ""},
        {{Own, {3, "String"}, {10, "17"}}, Bytes},
        // A type that is not "Int" counts as a string.
        {{Own, {3, "Word"}, {10, "17"}}, Bytes},
        {{Own, {3, "int"}, {10, "64"}}, ""},
        {{{11, "Temp1"}}, Description},
        {{{11, "1temp"}}, Description},
        {{{11, "t_1"}}, Description},
        {{{11, "tEMP12"}}, ""},
        {{Own, {12, "192.168.1"}}, "IP Address must be a valid TCP IP Address (Ex. 192.168.1.125)"},
        {{Own, {13, ""}}, "Conversion must be selected"},
        {{Own, {1, "N"}, {2, "Har-1"}, {3, ""}, {10, "x"}}, ""},
    };
    for (TCheck_Case C : Cases) {
        if (!C.Message.isEmpty())
            C.Message.prepend(P);
        Check_Case(F(), Good_Read, C, QStringLiteral("SNMP_Trap.xml"));
    }
    // The same description twice, or two empty ones, across the checked rows of either list.
    for (const TCheck_Case &C : {TCheck_Case{{{11, "good"}}, Desc}, TCheck_Case{{{11, ""}}, ""}})
        Check_Case(F(), Good_Read, C, QStringLiteral("SNMP_Trap.xml"));
    Messages.clear();
    QFile::remove(ConfPath(QStringLiteral("SNMP_Trap.xml")));
    ShowDialog(F(), [&](TScriptedModalHook &hook) {
        FillRow(R(), 1, Good_Read);
        FillRow(W(), 1, Good_Write);
        EXPECT_FALSE(ClickOK(F(), hook, true));
        W()->SetCells(7, 1, QString());
        R()->SetCells(11, 1, QString());
        EXPECT_FALSE(ClickOK(F(), hook, true));
        // A disabled row's description takes no part.
        W()->SetCells(1, 1, QStringLiteral("N"));
        EXPECT_TRUE(ClickOK(F(), hook, false));
    });
    EXPECT_EQ(Messages, QStringList({Desc, Desc}));

    const QString PW = QStringLiteral("Error row 3!! [SNMP Write] ");
    const std::pair<int, const char *> Own_Write = {7, "other"};
    const TCheck_Case Write_Cases[] = {
        {{Own_Write, {2, "a b"}}, "Community Name is not correct (allowed characters are \"a\"..\"z\", \"A\"..\"Z\" "
                                  "and \"0\"..\"9\")"},
        {{Own_Write, {3, " "}}, "Type must be selected"},
        {{Own_Write, {4, ""}}, "Position must be selected"},
        {{Own_Write, {5, ""}}, "Start Bit must be selected"},
        {{Own_Write, {5, "2"}}, "Start Bit must be 0 if Type is String"},
        {{Own_Write, {3, "Int"}, {5, "2"}, {6, "65"}}, "Num Bits/Bytes must be between 1 and 64 bits"},
        {{Own_Write, {6, "17"}}, "Num Bits/Bytes must be between 1 and 16 bytes"},
        {{{7, "Other"}}, "Descrtiption is not correct (allowed characters are \"a\"..\"z\", \"A\"..\"Z\" and "
                         "\"0\"..\"9\"). First character must be a letter and must be lowercase"},
        {{Own_Write, {8, ""}}, "Conversion must be selected"},
        {{Own_Write, {3, "Int"}, {5, "7"}, {6, "1"}}, ""},
    };
    for (TCheck_Case C : Write_Cases) {
        if (!C.Message.isEmpty())
            C.Message.prepend(PW);
        Messages.clear();
        Check_Case(F(), Good_Write, C, QStringLiteral("SNMP_Trap.xml"), 1);
    }
}

TEST_F(SNMPTrap, ALoadedFileIsNumberedByItsEnabledRowsAndTheMibWriterReadsWhatIsSaved)
{
    WriteConf(QStringLiteral("SNMP_Trap.xml"),
              "<SNMP_Trap><!--SW_VERSION = 1.000--><SNMP_Trap_Read>"
              "<row Community_Name=\"Harbor\" Type=\"Int\" Position=\"1\" Bit=\"0\" NumBits=\"8\" "
              "Description=\"first\" IP_Address=\"10.0.0.1\"/>"
              "<row Enable=\"N\" Community_Name=\"Bad-Name\" Type=\"\" Description=\"Bad\"/>"
              "<row Enable=\"y\" Community_Name=\"Lantern\" Type=\"String\" On_Timer=\"Y\" Time=\"5\" Position=\"2\" "
              "Bit=\"0\" NumBits=\"4\" Description=\"third\" IP_Address=\"10.0.0.2\" Conversion=\"Float\" "
              "Mnemonic=\"a longer name than fifteen\"/>"
              "</SNMP_Trap_Read><SNMP_Trap_Write>"
              "<row Enable=\"N\" Community_Name=\"Harbor\"/>"
              "<row Community_Name=\"Harbor\" Type=\"Int\" Position=\"9\" Bit=\"3\" NumBits=\"2\" Description=\"w\"/>"
              "</SNMP_Trap_Write></SNMP_Trap>");
    const TModalResult Result = ShowDialog(F(), [&](TScriptedModalHook &hook) {
        // Every attribute has a default, so rows without some load whole.
        EXPECT_EQ(RowTexts(R(), 1), QStringList({"Y", "Harbor", "Int", "N", "N", "N", "", "1", "0", "8", "first",
                                                 "10.0.0.1", "None", ""}));
        EXPECT_EQ(RowTexts(R(), 2), QStringList({"N", "Bad-Name", "", "N", "N", "N", "", "", "", "", "Bad", "", "None",
                                                 ""}));
        EXPECT_EQ(R()->Cells(14, 3), QStringLiteral("a longer name than fifteen"));
        EXPECT_EQ(Numbers(R(), 5), QStringList({"1", "", "2", "3", "4"}));
        EXPECT_EQ(Numbers(W(), 3), QStringList({"", "1", "2"}));
        EXPECT_EQ(RowTexts(W(), 2), QStringList({"Y", "Harbor", "Int", "9", "3", "2", "w", "None", ""}));
        // Insert, delete and paste leave the numbers as they were.
        R()->SetRow(1);
        GuiTest::Click(F()->Btn_InsRow);
        EXPECT_EQ(Numbers(R(), 4), QStringList({"1", "", "2", "3"}));
        EXPECT_EQ(R()->Cells(2, 2), QStringLiteral("Harbor"));
        GuiTest::Click(F()->Btn_Cancel);
    });
    EXPECT_EQ(Result, mrCancel);
    EXPECT_TRUE(Messages.isEmpty());

    ShowDialog(F(), [&](TScriptedModalHook &hook) { EXPECT_TRUE(ClickOK(F(), hook, false)); });
    EXPECT_TRUE(Messages.isEmpty());
    Read_SNMP_Trap_Desc();
    EXPECT_EQ(SL_MIB_Desc_Read->Text(), QStringLiteral("first\r\nthird\r\n"));
    EXPECT_EQ(SL_MIB_Desc_Write->Text(), QStringLiteral("w\r\n"));
}

TEST_F(SNMPTrap, AnEnableWithABlankLeavesItsRuleOutOfTheCheckTheNumbersAndTheMib)
{
    // Only a hand-edited file holds such a cell; it is read the same way everywhere.
    WriteConf(QStringLiteral("SNMP_Trap.xml"),
              "<SNMP_Trap><!--SW_VERSION = 1.000--><SNMP_Trap_Read>"
              "<row Enable=\"Y\" Community_Name=\"Harbor\" Type=\"Int\" Position=\"1\" Bit=\"0\" NumBits=\"8\" "
              "Description=\"first\" IP_Address=\"10.0.0.1\"/>"
              "<row Enable=\"Y \" Community_Name=\"Bad-Name\" Type=\"\" Description=\"first\"/>"
              "<row Enable=\" y\" Community_Name=\"Bad-Name\" Type=\"\" Description=\"first\"/>"
              "</SNMP_Trap_Read><SNMP_Trap_Write></SNMP_Trap_Write></SNMP_Trap>");
    ShowDialog(F(), [&](TScriptedModalHook &hook) {
        EXPECT_EQ(Numbers(R(), 4), QStringList({"1", "", "", "2"}));
        EXPECT_TRUE(ClickOK(F(), hook, false));
    });
    EXPECT_TRUE(Messages.isEmpty());
    Read_SNMP_Trap_Desc();
    EXPECT_EQ(SL_MIB_Desc_Read->Text(), QStringLiteral("first\r\n"));
}

} // namespace
