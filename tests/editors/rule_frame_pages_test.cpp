// The frame with two grids on pages, as the editors with two rule lists use it: each grid's rows
// in their own section, the check grid by grid, and a copy that belongs to its grid.
#include "helpers/RuleEditorsFixture.h"

#include "core/ULanguage.h"
#include "platform/ComCtrls.h"

#include <gtest/gtest.h>

using GuiTest::TScriptedModalHook;

namespace {

// Two lists of a key and a number; a number below 0 is refused with the grid's name.
class TTwo_Lists : public TFRuleEditor {
public:
    explicit TTwo_Lists(TComponent *AOwner) : TFRuleEditor(AOwner, Def()) {}

protected:
    bool Check_Row(int Grid_Index, int Row, UnicodeString &Failure) override
    {
        if (Cell_Int(Grid_Index, 3, Row) >= 0)
            return true;
        Failure = Grid_Index == 0 ? QStringLiteral("!! read") : QStringLiteral("!! write");
        return false;
    }

private:
    static TRule_Editor_Def Def()
    {
        TRule_Grid G;
        G.Columns = {{.Header = 1208, .Width = 40},
                     {.Header = 1209, .Hint = 1220, .Attribute = "Enable", .Kind = TRule_Cell::Check, .Width = 50,
                      .Load_Default = "Y"},
                     {.Header = 1210, .Hint = 1221, .Attribute = "Key", .Width = 80},
                     {.Header = 1211, .Hint = 1222, .Attribute = "Value", .Width = 80, .Guarded = false}};
        G.Rows = 4;
        TRule_Editor_Def D;
        D.Name = "FTwo_Lists";
        D.Client_Width = 700;
        D.Text_Base = 1200;
        D.Button_Hints = 1214;
        D.Row_Prefix = 1444;
        D.Delete_Text = 1458;
        D.File = &File_SNMP_Trap;
        D.Root = QStringLiteral("Two");
        G.Section = QStringLiteral("Read");
        D.Grids.push_back(G);
        G.Section = QStringLiteral("Write");
        D.Grids.push_back(G);
        return D;
    }
};

TTwo_Lists *FTwo_Lists = nullptr;

class RuleFramePages : public TRuleEditorsTest {
protected:
    void SetUp() override
    {
        TRuleEditorsTest::SetUp();
        Application->CreateForm(FTwo_Lists);
    }
    void TearDown() override
    {
        delete FTwo_Lists;
        FTwo_Lists = nullptr;
        TRuleEditorsTest::TearDown();
    }
    static TExtColumnGrid *G(int i) { return FTwo_Lists->Grid(i); }
    static void Page(int i)
    {
        FTwo_Lists->PageControl1->SetActivePageIndex(i);
        GuiTest::ProcessEvents();
    }
};

TEST_F(RuleFramePages, EachGridKeepsItsRowsInItsSectionAndIsCheckedInTurn)
{
    const TModalResult Result = ShowDialog(FTwo_Lists, [&](TScriptedModalHook &hook) {
        ASSERT_NE(FTwo_Lists->PageControl1, nullptr);
        EXPECT_EQ(G(0)->Parent(), FTwo_Lists->Page(0));
        EXPECT_EQ(G(1)->Parent(), FTwo_Lists->Page(1));
        FillRow(G(0), 1, {"Y", "a", "1"});
        FillRow(G(0), 3, {"N", "b", "-1"});
        FillRow(G(1), 2, {"Y", "c", "-1"});

        // A copy in the first grid is no copy for the second.
        G(0)->SetRow(1);
        GuiTest::Click(FTwo_Lists->Btn_CopyRow);
        EXPECT_TRUE(FTwo_Lists->Copy_Flag(0));
        Page(1);
        G(1)->SetRow(4);
        hook.Answer(mrOk);
        GuiTest::Click(FTwo_Lists->Btn_PasteRow);
        EXPECT_EQ(RowTexts(G(1), 4), EmptyRow(G(1)));
        // The row buttons act on the grid of the page shown.
        G(1)->SetRow(1);
        GuiTest::Click(FTwo_Lists->Btn_InsRow);
        EXPECT_EQ(RowTexts(G(1), 3), QStringList({"Y", "c", "-1"}));
        EXPECT_EQ(RowTexts(G(0), 3), QStringList({"N", "b", "-1"}));

        // The second grid is checked once the first passes.
        EXPECT_FALSE(ClickOK(FTwo_Lists, hook, true));
        G(1)->SetCells(3, 3, QStringLiteral("7"));
        EXPECT_TRUE(ClickOK(FTwo_Lists, hook, false));
    });
    EXPECT_EQ(Result, mrOk);
    EXPECT_EQ(Messages, QStringList({Lang_Text(1102), QStringLiteral("Error row 3!! write")}));
    EXPECT_EQ(FileText(QStringLiteral("SNMP_Trap.xml")).trimmed(),
              QStringLiteral("<Two><Read><row Enable=\"Y\" Key=\"a\" Value=\"1\"/><row Enable=\"N\" Key=\"b\" Value=\"-1\"/>"
                             "</Read><Write><row Enable=\"Y\" Key=\"c\" Value=\"7\"/></Write></Two>"
                             "<!--SW_VERSION = 1.000-->"));

    // Reading back: each section fills its grid; a row without its unguarded value ends the load.
    WriteConf(QStringLiteral("SNMP_Trap.xml"), "<Two><Read><row Key=\"a\" Value=\"1\"/></Read>"
                                               "<Write><row Key=\"c\"/><row Key=\"d\" Value=\"2\"/></Write></Two>");
    ShowDialog(FTwo_Lists, [&](TScriptedModalHook &) {
        EXPECT_EQ(RowTexts(G(0), 1), QStringList({"Y", "a", "1"}));
        EXPECT_EQ(RowTexts(G(1), 1), QStringList({"Y", "c", ""}));
        EXPECT_EQ(RowTexts(G(1), 2), EmptyRow(G(1)));
        GuiTest::Click(FTwo_Lists->Btn_Cancel);
    }, 1);
    ASSERT_EQ(Messages.size(), 1);
    EXPECT_TRUE(Messages[0].contains(QStringLiteral("\"Value\""))) << Messages[0].toStdString();
}

} // namespace
