#include "controls/LbButtons.h"

#include "platform/WinGdi.h"

#include <QtCore/qglobal.h>

#include <algorithm>
#include <initializer_list>
#include <utility>

// The resource initialiser of a static library is not pulled in by the linker unless someone
// names it; it has to be called outside any namespace.
static void InitLbButtonResources()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(LbButtons);
        return true;
    }();
    (void)done;
}

namespace {

const TLbColorPreset PresetTable[] = {
    // Color, LightColor, ShadowColor, ColorWhenDown, HotTrackColor, Font.Color, Flat, Style
    {0x00C0C0, 0x00FFFF, 0x008080, clNone, 0x00DFDF, clBlack, false, bsModern},             // lcsGold
    {0xC0C0C0, 0xFFFFFF, 0x808080, clNone, clNone, clBlack, false, bsModern},                 // lcsChrome
    {0xFF8000, 0xFFFF00, 0xFF0000, clNone, clNone, clBlack, false, bsModern},                 // lcsBlue
    {0x0000FF, 0xC0C0FF, 0x0000C0, clNone, clNone, clBlack, false, bsModern},                 // lcsRed
    {clBtnFace, 0xB59284, 0xB59284, 0xB59284, 0xDED3D6, clBlack, true, bsNormal},             // lcsUltraFlat1
    {clBtnFace, 0x000000, 0x000000, 0x24DABC, 0x8CF6E4, clBlack, true, bsNormal},             // lcsUltraFlat2
    {0xD1D8DB, 0xB59284, 0xB59285, 0xB59285, 0xD2BDB6, clBlack, true, bsNormal},              // lcsUltraFlatXP
    {0xECCE94, 0xFCE6D4, 0x000000, clNone, clNone, clBlack, false, bsModern},                 // lcsAqua
    {clBtnFace, 0xFFFFFF, 0x808080, clNone, clNone, clBlack, false, bsNormal},                // lcsDefault
    {0x603000, 0xC0C0C0, 0xC0C0C0, 0xAD6529, 0xCEAE9C, 0xFFFFFF, false, bsQuicken},          // lcsQuicken
};

const TLbKindInfo KindTable[] = {
    {mrOk, "LBOK", "OK"},
    {mrCancel, "LBCANCEL", "Abbrechen"},
    {mrNone, "LBHELP", "Hilfe"},
    {mrYes, "LBYES", "Ja"},
    {mrNo, "LBNO", "Nein"},
    {mrNone, "LBCLOSE", "Schlie\xC3\x9F" "en"},
    {mrAbort, "LBABORT", "Abbrechen"},
    {mrRetry, "LBRETRY", "Wiederholen"},
    {mrIgnore, "LBIGNORE", "Ignorieren"},
    {mrAll, "LBALL", "Alle"},
};

int Trunc(double v) { return static_cast<int>(v); }

// Fills Left..Right from Top to Bottom with 32 bands going from colour A to colour B.
void DrawGradientBands(TCanvas *Canvas, int Left, int Right, int Top, int Bottom, TColor A, TColor B)
{
    const TColorRef a = ColorToRGB(A), b = ColorToRGB(B);
    const double ra = GetRValue(a), ga = GetGValue(a), ba = GetBValue(a);
    const double dr = (GetRValue(b) - ra) / 31.0, dg = (GetGValue(b) - ga) / 31.0, db = (GetBValue(b) - ba) / 31.0;
    const int step = (Bottom - Top) / 31;
    Canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    for (int i = 0; i < 32; ++i) {
        const int y = Top + i * (Bottom - Top) / 31;
        const int yEnd = std::min(y + step + 1, Bottom);
        if (yEnd <= y)
            continue;
        Canvas->Brush()->SetColor(static_cast<TColor>(RGB(Trunc(ra + i * dr), Trunc(ga + i * dg), Trunc(ba + i * db))));
        Canvas->FillRect(Rect(Left, y, Right, yEnd));
    }
}

// A run of one-pixel lines through Points in Color, each from its start up to but not including
// its end, as the classic line drawing sets them whatever their direction. The frames are axis
// parallel, so the pixels are filled directly.
void Lines(TCanvas *Canvas, TColor Color, std::initializer_list<TPoint> Points)
{
    const TBrushStyle oldStyle = Canvas->Brush()->Style();
    const TColor oldColor = Canvas->Brush()->Color();
    Canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    Canvas->Brush()->SetColor(Color);
    const TPoint *prev = nullptr;
    for (const TPoint &pt : Points) {
        if (prev) {
            const int x1 = prev->X, y1 = prev->Y, x2 = pt.X, y2 = pt.Y;
            if (y1 == y2 && x1 != x2)
                Canvas->FillRect(x2 > x1 ? Rect(x1, y1, x2, y1 + 1) : Rect(x2 + 1, y1, x1 + 1, y1 + 1));
            else if (x1 == x2 && y1 != y2)
                Canvas->FillRect(y2 > y1 ? Rect(x1, y1, x1 + 1, y2) : Rect(x1, y2 + 1, x1 + 1, y1 + 1));
        }
        prev = &pt;
    }
    Canvas->Brush()->SetColor(oldColor);
    Canvas->Brush()->SetStyle(oldStyle);
}

// The classic two-colour edge: Upper along the left and top, Lower along the right and bottom,
// the bottom line running on to BottomEnd.
void DrawEdgeLines(TCanvas *Canvas, int W, int H, TColor Upper, TColor Lower, int BottomEnd)
{
    Lines(Canvas, Upper, {Point(0, H - 1), Point(0, 0), Point(W - 1, 0)});
    Lines(Canvas, Lower, {Point(W - 1, 0), Point(W - 1, H - 1), Point(BottomEnd, H - 1)});
}

// Cuts frame Index out of the strip and draws it with the strip's own transparent colour, which
// is the frame's lower-left pixel.
void DrawGlyphFrame(TCanvas *Canvas, TBitmap *Glyph, int Index, int FrameWidth, int FrameHeight, int X, int Y)
{
    TBitmap frame(FrameWidth, FrameHeight);
    frame.Canvas()->CopyRect(Rect(0, 0, FrameWidth, FrameHeight), Glyph->Canvas(),
                             Rect(Index * FrameWidth, 0, (Index + 1) * FrameWidth, FrameHeight));
    frame.SetTransparent(true);
    Canvas->Draw(X, Y, &frame);
}

} // namespace

