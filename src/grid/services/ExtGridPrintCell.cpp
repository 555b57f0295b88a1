// Printed rows and cells: the row height, the row renderer (borders, background, text, cell
// graphics, lines), the printed size of a cell, the font size mapping between points and
// layout units, and the placement of turned text that the screen shares.
#include "grid/services/ExtGridPrintEngine.h"

#include "controls/ExtGridDraw.h"
#include "controls/ExtGridUtil.h"
#include "controls/MiniHTML.h"
#include "platform/ComCtrls.h"
#include "platform/ImgList.h"
#include "platform/WinGdi.h"

#include <algorithm>
#include <cmath>

// ---- font sizes, turned text, repaint --------------------------------------------------------------

int TExtStringGrid::MapFontHeight(int PointSize) const
{
    return -static_cast<int>(std::trunc(PointSize * 254.0 / 72.0 * FPrintFontScale));
}

int TExtStringGrid::MapFontSize(int Height)
{
    return static_cast<int>(std::trunc(Height * 72.0 / 254.0));
}

void PlaceRotatedText(TRect &R, int Angle, TAlignment HAlign, TVAlignment VAlign, int A, int B, int C, int D)
{
    const int L = R.Left, T = R.Top, Rt = R.Right, Bt = R.Bottom;
    const int quadrant = Angle <= 90 ? 1 : Angle <= 180 ? 2 : Angle > 270 ? 4 : 3;
    const int vmid = (B + T + A - Bt) / 2;
    int left = L, top = T;
    switch (quadrant) {
    case 1:
        left = HAlign == taLeftJustify ? L : HAlign == taRightJustify ? Rt - D - C : L + (Rt - L - C - D) / 2;
        top = VAlign == vtaTop ? T + B : VAlign == vtaCenter ? T + B - vmid : Bt - A;
        break;
    case 2:
        left = HAlign == taLeftJustify ? L + D : HAlign == taRightJustify ? Rt - C : Rt - (C + Rt - L - D) / 2;
        top = VAlign == vtaTop ? T + A + B : VAlign == vtaCenter ? T + A + B - vmid : Bt;
        break;
    case 3:
        left = HAlign == taLeftJustify ? L + C + D : HAlign == taRightJustify ? Rt : Rt - (Rt - L - C - D) / 2;
        top = VAlign == vtaTop ? T + A : VAlign == vtaCenter ? T + A - vmid : Bt - B;
        break;
    default:
        left = HAlign == taLeftJustify ? L + C : HAlign == taRightJustify ? Rt - D : L + (C + Rt - L - D) / 2;
        top = VAlign == vtaTop ? T : VAlign == vtaCenter ? T - vmid : Bt - A - B;
        break;
    }
    R.Left = left;
    R.Top = top;
}

void TExtStringGrid::CalcRotatedTextPos(TRect &ARect, int Angle, const UnicodeString &Text, TAlignment HAlign,
                                        TVAlignment VAlign)
{
    ARect.Left += 2;
    ARect.Top += 2;
    ARect.Right -= 2;
    ARect.Bottom -= 2;
    const TSize ext = Canvas()->TextExtent(Text);
    const double a = Angle * M_PI / 180.0;
    const int hc = std::abs(static_cast<int>(std::trunc(std::cos(a) * ext.cy)));
    const int ws = std::abs(static_cast<int>(std::trunc(std::sin(a) * ext.cx)));
    const int hs = std::abs(static_cast<int>(std::trunc(std::sin(a) * ext.cy)));
    const int wc = std::abs(static_cast<int>(std::trunc(std::cos(a) * ext.cx)));
    PlaceRotatedText(ARect, Angle, HAlign, VAlign, hc, ws, hs, wc);
}

void TExtStringGrid::RepaintGridRect(const TGridRect &GridRect)
{
    if (!HandleAllocated())
        return;
    const TRect a = CellRect(GridRect.Left, GridRect.Top);
    const TRect b = CellRect(GridRect.Right, GridRect.Bottom);
    TRect r(std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right), std::max(a.Bottom, b.Bottom));
    ::InvalidateRect(Handle(), &r, false);
}

// ---- row height --------------------------------------------------------------------------------------

