// Cell text: the typed reads that drawing and formatting rely on, the display text of a cell,
// the drawing of its text in each kind (plain, mini-HTML, rich) and the measuring of a cell's
// text that column and row auto-sizing use.
#include "grid/view/ExtGridPaintContext.h"

#include "controls/ExtGridDraw.h"
#include "controls/ExtGridUtil.h"
#include "controls/MiniHTML.h"
#include "platform/ComCtrls.h"
#include "platform/ImgList.h"
#include "platform/SysUtils.h"
#include "platform/WinGdi.h"

#include <algorithm>
#include <cmath>

namespace {

// The part of a link text that is shown: everything after the scheme ("http://", "mailto:").
UnicodeString WithoutLinkScheme(const UnicodeString &Text)
{
    int p = Text.indexOf(QStringLiteral("://"));
    if (p >= 0)
        return Text.mid(p + 3);
    p = Text.indexOf(QStringLiteral("mailto:"));
    if (p >= 0)
        return Text.mid(p + 7);
    return Text;
}

// The lines of a cell text; a carriage return before a line feed belongs to the break.
QStringList TextLines(const UnicodeString &Text)
{
    QStringList lines = Text.split(QLatin1Char('\n'));
    for (QString &l : lines)
        if (l.endsWith(QLatin1Char('\r')))
            l.chop(1);
    return lines;
}

} // namespace

// ---- typed reads that never raise ------------------------------------------------------------

bool TExtStringGrid::CellTextToInt(const UnicodeString &Text, int &Value)
{
    Value = 0;
    const UnicodeString t = Text.trimmed();
    if (t.isEmpty() || t == QStringLiteral("-"))
        return true;
    int v = 0;
    if (!TryStrToInt(t, v))
        return false;
    Value = v;
    return true;
}

bool TExtStringGrid::CellTextToFloat(const UnicodeString &Text, double &Value)
{
    Value = 0;
    const UnicodeString t = ExtractNumberText(Text.trimmed());
    if (t.isEmpty() || t == QStringLiteral("-"))
        return true;
    // ExtractNumberText writes the decimal point as "." whatever the locale says.
    TFormatSettings fs;
    fs.DecimalSeparator = QLatin1Char('.');
    fs.ThousandSeparator = QChar();
    double v = 0;
    if (!TryStrToFloat(t, v, fs) || !std::isfinite(v))
        return false;
    Value = v;
    return true;
}

bool TExtStringGrid::TryCellInts(int ACol, int ARow, int &Value)
{
    return CellTextToInt(StripHtmlTags(Cells(ACol, ARow)), Value);
}

bool TExtStringGrid::TryCellFloats(int ACol, int ARow, double &Value)
{
    return CellTextToFloat(StripHtmlTags(Cells(ACol, ARow)), Value);
}

int TExtStringGrid::CellIntOrZero(int ACol, int ARow)
{
    int v = 0;
    TryCellInts(ACol, ARow, v);
    return v;
}

double TExtStringGrid::CellFloatOrZero(int ACol, int ARow)
{
    double v = 0;
    TryCellFloats(ACol, ARow, v);
    return v;
}

// ---- display text -----------------------------------------------------------------------------

UnicodeString TExtStringGrid::GetFormattedCell(int ACol, int ARow)
{
    UnicodeString text = Cells(ACol, ARow);
    if (!OnGetFloatFormat || text.isEmpty())
        return text;
    const int kind = NumberKindOf(text);
    if (kind != 0 && kind != 1 && kind != 5)
        return text;
    bool isFloat = true;
    UnicodeString format = FFloatFormat;
    OnGetFloatFormat(this, ACol, ARow, isFloat, format);
    if (!isFloat || format.isEmpty())
        return text;
    // A value the format does not take keeps the cell's own text.
    try {
        if (format.contains(QLatin1Char('d'))) {
            int v = 0;
            if (TryCellInts(ACol, ARow, v))
                return Format(format, {v});
        } else {
            double v = 0;
            if (TryCellFloats(ACol, ARow, v))
                return Format(format, {v});
        }
    } catch (const std::exception &) {
    }
    return text;
}

// ---- measuring ----------------------------------------------------------------------------------

TPoint TExtStringGrid::GetCellTextSize(int ACol, int ARow, bool WrapText, bool ButtonSpace)
{
    return MeasureCellText(ACol, RealToDisplCol(ACol), ARow, WrapText, ButtonSpace);
}

