// Editors written by the application (in the cell and in a popup form), the rich-text editor's
// raised characters and growth while typing, and the editors of fixed cells, driven as a user
// does on a shown grid.
#include "grid/core/ExtGrid.h"

#include "platform/Forms.h"
#include "platform/StdCtrls.h"
#include "platform/Windows.h"
#include "support/GuiTest.h"

#include <gtest/gtest.h>

#include <QTextEdit>

#include <memory>
#include <string>
#include <vector>

namespace {

// Logs each step the grid asks of it, in order.
class TRecordingLink : public TEditLink {
public:
    explicit TRecordingLink(TComponent *AOwner, std::vector<std::string> *ALog) : TEditLink(AOwner), Log(ALog) {}
    std::vector<std::string> *Log;
    TEdit *Ed = nullptr;
    bool ModeAtCreate = false;
    TWinControl *ParentAtCreate = nullptr;

    TWinControl *GetEditControl() override { return Ed; }
    void CreateEditor(TWinControl *AParent) override
    {
        Add("create");
        ModeAtCreate = Grid() && Grid()->InEditMode();
        ParentAtCreate = AParent;
        if (!Ed) {
            Ed = new TEdit(this);
            Ed->OnKeyDown = [this](TObject *Sender, Word &Key, TShiftState Shift) { EditKeyDown(Sender, Key, Shift); };
        }
        Ed->SetParent(AParent);
    }
    void DestroyEditor() override { Add("destroy"); }
    void SetRect(TRect R) override
    {
        Add("rect");
        TEditLink::SetRect(R);
    }
    void SetVisible(bool Value) override
    {
        Add(Value ? "visible" : "hidden");
        TEditLink::SetVisible(Value);
    }
    void SetCellProps(TColor, TFont *) override { Add("cellprops"); }
    void SetProperties() override { Add("props"); }
    UnicodeString GetEditorValue() override { return Ed ? Ed->Text() : UnicodeString(); }
    void SetEditorValue(const UnicodeString &Value) override
    {
        Add("value " + Value.toStdString());
        Ed->SetText(Value);
    }
    void SetFocus(bool Value) override
    {
        Add(Value ? "focus" : "unfocus");
        TEditLink::SetFocus(Value);
    }

private:
    void Add(const std::string &S)
    {
        if (Log)
            Log->push_back(S);
    }
};

class EditLinkGrid : public ::testing::Test {
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
        g->OnGetEditorType = [](TObject *, int, int, TEditorType &E) { E = edCustom; };
        g->OnGetEditorProp = [this](TObject *, int, int, TObject *L) {
            log.push_back(L == link ? "getprop" : "getprop other");
        };
        link = new TRecordingLink(form.get(), &log);
        g->SetEditLink(link);
        form->Show();
        form->SetActiveControl(g);
        g->SetFocus();
        GuiTest::ProcessEvents();
        g->SetCol(1);
        g->SetRow(1);
        g->SetCells(1, 1, QStringLiteral("old"));
    }
    void Open()
    {
        log.clear();
        GuiTest::PressKey(g, VK_F2);
        GuiTest::ProcessEvents();
    }
    void EditorKey(Word Vk, TShiftState Shift = {})
    {
        GuiTest::PressKey(link->Ed, Vk, Shift);
        GuiTest::ProcessEvents();
    }
    std::vector<std::string> log;
    std::unique_ptr<TForm> form;
    TExtStringGrid *g = nullptr;
    TRecordingLink *link = nullptr;
};

