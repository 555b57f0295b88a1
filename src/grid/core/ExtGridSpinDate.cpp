// The grid's spin editor: shown for the integer, float, time and date spin cells, it commits on
// Enter, Tab and the arrow keys of the grid and leaves the cell untouched on Escape.
#include "grid/core/ExtGrid.h"
#include "grid/core/ExtGridOwner.h"

#include "controls/ExtGridUtil.h"
#include "controls/GridOptions.h"
#include "platform/Controls.h"
#include "platform/SysUtils.h"
#include "platform/WindowPlacement.h"
#include "platform/Windows.h"

namespace {

bool IsSpinType(TEditorType Type)
{
    return Type == edSpinEdit || Type == edFloatSpinEdit || Type == edTimeSpinEdit || Type == edDateSpinEdit;
}

bool IsDatePickerType(TEditorType Type)
{
    return Type == edDateEdit || Type == edDateEditUpDown || Type == edTimeEdit;
}

// The value a picker starts from: the cell text read as a time or a date, now when it reads as
// neither.
TDateTime PickerValueOf(const UnicodeString &Text, bool TimeKind)
{
    TDateTime v = 0;
    if (Text.trimmed().isEmpty())
        return Now();
    if (TimeKind ? TryStrToTime(Text, v) : TryStrToDate(Text, v))
        return v;
    return Now();
}

} // namespace

// ---- TGridSpin ----

TGridSpin::TGridSpin(TComponent *AOwner) : TEsgSpinEdit(AOwner), FGrid(OwnerGrid(AOwner)) {}

void TGridSpin::DoSpinClick(bool UpDown)
{
    // A step of the user's shows in the cell as a typed value does.
    FGrid->ShowEditProcess(this);
    const int col = FGrid->Col(), row = FGrid->Row();
    switch (SpinType()) {
    case sptNormal:
        if (FGrid->OnSpinClick)
            FGrid->OnSpinClick(FGrid, col, row, GetValue(), UpDown);
        break;
    case sptFloat:
        if (FGrid->OnFloatSpinClick)
            FGrid->OnFloatSpinClick(FGrid, col, row, GetFloatValue(), UpDown);
        break;
    case sptDate:
        if (FGrid->OnDateSpinClick)
            FGrid->OnDateSpinClick(FGrid, col, row, GetDateValue(), UpDown);
        break;
    case sptTime:
        if (FGrid->OnTimeSpinClick)
            FGrid->OnTimeSpinClick(FGrid, col, row, GetTimeValue(), UpDown);
        break;
    }
}

void TGridSpin::UpClick(TObject *Sender)
{
    TEsgSpinEdit::UpClick(Sender);
    DoSpinClick(true);
}

void TGridSpin::DownClick(TObject *Sender)
{
    TEsgSpinEdit::DownClick(Sender);
    DoSpinClick(false);
}

void TGridSpin::CMWantSpecialKey(TCMWantSpecialKey &Message)
{
    TEsgSpinEdit::CMWantSpecialKey(Message);
    if (Message.CharCode == VK_RETURN || Message.CharCode == VK_ESCAPE ||
        (Message.CharCode == VK_TAB && FGrid->Options().Contains(goTabs)))
        Message.Result = 1;
}

