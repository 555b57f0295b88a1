#pragma once
// The spin button pair and the spin edit: a masked edit holding an integer, a float, a date or a
// time of day, stepped by the pair's buttons (which repeat while held), the arrow keys and Page
// Up/Page Down, and typed character by character as its kind allows.

#include "platform/Buttons.h"
#include "platform/ExtCtrls.h"
#include "platform/Mask.h"
#include "platform/Sets.h"
#include "platform/SysUtils.h"

enum TSpinDirection { spVertical, spHorizontal };
enum TButtonDirection { bdLeft, bdRight, bdUp, bdDown };
enum TTimeBtnStateItem { tbFocusRect, tbAllowTimer };
using TTimeBtnState = TSet<TTimeBtnStateItem, 2>;
enum TEsgSpinType { sptNormal, sptFloat, sptDate, sptTime };
enum TEditAlign { eaLeft, eaRight, eaCenter };

class TEsgSpinButton;

// One button of the pair: clicks again and again while held (after 400 ms, then every 100 ms).
class TExtTimerSpeedButton : public TSpeedButton {
public:
    explicit TExtTimerSpeedButton(TComponent *AOwner);
    ~TExtTimerSpeedButton() override;

    TTimeBtnState TimeBtnState;
    TButtonDirection ButtonDirection = bdUp;
    bool FIsWinXP = false;
    bool HasMouse() const { return FHasMouse; }
    bool Pressed() const { return FState == bsDown; }
    // Null until the first press.
    TTimer *RepeatTimer() const { return FRepeatTimer; }

protected:
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void Paint() override;
    void CMMouseEnter(TCMMouseEnter &Message) override;
    void CMMouseLeave(TCMMouseLeave &Message) override;

private:
    void TimerExpired(TObject *Sender);
    void InvalidateParent();
    TEsgSpinButton *Pair() const;
    TTimer *FRepeatTimer = nullptr;
    bool FHasMouse = false;
};

class TEsgSpinButton : public TWinControl {
public:
    explicit TEsgSpinButton(TComponent *AOwner);

    TSpinDirection Direction() const { return FDirection; }
    void SetDirection(TSpinDirection Value);
    TBitmap *UpGlyph() const { return FUpButton->Glyph(); }
    void SetUpGlyph(TBitmap *Value);
    TBitmap *DownGlyph() const { return FDownButton->Glyph(); }
    void SetDownGlyph(TBitmap *Value);
    TNumGlyphs UpNumGlyphs() const { return FUpButton->NumGlyphs(); }
    void SetUpNumGlyphs(TNumGlyphs Value) { FUpButton->SetNumGlyphs(Value); }
    TNumGlyphs DownNumGlyphs() const { return FDownButton->NumGlyphs(); }
    void SetDownNumGlyphs(TNumGlyphs Value) { FDownButton->SetNumGlyphs(Value); }
    TWinControl *FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl *Value);
    bool IsWinXP() const { return FIsWinXP; }
    void SetIsWinXP(bool Value);

    TExtTimerSpeedButton *UpButton() const { return FUpButton; }
    TExtTimerSpeedButton *DownButton() const { return FDownButton; }
    TExtTimerSpeedButton *FocusedButton() const { return FFocusedButton; }

    // Only the three face colours paint; the text and border colours are kept for streaming.
    TColor ButtonColorDown = clNone;
    TColor ButtonBorderColor = 0;
    TColor ButtonTextColor = clNone;
    TColor ButtonTextColorHot = clNone;
    TColor ButtonColor = clNone;
    TColor ButtonColorHot = clNone;
    TColor ButtonTextColorDown = clNone;

    TNotifyEvent OnUpClick;
    TNotifyEvent OnDownClick;

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void Loaded() override;

protected:
    void Notification(TComponent *AComponent, TOperation Operation) override;
    void KeyDown(Word &Key, TShiftState Shift) override;
    void WMSize(TWMSize &Message) override;
    void WMSetFocus(TWMSetFocus &Message) override;
    void WMKillFocus(TWMKillFocus &Message) override;
    void WMGetDlgCode(TWMGetDlgCode &Message) override;

