// Cell objects: the graphic's setters, what it frees by kind, copies that own nothing, picture
// sizes, tree node looks, and the grid's graphic slot and tri-state check boxes.
#include "grid/core/ExtGrid.h"

#include "support/CountedObjects.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using TCountedBitmap = TCounted<TBitmap>;
using TCountedIcon = TCounted<TIcon>;

TEST(CellGraphic, SettersWriteTheirKindAndFields)
{
    TCellGraphic g;
    EXPECT_EQ(g.CellType(), ctNone);
    EXPECT_FALSE(g.CellCreated());

    for (auto [in, out] : {std::pair{-90, 270}, {725, 5}, {360, 360}, {0, 0}, {-360, 0}}) {
        g.SetAngle(SmallInt(in));
        EXPECT_EQ(g.CellType(), ctRotated);
        EXPECT_EQ(g.CellAngle(), out) << in;
    }

    g.SetButton(80, 24, "Go", haCenter, vaCenter);
    EXPECT_EQ(g.CellType(), ctButton);
    EXPECT_EQ(unsigned(g.CellIndex()) >> 16, 24u);
    EXPECT_EQ(g.CellIndex() & 0xFFFF, 80);
    EXPECT_EQ(g.CellText(), "Go");

    g.SetCheckBox(true, true, true, haBeforeText, vaBottom);
    EXPECT_EQ(g.CellType(), ctDataCheckBox);
    EXPECT_TRUE(g.CellBoolean());
    EXPECT_TRUE(g.CellTransparent());
    g.SetCheckBox(true, false, false, haLeft, vaTop);
    EXPECT_EQ(g.CellType(), ctCheckBox);
    g.SetCheckBox(cbGrayed, true, haLeft, vaTop);
    EXPECT_EQ(g.CellType(), ctTriStateCheckBox);
    EXPECT_EQ(g.CellCheckBoxState(), cbGrayed);
    EXPECT_FALSE(g.CellBoolean());
    // Fields a setter does not name keep their values.
    EXPECT_EQ(g.CellText(), "Go");

    TInterfacedPersistent obj;
    g.SetInterfacedCell(&obj);
    EXPECT_EQ(g.CellType(), ctInterface);
    EXPECT_EQ(g.CellObject(), &obj);
}

TEST(CellGraphic, DestroyFreesWhatTheKindOwns)
{
    struct Case {
        const char *Name;
        std::function<void(TCellGraphic &, TBitmap *)> Set;
        bool Created;
        int Freed;
    };
    const std::vector<Case> cases{
        {"bitmap handed in", [](TCellGraphic &g, TBitmap *b) { g.SetBitmap(b, false, haLeft, vaTop); }, false, 0},
        {"bitmap created", [](TCellGraphic &g, TBitmap *b) { g.SetBitmap(b, false, haLeft, vaTop); }, true, 1},
        {"bit button glyph created", [](TCellGraphic &g, TBitmap *b) { g.SetBitButton(10, 10, "x", b, haLeft, vaTop); }, true, 1},
        {"check box with glyph", [](TCellGraphic &g, TBitmap *b) { g.SetCheckBox(true, false, false, haLeft, vaTop); g.SetCellObject(b); g.SetCellAngle(1); }, false, 1},
        {"check box plain", [](TCellGraphic &g, TBitmap *b) { g.SetCheckBox(true, false, false, haLeft, vaTop); g.SetCellObject(b); }, false, 0},
        {"balloon", [](TCellGraphic &g, TBitmap *b) { g.SetCellType(ctBalloon); g.SetCellObject(b); }, false, 1},
        {"interface", [](TCellGraphic &g, TBitmap *b) { g.SetCellType(ctInterface); g.SetCellObject(b); }, true, 0},
    };
    for (const Case &c : cases) {
        GFreed = 0;
        auto *bmp = new TCountedBitmap();
        {
            TCellGraphic g;
            c.Set(g, bmp);
            g.SetCellCreated(c.Created);
        }
        EXPECT_EQ(GFreed, c.Freed) << c.Name;
        if (GFreed == 0)
            delete bmp;
    }

    GFreed = 0;
    {
        TCellGraphic g;
        g.SetIcon(new TCountedIcon(), haLeft, vaTop);
        g.SetCellCreated(true);
    }
    EXPECT_EQ(GFreed, 1);

    // The image index list of a multi-image cell is always the graphic's own.
    TCellGraphic m;
    int changed = 0;
    m.SetMultiImage(3, 4, 0, haLeft, vaTop, [&](TObject *, int c, int r) { changed = c * 10 + r; });
    auto *list = dynamic_cast<TIntList *>(m.CellObject());
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(m.CellBoolean());
    list->Add(1);
    EXPECT_EQ(changed, 34);
}

