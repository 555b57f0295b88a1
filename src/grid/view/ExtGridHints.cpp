// Cell hints: what the hint of the cell under the pointer says, where it shows and in which
// window; and the grid's hint window for mini-HTML and wide-encoded hints.
#include "grid/core/ExtGrid.h"

#include "controls/ExtGridUtil.h"
#include "controls/MiniHTML.h"
#include "platform/WinGdi.h"

#include <memory>

namespace {

// A hint window that shows mini-HTML lays its text out this wide before it sizes itself.
constexpr int HintLayoutWidth = 1024 - 16;

bool IsWideText(const UnicodeString &Text)
{
    return CellTextKind(Text, true) == 5;
}

} // namespace

// ---- the grid's hint window ----

THTMLHintWindow::THTMLHintWindow(TComponent *AOwner) : THintWindow(AOwner)
{
}

void THTMLHintWindow::CreateParams(TCreateParams &Params)
{
    THintWindow::CreateParams(Params);
    // The window paints its own raised frame; the drop shadow is the window system's business.
    Params.Style &= ~WS_BORDER;
}

TPoint THTMLHintWindow::MeasureHint(const UnicodeString &AHint, const TRect &Rect)
{
    // The window's own canvas only draws during a paint: measure on a scratch bitmap in the
    // window's font.
    TBitmap scratch;
    scratch.SetSize(1, 1);
    TCanvas *c = scratch.Canvas();
    c->Font()->Assign(Font());
    if (IsWideText(AHint)) {
        c->Font()->SetName(ExtGrid::HintFontName.isEmpty() ? Font()->Name() : ExtGrid::HintFontName);
        UnicodeString text = DecodeWideCellText(AHint);
        TRect r = Rect;
        const int h = DrawTextEx(c->Handle(), text, -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX, nullptr);
        return {r.Right - Rect.Left, h};
    }
    THtmlRenderParams p;
    p.Canvas = c;
    p.Text = AHint;
    p.Rect = Rect;
    p.Images = FImages;
    p.Pictures = FPictureContainer;
    p.MeasureOnly = true;
    p.AnchorColor = clBlue;
    p.ShadowColor = clGray;
    p.BiDiMode = BiDiMode();
    RenderHtmlText(p);
    return {p.ExtentX, p.ExtentY};
}

TRect THTMLHintWindow::CalcHintRect(int MaxWidth, const UnicodeString &AHint, TObject *)
{
    if (AHint.isEmpty())
        return TRect();
    const TPoint e = MeasureHint(AHint, TRect(0, 0, MaxWidth, 0));
    return TRect(0, 0, e.X, e.Y);
}

void THTMLHintWindow::ActivateHintData(TRect Rect, const UnicodeString &AHint, TObject *AData)
{
    if (auto *grid = dynamic_cast<TExtStringGrid *>(AData)) {
        FImages = grid->GridImages();
        FPictureContainer = grid->PictureContainer();
    }
    THintWindow::ActivateHintData(Rect, AHint, AData);
}

void THTMLHintWindow::ActivateHint(TRect Rect, const UnicodeString &AHint)
{
    SetCaption(AHint);
    const bool wide = IsWideText(AHint);
    const TPoint e = MeasureHint(AHint, TRect(Rect.Left, Rect.Top, Rect.Left + HintLayoutWidth, Rect.Top));
    FWideCaption = wide ? DecodeWideCellText(AHint) : UnicodeString();
    const int margin = wide ? 8 : 16;
    FTextWidth = e.X;
    FTextHeight = e.Y;
    TRect r(Rect.Left, Rect.Top, Rect.Left + FTextWidth + margin, Rect.Top + FTextHeight + 4);

    if (TMonitor *m = Screen->MonitorFromPoint(r.TopLeft())) {
        if (r.Right - m->Left() > m->Width()) {
            const int w = r.Width();
            r.Right = m->Left() + m->Width() - 2;
            r.Left = r.Right - w;
        }
        if (r.Bottom - m->Top() > m->Height()) {
            r.Bottom = m->Top() + m->Height() - 2;
            r.Top = r.Bottom - FTextHeight - 4;
        }
    }
    ShowAt(r);
}

void THTMLHintWindow::Paint()
{
    TCanvas *c = Canvas();
    const TRect cr = ClientRect();
    c->Brush()->SetColor(Color());
    c->FillRect(cr);

    c->Pen()->SetWidth(1);
    c->Pen()->SetStyle(TPenStyle::psSolid);
    c->Pen()->SetColor(cl3DLight);
    c->MoveTo(cr.Left, cr.Bottom - 2);
    c->LineTo(cr.Left, cr.Top);
    c->LineTo(cr.Right - 1, cr.Top);
    c->Pen()->SetColor(cl3DDkShadow);
    c->MoveTo(cr.Left, cr.Bottom - 1);
    c->LineTo(cr.Right - 1, cr.Bottom - 1);
    c->LineTo(cr.Right - 1, cr.Top - 1);

    TRect r = cr;
    r.Left += 4;
    r.Right -= 4;
    r.Top = cr.Top + (cr.Height() - FTextHeight) / 2;
    r.Bottom = r.Top + FTextHeight + 8;
    c->Brush()->SetColor(Color());
    c->Font()->Assign(Font());
    if (!FWideCaption.isEmpty()) {
        c->Font()->SetName(ExtGrid::HintFontName.isEmpty() ? Font()->Name() : ExtGrid::HintFontName);
        c->Brush()->SetStyle(TBrushStyle::bsClear);
        DrawTextEx(c->Handle(), FWideCaption, -1, &r, DT_SINGLELINE | DT_NOPREFIX, nullptr);
        return;
    }
    THtmlRenderParams p;
    p.Canvas = c;
    p.Text = Caption();
    p.Rect = r;
    p.Images = FImages;
    p.Pictures = FPictureContainer;
    p.AnchorColor = clBlue;
    p.ShadowColor = clGray;
    p.BiDiMode = BiDiMode();
    RenderHtmlText(p);
}

