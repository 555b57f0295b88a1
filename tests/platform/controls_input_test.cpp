// Controls driven by real Qt input: mouse routing to graphic controls, enter and leave, capture,
// clicks, keys with the classic var-key semantics, and the translation of keys into messages.
#include "platform/Controls.h"
#include "platform/Forms.h"
#include "platform/Menus.h"
#include "platform/Windows.h"
#include "support/GuiTest.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStringList>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using GuiTest::ProcessEvents;

class TProbe : public TGraphicControl {
public:
    explicit TProbe(TComponent *AOwner) : TGraphicControl(AOwner) {}
    QStringList Log;

protected:
    void MouseEnter() override
    {
        Log << QStringLiteral("enter");
        TGraphicControl::MouseEnter();
    }
    void MouseLeave() override
    {
        Log << QStringLiteral("leave");
        TGraphicControl::MouseLeave();
    }
    void MouseDown(TMouseButton, TShiftState Shift, int X, int Y) override
    {
        Log << QStringLiteral("down %1,%2%3").arg(X).arg(Y).arg(Shift.Contains(ssShift) ? QStringLiteral(" shift") : QString());
    }
    void MouseUp(TMouseButton, TShiftState, int X, int Y) override { Log << QStringLiteral("up %1,%2").arg(X).arg(Y); }
    void Click() override
    {
        Log << QStringLiteral("click");
        TGraphicControl::Click();
    }
};

// A windowed control around a Qt line edit: Qt does the typing, the platform the key events.
class TLineEditControl : public TWinControl {
public:
    explicit TLineEditControl(TComponent *AOwner) : TWinControl(AOwner) { SetTabStop(true); }
    QString Typed() { return static_cast<QLineEdit *>(Widget())->text(); }
    std::vector<Word> KeysDown;

protected:
    QWidget *CreateWidget(QWidget *Parent) override { return new QLineEdit(Parent); }
    // An edit keeps the arrow keys and characters for itself (the dialog would take them).
    void WMGetDlgCode(TWMGetDlgCode &Message) override { Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS; }
    void KeyDown(Word &Key, TShiftState Shift) override
    {
        KeysDown.push_back(Key);
        TWinControl::KeyDown(Key, Shift);
    }
};

class ControlsInputTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application->Initialize();
        Form = std::make_unique<TForm>(nullptr);
        Form->SetClientSize(300, 200);
        A = new TProbe(Form.get());
        A->SetParent(Form.get());
        A->SetBounds(10, 10, 50, 40);
        B = new TProbe(Form.get());
        B->SetParent(Form.get());
        B->SetBounds(100, 10, 50, 40);
        Form->Show();
    }
    void TearDown() override { Form.reset(); }
    std::unique_ptr<TForm> Form;
    TProbe *A = nullptr;
    TProbe *B = nullptr;
};

TEST_F(ControlsInputTest, MouseEnterAndLeaveReachGraphicControls)
{
    int enters = 0, leaves = 0;
    A->OnMouseEnter = [&](TObject *) { ++enters; };
    A->OnMouseLeave = [&](TObject *) { ++leaves; };
    GuiTest::MouseMove(Form.get(), {5, 5});
    EXPECT_TRUE(A->Log.empty());
    GuiTest::MouseMove(Form.get(), {20, 20});
    GuiTest::MouseMove(Form.get(), {25, 22}); // moving inside does not enter again
    EXPECT_EQ(A->Log, (QStringList{QStringLiteral("enter")}));
    GuiTest::MouseMove(Form.get(), {110, 20}); // straight from A into B
    EXPECT_EQ(A->Log, (QStringList{QStringLiteral("enter"), QStringLiteral("leave")}));
    EXPECT_EQ(B->Log, (QStringList{QStringLiteral("enter")}));
    GuiTest::LeaveWindow(Form.get()); // the pointer leaves the window
    EXPECT_EQ(B->Log.back(), QStringLiteral("leave"));
    EXPECT_EQ(enters, 1);
    EXPECT_EQ(leaves, 1);
}

