// The mini-HTML renderer: lays the markup out line by line, each line first measured and then
// drawn (or searched for an in-text control), and answers what lies under a point.
//
// The text is walked with an index rather than cut from the front, so that long texts cost one
// scan per pass and line; every font the call makes is gone before it returns.

#include "controls/MiniHTMLPrivate.h"

#include "controls/PictureContainer.h"
#include "platform/ImgList.h"
#include "platform/SysUtils.h"
#include "platform/TextKey.h"
#include "platform/UxTheme.h"

#include <QImage>

#include <QHash>

#include <algorithm>

namespace MiniHtml {

bool Drawing(const TRenderState &S, const TLine &L)
{
    return !L.Measure;
}

int ClampValue(int Value, int Low, int High)
{
    return std::clamp(Value, Low, High);
}

qsizetype AttributeAt(QStringView Upper, QLatin1String Name)
{
    // The name counts only where an "=" follows it, so that a value holding the same letters
    // is not taken for the attribute.
    const char16_t *u = Upper.utf16();
    const qsizetype n = Upper.size();
    const qsizetype m = Name.size();
    for (qsizetype at = 0; at + m <= n; ++at) {
        qsizetype i = 0;
        while (i < m && u[at + i] == char16_t(static_cast<unsigned char>(Name.data()[i])))
            ++i;
        if (i < m)
            continue;
        qsizetype k = at + m;
        while (k < n && u[k] == u' ')
            ++k;
        if (k < n && u[k] == u'=')
            return k;
    }
    return -1;
}

QStringView TagValueView(QStringView Source, QStringView Upper, QLatin1String Name)
{
    const qsizetype k = AttributeAt(Upper, Name);
    if (k < 0)
        return {};
    const qsizetype q1 = Source.indexOf(QChar(u'"'), k);
    if (q1 < 0)
        return {};
    const qsizetype q2 = Source.indexOf(QChar(u'"'), q1 + 1);
    if (q2 < 0)
        return {};
    return Source.mid(q1 + 1, q2 - q1 - 1);
}

UnicodeString TagValue(QStringView Source, QStringView Upper, QLatin1String Name)
{
    return TagValueView(Source, Upper, Name).toString();
}

QStringView UpperTag(TRenderState &S, QStringView Tag)
{
    // One buffer for all tags of the call: tags are read one at a time.
    S.TagUpper.resize(Tag.size());
    QChar *u = S.TagUpper.data();
    const char16_t *t = Tag.utf16();
    for (qsizetype i = 0; i < Tag.size(); ++i)
        u[i] = QChar((t[i] >= u'a' && t[i] <= u'z') ? char16_t(t[i] - 32) : t[i]);
    return S.TagUpper;
}

namespace {

constexpr int MaxPixels = 10000;
constexpr int MaxRotations = 64;
constexpr int MaxListLevel = 100;

// The first C in S from From on, or -1. The library's searches of a view cost several times
// this loop for the short texts of cells.
qsizetype FindChar(QStringView S, char16_t C, qsizetype From = 0)
{
    const char16_t *s = S.utf16();
    for (qsizetype i = From; i < S.size(); ++i)
        if (s[i] == C)
            return i;
    return -1;
}

QChar UpperAt(QStringView S, qsizetype I)
{
    if (I >= S.size())
        return QChar();
    const char16_t u = S[I].unicode();
    return (u >= u'a' && u <= u'z') ? QChar(char16_t(u - 32)) : S[I];
}

bool Has(QStringView Upper, const char *Name)
{
    return AttributeAt(Upper, QLatin1String(Name)) >= 0;
}

// The brush colour as the markup saves it: clNone for a clear brush.
TColor SavedBrush(TCanvas *C)
{
    return C->Brush()->Style() == TBrushStyle::bsClear ? clNone : C->Brush()->Color();
}

void RestoreBrush(TCanvas *C, TColor Color)
{
    if (Color == clNone) {
        C->Brush()->SetStyle(TBrushStyle::bsClear);
    } else {
        C->Brush()->SetColor(Color);
        C->Brush()->SetStyle(TBrushStyle::bsSolid);
    }
}

TColor ParseColor(QStringView Value)
{
    if (Value.startsWith(QLatin1Char('#')))
        return HtmlColorFromHex(QString::fromRawData(Value.data(), Value.size()));
    return HtmlColorFromName(Value.toString().toLower());
}

void SetStyle(TFont *F, TFontStyle Style, bool On)
{
    TFontStyles s = F->Style();
    if (On)
        s << Style;
    else
        s >> Style;
    F->SetStyle(s);
}

// The whole-text entities, replaced until none is left; an "&amp;" that forms a new entity
// with what follows it is taken again, as repeated passes over the text would.
QString ReplaceDisplayEntities(const QString &Text)
{
    static const std::pair<QLatin1String, QString> Entities[] = {
        {QLatin1String("&amp;"), QStringLiteral("&")},     {QLatin1String("&quot;"), QStringLiteral("\"")},
        {QLatin1String("&sect;"), QString(QChar(0xA7))},   {QLatin1String("&permil;"), QString(QChar(0x2030))},
        {QLatin1String("&reg;"), QString(QChar(0xAE))},    {QLatin1String("&copy;"), QString(QChar(0xA9))},
        {QLatin1String("&para;"), QString(QChar(0xB6))},   {QLatin1String("&trade;"), QString(QChar(0x2122))},
        {QLatin1String("&euro;"), QString(QChar(0x20AC))},
    };
    QString in = Text;
    QString out;
    out.reserve(in.size());
    qsizetype i = 0;
    while (i < in.size()) {
        // The values of in-text controls keep their own entities, so that they read back as
        // they were written.
        if (in[i] == QLatin1Char('<') && QStringView(in).mid(i, 8).compare(QLatin1String("<CONTROL"), Qt::CaseInsensitive) == 0) {
            const qsizetype gt = in.indexOf(QLatin1Char('>'), i);
            const qsizetype end = gt < 0 ? in.size() : gt + 1;
            out += QStringView(in).mid(i, end - i);
            i = end;
            continue;
        }
        if (in[i] != QLatin1Char('&')) {
            out += in[i++];
            continue;
        }
        bool done = false;
        for (size_t e = 0; e < std::size(Entities) && !done; ++e) {
            const QLatin1String &name = Entities[e].first;
            if (QStringView(in).mid(i, name.size()).compare(name, Qt::CaseInsensitive) != 0)
                continue;
            done = true;
            if (e == 0) {
                // "&amp;" becomes "&&": the second "&" stands where the ";" was and is read again.
                out += QLatin1Char('&');
                i += name.size() - 1;
                in[i] = QLatin1Char('&');
            } else {
                out += Entities[e].second;
                i += name.size();
            }
        }
        if (!done)
            out += in[i++];
    }
    return out;
}

QString PrepareText(const QString &Text)
{
    QString t = Text.contains(QLatin1Char('&')) ? ReplaceDisplayEntities(Text) : Text;
    t = UnwrapHashTags(t);
    return LineBreaksToBR(t, true);
}

void ReplaceRunEntities(QString &Run)
{
    Run.replace(QLatin1String("&nbsp;"), QLatin1String(" "));
    Run.replace(QLatin1String("&lt;"), QLatin1String("<"));
    Run.replace(QLatin1String("&gt;"), QLatin1String(">"));
}

// Measurements of runs are kept across calls: cells repeat their words, and laying a text out
// costs far more than looking it up. They are kept per font face and emptied when they grow large.
struct TFontLines {
    int Gh = 0;    // the height of "gh"
    int Line = 0;  // the line height of the text output (with external leading)
    int Space = 0; // the width of a space
};

struct TFontMeasures {
    TFontLines Lines;
    QHash<TTextKey, TSize> Extents;
};

// At most some 32,000 words of up to 32 characters (about 5 MB) over at most 32 fonts.
constexpr size_t MaxCachedFonts = 32;
constexpr qsizetype MaxCachedRuns = 32768;
constexpr qsizetype MaxCachedRun = 32;

qsizetype &CachedRuns()
{
    static qsizetype count = 0;
    return count;
}

TFontMeasures &Measures(TCanvas *C)
{
    struct TEntry {
        std::uint64_t Face;
        TFontMeasures Measures;
    };
    static auto &fonts = *new std::vector<std::unique_ptr<TEntry>>;
    static size_t last = 0;
    if (CachedRuns() > MaxCachedRuns) {
        fonts.clear();
        CachedRuns() = 0;
    }
    const std::uint64_t face = C->Font()->FaceId();
    if (last < fonts.size() && fonts[last]->Face == face)
        return fonts[last]->Measures;
    for (size_t i = 0; i < fonts.size(); ++i)
        if (fonts[i]->Face == face) {
            last = i;
            return fonts[i]->Measures;
        }
    if (fonts.size() >= MaxCachedFonts) {
        fonts.clear();
        CachedRuns() = 0;
    }
    auto e = std::make_unique<TEntry>();
    e->Face = face;
    TEXTMETRIC tm;
    GetTextMetrics(C->Handle(), tm);
    e->Measures.Lines =
        TFontLines{C->TextHeight(QStringLiteral("gh")), tm.tmHeight + tm.tmExternalLeading, C->TextWidth(QStringLiteral(" "))};
    fonts.push_back(std::move(e));
    last = fonts.size() - 1;
    return fonts[last]->Measures;
}

TFontLines FontLines(TCanvas *C)
{
    return Measures(C).Lines;
}

bool SimpleRun(QStringView Run)
{
    const char16_t *s = Run.utf16();
    for (qsizetype i = 0; i < Run.size(); ++i)
        if (s[i] == u'&' || s[i] == u'\t')
            return false;
    return true;
}

// The width and height of a run as the text output lays it out on one line in R. A run without
// mnemonic prefixes and tabs that needs no ellipsis is measured directly, which is what the
// text output finds.
TSize RunExtent(TCanvas *C, QStringView Run, bool Simple, unsigned Flags, const TRect &R)
{
    if (Simple) {
        TSize e;
        // Words are kept; long runs seldom come back and would only fill the memory.
        if (Run.size() <= MaxCachedRun) {
            QHash<TTextKey, TSize> &cache = Measures(C).Extents;
            // Looked up in place; only a new word is copied into the cache.
            auto it = cache.constFind(TTextKey{0, QString::fromRawData(Run.data(), Run.size())});
            if (it != cache.constEnd()) {
                e = it.value();
            } else {
                const QString word = Run.toString();
                e = *cache.insert(TTextKey{0, word}, C->TextExtent(word));
                ++CachedRuns();
            }
        } else {
            e = C->TextExtent(Run.toString());
        }
        if (!(Flags & DT_END_ELLIPSIS) || e.cx <= R.Right - R.Left)
            return e;
    }
    const QString run = Run.toString();
    TRect calc = R;
    DrawText(C->Handle(), run, -1, &calc, Flags | DT_CALCRECT);
    return TSize(calc.Right - calc.Left, C->TextHeight(run));
}

// Draws a run single-line at the bottom of R, as the text output would; a simple run that fits
// goes straight to the canvas.
void DrawRun(TCanvas *C, const QString &Run, bool Simple, TRect R, unsigned Flags, const TSize &Extent)
{
    if (Simple && !(Flags & (DT_RIGHT | DT_CENTER | DT_RTLREADING)) && Extent.cx <= R.Right - R.Left) {
        const int line = FontLines(C).Line;
        // A run that lies wholly inside its rectangle needs no clip, which is costly to set.
        const unsigned options = line <= R.Bottom - R.Top ? 0u : ETO_CLIPPED;
        C->ExtTextOut(R.Left, R.Bottom - line, options, &R, Run);
        return;
    }
    DrawText(C->Handle(), Run, -1, &R, Flags);
}

void FillBand(TRenderState &S, int Top, int Bottom)
{
    TCanvas *C = S.C;
    const TColor pen = C->Pen()->Color();
    C->Pen()->SetColor(C->Brush()->Color());
    C->FillRect(TRect(S.P.Rect.Left, Top, S.P.Rect.Right, Bottom));
    C->Pen()->SetColor(pen);
}

void DrawZigzag(TCanvas *C, int Left, int Right, int Bottom)
{
    const TColor color = C->Pen()->Color();
    const int width = C->Pen()->Width();
    C->Pen()->SetColor(clRed);
    C->Pen()->SetWidth(1);
    int x = Left - (((Left % 2) + 2) % 2);
    int offset = (((x % 4) + 4) % 4) == 0 ? 2 : 0;
    C->MoveTo(x, Bottom + offset - 1);
    while (x < Right) {
        offset = offset == 0 ? 2 : 0;
        C->LineTo(x + 2, Bottom + offset - 1);
        x += 2;
    }
    C->Pen()->SetColor(color);
    C->Pen()->SetWidth(width);
}

void TileBackground(TRenderState &S, const QString &Source)
{
    THTMLPicture *pic = FindHtmlPicture(S, Source);
    if (!pic || pic->Empty() || pic->Width() <= 0 || pic->Height() <= 0)
        return;
    const TRect &R = S.P.Rect;
    const int w = pic->Width();
    const int h = pic->Height();
    // A tiny picture over a huge rectangle would take millions of draws; such a tiling is skipped.
    const long long tiles = (static_cast<long long>(std::max(0, R.Width())) / w + 1) * (std::max(0, R.Height()) / h + 1);
    if (tiles > 20000)
        return;
    const bool stretch = pic->Stretch();
    pic->SetStretch(false);
    const int saved = S.C->SaveDC();
    S.C->IntersectClipRect(R.Left, R.Top, R.Right, R.Bottom);
    for (int y = R.Top; y < R.Bottom; y += h)
        for (int x = R.Left; x < R.Right; x += w)
            pic->Draw(S.C, TRect(x, y, x + w, y + h));
    S.C->RestoreDC(saved);
    pic->SetStretch(stretch);
}

struct TLineTag {
    bool LiSeen = false;
    int *Align = nullptr;
    int *Indent = nullptr;
};

void AnchorStart(TRenderState &S, TLine &L, QStringView Tag)
{
    THtmlRenderParams &P = S.P;
    TFont *F = S.C->Font();
    const bool draw = Drawing(S, L);
    if (draw && P.FocusAnchorIndex == P.AnchorCount) {
        S.FocusRect.Left = L.X;
        S.FocusRect.Top = L.R.Top;
    }
    ++P.AnchorCount;
    S.AnchorNumber = P.AnchorCount;
    const bool hovered = P.HoverAnchorIndex == S.AnchorNumber;
    if ((!P.HoverOnlyStyle || hovered) && draw) {
        SetStyle(F, TFontStyle::fsUnderline, true);
        if (P.HoverBackColor != clNone) {
            S.HoverSavedBrush = SavedBrush(S.C);
            RestoreBrush(S.C, P.HoverBackColor);
        }
        if (P.HoverTextColor != clNone) {
            S.HoverSavedFont = F->Color();
            F->SetColor(P.HoverTextColor);
        }
    }
    if (!P.Selected && (P.HoverTextColor == clNone || !hovered || !P.HoverOnlyStyle))
        F->SetColor(P.AnchorColor);

    const QStringView attrs = UpperTag(S, Tag).mid(2);
    const QStringView source = Tag.mid(2);
    S.InAnchor = Has(attrs, "HREF");
    if (S.InAnchor)
        S.AnchorRef = TagValue(source, attrs, QLatin1String("HREF"));
    S.AnchorTitle = TagValue(source, attrs, QLatin1String("TITLE"));
    S.AnchorStartX = L.Width;
    S.AnchorStartTop = L.R.Top;
    S.AnchorStartedOnLine = true;
}

void AnchorEnd(TRenderState &S, TLine &L)
{
    THtmlRenderParams &P = S.P;
    TFont *F = S.C->Font();
    const bool draw = Drawing(S, L);
    const bool hovered = P.HoverAnchorIndex == S.AnchorNumber;
    if ((!P.HoverOnlyStyle || hovered) && draw) {
        SetStyle(F, TFontStyle::fsUnderline, false);
        if (P.HoverBackColor != clNone)
            RestoreBrush(S.C, S.HoverSavedBrush);
        if (P.HoverTextColor != clNone)
            F->SetColor(S.HoverSavedFont);
    }
    if (!P.Selected)
        F->SetColor(S.BaseFont.Color());
    S.InAnchor = false;

    if (L.Measure && !P.FindControl && S.AnchorHitPending) {
        S.AnchorHitPending = false;
        P.HitAnchorRect.Left = L.R.Left + (S.AnchorStartedOnLine ? S.AnchorStartX : 0);
        P.HitAnchorRect.Top = S.AnchorStartedOnLine ? S.AnchorStartTop : L.R.Top;
        P.HitAnchorRect.Right = L.R.Left + L.Width;
        P.HitAnchorRect.Bottom = L.R.Top + L.Height;
        S.AnchorRectOpen = true;
        P.HitAnchorIndex = S.AnchorNumber;
    }
    if (draw && S.AnchorNumber == P.FocusAnchorIndex + 1) {
        S.FocusRect.Right = L.X;
        S.FocusRect.Bottom = L.R.Bottom - L.ImageRaise;
        S.FocusRect.Top = S.FocusRect.Bottom - FontLines(S.C).Gh;
        S.FocusRect.Left -= 1;
        S.FocusRect.Right += 1;
        S.C->DrawFocusRect(S.FocusRect);
    }
    S.AnchorNumber = -1;
}

bool InFocusAnchor(const TRenderState &S)
{
    return S.AnchorNumber > 0 && S.AnchorNumber == S.P.FocusAnchorIndex + 1;
}

// Tag runs from "<" to ">" (or to the end of the text); only the tags with attributes copy it.
void HandleTag(TRenderState &S, TLine &L, QStringView Tag, bool EndTagPossible, TLineTag &T)
{
    THtmlRenderParams &P = S.P;
    TCanvas *C = S.C;
    TFont *F = C->Font();
    const bool draw = Drawing(S, L);

    if (Tag[1] == QLatin1Char('/') && EndTagPossible) {
        const QChar e1 = UpperAt(Tag, 2);
        const QChar e2 = UpperAt(Tag, 3);
        switch (e1.unicode()) {
        case u'A':
            AnchorEnd(S, L);
            break;
        case u'B':
            if (e2 == QLatin1Char('>'))
                SetStyle(F, TFontStyle::fsBold, false);
            else
                F->SetColor(S.BaseFont.Color());
            break;
        case u'E':
            if (draw)
                S.ErrorMark = false;
            break;
        case u'F':
            F->SetName(S.BaseFont.Name());
            F->SetHeight(S.BaseFont.Height());
            if (draw && !P.Selected) {
                F->SetColor(S.BaseFont.Color());
                RestoreBrush(C, S.FontBackSaved);
            }
            break;
        case u'H':
            if (draw) {
                F->SetColor(S.HiSavedFont);
                RestoreBrush(C, S.HiSavedBrush);
            }
            break;
        case u'I':
            SetStyle(F, TFontStyle::fsItalic, false);
            break;
        case u'L':
            L.Done = true;
            break;
        case u'P':
            L.Done = true;
            if (draw) {
                RestoreBrush(C, S.ParaBackSaved);
                S.ParaBack = false;
            }
            break;
        case u'R':
            if (!S.Rotations.empty()) {
                TRenderState::TRotation r = std::move(S.Rotations.back());
                S.Rotations.pop_back();
                RestoreRotatedFont(C, r.Rotated, *r.Previous);
            }
            break;
        case u'S':
            if (e2 == QLatin1Char('H'))
                S.Shadow = false;
            else if (e2 == QLatin1Char('U'))
                S.Sub = S.Sup = false;
            else
                SetStyle(F, TFontStyle::fsStrikeOut, false);
            break;
        case u'U':
            if (e2 == QLatin1Char('>'))
                SetStyle(F, TFontStyle::fsUnderline, false);
            else if (S.ListLevel >= 1)
                --S.ListLevel;
            else
                SetStyle(F, TFontStyle::fsUnderline, false);
            break;
        case u'Z':
            S.Hidden = false;
            break;
        default:
            break;
        }
        return;
    }

    const QChar c1 = UpperAt(Tag, 1);
    const QChar c2 = UpperAt(Tag, 2);
    switch (c1.unicode()) {
    case u'A':
        AnchorStart(S, L, Tag);
        break;
    case u'B':
        if (c2 == QLatin1Char('>')) {
            SetStyle(F, TFontStyle::fsBold, true);
        } else if (c2 == QLatin1Char('R')) {
            L.Done = true;
            P.PlainText += QLatin1Char('\r');
        } else if (c2 == QLatin1Char('L')) {
            if (!P.BlinkVisible)
                F->SetColor(S.EntryBrushColor);
        } else if (c2 == QLatin1Char('O') && draw) {
            const QString upper = AsciiUpper(Tag.toString());
            const QString attrs = upper.mid(5);
            const QString background = TagValue(attrs, attrs, QLatin1String("BACKGROUND"));
            if (!background.isEmpty())
                TileBackground(S, background);
            if (Has(attrs, "BGCOLOR")) {
                const QString v = TagValue(attrs, attrs, QLatin1String("BGCOLOR"));
                bool set = false;
                TColor col = 0;
                if (v.contains(QLatin1String("CL"))) {
                    col = HtmlColorFromName(v.toLower());
                    set = true;
                } else if (v.contains(QLatin1Char('#'))) {
                    col = HtmlColorFromHex(v.mid(v.indexOf(QLatin1Char('#'))));
                    set = true;
                }
                if (set) {
                    RestoreBrush(C, col);
                    S.FontBackSaved = col;
                    const TColor pen = C->Pen()->Color();
                    C->Pen()->SetColor(col);
                    C->FillRect(P.Rect);
                    C->Pen()->SetColor(pen);
                }
            }
        }
        break;
    case u'C':
        LayoutControl(S, L, Tag.toString());
        break;
    case u'E':
        if (draw)
            S.ErrorMark = true;
        break;
    case u'F': {
        const QStringView attrs = UpperTag(S, Tag).mid(5);
        const QStringView face = TagValueView(attrs, attrs, QLatin1String("FACE"));
        if (!face.isEmpty())
            F->SetName(face.toString());
        if (!P.Selected) {
            const QStringView color = TagValueView(attrs, attrs, QLatin1String(" COLOR"));
            if (!color.isEmpty())
                F->SetColor(ParseColor(color));
        }
        if (draw && !P.Selected && Has(attrs, "BGCOLOR")) {
            S.FontBackSaved = SavedBrush(C);
            const QStringView bg = TagValueView(attrs, attrs, QLatin1String("BGCOLOR"));
            if (!bg.isEmpty())
                RestoreBrush(C, ParseColor(bg));
        }
        const qsizetype sizeAt = attrs.indexOf(u"SIZE");
        if (sizeAt >= 0) {
            QString rest = attrs.mid(sizeAt + 4).toString();
            const qsizetype eq = rest.indexOf(QLatin1Char('='));
            if (eq >= 0)
                rest = rest.mid(eq + 1).trimmed();
            // A bare number is read too; a quoted one from after its quote.
            if (rest.startsWith(QLatin1Char('"')))
                rest = rest.mid(1);
            const int v = IntPrefixValue(rest);
            static const int Points[] = {8, 10, 12, 14, 16};
            const int points = (v >= 1 && v <= 5) ? Points[v - 1] : v;
            if (points > 0)
                F->SetSize(std::min(points, 400));
        }
        break;
    }
    case u'H':
        if (c2 == QLatin1Char('I')) {
            if (draw) {
                S.HiSavedFont = F->Color();
                S.HiSavedBrush = SavedBrush(C);
                RestoreBrush(C, HtmlHighlightColor());
                F->SetColor(HtmlHighlightTextColor());
            }
        } else if (c2 == QLatin1Char('R')) {
            L.Done = true;
            if (draw) {
                const TColor pen = C->Pen()->Color();
                C->Pen()->SetColor(clBlack);
                C->MoveTo(L.R.Left, L.R.Bottom + 1);
                C->LineTo(L.R.Right, L.R.Bottom + 1);
                C->Pen()->SetColor(pen);
            }
        }
        break;
    case u'I':
        if (c2 == QLatin1Char('>')) {
            SetStyle(F, TFontStyle::fsItalic, true);
        } else if (c2 == QLatin1Char('N')) {
            const QString upper = AsciiUpper(Tag.toString());
            int v = 0;
            if (TryStrToInt(TagValue(upper.mid(2), upper.mid(2), QLatin1String("X")).trimmed(), v)) {
                v = ClampValue(v, 0, MaxPixels);
                if (v > L.Width) {
                    L.Width = v;
                    L.X = P.Rect.Left + v;
                }
            }
        } else if (c2 == QLatin1Char('M')) {
            LayoutImage(S, L, Tag.toString());
        }
        break;
    case u'L':
        if (T.LiSeen) {
            L.Full = true;
        } else {
            T.LiSeen = true;
            const int level = S.ListLevel;
            L.Width += level * 12;
            L.X += level * 12 - 12;
            if (draw) {
                const QString name = F->Name();
                F->SetName(QStringLiteral("Symbol"));
                TRect br(L.X, L.R.Top, L.R.Right, L.R.Bottom);
                DrawText(C->Handle(), level % 2 == 1 ? QString(QChar(0x2022)) : QStringLiteral("o"), -1, &br, 0);
                F->SetName(name);
            }
            L.X += 12;
        }
        break;
    case u'P': {
        const QString upper = AsciiUpper(Tag.toString());
        const QString attrs = upper.mid(2);
        if (Has(attrs, "ALIGN")) {
            const QString a = TagValue(attrs, attrs, QLatin1String("ALIGN"));
            if (a.contains(QLatin1String("RIGHT")))
                *T.Align = alRightAlign;
            if (a.contains(QLatin1String("LEFT")))
                *T.Align = alLeftAlign;
            if (a.contains(QLatin1String("CENTER")))
                *T.Align = alCenterAlign;
        }
        if (Has(attrs, "INDENT"))
            *T.Indent = ClampValue(IntPrefixValue(TagValue(attrs, attrs, QLatin1String("INDENT"))), -MaxPixels, MaxPixels);
        if (Has(attrs, "BGCOLOR")) {
            const QString v = TagValue(attrs, attrs, QLatin1String("BGCOLOR"));
            const TColor col = v.isEmpty() ? clNone : ParseColor(v);
            if (draw) {
                S.ParaBack = true;
                S.ParaBackSaved = SavedBrush(C);
                RestoreBrush(C, col);
                if (col != clNone) {
                    C->Pen()->SetColor(col);
                    C->FillRect(TRect(P.Rect.Left, L.R.Top, P.Rect.Right, L.R.Bottom));
                }
            }
        }
        break;
    }
    case u'R': {
        const QString upper = AsciiUpper(Tag.toString());
        const int degrees = ClampValue(IntPrefixValue(TagValue(upper.mid(2), upper.mid(2), QLatin1String("A"))), -360, 360);
        if (S.Rotations.size() < MaxRotations) {
            TRenderState::TRotation r{nullptr, std::make_unique<TFont>()};
            r.Rotated = SelectRotatedFont(C, degrees, *r.Previous);
            S.Rotations.push_back(std::move(r));
        }
        break;
    }
    case u'S':
        if (Tag.startsWith(QLatin1String("<SUB>"), Qt::CaseInsensitive))
            S.Sub = true;
        else if (Tag.startsWith(QLatin1String("<SUP>"), Qt::CaseInsensitive))
            S.Sup = true;
        else if (c2 == QLatin1Char('>'))
            SetStyle(F, TFontStyle::fsStrikeOut, true);
        else if (c2 == QLatin1Char('H'))
            S.Shadow = true;
        break;
    case u'U':
        if (c2 == QLatin1Char('>')) {
            SetStyle(F, TFontStyle::fsUnderline, true);
        } else {
            S.ListLevel = std::min(S.ListLevel + 1, MaxListLevel);
            L.Done = true;
        }
        break;
    case u'Z':
        S.Hidden = true;
        break;
    default:
        break;
    }
}

// One pass over one line of Text from Pos; returns the end of what it consumed, tags included.
// The measure pass walks the whole text; the draw pass (Replay) walks again what the measure pass
// consumed, leaving out the hidden runs that it skipped.
qsizetype RenderLine(TRenderState &S, QStringView Text, qsizetype &Pos, TLine &L, int &Align, int &Indent, bool Replay)
{
    THtmlRenderParams &P = S.P;
    TCanvas *C = S.C;
    const bool draw = Drawing(S, L);
    L.R.Bottom -= L.SubExtra;
    L.Width = 0;
    L.X = (draw && S.RightToLeftReading) ? L.R.Right : L.R.Left;
    L.Full = L.Done = L.ControlHit = L.AnchorHit = false;
    S.AnchorStartedOnLine = false;
    int trailing = 0;
    TLineTag T;
    T.Align = &Align;
    T.Indent = &Indent;
    qsizetype consumedEnd = Pos;
    // The draw pass takes the measured extents: only a run cut with an ellipsis measures
    // differently there, in the room left on the line.
    const bool reuse = Replay && !(S.DrawFlags & DT_END_ELLIPSIS);
    size_t extentIndex = 0;
    if (!Replay)
        S.RunExtents.clear();
    // What the line has laid out so far: whether any text, and its last character.
    bool hadText = false;
    QChar lastChar;
    const int avail = L.R.Right - L.R.Left;

    if (S.ParaBack && draw)
        FillBand(S, L.R.Top, L.R.Top + L.Height);

    // The plain runs waiting to be drawn as one text: while they follow one another in Text they
    // are drawn from it in place; otherwise they are copied into the call's buffer.
    struct {
        const QChar *From = nullptr;
        qsizetype Length = 0;
        bool Copied = false;
        TRect R;
        int Width = 0;
    } pending;
    QString &pendingText = S.PendingText;
    auto pendingEmpty = [&]() { return pending.Copied ? pendingText.isEmpty() : pending.Length == 0; };
    auto addPending = [&](QStringView Run, bool InText) {
        if (!pending.Copied && InText && (pending.Length == 0 || Run.data() == pending.From + pending.Length)) {
            if (pending.Length == 0)
                pending.From = Run.data();
            pending.Length += Run.size();
            return;
        }
        if (!pending.Copied) {
            pendingText.resize(0); // keeps the buffer of earlier lines
            pendingText.append(pending.From, pending.Length);
            pending.Copied = true;
        }
        pendingText.append(Run);
    };
    auto flush = [&]() {
        if (pendingEmpty())
            return;
        const QString inPlace = pending.Copied ? QString() : QString::fromRawData(pending.From, pending.Length);
        DrawRun(C, pending.Copied ? pendingText : inPlace, true, pending.R, S.DrawFlags, TSize(pending.Width, 0));
        pending.Length = 0;
        pending.Copied = false;
        pending.Width = 0;
    };

    const qsizetype n = Text.size();
    qsizetype nextLt = -2;
    qsizetype nextSp = -2;
    QString entityRun;
    while (Pos < n && !L.Done && !L.Full) {
        if (nextLt != -1 && nextLt < Pos)
            nextLt = FindChar(Text, u'<', Pos);
        if (P.WordWrap && nextSp != -1 && nextSp < Pos)
            nextSp = FindChar(Text, u' ', Pos);
        const qsizetype sp = P.WordWrap ? nextSp : -1;
        qsizetype runLen;
        if (nextLt >= 0 && (sp < 0 || sp > nextLt))
            runLen = nextLt - Pos;
        else if (sp >= 0)
            runLen = sp - Pos + 1;
        else
            runLen = n - Pos;

        if (runLen > 0 && Replay && S.Hidden) {
            Pos += runLen;
        } else if (runLen > 0) {
            QStringView run = Text.mid(Pos, runLen);
            bool simple = SimpleRun(run);
            bool inText = true;
            if (!simple && FindChar(run, u'&') >= 0) {
                inText = false;
                entityRun = run.toString();
                ReplaceRunEntities(entityRun);
                run = entityRun;
                simple = SimpleRun(run);
            }
            TRect runRect = L.R;
            if (!L.Measure) {
                if (S.RightToLeftReading)
                    runRect.Right = L.X;
                else
                    runRect.Left = L.X;
            }
            TSize extent;
            if (reuse && !S.Hidden && extentIndex < S.RunExtents.size())
                extent = S.RunExtents[extentIndex++];
            else
                extent = RunExtent(C, run, simple, S.DrawFlags, runRect);
            if (!Replay && !S.Hidden)
                S.RunExtents.push_back(extent);
            const int h = extent.cy;
            if (S.Sub)
                L.SubExtra = std::max(L.SubExtra, h / 4);
            if (S.Sup)
                L.SupExtra = std::max(L.SupExtra, h / 4);
            L.Height = std::max(L.Height, h);
            P.PlainText += run;
            if (S.Hidden) {
                Pos += runLen;
            } else {
                int w = 0;
                const int start = L.Width;
                if (L.Measure) {
                    w = extent.cx;
                    L.Width += w;
                    if (S.InAnchor) {
                        const int p = S.RightToLeftReading ? L.R.Right - P.HitX : P.HitX;
                        if (P.HitX - L.R.Left >= start && L.Width >= p - L.R.Left) {
                            L.AnchorHit = true;
                            if (P.HitY > L.R.Top && !P.FindControl) {
                                P.HitAnchor = S.AnchorRef;
                                P.HitTitle = S.AnchorTitle;
                                S.AnchorHitPending = true;
                            }
                        }
                    }
                } else {
                    TRect wr = runRect;
                    if (S.Sup)
                        wr.Bottom -= L.SupExtra;
                    if (S.Sub)
                        wr.Bottom += L.SubExtra;
                    wr.Bottom -= L.ImageRaise;
                    const unsigned flags = S.DrawFlags | (S.RightToLeftReading ? DT_RIGHT : 0u);
                    // Plain runs between two tags are drawn as one text: each text output
                    // costs far more than its letters.
                    const bool merge = !S.Shadow && !S.ErrorMark && !S.RightToLeftReading && simple &&
                                       extent.cx <= wr.Right - wr.Left;
                    if (merge) {
                        if (!pendingEmpty() && pending.R.Bottom != wr.Bottom)
                            flush();
                        if (pendingEmpty())
                            pending.R = wr;
                        addPending(run, inText);
                        pending.Width += extent.cx;
                    } else {
                        flush();
                        const QString text = run.toString();
                        if (S.Shadow) {
                            const TColor color = C->Font()->Color();
                            C->Font()->SetColor(P.ShadowColor);
                            TRect sr = wr;
                            OffsetRect(sr, P.ShadowOffset, P.ShadowOffset);
                            DrawRun(C, text, simple, sr, flags, extent);
                            C->Font()->SetColor(color);
                        }
                        DrawRun(C, text, simple, wr, flags, extent);
                    }
                    w = extent.cx;
                    if (InFocusAnchor(S))
                        P.FocusHref = S.AnchorRef;
                    const int left = S.RightToLeftReading ? L.X - w : L.X;
                    if (S.ErrorMark)
                        DrawZigzag(C, left, left + w, L.R.Bottom);
                    L.X += S.RightToLeftReading ? -w : w;
                }

                const bool fits = L.Width < avail || w >= avail;
                const bool hadBefore = hadText;
                const bool taken = fits || (hadBefore && lastChar != QLatin1Char(' '));
                hadText = true;
                lastChar = run.back();
                if (taken || !P.WordWrap) {
                    const bool blank = Text[Pos + runLen - 1] == QLatin1Char(' ');
                    Pos += runLen;
                    consumedEnd = Pos;
                    // Without word wrap a run that overflows after other text ends the text:
                    // it is drawn cut with an ellipsis and nothing follows it.
                    if (L.Measure && !fits && hadBefore && !P.WordWrap)
                        Pos = n;
                    trailing = blank ? FontLines(C).Space : 0;
                } else {
                    L.Done = true;
                    L.Width -= w;
                }
            }
        }

        if (Pos < n && Text[Pos] == QLatin1Char('<') && n - Pos <= 2)
            Pos = n;
        if (!L.Done && Pos < n && Text[Pos] == QLatin1Char('<') && n - Pos >= 3) {
            const qsizetype gt = FindChar(Text, u'>', Pos);
            const QStringView tag = gt < 0 ? Text.mid(Pos) : Text.mid(Pos, gt - Pos + 1);
            flush();
            HandleTag(S, L, tag, n - Pos >= 4, T);
            if (!L.Full) {
                if (gt >= 0) {
                    Pos = gt + 1;
                    consumedEnd = Pos;
                } else {
                    Pos = n;
                }
            }
        }
    }

    flush();
    L.Width -= trailing;
    P.ExtentX = std::max(P.ExtentX, L.Width);

    if (draw && InFocusAnchor(S)) {
        S.FocusRect.Right = L.X + 1;
        S.FocusRect.Bottom = L.R.Bottom;
        S.FocusRect.Left -= 1;
        C->DrawFocusRect(S.FocusRect);
        S.FocusRect.Left = L.R.Left + 1;
        S.FocusRect.Top = L.R.Bottom;
    }
    return consumedEnd;
}

} // namespace
} // namespace MiniHtml

