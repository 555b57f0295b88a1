#include "platform/Mask.h"

#include "platform/Windows.h"

#include <QClipboard>
#include <QGuiApplication>

#include <algorithm>

namespace {

const char *const SMaskEditErr = "Invalid input value.  Use escape key to abandon changes";

// Restores a flag or counter on every way out.
template <typename T>
class TValueScope {
public:
    TValueScope(T &Ref, T Value) : FRef(Ref), FOld(Ref) { FRef = Value; }
    ~TValueScope() { FRef = FOld; }
    TValueScope(const TValueScope &) = delete;
    TValueScope &operator=(const TValueScope &) = delete;

private:
    T &FRef;
    T FOld;
};

UnicodeString ClipboardText()
{
    if (QClipboard *c = QGuiApplication::clipboard())
        return c->text();
    return {};
}

void SetClipboardText(const UnicodeString &Value)
{
    if (QClipboard *c = QGuiApplication::clipboard())
        c->setText(Value);
}

} // namespace

// While it lives, the edit's own code sees the edit text as Text.
class TMaskTextScope {
public:
    explicit TMaskTextScope(TCustomMaskEdit *Edit) : FEdit(Edit) { ++FEdit->FEditTextAsText; }
    ~TMaskTextScope() { --FEdit->FEditTextAsText; }
    TMaskTextScope(const TMaskTextScope &) = delete;
    TMaskTextScope &operator=(const TMaskTextScope &) = delete;

private:
    TCustomMaskEdit *FEdit;
};

TCustomMaskEdit::TCustomMaskEdit(TComponent *AOwner) : TCustomEdit(AOwner)
{
}

void TCustomMaskEdit::SetEditMask(const UnicodeString &Value)
{
    if (Value == FEditMask)
        return;
    const int selStart = SelStart();
    const bool wasMasked = IsMasked();
    FEngine.SetEditText(IsMasked() ? EditText() : TCustomEdit::GetText());
    FEngine.SetSel(selStart, 0);
    FEngine.SetEditMask(Value);
    FEditMask = Value;
    if (IsMasked()) {
        const UnicodeString old = wasMasked ? EditText() : TCustomEdit::GetText();
        SetMaxLength(FEngine.Mask().Length());
        ShowEditText(FEngine.EditText(), FEngine.SelStart(), 0);
        FOldValue = FEngine.EditText();
        if (FEngine.EditText() != old)
            Change();
        return;
    }
    SetMaxLength(0);
    if (wasMasked) {
        // The control's own text takes the value again; the window shows it.
        FEditText.clear();
        SetText(FEngine.EditText());
    }
}

UnicodeString TCustomMaskEdit::EditText() const
{
    if (!IsMasked())
        return TCustomEdit::GetText();
    return WidgetIfAllocated() && !FShowingEditText ? WidgetText() : FEditText;
}

void TCustomMaskEdit::SetEditText(const UnicodeString &Value)
{
    if (!IsMasked()) {
        SetText(Value);
        return;
    }
    const UnicodeString old = EditText();
    FEngine.SetEditText(Value);
    FEngine.SetSel(SelStart(), 0);
    if (FEngine.EditText() == old)
        return;
    ShowEditText(FEngine.EditText(), FEngine.SelStart(), 0);
    Change();
}

UnicodeString TCustomMaskEdit::GetText() const
{
    if (!IsMasked())
        return TCustomEdit::GetText();
    if (FEditTextAsText > 0)
        return EditText();
    return FEngine.Mask().TextOf(EditText());
}

void TCustomMaskEdit::TextChanged()
{
    if (!IsMasked()) {
        TCustomEdit::TextChanged();
        return;
    }
    if (FQuietText)
        return;
    SetModified(false);
    FEngine.SetText(TWinControl::GetText());
    ShowEditText(FEngine.EditText(), 0, 0);
    // Text set in code is what Escape goes back to.
    FOldValue = FEngine.EditText();
    Change();
}

void TCustomMaskEdit::Change()
{
    // The window changed its text past the keys (its own menu, dropped text): the part it
    // replaced goes through the mask as a paste into the text shown before.
    if (IsMasked() && !FShowingEditText && WidgetIfAllocated()) {
        const UnicodeString shown = WidgetText();
        if (shown != FEditText) {
            const UnicodeString &old = FEditText;
            const int room = static_cast<int>(std::min(old.size(), shown.size()));
            int prefix = 0;
            while (prefix < room && old[prefix] == shown[prefix])
                ++prefix;
            int suffix = 0;
            while (suffix < room - prefix && old[old.size() - 1 - suffix] == shown[shown.size() - 1 - suffix])
                ++suffix;
            FEngine.SetEditText(old);
            FEngine.SetSel(prefix, static_cast<int>(old.size()) - suffix - prefix);
            FEngine.Paste(shown.mid(prefix, static_cast<int>(shown.size()) - suffix - prefix));
            ShowEditText(FEngine.EditText(), FEngine.SelStart(), 0);
        }
    }
    TCustomEdit::Change();
}