TPoint TExtStringGrid::MeasureCellText(int ACol, int DisplCol, int ARow, bool WrapText, bool ButtonSpace)
{
    UnicodeString text = GetFormattedCell(ACol, ARow);
    int kind = CellTextKind(text, FEnableHTML);
    TCanvas *canvas = Canvas();
    {
        TGridDrawState state;
        TColor colorTo = clNone, mirror = clNone, mirrorTo = clNone;
        TAlignment ha = taLeftJustify;
        TVAlignment va = vtaTop;
        bool ww = false;
        TCellGradientDirection gd = GradientVertical;
        TFont font;
        font.Assign(Font());
        TBrush brush;
        brush.SetColor(Color());
        GetVisualProperties(DisplCol, ARow, state, false, false, true, &brush, colorTo, mirror, mirrorTo, &font, ha, va,
                            ww, gd);
        canvas->Font()->Assign(&font);
        canvas->Brush()->Assign(&brush);
    }
    if (IsFixed(DisplCol, ARow) && FActiveCellShow && FActiveCellFont &&
        FActiveCellFont->Style().Contains(TFontStyle::fsBold))
    {
        TFontStyles st = canvas->Font()->Style();
        st.Include(TFontStyle::fsBold);
        canvas->Font()->SetStyle(st);
    }
    if (FZoomFactor != 0)
        canvas->Font()->SetSize(std::max(1, canvas->Font()->Size() + FZoomFactor));
    if (kind == 3) {
        text = GetCellText(ACol, ARow);
        kind = CellTextKind(text, FEnableHTML);
    }

    // The cell's text room, asked only by the measures that depend on the cell's width. A cell
    // out of view has no client rectangle; its size is known all the same.
    auto textRoom = [&] {
        TRect r = CellRect(DisplCol, ARow);
        if (r.Right <= r.Left)
            r = VirtualCellRect(DisplCol, ARow);
        r.Left += FXYOffset.X;
        r.Top += FXYOffset.Y;
        if (!FXYOffsetTopLeftOnly)
            r.Right -= FXYOffset.X;
        if (ButtonSpace)
            r.Right -= 17;
        return r;
    };

    TPoint size;
    if (kind == 1) {
        const TRect r = textRoom();
        THtmlRenderParams p;
        p.Canvas = canvas;
        p.Text = text;
        p.Rect = r;
        if (!WrapText)
            p.Rect.Right = 65535;
        p.Rect.Bottom = 65535;
        p.MeasureOnly = true;
        p.WordWrap = WrapText;
        p.AnchorColor = FURLColor;
        p.ShadowColor = clGray;
        p.PictureCache = FImageCache;
        p.BiDiMode = BiDiMode();
        RenderHtmlText(p);
        return {p.ExtentX + 2, p.ExtentY + 2};
    }
    if (kind == 2 && !Designing()) {
        const TRect r = textRoom();
        TRichEdit *rich = CellRichEdit();
        CellToRich(ACol, ARow, rich);
        TSize need = rich->RequiredSize(FWordWrapEx ? r.Right - r.Left : 0);
        return {need.cx, need.cy + 4};
    }

    const TCellGraphic *g = GetCellGraphic(ACol, ARow);
    const bool rotated = g && g->CellType() == ctRotated;
    if (WrapText) {
        TRect r = textRoom();
        r.Right -= 2;
        if (EditorMode() && ACol == RealColIndex(Col()) && ARow == Row() && text.endsWith(QLatin1Char('\n')))
            text += QLatin1Char('w');
        TRect calc = r;
        unsigned flags = DT_CALCRECT | DT_EDITCONTROL | DT_NOPREFIX | DT_EXPANDTABS;
        flags |= rotated ? DT_SINGLELINE : DT_WORDBREAK;
        const int h = DrawTextEx(canvas->Handle(), text, -1, &calc, flags, nullptr);
        size = {std::max(0, r.Right - r.Left), h};
    } else {
        QStringList lines = TextLines(text);
        if (!FMultilineCells && lines.size() > 1)
            lines = QStringList{lines.first()};
        int w = 0;
        for (const UnicodeString &line : lines) {
            const UnicodeString shown = kind == 0 && FURLShow && !FURLFull && IsLinkText(line) ? WithoutLinkScheme(line) : line;
            w = std::max(w, canvas->TextWidth(shown));
        }
        size = {w, canvas->TextHeight(QStringLiteral("gh")) * static_cast<int>(lines.size())};
    }
    if (rotated) {
        // A rotated text takes the box that holds it at its angle.
        const double a = g->CellAngle() * M_PI / 180.0;
        const double w = size.X, h = size.Y;
        size = {static_cast<int>(std::lround(std::fabs(h * std::sin(a))) + std::lround(std::fabs(w * std::cos(a)))) + 12,
                static_cast<int>(std::lround(std::fabs(h * std::cos(a))) + std::lround(std::fabs(w * std::sin(a)))) + 12};
    }
    return size;
}

