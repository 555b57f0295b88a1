// Radio group clicks, the editors of in-text controls and the fixed-cell editors, driven by
// clicks on a shown grid.
#include "grid/core/ExtGrid.h"

#include "support/GuiTest.h"

#include "controls/MiniHTML.h"
#include "platform/Forms.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

TPoint Middle(const TRect &R) { return TPoint((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2); }

class ControlGrid : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application->Initialize();
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(0, 0, 800, 500);
        G = new TExtStringGrid(Form.get());
        G->SetParent(Form.get());
        G->SetBounds(0, 0, 780, 460);
        G->SetColCount(5);
        G->SetRowCount(8);
        G->SetColWidths(2, 300);
        G->SetOptions(G->Options() + TGridOptions{goEditing});
        Form->Show();
        GuiTest::ProcessEvents(20);
    }
    void TearDown() override { Form.reset(); }
    // The point of an in-text control that starts the cell's text.
    TPoint FirstControl(int ACol, int ARow)
    {
        const TRect cr = G->CellRect(ACol, ARow);
        return TPoint(cr.Left + G->XYOffset().X + 12, cr.Top + G->XYOffset().Y + 8);
    }
    std::unique_ptr<TForm> Form;
    TExtStringGrid *G = nullptr;
};

TEST_F(ControlGrid, AClickOnARadioGroupPicksTheOptionUnderIt)
{
    G->SetRowHeights(2, 80);
    TStrings *across = G->CreateRadio(2, 2, 1, 0);
    TStrings *down = G->CreateRadio(3, 2, 0, 0);
    for (TStrings *l : {across, down}) {
        l->Add(QStringLiteral("One"));
        l->Add(QStringLiteral("Two"));
        l->Add(QStringLiteral("Three"));
    }
    std::vector<std::array<int, 3>> fired;
    G->OnRadioClick = [&](TObject *, int C, int R, int I) { fired.push_back({C, R, I}); };

    // The extents as the grid measures them: text plus a 16 px mark across, rows of the larger
    // of the mark and a line of text down.
    TBitmap bmp;
    bmp.SetSize(1, 1);
    bmp.Canvas()->Font()->Assign(G->Font());
    const int w0 = bmp.Canvas()->TextWidth(QStringLiteral("One")) + 16;
    const int w1 = bmp.Canvas()->TextWidth(QStringLiteral("Two")) + 16;
    const int w2 = bmp.Canvas()->TextWidth(QStringLiteral("Three")) + 16;
    const int h = std::max(16, bmp.Canvas()->TextHeight(QStringLiteral("gh")));
    struct Case {
        int Col, Offset, Expected; // Offset across (column 2) or down (column 3); -1: unchanged
    } cases[] = {
        {2, 3, 0}, {2, w0 + 2, 1}, {2, w0 + w1 + 2, 2}, {2, w0 + w1 + w2 + 4, -1}, {2, w0 - 2, 0},
        {3, 2, 0}, {3, h + 2, 1},  {3, 2 * h + 2, 2},   {3, 3 * h + 3, -1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.Col << " at " << c.Offset);
        G->SetRadioIdx(c.Col, 2, 1);
        fired.clear();
        const TRect cr = G->CellRect(c.Col, 2);
        const TPoint at = c.Col == 2 ? TPoint(cr.Left + c.Offset, cr.Top + 5) : TPoint(cr.Left + 5, cr.Top + c.Offset);
        GuiTest::Click(G, at);
        GuiTest::ProcessEvents(5);
        int idx = -2;
        G->GetRadioIdx(c.Col, 2, idx);
        if (c.Expected < 0) {
            EXPECT_EQ(idx, 1);
            EXPECT_TRUE(fired.empty());
        } else {
            EXPECT_EQ(idx, c.Expected);
            EXPECT_EQ(fired, (std::vector<std::array<int, 3>>{{c.Col, 2, c.Expected}}));
            EXPECT_EQ(G->Col(), c.Col);
            EXPECT_EQ(G->Row(), 2);
        }
    }
}

