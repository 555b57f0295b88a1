// The row operations that every rule editor shares, on a column grid alone: delete, insert, copy
// and paste through the program-wide row clipboard, and the Enter and header double-click options.
#include "core/UComon.h"

#include "core/ULanguage.h"
#include "grid/core/ExtColumnGrid.h"
#include "support/GuiTest.h"
#include "support/StringItems.h"

#include <gtest/gtest.h>

#include <memory>

using GuiTest::TScriptedModalHook;

void PrintTo(const QString &S, std::ostream *Out)
{
    *Out << '"' << S.toStdString() << '"';
}

namespace {

// A rule grid: row numbers, a check box, two text columns and a hidden one between them; five
// rows below the header.
class RowHelpers : public ::testing::Test {
protected:
    void SetUp() override
    {
        Load_Default_Lang();
        Create_Common_Lists();
        Saved_Jump = Opt_Jump_Field;
        Saved_AutoSize = Opt_AutoSize_Col;
        G = New_Grid(5);
        G->HideColumn(3);
        ASSERT_EQ(G->ColCount(), 4);
        ASSERT_EQ(G->NumHiddenColumns(), 1);
        for (int r = 1; r <= 5; ++r) {
            G->SetCells(0, r, QString::number(r));
            Fill(r, r % 2 ? "Y" : "N", QStringLiteral("ip%1").arg(r), QStringLiteral("h%1").arg(r),
                 QStringLiteral("m%1").arg(r));
        }
    }
    void TearDown() override
    {
        Opt_Jump_Field = Saved_Jump;
        Opt_AutoSize_Col = Saved_AutoSize;
        SL_Copy_Row.reset();
    }

    static std::unique_ptr<TExtColumnGrid> New_Grid(int Columns)
    {
        auto Grid = std::make_unique<TExtColumnGrid>(nullptr);
        Grid->SetColCount(Columns);
        Grid->SetRowCount(6);
        Grid->SetFixedRows(1);
        Grid->SetFixedCols(1);
        Grid->Columns()->Items(1)->SetEditor(edDataCheckBox);
        return Grid;
    }
    void Fill(int r, const char *Enable, const QString &A, const QString &Hidden, const QString &B)
    {
        G->SetCells(1, r, QString::fromLatin1(Enable));
        G->SetCells(2, r, A);
        G->SetCells(3, r, Hidden);
        G->SetCells(4, r, B);
    }
    // Columns 0 to 4 of a row, the hidden column 3 included.
    QStringList Row(int r) const
    {
        QStringList All;
        for (int c = 0; c <= 4; ++c)
            All << G->Cells(c, r);
        return All;
    }
    static QStringList L(std::initializer_list<const char *> Texts)
    {
        QStringList All;
        for (const char *T : Texts)
            All << QString::fromLatin1(T);
        return All;
    }

