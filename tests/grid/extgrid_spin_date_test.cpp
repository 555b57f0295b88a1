// The grid's spin editors on a shown grid in a dialog-like form: each spin cell type opens on a
// key, changes by keys and buttons, stores its value on Enter and leaves the cell exactly as it
// was on Escape.
#include "grid/core/ExtGrid.h"

#include "platform/Forms.h"
#include "platform/SysUtils.h"
#include "support/GuiTest.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

class SpinGrid : public ::testing::Test {
protected:
    void SetUp() override
    {
        FormatSettings.DecimalSeparator = QLatin1Char('.');
        FormatSettings.ThousandSeparator = QLatin1Char(',');
        FormatSettings.DateSeparator = QLatin1Char('/');
        FormatSettings.TimeSeparator = QLatin1Char(':');
        FormatSettings.ShortDateFormat = QStringLiteral("dd/MM/yyyy");
        FormatSettings.LongTimeFormat = QStringLiteral("h:nn:ss");
        FormatSettings.ShortTimeFormat = QStringLiteral("hh:nn");
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 520, 340);
        auto *ok = new TButton(form.get());
        ok->SetParent(form.get());
        ok->SetBounds(10, 300, 60, 24);
        ok->SetDefault(true);
        auto *cancel = new TButton(form.get());
        cancel->SetParent(form.get());
        cancel->SetBounds(80, 300, 60, 24);
        cancel->SetCancel(true);
        g = new TExtStringGrid(form.get());
        g->SetParent(form.get());
        g->SetBounds(0, 0, 500, 280);
        g->SetColCount(5);
        g->SetRowCount(10);
        g->SetOptions(g->Options() + TGridOptions{goEditing});
        g->OnGetEditorType = [this](TObject *, int c, int r, TEditorType &e) {
            if (c == 1)
                e = types[r];
        };
        form->Show();
        form->SetActiveControl(g);
        g->SetFocus();
        GuiTest::ProcessEvents();
    }
    void TearDown() override { ResetFormatSettings(); }
    void Open(int Row)
    {
        g->SetCol(1);
        g->SetRow(Row);
        GuiTest::PressKey(g, VK_F2);
        GuiTest::ProcessEvents();
    }
    void Key(Word Vk)
    {
        TWinControl *f = GuiTest::FocusedControl();
        GuiTest::PressKey(f ? f : g, Vk);
        GuiTest::ProcessEvents();
    }

    std::unique_ptr<TForm> form;
    TExtStringGrid *g = nullptr;
    TEditorType types[10] = {edNormal,   edSpinEdit,       edFloatSpinEdit, edTimeSpinEdit, edDateSpinEdit,
                             edSpinEdit, edDateEdit, edDateEditUpDown, edTimeEdit, edDateTimeEdit};
};

TEST_F(SpinGrid, EnterStoresEachSpinType)
{
    g->SetCells(1, 1, QStringLiteral("7"));
    g->SetCells(1, 2, QStringLiteral("2.5"));
    g->SetCells(1, 3, QStringLiteral("23:30:00"));
    g->SetCells(1, 4, QStringLiteral("31/01/2024"));
    struct Case {
        int Row;
        int Caret;
        const char *Expect;
    };
    const Case cases[] = {
        {1, 0, "8"},
        {2, 0, "2.60"},      // the cell's float format
        {3, 0, "0:30:00"},   // the hour wraps past midnight
        {4, 3, "29/02/2024"} // the month field
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Row);
        Open(c.Row);
        TGridSpin *s = g->SpinEdit();
        ASSERT_TRUE(s->Visible());
        ASSERT_EQ(GuiTest::FocusedControl(), s);
        s->SetSelStart(c.Caret);
        s->SetSelLength(0);
        Key(VK_UP);
        Key(VK_RETURN);
        EXPECT_FALSE(s->Visible());
        EXPECT_EQ(g->Cells(1, c.Row), QString::fromLatin1(c.Expect));
    }
}

