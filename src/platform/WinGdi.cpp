// The free drawing calls: text layout of DrawText, edges, frame controls, objects and regions.
#include "platform/WinGdi.h"

#include "platform/GraphicsPrivate.h"

#include <QFontMetrics>
#include <QPainterPath>

#include <algorithm>
#include <array>
#include <cmath>
#include <mutex>
#include <set>

namespace {

QRect ToQRect(int l, int t, int r, int b)
{
    if (r < l)
        std::swap(l, r);
    if (b < t)
        std::swap(t, b);
    return QRect(l, t, r - l, b - t);
}

// --- text layout ----------------------------------------------------------------------------------

// One line of DrawText output: its text and the position of the underlined prefix character.
struct Line {
    QString Text;
    int Prefix = -1;
};


class TextLayout {
public:
    TextLayout(TCanvas *dc, unsigned format, int tabLength)
        : FDC(dc), FFormat(format), FMetrics(dc->Font()->QtFont())
    {
        if (tabLength <= 0)
            tabLength = (format & DT_TABSTOP) ? static_cast<int>((format >> 8) & 0xFF) : 8;
        if (tabLength <= 0)
            tabLength = 8;
        FTabLength = tabLength;
    }

    // Measured only for a text that holds a tab: the average width costs a layout of its own.
    int TabWidth() const
    {
        if (FTabWidth <= 0)
            FTabWidth = std::max(1, FTabLength * AverageCharWidth(FMetrics));
        return FTabWidth;
    }

    static int AverageCharWidth(const QFontMetrics &fm)
    {
        // The classic average is the weighted width of the lower-case letters and the space.
        static const QString sample = QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ");
        return static_cast<int>(std::lround(fm.horizontalAdvance(sample) / 52.0));
    }

    bool ExpandTabs() const { return FFormat & DT_EXPANDTABS; }

    int Width(const QString &s) const
    {
        if (!ExpandTabs() || !s.contains(QLatin1Char('\t')))
            return FMetrics.horizontalAdvance(s);
        int x = 0;
        const QStringList parts = s.split(QLatin1Char('\t'));
        for (int i = 0; i < parts.size(); ++i) {
            if (i > 0)
                x = (x / TabWidth() + 1) * TabWidth();
            x += FMetrics.horizontalAdvance(parts[i]);
        }
        return x;
    }

    int LineHeight() const
    {
        int h = FMetrics.height();
        if (FFormat & DT_EXTERNALLEADING)
            h += std::max(0, FMetrics.leading());
        return h;
    }

    // Breaks a paragraph into lines not wider than width, between words.
    void Wrap(const QString &para, int prefix, int width, std::vector<Line> &out) const
    {
        int start = 0;
        const int n = static_cast<int>(para.size());
        if (n == 0) {
            out.push_back({QString(), -1});
            return;
        }
        while (start < n) {
            int lastBreak = -1; // index of the space that ends the best line so far
            int i = start;
            int end = n;
            while (i < n) {
                // The next word end.
                int j = i;
                while (j < n && para[j] != QLatin1Char(' '))
                    ++j;
                if (Width(para.mid(start, j - start)) > width && lastBreak >= 0) {
                    end = lastBreak;
                    break;
                }
                if (j >= n) {
                    end = n;
                    break;
                }
                lastBreak = j;
                i = j + 1;
            }
            if (end == n && i >= n)
                end = n;
            QString text = para.mid(start, end - start);
            // Spaces where the line breaks are not drawn.
            while (text.endsWith(QLatin1Char(' ')) && end < n)
                text.chop(1);
            const int p = prefix >= start && prefix < start + text.size() ? prefix - start : -1;
            out.push_back({text, p});
            start = end;
            while (start < n && para[start] == QLatin1Char(' ') && end < n)
                ++start;
            if (end == n)
                break;
        }
    }

    // Shortens s so that it fits into width, with "..." at the end, at a word end or in the
    // middle of a path.
    QString Ellipsize(const QString &s, int width, unsigned mode) const
    {
        if (Width(s) <= width)
            return s;
        const QString dots = QStringLiteral("...");
        if (mode & DT_PATH_ELLIPSIS) {
            const int sep = static_cast<int>(std::max(s.lastIndexOf(QLatin1Char('\\')), s.lastIndexOf(QLatin1Char('/'))));
            if (sep > 0) {
                const QString tail = s.mid(sep);
                QString head = s.left(sep);
                while (!head.isEmpty() && Width(head + dots + tail) > width)
                    head.chop(1);
                if (!head.isEmpty() || Width(dots + tail) <= width)
                    return head + dots + tail;
                return dots + tail;
            }
        }
        QString head = s;
        if (mode & DT_WORD_ELLIPSIS) {
            while (!head.isEmpty() && Width(head + dots) > width) {
                const int sp = static_cast<int>(head.lastIndexOf(QLatin1Char(' ')));
                if (sp <= 0) {
                    head.chop(1);
                } else {
                    head = head.left(sp);
                }
            }
            return head + dots;
        }
        while (!head.isEmpty() && Width(head + dots) > width)
            head.chop(1);
        return head + dots;
    }