TEST_F(EditLinkGrid, InPlaceLinkOpensInTheTenStepsAndIsHooked)
{
    Open();
    const std::vector<std::string> steps{"create", "rect", "visible", "cellprops", "props",
                                         "getprop", "value old", "focus"};
    EXPECT_EQ(log, steps);
    EXPECT_TRUE(link->ModeAtCreate);
    EXPECT_EQ(link->ParentAtCreate, g);
    EXPECT_EQ(link->Grid(), g);
    EXPECT_EQ(link->EditCell, TPoint(1, 1));
    EXPECT_EQ(g->ActiveEditControl(), link->Ed);
    EXPECT_TRUE(link->SubClassed());
    const TRect cell = g->CellRect(1, 1);
    EXPECT_EQ(link->Ed->Left(), cell.Left);
    EXPECT_EQ(link->Ed->Width(), cell.Width() - g->GridLineWidth());
    // With goTabs the hooked control wants Tab and the arrows from the dialog manager.
    g->SetOptions(g->Options() + TGridOptions{goTabs});
    const LRESULT code = link->Ed->Perform(WM_GETDLGCODE);
    EXPECT_EQ(code & (DLGC_WANTTAB | DLGC_WANTARROWS | DLGC_WANTCHARS), DLGC_WANTTAB | DLGC_WANTARROWS | DLGC_WANTCHARS);
}

TEST_F(EditLinkGrid, KeysEndTheEditUnlessTheLinkWantsThem)
{
    struct Case {
        Word Key;
        TShiftState Shift;
        bool TEditLink::*Want;
        bool Ends;
    };
    const std::vector<Case> cases{
        {VK_UP, {}, nullptr, true},
        {VK_UP, {}, &TEditLink::WantKeyUpDown, false},
        {VK_DOWN, {}, &TEditLink::WantKeyUpDown, false},
        {VK_HOME, {}, nullptr, false},
        {VK_END, {}, nullptr, true},
        {VK_END, {}, &TEditLink::WantKeyHomeEnd, false},
        {VK_RIGHT, {}, &TEditLink::WantKeyLeftRight, false},
        {VK_NEXT, {}, nullptr, true},
        {'A', {ssAlt}, nullptr, true},
        {'A', {}, nullptr, false},
    };
    for (const Case &k : cases) {
        g->SetCol(1);
        g->SetRow(1);
        link->WantKeyUpDown = link->WantKeyHomeEnd = link->WantKeyLeftRight = false;
        if (k.Want)
            link->*k.Want = true;
        Open();
        ASSERT_TRUE(g->InEditMode());
        EditorKey(k.Key, k.Shift);
        EXPECT_EQ(!g->InEditMode(), k.Ends) << k.Key;
        EXPECT_EQ(!link->SubClassed(), k.Ends) << k.Key;
        if (g->InEditMode())
            EditorKey(VK_ESCAPE);
    }
}

TEST_F(EditLinkGrid, EscapeRestoresTheCachedTextAndCommitsIt)
{
    std::vector<std::string> done;
    g->OnEditingDone = [&](TObject *) { done.push_back("done"); };
    Open();
    link->Ed->SetText(QStringLiteral("changed"));
    EditorKey(VK_ESCAPE);
    EXPECT_EQ(g->Cells(1, 1), "old");
    EXPECT_FALSE(g->InEditMode());
    EXPECT_EQ(done.size(), 1u);
}

TEST_F(EditLinkGrid, EnterStoresAndAdvancesForwardOrWithShiftBackward)
{
    g->Navigation()->AdvanceOnEnter = true;
    Open();
    link->Ed->SetText(QStringLiteral("new"));
    EditorKey(VK_RETURN);
    EXPECT_EQ(g->Cells(1, 1), "new");
    EXPECT_EQ(g->Col(), 2);
    EXPECT_EQ(g->Row(), 1);
    if (g->InEditMode())
        EditorKey(VK_ESCAPE);
    g->SetCol(2);
    Open();
    EditorKey(VK_RETURN, {ssShift});
    EXPECT_EQ(g->Col(), 1);
}

TEST_F(EditLinkGrid, ARefusedValueReopensTheEditor)
{
    g->OnCellValidate = [](TObject *, int, int, UnicodeString &V, bool &Valid) { Valid = V != "bad"; };
    Open();
    link->Ed->SetText(QStringLiteral("bad"));
    EditorKey(VK_RETURN);
    EXPECT_EQ(g->Cells(1, 1), "old");
    EXPECT_TRUE(g->InEditMode());
    EXPECT_TRUE(link->Ed->Visible());
    EXPECT_TRUE(link->SubClassed());
    link->Ed->SetText(QStringLiteral("good"));
    EditorKey(VK_RETURN);
    EXPECT_EQ(g->Cells(1, 1), "good");
    EXPECT_FALSE(g->InEditMode());
}

