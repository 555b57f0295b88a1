// The grid's window messages and the editing services around them, driven on a shown grid:
// typed characters, timer ticks, painting under the update lock, the pointer's shape, the pan
// marker, cell checking, undo registration, modified rows, balloon tips, lookup completion,
// pasting in a comma locale and controls placed in cells.
#include "grid/core/ExtGrid.h"

#include "controls/ExtGridButton.h"
#include "controls/ExtGridUndoRedo.h"
#include "dropdowns/ExtGridCheck.h"
#include "grid/services/ExtGridFind.h"
#include "platform/Clipbrd.h"
#include "platform/Forms.h"
#include "platform/SysUtils.h"
#include "platform/Windows.h"
#include "support/GuiTest.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

class GridMessages : public ::testing::Test {
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
    void TearDown() override { HideBalloonTipOf(nullptr); }
    void Type(const char *s) { GuiTest::TypeText(Focused(), UnicodeString::fromUtf8(s)); }
    TWinControl *Focused()
    {
        TWinControl *f = GuiTest::FocusedControl();
        return f ? f : g;
    }
    void Key(Word Vk, TShiftState Shift = {}) { GuiTest::PressKey(Focused(), Vk, Shift); }
    std::unique_ptr<TForm> form;
    TExtStringGrid *g = nullptr;
};

// ---- typed characters ----

TEST_F(GridMessages, CharactersThatOpenNoEditor)
{
    // Ctrl+C is a clipboard key, never a character in the cell.
    g->Navigation()->AllowClipboardShortCuts = true;
    Key('C', {ssCtrl});
    EXPECT_FALSE(g->InEditMode());
    EXPECT_EQ(g->Cells(1, 1), "");

    // A cell whose text holds controls takes no typing.
    g->SetCells(1, 2, "<CONTROL TYPE=\"CHECK\" ID=\"c1\">");
    g->SetRow(2);
    Type("x");
    EXPECT_FALSE(g->InEditMode());

    // A check box cell hears the key but opens nothing.
    std::vector<WideChar> pressed;
    g->OnKeyPress = [&](TObject *, WideChar &k) { pressed.push_back(k); };
    g->AddCheckBox(1, 3, cbUnchecked);
    g->SetRow(3);
    Type("q");
    EXPECT_FALSE(g->InEditMode());
    ASSERT_EQ(pressed.size(), 1u);
    EXPECT_EQ(pressed[0], u'q');
}

TEST_F(GridMessages, KeypadDecimalKeyTypesTheLocaleSeparator)
{
    const TFormatSettings saved = FormatSettings;
    FormatSettings.DecimalSeparator = u',';
    FormatSettings.ThousandSeparator = u'.';
    g->ExcelStyleDecimalSeparator = true;
    struct Case {
        LPARAM KeyData;
        const char *Expected;
    } cases[] = {{0x400000 | 1, ","}, {1, "."}};
    int row = 1;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Expected);
        g->SetRow(row++);
        g->Perform(WM_CHAR, u'.', c.KeyData);
        GuiTest::ProcessEvents();
        ASSERT_TRUE(g->InEditMode());
        EXPECT_EQ(g->NormalEdit()->Text(), UnicodeString::fromUtf8(c.Expected));
        // The open editor turns the key the same way.
        g->NormalEdit()->Perform(WM_CHAR, u'.', c.KeyData);
        EXPECT_EQ(g->NormalEdit()->Text(), UnicodeString::fromUtf8(c.Expected).repeated(2));
        Key(VK_ESCAPE);
    }
    FormatSettings = saved;
}

// ---- timer, painting, pointer ----

TEST_F(GridMessages, SearchTextGoesFourTicksAfterItLastGrew)
{
    ASSERT_NE(g->GridTimerID(), 0);
    auto tick = [&] { g->Perform(WM_TIMER, WPARAM(g->GridTimerID()), 0); };
    g->SetSearchText("ab");
    for (int i = 0; i < 6; ++i)
        tick();
    EXPECT_EQ(g->SearchText(), "ab"); // without incremental search it stays
    g->Navigation()->AutoGotoIncremental = true;
    g->SetSearchText("abc");
    for (int i = 0; i < 3; ++i)
        tick();
    EXPECT_EQ(g->SearchText(), "abc");
    tick();
    EXPECT_EQ(g->SearchText(), "");
    const int ticks = g->TimerTicks();
    g->Perform(WM_TIMER, 4711, 0); // another timer is not the grid's tick
    EXPECT_EQ(g->TimerTicks(), ticks);
}

