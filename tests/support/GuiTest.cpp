#include "support/GuiTest.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialog>
#include <QDeadlineTimer>
#include <QEnterEvent>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>
#include <QWheelEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include <exception>
#include <memory>

namespace GuiTest {

namespace {

Qt::KeyboardModifiers ModsOf(TShiftState Shift)
{
    Qt::KeyboardModifiers m;
    if (Shift.Contains(ssShift))
        m |= Qt::ShiftModifier;
    if (Shift.Contains(ssCtrl))
        m |= Qt::ControlModifier;
    if (Shift.Contains(ssAlt))
        m |= Qt::AltModifier;
    return m;
}

int QtKeyOf(Word Vk)
{
    if (Vk >= 'A' && Vk <= 'Z')
        return Qt::Key_A + (Vk - 'A');
    if (Vk >= '0' && Vk <= '9')
        return Qt::Key_0 + (Vk - '0');
    if (Vk >= VK_NUMPAD0 && Vk <= VK_NUMPAD9)
        return Qt::Key_0 + (Vk - VK_NUMPAD0);
    if (Vk >= VK_F1 && Vk <= VK_F12)
        return Qt::Key_F1 + (Vk - VK_F1);
    switch (Vk) {
    case VK_RETURN: return Qt::Key_Return;
    case VK_ESCAPE: return Qt::Key_Escape;
    case VK_TAB: return Qt::Key_Tab;
    case VK_BACK: return Qt::Key_Backspace;
    case VK_SPACE: return Qt::Key_Space;
    case VK_LEFT: return Qt::Key_Left;
    case VK_RIGHT: return Qt::Key_Right;
    case VK_UP: return Qt::Key_Up;
    case VK_DOWN: return Qt::Key_Down;
    case VK_HOME: return Qt::Key_Home;
    case VK_END: return Qt::Key_End;
    case VK_PRIOR: return Qt::Key_PageUp;
    case VK_NEXT: return Qt::Key_PageDown;
    case VK_INSERT: return Qt::Key_Insert;
    case VK_DELETE: return Qt::Key_Delete;
    case VK_SHIFT: return Qt::Key_Shift;
    case VK_CONTROL: return Qt::Key_Control;
    case VK_MENU: return Qt::Key_Alt;
    case VK_DECIMAL: return Qt::Key_Period;
    case VK_ADD: return Qt::Key_Plus;
    case VK_SUBTRACT: return Qt::Key_Minus;
    case VK_MULTIPLY: return Qt::Key_Asterisk;
    case VK_DIVIDE: return Qt::Key_Slash;
    case VK_OEM_PERIOD: return Qt::Key_Period;
    case VK_OEM_COMMA: return Qt::Key_Comma;
    case VK_OEM_MINUS: return Qt::Key_Minus;
    case VK_OEM_PLUS: return Qt::Key_Equal;
    default: return Qt::Key_unknown;
    }
}

bool IsKeypad(Word Vk)
{
    return (Vk >= VK_NUMPAD0 && Vk <= VK_DIVIDE);
}

QString DefaultText(Word Vk, TShiftState Shift)
{
    if (Shift.Contains(ssCtrl) || Shift.Contains(ssAlt))
        return {};
    if (Vk >= 'A' && Vk <= 'Z')
        return QString(QChar(Shift.Contains(ssShift) ? Vk : Vk - 'A' + 'a'));
    if (Vk >= '0' && Vk <= '9')
        return QString(QChar(Vk));
    if (Vk >= VK_NUMPAD0 && Vk <= VK_NUMPAD9)
        return QString(QChar('0' + (Vk - VK_NUMPAD0)));
    switch (Vk) {
    case VK_SPACE: return QStringLiteral(" ");
    case VK_RETURN: return QStringLiteral("\r");
    case VK_TAB: return QStringLiteral("\t");
    case VK_ESCAPE: return QString(QChar(27));
    case VK_BACK: return QString(QChar(8));
    case VK_DECIMAL:
    case VK_OEM_PERIOD: return QStringLiteral(".");
    case VK_OEM_COMMA: return QStringLiteral(",");
    case VK_OEM_MINUS:
    case VK_SUBTRACT: return QStringLiteral("-");
    case VK_ADD: return QStringLiteral("+");
    case VK_MULTIPLY: return QStringLiteral("*");
    case VK_DIVIDE: return QStringLiteral("/");
    default: return {};
    }
}

// The window that receives the events for Target and Target's origin in that window.
QWidget *WindowFor(TControl *Target, QPoint &Offset)
{
    Offset = QPoint(0, 0);
    TControl *c = Target;
    while (c && !dynamic_cast<TWinControl *>(c)) {
        Offset += QPoint(c->Left(), c->Top());
        c = c->Parent();
    }
    auto *w = dynamic_cast<TWinControl *>(c);
    return w ? w->Widget() : nullptr;
}

Qt::MouseButton QtButton(TMouseButton B)
{
    switch (B) {
    case mbRight: return Qt::RightButton;
    case mbMiddle: return Qt::MiddleButton;
    default: return Qt::LeftButton;
    }
}

Qt::MouseButtons GHeld;

void SendMouse(QEvent::Type Type, TControl *Target, TPoint At, Qt::MouseButton Button, TShiftState Shift)
{
    QPoint offset;
    QWidget *w = WindowFor(Target, offset);
    if (!w)
        return;
    const QPointF local(At.X + offset.x(), At.Y + offset.y());
    const QPointF global = w->mapToGlobal(local);
    if (Type == QEvent::MouseButtonPress || Type == QEvent::MouseButtonDblClick)
        GHeld |= Button;
    else if (Type == QEvent::MouseButtonRelease)
        GHeld &= ~Qt::MouseButtons(Button);
    QMouseEvent e(Type, local, global, Type == QEvent::MouseMove ? Qt::NoButton : Button, GHeld, ModsOf(Shift));
    QApplication::sendEvent(w, &e);
}

} // namespace

void ProcessEvents(int Ms)
{
    QDeadlineTimer deadline(Ms);
    do {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    } while (!deadline.hasExpired());
}

bool WaitUntil(const std::function<bool()> &Cond, int TimeoutMs)
{
    QDeadlineTimer deadline(TimeoutMs);
    while (!Cond()) {
        if (deadline.hasExpired())
            return Cond();
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 10);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return true;
}

void KeyDown(TWinControl *Target, Word Vk, TShiftState Shift, const UnicodeString &Text)
{
    QWidget *w = Target ? Target->Widget() : nullptr;
    if (!w)
        return;
    Qt::KeyboardModifiers mods = ModsOf(Shift);
    if (IsKeypad(Vk))
        mods |= Qt::KeypadModifier;
    const QString text = Text.isEmpty() ? DefaultText(Vk, Shift) : Text;
    QKeyEvent e(QEvent::KeyPress, QtKeyOf(Vk), mods, text);
    QApplication::sendEvent(w, &e);
}

void KeyUp(TWinControl *Target, Word Vk, TShiftState Shift)
{
    QWidget *w = Target ? Target->WidgetIfAllocated() : nullptr;
    if (!w)
        return;
    Qt::KeyboardModifiers mods = ModsOf(Shift);
    if (IsKeypad(Vk))
        mods |= Qt::KeypadModifier;
    QKeyEvent e(QEvent::KeyRelease, QtKeyOf(Vk), mods, DefaultText(Vk, Shift));
    QApplication::sendEvent(w, &e);
}

void PressKey(TWinControl *Target, Word Vk, TShiftState Shift, const UnicodeString &Text)
{
    QPointer<QWidget> w = Target ? Target->Widget() : nullptr;
    KeyDown(Target, Vk, Shift, Text);
    // The key-down may have taken the window away (a form that closed itself).
    if (w && Target->WidgetIfAllocated() == w)
        KeyUp(Target, Vk, Shift);
}

void TypeText(TWinControl *Target, const UnicodeString &Text)
{
    for (QChar ch : Text) {
        Word vk = 0;
        TShiftState shift;
        if (ch.isLetter() && ch.unicode() < 128) {
            vk = static_cast<Word>(ch.toUpper().unicode());
            if (ch.isUpper())
                shift << ssShift;
        } else if (ch.isDigit()) {
            vk = static_cast<Word>(ch.unicode());
        } else if (ch == QLatin1Char(' ')) {
            vk = VK_SPACE;
        } else if (ch == QLatin1Char('.')) {
            vk = VK_OEM_PERIOD;
        } else if (ch == QLatin1Char(',')) {
            vk = VK_OEM_COMMA;
        } else if (ch == QLatin1Char('-')) {
            vk = VK_OEM_MINUS;
        }
        KeyDown(Target, vk, shift, QString(ch));
        KeyUp(Target, vk, shift);
    }
}

TWinControl *FocusedControl()
{
    return TWinControl::FindControl(GetFocus());
}

void MouseMove(TControl *Target, TPoint At, TShiftState Shift)
{
    SendMouse(QEvent::MouseMove, Target, At, Qt::NoButton, Shift);
}

TShownHint ShownHint()
{
    TShownHint h;
    THintWindow *w = Application->HintWindow();
    if (!w || !w->Showing())
        return h;
    h.Visible = true;
    h.Text = w->Caption();
    h.Rect = w->BoundsRect();
    h.Color = w->Color();
    h.ClassName = w->ClassName();
    h.Window = w;
    return h;
}

TShownHint RestPointer(TControl *Target, TPoint At)
{
    MouseMove(Target, At);
    // The pause and a little more for the timer to come round.
    ProcessEvents(Application->HintPause() + 60);
    return ShownHint();
}

void ResetHints()
{
    Application->CancelHint();
}

void MouseDown(TControl *Target, TPoint At, TMouseButton Button, TShiftState Shift)
{
    SendMouse(QEvent::MouseButtonPress, Target, At, QtButton(Button), Shift);
}

void MouseUp(TControl *Target, TPoint At, TMouseButton Button, TShiftState Shift)
{
    SendMouse(QEvent::MouseButtonRelease, Target, At, QtButton(Button), Shift);
}

void Click(TControl *Target)
{
    Click(Target, {Target->Width() / 2, Target->Height() / 2});
}

void Click(TControl *Target, TPoint At, TMouseButton Button, TShiftState Shift)
{
    MouseDown(Target, At, Button, Shift);
    MouseUp(Target, At, Button, Shift);
}

void DoubleClick(TControl *Target, TPoint At)
{
    MouseDown(Target, At);
    MouseUp(Target, At);
    SendMouse(QEvent::MouseButtonDblClick, Target, At, Qt::LeftButton, {});
    MouseUp(Target, At);
}

void Wheel(TControl *Target, int Delta, TPoint At, TShiftState Shift)
{
    QPoint offset;
    QWidget *w = WindowFor(Target, offset);
    if (!w)
        return;
    const QPointF local(At.X + offset.x(), At.Y + offset.y());
    QWheelEvent e(local, w->mapToGlobal(local), QPoint(), QPoint(0, Delta), GHeld, ModsOf(Shift), Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &e);
}

void LeaveWindow(TWinControl *Target)
{
    QWidget *w = Target ? Target->WidgetIfAllocated() : nullptr;
    if (!w)
        return;
    QEvent e(QEvent::Leave);
    QApplication::sendEvent(w, &e);
}

void CloseWindow(TCustomForm *Form)
{
    QWidget *w = Form ? Form->WidgetIfAllocated() : nullptr;
    if (!w)
        return;
    QCloseEvent e;
    QApplication::sendEvent(w, &e);
}

namespace {
QImage Render(TWinControl *Control)
{
    QWidget *w = Control ? Control->Widget() : nullptr;
    if (!w)
        return {};
    QImage img(w->size(), QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    w->render(&img);
    return img;
}
} // namespace

bool SaveWindowPng(TWinControl *Control, const UnicodeString &FileName)
{
    const QImage img = Render(Control);
    return !img.isNull() && img.save(FileName, "PNG");
}

TColorRef PixelAt(TWinControl *Control, int X, int Y)
{
    const QImage img = Render(Control);
    if (img.isNull() || !img.rect().contains(X, Y))
        return 0xFFFFFFFF;
    const QRgb c = img.pixel(X, Y);
    return RGB(qRed(c), qGreen(c), qBlue(c));
}

UnicodeString ArtefactDir()
{
    return QCoreApplication::applicationDirPath();
}

// ---------------------------------------------------------------------------------------------

namespace {

// A box or dialog of the window system has no form to take a modal result: it is rejected.
void CloseModalWidget()
{
    QWidget *w = QApplication::activeModalWidget();
    if (auto *dialog = qobject_cast<QDialog *>(w))
        dialog->done(QDialog::Rejected);
    else if (w)
        w->close();
}

// Below every scripted hook: a message box that no script answers would wait for a click that
// never comes. The one the application's exception handling shows is named as such.
class THeadlessModalGuard : public TModalHook {
public:
    TModalResult Run(TModalRequest &Request) override
    {
        if (Request.Kind != mkMessage)
            return TModalHook::Run(Request);
        if (std::current_exception())
            ADD_FAILURE() << "An exception reached the application's handler: " << Request.Text.toStdString();
        else
            ADD_FAILURE() << "A message box came with no script to answer it: " << Request.Text.toStdString();
        return mrCancel;
    }
};

} // namespace

void InstallHeadlessModalGuard()
{
    static THeadlessModalGuard Guard;
    SetModalHook(&Guard);
}

TScriptedModalHook::TScriptedModalHook() : FPrevious(SetModalHook(this))
{
}

TScriptedModalHook::~TScriptedModalHook()
{
    SetModalHook(FPrevious);
}

TScriptedModalHook &TScriptedModalHook::Answer(TModalResult Result, const UnicodeString &FileName)
{
    FScript.push_back([Result, FileName](TModalRequest &r) {
        if (!FileName.isEmpty()) {
            r.AnswerFileName = FileName;
            r.AnswerFiles = {FileName};
        }
        return Result;
    });
    return *this;
}

TScriptedModalHook &TScriptedModalHook::RunWith(std::function<void(TModalRequest &)> Action, int TimeoutMs)
{
    FScript.push_back([Action, TimeoutMs](TModalRequest &r) {
        auto finished = std::make_shared<bool>(false);
        TModalRequest *request = &r;
        QTimer::singleShot(0, [Action, request, finished, TimeoutMs] {
            if (*finished)
                return;
            Action(*request);
            QTimer::singleShot(TimeoutMs, [request, finished] {
                if (*finished)
                    return;
                ADD_FAILURE() << "A modal run was still open after its scripted action: "
                              << request->ClassName.toStdString() << " \"" << request->Caption.toStdString()
                              << "\" " << request->Text.toStdString();
                if (request->Form)
                    request->Form->SetModalResult(mrCancel);
                else
                    CloseModalWidget();
            });
        });
        const TModalResult result = r.RunDefault ? r.RunDefault(r) : mrNone;
        *finished = true;
        return result;
    });
    return *this;
}

TScriptedModalHook &TScriptedModalHook::Handle(std::function<TModalResult(TModalRequest &)> Fn)
{
    FScript.push_back(std::move(Fn));
    return *this;
}

TModalResult TScriptedModalHook::Run(TModalRequest &Request)
{
    TShownModal shown;
    shown.Kind = Request.Kind;
    shown.ClassName = Request.ClassName;
    shown.Name = Request.Name;
    shown.Caption = Request.Caption;
    shown.Text = Request.Text;
    shown.DlgType = Request.DlgType;
    shown.Buttons = Request.Buttons;
    shown.Form = Request.Form;
    Shown.push_back(shown);
    if (FScript.empty()) {
        ADD_FAILURE() << "Unexpected modal run: " << Request.ClassName.toStdString() << " \""
                      << Request.Caption.toStdString() << "\" " << Request.Text.toStdString();
        return mrCancel;
    }
    auto step = std::move(FScript.front());
    FScript.pop_front();
    return step(Request);
}

QStringList MessageTexts(const TScriptedModalHook &Hook)
{
    QStringList All;
    for (const TShownModal &S : Hook.Shown)
        if (S.Kind == mkMessage)
            All << S.Text;
    return All;
}

TModalResult ShowScripted(TForm *Form, const std::function<void(TScriptedModalHook &)> &Body, int Boxes_On_Show,
                          QStringList &Messages)
{
    TScriptedModalHook Hook;
    Hook.RunWith([&](TModalRequest &) { Body(Hook); });
    for (int i = 0; i < Boxes_On_Show; ++i)
        Hook.Answer(mrOk);
    const TModalResult Result = Form->ShowModal();
    Messages = MessageTexts(Hook);
    EXPECT_EQ(Hook.Pending(), 0u);
    return Result;
}

} // namespace GuiTest
