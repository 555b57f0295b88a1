// Copy, cut and paste of the string grid through the clipboard: the text it writes, the formats
// that keep properties, the smart paste into a larger selection, growth and inserted rows,
// read-only cells, undo, and the clipboard keys of a shown grid.
#include "grid/core/ExtGrid.h"

#include "controls/ExtGridUndoRedo.h"
#include "controls/esgdd.h"
#include "platform/Clipbrd.h"
#include "platform/Forms.h"
#include "platform/SysUtils.h"
#include "support/GuiTest.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// Records what the paste hooks are told.
class TClipGrid : public TExtStringGrid {
public:
    using TExtStringGrid::TExtStringGrid;
    struct TMark {
        TPoint From;
        TGridRect Rect;
        TClipOperation Op;
    };
    std::vector<TMark> Marks;
    void MarkPastedRows(TPoint From, const TGridRect &Rect, TClipOperation Op) override
    {
        Marks.push_back({From, Rect, Op});
        TExtStringGrid::MarkPastedRows(From, Rect, Op);
    }
};

class ClipGrid : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved = FormatSettings;
        FormatSettings = TFormatSettings::Create(QStringLiteral("en-US"));
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 640, 360);
        g = MakeGrid();
        Clipboard()->Clear();
    }
    void TearDown() override
    {
        form.reset();
        FormatSettings = saved;
    }
    TClipGrid *MakeGrid()
    {
        auto *grid = new TClipGrid(form.get());
        grid->SetParent(form.get());
        grid->SetBounds(0, 0, 600, 300);
        grid->SetColCount(6);
        grid->SetRowCount(8);
        grid->SetOptions(grid->Options() + TGridOptions{goEditing, goRangeSelect});
        return grid;
    }
    void Select(TExtStringGrid *G, int L, int T, int R, int B) { G->SetSelection(TGridRect{L, T, R, B}); }
    std::vector<std::string> Column(TExtStringGrid *G, int C, int From, int To)
    {
        std::vector<std::string> v;
        for (int r = From; r <= To; ++r)
            v.push_back(G->Cells(C, r).toStdString());
        return v;
    }

    TFormatSettings saved;
    std::unique_ptr<TForm> form;
    TClipGrid *g = nullptr;
};

TEST_F(ClipGrid, CopiedTextSeparatesCellsByTabAndRowsByCrLf)
{
    g->SetCells(1, 1, "a");
    g->SetCells(2, 1, "b");
    g->SetCells(1, 2, "c");
    g->SetCells(2, 2, "d");
    g->SetCells(3, 1, "x\r\ny");
    g->SetCells(4, 1, "p\nq");
    struct TCase {
        const char *Name;
        TGridRect Sel;
        const char *Text;
    } cases[] = {
        {"two rows end each with a break", {1, 1, 2, 2}, "a\tb\r\nc\td\r\n"},
        {"one row has no break", {1, 1, 2, 1}, "a\tb"},
        {"a two-line cell is quoted with LF", {3, 1, 3, 1}, "\"x\ny\""},
        {"a bare LF is a break as well", {4, 1, 4, 1}, "\"p\nq\""},
        {"one cell is its text", {2, 2, 2, 2}, "d"},
    };
    for (const TCase &c : cases) {
        g->SetSelection(c.Sel);
        EXPECT_EQ(g->GetSelectionAsText().toStdString(), c.Text) << c.Name;
        g->CopySelectionToClipboard();
        EXPECT_EQ(Clipboard()->AsText().toStdString(), c.Text) << c.Name;
    }
    EXPECT_EQ(g->ClipTopLeft(), TPoint(2, 2));
}

TEST_F(ClipGrid, AMultiLineCellComesBackWholeWithinTheGrid)
{
    g->SetCells(1, 1, "x\r\ny");
    g->SetCells(2, 1, "z");
    g->SetCells(3, 1, "p\nq");
    Select(g, 1, 1, 3, 1);
    g->CopySelectionToClipboard();
    Select(g, 1, 4, 1, 4);
    g->PasteSelectionFromClipboard();
    EXPECT_EQ(g->Cells(1, 4), "x\r\ny");
    EXPECT_EQ(g->Cells(2, 4), "z");
    EXPECT_EQ(g->Cells(3, 4), "p\r\nq");
    EXPECT_EQ(g->Cells(1, 5), "");
}