void TCustomMaskEdit::ShowEditText(const UnicodeString &Value, int SelStart, int SelLength)
{
    FEditText = Value;
    if (WidgetIfAllocated()) {
        TValueScope<bool> showing(FShowingEditText, true);
        TValueScope<bool> setting(FSettingText, true);
        SetWidgetText(Value);
    }
    TMaskTextScope scope(this);
    TCustomEdit::SetSelStart(SelStart);
    if (SelLength > 0)
        TCustomEdit::SetSelLength(SelLength);
}

void TCustomMaskEdit::CreateWnd()
{
    {
        TValueScope<bool> showing(FShowingEditText, true);
        TMaskTextScope scope(this);
        // The window takes the edit text, not the value.
        TCustomEdit::CreateWnd();
    }
}

void TCustomMaskEdit::DestroyWnd()
{
    if (IsMasked() && WidgetIfAllocated())
        FEditText = WidgetText();
    TCustomEdit::DestroyWnd();
}

TEditMaskEngine &TCustomMaskEdit::LoadEngine()
{
    FEngine.SetEditText(EditText());
    FEngine.SetSel(SelStart(), SelLength());
    return FEngine;
}

void TCustomMaskEdit::ApplyEngine()
{
    if (FEngine.EditText() == EditText()) {
        ShowEditText(FEngine.EditText(), FEngine.SelStart(), FEngine.SelLength());
        return;
    }
    ShowEditText(FEngine.EditText(), FEngine.SelStart(), FEngine.SelLength());
    SetModified(true);
    Change();
}

bool TCustomMaskEdit::EditCanModify()
{
    return !ReadOnly();
}

void TCustomMaskEdit::KeyDown(Word &Key, TShiftState Shift)
{
    TCustomEdit::KeyDown(Key, Shift);
    if (Key == 0 || Shift.Contains(ssAlt))
        return;
    const bool ctrl = Shift.Contains(ssCtrl);
    const bool shift = Shift.Contains(ssShift);
    // The clipboard keys become the clipboard messages, as the classic edit control does.
    Cardinal clip = 0;
    if ((ctrl && !shift && Key == 'V') || (shift && !ctrl && Key == VK_INSERT))
        clip = WM_PASTE;
    else if ((ctrl && !shift && Key == 'X') || (shift && !ctrl && Key == VK_DELETE))
        clip = WM_CUT;
    else if (ctrl && !shift && (Key == 'C' || Key == VK_INSERT))
        clip = WM_COPY;
    if (clip != 0) {
        Key = 0;
        Perform(clip, 0, 0);
        return;
    }
    if (!IsMasked())
        return;
    switch (Key) {
    case VK_LEFT:
    case VK_RIGHT:
    case VK_HOME:
    case VK_END:
        // With Shift the window extends the selection itself.
        if (shift || (ctrl && (Key == VK_LEFT || Key == VK_RIGHT)))
            return;
        LoadEngine().MoveCaret(Key == VK_LEFT    ? TEditMaskEngine::ckLeft
                               : Key == VK_RIGHT ? TEditMaskEngine::ckRight
                               : Key == VK_HOME  ? TEditMaskEngine::ckHome
                                                 : TEditMaskEngine::ckEnd);
        ApplyEngine();
        Key = 0;
        break;
    case VK_UP:
    case VK_DOWN:
        Key = 0;
        break;
    case VK_BACK:
    case VK_DELETE:
        // Ctrl+Delete would delete a word and shift the rest against the mask.
        if (Key == VK_DELETE && ctrl) {
            Key = 0;
            return;
        }
        if (EditCanModify()) {
            TEditMaskEngine &e = LoadEngine();
            if (Key == VK_BACK ? e.Backspace() : e.Delete())
                ApplyEngine();
        }
        Key = 0;
        break;
    default:
        break;
    }
}

void TCustomMaskEdit::KeyPress(WideChar &Key)
{
    TCustomEdit::KeyPress(Key);
    if (!IsMasked() || Key == 0)
        return;
    const WideChar k = Key;
    // Every character is the mask's: Backspace and the clipboard keys were taken on key-down,
    // other control characters change nothing.
    Key = 0;
    if (k == 27) {
        Reset();
        return;
    }
    if (k < 32 || !EditCanModify())
        return;
    if (LoadEngine().TypeChar(QChar(k)))
        ApplyEngine();
    else
        MessageBeep(0);
}

