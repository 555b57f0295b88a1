// The look settings objects (defaults, what a setter passes on to the grid, Assign, change
// notifications) and the row and cell-exchange hooks of the string grid.
#include "grid/core/ExtGrid.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(ControlLook, DefaultsOfANewGrid)
{
    TExtStringGrid g(nullptr);
    TControlLook *l = g.ControlLook();
    EXPECT_EQ(l->CheckSize, 15);
    EXPECT_EQ(l->RadioSize, 10);
    EXPECT_EQ(l->DropDownCount, 8);
    EXPECT_EQ(l->ProgressMarginX(), 2);
    EXPECT_EQ(l->ProgressMarginY(), 2);
    EXPECT_EQ(l->Color(), clBlack);
    EXPECT_EQ(l->CommentColor, clRed);
    EXPECT_EQ(l->ProgressBorderColor(), clGray);
    EXPECT_EQ(l->FixedGradientFrom(), clNone);
    EXPECT_EQ(l->FixedGradientMirrorTo(), clNone);
    EXPECT_EQ(l->FixedGradientHoverFrom(), clWhite);
    EXPECT_EQ(l->FixedGradientHoverTo(), clGray);
    EXPECT_EQ(l->FixedGradientHoverBorder(), clSilver);
    EXPECT_EQ(l->FixedGradientDownFrom(), clSilver);
    EXPECT_EQ(l->FixedGradientDownTo(), clGray);
    EXPECT_EQ(l->FixedGradientDownBorder(), clGray);
    EXPECT_FALSE(l->CheckAlwaysActive);
    EXPECT_FALSE(l->ProgressXP());
    EXPECT_TRUE(l->CheckedGlyph()->Empty());
    EXPECT_EQ(l->HintMaxWidth(), 0);
    EXPECT_EQ(g.BackGround()->Display, bdTile);
    EXPECT_EQ(g.BackGround()->Cells, bcNormal);
    EXPECT_EQ(g.BackGround()->Color, clWindow);
    EXPECT_EQ(g.BackGround()->ColorTo, clBtnFace);
    EXPECT_EQ(g.DragScrollOptions()->Delays()->InitialDelay, 1000);
    EXPECT_EQ(g.DragScrollOptions()->Margins()->LeftMargin, 50);
    EXPECT_EQ(g.ProgressAppearance()->Steps(), 11);
    EXPECT_EQ(g.ProgressAppearance()->Level2Color(), TColorOf(5483007));
    EXPECT_EQ(g.ProgressAppearance()->Style(), psXP);
}

TEST(ControlLook, FixedGradientsReachTheGridUnlessUnset)
{
    TExtStringGrid g(nullptr);
    TControlLook *l = g.ControlLook();
    // What a form file stores for most of the configurator's grids.
    l->SetFixedGradientHoverFrom(clGray);
    l->SetFixedGradientHoverTo(clWhite);
    l->SetFixedGradientDownFrom(clGray);
    l->SetFixedGradientDownTo(clSilver);
    EXPECT_EQ(l->FixedGradientHoverFrom(), clGray);
    EXPECT_EQ(l->FixedGradientHoverTo(), clWhite);
    EXPECT_EQ(g.QRVGradientHoverFrom(), clGray);
    EXPECT_EQ(g.QRVGradientHoverTo(), clWhite);
    EXPECT_EQ(g.QRVGradientDownFrom(), clGray);
    EXPECT_EQ(g.QRVGradientDownTo(), clSilver);

    l->SetFixedGradientTo(clBlue);
    EXPECT_EQ(g.QRVGradientTo(), clBlue);
    l->SetFixedGradientTo(clNone);
    EXPECT_EQ(l->FixedGradientTo(), clNone);
    EXPECT_EQ(g.QRVGradientTo(), clBlue);

    l->SetFixedGradientMirrorTo(clRed);
    EXPECT_EQ(g.QRVGradientMirrorTo(), clRed);
    l->SetFixedGradientMirrorTo(clNone);
    EXPECT_EQ(g.QRVGradientMirrorTo(), clNone);
}