TEST_F(ControlGrid, EachInTextControlTypeEditsInItsOwnWay)
{
    struct Case {
        const char *Tag;
        WideChar Password;
        const char *Mask;
        int MaxLen;
    } cases[] = {
        {"<CONTROL TYPE=\"EDIT\" ID=\"k\" VALUE=\"abc\" WIDTH=\"80\">", WideChar(0), "", 0},
        {"<CONTROL TYPE=\"PASSWORD\" ID=\"k\" VALUE=\"abc\" WIDTH=\"80\" MAXLEN=\"6\">", WideChar(u'*'), "", 6},
        {"<CONTROL TYPE=\"MASK\" ID=\"k\" VALUE=\"123\" WIDTH=\"80\" PROP=\"000;1;_\">", WideChar(0), "000;1;_", 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Tag);
        G->SetCells(2, 3, QString::fromLatin1(c.Tag));
        GuiTest::Click(G, FirstControl(2, 3));
        GuiTest::ProcessEvents(10);
        TControlEdit *e = G->ControlEditor();
        ASSERT_TRUE(e->Visible());
        EXPECT_TRUE(G->ControlEditing());
        EXPECT_EQ(e->PasswordChar(), c.Password);
        EXPECT_EQ(e->EditMask(), QString::fromLatin1(c.Mask));
        EXPECT_EQ(e->MaxLength(), c.MaxLen);
        EXPECT_EQ(e->BorderStyle(), bsNone);
        EXPECT_EQ(e->Height(), 14);
        G->EndCellControlEdit();
        EXPECT_FALSE(e->Visible());
    }
    // A type without an editor opens nothing.
    G->SetCells(2, 3, QStringLiteral("<CONTROL TYPE=\"BUTTON\" ID=\"k\" VALUE=\"go\" WIDTH=\"80\">"));
    G->EditCellControl(2, 3, QStringLiteral("k"));
    EXPECT_FALSE(G->ControlEditing());
}

TEST_F(ControlGrid, ClosingRewritesOnlyThatControlsValue)
{
    G->SetCells(2, 3,
                QStringLiteral("<CONTROL TYPE=\"EDIT\" ID=\"a\" VALUE=\"one\" WIDTH=\"80\"> and "
                               "<CONTROL TYPE=\"EDIT\" ID=\"b\" VALUE=\"two\" WIDTH=\"80\">"));
    std::vector<std::string> done;
    G->OnControlEditDone = [&](TObject *, int R, int C, const UnicodeString &ID, const UnicodeString &Type,
                               const UnicodeString &Val) {
        done.push_back(std::to_string(C) + "," + std::to_string(R) + " " + ID.toStdString() + " " + Type.toStdString() +
                       " " + Val.toStdString());
    };
    GuiTest::Click(G, FirstControl(2, 3));
    GuiTest::ProcessEvents(10);
    TControlEdit *e = G->ControlEditor();
    ASSERT_TRUE(e->Visible());
    e->SetText(QStringLiteral("uno"));
    // Leaving the editor ends the edit.
    GuiTest::Click(G, Middle(G->CellRect(1, 6)));
    GuiTest::ProcessEvents(10);
    EXPECT_FALSE(G->ControlEditing());
    UnicodeString a, b;
    ASSERT_TRUE(GetControlValue(G->Cells(2, 3), QStringLiteral("a"), a));
    ASSERT_TRUE(GetControlValue(G->Cells(2, 3), QStringLiteral("b"), b));
    EXPECT_EQ(a, QStringLiteral("uno"));
    EXPECT_EQ(b, QStringLiteral("two"));
    EXPECT_EQ(done, std::vector<std::string>{"2,3 a EDIT uno"});
    G->EndCellControlEdit(); // nothing open: nothing happens
    EXPECT_EQ(done.size(), 1u);
}

