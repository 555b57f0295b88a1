#include "dropdowns/ExtDateTimePicker.h"

#include "dropdowns/ExtCustomDropDown.h"
#include "platform/ExtCtrls.h"
#include "platform/SysUtils.h"
#include "platform/UxTheme.h"
#include "platform/WinGdi.h"
#include "platform/Windows.h"

#include <cmath>

namespace {

bool IsDigitKey(WideChar Key)
{
    return Key >= u'0' && Key <= u'9';
}

// The time of day of Value in whole seconds, milliseconds dropped.
long long WholeSeconds(TDateTime Value)
{
    if (!std::isfinite(Value))
        return 0;
    const double frac = std::fabs(Value - std::trunc(Value));
    long long ms = std::llround(frac * 86400000.0);
    if (ms >= 86400000LL)
        ms = 86399999LL;
    return ms / 1000;
}

TDateTime WholeDay(TDateTime Value)
{
    return std::isfinite(Value) ? std::trunc(Value) : 0;
}

} // namespace

Cardinal DTPShiftFocusMessage()
{
    static const Cardinal id = RegisterWindowMessage(QStringLiteral("DTPShiftFocus"));
    return id;
}

TSize GetTextSize(const UnicodeString &Text, TFont *Font)
{
    TBitmap measure;
    measure.Canvas()->Font()->Assign(Font);
    TRect r{0, 0, 1000, 200};
    DrawText(measure.Canvas()->Handle(), Text, -1, &r, DT_CALCRECT | DT_SINGLELINE);
    return {r.Right - r.Left, r.Bottom - r.Top};
}

static_assert(int(TExtDateTimePicker::lpRighBottom) == int(TExtCustomDropDown::lpRighBottom),
              "the label places share their order with the drop-down edit's");

// ---- TCustomDateTimePicker ----

TCustomDateTimePicker::TCustomDateTimePicker(TComponent *AOwner) : TEsgDateTimePicker(AOwner)
{
    SetCtl3D(false);
    SetBorderColor(0);
}

TFlatPickerLook TCustomDateTimePicker::Look() const
{
    TFlatPickerLook l = TEsgDateTimePicker::Look();
    l.MetroActive = MetroStyle() && !SkipFlatPaint();
    l.SkipBorders = SkipFlatPaint();
    l.NCBorderAlways = true;
    l.ThemedCoverInset = 4;
    l.ClientFrameLines = true;
    return l;
}

void TCustomDateTimePicker::WndProc(TMessage &Message)
{
    const Cardinal shift = DTPShiftFocusMessage();
    if (shift != 0 && Message.Msg == shift)
        ShiftFocus();
    TEsgDateTimePicker::WndProc(Message);
}

void TCustomDateTimePicker::KeyPress(WideChar &Key)
{
    if (!IsDigitKey(Key) || !FAutoTab) {
        TEsgDateTimePicker::KeyPress(Key);
        return;
    }
    if (Kind() == dtkTime)
        DecodeTime(TDateTimePicker::Time(), Fh, Fm, Fs, Fms);
    TEsgDateTimePicker::KeyPress(Key);
    // The picker takes the digit after this handler; the posted step looks at the result.
    if (HandleAllocated())
        PostMessage(Handle(), DTPShiftFocusMessage(), 0, 0);
}

void TCustomDateTimePicker::ShiftFocus()
{
    if (Kind() != dtkTime)
        return;
    Word h = 0, m = 0, s = 0, ms = 0;
    DecodeTime(TDateTimePicker::Time(), h, m, s, ms);
    if (h != Fh || m != Fm || s != Fs)
        PostNextField();
}

void TCustomDateTimePicker::PostNextField()
{
    if (HandleAllocated())
        PostMessage(Handle(), WM_KEYDOWN, VK_RIGHT, 0);
}

// ---- TExtDateTimePicker ----

TExtDateTimePicker::TExtDateTimePicker(TComponent *AOwner)
    : TCustomDateTimePicker(AOwner), FLabelFont(std::make_unique<TFont>())
{
    TCustomDateTimePicker::SetBorderStyle(bsSingle);
    SetCtl3D(true);
    FFocusTimer = new TTimer(this);
    FFocusTimer->SetEnabled(false);
    FFocusTimer->SetInterval(20);
    FFocusTimer->OnTimer = [this](TObject *) { FFocusTimer->SetEnabled(false); };
    FLabelFont->OnChange = [this](TObject *) {
        if (FLabel)
            UpdateLabel();
        if (ComponentState().Contains(TComponentStateItem::csDesigning))
            SetParentFont(false);
    };
}

