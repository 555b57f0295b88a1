// What the string grid tells others when cells change: the application's event, then the
// registered notifiers in the order they came, then the footer; a notifier that goes away or
// unregisters while it is told is never called again. And how it reacts around it: the stretch
// column, proportional sizing by the mouse, drag scrolling on the timer, combo strings, the
// fixed and editable questions.
#include "grid/core/ExtGrid.h"

#include "support/GuiTest.h"

#include "dropdowns/ExtGridCheck.h"
#include "platform/ExtCtrls.h"
#include "platform/Forms.h"
#include "platform/Menus.h"
#include "platform/SysUtils.h"
#include "platform/TimeSource.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Log;

std::string RectText(const TRect &R)
{
    return std::to_string(R.Left) + "," + std::to_string(R.Top) + "," + std::to_string(R.Right) + "," +
           std::to_string(R.Bottom);
}

class TFooterGrid : public TExtStringGrid {
public:
    using TExtStringGrid::TExtStringGrid;
    void CalcFooter(int ACol) override { Log.push_back("footer " + std::to_string(ACol)); }
};

class TLogNotifier : public TGridChangeNotifier {
public:
    TLogNotifier(std::string AName, TExtStringGrid *AGrid = nullptr)
        : TGridChangeNotifier(nullptr), Name(std::move(AName)), Grid(AGrid)
    {
    }
    void CellsChanged(const TRect &R) override
    {
        Log.push_back(Name + " " + RectText(R));
        if (Grid && Unregister)
            Grid->UnRegisterNotifier(Unregister);
    }
    std::string Name;
    TExtStringGrid *Grid;
    TGridChangeNotifier *Unregister = nullptr;
};

class ExtGridNotifyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application->Initialize();
        Log.clear();
        Grid = std::make_unique<TFooterGrid>(nullptr);
        Grid->OnCellsChanged = [](TObject *, const TRect &R) { Log.push_back("event " + RectText(R)); };
    }
    std::unique_ptr<TFooterGrid> Grid;
};

TEST_F(ExtGridNotifyTest, EventThenNotifiersInOrderThenFooter)
{
    TLogNotifier A("a"), B("b");
    Grid->RegisterNotifier(&A);
    Grid->RegisterNotifier(&B);
    Grid->RegisterNotifier(&A); // once only
    EXPECT_EQ(Grid->NotifierCount(), 2);
    Grid->DoCellsChanged(TRect(1, 2, 3, 4));
    EXPECT_EQ(Log, (std::vector<std::string>{"event 1,2,3,4", "a 1,2,3,4", "b 1,2,3,4", "footer -1"}));

    Log.clear();
    Grid->UnRegisterNotifier(&A);
    Grid->UnRegisterNotifier(&A); // not registered any more: nothing
    Grid->DoCellsChanged(TRect(0, 0, 0, 0));
    EXPECT_EQ(Log, (std::vector<std::string>{"event 0,0,0,0", "b 0,0,0,0", "footer -1"}));
}

TEST_F(ExtGridNotifyTest, BulkAndColumnChangesOnlyRecalculateTheFooter)
{
    TLogNotifier A("a");
    Grid->RegisterNotifier(&A);
    Grid->BulkCellsChanged();
    Grid->FooterColumnChanged(3);
    EXPECT_EQ(Log, (std::vector<std::string>{"footer -1", "footer 3"}));
    Grid->UnRegisterNotifier(&A);
}

TEST_F(ExtGridNotifyTest, AFreedNotifierLeavesTheList)
{
    auto *A = new TLogNotifier("a");
    TLogNotifier B("b");
    Grid->RegisterNotifier(A);
    Grid->RegisterNotifier(&B);
    delete A;
    EXPECT_EQ(Grid->NotifierCount(), 1);
    Grid->DoCellsChanged(TRect(5, 5, 5, 5));
    EXPECT_EQ(Log, (std::vector<std::string>{"event 5,5,5,5", "b 5,5,5,5", "footer -1"}));
    Grid->UnRegisterNotifier(&B);
}

