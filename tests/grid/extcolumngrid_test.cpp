// The column grid: items follow the columns, the per-cell answers come from the column's
// definition and the string grid keeps the last word, the column popup.
#include "grid/core/ExtColumnGrid.h"

#include "support/GuiTest.h"

#include <gtest/gtest.h>

namespace {

// Exposes the mouse handler, as a click on the grid's window would run it.
class TTestColumnGrid : public TExtColumnGrid {
public:
    using TExtColumnGrid::TExtColumnGrid;
    using TExtColumnGrid::GetEditMask;
    using TExtColumnGrid::MouseDown;
};

// A grid as the rule editors build it: a fixed row and column, one column per editor type, a
// read-only and a fixed column.
class ColumnGridFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        G = std::make_unique<TTestColumnGrid>(nullptr);
        G->SetColCount(7);
        G->SetRowCount(4);
        G->SetFixedRows(1);
        G->SetFixedCols(1);
        C(1)->SetEditor(edNormal);
        C(2)->SetEditor(edComboList);
        C(2)->ComboItems()->Add(QStringLiteral("A"));
        C(2)->ComboItems()->Add(QStringLiteral("B"));
        C(2)->SetDropDownCount(3);
        C(3)->SetEditor(edComboEdit);
        C(4)->SetEditor(edDataCheckBox);
        C(5)->SetReadOnly(true);
        C(6)->SetFixed(true);
    }
    TGridColumnItem *C(int i) const { return G->Columns()->Items(i); }
    std::unique_ptr<TTestColumnGrid> G;
};

TEST(ExtColumnGrid, ItemsFollowTheColumnCount)
{
    TExtColumnGrid g(nullptr);
    g.SetColCount(5);
    ASSERT_EQ(g.Columns()->Count(), 5);
    TGridColumnItem *four = g.Columns()->Items(4);
    four->SetAlignment(taCenter);
    four->SetEditor(edComboList);
    four->SetCheckTrue(QStringLiteral("J"));
    four->SetColor(clSilver);
    four->Font()->SetName(QStringLiteral("Courier New"));
    four->SetHeader(QStringLiteral("Four"));
    four->SetName(QStringLiteral("four"));

    g.SetColCount(7);
    ASSERT_EQ(g.Columns()->Count(), 7);
    for (int i : {5, 6}) {
        TGridColumnItem *c = g.Columns()->Items(i);
        EXPECT_EQ(c->Alignment(), taCenter);
        EXPECT_EQ(c->Editor(), edComboList);
        EXPECT_EQ(c->CheckTrue(), QStringLiteral("J"));
        // Colour and font come from the grid, the column's identity stays with item 4.
        EXPECT_EQ(c->Color(), g.Color());
        EXPECT_EQ(c->Font()->Name(), g.Font()->Name());
        EXPECT_TRUE(c->Header().isEmpty());
        EXPECT_TRUE(c->Name().isEmpty());
    }
    g.SetColCount(5);
    EXPECT_EQ(g.Columns()->Count(), 5);
    EXPECT_EQ(g.Columns()->Items(4)->Header(), QStringLiteral("Four"));
}

TEST(ExtColumnGrid, AddingAnItemGrowsTheGrid)
{
    TExtColumnGrid g(nullptr);
    g.SetColCount(3);
    g.SetFixedCols(1);
    g.Columns()->Add();
    EXPECT_EQ(g.ColCount(), 4);
}

TEST(ExtColumnGrid, HeaderWritesTheHeaderCellAndRebuildsTheHeaderList)
{
    TExtColumnGrid g(nullptr);
    g.SetColCount(5);
    g.SetFixedRows(1);
    g.Columns()->Items(3)->SetHeader(QStringLiteral("Value"));
    EXPECT_EQ(g.Cells(3, 0), QStringLiteral("Value"));
    ASSERT_EQ(g.ColumnHeaders()->Count(), 5);
    EXPECT_EQ(g.ColumnHeaders()->Strings(3), QStringLiteral("Value"));
    EXPECT_TRUE(g.ColumnHeaders()->Strings(0).isEmpty());
}