void TCustomMaskEdit::Dispatch(TMessage &Message)
{
    switch (Message.Msg) {
    case WM_PASTE: WMPaste(Message); return;
    case WM_CUT: WMCut(Message); return;
    case WM_COPY: WMCopy(Message); return;
    case WM_CLEAR: WMClear(Message); return;
    default: TCustomEdit::Dispatch(Message);
    }
}

void TCustomMaskEdit::WMPaste(TMessage &)
{
    if (!EditCanModify())
        return;
    UnicodeString value = ClipboardText();
    if (IsMasked()) {
        LoadEngine().Paste(value);
        ApplyEngine();
        return;
    }
    for (int i = 0; i < value.size(); ++i)
        if (value[i] == QLatin1Char('\r') || value[i] == QLatin1Char('\n')) {
            value.truncate(i);
            break;
        }
    if (MaxLength() > 0) {
        const int room = MaxLength() - (static_cast<int>(Text().size()) - SelLength());
        value.truncate(std::max(room, 0));
    }
    if (!value.isEmpty() || SelLength() > 0)
        SetSelText(value);
}

void TCustomMaskEdit::WMCopy(TMessage &)
{
    if (SelLength() > 0)
        SetClipboardText(SelText());
}

void TCustomMaskEdit::WMCut(TMessage &Message)
{
    if (SelLength() == 0)
        return;
    WMCopy(Message);
    WMClear(Message);
}

void TCustomMaskEdit::WMClear(TMessage &)
{
    if (!EditCanModify() || SelLength() == 0)
        return;
    if (!IsMasked()) {
        TCustomEdit::ClearSelection();
        return;
    }
    if (LoadEngine().ClearSelection())
        ApplyEngine();
}

void TCustomMaskEdit::WMLButtonUp(TWMMouse &Message)
{
    TCustomEdit::WMLButtonUp(Message);
    // A click between two characters of a literal puts the caret on the next input position.
    if (IsMasked() && SelLength() == 0) {
        LoadEngine().CheckCursor();
        ApplyEngine();
    }
}

void TCustomMaskEdit::CMEnter(TCMEnter &Message)
{
    if (IsMasked())
        FOldValue = EditText();
    {
        TMaskTextScope scope(this);
        TCustomEdit::CMEnter(Message);
    }
    if (IsMasked() && SelLength() == 0) {
        LoadEngine().CheckCursor();
        ApplyEngine();
    }
}

void TCustomMaskEdit::CMExit(TCMExit &Message)
{
    // A form that goes away takes its edits with it: nobody is left to finish the entry.
    for (TControl *c = this; c; c = c->Parent())
        if (c->ComponentState().Contains(TComponentStateItem::csDestroying)) {
            TCustomEdit::CMExit(Message);
            return;
        }
    try {
        ValidateEdit();
    } catch (...) {
        // The user stays in the edit to finish the entry or to abandon it with Escape.
        if (CanFocus())
            SetFocus();
        throw;
    }
    TCustomEdit::CMExit(Message);
}

void TCustomMaskEdit::ValidateEdit()
{
    if (!IsMasked() || !Modified())
        return;
    const int missing = FEngine.Mask().FirstMissing(EditText());
    if (missing < 0)
        return;
    ShowEditText(EditText(), missing, 0);
    MessageBeep(0);
    throw EDBEditError(QString::fromLatin1(SMaskEditErr));
}

void TCustomMaskEdit::Reset()
{
    if (!IsMasked() || !Modified())
        return;
    const UnicodeString old = FEngine.Mask().Conform(FOldValue);
    const bool changed = old != EditText();
    ShowEditText(old, 0, 0);
    SetModified(false);
    if (changed)
        Change();
}

void TCustomMaskEdit::SetSelStart(int Value)
{
    TMaskTextScope scope(this);
    TCustomEdit::SetSelStart(Value);
}

void TCustomMaskEdit::SetSelLength(int Value)
{
    TMaskTextScope scope(this);
    TCustomEdit::SetSelLength(Value);
}

UnicodeString TCustomMaskEdit::SelText() const
{
    return EditText().mid(SelStart(), SelLength());
}

void TCustomMaskEdit::SetSelText(const UnicodeString &Value)
{
    if (!IsMasked()) {
        TCustomEdit::SetSelText(Value);
        return;
    }
    // Replacing the selection in code goes in as a paste would.
    TEditMaskEngine &e = LoadEngine();
    e.Paste(Value);
    ApplyEngine();
}

void TCustomMaskEdit::SelectAll()
{
    TMaskTextScope scope(this);
    TCustomEdit::SelectAll();
}

void TCustomMaskEdit::ClearSelection()
{
    TMessage m;
    m.Msg = WM_CLEAR;
    WMClear(m);
}
