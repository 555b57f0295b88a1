#pragma once
// A canvas for tests: it records every drawing call with its arguments and the pen, brush and
// font it was made with, so that a test can pin geometry without looking at pixels. Given a
// size, it also draws into an image of its own (Image()), so pixels can be checked as well.
//
// Only the outermost call is recorded: TextOut is one entry, not a TextOut and the ExtTextOut
// it is made of. The free calls of WinGdi.h reach the canvas through its methods, so DrawText
// shows up as one ExtTextOut per drawn line (or tab segment) with its computed position.
// Measuring (TextWidth, TextExtent) is not recorded.

#include "platform/Graphics.h"

#include <QStringList>

#include <memory>
#include <vector>

class TRecordingCanvas : public TCanvas {
public:
    struct TCall {
        UnicodeString Name;      // "Rectangle", "LineTo", "ExtTextOut", ...
        std::vector<int> Args;   // the integer arguments in call order (a rectangle as 4 values)
        UnicodeString Text;      // the text of text calls
        TColor PenColor = clBlack;
        int PenWidth = 1;
        TPenStyle PenStyle = TPenStyle::psSolid;
        TPenMode PenMode = TPenMode::pmCopy;
        TColor BrushColor = clWhite;
        TBrushStyle BrushStyle = TBrushStyle::bsSolid;
        UnicodeString FontName;
        int FontHeight = 0;
        TFontStyles FontStyle;
        TColor FontColor = clBlack;
        int FontOrientation = 0;
        TColorRef TextColor = 0;
        TColorRef BkColor = 0;
        int BkMode = 0;
        // "Name(a,b,...)" with the text last in double quotes.
        UnicodeString ToString() const;
    };

    // Without a size the canvas records only; with one it also draws into a white image.
    TRecordingCanvas();
    TRecordingCanvas(int Width, int Height);
    ~TRecordingCanvas() override;

    const std::vector<TCall> &Calls() const { return FCalls; }
    // Every recorded call as "Name(args)".
    QStringList Lines() const;
    // The recorded calls of one name.
    std::vector<TCall> CallsOf(const UnicodeString &Name) const;
    void Clear() { FCalls.clear(); }
    // The drawn image (null without a size).
    const QImage &Image() const;

    void MoveTo(int X, int Y) override;
    void LineTo(int X, int Y) override;
    void Rectangle(int X1, int Y1, int X2, int Y2) override;
    void FillRect(const TRect &R) override;
    void FrameRect(const TRect &R) override;
    void RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3) override;
    void Ellipse(int X1, int Y1, int X2, int Y2) override;
    void Polygon(const std::vector<TPoint> &Points) override;
    void Polyline(const std::vector<TPoint> &Points) override;
    void PolyBezier(const std::vector<TPoint> &Points) override;
    void Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) override;
    void Chord(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) override;
    void Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) override;
    void FloodFill(int X, int Y, TColor Color, TFillStyle FillStyle) override;
    void DrawFocusRect(const TRect &R) override;
    void SetPixel(int X, int Y, TColor Color) override;
    void TextOut(int X, int Y, const UnicodeString &Text) override;
    void TextRect(const TRect &R, int X, int Y, const UnicodeString &Text) override;
    void ExtTextOut(int X, int Y, unsigned Options, const TRect *R, const UnicodeString &Text,
                    int PrefixPos = -1) override;
    void Draw(int X, int Y, TGraphic *Graphic) override;
    void StretchDraw(const TRect &R, TGraphic *Graphic) override;
    void CopyRect(const TRect &Dest, TCanvas *Canvas, const TRect &Source) override;
    void BrushCopy(const TRect &Dest, TBitmap *Bitmap, const TRect &Source, TColor Color) override;
    int SetBkMode(int Mode) override;
    TColorRef SetBkColor(TColorRef Color) override;
    TColorRef SetTextColor(TColorRef Color) override;
    int SelectClipRgn(HRGN Rgn) override;
    int ExcludeClipRect(int Left, int Top, int Right, int Bottom) override;
    int IntersectClipRect(int Left, int Top, int Right, int Bottom) override;
    int SaveDC() override;
    bool RestoreDC(int Level) override;
    int SetMapMode(int Mode) override;
    bool SetWindowExtEx(int X, int Y, TSize *Old = nullptr) override;
    bool SetViewportExtEx(int X, int Y, TSize *Old = nullptr) override;
    bool SetWindowOrgEx(int X, int Y, TPoint *Old = nullptr) override;
    bool SetViewportOrgEx(int X, int Y, TPoint *Old = nullptr) override;

protected:
    QPainter *CreatePainter() override;
    QImage *RasterImage() override;

private:
    class TScope;
    bool Record(const UnicodeString &Name, std::vector<int> Args, const UnicodeString &Text = UnicodeString());
    std::vector<TCall> FCalls;
    std::unique_ptr<QImage> FImage;
    int FDepth = 0;
};