TEST(ControlLook, AssignCopiesItsListAndNotTheSwitches)
{
    TExtStringGrid a(nullptr), b(nullptr);
    TControlLook *src = a.ControlLook();
    src->SetFixedGradientFrom(clWhite);
    src->SetFixedGradientTo(clBtnFace);
    src->SetFixedGradientHoverBorder(clRed);
    src->SetCheckSize(20);
    src->SetControlStyle(TControlLook::csWinXP);
    src->SetCheckAlwaysActive(true);
    src->SetHintMaxWidth(300);
    src->SetFlatButton(true);
    src->SetProgressXP(true);
    src->SetFixedDropDownButton(true);
    src->DropDownHeader->SetColor(clLime);

    const TColor gridHoverBorder = b.QRVGradientHoverBorder();
    TControlLook *dst = b.ControlLook();
    dst->Assign(src);
    EXPECT_EQ(dst->FixedGradientFrom(), clWhite);
    EXPECT_EQ(dst->FixedGradientTo(), clBtnFace);
    EXPECT_EQ(dst->FixedGradientHoverBorder(), clRed);
    EXPECT_EQ(dst->CheckSize, 20);
    EXPECT_EQ(dst->ControlStyle(), TControlLook::csWinXP);
    EXPECT_TRUE(dst->CheckAlwaysActive);
    EXPECT_EQ(dst->HintMaxWidth(), 300);
    EXPECT_EQ(dst->DropDownHeader->Color(), clLime);
    EXPECT_FALSE(dst->FlatButton());
    EXPECT_FALSE(dst->ProgressXP());
    EXPECT_FALSE(dst->FixedDropDownButton());
    // Assign keeps to the stored values: the grid's own colours stay.
    EXPECT_EQ(b.QRVGradientHoverBorder(), gridHoverBorder);

    TBackGround other;
    dst->Assign(&other); // another class is ignored
    EXPECT_EQ(dst->CheckSize, 20);
}

TEST(GridProgressAppearance, ChangesAreToldOnceAndOnlyForNewValues)
{
    TGridProgressAppearance p;
    int changes = 0;
    p.OnChange = [&](TObject *) { ++changes; };
    p.SetCompleteColor(p.CompleteColor());
    p.SetSteps(11);
    p.SetShowPercentage(true);
    EXPECT_EQ(changes, 0);
    p.SetSteps(5);
    p.SetLevel0Color(clBlack);
    EXPECT_EQ(changes, 2);

    TGridProgressAppearance q;
    int qChanges = 0;
    q.OnChange = [&](TObject *) { ++qChanges; };
    q.Assign(&p);
    EXPECT_EQ(qChanges, 1);
    EXPECT_EQ(q.Steps(), 5);
    EXPECT_EQ(q.Level0Color(), clBlack);
}

TEST(DragScrollOptions, AssignCopiesDelaysMarginsAndActive)
{
    TDragScrollOptions a, b;
    a.Active = true;
    a.Delays()->RepeatDelay = 100;
    a.Margins()->BottomMargin = 7;
    b.Assign(&a);
    EXPECT_TRUE(b.Active);
    EXPECT_EQ(b.Delays()->RepeatDelay, 100);
    EXPECT_EQ(b.Margins()->BottomMargin, 7);
}

TEST(GridHooks, DeletingTheOnlyNormalRowEmptiesIt)
{
    TExtStringGrid g(nullptr);
    g.SetColCount(3);
    g.SetRowCount(2);
    g.SetCells(1, 1, "a");
    g.SetCells(2, 1, "b");
    std::vector<int> deleted;
    g.OnAutoDeleteRow = [&](TObject *, int ARow) { deleted.push_back(ARow); };
    g.DeleteRowAt(1);
    EXPECT_EQ(g.RowCount(), 2);
    EXPECT_EQ(g.Cells(1, 1), "");
    EXPECT_EQ(g.Cells(2, 1), "");
    EXPECT_EQ(deleted, std::vector<int>{1});

    // The emptied row loses its cell objects too, as any cleared row does.
    g.AddCheckBox(1, 1, cbChecked);
    g.DeleteRowAt(1);
    EXPECT_EQ(g.GetCellType(1, 1), ctEmpty);

    g.SetFixedRowAlways(true);
    g.DeleteRowAt(1);
    EXPECT_EQ(g.RowCount(), 1);
}