TEST_F(ExtGridNotifyTest, ANotifierTakenOutWhileOthersAreToldIsNotCalled)
{
    TLogNotifier A("a", Grid.get()), B("b");
    A.Unregister = &B;
    Grid->RegisterNotifier(&A);
    Grid->RegisterNotifier(&B);
    Grid->DoCellsChanged(TRect(0, 1, 0, 1));
    EXPECT_EQ(Log, (std::vector<std::string>{"event 0,1,0,1", "a 0,1,0,1", "footer -1"}));
    EXPECT_EQ(Grid->NotifierCount(), 1);
    Grid->UnRegisterNotifier(&A);
}

TEST_F(ExtGridNotifyTest, AGridFreedBeforeItsNotifiersLeavesThemWhole)
{
    TLogNotifier A("a");
    Grid->RegisterNotifier(&A);
    Grid.reset();
    TRect R(0, 0, 0, 0);
    A.CellsChanged(R); // still usable, no reference to the gone grid left
    EXPECT_EQ(Log.back(), "a 0,0,0,0");
}

} // namespace

// Stretching, sizing by the mouse, drag scrolling and the cell questions

namespace {

class TProbeGrid : public TExtStringGrid {
public:
    using TExtStringGrid::TExtStringGrid;
    // What the mouse handling records when the user starts sizing a column or row.
    void BeginMouseColSize(int ACol)
    {
        ColSized = true;
        Colclicked = ACol;
        Colclickedsize = ColWidths(ACol);
    }
    void BeginMouseRowSize(int ARow)
    {
        Rowsized = true;
        Rowclicked = ARow;
        Rowclickedsize = RowHeights(ARow);
    }
    bool IsFixedCell(int ACol, int ARow) { return IsFixed(ACol, ARow); }
    void SetFixedRightCols(int N) { FFixedRightCols = N; }
    void Drag(int X, int Y, TDragState State)
    {
        bool accept = false;
        DragOver(nullptr, X, Y, State, accept);
    }
};

class ExtGridSizingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application->Initialize();
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(0, 0, 600, 500);
        G = new TProbeGrid(Form.get());
        G->SetParent(Form.get());
        G->SetClientWidth(400);
        G->SetClientHeight(300);
    }
    void Widths(std::initializer_list<int> W)
    {
        G->SetColCount(int(W.size()));
        int c = 0;
        for (int w : W)
            G->SetColWidths(c++, w);
    }
    std::unique_ptr<TForm> Form;
    TProbeGrid *G = nullptr;
};

TEST_F(ExtGridSizingTest, StretchFillsTheClientWidthWithTheStretchColumn)
{
    ASSERT_EQ(G->ClientWidth(), 400);
    G->SetFixedCols(0);
    Widths({64, 64, 64});
    G->ColumnSize()->SetStretch(true); // at once, the grid has a parent
    EXPECT_EQ(G->ColWidths(2), 400 - 128 - 1);

    // The others fill the width already: the last column falls back to the default width.
    G->ColumnSize()->SetStretch(false);
    Widths({250, 200, 64});
    G->ColumnSize()->SetStretch(true);
    EXPECT_EQ(G->ColWidths(2), G->DefaultColWidth());

    // A width change of another column stretches again.
    G->SetColWidths(0, 100);
    EXPECT_EQ(G->ColWidths(2), 400 - 300 - 1);

    // One column is exactly as wide as the client area.
    G->SetColCount(1);
    G->StretchColumn(-1);
    EXPECT_EQ(G->ColWidths(0), 400);
}

TEST_F(ExtGridSizingTest, StretchColumnOutOfRangeRaisesButResizesDoNot)
{
    G->SetFixedCols(0);
    Widths({64, 64, 64});
    EXPECT_THROW(G->StretchColumn(3), Exception); // also with stretching off
    G->ColumnSize()->StretchColumn = 5;
    EXPECT_THROW(G->ColumnSize()->SetStretch(true), Exception);
    EXPECT_TRUE(G->ColumnSize()->Stretch());
    // The grid's own reactions leave such a column alone.
    EXPECT_NO_THROW(G->SetColWidths(0, 70));
    EXPECT_NO_THROW(Form->SetBounds(0, 0, 640, 500));
}