TEST_F(SpinGrid, EscapeLeavesTheCellExactly)
{
    const char *texts[] = {"", "abc", "12"};
    for (const char *t : texts) {
        for (int row : {1, 2, 3, 4, 6, 7, 8}) {
            SCOPED_TRACE(testing::Message() << t << " row " << row);
            g->SetCells(1, row, QString::fromLatin1(t));
            Open(row);
            TWinControl *editor = row >= 6 ? static_cast<TWinControl *>(g->DateTimePicker()) : g->SpinEdit();
            ASSERT_TRUE(editor->Visible());
            Key(VK_UP);
            Key(VK_ESCAPE);
            EXPECT_FALSE(editor->Visible());
            EXPECT_EQ(g->Cells(1, row), QString::fromLatin1(t));
        }
    }
}

TEST_F(SpinGrid, DateAndTimePickersStoreTheirText)
{
    g->SetCells(1, 6, QStringLiteral("15/01/2024"));
    g->SetCells(1, 7, QStringLiteral("15/01/2024"));
    for (int row : {6, 7}) {
        SCOPED_TRACE(row);
        Open(row);
        TGridDatePicker *p = g->DateTimePicker();
        ASSERT_TRUE(p->Visible());
        EXPECT_EQ(p->Kind(), dtkDate);
        EXPECT_EQ(p->DateMode(), row == 6 ? dmComboBox : dmUpDown);
        EXPECT_EQ(p->Text(), QStringLiteral("15/01/2024"));
        Key(VK_UP);
        Key(VK_RETURN);
        EXPECT_FALSE(p->Visible());
        EXPECT_EQ(g->Cells(1, row), QStringLiteral("16/01/2024"));
    }

    // An unchecked picker clears the cell.
    TGridDatePicker *p = g->DateTimePicker();
    Open(6);
    p->SetShowCheckbox(true);
    p->SetChecked(false);
    Key(VK_RETURN);
    EXPECT_EQ(g->Cells(1, 6), QString());
    p->SetShowCheckbox(false);

    // The time is written in the picker's format, and the locale's is back afterwards.
    g->SetCells(1, 8, QStringLiteral("9:15:00"));
    p->SetFormat(QStringLiteral("HH:mm"));
    Open(8);
    EXPECT_EQ(p->Kind(), dtkTime);
    EXPECT_EQ(p->Text(), QStringLiteral("09:15"));
    Key(VK_UP);
    Key(VK_RETURN);
    EXPECT_EQ(g->Cells(1, 8), QStringLiteral("10:15"));
    EXPECT_EQ(FormatSettings.LongTimeFormat, QStringLiteral("h:nn:ss"));
}

TEST_F(SpinGrid, SpinClicksAndEmptyValues)
{
    std::vector<int> ints;
    std::vector<double> floats;
    g->OnSpinClick = [&](TObject *Sender, int, int, int Value, bool Up) {
        EXPECT_EQ(Sender, g);
        ints.push_back(Up ? Value : -Value);
    };
    g->OnFloatSpinClick = [&](TObject *, int, int, double Value, bool) { floats.push_back(Value); };
    g->SetCells(1, 1, QStringLiteral("3"));
    Open(1);
    TGridSpin *s = g->SpinEdit();
    GuiTest::Click(s->Button()->UpButton());
    GuiTest::Click(s->Button()->DownButton());
    Key(VK_HOME);
    EXPECT_EQ(s->Text(), QStringLiteral("100"));
    Key(VK_END);
    EXPECT_EQ(s->Text(), QStringLiteral("0"));
    EXPECT_EQ(ints, (std::vector<int>{4, -3, 100, 0}));

    // Float spins report buttons through their own event, the keyboard through the integer one.
    ints.clear();
    Key(VK_ESCAPE);
    g->SetCells(1, 2, QStringLiteral("1.5"));
    Open(2);
    GuiTest::Click(s->Button()->UpButton());
    EXPECT_EQ(floats.size(), 1u);
    EXPECT_DOUBLE_EQ(floats[0], 1.6);
    Key(VK_HOME);
    EXPECT_EQ(ints.size(), 1u);
    Key(VK_ESCAPE);
    EXPECT_EQ(g->Cells(1, 2), QStringLiteral("1.5"));

    // With AllowEmptyValue a cleared spin clears the cell.
    s->AllowEmptyValue = true;
    g->SetCells(1, 5, QStringLiteral("9"));
    Open(5);
    s->SetText(QString());
    Key(VK_RETURN);
    EXPECT_EQ(g->Cells(1, 5), QString());
}

