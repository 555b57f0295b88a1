#pragma once
// The drawing vocabulary of the platform: colours, pens, brushes, fonts, the canvas, regions,
// bitmaps and pictures.
//
// A TCanvas draws through a QPainter. Window canvases receive the painter of the paint event
// (BeginPainting / EndPainting); a TBitmap's canvas opens its own painter on the bitmap's
// QImage when the first drawing call arrives; a printer page hands its painter in the same way
// as a window. Measuring (TextWidth, TextExtent, GetTextMetrics) works with or without an
// attached painter and never depends on the screen: fonts are set in pixels at 96 dpi.
//
// Geometry follows the classic device-context rules: a rectangle's right and bottom edges are
// exclusive, LineTo does not draw its end point, and nothing is antialiased.

#include "platform/Classes.h"
#include "platform/Messages.h"
#include "platform/Sets.h"
#include "platform/System.h"
#include "platform/Types.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <vector>

class QColor;
class QFont;
class QImage;
class QIODevice;
class QPainter;
class QPaintDevice;

// ---------------------------------------------------------------------------------------------
// Colours

// 0x00BBGGRR for a fixed colour; 0xFF0000nn for system colour nn.
using TColor = std::int32_t;
using TColorRef = std::uint32_t; // a resolved 0x00BBGGRR value
using COLORREF = TColorRef;

constexpr TColor TColorOf(std::uint32_t v) { return static_cast<TColor>(v); }

constexpr TColor clSystemColor = TColorOf(0xFF000000u);

constexpr TColor clScrollBar = TColorOf(0xFF000000u);
constexpr TColor clBackground = TColorOf(0xFF000001u);
constexpr TColor clActiveCaption = TColorOf(0xFF000002u);
constexpr TColor clInactiveCaption = TColorOf(0xFF000003u);
constexpr TColor clMenu = TColorOf(0xFF000004u);
constexpr TColor clWindow = TColorOf(0xFF000005u);
constexpr TColor clWindowFrame = TColorOf(0xFF000006u);
constexpr TColor clMenuText = TColorOf(0xFF000007u);
constexpr TColor clWindowText = TColorOf(0xFF000008u);
constexpr TColor clCaptionText = TColorOf(0xFF000009u);
constexpr TColor clActiveBorder = TColorOf(0xFF00000Au);
constexpr TColor clInactiveBorder = TColorOf(0xFF00000Bu);
constexpr TColor clAppWorkSpace = TColorOf(0xFF00000Cu);
constexpr TColor clHighlight = TColorOf(0xFF00000Du);
constexpr TColor clHighlightText = TColorOf(0xFF00000Eu);
constexpr TColor clBtnFace = TColorOf(0xFF00000Fu);
constexpr TColor clBtnShadow = TColorOf(0xFF000010u);
constexpr TColor clGrayText = TColorOf(0xFF000011u);
constexpr TColor clBtnText = TColorOf(0xFF000012u);
constexpr TColor clInactiveCaptionText = TColorOf(0xFF000013u);
constexpr TColor clBtnHighlight = TColorOf(0xFF000014u);
constexpr TColor cl3DDkShadow = TColorOf(0xFF000015u);
constexpr TColor cl3DLight = TColorOf(0xFF000016u);
constexpr TColor clInfoText = TColorOf(0xFF000017u);
constexpr TColor clInfoBk = TColorOf(0xFF000018u);
constexpr TColor clHotLight = TColorOf(0xFF00001Au);
constexpr TColor clGradientActiveCaption = TColorOf(0xFF00001Bu);
constexpr TColor clGradientInactiveCaption = TColorOf(0xFF00001Cu);
constexpr TColor clMenuHighlight = TColorOf(0xFF00001Du);
constexpr TColor clMenuBar = TColorOf(0xFF00001Eu);

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clLtGray = 0xC0C0C0;
constexpr TColor clDkGray = 0x808080;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clMoneyGreen = 0xC0DCC0;
constexpr TColor clSkyBlue = 0xF0CAA6;
constexpr TColor clCream = 0xF0FBFF;
constexpr TColor clMedGray = 0xA4A0A0;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