// ---- the content of a cell ------------------------------------------------------------------------

namespace {

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

} // namespace

bool TExtStringGrid::IsSortGlyphCell(int RealCol, int DisplayCol, int ARow)
{
    if (!FSortSettings || FixedRows() <= 0 || !IsSortIndicatorCell(DisplayCol, ARow))
        return false;
    const int pos = FSortIndexes ? FSortIndexes->FindIndex(RealCol) : -1;
    if (RealCol != FSortSettings->Column && pos < 0)
        return false;
    if (DisplayCol < FixedCols() && !FSortSettings->FixedCols)
        return false;
    return pos < 1 || FSortSettings->IndexShow;
}

void TExtStringGrid::DrawCellContent(TCellPaintContext &Ctx)
{
    TCanvas *C = Ctx.Canvas;
    if (!C)
        return;
    const bool fixed = Ctx.State.Contains(gdFixed);
    const bool normalCol = Ctx.DisplayCol >= FixedCols() && Ctx.DisplayCol < ColCount() - FFixedRightCols;
    TColor linkColor = FURLColor;

    // Selection colours.
    if (!fixed && (Ctx.State.Contains(gdSelected) ||
                   (GetRowSelect(Ctx.SelectRow) && Options().Contains(goRowSelect) && normalCol))) {
        if (FShowSelection) {
            if (FSelectionColor != clNone)
                C->Brush()->SetColor(FSelectionColor);
            if (FSelectionTextColor != clNone && Enabled())
                C->Font()->SetColor(FSelectionTextColor);
            linkColor = FSelectionTextColor;
        }
        if ((!Focused() || IsCheckGraphic(Ctx.Graphic)) && !FShowSelection) {
            C->Brush()->SetColor(Ctx.SavedBrushColor);
            C->Font()->SetColor(Ctx.SavedFontColor);
            linkColor = FURLColor;
        }
    }

    // The text and what kind it is.
    UnicodeString text = GetFormattedCell(Ctx.RealCol, Ctx.Row);
    int kind = CellTextKind(text, FEnableHTML);
    if (kind == 3) {
        text = GetCellText(Ctx.RealCol, Ctx.Row);
        kind = CellTextKind(text, FEnableHTML);
    }
    bool password = false;
    DoIsPasswordCell(Ctx.RealCol, Ctx.Row, password);
    if (password)
        text = UnicodeString(text.length(), QChar(FPasswordChar));

    TRect r = Ctx.PaintRect;
    if (fixed) {
        r.Left += GridLineWidth();
        r.Top += GridLineWidth();
    }
    bool clipped = false;
    if (Ctx.ScrollPos > 0) {
        C->SaveDC();
        C->IntersectClipRect(r.Left, r.Top, r.Right, r.Bottom);
        clipped = true;
        r.Top -= Ctx.ScrollPos;
    }

    if (Ctx.ShowFilterButton) {
        TRect glyph = r;
        DrawFilterGlyph(C, Ctx.RealCol, glyph);
    }

    // Disjunct selection: a cell of an unselected row (column) shows its own colours again.
    if (!fixed && !FMouseDown && FMouseActions &&
        ((FMouseActions->DisjunctRowSelect() && !GetRowSelect(Ctx.SelectRow)) ||
         (FMouseActions->DisjunctColSelect() && !(Ctx.RealCol < FColSelect->Count() && FColSelect->Items(Ctx.RealCol) != 0)))) {
        C->Brush()->SetColor(Color());
        C->Font()->SetColor(Font()->Color());
        DoGetCellColor(Ctx.RealCol, Ctx.Row, Ctx.State, C->Brush(), C->Font());
        if (FZoomFactor != 0)
            C->Font()->SetSize(std::max(1, C->Font()->Size() + FZoomFactor));
        linkColor = FURLColor;
    }

    DrawCellBackGround(Ctx);
    DrawSelectionRectangle(Ctx);

    if (Ctx.TextAllowed)
        DrawCellText(Ctx, r, text, kind, linkColor);

    if (clipped)
        C->RestoreDC(-1);
}