TExtDateTimePicker::~TExtDateTimePicker()
{
    delete FFocusTimer;
    FFocusTimer = nullptr;
    if (FLabel) {
        FLabel->SetParent(nullptr);
        delete FLabel;
        FLabel = nullptr;
    }
    delete FTimePicker;
    FTimePicker = nullptr;
}

void TExtDateTimePicker::Notification(TComponent *AComponent, TOperation Operation)
{
    TCustomDateTimePicker::Notification(AComponent, Operation);
    if (Operation != TOperation::opRemove)
        return;
    if (AComponent == FLabel)
        FLabel = nullptr;
    if (AComponent == FTimePicker)
        FTimePicker = nullptr;
    if (AComponent == FFocusTimer)
        FFocusTimer = nullptr;
}

// ---- kind and time part ----

void TExtDateTimePicker::SetKind(TExtDateTimeKind Value)
{
    if (FKind == Value)
        return;
    FKind = Value;
    TDateTimePicker::SetKind(Value == dkTime ? dtkTime : dtkDate);
    if (Value == dkDateTime)
        CreateTimePicker();
    UpdateTimePicker();
}

void TExtDateTimePicker::CreateWnd()
{
    TCustomDateTimePicker::CreateWnd();
    // The time part comes with the window.
    const TExtDateTimeKind kind = FKind;
    FKind = dkDate;
    SetKind(kind);
}

void TExtDateTimePicker::CreateTimePicker()
{
    if (FTimePicker || FKind != dkDateTime)
        return;
    const TComponentState state = ComponentState();
    FTimePicker = new TCustomDateTimePicker(this);
    if (!(state.Contains(TComponentStateItem::csLoading) && state.Contains(TComponentStateItem::csDesigning)))
        FTimePicker->SetParent(this);
    FTimePicker->SetBounds(0, 0, 90, 17);
    FTimePicker->SetVisible(false);
    FTimePicker->SetEnabled(Enabled());
    FTimePicker->SetKind(dtkTime);
    // A new time part starts from the picker's value, so that coming back to dkDateTime keeps it.
    FTimePicker->SetDateTime(TDateTimePicker::DateTime());
    FTimePicker->SetAutoTab(AutoTab());
    FTimePicker->OnChange = [this](TObject *Sender) { TimePickerChange(Sender); };
    FTimePicker->OnClick = [this](TObject *) { DoClick(); };
    FTimePicker->OnKeyDown = [this](TObject *, Word &Key, TShiftState Shift) { KeyDown(Key, Shift); };
}

void TExtDateTimePicker::TimePickerChange(TObject *)
{
    // Only what the user changes in the time part is a change of the time.
    if (FSettingValue)
        return;
    // The picker takes the time at once; its own change, when there is one, is the change event.
    const TDateTime before = TDateTimePicker::DateTime();
    FSettingValue = true;
    TDateTimePicker::SetTime(FTimePicker->Time());
    FSettingValue = false;
    if (TDateTimePicker::DateTime() == before)
        DoChange();
    if (OnTimeChange)
        OnTimeChange(this);
}

void TExtDateTimePicker::UpdateTimePicker()
{
    if (!FTimePicker)
        return;
    const bool kept = FSettingValue;
    FSettingValue = true;
    if (FTimePicker->Parent() != this)
        FTimePicker->SetParent(this);
    FTimePicker->SetColor(Color());
    FTimePicker->SetEnabled(Enabled() && (Checked() || !ShowCheckbox()));
    const bool visible = FKind == dkDateTime;
    FTimePicker->SetVisible(visible);
    FTimePicker->SetTime(Time());
    FTimePicker->SetDateTime(DateTime());
    FTimePicker->SetFormat(FTimeFormat);
    FTimePicker->Font()->Assign(Font());
    FSettingValue = kept;
    const TComponentState state = ComponentState();
    const bool loading =
        state.Contains(TComponentStateItem::csLoading) && !state.Contains(TComponentStateItem::csDesigning);
    if (!visible && !loading) {
        delete FTimePicker;
        FTimePicker = nullptr;
        return;
    }
    const int A = GetTextSize(FTimePicker->Text().left(255), Font()).cx + 31;
    const int B = 0; // the platform draws no bevels
    const int W = Width(), H = Height();
    const bool newer = FlatPicker::NewerPlatform();
    const bool metro = MetroStyle() && !SkipFlatPaint();
    int left = W - A - 21, top = -2, height = H;
    if (newer && IsThemed() && ThemeLibraryAvailable() && IsThemeActive()) {
        left = W - A - B - (metro ? 21 : 34);
        top = 1;
        height = H - B - 2;
    } else if (newer && IsThemed() && ThemeLibraryAvailable()) {
        left = W - A - B - 21;
        top = 2;
        height = H - B - 4;
    } else if (newer) {
        left = W - A - B - 23;
        height = H - B;
    }
    FTimePicker->SetBounds(left, top, A, height);
}