TEST_F(ControlsInputTest, HiddenOrDisabledGraphicControlsAreNotHit)
{
    A->SetVisible(false);
    GuiTest::MouseMove(Form.get(), {20, 20});
    B->SetEnabled(false);
    GuiTest::MouseMove(Form.get(), {110, 20});
    EXPECT_TRUE(A->Log.empty());
    EXPECT_TRUE(B->Log.empty());
}

TEST_F(ControlsInputTest, ButtonMessagesGoToTheGraphicControlInItsCoordinates)
{
    GuiTest::MouseDown(A, {5, 6}, mbLeft, {ssShift});
    GuiTest::MouseUp(A, {5, 6});
    EXPECT_EQ(A->Log, (QStringList{QStringLiteral("down 5,6 shift"), QStringLiteral("click"), QStringLiteral("up 5,6")}));
    EXPECT_TRUE(B->Log.empty());
}

TEST_F(ControlsInputTest, MessagesDriveControlsAsInputDoes)
{
    // A click as messages to the form's window reaches the graphic control under the point.
    HWND h = Form->Handle();
    SendMessage(h, WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(20, 15));
    SendMessage(h, WM_LBUTTONUP, 0, MakeLParam(20, 15));
    EXPECT_EQ(A->Log, (QStringList{QStringLiteral("down 10,5"), QStringLiteral("click"), QStringLiteral("up 10,5")}));

    // Keys as messages: the form's preview first, a zeroed key stops there.
    auto *edit = new TLineEditControl(Form.get());
    edit->SetParent(Form.get());
    Form->SetKeyPreview(true);
    Form->OnKeyDown = [](TObject *, Word &Key, TShiftState) {
        if (Key == VK_F3)
            Key = 0;
    };
    edit->Perform(WM_KEYDOWN, VK_F3, 0);
    edit->Perform(WM_KEYDOWN, VK_F4, 0);
    EXPECT_EQ(edit->KeysDown, (std::vector<Word>{VK_F4}));
}

TEST_F(ControlsInputTest, CaptureKeepsTheMouseWithThePressedControl)
{
    GuiTest::MouseDown(A, {5, 5});
    EXPECT_EQ(GetCaptureControl(), A);
    // Released over B: the release is A's (in A's coordinates), and outside A there is no click.
    GuiTest::MouseUp(Form.get(), {110, 20});
    EXPECT_EQ(A->Log.back(), QStringLiteral("up 100,10"));
    EXPECT_EQ(std::count(A->Log.begin(), A->Log.end(), QStringLiteral("click")), 0);
    EXPECT_TRUE(B->Log.empty() || B->Log == QStringList{QStringLiteral("enter")});
    EXPECT_EQ(GetCaptureControl(), nullptr);
}

TEST_F(ControlsInputTest, DoubleClickAndWheel)
{
    int dbl = 0;
    A->SetControlStyle(A->ControlStyle() + TControlStyle{csDoubleClicks});
    A->OnDblClick = [&](TObject *) { ++dbl; };
    GuiTest::DoubleClick(A, {3, 3});
    EXPECT_EQ(dbl, 1);

    int wheel = 0;
    bool down = false;
    Form->OnMouseWheel = [&](TObject *, TShiftState, int Delta, TPoint, bool &Handled) {
        wheel += Delta;
        Handled = true;
    };
    A->OnMouseWheelDown = [&](TObject *, TShiftState, TPoint, bool &Handled) {
        down = true;
        Handled = false; // not taken: the parent form is asked
    };
    GuiTest::Wheel(Form.get(), -120, {20, 20});
    EXPECT_EQ(wheel, -120);
    EXPECT_FALSE(down) << "the wheel goes to the window under the pointer, the form";
}

