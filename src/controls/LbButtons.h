#pragma once
// The graphic button's vocabulary: its styles, stock kinds, glyph layouts and colour presets, the
// worker that fades the hover colour out, and the routine that draws a whole button face.
// The control itself lives in LbButton.h.

#include "platform/Buttons.h"
#include "platform/Classes.h"
#include "platform/Controls.h"
#include "platform/Graphics.h"
#include "platform/System.h"
#include "platform/Threads.h"

enum TLbButtonStyle { bsNormal, bsEncarta, bsModern, bsOld, bsShape, bsQuicken };
enum TLbButtonKind { bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll };
// The glyph layouts are the speed button's, so that both headers can be included together.
using TLbButtonLayout = TButtonLayout;
enum TLbColorStyle {
    lcsCustom, lcsGold, lcsChrome, lcsBlue, lcsRed, lcsUltraFlat1, lcsUltraFlat2, lcsUltraFlatXP, lcsAqua,
    lcsDefault, lcsQuicken
};

// The colours, font colour, flatness and drawing style that a colour preset gives a button.
struct TLbColorPreset {
    TColor Color;
    TColor LightColor;
    TColor ShadowColor;
    TColor ColorWhenDown;
    TColor HotTrackColor;
    TColor FontColor;
    bool Flat;
    TLbButtonStyle Style;
};

// The preset of a colour style; lcsCustom has none and answers false.
bool GetLbColorPreset(TLbColorStyle Value, TLbColorPreset &Preset);

// The stock kinds: the modal result, bitmap resource and caption each one brings.
struct TLbKindInfo {
    int ModalResult;
    const char *Bitmap;
    const char *Caption; // UTF-8
};

// The entry of a stock kind; bkCustom has none and answers false.
bool GetLbKindInfo(TLbButtonKind Value, TLbKindInfo &Info);

// Loads a bitmap of the controls' resources (the kind bitmaps, "LBARROW", the header glyphs
// "BTN_INFO", "BTN_OPZ", "BTN_CLOSE") into Bitmap; raises EResNotFound for an unknown name.
void LoadLbResourceBitmap(TBitmap *Bitmap, const UnicodeString &Name);

// Ticks every 30 ms and hands each tick to the user-interface thread, where FNotify runs with the
// thread as sender. It starts suspended; its owner resumes it for a fade and the notify method
// suspends it again when the fade is over.
class TLbButtonThread : public TThread {
public:
    explicit TLbButtonThread(TNotifyEvent Notify);

protected:
    void Execute() override;

private:
    void DoEvent();
    TNotifyEvent FNotify;
};

// Draws a button face of Width x Height onto Canvas.
//   HoverStep 0..8 blends Color towards HoverColor (8 = the full hover colour); NumGlyphs frames
//   lie side by side in Glyph (normal, disabled, down, hot); Transparent leaves the background
//   unfilled; ShowMenuArrow adds the drop-down arrow at the right.
void DrawLbButtonFace(TCanvas *Canvas, int Width, int Height, int HoverStep, int NumGlyphs, TBitmap *Glyph,
                      bool Down, bool Hot, bool Transparent, bool Enabled, bool Flat, bool WordWrap,
                      bool ShowMenuArrow, TLbButtonStyle Style, TColor Color, TColor ColorWhenDown,
                      TColor HoverColor, TColor LightColor, TColor ShadowColor, TFont *Font,
                      TLbButtonLayout Layout, const UnicodeString &Caption, TAlignment Alignment);

// Color blended towards HotColor by Step eighths, per component, truncated.
TColor BlendHotTrackColor(TColor Color, TColor HotColor, int Step);