    // Draws one line at (x, y), tab by tab when tabs are expanded.
    void DrawLine(int x, int y, const Line &line, unsigned options, const TRect *clip, bool prefixOnly) const
    {
        auto draw = [&](int px, const QString &t, int prefix) {
            if (prefixOnly) {
                // Only the underline: draw it with a transparent, blank text.
                if (prefix >= 0 && prefix < t.size()) {
                    const int x0 = FMetrics.horizontalAdvance(t.left(prefix));
                    const int x1 = FMetrics.horizontalAdvance(t.left(prefix + 1));
                    const int uy = y + FMetrics.ascent() + std::max(1, FMetrics.underlinePos());
                    if (QPainter *p = FDC->Painter()) {
                        p->save();
                        p->fillRect(QRect(px + x0, uy, std::max(1, x1 - x0), 1),
                                    QColor(GetRValue(FDC->GetTextColor()), GetGValue(FDC->GetTextColor()),
                                           GetBValue(FDC->GetTextColor())));
                        p->restore();
                    }
                }
                return;
            }
            FDC->ExtTextOut(px, y, options, clip, t, prefix);
        };
        if (!ExpandTabs() || !line.Text.contains(QLatin1Char('\t'))) {
            draw(x, line.Text, line.Prefix);
            return;
        }
        int cx = 0;
        int offset = 0;
        const QStringList parts = line.Text.split(QLatin1Char('\t'));
        for (int i = 0; i < parts.size(); ++i) {
            if (i > 0)
                cx = (cx / TabWidth() + 1) * TabWidth();
            const int p = line.Prefix >= offset && line.Prefix < offset + parts[i].size() ? line.Prefix - offset : -1;
            if (!parts[i].isEmpty())
                draw(x + cx, parts[i], p);
            cx += FMetrics.horizontalAdvance(parts[i]);
            offset += static_cast<int>(parts[i].size()) + 1;
        }
    }

private:
    TCanvas *FDC;
    unsigned FFormat;
    QFontMetrics FMetrics;
    int FTabLength = 8;
    mutable int FTabWidth = 0;
};

int DoDrawText(HDC DC, UnicodeString &Text, int Count, TRect *Rect, unsigned Format, DRAWTEXTPARAMS *Params)
{
    if (!DC || !Rect)
        return 0;
    QString text = Count < 0 ? Text : Text.left(Count);
    const int leftMargin = Params ? Params->iLeftMargin : 0;
    const int rightMargin = Params ? Params->iRightMargin : 0;
    TextLayout layout(DC, Format, Params ? Params->iTabLength : 0);
    if (Params)
        Params->uiLengthDrawn = static_cast<unsigned>(text.size());

    const bool singleLine = Format & DT_SINGLELINE;
    const bool wordBreak = (Format & DT_WORDBREAK) && !singleLine;
    const bool noPrefix = Format & DT_NOPREFIX;
    const int left = Rect->Left + leftMargin;
    const int right = Rect->Right - rightMargin;
    const int avail = right - left;

    // Paragraphs: a single line ignores line breaks; otherwise CR LF, CR and LF break.
    std::vector<Line> lines;
    auto addParagraph = [&](const QString &para) {
        int prefix = -1;
        const QString plain = noPrefix ? para : GraphicsImpl::StripAccelerator(para, prefix);
        if (wordBreak)
            layout.Wrap(plain, prefix, avail, lines);
        else
            lines.push_back({plain, prefix});
    };
    if (singleLine) {
        QString s = text;
        s.remove(QLatin1Char('\r'));
        s.remove(QLatin1Char('\n'));
        addParagraph(s);
    } else {
        QString s = text;
        s.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        const QStringList paras = s.split(QLatin1Char('\n'));
        for (const QString &para : paras)
            addParagraph(para);
    }

    const unsigned ellipsis = Format & (DT_END_ELLIPSIS | DT_PATH_ELLIPSIS | DT_WORD_ELLIPSIS);
    bool cutShort = false;
    if ((Format & DT_END_ELLIPSIS) && wordBreak && (Format & DT_EDITCONTROL) && !(Format & DT_CALCRECT)) {
        // An edit control shows only whole lines; when text remains below the last of them,
        // that line ends in an ellipsis.
        const int height = std::abs(Rect->Bottom - Rect->Top);
        const std::size_t visible = static_cast<std::size_t>(std::max(1, height / std::max(1, layout.LineHeight())));
        if (lines.size() > visible) {
            lines.resize(visible);
            Line &last = lines.back();
            QString head = last.Text;
            const QString dots = QStringLiteral("...");
            while (!head.isEmpty() && layout.Width(head + dots) > avail)
                head.chop(1);
            if (last.Prefix >= head.size())
                last.Prefix = -1;
            last.Text = head + dots;
            cutShort = true;
        }
    }
    if (ellipsis) {
        bool changed = cutShort;
        for (Line &l : lines) {
            const QString shorter = layout.Ellipsize(l.Text, avail, ellipsis);
            if (shorter != l.Text) {
                changed = true;
                if (l.Prefix >= shorter.size() - 3)
                    l.Prefix = -1;
                l.Text = shorter;
            }
        }
        if (changed && (Format & DT_MODIFYSTRING)) {
            QStringList parts;
            for (const Line &l : lines)
                parts << l.Text;
            Text = parts.join(QLatin1String("\r\n"));
        }
    }

    const int lineHeight = layout.LineHeight();
    const int totalHeight = lineHeight * static_cast<int>(lines.size());
    // In the metric mapping modes y grows upwards: lines then go towards smaller y, and the
    // rectangle's top is its larger y.
    TPoint axis[2] = {{0, 0}, {0, 1000}};
    DC->LPtoDP(axis, 2);
    const int down = axis[1].Y < axis[0].Y ? -1 : 1;
    const int rectHeight = (Rect->Bottom - Rect->Top) * down;

    if (Format & DT_CALCRECT) {
        // Measuring shapes the text; only the calculation and the aligned lines need it.
        int maxWidth = 0;
        for (const Line &l : lines)
            maxWidth = std::max(maxWidth, layout.Width(l.Text));
        if (!wordBreak || lines.size() <= 1)
            Rect->Right = Rect->Left + maxWidth + leftMargin + rightMargin;
        else
            Rect->Right = std::max(Rect->Right, Rect->Left + maxWidth + leftMargin + rightMargin);
        Rect->Bottom = Rect->Top + down * totalHeight;
        return totalHeight;
    }

    int offset = 0; // from the top, in the direction of the lines
    if (singleLine) {
        if (Format & DT_VCENTER)
            offset = (rectHeight - lineHeight) / 2;
        else if (Format & DT_BOTTOM)
            offset = rectHeight - lineHeight;
    }
    const unsigned options = ((Format & DT_NOCLIP) ? 0u : ETO_CLIPPED) | ((Format & DT_RTLREADING) ? ETO_RTLREADING : 0u);
    const bool prefixOnly = Format & DT_PREFIXONLY;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int lineOffset = offset + static_cast<int>(i) * lineHeight;
        // An edit control does not show a partly visible last line.
        if ((Format & DT_EDITCONTROL) && i > 0 && lineOffset + lineHeight > rectHeight)
            break;
        Line l = lines[i];
        if (Format & DT_HIDEPREFIX)
            l.Prefix = -1;
        int x = left;
        if (Format & DT_CENTER)
            x = left + (avail - layout.Width(l.Text)) / 2;
        else if (Format & DT_RIGHT)
            x = right - layout.Width(l.Text);
        layout.DrawLine(x, Rect->Top + down * lineOffset, l, options, Rect, prefixOnly);
    }
    if (singleLine && (Format & (DT_VCENTER | DT_BOTTOM)))
        return offset + lineHeight;
    return totalHeight;
}

