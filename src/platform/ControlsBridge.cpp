// The bridge between a control and its Qt widget: Qt events become messages, window timers and
// the table of window handles.
#include "platform/ControlsPrivate.h"
#include "platform/WindowPlacement.h"

#include "platform/Forms.h"
#include "platform/Menus.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QCursor>
#include <QEnterEvent>
#include <QHash>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QTimerEvent>
#include <QWheelEvent>

namespace {

// A pop-up shown without activating (WS_POPUP, a form with NoActivate).
bool TakesNoActivation(const QWidget *W)
{
    return W->testAttribute(Qt::WA_ShowWithoutActivating) && (W->windowFlags() & Qt::WindowDoesNotAcceptFocus);
}

QHash<std::uintptr_t, TControlEventBridge *> &Handles()
{
    static QHash<std::uintptr_t, TControlEventBridge *> h;
    return h;
}
std::uintptr_t GNextHandle = 0x10000;
HWND GLastFocus = nullptr;
int GGuardDepth = 0;

std::uintptr_t Key(HWND h) { return reinterpret_cast<std::uintptr_t>(h); }

// Classic scan codes (set 1) of the keys whose key data the system's code looks at.
int ScanCodeOf(int Vk)
{
    static const char *const row1 = "QWERTYUIOP";
    static const char *const row2 = "ASDFGHJKL";
    static const char *const row3 = "ZXCVBNM";
    if (Vk >= 'A' && Vk <= 'Z') {
        for (int i = 0; row1[i]; ++i)
            if (row1[i] == Vk)
                return 0x10 + i;
        for (int i = 0; row2[i]; ++i)
            if (row2[i] == Vk)
                return 0x1E + i;
        for (int i = 0; row3[i]; ++i)
            if (row3[i] == Vk)
                return 0x2C + i;
    }
    if (Vk >= '1' && Vk <= '9')
        return 0x02 + (Vk - '1');
    if (Vk >= VK_F1 && Vk <= VK_F10)
        return 0x3B + (Vk - VK_F1);
    switch (Vk) {
    case '0': return 0x0B;
    case VK_ESCAPE: return 0x01;
    case VK_OEM_MINUS: return 0x0C;
    case VK_OEM_PLUS: return 0x0D;
    case VK_BACK: return 0x0E;
    case VK_TAB: return 0x0F;
    case VK_OEM_4: return 0x1A;
    case VK_OEM_6: return 0x1B;
    case VK_RETURN: return 0x1C;
    case VK_CONTROL: return 0x1D;
    case VK_OEM_1: return 0x27;
    case VK_OEM_7: return 0x28;
    case VK_OEM_3: return 0x29;
    case VK_SHIFT: return 0x2A;
    case VK_OEM_5: return 0x2B;
    case VK_OEM_COMMA: return 0x33;
    case VK_OEM_PERIOD: return 0x34;
    case VK_OEM_2: return 0x35;
    case VK_MULTIPLY: return 0x37;
    case VK_MENU: return 0x38;
    case VK_SPACE: return 0x39;
    case VK_CAPITAL: return 0x3A;
    case VK_NUMLOCK: return 0x45;
    case VK_SCROLL: return 0x46;
    case VK_HOME: case VK_NUMPAD7: return 0x47;
    case VK_UP: case VK_NUMPAD8: return 0x48;
    case VK_PRIOR: case VK_NUMPAD9: return 0x49;
    case VK_SUBTRACT: return 0x4A;
    case VK_LEFT: case VK_NUMPAD4: return 0x4B;
    case VK_NUMPAD5: case VK_CLEAR: return 0x4C;
    case VK_RIGHT: case VK_NUMPAD6: return 0x4D;
    case VK_ADD: return 0x4E;
    case VK_END: case VK_NUMPAD1: return 0x4F;
    case VK_DOWN: case VK_NUMPAD2: return 0x50;
    case VK_NEXT: case VK_NUMPAD3: return 0x51;
    case VK_INSERT: case VK_NUMPAD0: return 0x52;
    case VK_DELETE: case VK_DECIMAL: return 0x53;
    case VK_F11: return 0x57;
    case VK_F12: return 0x58;
    case VK_DIVIDE: return 0x35;
    default: return 0;
    }
}

bool IsExtendedKey(int Vk, bool Keypad)
{
    switch (Vk) {
    case VK_INSERT: case VK_DELETE: case VK_HOME: case VK_END: case VK_PRIOR: case VK_NEXT:
    case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN:
        return !Keypad;
    case VK_DIVIDE:
        return true;
    case VK_RETURN:
        return Keypad;
    default:
        return false;
    }
}


// Alt Gr is the right Alt; otherwise the native key tells the side (X11 key symbols and
// Windows virtual keys), and without native information the key is taken as the left one.
bool IsRightModifier(const QKeyEvent *Event)
{
    if (Event->key() == Qt::Key_AltGr)
        return true;
    switch (Event->nativeVirtualKey()) {
    case 0xffe2: // Shift_R
    case 0xffe4: // Control_R
    case 0xffea: // Alt_R
    case 0xfe03: // ISO_Level3_Shift
    case 0xA1:   // VK_RSHIFT
    case 0xA3:   // VK_RCONTROL
    case 0xA5:   // VK_RMENU
        return true;
    default:
        return false;
    }
}

void NoteButtons(Qt::MouseButtons Buttons, Qt::KeyboardModifiers Mods)
{
    auto set = [](int vk, bool down) {
        const bool isDown = GetKeyState(vk) < 0;
        if (isDown != down)
            platform_detail::NoteKey(vk, down);
    };
    set(VK_LBUTTON, Buttons & Qt::LeftButton);
    set(VK_RBUTTON, Buttons & Qt::RightButton);
    set(VK_MBUTTON, Buttons & Qt::MiddleButton);
    platform_detail::NoteModifiers(Mods & Qt::ShiftModifier, Mods & Qt::ControlModifier, Mods & Qt::AltModifier);
}

} // namespace