TEST(CellGraphic, AssignCopiesValuesButNoObjects)
{
    GFreed = 0;
    auto *callers = new TCountedBitmap();
    TCellGraphic src;
    src.SetBitmap(callers, true, haRight, vaCenter);
    src.SetCellIndex(7);
    src.SetCellText("t");
    src.SetCellVar(42);
    src.SetCellCheckBoxState(cbChecked);

    TCellGraphic dst;
    dst.SetBitmap(new TCountedBitmap(), false, haLeft, vaTop);
    dst.SetCellCreated(true);
    dst.Assign(&src);
    // Its own bitmap went, the caller's stays untouched and unreferenced.
    EXPECT_EQ(GFreed, 1);
    EXPECT_EQ(dst.CellType(), ctBitmap);
    EXPECT_EQ(dst.CellObject(), nullptr);
    EXPECT_EQ(dst.CellHAlign(), haRight);
    EXPECT_EQ(dst.CellVAlign(), vaCenter);
    EXPECT_EQ(dst.CellIndex(), 7);
    EXPECT_TRUE(dst.CellTransparent());
    EXPECT_EQ(dst.CellText(), "t");
    EXPECT_FALSE(dst.CellVar().isValid());
    EXPECT_EQ(dst.CellCheckBoxState(), cbUnchecked);

    // A copy of a graphic that owned its bitmap frees nothing of the source.
    src.SetCellCreated(true);
    {
        TCellGraphic copy;
        copy.Assign(&src);
    }
    EXPECT_EQ(GFreed, 1);
    src.SetCellCreated(false);
    delete callers;
}

TEST(CellGraphic, PictureSizeByStretchMode)
{
    struct Case {
        TStretchMode Mode;
        int W, H, Cw, Rh, Pad;
        TPoint Want;
    };
    const Case cases[]{
        {StretchWithAspectRatio, 100, 50, 60, 60, 0, {60, 30}},
        {StretchWithAspectRatio, 50, 100, 60, 60, 0, {30, 60}},
        {ShrinkWithAspectRatio, 40, 20, 60, 60, 0, {40, 20}},
        {ShrinkWithAspectRatio, 100, 50, 60, 60, 0, {60, 30}},
        {Stretch, 10, 10, 60, 40, 4, {56, 36}},
        {Shrink, 10, 10, 60, 40, 0, {10, 10}},
        {Shrink, 100, 10, 60, 40, 0, {60, 40}},
        {noStretch, 100, 50, 60, 60, 0, {100, 50}},
        // 25 x 0.5 = 12.5 goes to the even neighbour.
        {StretchWithAspectRatio, 25, 40, 100, 20, 0, {12, 20}},
    };
    for (const Case &c : cases) {
        TPicture pic;
        TBitmap bmp;
        bmp.SetSize(c.W, c.H);
        pic.SetBitmap(&bmp);
        TCellGraphic g;
        g.SetPicture(&pic, false, c.Mode, c.Pad, haLeft, vaTop);
        const TPoint got = g.GetPictureSize(c.Cw, c.Rh, true);
        EXPECT_EQ(got.X, c.Want.X) << int(c.Mode) << " " << c.W << "x" << c.H;
        EXPECT_EQ(got.Y, c.Want.Y) << int(c.Mode) << " " << c.W << "x" << c.H;
    }
    TCellGraphic none;
    none.SetButton(1, 1, "", haLeft, vaTop);
    EXPECT_EQ(none.GetPictureSize(60, 60, false).X, 0);
}

