// The standard controls driven as a user drives them: keys into edits, picks in combo and list
// boxes, clicks on check boxes, radio buttons and push buttons.
#include "platform/Forms.h"
#include "platform/StdCtrls.h"
#include "platform/Windows.h"
#include "support/GuiTest.h"

#include <QCoreApplication>
#include <QListWidget>
#include <QMouseEvent>
#include <gtest/gtest.h>

#include <random>

#include <memory>
#include <vector>

namespace {

class StdCtrlsInput : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application->Initialize();
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(10, 10, 400, 300);
    }
    void ShowForm()
    {
        Form->Show();
        GuiTest::ProcessEvents();
    }
    template <class T>
    T *Make(int Left, int Top)
    {
        auto *c = new T(Form.get());
        c->SetParent(Form.get());
        c->SetLeft(Left);
        c->SetTop(Top);
        return c;
    }
    std::unique_ptr<TForm> Form;
};

// ---- TEdit ----

TEST_F(StdCtrlsInput, EditKeyPressComesBeforeTheTextChangesAndAZeroedKeyIsNotInserted)
{
    auto *e = Make<TEdit>(10, 10);
    std::vector<UnicodeString> textAtKeyPress;
    int changes = 0;
    e->OnKeyPress = [&](TObject *, WideChar &Key) {
        textAtKeyPress.push_back(e->Text());
        if (Key == u'.')
            Key = 0;
        else if (Key == u'x')
            Key = u'y';
    };
    e->OnChange = [&](TObject *) { ++changes; };
    ShowForm();
    GuiTest::TypeText(e, QStringLiteral("1.2x"));
    EXPECT_EQ(e->Text(), QStringLiteral("12y"));
    ASSERT_EQ(textAtKeyPress.size(), 4u);
    EXPECT_EQ(textAtKeyPress[0], QString());
    EXPECT_EQ(textAtKeyPress[1], QStringLiteral("1"));
    EXPECT_EQ(textAtKeyPress[2], QStringLiteral("1"));
    EXPECT_EQ(textAtKeyPress[3], QStringLiteral("12"));
    EXPECT_EQ(changes, 3); // the swallowed "." changed nothing
    EXPECT_TRUE(e->Modified());
}

// The octet edits' pattern: "." moves on to the next edit and is typed nowhere.
TEST_F(StdCtrlsInput, KeyPressMayMoveTheFocusAndSwallowTheKey)
{
    auto *ip1 = Make<TEdit>(10, 10);
    auto *ip2 = Make<TEdit>(60, 10);
    ip1->OnKeyPress = [&](TObject *, WideChar &Key) {
        if (Key == u'.') {
            if (ip2->CanFocus())
                ip2->SetFocus();
            Key = 0;
        }
    };
    ShowForm();
    ip1->SetFocus();
    for (QChar ch : QStringLiteral("192.168")) {
        TWinControl *target = GuiTest::FocusedControl();
        ASSERT_NE(target, nullptr);
        GuiTest::TypeText(target, QString(ch));
    }
    EXPECT_EQ(ip1->Text(), QStringLiteral("192"));
    EXPECT_EQ(ip2->Text(), QStringLiteral("168"));
    EXPECT_TRUE(ip2->Focused());
}

TEST_F(StdCtrlsInput, EditKeyDownZeroSwallowsTheKey)
{
    auto *e = Make<TEdit>(10, 10);
    e->SetText(QStringLiteral("abc"));
    e->OnKeyDown = [](TObject *, Word &Key, TShiftState) {
        if (Key == VK_BACK)
            Key = 0;
    };
    ShowForm();
    e->SetSelStart(3);
    GuiTest::PressKey(e, VK_BACK);
    EXPECT_EQ(e->Text(), QStringLiteral("abc"));
    e->OnKeyDown = nullptr;
    GuiTest::PressKey(e, VK_BACK);
    EXPECT_EQ(e->Text(), QStringLiteral("ab"));
}