void THTMLHintWindow::CMTextChanged(TCMTextChanged &)
{
    Invalidate();
}

// ---- cell hints ----

void TExtStringGrid::CMHintShow(TWMGeneric &Message)
{
    if (auto *info = reinterpret_cast<THintInfo *>(Message.LParam))
        GetCellHintInfo(info->HintStr, *info);
    Message.Result = 0;
}

void TExtStringGrid::GetCellHintInfo(UnicodeString &HintStr, THintInfo &HintInfo)
{
    int c = -1, r = -1;
    MouseToCell(HintInfo.CursorPos.X, HintInfo.CursorPos.Y, c, r);
    if (FControlLook->HintMaxWidth() > 0)
        HintInfo.HintMaxWidth = FControlLook->HintMaxWidth();
    ExtGrid::HintFontName = Font()->Name();

    if (c >= 0 && r >= 0) {
        int bc = c, br = r;
        ResolveBaseCell(c, r, bc, br);
        c = bc;
        r = br;
        FLastHintPos = {c, r};
        const TRect cr = CellRect(c, r);
        const int rc = DisplToRealCol(c);
        const UnicodeString text = Cells(rc, r);

        TPoint pos{HintInfo.CursorPos.X, cr.Bottom + 6};
        UnicodeString comment;
        if (IsComment(rc, r, comment)) {
            HintStr = comment;
            pos = {cr.Right, cr.Top};
        }

        const int kind = CellTextKind(text, FEnableHTML);
        if (kind == 1 && FAnchorHint) {
            THtmlRenderParams p;
            p.Canvas = Canvas();
            p.Text = text;
            p.Rect = cr;
            p.HitX = HintInfo.CursorPos.X;
            p.HitY = HintInfo.CursorPos.Y;
            p.MeasureOnly = true;
            p.AnchorColor = FURLColor;
            p.PictureCache = FImageCache;
            p.Images = GridImages();
            p.Pictures = FPictureContainer;
            p.BiDiMode = BiDiMode();
            RenderHtmlText(p);
            if (!p.HitAnchor.isEmpty()) {
                UnicodeString anchor = p.HitTitle.isEmpty() ? p.HitAnchor : p.HitTitle;
                if (OnAnchorHint)
                    OnAnchorHint(this, r, rc, anchor);
                FLastAnchorHint = anchor;
                HintStr = anchor;
                pos = {HintInfo.CursorPos.X + 8, HintInfo.CursorPos.Y - 16};
            }
        }

        if (FHintShowCells && c >= FixedCols() && c < ColCount() - FFixedRightCols && r >= FixedRows() &&
            r < RowCount() - FFixedFooters) {
            pos.Y = cr.Top;
            if (kind == 5)
                HintStr = WideCells(rc, r);
            else if (FHTMLHint)
                HintStr = text;
            else
                HintStr = StrippedCells(rc, r);
        }

        if (FHintShowLargeText) {
            // The hint shows the whole text as it would be without the enhanced measure.
            const bool enh = FEnhTextSize;
            FEnhTextSize = false;
            TPoint size;
            try {
                size = GetCellTextSize(rc, r, WordWrap(), false);
            } catch (...) {
                FEnhTextSize = enh;
                throw;
            }
            FEnhTextSize = enh;
            if (size.X > cr.Width() || size.Y > cr.Height()) {
                if (FHintShowLargeTextPos == hpCell)
                    pos = cr.TopLeft();
                HintStr = kind == 1 && !FHTMLHint ? StripHtmlTags(text) : text;
            }
        }

        // The floating footer shows over the last row and has a hint of its own.
        if (!(FFloatingFooter && FFloatingFooter->Visible() && r == RowCount() - 1)) {
            UnicodeString wide;
            DoGridHint(c, r, HintStr, wide);
        }

        const int finalKind = CellTextKind(HintStr, true);
        if ((finalKind == 1 || finalKind == 5) && FUseInternalHintClass) {
            HintInfo.HintWindowClass = &HintWindowClassOf<THTMLHintWindow>;
            HintInfo.HintData = this;
        }
        HintInfo.HintPos = ClientToScreen(pos);
    }
    HintInfo.HintColor = FHintColor;
}

void TExtStringGrid::RenewCellHint(int X, int Y)
{
    if (FLastHintPos.X == -1 && FLastBalloonPos.X == -1)
        return;
    int c = -1, r = -1;
    MouseToCell(X, Y, c, r);
    int bc = c, br = r;
    if (c >= 0 && r >= 0)
        ResolveBaseCell(c, r, bc, br);
    const TPoint base{bc, br};
    if (FLastHintPos.X != -1 && base != FLastHintPos) {
        Application->CancelHint();
        FLastHintPos = {-1, -1};
    }
    if (FBalloonSettings->Enable() && base != FLastBalloonPos) {
        if (FHToolTip)
            SendMessage(FHToolTip, TTM_POP, 0, 0);
        FLastBalloonPos = {-1, -1};
    }
}

void TExtStringGrid::SetUseHTMLHints(bool Value)
{
    FUseHTMLHints = Value;
    HintWindowClass = Value ? &HintWindowClassOf<THTMLHintWindow> : &HintWindowClassOf<THintWindow>;
}
