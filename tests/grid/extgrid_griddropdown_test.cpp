// The grid drop-down driven as a user does: items loaded into the popup's grid, lookup and
// narrowing typed in the edit and in the grid, choosing by key and click, sorting, and the inner
// grid's events handed on to the application.
#include "grid/dropdown/ExtCustomGridDropDown.h"

#include "grid/services/ExtGridSort.h"
#include "platform/Forms.h"
#include "platform/MultiMon.h"
#include "platform/Windows.h"
#include "support/GuiTest.h"

#include <gtest/gtest.h>

#include <memory>
#include <tuple>
#include <type_traits>

namespace {

using ExtCustomGridDropDown::TExtColGrid;
using namespace ExtCustomGridDropDown;

class GridDropDownTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application->Initialize();
        SetScreenLayout({{TRect(0, 0, 1000, 700), TRect(0, 0, 1000, 660)}});
        form = std::make_unique<TForm>(nullptr);
        form->SetBorderStyle(bsNone);
        form->SetBounds(0, 0, 400, 300);
        dd = NewDropDown<TCustomExtGridDropDown>(form.get());
        dd->SetParent(form.get());
        dd->SetBounds(10, 10, 200, 21);
        form->Show();
        GuiTest::ProcessEvents();
        dd->SetFocus();
        GuiTest::ProcessEvents();
    }
    void TearDown() override
    {
        form.reset();
        ResetScreenLayout();
    }
    void Fill()
    {
        dd->Columns()->Add()->Header = QStringLiteral("Name");
        dd->Columns()->Add()->Header = QStringLiteral("Code");
        for (const char *n : {"Delta", "Alpha", "Gamma", "Beta"}) {
            auto *it = dd->Items()->Add();
            it->Text()->Add(QString::fromUtf8(n));
            it->Text()->Add(QString::number(dd->Items()->Count()));
        }
        dd->BuildLookupItems();
    }
    void Open()
    {
        GuiTest::PressKey(dd, VK_DOWN, {ssAlt});
        ASSERT_TRUE(dd->DroppedDown());
    }
    TExtColGrid *Grid() { return dd->GetExtColGrid(); }
    TPoint CellPoint(int ACol, int ARow)
    {
        const TRect r = Grid()->CellRect(ACol, ARow);
        return TPoint(r.Left + 20, r.Top + 6);
    }

    std::unique_ptr<TForm> form;
    TCustomExtGridDropDown *dd = nullptr;
};

} // namespace

TEST_F(GridDropDownTest, ItemsFillTheGridRowsKeepingTheirIndexThroughASort)
{
    Fill();
    dd->Items()->Items(3)->Text()->Delete(1);
    dd->Sorting = gsSingleColumn;
    dd->SetItemIndex(2);
    Open();
    TExtColGrid *g = Grid();
    EXPECT_EQ(g->RowCount(), 5);
    EXPECT_EQ(g->Cells(0, 0), QStringLiteral("Name"));
    EXPECT_EQ(g->Cells(1, 4), QString()) << "a missing line shows an empty cell";
    for (int c = 0; c < 2; ++c)
        EXPECT_EQ(reinterpret_cast<std::intptr_t>(g->GetObjectEx(c, 0)), -1);
    EXPECT_EQ(g->Row(), 3) << "the chosen item's row";

    // A click on the header sorts by name; Gamma stays the current row.
    ASSERT_TRUE(g->SortSettings()->Show);
    {
        const TRect r = g->CellRect(0, 0);
        GuiTest::Click(g, TPoint((r.Left + r.Right) / 2 - 10, (r.Top + r.Bottom) / 2));
        GuiTest::ProcessEvents();
    }
    ASSERT_EQ(g->Cells(0, 1), QStringLiteral("Alpha"));
    EXPECT_EQ(g->Cells(0, g->Row()), QStringLiteral("Gamma"));
    EXPECT_EQ(dd->ItemIndex(), 2);
    const char *order[] = {"Alpha", "Beta", "Delta", "Gamma"};
    const int items[] = {1, 3, 0, 2};
    for (int r = 1; r <= 4; ++r) {
        EXPECT_EQ(g->Cells(0, r), QString::fromUtf8(order[r - 1]));
        EXPECT_EQ(dd->RowToItemIndex(r), items[r - 1]) << "the item index travels with its row";
    }
}