void TExtDateTimePicker::SetBorderStyle(TBorderStyle Value)
{
    TCustomDateTimePicker::SetBorderStyle(Value);
    UpdateTimePicker();
}

void TExtDateTimePicker::SetAutoTab(bool Value)
{
    TCustomDateTimePicker::SetAutoTab(Value);
    if (FTimePicker)
        FTimePicker->SetAutoTab(Value);
}

// ---- values ----

TDateTime TExtDateTimePicker::DateTime()
{
    if (FTimePicker && FTimePicker->Time() != TDateTimePicker::Time()) {
        // Handing the time over is no tick of a cleared check box.
        const bool cleared = !Checked();
        TDateTimePicker::SetTime(FTimePicker->Time());
        if (cleared)
            SetChecked(false);
    }
    return TDateTimePicker::DateTime();
}

void TExtDateTimePicker::SetDateTime(TDateTime Value)
{
    const TDateTime v = WholeDay(Value) + WholeSeconds(Value) / double(SecsPerDay);
    const bool kept = FSettingValue;
    FSettingValue = true;
    TDateTimePicker::SetDateTime(v);
    CreateTimePicker();
    if (FTimePicker)
        FTimePicker->SetDateTime(v);
    FSettingValue = kept;
}

void TExtDateTimePicker::SetDate(TDateTime Value)
{
    SetDateTime(WholeDay(Value) + WholeSeconds(DateTime()) / double(SecsPerDay));
}

TDateTime TExtDateTimePicker::Time() const
{
    if (FKind == dkDateTime && FTimePicker)
        return FTimePicker->Time();
    return TDateTimePicker::Time();
}

void TExtDateTimePicker::SetTime(TDateTime Value)
{
    TDateTimePicker::SetTime(Value);
    UpdateTimePicker();
}

void TExtDateTimePicker::SetTimeFormat(const UnicodeString &Value)
{
    if (FTimePicker)
        FTimePicker->SetFormat(Value);
    if (FKind == dkTime)
        SetFormat(Value);
    FTimeFormat = Value;
    UpdateTimePicker();
}

void TExtDateTimePicker::DoChange()
{
    if (OnChange)
        OnChange(this);
}

void TExtDateTimePicker::DoClick()
{
    if (OnClick)
        OnClick(this);
}

// ---- auto-tab over dates ----

void TExtDateTimePicker::KeyPress(WideChar &Key)
{
    if (AutoTab() && IsDigitKey(Key))
        DecodeDate(DateTime(), Fy, Fmo, Fd);
    TCustomDateTimePicker::KeyPress(Key);
}

void TExtDateTimePicker::ShiftFocus()
{
    if (FKind == dkTime) {
        TCustomDateTimePicker::ShiftFocus();
        return;
    }
    Word y = 0, m = 0, d = 0;
    DecodeDate(DateTime(), y, m, d);
    const bool dayChanged = d != Fd, monthChanged = m != Fmo, yearChanged = y != Fy;
    auto focusTime = [this] {
        if (FTimePicker && FTimePicker->CanFocus())
            FTimePicker->SetFocus();
    };
    const UnicodeString format = Format();
    if (!format.isEmpty()) {
        // The last field of the format was typed: the time comes next.
        const QChar last = format.back().toLower();
        if ((dayChanged && last == u'd') || (monthChanged && last == u'm') || (yearChanged && last == u'y'))
            focusTime();
        else if (dayChanged || monthChanged || yearChanged)
            PostNextField();
        return;
    }
    if (dayChanged || monthChanged)
        PostNextField();
    else if (yearChanged)
        focusTime();
}

