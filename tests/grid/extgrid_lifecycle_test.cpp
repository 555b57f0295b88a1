// The string grid's life: its defaults, what it owns and frees, the owner form's resize chain,
// window creation, the end of loading, copying, and the bounds, repaint and scroll bar rules.
#include "grid/core/ExtGrid.h"

#include "support/GuiTest.h"
#include "support/TempDir.h"

#include "controls/ExtStyleIF.h"
#include "platform/Registry.h"

#include "platform/Forms.h"
#include "platform/Windows.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace {

class TTestGrid : public TExtStringGrid {
public:
    explicit TTestGrid(TComponent *AOwner = nullptr) : TExtStringGrid(AOwner) {}
    using TExtStringGrid::Loaded;
    int Paints = 0;

    QString Field(const QString &Name) const
    {
        auto hex = [](TColor c) { return QStringLiteral("0x") + QString::number(quint32(c), 16).toUpper(); };
        if (Name == u"RowCount") return QString::number(RowCount());
        if (Name == u"ColCount") return QString::number(ColCount());
        if (Name == u"FixedRows") return QString::number(FixedRows());
        if (Name == u"FixedCols") return QString::number(FixedCols());
        if (Name == u"DefaultRowHeight") return QString::number(DefaultRowHeight());
        if (Name == u"FixedRowHeight") return QString::number(FFixedRowHeight);
        if (Name == u"Width") return QString::number(Width());
        if (Name == u"Height") return QString::number(Height());
        if (Name == u"CheckTrue") return FCheckTrue;
        if (Name == u"CheckFalse") return FCheckFalse;
        if (Name == u"FloatFormat") return FFloatFormat;
        if (Name == u"XMLEncoding") return FXMLEncoding;
        if (Name == u"FilterDropDownClear") return FFilterDropDownClear;
        if (Name == u"PasswordChar") return QString(QChar(FPasswordChar));
        if (Name == u"FixedFont") return FFixedFont->Name() + (FFixedFont->Style().Contains(TFontStyle::fsBold) ? QStringLiteral(" bold") : QString());
        if (Name == u"ActiveCellFontBold") return QString::number(FActiveCellFont->Style().Contains(TFontStyle::fsBold));
        if (Name == u"BorderColor") return hex(FBorderColor);
        if (Name == u"ScrollWidth") return QString::number(FScrollWidth);
        if (Name == u"ScrollType") return QString::number(int(FScrollType));
        if (Name == u"ScrollColor") return hex(FScrollColor);
        if (Name == u"ActiveCellColor") return hex(FActiveCellColor);
        if (Name == u"ActiveCellColorTo") return hex(FActiveCellColorTo);
        if (Name == u"SelectionColor") return hex(FSelectionColor);
        if (Name == u"HintColor") return hex(FHintColor);
        if (Name == u"URLColor") return hex(FURLColor);
        if (Name == u"DisabledFontColor") return hex(FDisabledFontColor);
        if (Name == u"XYOffset") return QStringLiteral("%1,%2").arg(FXYOffset.X).arg(FXYOffset.Y);
        if (Name == u"Look") return QString::number(int(FLook));
        if (Name == u"IsComCtl6") return QString::number(FIsComCtl6);
        if (Name == u"IsWinXP") return QString::number(FIsWinXP);
        if (Name == u"IsWin7") return QString::number(FIsWin7);
        if (Name == u"FilterNormalCellsOnly") return QString::number(FFilterNormalCellsOnly);
        if (Name == u"AutoFilterUpdate") return QString::number(FAutoFilterUpdate);
        if (Name == u"FilterCol") return QString::number(FFilterCol);
        if (Name == u"SaveFixedCells") return QString::number(FSaveFixedCells);
        if (Name == u"SaveVirtCells") return QString::number(FSaveVirtCells);
        if (Name == u"SaveWithHTML") return QString::number(FSaveWithHTML);
        if (Name == u"QuoteEmptyCells") return QString::number(FQuoteEmptyCells);
        if (Name == u"LoadFirstRow") return QString::number(FLoadFirstRow);
        if (Name == u"PrintPages") return QStringLiteral("%1..%2 %3").arg(FPrintPageFrom).arg(FPrintPageTo).arg(FPrintPageNum);
        if (Name == u"VisibleCol") return QString::number(std::count(FVisibleCol.begin(), FVisibleCol.end(), true));
        if (Name == u"CheckSize") return QString::number(FControlLook->CheckSize);
        if (Name == u"RadioSize") return QString::number(FControlLook->RadioSize);
        if (Name == u"ControlStyle") return QString::number(int(FControlLook->ControlStyle()));
        if (Name == u"NodeIndent") return QString::number(FCellNode->NodeIndent());
        if (Name == u"NodeType") return QString::number(int(FCellNode->NodeType()));
        if (Name == u"StretchColumn") return QString::number(FColumnSize->StretchColumn);
        if (Name == u"ShowModifiedColor") return hex(FShowModified->Color());
        if (Name == u"OleAccept") return QStringLiteral("%1%2%3").arg(FDragDropSettings->OleAcceptText).arg(FDragDropSettings->OleAcceptFiles).arg(FDragDropSettings->OleAcceptURLs);
        if (Name == u"GroupLines") return QStringLiteral("%1 %2").arg(FGrouping->HeaderLineWidth).arg(hex(FGrouping->HeaderLineColor));
        if (Name == u"GroupColumn") return QString::number(FGroupColumn);
        if (Name == u"SizeWhileTyping") return QStringLiteral("%1%2").arg(FSizeWhileTyping->Height).arg(FSizeWhileTyping->Width);
        if (Name == u"FilterList") return QStringLiteral("%1 %2").arg(FFilterList->Sorted()).arg(int(FFilterList->Duplicates()));
        if (Name == u"DropListsHidden") return QString::number(!FDropList->Visible() && !FDropCheckList->Visible() && FDropList->Width() == 0);
        if (Name == u"EditorsHidden") return QString::number(!EditCombo->Visible() && !EditBtn->Visible() && !UnitEditBtn->Visible() && !GridButton->Visible() && !EditCheck->Visible());
        if (Name == u"EditBtnCaption") return EditBtn->ButtonCaption();
        if (Name == u"LinkCursor") return QString::number(ExtGrid::LinkCursor);
        if (Name == u"FlatScrollBars") return QString::number(ExtGrid::FlatScrollBarsAvailable);
        return QStringLiteral("?");
    }

protected:
    void Paint() override
    {
        ++Paints;
        TExtStringGrid::Paint();
    }
};