TEST_F(GridMessages, HoveringMakesTheNormalCellUnderThePointerCurrent)
{
    auto restOn = [&](int c, int r) {
        const TRect rc = g->CellRect(c, r);
        const TPoint p = g->ClientToScreen(TPoint(rc.Left + 4, rc.Top + 4));
        SetCursorPos(p.X, p.Y);
        g->Perform(WM_TIMER, WPARAM(g->GridTimerID()), 0);
        return std::pair{g->Col(), g->Row()};
    };
    // Off by default: the pointer moves nothing.
    EXPECT_EQ(restOn(2, 3), std::pair(1, 1));
    g->SetHovering(true);
    EXPECT_EQ(restOn(2, 3), std::pair(2, 3));
    EXPECT_TRUE(g->Focused());
    // Fixed cells and the empty area beside the cells stay out.
    EXPECT_EQ(restOn(0, 2), std::pair(2, 3));
    EXPECT_EQ(restOn(3, 0), std::pair(2, 3));
    const TPoint outside = g->ClientToScreen(TPoint(g->ClientWidth() - 3, g->ClientHeight() - 3));
    SetCursorPos(outside.X, outside.Y);
    g->Perform(WM_TIMER, WPARAM(g->GridTimerID()), 0);
    EXPECT_EQ(std::pair(g->Col(), g->Row()), std::pair(2, 3));
}

TEST_F(GridMessages, BlinkingTextGoesAndComesWithTheTimer)
{
    g->SetCells(2, 2, "<BLINK>WWWWWW</BLINK>");
    g->SetCells(3, 2, "WWWWWW");
    // Dark pixels along the middle line of a cell.
    auto ink = [&](int c) {
        const TRect r = g->CellRect(c, 2);
        int n = 0;
        for (int x = r.Left; x < r.Right; ++x) {
            const TColorRef p = GuiTest::PixelAt(g, x, (r.Top + r.Bottom) / 2);
            n += GetRValue(p) + GetGValue(p) + GetBValue(p) < 300 ? 1 : 0;
        }
        return n;
    };
    auto tick = [&] { g->Perform(WM_TIMER, WPARAM(g->GridTimerID()), 0); };
    const int shown = ink(2);
    ASSERT_GT(shown, 0);
    tick();
    EXPECT_FALSE(g->GridBlink()); // off by default
    EXPECT_EQ(ink(2), shown);

    g->SetEnableBlink(true);
    tick();
    EXPECT_TRUE(g->GridBlink());
    EXPECT_EQ(ink(2), 0);
    EXPECT_EQ(ink(3), shown); // plain text does not blink
    tick();
    EXPECT_EQ(ink(2), shown);
    // Switched off in the dark phase, the text shows again.
    tick();
    g->SetEnableBlink(false);
    EXPECT_FALSE(g->GridBlink());
    EXPECT_EQ(ink(2), shown);
}

TEST_F(GridMessages, ResizingStretchesTheStretchColumnAndTellsOnGridResize)
{
    int resized = 0;
    g->OnGridResize = [&](TObject *) { ++resized; };
    auto widths = [&] {
        int sum = 0;
        for (int c = 0; c < g->ColCount(); ++c)
            sum += g->ColWidths(c);
        return sum;
    };
    g->SetBounds(0, 0, 460, 260);
    EXPECT_EQ(resized, 0); // nothing stretches without stretching on

    g->ColumnSize()->SetStretch(true);
    resized = 0;
    g->SetBounds(0, 0, 420, 260);
    EXPECT_EQ(resized, 1);
    EXPECT_EQ(widths(), g->ClientWidth() - 1);
    g->ColumnSize()->StretchColumn = 1;
    g->SetBounds(0, 0, 480, 260);
    EXPECT_EQ(resized, 2);
    EXPECT_EQ(widths(), g->ClientWidth() - 1);
    EXPECT_GT(g->ColWidths(1), g->ColWidths(2));
}

TEST_F(GridMessages, ColumnsKeepTheirShareOfTheWidthWhenSynchronised)
{
    g->SetBounds(0, 0, 400, 260);
    const int before[] = {30, 50, 70, 90};
    for (int c = 0; c < 4; ++c)
        g->SetColWidths(c, before[c]);
    g->InitOrigColSizes();
    g->ColumnSize()->SynchWithGrid = true;
    g->SetBounds(0, 0, 800, 260);
    for (int c = 0; c < 4; ++c)
        EXPECT_EQ(g->ColWidths(c), 2 * before[c]) << c;
    // Only the normal columns: the fixed one keeps its width.
    g->ColumnSize()->SynchNormalCellsOnly = true;
    g->SetBounds(0, 0, 600, 260);
    EXPECT_EQ(g->ColWidths(0), 60);
    EXPECT_EQ(g->ColWidths(1), 75);
    EXPECT_EQ(g->ColWidths(3), 135);
}

