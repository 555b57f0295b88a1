#pragma once
// Free drawing routines of the grids and drop-downs: colour arithmetic, stepped and mirrored
// gradients, the rounded selection frame, progress bars, cell shapes, the error underline,
// transparent bitmaps, button faces and layered windows.
//
// Every routine draws on the canvas it is given and leaves that canvas's pen, brush and font
// changed; none keeps state. Colours are the platform's (system colours are resolved before any
// arithmetic; clNone means no colour). Rectangles exclude their right and bottom edges.

#include "controls/ExtStyleIF.h"
#include "platform/Controls.h"
#include "platform/Graphics.h"
#include "platform/Types.h"

// ---- colour arithmetic ----
// Each of R, G, B halved.
TColor DarkenColorHalf(TColor Color);
// Each component c becomes round(c + Percent * c / 100), kept within 0..255.
TColor ColorScalePercent(TColor Color, int Percent);
// The colour at Position on the way from From to To over Min..Max; From when To is clNone or
// the range is empty.
TColor InterpolateColor(TColor From, TColor To, int Min, int Max, int Position);

// ---- gradients and boxes ----
// At most MaxSteps solid bands from From to To, stacked left to right when Horizontal, top to
// bottom otherwise; the first band has From and the last To. A clNone colour fills with the
// other one.
void DrawSteppedGradient(TCanvas *Canvas, TColor From, TColor To, int MaxSteps, TRect R, bool Horizontal);
// A solid fill, one gradient, or two gradients in halves (the second from MirrorColor), then a
// frame or only the side lines in BorderColor unless that is clNone.
void DrawMirrorGradientRect(TCanvas *Canvas, TRect R, TColor Color, TColor ColorTo, TColor MirrorColor,
                            TColor MirrorColorTo, bool Vertical, TColor BorderColor, bool SideLinesOnly, bool Fill);
void FillRectColor(TCanvas *Canvas, const TRect &R, TColor Color);
// A one-pixel frame of Color along the inside of R.
void FrameRectColor(TCanvas *Canvas, const TRect &R, TColor Color);
// R with every edge moved By pixels inwards.
TRect InsetRect(const TRect &R, int By);
// The rounded selection frame of one piece of a selected span: 0 single, 1 left end, 2 right
// end, 3 middle.
void PaintStyledSelection(TCanvas *Canvas, TColor FillFrom, TColor FillTo, TColor MirrorFrom, TColor MirrorTo,
                          TColor InnerUpperColor, TColor InnerLowerColor, TColor OuterLineColor,
                          TColor InnerCornerColor, TColor OuterCornerColor, TRect R, int Piece);

// ---- progress ----
// A bar for Value between Min and Max (with Format) or for Value as a percentage (without):
// the done part in DoneColor with the text in DoneTextColor, the rest in RemainingColor with
// RemainingTextColor, framed in BorderColor unless that is clNone. Format receives round(Value)
// when it holds a "d" or "u" anywhere, else Value itself; a format that does not take the value
// writes the plain percentage. An empty range counts as an empty bar.
void DrawCellProgressBar(TCanvas *Canvas, TRect R, TColor DoneColor, TColor DoneTextColor, TColor RemainingColor,
                         TColor RemainingTextColor, double Value, int MarginX, int MarginY, double Min, double Max,
                         const UnicodeString &Format, TColor BorderColor, bool Printing);
// A circle with a gray outline and a sector of Percent filled in Color.
void DrawProgressPie(TCanvas *Canvas, const TRect &R, TColor Color, int Percent, bool Printing);
// A bar from the middle, right in PositiveColor or left in NegativeColor, Value against
// Maximum; ShowValue writes the value centred over it.
void DrawPlusMinusBar(TCanvas *Canvas, TRect R, double Value, double Maximum, bool ShowValue, TColor NegativeColor,
                      TColor PositiveColor);