TEST_F(GridDropDownTest, FewerItemsAtTheNextDropLeaveAGridThatIsFreedCleanly)
{
    Fill();
    Open();
    dd->HideDropDown(false);
    // A long list once (its last row far past what a write may reach once the grid is short).
    TExtColGrid *g = Grid();
    g->SetRowCount(70000);
    g->SetObjectEx(0, 69990, reinterpret_cast<TObject *>(std::intptr_t(69989)));
    dd->Items()->Delete(3);
    dd->Items()->Delete(2);
    Open();
    EXPECT_EQ(g->RowCount(), 3);
    EXPECT_EQ(dd->RowToItemIndex(2), 1);
    dd->HideDropDown(false);
    // The rows given up still hold their item indices in the cell store.
    EXPECT_NO_THROW(form.reset());
}

TEST_F(GridDropDownTest, ItemIndexPastTheEntriesIsIgnored)
{
    Fill();
    dd->SetItemIndex(1);
    dd->SetItemIndex(4);
    EXPECT_EQ(dd->ItemIndex(), 1) << "Count is past the items";
    EXPECT_EQ(dd->Text(), QStringLiteral("Alpha"));

    // Rows filled by the application: row Value + 1 must exist.
    dd->UseItems = false;
    TExtColGrid *g = Grid();
    g->SetRowCount(4);
    g->SetCells(0, 1, QStringLiteral("r1"));
    g->SetCells(0, 3, QStringLiteral("r3"));
    dd->SetItemIndex(2);
    EXPECT_EQ(dd->Text(), QStringLiteral("r3"));
    dd->SetText(QStringLiteral("typed"));
    dd->SetItemIndex(2);
    EXPECT_EQ(dd->Text(), QStringLiteral("typed")) << "the same index again does nothing";
    dd->SetItemIndex(3);
    EXPECT_EQ(dd->ItemIndex(), 2) << "RowCount - 1 would read past the grid";
    dd->SetItemIndex(0);
    EXPECT_EQ(dd->Text(), QStringLiteral("r1"));
}

TEST_F(GridDropDownTest, TypedKeysLookUpNarrowOrDoNothing)
{
    Fill();
    dd->SetText(QString());
    dd->LookupMethod = lmNone;
    GuiTest::TypeText(dd, QStringLiteral("g"));
    EXPECT_EQ(dd->LookupEntry(), QString()) << "lmNone never searches";

    // dsDropDown keeps growing the entry; dsDropDownList starts again with the key alone.
    dd->LookupMethod = lmLookup;
    dd->SetText(QString());
    GuiTest::TypeText(dd, QStringLiteral("gx"));
    EXPECT_EQ(dd->LookupEntry(), QStringLiteral("gx"));
    dd->SetStyle(dsDropDownList);
    EXPECT_FALSE(dd->EditorEnabled());
    GuiTest::TypeText(dd, QStringLiteral("g"));
    EXPECT_EQ(dd->ItemIndex(), 2);
    GuiTest::TypeText(dd, QStringLiteral("b"));
    EXPECT_EQ(dd->LookupEntry(), QStringLiteral("b"));
    EXPECT_EQ(dd->Text(), QStringLiteral("Beta"));
    EXPECT_EQ(dd->ItemIndex(), 3);
}

TEST_F(GridDropDownTest, NarrowingFiltersTheGridAndABlankEntryClearsIt)
{
    Fill();
    Open();
    dd->HideDropDown(false);
    dd->LookupMethod = lmNarrowDown;
    dd->SetText(QString());
    GuiTest::TypeText(dd, QStringLiteral("a"));
    TExtColGrid *g = Grid();
    EXPECT_EQ(g->RowCount(), 1 + 4) << "every name holds an a";
    GuiTest::TypeText(dd, QStringLiteral("m"));
    EXPECT_EQ(g->RowCount(), 2);
    EXPECT_EQ(g->Cells(0, 1), QStringLiteral("Gamma"));
    EXPECT_EQ(dd->Text(), QStringLiteral("Gamma")) << "dsDropDown shows the first row left";
    GuiTest::TypeText(dd, QStringLiteral("q"));
    EXPECT_EQ(g->RowCount(), 1) << "the header stays when nothing matches";
    // A blank entry takes every filter away (Escape empties the entry first).
    GuiTest::PressKey(dd, VK_ESCAPE);
    g->NarrowDown(QStringLiteral("delta"), 0);
    ASSERT_EQ(g->RowCount(), 2);
    GuiTest::TypeText(dd, QStringLiteral(" "));
    EXPECT_EQ(g->RowCount(), 5);
}