// --- objects ----------------------------------------------------------------------------------------

// Kept for the whole run (never destroyed), so that objects freed during static destruction
// still find them.
std::mutex &ObjectsLock()
{
    static auto *m = new std::mutex;
    return *m;
}

std::set<void *> &CreatedObjects()
{
    static auto *s = new std::set<void *>;
    return *s;
}

void Register(void *o)
{
    std::lock_guard<std::mutex> g(ObjectsLock());
    CreatedObjects().insert(o);
}

bool Unregister(void *o)
{
    std::lock_guard<std::mutex> g(ObjectsLock());
    return CreatedObjects().erase(o) > 0;
}

} // namespace

int DrawText(HDC DC, const UnicodeString &Text, int Count, TRect *Rect, unsigned Format)
{
    UnicodeString copy = Text;
    return DoDrawText(DC, copy, Count, Rect, Format, nullptr);
}

int DrawTextEx(HDC DC, UnicodeString &Text, int Count, TRect *Rect, unsigned Format, DRAWTEXTPARAMS *Params)
{
    return DoDrawText(DC, Text, Count, Rect, Format, Params);
}

bool GetTextMetrics(HDC DC, TEXTMETRIC &TM)
{
    if (!DC)
        return false;
    const QFont f = DC->Font()->QtFont();
    const QFontMetrics fm(f);
    TM = TEXTMETRIC();
    TM.tmAscent = fm.ascent();
    TM.tmDescent = fm.descent();
    TM.tmHeight = fm.height();
    TM.tmInternalLeading = std::max(0, TM.tmHeight - f.pixelSize());
    TM.tmExternalLeading = std::max(0, fm.leading());
    TM.tmAveCharWidth = TextLayout::AverageCharWidth(fm);
    TM.tmMaxCharWidth = fm.maxWidth();
    TM.tmWeight = f.bold() ? FW_BOLD : FW_NORMAL;
    TM.tmItalic = f.italic() ? 1 : 0;
    TM.tmUnderlined = f.underline() ? 1 : 0;
    TM.tmStruckOut = f.strikeOut() ? 1 : 0;
    TM.tmCharSet = DC->Font()->Charset();
    // Low bit set means variable pitch, as the classic metrics (oddly) say.
    TM.tmPitchAndFamily = fm.horizontalAdvance(QLatin1Char('i')) == fm.horizontalAdvance(QLatin1Char('W')) ? 0 : 1;
    return true;
}

bool GetTextExtentPoint32(HDC DC, const UnicodeString &Text, int Count, TSize &Size)
{
    if (!DC)
        return false;
    Size = DC->TextExtent(Count < 0 ? Text : Text.left(Count));
    return true;
}

bool GetTextExtentExPoint(HDC DC, const UnicodeString &Text, int Count, int MaxExtent, int *Fit, int *Dx, TSize &Size)
{
    if (!DC)
        return false;
    const QString s = Count < 0 ? Text : Text.left(Count);
    const QFontMetrics fm(DC->Font()->QtFont());
    int fit = 0;
    for (int i = 0; i < s.size(); ++i) {
        const int w = fm.horizontalAdvance(s.left(i + 1));
        if (Dx)
            Dx[i] = w;
        if (w <= MaxExtent && fit == i)
            fit = i + 1;
    }
    if (Fit)
        *Fit = fit;
    Size = {fm.horizontalAdvance(s), fm.height()};
    return true;
}

bool TextOut(HDC DC, int X, int Y, const UnicodeString &Text, int Count)
{
    if (!DC)
        return false;
    DC->ExtTextOut(X, Y, 0, nullptr, Count < 0 ? Text : Text.left(Count));
    return true;
}

bool ExtTextOut(HDC DC, int X, int Y, unsigned Options, const TRect *Rect, const UnicodeString &Text, int Count)
{
    if (!DC)
        return false;
    DC->ExtTextOut(X, Y, Options, Rect, Count < 0 ? Text : Text.left(Count));
    return true;
}

// --- edges ------------------------------------------------------------------------------------------

namespace {

void FillSolid(HDC DC, const TRect &R, TColorRef c)
{
    if (R.IsEmpty())
        return;
    TBrush *b = DC->Brush();
    const TColor oldColor = b->Color();
    const TBrushStyle oldStyle = b->Style();
    b->SetColor(static_cast<TColor>(c));
    b->SetStyle(TBrushStyle::bsSolid);
    DC->FillRect(R);
    b->SetColor(oldColor);
    b->SetStyle(oldStyle);
}

// One ring of an edge: the left and top sides in tl, the right and bottom sides in br.
void DrawRing(HDC DC, const TRect &r, unsigned sides, TColorRef tl, TColorRef br)
{
    if (sides & BF_LEFT)
        FillSolid(DC, Rect(r.Left, r.Top, r.Left + 1, r.Bottom), tl);
    if (sides & BF_TOP)
        FillSolid(DC, Rect(r.Left, r.Top, r.Right, r.Top + 1), tl);
    if (sides & BF_RIGHT)
        FillSolid(DC, Rect(r.Right - 1, r.Top, r.Right, r.Bottom), br);
    if (sides & BF_BOTTOM)
        FillSolid(DC, Rect(r.Left, r.Bottom - 1, r.Right, r.Bottom), br);
}

} // namespace