void TGridSpin::KeyDown(Word &Key, TShiftState Shift)
{
    const bool numeric = SpinType() == sptNormal || SpinType() == sptFloat;
    if (Key == VK_PRIOR || Key == VK_NEXT || Key == VK_HOME || Key == VK_END) {
        if (numeric) {
            const bool flt = SpinType() == sptFloat;
            switch (Key) {
            case VK_PRIOR:
                if (!flt && GetValue() + Increment <= MaxValue)
                    SetValue(GetValue() + Increment);
                else if (flt && GetFloatValue() + IncrementFloat <= MaxFloatValue)
                    SetFloatValue(GetFloatValue() + IncrementFloat);
                break;
            case VK_NEXT:
                if (!flt && GetValue() - Increment >= MinValue)
                    SetValue(GetValue() - Increment);
                else if (flt && GetFloatValue() - IncrementFloat >= MinFloatValue)
                    SetFloatValue(GetFloatValue() - IncrementFloat);
                break;
            case VK_HOME:
                flt ? SetFloatValue(MaxFloatValue) : SetValue(MaxValue);
                break;
            default:
                flt ? SetFloatValue(MinFloatValue) : SetValue(MinValue);
                break;
            }
        }
        // Whatever the spin type, the keyboard reports through the integer event.
        if (FGrid->OnSpinClick)
            FGrid->OnSpinClick(FGrid, FGrid->Col(), FGrid->Row(), GetValue(), Key == VK_PRIOR || Key == VK_HOME);
        return;
    }
    if (Key != VK_TAB && Key != VK_RETURN && Key != VK_ESCAPE && Key != VK_UP && Key != VK_DOWN) {
        TEsgSpinEdit::KeyDown(Key, Shift);
        return;
    }
    if (Key == VK_ESCAPE) {
        SetText(FGrid->FCellCache);
        Restored = true;
    } else {
        FGrid->SetCurrentCell(Text());
        if (!FGrid->ValidateCell(Text())) {
            SetText(FGrid->GetCurrentCell());
            SetSelStart(int(Text().size()));
            Key = 0;
            FGrid->FNoAutoAdvance = true;
            Repaint();
            return;
        }
        SetText(FGrid->GetCurrentCell());
    }
    if (Key == VK_TAB && FGrid->Options().Contains(goTabs)) {
        FGrid->HideInplaceEdit();
        FGrid->FocusGridQuietly();
        FGrid->HandleTabKey(Shift.Contains(ssShift));
        Key = 0;
        return;
    }
    FGrid->DoneInplaceEdit(Key, Shift);
    if (FGrid->Navigation()->AdvanceOnEnter && FGrid->Navigation()->AdvanceAutoEdit)
        FGrid->ShowInplaceEdit();
    Key = 0;
    TEsgSpinEdit::KeyDown(Key, Shift);
}

void TGridSpin::KeyPress(WideChar &Key)
{
    if (Key == 27)
        Key = 0;
    if (Key != 13)
        TEsgSpinEdit::KeyPress(Key);
}

void TGridSpin::WMChar(TWMKey &Message)
{
    if (Message.CharCode == VK_TAB || Message.CharCode == VK_RETURN) {
        Message.Result = 1;
        return;
    }
    TEsgSpinEdit::WMChar(Message);
}

void TGridSpin::Change()
{
    TEsgSpinEdit::Change();
    FGrid->EditorTextChanged(Text());
}

void TGridSpin::DoExit()
{
    FGrid->EditorExited();
    TEsgSpinEdit::DoExit();
}

// ---- TGridDatePicker ----

namespace {

bool IsLastField(QChar Last, char Letter)
{
    return Last.toLower() == QLatin1Char(Letter);
}

} // namespace

TGridDatePicker::TGridDatePicker(TComponent *AOwner) : TEsgDateTimePicker(AOwner), FGrid(OwnerGrid(AOwner)) {}

void TGridDatePicker::CMWantSpecialKey(TCMWantSpecialKey &Message)
{
    TEsgDateTimePicker::CMWantSpecialKey(Message);
    if (Message.CharCode == VK_RETURN || Message.CharCode == VK_ESCAPE ||
        (Message.CharCode == VK_TAB && FGrid->NeedsEditorTab()))
        Message.Result = 1;
}

bool TGridDatePicker::CommitCheck(Word &Key)
{
    FGrid->SetCurrentCell(Text());
    if (FGrid->ValidateCell(Text()))
        return true;
    // The refused edit shows the text validation left for the cell.
    TDateTime v = 0;
    if (Kind() == dtkTime ? TryStrToTime(FGrid->FNewCellText, v) : TryStrToDate(FGrid->FNewCellText, v))
        Kind() == dtkTime ? SetTime(v) : SetDate(v);
    Repaint();
    Key = 0;
    FGrid->FNoAutoAdvance = true;
    return false;
}