using namespace MiniHtml;

bool RenderHtmlText(THtmlRenderParams &P)
{
    TCanvas *C = P.Canvas;
    if (!C)
        return false;
    TRenderState S(P);

    const TColor penColor = C->Pen()->Color();
    const int penWidth = C->Pen()->Width();
    const TPenStyle penStyle = C->Pen()->Style();
    const TColor brushColor = C->Brush()->Color();
    const TBrushStyle brushStyle = C->Brush()->Style();
    S.BaseFont.Assign(C->Font());
    S.MeasureFont.Assign(C->Font());
    S.DrawFont.Assign(C->Font());
    S.EntryBrushColor = brushColor;
    S.HiSavedFont = C->Font()->Color();
    C->Brush()->SetColor(clNone);
    S.Themed = CheckThemeOSVersion() && IsThemeActive();

    P.ControlRect = TRect();
    P.ControlValue.clear();
    P.ControlType.clear();
    if (!P.FindControl)
        P.ControlID.clear();
    P.PlainText.clear();
    // Each drawn line is added twice (measure and draw pass): one buffer for all of it.
    P.PlainText.reserve(P.Text.size() * 2 + 16);
    P.FocusHref.clear();
    P.HitTitle.clear();
    P.ExtentX = P.ExtentY = P.AnchorCount = 0;
    P.HitAnchorIndex = -1;
    int align = alLeftAlign;
    int indent = 0;

    TRect lineRect = P.Rect;
    lineRect.Left += 1;
    const int oldBkMode = C->SetBkMode(TRANSPARENT);

    unsigned flags = DT_BOTTOM | DT_SINGLELINE | DT_EXPANDTABS | DT_EXTERNALLEADING;
    if (SysLocaleMiddleEast()) {
        if (P.BiDiMode == bdRightToLeft) {
            if (flags & DT_RIGHT)
                flags &= ~DT_RIGHT;
            else if (!(flags & DT_CENTER))
                flags |= DT_RIGHT;
        }
        if (P.BiDiMode != bdLeftToRight)
            flags |= DT_RTLREADING;
    }
    if (!P.WordWrap)
        flags |= DT_END_ELLIPSIS;
    S.DrawFlags = flags & ~DT_RIGHT;
    S.RightToLeftReading = flags & DT_RTLREADING;

    const QString text = PrepareText(P.Text);
    const int baseGh = FontLines(C).Gh;
    int drawAnchorCount = 0;
    int drawListLevel = 0;
    bool result = false;
    qsizetype pos = 0;

    // What a line's passes carry from one line to the next; the draw pass starts where the measure
    // pass started, and the next line starts where the measure pass ended.
    struct TCarried {
        bool InAnchor, Hidden, Shadow;
        QString Ref, Title;
        int Number, Images;
    };
    auto carried = [&S]() { return TCarried{S.InAnchor, S.Hidden, S.Shadow, S.AnchorRef, S.AnchorTitle, S.AnchorNumber, S.ImageCounter}; };
    auto restore = [&S](const TCarried &c) {
        S.InAnchor = c.InAnchor;
        S.Hidden = c.Hidden;
        S.Shadow = c.Shadow;
        S.AnchorRef = c.Ref;
        S.AnchorTitle = c.Title;
        S.AnchorNumber = c.Number;
        S.ImageCounter = c.Images;
    };

    while (pos < text.size()) {
        C->Font()->Assign(&S.MeasureFont);
        const TCarried atStart = carried();
        const UnicodeString hitAnchor = P.HitAnchor;
        const UnicodeString hitTitle = P.HitTitle;
        const int hitIndex = P.HitAnchorIndex;
        const TRect hitRect = P.HitAnchorRect;
        S.Sub = S.Sup = false;

        TLine M;
        M.R = lineRect;
        M.Measure = true;
        M.Height = FontLines(C).Gh;
        const int gh = M.Height;
        const qsizetype before = pos;
        const qsizetype consumedEnd = RenderLine(S, text, pos, M, align, indent, false);
        if (pos == before)
            ++pos; // never stand still on text that no line can take
        const int lineHeight = M.Height + M.SubExtra + M.SupExtra;

        // An anchor hit on this line counts only when the point is above the line's bottom.
        if (S.AnchorRectOpen) {
            P.HitAnchorRect.Bottom = lineRect.Top + lineHeight;
            S.AnchorRectOpen = false;
        }
        if (P.HitY >= lineRect.Top + lineHeight && (P.HitAnchor != hitAnchor || P.HitAnchorIndex != hitIndex)) {
            P.HitAnchor = hitAnchor;
            P.HitTitle = hitTitle;
            P.HitAnchorIndex = hitIndex;
            P.HitAnchorRect = hitRect;
            S.AnchorHitPending = false;
        }
        const TCarried atEnd = carried();
        S.MeasureFont.Assign(C->Font());

        TRect dr = lineRect;
        if (align == alRightAlign) {
            if (dr.Left < dr.Right - M.Width)
                dr.Left = dr.Right - M.Width;
        } else if (align == alCenterAlign) {
            const int room = dr.Right - dr.Left - M.Width;
            if (room > 0)
                dr.Left += room / 2;
        }
        dr.Left += indent;
        dr.Bottom = dr.Top + lineHeight;

        if (!P.MeasureOnly) {
            const int measureAnchors = P.AnchorCount;
            const int measureLevel = S.ListLevel;
            C->Font()->Assign(&S.DrawFont);
            P.AnchorCount = drawAnchorCount;
            S.ListLevel = drawListLevel;
            restore(atStart);
            S.Sub = S.Sup = false;
            TLine D;
            D.R = dr;
            D.Measure = P.FindControl;
            D.Height = M.Height;
            D.SubExtra = M.SubExtra;
            D.SupExtra = M.SupExtra;
            D.ImageRaise = M.ImageRaise;
            qsizetype cpos = before;
            int drawAlign = align;
            int drawIndent = indent;
            RenderLine(S, QStringView(text).left(consumedEnd), cpos, D, drawAlign, drawIndent, true);
            const int bandBottom = D.R.Bottom - D.ImageRaise;
            const int bandTop = bandBottom - FontLines(C).Gh;
            if ((D.AnchorHit && P.HitY > bandTop && P.HitY < bandBottom) || D.ControlHit)
                result = true;
            drawAnchorCount = P.AnchorCount;
            drawListLevel = S.ListLevel;
            S.DrawFont.Assign(C->Font());
            P.AnchorCount = measureAnchors;
            S.ListLevel = measureLevel;
        }
        restore(atEnd);

        lineRect.Top += lineHeight;
        P.ExtentY += lineHeight;
        if (!P.MeasureOnly && lineRect.Top + gh > P.Rect.Bottom)
            break;
    }

    if (P.ExtentY == 0)
        P.ExtentY = baseGh;

    while (!S.Rotations.empty()) {
        DeleteObject(S.Rotations.back().Rotated);
        S.Rotations.pop_back();
    }
    C->Font()->Assign(&S.BaseFont);
    C->Pen()->SetColor(penColor);
    C->Pen()->SetWidth(penWidth);
    C->Pen()->SetStyle(penStyle);
    C->Brush()->SetColor(brushColor);
    C->Brush()->SetStyle(brushStyle);
    C->SetBkMode(oldBkMode);
    return P.MeasureOnly ? false : result;
}