int TGridPrintEngine::RowHeight(int ARow)
{
    if (ARow == CacheRow)
        return CacheHeight;
    if (PS.NoAutoSizeRow)
        return Round(Grid.RowHeights(ARow) * S) - 4;
    int height = 0;
    if (PS.UseFixedHeight)
        height = PS.FixedHeight;
    else {
        Grid.FPrintFontScale = F;
        int best = 0, last = 0;
        for (int k = Range.Left; k <= Range.Right; ++k) {
            const int R = Grid.DisplToRealCol(k);
            const int h = MeasureCell(R, ARow).Y;
            last = h;
            if (h > best && !Grid.IsYMergedCell(R, ARow))
                best = h;
        }
        Grid.FPrintFontScale = 1.0;
        if (best == 0)
            best = last;
        height = best + best / 8;
        if (Grid.OnPrintSetRowHeight)
            Grid.OnPrintSetRowHeight(&Grid, ARow, height);
    }
    CacheRow = ARow;
    CacheHeight = height;
    return height;
}

void TGridPrintEngine::PrintLook(int R, int ARow, TBrush &Brush, TFont &Font, TColor &ColorTo, TVAlignment &VA,
                                 bool &WordWrap)
{
    TGridDrawState state;
    TColor mirror = clNone, mirrorTo = clNone;
    TAlignment ha = taLeftJustify;
    bool ww = false;
    TCellGradientDirection gd{};
    Grid.GetVisualProperties(R, ARow, state, true, false, false, &Brush, ColorTo, mirror, mirrorTo, &Font, ha, VA, ww,
                             gd);
    WordWrap = Grid.WordWrap();
    Grid.DoGetWordWrap(R, ARow, WordWrap);
}

// ---- drawing a row -----------------------------------------------------------------------------------

namespace {

bool IsCheckKind(TCellType T)
{
    return T == ctCheckBox || T == ctDataCheckBox || T == ctVirtCheckBox || T == ctRowCheckBox || T == ctRadioButton;
}

TCellBorders SidesOf(TPrintBorders B)
{
    switch (B) {
    case pbSingle:
    case pbDouble: return TCellBorders{cbTop, cbLeft, cbRight, cbBottom};
    case pbHorizontal:
    case pbAroundHorizontal: return TCellBorders{cbTop, cbBottom};
    case pbVertical:
    case pbAroundVertical: return TCellBorders{cbLeft, cbRight};
    default: return TCellBorders();
    }
}

// The widest line of the text, lines split as the cell splits them.
int WidestLine(TCanvas *C, UnicodeString Text, bool Multiline)
{
    int widest = 0;
    if (!Multiline)
        return C->TextWidth(Text);
    do
        widest = std::max(widest, C->TextWidth(TakeFirstLine(Text, true)));
    while (!Text.isEmpty());
    return widest;
}

// Runs Body in device pixels (the text mapping) with R converted to them, then goes back.
template <typename Fn> void InDevicePixels(TCanvas *C, TRect R, Fn Body)
{
    TPoint p[2] = {{R.Left, R.Top}, {R.Right, R.Bottom}};
    C->LPtoDP(p, 2);
    const int mode = C->SetMapMode(MM_TEXT);
    Body(TRect(p[0].X, p[0].Y, p[1].X, p[1].Y));
    C->SetMapMode(mode);
}

TRect Normalized(TRect R)
{
    if (R.Top > R.Bottom)
        std::swap(R.Top, R.Bottom);
    if (R.Left > R.Right)
        std::swap(R.Left, R.Right);
    return R;
}

// A picture stretched into R (layout units) through its pixels, which every engine can draw.
void StretchImage(TCanvas *C, const TRect &R, const QImage &Image)
{
    if (!Image.isNull())
        C->DrawAlphaImage(Normalized(R), Image);
}

} // namespace

int TGridPrintEngine::DrawRow(int AY, int AFirst, int ALast, int ARow)
{
    Grid.FPrintFontScale = F;
    const int P = RowHeight(ARow) + 2 * E8 + PS.RowSpacing;
    struct TScaleReset {
        TExtStringGrid &G;
        ~TScaleReset() { G.FPrintFontScale = 1.0; }
    } reset{Grid};
    if (!DrawMode() || !PageInRange(PageIndex))
        return P;
    for (int c = AFirst; c <= ALast; ++c) {
        if (!ColTaken(c))
            continue;
        const int R = Grid.DisplToRealCol(c);
        const TPoint ext = Grid.CellExt(R, ARow);
        const int sx = std::max(ext.X, 0), sy = std::max(ext.Y, 0);
        int v = 0;
        for (int i = 0; i <= sx; ++i)
            v += Width(c + i) + Sp;
        auto extraRow = [&](int rr) {
            const int t = static_cast<int>(std::trunc((Grid.RowHeights(rr) - 4) * S));
            return t + t / 8 + 2 * E8 + PS.RowSpacing;
        };
        int B = P;
        if (sy > 0) {
            const int lastRow = std::min(ARow + sy, Grid.RowCount() - 1);
            if (PS.NoAutoSizeRow) {
                B = 0;
                for (int rr = ARow; rr <= lastRow; ++rr)
                    B += extraRow(rr);
            } else
                for (int rr = ARow + 1; rr <= lastRow; ++rr)
                    B += extraRow(rr);
        }
        DrawCell(c, R, ARow, AY, P, v, B, sx, sy, ALast);
    }
    return P;
}

