// The grid's spin editors on a shown grid in a dialog-like form: each spin cell type opens on a
// key, changes by keys and buttons, stores its value on Enter and leaves the cell exactly as it
// was on Escape.
#include "grid/core/ExtGrid.h"
#include "helpers/EditingGridForm.h"

#include "controls/ExtStyleIF.h"
#include "controls/GridOptions.h"
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
        g = GridTest::MakeEditingGrid(form.get(), 5, 10);
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
    // The date's change reaches the grid as the picker's notification.
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0], EncodeDateTime(2024, 5, 7, 13, 45, 0, 0));

    // Keys in the time part: a step of the hour is a change of the time, Enter ends the edit
    // there too (not the dialog's default button).
    Open(9);
    ASSERT_NE(p->TimePicker(), nullptr);
    p->TimePicker()->SetFocus();
    Key(VK_UP);
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[1], EncodeDateTime(2024, 5, 7, 14, 45, 0, 0));
    Key(VK_RETURN);
    EXPECT_FALSE(p->Visible());
    EXPECT_EQ(g->Cells(1, 9), QStringLiteral("07/05/2024 14:45"));

    // Its calendar's close-up reaches the grid; the edit goes on.
    int closed = 0;
    g->OnDatePickerCloseUp = [&](TObject *, int Row, int Col) {
        EXPECT_EQ(Row, 9);
        EXPECT_EQ(Col, 1);
        ++closed;
    };
    Open(9);
    Key(VK_F4);
    ASSERT_TRUE(p->DroppedDown());
    Key(VK_ESCAPE);
    EXPECT_EQ(closed, 1);
    EXPECT_TRUE(p->Visible());
    Key(VK_ESCAPE);
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

    // Without goTabs the dialog takes Tab: leaving the picker ends the edit, the time kept.
    g->SetOptions(g->Options() - TGridOptions{goTabs});
    g->SetCells(1, 9, QStringLiteral("06/05/2024 13:45"));
    Open(9);
    ASSERT_TRUE(p->Visible());
    p->TimePicker()->SetFocus();
    ASSERT_TRUE(p->Visible()) << "the time part is part of the editor";
    Key(VK_UP);
    Key(VK_TAB);
    EXPECT_FALSE(p->Visible());
    EXPECT_EQ(g->Cells(1, 9), QStringLiteral("06/05/2024 14:45"));

    // The form goes while the time part has the focus.
    Open(9);
    p->TimePicker()->SetFocus();
    GuiTest::ProcessEvents();
}

TEST_F(SpinGrid, TypedDigitsMoveOnOnlyWhenTheyChangeAField)
{
    struct Case {
        int Row;
        const char *Format; // the picker's; empty: the locale's
        const char *Typed;
        const char *Stored;
    };
    const Case cases[] = {
        // 3 changes the day: on to the month; 1 leaves it as it is: no move; 2 makes 12: on to
        // the year, whose change moves nowhere without a format of the picker's own.
        {6, "", "3122025", "03/12/2025"},
        // A fifth digit starts the year anew, and Enter takes what was typed.
        {6, "", "31220253", "03/12/2003"},
        // The year is the format's last field; its change stays there as well.
        {6, "dd/MM/yyyy", "0522030", "05/02/2030"},
        // A changed hour moves to the minutes; an unchanged one stays (95 is no hour: the 5
        // starts it anew).
        {8, "HH:mm", "14", "01:04"},
        {8, "HH:mm", "95", "05:15"},
    };
    TGridDatePicker *p = g->DateTimePicker();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Typed);
        g->SetCells(1, c.Row, c.Row == 8 ? QStringLiteral("9:15:00") : QStringLiteral("15/01/2024"));
        p->SetFormat(QString::fromLatin1(c.Format));
        Open(c.Row);
        ASSERT_EQ(GuiTest::FocusedControl(), p);
        for (const char *ch = c.Typed; *ch; ++ch) {
            GuiTest::TypeText(p, QString(QLatin1Char(*ch)));
            // The move to the next field is posted twice over: let it land before the next digit.
            GuiTest::ProcessEvents(30);
        }
        Key(VK_RETURN);
        EXPECT_EQ(g->Cells(1, c.Row), QString::fromLatin1(c.Stored));
    }
    p->SetFormat(QString());
}

