// The string grid as a drop target and a drag source: dropped text, files, links and columns,
// the markers and the scrolling while a drag is over the grid, and a move of rows inside it.
#include "grid/core/ExtGrid.h"
#include "grid/services/ExtGridOleDrop.h"

#include "controls/GridAuxWindows.h"
#include "platform/Forms.h"
#include "support/GuiTest.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

TPoint Middle(const TRect &R) { return TPoint((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2); }

class DropGrid : public TempDirTest {
protected:
    void SetUp() override
    {
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 640, 360);
        g = new TExtStringGrid(form.get());
        g->SetParent(form.get());
        g->SetBounds(0, 0, 600, 300);
        g->SetColCount(6);
        g->SetRowCount(8);
        g->SetOptions(g->Options() + TGridOptions{goEditing, goRangeSelect});
        form->Show();
        g->DragDropSettings()->SetOleDropTarget(true);
        target = g->GridDropTarget();
        ASSERT_NE(target, nullptr);
        g->OnOleDropped = [this](TObject *, const TGridRect &R) { dropped.push_back(R); };
    }
    // The screen point in the middle of a cell.
    TPoint At(int C, int R) { return g->ClientToScreen(Middle(g->CellRect(C, R))); }
    TPoint BelowLastRow()
    {
        const TRect r = g->CellRect(2, g->RowCount() - 1);
        return g->ClientToScreen(TPoint(r.Left + 5, r.Bottom + 10));
    }
    std::vector<std::string> Column(int C)
    {
        std::vector<std::string> v;
        for (int r = 0; r < g->RowCount(); ++r)
            v.push_back(g->Cells(C, r).toStdString());
        return v;
    }
    bool Move(TPoint Pt, TDropFormats Formats)
    {
        bool allow = true;
        target->DragMouseMove(Pt, allow, Formats);
        return allow;
    }

    std::unique_ptr<TForm> form;
    TExtStringGrid *g = nullptr;
    TGridDropTarget *target = nullptr;
    std::vector<TGridRect> dropped;
};

TEST_F(DropGrid, TheWindowIsRegisteredWhileTheSettingIsOn)
{
    EXPECT_TRUE(g->OleDropTargetRegistered());
    g->DragDropSettings()->SetOleDropTarget(false);
    EXPECT_FALSE(g->OleDropTargetRegistered());
    EXPECT_EQ(g->GridDropTarget(), nullptr);
    EXPECT_EQ(RevokeDragDrop(g->Handle()), DRAGDROP_E_NOTREGISTERED);
}

TEST_F(DropGrid, DroppedTextOverwritesTheCellsAndSelectsThem)
{
    target->DropText(At(2, 3), "a\tb\tc\r\nd\te\tf\r\n");
    EXPECT_EQ(g->Cells(2, 3), "a");
    EXPECT_EQ(g->Cells(4, 3), "c");
    EXPECT_EQ(g->Cells(4, 4), "f");
    EXPECT_EQ(g->Cells(2, 5), "");
    EXPECT_EQ(g->RowCount(), 8);
    const TGridRect s = g->Selection();
    EXPECT_EQ((std::vector<int>{s.Left, s.Top, s.Right, s.Bottom}), (std::vector<int>{2, 3, 4, 4}));
    ASSERT_EQ(dropped.size(), 1u);
    EXPECT_EQ(dropped[0].Bottom, 4);

    // An empty line between two others keeps its row in the selection.
    target->DropText(At(1, 5), "p\r\n\r\nq");
    EXPECT_EQ(g->Cells(1, 7), "q");
    EXPECT_EQ(g->Selection().Bottom, 7);
    dropped.clear();
    dropped.push_back(TGridRect{});

    // Refused by the application: nothing changes, the event still comes.
    g->OnOleDrop = [](TObject *, int, int, const UnicodeString &, bool &Allow) { Allow = false; };
    target->DropText(At(1, 1), "z");
    EXPECT_EQ(g->Cells(1, 1), "");
    EXPECT_EQ(dropped.size(), 2u);
}

