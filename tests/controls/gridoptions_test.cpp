// The option groups of the string grid: defaults, what Assign copies and leaves, and the setters
// that do more than store.
#include "controls/GridOptions.h"

#include "platform/Grids.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(GridOptions, Defaults)
{
    TSearchFooter design(nullptr, true), run(nullptr, false);
    EXPECT_EQ(design.FindNextCaption(), "Find &next");
    EXPECT_EQ(design.FindPrevCaption(), "Find &previous");
    EXPECT_EQ(design.MatchCaseCaption(), "Match case");
    EXPECT_EQ(design.HintClose(), "Close");
    EXPECT_EQ(design.HintFindPrev(), "Find previous occurrence");
    EXPECT_EQ(design.HintHighlight(), "Highlight occurrences");
    EXPECT_EQ(design.HintFindNext(), "Find next occurrence");
    EXPECT_EQ(design.HighLightCaption(), "Highlight");
    EXPECT_TRUE(run.FindNextCaption().isEmpty());
    EXPECT_TRUE(run.HighLightCaption().isEmpty());
    EXPECT_TRUE(run.ShowFindPrev() && run.ShowFindNext() && run.ShowClose() && run.ShowHighLight() &&
                run.ShowMatchCase() && run.AutoSearch);
    EXPECT_FALSE(run.Visible() || run.AutoThemeAdapt() || run.SearchActiveColumnOnly || run.SearchMatchStart ||
                 run.SearchFixedCells || run.SearchHiddenRows || run.AlwaysHighLight);
    EXPECT_EQ(run.ColorTo(), clBtnFace);
    EXPECT_EQ(run.Color(), clWhite);
    EXPECT_EQ(run.SearchColumn, -1);
    EXPECT_EQ(run.SearchDirection, sdTopBottom);
    ASSERT_NE(run.Font(), nullptr);

    TNavigation n;
    const bool navTrue[] = {n.AllowClipboardColGrow, n.AllowClipboardRowGrow, n.CopyHTMLTagsToClipboard,
                            n.AdvanceAutoEdit, n.CursorWalkAlwaysEdit, n.EditSelectAll, n.SkipFixedCells,
                            n.SkipDisabledRows, n.AllowCtrlEnter, n.LeftRightRowSelect, n.ComboGetUpDown,
                            n.AdvanceOnEnterLoop, n.AdvanceSkipReadOnlyCells};
    for (bool b : navTrue)
        EXPECT_TRUE(b);
    const bool navFalse[] = {n.AllowInsertRow, n.AllowDeleteRow, n.AdvanceOnEnter, n.AdvanceInsert(),
                             n.AutoGotoWhenSorted(), n.AutoGotoIncremental, n.AutoComboDropSize,
                             n.AllowClipboardShortCuts, n.AllowRTFClipboard, n.AllowSmartClipboard,
                             n.AllowClipboardAlways, n.AdvanceAuto(), n.CursorWalkEditor, n.MoveRowOnSort,
                             n.KeepScrollOnSort, n.ImproveMaskSel, n.AlwaysEdit, n.LineFeedOnEnter,
                             n.KeepHorizScroll, n.AllowFmtClipboard, n.TabToNextAtEnd, n.AppendOnArrowDown,
                             n.MoveScrollOnly, n.CursorMoveRows};
    for (bool b : navFalse)
        EXPECT_FALSE(b);
    EXPECT_EQ(n.ClipboardPasteAction, paReplace);
    EXPECT_EQ(n.AdvanceDirection(), adLeftRight);
    EXPECT_EQ(n.TabAdvanceDirection, adLeftRight);
    EXPECT_EQ(n.InsertPosition, pInsertBefore);
    EXPECT_EQ(n.HomeEndKey, heFirstLastColumn);
    EXPECT_EQ(n.CursorAdvance, caDefault);

    TMouseActions m(nullptr);
    EXPECT_TRUE(m.PreciseNodeClick);
    EXPECT_TRUE(m.AutoSizeColOnDblClick);
    const bool mouseFalse[] = {m.ColSelect, m.RowSelect, m.AllSelect, m.DirectEdit, m.DirectComboDrop,
                               m.DirectComboClose, m.DirectDateClose, m.DirectDateDrop, m.DisjunctRowSelect(),
                               m.DisjunctColSelect(), m.AllColumnSize, m.AllRowSize, m.CaretPositioning,
                               m.SizeFixedCol, m.SizeFixedRow, m.DisjunctCellSelect(), m.HotmailRowSelect(),
                               m.RangeSelectAndEdit, m.NoAutoRangeScroll, m.PreciseCheckBoxCheck, m.CheckAllCheck,
                               m.NodeAllExpandContract, m.MoveRowOnNodeClick, m.RowSelectPersistent,
                               m.SelectOnRightClick, m.NoScrollOnPartialRow, m.EditOnDblClickOnly(),
                               m.DisjunctRowSelectNoCtrl};
    for (bool b : mouseFalse)
        EXPECT_FALSE(b);
    EXPECT_EQ(m.WheelIncrement, 0);
    EXPECT_EQ(m.WheelAction(), waMoveSelection);
    EXPECT_EQ(m.FixedRowsEdit, fceNone);
    EXPECT_EQ(m.FixedColsEditor, fceEdit);
    EXPECT_EQ(m.FixedComboValues()->Count(), 0);

    TSyncGrid s(nullptr);
    EXPECT_EQ(s.Grid(), nullptr);
    EXPECT_FALSE(s.ScrollHorizontal || s.ScrollVertical || s.SelectionRow || s.SelectionColumn || s.MoveRow ||
                 s.MoveColumn);

    TBands b;
    EXPECT_FALSE(b.Print || b.Active());
    EXPECT_EQ(b.TotalLength(), 2);
    EXPECT_EQ(b.PrimaryLength(), 1);
    EXPECT_EQ(b.SecondaryLength(), 1);
    EXPECT_EQ(b.PrimaryColor(), clInfoBk);
    EXPECT_EQ(b.SecondaryColor(), clWindow);

    TFocusHelper f(nullptr);
    EXPECT_FALSE(f.Enabled);
}

