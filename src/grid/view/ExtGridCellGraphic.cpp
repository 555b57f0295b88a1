// Cell graphics: where a graphic goes beside the text, the drawing of each kind a cell can hold
// (check boxes and radio buttons in each control style, images, progress bars, shapes, ratings,
// rotated text) and the editor buttons that stay visible.
#include "grid/view/ExtGridPaintContext.h"
#include "grid/view/ExtGridGlyphs.h"

#include "controls/ExtGridDraw.h"
#include "controls/MiniHTML.h"
#include "platform/ImgList.h"
#include "platform/WinGdi.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <mutex>

// Outside any namespace: the resource's registration function lives in the global one.
static void InitGlyphResources()
{
    Q_INIT_RESOURCE(ExtGridGlyphs);
}

namespace ExtGridGlyphs {

void Ensure()
{
    static std::once_flag once;
    std::call_once(once, [] {
        InitGlyphResources();
        // A glyph looked up before the grid's pictures were known must not stay the built-in.
        ResourceBitmapsChanged();
    });
}

void DrawGlyph(TCanvas *Canvas, int X, int Y, const UnicodeString &Name)
{
    Ensure();
    // Loaded for each drawing: the lookup shares the decoded picture, so this copies nothing.
    TBitmap glyph;
    try {
        glyph.LoadFromResourceName(Name);
    } catch (const std::exception &) {
        return;
    }
    glyph.SetTransparent(true);
    Canvas->Draw(X, Y, &glyph);
}

void DrawGlyphOn(TCanvas *Canvas, int X, int Y, const UnicodeString &Name, TColor Background)
{
    Ensure();
    TBitmap glyph;
    try {
        glyph.LoadFromResourceName(Name);
    } catch (const std::exception &) {
        return;
    }
    DrawBitmapTransparent(Canvas, &glyph, Background, TRect(X, Y, X + glyph.Width(), Y + glyph.Height()));
}

} // namespace ExtGridGlyphs

namespace {

using TStyle = TControlLook::TControlStyle;

// Without themed drawing csTheme draws what csClassic draws.
TStyle ClassicFor(TStyle Style) { return Style == TControlLook::csTheme ? TControlLook::csClassic : Style; }

TColor TickColor(const TControlLook *Look) { return Look->Color(); }
TBitmap *LookGlyph(const TControlLook *Look, bool Radio, bool On)
{
    return Radio ? (On ? Look->RadioOnGlyph() : Look->RadioOffGlyph()) : (On ? Look->CheckedGlyph() : Look->UnCheckedGlyph());
}

bool IsCheckGraphic(const TCellGraphic *G)
{
    if (!G)
        return false;
    switch (G->CellType()) {
    case ctCheckBox: case ctDataCheckBox: case ctVirtCheckBox: case ctRowCheckBox: case ctTriStateCheckBox:
        return true;
    default:
        return false;
    }
}

void DrawBitmapGlyph(TCanvas *Canvas, int X, int Y, TBitmap *Glyph)
{
    if (!Glyph || Glyph->Empty())
        return;
    Glyph->SetTransparent(true);
    Canvas->Draw(X, Y, Glyph);
}

} // namespace

// ---- layout ---------------------------------------------------------------------------------------

TCellGraphic *TExtStringGrid::GetCellGraphicLayout(int ACol, int ARow, TCellVAlign &VAlign, TCellHAlign &HAlign,
                                                   bool &TextAllowed, int &Height, int &Width)
{
    Width = 0;
    Height = 0;
    VAlign = vaTop;
    HAlign = haLeft;
    TextAllowed = true;
    TCellGraphic *g = GetCellGraphic(ACol, ARow);
    if (!g)
        return nullptr;
    auto *images = dynamic_cast<TCustomImageList *>(GetGridImageList());
    const int check = FControlLook->CheckSize;
    switch (g->CellType()) {
    case ctBitmap:
        if (TBitmap *b = g->CellBitmap()) {
            Width = b->Width();
            Height = b->Height();
        }
        break;
    case ctIcon:
        if (TIcon *i = g->CellIcon()) {
            Width = i->Width();
            Height = i->Height();
        }
        break;
    case ctImageList:
    case ctDataImage:
        if (images) {
            Width = images->Width();
            Height = images->Height();
        }
        TextAllowed = g->CellType() == ctImageList;
        break;
    case ctCheckBox:
    case ctTriStateCheckBox:
        Width = Height = check;
        break;
    case ctDataCheckBox:
    case ctVirtCheckBox:
    case ctRowCheckBox:
        Width = Height = check;
        TextAllowed = false;
        break;
    case ctRotated:
    case ctRadio:
    case ctProgress:
    case ctRangeIndicator:
    case ctXPProgress:
        TextAllowed = false;
        break;
    case ctImages:
        if (auto *list = dynamic_cast<TIntList *>(g->CellObject()); list && images) {
            Width = g->CellBoolean() ? list->Count() * images->Width() : images->Width();
            Height = g->CellBoolean() ? images->Height() : list->Count() * images->Height();
        }
        break;
    case ctPicture:
    case ctFilePicture: {
        const int dc = RealToDisplCol(ACol);
        const int cw = dc >= 0 && dc < ColCount() ? ColWidths(dc) : 0;
        const int rh = ARow >= 0 && ARow < RowCount() ? RowHeights(ARow) : 0;
        const TPoint p = g->GetPictureSize(cw - 1 - GetTotalXOffset(), rh - 1 - GetTotalYOffset(),
                                           !Cells(ACol, ARow).isEmpty());
        Width = p.X;
        Height = p.Y;
        break;
    }
    case ctButton:
    case ctBitButton:
        Width = g->CellIndex() & 0xFFFF;
        Height = (g->CellIndex() >> 16) & 0xFFFF;
        break;
    case ctProgressPie:
        Width = Height = 20;
        break;
    case ctInterface:
        if (auto *size = dynamic_cast<ICellGraphicSize *>(g->CellObject())) {
            Width = size->GetWidth();
            Height = size->GetHeight();
        }
        break;
    case ctRadioButton:
        Width = Height = FControlLook->RadioSize + 4;
        break;
    case ctShape:
        Width = Height = std::max(0, (ARow >= 0 && ARow < RowCount() ? RowHeights(ARow) : 0) - 2 * FXYOffset.Y);
        break;
    case ctRating:
        Width = g->CellAngle() * 18;
        Height = 16;
        TextAllowed = false;
        break;
    default:
        break;
    }
    VAlign = g->CellVAlign();
    HAlign = g->CellHAlign();
    return g;
}