TEST_F(StdCtrlsInput, EditTextInCodeFiresOnChangeAndClearsModified)
{
    auto *e = Make<TEdit>(10, 10);
    int changes = 0;
    e->OnChange = [&](TObject *) { ++changes; };
    e->SetText(QStringLiteral("before the window"));
    EXPECT_EQ(changes, 1);
    ShowForm();
    EXPECT_EQ(e->Text(), QStringLiteral("before the window"));
    GuiTest::TypeText(e, QStringLiteral("z"));
    EXPECT_TRUE(e->Modified());
    e->SetText(QStringLiteral("set"));
    EXPECT_FALSE(e->Modified());
    EXPECT_EQ(e->Text(), QStringLiteral("set"));
    e->SetText(QStringLiteral("set")); // the same text is no change
    EXPECT_EQ(changes, 3);
}

TEST_F(StdCtrlsInput, EditMaxLengthStopsTypingButNotCode)
{
    auto *e = Make<TEdit>(10, 10);
    e->SetMaxLength(3);
    ShowForm();
    GuiTest::TypeText(e, QStringLiteral("12345"));
    EXPECT_EQ(e->Text(), QStringLiteral("123"));
    e->SetText(QStringLiteral("abcdef"));
    EXPECT_EQ(e->Text(), QStringLiteral("abcdef"));
}

TEST_F(StdCtrlsInput, EditSelectionWithAndWithoutWindow)
{
    auto *e = Make<TEdit>(10, 10);
    e->SetText(QStringLiteral("hello world"));
    e->SetSelStart(6);
    e->SetSelLength(5);
    EXPECT_EQ(e->SelText(), QStringLiteral("world"));
    ShowForm();
    // Taking the focus as the form shows selects the whole text (AutoSelect).
    EXPECT_EQ(e->SelLength(), 11);
    e->SetSelStart(6);
    e->SetSelLength(5);
    EXPECT_EQ(e->SelStart(), 6);
    EXPECT_EQ(e->SelLength(), 5);
    e->SetSelText(QStringLiteral("there"));
    EXPECT_EQ(e->Text(), QStringLiteral("hello there"));
    e->SelectAll();
    EXPECT_EQ(e->SelText(), QStringLiteral("hello there"));
    GuiTest::TypeText(e, QStringLiteral("q"));
    EXPECT_EQ(e->Text(), QStringLiteral("q"));
}

TEST_F(StdCtrlsInput, EditKeepsItsTextWhenTheWindowGoes)
{
    auto *e = Make<TEdit>(10, 10);
    ShowForm();
    GuiTest::TypeText(e, QStringLiteral("kept"));
    e->DestroyHandle();
    EXPECT_FALSE(e->HandleAllocated());
    EXPECT_EQ(e->Text(), QStringLiteral("kept"));
    e->HandleNeeded();
    EXPECT_EQ(e->Text(), QStringLiteral("kept"));
}

TEST_F(StdCtrlsInput, EnterInAnEditReachesOnKeyPressWhenNoButtonTakesIt)
{
    auto *e = Make<TEdit>(10, 10);
    int enters = 0;
    e->OnKeyPress = [&](TObject *, WideChar &Key) {
        if (Key == 13)
            ++enters;
    };
    ShowForm();
    e->SetFocus();
    GuiTest::PressKey(e, VK_RETURN);
    EXPECT_EQ(enters, 1);
    EXPECT_EQ(e->Text(), QString());
}

TEST_F(StdCtrlsInput, ReadOnlyEditTakesNoTypingAndPasswordEditKeepsItsText)
{
    auto *ro = Make<TEdit>(10, 10);
    ro->SetText(QStringLiteral("44818"));
    ro->SetReadOnly(true);
    auto *pw = Make<TEdit>(10, 40);
    pw->SetPasswordChar(u'*');
    ShowForm();
    GuiTest::TypeText(ro, QStringLiteral("1"));
    EXPECT_EQ(ro->Text(), QStringLiteral("44818"));
    GuiTest::TypeText(pw, QStringLiteral("secret"));
    EXPECT_EQ(pw->Text(), QStringLiteral("secret"));
}