void TGridDatePicker::KeyDown(Word &Key, TShiftState Shift)
{
    if (Key != VK_TAB && Key != VK_RETURN && Key != VK_ESCAPE && Key != VK_PRIOR && Key != VK_NEXT && Key != VK_END) {
        TEsgDateTimePicker::KeyDown(Key, Shift);
        return;
    }
    if (Key == VK_ESCAPE) {
        // The picker shows the cell again; the commit writes nothing, so the cell keeps exactly
        // the text it had, also when that is empty or no date.
        const TDateTime v = PickerValueOf(FGrid->GetCurrentCell(), Kind() == dtkTime);
        if (Kind() == dtkTime)
            SetTime(v);
        else
            SetDate(v);
        Restored = true;
    } else if (Key == VK_RETURN) {
        // Completes a field typed in part.
        Perform(WM_KEYDOWN, VK_RIGHT, 0);
        Perform(WM_KEYUP, VK_RIGHT, 0);
        if (!CommitCheck(Key))
            return;
    } else if (Key == VK_TAB && FGrid->NeedsEditorTab()) {
        if (!CommitCheck(Key))
            return;
        if (FGrid->Options().Contains(goTabs)) {
            FGrid->HideInplaceEdit();
            FGrid->FocusGridQuietly();
            FGrid->HandleTabKey(Shift.Contains(ssShift));
            Key = 0;
            return;
        }
        if (FGrid->HandleAllocated())
            PostMessage(FGrid->Handle(), WM_KEYDOWN, VK_TAB, 0);
    }
    if (!DroppedDown())
        FGrid->DoneInplaceEdit(Key, Shift);
    Key = 0;
}

void TGridDatePicker::KeyPress(WideChar &Key)
{
    if (Key >= '0' && Key <= '9') {
        DecodeDate(DateTime(), Fy, Fm, Fd);
        DecodeTime(DateTime(), Fth, Ftm, Fts, Ftms);
        TEsgDateTimePicker::KeyPress(Key);
        if (HandleAllocated())
            PostMessage(Handle(), DTPShiftFocusMessage(), 0, 0);
    } else {
        TEsgDateTimePicker::KeyPress(Key);
    }
    if (FGrid->OnKeyPress)
        FGrid->OnKeyPress(FGrid, Key);
}

void TGridDatePicker::WndProc(TMessage &Message)
{
    TEsgDateTimePicker::WndProc(Message);
    if (Message.Msg == DTPShiftFocusMessage())
        ShiftFocus();
}

void TGridDatePicker::ShiftFocus()
{
    Word y, m, d, h, n, sec, ms;
    DecodeDate(DateTime(), y, m, d);
    DecodeTime(DateTime(), h, n, sec, ms);
    bool next = false;
    if (Kind() == dtkTime) {
        next = h != Fth || n != Ftm || sec != Fts;
    } else if (!Format().isEmpty()) {
        // The last field of the format stays where it is.
        const QChar last = Format().back();
        if ((d != Fd && IsLastField(last, 'd')) || (m != Fm && IsLastField(last, 'm')) ||
            (y != Fy && IsLastField(last, 'y')))
            return;
        next = d != Fd || m != Fm || y != Fy;
    } else {
        next = d != Fd || m != Fm;
    }
    if (next && HandleAllocated())
        PostMessage(Handle(), WM_KEYDOWN, VK_RIGHT, 0);
}

void TGridDatePicker::DrawNCExtras(TCanvas *DC)
{
    // Two frames in the window colour over the platform's edge, so that the picker sits flat
    // in its cell.
    DC->Brush()->SetStyle(TBrushStyle::bsSolid);
    DC->Brush()->SetColor(clWindow);
    DC->FrameRect(TRect(0, 0, Width(), Height()));
    DC->FrameRect(TRect(1, 1, Width() - 1, Height() - 1));
}

void TGridDatePicker::DoExit()
{
    FGrid->EditorExited();
    TEsgDateTimePicker::DoExit();
}

// ---- the date picker's bridge ----

void TExtStringGrid::DatePickerEditChange(TObject *Picker)
{
    auto *p = dynamic_cast<TDateTimePicker *>(Picker);
    // The value the editor is loaded with when it is shown is no edit.
    if (!OnEditChange || !p || !p->Visible())
        return;
    OnEditChange(this, Col(), Row(), p->Kind() == dtkTime ? TimeToStr(p->Time()) : DateToStr(p->Date()));
}

void TExtStringGrid::DatePickerCloseUp(TObject *Sender)
{
    if (OnDatePickerCloseUp)
        OnDatePickerCloseUp(Sender, Row(), Col());
    if (FMouseActions->DirectDateClose)
        HideInplaceEdit();
}