unsigned TExtStringGrid::CellTextDrawFlags(int Lines, bool WordWrap, bool Multilinecells, bool EnhTextSize,
                                           TAlignment HA, TVAlignment VA)
{
    unsigned flags = 0;
    if (Lines <= 1 && !WordWrap) {
        flags = DT_SINGLELINE;
        if (EnhTextSize)
            flags |= DT_END_ELLIPSIS;
    } else {
        flags = DT_EDITCONTROL;
        if (WordWrap && !Multilinecells && EnhTextSize)
            flags |= DT_END_ELLIPSIS;
    }
    flags |= DT_EXPANDTABS | DT_NOPREFIX;
    flags |= HA == taRightJustify ? DT_RIGHT : HA == taCenter ? DT_CENTER : 0;
    flags |= VA == vtaCenter ? DT_VCENTER : VA == vtaBottom ? DT_BOTTOM : 0;
    if (WordWrap || Multilinecells)
        flags |= DT_WORDBREAK | DT_EDITCONTROL;
    else
        flags |= DT_SINGLELINE;
    return flags;
}

void TExtStringGrid::DrawCellText(TCellPaintContext &Ctx, TRect r, UnicodeString text, int kind, TColor linkColor)
{
    TCanvas *C = Ctx.Canvas;
    r.Left += FXYOffset.X;
    r.Top += FXYOffset.Y;
    if (!FXYOffsetTopLeftOnly)
        r.Right -= FXYOffset.X;
    if (Ctx.Graphic) {
        if (Ctx.GraphicHAlign == haBeforeText)
            r.Left += Ctx.GraphicWidth;
        else if (Ctx.GraphicHAlign == haAfterText)
            r.Right -= Ctx.GraphicWidth;
        if (Ctx.GraphicVAlign == vaAboveText)
            r.Top += Ctx.GraphicHeight;
        else if (Ctx.GraphicVAlign == vaUnderText)
            r.Bottom -= Ctx.GraphicHeight;
    }
    if (Ctx.RealCol == 0 && HasNodes() && !(Ctx.Graphic && Ctx.Graphic->CellType() == ctNode))
        r.Left += GetRowIndent(Ctx.Row);
    const bool sortCell = IsSortGlyphCell(Ctx.RealCol, Ctx.DisplayCol, Ctx.Row);
    const int sortY = Ctx.VAlign == vtaTop ? r.Top + 8 : Ctx.VAlign == vtaCenter ? r.Top + (r.Bottom - r.Top) / 2 : r.Bottom - 8;
    Ctx.SortGlyphY = sortY;

    if (kind == 1) {
        if (Ctx.ShowFilterButton)
            r.Right -= 18;
        r.Left -= 1;
        if (sortCell)
            r.Right -= 10;
        THtmlRenderParams p;
        p.Canvas = C;
        p.Text = text;
        p.Rect = r;
        p.Images = dynamic_cast<TCustomImageList *>(GetGridImageList());
        // Only the cell under the pointer shows its anchor hovered.
        p.HoverAnchorIndex = FHoverCell == TPoint(Ctx.DisplayCol, Ctx.Row) ? FHoverlink : -1;
        p.HoverOnlyStyle = FURLUnderlineOnHover;
        p.Pictures = FPictureContainer;
        p.Selected = Ctx.State.Contains(gdSelected);
        p.BlinkVisible = !FGridBlink;
        p.WordWrap = Ctx.WordWrap;
        p.AnchorColor = linkColor;
        p.ShadowColor = clGray;
        p.PictureCache = FImageCache;
        p.BiDiMode = bdLeftToRight;
        RenderHtmlText(p);
        Ctx.TextWidth = p.ExtentX + 2;
        Ctx.TextHeight = p.ExtentY;
        if (sortCell)
            DrawSortIndicator(C, Ctx.RealCol, r.Right + 2, sortY);
        return;
    }

    if (kind == 2) {
        if (!(Ctx.State.Contains(gdSelected) && !Focused() && FSelectionColor == clNone)) {
            C->Pen()->SetColor(C->Brush()->Color());
            C->FillRect(r);
        }
        DrawRichCell(Ctx.RealCol, Ctx.Row, r, C);
        C->Brush()->SetStyle(TBrushStyle::bsSolid);
        C->Font()->SetColor(clBlack);
        return;
    }

    // Plain text.
    if (FSortSettings->Show && Ctx.HAlign == taCenter && Ctx.Row == FSortSettings->Row &&
        Ctx.RealCol == FSortSettings->Column)
        r.Left += 10;
    bool underlined = false;
    if (FURLShow && IsLinkText(text)) {
        if (!FURLFull)
            text = WithoutLinkScheme(text);
        TFontStyles st = C->Font()->Style();
        underlined = !st.Contains(TFontStyle::fsUnderline);
        st.Include(TFontStyle::fsUnderline);
        C->Font()->SetStyle(st);
        C->Font()->SetColor(linkColor);
    }
    const QStringList lines = TextLines(text);
    const int lineCount = FMultilineCells ? static_cast<int>(lines.size()) : 1;
    if (lineCount <= 1 && !Ctx.WordWrap)
        text = lines.isEmpty() ? UnicodeString() : lines.first();
    const unsigned flags = CellTextDrawFlags(lineCount, Ctx.WordWrap, FMultilineCells, FEnhTextSize, Ctx.HAlign, Ctx.VAlign);
    FDrawnVAlign = Ctx.VAlign;
    C->SetBkMode(TRANSPARENT);
    if (Ctx.ShowFilterButton)
        r.Right -= 16;
    if (Ctx.Graphic && !text.isEmpty()) {
        TRect calc = r;
        DrawTextEx(C->Handle(), text, -1, &calc, flags | DT_CALCRECT, nullptr);
        Ctx.TextWidth = calc.Right - calc.Left + 2;
        Ctx.TextHeight = calc.Bottom - calc.Top;
    }
    DrawTextEx(C->Handle(), text, -1, &r, flags, nullptr);
    if (Ctx.Graphic && (Ctx.Graphic->CellType() == ctEmpty || Ctx.Graphic->CellType() == ctValue) &&
        Ctx.Graphic->CellErrLen() > 0)
        DrawErrorUnderline(this, C, text, r, 0, Ctx.Graphic->CellErrFrom(), Ctx.Graphic->CellErrLen());
    if (underlined) {
        TFontStyles st = C->Font()->Style();
        st.Exclude(TFontStyle::fsUnderline);
        C->Font()->SetStyle(st);
    }
    if (sortCell) {
        TRect cell = Ctx.PaintRect;
        if (Ctx.ShowFilterButton)
            cell.Right -= 16;
        const int w = std::max(0, std::min(cell.Right - cell.Left - 16, C->TextWidth(text)));
        int x = cell.Left + 8;
        if (Ctx.HAlign == taLeftJustify)
            x = cell.Left + w + (Ctx.Graphic && Ctx.GraphicHAlign == haLeft ? Ctx.GraphicWidth : 0) + 10;
        else if (Ctx.HAlign == taRightJustify)
            x = cell.Right - w - 10;
        DrawSortIndicator(C, Ctx.RealCol, x, sortY);
    }
}

