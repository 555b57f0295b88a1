#pragma once
// The analogue watch: where its time comes from (TWatchSettings), how it looks
// (TWatchAppearance, with the colour table of the library styles) and the clock face control
// itself, on which a time of day is shown and set with the mouse or keys.
//
// Settings and appearance are in ExtWatchSettings.cpp, the control's time and input rules in
// ExtWatch.cpp and its painting and style presets in ExtWatchPaint.cpp.

#include "controls/ExtStyleIF.h"
#include "platform/Classes.h"
#include "platform/Controls.h"
#include "platform/ExtCtrls.h"
#include "platform/Graphics.h"
#include "platform/SysUtils.h"

#include <memory>

enum TAMPMFrame { apRect, apRoundRect };
enum TWatchGradient { wgRadial, wgVertical, wgDiagonalForward, wgDiagonalBackward };
enum THourMarkStyle { hmsLine, hmsQuartDblLine };
enum TPointerStyle { psLine, psShortLine, psPointer, psLineArrow };
enum TWatchShape { wsCircle, wsRect, wsRoundRect };
enum TTickMarks { tmAll, tmHours, tmQuartHours, tmNone };
enum TWatchStyle {
    wsClassic, wsTower, wsFluorescent, wsEmerald, wsBlueStar, wsFuchsia,
    wsBlack, wsBlackWhite, wsGray, wsSuperNova, wsSports, wsSmooth
};

// Where the watch's time comes from. Each setter raises OnChange when the value changes.
class TWatchSettings : public TPersistent {
public:
    // The running local time (plus TimeOffset); the user cannot set the watch then.
    bool Auto() const { return FAuto; }
    void SetAuto(bool Value) { Set(FAuto, Value); }
    // Minutes added to the local time in Auto mode.
    int TimeOffset() const { return FTimeOffset; }
    void SetTimeOffset(int Value) { Set(FTimeOffset, Value); }
    // The second hand, in Auto mode.
    bool Second() const { return FSecond; }
    void SetSecond(bool Value) { Set(FSecond, Value); }
    TNotifyEvent OnChange;

    // Second and TimeOffset are copied quietly; only a change of Auto is told.
    void Assign(TPersistent *Source) override;

private:
    template <class T>
    void Set(T &Field, T Value)
    {
        if (Field == Value)
            return;
        Field = Value;
        if (OnChange)
            OnChange(this);
    }
    bool FAuto = false;
    int FTimeOffset = 0;
    bool FSecond = true;
};

// The watch's look. Every setter raises OnChange on a change; the font and picture setters copy
// and always raise it, and so does a change of the picture's content. AMPMColor and
// AMPMBorderColor are stored quietly: the owner shows them at its next paint.
class TWatchAppearance : public TPersistent {
public:
    TWatchAppearance();
    ~TWatchAppearance() override;

