// The string grid's per-cell questions and event firers: argument order, the grid's own rules
// before the application's handler, and the handler's last word.
#include "grid/core/ExtGrid.h"

#include "controls/ExtGridUtil.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// Each firer is called for column 2, row 5; the handler records what it got as (first, second).
struct TOrderCase {
    const char *Name;
    std::function<void(TExtStringGrid &, std::pair<int, int> &)> Hook;
    std::function<void(TExtStringGrid &)> Fire;
    bool RowFirst;
};

TEST(ExtGridEvents, RowFirstAndColumnFirstEventsGetTheirOrder)
{
    TBrush brush;
    TFont font;
    TPen pen;
    const std::vector<TOrderCase> cases{
        {"OnGetCellColor", [](TExtStringGrid &g, auto &got) { g.OnGetCellColor = [&](TObject *, int a, int b, TGridDrawState, TBrush *, TFont *) { got = {a, b}; }; },
         [&](TExtStringGrid &g) { g.DoGetCellColor(2, 5, {}, &brush, &font); }, true},
        {"OnGetCellPrintColor", [](TExtStringGrid &g, auto &got) { g.OnGetCellPrintColor = [&](TObject *, int a, int b, TGridDrawState, TBrush *, TFont *) { got = {a, b}; }; },
         [&](TExtStringGrid &g) { g.DoGetCellPrintColor(2, 5, {}, &brush, &font); }, true},
        {"OnGetCellBorder", [](TExtStringGrid &g, auto &got) { g.OnGetCellBorder = [&](TObject *, int a, int b, TPen *, TCellBorders &) { got = {a, b}; }; },
         [&](TExtStringGrid &g) { TCellBorders cb; g.DoGetCellBorder(2, 5, &pen, cb); }, true},
        {"OnGetAlignment", [](TExtStringGrid &g, auto &got) { g.OnGetAlignment = [&](TObject *, int a, int b, TAlignment &, TVAlignment &) { got = {a, b}; }; },
         [](TExtStringGrid &g) { TAlignment h = taLeftJustify; TVAlignment v = vtaTop; g.DoGetAlignment(2, 5, h, v); }, true},
        {"OnGridHint", [](TExtStringGrid &g, auto &got) { g.OnGridHint = [&](TObject *, int a, int b, UnicodeString &) { got = {a, b}; }; },
         [](TExtStringGrid &g) { UnicodeString h, w; g.DoGridHint(2, 5, h, w); }, true},
        {"OnCanEditCell", [](TExtStringGrid &g, auto &got) { g.OnCanEditCell = [&](TObject *, int a, int b, bool &) { got = {a, b}; }; },
         [](TExtStringGrid &g) { bool e = true; g.CanEditCell(2, 5, e); }, true},
        {"OnIsFixedCell", [](TExtStringGrid &g, auto &got) { g.OnIsFixedCell = [&](TObject *, int a, int b, bool &) { got = {a, b}; }; },
         [](TExtStringGrid &g) { bool f = false; g.DoIsFixedCell(2, 5, f); }, true},
        {"OnIsPasswordCell", [](TExtStringGrid &g, auto &got) { g.OnIsPasswordCell = [&](TObject *, int a, int b, bool &) { got = {a, b}; }; },
         [](TExtStringGrid &g) { bool p = false; g.DoIsPasswordCell(2, 5, p); }, true},
        {"OnComboCloseUp", [](TExtStringGrid &g, auto &got) { g.OnComboCloseUp = [&](TObject *, int a, int b) { got = {a, b}; }; },
         [](TExtStringGrid &g) { g.DoComboCloseUp(5, 2); }, true},
        {"OnComboDropDown", [](TExtStringGrid &g, auto &got) { g.OnComboDropDown = [&](TObject *, int a, int b) { got = {a, b}; }; },
         [](TExtStringGrid &g) { g.DoComboDropDown(5, 2); }, true},
        {"OnGetEditorType", [](TExtStringGrid &g, auto &got) { g.OnGetEditorType = [&](TObject *, int a, int b, TEditorType &) { got = {a, b}; }; },
         [](TExtStringGrid &g) { TEditorType e = edNormal; g.DoGetEditorType(2, 5, e); }, false},
        {"OnGetWordWrap", [](TExtStringGrid &g, auto &got) { g.OnGetWordWrap = [&](TObject *, int a, int b, bool &) { got = {a, b}; }; },
         [](TExtStringGrid &g) { bool w = false; g.DoGetWordWrap(2, 5, w); }, false},
        {"OnHasComboBox", [](TExtStringGrid &g, auto &got) { g.OnHasComboBox = [&](TObject *, int a, int b, bool &) { got = {a, b}; }; },
         [](TExtStringGrid &g) { g.HasComboBox(2, 5); }, false},
        {"OnHasSpinEdit", [](TExtStringGrid &g, auto &got) { g.OnHasSpinEdit = [&](TObject *, int a, int b, bool &) { got = {a, b}; }; },
         [](TExtStringGrid &g) { g.HasSpinEdit(2, 5); }, false},
        {"OnGetCheckTrue", [](TExtStringGrid &g, auto &got) { g.OnGetCheckTrue = [&](TObject *, int a, int b, UnicodeString &) { got = {a, b}; }; },
         [](TExtStringGrid &g) { UnicodeString v; g.DoGetCheckTrue(2, 5, v); }, false},
        {"OnGetCheckFalse", [](TExtStringGrid &g, auto &got) { g.OnGetCheckFalse = [&](TObject *, int a, int b, UnicodeString &) { got = {a, b}; }; },
         [](TExtStringGrid &g) { UnicodeString v; g.DoGetCheckFalse(2, 5, v); }, false},
        {"OnButtonClick", [](TExtStringGrid &g, auto &got) { g.OnButtonClick = [&](TObject *, int a, int b) { got = {a, b}; }; },
         [](TExtStringGrid &g) { g.DoButtonClick(2, 5); }, false},
        {"OnExpandClick", [](TExtStringGrid &g, auto &got) { g.OnExpandClick = [&](TObject *, int a, int b, bool) { got = {a, b}; }; },
         [](TExtStringGrid &g) { g.DoExpandClick(2, 5, true); }, false},
        {"OnGetCellCursor", [](TExtStringGrid &g, auto &got) { g.OnGetCellCursor = [&](TObject *, int a, int b, int, int, TCursor &) { got = {a, b}; }; },
         [](TExtStringGrid &g) { g.DoGetCellCursor(2, 5, 0, 0); }, false},
        {"OnSearchFooterAction", [](TExtStringGrid &g, auto &got) { g.OnSearchFooterAction = [&](TObject *, const UnicodeString &, int a, int b, TSearchAction) { got = {a, b}; }; },
         [](TExtStringGrid &g) { g.DoSearchFooterAction("x", 2, 5, saFindNext); }, false},
    };
    for (const TOrderCase &c : cases) {
        TExtStringGrid g(nullptr);
        std::pair<int, int> got{-1, -1};
        c.Hook(g, got);
        c.Fire(g);
        const std::pair<int, int> want = c.RowFirst ? std::pair{5, 2} : std::pair{2, 5};
        EXPECT_EQ(got, want) << c.Name;
    }
}