// ---- messages ----

void TExtDateTimePicker::WndProc(TMessage &Message)
{
    TCustomDateTimePicker::WndProc(Message);
    // A cleared check box set by code takes the time part off.
    if (Message.Msg == DTM_SETSYSTEMTIME && Message.WParam == GDT_NONE && ShowCheckbox() && FTimePicker &&
        !ComponentState().Contains(TComponentStateItem::csDesigning))
        FTimePicker->SetEnabled(Enabled() && Checked());
}

void TExtDateTimePicker::SendSystemTime(DWORD Flag, const SYSTEMTIME &Time)
{
    TCustomDateTimePicker::SendSystemTime(Flag, Time);
    if (ShowCheckbox() && FTimePicker)
        FTimePicker->SetEnabled(Enabled() && Checked());
}

void TExtDateTimePicker::CNNotify(TWMNotify &Message)
{
    if (!ShowCheckbox()) {
        TCustomDateTimePicker::CNNotify(Message);
        return;
    }
    if (Message.NMHdr->code == DTN_DATETIMECHANGE) {
        Fpt = {-1, -1};
        Word y0 = 0, m0 = 0, d0 = 0, y = 0, m = 0, d = 0;
        DecodeDate(DateTime(), y0, m0, d0);
        TCustomDateTimePicker::CNNotify(Message);
        DecodeDate(DateTime(), y, m, d);
        if (y != y0)
            Fpt = {80, 5};
        else if (m != m0)
            Fpt = {46, 5};
        else if (d != d0)
            Fpt = {28, 5};
        if (Fpt.X >= 0 && FFocusTimer)
            FFocusTimer->SetEnabled(true);
        // A value set by code notifies nobody here, so every notification is the user's.
        if (FTimePicker) {
            const auto *n = reinterpret_cast<const NMDATETIMECHANGE *>(Message.NMHdr);
            FTimePicker->SetEnabled(Enabled() && Checked() && n->dwFlags != GDT_NONE);
        }
    } else {
        TCustomDateTimePicker::CNNotify(Message);
    }
}

void TExtDateTimePicker::WMPaint(TWMPaint &Message)
{
    TCustomDateTimePicker::WMPaint(Message);
    if (FFirstRun) {
        FFirstRun = false;
        UpdateTimePicker();
    }
}

void TExtDateTimePicker::WMSize(TWMSize &Message)
{
    TCustomDateTimePicker::WMSize(Message);
    UpdateTimePicker();
}

void TExtDateTimePicker::CMColorChanged(TCMColorChanged &Message)
{
    TCustomDateTimePicker::CMColorChanged(Message);
    UpdateTimePicker();
}

void TExtDateTimePicker::CMEnabledChanged(TCMEnabledChanged &Message)
{
    TCustomDateTimePicker::CMEnabledChanged(Message);
    // A cleared check box keeps the time part off when the picker comes back on.
    if (FTimePicker)
        FTimePicker->SetEnabled(Enabled() && (Checked() || !ShowCheckbox()));
    if (FLabel && !FLabelAlwaysEnabled)
        FLabel->SetEnabled(Enabled());
}

void TExtDateTimePicker::CMVisibleChanged(TCMVisibleChanged &Message)
{
    TCustomDateTimePicker::CMVisibleChanged(Message);
    if (FLabel)
        FLabel->SetVisible(Visible());
}

void TExtDateTimePicker::WMSetFocus(TWMSetFocus &Message)
{
    TCustomDateTimePicker::WMSetFocus(Message);
    if (FocusLabel && FLabel && !ComponentState().Contains(TComponentStateItem::csLoading)) {
        TFontStyles style = FLabel->Font()->Style();
        style.Include(TFontStyle::fsBold);
        FLabel->Font()->SetStyle(style);
    }
}

void TExtDateTimePicker::WMKillFocus(TWMKillFocus &Message)
{
    if (FocusLabel && FLabel && !ComponentState().Contains(TComponentStateItem::csLoading)) {
        TFontStyles style = FLabel->Font()->Style();
        style.Exclude(TFontStyle::fsBold);
        FLabel->Font()->SetStyle(style);
    }
    TCustomDateTimePicker::WMKillFocus(Message);
}

