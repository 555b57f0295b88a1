// The grid's in-place editors driven by keys, wheel and paste on a shown grid in a form that has
// a default and a cancel button, as the rule editors' dialogs do.
#include "grid/core/ExtGrid.h"

#include "platform/Clipbrd.h"
#include "platform/Forms.h"
#include "platform/StdCtrls.h"
#include "platform/SysUtils.h"
#include "platform/Windows.h"
#include "support/GuiTest.h"

#include <gtest/gtest.h>

#include <QComboBox>

#include <memory>
#include <string>
#include <vector>

namespace {

class EditorGrid : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 520, 340);
        ok = new TButton(form.get());
        ok->SetParent(form.get());
        ok->SetBounds(10, 300, 60, 24);
        ok->SetDefault(true);
        ok->OnClick = [this](TObject *) { ++okClicks; };
        cancel = new TButton(form.get());
        cancel->SetParent(form.get());
        cancel->SetBounds(80, 300, 60, 24);
        cancel->SetCancel(true);
        cancel->OnClick = [this](TObject *) { ++cancelClicks; };
        g = new TExtStringGrid(form.get());
        g->SetParent(form.get());
        g->SetBounds(0, 0, 500, 280);
        g->SetColCount(5);
        g->SetRowCount(6);
        g->SetOptions(g->Options() + TGridOptions{goEditing});
        g->OnGetEditorType = [this](TObject *, int c, int, TEditorType &e) {
            if (c == 1)
                e = editor;
        };
        combo()->Items()->Clear();
        for (const char *s : {"Alpha", "alpine", "Beta"})
            combo()->Items()->Add(s);
        form->Show();
        form->SetActiveControl(g);
        g->SetFocus();
        GuiTest::ProcessEvents();
        g->SetCol(1);
        g->SetRow(2);
    }
    TGridCombo *combo() const { return g->ComboEditor(); }
    TWinControl *Focused()
    {
        TWinControl *f = GuiTest::FocusedControl();
        return f ? f : g;
    }
    void Open(TEditorType E)
    {
        editor = E;
        GuiTest::PressKey(g, VK_F2);
        GuiTest::ProcessEvents();
    }
    void Key(Word Vk, TShiftState Shift = {}) { GuiTest::PressKey(Focused(), Vk, Shift); }
    void Type(const char *s) { GuiTest::TypeText(Focused(), UnicodeString::fromUtf8(s)); }

    std::unique_ptr<TForm> form;
    TButton *ok = nullptr;
    TButton *cancel = nullptr;
    TExtStringGrid *g = nullptr;
    TEditorType editor = edComboEdit;
    int okClicks = 0;
    int cancelClicks = 0;
};

TEST_F(EditorGrid, EnterAndEscapeReachTheComboNotTheDialogButtons)
{
    g->SetCells(1, 2, "Beta");
    Open(edComboEdit);
    ASSERT_TRUE(g->InEditMode());
    ASSERT_TRUE(combo()->Visible());
    combo()->SetText("typed");
    Key(VK_RETURN);
    GuiTest::ProcessEvents();
    EXPECT_EQ(g->Cells(1, 2), "typed");
    EXPECT_FALSE(combo()->Visible());
    EXPECT_EQ(okClicks, 0);

    Open(edComboEdit);
    ASSERT_TRUE(combo()->Visible());
    combo()->SetText("thrown away");
    Key(VK_ESCAPE);
    GuiTest::ProcessEvents();
    EXPECT_EQ(g->Cells(1, 2), "typed");
    EXPECT_FALSE(combo()->Visible());
    EXPECT_EQ(cancelClicks, 0);

    // A list keeps the cell text that is none of its items.
    g->SetCells(1, 2, "not an item");
    Open(edComboList);
    ASSERT_TRUE(combo()->Visible());
    Key(VK_ESCAPE);
    GuiTest::ProcessEvents();
    EXPECT_EQ(g->Cells(1, 2), "not an item");
}