TEST_F(ClipGrid, LinesEndAtCrAndAtLfOutsideQuotedFields)
{
    struct TCase {
        const char *Name;
        const char *Text;
        std::vector<std::string> Col1, Col2;
        int Result;
    } cases[] = {
        {"CR LF", "a\tb\r\nc\td", {"a", "c", ""}, {"b", "d", ""}, 4},
        {"bare CR", "a\rc", {"a", "c", ""}, {"", "", ""}, 2},
        {"LF as other programs write it", "a\tb\nc\td\n", {"a", "c", ""}, {"b", "d", ""}, 5},
        {"LF inside a quoted field", "\"x\ny\"\tz\nw", {"x\r\ny", "w", ""}, {"z", "", ""}, 3},
        {"a quote inside a field opens nothing", "5\" tall\nnext", {"5\" tall", "next", ""}, {"", "", ""}, 2},
    };
    for (const TCase &c : cases) {
        for (int r = 1; r <= 3; ++r)
            for (int col = 1; col <= 2; ++col)
                g->SetCells(col, r, "");
        int rows = 0, cols = 0;
        EXPECT_EQ(g->PasteTextAt(1, 1, rows, cols, c.Text), c.Result) << c.Name;
        EXPECT_EQ(Column(g, 1, 1, 3), c.Col1) << c.Name;
        EXPECT_EQ(Column(g, 2, 1, 3), c.Col2) << c.Name;
    }
}

TEST_F(ClipGrid, AllFormatsLandAndAnotherGridPastesThemWithProperties)
{
    for (TClipGrid *grid : {g}) {
        grid->Navigation()->AllowRTFClipboard = true;
        grid->Navigation()->AllowFmtClipboard = true;
    }
    g->SetCells(1, 1, "{\\rtf1 rich}");
    g->SetCells(2, 1, "plain");
    g->SetColors(2, 1, clRed);
    Select(g, 1, 1, 2, 1);
    g->CopySelectionToClipboard();
    EXPECT_TRUE(Clipboard()->HasFormat(CF_TEXT));
    EXPECT_TRUE(Clipboard()->HasFormat(CF_RTF()));
    EXPECT_TRUE(Clipboard()->HasFormat(CF_GRIDCELLS()));
    EXPECT_EQ(Clipboard()->AsText(), "rich\tplain");

    TClipGrid *other = MakeGrid();
    other->Navigation()->AllowFmtClipboard = true;
    Select(other, 2, 3, 2, 3);
    other->PasteSelectionFromClipboard();
    EXPECT_EQ(other->Cells(2, 3), "{\\rtf1 rich}");
    EXPECT_EQ(other->Cells(3, 3), "plain");
    EXPECT_EQ(other->Colors(3, 3), clRed);
    ASSERT_EQ(other->Marks.size(), 1u);
    EXPECT_EQ(other->Marks[0].From, TPoint(-1, -1)) << "from another grid";
    EXPECT_EQ(other->Marks[0].Rect.Left, 2);
    EXPECT_EQ(other->Marks[0].Rect.Right, 3);

    Select(g, 1, 5, 1, 5);
    g->PasteSelectionFromClipboard();
    ASSERT_EQ(g->Marks.size(), 1u);
    EXPECT_EQ(g->Marks[0].From, TPoint(1, 1)) << "from the same grid";
    EXPECT_EQ(g->Marks[0].Op, coCopy);
    EXPECT_EQ(g->Cells(2, 5), "plain");

    // Without the grid's own format the rich text of the top-left cell is what a paste takes.
    TClipGrid *rtf = MakeGrid();
    rtf->Navigation()->AllowRTFClipboard = true;
    Select(rtf, 1, 1, 1, 1);
    rtf->PasteSelectionFromClipboard();
    EXPECT_EQ(rtf->Cells(1, 1), "{\\rtf1 rich}");
    EXPECT_EQ(rtf->Cells(2, 1), "");
}

