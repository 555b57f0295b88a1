// The floating footer: its settings and the panel that shows it (a column-aligned last row, a
// column or template preview of the current row, or the application's painting), with its hints
// and clicks.

#include "grid/core/ExtGrid.h"

#include "controls/MiniHTML.h"

#include <algorithm>

namespace {

constexpr TColor FooterGrey = TColorOf(0x808080u);

} // namespace

// ---- settings -----------------------------------------------------------------------------------

void TFloatingFooter::Assign(TPersistent *Source)
{
    auto *src = dynamic_cast<TFloatingFooter *>(Source);
    if (!src) {
        TPersistent::Assign(Source);
        return;
    }
    CalculateHiddenRows = src->CalculateHiddenRows;
    Color = src->Color;
    FColumn = src->FColumn;
    FCustomTemplate = src->FCustomTemplate;
    FooterStyle = src->FooterStyle;
    SetVisible(src->FVisible);
    SetShowHint(src->FShowHint);
}

int TFloatingFooter::Height() const { return FHeight >= 0 ? FHeight : FGrid->DefaultRowHeight(); }

void TFloatingFooter::SetVisible(bool Value)
{
    const bool wasShown = FVisible;
    FVisible = Value;
    if (TFooterPanel *p = FGrid->FooterPanel()) {
        p->SetHeight(Value ? std::max(0, Height() - 1) : 0);
        p->SetVisible(Value);
    }
    // Hiding a footer that does not show keeps the footer rows the application set itself.
    if (!Value && !wasShown)
        return;
    const bool lastRow = Value && FooterStyle == fsFixedLastRow;
    FGrid->SetFixedFooters(lastRow ? 1 : 0);
    FGrid->SetHideLastRow(lastRow);
    FGrid->Invalidate();
}

void TFloatingFooter::SetFooterStyle(TFooterStyle Value)
{
    FooterStyle = Value;
    FGrid->SetHideLastRow(FVisible && Value == fsFixedLastRow);
    FGrid->Invalidate();
    Invalidate();
}

void TFloatingFooter::SetHeight(int Value)
{
    FHeight = Value;
    if (FGrid->FooterPanel() && Value > 0)
        FGrid->FooterPanel()->SetHeight(Value - 1);
}

void TFloatingFooter::SetColor(TColor Value)
{
    Color = Value;
    Invalidate();
}

void TFloatingFooter::SetBorderColor(TColor Value)
{
    if (BorderColor == Value)
        return;
    BorderColor = Value;
    Invalidate();
}

void TFloatingFooter::SetColumn(int Value)
{
    FColumn = Value;
    Invalidate();
}

void TFloatingFooter::SetCustomTemplate(const UnicodeString &Value)
{
    FCustomTemplate = Value;
    Invalidate();
}

void TFloatingFooter::SetShowHint(bool Value)
{
    FShowHint = Value;
    if (TFooterPanel *p = FGrid->FooterPanel())
        p->SetShowHint(Value);
}

void TFloatingFooter::Invalidate()
{
    if (TFooterPanel *p = FGrid->FooterPanel())
        p->Invalidate();
}

UnicodeString TFloatingFooter::ExpandTemplate(const UnicodeString &Template, int ColCount,
                                              const std::function<UnicodeString(int)> &CellText)
{
    UnicodeString out;
    UnicodeString rest = Template;
    for (;;) {
        const int open = rest.indexOf(QStringLiteral("<#"));
        if (open < 0)
            break;
        const int close = rest.indexOf(QLatin1Char('>'), open + 2);
        // A placeholder never closed is no placeholder: it shows as written.
        if (close < 0)
            break;
        out += rest.left(open);
        bool ok = false;
        const int n = rest.mid(open + 2, close - open - 2).toInt(&ok);
        rest = rest.mid(close + 1);
        if (ok && n >= 0 && n < ColCount)
            out += CellText(n);
    }
    return out + rest;
}

void TExtStringGrid::SetHideLastRow(bool Value)
{
    if (FHideLastRow == Value)
        return;
    FHideLastRow = Value;
    Invalidate();
}

// ---- the panel ----------------------------------------------------------------------------------

TFooterPanel::TFooterPanel(TComponent *AOwner) : TPanel(AOwner), FGrid(dynamic_cast<TExtStringGrid *>(AOwner))
{
    if (!FGrid)
        throw EInvalidCast(QStringLiteral("Invalid class typecast"));
}

void TFooterPanel::CreateWnd()
{
    TPanel::CreateWnd();
    TFloatingFooter *f = FGrid->FloatingFooter();
    SetHeight(f && f->Visible() ? f->Height() : 0);
    if (FGrid->OnCreatedFloatingFooter)
        FGrid->OnCreatedFloatingFooter(FGrid);
}

