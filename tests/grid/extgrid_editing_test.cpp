// Editing cells of a shown string grid as a user does: typing, Enter, Escape, Tab and arrows,
// with the validation, changing events and end-of-edit notifications they cause.
#include "grid/core/ExtGrid.h"

#include "controls/ExtGridUtil.h"
#include "controls/GridOptions.h"
#include "platform/Clipbrd.h"
#include "platform/Forms.h"
#include "platform/Windows.h"
#include "support/GuiTest.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QAbstractItemView>
#include <QLocale>

#include <memory>
#include <string>
#include <vector>

namespace {

class EditGrid : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 500, 300);
        g = new TExtStringGrid(form.get());
        g->SetParent(form.get());
        g->SetBounds(0, 0, 480, 260);
        g->SetColCount(4);
        g->SetRowCount(5);
        g->SetOptions(g->Options() + TGridOptions{goEditing});
        form->Show();
        form->SetActiveControl(g);
        g->SetFocus();
        GuiTest::ProcessEvents();
        g->SetCol(1);
        g->SetRow(1);
    }
    void Type(const char *s) { GuiTest::TypeText(Focused(), UnicodeString::fromUtf8(s)); }
    TWinControl *Focused()
    {
        TWinControl *f = GuiTest::FocusedControl();
        return f ? f : g;
    }
    void Key(Word Vk, TShiftState Shift = {}) { GuiTest::PressKey(Focused(), Vk, Shift); }
    // Column 1 edits with a list of "one" and "two".
    // Cells (1,1) and (1,2) in colours of their own, edited with the editor that Type names.
    void ColouredCellsInColumnOne(TEditorType &Type)
    {
        g->SetColors(1, 1, clYellow);
        g->SetColors(1, 2, clAqua);
        g->OnGetEditorType = [&Type](TObject *, int c, int, TEditorType &e) {
            if (c == 1)
                e = Type;
        };
    }
    void ComboListInColumnOne()
    {
        g->OnGetEditorType = [](TObject *, int c, int, TEditorType &e) {
            if (c == 1)
                e = edComboList;
        };
        g->ComboEditor()->Items()->Clear();
        g->ComboEditor()->Items()->Add("one");
        g->ComboEditor()->Items()->Add("two");
    }
    std::unique_ptr<TForm> form;
    TExtStringGrid *g = nullptr;
};

TEST_F(EditGrid, TypingOpensTheEditorAndEnterStores)
{
    std::vector<std::string> log;
    g->OnCellValidate = [&](TObject *, int c, int r, UnicodeString &v, bool &) {
        log.push_back("validate " + std::to_string(c) + "," + std::to_string(r) + " " + v.toStdString());
    };
    g->OnCellsChanged = [&](TObject *, const TRect &) { log.push_back("changed " + g->Cells(1, 1).toStdString()); };
    g->OnEditingDone = [&](TObject *) { log.push_back("done"); };
    g->OnEditCellDone = [&](TObject *, int c, int r) {
        log.push_back("celldone " + std::to_string(c) + "," + std::to_string(r));
    };
    Type("abc");
    ASSERT_TRUE(g->InEditMode());
    ASSERT_NE(g->NormalEdit(), nullptr);
    EXPECT_TRUE(g->NormalEdit()->Visible());
    Key(VK_RETURN);
    GuiTest::WaitUntil([&] { return !log.empty() && log.back().rfind("celldone", 0) == 0; }, 1000);
    EXPECT_EQ(g->Cells(1, 1), "abc");
    EXPECT_FALSE(g->NormalEdit()->Visible());
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log[0], "validate 1,1 abc");
    EXPECT_EQ(log.back(), "celldone 1,1");
    // The edit-done notice is posted: it comes after the editing-done event.
    auto done = std::find(log.begin(), log.end(), "done");
    EXPECT_NE(done, log.end());
    EXPECT_TRUE(g->GridModified());
}

TEST_F(EditGrid, EditCellDoneReportsTheRealColumnBesideAHiddenOne)
{
    g->HideColumn(1);
    g->SetCol(1);
    int doneCol = -1, validateCol = -1;
    g->OnCellValidate = [&](TObject *, int c, int, UnicodeString &, bool &) { validateCol = c; };
    g->OnEditCellDone = [&](TObject *, int c, int) { doneCol = c; };
    Type("hid");
    Key(VK_RETURN);
    GuiTest::WaitUntil([&] { return doneCol != -1; }, 1000);
    EXPECT_EQ(validateCol, 2);
    EXPECT_EQ(doneCol, 2);
    EXPECT_EQ(g->GridCells(2, 1), "hid");
}

TEST_F(EditGrid, EscapeRestoresTheTextTheCellHadWhenTheEditBegan)
{
    g->SetCells(1, 1, "old");
    g->SetRow(2);
    g->SetRow(1);
    Type("new");
    ASSERT_TRUE(g->InEditMode());
    EXPECT_EQ(g->Cells(1, 1), "new");
    Key(VK_ESCAPE);
    GuiTest::ProcessEvents();
    EXPECT_EQ(g->Cells(1, 1), "old");
    EXPECT_FALSE(g->InEditMode());
}

TEST_F(EditGrid, RefusedValueReopensTheEditorWithTheOldTextAndShowsTheTip)
{
    g->SetCells(1, 1, "keep");
    g->SetRow(2);
    g->SetRow(1);
    g->InvalidEntryText = "Not allowed";
    g->OnCellValidate = [](TObject *, int, int, UnicodeString &v, bool &valid) { valid = v != "bad"; };
    Key(VK_F2);
    ASSERT_TRUE(g->InEditMode());
    g->NormalEdit()->SelectAll();
    Type("bad");
    Key(VK_RETURN);
    GuiTest::ProcessEvents();
    EXPECT_EQ(g->Cells(1, 1), "keep");
    EXPECT_EQ(g->Col(), 1);
    EXPECT_EQ(g->Row(), 1);
    EXPECT_TRUE(g->NormalEdit()->Visible());
    EXPECT_EQ(g->NormalEdit()->Text(), "keep");
    EXPECT_EQ(g->LastInvalidTipText(), "Not allowed");
    EXPECT_FALSE(g->GridModified());
}