// ---- check boxes -----------------------------------------------------------------------------------

void TExtStringGrid::DrawCheck(TRect ARect, bool Checked, bool Enabled, bool Grayed, TControlLook::TControlStyle Style,
                               bool TriState, TCheckBoxState State)
{
    DrawCheck(Canvas(), ARect, Checked, Enabled, Grayed, Style, TriState, State);
}

void TExtStringGrid::DrawCheck(TCanvas *ACanvas, TRect ARect, bool Checked, bool Enabled, bool Grayed,
                               TControlLook::TControlStyle Style, bool TriState, TCheckBoxState State)
{
    if (!ACanvas)
        return;
    if (FControlLook->CheckAlwaysActive || FControlLook->NoDisabledCheckRadioLook())
        Enabled = true;
    Style = ClassicFor(Style);
    if (TriState) {
        Checked = State == cbChecked;
        if (State == cbGrayed)
            Grayed = true;
    }
    const int size = FControlLook->CheckSize;
    switch (Style) {
    case TControlLook::csWinXP:
        ExtGridGlyphs::DrawGlyph(ACanvas, ARect.Left, ARect.Top,
                                 Checked ? (Enabled ? QStringLiteral("ESGCHK05") : QStringLiteral("ESGCHK07"))
                                         : (Enabled ? QStringLiteral("ESGCHK06") : QStringLiteral("ESGCHK08")));
        return;
    case TControlLook::csQRV:
        ExtGridGlyphs::DrawGlyph(ACanvas, ARect.Left, ARect.Top,
                                 Checked ? (Enabled ? QStringLiteral("ESGCHK01") : QStringLiteral("ESGCHK03"))
                                         : (Enabled ? QStringLiteral("ESGCHK02") : QStringLiteral("ESGCHK04")));
        return;
    case TControlLook::csGlyph:
        DrawBitmapGlyph(ACanvas, ARect.Left, ARect.Top, LookGlyph(FControlLook, false, Checked));
        return;
    case TControlLook::csChiselled: {
        ACanvas->Brush()->SetColor(Enabled ? clBtnFace : clBtnShadow);
        ACanvas->Pen()->SetColor(clBtnFace);
        ACanvas->Pen()->SetWidth(1);
        ACanvas->Rectangle(ARect);
        const int L = ARect.Left, T = ARect.Top, R = ARect.Right, B = ARect.Bottom;
        ACanvas->Pen()->SetColor(clBtnHighlight);
        ACanvas->MoveTo(L, B - 1);
        ACanvas->LineTo(L, T);
        ACanvas->LineTo(R - 1, T);
        ACanvas->Pen()->SetColor(clBtnShadow);
        ACanvas->LineTo(R - 1, B - 1);
        ACanvas->LineTo(L, B - 1);
        if (Checked) {
            const int h = size / 2;
            ACanvas->Pen()->SetColor(Enabled ? TickColor(FControlLook) : clGray);
            ACanvas->MoveTo(L + 2, T + h);
            ACanvas->LineTo(L + 2, B - 2);
            ACanvas->MoveTo(L + 3, T - 1 + h);
            ACanvas->LineTo(L + 3, B - 3);
            ACanvas->MoveTo(L + 2, B - 2);
            ACanvas->LineTo(R - 2, T + 2);
            ACanvas->MoveTo(L + 3, B - 2);
            ACanvas->LineTo(R - 1, T + 2);
        }
        return;
    }
    default: {
        TRect r;
        r.Left = ARect.Left + (ARect.Right - ARect.Left - size) / 2;
        r.Top = ARect.Top + (ARect.Bottom - ARect.Top - size) / 2;
        r.Right = r.Left + size;
        r.Bottom = r.Top + size;
        unsigned state = DFCS_BUTTONCHECK;
        if (Checked)
            state |= DFCS_CHECKED;
        if (Grayed)
            state |= DFCS_CHECKED | DFCS_BUTTON3STATE;
        if (Style == TControlLook::csFlat)
            state |= DFCS_FLAT;
        if (!Enabled)
            state |= DFCS_INACTIVE;
        DrawFrameControl(ACanvas->Handle(), r, DFC_BUTTON, state);
        return;
    }
    }
}