TEST_F(EditLinkGrid, PopupLinksKeepTheirOwnFormsAndLeaveTheirValues)
{
    link->EditStyle = esPopup;
    link->PopupWidth = 120;
    link->PopupHeight = 40;
    std::vector<std::string> log2;
    auto *link2 = new TRecordingLink(form.get(), &log2);
    link2->EditStyle = esPopup;
    link2->PopupWidth = 90;
    link2->PopupHeight = 30;

    Open();
    const std::vector<std::string> steps{"create", "rect", "visible", "cellprops", "props",
                                         "getprop", "value old", "focus"};
    EXPECT_EQ(log, steps);
    ASSERT_NE(link->PopupForm(), nullptr);
    TForm *first = link->PopupForm();
    EXPECT_EQ(first->Name(), "gridform");
    EXPECT_TRUE(first->Visible());
    EXPECT_EQ(first->FormStyle(), fsStayOnTop);
    EXPECT_EQ(first->BorderStyle(), bsNone);
    EXPECT_EQ(first->Width(), 120);
    EXPECT_EQ(link->ParentAtCreate, first);
    EXPECT_EQ(link->GetParent(), first);
    EXPECT_EQ(link->Ed->Width(), 120 - g->GridLineWidth());
    link->Ed->SetText(QStringLiteral("from popup"));
    EditorKey(VK_RETURN);
    EXPECT_EQ(g->Cells(1, 1), "from popup");
    EXPECT_FALSE(first->Visible());

    // The second link gets a form of its own; the first one's stays alive and is used again.
    g->SetEditLink(link2);
    g->SetRow(2);
    Open();
    ASSERT_NE(link2->PopupForm(), nullptr);
    EXPECT_NE(link2->PopupForm(), first);
    link2->Ed->SetText(QStringLiteral("second"));
    GuiTest::PressKey(link2->Ed, VK_RETURN);
    GuiTest::ProcessEvents();
    EXPECT_EQ(g->Cells(1, 2), "second");

    g->SetEditLink(link);
    g->SetRow(3);
    Open();
    EXPECT_EQ(link->PopupForm(), first);
    link->Ed->SetText(QStringLiteral("first again"));
    EditorKey(VK_RETURN);
    EXPECT_EQ(g->Cells(1, 3), "first again");
    delete link2;
    EXPECT_EQ(g->EditLink(), link);
}

TEST_F(EditLinkGrid, AFreedLinkLeavesTheGridWithoutOne)
{
    delete link;
    link = nullptr;
    EXPECT_EQ(g->EditLink(), nullptr);
    GuiTest::PressKey(g, VK_F2);
    EXPECT_EQ(g->ActiveEditControl(), nullptr);
}

TEST_F(EditLinkGrid, RichEditorOffsetsAndGrowsItsRowWhileTyping)
{
    TExtRichEdit *e = g->InplaceRichEdit();
    e->Lines()->SetText(QStringLiteral("x2"));
    e->SetSelStart(1);
    e->SetSelLength(1);
    e->SelSuperscript();
    EXPECT_TRUE(e->IsSelSuperscript());
    EXPECT_FALSE(e->IsSelNormal());
    e->SetSelOffset(30);
    EXPECT_FALSE(e->IsSelSuperscript());
    EXPECT_FALSE(e->IsSelNormal());
    e->SelNormal();
    EXPECT_TRUE(e->IsSelNormal());
    e->SelSubscript();
    EXPECT_TRUE(e->IsSelSubscript());

    g->OnGetEditorType = [](TObject *, int, int, TEditorType &E) { E = edRichEdit; };
    g->SizeWhileTyping()->Height = true;
    std::vector<int> sized;
    g->OnEndRowSize = [&](TObject *, int R) { sized.push_back(R); };
    const int rowHeight = g->RowHeights(1);
    Open();
    ASSERT_TRUE(g->InEditMode());
    ASSERT_EQ(g->ActiveEditControl(), e);
    e->Lines()->SetText(QStringLiteral("one\ntwo\nthree\nfour"));
    // The text is laid out two pixels in from the left and top, one from the right and bottom.
    const int want = e->RequiredSize(e->ClientWidth() - 3).cy + 3;
    ASSERT_GT(want + 5, rowHeight);
    EXPECT_EQ(g->RowHeights(1), want + 10);
    EXPECT_EQ(e->Height(), want + 9);
    ASSERT_FALSE(sized.empty());
    EXPECT_EQ(sized.back(), 1);
}