TEST(ExtGridEvents, HeaderDropDownQuestionAndFocusBlockEvents)
{
    TExtStringGrid g(nullptr);
    EXPECT_TRUE(g.DoCanShowFixedDropDown(2));
    std::vector<int> asked;
    g.OnCanShowFixedDropDown = [&](TObject *Sender, int ACol, bool &CanShow) {
        EXPECT_EQ(Sender, &g);
        EXPECT_TRUE(CanShow);
        asked.push_back(ACol);
        CanShow = ACol != 3;
    };
    EXPECT_TRUE(g.DoCanShowFixedDropDown(2));
    EXPECT_FALSE(g.DoCanShowFixedDropDown(3));
    EXPECT_EQ(asked, (std::vector<int>{2, 3}));

    std::vector<std::string> blocks;
    g.DoStartBlockFocus();
    g.OnStartBlockFocus = [&](TObject *Sender) { blocks.push_back(Sender == &g ? "start" : "?"); };
    g.OnEndBlockFocus = [&](TObject *Sender) { blocks.push_back(Sender == &g ? "end" : "?"); };
    g.DoStartBlockFocus();
    g.DoEndBlockFocus();
    EXPECT_EQ(blocks, (std::vector<std::string>{"start", "end"}));
}

TEST(ExtGridEvents, ComboAndSpinButtons)
{
    TExtStringGrid g(nullptr);
    EXPECT_FALSE(g.HasComboBox(2, 2));
    g.ControlLook()->DropDownAlwaysVisible = true;
    EXPECT_FALSE(g.HasComboBox(2, 2));
    g.SetDefaultEditor(edComboList);
    EXPECT_TRUE(g.HasComboBox(2, 2));
    EXPECT_TRUE(g.HasComboBox(0, 0));
    g.OnGetEditorType = [](TObject *, int ACol, int, TEditorType &e) {
        if (ACol == 3)
            e = edNormal;
    };
    EXPECT_FALSE(g.HasComboBox(3, 2));
    // A handler of its own decides alone.
    g.OnHasComboBox = [](TObject *, int ACol, int, bool &has) { has = ACol == 4; };
    EXPECT_FALSE(g.HasComboBox(2, 2));
    EXPECT_TRUE(g.HasComboBox(4, 2));

    TExtStringGrid s(nullptr);
    int fired = 0;
    s.OnHasSpinEdit = [&](TObject *, int, int, bool &has) {
        ++fired;
        has = true;
    };
    EXPECT_FALSE(s.HasSpinEdit(0, 3));
    EXPECT_FALSE(s.HasSpinEdit(2, 0));
    EXPECT_EQ(fired, 0);
    EXPECT_TRUE(s.HasSpinEdit(2, 3));
    s.OnHasSpinEdit = nullptr;
    EXPECT_FALSE(s.HasSpinEdit(2, 3));
    s.ControlLook()->SpinButtonsAlwaysVisible = true;
    s.SetDefaultEditor(edFloatSpinEdit);
    EXPECT_TRUE(s.HasSpinEdit(2, 3));
}