// ---- radio buttons -----------------------------------------------------------------------------------

void TExtStringGrid::DrawRadioButtons(TCanvas *ACanvas, TRect ARect, int Count, int Index, bool Horizontal,
                                      bool Disabled, TStrings *Options, bool Selected, int ACol, int ARow,
                                      TControlLook::TControlStyle Style, double Scale, bool Upward)
{
    if (!ACanvas || Count <= 0)
        return;
    if (FControlLook->RadioAlwaysActive || FControlLook->NoDisabledCheckRadioLook())
        Disabled = false;
    const int d = Upward ? -1 : 1;
    ACanvas->SetBkMode(TRANSPARENT);
    Style = ClassicFor(Style);
    const TStyle lookStyle = ClassicFor(FControlLook->ControlStyle());
    const bool bitmapStyle = Style == TControlLook::csWinXP || Style == TControlLook::csQRV || Style == TControlLook::csGlyph;
    const bool frameStyle = Style == TControlLook::csClassic || Style == TControlLook::csFlat;
    const int s = FControlLook->RadioSize;
    const int width = ARect.Right - ARect.Left, height = ARect.Bottom - ARect.Top;
    const UnicodeString cellText = Index == -1 ? Cells(ACol, ARow) : UnicodeString();
    const TColor fontColor = ACanvas->Font()->Color();
    int before = 0; // widths of the captions drawn so far
    for (int i = 1; i <= Count; ++i) {
        const bool hasCaption = Options && i - 1 < Options->Count();
        const UnicodeString caption = hasCaption ? Options->Strings(i - 1) : UnicodeString();
        ACanvas->Font()->SetColor(hasCaption && Selected && FShowSelection ? FSelectionTextColor : fontColor);
        const bool on = Index == i - 1 || (Index == -1 && hasCaption && caption == cellText);
        int x = 0, y = 0;
        TPoint captionAt;
        if (frameStyle) {
            const int side = static_cast<int>(std::lround(Scale * s));
            if (Horizontal) {
                x = (i - 1) * s + before + ARect.Left + 2;
                y = ARect.Top + (height - s) / 2;
                captionAt = {x + side, y - 2};
            } else {
                const int h = ACanvas->TextHeight(QStringLiteral("gh"));
                y = ARect.Top + h * (i - 1) * d + 2;
                x = hasCaption ? ARect.Left + 2 : ARect.Left + (width - side) / 2;
                captionAt = {x + static_cast<int>(std::lround(Scale * (s + 4))), y - 2};
            }
            const int box = lookStyle == TControlLook::csFlat ? static_cast<int>(std::lround(Scale * (s + 2))) : side;
            TRect r(x, y, x + box, y + box);
            unsigned state = DFCS_BUTTONRADIO;
            if (on)
                state |= DFCS_CHECKED;
            if (lookStyle == TControlLook::csFlat)
                state |= DFCS_FLAT;
            if (Disabled)
                state |= DFCS_INACTIVE;
            DrawFrameControl(ACanvas->Handle(), r, DFC_BUTTON, state);
        } else {
            if (Horizontal) {
                x = before + ARect.Left + 16 * i - 14;
                y = ARect.Top + (height - 16) / 2;
                captionAt = {x + 16, bitmapStyle ? y + 1 : y - 2};
            } else {
                const int h = std::max(16, ACanvas->TextHeight(QStringLiteral("gh")));
                y = ARect.Top + h * (i - 1) * d + 2;
                x = hasCaption ? ARect.Left + 2 : ARect.Left + (width - 16) / 2;
                captionAt = bitmapStyle ? TPoint(ARect.Left + 18, y + 1) : TPoint(ARect.Left + 20, y - 2);
            }
            if (Style == TControlLook::csChiselled) {
                const TColor upper = on ? clGray : clWhite, lower = on ? clWhite : clGray;
                ACanvas->Pen()->SetWidth(1);
                ACanvas->Pen()->SetColor(clBtnFace);
                ACanvas->Brush()->SetColor(clBtnFace);
                ACanvas->Polygon({{x + 2, y + 8}, {x + 8, y + 2}, {x + 14, y + 8}, {x + 8, y + 14}});
                ACanvas->Pen()->SetColor(upper);
                ACanvas->MoveTo(x + 8, y + 14);
                ACanvas->LineTo(x + 2, y + 8);
                ACanvas->LineTo(x + 8, y + 2);
                ACanvas->Pen()->SetColor(lower);
                ACanvas->LineTo(x + 14, y + 8);
                ACanvas->LineTo(x + 8, y + 14);
                if (on) {
                    ACanvas->Pen()->SetColor(TickColor(FControlLook));
                    ACanvas->Brush()->SetColor(TickColor(FControlLook));
                    ACanvas->Polygon({{x + 6, y + 8}, {x + 8, y + 6}, {x + 10, y + 8}, {x + 8, y + 10}});
                }
            } else if (lookStyle == TControlLook::csGlyph || Style == TControlLook::csGlyph) {
                DrawBitmapGlyph(ACanvas, x, y, LookGlyph(FControlLook, true, on));
            } else if (Style == TControlLook::csQRV) {
                ExtGridGlyphs::DrawGlyph(ACanvas, x, y,
                                         on ? (Disabled ? QStringLiteral("ESGRAD03") : QStringLiteral("ESGRAD01"))
                                            : (Disabled ? QStringLiteral("ESGRAD04") : QStringLiteral("ESGRAD02")));
            } else {
                ExtGridGlyphs::DrawGlyph(ACanvas, x, y,
                                         on ? (Disabled ? QStringLiteral("ESGRAD07") : QStringLiteral("ESGRAD05"))
                                            : (Disabled ? QStringLiteral("ESGRAD08") : QStringLiteral("ESGRAD06")));
            }
        }
        if (hasCaption) {
            ACanvas->SetBkMode(TRANSPARENT);
            ACanvas->TextOut(captionAt.X, captionAt.Y, caption);
            before += ACanvas->TextWidth(caption);
        }
    }
    ACanvas->Font()->SetColor(fontColor);
}