    std::unique_ptr<TExtColumnGrid> G;
    bool Saved_Jump = false;
    bool Saved_AutoSize = false;
};

TEST_F(RowHelpers, DeleteMovesTheRowsBelowUpAndBlanksTheLast)
{
    Delete_Row_Grid(2, G.get());
    EXPECT_EQ(Row(1), L({"1", "Y", "ip1", "h1", "m1"}));
    EXPECT_EQ(Row(2), L({"2", "Y", "ip3", "h3", "m3"}));
    EXPECT_EQ(Row(4), L({"4", "Y", "ip5", "h5", "m5"}));
    EXPECT_EQ(Row(5), L({"5", "", "", "", ""}));
    // The last row only blanks.
    Delete_Row_Grid(4, G.get());
    EXPECT_EQ(Row(3), L({"3", "N", "ip4", "h4", "m4"}));
    EXPECT_EQ(Row(4), L({"4", "", "", "", ""}));
    // Rows outside the rules change nothing.
    for (int Outside : {0, -1, 6, 100})
        Delete_Row_Grid(Outside, G.get());
    EXPECT_EQ(G->Cells(2, 0), QString());
    EXPECT_EQ(Row(1), L({"1", "Y", "ip1", "h1", "m1"}));
}

TEST_F(RowHelpers, InsertOpensABlankRowAndLosesTheLast)
{
    Insert_Row_Grid(2, G.get(), true);
    EXPECT_EQ(Row(1), L({"1", "Y", "ip1", "h1", "m1"}));
    // "Y" goes into column 1 only; the hidden column of the new row is blank too.
    EXPECT_EQ(Row(2), L({"2", "Y", "", "", ""}));
    EXPECT_EQ(Row(3), L({"3", "N", "ip2", "h2", "m2"}));
    EXPECT_EQ(Row(5), L({"5", "N", "ip4", "h4", "m4"}));
    Insert_Row_Grid(5, G.get(), false);
    EXPECT_EQ(Row(5), L({"5", "", "", "", ""}));
    EXPECT_EQ(Row(4), L({"4", "Y", "ip3", "h3", "m3"}));
}

TEST_F(RowHelpers, CopyTakesEveryColumnButTheRowNumberAndPasteWritesThemBack)
{
    Copy_Row_Grid(G.get(), 3);
    EXPECT_EQ(Items(*SL_Copy_Row), L({"Y", "ip3", "h3", "m3"}));
    // A row whose only text is its check box is overwritten without a question.
    Fill(5, "N", QString(), QStringLiteral("  "), QString());
    TScriptedModalHook Hook;
    Paste_Row_Grid(G.get(), 5, true);
    EXPECT_TRUE(Hook.Shown.empty());
    EXPECT_EQ(Row(5), L({"5", "Y", "ip3", "h3", "m3"}));

    // A used row asks first: No keeps it, Yes overwrites it.
    struct Case {
        TModalResult Answer;
        QStringList After;
    };
    const Case Cases[] = {{mrNo, L({"1", "Y", "ip1", "h1", "m1"})}, {mrYes, L({"1", "Y", "ip3", "h3", "m3"})}};
    for (const Case &C : Cases) {
        TScriptedModalHook Ask;
        Ask.Answer(C.Answer);
        Paste_Row_Grid(G.get(), 1, true);
        ASSERT_EQ(Ask.Shown.size(), 1u);
        EXPECT_EQ(Ask.Shown[0].Text, QStringLiteral("Row Already used. Do you want to overwrite the values?"));
        EXPECT_EQ(Ask.Shown[0].DlgType, mtConfirmation);
        EXPECT_EQ(Ask.Shown[0].Buttons, (std::vector<TMsgDlgBtn>{mbYes, mbNo}));
        EXPECT_EQ(Row(1), C.After);
    }
    // A hidden column alone makes a row used.
    Fill(4, "N", QString(), QStringLiteral("x"), QString());
    TScriptedModalHook Hidden;
    Hidden.Answer(mrNo);
    Paste_Row_Grid(G.get(), 4, true);
    EXPECT_EQ(Hidden.Shown.size(), 1u);
}

TEST_F(RowHelpers, PasteIsRefusedWithoutACopyOfThisGridOrFromAGridOfAnotherWidth)
{
    const auto Before = Row(2);
    struct Case {
        int Columns; // of the grid the row was copied from; 0: nothing copied
        bool Do_Copy;
        const char *Message;
    };
    const Case Cases[] = {
        {0, false, "Error!!! Copy a valid row before Paste it"},
        {5, false, "Error!!! Copy a valid row before Paste it"},
        {6, true, "Error in the Copy values!!! Copy a valid row before Paste it"},
        {4, true, "Error in the Copy values!!! Copy a valid row before Paste it"},
    };
    for (const Case &C : Cases) {
        SCOPED_TRACE(C.Columns);
        SL_Copy_Row->Clear();
        if (C.Columns) {
            const auto Other = New_Grid(C.Columns);
            Copy_Row_Grid(Other.get(), 1);
        }
        TScriptedModalHook Hook;
        Hook.Answer(mrOk);
        Paste_Row_Grid(G.get(), 2, C.Do_Copy);
        ASSERT_EQ(Hook.Shown.size(), 1u);
        EXPECT_EQ(Hook.Shown[0].Text, QString::fromLatin1(C.Message));
        EXPECT_EQ(Hook.Shown[0].DlgType, mtError);
        EXPECT_EQ(Row(2), Before);
    }
    // Another editor's grid with as many columns in all (none hidden) is a valid source.
    const auto Other = New_Grid(5);
    Other->SetCells(2, 1, QStringLiteral("from another editor"));
    Copy_Row_Grid(Other.get(), 1);
    TScriptedModalHook Hook;
    Hook.Answer(mrYes);
    Paste_Row_Grid(G.get(), 2, true);
    EXPECT_EQ(G->Cells(2, 2), QStringLiteral("from another editor"));
}

TEST_F(RowHelpers, EnterMovesToTheNextCellOnlyWithTheOption)
{
    struct Case {
        bool Option;
        int Col, Row;
        WideChar Key;
        int To_Col, To_Row;
        WideChar Key_After;
    };
    const Case Cases[] = {
        {true, 1, 1, 13, 2, 1, 0},  {true, 2, 3, 13, 3, 3, 0},  {true, 3, 3, 13, 1, 4, 0},
        {true, 3, 5, 13, 1, 1, 0},  {false, 2, 3, 13, 2, 3, 13}, {true, 2, 3, u'a', 2, 3, u'a'},
        {true, 2, 3, 10, 2, 3, 10},
    };
    for (const Case &C : Cases) {
        SCOPED_TRACE(testing::Message() << C.Option << " " << C.Col << "," << C.Row << " key " << int(C.Key));
        Opt_Jump_Field = C.Option;
        G->SetCol(C.Col);
        G->SetRow(C.Row);
        WideChar Key = C.Key;
        KeyPress_Grid(G.get(), Key);
        EXPECT_EQ(G->Col(), C.To_Col);
        EXPECT_EQ(G->Row(), C.To_Row);
        EXPECT_EQ(Key, C.Key_After);
    }
    // On a fixed cell nothing moves, but the Enter is still taken.
    auto Plain = std::make_unique<TExtColumnGrid>(nullptr);
    Plain->SetColCount(3);
    Plain->SetRowCount(3);
    Plain->SetFixedRows(0);
    Plain->SetFixedCols(0);
    Plain->SetCol(0);
    Plain->SetRow(1);
    Opt_Jump_Field = true;
    WideChar Key = 13;
    KeyPress_Grid(Plain.get(), Key);
    EXPECT_EQ(Key, 0);
    EXPECT_EQ(Plain->Col(), 0);
    EXPECT_EQ(Plain->Row(), 1);
}

TEST_F(RowHelpers, ADoubleClickSizesAColumnOnlyOnItsHeaderAndOnlyWithTheOption)
{
    G->SetCells(2, 4, QStringLiteral("a text much wider than the column it stands in"));
    G->SetColWidths(2, 30);
    struct Case {
        bool Option;
        int Row;
        bool Sized;
    };
    const Case Cases[] = {{false, 0, false}, {true, 1, false}, {true, 4, false}, {true, 0, true}};
    for (const Case &C : Cases) {
        SCOPED_TRACE(testing::Message() << C.Option << " row " << C.Row);
        Opt_AutoSize_Col = C.Option;
        DblClickCell_Grid(G.get(), C.Row, 2);
        EXPECT_EQ(G->ColWidths(2) > 30, C.Sized);
    }
}

} // namespace