TEST_F(EditorGrid, RefusedValueKeepsTheComboOpenAndSwallowsTheKey)
{
    g->SetCells(1, 2, "Alpha");
    g->OnCellValidate = [](TObject *, int, int, UnicodeString &v, bool &valid) {
        if (v == "bad") {
            valid = false;
            v = "corrected";
        }
    };
    Open(edComboEdit);
    ASSERT_TRUE(combo()->Visible());
    combo()->SetText("bad");
    Key(VK_RETURN);
    GuiTest::ProcessEvents();
    EXPECT_TRUE(combo()->Visible());
    EXPECT_EQ(combo()->Text(), "corrected");
    EXPECT_EQ(g->Row(), 2);
    EXPECT_EQ(okClicks, 0);
    // Down is refused the same way: the grid stays on the row.
    combo()->SetText("bad");
    Key(VK_DOWN);
    GuiTest::ProcessEvents();
    EXPECT_EQ(g->Row(), 2);
    EXPECT_TRUE(combo()->Visible());
}

struct TKeyCase {
    const char *Name;
    TEditorType Editor;
    Word Key;
    int Row, Col;     // current cell afterwards
    const char *Cell; // text of the edited cell afterwards
    bool Open;        // the combo is still shown
};

TEST_F(EditorGrid, ConfiguratorKeyTable)
{
    const std::vector<TKeyCase> cases{
        {"Down commits and moves down", edComboEdit, VK_DOWN, 3, 1, "typed", false},
        {"Up commits and moves up", edComboEdit, VK_UP, 1, 1, "typed", false},
        {"Page Down commits in place", edComboEdit, VK_NEXT, 2, 1, "typed", false},
        {"Enter commits in place", edComboEdit, VK_RETURN, 2, 1, "typed", false},
        {"Right moves the caret", edComboEdit, VK_RIGHT, 2, 1, "Beta", true},
        {"list Down picks the next item", edComboList, VK_DOWN, 2, 1, "Beta", true},
        {"list Right commits and moves right", edComboList, VK_RIGHT, 2, 2, "alpine", false},
        {"list Left commits and moves left", edComboList, VK_LEFT, 2, 0, "alpine", false},
    };
    g->SetFixedCols(0);
    for (const TKeyCase &tc : cases) {
        SCOPED_TRACE(tc.Name);
        g->SetCol(1);
        g->SetRow(2);
        g->SetCells(1, 2, "Beta");
        Open(tc.Editor);
        ASSERT_TRUE(combo()->Visible());
        if (tc.Editor == edComboEdit)
            combo()->SetText("typed");
        else
            combo()->SetItemIndex(1);
        Key(tc.Key);
        GuiTest::ProcessEvents();
        EXPECT_EQ(g->Row(), tc.Row);
        EXPECT_EQ(g->Col(), tc.Col);
        if (tc.Open) {
            EXPECT_TRUE(combo()->Visible());
            Key(VK_ESCAPE);
            GuiTest::ProcessEvents();
        } else {
            EXPECT_FALSE(combo()->Visible());
        }
        EXPECT_EQ(g->Cells(1, 2), UnicodeString::fromUtf8(tc.Cell));
    }
    EXPECT_EQ(okClicks + cancelClicks, 0);
}

TEST_F(EditorGrid, TabStaysWithTheFormWithoutGoTabsOrValidation)
{
    Open(edComboEdit);
    ASSERT_TRUE(combo()->Visible());
    EXPECT_EQ(combo()->Perform(CM_WANTSPECIALKEY, VK_TAB, 0), 0);
    EXPECT_NE(combo()->Perform(CM_WANTSPECIALKEY, VK_RETURN, 0), 0);
    EXPECT_NE(combo()->Perform(CM_WANTSPECIALKEY, VK_ESCAPE, 0), 0);
    g->OnCellValidate = [](TObject *, int, int, UnicodeString &, bool &) {};
    EXPECT_NE(combo()->Perform(CM_WANTSPECIALKEY, VK_TAB, 0), 0);
    Key(VK_ESCAPE);
}

struct TCompleteCase {
    const char *Name;
    bool CaseSensitive;
    const char *Typed;
    const char *Text;
    int SelStart, SelEnd;
};

