#pragma once
// The free drawing calls of the platform's device interface. A device context (HDC) is a
// canvas (Canvas->Handle() is the canvas itself), so these calls and the canvas's methods share
// one state: clip, mapping, background mode, text colour and the selected font.

#include "platform/Graphics.h"

// --- text drawing -------------------------------------------------------------------------------

constexpr unsigned DT_TOP = 0x00000000;
constexpr unsigned DT_LEFT = 0x00000000;
constexpr unsigned DT_CENTER = 0x00000001;
constexpr unsigned DT_RIGHT = 0x00000002;
constexpr unsigned DT_VCENTER = 0x00000004;
constexpr unsigned DT_BOTTOM = 0x00000008;
constexpr unsigned DT_WORDBREAK = 0x00000010;
constexpr unsigned DT_SINGLELINE = 0x00000020;
constexpr unsigned DT_EXPANDTABS = 0x00000040;
constexpr unsigned DT_TABSTOP = 0x00000080;
constexpr unsigned DT_NOCLIP = 0x00000100;
constexpr unsigned DT_EXTERNALLEADING = 0x00000200;
constexpr unsigned DT_CALCRECT = 0x00000400;
constexpr unsigned DT_NOPREFIX = 0x00000800;
constexpr unsigned DT_INTERNAL = 0x00001000;
constexpr unsigned DT_EDITCONTROL = 0x00002000;
constexpr unsigned DT_PATH_ELLIPSIS = 0x00004000;
constexpr unsigned DT_END_ELLIPSIS = 0x00008000;
constexpr unsigned DT_MODIFYSTRING = 0x00010000;
constexpr unsigned DT_RTLREADING = 0x00020000;
constexpr unsigned DT_WORD_ELLIPSIS = 0x00040000;
constexpr unsigned DT_NOFULLWIDTHCHARBREAK = 0x00080000;
constexpr unsigned DT_HIDEPREFIX = 0x00100000;
constexpr unsigned DT_PREFIXONLY = 0x00200000;

struct DRAWTEXTPARAMS {
    unsigned cbSize = sizeof(DRAWTEXTPARAMS);
    int iTabLength = 0;   // in average character widths
    int iLeftMargin = 0;  // in pixels
    int iRightMargin = 0; // in pixels
    unsigned uiLengthDrawn = 0;
};

// Draws Text (its first Count characters; -1 for all) formatted in *Rect. Returns the height of
// the text, or for DT_VCENTER / DT_BOTTOM the offset from Rect->Top to the bottom of the text;
// 0 on failure. DT_CALCRECT measures only: it sets Rect->Right and Rect->Bottom and draws nothing.
// The vertical flags act only with DT_SINGLELINE; a word wider than the rectangle is not broken.
int DrawText(HDC DC, const UnicodeString &Text, int Count, TRect *Rect, unsigned Format);
// As DrawText, with tab length and margins; with DT_MODIFYSTRING and an ellipsis flag, Text
// receives the shortened text.
int DrawTextEx(HDC DC, UnicodeString &Text, int Count, TRect *Rect, unsigned Format, DRAWTEXTPARAMS *Params);
inline int DrawTextW(HDC DC, const UnicodeString &Text, int Count, TRect *Rect, unsigned Format)
{
    return DrawText(DC, Text, Count, Rect, Format);
}
inline int DrawTextExW(HDC DC, UnicodeString &Text, int Count, TRect *Rect, unsigned Format, DRAWTEXTPARAMS *Params)
{
    return DrawTextEx(DC, Text, Count, Rect, Format, Params);
}

struct TEXTMETRIC {
    int tmHeight = 0;
    int tmAscent = 0;
    int tmDescent = 0;
    int tmInternalLeading = 0;
    int tmExternalLeading = 0;
    int tmAveCharWidth = 0;
    int tmMaxCharWidth = 0;
    int tmWeight = 400;
    int tmOverhang = 0;
    int tmDigitizedAspectX = 96;
    int tmDigitizedAspectY = 96;
    WideChar tmFirstChar = 0x20;
    WideChar tmLastChar = 0xFFFC;
    WideChar tmDefaultChar = 0x1F;
    WideChar tmBreakChar = 0x20;
    Byte tmItalic = 0;
    Byte tmUnderlined = 0;
    Byte tmStruckOut = 0;
    Byte tmPitchAndFamily = 0;
    Byte tmCharSet = 0;
};
using TTextMetric = TEXTMETRIC;