// ---- drawing a cell's graphic ----------------------------------------------------------------------

void TExtStringGrid::DrawCellGraphic(TCellPaintContext &Ctx, TRect &ARect)
{
    TCellGraphic *g = Ctx.Graphic;
    TCanvas *C = Ctx.Canvas;
    if (!g || !C)
        return;
    const TCellType type = g->CellType();
    const int ACol = Ctx.RealCol, ARow = Ctx.Row;
    if (type != ctNode && type != ctProgress && type != ctRangeIndicator && type != ctXPProgress) {
        ARect.Left += FXYOffset.X - 1;
        ARect.Top += FXYOffset.Y - 1;
        ARect.Right -= FXYOffset.X - 1;
        ARect.Bottom -= FXYOffset.Y - 1;
    }
    if (Ctx.TextWidth > 0)
        Ctx.TextWidth += 2;
    const int w = Ctx.GraphicWidth, h = Ctx.GraphicHeight;
    const int roomX = ARect.Right - ARect.Left, roomY = ARect.Bottom - ARect.Top;

    int x = ARect.Left + 1;
    switch (Ctx.GraphicHAlign) {
    case haLeft: x = ARect.Left + 1; break;
    case haRight: x = ARect.Right - w - 1; break;
    case haCenter: x = w <= roomX ? ARect.Left + (roomX - w) / 2 : ARect.Left + 1; break;
    case haBeforeText:
        x = Ctx.HAlign == taRightJustify ? ARect.Right - Ctx.TextWidth - w
            : Ctx.HAlign == taCenter     ? std::max(ARect.Left + 1, ARect.Left + (roomX - Ctx.TextWidth - w) / 2)
                                         : ARect.Left + 1;
        break;
    case haAfterText:
        x = Ctx.HAlign == taRightJustify ? ARect.Right - w - 1
            : Ctx.HAlign == taCenter     ? ARect.Left + Ctx.TextWidth + (roomX - Ctx.TextWidth - w) / 2
                                         : ARect.Left + Ctx.TextWidth;
        break;
    case haFull: x = ARect.Left; break;
    }
    TCellVAlign va = Ctx.GraphicVAlign;
    if (IsCheckGraphic(g) || type == ctRadioButton) {
        const TVAlignment cellVA = Ctx.VAlign;
        if (cellVA != FVAlignment)
            va = cellVA == vtaTop ? vaTop : cellVA == vtaCenter ? vaCenter : vaBottom;
    }
    int y = ARect.Top + 1;
    switch (va) {
    case vaBottom: y = ARect.Bottom - h - 1; break;
    case vaCenter: y = h <= roomY ? ARect.Top + (roomY - h) / 2 : ARect.Top + 1; break;
    case vaUnderText: y = ARect.Bottom - h; break;
    case vaFull: y = ARect.Top; break;
    default: y = ARect.Top + 1; break;
    }
    const TRect gr(x, y, Ctx.GraphicHAlign == haFull ? ARect.Right : x + w, va == vaFull ? ARect.Bottom : y + h);
    auto *images = dynamic_cast<TCustomImageList *>(GetGridImageList());

    switch (type) {
    case ctBitmap:
        if (TBitmap *b = g->CellBitmap(); b && !b->Empty()) {
            b->SetTransparent(g->CellTransparent());
            C->Draw(x, y, b);
        }
        break;
    case ctIcon:
        if (TIcon *i = g->CellIcon(); i && !i->Empty())
            C->Draw(x, y, i);
        break;
    case ctImageList:
        if (images && g->CellIndex() >= 0 && g->CellIndex() < images->Count())
            images->Draw(C, x, y, g->CellIndex());
        break;
    case ctDataImage: {
        // A cell that holds no number or a negative index shows nothing.
        int v = 0;
        if (images && TryCellInts(ACol, ARow, v) && !StripHtmlTags(Cells(ACol, ARow)).trimmed().isEmpty()) {
            const long long idx = static_cast<long long>(v) + g->CellIndex();
            if (idx >= 0 && idx < images->Count())
                images->Draw(C, x, y, static_cast<int>(idx));
        }
        break;
    }
    case ctImages:
        if (auto *list = dynamic_cast<TIntList *>(g->CellObject()); list && images) {
            int ix = x, iy = y;
            for (int i = 0; i < list->Count(); ++i) {
                const int idx = list->Items(i);
                if (idx >= 0 && idx < images->Count())
                    images->Draw(C, ix, iy, idx);
                if (g->CellBoolean())
                    ix += images->Width();
                else
                    iy += images->Height();
            }
        }
        break;
    case ctPicture:
        if (auto *pic = dynamic_cast<TPicture *>(g->CellObject()); pic && pic->Graphic()) {
            if (g->CellAngle() != 0)
                C->StretchDraw(gr, pic->Graphic());
            else
                C->Draw(x, y, pic->Graphic());
        }
        break;
    case ctFilePicture:
        if (auto *fp = dynamic_cast<TFilePicture *>(g->CellObject()))
            fp->DrawPicture(C, gr);
        break;
    case ctCheckBox:
    case ctDataCheckBox:
    case ctVirtCheckBox:
    case ctRowCheckBox:
    case ctTriStateCheckBox:
    case ctRadioButton: {
        const bool withText = type == ctCheckBox || type == ctRadioButton || type == ctTriStateCheckBox;
        const int cw = type == ctRadioButton ? FControlLook->RadioSize : FControlLook->CheckSize;
        // A box stands where the cell's text would: a centred column shows its boxes centred.
        int cx = ARect.Left + 1;
        if (Ctx.HAlign == taRightJustify)
            cx = ARect.Right - (withText ? Ctx.TextWidth : 0) - cw - 1;
        else if (Ctx.HAlign == taCenter) {
            if (withText && Ctx.TextWidth > 0)
                cx = ARect.Left + std::max(0, roomX - Ctx.TextWidth) / 2 - cw;
            else
                cx = ARect.Left + std::max(0, roomX - cw) / 2;
        }
        cx = std::max(cx, ARect.Left + 1);
        bool enabled = true;
        CanEditCell(ACol, ARow, enabled);
        const TRect box(cx, y, cx + cw, y + cw);
        if (type == ctCheckBox || type == ctRowCheckBox)
            DrawCheck(C, box, g->CellBoolean(), enabled, g->CellAngle() > 0, FControlLook->ControlStyle(), false, cbUnchecked);
        else if (type == ctDataCheckBox || type == ctVirtCheckBox) {
            UnicodeString checkTrue;
            DoGetCheckTrue(ACol, ARow, checkTrue);
            DrawCheck(C, box, Cells(ACol, ARow) == checkTrue, enabled, false, FControlLook->ControlStyle(), false, cbUnchecked);
        } else if (type == ctTriStateCheckBox)
            DrawCheck(C, box, false, enabled, g->CellAngle() > 0, FControlLook->ControlStyle(), true, g->CellCheckBoxState());
        else {
            const int rx = cx + FXYOffset.X;
            DrawRadioButtons(C, TRect(rx, y, rx + cw, y + cw), 1, g->CellBoolean() ? 0 : -2, true, !enabled, nullptr,
                             false, ACol, ARow, FControlLook->ControlStyle(), 1.0, false);
        }
        break;
    }
    case ctRadio: {
        auto *options = dynamic_cast<TStrings *>(g->CellObject());
        bool enabled = true;
        CanEditCell(ACol, ARow, enabled);
        const int count = options ? options->Count() : 0;
        DrawRadioButtons(C, ARect, count, g->CellIndex(), g->CellBoolean(), !enabled, options,
                         Ctx.State.Contains(gdSelected), ACol, ARow, FControlLook->ControlStyle(), 1.0, false);
        break;
    }
    case ctRotated:
        DrawRotatedText(Ctx, ARect, g);
        break;
    case ctProgress: {
        TRect r = ARect;
        r.Left += 2;
        r.Top += 2;
        r.Right -= 2;
        r.Bottom -= 2;
        const TColor doneColor = g->CellColor(), restColor = g->CellColorTo();
        const TColor doneText = g->CellBoolean() ? static_cast<TColor>(g->CellIndex()) : (doneColor ^ 0xFFFFFF);
        const TColor restText = g->CellBoolean() ? static_cast<TColor>(g->CellAngle()) : (restColor ^ 0xFFFFFF);
        DrawCellProgressBar(C, r, doneColor, doneText, restColor, restText, CellFloatOrZero(ACol, ARow),
                            FControlLook->ProgressMarginX(), FControlLook->ProgressMarginY(), g->CellErrFrom(),
                            g->CellErrLen(), g->CellText(), FControlLook->ProgressBorderColor(), false);
        break;
    }
    case ctXPProgress: {
        TRect r = ARect;
        r.Left += FControlLook->ProgressMarginX();
        r.Top += FControlLook->ProgressMarginY();
        r.Right -= FControlLook->ProgressMarginX() + 1;
        r.Bottom -= FControlLook->ProgressMarginY() + 1;
        const TGridProgressAppearance *pa = FProgressAppearance;
        ProgressBarLook look;
        look.Level0Color = pa->Level0Color();
        look.Level0ColorTo = pa->Level0ColorTo();
        look.Level1Color = pa->Level1Color();
        look.Level1ColorTo = pa->Level1ColorTo();
        look.Level2Color = pa->Level2Color();
        look.Level2ColorTo = pa->Level2ColorTo();
        look.Level3Color = pa->Level3Color();
        look.Level3ColorTo = pa->Level3ColorTo();
        look.Level1Perc = pa->Level1Perc();
        look.Level2Perc = pa->Level2Perc();
        look.ShowBorder = pa->ShowBorder();
        look.BorderColor = pa->BorderColor();
        look.Stacked = pa->Stacked();
        look.ShowPercentage = pa->ShowPercentage();
        look.CompletionSmooth = pa->CompletionSmooth();
        look.ShowGradient = pa->ShowGradient();
        look.Font = Font();
        look.CompleteFontColor = pa->CompleteFontColor();
        look.Steps = pa->Steps();
        look.UnCompleteColor = pa->UnCompleteColor() == clNone ? Color() : pa->UnCompleteColor();
        const int range = g->CellErrLen() - g->CellErrFrom();
        // An empty range has no share done: it shows 0 %.
        const int percent = range == 0 ? 0
                                       : static_cast<int>(std::lround(std::fabs(double(CellIntOrZero(ACol, ARow)) - g->CellErrFrom()) /
                                                                      range * 100.0));
        DrawAppearanceProgressBar(C, r, std::clamp(percent, 0, 100), look);
        break;
    }
    case ctRangeIndicator: {
        TRect r = ARect;
        r.Left += FControlLook->ProgressMarginX();
        r.Top += FControlLook->ProgressMarginY();
        r.Right -= FControlLook->ProgressMarginX();
        r.Bottom -= FControlLook->ProgressMarginY();
        DrawPlusMinusBar(C, r, CellIntOrZero(ACol, ARow), g->CellIndex(), g->CellBoolean(),
                         g->CellColor(), g->CellColorTo());
        break;
    }
    case ctProgressPie:
        DrawProgressPie(C, TRect(x, y, x + 20, y + 20), g->CellColor(), g->CellAngle(), false);
        break;
    case ctComment:
        if (FControlLook->CommentColor != clNone) {
            const TColor own = static_cast<TColor>(g->CellIndex());
            const int R = Ctx.PaintRect.Right, T = Ctx.PaintRect.Top;
            C->Brush()->SetColor(own);
            C->Pen()->SetColor(own);
            C->Polygon({{R - 7, T}, {R - 2, T}, {R - 2, T + 5}});
            C->Brush()->SetColor(Color());
        }
        break;
    case ctShape:
        PaintCellShape(C, x, y, gr.Right - gr.Left - 1, gr.Bottom - gr.Top - 1, static_cast<TCellShape>(g->CellAngle()),
                       static_cast<TColor>(g->CellIndex()), g->CellColor());
        break;
    case ctRating: {
        const double r = std::nearbyint(2 * CellFloatOrZero(ACol, ARow)) / 2;
        const TColor off = g->CellColor();
        const TColor on = static_cast<TColor>(g->CellIndex());
        for (int i = 0; i < g->CellAngle(); ++i) {
            const int sx = x + 18 * i;
            PaintCellShape(C, sx, y, 16, 16, csStar, i + 1 > r ? off : on, i + 1 > r ? off : on);
            if (i < r && r < i + 1)
                PaintCellShape(C, sx, y, 16, 16, csHalfStar, on, on);
        }
        Ctx.TextAllowed = false;
        break;
    }
    case ctButton:
    case ctBitButton:
    case ctExpand:
        DrawCellButton(Ctx, ARect, gr, g);
        break;
    case ctNode:
        if (Ctx.RealCol == 0)
            DrawNodeButton(Ctx, ARect, g);
        break;
    default:
        break;
    }
}