TEST_F(EditorGrid, AutoCompleteTable)
{
    g->Lookup = true;
    const std::vector<TCompleteCase> cases{
        {"first match in list order, typed case kept", false, "al", "alpha", 2, 5},
        {"case counts", true, "al", "alpine", 2, 6},
        {"no match leaves the text", false, "zz", "zz", 2, 2},
        {"another case of one item", false, "BE", "BEta", 2, 4},
    };
    for (const TCompleteCase &tc : cases) {
        SCOPED_TRACE(tc.Name);
        g->LookupCaseSensitive = tc.CaseSensitive;
        g->SetCells(1, 2, "");
        Open(edComboEdit);
        ASSERT_TRUE(combo()->Visible());
        Type(tc.Typed);
        GuiTest::ProcessEvents();
        EXPECT_EQ(combo()->Text(), UnicodeString::fromUtf8(tc.Text));
        const LRESULT sel = combo()->Perform(CB_GETEDITSEL, 0, 0);
        EXPECT_EQ(LoWord(std::uintptr_t(sel)), tc.SelStart);
        EXPECT_EQ(HiWord(std::uintptr_t(sel)), tc.SelEnd);
        Key(VK_ESCAPE);
        GuiTest::ProcessEvents();
    }
}

TEST_F(EditorGrid, BackspaceDoesNotCompleteAgainAndLookupItemsHelpOut)
{
    g->Lookup = true;
    g->SetCells(1, 2, "");
    Open(edComboEdit);
    Type("al");
    ASSERT_EQ(combo()->Text(), "alpha");
    Key(VK_BACK);
    GuiTest::ProcessEvents();
    EXPECT_EQ(combo()->Text(), "al");
    Type("p");
    EXPECT_EQ(combo()->Text(), "alpha");
    Key(VK_ESCAPE);

    // Without a matching item the grid's lookup list completes; a long entry gives 255 more.
    g->LookupItems()->Add("Gamma");
    g->LookupItems()->Add("x" + UnicodeString(300, u'y'));
    Open(edComboEdit);
    Type("g");
    EXPECT_EQ(combo()->Text(), "gamma");
    EXPECT_EQ(combo()->ItemIndex(), -1);
    Key(VK_ESCAPE);
    Open(edComboEdit);
    Type("x");
    EXPECT_EQ(combo()->Text().size(), 256);
    Key(VK_ESCAPE);
}

TEST_F(EditorGrid, SizeDropDownWidthTable)
{
    TCanvas *canvas = g->Canvas();
    canvas->Font()->Assign(g->Font());
    // A text of the wanted width in the grid's font.
    auto ofWidth = [&](int W) {
        for (int a = 0; a < 40; ++a)
            for (int b = 0; b < 60; ++b) {
                const UnicodeString s = UnicodeString(a, u'm') + UnicodeString(b, u'i');
                if (canvas->TextWidth(s) == W)
                    return s;
            }
        return UnicodeString();
    };
    struct TCase {
        int Widest;
        bool Scroll;
        int Expected;
    };
    for (const TCase &tc : {TCase{95, false, 100}, TCase{96, false, 104}, TCase{75, true, 100}, TCase{76, true, 101}}) {
        SCOPED_TRACE(std::to_string(tc.Widest));
        const UnicodeString widest = ofWidth(tc.Widest);
        ASSERT_FALSE(widest.isEmpty());
        combo()->SetWidth(100);
        combo()->SetDroppedWidth(0);
        combo()->SetDropDownCount(tc.Scroll ? 2 : 8);
        combo()->Items()->Clear();
        combo()->Items()->Add("i");
        combo()->Items()->Add(widest);
        combo()->Items()->Add("ii");
        combo()->SizeDropDownWidth();
        EXPECT_EQ(combo()->DroppedWidth() == 0 ? 100 : combo()->DroppedWidth(), tc.Expected);
    }
}