TEST(ExtGridLifecycle, NewGridHasTheDefaults)
{
    TTestGrid g;
    const std::vector<std::pair<QString, QString>> expected{
        {"RowCount", "10"}, {"ColCount", "5"}, {"FixedRows", "1"}, {"FixedCols", "1"},
        {"DefaultRowHeight", "22"}, {"FixedRowHeight", "22"}, {"Width", "400"}, {"Height", "250"},
        {"CheckTrue", "Y"}, {"CheckFalse", "N"}, {"FloatFormat", "%.2f"}, {"XMLEncoding", "ISO-8859-1"},
        {"FilterDropDownClear", "(All)"}, {"PasswordChar", "*"}, {"FixedFont", "Tahoma bold"},
        {"ActiveCellFontBold", "1"}, {"BorderColor", "0xB99D7F"}, {"ScrollWidth", "17"}, {"ScrollType", "0"},
        {"ScrollColor", "0x1FFFFFFF"}, {"ActiveCellColor", "0xFF00000F"}, {"ActiveCellColorTo", "0xFF00000F"},
        {"SelectionColor", "0xFF00000D"}, {"HintColor", "0xFF000018"}, {"URLColor", "0xFF0000"},
        {"DisabledFontColor", "0xC0C0C0"}, {"XYOffset", "2,2"}, {"Look", QString::number(int(glXP))},
        {"IsComCtl6", "0"}, {"IsWinXP", "1"}, {"IsWin7", "1"}, {"FilterNormalCellsOnly", "1"},
        {"AutoFilterUpdate", "1"}, {"FilterCol", "-1"}, {"SaveFixedCells", "1"}, {"SaveVirtCells", "1"},
        {"SaveWithHTML", "1"}, {"QuoteEmptyCells", "1"}, {"LoadFirstRow", "1"}, {"PrintPages", "1..1 0"},
        {"VisibleCol", "513"}, {"CheckSize", "15"}, {"RadioSize", "10"}, {"ControlStyle", "6"},
        {"NodeIndent", "12"}, {"NodeType", QString::number(int(cnXP))}, {"StretchColumn", "-1"},
        {"ShowModifiedColor", "0xFFFF"}, {"OleAccept", "111"}, {"GroupLines", "2 0xFF0000"},
        {"GroupColumn", "-1"}, {"SizeWhileTyping", "00"}, {"FilterList", "1 0"}, {"DropListsHidden", "1"},
        {"EditorsHidden", "1"}, {"EditBtnCaption", "..."}, {"LinkCursor", "-21"}, {"FlatScrollBars", "1"},
    };
    for (const auto &[name, value] : expected)
        EXPECT_EQ(g.Field(name).toStdString(), value.toStdString()) << name.toStdString();
}