namespace platform_detail {

WPARAM MouseKeys(Qt::MouseButtons Buttons, Qt::KeyboardModifiers Mods)
{
    WPARAM k = 0;
    if (Buttons & Qt::LeftButton)
        k |= MK_LBUTTON;
    if (Buttons & Qt::RightButton)
        k |= MK_RBUTTON;
    if (Buttons & Qt::MiddleButton)
        k |= MK_MBUTTON;
    if (Mods & Qt::ShiftModifier)
        k |= MK_SHIFT;
    if (Mods & Qt::ControlModifier)
        k |= MK_CONTROL;
    return k;
}

int GuardedDepth()
{
    return GGuardDepth;
}

void GuardedCall(TObject *Sender, const std::function<void()> &Fn)
{
    ++GGuardDepth;
    try {
        Fn();
    } catch (...) {
        try {
            Application->HandleException(Sender);
        } catch (...) {
            // The handling of an exception must not throw into Qt's event loop.
        }
    }
    --GGuardDepth;
}

HWND NewHandle(TWinControl *)
{
    return reinterpret_cast<HWND>(GNextHandle++);
}

void ReleaseHandle(HWND Handle)
{
    Handles().remove(Key(Handle));
    if (GLastFocus == Handle)
        GLastFocus = nullptr;
}

TControlEventBridge *BridgeOf(HWND Handle)
{
    if (!Handle)
        return nullptr;
    auto it = Handles().constFind(Key(Handle));
    return it == Handles().constEnd() ? nullptr : it.value();
}

int QtKeyToVk(int QtKey, bool Keypad)
{
    if (QtKey >= Qt::Key_A && QtKey <= Qt::Key_Z)
        return 'A' + (QtKey - Qt::Key_A);
    if (QtKey >= Qt::Key_0 && QtKey <= Qt::Key_9)
        return Keypad ? VK_NUMPAD0 + (QtKey - Qt::Key_0) : '0' + (QtKey - Qt::Key_0);
    if (QtKey >= Qt::Key_F1 && QtKey <= Qt::Key_F24)
        return VK_F1 + (QtKey - Qt::Key_F1);
    switch (QtKey) {
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return VK_TAB;
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Return:
    case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Insert: return VK_INSERT;
    case Qt::Key_Delete: return VK_DELETE;
    case Qt::Key_Pause: return VK_PAUSE;
    case Qt::Key_Print: return VK_SNAPSHOT;
    case Qt::Key_Clear: return VK_CLEAR;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_End: return VK_END;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_Shift: return VK_SHIFT;
    case Qt::Key_Control: return VK_CONTROL;
    case Qt::Key_Alt:
    case Qt::Key_AltGr: return VK_MENU;
    case Qt::Key_Meta: return VK_LWIN;
    case Qt::Key_Menu: return VK_APPS;
    case Qt::Key_CapsLock: return VK_CAPITAL;
    case Qt::Key_NumLock: return VK_NUMLOCK;
    case Qt::Key_ScrollLock: return VK_SCROLL;
    case Qt::Key_Help: return VK_HELP;
    case Qt::Key_Space: return VK_SPACE;
    case Qt::Key_Exclam: return '1';
    case Qt::Key_At: return '2';
    case Qt::Key_NumberSign: return '3';
    case Qt::Key_Dollar: return '4';
    case Qt::Key_Percent: return '5';
    case Qt::Key_AsciiCircum: return '6';
    case Qt::Key_Ampersand: return '7';
    case Qt::Key_Asterisk: return Keypad ? VK_MULTIPLY : '8';
    case Qt::Key_ParenLeft: return '9';
    case Qt::Key_ParenRight: return '0';
    case Qt::Key_Plus: return Keypad ? VK_ADD : VK_OEM_PLUS;
    case Qt::Key_Equal: return VK_OEM_PLUS;
    case Qt::Key_Minus: return Keypad ? VK_SUBTRACT : VK_OEM_MINUS;
    case Qt::Key_Underscore: return VK_OEM_MINUS;
    case Qt::Key_Period: return Keypad ? VK_DECIMAL : VK_OEM_PERIOD;
    case Qt::Key_Greater: return VK_OEM_PERIOD;
    case Qt::Key_Comma: return Keypad ? VK_DECIMAL : VK_OEM_COMMA;
    case Qt::Key_Less: return VK_OEM_COMMA;
    case Qt::Key_Slash: return Keypad ? VK_DIVIDE : VK_OEM_2;
    case Qt::Key_Question: return VK_OEM_2;
    case Qt::Key_Semicolon:
    case Qt::Key_Colon: return VK_OEM_1;
    case Qt::Key_QuoteLeft:
    case Qt::Key_AsciiTilde: return VK_OEM_3;
    case Qt::Key_BracketLeft:
    case Qt::Key_BraceLeft: return VK_OEM_4;
    case Qt::Key_Backslash:
    case Qt::Key_Bar: return VK_OEM_5;
    case Qt::Key_BracketRight:
    case Qt::Key_BraceRight: return VK_OEM_6;
    case Qt::Key_Apostrophe:
    case Qt::Key_QuoteDbl: return VK_OEM_7;
    default: return 0;
    }
}

} // namespace platform_detail