TEST(GridOptions, AssignCopiesAllButTheKeptFields)
{
    TSearchFooter a(nullptr, false), b(nullptr, false);
    a.SetFindNextCaption("next");
    a.SetVisible(true);
    a.SearchColumn = 3;
    a.SetAutoThemeAdapt(true);
    a.AutoSearch = false;
    a.SearchFixedCells = true;
    a.LastSearch = "abc";
    a.Font()->SetName("Tahoma");
    int changes = 0;
    b.OnChange = [&](TObject *) { ++changes; };
    b.Assign(&a);
    EXPECT_EQ(b.FindNextCaption(), "next");
    EXPECT_TRUE(b.Visible());
    EXPECT_EQ(b.SearchColumn, 3);
    EXPECT_EQ(b.Font()->Name(), "Tahoma");
    EXPECT_FALSE(b.AutoThemeAdapt());
    EXPECT_TRUE(b.AutoSearch);
    EXPECT_FALSE(b.SearchFixedCells);
    EXPECT_TRUE(b.LastSearch.isEmpty());
    EXPECT_EQ(changes, 0);

    TNavigation n1, n2;
    n1.SetAdvanceDirection(adTopBottom);
    n1.TabAdvanceDirection = adLeftRightInRow;
    n1.KeepScrollOnSort = true;
    n1.AllowInsertRow = true;
    n2.Assign(&n1);
    EXPECT_EQ(n2.AdvanceDirection(), adTopBottom);
    EXPECT_EQ(n2.TabAdvanceDirection, adLeftRightInRow);
    EXPECT_TRUE(n2.AllowInsertRow);
    EXPECT_FALSE(n2.KeepScrollOnSort);

    TMouseActions m1(nullptr), m2(nullptr);
    m1.SizeFixedRow = true;
    m1.SetHotmailRowSelect(true);
    m1.SetEditOnDblClickOnly(true);
    m1.FixedComboValues()->Add("x");
    m1.RowSelect = true;
    m1.WheelIncrement = 3;
    bool invalidated = false;
    m2.OnInvalidate = [&](TObject *) { invalidated = true; };
    m2.Assign(&m1);
    EXPECT_TRUE(m2.RowSelect);
    EXPECT_EQ(m2.WheelIncrement, 3);
    EXPECT_TRUE(m2.DisjunctRowSelect());
    EXPECT_FALSE(m2.SizeFixedRow);
    EXPECT_FALSE(m2.HotmailRowSelect());
    EXPECT_FALSE(m2.EditOnDblClickOnly());
    EXPECT_EQ(m2.FixedComboValues()->Count(), 0);
    EXPECT_TRUE(m2.OnInvalidate != nullptr);
    EXPECT_FALSE(invalidated);

    TBands b1, b2;
    b1.SetPrimaryLength(3);
    b1.SetSecondaryLength(2);
    b2.Assign(&b1);
    EXPECT_EQ(b2.TotalLength(), 5);

    // Another class is not taken.
    TBands b3;
    b3.Assign(&n1);
    EXPECT_EQ(b3.TotalLength(), 2);

    TFocusHelper f1(nullptr), f2(nullptr);
    f1.Enabled = true;
    f2.Assign(&f1);
    EXPECT_TRUE(f2.Enabled);
}