TEST(ExtColumnGrid, ColumnHeadersChangedLeavesTheLastEntryOut)
{
    TExtColumnGrid g(nullptr);
    g.SetColCount(5);
    g.SetFixedRows(0);
    g.ColumnHeaders()->BeginUpdate();
    for (const char *h : {"a", "b", "c", "d", "e"})
        g.ColumnHeaders()->Add(QString::fromLatin1(h));
    g.ColumnHeaders()->EndUpdate();
    g.ColumnHeadersChanged(&g);
    EXPECT_EQ(g.Columns()->Items(3)->Header(), QStringLiteral("d"));
    EXPECT_TRUE(g.Columns()->Items(4)->Header().isEmpty());
}

TEST(ExtColumnGrid, WidthIsTheGridsColumnWidth)
{
    TExtColumnGrid g(nullptr);
    g.SetColCount(3);
    g.Columns()->Items(1)->SetWidth(77);
    EXPECT_EQ(g.ColWidths(1), 77);
    g.SetColWidths(2, 33);
    EXPECT_EQ(g.Columns()->Items(2)->Width(), 33);
    TGridColumnItem loose(nullptr);
    EXPECT_EQ(loose.Width(), 0);
}

TEST_F(ColumnGridFixture, EditorTypeAndComboItemsPerCell)
{
    struct Case {
        int Col, Row;
        TEditorType Editor;
        bool Combo;
    };
    const Case cases[] = {
        {1, 1, edNormal, false}, {2, 2, edComboList, true}, {3, 1, edComboEdit, true},
        {4, 3, edDataCheckBox, false}, {2, 0, edNormal, false}, // the header row keeps the default
    };
    for (const Case &c : cases) {
        TEditorType e = edNormal;
        G->GetCellEditor(c.Col, c.Row, e);
        EXPECT_EQ(e, c.Editor) << c.Col << "," << c.Row;
        EXPECT_EQ(G->HasComboBox(c.Col, c.Row), c.Combo) << c.Col << "," << c.Row;
    }
    TEditorType e = edNormal;
    G->GetCellEditor(2, 1, e);
    ASSERT_EQ(G->ComboEditor()->Items()->Count(), 2);
    EXPECT_EQ(G->ComboEditor()->Items()->Strings(1), QStringLiteral("B"));
    EXPECT_EQ(G->ComboEditor()->DropDownCount(), 3);
    // A copy: later changes of the column leave the editor's list alone.
    C(2)->ComboItems()->Add(QStringLiteral("C"));
    EXPECT_EQ(G->ComboEditor()->Items()->Count(), 2);
}

TEST_F(ColumnGridFixture, EditorEventHasTheLastWord)
{
    G->OnGetEditorType = [](TObject *, int, int, TEditorType &e) { e = edSpinEdit; };
    TEditorType e = edNormal;
    G->GetCellEditor(2, 1, e);
    EXPECT_EQ(e, edSpinEdit);
    G->OnHasComboBox = [](TObject *, int, int, bool &has) { has = !has; };
    EXPECT_FALSE(G->HasComboBox(2, 1));
}

TEST_F(ColumnGridFixture, CanEditCellFromTheColumn)
{
    G->SetOptions(G->Options() - TGridOptions{goEditing});
    struct Case {
        int Col, Row;
        bool Editable;
    };
    const Case cases[] = {{1, 1, true}, {4, 2, true}, {5, 1, false}, {6, 1, false}, {1, 0, false}, {0, 1, false}};
    for (const Case &c : cases) {
        bool can = true;
        G->CanEditCell(c.Col, c.Row, can);
        EXPECT_EQ(can, c.Editable) << c.Col << "," << c.Row;
    }
    // A read-only cell property wins over an editable column.
    G->CellProperties(1, 2)->SetReadOnly(true);
    bool can = true;
    G->CanEditCell(1, 2, can);
    EXPECT_FALSE(can);
    // The application may still open a fixed row: the event comes last and starts from False.
    G->OnCanEditCell = [](TObject *, int ARow, int, bool &e) {
        if (ARow == 0)
            e = true;
    };
    can = false;
    G->CanEditCell(1, 0, can);
    EXPECT_TRUE(can);
}