TEST_F(ExtGridSizingTest, TheFormsResizeStretchesLast)
{
    G->SetFixedCols(0);
    Widths({64, 64, 64});
    G->SetSizeWithForm(true);
    G->ColumnSize()->SetStretch(true);
    const int before = G->ColWidths(2);
    Form->SetBounds(0, 0, 650, 500); // 50 wider
    EXPECT_EQ(G->ClientWidth(), 450);
    EXPECT_EQ(G->ColWidths(2), before + 50);
}

TEST_F(ExtGridSizingTest, MouseSizingWithAllColumnSizeScalesTheOthers)
{
    struct Case {
        const char *Name;
        int Answer; // what OnUpdateColumnSize makes of the sized width, 0: no handler
        int Sized;
    };
    for (const Case &c : {Case{"plain", 0, 96}, Case{"handler narrows", 80, 80}}) {
        Widths({30, 64, 64, 50});
        G->SetFixedCols(1);
        G->MouseActions()->AllColumnSize = true;
        std::vector<int> ended;
        G->OnEndColumnSize = [&](TObject *, int ACol) { ended.push_back(ACol); };
        G->OnUpdateColumnSize = nullptr;
        if (c.Answer)
            G->OnUpdateColumnSize = [&](TObject *, int, int &W) { W = c.Answer; };
        G->BeginMouseColSize(1);
        G->SetColWidths(1, 96);
        EXPECT_EQ(G->ColWidths(0), 30) << c.Name; // fixed: not scaled
        EXPECT_EQ(G->ColWidths(1), c.Sized) << c.Name;
        EXPECT_EQ(G->ColWidths(2), 96) << c.Name;
        EXPECT_EQ(G->ColWidths(3), 75) << c.Name;
        EXPECT_EQ(ended, std::vector<int>{1}) << c.Name;
        // A later change by code is no mouse sizing.
        G->SetColWidths(2, 40);
        EXPECT_EQ(G->ColWidths(3), 75) << c.Name;
    }
}

TEST_F(ExtGridSizingTest, MouseSizingWithAllRowSizeScalesTheOtherRows)
{
    G->SetRowCount(4);
    G->SetFixedRows(1);
    for (int r = 0; r < 4; ++r)
        G->SetRowHeights(r, 20);
    G->MouseActions()->AllRowSize = true;
    int ended = -1;
    G->OnEndRowSize = [&](TObject *, int ARow) { ended = ARow; };
    G->BeginMouseRowSize(2);
    G->SetRowHeights(2, 30);
    EXPECT_EQ(G->RowHeights(0), 20);
    EXPECT_EQ(G->RowHeights(1), 30);
    EXPECT_EQ(G->RowHeights(3), 30);
    EXPECT_EQ(ended, 2);
}

TEST_F(ExtGridSizingTest, DragNearTheTopScrollsOnTheTimerUntilTheFixedRows)
{
    TManualClock clock;
    G->SetRowCount(100);
    G->SetFixedRows(1);
    G->SetTopRow(4);
    G->DragScrollOptions()->Active = true;
    G->Drag(100, 150, dsDragEnter); // in the middle: nothing
    EXPECT_EQ(G->DragScrollTimerObject(), nullptr);
    G->Drag(100, 10, dsDragMove);
    ASSERT_NE(G->DragScrollTimerObject(), nullptr);
    clock.Advance(999);
    EXPECT_EQ(G->TopRow(), 4);
    clock.Advance(1);
    EXPECT_EQ(G->TopRow(), 3);
    clock.Advance(250);
    EXPECT_EQ(G->TopRow(), 2);
    clock.Advance(1000);
    EXPECT_EQ(G->TopRow(), 1); // stops at the fixed rows
    G->Drag(100, 10, dsDragLeave);
    EXPECT_EQ(G->DragScrollTimerObject(), nullptr);
    EXPECT_EQ(clock.TimerCount(), 0);
}