TEST_F(ControlsInputTest, KeyHandlerThatZeroesTheKeyStopsIt)
{
    auto *edit = new TLineEditControl(Form.get());
    edit->SetParent(Form.get());
    edit->SetBounds(10, 100, 150, 24);
    edit->SetFocus();

    edit->OnKeyPress = [](TObject *, WideChar &Key) {
        if (Key == u'b')
            Key = 0;        // swallowed
        else if (Key == u'c')
            Key = u'C';     // changed
    };
    GuiTest::TypeText(edit, QStringLiteral("abcd"));
    EXPECT_EQ(edit->Typed(), QStringLiteral("aCd"));

    // A key-down handler that zeroes the key keeps it from the control's own handling: the
    // Home key does not move the cursor, and the form's preview sees keys first.
    Form->SetKeyPreview(true);
    Form->OnKeyDown = [](TObject *, Word &Key, TShiftState) {
        if (Key == VK_BACK)
            Key = 0;
    };
    edit->KeysDown.clear();
    GuiTest::PressKey(edit, VK_BACK);
    EXPECT_EQ(edit->Typed(), QStringLiteral("aCd"));
    EXPECT_TRUE(edit->KeysDown.empty()) << "the control never saw the swallowed key";
    GuiTest::PressKey(edit, VK_LEFT);
    EXPECT_EQ(edit->KeysDown, (std::vector<Word>{VK_LEFT}));
}

TEST_F(ControlsInputTest, KeysArriveAsMessagesWithVirtualKeysAndKeyData)
{
    auto *edit = new TLineEditControl(Form.get());
    edit->SetParent(Form.get());
    edit->SetBounds(10, 100, 150, 24);
    std::vector<std::pair<Cardinal, WPARAM>> seen;
    LPARAM decimalData = 0, periodData = 0;
    edit->OnKeyDown = [&](TObject *, Word &Key, TShiftState Shift) {
        seen.emplace_back(WM_KEYDOWN, Key);
        if (Key == VK_DECIMAL)
            decimalData = 1;
        EXPECT_EQ(Shift.Contains(ssShift), Key == 'Q');
    };
    edit->OnKeyPress = [&](TObject *, WideChar &Key) { seen.emplace_back(WM_CHAR, Key); };
    GuiTest::PressKey(edit, 'Q', {ssShift});
    GuiTest::PressKey(edit, VK_DECIMAL);
    GuiTest::PressKey(edit, VK_F2);
    EXPECT_EQ(seen, (std::vector<std::pair<Cardinal, WPARAM>>{
                        {WM_KEYDOWN, 'Q'}, {WM_CHAR, 'Q'}, {WM_KEYDOWN, VK_DECIMAL}, {WM_CHAR, '.'}, {WM_KEYDOWN, VK_F2}}));
    EXPECT_EQ(decimalData, 1);
    EXPECT_EQ(GetKeyState(VK_SHIFT) < 0, false) << "Shift is up again after its key was released";

    // The keypad's decimal key and the main keyboard's period differ in the key data (bit 22).
    struct TDataProbe : public TWinControl {
        using TWinControl::TWinControl;
        std::vector<LPARAM> Data;
        void WMChar(TWMKey &M) override
        {
            Data.push_back(M.KeyData);
            TWinControl::WMChar(M);
        }
    };
    auto *probe = new TDataProbe(Form.get());
    probe->SetParent(Form.get());
    GuiTest::PressKey(probe, VK_DECIMAL);
    GuiTest::PressKey(probe, VK_OEM_PERIOD);
    ASSERT_EQ(probe->Data.size(), 2u);
    decimalData = probe->Data[0];
    periodData = probe->Data[1];
    EXPECT_NE(decimalData & 0x400000, 0);
    EXPECT_EQ(periodData & 0x400000, 0);
}