TEST(CellNode, DefaultsSettersAndAssign)
{
    TExtStringGrid grid(nullptr);
    TCellNode *n = grid.CellNode();
    EXPECT_EQ(n->Color(), TColorOf(0xC0C0C0u));
    EXPECT_EQ(n->NodeColor(), TColorOf(0));
    EXPECT_EQ(n->TreeColor(), TColorOf(0x808080u));
    EXPECT_TRUE(n->ShowTree());
    EXPECT_TRUE(n->ShowTreeFull());
    EXPECT_FALSE(n->ExpandOne());
    TBitmap glyph;
    glyph.SetSize(9, 9);
    n->SetExpandGlyph(&glyph);
    EXPECT_NE(n->ExpandGlyph(), &glyph);
    EXPECT_EQ(n->ExpandGlyph()->Width(), 9);
    n->SetNodeType(cnGlyph);
    n->SetTreeColor(clRed);

    TExtStringGrid other(nullptr);
    other.CellNode()->Assign(n);
    EXPECT_EQ(other.CellNode()->NodeType(), cnGlyph);
    EXPECT_EQ(other.CellNode()->TreeColor(), clRed);
    EXPECT_EQ(other.CellNode()->ExpandGlyph()->Width(), 9);
    EXPECT_NE(other.CellNode()->ExpandGlyph(), n->ExpandGlyph());
}

TEST(GridCellGraphics, CreateReplaceAndRemove)
{
    TExtStringGrid g(nullptr);
    EXPECT_EQ(g.GetCellType(-1, 1), ctEmpty);
    EXPECT_EQ(g.GetCellType(2, 2), ctEmpty);
    EXPECT_EQ(g.GetCellGraphic(2, 2), nullptr);
    EXPECT_FALSE(g.RemoveCellGraphic(2, 2));

    TCellGraphic *first = g.CreateCellGraphic(2, 2);
    first->SetButton(10, 10, "a", haLeft, vaTop);
    EXPECT_EQ(g.Cells(2, 2), "");
    TCellGraphic *second = g.CreateCellGraphic(2, 2);
    EXPECT_NE(second, nullptr);
    EXPECT_EQ(g.GetCellGraphic(2, 2), second);
    EXPECT_EQ(g.GetCellType(2, 2), ctNone);

    second->SetCheckBox(true, false, false, haLeft, vaTop);
    EXPECT_FALSE(g.RemoveCellGraphicOfType(2, 2, ctRadioButton));
    EXPECT_TRUE(g.RemoveCellGraphicOfType(2, 2, ctCheckBox));
    EXPECT_EQ(g.GetCellGraphic(2, 2), nullptr);

    // A text written before keeps its place beside the graphic.
    g.SetCells(3, 3, "keep");
    g.CreateCellGraphic(3, 3);
    EXPECT_EQ(g.Cells(3, 3), "keep");
}

TEST(GridCellGraphics, RowCheckColumnAnswersTheSharedGraphicAndRemovesTheCellsOwn)
{
    TExtStringGrid g(nullptr);
    g.CreateCellGraphic(0, 2)->SetButton(5, 5, "", haLeft, vaTop);
    g.MouseActions()->SetHotmailRowSelect(true);
    EXPECT_EQ(g.GetCellType(0, 5), ctRowCheckBox);
    TCellGraphic *shared = g.GetCellGraphic(0, 5);
    ASSERT_NE(shared, nullptr);
    EXPECT_EQ(g.GetCellGraphic(0, 2), shared);
    EXPECT_TRUE(g.RemoveCellGraphic(0, 2));
    EXPECT_EQ(g.GraphicObjects(0, 2), nullptr);
    EXPECT_TRUE(g.RemoveCellGraphic(0, 3));
    EXPECT_EQ(g.GetCellGraphic(0, 3), shared);
    EXPECT_EQ(shared->CellType(), ctRowCheckBox);

    // Row 1 selected in the disjunct row model: ticked, the header partly ticked.
    g.SetRowSelect(1, true);
    EXPECT_TRUE(g.GetCellGraphic(0, 1)->CellBoolean());
    EXPECT_FALSE(g.GetCellGraphic(0, 4)->CellBoolean());
    EXPECT_EQ(g.GetCellGraphic(0, 0)->CellAngle(), 1);
}