int TFooterPanel::FooterWidth() const
{
    int w = 0;
    for (int c = 0; c < FGrid->FixedCols(); ++c)
        w += FGrid->ColWidths(c);
    for (int c = std::max(FGrid->LeftCol(), FGrid->FixedCols()); c < FGrid->ColCount(); ++c)
        w += FGrid->ColWidths(c);
    return w;
}

int TFooterPanel::FooterColumnAt(int X) const
{
    int sum = 0, col = -1;
    for (int c = 0; c < FGrid->FixedCols() && sum < X; ++c) {
        sum += FGrid->ColWidths(c);
        col = c;
    }
    for (int c = std::max(FGrid->LeftCol(), FGrid->FixedCols()); c < FGrid->ColCount() && sum < X; ++c) {
        sum += FGrid->ColWidths(c);
        col = c;
    }
    return sum < X ? -1 : col;
}

int TFooterPanel::PaintFixedLastRow(TCanvas *C, const TRect &R)
{
    TExtStringGrid *g = FGrid;
    TFloatingFooter *f = g->FloatingFooter();
    const int W = FooterWidth();
    C->Brush()->SetStyle(TBrushStyle::bsSolid);
    C->Brush()->SetColor(f->Color);
    C->FillRect(TRect(R.Left, R.Top, R.Left + W, R.Bottom));
    C->Brush()->SetColor(g->Color());
    C->FillRect(TRect(R.Left + W, R.Top, R.Right, R.Bottom));

    std::vector<int> cols;
    for (int c = 0; c < g->FixedCols(); ++c)
        cols.push_back(c);
    for (int c = std::max(g->LeftCol(), g->FixedCols()); c < g->ColCount(); ++c)
        cols.push_back(c);
    const TGridOptions &opts = g->Options();
    const TGridLook look = g->Look();
    const bool lined = !g->Flat() && (look == glSoft || look == glQRV || look == glXP || look == glVista);

    // Separators in line with the grid's columns.
    int x = 0;
    for (int c : cols) {
        const bool fixed = c < g->FixedCols();
        C->Pen()->SetColor(clWhite);
        C->MoveTo(x, R.Bottom);
        if (opts.Contains(goFixedVertLine) && lined)
            C->LineTo(x, R.Top);
        const int start = x;
        x += g->ColWidths(c);
        if (opts.Contains(goFixedHorzLine)) {
            C->Pen()->SetColor(g->GridLineColor());
            C->MoveTo(start, R.Top);
            C->LineTo(x - 1, R.Top);
        }
        if (!fixed && look != glVista)
            C->Pen()->SetColor(FooterGrey);
        if (opts.Contains(goFixedVertLine)) {
            C->MoveTo(x - 1, R.Top);
            C->LineTo(x - 1, R.Bottom);
        }
    }

    // The footer cells, painted as fixed cells.
    const int row = g->RowCount() - 1;
    if (row < 0)
        return 0;
    const int top = R.Top + (opts.Contains(goFixedHorzLine) ? 1 : 0);
    int left = R.Left, X = R.Left;
    for (int c : cols) {
        const bool fixed = c < g->FixedCols();
        const int real = g->RealColIndex(c);
        TRect cell(left, top, left + g->ColWidths(c) - 1, R.Bottom);
        if (opts.Contains(goFixedHorzLine) && lined)
            ++cell.Left;
        if (!fixed) {
            if (g->OnGetCellColor) {
                C->Brush()->SetColor(clNone);
                g->OnGetCellColor(g, row, c, TGridDrawState{gdFixed}, C->Brush(), C->Font());
                if (C->Brush()->Color() != clNone)
                    C->FillRect(cell);
            }
            if (g->CellHasProperties(real, row) && g->Colors(real, row) != clNone) {
                C->Brush()->SetColor(g->Colors(real, row));
                C->FillRect(cell);
            }
        }
        const TPoint base = g->BaseCell(real, row);
        if (base == TPoint(real, row)) {
            if (!fixed && g->OnFooterPaint)
                g->OnFooterPaint(g, c, C, cell);
            else
                g->PaintFooterCell(C, c, row, cell, TGridDrawState{gdFixed});
        }
        left = cell.Right + 1;
        X = cell.Right;
    }
    return X;
}