TEST_F(ControlsInputTest, TabMovesTheFocusInTabOrder)
{
    auto *e1 = new TLineEditControl(Form.get());
    auto *e2 = new TLineEditControl(Form.get());
    auto *e3 = new TLineEditControl(Form.get());
    for (auto *e : {e1, e2, e3})
        e->SetParent(Form.get());
    e3->SetTabOrder(0); // e3, e1, e2
    e2->SetEnabled(false);
    QStringList trail;
    e1->OnEnter = [&](TObject *) { trail << QStringLiteral("enter1"); };
    e1->OnExit = [&](TObject *) { trail << QStringLiteral("exit1"); };
    e3->OnEnter = [&](TObject *) { trail << QStringLiteral("enter3"); };
    e3->OnExit = [&](TObject *) { trail << QStringLiteral("exit3"); };
    // Every control hears of the focus change (a button repaints its focus look).
    struct TFocusWatcher : TProbe {
        using TProbe::TProbe;
        std::vector<TControl *> Seen;
        void CMFocusChanged(TWMGeneric &M) override
        {
            Seen.push_back(reinterpret_cast<TControl *>(M.LParam));
            TProbe::CMFocusChanged(M);
        }
    };
    auto *watcher = new TFocusWatcher(Form.get());
    watcher->SetParent(Form.get());
    e3->SetFocus();
    EXPECT_TRUE(e3->Focused());
    EXPECT_EQ(watcher->Seen, std::vector<TControl *>{e3});
    EXPECT_EQ(Form->ActiveControl(), e3);
    GuiTest::PressKey(e3, VK_TAB);
    EXPECT_TRUE(e1->Focused());
    GuiTest::PressKey(e1, VK_TAB); // e2 is disabled: round to e3
    EXPECT_TRUE(e3->Focused());
    GuiTest::PressKey(e3, VK_TAB, {ssShift}); // backwards
    EXPECT_TRUE(e1->Focused());
    delete e2; // a freed control leaves the tab order
    EXPECT_EQ(e1->TabOrder(), 1);
    GuiTest::PressKey(e1, VK_TAB);
    EXPECT_TRUE(e3->Focused());
    GuiTest::PressKey(e3, VK_TAB, {ssShift});
    EXPECT_EQ(trail, (QStringList{QStringLiteral("enter3"), QStringLiteral("exit3"), QStringLiteral("enter1"),
                                           QStringLiteral("exit1"), QStringLiteral("enter3"), QStringLiteral("exit3"),
                                           QStringLiteral("enter1"), QStringLiteral("exit1"), QStringLiteral("enter3"),
                                           QStringLiteral("exit3"), QStringLiteral("enter1")}));
}

TEST_F(ControlsInputTest, FocusMessagesNameTheOtherWindow)
{
    struct TFocusLog : TLineEditControl {
        using TLineEditControl::TLineEditControl;
        HWND GotFrom = nullptr;
        HWND LostTo = nullptr;
        void WMSetFocus(TWMSetFocus &M) override
        {
            GotFrom = M.FocusedWnd;
            TLineEditControl::WMSetFocus(M);
        }
        void WMKillFocus(TWMKillFocus &M) override
        {
            LostTo = M.FocusedWnd;
            TLineEditControl::WMKillFocus(M);
        }
    };
    auto *e1 = new TFocusLog(Form.get());
    auto *e2 = new TFocusLog(Form.get());
    e1->SetParent(Form.get());
    e2->SetParent(Form.get());
    e1->SetFocus();
    e2->SetFocus();
    EXPECT_EQ(e1->LostTo, e2->Handle());
    EXPECT_EQ(e2->GotFrom, e1->Handle());
    EXPECT_EQ(GetFocus(), e2->Handle());
}