void TGridPrintEngine::DrawCell(int ADisplCol, int R, int ARow, int AY, int P, int V, int B, int SX, int SY, int ALast)
{
    TCanvas *cv = C;
    const int L = Offset(ADisplCol);
    const int Rt = L + V, T = AY, Bt = AY - B;
    const bool preview = Mode == TPrintRunMode::Preview;

    // 1: sides and pen.
    TPen savedPen;
    savedPen.Assign(cv->Pen());
    TCellBorders sides = SidesOf(PS.Borders);
    cv->Pen()->SetWidth(1);
    cv->Pen()->SetColor(PS.BorderColor);
    Grid.DoGetCellPrintBorder(R, ARow, cv->Pen(), sides);
    const int penWidth = cv->Pen()->Width();
    const TColor penColor = cv->Pen()->Color();

    // 2: the content of the cell, once per merged range.
    if (!Grid.IsMergedCell(R, ARow) || Grid.IsBaseCell(R, ARow))
        DrawContent(ADisplCol, R, ARow, AY, P, V, B, SX, SY, ALast, sides, penWidth);

    // 12: the lines.
    cv->Pen()->SetWidth(preview ? penWidth : Round(penWidth * S));
    cv->Pen()->SetColor(penColor);
    const bool base = Grid.IsBaseCell(R, ARow);
    if (!base) {
        if (SX > 0) {
            sides.Exclude(cbLeft);
            sides.Exclude(cbRight);
        }
        if (SY > 0) {
            sides.Exclude(cbTop);
            sides.Exclude(cbBottom);
        }
    }
    const TPoint span = Grid.CellSpan(R, ARow);
    if (Grid.IsYMergedCell(R, ARow) && SY == 0 && span.Y > 0 && !base)
        sides.Exclude(cbTop);
    if (Grid.IsXMergedCell(R, ARow) && SX == 0 && span.X > 0 && !base)
        sides.Exclude(cbLeft);
    int right = Rt, bottom = Bt;
    if (bottom < H + PS.FooterSize) {
        bottom = AY - P;
        sides.Exclude(cbBottom);
    }
    if (right > W)
        right = std::min(right, Offset(ALast + 1));
    int left = L;
    if (sides.Contains(cbLeft)) {
        const int x = R > First ? L - cv->Pen()->Width() : L;
        cv->MoveTo(x, T);
        cv->LineTo(x, bottom);
    }
    if (sides.Contains(cbRight)) {
        cv->MoveTo(right, T);
        cv->LineTo(right, bottom);
    }
    if (sides.Contains(cbTop)) {
        cv->MoveTo(left, T);
        cv->LineTo(right, T);
    }
    if (sides.Contains(cbBottom)) {
        cv->MoveTo(left, bottom);
        cv->LineTo(right, bottom);
    }
    cv->Pen()->Assign(&savedPen);
}