TEST_F(EditorGrid, PickAndWheelFireTheComboEventsInOrder)
{
    std::vector<std::string> log;
    auto *obj = new TStringList();
    combo()->Items()->SetObjects(1, obj);
    g->OnComboChange = [&](TObject *, int c, int, int i, const UnicodeString &s) {
        log.push_back("change " + std::to_string(c) + " " + std::to_string(i) + " " + s.toStdString());
    };
    g->OnComboObjectChange = [&](TObject *, int, int, int i, const UnicodeString &, TObject *o) {
        log.push_back("object " + std::to_string(i) + (o == obj ? " obj" : o ? " other" : " nil"));
    };
    g->OnEditChange = [&](TObject *, int, int, const UnicodeString &v) { log.push_back("edit " + v.toStdString()); };
    g->SetCells(1, 2, "Alpha");
    Open(edComboList);
    ASSERT_TRUE(combo()->Visible());
    log.clear();
    auto *qc = static_cast<QComboBox *>(combo()->Widget());
    qc->setCurrentIndex(1);
    emit qc->activated(1);
    GuiTest::ProcessEvents();
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log[0], "change 1 1 alpine");
    EXPECT_EQ(log[1], "object 1 obj");
    EXPECT_EQ(log.back(), "edit alpine");

    // The wheel steps down to the last item and stays there; the platform's combo follows.
    log.clear();
    const TPoint mid{combo()->Width() / 2, combo()->Height() / 2};
    for (int i = 0; i < 4; ++i)
        GuiTest::Wheel(combo(), -120, mid);
    GuiTest::ProcessEvents();
    EXPECT_EQ(combo()->ItemIndex(), 2);
    EXPECT_EQ(combo()->Text(), "Beta");
    EXPECT_EQ(qc->currentIndex(), 2);
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(), "object 2 nil");
    GuiTest::Wheel(combo(), 120, mid);
    EXPECT_EQ(combo()->ItemIndex(), 1);
    Key(VK_ESCAPE);
    delete obj;
}

struct TFilterCase {
    TEditorType Editor;
    const char *Typed;
    const char *Expected;
};

TEST_F(EditorGrid, EditWithButtonFilterTable)
{
    const QString dec(FormatSettings.DecimalSeparator);
    const QString thou(FormatSettings.ThousandSeparator);
    const std::string d = dec.toStdString(), t = thou.toStdString();
    const std::vector<TFilterCase> cases{
        {edNumericEditBtn, "-12-a3", "-123"},
        {edEditBtn, "a-b", "a-b"},
    };
    std::vector<std::pair<TFilterCase, std::string>> all;
    for (const TFilterCase &c : cases)
        all.push_back({c, c.Typed});
    // A second decimal separator and any thousand separator are dropped.
    const std::string floatTyped = "1" + d + "5" + d + t + "2x";
    const std::string floatWant = "1" + d + "52";
    all.push_back({{edFloatEditBtn, floatTyped.c_str(), floatWant.c_str()}, floatTyped});
    for (auto &[tc, typed] : all) {
        SCOPED_TRACE(typed);
        g->SetCells(1, 2, "");
        Open(tc.Editor);
        ASSERT_TRUE(g->EditButton()->Visible());
        Type(typed.c_str());
        EXPECT_EQ(g->EditButton()->Text().toStdString(), tc.Editor == edFloatEditBtn ? floatWant : std::string(tc.Expected));
        Key(VK_ESCAPE);
        GuiTest::ProcessEvents();
    }
}

TEST_F(EditorGrid, PasteIntoTheEditWithButton)
{
    struct TCase {
        TEditorType Editor;
        const char *Clip;
        const char *Expected;
    };
    for (const TCase &tc : {TCase{edNumericEditBtn, "abc", ""}, TCase{edNumericEditBtn, "42", "42"},
                            TCase{edEditBtn, "one\r\n", "one"}, TCase{edEditBtn, "a\r\nb\r\n", "a\r\nb\r\n"}}) {
        SCOPED_TRACE(tc.Clip);
        g->SetCells(1, 2, "");
        Open(tc.Editor);
        ASSERT_TRUE(g->EditButton()->Visible());
        Clipboard()->SetAsText(UnicodeString::fromUtf8(tc.Clip));
        g->EditButton()->Perform(WM_PASTE, 0, 0);
        EXPECT_EQ(g->EditButton()->Text(), UnicodeString::fromUtf8(tc.Expected));
        // The paste writes the cell at once.
        EXPECT_EQ(g->Cells(1, 2), UnicodeString::fromUtf8(tc.Expected));
        Key(VK_ESCAPE);
        GuiTest::ProcessEvents();
    }
    // The application may refuse a paste.
    g->OnClipboardPaste = [](TObject *, bool &Allow) { Allow = false; };
    Open(edEditBtn);
    Clipboard()->SetAsText("no");
    g->EditButton()->Perform(WM_PASTE, 0, 0);
    EXPECT_EQ(g->EditButton()->Text(), "");
    Key(VK_ESCAPE);
}