TEST_F(StdCtrlsInput, MemoLinesAndText)
{
    auto *m = Make<TMemo>(10, 10);
    m->Lines()->Add(QStringLiteral("one"));
    m->Lines()->Add(QStringLiteral("two"));
    EXPECT_EQ(m->Text(), QStringLiteral("one\r\ntwo"));
    ShowForm();
    EXPECT_EQ(m->Lines()->Count(), 2);
    m->Lines()->SetStrings(1, QStringLiteral("TWO"));
    m->Lines()->Insert(0, QStringLiteral("zero"));
    EXPECT_EQ(m->Lines()->Text(), QStringLiteral("zero\r\none\r\nTWO\r\n"));
    m->Lines()->Delete(1);
    EXPECT_EQ(m->Lines()->Count(), 2);
    EXPECT_EQ(m->Lines()->Strings(1), QStringLiteral("TWO"));
}

TEST_F(StdCtrlsInput, DeletedControlsLeaveTheTabOrder)
{
    auto *first = Make<TEdit>(10, 10);
    auto *combo = Make<TComboBox>(10, 40);
    auto *list = Make<TListBox>(10, 70);
    auto *last = Make<TEdit>(10, 200);
    ShowForm();
    delete combo;
    delete list;
    first->SetFocus();
    GuiTest::PressKey(first, VK_TAB);
    EXPECT_TRUE(last->Focused());
    EXPECT_EQ(Form->ControlCount(), 2);
}

// ---- TComboBox ----

TEST_F(StdCtrlsInput, DropDownListAcceptsNoFreeTextAndReportsMinusOneWithoutSelection)
{
    auto *c = Make<TComboBox>(10, 10);
    c->SetStyle(csDropDownList);
    c->Items()->Add(QStringLiteral("RS232"));
    c->Items()->Add(QStringLiteral("RS485"));
    EXPECT_EQ(c->ItemIndex(), -1);
    EXPECT_EQ(c->Text(), QString());
    ShowForm();
    GuiTest::TypeText(c, QStringLiteral("zz"));
    EXPECT_EQ(c->ItemIndex(), -1);
    EXPECT_EQ(c->Text(), QString());
    c->SetText(QStringLiteral("free text"));
    EXPECT_EQ(c->ItemIndex(), -1);
    EXPECT_EQ(c->Text(), QString());
    c->SetText(QStringLiteral("rs485"));
    EXPECT_EQ(c->ItemIndex(), 1);
    EXPECT_EQ(c->Text(), QStringLiteral("RS485"));
    c->SetItemIndex(7);
    EXPECT_EQ(c->ItemIndex(), -1);
}

TEST_F(StdCtrlsInput, OwnerDrawnFixedComboIsAListToo)
{
    auto *c = Make<TComboBox>(10, 10);
    c->SetStyle(csOwnerDrawFixed);
    for (const char *s : {"1200", "2400", "9600"})
        c->Items()->Add(QString::fromLatin1(s));
    c->SetItemIndex(2);
    ShowForm();
    GuiTest::TypeText(c, QStringLiteral("abc"));
    EXPECT_EQ(c->Text(), QStringLiteral("9600"));
}

TEST_F(StdCtrlsInput, ComboPickByKeyFiresSelectOrChangeButItemIndexInCodeFiresNothing)
{
    auto *c = Make<TComboBox>(10, 10);
    c->SetStyle(csDropDownList);
    c->Items()->Add(QStringLiteral("NONE"));
    c->Items()->Add(QStringLiteral("ODD"));
    c->Items()->Add(QStringLiteral("EVEN"));
    std::vector<std::pair<char, int>> events;
    c->OnChange = [&](TObject *) { events.emplace_back('C', c->ItemIndex()); };
    c->OnClick = [&](TObject *) { events.emplace_back('K', c->ItemIndex()); };
    c->SetItemIndex(0);
    ShowForm();
    EXPECT_TRUE(events.empty());
    c->SetFocus();
    GuiTest::PressKey(c, VK_DOWN);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0], std::make_pair('K', 1));
    EXPECT_EQ(events[1], std::make_pair('C', 1));
    int selects = 0;
    c->OnSelect = [&](TObject *) { ++selects; };
    GuiTest::PressKey(c, VK_DOWN);
    EXPECT_EQ(selects, 1);
    EXPECT_EQ(c->ItemIndex(), 2);
    EXPECT_EQ(events.size(), 3u); // OnSelect took the place of OnChange
}