TEST_F(GridMessages, SearchFooterButtonsAnswerTheirAccelerators)
{
    TSearchPanel *panel = g->SearchPanel();
    ASSERT_NE(panel, nullptr);
    int forward = 0, backward = 0;
    panel->OnForwardClick = [&](TObject *) { ++forward; };
    panel->OnBackwardClick = [&](TObject *) { ++backward; };
    g->SearchFooter()->SetFindNextCaption("Find &next");
    g->SearchFooter()->SetFindPrevCaption("Find &previous");
    // No footer shown: no accelerator inside the grid.
    EXPECT_EQ(g->Perform(CM_DIALOGCHAR, 'n', 0), 0);
    EXPECT_EQ(forward, 0);

    g->SearchFooter()->SetVisible(true);
    GuiTest::ProcessEvents();
    // The find buttons wait for a text to find.
    EXPECT_EQ(g->Perform(CM_DIALOGCHAR, 'n', 0), 0);
    panel->EditControl()->SetText("x");
    EXPECT_EQ(g->Perform(CM_DIALOGCHAR, 'N', 0), 1);
    EXPECT_EQ(g->Perform(CM_DIALOGCHAR, 'p', 0), 1);
    EXPECT_EQ(g->Perform(CM_DIALOGCHAR, 'q', 0), 0);
    panel->BackwardButton()->SetEnabled(false);
    EXPECT_EQ(g->Perform(CM_DIALOGCHAR, 'p', 0), 0);
    EXPECT_EQ(forward, 1);
    EXPECT_EQ(backward, 1);
}

TEST_F(GridMessages, ACursorSetFromOutsideEndsTheSelectionMode)
{
    g->SetMouseSelectMode(msRow);
    g->SetCursor(crCross);
    EXPECT_EQ(g->MouseSelectMode(), msNormal);
    EXPECT_EQ(g->Cursor(), crCross);
}

TEST_F(GridMessages, ResetFixedCellHighlightForgetsTheHoveredFixedCell)
{
    g->SetHoverFixedCells(hfAll);
    const TRect r = g->CellRect(2, 0);
    GuiTest::MouseMove(g, TPoint(r.Left + 5, r.Top + 5));
    ASSERT_EQ(g->HoverFixedCell(), TPoint(2, 0));
    g->ResetFixedCellHighlight();
    EXPECT_EQ(g->HoverFixedCell(), TPoint(-1, -1));
}

TEST_F(GridMessages, PaintingWaitsForTheUpdateLock)
{
    g->SetColor(clRed);
    g->Invalidate();
    GuiTest::ProcessEvents();
    const TRect r = g->CellRect(2, 2);
    const int x = (r.Left + r.Right) / 2, y = (r.Top + r.Bottom) / 2;
    ASSERT_EQ(GuiTest::PixelAt(g, x, y), ColorToRGB(clRed));
    g->StartUpdate();
    g->SetColor(clBlue);
    EXPECT_NE(GuiTest::PixelAt(g, x, y), ColorToRGB(clBlue));
    g->ResetUpdate();
    EXPECT_EQ(GuiTest::PixelAt(g, x, y), ColorToRGB(clBlue));
}

TEST_F(GridMessages, SelectionModesShowTheGridsCursors)
{
    struct Case {
        TMouseSelectMode Mode;
        bool Selector;
        int Cursor;
    } cases[] = {{msColumn, false, 8011}, {msRow, false, 8010}, {msAll, false, 8012}, {msNormal, true, 8014}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Cursor);
        SetCursor(nullptr);
        g->SetMouseSelectMode(c.Mode);
        g->SetCellSelectorMode(c.Selector);
        EXPECT_EQ(g->Perform(WM_SETCURSOR, 0, 0), 1);
        EXPECT_EQ(CursorResourceID(GetCursor()), c.Cursor);
    }
    g->SetMouseSelectMode(msNormal);
    g->SetCellSelectorMode(false);
    SetCursor(nullptr);
    g->Perform(WM_SETCURSOR, 0, 0);
    EXPECT_EQ(GetCursor(), nullptr);
}

