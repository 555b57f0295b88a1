#pragma once
// The flat date-time picker: the platform picker with a second look painted over the native one
// (the Metro look): a one-pixel frame in a chosen colour and a drop-down button of its own. The
// grid's date editor derives from it and switches the look on with its colour tones.

#include "platform/ComCtrls.h"
#include "platform/Graphics.h"

#include <functional>

// What a flat picker paints with. TEsgDateTimePicker fills it from its own properties; another
// picker that shares the look fills it by its own rules (the switches below say where the
// looks may differ) and calls FlatPicker::Paint from its frame paint.
struct TFlatPickerLook {
    // The Metro look is in force (the own button, the borders).
    bool MetroActive = false;
    // Borders never drawn, whatever the look.
    bool SkipBorders = false;
    // The non-client border is drawn whenever Ctl3D is off, not only with a BorderColor.
    bool NCBorderAlways = false;
    // With the platform theme active the native button is covered from CW - BW - this.
    int ThemedCoverInset = 15;
    // Frame lines drawn over the client area when Ctl3D is off (a second, inner set while the
    // platform theme is not active).
    bool ClientFrameLines = false;
    bool Designing = false;
    bool IsThemed = false; // common controls of version 6 or later
    bool IsWinXP = false;
    bool ButtonHover = false;
    bool MouseInControl = false;
    TBorderStyle BorderStyle = bsNone;
    TColor BorderColor = clNone;
    TColor ButtonColor = clNone;
    TColor ButtonColorHot = clNone;
    TColor ButtonColorDown = clNone;
    TColor ButtonTextColor = clNone;
    TColor ButtonTextColorDown = clNone;
    TColor ButtonBorderColor = clNone;
    int ButtonWidth = 0;
};

namespace FlatPicker {
// The frame pass over what the platform painted, on a canvas over the whole window, in the
// order of the platform's own paints: the non-client border (then NCExtra, when given), the
// client part (the Metro button, the client frame lines), then the borders.
void Paint(TDateTimePicker *Picker, TCanvas *DC, const TFlatPickerLook &Look,
           const std::function<void(TCanvas *)> &NCExtra = {});
// The parts of the pass, for a picker that orders them otherwise.
void PaintClient(TDateTimePicker *Picker, TCanvas *DC, const TFlatPickerLook &Look);
void DrawNCBorder(TDateTimePicker *Picker, TCanvas *DC, const TFlatPickerLook &Look);
void DrawBorders(TDateTimePicker *Picker, TCanvas *DC, const TFlatPickerLook &Look);
void DrawButton(TDateTimePicker *Picker, TCanvas *DC, const TFlatPickerLook &Look);
// The platform tests a flat picker makes when created.
bool CommonControlsThemed();
bool PlatformIsWinXP();
// The platform offers GetLocaleInfoEx (the newer platform).
bool NewerPlatform();
// The visual styles are on: themed common controls and an active platform theme.
bool VisualStyles(const TFlatPickerLook &Look);
// The left or right mouse button is held.
bool MouseButtonDown();
// The width of the flat button area: the width of a vertical scroll bar + 2.
int DefaultButtonWidth();
} // namespace FlatPicker

class TEsgDateTimePicker : public TDateTimePicker {
public:
    explicit TEsgDateTimePicker(TComponent *AOwner);

    TBorderStyle BorderStyle() const { return FBorderStyle; }
    virtual void SetBorderStyle(TBorderStyle Value);
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor Value);
    bool MetroStyle() const { return FMetroStyle; }
    void SetMetroStyle(bool Value);
    // The button colours of the Metro look; clNone keeps the platform's button. The grid writes
    // them directly. ButtonTextColorHot is kept but never painted.
    TColor ButtonColor = clNone;
    TColor ButtonColorHot = clNone;
    TColor ButtonColorDown = clNone;
    TColor ButtonTextColor = clNone;
    TColor ButtonTextColorHot = clNone;
    TColor ButtonTextColorDown = clNone;
    TColor ButtonBorderColor = clNone;
    int ButtonWidth() const { return FButtonWidth; }
    // "1.0.0.0"; writing it changes nothing.
    UnicodeString Version() const;
    void SetVersion(const UnicodeString &Value);
    static Cardinal GetVersionNr() { return 0x01000000u; }

    bool IsThemed() const { return FIsThemed; }
    bool IsWinXP() const { return FIsWinXP; }
    bool ButtonHover() const { return FButtonHover; }
    bool MouseInControl() const { return FMouseInControl; }
    bool HasFocus() const { return FHasFocus; }
    // The Metro look is in force: MetroStyle and not in the form designer.
    bool IsMetroActive() const;
    // What the frame pass paints with now; a picker that shares the look states its differences.
    virtual TFlatPickerLook Look() const;
    void WndProc(TMessage &Message) override;

protected:
    void WMNCPaint(TWMNCPaint &Message) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void CMMouseEnter(TCMMouseEnter &Message) override;
    void CMMouseLeave(TCMMouseLeave &Message) override;
    void CMEnter(TCMEnter &Message) override;
    void CMExit(TCMExit &Message) override;
    void DropDown() override;
    void CloseUp() override;
    // Drawn right after the non-client border (a subclass's own frame); nothing here.
    virtual void DrawNCExtras(TCanvas *DC) {}
    bool Designing() const;

private:
    TBorderStyle FBorderStyle = bsNone;
    TColor FBorderColor = clNone;
    bool FIsThemed = false;
    int FButtonWidth = 0;
    bool FButtonHover = false;
    bool FMouseInControl = false;
    bool FIsWinXP = false;
    bool FMetroStyle = false;
    bool FHasFocus = false;
};