void TGridPrintEngine::DrawContent(int ADisplCol, int R, int ARow, int AY, int P, int V, int B, int SX, int SY,
                                   int ALast, TCellBorders Sides, int PenWidth)
{
    TCanvas *cv = C;
    const int L = Offset(ADisplCol);
    const int Rt = L + V, T = AY, Bt = AY - B;
    const bool preview = Mode == TPrintRunMode::Preview;

    // 3: colours, font, word wrap.
    TBrush savedBrush;
    savedBrush.Assign(cv->Brush());
    TFont savedFont;
    savedFont.Assign(cv->Font());
    TBrush brush;
    brush.Assign(cv->Brush());
    TFont font;
    TColor colorTo = clNone;
    TVAlignment va = vtaTop;
    bool wordWrap = false;
    PrintLook(R, ARow, brush, font, colorTo, va, wordWrap);
    cv->Brush()->Assign(&brush);
    cv->Brush()->SetStyle(TBrushStyle::bsSolid);
    const int pointSize = font.Size();
    cv->Font()->Assign(&font);
    cv->Font()->SetHeight(Grid.MapFontHeight(pointSize));
    cv->SetTextColor(ColorToRGB(font.Color()));

    // 4: the text.
    UnicodeString text = IsDataGraphicCell(&Grid, R, ARow) ? UnicodeString() : Grid.GetFormattedCell(R, ARow);
    const int kind = CellTextKind(text, Grid.EnableHTML());
    if (kind == 3)
        text = Grid.GetCellText(R, ARow);

    // 5: the background.
    TRect bg(L, T, Rt, Bt);
    if (!Sides.Contains(cbLeft))
        bg.Left += 2 * PenWidth;
    if (!Sides.Contains(cbTop))
        bg.Top -= 2 * PenWidth;
    const TColor penBefore = cv->Pen()->Color();
    cv->Pen()->SetColor(brush.Color());
    DrawSteppedGradient(cv, colorTo, brush.Color(), 64, bg, false);
    cv->Pen()->SetColor(penBefore);
    cv->Brush()->Assign(&brush);
    cv->Brush()->SetStyle(TBrushStyle::bsSolid);

    // 6: alignment and line metrics.
    const TAlignment ha = Grid.GetCellAlignment(R, ARow).first;
    int M = cv->TextHeight(QStringLiteral("gh")) + PS.RowSpacing;
    M += M / 8;
    const int Wt = WidestLine(cv, text, Grid.Multilinecells());

    // 7: rotation.
    int angle = 0;
    const bool rotated = Grid.IsRotated(R, ARow, angle);
    int hc = 0, ws = 0, hs = 0, wc = 0;
    if (rotated) {
        int k = -10;
        if (!preview && Grid.FPrinterdriverfix && Printer &&
            DeviceCapabilities(Printer->DeviceName(), Printer->PortName(), DC_ORIENTATION, nullptr, nullptr) != 270)
            k = 10;
        // The canvas turns text in device space, where the page's upward y axis would have
        // reversed the turn: its orientation is the negated escapement.
        cv->Font()->SetOrientation(-angle * k);
        const double a = angle * M_PI / 180.0;
        wc = std::abs(static_cast<int>(std::trunc(std::cos(a) * Wt)));
        hs = std::abs(static_cast<int>(std::trunc(std::sin(a) * M)));
        ws = std::abs(static_cast<int>(std::trunc(std::sin(a) * Wt)));
        hc = std::abs(static_cast<int>(std::trunc(std::cos(a) * M)));
        M = ws + hc;
    }

    // 8: where the graphic goes.
    TCellGraphic *g = Grid.GetCellGraphic(R, ARow);
    const bool graphic = g && PS.PrintGraphics;
    TRect gr(L, T, Rt, Bt), tr(L, T, Rt, Bt);
    bool textAllowed = true;
    if (graphic) {
        TPoint size;
        Grid.GetCellGraphicPrintSize(R, ARow, V, B, S, size);
        const int gw = Round(size.X * S), gh = Round(size.Y * S);
        if (g->CellType() == ctRadio)
            textAllowed = false;
        switch (g->CellHAlign()) {
        case haLeft:
        case haBeforeText:
            gr.Left = L + Round(S);
            gr.Right = gr.Left + gw;
            tr.Left = gr.Right;
            break;
        case haRight:
        case haAfterText:
            gr.Left = Rt - gw;
            gr.Right = Rt;
            tr.Right = gr.Left;
            break;
        case haCenter:
            gr.Left = L + (V - gw) / 2;
            gr.Right = gr.Left + gw;
            break;
        case haFull: break;
        }
        switch (g->CellVAlign()) {
        case vaTop: gr.Top = T; gr.Bottom = T - gh; break;
        case vaBottom: gr.Top = Bt + gh; gr.Bottom = Bt; break;
        case vaCenter: gr.Top = T - (B - gh) / 2; gr.Bottom = gr.Top - gh; break;
        case vaUnderText: gr.Top = Bt + gh; gr.Bottom = Bt; tr.Bottom = Bt + gh; break;
        case vaAboveText: gr.Top = T; gr.Bottom = T - gh; tr.Top = T - gh; break;
        case vaFull: break;
        }
        if (IsCheckKind(g->CellType()) && text.isEmpty()) {
            if (ha == taRightJustify) {
                gr.Left = Rt - gw;
                gr.Right = Rt;
                tr.Right = gr.Left;
            } else if (ha == taCenter) {
                gr.Left = Offset(ADisplCol) + (V - gw) / 2;
                gr.Right = gr.Left + gw;
            }
        }
    }

    // 9: the text.
    cv->Brush()->SetStyle(TBrushStyle::bsClear);
    cv->SetBkMode(TRANSPARENT);
    const int rightEdge = Offset(ALast + 1);
    // The text inset on the aligned side(s); answers the alignment's flag.
    auto insetByAlignment = [&](TRect &r) -> unsigned {
        if (ha == taLeftJustify) {
            r.Left += Inset;
            return 0;
        }
        r.Right -= Inset;
        if (ha == taRightJustify)
            return DT_RIGHT;
        r.Left += Inset;
        return DT_CENTER;
    };
    auto stripped = [&](UnicodeString line) {
        if (Grid.URLShow() && !Grid.URLFull())
            StripLinkScheme(line);
        return line;
    };
    // The right edge of a merged range: the columns are counted by display column.
    const TPoint span = Grid.CellSpan(R, ARow);
    auto extendMerged = [&](TRect &r) {
        if (Grid.IsYMergedCell(R, ARow))
            r.Bottom -= span.Y * (PS.RowSpacing + P);
        if (Grid.IsXMergedCell(R, ARow))
            r.Right = Offset(ADisplCol + span.X + 1);
    };
    if (textAllowed && !text.isEmpty()) {
        if (kind == 1) {
            InDevicePixels(cv, tr, [&](TRect d) {
                TFont keep;
                keep.Assign(cv->Font());
                cv->Font()->SetOrientation(0);
                cv->Font()->SetSize(static_cast<int>(std::trunc(pointSize * F)));
                d.Right -= Inset + Round(2 * S);
                d.Bottom += Round(E8 * S);
                THtmlRenderParams p;
                p.Canvas = cv;
                p.Text = text;
                p.Rect = d;
                p.Images = Grid.GridImages();
                p.PrintMode = true;
                p.PrintScale = ResRatio;
                p.AnchorColor = Grid.URLColor();
                p.Pictures = Grid.PictureContainer();
                p.PictureCache = Grid.FImageCache;
                p.WordWrap = wordWrap;
                RenderHtmlText(p);
                cv->Font()->Assign(&keep);
            });
        } else if (kind == 2) {
            InDevicePixels(cv, tr, [&](TRect d) { Grid.DrawRichCell(R, ARow, Normalized(d), cv); });
        } else if (wordWrap && PS.NoAutoSize && !rotated) {
            TRect r(tr.Left + Round(2 * S), T, tr.Right, Bt);
            if (r.Right > W)
                r.Right = std::min(r.Right, rightEdge);
            unsigned flags = DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX | DT_EDITCONTROL;
            flags |= insetByAlignment(r);
            if (Grid.UseRightToLeftReading())
                flags |= DT_RTLREADING;
            DrawText(cv->Handle(), text, -1, &r, flags);
        } else if (CountTextLines(text, Grid.Multilinecells()) == 1) {
            UnicodeString rest = text;
            const UnicodeString line = stripped(TakeFirstLine(rest, false));
            TRect r(tr.Left, T, tr.Right, T - P - PS.RowSpacing);
            if (r.Right > W)
                r.Right = std::min(r.Right, rightEdge);
            if (rotated) {
                extendMerged(r);
                r.Top += Inset;
                r.Bottom -= Inset;
                const TRect clip = r;
                PlaceRotatedText(r, angle, ha, va, -hc, -ws, hs, wc);
                cv->TextRect(clip, r.Left, r.Top, line);
            } else if (Grid.EnhTextSize() && PS.NoAutoSize) {
                unsigned flags = DT_SINGLELINE | DT_NOPREFIX | DT_EDITCONTROL | DT_END_ELLIPSIS;
                if (ha == taRightJustify)
                    flags |= DT_RIGHT;
                else if (ha == taCenter)
                    flags |= DT_CENTER;
                TRect d(r.Left + Grid.FXYOffset.X, r.Top - Grid.FXYOffset.Y, r.Right, r.Bottom);
                DrawText(cv->Handle(), line, -1, &d, flags);
            } else {
                unsigned flags = DT_SINGLELINE | DT_NOPREFIX | DT_EDITCONTROL;
                flags |= insetByAlignment(r);
                if (va == vtaCenter)
                    flags |= DT_VCENTER;
                else if (va == vtaBottom)
                    flags |= DT_BOTTOM;
                extendMerged(r);
                r.Top -= E8;
                DrawText(cv->Handle(), line, -1, &r, flags);
            }
        } else {
            const int lines = CountTextLines(text, Grid.Multilinecells());
            int N = 0;
            if (!Grid.IsMergedCell(R, ARow)) {
                if (va == vtaCenter)
                    N = (P - (M - PS.RowSpacing) * lines) / 2;
                else if (va == vtaBottom)
                    N = P - (M - PS.RowSpacing) * lines;
            }
            UnicodeString rest = text;
            int top = T;
            bool firstLine = true;
            while (!rest.isEmpty()) {
                const UnicodeString line = stripped(TakeFirstLine(rest, true));
                const int w = cv->TextWidth(line);
                int x = L + Inset;
                if (ha == taRightJustify)
                    x = Rt - Inset - w;
                else if (ha == taCenter)
                    x = L + (Rt - L - w) / 2;
                cv->TextRect(TRect(tr.Left, top, tr.Right, Bt), x, top - N, line);
                if (firstLine) {
                    top -= N;
                    N = 0;
                    firstLine = false;
                }
                top = top + PS.RowSpacing - M;
            }
        }
    }

    // 10: the graphic.
    cv->Brush()->SetStyle(TBrushStyle::bsSolid);
    if (graphic)
        DrawGraphic(g, R, ARow, gr, tr);
    cv->Font()->Assign(&savedFont);
    cv->Brush()->Assign(&savedBrush);

    // 11: the application's own drawing, in device pixels.
    if (Grid.OnCustomCellDraw) {
        InDevicePixels(cv, TRect(L, AY, Rt, AY - P), [&](TRect d) {
            const int keepHeight = cv->Font()->Height();
            cv->Font()->SetSize(PS.Font()->Size());
            Grid.OnCustomCellDraw(&Grid, cv, R, ARow, TGridDrawState(), d, true);
            cv->Font()->SetHeight(keepHeight);
        });
    }
    (void)SX;
    (void)SY;
}