// ---------------------------------------------------------------------------------------------

TPlatformWidget::TPlatformWidget(QWidget *Parent) : QWidget(Parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QSize TPlatformWidget::sizeHint() const
{
    return size();
}

TControlEventBridge::TControlEventBridge(TWinControl *Control, QWidget *Widget, HWND Handle)
    : FControl(Control), FWidget(Widget), FHandle(Handle)
{
    Handles().insert(Key(Handle), this);
}

TControlEventBridge::~TControlEventBridge()
{
    Detach();
}

void TControlEventBridge::Detach()
{
    for (auto &t : FTimers)
        killTimer(t.first);
    FTimers.clear();
    if (FHandle) {
        platform_detail::StopClockTimersOf(FHandle);
        auto it = Handles().find(Key(FHandle));
        if (it != Handles().end() && it.value() == this)
            Handles().erase(it);
    }
    FControl = nullptr;
}

UINT_PTR TControlEventBridge::SetTimer(UINT_PTR Id, UINT Elapse, TIMERPROC Proc)
{
    for (auto it = FTimers.begin(); it != FTimers.end(); ++it)
        if (it->second.Id == Id) {
            killTimer(it->first);
            FTimers.erase(it);
            break;
        }
    const int qtId = startTimer(static_cast<int>(std::max<UINT>(Elapse, 1)), Qt::PreciseTimer);
    if (qtId == 0)
        return 0;
    FTimers[qtId] = {Id, Proc};
    return Id == 0 ? 1 : Id;
}

bool TControlEventBridge::KillTimer(UINT_PTR Id)
{
    for (auto it = FTimers.begin(); it != FTimers.end(); ++it)
        if (it->second.Id == Id) {
            killTimer(it->first);
            FTimers.erase(it);
            return true;
        }
    return false;
}

void TControlEventBridge::timerEvent(QTimerEvent *Event)
{
    auto it = FTimers.find(Event->timerId());
    if (it == FTimers.end() || !FControl)
        return;
    const TTimer t = it->second;
    TWinControl *c = FControl;
    const HWND h = FHandle;
    platform_detail::GuardedCall(c, [&] {
        if (t.Proc) {
            t.Proc(h, WM_TIMER, t.Id, GetTickCount());
        } else {
            CallWndProcHooks(h, WM_TIMER, t.Id, 0);
            c->Perform(WM_TIMER, t.Id, 0);
        }
    });
}

bool TControlEventBridge::IsCurrentEventMessage(const TMessage &Message) const
{
    return !FCurrent.empty() && FCurrent.back().first == &Message;
}

void TControlEventBridge::DefaultReached(const TMessage &Message)
{
    if (IsCurrentEventMessage(Message))
        *FCurrent.back().second = true;
}

bool TControlEventBridge::SendFromEvent(TMessage &Message)
{
    bool reached = false;
    if (!FControl)
        return true;
    FCurrent.emplace_back(&Message, &reached);
    TWinControl *c = FControl;
    platform_detail::GuardedCall(c, [&] {
        CallWndProcHooks(FHandle, Message.Msg, Message.WParam, Message.LParam);
        c->CallWindowProc(Message);
    });
    FCurrent.pop_back();
    return reached;
}

void TControlEventBridge::RunQtDefault(QEvent *Event)
{
    if (!FWidget)
        return;
    FBypass = true;
    static_cast<QObject *>(FWidget.data())->event(Event);
    FBypass = false;
}

bool TControlEventBridge::eventFilter(QObject *Watched, QEvent *Event)
{
    if (FBypass || !FControl || Watched != FWidget)
        return false;
    ++FDepth;
    bool result = false;
    platform_detail::GuardedCall(FControl, [&] { result = HandleEvent(Event); });
    --FDepth;
    return result;
}

bool TControlEventBridge::HandleEvent(QEvent *Event)
{
    switch (Event->type()) {
    case QEvent::Paint: {
        TMessage m;
        m.Msg = WM_PAINT;
        FInPaint = true;
        const bool def = SendFromEvent(m);
        FInPaint = false;
        if (!def)
            return true;
        if (OwnWidget() || !FWidget)
            return false;
        // Qt paints the wrapped widget now; then the control may draw over it.
        RunQtDefault(Event);
        SendFramePaint();
        return true;
    }
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        return HandleKey(static_cast<QKeyEvent *>(Event));
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
        return HandleMouse(static_cast<QMouseEvent *>(Event));
    case QEvent::Wheel:
        return HandleWheel(static_cast<QWheelEvent *>(Event));
    case QEvent::ContextMenu:
        return HandleContextMenu(static_cast<QContextMenuEvent *>(Event));
    case QEvent::Enter: {
        auto *e = static_cast<QEnterEvent *>(Event);
        const QPoint p = e->position().toPoint();
        TControl *target = FControl->ControlAtPos({p.x(), p.y()}, false);
        platform_detail::SetMouseControl(target ? target : FControl);
        return false;
    }
    case QEvent::Leave: {
        if (Application)
            Application->HintMouseMessage(nullptr, {});
        TControl *mc = GetMouseControl();
        if (mc && (mc == FControl || (mc->Parent() == FControl && !dynamic_cast<TWinControl *>(mc))))
            platform_detail::SetMouseControl(nullptr);
        return false;
    }
    case QEvent::FocusIn: {
        // The focused control always shows that it has the focus (a frame or a highlight), however
        // the focus came: the window system's own style shows it only after Tab presses that Qt
        // itself handled, and the form moves the focus itself.
        if (FWidget)
            FWidget->window()->setAttribute(Qt::WA_KeyboardFocusChange);
        TMessage m;
        m.Msg = WM_SETFOCUS;
        m.WParam = reinterpret_cast<WPARAM>(GLastFocus != FHandle ? GLastFocus : nullptr);
        GLastFocus = FHandle;
        return !SendFromEvent(m);
    }
    case QEvent::FocusOut: {
        ShowCaret(FHandle);
        TMessage m;
        m.Msg = WM_KILLFOCUS;
        HWND other = GetFocus();
        m.WParam = reinterpret_cast<WPARAM>(other != FHandle ? other : nullptr);
        return !SendFromEvent(m);
    }
    case QEvent::Resize: {
        if (FWidget && !FWidget->parentWidget()) {
            if (auto *form = dynamic_cast<TCustomForm *>(FControl)) {
                const QSize s = static_cast<QResizeEvent *>(Event)->size();
                if (s.width() != form->ClientWidth() || s.height() != form->ClientHeight())
                    form->SetClientSize(s.width(), s.height());
            }
        }
        return false;
    }
    case QEvent::Move: {
        // Left and Top of a form stay as the program placed it (window systems add their own
        // frame offsets); the hooks hear of the move all the same.
        if (FWidget && !FWidget->parentWidget())
            CallWndProcHooks(FHandle, WM_WINDOWPOSCHANGED, 0, 0);
        return false;
    }
    case QEvent::Close: {
        TMessage m;
        m.Msg = WM_CLOSE;
        SendFromEvent(m);
        // The form hides itself (or not, when OnCloseQuery refuses); Qt never closes it alone.
        Event->ignore();
        return true;
    }
    case QEvent::ToolTip:
        return HandleToolTip(static_cast<QHelpEvent *>(Event));
    case QEvent::StyleChange:
    case QEvent::ApplicationPaletteChange:
    case QEvent::ThemeChange: {
        // A change of the desktop's style or colours is the platform's theme change.
        TMessage m;
        m.Msg = WM_THEMECHANGED;
        SendFromEvent(m);
        return false;
    }
    case QEvent::Show:
    case QEvent::Hide:
        // Also when a window above it shows or hides: what stands beside it on the screen
        // (its pop-ups) can follow.
        FControl->Perform(CM_SHOWINGCHANGED, 0, 0);
        return false;
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate:
        if (auto *form = dynamic_cast<TCustomForm *>(FControl)) {
            // A window shown without activating that a window system made active all the same
            // (the headless one activates every window it shows) is not the active form, and a
            // pop-up of this form leaves the form the active one.
            if (Event->type() == QEvent::WindowActivate && TakesNoActivation(FWidget))
                return false;
            if (Event->type() == QEvent::WindowDeactivate)
                if (QWidget *now = QApplication::activeWindow(); now && now != FWidget && TakesNoActivation(now) &&
                                                                 now->parentWidget() && now->parentWidget()->window() == FWidget)
                    return false;
            if (platform_detail::ActivationReportIsStale(FHandle, Event->type() == QEvent::WindowActivate))
                return false;
            // On a deactivation the window system has already made the new window the active one.
            HWND other = nullptr;
            if (Event->type() == QEvent::WindowDeactivate)
                if (QWidget *now = QApplication::activeWindow(); now && now != FWidget)
                    other = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(now->property("fabricorHandle").value<qulonglong>()));
            form->WindowActivated(Event->type() == QEvent::WindowActivate, other);
        }
        return false;
    default:
        return false;
    }
}