TEST(GridCheckBoxes, AddColumnAndStates)
{
    TExtStringGrid g(nullptr);
    g.AddTriStateCheckBoxColumn(1, cbGrayed);
    int boxes = 0;
    for (int r = 0; r < g.RowCount(); ++r)
        boxes += g.GetCellType(1, r) == ctTriStateCheckBox;
    EXPECT_EQ(boxes, 9);
    g.MouseActions()->CheckAllCheck = true;
    g.AddTriStateCheckBoxColumn(2, cbChecked);
    boxes = 0;
    for (int r = 0; r < g.RowCount(); ++r)
        boxes += g.GetCellType(2, r) == ctTriStateCheckBox;
    EXPECT_EQ(boxes, 10);
    EXPECT_EQ(g.GetCellGraphic(2, 3)->CellHAlign(), haBeforeText);
    EXPECT_TRUE(g.GetCellGraphic(2, 3)->CellTransparent());

    g.SetVAlignment(vtaCenter);
    g.AddCheckBox(3, 3, cbUnchecked);
    EXPECT_EQ(g.GetCellGraphic(3, 3)->CellVAlign(), vaCenter);

    for (auto [c, r] : {std::pair{-1, 1}, {1, -1}, {g.ColCount(), 1}, {1, g.RowCount()}}) {
        try {
            g.AddCheckBox(c, r, cbChecked);
            ADD_FAILURE() << c << "," << r;
        } catch (const Exception &e) {
            EXPECT_EQ(e.Message(), "Invalid cell");
        }
    }
}

TEST(GridCheckBoxes, StateByKind)
{
    TExtStringGrid g(nullptr);
    g.CreateCellGraphic(1, 1)->SetCheckBox(true, false, false, haLeft, vaTop);
    g.CreateCellGraphic(1, 2)->SetCheckBox(false, true, false, haLeft, vaTop);
    g.SetCells(1, 2, "Y");
    g.CreateCellGraphic(1, 3)->SetCheckBox(false, true, false, haLeft, vaTop);
    g.SetCells(1, 3, "N");
    g.AddCheckBox(1, 4, cbGrayed);
    g.CreateCellGraphic(1, 5)->SetButton(1, 1, "", haLeft, vaTop);

    struct Case { int Row; bool Has; TCheckBoxState State; };
    for (const Case &c : {Case{1, true, cbChecked}, Case{2, true, cbChecked}, Case{3, true, cbUnchecked},
                          Case{4, true, cbGrayed}, Case{5, false, cbGrayed}, Case{6, false, cbGrayed}}) {
        TCheckBoxState s = cbGrayed;
        EXPECT_EQ(g.GetCheckBoxState(1, c.Row, s), c.Has) << c.Row;
        EXPECT_EQ(s, c.State) << c.Row;
    }
    // A data check box compares with the check text the event gives.
    g.OnGetCheckTrue = [](TObject *, int, int, UnicodeString &v) { v = "N"; };
    TCheckBoxState s = cbGrayed;
    g.GetCheckBoxState(1, 3, s);
    EXPECT_EQ(s, cbChecked);

    g.MouseActions()->SetHotmailRowSelect(true);
    g.SetRowSelect(g.Row(), true);
    s = cbGrayed;
    EXPECT_TRUE(g.GetCheckBoxState(0, g.Row(), s));
    EXPECT_EQ(s, cbChecked);
    EXPECT_TRUE(g.GetCheckBoxState(0, 7, s));
    EXPECT_EQ(s, cbUnchecked);
}

// With a row hidden above them the boxes are read at their own real row: the save text of every
// shown row is that of its own box, and a hidden box answers from the hidden-row store.
TEST(GridCheckBoxes, HiddenRowsAboveKeepEachRowsOwnState)
{
    TExtStringGrid g(nullptr);
    for (int r = 1; r <= 5; ++r) {
        g.CreateCellGraphic(1, r)->SetCheckBox(r % 2 == 1, false, false, haLeft, vaTop);
        g.AddCheckBox(2, r, r % 2 == 1 ? cbChecked : cbUnchecked);
    }
    g.HideRow(1);
    for (int d = 1; d <= 4; ++d) {
        const int real = g.RealRowIndex(d);
        const UnicodeString expected = real % 2 == 1 ? "Y" : "N";
        for (int c : {1, 2}) {
            UnicodeString saved;
            g.DoSaveCell(c, d, saved);
            EXPECT_EQ(saved, expected) << "column " << c << ", real row " << real;
        }
    }
    TCheckBoxState s = cbGrayed;
    EXPECT_TRUE(g.GetCheckBoxState(1, 1, s));
    EXPECT_EQ(s, cbChecked);
    s = cbGrayed;
    EXPECT_TRUE(g.GetCheckBoxState(1, 2, s));
    EXPECT_EQ(s, cbUnchecked);
}

} // namespace