bool GetLbColorPreset(TLbColorStyle Value, TLbColorPreset &Preset)
{
    if (Value <= lcsCustom || Value > lcsQuicken)
        return false;
    Preset = PresetTable[Value - lcsGold];
    return true;
}

bool GetLbKindInfo(TLbButtonKind Value, TLbKindInfo &Info)
{
    if (Value <= bkCustom || Value > bkAll)
        return false;
    Info = KindTable[Value - bkOK];
    return true;
}

void LoadLbResourceBitmap(TBitmap *Bitmap, const UnicodeString &Name)
{
    InitLbButtonResources();
    Bitmap->LoadFromResourceName(Name);
}

TLbButtonThread::TLbButtonThread(TNotifyEvent Notify) : TThread(true), FNotify(std::move(Notify))
{
    SetFreeOnTerminate(true);
}

void TLbButtonThread::Execute()
{
    while (!Terminated()) {
        Sleep(30);
        if (Terminated())
            break;
        Synchronize([this] { DoEvent(); });
    }
}

void TLbButtonThread::DoEvent()
{
    if (FNotify)
        FNotify(this);
}

TColor BlendHotTrackColor(TColor Color, TColor HotColor, int Step)
{
    const TColorRef c = ColorToRGB(Color), h = ColorToRGB(HotColor);
    const double s = Step / 8.0;
    auto mix = [s](int a, int b) { return Trunc((1 - s) * a + s * b); };
    return static_cast<TColor>(
        RGB(mix(GetRValue(c), GetRValue(h)), mix(GetGValue(c), GetGValue(h)), mix(GetBValue(c), GetBValue(h))));
}