TEST(ExtGridEvents, FixedCellsAreFixedWithoutAskingTheHandler)
{
    TExtStringGrid g(nullptr);
    std::vector<std::pair<int, int>> asked;
    g.OnIsFixedCell = [&](TObject *, int ARow, int ACol, bool &IsFixed) {
        asked.push_back({ACol, ARow});
        IsFixed = ACol == 4;
    };
    struct Case { int Col, Row; bool Fixed; bool Asked; };
    for (const Case &c : {Case{0, 3, true, false}, Case{2, 0, true, false}, Case{2, 3, false, true}, Case{4, 3, true, true}}) {
        asked.clear();
        bool fixed = false;
        g.DoIsFixedCell(c.Col, c.Row, fixed);
        EXPECT_EQ(fixed, c.Fixed) << c.Col << "," << c.Row;
        EXPECT_EQ(!asked.empty(), c.Asked) << c.Col << "," << c.Row;
    }
}

TEST(ExtGridEvents, CanEditCellRules)
{
    TExtStringGrid g(nullptr);
    int asked = 0;
    g.OnCanEditCell = [&](TObject *, int, int, bool &) { ++asked; };
    // Without cell properties the incoming answer stands and the handler is asked.
    bool can = true;
    g.CanEditCell(2, 2, can);
    EXPECT_TRUE(can);
    can = false;
    g.CanEditCell(2, 2, can);
    EXPECT_FALSE(can);
    EXPECT_EQ(asked, 2);
    // Beyond the columns: always editable, no event.
    can = false;
    g.CanEditCell(g.ColCount(), 2, can);
    EXPECT_TRUE(can);
    EXPECT_EQ(asked, 2);
    // A read-only cell, and any cell with properties while editing is off.
    g.CellProperties(3, 3)->SetReadOnly(true);
    TGridOptions o = g.Options();
    o.Include(goEditing);
    g.SetOptions(o);
    can = true;
    g.CanEditCell(3, 3, can);
    EXPECT_FALSE(can);
    g.CellProperties(1, 3);
    can = true;
    g.CanEditCell(1, 3, can);
    EXPECT_TRUE(can);
    o.Exclude(goEditing);
    g.SetOptions(o);
    can = true;
    g.CanEditCell(1, 3, can);
    EXPECT_FALSE(can);
    g.SetEditDisable(true);
    can = true;
    g.CanEditCell(1, 3, can);
    EXPECT_TRUE(can);
    // The handler has the last word.
    g.OnCanEditCell = [](TObject *, int, int, bool &c) { c = true; };
    can = true;
    g.CanEditCell(3, 3, can);
    EXPECT_TRUE(can);
}