void TGridPrintEngine::DrawGraphic(TCellGraphic *G, int R, int ARow, TRect Gr, const TRect &Tr)
{
    TCanvas *cv = C;
    auto *images = dynamic_cast<TCustomImageList *>(Grid.GetGridImageList());
    // An image of the list on a bitmap of the canvas's brush colour, as a picture is printed.
    auto listImage = [&](int Index) {
        TBitmap bmp(images->Width(), images->Height());
        bmp.Canvas()->Brush()->SetColor(cv->Brush()->Color());
        bmp.Canvas()->FillRect(TRect(0, 0, images->Width(), images->Height()));
        images->Draw(bmp.Canvas(), 0, 0, Index);
        return bmp.ToImage();
    };
    switch (G->CellType()) {
    case ctBitmap:
        if (TBitmap *b = G->CellBitmap(); b && !b->Empty())
            StretchImage(cv, Gr, b->ToImage());
        break;
    case ctIcon:
        if (TIcon *i = G->CellIcon(); i && !i->Empty())
            StretchImage(cv, Gr, i->ToImage());
        break;
    case ctImageList:
    case ctDataImage: {
        if (!images)
            break;
        int index = G->CellIndex();
        if (G->CellType() == ctDataImage)
            index = Grid.CellIntOrZero(R, ARow);
        if (index >= 0 && index < images->Count())
            StretchImage(cv, Gr, listImage(index));
        break;
    }
    case ctImages:
        if (auto *list = dynamic_cast<TIntList *>(G->CellObject()); list && images) {
            const int iw = Round(S * images->Width()), ih = Round(S * images->Height());
            for (int k = 0; k < list->Count(); ++k) {
                const int idx = list->Items(k);
                if (idx < 0 || idx >= images->Count())
                    continue;
                TRect r = G->CellBoolean() ? TRect(Gr.Left + k * iw, Gr.Top, Gr.Left + (k + 1) * iw, Gr.Top - ih)
                                           : TRect(Gr.Left, Gr.Top - k * ih, Gr.Left + iw, Gr.Top - (k + 1) * ih);
                StretchImage(cv, r, listImage(idx));
            }
        }
        break;
    case ctPicture:
        if (auto *pic = dynamic_cast<TPicture *>(G->CellObject()); pic && pic->Graphic())
            StretchImage(cv, Gr, pic->Graphic()->ToImage());
        break;
    case ctFilePicture:
        if (auto *fp = dynamic_cast<TFilePicture *>(G->CellObject()); fp && !fp->Filename().isEmpty()) {
            // A file that is gone ends the run with the picture's error.
            TPicture pic;
            pic.LoadFromFile(fp->Filename());
            if (pic.Graphic())
                StretchImage(cv, Gr, pic.Graphic()->ToImage());
        }
        break;
    case ctCheckBox:
    case ctDataCheckBox:
    case ctVirtCheckBox:
    case ctRowCheckBox: {
        TRect r = Gr;
        r.Bottom = r.Top - Round(Grid.GetCellGraphicSize(R, ARow).Y * S);
        bool checked = false;
        Grid.GetCheckBoxState(R, ARow, checked);
        unsigned state = DFCS_BUTTONCHECK;
        if (checked)
            state |= DFCS_CHECKED;
        if (Grid.ControlLook()->ControlStyle() == TControlLook::csFlat)
            state |= DFCS_FLAT;
        TRect box = Normalized(r);
        DrawFrameControl(cv->Handle(), box, DFC_BUTTON, state);
        break;
    }
    case ctRadio: {
        TRect r = Gr;
        r.Bottom = r.Top - Round(Grid.GetCellGraphicSize(R, ARow).Y * S);
        TStrings *options = Grid.GetRadioStrings(R, ARow);
        Grid.DrawRadioButtons(cv, r, options ? options->Count() : 0, G->CellIndex(), G->CellBoolean(), false, options,
                              false, R, ARow, Grid.ControlLook()->ControlStyle(), S, true);
        break;
    }
    case ctNode: {
        const TColor keep = cv->Pen()->Color();
        cv->Pen()->SetColor(Grid.CellNode()->NodeColor());
        const int cx = (Gr.Left + Gr.Right) / 2, cy = (Gr.Top + Gr.Bottom) / 2;
        const TBrushStyle bs = cv->Brush()->Style();
        cv->Brush()->SetStyle(TBrushStyle::bsClear);
        cv->Rectangle(cx - 10, cy + 10, cx + 10, cy - 10);
        cv->Brush()->SetStyle(bs);
        cv->MoveTo(cx - 6, cy);
        cv->LineTo(cx + 7, cy);
        if (G->CellBoolean()) {
            cv->MoveTo(cx, cy + 6);
            cv->LineTo(cx, cy - 7);
        }
        cv->Pen()->SetColor(keep);
        break;
    }
    case ctProgress: {
        TRect r = Gr;
        r.Top += Round(2 * S);
        r.Bottom -= Round(4 * S);
        r.Right = Tr.Right;
        const TColor doneColor = G->CellColor(), restColor = G->CellColorTo();
        const TColor doneText = G->CellBoolean() ? static_cast<TColor>(G->CellIndex()) : (doneColor ^ 0xFFFFFF);
        const TColor restText = G->CellBoolean() ? static_cast<TColor>(G->CellAngle()) : (restColor ^ 0xFFFFFF);
        DrawCellProgressBar(cv, Normalized(r), doneColor, doneText, restColor, restText, Grid.CellFloatOrZero(R, ARow),
                            Grid.ControlLook()->ProgressMarginX(), Grid.ControlLook()->ProgressMarginY(),
                            G->CellErrFrom(), G->CellErrLen(), G->CellText(), Grid.ControlLook()->ProgressBorderColor(),
                            true);
        cv->Pen()->SetColor(clBlack);
        break;
    }
    case ctProgressPie:
        DrawProgressPie(cv, Normalized(Gr), G->CellColor(), G->CellAngle(), true);
        break;
    case ctInterface:
        if (auto *size = dynamic_cast<TExtStringGrid::ICellGraphicSize *>(G->CellObject())) {
            int w = size->GetWidth(), h = size->GetHeight();
            if (w == 0)
                w = std::abs(Gr.Right - Gr.Left);
            if (h == 0)
                h = std::abs(Gr.Top - Gr.Bottom);
            h = std::abs(h);
            if (auto *draw = dynamic_cast<TExtStringGrid::ICellGraphicDraw *>(G->CellObject()); draw && w > 0 && h > 0 && w < 8192 &&
                                                                              h < 8192) {
                TBitmap bmp(w, h);
                draw->Draw(bmp.Canvas(), TRect(0, 0, w - 1, h - 1), &Grid, ARow, R);
                StretchImage(cv, Gr, bmp.ToImage());
            }
        }
        break;
    default:
        break;
    }
}