TEST_F(EditorGrid, EditWithButtonEnterValidatesAndEscapeRestores)
{
    g->SetCells(1, 2, "old");
    g->OnEllipsClick = [](TObject *, int, int, UnicodeString &S) { S += "!"; };
    Open(edEditBtn);
    ASSERT_TRUE(g->EditButton()->Visible());
    g->EditButton()->Perform(WM_KEYDOWN, VK_F4, 0);
    EXPECT_EQ(g->EditButton()->Text(), "old!");
    Key(VK_RETURN);
    GuiTest::ProcessEvents();
    EXPECT_EQ(g->Cells(1, 2), "old!");
    EXPECT_FALSE(g->EditButton()->Visible());
    EXPECT_EQ(okClicks, 0);

    Open(edEditBtn);
    g->EditButton()->SetText("new");
    Key(VK_ESCAPE);
    GuiTest::ProcessEvents();
    EXPECT_EQ(g->Cells(1, 2), "old!");
    EXPECT_EQ(cancelClicks, 0);
}

TEST_F(EditorGrid, CellButtonClicksThroughTheEllipsisAndEscapeRestores)
{
    int clicks = 0;
    g->OnEllipsClick = [&](TObject *, int, int, UnicodeString &S) { S = "clicked " + QString::number(++clicks); };
    g->SetCells(1, 2, "caption");
    Open(edButton);
    TWinControl *button = g->ActiveEditControl();
    ASSERT_NE(button, nullptr);
    GuiTest::PressKey(button, VK_SPACE);
    GuiTest::ProcessEvents();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(g->Cells(1, 2), "clicked 1");
    EXPECT_EQ(button->Caption(), "clicked 1");
    GuiTest::Click(button);
    GuiTest::ProcessEvents();
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(g->Cells(1, 2), "clicked 2");
    // Escape gives back what the cell held when the edit began.
    GuiTest::PressKey(button, VK_ESCAPE);
    GuiTest::ProcessEvents();
    EXPECT_EQ(g->Cells(1, 2), "caption");
    EXPECT_FALSE(button->Visible());
    EXPECT_EQ(cancelClicks, 0);
}

TEST_F(EditorGrid, CheckBoxEditorSpaceTogglesOnce)
{
    Open(edCheckBox);
    TWinControl *f = GuiTest::FocusedControl();
    auto *box = dynamic_cast<TGridCheckBox *>(f);
    ASSERT_NE(box, nullptr);
    EXPECT_FALSE(box->Checked());
    Key(VK_SPACE);
    EXPECT_TRUE(box->Checked());
    Key(VK_SPACE);
    EXPECT_FALSE(box->Checked());
    Key(VK_DOWN);
    GuiTest::ProcessEvents();
    EXPECT_FALSE(box->Visible());
    EXPECT_EQ(g->Row(), 3);
}

TEST_F(EditorGrid, UnitEditCommitsValueAndUnitAndFiltersDigits)
{
    TStringList units;
    units.Add("mm");
    units.Add("cm");
    g->UnitEditButton()->SetUnits(&units);
    g->SetCells(1, 2, "12cm");
    Open(edNumericUnitEditBtn);
    TGridUnitEditBtn *u = g->UnitEditButton();
    ASSERT_TRUE(u->Visible());
    EXPECT_EQ(u->Text(), "12");
    EXPECT_EQ(u->UnitID(), "cm");
    u->SelectAll();
    Type("4x5");
    EXPECT_EQ(u->Text(), "45");
    Key(VK_RETURN);
    GuiTest::ProcessEvents();
    EXPECT_EQ(g->Cells(1, 2), "45cm");
    EXPECT_FALSE(u->Visible());
    EXPECT_EQ(okClicks, 0);

    Open(edNumericUnitEditBtn);
    u->SetText("99");
    Key(VK_ESCAPE);
    GuiTest::ProcessEvents();
    EXPECT_EQ(g->Cells(1, 2), "45cm");
    EXPECT_EQ(cancelClicks, 0);
}