TEST(ExtGridEvents, ColumnFilterListsDistinctTextsUnderTheClearItem)
{
    TExtStringGrid g(nullptr);
    g.SetRowCount(5);
    g.SetCells(1, 1, "New York");
    g.SetCells(1, 2, "Rome");
    g.SetCells(1, 3, " New York ");
    g.SetCells(1, 4, "New York");
    g.SetFilterDropDownAuto(true);
    int seen = -1;
    g.OnGetColumnFilter = [&](TObject *, int Column, TStrings *Filter) { seen = Filter->Count() * 10 + Column; };
    ASSERT_TRUE(g.DoGetColumnFilter(1));
    TStringList *l = g.FilterList();
    ASSERT_EQ(l->Count(), 3);
    EXPECT_EQ(l->Strings(0), "(All)");
    EXPECT_EQ(l->Strings(1), "New York=\"New York\"");
    EXPECT_EQ(l->Strings(2), "Rome");
    EXPECT_EQ(seen, 31);

    // Fixed columns only with fdAll; without automatic items the list is empty.
    EXPECT_FALSE(g.DoGetColumnFilter(0) && g.FilterList()->Count() > 1);
    g.SetFilterDropDownAuto(false);
    EXPECT_FALSE(g.DoGetColumnFilter(1));
    g.SetFilterDropDownAuto(true);
    g.SetFilterDropDownClear("");
    ASSERT_TRUE(g.DoGetColumnFilter(1));
    EXPECT_EQ(g.FilterList()->Strings(0), "New York=\"New York\"");
}

TEST(ExtGridEvents, WideHintReplacesThePlainOneOnlyWhenNotEmpty)
{
    TExtStringGrid g(nullptr);
    g.OnGridHint = [](TObject *, int, int, UnicodeString &h) { h = "plain"; };
    UnicodeString hint, wide;
    g.OnGridWideHint = [](TObject *, int, int, UnicodeString &w) { w.clear(); };
    g.DoGridHint(1, 1, hint, wide);
    EXPECT_EQ(hint, "plain");
    g.OnGridWideHint = [](TObject *, int, int, UnicodeString &w) { w = QString::fromUtf8("Grüße Ω"); };
    g.DoGridHint(1, 1, hint, wide);
    EXPECT_EQ(hint, EncodeWideCellText(QString::fromUtf8("Grüße Ω")));
    EXPECT_TRUE(hint.startsWith("|\\"));
}

