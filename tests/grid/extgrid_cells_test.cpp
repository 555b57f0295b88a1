// Cells of the string grid beyond Cells: texts and objects by real row (hidden rows too), the
// editor's text by display column beside hidden columns and in merged ranges, per-cell and
// row-wide looks, rich text, the unsorted order and characters above 255.
#include "grid/core/ExtGrid.h"

#include "platform/ComCtrls.h"
#include "platform/Forms.h"
#include "platform/Windows.h"
#include "support/GuiTest.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>

namespace {

// The editor hooks are the platform's protected virtuals; the probe calls them as the editor does.
class TProbeGrid : public TExtStringGrid {
public:
    explicit TProbeGrid(TComponent *AOwner) : TExtStringGrid(AOwner) {}
    using TExtStringGrid::GetEditText;
    using TExtStringGrid::SetEditText;
};

class ExtGridCellsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application->Initialize();
        Grid = std::make_unique<TProbeGrid>(nullptr);
        Grid->SetColCount(4);
        Grid->SetRowCount(8);
        for (int R = 0; R < 8; ++R)
            for (int C = 0; C < 4; ++C)
                Grid->SetCells(C, R, QStringLiteral("%1:%2").arg(C).arg(R));
    }
    std::unique_ptr<TProbeGrid> Grid;
};

TEST_F(ExtGridCellsTest, AllCellsReachHiddenRowsByRealIndex)
{
    Grid->HideRow(3);
    EXPECT_EQ(Grid->AllCells(1, 3), QStringLiteral("1:3"));
    EXPECT_EQ(Grid->AllCells(1, 4), QStringLiteral("1:4"));
    EXPECT_EQ(Grid->Cells(1, 3), QStringLiteral("1:4")); // display row 3 is real row 4
    EXPECT_EQ(Grid->AllCells(-1, 3), QString());
    Grid->SetAllCells(2, 3, QStringLiteral("stored"));
    Grid->SetAllCells(2, 4, QStringLiteral("shown"));
    EXPECT_EQ(Grid->Cells(2, 3), QStringLiteral("shown"));
    EXPECT_EQ(Grid->AllGridCells(2, 3), QStringLiteral("stored"));

    // The display hook sees the real row of a hidden cell.
    int HookRow = -1;
    Grid->OnGetDisplText = [&](TObject *, int, int ARow, UnicodeString &V) {
        HookRow = ARow;
        V = V.toUpper();
    };
    EXPECT_EQ(Grid->AllCells(2, 3), QStringLiteral("STORED"));
    EXPECT_EQ(HookRow, 3);
    EXPECT_EQ(Grid->AllGridCells(2, 3), QStringLiteral("stored"));
    Grid->OnGetDisplText = nullptr;

    // The stored row is shorter than the grid grown since: the new columns read empty, and a
    // write grows the row.
    Grid->SetColCount(7);
    EXPECT_EQ(Grid->AllCells(6, 3), QString());
    EXPECT_EQ(Grid->AllObjects(6, 3), nullptr);
    EXPECT_EQ(Grid->GetAllGridObjects(6, 3), nullptr);
    TObject Mine;
    Grid->SetAllObjects(6, 3, &Mine);
    Grid->SetAllCells(5, 3, QStringLiteral("late"));
    EXPECT_EQ(Grid->AllObjects(6, 3), &Mine);

    Grid->UnHideRow(3);
    EXPECT_EQ(Grid->Cells(2, 3), QStringLiteral("stored"));
    EXPECT_EQ(Grid->Cells(5, 3), QStringLiteral("late"));
    EXPECT_EQ(Grid->Objects(6, 3), &Mine);
    EXPECT_EQ(Grid->AllObjects(6, 3), &Mine);
    Grid->SetAllObjects(6, 3, nullptr);
}