TEST_F(EditGrid, HandlerThatCorrectsTheValueStoresTheCorrection)
{
    g->OnCellValidate = [](TObject *, int, int, UnicodeString &v, bool &) { v = v.toUpper(); };
    Type("xy");
    Key(VK_RETURN);
    GuiTest::ProcessEvents();
    EXPECT_EQ(g->Cells(1, 1), "XY");
}

TEST_F(EditGrid, DownLeavesASingleLineTextAndValidatesFirst)
{
    int refused = 0;
    g->OnCellValidate = [&](TObject *, int, int, UnicodeString &v, bool &valid) {
        valid = v != "no";
        refused += !valid;
    };
    Type("no");
    Key(VK_DOWN);
    GuiTest::ProcessEvents();
    EXPECT_EQ(refused, 1);
    EXPECT_EQ(g->Row(), 1);
    g->NormalEdit()->SelectAll();
    Type("yes");
    Key(VK_DOWN);
    GuiTest::ProcessEvents();
    EXPECT_EQ(g->Row(), 2);
    EXPECT_EQ(g->Cells(1, 1), "yes");
}

TEST_F(EditGrid, ReadOnlyCellOpensNothingAlsoAfterARefusedMove)
{
    g->OnCanEditCell = [](TObject *, int r, int c, bool &can) { can = c != 2; };
    g->SetCol(2);
    EXPECT_FALSE(g->Options().Contains(goEditing));
    Type("z");
    EXPECT_FALSE(g->InEditMode());
    EXPECT_EQ(g->Cells(2, 1), "");
    // A move to an editable cell that is refused keeps the read-only cell closed.
    g->OnColChanging = [](TObject *, int, int, bool &allow) { allow = false; };
    g->SetCol(1);
    EXPECT_EQ(g->Col(), 2);
    Type("z");
    EXPECT_FALSE(g->InEditMode());
    EXPECT_EQ(g->Cells(2, 1), "");
}

TEST_F(EditGrid, ChangingEventsFireInOrderAndSeeEarlierRefusals)
{
    struct TCase {
        const char *Name;
        int Col, Row;
        bool RefuseRow;
        std::vector<std::string> Expected;
        bool Moves;
    };
    const std::vector<TCase> cases{
        {"same row", 2, 1, false, {"col 1>2 allow", "cell 1,1>1,2 allow"}, true},
        {"other row", 1, 3, false, {"row 1>3 allow", "cell 1,1>3,1 allow"}, true},
        {"row refused", 2, 3, true, {"row 1>3 allow", "col 1>2 refused", "cell 1,1>3,2 refused"}, false},
    };
    g->SetCells(1, 1, "from");
    g->SetCells(2, 3, "to");
    for (const TCase &tc : cases) {
        SCOPED_TRACE(tc.Name);
        g->SetCol(1);
        g->SetRow(1);
        std::vector<std::string> log;
        auto a = [](bool allow) { return allow ? " allow" : " refused"; };
        g->OnRowChanging = [&](TObject *, int o, int n, bool &allow) {
            log.push_back("row " + std::to_string(o) + ">" + std::to_string(n) + a(allow));
            if (tc.RefuseRow)
                allow = false;
        };
        g->OnColChanging = [&](TObject *, int o, int n, bool &allow) {
            log.push_back("col " + std::to_string(o) + ">" + std::to_string(n) + a(allow));
        };
        g->OnCellChanging = [&](TObject *, int orow, int ocol, int nrow, int ncol, bool &allow) {
            log.push_back("cell " + std::to_string(orow) + "," + std::to_string(ocol) + ">" + std::to_string(nrow) +
                          "," + std::to_string(ncol) + a(allow));
        };
        const TRect r = g->CellRect(tc.Col, tc.Row);
        GuiTest::Click(g, TPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2));
        GuiTest::ProcessEvents();
        EXPECT_EQ(log, tc.Expected);
        EXPECT_EQ(g->Col() == tc.Col && g->Row() == tc.Row, tc.Moves);
        // The cache always holds the text of the cell that is current, also after a refusal.
        EXPECT_EQ(g->CellCache(), g->Cells(g->Col(), g->Row()));
        g->OnRowChanging = nullptr;
        g->OnColChanging = nullptr;
        g->OnCellChanging = nullptr;
    }
}

TEST_F(EditGrid, ComboListOpensOnItsItemAndCommitsTheChoice)
{
    ComboListInColumnOne();
    std::vector<std::string> changes;
    g->OnComboChange = [&](TObject *, int c, int, int idx, const UnicodeString &s) {
        changes.push_back(std::to_string(c) + ":" + std::to_string(idx) + ":" + s.toStdString());
    };
    g->SetCells(1, 1, "TWO");
    Key(VK_F2);
    ASSERT_TRUE(g->InEditMode());
    EXPECT_EQ(g->EditorType(), edComboList);
    EXPECT_TRUE(g->ComboEditor()->Visible());
    EXPECT_EQ(g->ComboEditor()->ItemIndex(), 1);
    EXPECT_TRUE(changes.empty());
    g->HideCellEdit();
    EXPECT_EQ(g->Cells(1, 1), "two");
    EXPECT_FALSE(g->ComboEditor()->Visible());

    // A text that is no item opens item 0 and announces it.
    g->SetCells(1, 2, "zzz");
    g->SetRow(2);
    Key(VK_F2);
    ASSERT_TRUE(g->InEditMode());
    EXPECT_EQ(g->ComboEditor()->ItemIndex(), 0);
    ASSERT_FALSE(changes.empty());
    EXPECT_EQ(changes.front(), "1:0:one");
    g->HideCellEdit();
    EXPECT_EQ(g->Cells(1, 2), "one");
}