TEST_F(GridDropDownTest, EndAndHomeChooseOnlyInAListWithoutShift)
{
    Fill();
    dd->SetItemIndex(1);
    struct {
        TDropDownStyle Style;
        Word Key;
        TShiftState Shift;
        int Expected;
    } cases[] = {
        {dsDropDown, VK_END, {}, 1},
        {dsDropDownList, VK_END, {ssShift}, 1},
        {dsDropDownList, VK_END, {}, 3},
        {dsDropDownList, VK_HOME, {}, 0},
    };
    for (auto c : cases) {
        dd->SetStyle(c.Style);
        GuiTest::PressKey(dd, c.Key, c.Shift);
        EXPECT_EQ(dd->ItemIndex(), c.Expected) << c.Key << " style " << c.Style;
    }
}

TEST_F(GridDropDownTest, EnterInTheGridChoosesAndNeverReachesItsCharacters)
{
    Fill();
    Open();
    TExtColGrid *g = Grid();
    GuiTest::PressKey(g, VK_DOWN);
    GuiTest::PressKey(g, VK_DOWN);
    int chars = 0;
    g->OnKeyPress = [&](TObject *, WideChar &) { ++chars; };
    bool selected = false;
    dd->OnSelect = [&](TObject *Sender) { selected = Sender == dd; };
    GuiTest::PressKey(g, VK_RETURN);
    EXPECT_TRUE(selected);
    EXPECT_FALSE(dd->DroppedDown());
    EXPECT_EQ(chars, 0);
    EXPECT_EQ(dd->Text(), QStringLiteral("Gamma"));
    EXPECT_EQ(dd->ItemIndex(), 2);

    // Enter at once chooses the row the popup opened on.
    Open();
    GuiTest::PressKey(Grid(), VK_RETURN);
    EXPECT_EQ(dd->ItemIndex(), 2);
}

TEST_F(GridDropDownTest, ALeftClickChoosesARightClickOrACheckBoxDoesNot)
{
    Fill();
    Open();
    TExtColGrid *g = Grid();
    g->AddCheckBox(1, 2, false, false);
    GuiTest::Click(g, CellPoint(0, 3), mbRight);
    EXPECT_TRUE(dd->DroppedDown()) << "a right click";
    GuiTest::Click(g, CellPoint(1, 2));
    EXPECT_TRUE(dd->DroppedDown()) << "a check box cell";
    GuiTest::Click(g, CellPoint(0, 4));
    EXPECT_FALSE(dd->DroppedDown());
    EXPECT_EQ(dd->Text(), QStringLiteral("Beta"));

    // An editable grid chooses and stays open.
    dd->GridEditable = true;
    Open();
    GuiTest::Click(Grid(), CellPoint(0, 1));
    EXPECT_TRUE(dd->DroppedDown());
    EXPECT_EQ(dd->Text(), QStringLiteral("Delta"));
}

TEST_F(GridDropDownTest, LoadingNeverShrinksTheColumnsButLoadItemsSetsThem)
{
    Fill();
    TExtColGrid *g = Grid();
    g->SetColCount(5);
    dd->UseItems = false;
    g->LoadFromDropDown(dd);
    EXPECT_EQ(g->ColCount(), 5);
    g->LoadItems();
    EXPECT_EQ(g->ColCount(), 2);

    // The popup's height holds whole rows plus 6.
    dd->DropDownHeader()->SetVisible(false);
    dd->DropDownFooter()->SetVisible(false);
    int h = 200;
    dd->AdaptDropDownHeight(h);
    EXPECT_EQ(h, 25 + 6 + 22 * ((200 - 25 - 2) / 22));
}