TEST_F(ExtGridSizingTest, DragScrollHandlerMayTurnOrRefuse)
{
    TManualClock clock;
    G->SetRowCount(100);
    G->SetFixedRows(1);
    G->SetTopRow(10);
    G->DragScrollOptions()->Active = true;
    bool refuse = false;
    G->OnDragScroll = [&](TObject *, int, int, TDragScrollDirections &Dir, bool &CanScroll) {
        Dir = TDragScrollDirections{dsdDown};
        CanScroll = !refuse;
    };
    G->Drag(100, 10, dsDragMove);
    clock.Advance(1000);
    EXPECT_EQ(G->TopRow(), 11);
    refuse = true;
    clock.Advance(250);
    EXPECT_EQ(G->TopRow(), 11);
    // Switched off meanwhile: the next tick stops the timer.
    G->DragScrollOptions()->Active = false;
    clock.Advance(250);
    EXPECT_EQ(clock.TimerCount(), 0);
}

TEST_F(ExtGridSizingTest, TheDragScrollTimerDiesWithTheGrid)
{
    TManualClock clock;
    G->SetRowCount(100);
    G->SetTopRow(10);
    G->DragScrollOptions()->Active = true;
    G->Drag(100, 10, dsDragMove);
    EXPECT_EQ(clock.TimerCount(), 1);
    delete G;
    G = nullptr;
    EXPECT_EQ(clock.TimerCount(), 0);
    clock.Advance(5000); // nothing left to tick into
}

TEST_F(ExtGridSizingTest, ComboStrings)
{
    G->ClearComboString();
    G->AddComboString(QStringLiteral("a"));
    G->AddComboString(QStringLiteral("b"));
    G->AddComboString(QStringLiteral("a"));
    EXPECT_EQ(G->GetComboCount(), 3);
    EXPECT_TRUE(G->RemoveComboString(QStringLiteral("a"))); // the first one
    EXPECT_FALSE(G->RemoveComboString(QStringLiteral("x")));
    EXPECT_EQ(G->GetComboCount(), 2);
    G->SetComboSelection(1);
    EXPECT_FALSE(G->SetComboSelectionString(QStringLiteral("x")));
    EXPECT_EQ(G->ComboSelection(), 1);
    EXPECT_TRUE(G->SetComboSelectionString(QStringLiteral("b")));
    EXPECT_EQ(G->ComboSelection(), 0);

    int asked = 0;
    G->OnGetEditorProp = [&](TObject *, int, int, TObject *) { ++asked; };
    G->SetComboIndex(1, 1, 1);
    EXPECT_EQ(G->Cells(1, 1), QStringLiteral("a"));
    EXPECT_EQ(G->GetComboIndex(1, 1), 1);
    EXPECT_ANY_THROW(G->SetComboIndex(1, 1, 5));
    EXPECT_EQ(G->Cells(1, 1), QStringLiteral("a"));
    EXPECT_EQ(asked, 3);
}

TEST_F(ExtGridSizingTest, FooterRowsAndRightColumnsAreFixedAndNotEditable)
{
    G->SetColCount(6);
    G->SetRowCount(8);
    G->SetFixedFooters(1);
    G->SetOptions(G->Options() + TGridOptions{goEditing});
    struct Case {
        int Col, Row;
        bool Fixed;
    };
    G->SetFixedRightCols(1);
    const Case cases[] = {{2, 7, true}, {0, 7, true}, {5, 2, true}, {3, 3, false}};
    for (const Case &c : cases)
        EXPECT_EQ(G->IsFixedCell(c.Col, c.Row), c.Fixed) << c.Col << "," << c.Row;
    G->SetFixedRightCols(0);

    // Behind a hidden column the fixed question gets the display column it was asked with.
    G->HideColumn(1);
    int asked = -1;
    G->OnIsFixedCell = [&](TObject *, int, int ACol, bool &) { asked = ACol; };
    G->IsFixedCell(3, 3);
    EXPECT_EQ(asked, 3);
    G->IsEditable(3, 3);
    EXPECT_EQ(asked, 3);
    G->UnHideColumn(1);
    EXPECT_TRUE(G->IsEditable(3, 3));
    G->OnIsFixedCell = [](TObject *, int, int ACol, bool &IsFixed) { IsFixed = ACol == 3; };
    EXPECT_FALSE(G->IsEditable(3, 3));
    G->OnCanEditCell = [](TObject *, int, int, bool &CanEdit) { CanEdit = false; };
    EXPECT_FALSE(G->IsEditable(2, 3));
    G->SetOptions(G->Options() - TGridOptions{goEditing});
    G->OnCanEditCell = nullptr;
    G->OnIsFixedCell = nullptr;
    EXPECT_FALSE(G->IsEditable(2, 3));
    G->OnIsPasswordCell = [](TObject *, int, int, bool &P) { P = true; };
    EXPECT_TRUE(G->IsPasswordCell(1, 1));
}