// Hiding or showing a column while a list editor is open stores the choice, as leaving does.
TEST_F(EditGrid, HidingOrShowingAColumnStoresTheOpenListChoice)
{
    ComboListInColumnOne();
    for (int row : {1, 2}) {
        g->SetCells(1, row, "one");
        g->SetRow(row);
        Key(VK_F2);
        ASSERT_TRUE(g->InEditMode());
        Key(VK_DOWN);
        ASSERT_EQ(g->ComboEditor()->ItemIndex(), 1);
        if (row == 1)
            g->HideColumn(3);
        else
            g->UnHideColumn(3);
        EXPECT_FALSE(g->InEditMode()) << row;
        EXPECT_EQ(g->Cells(1, row), "two") << row;
    }
}

TEST_F(EditGrid, EditorNoneAndControlCellsOpenNothing)
{
    g->OnGetEditorType = [](TObject *, int c, int, TEditorType &e) {
        if (c == 1)
            e = edNone;
    };
    Key(VK_F2);
    EXPECT_FALSE(g->InEditMode());
    g->SetCol(2);
    g->AddCheckBox(2, 1, cbUnchecked);
    g->SetCol(3);
    g->SetCol(2);
    Type("q");
    EXPECT_FALSE(g->InEditMode());
}

struct TFilterCase {
    TEditorType Type;
    const char *Typed;
    const char *Expected;
};

TEST_F(EditGrid, CharacterFilterByEditorType)
{
    const QString dec = QLocale().decimalPoint();
    const std::vector<TFilterCase> cases{
        {edNumeric, "-12-a3", "-123"},
        {edPositiveNumeric, "-12a", "12"},
        {edUpperCase, "abC", "ABC"},
        {edLowerCase, "AbC", "abc"},
    };
    int row = 1;
    for (const TFilterCase &tc : cases) {
        SCOPED_TRACE(tc.Expected);
        const TEditorType t = tc.Type;
        g->OnGetEditorType = [t](TObject *, int, int, TEditorType &e) { e = t; };
        g->SetRow(row);
        Key(VK_F2);
        ASSERT_TRUE(g->InEditMode());
        Type(tc.Typed);
        EXPECT_EQ(g->NormalEdit()->Text(), UnicodeString::fromUtf8(tc.Expected));
        Key(VK_ESCAPE);
        ++row;
    }
    (void)dec;
}

TEST_F(EditGrid, CursorWalkRightValidatesAndARefusedValueStays)
{
    g->Navigation()->CursorWalkEditor = true;
    g->OnCellValidate = [](TObject *, int, int, UnicodeString &v, bool &valid) { valid = v != "no"; };
    Type("no");
    Key(VK_RIGHT);
    GuiTest::ProcessEvents();
    EXPECT_EQ(g->Col(), 1);
    EXPECT_EQ(g->Cells(1, 1), "");
    g->NormalEdit()->SelectAll();
    Type("ok");
    Key(VK_RIGHT);
    GuiTest::ProcessEvents();
    EXPECT_EQ(g->Col(), 2);
    EXPECT_EQ(g->Cells(1, 1), "ok");
}

TEST_F(EditGrid, ClipboardEventsDecideOverPasteCopyAndCut)
{
    std::vector<std::string> log;
    bool allowPaste = true, allowCopy = true, allowCut = true;
    g->OnClipboardPaste = [&](TObject *Sender, bool &Allow) {
        EXPECT_EQ(Sender, g->NormalEdit());
        log.push_back("paste");
        Allow = Allow && allowPaste;
    };
    g->OnClipboardBeforePasteCell = [&](TObject *, int c, int r, UnicodeString &v, bool &) {
        log.push_back("before " + std::to_string(c) + "," + std::to_string(r) + " " + v.toStdString());
        v += "!";
    };
    g->OnClipboardAfterPasteCell = [&](TObject *, int c, int r, const UnicodeString &v) {
        log.push_back("after " + std::to_string(c) + "," + std::to_string(r) + " " + v.toStdString());
    };
    g->OnClipboardCopy = [&](TObject *, bool &Allow) { Allow = allowCopy; };
    g->OnClipboardCut = [&](TObject *, bool &Allow) { Allow = allowCut; };
    Key(VK_F2);
    ASSERT_TRUE(g->InEditMode());
    Clipboard()->SetAsText("xy");
    Key('V', {ssCtrl});
    EXPECT_EQ(g->NormalEdit()->Text(), "xy!");
    EXPECT_EQ(g->Cells(1, 1), "xy!");
    EXPECT_EQ(log, (std::vector<std::string>{"paste", "before 1,1 xy", "after 1,1 xy!"}));

    log.clear();
    allowPaste = false;
    Key('V', {ssCtrl});
    EXPECT_EQ(g->NormalEdit()->Text(), "xy!");
    EXPECT_EQ(log, (std::vector<std::string>{"paste"}));

    g->NormalEdit()->SelectAll();
    Clipboard()->SetAsText("old");
    allowCopy = false;
    Key('C', {ssCtrl});
    EXPECT_EQ(Clipboard()->AsText(), "old");
    allowCopy = true;
    Key('C', {ssCtrl});
    EXPECT_EQ(Clipboard()->AsText(), "xy!");

    Clipboard()->SetAsText("old");
    allowCut = false;
    Key('X', {ssCtrl});
    EXPECT_EQ(g->NormalEdit()->Text(), "xy!");
    EXPECT_EQ(Clipboard()->AsText(), "old");
    allowCut = true;
    Key('X', {ssCtrl});
    EXPECT_EQ(g->NormalEdit()->Text(), "");
    EXPECT_EQ(Clipboard()->AsText(), "xy!");
    Key(VK_ESCAPE);
}

TEST_F(EditGrid, ValidCharSetServesWhileValidCharsIsEmpty)
{
    g->OnGetEditorType = [](TObject *, int, int, TEditorType &e) { e = edValidChars; };
    for (char c : std::string("ab1"))
        g->ValidCharSet.set(static_cast<unsigned char>(c));
    Key(VK_F2);
    ASSERT_TRUE(g->InEditMode());
    Type("a2b1c");
    EXPECT_EQ(g->NormalEdit()->Text(), "ab1");
    // A paste still needs ValidChars: without it nothing goes in.
    EXPECT_FALSE(g->NormalEdit()->PasteText("ab"));
    EXPECT_EQ(g->NormalEdit()->Text(), "ab1");
    Key(VK_ESCAPE);

    g->SetValidChars("xy");
    Key(VK_F2);
    Type("axby");
    EXPECT_EQ(g->NormalEdit()->Text(), "xy");
    Key(VK_ESCAPE);
}