TEST_F(ExtGridCellsTest, EditorTextGoesToTheRealColumnAndTheBaseCell)
{
    Grid->HideColumn(1);
    // Display column 1 shows real column 2.
    EXPECT_EQ(Grid->GetEditText(1, 2), QStringLiteral("2:2"));
    Grid->SetEditText(1, 2, QStringLiteral("typed"));
    EXPECT_EQ(Grid->Cells(2, 2), QStringLiteral("typed"));
    EXPECT_EQ(Grid->Cells(1, 2), QStringLiteral("1:2"));
    Grid->UnHideColumn(1);

    Grid->MergeCells(1, 4, 2, 2);
    Grid->SetEditText(2, 5, QStringLiteral("merged"));
    EXPECT_EQ(Grid->GridCells(1, 4), QStringLiteral("merged"));
    EXPECT_EQ(Grid->GridCells(2, 5), QStringLiteral("2:5"));
    EXPECT_EQ(Grid->GetEditText(2, 5), QStringLiteral("merged"));

    Grid->SetCells(3, 1, QStringLiteral("a <b>bold</b> word"));
    EXPECT_EQ(Grid->GetEditText(3, 1), QStringLiteral("a bold word"));
    Grid->SetEditWithTags(true);
    EXPECT_EQ(Grid->GetEditText(3, 1), QStringLiteral("a <b>bold</b> word"));
    EXPECT_EQ(Grid->StrippedCells(3, 1), QStringLiteral("a bold word"));
}

TEST_F(ExtGridCellsTest, TypingNextToAHiddenColumnLeavesItAlone)
{
    TForm Form(nullptr);
    Form.SetBounds(0, 0, 500, 300);
    auto *G = new TExtStringGrid(&Form);
    G->SetParent(&Form);
    G->SetBounds(0, 0, 480, 260);
    G->SetColCount(4);
    G->SetRowCount(5);
    G->SetOptions(G->Options() + TGridOptions{goEditing});
    G->SetCells(1, 1, QStringLiteral("hidden"));
    G->HideColumn(1);
    Form.Show();
    Form.SetActiveControl(G);
    G->SetFocus();
    GuiTest::ProcessEvents();
    G->SetCol(1);
    G->SetRow(1);
    GuiTest::TypeText(G, QStringLiteral("xy"));
    ASSERT_TRUE(G->InEditMode());
    // Each keystroke already went to the cell: to the one shown, never to the hidden one.
    EXPECT_EQ(G->GridCells(2, 1), QStringLiteral("xy"));
    EXPECT_EQ(G->GridCells(1, 1), QStringLiteral("hidden"));
    TWinControl *F = GuiTest::FocusedControl();
    GuiTest::PressKey(F ? F : G, VK_RETURN);
    GuiTest::ProcessEvents();
    EXPECT_EQ(G->GridCells(2, 1), QStringLiteral("xy"));
    EXPECT_EQ(G->GridCells(1, 1), QStringLiteral("hidden"));
}

TEST_F(ExtGridCellsTest, RowColorNoneTakesOnlyItsColourAway)
{
    EXPECT_EQ(Grid->Colors(2, 2), clNone);
    EXPECT_EQ(Grid->GridObjects(2, 2), nullptr);
    Grid->SetColors(2, 2, clRed);
    EXPECT_NE(Grid->GridObjects(2, 2), nullptr);
    EXPECT_EQ(Grid->Colors(2, 2), clRed);

    Grid->SetReadOnly(1, 2, true);
    Grid->SetFontColors(3, 2, clBlue);
    Grid->SetRowColor(2, clYellow);
    for (int C = 1; C < 4; ++C)
        EXPECT_EQ(Grid->Colors(C, 2), clYellow) << C;
    EXPECT_EQ(Grid->Colors(0, 2), clNone); // fixed column left alone

    Grid->SetRowColor(2, clNone);
    EXPECT_EQ(Grid->GridObjects(2, 2), nullptr); // nothing but the colour: freed
    ASSERT_NE(Grid->GridObjects(1, 2), nullptr); // read-only stays
    EXPECT_TRUE(Grid->ReadOnly(1, 2));
    EXPECT_EQ(Grid->Colors(1, 2), clNone);
    ASSERT_NE(Grid->GridObjects(3, 2), nullptr); // its own font colour stays
    EXPECT_EQ(Grid->FontColors(3, 2), clBlue);

    // A check box keeps its graphic; only the gradient end goes.
    Grid->AddCheckBox(2, 5, cbChecked);
    Grid->SetRowColorTo(5, clGreen);
    EXPECT_EQ(Grid->ColorsTo(2, 5), clGreen);
    Grid->SetRowColorTo(5, clNone);
    ASSERT_NE(Grid->GridObjects(2, 5), nullptr);
    EXPECT_NE(Grid->GetCellType(2, 5), ctNone);
    EXPECT_EQ(Grid->ColorsTo(2, 5), clNone);
    EXPECT_EQ(Grid->GridObjects(1, 5), nullptr);

    Grid->SetRowFontColor(6, clMaroon);
    EXPECT_EQ(Grid->FontColors(1, 6), clMaroon);
    Grid->SetRowFontColor(6, clNone);
    EXPECT_EQ(Grid->GridObjects(1, 6), nullptr);
}