void TControlEventBridge::SendFramePaint()
{
    if (!FControl || !FWidget)
        return;
    QPainter painter(FWidget);
    TControlCanvas canvas;
    canvas.SetControl(FControl);
    canvas.BeginPainting(&painter);
    TMessage m;
    m.Msg = WM_NCPAINT;
    m.WParam = reinterpret_cast<WPARAM>(static_cast<TCanvas *>(&canvas));
    m.LParam = NCPAINT_CANVAS;
    TWinControl *c = FControl;
    FInPaint = true;
    platform_detail::GuardedCall(c, [&] { c->CallWindowProc(m); });
    FInPaint = false;
    canvas.EndPainting();
}

bool TControlEventBridge::HandleKey(QKeyEvent *Event)
{
    const bool down = Event->type() == QEvent::KeyPress;
    const bool keypad = Event->modifiers() & Qt::KeypadModifier;
    const Qt::KeyboardModifiers mods = Event->modifiers();
    const int vk = platform_detail::QtKeyToVk(Event->key(), keypad);
    if (!down && Event->isAutoRepeat())
        return true; // a held key repeats its key-down only
    // The side of a modifier key is noted before the modifiers on a press (so that the held
    // modifier is not taken as the left one) and again after them (Alt Gr carries no Alt), and
    // after them on a release. Alt Gr held counts as Alt held, as the right Alt.
    const bool sidedKey = vk == VK_SHIFT || vk == VK_CONTROL || vk == VK_MENU;
    if (sidedKey && down)
        platform_detail::NoteModifierSide(vk, IsRightModifier(Event), true);
    platform_detail::NoteModifiers(mods & Qt::ShiftModifier, mods & Qt::ControlModifier,
                                   (mods & Qt::AltModifier) || (mods & Qt::GroupSwitchModifier) ||
                                       (Event->key() == Qt::Key_AltGr && down));
    platform_detail::NoteKey(vk, down);
    if (sidedKey)
        platform_detail::NoteModifierSide(vk, IsRightModifier(Event), down);
    const bool alt = (mods & Qt::AltModifier) && vk != VK_MENU;

    LPARAM keyData = 1 | (static_cast<LPARAM>(ScanCodeOf(vk)) << 16);
    if (IsExtendedKey(vk, keypad))
        keyData |= KF_EXTENDED_BIT;
    if (alt)
        keyData |= KF_ALTDOWN_BIT;
    if (!down)
        keyData |= KF_REPEAT_BIT | KF_UP_BIT;
    else if (Event->isAutoRepeat())
        keyData |= KF_REPEAT_BIT;

    QWidget *w = FWidget;
    bool keyDefault = true;
    if (vk != 0) {
        TMessage cn;
        cn.Msg = down ? (alt ? CN_SYSKEYDOWN : CN_KEYDOWN) : CN_KEYUP;
        cn.WParam = static_cast<WPARAM>(vk);
        cn.LParam = keyData;
        TWinControl *c = FControl;
        platform_detail::GuardedCall(c, [&] { c->CallWindowProc(cn); });
        if (!FControl)
            return true;
        if (cn.Result != 0)
            return true;
        TMessage m;
        m.Msg = down ? (alt ? WM_SYSKEYDOWN : WM_KEYDOWN) : (alt ? WM_SYSKEYUP : WM_KEYUP);
        m.WParam = static_cast<WPARAM>(vk);
        m.LParam = keyData;
        keyDefault = SendFromEvent(m);
        if (!FControl)
            return true;
    }
    if (!down) {
        if (keyDefault && !OwnWidget())
            RunQtDefault(Event);
        return true;
    }

    // The characters of the key, as WM_CHAR after the key-down.
    QString text = Event->text();
    if (text.isEmpty()) {
        switch (vk) {
        case VK_RETURN: text = QStringLiteral("\r"); break;
        case VK_ESCAPE: text = QString(QChar(27)); break;
        case VK_BACK: text = QString(QChar(8)); break;
        case VK_TAB: text = QStringLiteral("\t"); break;
        default:
            if ((mods & Qt::ControlModifier) && !(mods & Qt::AltModifier) && vk >= 'A' && vk <= 'Z')
                text = QString(QChar(vk - 'A' + 1));
            break;
        }
    }
    QString typed;
    bool charDefault = true;
    bool hadChar = false;
    for (QChar ch : text) {
        if (ch.unicode() == 127 || (ch.unicode() < 32 && vk == VK_DELETE))
            continue;
        hadChar = true;
        TMessage cn;
        cn.Msg = alt ? CN_SYSCHAR : CN_CHAR;
        cn.WParam = ch.unicode();
        cn.LParam = keyData;
        TWinControl *c = FControl;
        platform_detail::GuardedCall(c, [&] { c->CallWindowProc(cn); });
        if (!FControl)
            return true;
        if (cn.Result != 0) {
            charDefault = false;
            continue;
        }
        TMessage m;
        m.Msg = alt ? WM_SYSCHAR : WM_CHAR;
        m.WParam = ch.unicode();
        m.LParam = keyData;
        const bool def = SendFromEvent(m);
        if (!FControl)
            return true;
        if (def && m.WParam != 0)
            typed += QChar(static_cast<char16_t>(m.WParam));
        else
            charDefault = false;
    }
    if (OwnWidget() || !w)
        return true;
    // Qt's own handling of what the handlers let through, with the characters they left.
    if (keyDefault && (!hadChar || (charDefault && typed == text))) {
        RunQtDefault(Event);
    } else if (!typed.isEmpty() || keyDefault) {
        QKeyEvent changed(QEvent::KeyPress, keyDefault ? Event->key() : Qt::Key_unknown, mods, typed,
                          Event->isAutoRepeat(), static_cast<ushort>(Event->count()));
        RunQtDefault(&changed);
    }
    return true;
}