struct TLineBreakCase {
    const char *Name;
    bool LineFeedOnEnter, WordWrap, Multiline, AllowCtrlEnter;
    TShiftState Shift;
    const char *Expected;
};

TEST_F(EditGrid, EnterAndCtrlEnterBreakLinesWhereTheSettingsSay)
{
    const std::vector<TLineBreakCase> cases{
        {"Enter with line feeds", true, false, false, true, {}, "ab\r\n"},
        {"Ctrl+Enter in multi-line cells", false, false, true, true, {ssCtrl}, "ab\r\n"},
        {"Ctrl+Enter in wrapped cells", false, true, false, true, {ssCtrl}, "ab\r\n"},
        {"Ctrl+Enter with line feeds", true, false, true, true, {ssCtrl}, "ab\r\n"},
        {"Ctrl+Enter in one-line cells", false, false, false, true, {ssCtrl}, "ab"},
        {"Ctrl+Enter not allowed", false, false, true, false, {ssCtrl}, "ab"},
    };
    g->SetRowCount(int(cases.size()) + 1);
    int row = 1;
    for (const TLineBreakCase &tc : cases) {
        SCOPED_TRACE(tc.Name);
        g->Navigation()->LineFeedOnEnter = tc.LineFeedOnEnter;
        g->Navigation()->AllowCtrlEnter = tc.AllowCtrlEnter;
        g->SetWordWrap(tc.WordWrap);
        g->SetMultilinecells(tc.Multiline);
        g->SetRow(row++);
        Type("ab");
        ASSERT_TRUE(g->InEditMode());
        Key(VK_RETURN, tc.Shift);
        EXPECT_TRUE(g->InEditMode()) << "the edit goes on";
        EXPECT_EQ(g->NormalEdit()->Text(), UnicodeString::fromUtf8(tc.Expected));
        Key(VK_ESCAPE);
    }
}

TEST_F(EditGrid, HomeAndEndReachOverAllLinesAndShiftWalksOut)
{
    g->SetCells(1, 1, "one\r\ntwo\r\nthree");
    Key(VK_F2);
    ASSERT_TRUE(g->InEditMode());
    TExtInplaceEdit *e = g->NormalEdit();
    e->SetSelStart(6); // on the middle line
    Key(VK_END);
    EXPECT_EQ(e->SelStart(), e->Text().size());
    Key(VK_HOME);
    EXPECT_EQ(e->SelStart(), 0);
    // Shift+Home still selects to the start of the line only.
    e->SetSelStart(7);
    Key(VK_HOME, {ssShift});
    EXPECT_EQ(e->SelStart(), 5);
    EXPECT_EQ(e->SelLength(), 2);
    Key(VK_ESCAPE);

    // Selecting past the edge of the text leaves the editor with the value, the cell stays.
    g->SetRow(2);
    Type("ab");
    Key(VK_RIGHT, {ssShift});
    EXPECT_TRUE(g->InEditMode()) << "without the cursor walk it only selects";
    g->Navigation()->CursorWalkEditor = true;
    e->SetSelStart(2);
    Key(VK_RIGHT, {ssShift});
    GuiTest::ProcessEvents();
    EXPECT_FALSE(g->InEditMode());
    EXPECT_EQ(g->Cells(1, 2), "ab");
    EXPECT_EQ(g->Col(), 1);
    EXPECT_EQ(g->Row(), 2);
    EXPECT_TRUE(g->Focused());
    Key(VK_F2);
    e->SetSelStart(0);
    Type("z");
    e->SetSelStart(0);
    Key(VK_LEFT, {ssShift});
    GuiTest::ProcessEvents();
    EXPECT_FALSE(g->InEditMode());
    EXPECT_EQ(g->Cells(1, 2), "zab");
}

TEST_F(EditGrid, CursorWalkGoesOnThroughTheRowsAndStepsOntoControls)
{
    g->SetFixedCols(1);
    g->Navigation()->CursorWalkEditor = true;
    // From the first column a walk to the left goes on at the end of the row above.
    g->SetCol(1);
    g->SetRow(2);
    Type("a");
    Key(VK_HOME);
    Key(VK_LEFT);
    GuiTest::ProcessEvents();
    EXPECT_EQ(g->Cells(1, 2), "a");
    EXPECT_EQ(g->Col(), 3);
    EXPECT_EQ(g->Row(), 1);
    EXPECT_TRUE(g->InEditMode()) << "the walk edits on";

    // A check box beside is stepped onto, not edited.
    Key(VK_ESCAPE);
    g->AddCheckBox(2, 3, false, false);
    g->SetRow(3);
    g->SetCol(3);
    Type("b");
    Key(VK_HOME);
    Key(VK_LEFT);
    GuiTest::ProcessEvents();
    EXPECT_EQ(g->Col(), 2);
    EXPECT_FALSE(g->InEditMode());
    EXPECT_EQ(g->Cells(3, 3), "b");

    // Without always editing the walk ends with the editor closed.
    g->Navigation()->CursorWalkAlwaysEdit = false;
    g->SetRow(4);
    g->SetCol(1);
    Type("c");
    Key(VK_RIGHT);
    GuiTest::ProcessEvents();
    EXPECT_EQ(g->Col(), 2);
    EXPECT_FALSE(g->InEditMode());
    EXPECT_EQ(g->Cells(1, 4), "c");
}

