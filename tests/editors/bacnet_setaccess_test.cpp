// The BACnet object rules editor and its engineering units dialog driven as a user would: the
// objects typed and picked on both pages, the units dialog on a double click, the length preset
// of the write list, "BACnet_Slave_SetAccess.xml" as written and read back, the check of every
// object, and the object limit that ParGen.xml halves.
#include "helpers/RuleEditorsFixture.h"

#include "core/ULanguage.h"
#include "editors/bacnet/UBACnetSlaveSetAccess.h"
#include "editors/bacnet/UBACnet_Eng_Unit.h"
#include "platform/ComCtrls.h"
#include "platform/Controls.h"
#include "platform/StdCtrls.h"

#include <gtest/gtest.h>
#include <set>
#include <utility>
#include <vector>

using GuiTest::TScriptedModalHook;

namespace {

const QStringList Attributes = {"Data_Type", "Eng_Unit", "Position", "Bit", "Length", "Swap", "Mnemonic"};
const QStringList Good_Read = {"Analog Input", "62", "0", "", "4", "N", "r"};
const QStringList Good_Write = {"Analog Out", "62", "10", "", "4", "N", "w"};

class BACnetSetAccess : public TRuleEditorsTest {
protected:
    void SetUp() override
    {
        TRuleEditorsTest::SetUp();
        Application->CreateForm(FBACnet_Eng_Unit);
        Application->CreateForm(FBACnetSlaveSetAccess);
    }
    void TearDown() override
    {
        delete FBACnetSlaveSetAccess;
        FBACnetSlaveSetAccess = nullptr;
        delete FBACnet_Eng_Unit;
        FBACnet_Eng_Unit = nullptr;
        TRuleEditorsTest::TearDown();
    }
    static TFBACnetSlaveSetAccess *F() { return FBACnetSlaveSetAccess; }
    static TFBACnet_Eng_Unit *U() { return FBACnet_Eng_Unit; }
    static TExtColumnGrid *R() { return FBACnetSlaveSetAccess->ACG_BACnet_in_Read; }
    static TExtColumnGrid *W() { return FBACnetSlaveSetAccess->ACG_BACnet_in_Write; }
    static void ShowPage(int i)
    {
        F()->PageControl1->SetActivePageIndex(i);
        GuiTest::ProcessEvents();
    }
    void Limit_Names(bool On)
    {
        WriteConf(QStringLiteral("ParGen.xml"), On ? "<ParGen><BACnet_Type>0</BACnet_Type>"
                                                     "<BACnet_Desc_Chars_Limit>1</BACnet_Desc_Chars_Limit></ParGen>"
                                                   : "<ParGen><BACnet_Desc_Chars_Limit>0</BACnet_Desc_Chars_Limit></ParGen>");
    }
    // Every cell of a row from column 1 on, the hidden Swap included.
    static QStringList All_Cells(TExtColumnGrid *G, int r)
    {
        QStringList All;
        for (int c = 1; c <= 7; ++c)
            All << G->GetCellEx(c, r);
        return All;
    }
    static TPoint Centre(TExtColumnGrid *G, int c, int r)
    {
        const TRect Rc = G->CellRect(c, r);
        return {(Rc.Left + Rc.Right) / 2, (Rc.Top + Rc.Bottom) / 2};
    }
    // Picks a unit in the dialog as the user does: the category, then the unit, then the button.
    static void Pick_Unit(int Type, int Item)
    {
        U()->CB_Select_Type->SetItemIndex(Type);
        U()->CB_Select_TypeSelect(U()->CB_Select_Type);
        U()->CB_Select_Unit->SetItemIndex(Item);
        GuiTest::Click(U()->Btn_Select_Eng_Unit);
    }
    static QByteArray Rows_Xml(int Count, const char *Type)
    {
        QByteArray S;
        for (int i = 0; i < Count; ++i)
            S += QByteArray("<row Data_Type=\"") + Type + "\" Eng_Unit=\"95\" Position=\"0\" Bit=\"0\" Length=\"1\" "
                 "Swap=\"N\" Mnemonic=\"o" + QByteArray::number(i) + "\"/>";
        return S;
    }
};

TEST_F(BACnetSetAccess, ObjectsTypedOnBothPagesAreWrittenWithTheUnitsPickedAndComeBack)
{
    QString Hint;
    const TModalResult Result = ShowDialog(F(), [&](TScriptedModalHook &hook) {
        EXPECT_EQ(F()->Caption(), QStringLiteral("BACnet Set Access"));
        EXPECT_EQ(F()->ClientWidth(), 764);
        EXPECT_EQ(R()->RowCount(), 2001);
        EXPECT_EQ(W()->RowCount(), 2001);
        EXPECT_EQ(R()->ColCount(), 7);
        EXPECT_EQ(F()->PageControl1->ActivePage(), F()->TS_BACnet_in_Read);
        EXPECT_EQ(F()->TS_BACnet_in_Write->Caption(), QStringLiteral("BACnet in Write"));
        EXPECT_EQ(R()->Cells(7, 0), QStringLiteral("Mnemonic"));
        EXPECT_EQ(R()->Columns()->Items(3)->ComboItems()->Count(), 1550);
        EXPECT_FALSE(F()->Desc_Lenght);
        THintInfo i;
        i.HintControl = R();
        i.CursorPos = Centre(R(), 3, 0);
        R()->GetCellHintInfo(i.HintStr, i);
        Hint = i.HintStr;

        // The read list has no length preset.
        TypeCell(R(), 5, 1, QStringLiteral("3"));
        PickItem(R(), 1, 1, 0);
        EXPECT_EQ(R()->Cells(1, 1), QStringLiteral("Analog Input"));
        EXPECT_EQ(R()->Cells(5, 1), QStringLiteral("3"));
        TypeCell(R(), 2, 1, QStringLiteral("62"));
        PickItem(R(), 3, 1, 0);
        TypeCell(R(), 5, 1, QStringLiteral("4"));
        TypeCell(R(), 6, 1, QStringLiteral("Temp1"));

        // The units dialog: it opens on the cell's unit; a unit picked and confirmed replaces it.
        hook.RunWith([&](TModalRequest &) {
            EXPECT_EQ(U()->E_Selected_EU->Text(), QStringLiteral("62"));
            EXPECT_EQ(U()->Label5->Caption(), QStringLiteral("-> degrees-Celsius"));
            Pick_Unit(1, 1);
            EXPECT_EQ(U()->E_Selected_EU->Text(), QStringLiteral("116"));
            EXPECT_EQ(U()->Label5->Caption(), QStringLiteral("-> square-centimeters"));
            GuiTest::Click(U()->Btn_OK);
        });
        GuiTest::DoubleClick(R(), Centre(R(), 2, 1));
        GuiTest::ProcessEvents();
        EXPECT_EQ(R()->Cells(2, 1), QStringLiteral("116"));
        hook.RunWith([&](TModalRequest &) {
            Pick_Unit(16, 0);
            GuiTest::Click(U()->Btn_Cancel);
        });
        GuiTest::DoubleClick(R(), Centre(R(), 2, 1));
        GuiTest::ProcessEvents();
        EXPECT_EQ(R()->Cells(2, 1), QStringLiteral("116"));

        ShowPage(1);
        PickItem(W(), 1, 1, 5);
        EXPECT_EQ(W()->Cells(1, 1), QStringLiteral("Large Analog Value"));
        EXPECT_EQ(W()->Cells(5, 1), QStringLiteral("8"));
        // A number typed into the dialog is taken as it is.
        hook.RunWith([&](TModalRequest &) {
            EXPECT_EQ(U()->Label5->Caption(), QStringLiteral("-> unknown"));
            U()->E_Selected_EU->SetText(QString());
            GuiTest::TypeText(U()->E_Selected_EU, QStringLiteral("9999"));
            GuiTest::Click(U()->Btn_OK);
        });
        GuiTest::DoubleClick(W(), Centre(W(), 2, 1));
        GuiTest::ProcessEvents();
        EXPECT_EQ(W()->Cells(2, 1), QStringLiteral("9999"));
        PickItem(W(), 3, 1, 7);
        TypeCell(W(), 6, 1, QStringLiteral("Out"));

        ClickCell(W(), 0, 1);
        EXPECT_EQ(W()->Selection().Top, 1);
        EXPECT_EQ(W()->Selection().Bottom, 1);
        EXPECT_TRUE(ClickOK(F(), hook, false));
    });
    ASSERT_EQ(Result, mrOk);
    EXPECT_TRUE(Messages.isEmpty()) << Messages.join('\n').toStdString();
    EXPECT_TRUE(Hint.isEmpty()) << Hint.toStdString();
    const QStringList Read = {"Analog Input", "116", "0", "", "4", "", "Temp1"};
    const QStringList Write = {"Large Analog Value", "9999", "7", "", "8", "", "Out"};
    EXPECT_EQ(FileText(QStringLiteral("BACnet_Slave_SetAccess.xml")).trimmed(),
              QStringLiteral("<BACnet_to_Modbus><BACnet_in_Read>") + RowXml(Attributes, Read) +
                  QStringLiteral("</BACnet_in_Read><BACnet_in_Write>") + RowXml(Attributes, Write) +
                  QStringLiteral("</BACnet_in_Write></BACnet_to_Modbus><!--SW_VERSION = 1.000-->"));

    ShowDialog(F(), [&](TScriptedModalHook &) {
        EXPECT_EQ(All_Cells(R(), 1), Read);
        EXPECT_EQ(All_Cells(W(), 1), Write);
        EXPECT_EQ(All_Cells(R(), 2), QStringList(7, QString()));
        GuiTest::Click(F()->Btn_Cancel);
    });
}

TEST_F(BACnetSetAccess, EachBadObjectIsReportedWithItsRow)
{
    const QStringList Good[2] = {Good_Read, Good_Write};
    const QString Rd = QStringLiteral("Error row 3!! [BACnet in Read] ");
    const QString Wr = QStringLiteral("Error row 3!! [BACnet in Write] ");
    const QString Rd_Budget = Rd + "Too many bytes to save starting from the Position indicate";
    Check_Grid_Cases(F(), Good,
                     {
                         {0, {{3, "1546"}}, ""},
                         {0, {{3, "1547"}}, Rd_Budget},
                         {0, {{3, ""}}, Rd + "Position must be between 0 and 1549"},
                         {1, {{3, "1550"}}, Wr + "Position must be between 0 and 1549"},
                         {0, {{1, "Large Analog Value"}, {5, "9"}},
                          Rd + "Length with variable \"Large Analog Value\" must be between 1 and 8"},
                         {0, {{1, "Large Analog Value"}, {5, ""}},
                          Rd + "Length with variable \"Large Analog Value\" must be between 1 and 8"},
                         {1, {{1, "Large Analog Value"}, {5, "9"}},
                          Wr + "Length with variable \"Large Analog Value\" must be between 1 and 8"},
                         {1, {{1, "Access Door"}, {5, "2"}}, Wr + "Length with variable \"Access Door\" must be equal to 1"},
                         {0, {{1, "Life Safety Zone"}, {5, "3"}},
                          Rd + "Length with variable \"Life Safety Zone\" must be 1 or 2"},
                         {0, {{1, "Binary Input"}, {4, ""}}, Rd + "Bit must be between 0 and 7"},
                         {1, {{1, "Binary Out"}, {4, ""}}, Wr + "Bit must be between 0 and 7"},
                         {0, {{1, "Binary Input"}, {4, "3"}, {5, "x"}}, ""},
                         {0, {{1, "Binary Value"}, {3, "1549"}, {4, "7"}}, ""},
                         // A type without a length range takes any length the array holds.
                         {0, {{1, "Integer Value"}, {3, "1400"}, {5, "100"}}, ""},
                         {0, {{1, "Integer Value"}, {3, "1451"}, {5, "100"}}, Rd_Budget},
                         {0, {{1, "Integer Value"}, {3, "2"}, {5, "2147483647"}}, Rd_Budget},
                         {0, {{1, "Integer Value"}, {5, "-5"}}, ""},
                         // The type is matched as written: this one has no range.
                         {0, {{1, "analog input"}, {5, "100"}}, ""},
                         {0, {{2, "65535"}}, ""},
                         {0, {{2, "65536"}}, Rd + "Eng. Unit must be between 0 and 65535"},
                         {0, {{2, ""}}, Rd + "Eng. Unit must be between 0 and 65535"},
                         {1, {{2, "65536"}}, Wr + "Eng. Unit must be between 0 and 65535"},
                     },
                     QStringLiteral("BACnet_Slave_SetAccess.xml"));
}

TEST_F(BACnetSetAccess, TheObjectLimitCountsBothListsAndIsHalvedByTheLongerNames)
{
    struct TLimit {
        bool Long_Names;
        int Read, Write;
        int Rows;
        QString Message;
    };
    const TLimit Limits[] = {
        {false, 1500, 500, 2001, ""},
        {false, 1500, 501, 2001, "Error!! Too many Requests. Max requests 2000"},
        {true, 600, 401, 1001, "Error!! Too many Requests. Max requests 1000"},
    };
    for (const TLimit &L : Limits) {
        SCOPED_TRACE(L.Read + L.Write);
        Limit_Names(L.Long_Names);
        QFile::remove(ConfPath(QStringLiteral("BACnet_Slave_SetAccess.xml")));
        bool Closed = false;
        ShowDialog(F(), [&](TScriptedModalHook &hook) {
            EXPECT_EQ(R()->RowCount(), L.Rows);
            EXPECT_EQ(W()->RowCount(), L.Rows);
            for (int r = 1; r <= L.Read; ++r)
                FillRow(R(), r, Good_Read);
            for (int r = 1; r <= L.Write; ++r)
                FillRow(W(), r, Good_Write);
            Closed = ClickOK(F(), hook, !L.Message.isEmpty());
            if (!Closed)
                GuiTest::Click(F()->Btn_Cancel);
        });
        EXPECT_EQ(Closed, L.Message.isEmpty());
        EXPECT_EQ(Messages, L.Message.isEmpty() ? QStringList() : QStringList{L.Message});
    }
}

TEST_F(BACnetSetAccess, LoadsKeepWhatWasReadAndTellWhatCannotBeShown)
{
    WriteConf(QStringLiteral("BACnet_Slave_SetAccess.xml"),
              "<BACnet_to_Modbus><BACnet_in_Read>"
              "<row Data_Type=\"Analog Input\" Eng_Unit=\"62\" Position=\"0\" Bit=\"\" Length=\"4\" Mnemonic=\"no swap\"/>"
              "<row Data_Type=\"Analog Value\" Eng_Unit=\"62\" Position=\"4\" Bit=\"\" Length=\"4\" Swap=\"Y\"/>"
              "<row Data_Type=\"Analog Value\" Eng_Unit=\"62\" Position=\"8\" Bit=\"\" Length=\"4\" Swap=\"Y\" "
              "Mnemonic=\"after\"/>"
              "</BACnet_in_Read><BACnet_in_Write>" + Rows_Xml(1, "Analog Out") + "</BACnet_in_Write></BACnet_to_Modbus>");
    ShowDialog(F(), [&](TScriptedModalHook &hook) {
        EXPECT_EQ(All_Cells(R(), 1), QStringList({"Analog Input", "62", "0", "", "4", "N", "no swap"}));
        EXPECT_EQ(All_Cells(R(), 2), QStringList({"Analog Value", "62", "4", "", "4", "Y", ""}));
        EXPECT_EQ(All_Cells(R(), 3), QStringList(7, QString()));
        EXPECT_EQ(All_Cells(W(), 1), QStringList(7, QString()));
        // The copy flags were cleared before the load that ended.
        R()->SetRow(1);
        GuiTest::Click(F()->Btn_CopyRow);
        ShowPage(1);
        W()->SetRow(2);
        hook.Answer(mrOk);
        GuiTest::Click(F()->Btn_PasteRow);
        EXPECT_EQ(All_Cells(W(), 2), QStringList(7, QString()));
        GuiTest::Click(F()->Btn_Cancel);
    }, 1);
    ASSERT_EQ(Messages.size(), 2);
    EXPECT_TRUE(Messages[0].contains(QStringLiteral("\"Mnemonic\""))) << Messages[0].toStdString();
    EXPECT_EQ(Messages[1], Lang_Text(1102));

    // Saved without the limit, read with it: the first 1000 of each list show, and the user is told once.
    WriteConf(QStringLiteral("BACnet_Slave_SetAccess.xml"),
              "<BACnet_to_Modbus><BACnet_in_Read>" + Rows_Xml(1500, "Binary Input") +
                  "</BACnet_in_Read><BACnet_in_Write>" + Rows_Xml(1200, "Binary Out") +
                  "</BACnet_in_Write></BACnet_to_Modbus>");
    Limit_Names(true);
    ShowDialog(F(), [&](TScriptedModalHook &) {
        EXPECT_TRUE(F()->Desc_Lenght);
        EXPECT_EQ(R()->RowCount(), 1001);
        EXPECT_EQ(R()->Cells(7, 1000), QStringLiteral("o999"));
        EXPECT_EQ(W()->Cells(7, 1000), QStringLiteral("o999"));
        GuiTest::Click(F()->Btn_Cancel);
    }, 1);
    EXPECT_EQ(Messages, QStringList{QStringLiteral("Error!! Too many Requests. Max requests 1000")});

    // Back without the limit, the rows the shorter grid hid come back reset.
    QFile::remove(ConfPath(QStringLiteral("BACnet_Slave_SetAccess.xml")));
    R()->SetCellEx(1, 1500, QStringLiteral("left over"));
    Limit_Names(false);
    ShowDialog(F(), [&](TScriptedModalHook &) {
        EXPECT_EQ(R()->RowCount(), 2001);
        EXPECT_EQ(All_Cells(R(), 1500), QStringList(7, QString()));
        EXPECT_EQ(R()->Cells(0, 1500), QStringLiteral("1500"));
        GuiTest::Click(F()->Btn_Cancel);
    });
    EXPECT_TRUE(Messages.isEmpty());
}

TEST_F(BACnetSetAccess, ADoubleClickOnTheEngUnitHeaderOpensTheDialogOnTheHeaderText)
{
    ShowDialog(F(), [&](TScriptedModalHook &hook) {
        // The editor itself is the first modal run.
        const std::size_t Runs = hook.Shown.size();
        GuiTest::DoubleClick(R(), Centre(R(), 5, 1));
        GuiTest::ProcessEvents();
        EXPECT_EQ(hook.Shown.size(), Runs);
        hook.RunWith([&](TModalRequest &) {
            EXPECT_EQ(U()->E_Selected_EU->Text(), QStringLiteral("Eng. Unit"));
            EXPECT_EQ(U()->Label5->Caption(), QStringLiteral("-> unknown"));
            Pick_Unit(16, 0);
            GuiTest::Click(U()->Btn_OK);
        });
        GuiTest::DoubleClick(R(), Centre(R(), 2, 0));
        GuiTest::ProcessEvents();
        EXPECT_EQ(R()->Cells(2, 0), QStringLiteral("62"));
        EXPECT_EQ(hook.Shown.size(), Runs + 1);
        GuiTest::Click(F()->Btn_Cancel);
    });
}

TEST_F(BACnetSetAccess, TheUnitsDialogOffersEveryUnitOnceAndKeepsItsCategory)
{
    std::multiset<int> All;
    for (const TEng_Unit_Category &C : Eng_Unit_Categories)
        for (int i = 0; i < C.Count; ++i)
            All.insert(C.Units[i]);
    ASSERT_EQ(All.size(), std::size_t(Eng_Unit_Count));
    for (int n = 0; n < Eng_Unit_Count; ++n)
        EXPECT_EQ(All.count(n), 1u) << n;

    for (const auto &[Text, Name] : std::vector<std::pair<QString, QString>>{
             {"62", "degrees-Celsius"}, {"abc", "unknown"}, {"", "unknown"}, {"300", "unknown"}, {"-1", "unknown"}}) {
        U()->Show_Unit_Name(Text);
        EXPECT_EQ(U()->Label5->Caption(), QStringLiteral("-> ") + Name) << Text.toStdString();
    }

    struct TPick {
        int Type, Item;
        QString Listed;
        QString Number, Name;
    };
    const TPick Picks[] = {
        {1, 1, "square-centimeters", "116", "square-centimeters"},
        {22, 29, "per-mille", "207", "per-mille"},
        {3, 11, "ohms-meters", "172", "ohm-meters"},
    };
    ShowDialog(U(), [&](TScriptedModalHook &) {
        EXPECT_EQ(U()->Caption(), QStringLiteral("Select the BACnet Engineering Unit"));
        EXPECT_EQ(U()->ClientWidth(), 548);
        EXPECT_EQ(U()->CB_Select_Type->Items()->Count(), Eng_Unit_Category_Count);
        EXPECT_EQ(U()->CB_Select_Unit->Items()->Strings(0), QStringLiteral("meters-per-second-per-second"));
        for (const TPick &P : Picks) {
            Pick_Unit(P.Type, P.Item);
            EXPECT_EQ(U()->CB_Select_Unit->Items()->Strings(P.Item), P.Listed);
            EXPECT_EQ(U()->E_Selected_EU->Text(), P.Number);
            EXPECT_EQ(U()->Label5->Caption(), QStringLiteral("-> ") + P.Name);
        }
        // With no unit chosen in the list the current one stays.
        U()->CB_Select_Unit->SetItemIndex(-1);
        GuiTest::Click(U()->Btn_Select_Eng_Unit);
        EXPECT_EQ(U()->E_Selected_EU->Text(), QStringLiteral("172"));
        GuiTest::Click(U()->Btn_Cancel);
    });
    ShowDialog(U(), [&](TScriptedModalHook &) {
        EXPECT_EQ(U()->CB_Select_Type->ItemIndex(), 3);
        EXPECT_EQ(U()->CB_Select_Unit->ItemIndex(), 0);
        EXPECT_EQ(U()->CB_Select_Unit->Items()->Count(), 35);
        GuiTest::Click(U()->Btn_Cancel);
    });
}

} // namespace