void TControlEventBridge::ActivateOnPress()
{
    // A press on an inactive window of ours makes it the active one.
    QWidget *top = FWidget ? FWidget->window() : nullptr;
    if (!top)
        return;
    const HWND h = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(top->property("fabricorHandle").value<qulonglong>()));
    auto *form = dynamic_cast<TCustomForm *>(TWinControl::FindControl(h));
    if (!form || form->Active() || !form->Visible() || !form->Enabled())
        return;
    // The window may decline the activation a click would bring.
    if (form->Perform(WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(h), MakeLParam(HTCLIENT, WM_LBUTTONDOWN)) == MA_NOACTIVATE)
        return;
    SetForegroundWindow(h);
}

bool TControlEventBridge::HandleMouse(QMouseEvent *Event)
{
    const QPoint local = Event->position().toPoint();
    const QPoint global = Event->globalPosition().toPoint();
    NoteButtons(Event->buttons(), Event->modifiers());
    platform_detail::NoteCursor({global.x(), global.y()});

    if (Event->type() == QEvent::MouseButtonPress)
        ActivateOnPress();
    if (!FControl)
        return true;
    Cardinal msg = WM_MOUSEMOVE;
    const bool dbl = Event->type() == QEvent::MouseButtonDblClick;
    if (Event->type() == QEvent::MouseButtonPress || dbl) {
        switch (Event->button()) {
        case Qt::LeftButton: msg = dbl ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN; break;
        case Qt::RightButton: msg = dbl ? WM_RBUTTONDBLCLK : WM_RBUTTONDOWN; break;
        case Qt::MiddleButton: msg = dbl ? WM_MBUTTONDBLCLK : WM_MBUTTONDOWN; break;
        default: return true;
        }
    } else if (Event->type() == QEvent::MouseButtonRelease) {
        switch (Event->button()) {
        case Qt::LeftButton: msg = WM_LBUTTONUP; break;
        case Qt::RightButton: msg = WM_RBUTTONUP; break;
        case Qt::MiddleButton: msg = WM_MBUTTONUP; break;
        default: return true;
        }
    }

    // A window that captured the mouse gets the message in its own coordinates.
    HWND capture = GetCapture();
    if (capture && capture != FHandle) {
        if (TWinControl *c = TWinControl::FindControl(capture)) {
            const TPoint p = c->ScreenToClient({global.x(), global.y()});
            platform_detail::GuardedCall(c, [&] {
                c->Perform(msg, platform_detail::MouseKeys(Event->buttons(), Event->modifiers()), MakeLParam(p.X, p.Y));
            });
            return true;
        }
    }

    if (msg == WM_MOUSEMOVE) {
        TControl *target = FControl->ControlAtPos({local.x(), local.y()}, false);
        platform_detail::SetMouseControl(target ? target : FControl);
        if (!FControl)
            return true;
        LRESULT cursorSet = 0;
        TWinControl *c = FControl;
        platform_detail::GuardedCall(c, [&] {
            cursorSet = c->Perform(WM_SETCURSOR, reinterpret_cast<WPARAM>(FHandle), MakeLParam(HTCLIENT, static_cast<int>(msg)));
        });
        if (!FControl)
            return true;
        // A graphic control shows its cursor through its parent's window.
        if (cursorSet == 0 && OwnWidget() && FWidget) {
            const TCursor cur = target ? target->Cursor() : FControl->Cursor();
            if (cur == crDefault)
                FWidget->unsetCursor();
            else
                FWidget->setCursor(platform_detail::QtCursorOf(cur));
        }
    }
    TMessage m;
    m.Msg = msg;
    m.WParam = platform_detail::MouseKeys(Event->buttons(), Event->modifiers());
    m.LParam = MakeLParam(local.x(), local.y());
    const bool def = SendFromEvent(m);
    // After the control had the move, so that a hint it cancelled on the way is asked again
    // at the next rest.
    if (msg == WM_MOUSEMOVE && FControl && Application) {
        TControl *target = FControl->ControlAtPos({local.x(), local.y()}, false);
        Application->HintMouseMessage(target ? target : FControl, {global.x(), global.y()});
    }
    if (def && FControl && !OwnWidget()) {
        RunQtDefault(Event);
        // The window had its mouse message; a wrapped widget that ignores the event must not
        // hand it on to the parent window, which would take the pointer for its own.
        Event->accept();
    }
    return true;
}