TEST_F(ExtGridSizingTest, TheSelectionListenerHearsEveryMoveUntilItIsTakenOff)
{
    struct TListener : ITExtStringGridSelect {
        std::vector<int> Rows;
        void SelectionChanged(int, int ARow) override { Rows.push_back(ARow); }
    } first, second;
    G->SetRowCount(10);
    G->RegisterSelListener(&first);
    G->RegisterSelListener(&second); // replaces the first
    G->SetRow(3);
    G->UnRegisterSelListener(&first); // whatever it is given
    G->SetRow(4);
    EXPECT_TRUE(first.Rows.empty());
    EXPECT_EQ(second.Rows, std::vector<int>{3});
    EXPECT_EQ(G->SelListener(), nullptr);
}

TEST_F(ExtGridSizingTest, ArrowColorColoursAllFourArrows)
{
    G->SetArrowColor(TColorOf(0x123456u));
    EXPECT_EQ(G->ArrowColor(), TColorOf(0x123456u));
    for (int d = 0; d < 4; ++d)
        EXPECT_EQ(G->ArrowWindow(d)->Color(), TColorOf(0x123456u)) << d;
}

} // namespace

namespace {

TEST(ExtGridNotification, FreedCheckerAndSyncGridAreForgotten)
{
    Application->Initialize();
    TForm form(nullptr);
    auto *g = new TExtStringGrid(&form);
    auto *other = new TExtStringGrid(&form);
    auto *checker = new TExtStringGridCheck(nullptr); // owned elsewhere
    g->SetCellChecker(checker);
    g->SyncGrid()->SetGrid(other);
    ASSERT_EQ(g->SyncGrid()->Grid(), other);
    delete checker;
    EXPECT_EQ(g->CellChecker(), nullptr);
    delete other;
    EXPECT_EQ(g->SyncGrid()->Grid(), nullptr);
}

// A picture container and a header menu of another owner go while the grid lives on: the grid
// lets go of both, and painting a picture cell and pressing the header drop-down afterwards
// touch neither (the address sanitizer would stop on a freed one).
TEST(ExtGridNotification, FreedPictureContainerAndHeaderMenuAreNeverUsedAgain)
{
    Application->Initialize();
    TForm form(nullptr);
    form.SetBounds(0, 0, 500, 300);
    auto *g = new TExtStringGrid(&form);
    g->SetParent(&form);
    g->SetHoverFixedCells(hfAll);
    g->ControlLook()->SetFixedDropDownButton(true);
    g->SetCells(1, 1, "<IMG src=\"flag\"> text");
    auto *pics = new TPictureContainer(nullptr);
    pics->Items()->Add()->SetName("flag");
    auto *menu = new TPopupMenu(nullptr);
    g->SetPictureContainer(pics);
    g->SetFixedDropDownMenu(menu);
    form.Show();
    GuiTest::ProcessEvents();
    delete pics;
    delete menu;
    EXPECT_EQ(g->PictureContainer(), nullptr);
    EXPECT_EQ(g->FixedDropDownMenu(), nullptr);
    g->Repaint();
    const TRect h = g->CellRect(2, 0);
    GuiTest::Click(g, TPoint(h.Right - 6, (h.Top + h.Bottom) / 2));
    GuiTest::ProcessEvents();
    EXPECT_FALSE(g->EditorMode());
}

} // namespace