TEST(GridOptions, SettersWithBehaviour)
{
    TNavigation n;
    int navChanges = 0;
    n.OnChange = [&](TObject *) { ++navChanges; };
    n.SetAdvanceDirection(adTopBottom);
    n.SetAdvanceDirection(adTopBottom);
    n.SetAdvanceInsert(true);
    EXPECT_EQ(navChanges, 2);
    n.SetAdvanceAuto(true);
    EXPECT_TRUE(n.AdvanceOnEnter);
    n.SetAdvanceAuto(false);
    EXPECT_TRUE(n.AdvanceOnEnter);
    EXPECT_EQ(navChanges, 2);

    TMouseActions m(nullptr);
    int invalidates = 0, disables = 0, changes = 0;
    m.OnInvalidate = [&](TObject *) { ++invalidates; };
    m.OnDisableEdit = [&](TObject *) { ++disables; };
    m.OnChange = [&](TObject *) { ++changes; };
    m.SetHotmailRowSelect(true);
    EXPECT_TRUE(m.DisjunctRowSelect());
    EXPECT_TRUE(m.CheckAllCheck);
    m.SetHotmailRowSelect(false);
    EXPECT_EQ(invalidates, 2);
    m.SetEditOnDblClickOnly(false);
    m.SetEditOnDblClickOnly(true);
    EXPECT_EQ(disables, 1);
    m.SetWheelAction(waScroll);
    m.SetWheelAction(waScroll);
    EXPECT_EQ(changes, 1);
    // At run time the disjunct modes may be on together; at design time one rules out the others.
    m.SetDisjunctColSelect(true);
    m.SetDisjunctCellSelect(true);
    EXPECT_TRUE(m.DisjunctRowSelect() && m.DisjunctColSelect() && m.DisjunctCellSelect());
    m.OnIsDesigning = [](TObject *, bool &d) { d = true; };
    m.SetDisjunctColSelect(true);
    EXPECT_TRUE(m.DisjunctColSelect());
    EXPECT_FALSE(m.DisjunctRowSelect() || m.DisjunctCellSelect());
    TStringList values;
    values.Add("a");
    values.Add("b");
    m.SetFixedComboValues(&values);
    EXPECT_EQ(m.FixedComboValues()->Count(), 2);
    EXPECT_NE(m.FixedComboValues(), &values);

    TBands b;
    int bandChanges = 0;
    b.OnChange = [&](TObject *) { ++bandChanges; };
    b.SetPrimaryColor(clRed);
    b.SetPrimaryLength(4);
    EXPECT_EQ(b.PrimaryColor(), clRed);
    EXPECT_EQ(b.TotalLength(), 5);
    EXPECT_EQ(bandChanges, 0);
    b.SetActive(true);
    b.SetSecondaryColor(clBlue);
    b.SetSecondaryLength(3);
    b.SetSecondaryLength(3);
    EXPECT_EQ(bandChanges, 3);
    EXPECT_EQ(b.TotalLength(), 7);

    TSearchFooter s(nullptr, false);
    int footerChanges = 0;
    s.OnChange = [&](TObject *) { ++footerChanges; };
    s.SetVisible(false);
    s.SetColor(clWhite);
    s.SetVisible(true);
    EXPECT_EQ(footerChanges, 2);

    auto owner = std::make_unique<TStringGrid>(nullptr);
    auto other = std::make_unique<TStringGrid>(nullptr);
    TSyncGrid sync(owner.get());
    sync.SetGrid(other.get());
    sync.SetGrid(owner.get());
    EXPECT_EQ(sync.Grid(), other.get());
}

} // namespace