void TExtStringGrid::DatePickerDropDown(TObject *Picker)
{
    auto *p = dynamic_cast<TGridDatePicker *>(Picker);
    if (!p)
        return;
    auto cal = reinterpret_cast<HWND>(p->Perform(DTM_GETMONTHCAL));
    if (cal) {
        LPARAM style = GetWindowLong(cal, GWL_STYLE);
        if (!p->ShowToday)
            style |= LPARAM(MCS_NOTODAY);
        if (!p->ShowTodayCircle)
            style |= LPARAM(MCS_NOTODAYCIRCLE);
        if (p->Weeknumbers)
            style |= LPARAM(MCS_WEEKNUMBERS);
        SetWindowLong(cal, GWL_STYLE, style);
        TRect r;
        SendMessage(cal, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&r));
        SetWindowPos(cal, nullptr, 0, 0, r.Right - r.Left + 2, r.Bottom - r.Top + 2, SWP_NOZORDER);
    }
    if (OnDatePickerDropDown)
        OnDatePickerDropDown(this, Row(), Col());
}

// ---- the grid's side ----

TGridDatePicker *TExtStringGrid::DateTimePicker()
{
    if (!FDatePicker) {
        FDatePicker = new TGridDatePicker(this);
        FDatePicker->SetVisible(false);
        FDatePicker->SetEnabled(false);
        FDatePicker->SetParent(this);
        FDatePicker->OnCloseUp = [this](TObject *Sender) { DatePickerCloseUp(Sender); };
        FDatePicker->OnDropDown = [this](TObject *Sender) { DatePickerDropDown(Sender); };
        FDatePicker->OnChange = [this](TObject *Sender) { DatePickerEditChange(Sender); };
    }
    return FDatePicker;
}

TGridSpin *TExtStringGrid::SpinEdit()
{
    if (!FSpinEdit) {
        FSpinEdit = new TGridSpin(this);
        FSpinEdit->SetVisible(false);
        FSpinEdit->SetEnabled(false);
        FSpinEdit->SetBorderStyle(bsNone);
        FSpinEdit->SetParent(this);
        FSpinEdit->SetIsWinXP(FIsWinXP);
    }
    return FSpinEdit;
}

bool TExtStringGrid::ShowSpinDateEditor(int ACol, int ARow, const TRect &R, const UnicodeString &EditText)
{
    if (IsDatePickerType(EditControl)) {
        ShowDatePicker(ACol, ARow, R, EditText);
        return true;
    }
    if (!IsSpinType(EditControl))
        return false;
    EditMode = true;
    TGridSpin *s = SpinEdit();
    s->Restored = false;
    s->SetBounds(R.Left, R.Top, R.Right - R.Left - 1, R.Bottom - R.Top - 1);
    s->SetVisible(true);
    s->SetEnabled(true);
    s->SetColor(FEditorColor);
    s->ExcelStyleDecimalSeparator = ExcelStyleDecimalSeparator;
    DoGetEditorProp(ACol, ARow);
    switch (EditControl) {
    case edSpinEdit: {
        int v = 0;
        s->SetSpinType(sptNormal);
        s->SetValue(TryStrToInt(EditText.trimmed(), v) ? v : 0);
        break;
    }
    case edFloatSpinEdit: {
        double v = 0;
        s->SetSpinType(sptFloat);
        s->SetFloatValue(TryStrToFloat(ExtractNumberText(EditText), v) ? v : 0);
        break;
    }
    case edTimeSpinEdit:
        s->SetText(EditText);
        s->SetSpinType(sptTime);
        break;
    default: {
        TDateTime d = 0;
        s->SetSpinType(sptDate);
        s->SetDateValue(!EditText.isEmpty() && TryStrToDate(EditText, d) ? d : Now());
        break;
    }
    }
    if (s->CanFocus())
        s->SetFocus();
    if (FStartEditChar >= 32) {
        s->SelectAll();
        s->SetSelText(UnicodeString{QChar(char16_t(FStartEditChar))});
    }
    if (FSpinUpClick)
        s->StepUp(false);
    else if (FSpinDnClick)
        s->StepDown(false);
    EditCtrl = s;
    return true;
}