TEST_F(GridMessages, PanMarkerShowsItsArrowsOnWhiteAtThePanPoint)
{
    auto dark = [](TColor c) {
        const TColorRef rgb = ColorToRGB(c);
        return (rgb & 0xFF) < 100 && ((rgb >> 8) & 0xFF) < 100 && ((rgb >> 16) & 0xFF) < 100;
    };
    struct Case {
        TExtStringGrid::TIntelliPan Pan;
        bool UpArrow, LeftArrow;
    } cases[] = {{TExtStringGrid::ipBoth, true, true},
                 {TExtStringGrid::ipVertical, true, false},
                 {TExtStringGrid::ipHorizontal, false, true}};
    for (const Case &c : cases) {
        SCOPED_TRACE(int(c.Pan));
        TBitmap bmp;
        bmp.SetSize(64, 64);
        bmp.Canvas()->Brush()->SetColor(clRed);
        bmp.Canvas()->FillRect(TRect(0, 0, 64, 64));
        g->SetIntelliPan(c.Pan);
        g->SetWheelPanPos({10, 10});
        g->DrawPanMarker(bmp.Canvas());
        EXPECT_EQ(ColorToRGB(bmp.Canvas()->Pixels(10, 10)), ColorToRGB(clWhite)); // the marker's background
        EXPECT_TRUE(dark(bmp.Canvas()->Pixels(10 + 14, 10 + 14)));                  // the centre
        EXPECT_EQ(dark(bmp.Canvas()->Pixels(10 + 14, 10 + 6)), c.UpArrow);
        EXPECT_EQ(dark(bmp.Canvas()->Pixels(10 + 6, 10 + 14)), c.LeftArrow);
        EXPECT_EQ(ColorToRGB(bmp.Canvas()->Pixels(50, 50)), ColorToRGB(clRed));
        EXPECT_EQ(ColorToRGB(bmp.Canvas()->Pixels(5, 5)), ColorToRGB(clRed));
    }
    TBitmap none;
    none.SetSize(40, 40);
    none.Canvas()->Brush()->SetColor(clRed);
    none.Canvas()->FillRect(TRect(0, 0, 40, 40));
    g->SetIntelliPan(TExtStringGrid::ipNone);
    g->DrawPanMarker(none.Canvas());
    EXPECT_EQ(ColorToRGB(none.Canvas()->Pixels(24, 24)), ColorToRGB(clRed));
}

// ---- validation services ----

// Corrects to upper case and marks a value holding "x" as an error.
class TUpperChecker : public TExtStringGridCheck {
public:
    using TExtStringGridCheck::TExtStringGridCheck;
    UnicodeString Correct(int, int, const UnicodeString &s) override { return s.toUpper(); }
    UnicodeString MarkError(int, int, const UnicodeString &s) override
    {
        return s.contains(u'X') ? "<E>" + s + "</E>" : s;
    }
};

TEST_F(GridMessages, CheckerCorrectsAndMarksBeforeTheValueIsStored)
{
    TUpperChecker checker(nullptr);
    g->SetCellChecker(&checker);
    UnicodeString seen;
    g->OnCellValidate = [&](TObject *, int, int, UnicodeString &v, bool &) { seen = v; };
    struct Case {
        bool Correct, Mark;
        const char *Typed, *Seen, *Stored;
    } cases[] = {{false, false, "ax", "ax", "ax"}, {true, false, "ab", "AB", "AB"}, {true, true, "ax", "AX", "<E>AX</E>"}};
    int row = 1;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Typed);
        checker.AutoCorrect = c.Correct;
        checker.AutoMarkError = c.Mark;
        g->SetRow(row);
        Type(c.Typed);
        Key(VK_RETURN);
        GuiTest::ProcessEvents();
        EXPECT_EQ(seen, UnicodeString::fromUtf8(c.Seen));
        EXPECT_EQ(g->GridCells(1, row), UnicodeString::fromUtf8(c.Stored));
        ++row;
    }
    g->SetCellChecker(nullptr);
}

TEST_F(GridMessages, AcceptedValuesAreRegisteredForUndoAndMarkTheirRow)
{
    TExtGridUndoRedo undo(nullptr);
    undo.SetGrid(g);
    g->SetUndoRedo(&undo);
    g->SetFixedCols(1);
    g->SetCells(1, 1, "old");
    g->SetRow(2);
    g->SetRow(1);
    g->OnCellValidate = [](TObject *, int, int, UnicodeString &v, bool &valid) { valid = v != "bad"; };

    Key(VK_F2);
    g->NormalEdit()->SelectAll();
    Type("bad");
    Key(VK_RETURN);
    GuiTest::ProcessEvents();
    EXPECT_EQ(undo.Items()->Count(), 0);
    EXPECT_FALSE(g->RowModified(1)); // a refused value marks nothing

    g->NormalEdit()->SelectAll();
    Type("new");
    Key(VK_RETURN);
    GuiTest::ProcessEvents();
    ASSERT_EQ(undo.Items()->Count(), 1);
    auto *item = static_cast<TUndoRedoItem *>(undo.Items()->Items(0));
    EXPECT_EQ(item->Col(), 1);
    EXPECT_EQ(item->Row(), 1);
    EXPECT_EQ(item->OrigValue(), "old");
    EXPECT_EQ(item->Value(), "new");
    EXPECT_TRUE(g->RowModified(1));
    EXPECT_FALSE(g->RowModified(2));
    undo.Undo();
    EXPECT_EQ(g->Cells(1, 1), "old");
    g->SetUndoRedo(nullptr);
}