TEST_F(DropGrid, BelowTheLastRowTheMarkerShowsAndInsertedRowsAppend)
{
    TDragDropSettings *dd = g->DragDropSettings();
    EXPECT_FALSE(Move(BelowLastRow(), TDropFormats{dfText})) << "no append without the settings";
    dd->OleEntireRows = true;
    dd->OleAppendRows = true;
    EXPECT_TRUE(Move(BelowLastRow(), TDropFormats{dfText}));
    TArrowWindow *left = g->ArrowWindow(2);
    EXPECT_TRUE(left->Visible());
    const TPoint lastRowLeft = g->ClientToScreen(TPoint(g->CellRect(g->FixedCols(), 7).Left, g->CellRect(1, 7).Bottom));
    EXPECT_EQ(left->Left(), lastRowLeft.X - 10);
    EXPECT_GE(left->Top(), lastRowLeft.Y - 1) << "the marker stands under the last row";
    target->DragMouseLeave();
    EXPECT_FALSE(left->Visible());

    dd->OleInsertRows = true;
    g->SetCells(1, 7, "last");
    target->DropText(BelowLastRow(), "n1\r\nn2\r\n");
    EXPECT_EQ(g->RowCount(), 10);
    EXPECT_EQ(Column(1)[7], "last");
    EXPECT_EQ(Column(1)[8], "n1");
    EXPECT_EQ(Column(1)[9], "n2");
}

TEST_F(DropGrid, OneDroppedCsvOrWorkbookLoadsAndOtherDropsDoNothing)
{
    WriteBytes("data.csv", "h1,h2\r\n1,2\r\n");
    {
        TExtStringGrid src(nullptr);
        src.SetColCount(2);
        src.SetRowCount(2);
        src.SetCells(0, 0, "x1");
        src.SetCells(1, 1, "x2");
        src.SaveToXLS(PathOf("data.xls"));
    }
    std::vector<std::string> seen;
    g->OnOleDropFile = [&](TObject *, int, int, const UnicodeString &F, bool &) { seen.push_back(F.toStdString()); };
    auto drop = [&](std::initializer_list<QString> Names) {
        TStringList files;
        for (const QString &n : Names)
            files.Add(n);
        target->DropFiles(At(1, 1), &files);
    };
    drop({PathOf("data.csv"), PathOf("data.xls")});
    EXPECT_EQ(g->Cells(1, 1), "") << "two files are ignored";
    EXPECT_TRUE(seen.empty());
    QDir(Dir()).mkdir("x.csv.d");
    WriteBytes("x.csv.d/notes.txt", "n1,n2\r\n");
    drop({PathOf("x.csv.d/notes.txt")});
    EXPECT_EQ(g->Cells(0, 0), "");
    drop({PathOf("data.csv")});
    EXPECT_EQ(g->Cells(1, 0), "h2");
    EXPECT_EQ(g->Cells(1, 1), "2");
    drop({PathOf("data.xls")});
    EXPECT_EQ(g->Cells(0, 0), "x1");
    EXPECT_EQ(g->Cells(1, 1), "x2");
    EXPECT_EQ(seen.size(), 3u);
}

TEST_F(DropGrid, AColumnDroppedPastTheLastHeaderBecomesLast)
{
    g->DragDropSettings()->OleColumnReorder = true;
    for (int c = 0; c < 6; ++c)
        g->SetCells(c, 0, QString("h%1").arg(c));
    std::vector<int> events;
    g->OnOleDropCol = [&](TObject *, int, int ACol, int DropCol) { events = {ACol, DropCol}; };
    const TRect last = g->CellRect(5, 0);
    const TPoint past = g->ClientToScreen(TPoint(last.Right + 20, Middle(last).Y));
    EXPECT_TRUE(Move(past, TDropFormats{dfCol}));
    EXPECT_FALSE(Move(At(2, 3), TDropFormats{dfCol})) << "a column is not dropped on a normal row";
    target->DropCol(past, 1);
    EXPECT_EQ(g->Cells(5, 0), "h1");
    EXPECT_EQ(g->Cells(1, 0), "h2");
    EXPECT_EQ(events, (std::vector<int>{5, 1}));
}