constexpr TColorRef RGB(int r, int g, int b)
{
    return static_cast<TColorRef>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int GetRValue(TColorRef c) { return static_cast<int>(c & 0xFF); }
constexpr int GetGValue(TColorRef c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int GetBValue(TColorRef c) { return static_cast<int>((c >> 16) & 0xFF); }

// The RGB value of a system colour index (COLOR_BTNFACE = 15, ...) in the fixed classic scheme.
TColorRef GetSysColor(int Index);
// Resolves a system colour to its fixed RGB value; any other value keeps its low 24 bits
// (so clNone gives white and clDefault black, as the classic conversion does).
TColorRef ColorToRGB(TColor Color);
// "clBtnFace" for named colours, "$00BBGGRR" for every other value.
UnicodeString ColorToString(TColor Color);
// Accepts the "cl" names (any case) and numbers ("$00FF0000", "16711680", "0xFF0000");
// raises EConvertError for anything else.
TColor StringToColor(const UnicodeString &S);
bool IdentToColor(const UnicodeString &Ident, TColor &Color);
bool ColorToIdent(TColor Color, UnicodeString &Ident);
// The resolved colour as a Qt colour (opaque).
QColor ColorToQColor(TColor Color);
TColor QColorToColor(const QColor &c);

// ---------------------------------------------------------------------------------------------
// Graphics objects: pens, brushes, fonts

class TCanvas;
class TBitmap;
class TGraphic;
struct TFontFace;

// Base of pens, brushes and fonts: a persistent object that reports every change.
class TGraphicsObject : public TPersistent {
public:
    TNotifyEvent OnChange;

protected:
    virtual void Changed();
};

enum class TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame, psUserStyle, psAlternate };
enum class TPenMode {
    pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
    pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};

class TPen : public TGraphicsObject {
public:
    TPen() = default;
    void Assign(TPersistent *Source) override;

    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    int Width() const { return FWidth; }
    void SetWidth(int Value);
    TPenStyle Style() const { return FStyle; }
    void SetStyle(TPenStyle Value);
    TPenMode Mode() const { return FMode; }
    void SetMode(TPenMode Value);

private:
    TColor FColor = clBlack;
    int FWidth = 1;
    TPenStyle FStyle = TPenStyle::psSolid;
    TPenMode FMode = TPenMode::pmCopy;
};

enum class TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

class TBrush : public TGraphicsObject {
public:
    TBrush();
    ~TBrush() override;
    void Assign(TPersistent *Source) override;

    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle Value);
    // A pattern bitmap; the brush keeps its own copy. nullptr removes it.
    TBitmap *Bitmap() const { return FBitmap.get(); }
    void SetBitmap(TBitmap *Value);
    TBrush *Handle() { return this; }

private:
    TColor FColor = clWhite;
    TBrushStyle FStyle = TBrushStyle::bsSolid;
    std::unique_ptr<TBitmap> FBitmap;
};

enum class TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle, 4>;
enum class TFontPitch { fpDefault, fpVariable, fpFixed };
using TFontCharset = Byte;

constexpr TFontCharset ANSI_CHARSET = 0;
constexpr TFontCharset DEFAULT_CHARSET = 1;
constexpr TFontCharset SYMBOL_CHARSET = 2;
constexpr TFontCharset OEM_CHARSET = 255;

class TFont : public TGraphicsObject {
public:
    TFont();
    ~TFont() override;
    void Assign(TPersistent *Source) override;

    const UnicodeString &Name() const { return FName; }
    void SetName(const UnicodeString &Value);
    // Points at 96 dpi; Size = -Height * 72 / 96 (rounded).
    int Size() const;
    void SetSize(int Value);
    // Negative: character height in pixels (without internal leading); positive: cell height.
    int Height() const { return FHeight; }
    void SetHeight(int Value);
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    // Escapement of the text in tenths of a degree, counter-clockwise.
    int Orientation() const { return FOrientation; }
    void SetOrientation(int Value);
    TFontCharset Charset() const { return FCharset; }
    void SetCharset(TFontCharset Value);
    TFontPitch Pitch() const { return FPitch; }
    void SetPitch(TFontPitch Value);
    int PixelsPerInch() const { return 96; }
    // The font is its own handle (HFONT) for the free calls of WinGdi.h.
    TFont *Handle() { return this; }