TEST_F(ColumnGridFixture, FixedAndPasswordColumns)
{
    bool fixed = false;
    G->DoIsFixedCell(6, 2, fixed);
    EXPECT_TRUE(fixed);
    fixed = false;
    G->DoIsFixedCell(1, 2, fixed);
    EXPECT_FALSE(fixed);
    C(3)->SetPassword(true);
    bool pw = false;
    G->DoIsPasswordCell(3, 0, pw);
    EXPECT_TRUE(pw);
}

TEST_F(ColumnGridFixture, CheckTextsAreAppliedAfterTheEvent)
{
    G->OnGetCheckTrue = [](TObject *, int, int, UnicodeString &v) { v = QStringLiteral("X"); };
    UnicodeString t, f;
    G->DoGetCheckTrue(4, 2, t);
    G->DoGetCheckFalse(4, 2, f);
    EXPECT_EQ(t, QStringLiteral("Y"));
    EXPECT_EQ(f, QStringLiteral("N"));
    C(4)->SetCheckTrue(QStringLiteral("1"));
    G->DoGetCheckTrue(4, 2, t);
    EXPECT_EQ(t, QStringLiteral("1"));
    // The header row is not a check box cell: the event's text stays.
    G->DoGetCheckTrue(4, 0, t);
    EXPECT_EQ(t, QStringLiteral("X"));
}

TEST_F(ColumnGridFixture, DataCheckBoxCellsShareOneGraphic)
{
    EXPECT_EQ(G->GetCellType(4, 1), ctDataCheckBox);
    TCellGraphic *shared = G->GetCellGraphic(4, 1);
    ASSERT_NE(shared, nullptr);
    EXPECT_EQ(shared->CellType(), ctVirtCheckBox);
    EXPECT_EQ(G->GetCellGraphic(4, 2), shared);
    EXPECT_EQ(G->GetCellType(4, 0), ctEmpty);
    EXPECT_EQ(G->GetCellType(1, 1), ctEmpty);
    // A cell with a graphic of its own keeps it.
    G->AddCheckBox(4, 3, cbChecked);
    TCellGraphic *own = G->GetCellGraphic(4, 3);
    ASSERT_NE(own, shared);
    EXPECT_EQ(G->GetCellType(4, 3), own->CellType());
}

TEST_F(ColumnGridFixture, EditLimitAndMaskOfTheCurrentColumn)
{
    C(3)->SetEditLength(12);
    C(3)->SetEditMask(QStringLiteral("999"));
    G->SetCol(3);
    EXPECT_EQ(G->GetEditLimit(), 12);
    EXPECT_EQ(G->GetEditMask(3, 1), QStringLiteral("999"));
    G->SetCol(1);
    EXPECT_EQ(G->GetEditLimit(), 0);
}

TEST_F(ColumnGridFixture, ColumnSizeLimits)
{
    struct Case {
        int Min, Max, Proposed, Result;
    };
    const Case cases[] = {{0, 0, 20, 20}, {30, 0, 20, 30}, {0, 40, 90, 40}, {30, 40, 35, 35}};
    for (const Case &c : cases) {
        C(1)->SetMinSize(c.Min);
        C(1)->SetMaxSize(c.Max);
        int w = c.Proposed;
        G->DoUpdateColumnSize(1, w);
        EXPECT_EQ(w, c.Result);
    }
    C(2)->SetAutoMinSize(25);
    int w = 10;
    G->DoUpdateColumnAutoSize(2, w);
    EXPECT_EQ(w, 25);
    w = 10;
    G->DoUpdateColumnSize(99, w);
    EXPECT_EQ(w, 10);
}

TEST_F(ColumnGridFixture, ColumnByNameIsCaseSensitiveAndFirst)
{
    C(2)->SetName(QStringLiteral("Key"));
    C(5)->SetName(QStringLiteral("Key"));
    EXPECT_EQ(G->ColumnByName(QStringLiteral("Key")), C(2));
    EXPECT_EQ(G->ColumnByName(QStringLiteral("key")), nullptr);
    EXPECT_EQ(C(2)->DisplayName(), QStringLiteral("Col 2: Key"));
    EXPECT_EQ(C(1)->DisplayName(), QStringLiteral("Column 1"));
}