void TExtStringGrid::ShowDatePicker(int ACol, int ARow, const TRect &R, const UnicodeString &EditText)
{
    EditMode = true;
    TGridDatePicker *p = DateTimePicker();
    p->Restored = false;
    const bool timeKind = EditControl == edTimeEdit;
    TDateTime v = PickerValueOf(EditText, timeKind);
    if (!timeKind && !EditText.trimmed().isEmpty()) {
        TDateTime read = 0;
        if (OnCustomStrToDate) {
            v = Now();
            OnCustomStrToDate(this, EditText, v);
        } else if (TryStrToDate(EditText, read)) {
            v = read;
            if (p->MaxDate() != 0 && v > p->MaxDate())
                v = p->MaxDate() - 1;
            if (p->MinDate() != 0 && v <= p->MinDate())
                v = p->MinDate() + 1;
        }
    }
    p->SetKind(timeKind ? dtkTime : dtkDate);
    if (timeKind)
        p->SetTime(v);
    else
        p->SetDate(v);
    p->SetDateMode(EditControl == edDateEditUpDown ? dmUpDown : dmComboBox);
    DoGetEditorProp(ACol, ARow);
    p->SetBounds(R.Left, R.Top, R.Right - R.Left - 1, R.Bottom - R.Top - 1);
    // A new editor starts in the first field, as the editor is made anew for each cell.
    p->SetFieldIndex(0);
    p->SetEnabled(true);
    p->SetVisible(true);
    p->SetColor(FEditorColor);
    if (p->CanFocus())
        p->SetFocus();
    if (!timeKind && p->HandleAllocated()) {
        if (FMouseActions->DirectDateDrop)
            p->Perform(WM_KEYDOWN, VK_F4, 0);
        if (FStartEditChar >= 32)
            PostMessage(p->Handle(), WM_CHAR, WPARAM(FStartEditChar), 0);
    }
    EditCtrl = p;
}

bool TExtStringGrid::CommitSpinDateEditor(int ACol, int ARow)
{
    if (IsDatePickerType(EditControl)) {
        TGridDatePicker *p = DateTimePicker();
        EditMode = false;
        if (!p->Restored) {
            if (EditControl == edTimeEdit) {
                // The text is written in the picker's own format, the locale's put back after.
                const UnicodeString kept = FormatSettings.LongTimeFormat;
                if (!p->Format().isEmpty())
                    FormatSettings.LongTimeFormat = p->Format();
                try {
                    WriteEditValue(ACol, ARow, p->Text());
                } catch (...) {
                    FormatSettings.LongTimeFormat = kept;
                    throw;
                }
                FormatSettings.LongTimeFormat = kept;
            } else {
                WriteEditValue(ACol, ARow, p->Checked() ? p->Text() : UnicodeString());
            }
        }
        p->Restored = false;
        p->SetEnabled(false);
        p->SetVisible(false);
        return true;
    }
    if (!IsSpinType(EditControl))
        return false;
    TGridSpin *s = SpinEdit();
    EditMode = false;
    if (s->Restored) {
        // The cell gets back what it held when the edit began; it may show the typed text.
        if (GetCellEx(ACol, ARow) != FCellCache)
            WriteEditValue(ACol, ARow, FCellCache);
    } else if (s->AllowEmptyValue && s->Text().trimmed().isEmpty()) {
        SetCellEx(ACol, ARow, UnicodeString());
    } else {
        switch (EditControl) {
        case edSpinEdit: SetInts(ACol, ARow, s->GetValue()); break;
        case edFloatSpinEdit: SetFloats(ACol, ARow, s->GetFloatValue()); break;
        case edTimeSpinEdit: WriteEditValue(ACol, ARow, s->Text()); break;
        default: SetDates(ACol, ARow, s->GetDateValue()); break;
        }
    }
    s->Restored = false;
    s->SetEnabled(false);
    s->SetVisible(false);
    return true;
}

// ---- TGridDateTimePicker: the date-and-time editor ----

TGridDateTimePicker::TGridDateTimePicker(TComponent *AOwner) : TExtDateTimePicker(AOwner), FGrid(OwnerGrid(AOwner)) {}

bool TGridDateTimePicker::WantsKey(Word Key)
{
    return Key == VK_RETURN || Key == VK_ESCAPE || (Key == VK_TAB && FGrid->NeedsEditorTab());
}

void TGridDateTimePicker::CMWantSpecialKey(TCMWantSpecialKey &Message)
{
    TExtDateTimePicker::CMWantSpecialKey(Message);
    if (WantsKey(Message.CharCode))
        Message.Result = 1;
}

