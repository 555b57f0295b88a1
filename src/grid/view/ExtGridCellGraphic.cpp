// Cell graphics: where a graphic goes beside the text, and the check boxes and radio buttons in
// each control style.
#include "grid/core/ExtGrid.h"
#include "grid/view/ExtGridGlyphs.h"

#include "controls/ExtGridDraw.h"
#include "platform/ImgList.h"
#include "platform/WinGdi.h"

#include <algorithm>
#include <cmath>
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

// The look object's tick colour and its own glyphs; none set draws nothing for csGlyph.
TColor TickColor(const TControlLook *) { return clBlack; }
TBitmap *LookGlyph(const TControlLook *, bool Radio, bool On) { return nullptr; }

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
    if (FControlLook->CheckAlwaysActive)
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
    if (FControlLook->RadioAlwaysActive)
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