TEST_F(DropGrid, AColumnDraggedFromAGridIsTakenOnceReorderIsOn)
{
    for (int c = 0; c < 6; ++c)
        g->SetCells(c, 0, QString("h%1").arg(c));
    auto drag = [&] {
        GuiTest::TScriptedModalHook hook;
        hook.Handle([&](TModalRequest &) {
            TDragSession *s = CurrentDragSession();
            s->MoveTo(g, Middle(g->CellRect(4, 0)));
            s->Release();
            return mrOk;
        });
        DWORD effect = DROPEFFECT_NONE;
        TComPtr<TGridDropSource> source(new TGridDropSource(g));
        return BeginColumnDrag(source.Get(), 1, DROPEFFECT_COPY | DROPEFFECT_MOVE, effect);
    };
    EXPECT_EQ(drag(), DRAGDROP_S_CANCEL) << "a grid that does not reorder refuses columns";
    EXPECT_EQ(g->Cells(1, 0), "h1");
    g->DragDropSettings()->OleColumnReorder = true;
    EXPECT_EQ(drag(), DRAGDROP_S_DROP);
    EXPECT_EQ(g->Cells(4, 0), "h1");
    EXPECT_EQ(g->Cells(1, 0), "h2");
}

TEST_F(DropGrid, DragOverScrollsOneRowPerCallAndColumnsOnEvenTicks)
{
    g->SetRowCount(60);
    g->SetColCount(40);
    g->SetTopRow(5);
    g->SetLeftCol(5);
    auto tick = [&] {
        const int before = g->TimerTicks();
        g->Perform(WM_TIMER, 111, 0);
        ASSERT_EQ(g->TimerTicks(), before + 1) << "the grid's timer counts ticks";
    };
    if (g->TimerTicks() % 2 == 0)
        tick();
    // Over the header row: one row up per drag-over; an odd tick holds the columns.
    Move(At(0, 0), TDropFormats{dfText});
    EXPECT_EQ(g->TopRow(), 4);
    Move(At(0, 0), TDropFormats{dfText});
    EXPECT_EQ(g->TopRow(), 3);
    EXPECT_EQ(g->LeftCol(), 5);

    tick();
    Move(At(0, 6), TDropFormats{dfText});
    Move(At(0, 6), TDropFormats{dfText});
    EXPECT_EQ(g->LeftCol(), 4) << "one column until the next tick";
    tick();
    Move(At(0, 6), TDropFormats{dfText});
    EXPECT_EQ(g->LeftCol(), 3);
}

TEST_F(DropGrid, AFixedRowRefusesUnlessTheGridIsOneRowWithFixedRowAlways)
{
    EXPECT_FALSE(Move(At(2, 0), TDropFormats{dfText}));
    EXPECT_TRUE(Move(At(2, 0), TDropFormats{dfFile})) << "files are taken anywhere";
    g->SetFixedRows(0);
    g->SetRowCount(1);
    g->SetFixedRowAlways(true);
    EXPECT_TRUE(Move(At(2, 0), TDropFormats{dfText}));
}

TEST_F(DropGrid, ALinkOrRichTextOutsideTheCellsChangesNothing)
{
    const TPoint outside = g->ClientToScreen(TPoint(590, 290));
    target->DropURL(outside, "https://example.org/");
    target->DropRTF(outside, "{\\rtf1 x}");
    for (int r = 0; r < g->RowCount(); ++r)
        for (int c = 0; c < g->ColCount(); ++c)
            EXPECT_EQ(g->Cells(c, r), "") << c << "," << r;
    target->DropURL(At(2, 2), "https://example.org/");
    EXPECT_EQ(g->Cells(2, 2), "https://example.org/");
}