void TGridDateTimePicker::CMChildKey(TCMChildKey &Message)
{
    // The time part is a plain picker: its Enter, Escape and Tab end the edit here.
    const auto *from = reinterpret_cast<const TWinControl *>(Message.KeyData);
    if (TimePicker() && from == TimePicker() && WantsKey(Message.CharCode)) {
        Word key = Message.CharCode;
        KeyDown(key, GetShiftState());
        Message.Result = 1;
        return;
    }
    TExtDateTimePicker::CMChildKey(Message);
}

void TGridDateTimePicker::KeyDown(Word &Key, TShiftState Shift)
{
    if (Key == VK_ESCAPE) {
        // The whole value as loaded, time included; the commit then leaves the cell untouched.
        SetDateTime(FGrid->FOriginalDateTime);
        Restored = true;
        FGrid->HideInplaceEdit();
        FGrid->FocusGridQuietly();
        Key = 0;
        return;
    }
    if (Key == VK_RETURN) {
        FGrid->HideInplaceEdit();
        FGrid->FocusGridQuietly();
        if (FGrid->Navigation()->AdvanceOnEnter)
            FGrid->AdvanceCell(FGrid->Col(), FGrid->Row(), false, true, true, false, true);
        Key = 0;
        return;
    }
    if (Key == VK_TAB && FGrid->NeedsEditorTab()) {
        // The commit has written date and time; the picker's text alone would drop the time.
        FGrid->HideInplaceEdit();
        FGrid->FocusGridQuietly();
        FGrid->HandleTabKey(Shift.Contains(ssShift));
        Key = 0;
        return;
    }
    TExtDateTimePicker::KeyDown(Key, Shift);
}

void TGridDateTimePicker::DoExit()
{
    FGrid->EditorExited();
    TExtDateTimePicker::DoExit();
}

TGridDateTimePicker *TExtStringGrid::DateAndTimePicker()
{
    if (!FDateAndTimePicker) {
        FDateAndTimePicker = new TGridDateTimePicker(this);
        FDateAndTimePicker->SetVisible(false);
        FDateAndTimePicker->SetEnabled(false);
        FDateAndTimePicker->SetAutoTab(true);
        FDateAndTimePicker->OnTimeChange = [this](TObject *Sender) { DateTimePickerChange(Sender); };
        FDateAndTimePicker->OnCloseUp = [this](TObject *Sender) { DatePickerCloseUp(Sender); };
        FDateAndTimePicker->SetParent(this);
    }
    return FDateAndTimePicker;
}

void TExtStringGrid::DateTimePickerChange(TObject *)
{
    if (OnDateTimeChange && FDateAndTimePicker)
        OnDateTimeChange(this, Col(), Row(), FDateAndTimePicker->DateTime());
}

void TExtStringGrid::ShowDateTimeEditor(int ACol, int ARow, const TRect &R, const UnicodeString &EditText)
{
    EditMode = true;
    TGridDateTimePicker *p = DateAndTimePicker();
    p->Restored = false;
    TDateTime v = 0;
    if (EditText.trimmed().isEmpty() || !TryStrToDateTime(EditText, v))
        v = Now();
    FOriginalDateTime = v;
    p->SetDateTime(v);
    p->SetKind(dkDateTime);
    p->SetBorderStyle(bsNone);
    const int H = R.Bottom - R.Top - 1;
    p->SetBounds(R.Left, R.Top, R.Right - R.Left - 1, p->Height() < H ? H : p->Height());
    DoGetEditorProp(ACol, ARow);
    p->SetEnabled(true);
    p->SetVisible(true);
    p->SetColor(FEditorColor);
    if (p->CanFocus())
        p->SetFocus();
}

void TExtStringGrid::CommitDateTimeEditor(int ACol, int ARow)
{
    TGridDateTimePicker *p = DateAndTimePicker();
    EditMode = false;
    // Escape restored the value: the cell keeps its text, empty or unreadable as it may be.
    if (!p->Restored)
        WriteEditValue(ACol, ARow,
                       p->Checked() ? FormatDateTime(FormatSettings.ShortDateFormat + QLatin1Char(' ') +
                                                         FormatSettings.ShortTimeFormat,
                                                     p->DateTime())
                                    : UnicodeString());
    p->Restored = false;
    p->SetEnabled(false);
    p->SetVisible(false);
}
