// Cell text: the typed reads that drawing and formatting rely on, the display text of a cell,
// and the measuring of a cell's text that column and row auto-sizing use.
#include "grid/core/ExtGrid.h"

#include "controls/ExtGridUtil.h"
#include "controls/MiniHTML.h"
#include "platform/ComCtrls.h"
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

    // A cell out of view has no client rectangle; its size is known all the same.
    TRect r = CellRect(DisplCol, ARow);
    if (r.Right <= r.Left)
        r = VirtualCellRect(DisplCol, ARow);
    r.Left += FXYOffset.X;
    r.Top += FXYOffset.Y;
    if (!FXYOffsetTopLeftOnly)
        r.Right -= FXYOffset.X;
    if (ButtonSpace)
        r.Right -= 17;

    TPoint size;
    if (kind == 1) {
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
        // The cell's rich text measures as the plain text it shows.
        TRichEdit rich(nullptr);
        rich.Lines()->SetText(text);
        text = rich.Lines()->Text();
        if (text.endsWith(QLatin1Char('\n')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('\r')))
            text.chop(1);
    }

    const TCellGraphic *g = GetCellGraphic(ACol, ARow);
    const bool rotated = g && g->CellType() == ctRotated;
    if (WrapText) {
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