TEST(ExtGridLifecycle, OwnedObjectsAreFreedOnceWithAndWithoutWindowAndForm)
{
    const int before = ExtGridLiveObjects();
    {
        TTestGrid alone;
        EXPECT_GT(ExtGridLiveObjects(), before);
    }
    EXPECT_EQ(ExtGridLiveObjects(), before);
    {
        auto *form = new TForm(nullptr);
        auto *onForm = new TTestGrid(form);
        onForm->SetParent(form);
        form->Show();
        GuiTest::ProcessEvents();
        EXPECT_TRUE(onForm->HandleAllocated());
        auto *formless = new TTestGrid(nullptr);
        formless->SetParent(form);
        formless->HandleNeeded();
        delete formless;
        delete form;
    }
    EXPECT_EQ(ExtGridLiveObjects(), before);
    {
        // Cells with graphics and properties go with the grid.
        TTestGrid g;
        g.AddCheckBox(1, 1, cbChecked);
        g.CreateCellGraphic(2, 2)->SetButton(10, 10, "b", haLeft, vaTop);
        g.SetCells(3, 3, "x");
    }
    EXPECT_EQ(ExtGridLiveObjects(), before);
}

// Two grids chain themselves into their form's OnResize. Whatever order they go in, each resize
// reaches the form's own handler once and every live grid, never a destroyed one.
class ExtGridFormResize : public ::testing::TestWithParam<bool> {};

TEST_P(ExtGridFormResize, ChainKeepsLiveGridsAndFormHandler)
{
    auto form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 500, 400);
    int formCalls = 0;
    form->OnResize = [&](TObject *) { ++formCalls; };
    auto *a = new TTestGrid(form.get());
    auto *b = new TTestGrid(form.get());
    for (TTestGrid *g : {a, b}) {
        g->SetSizeWithForm(true);
        g->SetBounds(0, 0, 100, 100);
    }
    auto resize = [&](int w) {
        form->SetBounds(0, 0, w, 400);
    };
    resize(510);
    EXPECT_EQ(formCalls, 1);
    EXPECT_EQ(a->Width(), 110);
    EXPECT_EQ(b->Width(), 110);

    const bool firstGoesFirst = GetParam();
    TTestGrid *gone = firstGoesFirst ? a : b;
    TTestGrid *live = firstGoesFirst ? b : a;
    delete gone;
    resize(530);
    EXPECT_EQ(formCalls, 2);
    EXPECT_EQ(live->Width(), 130);
    delete live;
    resize(540);
    EXPECT_EQ(formCalls, 3);
}

