// The header and footer of a printed page: time, date, page number and title in six places,
// further title lines, and a mini-HTML title.
#include "grid/services/ExtGridPrintEngine.h"

#include "controls/ExtGridUtil.h"
#include "controls/MiniHTML.h"

#include <array>
#include <cmath>

namespace {

bool IsTop(TPrintPosition P)
{
    return P == ppTopLeft || P == ppTopRight || P == ppTopCenter;
}

bool IsBottom(TPrintPosition P)
{
    return P == ppBottomLeft || P == ppBottomRight || P == ppBottomCenter;
}

bool IsLeft(TPrintPosition P)
{
    return P == ppTopLeft || P == ppBottomLeft;
}

// The font of a mini-HTML title in device pixels: the point size at the device's resolution.
void SetDeviceFontSize(TCanvas *C, int PointSize)
{
    const int dpi = std::max(1, C->PixelsPerInchY());
    C->Font()->SetHeight(-static_cast<int>(std::lround(PointSize * dpi / 72.0)));
}

} // namespace

int TGridPrintEngine::WriteHeaderFooter()
{
    if (!DrawMode() || !PageInRange(PageIndex))
        return 0;
    Grid.FPrintFontScale = F;
    struct TScaleReset {
        TExtStringGrid &G;
        ~TScaleReset() { G.FPrintFontScale = 1.0; }
    } reset{Grid};

    // Slots in the order of the positions ppTopLeft .. ppBottomCenter.
    std::array<UnicodeString, 6> slotTexts;
    auto add = [&](TPrintPosition pos, const UnicodeString &item) {
        if (pos == ppNone)
            return;
        UnicodeString &slot = slotTexts[std::size_t(pos - 1)];
        slot = IsLeft(pos) ? item + QLatin1Char(' ') + slot : slot + QLatin1Char(' ') + item;
    };
    const TDateTime now = Now();
    add(PS.Time, FormatDateTime(QStringLiteral("hh:nn"), now));
    add(PS.Date, FormatDateTime(PS.DateFormat, now));

    if (PS.PageNr != ppNone) {
        UnicodeString page;
        if (MoreStrips) {
            page = QString::number(PageInStrip + 1) + QLatin1Char('-') + QString::number(StripNr);
            Grid.DoPrintGetPageNum(PageInStrip + 1, StripNr, page);
        } else {
            // Page numbers and totals with their offsets are figured in 64 bits: without a page
            // count the total is the largest integer.
            const std::int64_t number = PageIndex + 1 + PS.PageNumberOffset;
            if (!PS.PageNumSep.isEmpty() && PageCount > 1)
                page = QString::number(number) + PS.PageNumSep + QString::number(PageCount + PS.MaxPagesOffset);
            else
                page = QString::number(number);
            Grid.DoPrintGetPageNum(static_cast<int>(PageIndex + 1), StripNr, page);
        }
        add(PS.PageNr, PS.PagePrefix + QLatin1Char(' ') + page + QLatin1Char(' ') + PS.PageSuffix);
    }

    TStringList *lines = PS.TitleLines();
    UnicodeString html;
    bool htmlTop = false;
    if (PS.Title != ppNone) {
        if (!PS.TitleText.isEmpty())
            add(PS.Title, PS.TitleText);
        else if (lines->Count() > 0 && CellTextKind(lines->Text(), Grid.EnableHTML()) == 1) {
            for (int i = 0; i < lines->Count(); ++i)
                html += lines->Strings(i);
            htmlTop = IsTop(PS.Title);
        } else if (lines->Count() > 0) {
            UnicodeString &slot = slotTexts[std::size_t(PS.Title - 1)];
            const UnicodeString line = lines->Strings(0);
            const QString gap = slot.isEmpty() || line.isEmpty() ? QString() : QStringLiteral(" ");
            slot = IsLeft(PS.Title) ? line + gap + slot : slot + gap + line;
        }
    }

    TFont savedFont;
    savedFont.Assign(C->Font());
    TBrush savedBrush;
    savedBrush.Assign(C->Brush());
    C->Brush()->SetStyle(TBrushStyle::bsClear);
    C->SetBkMode(TRANSPARENT);

    auto xFor = [&](int slot, const UnicodeString &text) {
        const int tw = C->TextWidth(text);
        switch (slot % 3) {
        case 0: return PS.LeftSize;
        case 1: return W - tw - 20 - PS.RightSize;
        default: return (W - tw) / 2;
        }
    };
    // The further title lines at the title's place, below its first line.
    auto moreTitleLines = [&](int baseY) {
        const int slot = PS.Title - 1;
        int acc = 0;
        for (int i = 1; i < lines->Count(); ++i) {
            acc += C->TextHeight(QStringLiteral("gh"));
            const UnicodeString line = lines->Strings(i);
            C->TextOut(xFor(slot, line), baseY - acc, line);
        }
    };
    auto renderHtml = [&](const TRect &Logical, int PixelHeight, bool Measure) {
        int height = 0;
        TPoint p[2] = {{Logical.Left, Logical.Top}, {Logical.Right, Logical.Bottom}};
        C->LPtoDP(p, 2);
        const int mode = C->SetMapMode(MM_TEXT);
        TFont keep;
        keep.Assign(C->Font());
        SetDeviceFontSize(C, PS.HeaderFont()->Size());
        THtmlRenderParams hp;
        hp.Canvas = C;
        hp.Text = html;
        hp.Rect = TRect(p[0].X, p[0].Y, p[1].X, Measure ? p[0].Y + 65535 : p[0].Y + PixelHeight);
        hp.Images = Grid.GridImages();
        hp.MeasureOnly = Measure;
        hp.PrintMode = true;
        hp.PrintScale = ResRatio;
        hp.AnchorColor = Grid.URLColor();
        hp.Pictures = Grid.PictureContainer();
        hp.PictureCache = Grid.FImageCache;
        RenderHtmlText(hp);
        height = hp.ExtentY;
        C->Font()->Assign(&keep);
        C->SetMapMode(mode);
        return height;
    };

    // The header.
    int g = 0;
    SetFontFor(PS.HeaderFont());
    for (int i = 0; i < 3; ++i)
        if (!slotTexts[std::size_t(i)].isEmpty())
            C->TextOut(xFor(i, slotTexts[std::size_t(i)]), -PS.HeaderSize, slotTexts[std::size_t(i)]);
    if (IsTop(PS.Title) && PS.TitleText.isEmpty() && lines->Count() > 1 && html.isEmpty())
        moreTitleLines(-PS.HeaderSize);
    if (!html.isEmpty() && htmlTop) {
        const int ysize = renderHtml(TRect(PS.LeftSize, -PS.HeaderSize, W, -PS.HeaderSize), 0, true);
        // The title's height in layout units, so that the first row starts below it.
        TPoint d[2] = {{0, 0}, {0, ysize}};
        C->DPtoLP(d, 2);
        g = std::abs(d[1].Y - d[0].Y);
        renderHtml(TRect(PS.LeftSize, -PS.HeaderSize, W, -PS.HeaderSize - g), ysize, false);
    }

    // The footer.
    SetFontFor(PS.FooterFont());
    const int fy = H + FooterTextHeight + E8 + PS.FooterSize;
    for (int i = 3; i < 6; ++i)
        if (!slotTexts[std::size_t(i)].isEmpty())
            C->TextOut(xFor(i, slotTexts[std::size_t(i)]), fy, slotTexts[std::size_t(i)]);
    if (IsBottom(PS.Title) && PS.TitleText.isEmpty() && lines->Count() > 1 && html.isEmpty())
        moreTitleLines(fy);
    if (!html.isEmpty() && !htmlTop && IsBottom(PS.Title)) {
        TPoint d[2] = {{0, H + PS.FooterSize}, {0, H}};
        C->LPtoDP(d, 2);
        renderHtml(TRect(PS.LeftSize, H + PS.FooterSize, W, H), std::abs(d[1].Y - d[0].Y), false);
    }

    C->Font()->Assign(&savedFont);
    C->Brush()->Assign(&savedBrush);
    return g;
}