void TExtStringGrid::DrawNodeButton(TCellPaintContext &Ctx, const TRect &ARect, TCellGraphic *G)
{
    TCanvas *C = Ctx.Canvas;
    TCellNode *node = FCellNode;
    const int row = Ctx.Row;
    const int indent = GetRowIndent(row);
    const bool contracted = G->CellBoolean();
    const int height = ARect.Bottom - ARect.Top;
    int left = ARect.Left + indent - node->NodeIndent();
    if (node->ShowTree() && row >= FixedRows() && row < RowCount() - FFixedFooters) {
        C->Pen()->SetColor(node->TreeColor());
        C->Pen()->SetWidth(1);
        const int x = left + node->NodeIndent() / 2 + 2;
        if (row + 1 < RowCount()) {
            const int next = GetRowIndent(row + 1);
            if (next > 0 && !(contracted && next < indent)) {
                C->MoveTo(x, ARect.Top + height / 2);
                C->LineTo(x, ARect.Bottom);
            }
        }
        if (row > FixedRows() && GetRowIndent(row - 1) >= indent) {
            C->MoveTo(x, ARect.Top);
            C->LineTo(x, ARect.Top + 6);
        }
    }
    left = ARect.Left + indent - node->NodeIndent() / 2 - 4;
    TColor b = C->Brush()->Color();
    if (b == clNone)
        b = FixedCols() > 0 ? FixedColor() : Color();
    if (FShowSelection && (Ctx.State.Contains(gdSelected) ||
                           (GetRowSelect(Ctx.SelectRow) && Options().Contains(goRowSelect) && Ctx.DisplayCol >= FixedCols())))
        b = FSelectionColor;
    const TNodeType type = node->NodeType();
    if (type == cnLeaf) {
        ExtGridGlyphs::DrawGlyphOn(C, left, ARect.Top + (height - 12) / 2,
                                   contracted ? QStringLiteral("ESGLEAFCLOSE") : QStringLiteral("ESGLEAFOPEN"), b);
        return;
    }
    if (type == cnXP) {
        ExtGridGlyphs::DrawGlyphOn(C, left + 4, ARect.Top + (height - 10) / 2,
                                   contracted ? QStringLiteral("XPNODEC") : QStringLiteral("XPNODEO"), b);
        return;
    }
    TBitmap *expand = node->ExpandGlyph(), *contract = node->ContractGlyph();
    if (type == cnGlyph && expand && contract && !expand->Empty() && !contract->Empty()) {
        TBitmap *glyph = contracted ? contract : expand;
        DrawBitmapTransparent(C, glyph, b,
                              TRect(left, ARect.Top + (height - contract->Height()) / 2, left + glyph->Width(),
                                    ARect.Top + (height - contract->Height()) / 2 + glyph->Height()));
        return;
    }
    if (type == cn3D) {
        TRect r = ARect;
        FillRectColor(C, r, node->Color());
        C->Pen()->SetWidth(1);
        C->Pen()->SetColor(clWhite);
        C->MoveTo(r.Left, r.Bottom - 1);
        C->LineTo(r.Left, r.Top);
        C->LineTo(r.Right - 1, r.Top);
        C->Pen()->SetColor(clGray);
        C->LineTo(r.Right - 1, r.Bottom - 1);
        C->LineTo(r.Left, r.Bottom - 1);
    }
    const int bl = left + 4, br = left + 12;
    const int bt = ARect.Top + std::max(0, height - 8) / 2, bb = bt + 8;
    C->Brush()->SetColor(node->Color());
    if (type == cnFlat) {
        C->Pen()->SetColor(node->NodeColor());
        C->Pen()->SetWidth(1);
        C->Rectangle(bl, bt, br + 1, bb + 1);
        C->MoveTo(bl + 2, bt + 4);
        C->LineTo(bl + 7, bt + 4);
        if (contracted) {
            C->MoveTo(bl + 4, bt + 2);
            C->LineTo(bl + 4, bt + 7);
        }
    } else {
        TRect box(bl, bt, br + 1, bb + 1);
        C->FillRect(box);
        DrawEdge(C->Handle(), box, contracted ? BDR_RAISEDINNER : BDR_SUNKENOUTER, BF_RECT);
    }
}