INSTANTIATE_TEST_SUITE_P(BothOrders, ExtGridFormResize, ::testing::Bool());

TEST(ExtGridLifecycle, FormResizeSwallowsTheFormHandlersException)
{
    TForm form(nullptr);
    form.OnResize = [](TObject *) { throw Exception("boom"); };
    auto *g = new TTestGrid(&form);
    EXPECT_NO_THROW(form.OnResize(&form));
    delete g;
    EXPECT_THROW(form.OnResize(&form), Exception);
}

TEST(ExtGridLifecycle, IntegralHeightFitsWholeRows)
{
    TTestGrid g;
    g.SetIntegralHeight(true);
    g.SetBounds(0, 0, 400, 250);
    EXPECT_EQ(g.Height(), 246);
    g.SetIntegralHeight(false);
    g.SetBounds(0, 0, 400, 250);
    EXPECT_EQ(g.Height(), 250);
}

TEST(ExtGridLifecycle, ScrollBarAlwaysShowsDisabledBarsOrHidesThem)
{
    TForm form(nullptr);
    auto *g = new TTestGrid(&form);
    g->SetParent(&form);
    g->SetRowCount(3);
    form.Show();
    GuiTest::ProcessEvents();
    TGridScrollInfo h, v;

    g->SetScrollBarAlways(saBoth);
    g->GetScrollInfo(SB_HORZ, h);
    g->GetScrollInfo(SB_VERT, v);
    EXPECT_TRUE(h.Visible);
    EXPECT_TRUE(v.Visible);
    EXPECT_FALSE(g->ScrollBarEnabled(SB_HORZ));
    EXPECT_FALSE(g->ScrollBarEnabled(SB_VERT));

    // Switching back to none hides the bars at once where everything fits.
    g->SetScrollBarAlways(saNone);
    g->GetScrollInfo(SB_HORZ, h);
    g->GetScrollInfo(SB_VERT, v);
    EXPECT_FALSE(h.Visible);
    EXPECT_FALSE(v.Visible);

    // Rows that do not fit keep an enabled bar.
    g->SetRowCount(200);
    g->SetScrollBarAlways(saVert);
    EXPECT_TRUE(g->ScrollBarEnabled(SB_VERT));
}

TEST(ExtGridLifecycle, OneRepaintIsSwallowedAfterAnEditChange)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 500, 400);
    auto *g = new TTestGrid(&form);
    g->SetParent(&form);
    form.Show();
    ASSERT_TRUE(GuiTest::WaitUntil([&] { return g->Paints > 0; }));
    GuiTest::ProcessEvents(50);
    const int painted = g->Paints;

    g->SetEditChange(true);
    g->Invalidate();
    GuiTest::ProcessEvents(100);
    EXPECT_EQ(g->Paints, painted);
    EXPECT_FALSE(g->EditChange());

    g->Invalidate();
    EXPECT_TRUE(GuiTest::WaitUntil([&] { return g->Paints > painted; }));
}

TEST(ExtGridLifecycle, WindowCreationStartsTheGridTimerAndDrawsClassic)
{
    TForm form(nullptr);
    auto *g = new TTestGrid(&form);
    EXPECT_EQ(g->GridTimerID(), 0);
    EXPECT_TRUE(g->IsWinXP());
    g->SetParent(&form);
    g->HandleNeeded();
    EXPECT_EQ(g->GridTimerID(), 111);
    // Without visual styles the grid draws the classic way.
    EXPECT_FALSE(g->IsWinXP());
}