    // The Qt font that draws this font: the name mapped to an installed family, the size in
    // pixels, no antialiasing and no hinting that depends on the screen.
    QFont QtFont() const;
    // The resolved Qt font with its metrics, shared by all fonts of the same name, height, pitch
    // and style (defined in the platform's sources only).
    const TFontFace &Face() const;
    // Names that face: fonts that draw alike have the same id, and an id never names another
    // face, so it can key caches of measured or laid-out text.
    std::uint64_t FaceId() const;
    // Takes family, pixel size and style from a Qt font.
    void AssignQFont(const QFont &f);

protected:
    void Changed() override;

private:
    // The face of the current attributes when FFaceValid; FOtherFace is the one used before it,
    // so that a font switched to and fro (bold on and off) finds both without a lookup.
    mutable std::shared_ptr<const TFontFace> FFace;
    mutable std::shared_ptr<const TFontFace> FOtherFace;
    mutable bool FFaceValid = false;
    UnicodeString FName = QStringLiteral("Tahoma");
    int FHeight = -11;
    TFontStyles FStyle;
    TColor FColor = clWindowText;
    int FOrientation = 0;
    TFontCharset FCharset = DEFAULT_CHARSET;
    TFontPitch FPitch = TFontPitch::fpDefault;
};

// Sets name, height and style as one change, so that whoever follows the font (an auto-sized
// label measuring its text, say) does so once, for the final font, and not for each step.
void SetFontFace(TFont *Font, const UnicodeString &Name, int Height, TFontStyles Style);

// The installed family that draws a font name of the classic platform ("Verdana", "Tahoma",
// "MS Sans Serif", "Segoe UI" -> "DejaVu Sans"; "Courier New" and other fixed fonts ->
// "DejaVu Sans Mono").
UnicodeString MapFontFamily(const UnicodeString &Name, TFontPitch Pitch = TFontPitch::fpDefault);

// ---------------------------------------------------------------------------------------------
// Device-context state shared by the canvas and the free drawing calls of WinGdi.h.

// A region of pixels (rectangles, polygons, rounded rectangles and their combinations).
struct TRegionData;
using HRGN = TRegionData *;
// A device context (HDC, Messages.h) is the canvas itself: DrawText(Canvas->Handle(), ...)
// works on any canvas.
using HFONT = TFont *;

enum TCopyMode : DWORD {
    cmBlackness = 0x00000042,
    cmDstInvert = 0x00550009,
    cmMergeCopy = 0x00C000CA,
    cmMergePaint = 0x00BB0226,
    cmNotSrcCopy = 0x00330008,
    cmNotSrcErase = 0x001100A6,
    cmPatCopy = 0x00F00021,
    cmPatInvert = 0x005A0049,
    cmPatPaint = 0x00FB0A09,
    cmSrcAnd = 0x008800C6,
    cmSrcCopy = 0x00CC0020,
    cmSrcErase = 0x00440328,
    cmSrcInvert = 0x00660046,
    cmSrcPaint = 0x00EE0086,
    cmWhiteness = 0x00FF0062,
};

constexpr unsigned ETO_OPAQUE = 2;
constexpr unsigned ETO_CLIPPED = 4;
constexpr unsigned ETO_RTLREADING = 0x80;

constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;

constexpr int MM_TEXT = 1;
constexpr int MM_LOMETRIC = 2;
constexpr int MM_HIMETRIC = 3;
constexpr int MM_LOENGLISH = 4;
constexpr int MM_HIENGLISH = 5;
constexpr int MM_TWIPS = 6;
constexpr int MM_ISOTROPIC = 7;
constexpr int MM_ANISOTROPIC = 8;

enum class TFillStyle { fsSurface, fsBorder };
enum class TCanvasStates { csHandleValid, csFontValid, csPenValid, csBrushValid };
using TCanvasState = TSet<TCanvasStates, 4>;

class TCanvas : public TPersistent {
public:
    TCanvas();
    ~TCanvas() override;

    // --- the painter -------------------------------------------------------------------------
    // Attaches a painter that someone else owns (a paint event, a printer page); drawing goes
    // to it until EndPainting. The painter's device gives the canvas its size and resolution.
    // Device-context state (clip, mapping, background mode) starts afresh at each BeginPainting.
    void BeginPainting(QPainter *Painter);
    void EndPainting();
    bool HandleAllocated() const { return FPainter != nullptr; }
    // The opaque device-context pointer of the free drawing calls; it is the canvas itself.
    HDC Handle() { return this; }
    // The attached painter or, for a canvas that owns its device (a bitmap's), a painter opened
    // on demand; nullptr when there is nowhere to draw.
    QPainter *Painter();