TEST_F(EditorGrid, TabWithGoTabsCommitsAndMovesOn)
{
    g->SetOptions(g->Options() + TGridOptions{goTabs});
    Open(edComboEdit);
    ASSERT_TRUE(combo()->Visible());
    combo()->SetText("tabbed");
    Key(VK_TAB);
    GuiTest::ProcessEvents();
    EXPECT_EQ(g->Cells(1, 2), "tabbed");
    EXPECT_FALSE(combo()->Visible());
    EXPECT_EQ(g->Col(), 2);
    EXPECT_EQ(g->Row(), 2);
}

// The editors report where the user sees the cell: with a hidden column left of it the display
// column differs from the storage column.
TEST_F(EditorGrid, UnitChoiceAndLinkComboReportTheDisplayColumn)
{
    g->HideColumn(1);
    g->OnGetEditorType = [this](TObject *, int c, int, TEditorType &e) {
        if (c == 2)
            e = editor;
    };
    g->SetCol(1);
    TStringList units;
    units.Add("mm");
    units.Add("cm");
    g->UnitEditButton()->SetUnits(&units);
    g->SetCells(2, 2, "12cm");
    std::vector<std::string> seen;
    g->OnUnitChanged = [&](TObject *Sender, int c, int r, const UnicodeString &u) {
        EXPECT_EQ(Sender, g);
        seen.push_back(std::to_string(c) + "," + std::to_string(r) + " " + u.toStdString());
    };
    Open(edUnitEditBtn);
    TGridUnitEditBtn *u = g->UnitEditButton();
    ASSERT_TRUE(u->Visible());
    {
        GuiTest::TScriptedModalHook hook;
        hook.Answer(mrOk, "mm");
        GuiTest::PressKey(u, VK_F4);
        GuiTest::ProcessEvents();
    }
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], "1,2 mm");
    Key(VK_RETURN);
    GuiTest::ProcessEvents();
    EXPECT_EQ(g->Cells(2, 2), "12mm");

    // An application's editor whose control is a combo box announces its picks as the grid's
    // combo changes.
    class TComboLink : public TEditLink {
    public:
        using TEditLink::TEditLink;
        TComboBox *Box = nullptr;
        TWinControl *GetEditControl() override { return Box; }
        void CreateEditor(TWinControl *AParent) override
        {
            if (!Box) {
                Box = new TComboBox(this);
                Box->SetStyle(csDropDownList);
            }
            Box->SetParent(AParent);
            if (Box->Items()->Count() == 0)
                for (const char *s : {"red", "green"})
                    Box->Items()->Add(s);
        }
        UnicodeString GetEditorValue() override { return Box->Text(); }
        void SetEditorValue(const UnicodeString &Value) override { Box->SetItemIndex(Box->Items()->IndexOf(Value)); }
    };
    auto *link = new TComboLink(form.get());
    g->SetEditLink(link);
    std::vector<std::string> changes;
    g->OnComboChange = [&](TObject *, int c, int r, int idx, const UnicodeString &text) {
        changes.push_back(std::to_string(c) + "," + std::to_string(r) + " " + std::to_string(idx) + " " +
                          text.toStdString());
    };
    Open(edCustom);
    ASSERT_NE(link->Box, nullptr);
    ASSERT_TRUE(link->Box->Visible());
    GuiTest::PressKey(link->Box, VK_DOWN);
    GuiTest::ProcessEvents();
    ASSERT_FALSE(changes.empty());
    EXPECT_EQ(changes[0], "1,2 0 red");
    g->HideCellEdit();
    g->SetEditLink(nullptr);
}

TEST(ExtGridWrappers, TheOwnerMustBeAStringGrid)
{
    TForm form(nullptr);
    EXPECT_THROW(TGridCombo c(&form), EInvalidCast);
    EXPECT_THROW(TGridButton b(nullptr), EInvalidCast);
}

} // namespace