void TExtStringGrid::DrawCellButton(TCellPaintContext &Ctx, const TRect &ARect, TRect R, TCellGraphic *G)
{
    TCanvas *C = Ctx.Canvas;
    const TCellType type = G->CellType();
    if (type == ctExpand)
        R = TRect(ARect.Right - 13, ARect.Top, ARect.Right, ARect.Top + 13);
    // Where the button lies in its cell, for the pointer handling that finds it again.
    const TRect cell = CellRect(Ctx.DisplayCol, Ctx.Row);
    G->SetCellValue(static_cast<double>((((R.Top - cell.Top) & 0xFFFF) << 16) | ((R.Left - cell.Left) & 0xFFFF)));
    bool enabled = true;
    if (!FControlLook->NoDisabledButtonLook())
        CanEditCell(Ctx.RealCol, Ctx.Row, enabled);
    int style = FControlLook->FlatButton() ? 2 : 1;
    if (Flat() && FTones.Background.BrushColor != clNone)
        style = 3;
    int state = G->CellBoolean() ? 2 : FHoverButton == TPoint(Ctx.DisplayCol, Ctx.Row) ? 1 : 0;
    if (!enabled && type != ctExpand)
        state = 3;
    const TColorRef oldBk = C->SetBkColor(ColorToRGB(clBtnFace));
    PaintButtonFace(C, nullptr, R, style, state, FTones);
    if (state == 2)
        R = TRect(R.Left + 1, R.Top + 1, R.Right + 1, R.Bottom + 1);
    if (type == ctExpand) {
        C->Pen()->SetColor(clBlack);
        C->Pen()->SetWidth(1);
        const int Rt = R.Right, T = R.Top;
        if (!G->CellVar().toBool()) {
            C->MoveTo(Rt - 10, T + 5);
            C->LineTo(Rt - 7, T + 8);
            C->LineTo(Rt - 3, T + 4);
        } else {
            C->MoveTo(Rt - 10, T + 8);
            C->LineTo(Rt - 7, T + 5);
            C->LineTo(Rt - 3, T + 9);
        }
        C->SetBkColor(oldBk);
        return;
    }
    TRect text = R;
    text.Left += 1;
    if (type == ctBitButton) {
        if (TBitmap *glyph = G->CellBitmap(); glyph && !glyph->Empty()) {
            const int bh = R.Bottom - R.Top;
            int dy = (bh - glyph->Height()) / 2;
            if (dy < 1)
                dy = 3;
            glyph->SetTransparent(true);
            if (glyph->Width() > R.Right - R.Left || !G->CellText().isEmpty()) {
                C->Draw(R.Left + 3, R.Top + dy, glyph);
                text.Left = R.Left + 3 + glyph->Width() + 4;
            } else
                C->Draw(R.Left + (R.Right - R.Left - glyph->Width()) / 2, R.Top + dy, glyph);
        }
    }
    if (!G->CellText().isEmpty()) {
        const TColor oldFont = C->Font()->Color();
        if (style == 3) {
            const TColorTone &tone = state == 1 ? FTones.Hover : state == 2 ? FTones.Selected : state == 3 ? FTones.Disabled : FTones.Background;
            if (tone.TextColor != clNone)
                C->Font()->SetColor(tone.TextColor);
        }
        C->SetBkMode(TRANSPARENT);
        unsigned flags = DT_CENTER | DT_VCENTER | DT_END_ELLIPSIS;
        flags |= G->CellText().contains(QLatin1Char('\r')) ? DT_WORDBREAK : DT_SINGLELINE;
        DrawText(C->Handle(), G->CellText(), -1, &text, flags);
        C->Font()->SetColor(oldFont);
    }
    C->SetBkColor(oldBk);
}