TEST_F(GridDropDownTest, StylesAndTheDesignerDefaults)
{
    EXPECT_EQ(dd->Columns()->Count(), 0) << "made at run time";
    EXPECT_EQ(dd->LineColor, TColor(0xF1EDEB));
    EXPECT_EQ(dd->GetVersionNr(), 0x06000101);
    dd->SetComponentStyle(tsOffice2003Olive);
    EXPECT_EQ(dd->HeaderColor, TColor(0x82C0AF));
    EXPECT_EQ(dd->LineColor, TColor(0x588060));
    dd->SetComponentStyle(tsOffice2010Blue);
    EXPECT_EQ(dd->HeaderColor, TColor(0x82C0AF)) << "the 2010 styles leave the colours";
}

// ---- the inner grid's events ----

namespace {

TBrush *SampleBrush()
{
    static TBrush b;
    return &b;
}

template <class T>
T Sample(int &Counter)
{
    if constexpr (std::is_same_v<T, int>)
        return ++Counter;
    else if constexpr (std::is_same_v<T, UnicodeString>)
        return QStringLiteral("s%1").arg(++Counter);
    else if constexpr (std::is_same_v<T, TBrush *>)
        return SampleBrush();
    else
        return T{};
}

struct TProbe {
    bool Fired = false;
    TObject *Sender = nullptr;
    bool SameArgs = true;
};

template <class... A>
TProbe Probe(TObject *Grid, std::function<void(TObject *, A...)> &GridEvent, std::function<void(TObject *, A...)> &DropDownEvent)
{
    TProbe p;
    if (!GridEvent)
        return p;
    [[maybe_unused]] int counter = 0;
    std::tuple<std::decay_t<A>...> sent{Sample<std::decay_t<A>>(counter)...};
    const auto copy = sent;
    DropDownEvent = [&](TObject *Sender, A... Args) {
        p.Fired = true;
        p.Sender = Sender;
        if constexpr ((std::equality_comparable<std::decay_t<A>> && ...))
            p.SameArgs = std::tuple<std::decay_t<A>...>(Args...) == copy;
    };
    std::apply([&](auto &...a) { GridEvent(Grid, a...); }, sent);
    DropDownEvent = nullptr;
    return p;
}

} // namespace