TEST_F(ExtGridCellsTest, PerCellLooksReadTheirDefaultsWithoutMakingAnObject)
{
    EXPECT_EQ(Grid->ColorsTo(1, 1), clNone);
    EXPECT_EQ(Grid->Gradients(1, 1), GradientVertical);
    EXPECT_FALSE(Grid->ReadOnly(1, 1));
    EXPECT_EQ(Grid->FontNames(1, 1), QString());
    EXPECT_EQ(Grid->FontSizes(1, 1), 0);
    EXPECT_EQ(Grid->Alignments(1, 1), taLeftJustify);
    EXPECT_TRUE(Grid->WordWraps(1, 1));
    EXPECT_EQ(Grid->GridObjects(1, 1), nullptr);

    Grid->SetAlignments(1, 1, taRightJustify);
    Grid->SetFontSizes(1, 1, 14);
    Grid->SetGradients(1, 1, GradientHorizontal);
    Grid->SetWordWraps(1, 1, false);
    TFont F;
    F.SetName(QStringLiteral("Courier New"));
    F.SetColor(clNavy);
    Grid->SetCellFont(2, 1, &F);
    EXPECT_EQ(Grid->Alignments(1, 1), taRightJustify);
    EXPECT_EQ(Grid->FontSizes(1, 1), 14);
    EXPECT_EQ(Grid->Gradients(1, 1), GradientHorizontal);
    EXPECT_FALSE(Grid->WordWraps(1, 1));
    EXPECT_EQ(Grid->FontNames(2, 1), QStringLiteral("Courier New"));
    EXPECT_EQ(Grid->FontColors(2, 1), clNavy);
    // Outside the grid a write does nothing.
    Grid->SetColors(40, 1, clRed);
    EXPECT_EQ(Grid->Colors(40, 1), clNone);
}

TEST_F(ExtGridCellsTest, RichTextRoundTripAndPlainTextWhole)
{
    TRichEdit RE(nullptr);
    Grid->SetCells(1, 1, QStringLiteral("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 Hello \\b bold\\b0\\par}"));
    Grid->CellToRich(1, 1, &RE);
    EXPECT_EQ(RE.Lines()->Strings(0), QStringLiteral("Hello bold"));
    Grid->RichToCell(2, 1, &RE);
    const UnicodeString Saved = Grid->Cells(2, 1);
    EXPECT_TRUE(Saved.startsWith(QStringLiteral("{\\rtf")));
    TRichEdit Again(nullptr);
    Grid->CellToRich(2, 1, &Again);
    EXPECT_EQ(Grid->RichToString(&Again), Saved);

    Grid->SetCells(3, 1, QString());
    Grid->CellToRich(3, 1, &RE);
    EXPECT_EQ(RE.Lines()->Count(), 0);

    // Characters above 255 in a plain cell: stored, read and handed on whole.
    const UnicodeString Wide = QStringLiteral("\u03A9mega \u20AC \u2713");
    Grid->SetCells(1, 2, Wide);
    EXPECT_EQ(Grid->Cells(1, 2), Wide);
    EXPECT_EQ(Grid->WideCells(1, 2), Wide);
    EXPECT_EQ(Grid->AllWideCells(1, 2), Wide);
    EXPECT_EQ(Grid->StrippedCells(1, 2), Wide);
    EXPECT_EQ(Grid->GetEditText(1, 2), Wide);
    Grid->CellToRich(1, 2, &RE);
    EXPECT_EQ(RE.Lines()->Text().trimmed(), Wide);
}