void TExtStringGrid::DrawInterfaceGraphic(TCellPaintContext &Ctx, const TRect &R)
{
    if (!Ctx.Graphic || !Ctx.Canvas)
        return;
    TObject *object = Ctx.Graphic->CellObject();
    if (auto *screen = dynamic_cast<ICellGraphicPaint *>(object))
        screen->Paint(Ctx.Canvas, R, Ctx.RealCol, Ctx.Row, Ctx.State.Contains(gdSelected), this);
    else if (auto *print = dynamic_cast<ICellGraphicDraw *>(object))
        // An object that only knows how to print is shown as it prints.
        print->Draw(Ctx.Canvas, R, this, Ctx.Row, Ctx.RealCol);
}

void TExtStringGrid::DrawRotatedText(TCellPaintContext &Ctx, const TRect &ARect, TCellGraphic *G)
{
    TCanvas *C = Ctx.Canvas;
    const UnicodeString text = Cells(Ctx.RealCol, Ctx.Row);
    C->SaveDC();
    C->IntersectClipRect(ARect.Left + 2, ARect.Top + 2, ARect.Right - 2, ARect.Bottom - 2);
    // The anchor is the one the printed page uses, measured with the upright font.
    TCanvas *gridCanvas = Canvas();
    if (gridCanvas && gridCanvas != C)
        gridCanvas->Font()->Assign(C->Font());
    TRect anchor = ARect;
    CalcRotatedTextPos(anchor, G->CellAngle(), text, Ctx.HAlign, Ctx.VAlign);
    TFont previous;
    HFONT rotated = SelectRotatedFont(C, G->CellAngle(), previous);
    C->Brush()->SetStyle(TBrushStyle::bsClear);
    C->SetBkMode(TRANSPARENT);
    C->TextOut(anchor.Left, anchor.Top, text);
    RestoreRotatedFont(C, rotated, previous);
    C->Brush()->SetStyle(TBrushStyle::bsSolid);
    C->RestoreDC(-1);
    if (Ctx.IsHeader && IsSortGlyphCell(Ctx.RealCol, Ctx.DisplayCol, Ctx.Row))
        DrawSortIndicator(C, Ctx.RealCol, ARect.Right - 10, ARect.Top + 8);
}

