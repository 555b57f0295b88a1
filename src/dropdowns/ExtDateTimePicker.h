#pragma once
// The auto-tab date-time picker and the labelled picker grown from it.
//
// TCustomDateTimePicker is the flat picker with its own differences: Ctl3D off and a black
// BorderColor at first, the frame lines whenever Ctl3D is off (in the parent's colour without a
// border style, so a bare picker blends in), and no Metro look at all while SkipFlatPaint holds.
// It moves the input to the next field by itself once a typed digit has
// changed the field under the caret (AutoTab): the digit is handled first, then a posted
// "DTPShiftFocus" message compares the value with the one noted before the digit.
//
// TExtDateTimePicker edits a date, a time or both (TExtDateTimeKind). For both it keeps a time
// part, a bare auto-tab picker of the time kind, inside its own right-hand area; the value is
// always held in whole seconds. It may carry a caption label outside its edge.

#include "dropdowns/EsgDateTimePicker.h"
#include "platform/Graphics.h"
#include "platform/StdCtrls.h"
#include "platform/SysUtils.h"

#include <memory>

class TTimer;

// The identifier of the registered window message "DTPShiftFocus"; every picker that moves on by
// itself (the grid's date editors too) shares this one registration.
Cardinal DTPShiftFocusMessage();

// The width and height of Text on one line in Font.
TSize GetTextSize(const UnicodeString &Text, TFont *Font);

class TCustomDateTimePicker : public TEsgDateTimePicker {
public:
    explicit TCustomDateTimePicker(TComponent *AOwner);

    bool AutoTab() const { return FAutoTab; }
    virtual void SetAutoTab(bool Value) { FAutoTab = Value; }
    // The bare picker never takes the flat look, whatever MetroStyle says.
    virtual bool SkipFlatPaint() const { return true; }
    TFlatPickerLook Look() const override;
    void WndProc(TMessage &Message) override;

protected:
    void KeyPress(WideChar &Key) override;
    // The posted step after a typed digit: moves to the next field when the digit changed one.
    virtual void ShiftFocus();
    // Moves the input to the next field, as the Right arrow does.
    void PostNextField();

    Word Fh = 0, Fm = 0, Fs = 0, Fms = 0;

private:
    bool FAutoTab = false;
};

enum TExtDateTimeKind { dkDate, dkTime, dkDateTime };

class TExtDateTimePicker : public TCustomDateTimePicker {
public:
    enum TLabelPosition {
        lpLeftTop, lpLeftCenter, lpLeftBottom, lpTopLeft, lpBottomLeft, lpLeftTopLeft, lpLeftCenterLeft,
        lpLeftBottomLeft, lpTopCenter, lpBottomCenter, lpRightTop, lpRightCenter, lpRighBottom
    };

    explicit TExtDateTimePicker(TComponent *AOwner);
    ~TExtDateTimePicker() override;

    TExtDateTimeKind Kind() const { return FKind; }
    void SetKind(TExtDateTimeKind Value);
    // The date with the time of day the time part shows.
    TDateTime DateTime();
    // Drops the milliseconds; the time part takes the same value.
    virtual void SetDateTime(TDateTime Value);
    TDateTime Date() const { return TDateTimePicker::Date(); }
    // Keeps the time of day.
    void SetDate(TDateTime Value);
    TDateTime Time() const;
    // Only the picker's own time: with a time part it changes nothing that Time or DateTime read.
    void SetTime(TDateTime Value);
    const UnicodeString &TimeFormat() const { return FTimeFormat; }
    void SetTimeFormat(const UnicodeString &Value);
    UnicodeString Version() const { return QStringLiteral("1.2.0.0"); }
    void SetVersion(const UnicodeString &) {}

    void SetAutoTab(bool Value) override;
    void SetBorderStyle(TBorderStyle Value) override;
    bool SkipFlatPaint() const override { return false; }
    void SetParent(TWinControl *AParent) override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void Loaded() override;
    void WndProc(TMessage &Message) override;
    // The last date change by the user: where the changed field stands ((-1, -1): none).
    TPoint ChangedFieldPos() const { return Fpt; }

    // ---- label ----
    UnicodeString LabelCaption() const;
    void SetLabelCaption(const UnicodeString &Value);
    TLabelPosition LabelPosition() const { return FLabelPosition; }
    void SetLabelPosition(TLabelPosition Value);
    int LabelMargin() const { return FLabelMargin; }
    void SetLabelMargin(int Value);
    bool LabelTransparent() const { return FLabelTransparent; }
    void SetLabelTransparent(bool Value);
    bool LabelAlwaysEnabled() const { return FLabelAlwaysEnabled; }
    void SetLabelAlwaysEnabled(bool Value);
    TFont *LabelFont() const { return FLabelFont.get(); }
    void SetLabelFont(TFont *Value);
    bool FocusLabel = false;
    // The label, or nullptr before the first caption.
    TLabel *PickerLabel() const { return FLabel; }
    // The time part of dkDateTime, or nullptr.
    TCustomDateTimePicker *TimePicker() const { return FTimePicker; }

    TNotifyEvent OnTimeChange;
    TNotifyEvent OnLabelClick;
    TNotifyEvent OnLabelDblClick;

protected:
    void CreateWnd() override;
    void SendSystemTime(DWORD Flag, const SYSTEMTIME &Time) override;
    void CNNotify(TWMNotify &Message) override;
    void KeyPress(WideChar &Key) override;
    void ShiftFocus() override;
    void WMPaint(TWMPaint &Message) override;
    void WMSize(TWMSize &Message) override;
    void WMSetFocus(TWMSetFocus &Message) override;
    void WMKillFocus(TWMKillFocus &Message) override;
    void CMColorChanged(TCMColorChanged &Message) override;
    void CMEnabledChanged(TCMEnabledChanged &Message) override;
    void CMVisibleChanged(TCMVisibleChanged &Message) override;
    void CMFontChanged(TCMFontChanged &Message) override;
    void CMParentFontChanged(TCMParentFontChanged &Message) override;
    virtual void DoChange();
    virtual void DoClick();
    // The form frees its children first: the label may go before the picker.
    void Notification(TComponent *AComponent, TOperation Operation) override;

private:
    void CreateTimePicker();
    void UpdateTimePicker();
    void TimePickerChange(TObject *Sender);
    void CreateLabel();
    void UpdateLabel();

    TExtDateTimeKind FKind = dkDateTime;
    TTimer *FFocusTimer = nullptr;
    TPoint Fpt{-1, -1};
    UnicodeString FTimeFormat;
    Word Fy = 0, Fmo = 0, Fd = 0;
    TLabel *FLabel = nullptr;
    std::unique_ptr<TFont> FLabelFont;
    TLabelPosition FLabelPosition = lpLeftTop;
    int FLabelMargin = 4;
    bool FLabelTransparent = false;
    bool FLabelAlwaysEnabled = false;
    bool FParentFnt = false;
    bool FFirstRun = true;
    bool FSettingValue = false;
    TCustomDateTimePicker *FTimePicker = nullptr;
};