bool DrawEdge(HDC DC, TRect &Rect, unsigned Edge, unsigned Flags)
{
    if (!DC)
        return false;
    TRect r = Rect;
    const unsigned sides = Flags & BF_RECT;
    const unsigned outer = Edge & BDR_OUTER;
    const unsigned inner = Edge & BDR_INNER;
    const bool soft = Flags & BF_SOFT;
    TColorRef otl = 0, obr = 0, itl = 0, ibr = 0;
    if (Flags & BF_MONO) {
        otl = obr = GetSysColor(COLOR_WINDOWFRAME);
        itl = ibr = GetSysColor(COLOR_WINDOW);
    } else if (Flags & BF_FLAT) {
        otl = obr = GetSysColor(COLOR_BTNSHADOW);
        itl = ibr = GetSysColor(COLOR_BTNFACE);
    } else {
        if (outer & BDR_RAISEDOUTER) {
            otl = GetSysColor(soft ? COLOR_BTNHIGHLIGHT : COLOR_3DLIGHT);
            obr = GetSysColor(COLOR_3DDKSHADOW);
        } else if (outer & BDR_SUNKENOUTER) {
            otl = GetSysColor(soft ? COLOR_3DDKSHADOW : COLOR_BTNSHADOW);
            obr = GetSysColor(COLOR_BTNHIGHLIGHT);
        }
        if (inner & BDR_RAISEDINNER) {
            itl = GetSysColor(soft ? COLOR_3DLIGHT : COLOR_BTNHIGHLIGHT);
            ibr = GetSysColor(COLOR_BTNSHADOW);
        } else if (inner & BDR_SUNKENINNER) {
            itl = GetSysColor(soft ? COLOR_BTNSHADOW : COLOR_3DDKSHADOW);
            ibr = GetSysColor(COLOR_3DLIGHT);
        }
    }
    auto shrink = [&](TRect &x) {
        if (sides & BF_LEFT)
            ++x.Left;
        if (sides & BF_TOP)
            ++x.Top;
        if (sides & BF_RIGHT)
            --x.Right;
        if (sides & BF_BOTTOM)
            --x.Bottom;
    };
    const bool flatOrMono = Flags & (BF_FLAT | BF_MONO);
    if (outer || flatOrMono) {
        if (outer || flatOrMono)
            DrawRing(DC, r, sides, otl, obr);
        shrink(r);
    }
    if (inner && !(Flags & BF_MONO)) {
        DrawRing(DC, r, sides, itl, ibr);
        shrink(r);
    }
    if (Flags & BF_MIDDLE)
        FillSolid(DC, r, GetSysColor((Flags & BF_MONO) ? COLOR_WINDOW : COLOR_BTNFACE));
    if (Flags & BF_ADJUST)
        Rect = r;
    return true;
}

// --- frame controls ---------------------------------------------------------------------------------

namespace {

void DrawArrow(HDC DC, const TRect &r, unsigned dir, TColorRef c)
{
    // A solid triangle as the classic scroll arrows have: about a third of the smaller side.
    const int size = std::max(2, std::min(r.Width(), r.Height()) / 3);
    const int cx = r.Left + r.Width() / 2, cy = r.Top + r.Height() / 2;
    for (int i = 0; i < size; ++i) {
        int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
        const int half = size - 1 - i;
        switch (dir) {
        case DFCS_SCROLLUP: x1 = cx - i; x2 = cx + i + 1; y1 = cy - size / 2 + i; y2 = y1 + 1; break;
        case DFCS_SCROLLLEFT: y1 = cy - i; y2 = cy + i + 1; x1 = cx - size / 2 + i; x2 = x1 + 1; break;
        case DFCS_SCROLLRIGHT: y1 = cy - half; y2 = cy + half + 1; x1 = cx - size / 2 + i; x2 = x1 + 1; break;
        default: x1 = cx - half; x2 = cx + half + 1; y1 = cy - size / 2 + i; y2 = y1 + 1; break;
        }
        FillSolid(DC, Rect(x1, y1, x2, y2), c);
    }
}

void DrawButtonFace(HDC DC, TRect &r, unsigned state)
{
    if (state & DFCS_FLAT) {
        FillSolid(DC, r, GetSysColor(COLOR_BTNSHADOW));
        FillSolid(DC, Rect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1), GetSysColor(COLOR_BTNFACE));
        return;
    }
    if (state & (DFCS_PUSHED | DFCS_CHECKED)) {
        if (state & DFCS_PUSHED) {
            FillSolid(DC, r, GetSysColor(COLOR_BTNSHADOW));
            FillSolid(DC, Rect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1), GetSysColor(COLOR_BTNFACE));
        } else {
            TRect e = r;
            DrawEdge(DC, e, EDGE_SUNKEN, BF_RECT | BF_MIDDLE);
        }
        return;
    }
    TRect e = r;
    DrawEdge(DC, e, EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_SOFT);
}

void DrawCheck(HDC DC, const TRect &box, TColorRef c)
{
    // The classic tick: 7 columns, 3 pixels high each, falling then rising.
    const int x0 = box.Left + (box.Width() - 7) / 2;
    const int y0 = box.Top + (box.Height() - 7) / 2;
    static const int drop[7] = {2, 3, 4, 3, 2, 1, 0};
    for (int i = 0; i < 7; ++i)
        FillSolid(DC, Rect(x0 + i, y0 + drop[i], x0 + i + 1, y0 + drop[i] + 3), c);
}

} // namespace