TEST_F(EditLinkGrid, RichEditorKeepsItsTextTwoPixelsFromTheCellsEdges)
{
    g->OnGetEditorType = [](TObject *, int, int, TEditorType &E) { E = edRichEdit; };
    Open();
    TExtRichEdit *e = g->InplaceRichEdit();
    ASSERT_EQ(g->ActiveEditControl(), e);
    const TRect cell = g->CellRect(g->Col(), g->Row());
    TRect format;
    e->Perform(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    EXPECT_EQ(format, TRect(2, 2, cell.Width() - 2, cell.Height() - 2));
    // The text is drawn there: the edit's viewport starts two pixels in.
    auto *view = qobject_cast<QTextEdit *>(e->Widget());
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->viewport()->geometry().topLeft(), QPoint(2, 2));
}

TEST_F(EditLinkGrid, FixedCellEditorKeepsARefusedValueAndWritesAnAcceptedOne)
{
    TGridTransEdit *e = g->FixedCellEdit();
    ASSERT_NE(e, nullptr);
    std::vector<std::string> events;
    g->OnCellValidate = [&](TObject *, int c, int r, UnicodeString &V, bool &Valid) {
        events.push_back("validate " + std::to_string(c) + "," + std::to_string(r));
        Valid = V != "bad";
    };
    g->OnEditingDone = [&](TObject *) { events.push_back("done"); };
    e->FCol = 2;
    e->FRow = 0;
    e->SetParent(g);
    e->SetVisible(true);
    e->SetText(QStringLiteral("bad"));
    EXPECT_FALSE(e->StopEdit());
    EXPECT_TRUE(e->Visible());
    EXPECT_NE(g->Cells(2, 0), "bad");
    e->SetText(QStringLiteral("Header"));
    EXPECT_TRUE(e->StopEdit());
    EXPECT_FALSE(e->Visible());
    EXPECT_EQ(g->Cells(2, 0), "Header");
    EXPECT_EQ(events, (std::vector<std::string>{"validate 2,0", "validate 2,0", "done"}));
}

TEST_F(EditLinkGrid, InTextControlEditorEndsOnEnterAndGoesOnWithTab)
{
    auto *e = new TControlEdit(g);
    e->SetParent(g);
    e->SetBounds(10, 10, 80, 20);
    e->SetVisible(true);
    int exits = 0;
    e->OnExit = [&](TObject *) { ++exits; };
    e->SetFocus();
    GuiTest::ProcessEvents();
    GuiTest::PressKey(e, VK_RETURN);
    GuiTest::ProcessEvents();
    EXPECT_GE(exits, 1);
    EXPECT_TRUE(g->Focused());
    EXPECT_EQ(e->Text(), "");

    // With AdvanceAuto, Tab takes the grid on to the next cell.
    g->Navigation()->SetAdvanceAuto(true);
    g->Navigation()->AdvanceOnEnter = true;
    e->SetFocus();
    GuiTest::ProcessEvents();
    GuiTest::PressKey(e, VK_TAB);
    GuiTest::ProcessEvents();
    EXPECT_EQ(g->Col(), 2);
}

} // namespace