void TExtDateTimePicker::CMFontChanged(TCMFontChanged &Message)
{
    const TComponentState state = ComponentState();
    if (FLabel && ParentFont() &&
        (state.Contains(TComponentStateItem::csDesigning) || state.Contains(TComponentStateItem::csLoading)))
        FLabel->Font()->Assign(Font());
    TCustomDateTimePicker::CMFontChanged(Message);
}

void TExtDateTimePicker::CMParentFontChanged(TCMParentFontChanged &Message)
{
    TCustomDateTimePicker::CMParentFontChanged(Message);
    if (FLabel && ParentFont())
        FLabel->Font()->Assign(Font());
}

void TExtDateTimePicker::Loaded()
{
    TCustomDateTimePicker::Loaded();
    if (!ComponentState().Contains(TComponentStateItem::csDesigning)) {
        CreateTimePicker();
        UpdateTimePicker();
        if (!Checked()) {
            SetChecked(false);
            if (FTimePicker)
                FTimePicker->SetEnabled(false);
        }
    }
    if (FLabel && !FLabelAlwaysEnabled)
        FLabel->SetEnabled(Enabled());
    UpdateLabel();
    if (FLabel && ParentFont())
        FLabel->Font()->Assign(Font());
    FParentFnt = ParentFont();
    UpdateLabel();
}

// ---- label ----

void TExtDateTimePicker::SetParent(TWinControl *AParent)
{
    TCustomDateTimePicker::SetParent(AParent);
    if (FLabel) {
        FLabel->SetParent(AParent);
        UpdateLabel();
    }
}

void TExtDateTimePicker::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    TCustomDateTimePicker::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (FLabel && FLabel->Parent())
        UpdateLabel();
}

void TExtDateTimePicker::CreateLabel()
{
    FLabel = new TLabel(this);
    FLabel->SetParent(Parent());
    FLabel->SetFocusControl(this);
    FLabel->Font()->Assign(FLabelFont.get());
    FLabel->SetParentFont(ParentFont());
    FLabel->OnClick = [this](TObject *) {
        if (OnLabelClick)
            OnLabelClick(this);
    };
    FLabel->OnDblClick = [this](TObject *) {
        if (OnLabelDblClick)
            OnLabelDblClick(this);
    };
}

UnicodeString TExtDateTimePicker::LabelCaption() const
{
    return FLabel ? FLabel->Caption() : UnicodeString();
}

void TExtDateTimePicker::SetLabelCaption(const UnicodeString &Value)
{
    if (!FLabel)
        CreateLabel();
    FLabel->SetCaption(Value);
    UpdateLabel();
}

void TExtDateTimePicker::SetLabelPosition(TLabelPosition Value)
{
    FLabelPosition = Value;
    if (FLabel)
        UpdateLabel();
}

void TExtDateTimePicker::SetLabelMargin(int Value)
{
    FLabelMargin = Value;
    if (FLabel)
        UpdateLabel();
}

void TExtDateTimePicker::SetLabelTransparent(bool Value)
{
    FLabelTransparent = Value;
    if (FLabel)
        UpdateLabel();
}

void TExtDateTimePicker::SetLabelAlwaysEnabled(bool Value)
{
    FLabelAlwaysEnabled = Value;
    if (FLabel && Value)
        FLabel->SetEnabled(true);
    Invalidate();
}

void TExtDateTimePicker::SetLabelFont(TFont *Value)
{
    if (!ParentFont())
        FLabelFont->Assign(Value);
    if (FLabel)
        UpdateLabel();
}

void TExtDateTimePicker::UpdateLabel()
{
    if (!FLabel)
        return;
    FLabel->SetTransparent(FLabelTransparent);
    FLabel->Font()->Assign(FParentFnt ? Font() : FLabelFont.get());
    // The thirteen places are the drop-down edit's first thirteen.
    const int TW = GetTextSize(FLabel->Caption(), FLabel->Font()).cx;
    const TPoint at = EdgeLabelPlacement(FLabelPosition, BoundsRect(), TW, {FLabel->Width(), FLabel->Height()},
                                         FLabelMargin);
    FLabel->SetBounds(at.X, at.Y, FLabel->Width(), FLabel->Height());
    FLabel->SetVisible(Visible());
}