TEST_F(DropGrid, AMoveInsideTheGridRemovesTheDraggedRowsAndNoOthers)
{
    TDragDropSettings *dd = g->DragDropSettings();
    dd->OleDropSource = true;
    dd->OleRemoveRows = true;
    g->SetOptions(g->Options() - TGridOptions{goEditing} + TGridOptions{goRowSelect});
    g->Navigation()->AllowClipboardAlways = true;
    for (int r = 1; r < 8; ++r)
        g->SetCells(1, r, QString("r%1").arg(r));
    g->SetSelection(TGridRect{1, 2, 5, 2});
    int stopped = -1;
    g->OnOleDragStop = [&](TObject *, int Effect) { stopped = Effect; };

    GuiTest::TScriptedModalHook hook;
    hook.Handle([&](TModalRequest &) {
        TDragSession *s = CurrentDragSession();
        s->MoveTo(g, Middle(g->CellRect(1, 6)));
        s->MoveTo(g, TPoint(Middle(g->CellRect(1, 6)).X + 1, Middle(g->CellRect(1, 6)).Y));
        s->Release();
        return mrOk;
    });
    const TPoint p = Middle(g->CellRect(1, 2));
    GuiTest::MouseDown(g, p);
    GuiTest::MouseMove(g, TPoint(p.X + 6, p.Y));
    GuiTest::MouseUp(g, TPoint(p.X + 6, p.Y));
    GuiTest::ProcessEvents();
    ASSERT_EQ(hook.Shown.size(), 1u);
    EXPECT_EQ(stopped, int(DROPEFFECT_MOVE));
    EXPECT_EQ(Column(1), (std::vector<std::string>{"", "r1", "r3", "r4", "r5", "r2", "r7"}));
}

TEST_F(DropGrid, AMovedColumnShowsItsImageAndTheArrowsUntilTheRelease)
{
    g->SetOptions(g->Options() + TGridOptions{goColMoving} - TGridOptions{goColSizing, goEditing});
    g->SetCells(2, 0, "B");
    const TPoint from = Middle(g->CellRect(2, 0));
    GuiTest::MouseDown(g, from);
    GuiTest::MouseMove(g, Middle(g->CellRect(4, 0)), TShiftState{ssLeft});
    GuiTest::MouseMove(g, TPoint(Middle(g->CellRect(4, 0)).X + 2, from.Y), TShiftState{ssLeft});
    ASSERT_NE(g->DragImage(), nullptr) << "ShowCells: a picture of the column";
    EXPECT_TRUE(g->DragImage()->Visible());
    EXPECT_EQ(g->DragImage()->Width(), g->ColWidths(2));
    EXPECT_FALSE(g->HeaderDragButton()->Visible());
    EXPECT_TRUE(g->ArrowWindow(0)->Visible()) << "the target of the move is marked";
    const TRect target = g->CellRect(4, 0);
    EXPECT_EQ(g->ArrowWindow(1)->Left(), g->ClientToScreen(TPoint(target.Left, 0)).X + g->ColWidths(4) - 5);
    GuiTest::MouseUp(g, Middle(g->CellRect(4, 0)));
    GuiTest::ProcessEvents();
    EXPECT_EQ(g->DragImage(), nullptr);
    EXPECT_FALSE(g->ArrowWindow(0)->Visible());
    EXPECT_EQ(g->Cells(4, 0), "B");

    // Without ShowCells the header button carries the column's title.
    g->DragDropSettings()->ShowCells = false;
    const TPoint back = Middle(g->CellRect(4, 0));
    GuiTest::MouseDown(g, back);
    GuiTest::MouseMove(g, Middle(g->CellRect(1, 0)), TShiftState{ssLeft});
    EXPECT_EQ(g->DragImage(), nullptr);
    EXPECT_TRUE(g->HeaderDragButton()->Visible());
    EXPECT_EQ(g->HeaderDragButton()->Caption(), "B");
    const TPoint under = Middle(g->CellRect(1, 0));
    EXPECT_EQ(g->HeaderDragButton()->Left(), g->ClientToScreen(under).X - (back.X - g->CellRect(4, 0).Left))
        << "a window of its own: placed in screen coordinates";
    EXPECT_EQ(g->HeaderDragButton()->Width(), g->ColWidths(4));
    GuiTest::MouseUp(g, Middle(g->CellRect(1, 0)));
    EXPECT_FALSE(g->HeaderDragButton()->Visible());
}