TEST_F(SpinGrid, TheOpeningKeyIsTheFirstDigit)
{
    g->SetCells(1, 6, QStringLiteral("15/01/2024"));
    g->SetCol(1);
    g->SetRow(6);
    GuiTest::TypeText(g, QStringLiteral("3"));
    TGridDatePicker *p = g->DateTimePicker();
    GuiTest::WaitUntil([&] { return p->Visible() && p->CurrentField() == dtfMonth; });
    ASSERT_TRUE(p->Visible());
    EXPECT_EQ(p->Text(), QStringLiteral("03/01/2024"));
    EXPECT_EQ(p->CurrentField(), dtfMonth);
    Key(VK_RETURN);
    EXPECT_EQ(g->Cells(1, 6), QStringLiteral("03/01/2024"));
}

TEST_F(SpinGrid, DatePickerBridgeEventsAndCalendar)
{
    std::vector<QString> events;
    g->OnEditChange = [&](TObject *, int c, int r, const UnicodeString &V) {
        events.push_back(QStringLiteral("change %1,%2 %3").arg(c).arg(r).arg(V));
    };
    g->OnDatePickerDropDown = [&](TObject *Sender, int r, int c) {
        EXPECT_EQ(Sender, g);
        events.push_back(QStringLiteral("drop %1,%2").arg(r).arg(c));
    };
    g->OnDatePickerCloseUp = [&](TObject *, int r, int c) { events.push_back(QStringLiteral("close %1,%2").arg(r).arg(c)); };
    TGridDatePicker *p = g->DateTimePicker();
    p->Weeknumbers = true;
    p->ShowTodayCircle = false;
    g->SetCells(1, 6, QStringLiteral("15/01/2024"));
    Open(6);
    EXPECT_TRUE(events.empty()) << "loading the editor is no edit";
    Key(VK_UP);
    Key(VK_F4);
    ASSERT_TRUE(p->DroppedDown());
    TMonthCalendar *cal = p->MonthCalendar();
    EXPECT_TRUE(cal->ShowsWeekNumbers());
    EXPECT_FALSE(cal->MarksToday());
    TRect need;
    cal->Perform(MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&need));
    EXPECT_EQ(cal->Width(), need.Right + 2);
    EXPECT_EQ(cal->Left(), 0);
    Key(VK_RIGHT);
    Key(VK_RETURN); // takes the day from the calendar
    EXPECT_FALSE(p->DroppedDown());
    EXPECT_TRUE(p->Visible());
    Key(VK_RETURN);
    EXPECT_EQ(g->Cells(1, 6), QStringLiteral("17/01/2024"));
    EXPECT_EQ(events, (std::vector<QString>{QStringLiteral("change 1,6 16/01/2024"), QStringLiteral("drop 6,1"),
                                            QStringLiteral("change 1,6 17/01/2024"), QStringLiteral("close 6,1")}));

    // Dropped at once, and closing writes and ends the edit.
    g->MouseActions()->DirectDateDrop = true;
    g->MouseActions()->DirectDateClose = true;
    Open(7);
    EXPECT_FALSE(p->DroppedDown()) << "the arrows mode has no calendar";
    Key(VK_ESCAPE);
    Open(6);
    ASSERT_TRUE(p->DroppedDown());
    Key(VK_DOWN);
    Key(VK_RETURN);
    EXPECT_FALSE(p->Visible());
    EXPECT_EQ(g->Cells(1, 6), QStringLiteral("24/01/2024"));

    // An editor that goes away takes its calendar along.
    Open(6);
    ASSERT_TRUE(p->DroppedDown());
    g->HideInplaceEdit();
    EXPECT_FALSE(p->Visible());
    EXPECT_FALSE(p->DroppedDown());
}