    // --- objects ------------------------------------------------------------------------------
    TPen *Pen() const { return FPen.get(); }
    void SetPen(TPen *Value) { FPen->Assign(Value); }
    TBrush *Brush() const { return FBrush.get(); }
    void SetBrush(TBrush *Value) { FBrush->Assign(Value); }
    TFont *Font() const { return FFont.get(); }
    void SetFont(TFont *Value) { FFont->Assign(Value); }
    TCopyMode CopyMode() const { return FCopyMode; }
    void SetCopyMode(TCopyMode Value) { FCopyMode = Value; }
    TPoint PenPos() const { return FPenPos; }
    void SetPenPos(TPoint Value) { MoveTo(Value.X, Value.Y); }
    // The bounding box of the current clip in logical coordinates.
    TRect ClipRect();
    TCanvasState State() const;

    void Lock() {}
    void Unlock() {}
    bool TryLock() { return true; }
    int LockCount() const { return 0; }

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

    // --- drawing ------------------------------------------------------------------------------
    virtual void MoveTo(int X, int Y);
    virtual void LineTo(int X, int Y);
    virtual void Rectangle(int X1, int Y1, int X2, int Y2);
    void Rectangle(const TRect &R) { Rectangle(R.Left, R.Top, R.Right, R.Bottom); }
    virtual void FillRect(const TRect &R);
    virtual void FrameRect(const TRect &R);
    virtual void RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3);
    virtual void Ellipse(int X1, int Y1, int X2, int Y2);
    void Ellipse(const TRect &R) { Ellipse(R.Left, R.Top, R.Right, R.Bottom); }
    virtual void Polygon(const std::vector<TPoint> &Points);
    virtual void Polyline(const std::vector<TPoint> &Points);
    virtual void PolyBezier(const std::vector<TPoint> &Points);
    virtual void Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
    virtual void Chord(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
    virtual void Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
    virtual void FloodFill(int X, int Y, TColor Color, TFillStyle FillStyle);
    // Inverts the dotted frame of R; drawing it twice restores the pixels.
    virtual void DrawFocusRect(const TRect &R);

    virtual TColor Pixels(int X, int Y);
    virtual void SetPixel(int X, int Y, TColor Color);

    // --- text ---------------------------------------------------------------------------------
    virtual void TextOut(int X, int Y, const UnicodeString &Text);
    virtual void TextRect(const TRect &R, int X, int Y, const UnicodeString &Text);
    // The text primitive of every text call: Text with its top-left cell corner at (X, Y) in
    // the current font, text colour and background mode. ETO_OPAQUE fills R with the background
    // colour first, ETO_CLIPPED clips to R, ETO_RTLREADING reads right to left; PrefixPos >= 0
    // underlines that character.
    virtual void ExtTextOut(int X, int Y, unsigned Options, const TRect *R, const UnicodeString &Text,
                            int PrefixPos = -1);
    virtual int TextWidth(const UnicodeString &Text);
    virtual int TextHeight(const UnicodeString &Text);
    virtual TSize TextExtent(const UnicodeString &Text);

    // --- pictures -----------------------------------------------------------------------------
    virtual void Draw(int X, int Y, TGraphic *Graphic);
    virtual void StretchDraw(const TRect &R, TGraphic *Graphic);
    // Copies Source (a rectangle of the canvas Canvas) into Dest with the current CopyMode.
    virtual void CopyRect(const TRect &Dest, TCanvas *Canvas, const TRect &Source);
    // Copies Source of Bitmap into Dest, replacing the pixels of colour Color by the brush.
    virtual void BrushCopy(const TRect &Dest, TBitmap *Bitmap, const TRect &Source, TColor Color);

    // Copies Image into Dest (stretched, mirrored for reversed edges) with a raster operation of
    // the classic blit (cmSrcCopy, cmSrcAnd, ...); the brush is the pattern of the operation.
    void BlitImage(const TRect &Dest, const QImage &Image, DWORD Rop);
    // Draws Image into Dest blending its alpha channel (masked and transparent pictures).
    void DrawAlphaImage(const TRect &Dest, const QImage &Image);

    // --- device-context state (also reached through the WinGdi.h calls) -----------------------
    virtual int SetBkMode(int Mode);
    int GetBkMode() const { return FBkMode; }
    virtual TColorRef SetBkColor(TColorRef Color);
    TColorRef GetBkColor() const { return FBkColor; }
    virtual TColorRef SetTextColor(TColorRef Color);
    TColorRef GetTextColor() const { return FTextColor; }

    // Clipping. A region is in device coordinates (a null region removes the clip); the
    // rectangles of ExcludeClipRect and IntersectClipRect are logical.
    virtual int SelectClipRgn(HRGN Rgn);
    virtual int ExcludeClipRect(int Left, int Top, int Right, int Bottom);
    virtual int IntersectClipRect(int Left, int Top, int Right, int Bottom);
    // Copies the current clip into Rgn; 0 when there is no clip, 1 otherwise.
    int GetClipRgn(HRGN Rgn) const;
    int GetClipBox(TRect &R);
    // Saves the device-context state (clip, mapping, colours, modes, objects); returns its level.
    virtual int SaveDC();
    // Level > 0 restores that saved level; a negative level counts back from the latest.
    virtual bool RestoreDC(int Level);

    // Mapping of logical to device coordinates.
    virtual int SetMapMode(int Mode);
    int GetMapMode() const;
    virtual bool SetWindowExtEx(int X, int Y, TSize *Old = nullptr);
    virtual bool SetViewportExtEx(int X, int Y, TSize *Old = nullptr);
    virtual bool SetWindowOrgEx(int X, int Y, TPoint *Old = nullptr);
    virtual bool SetViewportOrgEx(int X, int Y, TPoint *Old = nullptr);
    bool GetWindowExtEx(TSize &S) const;
    bool GetViewportExtEx(TSize &S) const;
    bool GetWindowOrgEx(TPoint &P) const;
    bool GetViewportOrgEx(TPoint &P) const;
    bool LPtoDP(TPoint *Points, int Count) const;
    bool DPtoLP(TPoint *Points, int Count) const;

    // Resolution and size of the device (GetDeviceCaps): 96 dpi for windows and bitmaps.
    int PixelsPerInchX() const;
    int PixelsPerInchY() const;
    // Size of the device in pixels; zero when nothing is attached.
    TSize DeviceSize() const;

    // The canvas's internal state; the free calls of WinGdi.h work on it.
    struct TDCState;
    TDCState &DC() { return *FDC; }

protected:
    // A canvas that owns its device (a bitmap's) opens a painter here; the default has none.
    virtual QPainter *CreatePainter() { return nullptr; }
    // The pixels behind a raster canvas, for pixel reads, flood fill and blits: a bitmap's image,
    // or the image an attached painter draws on; nullptr for windows and printers.
    virtual QImage *RasterImage();
    // Called before a canvas closes a painter it opened itself.
    void ReleaseOwnPainter();
    virtual void Changing();
    virtual void Changed();

    // Applies the pen, brush and font, the clip and the mapping to the painter; null when
    // there is nowhere to draw.
    QPainter *Prepare();

private:
    friend class TBitmap;
    std::unique_ptr<TPen> FPen;
    std::unique_ptr<TBrush> FBrush;
    std::unique_ptr<TFont> FFont;
    std::unique_ptr<TDCState> FDC;
    QPainter *FPainter = nullptr;
    bool FOwnPainter = false;
    TPoint FPenPos;
    TCopyMode FCopyMode = cmSrcCopy;
    int FBkMode = OPAQUE;
    TColorRef FBkColor = 0xFFFFFF;
    TColorRef FTextColor = 0;
};