bool DrawFrameControl(HDC DC, TRect &Rect, unsigned Type, unsigned State)
{
    if (!DC)
        return false;
    TRect r = Rect;
    const bool inactive = State & DFCS_INACTIVE;
    switch (Type) {
    case DFC_BUTTON: {
        const unsigned kind = State & 0xFF;
        if (kind & DFCS_BUTTONPUSH) {
            DrawButtonFace(DC, r, State);
            if (State & DFCS_ADJUSTRECT)
                Rect = ::Rect(r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom - 2);
            return true;
        }
        // Check boxes and radio buttons: a square of the smaller side, centred.
        const int size = std::min(r.Width(), r.Height());
        TRect box = Bounds(r.Left + (r.Width() - size) / 2, r.Top + (r.Height() - size) / 2, size, size);
        const TColorRef face = GetSysColor((inactive || (State & DFCS_PUSHED)) ? COLOR_BTNFACE : COLOR_WINDOW);
        const TColorRef mark = GetSysColor(inactive ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT);
        if (kind & (DFCS_BUTTONRADIO | DFCS_BUTTONRADIOIMAGE | DFCS_BUTTONRADIOMASK)) {
            TPen *pen = DC->Pen();
            TBrush *brush = DC->Brush();
            const TColor oldPen = pen->Color();
            const TColor oldBrush = brush->Color();
            const TBrushStyle oldStyle = brush->Style();
            if (State & (DFCS_FLAT | DFCS_MONO)) {
                pen->SetColor(static_cast<TColor>(GetSysColor(COLOR_BTNSHADOW)));
            } else {
                pen->SetColor(static_cast<TColor>(GetSysColor(COLOR_BTNSHADOW)));
            }
            brush->SetColor(static_cast<TColor>(face));
            DC->Ellipse(box);
            if (!(State & (DFCS_FLAT | DFCS_MONO))) {
                pen->SetColor(static_cast<TColor>(GetSysColor(COLOR_3DDKSHADOW)));
                brush->SetStyle(TBrushStyle::bsClear);
                DC->Arc(box.Left + 1, box.Top + 1, box.Right - 1, box.Bottom - 1, box.Right, box.Top, box.Left,
                        box.Bottom);
            }
            if (State & DFCS_CHECKED) {
                const int d = std::max(2, size / 3);
                const TRect dot = Bounds(box.Left + (size - d) / 2, box.Top + (size - d) / 2, d, d);
                pen->SetColor(static_cast<TColor>(mark));
                brush->SetColor(static_cast<TColor>(mark));
                DC->Ellipse(dot);
            }
            pen->SetColor(oldPen);
            brush->SetColor(oldBrush);
            brush->SetStyle(oldStyle);
            return true;
        }
        if (State & (DFCS_FLAT | DFCS_MONO)) {
            FillSolid(DC, box, GetSysColor((State & DFCS_MONO) ? COLOR_WINDOWFRAME : COLOR_BTNSHADOW));
            FillSolid(DC, ::Rect(box.Left + 1, box.Top + 1, box.Right - 1, box.Bottom - 1), face);
        } else {
            TRect e = box;
            DrawEdge(DC, e, EDGE_SUNKEN, BF_RECT);
            FillSolid(DC, e, face);
        }
        if (State & DFCS_CHECKED) {
            // A three-state box shows its check in grey.
            const TColorRef c = (kind & DFCS_BUTTON3STATE) ? GetSysColor(COLOR_BTNSHADOW) : mark;
            DrawCheck(DC, box, c);
        }
        return true;
    }
    case DFC_SCROLL: {
        const unsigned part = State & 0xFF;
        if (part == DFCS_SCROLLSIZEGRIP || part == DFCS_SCROLLSIZEGRIPRIGHT) {
            FillSolid(DC, r, GetSysColor(COLOR_BTNFACE));
            return true;
        }
        DrawButtonFace(DC, r, State);
        TRect a = r;
        if (State & DFCS_PUSHED)
            OffsetRect(a, 1, 1);
        const unsigned dir = part == DFCS_SCROLLCOMBOBOX ? DFCS_SCROLLDOWN : part;
        if (inactive) {
            TRect s = a;
            OffsetRect(s, 1, 1);
            DrawArrow(DC, s, dir, GetSysColor(COLOR_BTNHIGHLIGHT));
            DrawArrow(DC, a, dir, GetSysColor(COLOR_BTNSHADOW));
        } else {
            DrawArrow(DC, a, dir, GetSysColor(COLOR_BTNTEXT));
        }
        return true;
    }
    case DFC_CAPTION:
    case DFC_MENU:
    case DFC_POPUPMENU: {
        if (Type == DFC_CAPTION)
            DrawButtonFace(DC, r, State);
        const TColorRef c = GetSysColor(inactive ? COLOR_GRAYTEXT : COLOR_BTNTEXT);
        const unsigned part = State & 0xFF;
        TRect inner = ::Rect(r.Left + r.Width() / 4, r.Top + r.Height() / 4, r.Right - r.Width() / 4,
                             r.Bottom - r.Height() / 4);
        if (Type == DFC_CAPTION && part == DFCS_CAPTIONCLOSE) {
            for (int i = 0; i < inner.Width() && i < inner.Height(); ++i) {
                FillSolid(DC, Bounds(inner.Left + i, inner.Top + i, 1, 1), c);
                FillSolid(DC, Bounds(inner.Right - 1 - i, inner.Top + i, 1, 1), c);
            }
        } else if (Type != DFC_CAPTION && part == DFCS_MENUCHECK) {
            DrawCheck(DC, r, c);
        } else if (Type != DFC_CAPTION && part == DFCS_MENUBULLET) {
            FillSolid(DC, ::Rect(inner.Left + inner.Width() / 3, inner.Top + inner.Height() / 3,
                                 inner.Right - inner.Width() / 3, inner.Bottom - inner.Height() / 3),
                      c);
        } else if (Type != DFC_CAPTION && part == DFCS_MENUARROW) {
            DrawArrow(DC, r, DFCS_SCROLLRIGHT, c);
        } else {
            FillSolid(DC, ::Rect(inner.Left, inner.Bottom - 2, inner.Right, inner.Bottom), c);
        }
        return true;
    }
    default:
        return false;
    }
}

bool DrawFocusRect(HDC DC, const TRect &Rect)
{
    if (!DC)
        return false;
    DC->DrawFocusRect(Rect);
    return true;
}

// --- blits ----------------------------------------------------------------------------------------

bool StretchBlt(HDC Dest, int X, int Y, int Width, int Height, HDC Src, int XSrc, int YSrc, int WidthSrc,
                int HeightSrc, DWORD Rop)
{
    if (!Dest)
        return false;
    const TCopyMode old = Dest->CopyMode();
    Dest->SetCopyMode(static_cast<TCopyMode>(Rop));
    if (Src) {
        Dest->CopyRect(Bounds(X, Y, Width, Height), Src, Bounds(XSrc, YSrc, WidthSrc, HeightSrc));
    } else {
        // Operations without a source: a blank source image stands in for it.
        QImage blank(std::max(std::abs(Width), 1), std::max(std::abs(Height), 1), QImage::Format_RGB32);
        blank.fill(Qt::black);
        Dest->BlitImage(Bounds(X, Y, Width, Height), blank, Rop);
    }
    Dest->SetCopyMode(old);
    return true;
}

bool BitBlt(HDC Dest, int X, int Y, int Width, int Height, HDC Src, int XSrc, int YSrc, DWORD Rop)
{
    return StretchBlt(Dest, X, Y, Width, Height, Src, XSrc, YSrc, Width, Height, Rop);
}