TEST_F(EditGrid, CellsGrowWhileTyping)
{
    std::vector<int> rowSized;
    g->OnEndRowSize = [&](TObject *, int r) { rowSized.push_back(r); };
    const int width = g->ColWidths(1);
    g->SizeWhileTyping()->Width = true;
    Key(VK_F2);
    Type("a rather long text that needs room");
    EXPECT_GT(g->ColWidths(1), width);
    const int grown = g->ColWidths(1);
    for (int i = 0; i < 20; ++i)
        Key(VK_BACK);
    EXPECT_EQ(g->ColWidths(1), grown) << "it never shrinks";
    Key(VK_ESCAPE);
    EXPECT_TRUE(rowSized.empty());

    // Wrapped cells grow their row as the text wraps.
    g->SizeWhileTyping()->Width = false;
    g->SizeWhileTyping()->Height = true;
    g->SetWordWrap(true);
    g->SetRow(2);
    const int height = g->RowHeights(2);
    Key(VK_F2);
    Type("many words that wrap onto further lines here");
    EXPECT_GT(g->RowHeights(2), height);
    ASSERT_FALSE(rowSized.empty());
    EXPECT_EQ(rowSized.back(), 2);
    Key(VK_ESCAPE);

    // A line break typed into a multi-line cell makes room for the new line.
    g->SetWordWrap(false);
    g->SetMultilinecells(true);
    g->SetRow(3);
    rowSized.clear();
    const int one = g->RowHeights(3);
    Type("x");
    Key(VK_RETURN, {ssCtrl});
    EXPECT_EQ(g->NormalEdit()->Text(), "x\r\n");
    EXPECT_GT(g->RowHeights(3), one);
    EXPECT_EQ(rowSized, (std::vector<int>{3}));
    Key(VK_ESCAPE);
}

TEST_F(EditGrid, MaskStartsOnItsFirstPositionAndDoubleClicksReachTheGrid)
{
    g->OnGetEditMask = [](TObject *, int, int, UnicodeString &Mask) { Mask = "999;1;_"; };
    g->Navigation()->ImproveMaskSel = true;
    // The key that opens the editor overwrites the first position of the entry, not all of it.
    g->SetCells(1, 1, "345");
    Type("1");
    ASSERT_TRUE(g->InEditMode());
    TExtInplaceEdit *e = g->NormalEdit();
    ASSERT_TRUE(e->IsMasked());
    EXPECT_EQ(e->EditText(), "145");
    Key(VK_ESCAPE);
    g->OnGetEditMask = nullptr;

    std::vector<std::pair<int, int>> clicks;
    g->OnDblClickCell = [&](TObject *, int r, int c) { clicks.emplace_back(r, c); };
    g->SetCol(2);
    g->SetRow(3);
    Type("q");
    ASSERT_TRUE(g->InEditMode());
    GuiTest::DoubleClick(e, TPoint(4, 4));
    ASSERT_FALSE(clicks.empty());
    EXPECT_EQ(clicks.back(), std::make_pair(3, 2));
    Key(VK_ESCAPE);
}

TEST_F(EditGrid, LeavingByDownSelectsOnlyTheNewRowInADisjunctSelection)
{
    g->MouseActions()->SetDisjunctRowSelect(true);
    g->SetRowSelect(3, true);
    Key(VK_F2);
    Type("a");
    Key(VK_DOWN);
    GuiTest::ProcessEvents();
    EXPECT_EQ(g->Cells(1, 1), "a");
    EXPECT_EQ(g->Row(), 2);
    EXPECT_TRUE(g->GetRowSelect(2));
    EXPECT_FALSE(g->GetRowSelect(3));
}

TEST_F(EditGrid, ScrollingStoresAComboButLeavesTheTextEditorOpen)
{
    g->SetRowCount(60);
    g->OnGetEditorType = [](TObject *, int c, int, TEditorType &e) {
        if (c == 2)
            e = edComboEdit;
    };
    g->SetRow(8);
    Type("abc");
    ASSERT_TRUE(g->InEditMode());
    g->SetTopRow(3);
    EXPECT_TRUE(g->InEditMode());
    Key(VK_ESCAPE);
    g->SetTopRow(1);

    g->SetRow(1);
    g->SetCol(2);
    Key(VK_F2);
    ASSERT_TRUE(g->InEditMode());
    ASSERT_EQ(g->EditorType(), edComboEdit);
    g->ComboEditor()->SetText("typed");
    g->SetTopRow(4);
    EXPECT_FALSE(g->InEditMode());
    EXPECT_FALSE(g->ComboEditor()->Visible());
    EXPECT_EQ(g->Cells(2, 1), "typed");
}

TEST_F(EditGrid, TheStartKeyOfAComboEditLandsInTheCombo)
{
    g->OnGetEditorType = [](TObject *, int, int, TEditorType &e) { e = edComboEdit; };
    g->SetCells(1, 1, "");
    Type("k");
    ASSERT_TRUE(g->InEditMode());
    EXPECT_EQ(g->EditorType(), edComboEdit);
    EXPECT_TRUE(g->ComboEditor()->Visible());
    GuiTest::ProcessEvents();
    EXPECT_TRUE(g->ComboEditor()->Text().endsWith(u"k")) << g->ComboEditor()->Text().toStdString();
}

TEST_F(EditGrid, ComboIsFlatAndEtchedUnderTheLooksThatAskForIt)
{
    g->OnGetEditorType = [](TObject *, int c, int, TEditorType &e) {
        if (c == 1)
            e = edComboEdit;
    };
    const struct {
        TGridLook Look;
        bool Flat;
    } cases[] = {{glXP, true}, {glStandard, false}, {glVista, true}, {glClassic, false}, {glOffice2007, true}};
    for (const auto &c : cases) {
        g->SetLook(c.Look);
        Key(VK_F2);
        ASSERT_TRUE(g->InEditMode()) << int(c.Look);
        EXPECT_EQ(g->ComboEditor()->Flat(), c.Flat) << int(c.Look);
        EXPECT_EQ(g->ComboEditor()->Etched(), c.Flat) << int(c.Look);
        g->HideCellEdit();
    }
}

TEST_F(EditGrid, SpecialEditorsShowTheCellsColour)
{
    TEditorType type = edComboEdit;
    ColouredCellsInColumnOne(type);
    // Switching the flat look on the first time gives the combo the grid's colour; the next
    // edit shows the cell's.
    Key(VK_F2);
    ASSERT_TRUE(g->InEditMode());
    EXPECT_EQ(g->ComboEditor()->Color(), g->Color());
    g->HideCellEdit();
    g->SetRow(2);
    Key(VK_F2);
    ASSERT_TRUE(g->InEditMode());
    EXPECT_EQ(g->ComboEditor()->Color(), clAqua);
    g->HideCellEdit();

    type = edEditBtn;
    g->SetRow(1);
    Key(VK_F2);
    ASSERT_TRUE(g->InEditMode());
    EXPECT_EQ(g->EditButton()->Color(), clYellow);
    g->HideCellEdit();
}