bool RenderHtmlText(TCanvas *Canvas, const UnicodeString &Text, const TRect &Rect, TCustomImageList *Images,
                    int HitX, int HitY, int FocusAnchorIndex, int HoverAnchorIndex, int ShadowOffset,
                    bool FindControl, bool MeasureOnly, bool PrintMode, bool Selected, bool BlinkVisible,
                    bool HoverOnlyStyle, bool WordWrap, bool MouseDown, double PrintScale, TColor AnchorColor,
                    TColor HoverBackColor, TColor HoverTextColor, TColor ShadowColor, UnicodeString &HitAnchor,
                    UnicodeString &PlainText, UnicodeString &FocusHref, UnicodeString &HitTitle, int &ExtentX,
                    int &ExtentY, int &AnchorCount, int &HitAnchorIndex, TRect &HitAnchorRect, TRect &ControlRect,
                    UnicodeString &ControlID, UnicodeString &ControlValue, UnicodeString &ControlType,
                    THTMLPictureCache *PictureCache, TPictureContainer *Pictures, HWND ThemeWindow,
                    TBiDiMode BiDiMode)
{
    THtmlRenderParams p;
    p.Canvas = Canvas;
    p.Text = Text;
    p.Rect = Rect;
    p.Images = Images;
    p.HitX = HitX;
    p.HitY = HitY;
    p.FocusAnchorIndex = FocusAnchorIndex;
    p.HoverAnchorIndex = HoverAnchorIndex;
    p.ShadowOffset = ShadowOffset;
    p.FindControl = FindControl;
    p.MeasureOnly = MeasureOnly;
    p.PrintMode = PrintMode;
    p.Selected = Selected;
    p.BlinkVisible = BlinkVisible;
    p.HoverOnlyStyle = HoverOnlyStyle;
    p.WordWrap = WordWrap;
    p.MouseDown = MouseDown;
    p.PrintScale = PrintScale;
    p.AnchorColor = AnchorColor;
    p.HoverBackColor = HoverBackColor;
    p.HoverTextColor = HoverTextColor;
    p.ShadowColor = ShadowColor;
    p.HitAnchor = HitAnchor;
    p.HitAnchorRect = HitAnchorRect;
    p.ControlID = ControlID;
    p.PictureCache = PictureCache;
    p.Pictures = Pictures;
    p.ThemeWindow = ThemeWindow;
    p.BiDiMode = BiDiMode;
    const bool result = RenderHtmlText(p);
    HitAnchor = p.HitAnchor;
    PlainText = p.PlainText;
    FocusHref = p.FocusHref;
    HitTitle = p.HitTitle;
    ExtentX = p.ExtentX;
    ExtentY = p.ExtentY;
    AnchorCount = p.AnchorCount;
    HitAnchorIndex = p.HitAnchorIndex;
    HitAnchorRect = p.HitAnchorRect;
    ControlRect = p.ControlRect;
    ControlID = p.ControlID;
    ControlValue = p.ControlValue;
    ControlType = p.ControlType;
    return result;
}