// Metrics of the canvas's font: tmHeight = ascent + descent, tmInternalLeading = tmHeight minus
// the em size, tmAveCharWidth = the width of "x"-weighted average of the Latin letters.
bool GetTextMetrics(HDC DC, TEXTMETRIC &TM);
inline bool GetTextMetricsW(HDC DC, TEXTMETRIC &TM) { return GetTextMetrics(DC, TM); }
bool GetTextExtentPoint32(HDC DC, const UnicodeString &Text, int Count, TSize &Size);
inline bool GetTextExtentPoint32W(HDC DC, const UnicodeString &Text, int Count, TSize &Size)
{
    return GetTextExtentPoint32(DC, Text, Count, Size);
}
// Fit (when not null) receives how many leading characters fit into MaxExtent; Dx (when not
// null, Count entries) the extent of the first 1, 2, ... characters; Size the whole extent.
bool GetTextExtentExPoint(HDC DC, const UnicodeString &Text, int Count, int MaxExtent, int *Fit, int *Dx, TSize &Size);
inline bool GetTextExtentExPointW(HDC DC, const UnicodeString &Text, int Count, int MaxExtent, int *Fit, int *Dx,
                                  TSize &Size)
{
    return GetTextExtentExPoint(DC, Text, Count, MaxExtent, Fit, Dx, Size);
}
bool TextOut(HDC DC, int X, int Y, const UnicodeString &Text, int Count = -1);
inline bool TextOutW(HDC DC, int X, int Y, const UnicodeString &Text, int Count = -1)
{
    return TextOut(DC, X, Y, Text, Count);
}
bool ExtTextOut(HDC DC, int X, int Y, unsigned Options, const TRect *Rect, const UnicodeString &Text, int Count = -1);

// --- edges and frame controls -------------------------------------------------------------------

constexpr unsigned BDR_RAISEDOUTER = 0x0001;
constexpr unsigned BDR_SUNKENOUTER = 0x0002;
constexpr unsigned BDR_RAISEDINNER = 0x0004;
constexpr unsigned BDR_SUNKENINNER = 0x0008;
constexpr unsigned BDR_OUTER = BDR_RAISEDOUTER | BDR_SUNKENOUTER;
constexpr unsigned BDR_INNER = BDR_RAISEDINNER | BDR_SUNKENINNER;
constexpr unsigned BDR_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER;
constexpr unsigned BDR_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER;
constexpr unsigned EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER;
constexpr unsigned EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER;
constexpr unsigned EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER;
constexpr unsigned EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER;

constexpr unsigned BF_LEFT = 0x0001;
constexpr unsigned BF_TOP = 0x0002;
constexpr unsigned BF_RIGHT = 0x0004;
constexpr unsigned BF_BOTTOM = 0x0008;
constexpr unsigned BF_TOPLEFT = BF_TOP | BF_LEFT;
constexpr unsigned BF_TOPRIGHT = BF_TOP | BF_RIGHT;
constexpr unsigned BF_BOTTOMLEFT = BF_BOTTOM | BF_LEFT;
constexpr unsigned BF_BOTTOMRIGHT = BF_BOTTOM | BF_RIGHT;
constexpr unsigned BF_RECT = BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM;
constexpr unsigned BF_DIAGONAL = 0x0010;
constexpr unsigned BF_MIDDLE = 0x0800;
constexpr unsigned BF_SOFT = 0x1000;
constexpr unsigned BF_ADJUST = 0x2000;
constexpr unsigned BF_FLAT = 0x4000;
constexpr unsigned BF_MONO = 0x8000;

// Draws the classic 3-D edge of Rect in the system colours; BF_ADJUST shrinks Rect by the edge.
bool DrawEdge(HDC DC, TRect &Rect, unsigned Edge, unsigned Flags);

constexpr unsigned DFC_CAPTION = 1;
constexpr unsigned DFC_MENU = 2;
constexpr unsigned DFC_SCROLL = 3;
constexpr unsigned DFC_BUTTON = 4;
constexpr unsigned DFC_POPUPMENU = 5;