TEST_F(ExtGridCellsTest, UnsortedOrderAndZoom)
{
    // Row p shows original row XRef[p]; original row 3 went nowhere the sort knows.
    for (int V : {0, 1, 4, 2, 5})
        Grid->SortRowXRef()->Add(V);
    EXPECT_EQ(Grid->UnSortedCells(1, 4), QStringLiteral("1:2"));
    EXPECT_EQ(Grid->UnSortedCells(1, 3), QString());
    Grid->SetUnSortedCells(1, 3, QStringLiteral("lost"));
    for (int R = 0; R < 8; ++R)
        EXPECT_NE(Grid->Cells(1, R), QStringLiteral("lost"));
    EXPECT_EQ(Grid->UnSortedCells(1, 7), QStringLiteral("1:7")); // beyond the sorted rows
    EXPECT_EQ(Grid->UnSortedRowIndex(4), 2);
    EXPECT_EQ(Grid->UnSortedRowIndex(3), 5);
    EXPECT_EQ(Grid->SortedRowIndex(2), 4);

    const int W = Grid->ColWidths(1), H = Grid->RowHeights(1);
    Grid->Zoom(5);
    Grid->Zoom(5);
    Grid->Zoom(1); // past 10: refused
    EXPECT_EQ(Grid->ZoomFactor(), 10);
    EXPECT_EQ(Grid->ColWidths(1), W + 10);
    EXPECT_EQ(Grid->RowHeights(1), H + 10);
    EXPECT_EQ(Grid->LinesInCell(1, 1), 1);
    Grid->SetCells(1, 1, QStringLiteral("a\rb\rc"));
    EXPECT_EQ(Grid->LinesInCell(1, 1), 3);
}

TEST_F(ExtGridCellsTest, OriginalCellsFollowAMovedColumn)
{
    Grid->MoveColumn(1, 3);
    EXPECT_EQ(Grid->Cells(3, 2), QStringLiteral("1:2"));
    EXPECT_EQ(Grid->OriginalCells(1, 2), QStringLiteral("1:2"));
    Grid->SetOriginalCells(1, 2, QStringLiteral("moved"));
    EXPECT_EQ(Grid->Cells(3, 2), QStringLiteral("moved"));
}

} // namespace

namespace {

// A row written at once reads as the same texts written cell by cell, also where a cell has its
// own properties, lies in a merged range or sits beside a hidden column.
TEST(ExtGridRowCells, ARowWrittenAtOnceReadsAsItsCellsWrittenOneByOne)
{
    struct TCase {
        const char *Name;
        std::function<void(TExtStringGrid *)> Setup;
    };
    const TCase Cases[] = {
        {"plain", [](TExtStringGrid *) {}},
        {"objects", [](TExtStringGrid *G) {
             G->SetObjectEx(0, 2, reinterpret_cast<TObject *>(std::intptr_t(7)));
             G->SetObjectEx(2, 3, reinterpret_cast<TObject *>(std::intptr_t(9)));
         }},
        {"merged", [](TExtStringGrid *G) { G->MergeCells(1, 2, 2, 2); }},
        {"hidden column", [](TExtStringGrid *G) { G->HideColumn(1); }},
    };
    Application->Initialize();
    for (const TCase &c : Cases) {
        std::unique_ptr<TExtStringGrid> grids[2];
        for (auto &g : grids) {
            g = std::make_unique<TExtStringGrid>(nullptr);
            g->SetColCount(4);
            g->SetRowCount(5);
            for (int r = 0; r < 5; ++r)
                for (int col = 0; col < 4; ++col)
                    g->SetCells(col, r, QStringLiteral("%1:%2").arg(col).arg(r));
            c.Setup(g.get());
        }
        for (int r = 1; r < 5; ++r) {
            const QString texts[] = {QStringLiteral("a%1").arg(r), QString(), QStringLiteral("long text %1").arg(r)};
            const QStringView views[] = {texts[0], texts[1], texts[2]};
            const int count = r == 4 ? 2 : 3;
            grids[0]->SetRowCells(r, views, count);
            for (int col = 0; col < count; ++col)
                grids[1]->SetCells(col, r, texts[col]);
        }
        for (int r = 0; r < 5; ++r)
            for (int col = 0; col < 4; ++col) {
                EXPECT_EQ(grids[0]->Cells(col, r), grids[1]->Cells(col, r)) << c.Name << " " << col << "," << r;
                EXPECT_EQ(grids[0]->GetObjectEx(col, r), grids[1]->GetObjectEx(col, r)) << c.Name << " " << col << "," << r;
            }
    }
}

} // namespace