TEST_F(ColumnGridFixture, FilterListShowsFriendlyNames)
{
    C(1)->Filter()->Add(QStringLiteral("Big=>100"));
    C(1)->Filter()->Add(QStringLiteral("<5"));
    ASSERT_TRUE(G->DoGetColumnFilter(1));
    ASSERT_EQ(G->FilterList()->Count(), 2);
    EXPECT_EQ(G->FilterList()->Strings(0), QStringLiteral("Big"));
    EXPECT_EQ(G->FilterList()->Strings(1), QStringLiteral("<5"));
    EXPECT_FALSE(G->DoGetColumnFilter(2));
    EXPECT_FALSE(G->DoGetColumnFilter(40));
}

TEST_F(ColumnGridFixture, ColoursAndAlignmentFromTheColumn)
{
    C(1)->SetColor(TColorOf(0x123456));
    C(1)->SetAlignment(taRightJustify);
    C(1)->SetHeaderAlignment(taCenter);
    TBrush brush;
    TFont font;
    G->DoGetCellColor(1, 2, {}, &brush, &font);
    EXPECT_EQ(brush.Color(), TColorOf(0x123456));
    brush.SetColor(clWhite);
    G->DoGetCellColor(6, 2, {}, &brush, &font);
    EXPECT_EQ(brush.Color(), G->FixedColor());
    TAlignment h = taLeftJustify;
    TVAlignment v = vtaTop;
    G->DoGetAlignment(1, 2, h, v);
    EXPECT_EQ(h, taRightJustify);
    G->DoGetAlignment(1, 0, h, v);
    EXPECT_EQ(h, taCenter);
}

TEST_F(ColumnGridFixture, RightClickOnAHeaderPopsTheColumnMenu)
{
    TPopupMenu menu(nullptr);
    C(2)->SetColumnPopup(&menu);
    int firedCol = -1, firedRow = -1;
    G->OnColumnPopup = [&](TObject *, int ACol, int ARow, TPopupMenu *m) {
        EXPECT_EQ(m, &menu);
        firedCol = ACol;
        firedRow = ARow;
    };
    GuiTest::TScriptedModalHook hook;
    hook.Answer(mrCancel);
    const TRect r = G->CellRect(2, 0);
    ASSERT_FALSE(r.IsEmpty());
    G->MouseDown(mbRight, {}, r.Left + 2, r.Top + 2);
    EXPECT_EQ(firedCol, 2);
    EXPECT_EQ(firedRow, 0);
    EXPECT_EQ(hook.Shown.size(), 1u);
    // On a normal cell the event still fires for a right-click type, but the menu stays closed;
    // a left click does neither.
    firedRow = -1;
    const TRect n = G->CellRect(2, 1);
    G->MouseDown(mbRight, {}, n.Left + 2, n.Top + 2);
    EXPECT_EQ(firedRow, 1);
    EXPECT_EQ(hook.Shown.size(), 1u);
    firedRow = -1;
    G->MouseDown(mbLeft, {}, r.Left + 2, r.Top + 2);
    EXPECT_EQ(firedRow, -1);
    EXPECT_EQ(hook.Shown.size(), 1u);
}

TEST(ExtColumnGrid, VersionAndStartUp)
{
    TExtColumnGrid g(nullptr);
    EXPECT_EQ(g.GetVersionString(), QStringLiteral("3.1.3.1 Aug, 2012"));
    EXPECT_EQ(g.GetVersionNr(), 0x03010301);
    ExtColumnGridStartUp();
    ExtColumnGridStartUp();
    EXPECT_TRUE(bool(GetClass(QStringLiteral("TGridColumnCollection"))));
    ExtColumnGridShutDown();
    ExtColumnGridShutDown();
}

TEST(ExtColumnGrid, ChangeScaleScalesTheFirstColCountFonts)
{
    TExtColumnGrid g(nullptr);
    g.SetColCount(2);
    TGridColumnItem *c = g.Columns()->Items(0);
    c->Font()->SetSize(8);
    c->HeaderFont()->SetSize(9);
    g.ChangeScale(3, 2);
    EXPECT_EQ(c->Font()->Size(), 12);
    EXPECT_EQ(c->HeaderFont()->Size(), 14); // 13.5 rounds away from zero
}

} // namespace