// ---------------------------------------------------------------------------------------------
// Pictures

class TGraphic : public TPersistent {
public:
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual void SetWidth(int Value) = 0;
    virtual void SetHeight(int Value) = 0;
    virtual bool Empty() const = 0;
    bool Transparent() const { return FTransparent; }
    virtual void SetTransparent(bool Value);
    bool Modified() const { return FModified; }
    void SetModified(bool Value) { FModified = Value; }

    virtual void LoadFromFile(const UnicodeString &FileName);
    virtual void SaveToFile(const UnicodeString &FileName);
    virtual void LoadFromStream(QIODevice &Stream) = 0;
    virtual void SaveToStream(QIODevice &Stream) = 0;
    // The platform's streams: reads from the stream's position to its end, writes at its position.
    void LoadFromStream(TStream *Stream);
    void SaveToStream(TStream *Stream);
    void LoadFromBytes(const QByteArray &Data);
    QByteArray SaveToBytes();

    // Draws the graphic stretched into R (transparent when Transparent is set).
    virtual void Draw(TCanvas *ACanvas, const TRect &R) = 0;
    // The picture as a 32-bit image (empty image when the graphic is empty).
    virtual QImage ToImage() const = 0;

    TNotifyEvent OnChange;

protected:
    virtual void Changed();
    bool FTransparent = false;
    bool FModified = false;
};