TEST_F(ClipGrid, HtmlCopyPutsTheDocumentAndTheWrappedText)
{
    g->SetCells(1, 1, "cell");
    g->CopyToClipBoardAsHTML();
    const CLIPFORMAT html = static_cast<CLIPFORMAT>(RegisterClipboardFormat("HTML Format"));
    ASSERT_TRUE(Clipboard()->HasFormat(html));
    EXPECT_TRUE(Clipboard()->AsText().startsWith("Version:"));
    HGLOBAL h = Clipboard()->GetAsHandle(html);
    ASSERT_NE(h, nullptr);
    const QByteArray doc(static_cast<const char *>(GlobalLock(h)));
    EXPECT_TRUE(doc.contains("cell"));
    EXPECT_FALSE(doc.startsWith("Version:")) << "the HTML itself carries no offsets";
}

TEST_F(ClipGrid, SmartPasteFillsContinuesSeriesAndRepeats)
{
    g->Navigation()->AllowSmartClipboard = true;
    g->SetRowCount(12);
    g->SetFloatFormat("%.2f");
    auto day = [](int m, int d) { return DateToStr(EncodeDate(2026, m, d)).toStdString(); };
    struct TCase {
        const char *Name;
        UnicodeString Text;
        TGridRect Sel;
        int Col;
        std::vector<std::string> Expected;
    } cases[] = {
        {"seeds 1, 3", "1\r\n3", {1, 1, 1, 5}, 1, {"1", "3", "5", "7", "9"}},
        {"seeds 1.5, 2", "1.5\r\n2", {2, 1, 2, 4}, 2, {"1.50", "2.00", "2.50", "3.00"}},
        {"monthly dates", DateToStr(EncodeDate(2026, 1, 15)) + "\r\n" + DateToStr(EncodeDate(2026, 2, 15)),
         {3, 1, 3, 4}, 3, {day(1, 15), day(2, 15), day(3, 15), day(4, 15)}},
        {"a block without a final break repeats intact", "a\r\nb", {4, 1, 4, 6}, 4, {"a", "b", "a", "b", "a", "b"}},
    };
    for (const TCase &c : cases) {
        Clipboard()->SetAsText(c.Text);
        g->SetSelection(c.Sel);
        g->PasteSelectionFromClipboard();
        EXPECT_EQ(Column(g, c.Col, c.Sel.Top, c.Sel.Bottom), c.Expected) << c.Name;
    }

    Clipboard()->SetAsText("v");
    Select(g, 1, 7, 3, 9);
    g->PasteSelectionFromClipboard();
    for (int r = 7; r <= 9; ++r)
        for (int c = 1; c <= 3; ++c)
            EXPECT_EQ(g->Cells(c, r), "v") << c << "," << r;
}

TEST_F(ClipGrid, ABlockThatFillsTheSelectionCountsOneMoreAndDoesNotFill)
{
    g->Navigation()->AllowSmartClipboard = true;
    int rows = 0, cols = 0;
    EXPECT_EQ(g->PasteTextAt(1, 1, rows, cols, "a\tb\r\nc\td\r\n"), 5);
    EXPECT_EQ(rows, 2);
    EXPECT_EQ(cols, 2);
    Clipboard()->SetAsText("a\tb\r\nc\td\r\n");
    Select(g, 1, 3, 3, 5);
    g->PasteSelectionFromClipboard();
    EXPECT_EQ(Column(g, 1, 3, 5), (std::vector<std::string>{"a", "c", ""}));
    EXPECT_EQ(Column(g, 3, 3, 5), (std::vector<std::string>{"", "", ""}));
    EXPECT_EQ(g->RowCount(), 8) << "the empty remainder adds no row";
}