TEST_F(StdCtrlsInput, DropDownComboTakesTypedText)
{
    auto *c = Make<TComboBox>(10, 10);
    c->Items()->Add(QStringLiteral("alpha"));
    c->Items()->Add(QStringLiteral("beta"));
    int changes = 0;
    c->OnChange = [&](TObject *) { ++changes; };
    ShowForm();
    c->SetFocus();
    GuiTest::TypeText(c, QStringLiteral("gam"));
    EXPECT_EQ(c->Text(), QStringLiteral("gam"));
    EXPECT_EQ(c->ItemIndex(), -1);
    EXPECT_EQ(changes, 3);
    c->SetItemIndex(1);
    EXPECT_EQ(c->Text(), QStringLiteral("beta"));
}

TEST_F(StdCtrlsInput, ComboAndListBoxItemIndexFollowItemEdits)
{
    auto *c = Make<TComboBox>(10, 10);
    c->SetStyle(csDropDownList);
    c->Items()->Add(QStringLiteral("a"));
    c->Items()->Add(QStringLiteral("b"));
    c->SetItemIndex(1);
    c->Items()->Insert(0, QStringLiteral("first"));
    EXPECT_EQ(c->ItemIndex(), 2);
    EXPECT_EQ(c->Text(), QStringLiteral("b"));
    c->Items()->Delete(2);
    EXPECT_EQ(c->ItemIndex(), -1);
    c->SetItemIndex(0);
    c->Items()->Clear();
    EXPECT_EQ(c->ItemIndex(), -1);
    EXPECT_EQ(c->Text(), QString());

    // The list box follows the same rule, and its window shows the row that follows the item.
    auto *l = Make<TListBox>(10, 60);
    l->Items()->Add(QStringLiteral("a"));
    l->Items()->Add(QStringLiteral("b"));
    l->Items()->Add(QStringLiteral("c"));
    ShowForm();
    auto *w = qobject_cast<QListWidget *>(l->Widget());
    ASSERT_NE(w, nullptr);
    l->SetItemIndex(1);
    l->Items()->Insert(0, QStringLiteral("first"));
    EXPECT_EQ(l->ItemIndex(), 2);
    EXPECT_EQ(w->currentRow(), 2);
    l->Items()->Delete(3); // after the selection: it stays
    EXPECT_EQ(l->ItemIndex(), 2);
    l->Items()->Delete(0); // before it: it moves up with its item
    EXPECT_EQ(l->ItemIndex(), 1);
    EXPECT_EQ(l->Items()->Strings(l->ItemIndex()), QStringLiteral("b"));
    l->Items()->Delete(1); // the selected item itself
    EXPECT_EQ(l->ItemIndex(), -1);
    EXPECT_TRUE(w->selectedItems().isEmpty());
}

// ---- accelerators ----