TEST_F(GridMessages, RefusedValueShowsTheBalloonOnTheEditorInUse)
{
    g->InvalidEntryTitle = "Value";
    g->InvalidEntryText = "Digits only";
    g->InvalidEntryIcon = ieError;
    g->OnCellValidate = [](TObject *, int, int, UnicodeString &v, bool &valid) { valid = v != "bad"; };
    Type("bad");
    Key(VK_RETURN);
    GuiTest::ProcessEvents();
    const TBalloonTipInfo &tip = LastBalloonTip();
    EXPECT_EQ(tip.Owner, g->NormalEdit());
    EXPECT_EQ(tip.Title, "Value");
    EXPECT_EQ(tip.Text, "Digits only");
    EXPECT_EQ(tip.Icon, TTI_ERROR);
    EXPECT_TRUE(tip.Visible);
    Key(VK_ESCAPE);

    // On a combo with an edit field the tip points at the combo.
    g->OnGetEditorType = [](TObject *, int c, int, TEditorType &e) {
        if (c == 2)
            e = edComboEdit;
    };
    g->SetCol(2);
    Key(VK_F2);
    ASSERT_EQ(g->EditorType(), edComboEdit);
    g->ComboEditor()->SetText("bad");
    g->HideCellEdit();
    g->SetCol(3);
    GuiTest::ProcessEvents();
    EXPECT_EQ(g->Col(), 2);
    EXPECT_EQ(LastBalloonTip().Owner, g->ComboEditor());
    EXPECT_EQ(LastBalloonTip().Text, "Digits only");
}

TEST_F(GridMessages, ComboListOpeningAndClosingReachTheGridsEvents)
{
    g->OnGetEditorType = [](TObject *, int c, int, TEditorType &e) {
        if (c == 2)
            e = edComboList;
    };
    g->ComboEditor()->Items()->Clear();
    g->ComboEditor()->Items()->Add("one");
    g->ComboEditor()->Items()->Add("two");
    g->HideColumn(1); // the events name the real column
    g->SetCol(1);
    std::vector<std::string> log;
    g->OnComboDropDown = [&](TObject *, int r, int c) { log.push_back("drop " + std::to_string(r) + "," + std::to_string(c)); };
    g->OnComboCloseUp = [&](TObject *, int r, int c) { log.push_back("close " + std::to_string(r) + "," + std::to_string(c)); };
    Key(VK_F2);
    ASSERT_EQ(g->EditorType(), edComboList);
    g->ComboEditor()->SetDroppedDown(true);
    GuiTest::ProcessEvents();
    g->ComboEditor()->SetDroppedDown(false);
    GuiTest::ProcessEvents();
    const std::vector<std::string> expected{"drop 1,2", "close 1,2"};
    EXPECT_EQ(log, expected);
}

// Opens the validation of an edit as the editor does when an edit begins.
class TEditStartGrid : public TExtStringGrid {
public:
    using TExtStringGrid::TExtStringGrid;
    void BeginEditAt(int ACol, int ARow)
    {
        SaveOldCellValue(ACol, ARow);
        FEditing = true;
    }
};

TEST(GridValidation, AValueEditedInsideAMergedRangeReachesTheCellAndItsBaseCell)
{
    TForm form(nullptr);
    auto *g = new TEditStartGrid(&form);
    g->SetParent(&form);
    g->SetColCount(4);
    g->SetRowCount(4);
    g->MergeCells(1, 1, 2, 2);
    g->BeginEditAt(2, 2);
    EXPECT_TRUE(g->ValidateCell("m"));
    EXPECT_EQ(g->GridCells(2, 2), "m");
    EXPECT_EQ(g->GridCells(1, 1), "m");
    // Validation from inside the validation handler answers at once.
    bool inner = false;
    g->OnCellValidate = [&](TObject *, int, int, UnicodeString &, bool &) { inner = g->ValidateCell("other"); };
    g->BeginEditAt(3, 3);
    EXPECT_TRUE(g->ValidateCell("n"));
    EXPECT_TRUE(inner);
    EXPECT_EQ(g->GridCells(3, 3), "n");
}