TEST_F(SpinGrid, ColourTonesGiveTheEditorsTheMetroLook)
{
    TColorTones tones;
    // The plain editor sits in a frame of the window colour.
    g->SetCells(1, 6, QStringLiteral("15/01/2024"));
    Open(6);
    TGridDatePicker *p = g->DateTimePicker();
    EXPECT_EQ(GuiTest::PixelAt(p, 0, p->Height() / 2), ColorToRGB(clWindow));
    EXPECT_EQ(GuiTest::PixelAt(p, 1, p->Height() / 2), ColorToRGB(clWindow));
    Key(VK_ESCAPE);

    tones.Background = {clYellow, clBlack, clGray};
    tones.Hover = {clAqua, clBlack, clGray};
    tones.Selected = {clNavy, clWhite, clGray};
    tones.Foreground = {clSilver, clBlack, clGray};
    g->SetColorTones(tones);
    EXPECT_TRUE(p->MetroStyle());
    EXPECT_EQ(p->BorderColor(), clYellow);
    EXPECT_EQ(p->ButtonColor, clYellow);
    EXPECT_EQ(p->ButtonColorHot, clAqua);
    EXPECT_EQ(p->ButtonColorDown, clNavy);
    EXPECT_EQ(p->ButtonBorderColor, clBlack);
    TEsgSpinButton *b = g->SpinEdit()->Button();
    EXPECT_EQ(b->ButtonColor, clYellow);
    EXPECT_EQ(b->ButtonColorHot, clAqua);
    EXPECT_EQ(b->ButtonColorDown, clNavy);

    // The shown picker: framed in the background colour, its own button hot under the pointer.
    Open(6);
    ASSERT_TRUE(p->Visible());
    EXPECT_EQ(GuiTest::PixelAt(p, 0, p->Height() / 2), ColorToRGB(clYellow));
    GuiTest::MouseMove(p, TPoint(p->Width() - 3, p->Height() / 2));
    GuiTest::ProcessEvents();
    EXPECT_EQ(GuiTest::PixelAt(p, p->Width() - 6, p->Height() / 2 - 4), ColorToRGB(clAqua));
    Key(VK_ESCAPE);
}

TEST_F(SpinGrid, ACustomReaderGivesTheDateEditorItsDate)
{
    g->SetCells(1, 6, QStringLiteral("next monday"));
    g->OnCustomStrToDate = [](TObject *, const UnicodeString &Value, TDateTime &ADate) {
        EXPECT_GT(ADate, EncodeDate(2020, 1, 1)) << "preset to now";
        if (Value == QStringLiteral("next monday"))
            ADate = EncodeDate(2024, 6, 3);
    };
    Open(6);
    EXPECT_EQ(g->DateTimePicker()->Text(), QStringLiteral("03/06/2024"));
    Key(VK_RETURN);
    EXPECT_EQ(g->Cells(1, 6), QStringLiteral("03/06/2024"));
}

TEST_F(SpinGrid, ARefusedDateStaysInTheEditorWithTheValidatedText)
{
    g->SetCells(1, 6, QStringLiteral("15/01/2024"));
    g->OnCellValidate = [](TObject *, int, int, UnicodeString &Value, bool &Valid) {
        if (Value == QStringLiteral("16/01/2024")) {
            Valid = false;
            Value = QStringLiteral("20/02/2024");
        }
    };
    Open(6);
    TGridDatePicker *p = g->DateTimePicker();
    Key(VK_UP);
    Key(VK_RETURN);
    EXPECT_TRUE(p->Visible());
    EXPECT_EQ(p->Text(), QStringLiteral("20/02/2024"));
    Key(VK_RETURN);
    EXPECT_FALSE(p->Visible());
    EXPECT_EQ(g->Cells(1, 6), QStringLiteral("20/02/2024"));
}

} // namespace