void DrawLbButtonFace(TCanvas *Canvas, int Width, int Height, int HoverStep, int NumGlyphs, TBitmap *Glyph,
                      bool Down, bool Hot, bool Transparent, bool Enabled, bool Flat, bool WordWrap,
                      bool ShowMenuArrow, TLbButtonStyle Style, TColor Color, TColor ColorWhenDown,
                      TColor HoverColor, TColor LightColor, TColor ShadowColor, TFont *Font,
                      TLbButtonLayout Layout, const UnicodeString &Caption, TAlignment Alignment)
{
    if (!Canvas)
        return;
    const int W = Width, H = Height;
    if (!Enabled)
        Down = false;
    const int p = Down && Style != bsEncarta ? 1 : 0;

    TColor fill = static_cast<TColor>(ColorToRGB(Color));
    if (Enabled && HoverColor != clNone)
        fill = BlendHotTrackColor(Color, HoverColor, HoverStep);
    if (Down && ColorWhenDown != clNone)
        fill = ColorWhenDown;

    // Background.
    Canvas->Pen()->SetStyle(TPenStyle::psSolid);
    Canvas->Pen()->SetWidth(1);
    Canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    if (Style == bsShape) {
        Canvas->Brush()->SetColor(clFuchsia);
        Canvas->FillRect(Rect(0, 0, W, H));
    } else if (!Transparent) {
        if (Style == bsModern) {
            DrawGradientBands(Canvas, 2, W - 2, 2, H / 4 + p, LightColor, fill);
            DrawGradientBands(Canvas, 2, W - 2, H / 4 + p, H - 1, fill, LightColor);
        } else if (Style != bsQuicken) {
            Canvas->Brush()->SetColor(fill);
            Canvas->FillRect(Rect(0, 0, W, H));
        }
    }

    // Frame.
    Canvas->Brush()->SetStyle(TBrushStyle::bsClear);
    const bool framed = (Enabled && (!Flat || Hot || Down)) || (!Enabled && !Flat);
    switch (Style) {
    case bsNormal:
    case bsEncarta:
        if (framed)
            DrawEdgeLines(Canvas, W, H, Down ? ShadowColor : LightColor, Down ? LightColor : ShadowColor, 0);
        break;
    case bsOld:
        if (framed) {
            if (Down)
                Lines(Canvas, ShadowColor, {Point(1, H - 3), Point(1, 1), Point(W - 2, 1)});
            else
                Lines(Canvas, ShadowColor, {Point(W - 2, 0), Point(W - 2, H - 2), Point(0, H - 2)});
            DrawEdgeLines(Canvas, W, H, Down ? cl3DDkShadow : LightColor, Down ? LightColor : cl3DDkShadow, -1);
        }
        break;
    case bsModern:
        Canvas->Pen()->SetColor(Down ? ShadowColor : fill);
        Canvas->Rectangle(1, 1, W - 1, H - 1);
        Canvas->Pen()->SetColor(ShadowColor);
        Canvas->RoundRect(0, 0, W, H, 6, 6);
        break;
    case bsQuicken:
        Canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
        Canvas->Brush()->SetColor(fill);
        Canvas->Pen()->SetStyle(TPenStyle::psClear);
        Canvas->RoundRect(0, 1, W, H, 4, 4);
        Canvas->Pen()->SetStyle(TPenStyle::psSolid);
        Canvas->Brush()->SetStyle(TBrushStyle::bsClear);
        Lines(Canvas, ShadowColor, {Point(4, 0), Point(W - 5, 0)});
        Lines(Canvas, ShadowColor, {Point(4, H - 1), Point(W - 5, H - 1)});
        break;
    case bsShape:
        break;
    }

    // Font.
    if (Font)
        Canvas->Font()->Assign(Font);
    if (Style == bsEncarta && Down) {
        TFontStyles fs = Canvas->Font()->Style();
        fs << TFontStyle::fsBold;
        Canvas->Font()->SetStyle(fs);
    }

    // Glyph frame: normal 0, disabled 1, down 2, hot 3, as far as the strip has them.
    const bool hasGlyph = Glyph && !Glyph->Empty() && NumGlyphs > 0;
    const int gw = hasGlyph ? Glyph->Width() / NumGlyphs : 0;
    const int gh = hasGlyph ? Glyph->Height() : 0;
    int frame = 1;
    if (Enabled) {
        frame = 0;
        if (Hot && NumGlyphs > 3)
            frame = 3;
        if (Down && NumGlyphs > 2)
            frame = 2;
    }
    if (frame >= NumGlyphs)
        frame = 0;
    const bool drawGlyph = hasGlyph && gw > 0 && gh > 0;

    unsigned format = DT_WORDBREAK;
    switch (Alignment) {
    case taLeftJustify: format |= DT_LEFT; break;
    case taRightJustify: format |= DT_RIGHT; break;
    case taCenter: format |= DT_CENTER; break;
    }

    int tw;
    if (Style == bsShape || Layout == blGlyphTop || Layout == blGlyphBottom)
        tw = W - 8;
    else
        tw = drawGlyph ? W - gw - 12 : W - 8;
    tw = std::max(tw, 0);

    UnicodeString text = Caption;
    if (!WordWrap)
        while (!text.isEmpty() && Canvas->TextWidth(text) > tw)
            text.chop(1);
    TRect measure(0, 0, tw, 0);
    DrawText(Canvas->Handle(), text, -1, &measure, DT_CALCRECT | format);
    const int th = measure.Height();
    const int tx = measure.Width();
    const int txa = text.isEmpty() ? 0 : tx + 4;

    if (Style == bsShape) {
        if (drawGlyph)
            DrawGlyphFrame(Canvas, Glyph, frame, gw, gh, (W - gw) / 2, (H - gh) / 2);
        TRect r(p, (H - th) / 2 + p, W, H);
        DrawText(Canvas->Handle(), text, -1, &r, DT_WORDBREAK | DT_CENTER);
    } else {
        int textLeft = p + 4, textTop = (H - th) / 2 + p;
        int gx = p + 4, gy = (H - gh) / 2 + p;
        switch (Layout) {
        case blGlyphLeft:
            if (drawGlyph)
                textLeft += gw + 4;
            if (!WordWrap) {
                if (Alignment == taRightJustify)
                    gx = W + p - gw - txa - 4;
                else if (Alignment == taCenter)
                    gx = (W - gw) / 2 + p - txa / 2;
            }
            break;
        case blGlyphRight:
            gx = p + 4 + txa;
            if (!WordWrap) {
                if (Alignment == taRightJustify)
                    gx = W + p - gw - 4;
                else if (Alignment == taCenter)
                    gx = (W - gw) / 2 + p + txa / 2;
            }
            break;
        case blGlyphTop:
        case blGlyphBottom: {
            const int bh = th + (gh > 0 ? gh + 4 : 0);
            const int c = (H - bh) / 2;
            if (Layout == blGlyphTop) {
                gy = c + p;
                textTop = c + gh + p;
            } else {
                textTop = c + p;
                gy = c + th + p;
            }
            if (Alignment == taRightJustify)
                gx = W - gw - 4 + p;
            else if (Alignment == taCenter)
                gx = (W - gw) / 2 + p;
            break;
        }
        }
        if (!Enabled)
            Canvas->Font()->SetColor(0x808080);
        TRect r(textLeft, textTop, textLeft + tw, textTop + th);
        DrawText(Canvas->Handle(), text, -1, &r, format);
        if (drawGlyph)
            DrawGlyphFrame(Canvas, Glyph, frame, gw, gh, gx, gy);
    }

    if (ShowMenuArrow) {
        TBitmap arrow;
        LoadLbResourceBitmap(&arrow, QStringLiteral("LBARROW"));
        arrow.SetTransparent(true);
        Canvas->Draw(W - 11, H / 2 - 1, &arrow);
    }
}