TEST(ExtGridLifecycle, LoadingRecordsMinimumsAndMovesAlwaysShowEditor)
{
    TForm form(nullptr);
    auto &g = *new TTestGrid(&form);
    g.SetParent(&form);
    g.HandleNeeded();
    g.BeginLoading();
    g.SetFixedRows(2);
    g.SetRowCount(7);
    TGridOptions o = g.Options();
    o.Include(goAlwaysShowEditor);
    g.SetOptions(o);
    g.ColumnHeaders()->Add("A");
    g.ColumnHeaders()->Add("B\\nC");
    g.EndLoading();
    EXPECT_TRUE(g.Loaded_());
    EXPECT_EQ(g.FixedRowsMin(), 2);
    EXPECT_EQ(g.FixedColsMin(), 1);
    EXPECT_TRUE(g.Navigation()->AlwaysEdit);
    EXPECT_FALSE(g.Options().Contains(goAlwaysShowEditor));
    // Drawn the classic way (no visual styles), the themed control style falls back to classic.
    EXPECT_EQ(g.ControlLook()->ControlStyle(), TControlLook::csClassic);
    EXPECT_EQ(g.Cells(0, 0), "A");
    EXPECT_EQ(g.Cells(1, 0), "B\rC");
}

TEST(ExtGridLifecycle, AssignCopiesFromAGridOnly)
{
    TTestGrid src, dst;
    src.SetColCount(7);
    src.SetRowCount(12);
    src.SetColWidths(2, 99);
    src.Navigation()->AlwaysEdit = true;
    src.CellNode()->SetNodeIndent(20);
    src.ColumnHeaders()->Add("H");
    dst.Assign(&src);
    EXPECT_EQ(dst.ColCount(), 7);
    EXPECT_EQ(dst.RowCount(), 12);
    EXPECT_EQ(dst.ColWidths(2), 99);
    EXPECT_TRUE(dst.Navigation()->AlwaysEdit);
    EXPECT_EQ(dst.CellNode()->NodeIndent(), 20);
    EXPECT_EQ(dst.ColumnHeaders()->Count(), 1);

    TStringList other;
    EXPECT_NO_THROW(dst.Assign(&other));
    EXPECT_EQ(dst.ColCount(), 7);
}