TEST_F(StdCtrlsInput, AltAndTheMarkedLetterClickButtonsAndFocusLabelledControls)
{
    auto *edit = Make<TEdit>(150, 10);
    auto *label = Make<TLabel>(10, 10);
    label->SetCaption(QStringLiteral("Save && &Load")); // "&&" is a plain ampersand
    label->SetFocusControl(edit);
    auto *holder = Make<TButton>(10, 100); // takes no characters, so Alt letters are dialog keys
    auto *chips = Make<TButton>(10, 140);
    chips->SetCaption(QStringLiteral("Fish && &Chips"));
    int clicks = 0;
    chips->OnClick = [&](TObject *) { ++clicks; };
    ShowForm();

    holder->SetFocus();
    GuiTest::PressKey(holder, 'S', {ssAlt}, QStringLiteral("s"));
    EXPECT_FALSE(edit->Focused()) << "the letter after a plain ampersand marks nothing";
    GuiTest::PressKey(holder, 'L', {ssAlt}, QStringLiteral("l"));
    EXPECT_TRUE(edit->Focused());

    holder->SetFocus();
    GuiTest::PressKey(holder, 'F', {ssAlt}, QStringLiteral("f"));
    GuiTest::PressKey(holder, 'C', {}, QStringLiteral("c"));
    GuiTest::ProcessEvents(200);
    EXPECT_EQ(clicks, 0) << "neither the letter after a plain ampersand nor one without Alt";
    GuiTest::PressKey(holder, 'C', {ssAlt}, QStringLiteral("c"));
    EXPECT_TRUE(GuiTest::WaitUntil([&] { return clicks > 0; }, 2000));
    GuiTest::ProcessEvents(200);
    EXPECT_EQ(clicks, 1);
}

// ---- TCheckBox and TRadioButton ----

TEST_F(StdCtrlsInput, CheckBoxOnClickFiresForClicksAndForCheckedSetInCode)
{
    auto *cb = Make<TCheckBox>(10, 10);
    cb->SetCaption(QStringLiteral("Gateway"));
    std::vector<bool> clicks;
    cb->OnClick = [&](TObject *) { clicks.push_back(cb->Checked()); };
    cb->SetChecked(true); // before the window exists
    cb->SetChecked(true); // no change, no click
    ShowForm();
    GuiTest::Click(cb);
    cb->SetChecked(true);
    GuiTest::PressKey(cb, VK_SPACE);
    ASSERT_EQ(clicks.size(), 4u);
    EXPECT_TRUE(clicks[0]);
    EXPECT_FALSE(clicks[1]);
    EXPECT_TRUE(clicks[2]);
    EXPECT_FALSE(clicks[3]);
    EXPECT_EQ(cb->State(), cbUnchecked);
}

TEST_F(StdCtrlsInput, CheckBoxGrayedOnlyWithAllowGrayed)
{
    auto *cb = Make<TCheckBox>(10, 10);
    ShowForm();
    GuiTest::Click(cb);
    EXPECT_EQ(cb->State(), cbChecked);
    GuiTest::Click(cb);
    EXPECT_EQ(cb->State(), cbUnchecked);
    cb->SetAllowGrayed(true);
    GuiTest::Click(cb);
    EXPECT_EQ(cb->State(), cbGrayed);
    GuiTest::Click(cb);
    EXPECT_EQ(cb->State(), cbChecked);
}

TEST_F(StdCtrlsInput, RadioButtonsOfOneParentExcludeEachOther)
{
    auto *a = Make<TRadioButton>(10, 10);
    auto *b = Make<TRadioButton>(10, 40);
    int clicksA = 0, clicksB = 0;
    a->OnClick = [&](TObject *) { ++clicksA; };
    b->OnClick = [&](TObject *) { ++clicksB; };
    a->SetChecked(true);
    ShowForm();
    GuiTest::Click(b);
    EXPECT_FALSE(a->Checked());
    EXPECT_TRUE(b->Checked());
    GuiTest::Click(b); // a click on the checked one keeps it checked
    EXPECT_TRUE(b->Checked());
    EXPECT_EQ(clicksA, 1);
    EXPECT_EQ(clicksB, 1);
}

// ---- TButton ----