bool PatBlt(HDC DC, int X, int Y, int Width, int Height, DWORD Rop)
{
    return StretchBlt(DC, X, Y, Width, Height, nullptr, 0, 0, 0, 0, Rop);
}

namespace {

class TMemoryDC : public TCanvas {
public:
    ~TMemoryDC() override { ReleaseOwnPainter(); }
    HBITMAP Select(HBITMAP Bitmap)
    {
        ReleaseOwnPainter();
        HBITMAP old = FBitmap;
        FBitmap = Bitmap;
        return old;
    }
    HBITMAP Selected() const { return FBitmap; }

protected:
    QPainter *CreatePainter() override
    {
        if (!FBitmap || FBitmap->Empty())
            return nullptr;
        // Image() makes the bitmap's own canvas let go of its pixels.
        QImage &img = FBitmap->Image();
        return img.paintingActive() ? nullptr : new QPainter(&img);
    }
    QImage *RasterImage() override
    {
        if (!FBitmap)
            return nullptr;
        if (QPainter *p = Painter())
            return static_cast<QImage *>(p->device());
        return nullptr;
    }

private:
    HBITMAP FBitmap = nullptr;
};

std::set<TMemoryDC *> &MemoryDCs()
{
    static auto *s = new std::set<TMemoryDC *>;
    return *s;
}

} // namespace

QString GraphicsImpl::StripAccelerator(const QString &s, int &prefix)
{
    QString out;
    out.reserve(s.size());
    prefix = -1;
    for (int i = 0; i < s.size(); ++i) {
        if (s[i] == QLatin1Char('&')) {
            if (i + 1 < s.size() && s[i + 1] == QLatin1Char('&')) {
                out += QLatin1Char('&');
                ++i;
                continue;
            }
            if (i + 1 < s.size()) {
                prefix = static_cast<int>(out.size());
                continue;
            }
            continue; // a trailing single ampersand is dropped
        }
        out += s[i];
    }
    return out;
}

int GraphicsImpl::RegionKind(const QRegion &r)
{
    if (r.isEmpty())
        return NULLREGION;
    return r.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

void GraphicsImpl::ForgetSelectedBitmap(TBitmap *Bitmap)
{
    std::vector<TMemoryDC *> holders;
    {
        std::lock_guard<std::mutex> g(ObjectsLock());
        for (TMemoryDC *dc : MemoryDCs())
            if (dc->Selected() == Bitmap)
                holders.push_back(dc);
    }
    for (TMemoryDC *dc : holders)
        dc->Select(nullptr);
}

HDC CreateCompatibleDC(HDC)
{
    auto *dc = new TMemoryDC();
    std::lock_guard<std::mutex> g(ObjectsLock());
    MemoryDCs().insert(dc);
    return dc;
}

bool DeleteDC(HDC DC)
{
    auto *dc = dynamic_cast<TMemoryDC *>(DC);
    {
        std::lock_guard<std::mutex> g(ObjectsLock());
        if (!dc || MemoryDCs().erase(dc) == 0)
            return false;
    }
    delete dc;
    return true;
}

HBITMAP CreateCompatibleBitmap(HDC, int Width, int Height)
{
    auto *b = new TBitmap(std::max(Width, 0), std::max(Height, 0));
    Register(b);
    return b;
}

HBITMAP SelectObject(HDC DC, HBITMAP Bitmap)
{
    auto *dc = dynamic_cast<TMemoryDC *>(DC);
    if (!dc)
        return nullptr;
    return dc->Select(Bitmap);
}

bool DeleteObject(HBITMAP Bitmap)
{
    if (!Bitmap || !Unregister(Bitmap))
        return false;
    delete Bitmap; // the destructor takes it out of any device context
    return true;
}

bool InvertRect(HDC DC, const TRect &Rect)
{
    return PatBlt(DC, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), DSTINVERT);
}

// --- brushes ----------------------------------------------------------------------------------------

HBRUSH CreateSolidBrush(TColorRef Color)
{
    auto *b = new TBrush();
    b->SetColor(static_cast<TColor>(Color & 0x00FFFFFFu));
    Register(b);
    return b;
}

HBRUSH GetSysColorBrush(int Index)
{
    static std::array<TBrush, 31> brushes;
    static std::once_flag once;
    std::call_once(once, [] {
        for (int i = 0; i < 31; ++i)
            brushes[static_cast<std::size_t>(i)].SetColor(static_cast<TColor>(GetSysColor(i)));
    });
    if (Index < 0 || Index >= 31)
        return nullptr;
    return &brushes[static_cast<std::size_t>(Index)];
}

bool FillRect(HDC DC, const TRect &Rect, HBRUSH Brush)
{
    if (!DC || !Brush)
        return false;
    TBrush saved;
    saved.Assign(DC->Brush());
    DC->Brush()->Assign(Brush);
    DC->FillRect(Rect);
    DC->Brush()->Assign(&saved);
    return true;
}

bool FrameRect(HDC DC, const TRect &Rect, HBRUSH Brush)
{
    if (!DC || !Brush)
        return false;
    TBrush saved;
    saved.Assign(DC->Brush());
    DC->Brush()->Assign(Brush);
    DC->FrameRect(Rect);
    DC->Brush()->Assign(&saved);
    return true;
}

bool DeleteObject(HBRUSH Brush)
{
    if (!Brush || !Unregister(Brush))
        return false;
    delete Brush;
    return true;
}

// --- fonts ------------------------------------------------------------------------------------------

int GetObject(HFONT Font, LOGFONT &LF)
{
    if (!Font)
        return 0;
    LF = LOGFONT();
    LF.lfHeight = Font->Height();
    LF.lfEscapement = Font->Orientation();
    LF.lfOrientation = Font->Orientation();
    const TFontStyles s = Font->Style();
    LF.lfWeight = s.Contains(TFontStyle::fsBold) ? FW_BOLD : FW_NORMAL;
    LF.lfItalic = s.Contains(TFontStyle::fsItalic) ? 1 : 0;
    LF.lfUnderline = s.Contains(TFontStyle::fsUnderline) ? 1 : 0;
    LF.lfStrikeOut = s.Contains(TFontStyle::fsStrikeOut) ? 1 : 0;
    LF.lfCharSet = Font->Charset();
    LF.lfPitchAndFamily = Font->Pitch() == TFontPitch::fpFixed ? 1 : Font->Pitch() == TFontPitch::fpVariable ? 2 : 0;
    LF.lfFaceName = Font->Name();
    return static_cast<int>(sizeof(LOGFONT));
}