TEST_F(EditGrid, EnterInASpecialEditorAdvancesOnlyWhenAskedAndDownAppendsAtTheEnd)
{
    g->OnGetEditorType = [](TObject *, int c, int, TEditorType &e) {
        if (c == 1)
            e = edEditBtn;
    };
    Key(VK_F2);
    ASSERT_TRUE(g->InEditMode());
    Key(VK_RETURN);
    EXPECT_FALSE(g->InEditMode());
    EXPECT_EQ(g->Col(), 1) << "Enter without AdvanceOnEnter stays";
    EXPECT_EQ(g->Row(), 1);

    g->Navigation()->AdvanceOnEnter = true;
    g->Navigation()->SetAdvanceDirection(adTopBottom);
    Key(VK_F2);
    ASSERT_TRUE(g->InEditMode());
    Type("x");
    Key(VK_RETURN);
    EXPECT_EQ(g->Cells(1, 1), "x");
    EXPECT_EQ(g->Col(), 1);
    EXPECT_EQ(g->Row(), 2) << "Enter moves on as from the text editor";

    g->Navigation()->AdvanceOnEnter = false;
    g->Navigation()->AppendOnArrowDown = true;
    g->SetRow(g->RowCount() - 1);
    const int rows = g->RowCount();
    Key(VK_F2);
    ASSERT_TRUE(g->InEditMode());
    Key(VK_DOWN);
    EXPECT_EQ(g->RowCount(), rows + 1);
    EXPECT_EQ(g->Row(), rows);
}

TEST_F(EditGrid, TypingInAComboAnnouncesTheChangeByStorageAndByDisplayColumn)
{
    g->SetColCount(5);
    g->HideColumn(2);
    g->OnGetEditorType = [](TObject *, int c, int, TEditorType &e) {
        if (c == 3)
            e = edComboEdit;
    };
    g->ComboEditor()->Items()->Clear();
    g->ComboEditor()->Items()->Add("one");
    std::vector<std::string> changes;
    g->OnComboChange = [&](TObject *, int c, int, int idx, const UnicodeString &s) {
        changes.push_back(std::to_string(c) + ":" + std::to_string(idx) + ":" + s.toStdString());
    };
    g->SetCol(2);
    Key(VK_F2);
    ASSERT_EQ(g->EditorType(), edComboEdit);
    Type("z");
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[0], "3:-1:z");
    EXPECT_EQ(changes[1], "2:-1:z");
    g->HideCellEdit();
}

TEST_F(EditGrid, WideTextCellsAreCheckedByTheWideValidation)
{
    g->AlwaysValidate = true;
    g->OnGetEditorType = [](TObject *, int c, int, TEditorType &e) {
        if (c == 1)
            e = edButton;
    };
    std::vector<std::u16string> seen;
    g->OnCellValidateWide = [&](TObject *, int, int, UnicodeString &Value, bool &) {
        seen.push_back(Value.toStdU16String());
        Value += u"!";
    };
    bool plain = false;
    g->OnCellValidate = [&](TObject *, int, int, UnicodeString &, bool &) { plain = true; };
    g->SetCells(1, 1, EncodeWideCellText(QStringLiteral("\u0100B")));
    Key(VK_F2);
    ASSERT_TRUE(g->InEditMode());
    g->SetRow(2);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], u"\u0100B");
    EXPECT_FALSE(plain);
    EXPECT_EQ(g->WideCells(1, 1), QStringLiteral("\u0100B!"));
    EXPECT_TRUE(g->NeedsEditorTab());
}

TEST_F(EditGrid, FocusFrameAndDirectEditOnAMergedCell)
{
    g->OnGetEditorType = [](TObject *, int c, int, TEditorType &e) {
        if (c == 1)
            e = edComboEdit;
    };
    g->FocusHelper()->Enabled = true;
    Key(VK_F2);
    ASSERT_TRUE(g->InEditMode());
    EXPECT_EQ(ExtGrid::FocusFrameGrid, g);
    g->HideCellEdit();

    g->MergeCells(1, 3, 2, 1);
    g->MouseActions()->DirectEdit = true;
    const TRect r = g->CellRect(2, 3);
    GuiTest::Click(g, TPoint(r.Right - 4, r.Top + 4));
    GuiTest::ProcessEvents();
    EXPECT_EQ(g->Col(), 1);
    EXPECT_EQ(g->Row(), 3);
    EXPECT_TRUE(g->InEditMode()) << "a click on a merged cell edits its base cell at once";
}

TEST_F(EditGrid, ControlsInCellsFollowEveryScroll)
{
    g->SetRowCount(60);
    auto *btn = new TButton(form.get());
    btn->SetParent(g);
    g->SetCellControls(2, 6, btn);
    g->CellControlsUpdate(true);
    const TRect before = g->CellRect(2, 6);
    EXPECT_EQ(btn->Top(), before.Top - 1);
    g->SetTopRow(4);
    const TRect after = g->CellRect(2, 6);
    ASSERT_NE(after.Top, before.Top);
    EXPECT_EQ(btn->Top(), after.Top - 1) << "the control moved with its cell";
    EXPECT_TRUE(btn->Visible());
    g->SetTopRow(10);
    EXPECT_FALSE(btn->Visible()) << "a cell scrolled out of view hides its control";
}