// The description of a multi-level progress bar.
struct ProgressBarLook {
    TColor Level0Color = 0x00C000;
    TColor Level0ColorTo = 0x00FF00;
    TColor Level1Color = 0x00C0C0;
    TColor Level1ColorTo = 0x00FFFF;
    TColor Level2Color = 0x0080FF;
    TColor Level2ColorTo = 0x00C0FF;
    TColor Level3Color = 0x0000C0;
    TColor Level3ColorTo = 0x0000FF;
    int Level1Perc = 70;
    int Level2Perc = 90;
    TColor BorderColor = clBlack;
    bool ShowBorder = false;
    bool Stacked = false;
    bool ShowPercentage = true;
    TFont *Font = nullptr; // not owned; nullptr keeps the canvas's font
    TColor CompleteFontColor = clBlue;
    bool CompletionSmooth = true;
    bool ShowGradient = true;
    int Steps = 8;
    TColor UnCompleteColor = clWhite;
    bool Vertical = false;
};
void DrawAppearanceProgressBar(TCanvas *Canvas, const TRect &R, int Percent, const ProgressBarLook &Look);

// ---- cell shapes ----
enum TCellShape {
    csRectangle,
    csCircle,
    csTriangleLeft,
    csTriangleRight,
    csTriangleUp,
    csTriangleDown,
    csDiamond,
    csLineVert,
    csLineHorz,
    csRoundRect,
    csEllips,
    csSquare,
    csRoundSquare,
    csStar,
    csArrowUp,
    csArrowDown,
    csArrowLeft,
    csArrowRight,
    csHalfStar
};
// The shape in the area (X, Y, Width, Height), filled with BrushColor and outlined in PenColor.
void PaintCellShape(TCanvas *Canvas, int X, int Y, int Width, int Height, TCellShape Shape, TColor BrushColor,
                    TColor PenColor);

// ---- small drawings ----
// A filled triangle pointing down from (X - 3, Y)..(X + 3, Y) to (X, Y + 3).
void DrawSmallDownArrow(TCanvas *Canvas, int X, int Y, TColor Color);
// A red zigzag under the characters ErrorStart .. ErrorStart + ErrorLength - 1 (0-based) of
// Text as a single-line edit on Owner would show it in R; VerticalOffset moves it down from the
// line's top. An error at or past the end of the text is marked just after the text.
void DrawErrorUnderline(TWinControl *Owner, TCanvas *Canvas, const UnicodeString &Text, const TRect &R,
                        int VerticalOffset, int ErrorStart, int ErrorLength);
// Bitmap at R's top-left at its own size, its pixels of the colour of pixel (0, 0) replaced by
// BackgroundColor.
void DrawBitmapTransparent(TCanvas *Canvas, TBitmap *Bitmap, TColor BackgroundColor, const TRect &R);
// The same with a picture of the program's resources; nothing when there is no such picture.
void DrawResourceBitmapTransparent(TCanvas *Canvas, TColor BackgroundColor, const TRect &R,
                                   const UnicodeString &ResourceName);

// ---- button faces ----
// Kinds: 0 themed (visual styles; the classic face while no theme is active), 1 classic, 2
// flat, 3 Office colours from Tones. States: 0 normal, 1 hot, 2 down, 3 disabled. Window is the
// window the theme data is opened for.
void PaintButtonFace(TCanvas *Canvas, HWND Window, const TRect &R, int Kind, int State, const TColorTones &Tones);
// The drop-down button at the right edge of R.
void PaintDropButton(TCanvas *Canvas, HWND Window, const TRect &R, int Kind, int State, const TColorTones &Tones);
// The up and down spin buttons at the right edge of R.
void PaintSpinButtons(TCanvas *Canvas, HWND Window, const TRect &R, int Kind, int State, const TColorTones &Tones);

// ---- layered windows ----
// The system's layered-window calls when it offers them; true when it does not.
bool CallUpdateLayeredWindow(HWND Wnd, HDC DstDC, const TPoint *DstPos, const TSize *Size, HDC SrcDC,
                             const TPoint *SrcPos, DWORD ColorKey, const BLENDFUNCTION *Blend, DWORD Flags);
bool CallSetLayeredWindowAttributes(HWND Wnd, DWORD ColorKey, Byte Alpha, DWORD Flags);