constexpr unsigned DFCS_CAPTIONCLOSE = 0x0000;
constexpr unsigned DFCS_CAPTIONMIN = 0x0001;
constexpr unsigned DFCS_CAPTIONMAX = 0x0002;
constexpr unsigned DFCS_CAPTIONRESTORE = 0x0003;
constexpr unsigned DFCS_CAPTIONHELP = 0x0004;
constexpr unsigned DFCS_MENUARROW = 0x0000;
constexpr unsigned DFCS_MENUCHECK = 0x0001;
constexpr unsigned DFCS_MENUBULLET = 0x0002;
constexpr unsigned DFCS_SCROLLUP = 0x0000;
constexpr unsigned DFCS_SCROLLDOWN = 0x0001;
constexpr unsigned DFCS_SCROLLLEFT = 0x0002;
constexpr unsigned DFCS_SCROLLRIGHT = 0x0003;
constexpr unsigned DFCS_SCROLLCOMBOBOX = 0x0005;
constexpr unsigned DFCS_SCROLLSIZEGRIP = 0x0008;
constexpr unsigned DFCS_SCROLLSIZEGRIPRIGHT = 0x0010;
constexpr unsigned DFCS_BUTTONCHECK = 0x0000;
constexpr unsigned DFCS_BUTTONRADIOIMAGE = 0x0001;
constexpr unsigned DFCS_BUTTONRADIOMASK = 0x0002;
constexpr unsigned DFCS_BUTTONRADIO = 0x0004;
constexpr unsigned DFCS_BUTTON3STATE = 0x0008;
constexpr unsigned DFCS_BUTTONPUSH = 0x0010;
constexpr unsigned DFCS_INACTIVE = 0x0100;
constexpr unsigned DFCS_PUSHED = 0x0200;
constexpr unsigned DFCS_CHECKED = 0x0400;
constexpr unsigned DFCS_TRANSPARENT = 0x0800;
constexpr unsigned DFCS_HOT = 0x1000;
constexpr unsigned DFCS_ADJUSTRECT = 0x2000;
constexpr unsigned DFCS_FLAT = 0x4000;
constexpr unsigned DFCS_MONO = 0x8000;

// Draws a classic control part (push button, check box, radio button, scroll arrow, combo
// button, caption button) into Rect in the given state.
bool DrawFrameControl(HDC DC, TRect &Rect, unsigned Type, unsigned State);
bool DrawFocusRect(HDC DC, const TRect &Rect);

// --- blits -------------------------------------------------------------------------------------

constexpr DWORD SRCCOPY = 0x00CC0020;
constexpr DWORD SRCPAINT = 0x00EE0086;
constexpr DWORD SRCAND = 0x008800C6;
constexpr DWORD SRCINVERT = 0x00660046;
constexpr DWORD SRCERASE = 0x00440328;
constexpr DWORD NOTSRCCOPY = 0x00330008;
constexpr DWORD NOTSRCERASE = 0x001100A6;
constexpr DWORD MERGECOPY = 0x00C000CA;
constexpr DWORD MERGEPAINT = 0x00BB0226;
constexpr DWORD PATCOPY = 0x00F00021;
constexpr DWORD PATPAINT = 0x00FB0A09;
constexpr DWORD PATINVERT = 0x005A0049;
constexpr DWORD DSTINVERT = 0x00550009;
constexpr DWORD BLACKNESS = 0x00000042;
constexpr DWORD WHITENESS = 0x00FF0062;

// Copies a rectangle of Src (a raster canvas: a bitmap's) into Dest with a raster operation;
// the pattern of the operation is Dest's brush. Without a source only the pattern and
// destination take part (PATCOPY, DSTINVERT, BLACKNESS, ...).
bool BitBlt(HDC Dest, int X, int Y, int Width, int Height, HDC Src, int XSrc, int YSrc, DWORD Rop);
bool StretchBlt(HDC Dest, int X, int Y, int Width, int Height, HDC Src, int XSrc, int YSrc, int WidthSrc,
                int HeightSrc, DWORD Rop);
bool PatBlt(HDC DC, int X, int Y, int Width, int Height, DWORD Rop);

// Memory device contexts for drawing off screen: a bitmap selected into one receives its
// drawing (the bitmap's own Canvas draws nothing meanwhile). Free them with DeleteDC and
// DeleteObject; deleting a bitmap that is still selected takes it out of its device context.
using HBITMAP = TBitmap *;
HDC CreateCompatibleDC(HDC DC);
bool DeleteDC(HDC DC);
HBITMAP CreateCompatibleBitmap(HDC DC, int Width, int Height);
// Selects Bitmap into a memory device context; returns the bitmap selected before (nullptr
// when none, or when DC is not a memory device context).
HBITMAP SelectObject(HDC DC, HBITMAP Bitmap);
bool DeleteObject(HBITMAP Bitmap);
bool InvertRect(HDC DC, const TRect &Rect);