TEST_F(EditGrid, ComboListIsAsWideAsItsWidestItemOrAsItsDropWidth)
{
    ComboListInColumnOne();
    const UnicodeString wide = QStringLiteral("a long item the cell cannot hold");
    g->ComboEditor()->Items()->Add(wide);
    g->ComboEditor()->SetDropWidth(300);
    g->Canvas()->Font()->Assign(g->Font());
    const int fitted = g->Canvas()->TextWidth(wide) + 8;
    ASSERT_GT(fitted, g->ColWidths(1));
    ASSERT_LT(fitted, 300);
    // Opens the combo with its list dropped and answers the list's width as it shows.
    auto openList = [&] {
        Key(VK_F2);
        EXPECT_EQ(g->EditorType(), edComboList);
        g->ComboEditor()->SetDroppedDown(true);
        GuiTest::ProcessEvents();
        // The style of the combo remakes its window.
        auto *box = qobject_cast<QComboBox *>(g->ComboEditor()->Widget());
        const int shown = box ? box->view()->width() : 0;
        g->ComboEditor()->SetDroppedDown(false);
        g->HideCellEdit();
        return shown;
    };
    EXPECT_GE(openList(), 300) << "the combo's own drop width";
    g->Navigation()->AutoComboDropSize = true;
    const int sized = openList();
    EXPECT_EQ(g->ComboEditor()->DroppedWidth(), fitted) << "sized to the widest item";
    EXPECT_GE(sized, fitted);
    g->Navigation()->AutoComboDropSize = false;
    EXPECT_GE(openList(), 300);
    EXPECT_EQ(g->ComboEditor()->DroppedWidth(), 300) << "the drop width again once sizing is off";
}

TEST_F(EditGrid, ComboFillsTheCellAndItsListShowsDropDownCountItems)
{
    g->OnGetEditorType = [](TObject *, int c, int, TEditorType &e) {
        if (c == 1)
            e = edComboEdit;
    };
    g->SetRowHeights(1, 30);
    for (int i = 0; i < 10; ++i)
        g->ComboEditor()->Items()->Add(QStringLiteral("item %1").arg(i));
    g->ControlLook()->DropDownCount = 3;
    Key(VK_F2);
    ASSERT_EQ(g->EditorType(), edComboEdit);
    TGridCombo *c = g->ComboEditor();
    const TRect r = g->CellRect(1, 1);
    EXPECT_EQ(c->Top(), r.Top);
    EXPECT_EQ(c->Height(), r.Height() - 1) << "the selection field is as high as the cell";
    EXPECT_EQ(c->Width(), r.Width() - 1);
    c->SetDroppedDown(true);
    GuiTest::ProcessEvents();
    auto *box = qobject_cast<QComboBox *>(c->Widget());
    ASSERT_NE(box, nullptr);
    QAbstractItemView *list = box->view();
    const int rowHeight = list->sizeHintForRow(0);
    ASSERT_GT(rowHeight, 0);
    // Three whole items show; the rest is reached by scrolling.
    EXPECT_GE(list->viewport()->height(), 3 * rowHeight);
    EXPECT_LT(list->viewport()->height(), 4 * rowHeight);
    c->SetDroppedDown(false);
    g->HideCellEdit();
}

TEST_F(EditGrid, DirectComboDropAnnouncesTheSelectionWhenTheComboOpens)
{
    ComboListInColumnOne();
    std::vector<std::string> seen;
    g->OnSelectionChanged = [&](TObject *, int l, int t, int r, int b) {
        seen.push_back(std::to_string(l) + "," + std::to_string(t) + "," + std::to_string(r) + "," +
                       std::to_string(b) + (g->InEditMode() ? " editing" : ""));
    };
    g->MouseActions()->DirectEdit = true;
    Key(VK_F2);
    ASSERT_EQ(g->EditorType(), edComboList);
    EXPECT_TRUE(seen.empty()) << "a combo that does not drop by itself announces nothing";
    g->HideCellEdit();

    g->MouseActions()->DirectComboDrop = true;
    seen.clear();
    Key(VK_F2);
    ASSERT_EQ(g->EditorType(), edComboList);
    EXPECT_TRUE(g->ComboEditor()->DroppedDown());
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], "1,1,1,1 editing");
    g->ComboEditor()->SetDroppedDown(false);
    g->HideCellEdit();
}

TEST_F(EditGrid, FocusLostInTheMiddleOfADragKeepsItsRowsSelected)
{
    auto *other = new TEdit(form.get());
    other->SetParent(form.get());
    other->SetBounds(0, 270, 100, 22);
    g->MouseActions()->SetDisjunctRowSelect(true);
    g->SetOptions(g->Options() - TGridOptions{goEditing} + TGridOptions{goRangeSelect});
    const TRect from = g->CellRect(1, 1), to = g->CellRect(1, 3);
    GuiTest::MouseDown(g, TPoint(from.Left + 4, from.Top + 4));
    GuiTest::MouseMove(g, TPoint(to.Left + 4, to.Top + 4), TShiftState{ssLeft});
    GuiTest::ProcessEvents();
    ASSERT_EQ(g->Selection().Bottom, 3);
    ASSERT_TRUE(g->SelectionChangePending());
    EXPECT_FALSE(g->GetRowSelect(2));
    // Another window takes the focus before the button comes up.
    other->SetFocus();
    GuiTest::ProcessEvents();
    EXPECT_FALSE(g->SelectionChangePending());
    for (int r = 1; r <= 3; ++r)
        EXPECT_TRUE(g->GetRowSelect(r)) << r;
    EXPECT_FALSE(g->GetRowSelect(4));
    GuiTest::MouseUp(g, TPoint(to.Left + 4, to.Top + 4));
}