TEST_F(ControlGrid, AComboControlListsItsItemsWithTheValuePicked)
{
    G->SetCells(2, 3, QStringLiteral("<CONTROL TYPE=\"COMBO\" ID=\"c\" VALUE=\"b\" WIDTH=\"100\">"));
    for (bool editable : {true, false}) {
        SCOPED_TRACE(editable);
        G->OnControlComboList = [&](TObject *, int R, int C, const UnicodeString &ID, const UnicodeString &Type,
                                    const UnicodeString &Val, TStrings *Values, bool &Edit, int &DropCount) {
            EXPECT_EQ(R, 3);
            EXPECT_EQ(C, 2);
            EXPECT_EQ(ID, QStringLiteral("c"));
            EXPECT_EQ(Val, QStringLiteral("b"));
            EXPECT_TRUE(Edit);
            EXPECT_EQ(DropCount, 8);
            Values->Add(QStringLiteral("a"));
            Values->Add(QStringLiteral("b"));
            Values->Add(QStringLiteral("c"));
            Edit = editable;
        };
        GuiTest::Click(G, FirstControl(2, 3));
        GuiTest::ProcessEvents(10);
        TControlCombo *cb = G->ControlComboEditor();
        ASSERT_TRUE(cb->Visible());
        EXPECT_EQ(cb->Style(), editable ? csDropDown : csDropDownList);
        EXPECT_EQ(cb->ItemIndex(), 1);
        EXPECT_EQ(cb->Text(), QStringLiteral("b"));
        EXPECT_EQ(cb->DropDownCount(), 8);
        G->EndCellControlEdit();
        EXPECT_FALSE(cb->Visible());
    }
}

TEST_F(ControlGrid, FixedCellEditorsFollowTheirColumnsKind)
{
    G->SetCells(0, 3, QStringLiteral("row three"));
    G->SetCells(2, 0, QStringLiteral("header"));
    G->MouseActions()->FixedColsEditor = fceComboList;
    G->MouseActions()->FixedRowsEditor = fceEdit;
    G->MouseActions()->FixedRowsEdit = fceDblClick;
    TStringList values;
    values.Add(QStringLiteral("row three"));
    values.Add(QStringLiteral("other"));
    G->MouseActions()->SetFixedComboValues(&values);
    std::vector<std::string> changes;
    G->OnEditChange = [&](TObject *, int C, int R, const UnicodeString &V) {
        changes.push_back(std::to_string(C) + "," + std::to_string(R) + " " + V.toStdString());
    };

    G->EditFixedCell(0, 3);
    TGridTransCombo *cb = G->FixedCellCombo();
    ASSERT_TRUE(cb->Visible());
    EXPECT_EQ(cb->Style(), csDropDownList);
    EXPECT_EQ(cb->ItemIndex(), 0);
    EXPECT_EQ(cb->Items()->Count(), 2);
    TRect r = G->CellRect(0, 3);
    InflateRect(r, -1, -1);
    EXPECT_EQ(cb->Left(), r.Left - 1);
    EXPECT_EQ(cb->Width(), r.Right - r.Left + 1);

    GuiTest::DoubleClick(G, Middle(G->CellRect(2, 0)));
    GuiTest::ProcessEvents(10);
    TGridTransEdit *e = G->FixedCellEdit();
    ASSERT_TRUE(e->Visible());
    EXPECT_FALSE(cb->Visible());
    EXPECT_EQ(e->Text(), QStringLiteral("header"));
    r = G->CellRect(2, 0);
    InflateRect(r, -1, -1);
    EXPECT_EQ(e->BoundsRect(), r);
    GuiTest::TypeText(e, QStringLiteral("x"));
    ASSERT_FALSE(changes.empty());
    EXPECT_EQ(changes.back().substr(0, 4), "2,0 ");

    // The application may refuse, and may change the kind.
    e->SetVisible(false);
    G->OnCanEditCell = [](TObject *, int, int, bool &CanEdit) { CanEdit = false; };
    G->EditFixedCell(2, 0);
    EXPECT_FALSE(e->Visible());
    EXPECT_FALSE(cb->Visible());
    G->OnCanEditCell = nullptr;
    G->OnFixedEdit = [](TObject *, int, int, TGridFixedCellEditor &AEditor, TStrings *) { AEditor = fceComboEdit; };
    G->EditFixedCell(2, 0);
    ASSERT_TRUE(cb->Visible());
    EXPECT_EQ(cb->Style(), csDropDown);
    EXPECT_EQ(cb->Text(), QStringLiteral("header"));
}

} // namespace