enum class TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
enum class TTransparentMode { tmAuto, tmFixed };

class TBitmapCanvas;

class TBitmap : public TGraphic {
public:
    using TGraphic::LoadFromStream;
    using TGraphic::SaveToStream;
    TBitmap();
    TBitmap(int AWidth, int AHeight);
    ~TBitmap() override;
    void Assign(TPersistent *Source) override;

    int Width() const override;
    int Height() const override;
    void SetWidth(int Value) override;
    void SetHeight(int Value) override;
    void SetSize(int AWidth, int AHeight);
    bool Empty() const override;

    TPixelFormat PixelFormat() const { return FPixelFormat; }
    void SetPixelFormat(TPixelFormat Value);
    // Drawing on the bitmap; the canvas draws straight into the bitmap's image.
    TCanvas *Canvas();
    // The first byte of row Row (32-bit BGRA pixels, whatever PixelFormat says).
    void *ScanLine(int Row);

    // tmAuto: the transparent colour is the lower-left pixel; tmFixed: TransparentColor as set.
    TColor TransparentColor() const;
    void SetTransparentColor(TColor Value);
    TTransparentMode TransparentMode() const { return FTransparentMode; }
    void SetTransparentMode(TTransparentMode Value);

    void LoadFromStream(QIODevice &Stream) override;
    void SaveToStream(QIODevice &Stream) override;
    // A bitmap of the program's named pictures (FindResourceBitmap); EResNotFound when none.
    void LoadFromResourceName(const UnicodeString &Name);

    void Draw(TCanvas *ACanvas, const TRect &R) override;
    QImage ToImage() const override;
    // The bitmap's own image (32-bit); drawing through Canvas() changes it, and the canvas lets
    // go of it while the caller holds it, so the caller may paint on it with a painter of its own.
    QImage &Image();
    void SetImage(const QImage &Img);

    TBitmap *Handle() { return this; }
    void Dormant() {}
    void FreeImage() {}
    void ReleaseHandle() {}
    bool HandleAllocated() const { return true; }

private:
    void EndCanvasPainting();
    friend class TBitmapCanvas;
    std::unique_ptr<QImage> FImage;
    std::unique_ptr<TBitmapCanvas> FCanvas;
    TPixelFormat FPixelFormat = TPixelFormat::pfDevice;
    TColor FTransparentColor = clDefault;
    TTransparentMode FTransparentMode = TTransparentMode::tmAuto;
};

class TIcon : public TGraphic {
public:
    using TGraphic::LoadFromStream;
    using TGraphic::SaveToStream;
    TIcon();
    ~TIcon() override;
    void Assign(TPersistent *Source) override;

    int Width() const override;
    int Height() const override;
    void SetWidth(int Value) override;
    void SetHeight(int Value) override;
    bool Empty() const override;
    void LoadFromStream(QIODevice &Stream) override;
    void SaveToStream(QIODevice &Stream) override;
    void Draw(TCanvas *ACanvas, const TRect &R) override;
    QImage ToImage() const override;
    void SetImage(const QImage &Img);

private:
    std::unique_ptr<QImage> FImage;
};

// PNG and GIF pictures, read through Qt's image readers and drawn with their alpha channel.
class TQtImageGraphic : public TGraphic {
public:
    using TGraphic::LoadFromStream;
    using TGraphic::SaveToStream;
    explicit TQtImageGraphic(const char *Format);
    ~TQtImageGraphic() override;
    void Assign(TPersistent *Source) override;