// --- objects: brushes, fonts, regions -----------------------------------------------------------

using HBRUSH = TBrush *;
using HGDIOBJ = void *;

constexpr int COLOR_SCROLLBAR = 0;
constexpr int COLOR_BACKGROUND = 1;
constexpr int COLOR_ACTIVECAPTION = 2;
constexpr int COLOR_INACTIVECAPTION = 3;
constexpr int COLOR_MENU = 4;
constexpr int COLOR_WINDOW = 5;
constexpr int COLOR_WINDOWFRAME = 6;
constexpr int COLOR_MENUTEXT = 7;
constexpr int COLOR_WINDOWTEXT = 8;
constexpr int COLOR_CAPTIONTEXT = 9;
constexpr int COLOR_ACTIVEBORDER = 10;
constexpr int COLOR_INACTIVEBORDER = 11;
constexpr int COLOR_APPWORKSPACE = 12;
constexpr int COLOR_HIGHLIGHT = 13;
constexpr int COLOR_HIGHLIGHTTEXT = 14;
constexpr int COLOR_BTNFACE = 15;
constexpr int COLOR_BTNSHADOW = 16;
constexpr int COLOR_GRAYTEXT = 17;
constexpr int COLOR_BTNTEXT = 18;
constexpr int COLOR_INACTIVECAPTIONTEXT = 19;
constexpr int COLOR_BTNHIGHLIGHT = 20;
constexpr int COLOR_3DDKSHADOW = 21;
constexpr int COLOR_3DLIGHT = 22;
constexpr int COLOR_INFOTEXT = 23;
constexpr int COLOR_INFOBK = 24;
constexpr int COLOR_HOTLIGHT = 26;
constexpr int COLOR_GRADIENTACTIVECAPTION = 27;
constexpr int COLOR_GRADIENTINACTIVECAPTION = 28;
constexpr int COLOR_MENUHILIGHT = 29;
constexpr int COLOR_MENUBAR = 30;
constexpr int COLOR_3DFACE = COLOR_BTNFACE;
constexpr int COLOR_3DSHADOW = COLOR_BTNSHADOW;
constexpr int COLOR_3DHIGHLIGHT = COLOR_BTNHIGHLIGHT;
constexpr int COLOR_BTNHILIGHT = COLOR_BTNHIGHLIGHT;

// A solid brush of the colour; free it with DeleteObject.
HBRUSH CreateSolidBrush(TColorRef Color);
// A shared brush of a system colour; it must not be deleted (DeleteObject ignores it).
HBRUSH GetSysColorBrush(int Index);
bool FillRect(HDC DC, const TRect &Rect, HBRUSH Brush);
bool FrameRect(HDC DC, const TRect &Rect, HBRUSH Brush);
bool DeleteObject(HBRUSH Brush);

constexpr int LF_FACESIZE = 32;
constexpr int FW_NORMAL = 400;
constexpr int FW_BOLD = 700;

struct LOGFONT {
    int lfHeight = 0;
    int lfWidth = 0;
    int lfEscapement = 0;  // tenths of a degree
    int lfOrientation = 0; // tenths of a degree
    int lfWeight = FW_NORMAL;
    Byte lfItalic = 0;
    Byte lfUnderline = 0;
    Byte lfStrikeOut = 0;
    Byte lfCharSet = DEFAULT_CHARSET;
    Byte lfOutPrecision = 0;
    Byte lfClipPrecision = 0;
    Byte lfQuality = 0;
    Byte lfPitchAndFamily = 0;
    UnicodeString lfFaceName;
};
using TLogFont = LOGFONT;

// The description of a font (Font->Handle() style: a TFont is its own handle).
int GetObject(HFONT Font, LOGFONT &LF);
// A new font of the description; free it with DeleteObject.
HFONT CreateFontIndirect(const LOGFONT &LF);
// Makes the canvas draw with Font (a copy of it); returns a handle of the font it drew with
// before, which the canvas keeps, so selecting that back restores it.
HFONT SelectObject(HDC DC, HFONT Font);
// Frees a font made by CreateFontIndirect; other fonts are left alone.
bool DeleteObject(HFONT Font);