    TFont *AMPMFont() const { return FAMPMFont.get(); }
    void SetAMPMFont(TFont *Value);
    TColor AMPMBorderColor() const { return FAMPMBorderColor; }
    void SetAMPMBorderColor(TColor Value) { FAMPMBorderColor = Value; }
    TColor AMPMColor() const { return FAMPMColor; }
    void SetAMPMColor(TColor Value) { FAMPMColor = Value; }
    TAMPMFrame AMPMFrame() const { return FAMPMFrame; }
    void SetAMPMFrame(TAMPMFrame Value) { Set(FAMPMFrame, Value); }
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor Value) { Set(FBorderColor, Value); }
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int Value) { Set(FBorderWidth, Value); }
    TColor BackgroundColor() const { return FBackgroundColor; }
    void SetBackgroundColor(TColor Value) { Set(FBackgroundColor, Value); }
    TColor BackgroundColorTo() const { return FBackgroundColorTo; }
    void SetBackgroundColorTo(TColor Value) { Set(FBackgroundColorTo, Value); }
    TWatchGradient BackgroundGradient() const { return FBackgroundGradient; }
    void SetBackgroundGradient(TWatchGradient Value) { Set(FBackgroundGradient, Value); }
    TColor CenterPointBorderColor() const { return FCenterPointBorderColor; }
    void SetCenterPointBorderColor(TColor Value) { Set(FCenterPointBorderColor, Value); }
    TColor CenterPointOuterBorderColor() const { return FCenterPointOuterBorderColor; }
    void SetCenterPointOuterBorderColor(TColor Value) { Set(FCenterPointOuterBorderColor, Value); }
    TColor CenterPointColor() const { return FCenterPointColor; }
    void SetCenterPointColor(TColor Value) { Set(FCenterPointColor, Value); }
    Byte CenterPointSize() const { return FCenterPointSize; }
    void SetCenterPointSize(Byte Value) { Set(FCenterPointSize, Value); }
    TFont *HourFont() const { return FHourFont.get(); }
    void SetHourFont(TFont *Value);
    TColor HourColor() const { return FHourColor; }
    void SetHourColor(TColor Value) { Set(FHourColor, Value); }
    Byte HourMarkLength() const { return FHourMarkLength; }
    void SetHourMarkLength(Byte Value) { Set(FHourMarkLength, Value); }
    Byte HourMarkWidth() const { return FHourMarkWidth; }
    void SetHourMarkWidth(Byte Value) { Set(FHourMarkWidth, Value); }
    THourMarkStyle HourMarkStyle() const { return FHourMarkStyle; }
    void SetHourMarkStyle(THourMarkStyle Value) { Set(FHourMarkStyle, Value); }
    TColor HourPointer() const { return FHourPointer; }
    void SetHourPointer(TColor Value) { Set(FHourPointer, Value); }
    TColor HourPointerShadow() const { return FHourPointerShadow; }
    void SetHourPointerShadow(TColor Value) { Set(FHourPointerShadow, Value); }
    Byte HourPointerSize() const { return FHourPointerSize; }
    void SetHourPointerSize(Byte Value) { Set(FHourPointerSize, Value); }
    TColor MinuteColor() const { return FMinuteColor; }
    void SetMinuteColor(TColor Value) { Set(FMinuteColor, Value); }
    TColor MinutePointer() const { return FMinutePointer; }
    void SetMinutePointer(TColor Value) { Set(FMinutePointer, Value); }
    TColor MinutePointerShadow() const { return FMinutePointerShadow; }
    void SetMinutePointerShadow(TColor Value) { Set(FMinutePointerShadow, Value); }
    Byte MinutePointerSize() const { return FMinutePointerSize; }
    void SetMinutePointerSize(Byte Value) { Set(FMinutePointerSize, Value); }
    Byte MinuteMarkLength() const { return FMinuteMarkLength; }
    void SetMinuteMarkLength(Byte Value) { Set(FMinuteMarkLength, Value); }
    Byte MinuteMarkWidth() const { return FMinuteMarkWidth; }
    void SetMinuteMarkWidth(Byte Value) { Set(FMinuteMarkWidth, Value); }
    TPicture *Picture() const { return FPicture.get(); }
    void SetPicture(TPicture *Value);
    TPointerStyle PointerStyle() const { return FPointerStyle; }
    void SetPointerStyle(TPointerStyle Value) { Set(FPointerStyle, Value); }
    TColor SecondPointer() const { return FSecondPointer; }
    void SetSecondPointer(TColor Value) { Set(FSecondPointer, Value); }
    Byte SecondPointerSize() const { return FSecondPointerSize; }
    void SetSecondPointerSize(Byte Value) { Set(FSecondPointerSize, Value); }
    TWatchShape Shape() const { return FShape; }
    void SetShape(TWatchShape Value) { Set(FShape, Value); }
    // The dial's diameter in pixels; 0 or less fits it to the control.
    int Size() const { return FSize; }
    void SetSize(int Value) { Set(FSize, Value); }
    TTickMarks TickMarks() const { return FTickMarks; }
    void SetTickMarks(TTickMarks Value) { Set(FTickMarks, Value); }
    TNotifyEvent OnChange;

    // Every value back to its default, quietly.
    void ResetToDefaults();
    // Copies every value quietly but for the last three (outer centre ring, tick marks, hour
    // mark style), which go through their setters.
    void Assign(TPersistent *Source) override;

private:
    template <class T>
    void Set(T &Field, T Value)
    {
        if (Field == Value)
            return;
        Field = Value;
        Changed();
    }
    void Changed()
    {
        if (OnChange)
            OnChange(this);
    }
    std::unique_ptr<TFont> FAMPMFont;
    TColor FAMPMBorderColor = clBlack;
    TColor FAMPMColor = clWhite;
    TAMPMFrame FAMPMFrame = apRect;
    TColor FBorderColor = clBlack;
    int FBorderWidth = 4;
    TColor FBackgroundColor = clWhite;
    TColor FBackgroundColorTo = clNone;
    TWatchGradient FBackgroundGradient = wgVertical;
    TColor FCenterPointBorderColor = clNone;
    TColor FCenterPointOuterBorderColor = clNone;
    TColor FCenterPointColor = clBlack;
    Byte FCenterPointSize = 4;
    std::unique_ptr<TFont> FHourFont;
    TColor FHourColor = clBlack;
    Byte FHourMarkLength = 0;
    Byte FHourMarkWidth = 1;
    THourMarkStyle FHourMarkStyle = hmsLine;
    TColor FHourPointer = clBlack;
    TColor FHourPointerShadow = clBtnShadow;
    Byte FHourPointerSize = 4;
    TColor FMinuteColor = clGray;
    TColor FMinutePointer = clBlack;
    TColor FMinutePointerShadow = clBtnShadow;
    Byte FMinutePointerSize = 3;
    Byte FMinuteMarkLength = 0;
    Byte FMinuteMarkWidth = 1;
    std::unique_ptr<TPicture> FPicture;
    TPointerStyle FPointerStyle = psLine;
    TColor FSecondPointer = clRed;
    Byte FSecondPointerSize = 1;
    TWatchShape FShape = wsCircle;
    int FSize = 0;
    TTickMarks FTickMarks = tmAll;
};

// The colours of a library style written into an appearance (tsCustom: only the outer centre
// ring and the two font colours, all black).
void ApplyStyleColors(TWatchAppearance *Appearance, TQRVStyle AStyle);