TEST_F(DropGrid, ADragOfCellsCarriesTheirPictureUntilItEnds)
{
    TDragDropSettings *dd = g->DragDropSettings();
    dd->OleDropSource = true;
    g->SetOptions(g->Options() - TGridOptions{goEditing});
    g->SetSelection(TGridRect{1, 1, 2, 2});
    bool imageDuringDrag = false;
    int width = -1;
    GuiTest::TScriptedModalHook hook;
    hook.Handle([&](TModalRequest &) {
        imageDuringDrag = g->DragImage() && g->DragImage()->Visible();
        width = g->DragImage() ? g->DragImage()->Width() : -1;
        CurrentDragSession()->Escape();
        return mrCancel;
    });
    const TPoint p = Middle(g->CellRect(1, 1));
    GuiTest::MouseDown(g, p);
    GuiTest::MouseMove(g, TPoint(p.X, p.Y + 6));
    GuiTest::MouseUp(g, TPoint(p.X, p.Y + 6));
    GuiTest::ProcessEvents();
    ASSERT_EQ(hook.Shown.size(), 1u);
    EXPECT_TRUE(imageDuringDrag);
    const TGridRect s = g->Selection();
    EXPECT_EQ((std::vector<int>{s.Left, s.Top, s.Right, s.Bottom}), (std::vector<int>{1, 1, 2, 2}))
        << "the selection is back after the picture was taken";
    EXPECT_EQ(width, g->CellRect(2, 1).Right - g->CellRect(1, 1).Left) << "the two selected columns";
    EXPECT_EQ(g->DragImage(), nullptr);
}


TEST_F(DropGrid, RowsDroppedAboveSelectedRowsPushTheirSelectionDownBeforeTheMoveRemovesThem)
{
    TDragDropSettings *dd = g->DragDropSettings();
    dd->OleDropSource = true;
    dd->OleRemoveRows = true;
    dd->OleInsertRows = true;
    g->MouseActions()->SetDisjunctRowSelect(true);
    g->SetOptions(g->Options() - TGridOptions{goEditing} + TGridOptions{goRowSelect});
    g->Navigation()->AllowClipboardAlways = true;
    for (int r = 1; r < 8; ++r)
        g->SetCells(1, r, QString("r%1").arg(r));
    g->SetSelection(TGridRect{1, 4, 5, 5});
    g->SetRowSelect(4, true);
    g->SetRowSelect(5, true);

    GuiTest::TScriptedModalHook hook;
    hook.Handle([&](TModalRequest &) {
        TDragSession *s = CurrentDragSession();
        s->MoveTo(g, Middle(g->CellRect(1, 2)));
        s->MoveTo(g, TPoint(Middle(g->CellRect(1, 2)).X + 1, Middle(g->CellRect(1, 2)).Y));
        s->Release();
        return mrOk;
    });
    const TPoint p = Middle(g->CellRect(1, 4));
    GuiTest::MouseDown(g, p);
    GuiTest::MouseMove(g, TPoint(p.X + 6, p.Y));
    GuiTest::MouseUp(g, TPoint(p.X + 6, p.Y));
    GuiTest::ProcessEvents();
    ASSERT_EQ(hook.Shown.size(), 1u);
    EXPECT_EQ(Column(1), (std::vector<std::string>{"", "r1", "r4", "r5", "r2", "r3", "r6", "r7"}));
}

} // namespace