// ---- the text editor ----

TEST_F(GridMessages, UpAndDownMoveInsideAMultiLineTextAndLeaveFromItsEdges)
{
    g->SetCells(1, 2, "first\r\nsecond");
    g->SetRow(2);
    Key(VK_F2);
    ASSERT_TRUE(g->InEditMode());
    ASSERT_EQ(g->NormalEdit()->LineCount(), 2);
    g->NormalEdit()->SetSelStart(g->NormalEdit()->Text().size());
    Key(VK_UP);
    EXPECT_EQ(g->Row(), 2);
    EXPECT_TRUE(g->InEditMode());
    EXPECT_EQ(g->NormalEdit()->LineFromChar(-1), 0);
    Key(VK_UP);
    GuiTest::ProcessEvents();
    EXPECT_EQ(g->Row(), 1);
    EXPECT_EQ(g->Cells(1, 2), "first\r\nsecond");

    g->SetRow(2);
    Key(VK_F2);
    g->NormalEdit()->SetSelStart(0);
    Key(VK_DOWN);
    EXPECT_EQ(g->Row(), 2);
    Key(VK_DOWN);
    GuiTest::ProcessEvents();
    EXPECT_EQ(g->Row(), 3);
}

// Records the caret reports the text editor gives a formula bar.
class TCaretGrid : public TExtStringGrid {
public:
    using TExtStringGrid::TExtStringGrid;
    std::vector<std::string> Log;

protected:
    void DoEditCaretMove(const UnicodeString &Text, TPoint Caret, int CaretIndex) override
    {
        Log.push_back("caret " + Text.toStdString() + " " + std::to_string(CaretIndex) + (Caret.X >= 0 ? " at" : " none"));
    }
    void DoEditFormulaState(bool Value) override { Log.push_back(Value ? "formula" : "text"); }
};

TEST(GridEditorReports, CaretAndFormulaStateFollowTheKeysAndEndWithTheEdit)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 300, 200);
    auto *g = new TCaretGrid(&form);
    g->SetParent(&form);
    g->SetBounds(0, 0, 280, 180);
    g->SetOptions(g->Options() + TGridOptions{goEditing});
    auto *other = new TEdit(&form);
    other->SetParent(&form);
    other->SetBounds(0, 185, 50, 15);
    form.Show();
    g->SetFocus();
    GuiTest::ProcessEvents();
    g->SetCol(1);
    g->SetRow(1);
    GuiTest::TypeText(g, "=");
    TWinControl *ed = GuiTest::FocusedControl();
    ASSERT_NE(ed, nullptr);
    GuiTest::TypeText(ed, "1");
    ASSERT_GE(g->Log.size(), 2u);
    EXPECT_EQ(g->Log[g->Log.size() - 2], "caret =1 2 at");
    EXPECT_EQ(g->Log.back(), "formula");
    g->Log.clear();
    other->SetFocus();
    GuiTest::ProcessEvents();
    ASSERT_GE(g->Log.size(), 2u);
    EXPECT_EQ(g->Log[0], "text");
    EXPECT_EQ(g->Log[1], "caret =1 -1 none");
}

TEST_F(GridMessages, PasswordCellsEditOnOneLineHidden)
{
    g->OnGetEditorType = [](TObject *, int c, int, TEditorType &e) {
        if (c == 2)
            e = edPassword;
    };
    Key(VK_F2);
    EXPECT_TRUE(g->NormalEdit()->IsMultiLine());
    Key(VK_ESCAPE);
    g->SetCol(2);
    Type("secret");
    ASSERT_TRUE(g->InEditMode());
    EXPECT_FALSE(g->NormalEdit()->IsMultiLine());
    EXPECT_NE(g->NormalEdit()->PasswordChar(), WideChar(0));
    Key(VK_RETURN);
    GuiTest::ProcessEvents();
    EXPECT_EQ(g->Cells(2, 1), "secret");
}

TEST_F(GridMessages, LookupCompletesFromTheItemsAndLearnsEnteredTexts)
{
    g->Lookup = true;
    g->LookupHistory = true;
    g->LookupItems()->Add("Alpha");
    g->LookupItems()->Add("Beta");
    Type("b");
    ASSERT_TRUE(g->InEditMode());
    EXPECT_EQ(g->NormalEdit()->Text(), "beta");
    EXPECT_EQ(g->NormalEdit()->SelStart(), 1);
    EXPECT_EQ(g->NormalEdit()->SelLength(), 3);
    Key(VK_BACK); // deleting the completion completes nothing
    EXPECT_EQ(g->NormalEdit()->Text(), "b");
    Type("ox");
    EXPECT_EQ(g->NormalEdit()->Text(), "box");
    Key(VK_RETURN);
    GuiTest::ProcessEvents();
    g->SetRow(2);
    GuiTest::ProcessEvents();
    EXPECT_GE(g->LookupItems()->IndexOf("box"), 0);

    g->LookupCaseSensitive = true;
    g->SetRow(3);
    Type("a");
    EXPECT_EQ(g->NormalEdit()->Text(), "a");
}