bool TControlEventBridge::HandleContextMenu(QContextMenuEvent *Event)
{
    // A right click asks for the menu as the button comes up (WM_RBUTTONUP); the window
    // system's own request on the press only stands where no control up the chain has a menu,
    // so that an edit keeps its standard one.
    if (Event->reason() == QContextMenuEvent::Mouse) {
        for (TControl *c = FControl; c; c = c->Parent())
            if (c->PopupMenu() && c->PopupMenu()->AutoPopup())
                return true;
        return false;
    }
    TMessage m;
    m.Msg = WM_CONTEXTMENU;
    m.LParam = MakeLParam(-1, -1);
    SendFromEvent(m);
    return m.Result != 0;
}

bool TControlEventBridge::HandleToolTip(QHelpEvent *)
{
    // Hints come from the application's own hint machinery (pointer rest, CM_HINTSHOW, hint
    // window); the window system's tool tip would show a second one.
    return true;
}

bool TControlEventBridge::HandleWheel(QWheelEvent *Event)
{
    const QPoint global = Event->globalPosition().toPoint();
    NoteButtons(Event->buttons(), Event->modifiers());
    platform_detail::NoteCursor({global.x(), global.y()});
    const QPoint delta = Event->angleDelta();
    const bool vertical = delta.y() != 0;
    const int d = vertical ? delta.y() : delta.x();
    if (d == 0)
        return true;
    TMessage m;
    m.Msg = vertical ? WM_MOUSEWHEEL : WM_MOUSEHWHEEL;
    m.WParam = MakeWParam(static_cast<int>(platform_detail::MouseKeys(Event->buttons(), Event->modifiers())), d);
    m.LParam = MakeLParam(global.x(), global.y());
    const bool def = SendFromEvent(m);
    if (!FControl)
        return true;
    if (!def)
        return true;
    if (!OwnWidget()) {
        RunQtDefault(Event);
        return true;
    }
    return true;
}