HFONT CreateFontIndirect(const LOGFONT &LF)
{
    auto *f = new TFont();
    if (!LF.lfFaceName.isEmpty())
        f->SetName(LF.lfFaceName.left(LF_FACESIZE - 1));
    f->SetHeight(LF.lfHeight == 0 ? -11 : LF.lfHeight);
    f->SetOrientation(LF.lfEscapement);
    TFontStyles s;
    if (LF.lfWeight >= 600)
        s << TFontStyle::fsBold;
    if (LF.lfItalic)
        s << TFontStyle::fsItalic;
    if (LF.lfUnderline)
        s << TFontStyle::fsUnderline;
    if (LF.lfStrikeOut)
        s << TFontStyle::fsStrikeOut;
    f->SetStyle(s);
    f->SetCharset(LF.lfCharSet);
    f->SetPitch((LF.lfPitchAndFamily & 3) == 1 ? TFontPitch::fpFixed
                : (LF.lfPitchAndFamily & 3) == 2 ? TFontPitch::fpVariable
                                                 : TFontPitch::fpDefault);
    Register(f);
    return f;
}

HFONT SelectObject(HDC DC, HFONT Font)
{
    if (!DC || !Font)
        return nullptr;
    auto &kept = DC->DC().SelectedFonts;
    auto old = std::make_unique<TFont>();
    old->Assign(DC->Font());
    const TColor color = DC->Font()->Color();
    DC->Font()->Assign(Font);
    // The text colour belongs to the device context, not to the font.
    DC->Font()->SetColor(color);
    HFONT result = old.get();
    kept.push_back(std::move(old));
    // Only the most recent few previous fonts are worth keeping.
    if (kept.size() > 16)
        kept.erase(kept.begin());
    return result;
}

bool DeleteObject(HFONT Font)
{
    if (!Font || !Unregister(Font))
        return false;
    delete Font;
    return true;
}

// --- regions ----------------------------------------------------------------------------------------

HRGN CreateRectRgn(int Left, int Top, int Right, int Bottom)
{
    auto *r = new TRegionData{QRegion(ToQRect(Left, Top, Right, Bottom))};
    Register(r);
    return r;
}

HRGN CreateRectRgnIndirect(const TRect &R)
{
    return CreateRectRgn(R.Left, R.Top, R.Right, R.Bottom);
}

HRGN CreateEllipticRgn(int Left, int Top, int Right, int Bottom)
{
    auto *r = new TRegionData{QRegion(ToQRect(Left, Top, Right, Bottom), QRegion::Ellipse)};
    Register(r);
    return r;
}

HRGN CreateEllipticRgnIndirect(const TRect &R)
{
    return CreateEllipticRgn(R.Left, R.Top, R.Right, R.Bottom);
}

HRGN CreateRoundRectRgn(int Left, int Top, int Right, int Bottom, int WidthEllipse, int HeightEllipse)
{
    const QRect rect = ToQRect(Left, Top, Right, Bottom);
    QPainterPath path;
    path.addRoundedRect(QRectF(rect), std::abs(WidthEllipse) / 2.0, std::abs(HeightEllipse) / 2.0);
    auto *r = new TRegionData{QRegion(path.toFillPolygon().toPolygon(), Qt::WindingFill).intersected(rect)};
    Register(r);
    return r;
}

HRGN CreatePolygonRgn(const TPoint *Points, int Count, int FillMode)
{
    QPolygon poly;
    for (int i = 0; Points && i < Count; ++i)
        poly << QPoint(Points[i].X, Points[i].Y);
    auto *r = new TRegionData{QRegion(poly, FillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill)};
    Register(r);
    return r;
}

int CombineRgn(HRGN Dest, HRGN Src1, HRGN Src2, int Mode)
{
    if (!Dest || !Src1 || (Mode != RGN_COPY && !Src2))
        return RGN_ERROR;
    QRegion r;
    switch (Mode) {
    case RGN_AND: r = Src1->Region.intersected(Src2->Region); break;
    case RGN_OR: r = Src1->Region.united(Src2->Region); break;
    case RGN_XOR: r = Src1->Region.xored(Src2->Region); break;
    case RGN_DIFF: r = Src1->Region.subtracted(Src2->Region); break;
    case RGN_COPY: r = Src1->Region; break;
    default: return RGN_ERROR;
    }
    Dest->Region = r;
    return GraphicsImpl::RegionKind(r);
}

int OffsetRgn(HRGN Rgn, int X, int Y)
{
    if (!Rgn)
        return RGN_ERROR;
    Rgn->Region.translate(X, Y);
    return GraphicsImpl::RegionKind(Rgn->Region);
}

bool PtInRegion(HRGN Rgn, int X, int Y)
{
    return Rgn && Rgn->Region.contains(QPoint(X, Y));
}

bool RectInRegion(HRGN Rgn, const TRect &R)
{
    return Rgn && Rgn->Region.intersects(ToQRect(R.Left, R.Top, R.Right, R.Bottom));
}

bool EqualRgn(HRGN A, HRGN B)
{
    return A && B && A->Region == B->Region;
}

int GetRgnBox(HRGN Rgn, TRect &R)
{
    if (!Rgn)
        return RGN_ERROR;
    const QRect b = Rgn->Region.boundingRect();
    R = b.isEmpty() ? TRect() : TRect(b.left(), b.top(), b.right() + 1, b.bottom() + 1);
    return GraphicsImpl::RegionKind(Rgn->Region);
}

bool DeleteObject(HRGN Rgn)
{
    if (!Rgn || !Unregister(Rgn))
        return false;
    delete Rgn;
    return true;
}