TEST_F(GridDropDownTest, EveryInnerEventReachesItsDropDownEvent)
{
    Fill();
    dd->OnGridCustomCellDraw = [](TObject *, TCanvas *, int, int, TGridDrawState, TRect, bool) {};
    dd->OnGridCustomCellBkgDraw = [](TObject *, TCanvas *, int, int, TGridDrawState, TRect, bool) {};
    dd->Columns()->Clear(); // no column looks in the way of the arguments
    Open();
    TExtColGrid *g = Grid();
    int walked = 0;
#define EXT_PROBE(Suffix, GridEvent, DropDownEvent, Extra)                                                           \
    {                                                                                                                  \
        ++walked;                                                                                                      \
        const TProbe p = Probe(g, g->GridEvent, dd->DropDownEvent);                                                    \
        const UnicodeString name = QStringLiteral(#GridEvent);                                                         \
        const bool never = name == QLatin1String("OnCanSort") || name == QLatin1String("OnClickSort") ||              \
                           name == QLatin1String("OnCustomCompare") || name == QLatin1String("OnRawCompare");          \
        const bool fromDropDown = Extra == exSenderDropDown || name.startsWith(QLatin1String("OnKey"));                \
        if (never) {                                                                                                   \
            EXPECT_FALSE(p.Fired) << #GridEvent;                                                                       \
        } else {                                                                                                       \
            EXPECT_TRUE(p.Fired) << #GridEvent;                                                                        \
            EXPECT_EQ(p.Sender, fromDropDown ? static_cast<TObject *>(dd) : static_cast<TObject *>(g)) << #GridEvent;  \
            if (Extra != exEmptyFloatFormat && !fromDropDown) {                                                        \
                EXPECT_TRUE(p.SameArgs) << #GridEvent;                                                                 \
            }                                                                                                          \
        }                                                                                                              \
    }
    EXT_GRID_DROPDOWN_EVENTS(EXT_PROBE)
#undef EXT_PROBE
    EXPECT_GT(walked, 0);
    bool state = false;
    dd->OnGridCheckBoxClick = [&](TObject *Sender, int, int, bool State) { state = State && Sender == g; };
    g->OnCheckBoxClick(g, 0, 1, true);
    EXPECT_TRUE(state);
}

TEST_F(GridDropDownTest, DraggingTheInnerGridsThumbLetsTheApplicationWordTheScrollHint)
{
    Fill();
    for (int i = 0; i < 60; ++i) {
        auto *it = dd->Items()->Add();
        it->Text()->Add(QStringLiteral("Item %1").arg(i));
        it->Text()->Add(QString::number(i));
    }
    dd->BuildLookupItems();
    int hintedRow = -1;
    TObject *hintSender = nullptr;
    dd->OnGridScrollHint = [&](TObject *Sender, int ARow, UnicodeString &Text) {
        hintSender = Sender;
        hintedRow = ARow;
        Text = QStringLiteral("to %1").arg(ARow);
    };
    Open();
    TExtColGrid *g = Grid();
    g->SetScrollHints(shVertical);
    g->Perform(WM_VSCROLL, MakeWParam(SB_THUMBTRACK, 0), 0);
    g->Perform(WM_VSCROLL, MakeWParam(SB_ENDSCROLL, 0), 0);
    EXPECT_EQ(hintSender, g);
    EXPECT_EQ(hintedRow, g->FixedRows());
}

TEST_F(GridDropDownTest, ColumnLooksAndAnEmptyFloatFormatComeFirst)
{
    Fill();
    dd->Columns()->Items(1)->Alignment = taRightJustify;
    dd->Columns()->Items(1)->Color = 0x00AA00;
    Open();
    TExtColGrid *g = Grid();
    TAlignment h = taLeftJustify;
    TVAlignment v = vtaTop;
    g->OnGetAlignment(g, 1, 1, h, v);
    EXPECT_EQ(h, taRightJustify) << "no application handler";
    TBrush brush;
    TFont font;
    g->OnGetCellColor(g, 1, 1, {}, &brush, &font);
    EXPECT_EQ(brush.Color(), TColor(0x00AA00));
    h = taLeftJustify;
    g->OnGetAlignment(g, 1, 5, h, v);
    EXPECT_EQ(h, taLeftJustify) << "a column without a definition";

    dd->OnGridGetAlignment = [](TObject *, int, int, TAlignment &H, TVAlignment &) { H = taCenter; };
    dd->OnGridGetCellColor = [](TObject *, int, int, TGridDrawState, TBrush *B, TFont *) { B->SetColor(0x0000FF); };
    g->OnGetAlignment(g, 1, 1, h, v);
    EXPECT_EQ(h, taCenter) << "the application's handler has the last word";
    g->OnGetCellColor(g, 1, 1, {}, &brush, &font);
    EXPECT_EQ(brush.Color(), TColor(0x0000FF));

    bool isFloat = true;
    UnicodeString format = QStringLiteral("%.2f");
    g->OnGetFloatFormat(g, 1, 1, isFloat, format);
    EXPECT_EQ(format, QString());
}

TEST_F(GridDropDownTest, ACellDrawHandlerSetLaterTakesPartAtTheNextDrop)
{
    Fill();
    Open();
    EXPECT_FALSE(Grid()->OnCustomCellDraw);
    dd->HideDropDown(false);
    int drawn = 0;
    dd->OnGridCustomCellDraw = [&](TObject *, TCanvas *, int, int, TGridDrawState, TRect, bool) { ++drawn; };
    Open();
    ASSERT_TRUE(Grid()->OnCustomCellDraw);
    Grid()->Repaint();
    GuiTest::ProcessEvents();
    EXPECT_GT(drawn, 0);
}

TEST_F(GridDropDownTest, ADialogFromAnEllipsisClickLeavesThePopupOpen)
{
    Fill();
    Open();
    bool blocked = false;
    dd->OnGridEllipsClick = [&](TObject *, int, int, UnicodeString &) {
        blocked = dd->DropDownForm()->BlockActivate;
        // The window the handler shows takes the activation.
        TForm dialog(nullptr);
        dialog.Show();
        GuiTest::ProcessEvents();
        dialog.Hide();
    };
    UnicodeString s;
    Grid()->OnEllipsClick(Grid(), 0, 1, s);
    GuiTest::ProcessEvents();
    EXPECT_TRUE(blocked);
    EXPECT_FALSE(dd->DropDownForm()->BlockActivate) << "released after the handler";
    EXPECT_TRUE(dd->DroppedDown());
}