int TFooterPanel::PaintPreviewArea(TCanvas *C, const TRect &R, TRect &Area)
{
    TExtStringGrid *g = FGrid;
    const int W = FooterWidth();
    Area = TRect(R.Left, R.Top, R.Left + W, R.Bottom);
    C->Brush()->SetStyle(TBrushStyle::bsSolid);
    C->Brush()->SetColor(g->FloatingFooter()->Color);
    C->FillRect(Area);
    C->Pen()->SetColor(FooterGrey);
    C->MoveTo(Area.Left, Area.Bottom - 1);
    C->LineTo(Area.Right - 1, Area.Bottom - 1);
    C->LineTo(Area.Right - 1, Area.Top);
    C->Pen()->SetColor(clWhite);
    C->LineTo(Area.Left, Area.Top);
    C->LineTo(Area.Left, Area.Bottom - 1);
    C->Brush()->SetColor(g->Color());
    C->FillRect(TRect(Area.Right, R.Top, R.Right, R.Bottom));
    return W;
}

void TFooterPanel::Paint()
{
    TCanvas *C = Canvas();
    TExtStringGrid *g = FGrid;
    TFloatingFooter *f = g->FloatingFooter();
    if (!C || !f)
        return;
    const TRect R = ClientRect();
    int X = 0;
    switch (f->FooterStyle) {
    case fsFixedLastRow:
        X = PaintFixedLastRow(C, R);
        break;
    case fsColumnPreview: {
        TRect area;
        X = PaintPreviewArea(C, R, area);
        if (g->OnFooterPaint) {
            g->OnFooterPaint(g, f->Column(), C, area);
        } else if (f->Column() >= 0 && f->Column() < g->ColCount() && g->Row() >= 0 && g->Row() < g->RowCount()) {
            const TColor keep = g->SelectionTextColor();
            g->SetSelectionTextColor(TColorOf(0));
            g->PaintFooterCell(C, f->Column(), g->Row(), area, TGridDrawState{});
            g->SetSelectionTextColor(keep);
        }
        break;
    }
    case fsCustomPreview: {
        TRect area;
        X = PaintPreviewArea(C, R, area);
        C->Brush()->SetStyle(TBrushStyle::bsClear);
        if (ComponentState().Contains(TComponentStateItem::csDesigning)) {
            C->TextOut(area.Left + 2, area.Top + 2, f->CustomTemplate());
            break;
        }
        const int row = g->Row();
        const UnicodeString text = TFloatingFooter::ExpandTemplate(
            f->CustomTemplate(), g->AllColCount(), [g, row](int ACol) {
                return row >= 0 && row < g->RowCount() ? g->Cells(ACol, row) : UnicodeString();
            });
        THtmlRenderParams p;
        p.Canvas = C;
        p.Text = text;
        p.Rect = TRect(area.Left, area.Top + 2, area.Right, area.Bottom + 2);
        p.Images = dynamic_cast<TCustomImageList *>(g->GetGridImageList());
        p.AnchorColor = g->URLColor();
        p.ShadowColor = clGray;
        p.PictureCache = g->ImageCache();
        p.Pictures = g->PictureContainer();
        RenderHtmlText(p);
        break;
    }
    case fsCustomPaint:
        if (g->OnFooterPaint)
            g->OnFooterPaint(g, f->Column(), C, R);
        X = R.Right;
        break;
    }
    if (f->BorderColor != clNone) {
        C->Pen()->SetColor(f->BorderColor);
        C->MoveTo(R.Left, R.Top);
        C->LineTo(X, R.Top);
    }
}

void TFooterPanel::CMHintShow(TWMGeneric &Message)
{
    auto *info = reinterpret_cast<THintInfo *>(Message.LParam);
    const int col = info ? FooterColumnAt(info->CursorPos.X) : -1;
    if (col >= 0 && FGrid->OnGridHint)
        FGrid->OnGridHint(FGrid, FGrid->RowCount() - 1, col, info->HintStr);
    FLastHintX = ShowHint() && col >= 0 ? col : -1;
    Message.Result = ShowHint() ? 0 : 1;
}

void TFooterPanel::MouseMove(TShiftState Shift, int X, int Y)
{
    TPanel::MouseMove(Shift, X, Y);
    if (!ShowHint() || FLastHintX < 0)
        return;
    const int col = FooterColumnAt(X);
    if (col != FLastHintX) {
        // The next rest asks again for the column now under the pointer.
        Application->CancelHint();
        FLastHintX = col;
    }
}

void TFooterPanel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TPanel::MouseUp(Button, Shift, X, Y);
    if (FGrid->OnClick)
        FGrid->OnClick(FGrid);
    if (FGrid->OnClickCell)
        FGrid->OnClickCell(FGrid, FGrid->RowCount() - 1, FooterColumnAt(X));
}

void TFooterPanel::CMMouseLeave(TCMMouseLeave &Message)
{
    TPanel::CMMouseLeave(Message);
    FLastHintX = -1;
}