TEST_F(EditGrid, TypedTextShowsInTheCellWhileTheEditorIsOpen)
{
    TEditorType type = edNormal;
    g->OnGetEditorType = [&](TObject *, int c, int, TEditorType &e) {
        if (c == 1)
            e = type;
    };
    g->SetCells(1, 1, "old");
    Key(VK_F2);
    ASSERT_TRUE(g->InEditMode());
    Key(VK_END);
    Type("er");
    EXPECT_TRUE(g->InEditMode());
    EXPECT_EQ(g->Cells(1, 1), "older") << "the text editor's text is in the cell as it is typed";
    Key(VK_ESCAPE);
    GuiTest::ProcessEvents();
    EXPECT_EQ(g->Cells(1, 1), "old");

    type = edEditBtn;
    Key(VK_F2);
    ASSERT_EQ(g->EditorType(), edEditBtn);
    Key(VK_END);
    Type("x");
    EXPECT_TRUE(g->EditButton()->Visible());
    EXPECT_EQ(g->Cells(1, 1), "oldx");
    Key(VK_ESCAPE);
    GuiTest::ProcessEvents();
    EXPECT_EQ(g->Cells(1, 1), "old") << "Escape gives the cell its text back";

    // A spin editor opened on an empty cell starts at 0 without writing it.
    type = edSpinEdit;
    g->SetRow(2);
    g->SetCells(1, 2, "");
    Key(VK_F2);
    ASSERT_EQ(g->EditorType(), edSpinEdit);
    ASSERT_TRUE(g->SpinEdit()->Visible());
    EXPECT_EQ(g->Cells(1, 2), "") << "opening writes nothing";
    g->SpinEdit()->SelectAll();
    Type("42");
    EXPECT_TRUE(g->SpinEdit()->Visible());
    EXPECT_EQ(g->Cells(1, 2), "42");
    GuiTest::Click(g->SpinEdit()->Button()->UpButton());
    GuiTest::ProcessEvents();
    EXPECT_TRUE(g->SpinEdit()->Visible());
    EXPECT_EQ(g->Cells(1, 2), "43") << "a click on the spin button shows as typing does";
    Key(VK_RETURN);
    GuiTest::ProcessEvents();
    EXPECT_EQ(g->Cells(1, 2), "43");
    Key(VK_F2);
    ASSERT_EQ(g->EditorType(), edSpinEdit);
    g->SpinEdit()->SelectAll();
    Type("7");
    EXPECT_EQ(g->Cells(1, 2), "7");
    Key(VK_ESCAPE);
    GuiTest::ProcessEvents();
    EXPECT_EQ(g->Cells(1, 2), "43") << "Escape gives the spin's cell its text back";
}

} // namespace

namespace {

// The share of the pixels of an editor's field (inside its frame, left of its button) that are
// near the colour C, as the editor shows over the grid.
double ShareOfColour(TWinControl *Editor, TColor C)
{
    GuiTest::ProcessEvents();
    // Taken from the grid's picture, as the editor shows over it.
    const QImage img = Editor->Parent()->Widget()->grab().toImage().copy(Editor->Left(), Editor->Top(), Editor->Width(),
                                                                        Editor->Height());
    const TColorRef want = ColorToRGB(C);
    int hits = 0, all = 0;
    for (int y = 3; y < img.height() - 3; ++y)
        for (int x = 3; x < img.width() - 20; ++x) {
            const QRgb p = img.pixel(x, y);
            ++all;
            // A list combo's field is the style's button, shaded a little lighter.
            if (std::abs(qRed(p) - int(GetRValue(want))) <= 96 && std::abs(qGreen(p) - int(GetGValue(want))) <= 96 &&
                std::abs(qBlue(p) - int(GetBValue(want))) <= 96)
                ++hits;
        }
    return all == 0 ? 0.0 : double(hits) / all;
}

} // namespace

TEST_F(EditGrid, EditorsShowTheCellsColourNotTheGrids)
{
    g->SetColor(clLime);
    TEditorType type = edComboEdit;
    ColouredCellsInColumnOne(type);
    g->ComboEditor()->Items()->Add("one");
    // Under the default flat look the grid's first combo edit takes the grid's colour.
    Key(VK_F2);
    ASSERT_EQ(g->EditorType(), edComboEdit);
    EXPECT_GT(ShareOfColour(g->ComboEditor(), g->Color()), 0.5);
    EXPECT_LT(ShareOfColour(g->ComboEditor(), clYellow), 0.02);
    g->HideCellEdit();

    g->SetRow(2);
    for (TEditorType t : {edComboEdit, edComboList, edSpinEdit, edEditBtn, edDateEdit, edMemoDropDown}) {
        type = t;
        Key(VK_F2);
        ASSERT_EQ(g->EditorType(), t);
        TWinControl *editor = g->ActiveEditControl();
        if (t == edDateEdit)
            editor = g->DateTimePicker();
        ASSERT_NE(editor, nullptr) << int(t);
        ASSERT_TRUE(editor->Visible()) << int(t);
        const double cell = ShareOfColour(editor, clAqua), grid = ShareOfColour(editor, g->Color());
        EXPECT_GT(cell, 0.5) << "editor type " << int(t) << ": the cell's colour fills the field";
        EXPECT_LT(grid, 0.02) << "editor type " << int(t);
        g->HideCellEdit();
    }
}

TEST_F(EditGrid, ComboFrameIsFlatUnderTheDefaultLookOnly)
{
    g->SetColor(clLime);
    g->OnGetEditorType = [](TObject *, int c, int, TEditorType &e) {
        if (c == 1)
            e = edComboList;
    };
    g->ComboEditor()->Items()->Add("one");
    // The flat frame is two rings in the parent's colour around the field; the platform's
    // frame is a line of its own.
    auto leftEdge = [&] {
        Key(VK_F2);
        EXPECT_EQ(g->EditorType(), edComboList);
        GuiTest::ProcessEvents();
        const QImage img = g->ComboEditor()->Widget()->grab().toImage();
        g->HideCellEdit();
        return std::vector<QRgb>{img.pixel(0, img.height() / 2) & 0xFFFFFF, img.pixel(1, img.height() / 2) & 0xFFFFFF,
                                 img.pixel(img.width() / 3, 0) & 0xFFFFFF};
    };
    const QRgb lime = 0x00FF00;
    const std::vector<QRgb> flat = leftEdge();
    EXPECT_EQ(flat, (std::vector<QRgb>{lime, lime, lime})) << "glXP: flat and etched";
    for (TGridLook look : {glStandard, glClassic}) {
        g->SetLook(look);
        g->SetColor(clLime);
        const std::vector<QRgb> plain = leftEdge();
        EXPECT_NE(plain[0], lime) << int(look);
        EXPECT_NE(plain[1], lime) << int(look);
        EXPECT_NE(plain[2], lime) << int(look);
    }
    g->SetLook(glXP);
    g->SetColor(clLime);
    EXPECT_EQ(leftEdge(), flat);
}