    int Width() const override;
    int Height() const override;
    void SetWidth(int Value) override;
    void SetHeight(int Value) override;
    bool Empty() const override;
    void LoadFromStream(QIODevice &Stream) override;
    void SaveToStream(QIODevice &Stream) override;
    void Draw(TCanvas *ACanvas, const TRect &R) override;
    QImage ToImage() const override;

private:
    QByteArray FFormat;
    std::unique_ptr<QImage> FImage;
};

class TPngImage : public TQtImageGraphic {
public:
    TPngImage() : TQtImageGraphic("PNG") {}
};

class TGIFImage : public TQtImageGraphic {
public:
    TGIFImage() : TQtImageGraphic("GIF") {}
};

// A TIFF picture, read and written through Qt's TIFF reader.
class TWICImage : public TQtImageGraphic {
public:
    TWICImage() : TQtImageGraphic("TIFF") {}
};

class TPicture : public TPersistent {
public:
    TPicture();
    ~TPicture() override;
    void Assign(TPersistent *Source) override;

    // The graphic, nullptr when the picture is empty. SetGraphic keeps a copy.
    TGraphic *Graphic() const { return FGraphic.get(); }
    void SetGraphic(TGraphic *Value);
    // The graphic as a bitmap; a picture holding something else is replaced by an empty bitmap.
    TBitmap *Bitmap();
    void SetBitmap(TBitmap *Value);
    TIcon *Icon();
    int Width() const;
    int Height() const;

    // Chooses the graphic class by the file's extension (bmp, ico, png, gif, tif, tiff, jpg, jpeg);
    // anything else raises EInvalidGraphic "Unknown picture file extension (.xyz)".
    void LoadFromFile(const UnicodeString &FileName);
    void SaveToFile(const UnicodeString &FileName);

    TNotifyEvent OnChange;

private:
    void Changed();
    std::unique_ptr<TGraphic> FGraphic;
};

// The program's named pictures (names without regard to case): the glyphs of the buttons and
// grids ("LBOK", "ESGCHK05", ...). A bitmap ":/bitmaps/<Name>.bmp" or ".png" in the Qt resources
// wins over the built-in picture of the same name. False when there is no such picture.
bool FindResourceBitmap(const UnicodeString &Name, QImage &Image);
// The same with the colour depth the picture was stored in (4, 8, 24, 32). A name is looked up
// and decoded once: later loads share that image (32-bit, 96 dpi), copied only when drawn on.
bool FindResourceBitmap(const UnicodeString &Name, QImage &Image, int &Depth);
// Pictures added to the Qt resources after a name was looked up take effect from here on.
void ResourceBitmapsChanged();
// The program's named cursors ("8000" .. "8014", "QRV_POINTER"; ":/cursors/<Name>.png" wins):
// the picture with alpha and its hot spot.
bool FindResourceCursor(const UnicodeString &Name, QImage &Image, TPoint &HotSpot);
QStringList ResourceBitmapNames();

// Opens a picture file by extension: the graphic for "bmp", "ico", "png", "gif", "jpg", "jpeg".
// Raises EInvalidGraphic for other extensions and for damaged files.
std::unique_ptr<TGraphic> LoadGraphicFromFile(const UnicodeString &FileName);
// A new, empty graphic of the class that reads the extension ("" when unknown -> nullptr).
std::unique_ptr<TGraphic> CreateGraphicForExtension(const UnicodeString &Ext);

// ---------------------------------------------------------------------------------------------
// Pictures by content and the program's raw-data resources

// The graphic that reads Data, chosen by its first bytes: BMP, GIF, ICO, PNG or JPEG. Any other
// content (WMF and EMF included) and damaged data raise EInvalidGraphic.
std::unique_ptr<TGraphic> LoadGraphicFromBytes(const QByteArray &Data);
// The program's raw-data resources: ":/rcdata/<Name>" in the Qt resources, the name compared
// without regard to case, or ":/rcdata/<ID>" by number. False when there is none.
bool FindResourceData(const UnicodeString &Name, QByteArray &Data);
bool FindResourceData(int ID, QByteArray &Data);
