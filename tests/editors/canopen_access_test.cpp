// The three CANopen editors (PDO, SDO client, SDO server) driven as a user would: the lists typed
// and written to their files, read back, the header hints of the page shown, and the check of
// every used row of both lists.
#include "helpers/RuleEditorsFixture.h"

#include "core/ULanguage.h"
#include "editors/canopen/USet_PDO_Access.h"
#include "editors/canopen/USet_SDO_Client_Access.h"
#include "editors/canopen/USet_SDO_Server_Access.h"
#include "platform/ComCtrls.h"
#include "platform/Controls.h"

#include <gtest/gtest.h>
#include <utility>
#include <vector>

using GuiTest::TScriptedModalHook;

namespace {

const QStringList PDO_Receive_Names = {"COB-ID",     "Dimension",  "Address_B1", "Address_B2",
                                       "Address_B3", "Address_B4", "Address_B5", "Address_B6",
                                       "Address_B7", "Address_B8", "TimeOut",    "Mnemonic"};
const QStringList PDO_Transmit_Names = {"COB-ID",     "Dimension",  "Address_B1", "Address_B2", "Address_B3",
                                        "Address_B4", "Address_B5", "Address_B6", "Address_B7", "Address_B8",
                                        "Send_Time",  "On_Change",  "Mnemonic"};
const QStringList PDO_Receive = {"0x181", "2", "5", "6", "", "", "", "", "", "", "100", "rx"};
const QStringList PDO_Transmit = {"0x201", "1", "7", "", "", "", "", "", "", "", "1000", "N", "tx"};
const QStringList Client_Read = {"5", "0x6000", "1", "2", "100", "10", "11", "", "", "r"};
const QStringList Client_Write = {"5", "0x6200", "0", "4", "0", "Y", "20", "21", "22", "23", "w"};
const QStringList Server_Read = {"0x2000", "0", "1", "3", "", "", "", "r"};
const QStringList Server_Write = {"0x2000", "0", "2", "8", "9", "", "", "w"};

class CANopenAccess : public TRuleEditorsTest {
protected:
    void SetUp() override
    {
        TRuleEditorsTest::SetUp();
        Application->CreateForm(FSet_PDO_Access);
        Application->CreateForm(FSet_SDO_Client_Access);
        Application->CreateForm(FSet_SDO_Server_Access);
    }
    void TearDown() override
    {
        delete FSet_SDO_Server_Access;
        FSet_SDO_Server_Access = nullptr;
        delete FSet_SDO_Client_Access;
        FSet_SDO_Client_Access = nullptr;
        delete FSet_PDO_Access;
        FSet_PDO_Access = nullptr;
        TRuleEditorsTest::TearDown();
    }
    static void ShowPage(TFRuleEditor *F, int i)
    {
        F->PageControl1->SetActivePageIndex(i);
        GuiTest::ProcessEvents();
    }
    // The hint the grid gives while the pointer rests on the middle of a cell.
    static UnicodeString HintAt(TExtColumnGrid *G, int c, int r)
    {
        const TRect R = G->CellRect(c, r);
        THintInfo i;
        i.HintControl = G;
        i.CursorPos = TPoint{(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2};
        G->GetCellHintInfo(i.HintStr, i);
        return i.HintStr;
    }
};

TEST_F(CANopenAccess, PDOsTypedOnBothPagesAreWrittenAndComeBack)
{
    TFSet_PDO_Access *F = FSet_PDO_Access;
    const TModalResult Result = ShowDialog(F, [&](TScriptedModalHook &hook) {
        EXPECT_EQ(F->Caption(), QStringLiteral("Set PDO Access"));
        EXPECT_EQ(F->ClientWidth(), 798);
        EXPECT_EQ(F->PageControl1->ActivePage(), F->TS_Receive_PDO);
        EXPECT_EQ(F->TS_Transmit_PDO->Caption(), QStringLiteral("Transmit PDO"));
        EXPECT_EQ(F->sga->RowCount(), 31);
        EXPECT_EQ(F->sga->ColCount(), 13);
        EXPECT_EQ(F->sgb->ColCount(), 14);
        EXPECT_EQ(F->sga->Cells(3, 0), QStringLiteral("Add B1"));
        EXPECT_EQ(F->sgb->Cells(12, 0), QStringLiteral("On Change"));
        EXPECT_EQ(F->sga->Cells(0, 30), QStringLiteral("30"));
        EXPECT_EQ(HintAt(F->sga, 3, 0), Lang_Text(2045));
        EXPECT_EQ(HintAt(F->sga, 3, 1), QString());

        const QStringList Typed = {"0x181", "2", "5", "6"};
        for (int k = 0; k < Typed.size(); ++k)
            TypeCell(F->sga, k + 1, 1, Typed[k]);
        TypeCell(F->sga, 11, 1, QStringLiteral("100"));
        TypeCell(F->sga, 12, 1, QStringLiteral("rx"));
        // Row 2 blank, row 3 below it.
        FillRow(F->sga, 3, PDO_Receive);

        ShowPage(F, 1);
        EXPECT_EQ(HintAt(F->sgb, 3, 0), Lang_Text(2057));
        TypeCell(F->sgb, 1, 1, QStringLiteral("$201"));
        TypeCell(F->sgb, 2, 1, QStringLiteral("1"));
        TypeCell(F->sgb, 3, 1, QStringLiteral("7"));
        TypeCell(F->sgb, 11, 1, QStringLiteral("0"));
        ClickCell(F->sgb, 12, 1);
        EXPECT_EQ(F->sgb->Cells(12, 1), QStringLiteral("Y"));
        EXPECT_TRUE(ClickOK(F, hook, false));
    });
    ASSERT_EQ(Result, mrOk);
    EXPECT_TRUE(Messages.isEmpty());
    const QStringList Transmit = {"$201", "1", "7", "", "", "", "", "", "", "", "0", "Y", ""};
    EXPECT_EQ(FileText(QStringLiteral("PDO_CANopen.xml")).trimmed(),
              QStringLiteral("<PDO_CANopen><Receive_PDO>") + RowXml(PDO_Receive_Names, PDO_Receive) +
                  RowXml(PDO_Receive_Names, PDO_Receive) + QStringLiteral("</Receive_PDO><Transmit_PDO>") +
                  RowXml(PDO_Transmit_Names, Transmit) +
                  QStringLiteral("</Transmit_PDO></PDO_CANopen><!--SW_VERSION = 1.000-->"));

    ShowDialog(F, [&](TScriptedModalHook &) {
        EXPECT_EQ(F->PageControl1->ActivePage(), F->TS_Receive_PDO);
        EXPECT_EQ(RowTexts(F->sga, 1), PDO_Receive);
        EXPECT_EQ(RowTexts(F->sga, 2), PDO_Receive);
        EXPECT_EQ(RowTexts(F->sga, 3), EmptyRow(F->sga, false));
        EXPECT_EQ(RowTexts(F->sgb, 1), Transmit);
        GuiTest::Click(F->Btn_Cancel);
    });
    EXPECT_TRUE(Messages.isEmpty());
}

TEST_F(CANopenAccess, BothListsOfEachEditorShowRowsOf21Pixels)
{
    for (TFCANopen_Access *F : {static_cast<TFCANopen_Access *>(FSet_PDO_Access),
                                static_cast<TFCANopen_Access *>(FSet_SDO_Client_Access),
                                static_cast<TFCANopen_Access *>(FSet_SDO_Server_Access)})
        for (TExtColumnGrid *G : {F->sga, F->sgb}) {
            EXPECT_EQ(G->DefaultRowHeight(), 21) << F->Name().toStdString();
            EXPECT_EQ(G->RowHeights(0), 21) << F->Name().toStdString();
            EXPECT_EQ(G->RowHeights(G->RowCount() - 1), 21) << F->Name().toStdString();
        }
}

TEST_F(CANopenAccess, SDOListsAreWrittenInTheirSectionsAndComeBack)
{
    struct TEditor {
        TFRuleEditor *F;
        QString File;
        QStringList Names[2];
        QStringList Good[2];
    };
    const QStringList Server_Names = {"Index",      "SubIndex",   "NByte",      "Address_B1",
                                      "Address_B2", "Address_B3", "Address_B4", "Mnemonic"};
    const TEditor Editors[] = {
        {FSet_SDO_Client_Access,
         "SDO_Client_CANopen.xml",
         {{"Device_ID", "Index", "SubIndex", "NByte", "Poll_Time", "Address_B1", "Address_B2", "Address_B3",
           "Address_B4", "Mnemonic"},
          {"Device_ID", "Index", "SubIndex", "NByte", "Poll_Time", "On_Change", "Address_B1", "Address_B2",
           "Address_B3", "Address_B4", "Mnemonic"}},
         {Client_Read, Client_Write}},
        // The same object in both lists and twice in one passes and is kept.
        {FSet_SDO_Server_Access, "SDO_Server_CANopen.xml", {Server_Names, Server_Names}, {Server_Read, Server_Read}},
    };
    for (const TEditor &E : Editors) {
        SCOPED_TRACE(E.File.toStdString());
        const QString Root = E.File.chopped(4);
        ShowDialog(E.F, [&](TScriptedModalHook &hook) {
            for (int g = 0; g < 2; ++g) {
                FillRow(E.F->Grid(g), 1, E.Good[g]);
                FillRow(E.F->Grid(g), 4, E.Good[g]);
            }
            EXPECT_TRUE(ClickOK(E.F, hook, false));
        });
        EXPECT_TRUE(Messages.isEmpty());
        QString Expected = QStringLiteral("<%1><SDO_Read>").arg(Root);
        Expected += RowXml(E.Names[0], E.Good[0]) + RowXml(E.Names[0], E.Good[0]) + QStringLiteral("</SDO_Read><SDO_Write>");
        Expected += RowXml(E.Names[1], E.Good[1]) + RowXml(E.Names[1], E.Good[1]);
        Expected += QStringLiteral("</SDO_Write></%1><!--SW_VERSION = 1.000-->").arg(Root);
        EXPECT_EQ(FileText(E.File).trimmed(), Expected);
        ShowDialog(E.F, [&](TScriptedModalHook &) {
            for (int g = 0; g < 2; ++g) {
                EXPECT_EQ(RowTexts(E.F->Grid(g), 2), E.Good[g]);
                EXPECT_EQ(RowTexts(E.F->Grid(g), 3), EmptyRow(E.F->Grid(g), false));
            }
            GuiTest::Click(E.F->Btn_Cancel);
        });
    }
}

TEST_F(CANopenAccess, EachBadPDOValueIsReportedWithItsRowAndTheReceiveListFirst)
{
    const QStringList Good[2] = {PDO_Receive, PDO_Transmit};
    const QString R = QStringLiteral("Error row 3!! [Receive PDO] ");
    const QString T = QStringLiteral("Error row 3!! [Transmit PDO] ");
    Check_Grid_Cases(FSet_PDO_Access, Good,
              {
                  {0, {{1, "0x7FF"}}, ""},
                  {0, {{1, "$7FF"}}, ""},
                  {0, {{1, "0"}}, ""},
                  {0, {{1, "0x800"}}, R + "COB-ID must be between 0x000 and 0x7FF"},
                  {1, {{1, "2048"}}, T + "COB-ID must be between 0x000 and 0x7FF"},
                  {0, {{2, "0"}}, R + "Dimension must be between 1 and 8"},
                  {1, {{2, "9"}}, T + "Dimension must be between 1 and 8"},
                  {0, {{2, "2"}, {4, ""}}, R + "Address Byte2 must be between 0 and 1439"},
                  {0, {{2, "1"}, {4, ""}}, ""},
                  {0, {{2, "8"}, {5, "0"}, {6, "0"}, {7, "0"}, {8, "0"}, {9, "0"}, {10, "x"}},
                   R + "Address Byte8 must be between 0 and 1439"},
                  {1, {{3, "1439"}}, ""},
                  {1, {{3, "1440"}}, T + "Address Byte1 must be between 0 and 1439"},
                  {0, {{11, "0"}}, ""},
                  {0, {{11, "65536"}}, R + "TimeOut must be between 0 and 65535"},
                  {1, {{11, "0"}}, ""},
                  {1, {{11, "100000001"}}, T + "Send Time must be between 0 and 100000000"},
                  // On Change and Mnemonic are not looked at.
                  {1, {{12, "?"}, {13, ""}}, ""},
              },
              QStringLiteral("PDO_CANopen.xml"));
}

TEST_F(CANopenAccess, EachBadSDOClientValueIsReportedWithItsRow)
{
    const QStringList Good[2] = {Client_Read, Client_Write};
    const QString R = QStringLiteral("Error row 3!! [SDO Read] ");
    const QString W = QStringLiteral("Error row 3!! [SDO Write] ");
    Check_Grid_Cases(FSet_SDO_Client_Access, Good,
              {
                  {0, {{1, "0"}}, R + "Device ID must be between 1 and 127"},
                  {1, {{1, "128"}}, W + "Device ID must be between 1 and 127"},
                  {0, {{1, "127"}}, ""},
                  {0, {{2, "0x0FFF"}}, R + "Index must be between 0x1000 and 0xFFFF"},
                  {1, {{2, "65536"}}, W + "Index must be between 0x1000 and 0xFFFF"},
                  {0, {{2, "$1000"}}, ""},
                  {0, {{2, "0xFFFF"}}, ""},
                  {1, {{3, "0x100"}}, W + "SubIndex must be between 0x00 and 0xFF"},
                  {0, {{4, "3"}}, R + "N Byte must be 1 or 2 or 4"},
                  {1, {{4, "3"}}, W + "N Byte must be 1 or 2 or 4"},
                  {0, {{5, "0"}}, R + "Poll Time must be between 1 and 100000000"},
                  {1, {{5, "0"}}, ""},
                  {1, {{5, "100000001"}}, W + "Poll Time must be between 0 and 100000000"},
                  // The write list's positions stand after On Change.
                  {0, {{6, "1440"}}, R + "Address Byte1 must be between 0 and 1439"},
                  {1, {{7, "-1"}}, W + "Address Byte1 must be between 0 and 1439"},
                  {0, {{4, "2"}, {8, ""}, {9, ""}}, ""},
                  {0, {{4, "4"}, {8, "1"}, {9, ""}}, R + "Address Byte4 must be between 0 and 1439"},
                  {1, {{10, ""}}, W + "Address Byte4 must be between 0 and 1439"},
                  {1, {{4, "1"}, {8, ""}, {9, ""}, {10, ""}}, ""},
              },
              QStringLiteral("SDO_Client_CANopen.xml"));
}

TEST_F(CANopenAccess, EachBadSDOServerValueIsReportedWithItsRow)
{
    const QStringList Good[2] = {Server_Read, Server_Write};
    const QString R = QStringLiteral("Error row 3!! [SDO in Read] ");
    const QString W = QStringLiteral("Error row 3!! [SDO in Write] ");
    Check_Grid_Cases(FSet_SDO_Server_Access, Good,
              {
                  {0, {{1, "0x1FFF"}}, R + "Index must be between 0x2000 and 0x5FFF"},
                  {1, {{1, "0x6000"}}, W + "Index must be between 0x2000 and 0x5FFF"},
                  {0, {{1, "$5FFF"}}, ""},
                  {1, {{1, "8192"}}, ""},
                  {0, {{2, "0x100"}}, R + "SubIndex must be between 0x00 and 0xFF"},
                  {0, {{2, "255"}}, ""},
                  {1, {{3, "0"}}, W + "N Byte must be 1 or 2 or 4"},
                  {0, {{3, "4"}, {5, "1"}, {6, ""}}, R + "Address Byte3 must be between 0 and 1439"},
                  {1, {{5, "1440"}}, W + "Address Byte2 must be between 0 and 1439"},
                  {0, {{3, "1"}, {5, ""}, {6, ""}, {7, ""}}, ""},
              },
              QStringLiteral("SDO_Server_CANopen.xml"));
}

TEST_F(CANopenAccess, AMissingAttributeEndsTheLoadWithOneMessageAndTheRowButtonsActOnThePageShown)
{
    TFSet_SDO_Server_Access *F = FSet_SDO_Server_Access;
    WriteConf(QStringLiteral("SDO_Server_CANopen.xml"),
              "<SDO_Server_CANopen><SDO_Read>"
              "<row Index=\"0x2000\" SubIndex=\"0\" NByte=\"1\" Address_B1=\"3\" Address_B2=\"\" Address_B3=\"\" "
              "Address_B4=\"\" Mnemonic=\"a\"/>"
              "<row Index=\"0x2001\" SubIndex=\"0\" Address_B1=\"3\"/>"
              "</SDO_Read><SDO_Write>"
              "<row Index=\"0x2002\" SubIndex=\"0\" NByte=\"1\" Address_B1=\"3\" Address_B2=\"\" Address_B3=\"\" "
              "Address_B4=\"\" Mnemonic=\"w\"/>"
              "</SDO_Write></SDO_Server_CANopen>");
    ShowDialog(F, [&](TScriptedModalHook &hook) {
        EXPECT_EQ(RowTexts(F->sga, 1), QStringList({"0x2000", "0", "1", "3", "", "", "", "a"}));
        EXPECT_EQ(RowTexts(F->sga, 2), QStringList({"0x2001", "0", "", "", "", "", "", ""}));
        // The load ended before the write list.
        EXPECT_EQ(RowTexts(F->sgb, 1), EmptyRow(F->sgb, false));

        ShowPage(F, 1);
        FillRow(F->sgb, 1, Server_Write);
        FillRow(F->sgb, 2, Server_Read);
        F->sgb->SetRow(1);
        hook.Answer(mrYes);
        GuiTest::Click(F->Btn_DelRow);
        EXPECT_EQ(RowTexts(F->sgb, 1), Server_Read);
        EXPECT_EQ(RowTexts(F->sgb, 500), EmptyRow(F->sgb, false));
        EXPECT_EQ(Message_Texts(hook).back(), QStringLiteral("Are you sure to delete the Row number 1"));
        EXPECT_EQ(RowTexts(F->sga, 1), QStringList({"0x2000", "0", "1", "3", "", "", "", "a"}));
        // A copy on the read page is no copy for the write page.
        ShowPage(F, 0);
        F->sga->SetRow(1);
        GuiTest::Click(F->Btn_CopyRow);
        EXPECT_TRUE(F->Do_Copy_SDO_Read());
        ShowPage(F, 1);
        F->sgb->SetRow(3);
        hook.Answer(mrOk);
        GuiTest::Click(F->Btn_PasteRow);
        EXPECT_EQ(Message_Texts(hook).back(), Lang_Text(1102));
        EXPECT_EQ(RowTexts(F->sgb, 3), EmptyRow(F->sgb, false));
        ClickCell(F->sgb, 0, 1);
        EXPECT_EQ(F->sgb->Selection().Top, 1);
        EXPECT_EQ(F->sgb->Selection().Right, 8);
        GuiTest::Click(F->Btn_Cancel);
    }, 1);
    // The load's box, then the question and the refused paste.
    ASSERT_EQ(Messages.size(), 3);
    EXPECT_TRUE(Messages[0].contains(QStringLiteral("\"NByte\""))) << Messages[0].toStdString();
}

TEST_F(CANopenAccess, ALanguageFileChangesTheHeaderCellsAtOnce)
{
    WriteBytes(QStringLiteral("LANGUAGE/Deutsch.lng"), "\xEF\xBB\xBFSTR2017 = COB-Kennung\r\n");
    Load_Lang_File(PathOf(QStringLiteral("LANGUAGE/Deutsch.lng")));
    FSet_PDO_Access->Set_Lang();
    EXPECT_EQ(FSet_PDO_Access->sga->Cells(1, 0), QStringLiteral("COB-Kennung"));
    EXPECT_EQ(FSet_PDO_Access->sgb->Cells(1, 0), QStringLiteral("COB-ID"));
}

} // namespace