private:
    TExtTimerSpeedButton *CreateButton();
    void AdjustButtons(int &W, int &H);
    void BtnMouseDown(TObject *Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void BtnClick(TObject *Sender);
    void FocusBtn(TExtTimerSpeedButton *Button);

    TExtTimerSpeedButton *FUpButton = nullptr;
    TExtTimerSpeedButton *FDownButton = nullptr;
    TExtTimerSpeedButton *FFocusedButton = nullptr;
    TWinControl *FFocusControl = nullptr;
    TSpinDirection FDirection = spVertical;
    bool FIsWinXP = false;
};

class TEsgSpinEdit : public TCustomMaskEdit {
public:
    explicit TEsgSpinEdit(TComponent *AOwner);
    ~TEsgSpinEdit() override;

    TEsgSpinButton *Button() const { return FButton; }

    TEsgSpinType SpinType() const { return FSpinType; }
    void SetSpinType(TEsgSpinType Value);
    int GetValue();
    void SetValue(int Value);
    double GetFloatValue();
    void SetFloatValue(double Value);
    TDateTime GetDateValue();
    void SetDateValue(TDateTime Value);
    TDateTime GetTimeValue();
    void SetTimeValue(TDateTime Value);
    int Precision() const { return FPrecision; }
    void SetPrecision(int Value);
    bool EditorEnabled() const { return FEditorEnabled; }
    void SetEditorEnabled(bool Value) { FEditorEnabled = Value; }
    TSpinDirection Direction() const { return FDirection; }
    void SetDirection(TSpinDirection Value);
    TEditAlign EditAlign() const { return FEditAlign; }
    void SetEditAlign(TEditAlign Value);
    bool SpinFlat() const { return FSpinFlat; }
    void SetSpinFlat(bool Value);
    bool SpinTransparent() const { return FSpinTransparent; }
    void SetSpinTransparent(bool Value);
    bool IsWinXP() const { return FIsWinXP; }
    void SetIsWinXP(bool Value);
    // Set by every date step: the locale's short date names the month before the day.
    bool UsDates() const { return FUsDates; }

    int MinValue = 0;
    int MaxValue = 100;
    double MinFloatValue = 0;
    double MaxFloatValue = 100;
    // Limits dates and times alike; equal limits (0 and 0 at first) mean none.
    TDateTime MinDateValue = 0;
    TDateTime MaxDateValue = 0;
    int Increment = 1;
    double IncrementFloat = 0.1;
    double IncrementFloatPage = 1.0;
    int IncrementHours = 1;
    int IncrementMinutes = 1;
    int IncrementSeconds = 1;
    bool ShowSeconds = true;
    bool ReturnIsTab = false;
    bool ExcelStyleDecimalSeparator = false;
    // Read by the grid only: an empty text leaves the cell empty.
    bool AllowEmptyValue = false;

    virtual void StepUp(bool PageStep);
    virtual void StepDown(bool PageStep);
    virtual bool IsValidChar(WideChar Key);
    virtual void UpClick(TObject *Sender);
    virtual void DownClick(TObject *Sender);

    void Loaded() override;
    // The smallest height that shows the text whole.
    int GetMinHeight();

protected:
    void CreateParams(TCreateParams &Params) override;
    void CreateWnd() override;
    void KeyDown(Word &Key, TShiftState Shift) override;
    void KeyPress(WideChar &Key) override;
    void WMSize(TWMSize &Message) override;
    void WMChar(TWMKey &Message) override;
    void WMKeyDown(TWMKey &Message) override;
    void WMPaste(TMessage &Message) override;
    void WMCut(TMessage &Message) override;
    void CMEnter(TCMEnter &Message) override;
    void CMExit(TCMExit &Message) override;

private:
    int CheckValue(int Value) const;
    double CheckFloatValue(double Value) const;
    TDateTime CheckDateValue(TDateTime Value) const;
    void SetEditRect();
    void WriteTimeText(TDateTime Value);
    // 0, 1 or 2: the field of a date or time text the caret stands in.
    int CaretField(QChar Separator);
    void Step(int Sign, bool PageStep);
    void ForceLayout();

    TDateTime FDateValue = 0;
    TDateTime FTimeValue = 0;
    TEsgSpinButton *FButton = nullptr;
    bool FEditorEnabled = true;
    TSpinDirection FDirection = spVertical;
    TEsgSpinType FSpinType = sptNormal;
    int FPrecision = 0;
    bool FIsWinXP = false;
    bool FUsDates = false;
    TEditAlign FEditAlign = eaLeft;
    bool FSpinFlat = false;
    bool FSpinTransparent = false;
};