TEST_F(GridMessages, FloatFilterInACommaLocale)
{
    const TFormatSettings saved = FormatSettings;
    FormatSettings.DecimalSeparator = u',';
    FormatSettings.ThousandSeparator = u'.';
    struct Case {
        TEditorType Type;
        const char *Typed, *Expected;
    } cases[] = {
        {edFloat, "-1,5,3", "-1,53"},   // a second separator is dropped
        {edFloat, "1.000a", "1000"},     // thousand separators and letters never enter
        {edFloat, "1-", "1"},            // "-" only at the start
        {edPositiveFloat, "-2,5", "2,5"},
    };
    int row = 1;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Typed);
        const TEditorType t = c.Type;
        g->OnGetEditorType = [t](TObject *, int, int, TEditorType &e) { e = t; };
        g->SetRow(row++);
        Key(VK_F2);
        ASSERT_TRUE(g->InEditMode());
        Type(c.Typed);
        EXPECT_EQ(g->NormalEdit()->Text(), UnicodeString::fromUtf8(c.Expected));
        Key(VK_ESCAPE);
    }
    FormatSettings = saved;
}

TEST_F(GridMessages, MixedCaseNamesAndFixedLengthEntriesThatMoveOn)
{
    g->OnGetEditorType = [](TObject *, int c, int, TEditorType &e) {
        if (c == 1)
            e = edMixedCase;
    };
    Type("anna maria");
    ASSERT_TRUE(g->InEditMode());
    EXPECT_EQ(g->NormalEdit()->Text(), "Anna Maria");
    EXPECT_EQ(g->NormalEdit()->SelStart(), 10);
    Key(VK_ESCAPE);

    g->OnGetEditorType = nullptr;
    g->SetMaxEditLength(3);
    g->Navigation()->SetAdvanceAuto(true);
    g->Navigation()->AdvanceOnEnter = true;
    g->SetCol(2);
    Type("ab");
    EXPECT_EQ(g->Col(), 2);
    Type("c");
    GuiTest::ProcessEvents();
    // The entry is complete: it is stored and handed on as an Enter, which advances to the next
    // cell and opens the editor there (AdvanceAutoEdit).
    EXPECT_EQ(g->Cells(2, 1), "abc");
    EXPECT_EQ(g->Col(), 3);
    EXPECT_TRUE(g->InEditMode());
}

TEST_F(GridMessages, PasteTableInACommaLocale)
{
    const TFormatSettings saved = FormatSettings;
    FormatSettings.DecimalSeparator = u',';
    FormatSettings.ThousandSeparator = u'.';
    struct Case {
        TEditorType Type;
        const char *Before, *Pasted, *After;
        bool Taken;
    } cases[] = {
        {edFloat, "", "1,5", "1,5", true},
        {edFloat, "", "-2,25", "-2,25", true},
        {edFloat, "", "1.5e", "", false},
        {edPositiveFloat, "", "-1,5", "", false},
        {edNumeric, "1", "2a", "1", false},
        {edNumeric, "", "-12", "-12", true},
        {edPositiveNumeric, "", "-12", "", false},
        {edNormal, "", "5\r\n", "5", true},
        {edUpperCase, "", "ab", "AB", true},
        {edLowerCase, "", "AB", "ab", true},
        {edCapital, "", "ab", "ab", true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.Pasted) + " as " + std::to_string(int(c.Type)));
        const TEditorType t = c.Type;
        g->OnGetEditorType = [t](TObject *, int, int, TEditorType &e) { e = t; };
        g->SetCells(1, 1, c.Before);
        g->SetRow(2);
        g->SetRow(1);
        Key(VK_F2);
        ASSERT_TRUE(g->InEditMode());
        g->NormalEdit()->SetSelStart(g->NormalEdit()->Text().size());
        EXPECT_EQ(g->NormalEdit()->PasteText(c.Pasted), c.Taken);
        EXPECT_EQ(g->NormalEdit()->Text(), UnicodeString::fromUtf8(c.After));
        Key(VK_ESCAPE);
    }
    FormatSettings = saved;
}