TEST(GridHooks, RowsAddedAndRemovedInsideANodeKeepItsSpan)
{
    TExtStringGrid g(nullptr);
    g.SetColCount(3);
    g.SetRowCount(8);
    g.AddNode(2, 3); // the node row 2 and its children 3 and 4
    g.InsertRowAt(3);
    EXPECT_EQ(g.RowCount(), 9);
    EXPECT_EQ(g.GetNodeSpan(2), 4);

    g.DeleteRowAt(4);
    EXPECT_EQ(g.RowCount(), 8);
    EXPECT_EQ(g.GetNodeSpan(2), 3);

    // A row outside the node leaves the span alone.
    g.DeleteRowAt(6);
    EXPECT_EQ(g.RowCount(), 7);
    EXPECT_EQ(g.GetNodeSpan(2), 3);
    g.InsertRowAt(1);
    EXPECT_EQ(g.RowCount(), 8);
    EXPECT_EQ(g.GetNodeSpan(3), 3);
}

TEST(GridHooks, SavedTextOfCheckBoxesHtmlAndTheHandler)
{
    TExtStringGrid g(nullptr);
    g.SetColCount(3);
    g.SetRowCount(4);
    UnicodeString v;

    g.AddCheckBox(1, 1, cbChecked);
    g.DoSaveCell(1, 1, v);
    EXPECT_EQ(v, "Y");
    g.AddCheckBox(1, 2, cbUnchecked);
    g.DoSaveCell(1, 2, v);
    EXPECT_EQ(v, "N");

    g.SetCells(2, 1, "<b>x</b>");
    g.SetSaveWithHTML(false);
    g.DoSaveCell(2, 1, v);
    EXPECT_EQ(v, "x");
    g.SetSaveWithHTML(true);
    g.DoSaveCell(2, 1, v);
    EXPECT_EQ(v, "<b>x</b>");

    // Rich text saves as its plain text, or whole on one line with SaveWithRTF.
    g.SetCells(2, 3, "{\\rtf1\\ansi {\\b bold}\\par\r\nplain}");
    g.DoSaveCell(2, 3, v);
    EXPECT_EQ(v, "bold\r\nplain");
    g.SetSaveWithRTF(true);
    g.DoSaveCell(2, 3, v);
    EXPECT_EQ(v, "{\\rtf1\\ansi {\\b bold}\\parplain}");

    g.OnSaveCell = [](TObject *, int, int, UnicodeString &Value) { Value += "!"; };
    g.DoSaveCell(2, 1, v);
    EXPECT_EQ(v, "<b>x</b>!");
}

TEST(GridHooks, LoadedTextIsStoredRawAfterTheHandler)
{
    TExtStringGrid g(nullptr);
    g.SetColCount(3);
    g.SetRowCount(4);
    g.MergeCells(1, 1, 2, 2);
    g.DoLoadCell(2, 2, "inner");
    // The raw slot of that very cell, not the range's base cell.
    EXPECT_EQ(g.GridCells(2, 2), "inner");
    EXPECT_EQ(g.GridCells(1, 1), "");
    g.OnLoadCell = [](TObject *, int, int, UnicodeString &Value) { Value = Value.toUpper(); };
    g.DoLoadCell(1, 3, "abc");
    EXPECT_EQ(g.GridCells(1, 3), "ABC");
    EXPECT_NO_THROW(g.DoLoadCell(9, 9, "outside"));
}

TEST(GridHooks, SelectionChangedIsToldInEveryLook)
{
    TExtStringGrid g(nullptr);
    g.SetColCount(3);
    g.SetRowCount(4);
    g.SetLook(glStandard);
    std::vector<int> got;
    g.OnSelectionChanged = [&](TObject *, int l, int t, int r, int b) { got = {l, t, r, b}; };
    g.DoSelectionChanged(1, 2, 2, 3);
    EXPECT_EQ(got, (std::vector<int>{1, 2, 2, 3}));
    EXPECT_TRUE(g.SelectionChangePending());
}

} // namespace