void TExtStringGrid::DrawEditorButtons(TCellPaintContext &Ctx)
{
    if (Ctx.State.Contains(gdFixed) || !Ctx.Canvas)
        return;
    const bool drop = FControlLook->DropDownAlwaysVisible, spin = FControlLook->SpinButtonsAlwaysVisible;
    if (!drop && !spin)
        return;
    bool enabled = true;
    CanEditCell(Ctx.RealCol, Ctx.Row, enabled);
    // The button look of the cell buttons: flat, classic, or the tones of the flat look.
    int kind = FControlLook->FlatButton() ? 2 : 1;
    if (Flat() && FTones.Background.BrushColor != clNone)
        kind = 3;
    const int state = enabled ? 0 : 3;
    TRect &r = Ctx.PaintRect;
    if (drop && HasComboBox(Ctx.RealCol, Ctx.Row)) {
        PaintDropButton(Ctx.Canvas, nullptr, TRect(r.Left - 2, r.Top - 1, r.Right + 1, r.Bottom), kind, state, FTones);
        r.Right -= 16;
    }
    if (spin && HasSpinEdit(Ctx.RealCol, Ctx.Row)) {
        PaintSpinButtons(Ctx.Canvas, nullptr, TRect(r.Left - 2, r.Top - 1, r.Right + 1, r.Bottom), kind, state, FTones);
        r.Right -= 16;
    }
}