constexpr int NULLREGION = 1;
constexpr int SIMPLEREGION = 2;
constexpr int COMPLEXREGION = 3;
constexpr int RGN_ERROR = 0;
constexpr int RGN_AND = 1;
constexpr int RGN_OR = 2;
constexpr int RGN_XOR = 3;
constexpr int RGN_DIFF = 4;
constexpr int RGN_COPY = 5;
constexpr int ALTERNATE = 1;
constexpr int WINDING = 2;

// Regions in device pixels; right and bottom exclusive. Free them with DeleteObject.
HRGN CreateRectRgn(int Left, int Top, int Right, int Bottom);
HRGN CreateRectRgnIndirect(const TRect &R);
HRGN CreateEllipticRgn(int Left, int Top, int Right, int Bottom);
HRGN CreateEllipticRgnIndirect(const TRect &R);
HRGN CreateRoundRectRgn(int Left, int Top, int Right, int Bottom, int WidthEllipse, int HeightEllipse);
HRGN CreatePolygonRgn(const TPoint *Points, int Count, int FillMode);
// Dest := Src1 op Src2 (RGN_COPY: Src1); returns the kind of the result (NULLREGION ...).
int CombineRgn(HRGN Dest, HRGN Src1, HRGN Src2, int Mode);
int OffsetRgn(HRGN Rgn, int X, int Y);
bool PtInRegion(HRGN Rgn, int X, int Y);
bool RectInRegion(HRGN Rgn, const TRect &R);
bool EqualRgn(HRGN A, HRGN B);
int GetRgnBox(HRGN Rgn, TRect &R);
bool DeleteObject(HRGN Rgn);
bool FillRgn(HDC DC, HRGN Rgn, HBRUSH Brush);

// --- device-context state -----------------------------------------------------------------------

int SelectClipRgn(HDC DC, HRGN Rgn);
int ExtSelectClipRgn(HDC DC, HRGN Rgn, int Mode);
// 1 and a copy of the clip in Rgn when the device context has a clip, 0 when it has none.
int GetClipRgn(HDC DC, HRGN Rgn);
int GetClipBox(HDC DC, TRect &R);
int ExcludeClipRect(HDC DC, int Left, int Top, int Right, int Bottom);
int IntersectClipRect(HDC DC, int Left, int Top, int Right, int Bottom);
int SaveDC(HDC DC);
bool RestoreDC(HDC DC, int SavedDC);
int SetBkMode(HDC DC, int Mode);
int GetBkMode(HDC DC);
TColorRef SetBkColor(HDC DC, TColorRef Color);
TColorRef GetBkColor(HDC DC);
TColorRef SetTextColor(HDC DC, TColorRef Color);
TColorRef GetTextColor(HDC DC);
int SetMapMode(HDC DC, int Mode);
int GetMapMode(HDC DC);
bool SetWindowExtEx(HDC DC, int X, int Y, TSize *Old);
bool SetViewportExtEx(HDC DC, int X, int Y, TSize *Old);
bool SetWindowOrgEx(HDC DC, int X, int Y, TPoint *Old);
bool SetViewportOrgEx(HDC DC, int X, int Y, TPoint *Old);
bool GetWindowExtEx(HDC DC, TSize &S);
bool GetViewportExtEx(HDC DC, TSize &S);
bool LPtoDP(HDC DC, TPoint *Points, int Count);
bool DPtoLP(HDC DC, TPoint *Points, int Count);
bool MoveToEx(HDC DC, int X, int Y, TPoint *Old);
bool LineTo(HDC DC, int X, int Y);
bool Rectangle(HDC DC, int Left, int Top, int Right, int Bottom);
TColorRef GetPixel(HDC DC, int X, int Y);
TColorRef SetPixel(HDC DC, int X, int Y, TColorRef Color);

constexpr int HORZSIZE = 4;
constexpr int VERTSIZE = 6;
constexpr int HORZRES = 8;
constexpr int VERTRES = 10;
constexpr int BITSPIXEL = 12;
constexpr int PLANES = 14;
constexpr int NUMCOLORS = 24;
constexpr int RASTERCAPS = 38;
constexpr int LOGPIXELSX = 88;
constexpr int LOGPIXELSY = 90;
constexpr int PHYSICALWIDTH = 110;
constexpr int PHYSICALHEIGHT = 111;
constexpr int PHYSICALOFFSETX = 112;
constexpr int PHYSICALOFFSETY = 113;

// Resolution and size of the device behind the canvas (96 dpi for windows and bitmaps; the
// printer's resolution for a printer page).
int GetDeviceCaps(HDC DC, int Index);