TEST_F(StdCtrlsInput, ButtonsGiveTheirModalResultAndAnswerEnterAndEscape)
{
    auto *ok = Make<TButton>(10, 10);
    ok->SetCaption(QStringLiteral("OK"));
    ok->SetDefault(true);
    ok->SetModalResult(mrOk);
    auto *cancel = Make<TButton>(100, 10);
    cancel->SetCaption(QStringLiteral("Cancel"));
    cancel->SetCancel(true);
    cancel->SetModalResult(mrCancel);
    auto *e = Make<TEdit>(10, 50);
    int okClicks = 0;
    ok->OnClick = [&](TObject *) { ++okClicks; };

    GuiTest::TScriptedModalHook hook;
    hook.RunWith([&](TModalRequest &) {
        e->SetFocus();
        GuiTest::PressKey(e, VK_RETURN);
    });
    EXPECT_EQ(Form->ShowModal(), mrOk);
    EXPECT_EQ(okClicks, 1);

    hook.RunWith([&](TModalRequest &) {
        e->SetFocus();
        GuiTest::PressKey(e, VK_ESCAPE);
    });
    EXPECT_EQ(Form->ShowModal(), mrCancel);

    hook.RunWith([&](TModalRequest &) { GuiTest::Click(ok); });
    EXPECT_EQ(Form->ShowModal(), mrOk);
    EXPECT_EQ(okClicks, 2);
}

// ---- TListBox ----

TEST_F(StdCtrlsInput, ListBoxClickReportsTheUsersSelection)
{
    auto *l = Make<TListBox>(10, 10);
    l->SetBounds(10, 10, 150, 120);
    l->Items()->Add(QStringLiteral("Plant B"));
    l->Items()->Add(QStringLiteral("plant a"));
    std::vector<int> clicks;
    l->OnClick = [&](TObject *) { clicks.push_back(l->ItemIndex()); };
    l->SetItemIndex(0);
    ShowForm();
    EXPECT_TRUE(clicks.empty());
    l->SetFocus();
    GuiTest::PressKey(l, VK_DOWN);
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0], 1);
    // A mouse click on the selected item is a click as well; on another item, one click.
    QListWidget *w = qobject_cast<QListWidget *>(l->Widget());
    ASSERT_NE(w, nullptr);
    GuiTest::ProcessEvents();
    auto pressItem = [&](int Row) {
        const QPoint p = w->visualItemRect(w->item(Row)).center();
        QMouseEvent press(QEvent::MouseButtonPress, p, w->viewport()->mapToGlobal(p), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, p, w->viewport()->mapToGlobal(p), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(w->viewport(), &press);
        QCoreApplication::sendEvent(w->viewport(), &release);
        GuiTest::ProcessEvents();
    };
    pressItem(1);
    pressItem(0);
    EXPECT_EQ(clicks, (std::vector<int>{1, 1, 0}));
    l->SetSorted(true);
    EXPECT_EQ(l->Items()->Strings(0), QStringLiteral("plant a"));
    EXPECT_EQ(l->ItemIndex(), 1); // the selected entry moved with the sort
    l->Items()->Clear();
    EXPECT_EQ(l->ItemIndex(), -1);
}

TEST_F(StdCtrlsInput, ListBoxWindowShowsTheItemsAfterEveryKindOfEdit)
{
    auto *l = Make<TListBox>(10, 10);
    ShowForm();
    auto *w = qobject_cast<QListWidget *>(l->Widget());
    ASSERT_NE(w, nullptr);
    std::mt19937 rng(3);
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    for (int step = 0; step < 400; ++step) {
        TStrings *items = l->Items();
        const int n = items->Count();
        switch (pick(n == 0 ? 1 : 7)) {
        case 0: items->Add(QStringLiteral("add %1").arg(step)); break;
        case 1: items->Insert(pick(n + 1), QStringLiteral("insert %1").arg(step)); break;
        case 2: items->Delete(pick(n)); break;
        case 3: items->SetStrings(pick(n), QStringLiteral("changed %1").arg(step)); break;
        case 4: items->Move(pick(n), pick(n)); break;
        case 5: items->Exchange(pick(n), pick(n)); break;
        case 6: l->SetItemIndex(pick(n)); break;
        }
        if (step % 97 == 96)
            items->Clear();
        ASSERT_EQ(w->count(), items->Count()) << step;
        for (int i = 0; i < w->count(); ++i)
            ASSERT_EQ(w->item(i)->text(), items->Strings(i)) << step;
        ASSERT_EQ(w->currentRow(), l->ItemIndex()) << step;
    }
}