// ---- the geometry of the face, as pure rules ----

// The square of the dial, centred in the client area: Size when it is above 0 (at most the
// client's sides), else the smaller side less 20.
TRect WatchRectOf(int ClientWidth, int ClientHeight, int Size);
// The minute (0..59) a point points at, seen from the centre; the top is 0.
int AngleToMinute(TPoint Center, int X, int Y);
// The hour of a minute position: the top is 0 in the morning and 12 in the afternoon.
int MinuteToHour(int Minute, bool AM);

// ---- the watch ----

class TExtWatch : public TCustomControl, public IQRVStyle {
public:
    explicit TExtWatch(TComponent *AOwner);
    ~TExtWatch() override;

    TWatchAppearance *Appearance() const { return FAppearance.get(); }
    void SetAppearance(TWatchAppearance *Value) { FAppearance->Assign(Value); }
    TWatchSettings *Settings() const { return FSettings.get(); }
    void SetSettings(TWatchSettings *Value) { FSettings->Assign(Value); }
    // The time shown when not in Auto mode.
    TDateTime Time() const { return FTime; }
    // Shows Value at once, without OnChange.
    void SetTime(TDateTime Value);
    // In Auto mode the clock plus TimeOffset, else Time.
    TDateTime GetTime() const;
    // Animated unless Animation is off: OnChange follows when the hour reaches the target.
    void SetHour(int Value);
    // 60 or more raises "Invalid time"; minute 0 reached from above 30 advances the hour.
    void SetMinute(int Value);
    bool AM() const { return FAM; }
    void SetAM(bool Value);
    // The key commands of the watch (A, P, Page Up/Down, Home, End, Left, Right).
    void HandleKey(Word Key);

    bool Animation() const { return FAnimation; }
    void SetAnimation(bool Value) { FAnimation = Value; }
    // The divisor of the remaining distance per animation step; below 1 it is 1.
    int AnimationFactor() const { return FAnimationFactor; }
    void SetAnimationFactor(int Value) { FAnimationFactor = Value < 1 ? 1 : Value; }
    bool ShowAMPM() const { return FShowAMPM; }
    void SetShowAMPM(bool Value);
    bool ShowNumbers() const { return FShowNumbers; }
    void SetShowNumbers(bool Value);
    TWatchStyle Style() const { return FStyle; }
    // A preset: the appearance goes back to its defaults and the preset applies.
    void SetStyle(TWatchStyle Value);
    void SetComponentStyle(TQRVStyle AStyle) override;
    TNotifyEvent OnChange;

    // ---- geometry ----
    TRect WatchRect() const;
    TPoint Center() const;
    int Radius() const;
    // The AM/PM box; (-1, -1, -1, -1) without ShowAMPM.
    TRect GetAMPMRect() const;

    // ---- painting (ExtWatchPaint.cpp) ----
    // The whole watch, face and hands, on a canvas of the client's size.
    void PaintAll(TCanvas *Target);
    void DrawBackground(TCanvas *ACanvas, const TRect &C);
    void DrawTickMarks(TCanvas *ACanvas);
    void DrawNumbers(TCanvas *ACanvas);
    void DrawAMPM(TCanvas *ACanvas);
    void DrawPointers(TCanvas *ACanvas);
    // Whether the animation timer runs.
    bool Animating() const;

protected:
    void Paint() override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void Resize() override;
    void WMGetDlgCode(TWMGetDlgCode &Message) override;
    void WMSetCursor(TWMGeneric &Message) override;

private:
    void StoreTime(TDateTime Value);
    // The hands again over the cached face.
    void PaintPointers();
    void AnimationTick();
    void SettingsChanged();
    void AppearanceChanged();
    bool Quiet() const;
    // The AM/PM box scrolls to the caption of the new half (ExtWatchPaint.cpp).
    void ScrollAMPM(bool ToPM);
    void DrawAMPMFrame(TCanvas *ACanvas, const TRect &R);
    // The cached face (made again when stale) and the hands over it.
    void Compose(TCanvas *Target);
    void ApplyPreset(TWatchStyle Value);

    std::unique_ptr<TWatchAppearance> FAppearance;
    std::unique_ptr<TWatchSettings> FSettings;
    std::unique_ptr<TBitmap> FCache;
    bool FCacheValid = false;
    TTimer *FWatchTimer = nullptr;
    TTimer *FAnimationTimer = nullptr;
    TDateTime FTime = 0;
    bool FAnimation = true;
    int FAnimationFactor = 10;
    Byte FHourTarget = 0;
    Byte FMinuteTarget = 0;
    Byte FMinuteBefore = 0;
    bool FHourAnimating = false;
    bool FInternalCall = false;
    bool FAM = true;
    bool FShowAMPM = true;
    bool FShowNumbers = true;
    bool FInternalSet = false;
    TWatchStyle FStyle = wsClassic;
    // While the AM/PM box scrolls: the strip of both captions and the window shown of it.
    std::unique_ptr<TBitmap> FScrollStrip;
    int FScrollOffset = -1;
};