// Every setting a copy takes: each case changes the source away from the default and reads the
// setting back from the copy.
TEST(ExtGridLifecycle, AssignCopiesEverySettingItLists)
{
    struct TCase {
        const char *Name;
        std::function<void(TTestGrid &)> Set;
        std::function<QString(TTestGrid &)> Get;
    };
    const std::vector<TCase> cases{
        {"FilterDropDown", [](TTestGrid &g) { g.FilterDropDown()->Height = 321; },
         [](TTestGrid &g) { return QString::number(g.FilterDropDown()->Height); }},
        {"AnchorHint", [](TTestGrid &g) { g.SetAnchorHint(true); }, [](TTestGrid &g) { return QString::number(g.AnchorHint()); }},
        {"AutoNumAlign", [](TTestGrid &g) { g.SetAutoNumAlign(true); },
         [](TTestGrid &g) { return QString::number(g.AutoNumAlign()); }},
        {"AutoSize", [](TTestGrid &g) { g.SetAutoSize(true); }, [](TTestGrid &g) { return QString::number(g.AutoSize()); }},
        {"Filter", [](TTestGrid &g) { g.Filter()->Add()->Condition = "x*"; },
         [](TTestGrid &g) { return g.Filter()->Count() ? g.Filter()->Items(0)->Condition : QString(); }},
        {"SortSettings", [](TTestGrid &g) { g.SortSettings()->Show = true; },
         [](TTestGrid &g) { return QString::number(g.SortSettings()->Show); }},
        {"DragScrollOptions", [](TTestGrid &g) { g.DragScrollOptions()->Active = true; },
         [](TTestGrid &g) { return QString::number(g.DragScrollOptions()->Active); }},
        {"DragDropSettings", [](TTestGrid &g) { g.DragDropSettings()->OleAcceptFiles = false; },
         [](TTestGrid &g) { return QString::number(g.DragDropSettings()->OleAcceptFiles); }},
        {"ProgressAppearance", [](TTestGrid &g) { g.ProgressAppearance()->SetStacked(true); },
         [](TTestGrid &g) { return QString::number(g.ProgressAppearance()->Stacked()); }},
        {"ColumnSize", [](TTestGrid &g) { g.ColumnSize()->StretchColumn = 2; },
         [](TTestGrid &g) { return QString::number(g.ColumnSize()->StretchColumn); }},
        {"FixedColWidth", [](TTestGrid &g) { g.SetFixedColWidth(33); },
         [](TTestGrid &g) { return QString::number(g.FixedColWidth()); }},
        {"InvalidEntry",
         [](TTestGrid &g) {
             g.InvalidEntryTitle = "Title";
             g.InvalidEntryText = "Text";
             g.InvalidEntryIcon = ieError;
         },
         [](TTestGrid &g) { return g.InvalidEntryTitle + g.InvalidEntryText + QString::number(g.InvalidEntryIcon); }},
        {"ScrollColor", [](TTestGrid &g) { g.SetScrollColor(TColorOf(0x123456u)); },
         [](TTestGrid &g) { return QString::number(quint32(g.ScrollColor()), 16); }},
        {"ScrollWidth", [](TTestGrid &g) { g.SetScrollWidth(9); }, [](TTestGrid &g) { return QString::number(g.ScrollWidth()); }},
    };
    for (const TCase &c : cases) {
        TTestGrid src, dst, fresh;
        c.Set(src);
        ASSERT_NE(c.Get(src), c.Get(fresh)) << c.Name;
        dst.Assign(&src);
        EXPECT_EQ(c.Get(dst), c.Get(src)) << c.Name;
    }

    // The scroll type goes through its setter: a grid with a window takes the thin indicators
    // in place of its scroll bars.
    TForm form(nullptr);
    auto *shown = new TTestGrid(&form);
    shown->SetParent(&form);
    shown->HandleNeeded();
    TTestGrid metro;
    metro.SetScrollType(ssMetro);
    shown->Assign(&metro);
    EXPECT_EQ(shown->ScrollType(), ssMetro);
    EXPECT_EQ(shown->ScrollBars(), ssNone);
}

// Switched on from code, AutoSize sizes the normal columns with a padding of 10 at once; while
// the grid is loading it only remembers the wish; the grid's theme adaptation reaches its search
// footer.
TEST(ExtGridLifecycle, AutoSizeAndThemeAdaptationFollowLoading)
{
    const UnicodeString wide = "a text wider than a column is by default";
    TTestGrid g;
    g.SetCells(0, 1, wide);
    g.SetCells(2, 1, wide);
    g.SetAutoSize(true);
    const int sized = g.ColWidths(2);
    EXPECT_GT(sized, 150);
    EXPECT_EQ(g.ColWidths(0), g.DefaultColWidth()) << "the fixed column keeps its width";
    g.SetAutoSize(false);
    g.SetColWidths(2, 40);
    g.AutoSizeCol(2, 0);
    EXPECT_EQ(g.ColWidths(2) + 10, sized);

    TTestGrid l;
    l.BeginLoading();
    l.SetCells(0, 1, wide);
    l.SetAutoSize(true);
    l.SetAutoThemeAdapt(true);
    EXPECT_EQ(l.ColWidths(0), l.DefaultColWidth());
    l.EndLoading();
    EXPECT_GT(l.ColWidths(0), 150) << "loading sizes every column";
    EXPECT_TRUE(l.SearchFooter()->AutoThemeAdapt());
}

// With Office settings to watch, an adapting grid's window is on the watcher's list from loading
// on, leaves it when adaptation is switched off or the window goes, and comes back with a new one.
class ExtGridThemeWatch : public TempDirTest {
protected:
    void SetUp() override
    {
        qputenv("FABRICOR_REGISTRY_FILE", PathOf("registry.ini").toUtf8());
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey("\\Software\\Microsoft\\Office\\14.0\\Common\\General", true));
        reg.CloseKey();
        ASSERT_TRUE(reg.OpenKey("\\Software\\Microsoft\\Office\\14.0\\Common", true));
        reg.WriteInteger("Theme", 1);
    }
    void TearDown() override { qunsetenv("FABRICOR_REGISTRY_FILE"); }
};