// ---- measuring a cell ------------------------------------------------------------------------------

TPoint TGridPrintEngine::MeasureCell(int R, int ARow)
{
    TCanvas *cv = C;
    UnicodeString text = IsDataGraphicCell(&Grid, R, ARow) ? UnicodeString() : Grid.GetFormattedCell(R, ARow);
    const int kind = CellTextKind(text, Grid.EnableHTML());
    if (kind == 1) {
        const int limitW = PS.NoAutoSize ? Grid.ColWidths(Grid.RealToDisplCol(R)) + 12 : 65535;
        TFont keep;
        keep.Assign(cv->Font());
        int x = 0, y = 0;
        const int mode = cv->SetMapMode(MM_TEXT);
        cv->Font()->SetSize(PS.Font()->Size());
        THtmlRenderParams p;
        p.Canvas = cv;
        p.Text = text;
        p.Rect = TRect(0, 0, limitW, 65535);
        p.Images = Grid.GridImages();
        p.MeasureOnly = true;
        p.PrintMode = true;
        p.PrintScale = ResRatio;
        p.Pictures = Grid.PictureContainer();
        p.PictureCache = Grid.FImageCache;
        RenderHtmlText(p);
        x = p.ExtentX;
        y = p.ExtentY;
        cv->SetMapMode(mode);
        cv->Font()->Assign(&keep);
        TPoint pt[2] = {{0, 0}, {x, y}};
        cv->DPtoLP(pt, 2);
        return TPoint(pt[1].X - pt[0].X, -(pt[1].Y - pt[0].Y) - Round(E8 * S));
    }
    if (kind == 2) {
        TRichEdit *rich = Grid.CellRichEdit();
        Grid.CellToRich(R, ARow, rich);
        text = rich->Lines()->Text();
        while (text.endsWith(QLatin1Char('\n')) || text.endsWith(QLatin1Char('\r')))
            text.chop(1);
    } else if (kind == 3)
        text = Grid.GetCellText(R, ARow);

    TFont keep;
    keep.Assign(cv->Font());
    TBrush brush;
    TFont font;
    TColor colorTo = clNone;
    TVAlignment va = vtaTop;
    bool wordWrap = false;
    PrintLook(R, ARow, brush, font, colorTo, va, wordWrap);
    cv->Font()->Assign(&font);
    cv->Font()->SetHeight(Grid.MapFontHeight(font.Size()));
    int angle = 0;
    const bool rotated = Grid.IsRotated(R, ARow, angle);
    if (rotated)
        cv->Font()->SetOrientation(10 * angle);

    TPoint graphic(0, 0);
    if (PS.PrintGraphics) {
        const TPoint gs = Grid.GetCellGraphicSize(R, ARow);
        graphic = TPoint(Round(gs.X * S), Round(gs.Y * S));
    }
    if (text.isEmpty())
        text = QStringLiteral("gh");

    int width = 0, height = 0, widest = 0;
    if (!wordWrap || !PS.NoAutoSize || rotated) {
        const int lineHeight = cv->TextHeight(QStringLiteral("gh"));
        UnicodeString rest = text;
        int lines = 0;
        do {
            const UnicodeString line = TakeFirstLine(rest, Grid.Multilinecells());
            UnicodeString shown = line;
            if (Grid.URLShow() && !Grid.URLFull())
                StripLinkScheme(shown);
            const int w = cv->TextWidth(shown);
            widest = std::max(widest, w);
            width = std::max(width, w + graphic.X);
            ++lines;
        } while (!rest.isEmpty() && Grid.Multilinecells());
        height = lineHeight * lines;
    } else {
        const int displ = Grid.RealToDisplCol(R);
        const int limit = Grid.IsXMergedCell(R, ARow) ? 65535 : Width(displ);
        TRect r(0, 0, limit, 50);
        unsigned flags = DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX;
        if (Grid.UseRightToLeftReading())
            flags |= DT_RTLREADING;
        DrawText(cv->Handle(), text, -1, &r, flags);
        width = limit;
        height = std::abs(r.Bottom - r.Top);
        widest = width;
    }
    if (rotated) {
        const double a = angle * M_PI / 180.0;
        const int w2 = std::abs(Round(std::cos(a) * width)) + std::abs(Round(std::sin(a) * height));
        const int h2 = std::abs(Round(std::sin(a) * widest)) + std::abs(Round(std::cos(a) * height));
        width = w2;
        height = h2;
    }
    TPoint size(std::max(width, graphic.X), std::max(height, graphic.Y));
    cv->Font()->Assign(&keep);
    if (Grid.OnCustomCellSize)
        Grid.OnCustomCellSize(&Grid, cv, R, ARow, size, true);
    return size;
}