TEST(ExtGridEvents, CellColourFromActiveCellPropertiesThenHandler)
{
    TExtStringGrid g(nullptr);
    TBrush brush;
    TFont font;
    brush.SetColor(clWindow);
    g.SetActiveCellShow(true);
    // Current cell (1, 1): the last fixed column of its row and the last fixed row of its column.
    g.DoGetCellColor(0, g.Row(), {}, &brush, &font);
    EXPECT_EQ(brush.Color(), g.ActiveCellColor());
    EXPECT_TRUE(font.Style().Contains(TFontStyle::fsBold));
    brush.SetColor(clWindow);
    g.DoGetCellColor(0, 3, {}, &brush, &font);
    EXPECT_EQ(brush.Color(), clWindow);

    // Properties colour the brush of plain cells and the font of every cell.
    g.SetActiveCellShow(false);
    TCellProperties *p = g.CellProperties(3, 3);
    p->SetBrushColor(TColorOf(0x112233u));
    p->SetFontColor(TColorOf(0x445566u));
    p->SetFontSize(14);
    g.DoGetCellColor(3, 3, {}, &brush, &font);
    EXPECT_EQ(brush.Color(), TColorOf(0x112233u));
    EXPECT_EQ(font.Color(), TColorOf(0x445566u));
    EXPECT_EQ(font.Size(), 14);
    g.AddCheckBox(3, 3, cbChecked);
    brush.SetColor(clWindow);
    g.DoGetCellColor(3, 3, {}, &brush, &font);
    EXPECT_EQ(brush.Color(), clWindow);

    g.OnGetCellColor = [](TObject *, int, int, TGridDrawState, TBrush *b, TFont *) { b->SetColor(clRed); };
    g.DoGetCellColor(3, 3, {}, &brush, &font);
    EXPECT_EQ(brush.Color(), clRed);
}

TEST(ExtGridEvents, BordersOfGroupRowsAndAlignmentOfTheRowCheckColumn)
{
    TExtStringGrid g(nullptr);
    TPen pen;
    TCellBorders b;
    g.Grouping()->SummaryLine = true;
    g.CreateCellGraphic(0, 4)->SetCellType(ctSummary);
    g.DoGetCellBorder(2, 4, &pen, b);
    EXPECT_EQ(b, TCellBorders{cbTop});
    EXPECT_EQ(pen.Width(), 2);
    b = TCellBorders();
    g.DoGetCellBorder(0, 4, &pen, b);
    EXPECT_EQ(b, TCellBorders());

    TAlignment h = taLeftJustify;
    TVAlignment v = vtaTop;
    g.MouseActions()->SetHotmailRowSelect(true);
    g.DoGetAlignment(0, 3, h, v);
    EXPECT_EQ(h, taCenter);
}

TEST(ExtGridEvents, CheckTextsEditorsAndVersion)
{
    TExtStringGrid g(nullptr);
    UnicodeString t, f;
    g.DoGetCheckTrue(1, 1, t);
    g.DoGetCheckFalse(1, 1, f);
    EXPECT_EQ(t, "Y");
    EXPECT_EQ(f, "N");
    g.OnGetCheckTrue = [](TObject *, int, int, UnicodeString &v) { v = "yes"; };
    g.DoGetCheckTrue(1, 1, t);
    EXPECT_EQ(t, "yes");

    EXPECT_FALSE(g.IsNoEditorCell(1, 1));
    g.OnGetEditorType = [](TObject *, int ACol, int, TEditorType &e) {
        if (ACol == 2)
            e = edNone;
    };
    EXPECT_TRUE(g.IsNoEditorCell(2, 1));
    EXPECT_FALSE(g.IsNoEditorCell(1, 1));

    EXPECT_EQ(g.GetVersionNr(), 0x06020103);
    EXPECT_EQ(g.GetVersionString(), "6.2.1.3 Sep, 2012");
}

} // namespace

namespace {

TEST(ExtGridEvents, NewCellPropertiesStartWithoutAColourWhereTheGridLookMustShow)
{
    TExtStringGrid g(nullptr);
    g.SetColor(TColorOf(0x123456u));
    EXPECT_EQ(g.CellProperties(2, 2)->BrushColor(), TColorOf(0x123456u));
    EXPECT_EQ(g.CellProperties(0, 2)->BrushColor(), clNone);
    EXPECT_EQ(g.CellProperties(2, 0)->BrushColor(), clNone);
    g.Bands()->SetActive(true);
    EXPECT_EQ(g.CellProperties(3, 3)->BrushColor(), clNone);
    EXPECT_EQ(g.CellProperties(3, 3)->FontName(), g.Font()->Name());
}

} // namespace