TEST_F(ExtGridThemeWatch, AdaptingGridsWindowIsOnTheWatchersListWhileItExists)
{
    auto form = std::make_unique<TForm>(nullptr);
    auto *g = new TTestGrid(form.get());
    g->SetParent(form.get());
    g->HandleNeeded();
    g->BeginLoading();
    g->SetAutoThemeAdapt(true);
    g->EndLoading();
    TThemeNotifier *n = SharedThemeNotifier(form.get());
    ASSERT_NE(n->RegMonitorThread, nullptr);
    THandleList *list = n->RegMonitorThread->WinList();
    EXPECT_TRUE(list->HasValue(g->Handle()));

    g->SetAutoThemeAdapt(false);
    EXPECT_FALSE(list->HasValue(g->Handle()));
    g->SetAutoThemeAdapt(true);
    EXPECT_TRUE(list->HasValue(g->Handle()));

    const HWND old = g->Handle();
    g->RecreateWnd();
    EXPECT_FALSE(list->HasValue(old));
    EXPECT_TRUE(list->HasValue(g->Handle()));
    const HWND last = g->Handle();
    delete g;
    EXPECT_FALSE(list->HasValue(last));
    EXPECT_EQ(list->Count(), 0);
    // The notifier goes with the form that owns it.
    form.reset();
}

TEST(ExtGridLifecycle, FindParentFormWalksUp)
{
    TForm form(nullptr);
    auto *panel = new TPanel(&form);
    panel->SetParent(&form);
    auto *g = new TTestGrid(&form);
    g->SetParent(panel);
    EXPECT_EQ(TExtStringGrid::FindParentForm(g), &form);
    EXPECT_EQ(TExtStringGrid::FindParentForm(&form), &form);
    EXPECT_EQ(TExtStringGrid::FindParentForm(nullptr), nullptr);
    TTestGrid alone;
    EXPECT_EQ(TExtStringGrid::FindParentForm(&alone), nullptr);
}

} // namespace

namespace {

// The direct store path and the base grid's path give the same texts: plain cells, cells of a
// merged range (read and written through the base cell) and writes outside the grid.
TEST(ExtGridCells, StorePathAndBaseCellPathAgree)
{
    TExtStringGrid g(nullptr);
    g.SetCells(2, 3, "plain");
    EXPECT_EQ(g.Cells(2, 3), "plain");
    EXPECT_EQ(g.GridCells(2, 3), "plain");
    EXPECT_THROW(g.SetCells(-1, 0, "x"), EInvalidGridOperation);

    g.MergeCells(1, 1, 2, 2);
    g.SetCells(2, 2, "merged");
    EXPECT_EQ(g.GridCells(1, 1), "merged");
    EXPECT_EQ(g.Cells(2, 1), "merged");
    EXPECT_EQ(g.Cells(2, 3), "plain");
    g.SetCells(3, 3, "after");
    EXPECT_EQ(g.Cells(3, 3), "after");
}

} // namespace

namespace {

// Grids owned by a form but placed elsewhere (or nowhere) go with the form after its handler
// slot; they must leave it alone.
TEST(ExtGridLifecycle, GridsOwnedByAFormGoWithItInAnyPlace)
{
    const int before = ExtGridLiveObjects();
    auto *form = new TForm(nullptr);
    int calls = 0;
    form->OnResize = [&](TObject *) { ++calls; };
    new TTestGrid(form);
    auto *parented = new TTestGrid(form);
    parented->SetParent(form);
    new TTestGrid(form);
    form->SetBounds(0, 0, 321, 200);
    EXPECT_EQ(calls, 1);
    delete form;
    EXPECT_EQ(ExtGridLiveObjects(), before);
}

} // namespace