// ---- rich text ---------------------------------------------------------------------------------------

TRichEdit *TExtStringGrid::CellRichEdit()
{
    if (!FCellRichEdit)
        FCellRichEdit = new TExtRichEdit(this);
    return FCellRichEdit;
}

void TExtStringGrid::DrawRichCell(int ACol, int ARow, TRect ARect, TCanvas *ACanvas)
{
    if (!ACanvas || Designing())
        return;
    TRichEdit *rich = CellRichEdit();
    CellToRich(ACol, ARow, rich);
    const TGridRect sel = Selection();
    const int dc = RealToDisplCol(ACol);
    const bool inSelection = dc >= sel.Left && dc <= sel.Right && ARow >= sel.Top && ARow <= sel.Bottom &&
                             (!(dc == Col() && ARow == Row() && Focused()) || Options().Contains(goDrawFocusSelected));
    const bool selected = inSelection || (FMouseActions->DisjunctRowSelect() && GetRowSelect(ARow));
    TColor color = clNone;
    if (selected && !FSelectionRTFKeep && ACanvas->GetMapMode() == MM_TEXT && FSelectionTextColor != clNone)
        color = FSelectionTextColor;
    // The range is laid out in twips as a formatted range is; at the canvas's resolution it
    // comes back to the cell less the text margin on each side.
    const int ppx = std::max(1, ACanvas->PixelsPerInchX()), ppy = std::max(1, ACanvas->PixelsPerInchY());
    const int m = static_cast<int>(std::lround(FXYOffset.X * ppx / 96.0));
    const long left = std::lround((ARect.Left + m) * 1440.0 / ppx);
    const long top = std::lround((ARect.Top + m) * 1440.0 / ppy);
    const long right = left + std::lround((ARect.Right - ARect.Left - 2 * m) * 1440.0 / ppx);
    const long bottom = top + std::lround((ARect.Bottom - ARect.Top - 2 * m) * 1440.0 / ppy);
    const TRect px(static_cast<int>(std::lround(left * ppx / 1440.0)), static_cast<int>(std::lround(top * ppy / 1440.0)),
                   static_cast<int>(std::lround(right * ppx / 1440.0)), static_cast<int>(std::lround(bottom * ppy / 1440.0)));
    rich->DrawTo(ACanvas, px, color);
}