TEST_F(GridMessages, CtrlVPastesThroughTheEditorTypesRules)
{
    g->OnGetEditorType = [](TObject *, int, int, TEditorType &e) { e = edNumeric; };
    Key(VK_F2);
    ASSERT_TRUE(g->InEditMode());
    Clipboard()->SetAsText("12a");
    Key('V', {ssCtrl});
    EXPECT_EQ(g->NormalEdit()->Text(), "");
    Clipboard()->SetAsText("42\r\n");
    Key('V', {ssCtrl});
    EXPECT_EQ(g->NormalEdit()->Text(), "42");
    EXPECT_EQ(g->Cells(1, 1), "42");
    Key(VK_ESCAPE);
}

// ---- selection and placement ----

TEST_F(GridMessages, DisabledRowsAreSkippedAndTheListenerHearsOfEveryMove)
{
    struct TListener : ITExtStringGridSelect {
        std::vector<std::pair<int, int>> Cells;
        void SelectionChanged(int c, int r) override { Cells.emplace_back(c, r); }
    } listener;
    g->RegisterSelListener(&listener);
    g->SetRowEnabled(3, false);
    g->SetRow(3);
    EXPECT_EQ(g->Row(), 1);
    g->Navigation()->SkipDisabledRows = false;
    g->SetRow(3);
    EXPECT_EQ(g->Row(), 3);
    EXPECT_FALSE(g->GetRowEnabled(3));
    EXPECT_TRUE(g->GetRowEnabled(2));
    EXPECT_TRUE(g->GetRowEnabled(100));
    ASSERT_FALSE(listener.Cells.empty());
    EXPECT_EQ(listener.Cells.back(), std::make_pair(1, 3));
    g->UnRegisterSelListener(&listener);
}

TEST_F(GridMessages, CellControlsStayOnTheirCellsBesideAHiddenColumn)
{
    auto *edit = new TEdit(form.get());
    edit->SetParent(g);
    g->CellProperties(3, 2)->SetControl(edit);
    g->CellControlsUpdate(true);
    TRect r = g->CellRect(3, 2);
    EXPECT_EQ(edit->Left(), r.Left - 1);
    EXPECT_EQ(edit->Top(), r.Top - 1);
    EXPECT_TRUE(edit->Visible());
    g->HideColumn(1);
    g->CellControlsUpdate(false);
    r = g->CellRect(2, 2); // real column 3 shows as column 2 now
    EXPECT_EQ(edit->Left(), r.Left - 1);
    EXPECT_TRUE(edit->Visible());
    g->HideColumn(3);
    g->CellControlsUpdate(false);
    EXPECT_FALSE(edit->Visible());
}

TEST_F(GridMessages, FocusGoingElsewhereValidatesAndClosesTheEditOnce)
{
    auto *other = new TEdit(form.get());
    other->SetParent(form.get());
    other->SetBounds(0, 270, 100, 20);
    int validations = 0, done = 0;
    g->OnCellValidate = [&](TObject *, int, int, UnicodeString &v, bool &valid) {
        ++validations;
        valid = v != "bad";
    };
    g->OnEditingDone = [&](TObject *) { ++done; };
    g->SetCells(1, 1, "old");
    g->SetRow(2);
    g->SetRow(1);
    struct Case {
        const char *Typed, *Stored;
    } cases[] = {{"new", "new"}, {"bad", "new"}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Typed);
        validations = done = 0;
        g->SetFocus();
        Key(VK_F2);
        ASSERT_TRUE(g->InEditMode());
        g->NormalEdit()->SelectAll();
        Type(c.Typed);
        other->SetFocus();
        GuiTest::ProcessEvents();
        EXPECT_FALSE(g->InEditMode());
        EXPECT_FALSE(g->NormalEdit()->Visible());
        EXPECT_EQ(g->Cells(1, 1), c.Stored);
        EXPECT_EQ(validations, 1);
        EXPECT_EQ(done, 1);
    }
}

TEST_F(GridMessages, AlwaysEditOpensTheEditorWhenTheGridGetsTheFocus)
{
    auto *other = new TEdit(form.get());
    other->SetParent(form.get());
    other->SetBounds(0, 270, 100, 20);
    // Once the grid has its text editor, coming back to the grid opens it.
    Key(VK_F2);
    Key(VK_ESCAPE);
    g->Navigation()->AlwaysEdit = true;
    other->SetFocus();
    GuiTest::ProcessEvents();
    EXPECT_FALSE(g->InEditMode());
    g->SetFocus();
    GuiTest::ProcessEvents();
    EXPECT_TRUE(g->InEditMode());
}

} // namespace