TEST_F(SpinGrid, TypingReportsEditChange)
{
    std::vector<QString> changes;
    g->OnEditChange = [&](TObject *, int, int, const UnicodeString &Value) { changes.push_back(Value); };
    g->SetCells(1, 1, QStringLiteral("4"));
    Open(1);
    g->SpinEdit()->SelectAll();
    GuiTest::TypeText(g->SpinEdit(), QStringLiteral("42"));
    Key(VK_RETURN);
    EXPECT_EQ(g->Cells(1, 1), QStringLiteral("42"));
    ASSERT_FALSE(changes.empty());
    EXPECT_EQ(changes.back(), QStringLiteral("42"));
}

TEST_F(SpinGrid, DateTimeEditorWritesDateAndTime)
{
    std::vector<TDateTime> changes;
    g->OnDateTimeChange = [&](TObject *Sender, int, int Row, double Value) {
        EXPECT_EQ(Sender, g);
        EXPECT_EQ(Row, 9);
        changes.push_back(Value);
    };
    g->SetCells(1, 9, QStringLiteral("06/05/2024 13:45"));
    Open(9);
    TGridDateTimePicker *p = g->DateAndTimePicker();
    ASSERT_TRUE(p->Visible());
    EXPECT_EQ(p->Kind(), dkDateTime);
    EXPECT_EQ(p->BorderStyle(), bsNone);
    EXPECT_EQ(GuiTest::FocusedControl(), p);
    EXPECT_EQ(p->DateTime(), EncodeDateTime(2024, 5, 6, 13, 45, 0, 0));
    Key(VK_UP); // the day
    Key(VK_RETURN);
    EXPECT_FALSE(p->Visible());
    EXPECT_EQ(g->Cells(1, 9), QStringLiteral("07/05/2024 13:45"));
    EXPECT_TRUE(changes.empty());

    // Keys in the time part: a step of the hour is a change of the time, Enter ends the edit
    // there too (not the dialog's default button).
    Open(9);
    ASSERT_NE(p->TimePicker(), nullptr);
    p->TimePicker()->SetFocus();
    Key(VK_UP);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0], EncodeDateTime(2024, 5, 7, 14, 45, 0, 0));
    Key(VK_RETURN);
    EXPECT_FALSE(p->Visible());
    EXPECT_EQ(g->Cells(1, 9), QStringLiteral("07/05/2024 14:45"));

    // An unchecked picker clears the cell.
    Open(9);
    p->SetShowCheckbox(true);
    p->SetChecked(false);
    Key(VK_RETURN);
    EXPECT_EQ(g->Cells(1, 9), QString());
    p->SetShowCheckbox(false);
}

TEST_F(SpinGrid, DateTimeEditorEscapeLeavesTheCellExactly)
{
    const char *texts[] = {"", "abc", "06/05/2024 13:45", "6/5/2024"};
    for (const char *t : texts) {
        SCOPED_TRACE(t);
        g->SetCells(1, 9, QString::fromLatin1(t));
        Open(9);
        TGridDateTimePicker *p = g->DateAndTimePicker();
        ASSERT_TRUE(p->Visible());
        const TDateTime loaded = p->DateTime();
        Key(VK_UP);
        p->TimePicker()->SetFocus();
        Key(VK_UP);
        Key(VK_ESCAPE);
        EXPECT_FALSE(p->Visible());
        EXPECT_EQ(g->Cells(1, 9), QString::fromLatin1(t));
        // The picker holds the loaded value again, the time too.
        EXPECT_EQ(p->DateTime(), loaded);
    }
}

TEST_F(SpinGrid, DateTimeEditorTabKeepsTheTime)
{
    g->SetOptions(g->Options() + TGridOptions{goTabs});
    g->SetCells(1, 9, QStringLiteral("06/05/2024 13:45"));
    Open(9);
    TGridDateTimePicker *p = g->DateAndTimePicker();
    ASSERT_TRUE(p->Visible());
    Key(VK_UP);
    Key(VK_TAB);
    EXPECT_FALSE(p->Visible());
    EXPECT_EQ(g->Cells(1, 9), QStringLiteral("07/05/2024 13:45"));
    EXPECT_EQ(g->Col(), 2);
    EXPECT_EQ(g->Row(), 9);
}

} // namespace