bool FillRgn(HDC DC, HRGN Rgn, HBRUSH Brush)
{
    if (!DC || !Rgn || !Brush)
        return false;
    const int level = DC->SaveDC();
    DC->SelectClipRgn(Rgn);
    const QRect b = Rgn->Region.boundingRect();
    TPoint pts[2] = {{b.left(), b.top()}, {b.right() + 1, b.bottom() + 1}};
    DC->DPtoLP(pts, 2);
    FillRect(DC, Rect(pts[0].X, pts[0].Y, pts[1].X, pts[1].Y), Brush);
    DC->RestoreDC(level);
    return true;
}

// --- device-context state ---------------------------------------------------------------------------

int SelectClipRgn(HDC DC, HRGN Rgn) { return DC ? DC->SelectClipRgn(Rgn) : RGN_ERROR; }

int ExtSelectClipRgn(HDC DC, HRGN Rgn, int Mode)
{
    if (!DC)
        return RGN_ERROR;
    if (Mode == RGN_COPY || !Rgn)
        return DC->SelectClipRgn(Rgn);
    TRegionData current;
    if (!DC->GetClipRgn(&current)) {
        const TSize s = DC->DeviceSize();
        current.Region = QRegion(0, 0, s.cx, s.cy);
    }
    TRegionData result;
    CombineRgn(&result, &current, Rgn, Mode);
    return DC->SelectClipRgn(&result);
}

int GetClipRgn(HDC DC, HRGN Rgn) { return DC ? DC->GetClipRgn(Rgn) : -1; }
int GetClipBox(HDC DC, TRect &R) { return DC ? DC->GetClipBox(R) : RGN_ERROR; }
int ExcludeClipRect(HDC DC, int Left, int Top, int Right, int Bottom)
{
    return DC ? DC->ExcludeClipRect(Left, Top, Right, Bottom) : RGN_ERROR;
}
int IntersectClipRect(HDC DC, int Left, int Top, int Right, int Bottom)
{
    return DC ? DC->IntersectClipRect(Left, Top, Right, Bottom) : RGN_ERROR;
}
int SaveDC(HDC DC) { return DC ? DC->SaveDC() : 0; }
bool RestoreDC(HDC DC, int SavedDC) { return DC && DC->RestoreDC(SavedDC); }
int SetBkMode(HDC DC, int Mode) { return DC ? DC->SetBkMode(Mode) : 0; }
int GetBkMode(HDC DC) { return DC ? DC->GetBkMode() : 0; }
TColorRef SetBkColor(HDC DC, TColorRef Color) { return DC ? DC->SetBkColor(Color) : 0xFFFFFFFFu; }
TColorRef GetBkColor(HDC DC) { return DC ? DC->GetBkColor() : 0xFFFFFFFFu; }
TColorRef SetTextColor(HDC DC, TColorRef Color) { return DC ? DC->SetTextColor(Color) : 0xFFFFFFFFu; }
TColorRef GetTextColor(HDC DC) { return DC ? DC->GetTextColor() : 0xFFFFFFFFu; }
int SetMapMode(HDC DC, int Mode) { return DC ? DC->SetMapMode(Mode) : 0; }
int GetMapMode(HDC DC) { return DC ? DC->GetMapMode() : 0; }
bool SetWindowExtEx(HDC DC, int X, int Y, TSize *Old) { return DC && DC->SetWindowExtEx(X, Y, Old); }
bool SetViewportExtEx(HDC DC, int X, int Y, TSize *Old) { return DC && DC->SetViewportExtEx(X, Y, Old); }
bool SetWindowOrgEx(HDC DC, int X, int Y, TPoint *Old) { return DC && DC->SetWindowOrgEx(X, Y, Old); }
bool SetViewportOrgEx(HDC DC, int X, int Y, TPoint *Old) { return DC && DC->SetViewportOrgEx(X, Y, Old); }
bool GetWindowExtEx(HDC DC, TSize &S) { return DC && DC->GetWindowExtEx(S); }
bool GetViewportExtEx(HDC DC, TSize &S) { return DC && DC->GetViewportExtEx(S); }
bool LPtoDP(HDC DC, TPoint *Points, int Count) { return DC && DC->LPtoDP(Points, Count); }
bool DPtoLP(HDC DC, TPoint *Points, int Count) { return DC && DC->DPtoLP(Points, Count); }

bool MoveToEx(HDC DC, int X, int Y, TPoint *Old)
{
    if (!DC)
        return false;
    if (Old)
        *Old = DC->PenPos();
    DC->MoveTo(X, Y);
    return true;
}

bool LineTo(HDC DC, int X, int Y)
{
    if (!DC)
        return false;
    DC->LineTo(X, Y);
    return true;
}

bool Rectangle(HDC DC, int Left, int Top, int Right, int Bottom)
{
    if (!DC)
        return false;
    DC->Rectangle(Left, Top, Right, Bottom);
    return true;
}

TColorRef GetPixel(HDC DC, int X, int Y)
{
    if (!DC)
        return 0xFFFFFFFFu;
    return static_cast<TColorRef>(DC->Pixels(X, Y));
}

TColorRef SetPixel(HDC DC, int X, int Y, TColorRef Color)
{
    if (!DC)
        return 0xFFFFFFFFu;
    DC->SetPixel(X, Y, static_cast<TColor>(Color & 0x00FFFFFFu));
    return Color & 0x00FFFFFFu;
}

int GetDeviceCaps(HDC DC, int Index)
{
    if (!DC)
        return 0;
    const TSize s = DC->DeviceSize();
    const int dx = DC->PixelsPerInchX(), dy = DC->PixelsPerInchY();
    switch (Index) {
    case LOGPIXELSX: return dx;
    case LOGPIXELSY: return dy;
    case HORZRES:
    case PHYSICALWIDTH: return s.cx;
    case VERTRES:
    case PHYSICALHEIGHT: return s.cy;
    case HORZSIZE: return dx > 0 ? static_cast<int>(std::lround(s.cx * 25.4 / dx)) : 0;
    case VERTSIZE: return dy > 0 ? static_cast<int>(std::lround(s.cy * 25.4 / dy)) : 0;
    case BITSPIXEL: return 32;
    case PLANES: return 1;
    case NUMCOLORS: return -1;
    case PHYSICALOFFSETX:
    case PHYSICALOFFSETY: return 0;
    case RASTERCAPS: return 0x7E99; // blits, stretching, bitmaps and device-independent bitmaps
    default: return 0;
    }
}