TEST(ControlsLayout, AlignedChildrenFillTheClientAreaAndAnchorsFollowIt)
{
    TForm form(nullptr);
    form.SetBorderStyle(bsNone);
    form.SetClientSize(200, 150);
    auto *top = new TProbe(&form);
    top->SetParent(&form);
    top->SetHeight(30);
    top->SetAlign(alTop);
    auto *bottom = new TProbe(&form);
    bottom->SetParent(&form);
    bottom->SetHeight(40);
    bottom->SetAlign(alBottom);
    auto *client = new TProbe(&form);
    client->SetParent(&form);
    client->SetAlign(alClient);
    auto *corner = new TProbe(&form);
    corner->SetParent(&form);
    corner->SetBounds(150, 60, 20, 20);
    corner->SetAnchors({akRight, akBottom});

    EXPECT_EQ(top->BoundsRect(), Rect(0, 0, 200, 30));
    EXPECT_EQ(bottom->BoundsRect(), Rect(0, 110, 200, 150));
    EXPECT_EQ(client->BoundsRect(), Rect(0, 30, 200, 110));

    int resized = 0;
    form.OnResize = [&](TObject *) { ++resized; };
    form.SetClientSize(300, 200);
    EXPECT_EQ(resized, 1);
    EXPECT_EQ(top->BoundsRect(), Rect(0, 0, 300, 30));
    EXPECT_EQ(bottom->BoundsRect(), Rect(0, 160, 300, 200));
    EXPECT_EQ(client->BoundsRect(), Rect(0, 30, 300, 160));
    EXPECT_EQ(corner->BoundsRect(), Rect(250, 110, 270, 130));
}

TEST(ControlsProperties, FontAndColorComeFromTheParentUntilSetOwn)
{
    TForm form(nullptr);
    form.Font()->SetName(QStringLiteral("Verdana"));
    form.SetColor(15595512);
    auto *child = new TProbe(&form);
    child->SetParent(&form);
    EXPECT_EQ(child->Font()->Name(), QStringLiteral("Verdana"));
    EXPECT_EQ(child->Color(), 15595512);
    EXPECT_TRUE(child->ParentFont());

    form.Font()->SetHeight(-20);
    EXPECT_EQ(child->Font()->Height(), -20) << "a parent's font change reaches children";
    child->Font()->SetHeight(-9);
    EXPECT_FALSE(child->ParentFont());
    form.Font()->SetHeight(-30);
    EXPECT_EQ(child->Font()->Height(), -9);

    int textChanges = 0;
    struct TTextProbe : TProbe {
        using TProbe::TProbe;
        int *Count = nullptr;
        void CMTextChanged(TCMTextChanged &M) override
        {
            ++*Count;
            TProbe::CMTextChanged(M);
        }
    };
    auto *t = new TTextProbe(&form);
    t->Count = &textChanges;
    t->SetCaption(QStringLiteral("a"));
    t->SetCaption(QStringLiteral("a"));
    EXPECT_EQ(textChanges, 1);
}

} // namespace

namespace {

// The state of the sided modifier codes as "LShift RShift LCtrl RCtrl LAlt RAlt" bits.
QString SidedState()
{
    QString s;
    for (int vk : {VK_LSHIFT, VK_RSHIFT, VK_LCONTROL, VK_RCONTROL, VK_LMENU, VK_RMENU})
        s += GetKeyState(vk) < 0 ? QLatin1Char('1') : QLatin1Char('0');
    return s;
}

void SendRawKey(QWidget *W, QEvent::Type Type, int Key, Qt::KeyboardModifiers Mods, quint32 NativeVk)
{
    QKeyEvent e(Type, Key, Mods, 0, NativeVk, 0);
    QApplication::sendEvent(W, &e);
}

} // namespace