// ---- TScrollBar ----

TEST_F(StdCtrlsInput, ScrollBarRangeAndRequests)
{
    auto *s = Make<TScrollBar>(10, 10);
    int changes = 0;
    s->OnChange = [&](TObject *) { ++changes; };
    s->SetParams(150, 0, 100);
    EXPECT_EQ(s->Position(), 100);
    ShowForm();
    s->SetSmallChange(5);
    s->Perform(WM_HSCROLL, SB_LINEUP, 0);
    EXPECT_EQ(s->Position(), 95);
    s->Perform(WM_HSCROLL, SB_TOP, 0);
    EXPECT_EQ(s->Position(), 0);
    EXPECT_EQ(changes, 3);
}

} // namespace

// ---- focus indicators ----

namespace {

QImage Rendered(TWinControl *Control)
{
    TBitmap B(Control->Width(), Control->Height());
    Control->PaintTo(B.Canvas(), 0, 0);
    return B.ToImage();
}

// A pixel of the highlight that marks the focus: clearly more blue than red.
bool IsFocusHighlight(QRgb Pixel)
{
    return qBlue(Pixel) > qRed(Pixel) + 40;
}

} // namespace

TEST_F(StdCtrlsInput, DropDownListsAndCheckBoxesShowWhichHasTheFocus)
{
    auto *List = Make<TComboBox>(10, 10);
    List->SetStyle(csOwnerDrawFixed);
    List->Items()->Add(QStringLiteral("RS232"));
    List->SetItemIndex(0);
    auto *Box = Make<TCheckBox>(10, 50);
    Box->SetCaption(QStringLiteral("Gateway"));
    auto *Other = Make<TEdit>(10, 90);
    ShowForm();
    for (TWinControl *C : std::vector<TWinControl *>{List, Box}) {
        SCOPED_TRACE(C->ClassName().toStdString());
        Other->SetFocus();
        GuiTest::ProcessEvents();
        const QImage Without = Rendered(C);
        // The focus as a keyboard user moves it: Tab from the edit wraps round to the list,
        // Shift+Tab goes back to the check box.
        GuiTest::PressKey(Other, VK_TAB, C == Box ? TShiftState{ssShift} : TShiftState{});
        GuiTest::ProcessEvents();
        ASSERT_EQ(GuiTest::FocusedControl(), C);
        const QImage With = Rendered(C);
        ASSERT_EQ(With.size(), Without.size());
        const int W = With.width(), H = With.height();
        if (C == List) {
            // A ring of highlight along the list's edge, on every side.
            for (const QPoint P : {QPoint(W / 2, 0), QPoint(W / 2, H - 1), QPoint(0, H / 2), QPoint(W - 1, H / 2)}) {
                EXPECT_TRUE(IsFocusHighlight(With.pixel(P))) << P.x() << "," << P.y();
                EXPECT_FALSE(IsFocusHighlight(Without.pixel(P))) << P.x() << "," << P.y();
            }
        } else {
            // The box's outline turns to the highlight and the caption is marked.
            int Outline = 0, Caption = 0;
            for (int y = 0; y < H; ++y)
                for (int x = 0; x < W; ++x) {
                    if (With.pixel(x, y) == Without.pixel(x, y))
                        continue;
                    if (x < 16)
                        Outline += IsFocusHighlight(With.pixel(x, y));
                    else
                        ++Caption;
                }
            EXPECT_GT(Outline, 20);
            EXPECT_GT(Caption, 100);
        }
        // The mark goes with the focus.
        Other->SetFocus();
        GuiTest::ProcessEvents();
        EXPECT_EQ(Rendered(C), Without);
    }
}