TEST_F(ClipGrid, GrowthAndInsertedRows)
{
    int rows = 0, cols = 0;
    g->PasteTextAt(4, 6, rows, cols, "1\t2\t3\r\n4\t5\t6\r\n7");
    EXPECT_EQ(g->ColCount(), 7);
    EXPECT_EQ(g->RowCount(), 9);
    EXPECT_EQ(g->Cells(6, 7), "6");
    EXPECT_EQ(g->Cells(4, 8), "7");

    g->Navigation()->AllowClipboardColGrow = false;
    g->Navigation()->AllowClipboardRowGrow = false;
    g->PasteTextAt(5, 7, rows, cols, "a\tb\tc\r\nd\r\ne");
    EXPECT_EQ(g->ColCount(), 7);
    EXPECT_EQ(g->RowCount(), 9);
    EXPECT_EQ(g->Cells(6, 7), "b");
    EXPECT_EQ(g->Cells(5, 8), "d");

    g->Navigation()->ClipboardPasteAction = paInsert;
    g->SetCells(1, 2, "kept");
    g->PasteTextAt(1, 2, rows, cols, "p\r\nq\r\nr\r\n");
    EXPECT_EQ(g->RowCount(), 12);
    EXPECT_EQ(Column(g, 1, 2, 5), (std::vector<std::string>{"p", "q", "r", "kept"}));
}

TEST_F(ClipGrid, ReadOnlyCellsAreSkippedUnlessClipboardAlways)
{
    g->Navigation()->AllowFmtClipboard = true;
    g->SetCells(1, 1, "a");
    g->SetCells(2, 1, "b");
    g->SetReadOnly(2, 1, true);
    g->SetColors(1, 1, clBlue);
    Select(g, 1, 1, 2, 1);
    g->CutSelectionToClipboard();
    EXPECT_EQ(g->Cells(1, 1), "");
    EXPECT_EQ(g->Cells(2, 1), "b");
    EXPECT_TRUE(g->ReadOnly(2, 1)) << "a cut keeps the flag of the cell it left";
    EXPECT_EQ(g->ClipLastOp(), coCut);

    g->Navigation()->AllowFmtClipboard = false;
    Clipboard()->SetAsText("x\ty");
    Select(g, 1, 1, 1, 1);
    g->PasteSelectionFromClipboard();
    EXPECT_EQ(g->Cells(2, 1), "b");
    g->Navigation()->AllowClipboardAlways = true;
    g->PasteSelectionFromClipboard();
    EXPECT_EQ(g->Cells(2, 1), "y");
}

TEST_F(ClipGrid, UndoAfterAPasteWithAHiddenColumnRestoresTheRightCells)
{
    auto *undo = new TExtGridUndoRedo(form.get());
    g->SetUndoRedo(undo);
    for (int c = 1; c < 6; ++c)
        g->SetCells(c, 2, QString("o%1").arg(c));
    g->HideColumn(2);
    Clipboard()->SetAsText("n1\tn2\tn3");
    Select(g, 1, 2, 1, 2);
    g->PasteSelectionFromClipboard();
    EXPECT_EQ(g->Cells(1, 2), "n1");
    EXPECT_EQ(g->Cells(2, 2), "o2") << "the hidden column is not pasted into";
    EXPECT_EQ(g->Cells(3, 2), "n2");
    EXPECT_EQ(g->Cells(4, 2), "n3");
    undo->Undo();
    for (int c = 1; c < 6; ++c)
        EXPECT_EQ(g->Cells(c, 2), QString("o%1").arg(c)) << c;
}

TEST_F(ClipGrid, SelectionAsTextStoresRawAndGrows)
{
    Select(g, 4, 7, 4, 7);
    g->SetSelectionAsText("a\tb\tc\r\n\"x\ny\"");
    EXPECT_EQ(g->ColCount(), 7);
    EXPECT_EQ(g->RowCount(), 9);
    EXPECT_EQ(g->Cells(6, 7), "c");
    EXPECT_EQ(g->Cells(4, 8), "x\r\ny");
}

TEST_F(ClipGrid, ClipboardKeysOfAShownGrid)
{
    form->Show();
    g->Navigation()->AllowClipboardShortCuts = true;
    g->SetCells(1, 1, "k1");
    g->SetCells(2, 1, "k2");
    g->SetFocus();
    Select(g, 1, 1, 2, 1);
    GuiTest::PressKey(g, 'C', {ssCtrl});
    GuiTest::ProcessEvents();
    EXPECT_EQ(Clipboard()->AsText(), "k1\tk2");
    Select(g, 3, 4, 3, 4);
    GuiTest::PressKey(g, 'V', {ssCtrl});
    GuiTest::ProcessEvents();
    EXPECT_EQ(g->Cells(3, 4), "k1");
    EXPECT_EQ(g->Cells(4, 4), "k2");
}

} // namespace