TEST_F(ControlsInputTest, ModifierKeysSetTheirLeftOrRightCode)
{
    auto *edit = new TLineEditControl(Form.get());
    edit->SetParent(Form.get());
    edit->SetBounds(10, 100, 150, 24);
    QWidget *w = edit->Widget();
    struct TCase {
        int QtKey;
        Qt::KeyboardModifier Mod;
        quint32 Native;
        const char *Held;
    };
    // Native codes: X11 key symbols; 0 is a key without native information.
    const TCase cases[] = {
        {Qt::Key_Shift, Qt::ShiftModifier, 0xffe1, "100000"},   {Qt::Key_Shift, Qt::ShiftModifier, 0xffe2, "010000"},
        {Qt::Key_Control, Qt::ControlModifier, 0, "001000"},    {Qt::Key_Control, Qt::ControlModifier, 0xffe4, "000100"},
        {Qt::Key_Alt, Qt::AltModifier, 0, "000010"},            {Qt::Key_Alt, Qt::AltModifier, 0xffea, "000001"},
        {Qt::Key_AltGr, Qt::AltModifier, 0, "000001"},
    };
    // The events carry the modifiers as the window system does, the state before the key; a
    // modifier key's own event reports the state after it.
    for (const TCase &c : cases) {
        SendRawKey(w, QEvent::KeyPress, c.QtKey, Qt::NoModifier, c.Native);
        EXPECT_EQ(SidedState(), QString::fromLatin1(c.Held)) << c.QtKey << " " << c.Native;
        SendRawKey(w, QEvent::KeyRelease, c.QtKey, c.Mod, c.Native);
        EXPECT_EQ(SidedState(), QStringLiteral("000000")) << c.QtKey << " " << c.Native;
    }
    // A key typed with Alt held whose own press was never seen counts the left Alt.
    SendRawKey(w, QEvent::KeyPress, Qt::Key_A, Qt::AltModifier, 0);
    EXPECT_EQ(SidedState(), QStringLiteral("000010"));
    SendRawKey(w, QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, 0);
    EXPECT_EQ(SidedState(), QStringLiteral("000000"));
}

TEST_F(ControlsInputTest, RightClickPopsUpTheMenuOfTheControlOrElseOfItsParent)
{
    std::vector<UnicodeString> clicked;
    auto makeMenu = [&](const char *Caption) {
        auto *m = new TPopupMenu(Form.get());
        auto *i = new TMenuItem(m);
        i->SetCaption(QString::fromLatin1(Caption));
        i->OnClick = [&clicked, i](TObject *) { clicked.push_back(i->Caption()); };
        m->Items()->Add(i);
        return m;
    };
    TPopupMenu *own = makeMenu("Own");
    TPopupMenu *formMenu = makeMenu("Form");
    A->SetPopupMenu(own);
    Form->SetPopupMenu(formMenu);

    GuiTest::TScriptedModalHook hook;
    hook.Answer(mrOk, QStringLiteral("Own"));
    GuiTest::Click(A, TPoint(5, 5));
    EXPECT_TRUE(hook.Shown.empty()) << "a left click pops up nothing";
    GuiTest::Click(A, TPoint(5, 5), mbRight);
    ASSERT_EQ(hook.Shown.size(), 1u);
    EXPECT_EQ(hook.Shown[0].ClassName, QStringLiteral("TPopupMenu"));
    EXPECT_EQ(own->PopupComponent(), A);
    EXPECT_EQ(A->Log.last(), QStringLiteral("up 5,5")) << "the release is the control's before the menu";

    hook.Answer(mrOk, QStringLiteral("Form"));
    GuiTest::Click(B, TPoint(5, 5), mbRight);
    EXPECT_EQ(formMenu->PopupComponent(), Form.get()) << "B has no menu: its parent's shows";

    own->SetAutoPopup(false);
    hook.Answer(mrOk, QStringLiteral("Form"));
    GuiTest::Click(A, TPoint(5, 5), mbRight);
    EXPECT_EQ(clicked, (std::vector<UnicodeString>{QStringLiteral("Own"), QStringLiteral("Form"), QStringLiteral("Form")}));

    delete own;
    EXPECT_EQ(A->PopupMenu(), nullptr) << "a freed menu is forgotten";
    hook.Answer(mrOk, QStringLiteral("Form"));
    GuiTest::Click(A, TPoint(5, 5), mbRight);
    EXPECT_EQ(clicked.size(), 4u);

    // The keyboard's menu key asks the focused window; the menu opens over its middle.
    hook.Answer(mrCancel);
    QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(0, 0), QPoint(0, 0));
    QApplication::sendEvent(Form->Widget(), &key);
    EXPECT_EQ(hook.Shown.size(), 5u);
    EXPECT_TRUE(key.isAccepted());
}
