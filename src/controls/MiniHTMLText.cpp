// The text routines of the mini-HTML unit: colours, entities, tags, highlighting and the values
// of in-text controls.

#include "controls/MiniHTML.h"

#include <array>
#include <climits>
#include <vector>

namespace {

TColor GHighlightColor = 0;
TColor GHighlightTextColor = 0;

struct TNamedColor {
    const char *Name;
    std::uint32_t Value;
};

// The plain colours are tried first and the system colours only when that gave 0, so
// "clblack" and an unknown name both come out as 0.
constexpr std::array<TNamedColor, 16> PlainColors{{
    {"clred", 0x0000FF}, {"clblack", 0x000000}, {"clblue", 0xFF0000}, {"clgreen", 0x008000},
    {"claqua", 0xFFFF00}, {"clyellow", 0x00FFFF}, {"clfuchsia", 0xFF00FF}, {"clwhite", 0xFFFFFF},
    {"cllime", 0x00FF00}, {"clsilver", 0xC0C0C0}, {"clgray", 0x808080}, {"clolive", 0x008080},
    {"clnavy", 0x800000}, {"clpurple", 0x800080}, {"clteal", 0x808000}, {"clmaroon", 0x000080},
}};

constexpr std::array<TNamedColor, 24> SystemColors{{
    {"clbackground", 0xFF000001}, {"clactivecaption", 0xFF000002}, {"clinactivecaption", 0xFF000003},
    {"clmenu", 0xFF000004}, {"clwindow", 0xFF000005}, {"clwindowframe", 0xFF000006},
    {"clmenutext", 0xFF000007}, {"clwindowtext", 0xFF000008}, {"clcaptiontext", 0xFF000009},
    {"clactiveborder", 0xFF00000A}, {"clinactiveborder", 0xFF00000B}, {"clappworkspace", 0xFF00000C},
    {"clhighlight", 0xFF00000D}, {"clhighlighttext", 0xFF00000E}, {"clbtnface", 0xFF00000F},
    {"clbtnshadow", 0xFF000010}, {"clgraytext", 0xFF000011}, {"clbtntext", 0xFF000012},
    {"clinactivecaptiontext", 0xFF000013}, {"clbtnhighlight", 0xFF000014}, {"cl3ddkshadow", 0xFF000015},
    {"cl3dlight", 0xFF000016}, {"clinfotext", 0xFF000017}, {"clinfobk", 0xFF000018},
}};

struct TAccent {
    char16_t Char;
    const char *Entity;
};

// Encoding walks this table in order; decoding matches the entities with their exact case.
constexpr std::array<TAccent, 55> Accents{{
    {u'é', "&eacute;"}, {u'è', "&egrave;"}, {u'ë', "&euml;"},   {u'ê', "&ecirc;"},  {u'ó', "&oacute;"},
    {u'ò', "&ograve;"}, {u'ö', "&ouml;"},   {u'ô', "&ocirc;"},  {u'í', "&iacute;"}, {u'ì', "&igrave;"},
    {u'ï', "&iuml;"},   {u'î', "&icirc;"},  {u'ú', "&uacute;"}, {u'ù', "&ugrave;"}, {u'ü', "&uuml;"},
    {u'û', "&ucirc;"},  {u'á', "&aacute;"}, {u'à', "&agrave;"}, {u'ä', "&auml;"},   {u'â', "&acirc;"},
    {u'É', "&Eacute;"}, {u'È', "&Egrave;"}, {u'Ë', "&Euml;"},   {u'Ê', "&Ecirc;"},  {u'Ó', "&Oacute;"},
    {u'Ò', "&Ograve;"}, {u'Ö', "&Ouml;"},   {u'Ô', "&Ocirc;"},  {u'Í', "&Iacute;"}, {u'Ì', "&Igrave;"},
    {u'Ï', "&Iuml;"},   {u'Î', "&Icirc;"},  {u'Ú', "&Uacute;"}, {u'Ù', "&Ugrave;"}, {u'Ü', "&Uuml;"},
    {u'Û', "&Ucirc;"},  {u'Á', "&Aacute;"}, {u'À', "&Agrave;"}, {u'Ä', "&Auml;"},   {u'Â', "&Acirc;"},
    {u'ç', "&ccedil;"}, {u'Ç', "&Ccedil;"}, {u'ø', "&oslash;"}, {u'Ø', "&Oslash;"}, {u'å', "&aring;"},
    {u'Å', "&Aring;"},  {u'©', "&copy;"},   {u'®', "&reg;"},    {u'€', "&euro;"},   {u'«', "&laquo;"},
    {u'»', "&raquo;"},  {u'ã', "&atilde;"}, {u'Ã', "&Atilde;"}, {u'õ', "&otilde;"}, {u'Õ', "&Otilde;"},
}};

QChar AsciiUpperChar(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'a' && u <= u'z') ? QChar(char16_t(u - 32)) : c;
}

// The value of an attribute in a control tag: the text between the first two double quotes after
// the name (found in the upper-cased tag); empty when the name or a quote is missing.
UnicodeString AttrValue(const UnicodeString &Tag, const UnicodeString &Upper, const QString &Name)
{
    const qsizetype at = Upper.indexOf(Name);
    if (at < 0)
        return {};
    const qsizetype q1 = Tag.indexOf(QLatin1Char('"'), at + Name.size());
    if (q1 < 0)
        return {};
    const qsizetype q2 = Tag.indexOf(QLatin1Char('"'), q1 + 1);
    if (q2 < 0)
        return {};
    return Tag.mid(q1 + 1, q2 - q1 - 1);
}

// One "<CONTROL " tag of a text: where it stands (0-based, end past its ">") and its parsed parts.
struct TControlTag {
    qsizetype Start = 0;
    qsizetype End = 0;
    UnicodeString Type, ID, Value, Width, Height, Prop, MaxLen;
};

std::vector<TControlTag> ControlTags(const UnicodeString &Text)
{
    std::vector<TControlTag> tags;
    const UnicodeString upper = AsciiUpper(Text);
    const QString key = QStringLiteral("<CONTROL ");
    qsizetype from = 0;
    while (true) {
        const qsizetype at = upper.indexOf(key, from);
        if (at < 0)
            break;
        qsizetype gt = Text.indexOf(QLatin1Char('>'), at);
        const qsizetype end = gt < 0 ? Text.size() : gt + 1;
        TControlTag t;
        t.Start = at;
        t.End = end;
        ParseControlTag(Text.mid(at, end - at), t.Type, t.ID, t.Value, t.Width, t.Height, t.Prop, t.MaxLen);
        tags.push_back(std::move(t));
        from = end;
    }
    return tags;
}

const TControlTag *FindControlTag(const std::vector<TControlTag> &Tags, const UnicodeString &ID)
{
    for (const TControlTag &t : Tags)
        if (t.ID == ID)
            return &t;
    return nullptr;
}

UnicodeString Quoted(const UnicodeString &S)
{
    return QLatin1Char('"') + S + QLatin1Char('"');
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Colours and numbers

TColor HtmlColorFromName(const UnicodeString &Name)
{
    for (const TNamedColor &c : PlainColors)
        if (Name == QLatin1String(c.Name))
            return TColorOf(c.Value);
    for (const TNamedColor &c : SystemColors)
        if (Name == QLatin1String(c.Name))
            return TColorOf(c.Value);
    return 0;
}

namespace {

int HexPairAt(QStringView Text, qsizetype At)
{
    if (At + 2 > Text.size())
        return 0;
    auto v = [](QChar c) { return c.unicode() < 65 ? int(c.unicode()) - 48 : int(c.unicode()) - 55; };
    // Only hex digits make sense here; anything else is kept inside a byte so that a stray
    // character cannot spill into the neighbouring colour channel.
    return (16 * v(Text[At]) + v(Text[At + 1])) & 0xFF;
}

} // namespace

TColor HtmlColorFromHex(const UnicodeString &Text)
{
    const int r = HexPairAt(Text, 1);
    const int g = HexPairAt(Text, 3);
    const int b = HexPairAt(Text, 5);
    return TColorOf(static_cast<std::uint32_t>(r + g * 256 + b * 65536));
}

int HexPairValue(const UnicodeString &Pair)
{
    return HexPairAt(Pair, 0);
}

int IntPrefixValue(QStringView Text)
{
    qsizetype i = 0;
    const qsizetype n = Text.size();
    while (i < n && Text[i] == QLatin1Char(' '))
        ++i;
    bool negative = false;
    if (i < n && (Text[i] == QLatin1Char('-') || Text[i] == QLatin1Char('+'))) {
        negative = Text[i] == QLatin1Char('-');
        ++i;
    }
    int base = 10;
    if (i < n && Text[i] == QLatin1Char('$')) {
        base = 16;
        ++i;
    } else if (i + 1 < n && Text[i] == QLatin1Char('0') && (Text[i + 1] == QLatin1Char('x') || Text[i + 1] == QLatin1Char('X'))) {
        base = 16;
        i += 2;
    }
    long long value = 0;
    for (; i < n; ++i) {
        const char16_t c = Text[i].unicode();
        int d;
        if (c >= u'0' && c <= u'9')
            d = c - u'0';
        else if (base == 16 && c >= u'a' && c <= u'f')
            d = c - u'a' + 10;
        else if (base == 16 && c >= u'A' && c <= u'F')
            d = c - u'A' + 10;
        else
            break;
        if (value <= (long long)INT_MAX + 1)
            value = value * base + d;
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

void SetHtmlHighlightColors(TColor Color, TColor TextColor)
{
    GHighlightColor = Color;
    GHighlightTextColor = TextColor;
}

TColor HtmlHighlightColor() { return GHighlightColor; }
TColor HtmlHighlightTextColor() { return GHighlightTextColor; }

// ---------------------------------------------------------------------------------------------
// Searching and replacing

UnicodeString AsciiUpper(const UnicodeString &S)
{
    UnicodeString r = S;
    for (QChar &c : r)
        c = AsciiUpperChar(c);
    return r;
}

int PosNoCase(const UnicodeString &Sub, const UnicodeString &S)
{
    if (Sub.isEmpty())
        return 0;
    const qsizetype n = Sub.size();
    for (qsizetype i = 0; i + n <= S.size(); ++i) {
        qsizetype k = 0;
        while (k < n && AsciiUpperChar(S[i + k]) == AsciiUpperChar(Sub[k]))
            ++k;
        if (k == n)
            return static_cast<int>(i + 1);
    }
    return 0;
}

int PosUpper(const UnicodeString &Sub, const UnicodeString &S, int &Pos)
{
    Pos = Sub.isEmpty() ? 0 : static_cast<int>(AsciiUpper(S).indexOf(Sub) + 1);
    return Pos;
}

bool ReplaceFirstNoCase(const UnicodeString &Old, const UnicodeString &New, UnicodeString &S)
{
    const int p = PosNoCase(Old, S);
    if (p == 0)
        return false;
    S.replace(p - 1, Old.size(), New);
    return true;
}

// ---------------------------------------------------------------------------------------------
// Entities

UnicodeString DecodeHtmlEntities(const UnicodeString &Text, bool AccentsOn)
{
    static const std::array<TAccent, 4> Basic{{{u'<', "&lt;"}, {u'>', "&gt;"}, {u'&', "&amp;"}, {u'"', "&quot;"}}};
    UnicodeString r;
    r.reserve(Text.size());
    qsizetype i = 0;
    const qsizetype n = Text.size();
    while (i < n) {
        if (Text[i] != QLatin1Char('&')) {
            r += Text[i++];
            continue;
        }
        const QStringView rest = QStringView(Text).mid(i);
        bool done = false;
        auto tryOne = [&](const TAccent &e) {
            const QLatin1String ent(e.Entity);
            if (rest.startsWith(ent)) {
                r += QChar(e.Char);
                i += ent.size();
                done = true;
            }
        };
        for (const TAccent &e : Basic)
            if (!done)
                tryOne(e);
        if (AccentsOn)
            for (const TAccent &e : Accents)
                if (!done)
                    tryOne(e);
        if (!done)
            r += Text[i++];
    }
    return r;
}

UnicodeString EncodeHtmlEntities(const UnicodeString &Text, bool AccentsOn)
{
    UnicodeString r;
    r.reserve(Text.size());
    for (QChar c : Text) {
        switch (c.unicode()) {
        case u'&': r += QLatin1String("&amp;"); continue;
        case u'"': r += QLatin1String("&quot;"); continue;
        case u'<': r += QLatin1String("&lt;"); continue;
        case u'>': r += QLatin1String("&gt;"); continue;
        default: break;
        }
        bool done = false;
        if (AccentsOn)
            for (const TAccent &e : Accents)
                if (c.unicode() == e.Char) {
                    r += QLatin1String(e.Entity);
                    done = true;
                    break;
                }
        if (!done)
            r += c;
    }
    return r;
}

UnicodeString SpacesToNbsp(const UnicodeString &Text)
{
    UnicodeString r = Text;
    return r.replace(QLatin1Char(' '), QLatin1String("&nbsp;"));
}

// ---------------------------------------------------------------------------------------------
// Tags

UnicodeString StripHtmlTags(const UnicodeString &Text)
{
    UnicodeString s = Text;
    s.replace(QLatin1String("<BR>"), QLatin1String("\r\n"), Qt::CaseInsensitive);
    s.replace(QLatin1String("<HR>"), QLatin1String("\r\n"), Qt::CaseInsensitive);
    UnicodeString r;
    r.reserve(s.size());
    qsizetype from = 0;
    while (true) {
        const qsizetype lt = s.indexOf(QLatin1Char('<'), from);
        if (lt < 0) {
            r += QStringView(s).mid(from);
            break;
        }
        r += QStringView(s).mid(from, lt - from);
        const qsizetype gt = s.indexOf(QLatin1Char('>'), lt);
        if (gt < 0) {
            r += QStringView(s).mid(lt);
            break;
        }
        from = gt + 1;
    }
    return r;
}

UnicodeString RemoveTags(const UnicodeString &Text)
{
    UnicodeString r;
    r.reserve(Text.size());
    qsizetype from = 0;
    while (true) {
        const qsizetype lt = Text.indexOf(QLatin1Char('<'), from);
        const qsizetype gt = Text.indexOf(QLatin1Char('>'), from);
        if (lt < 0 || gt < lt)
            break;
        r += QStringView(Text).mid(from, lt - from);
        from = gt + 1;
    }
    r += QStringView(Text).mid(from);
    return r;
}

int VisibleToRawIndex(const UnicodeString &Text, int N)
{
    if (N < 1)
        return 0;
    if (N == 1)
        return 1;
    int visible = 0;
    bool inTag = false;
    qsizetype lastVisible = -1;
    for (qsizetype i = 0; i < Text.size(); ++i) {
        const QChar c = Text[i];
        if (inTag) {
            if (c == QLatin1Char('>'))
                inTag = false;
            continue;
        }
        if (c == QLatin1Char('<')) {
            inTag = true;
            continue;
        }
        ++visible;
        lastVisible = i;
        if (visible == N - 1)
            break;
    }
    if (visible < N - 1)
        return 0;
    // The insertion point after the last visible character is the end of the text, behind any
    // closing tags, so a highlight at the end encloses the tags that end there.
    bool moreVisible = false;
    inTag = false;
    for (qsizetype i = lastVisible + 1; i < Text.size() && !moreVisible; ++i) {
        const QChar c = Text[i];
        if (inTag)
            inTag = c != QLatin1Char('>');
        else if (c == QLatin1Char('<'))
            inTag = true;
        else
            moreVisible = true;
    }
    if (!moreVisible)
        return static_cast<int>(Text.size() + 1);
    return static_cast<int>(lastVisible + 2);
}

int FindTextFrom(const UnicodeString &Sub, const UnicodeString &S, int Offset, bool CaseSensitive, int &Pos)
{
    Pos = 0;
    if (Sub.isEmpty() || Offset < 0 || Offset > S.size())
        return 0;
    // Case folding character by character keeps positions the same in both texts.
    const qsizetype at = S.indexOf(Sub, Offset, CaseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive);
    if (at < 0)
        return 0;
    Pos = static_cast<int>(at + 1);
    return Pos;
}

namespace {

// The raw position of the N-th visible character itself, so that a highlight opens after the tags
// that close what came before it (an opening tag placed before them would nest into the
// previous highlight).
int RawIndexOfVisible(const UnicodeString &Text, int N)
{
    int visible = 0;
    bool inTag = false;
    for (qsizetype i = 0; i < Text.size(); ++i) {
        const QChar c = Text[i];
        if (inTag) {
            inTag = c != QLatin1Char('>');
            continue;
        }
        if (c == QLatin1Char('<')) {
            inTag = true;
            continue;
        }
        if (++visible == N)
            return static_cast<int>(i + 1);
    }
    return 0;
}

} // namespace

void HighlightMatches(const UnicodeString &Text, const UnicodeString &Search, const UnicodeString &Tag,
                      bool CaseSensitive, UnicodeString &Result)
{
    UnicodeString text = Text;
    UnicodeString search = Search;
    UnicodeString visible = RemoveTags(text);
    if (text.contains(search) && (visible.contains(QLatin1Char('<')) || visible.contains(QLatin1Char('>')))) {
        auto escape = [](UnicodeString s) {
            s.replace(QLatin1Char('<'), QLatin1String("&lt;"));
            s.replace(QLatin1Char('>'), QLatin1String("&gt;"));
            return s;
        };
        visible = escape(visible);
        text = visible;
        search = escape(search);
    }
    const UnicodeString open = QLatin1Char('<') + Tag + QLatin1Char('>');
    const UnicodeString close = QLatin1String("</") + Tag + QLatin1Char('>');
    int offset = 0;
    int p = 0;
    while (!search.isEmpty() && FindTextFrom(search, visible, offset, CaseSensitive, p) > 0) {
        const int start = RawIndexOfVisible(text, p);
        if (start == 0)
            break;
        text.insert(start - 1, open);
        offset = p + static_cast<int>(search.size()) - 1;
        const int end = VisibleToRawIndex(text, offset + 1);
        if (end == 0)
            break;
        text.insert(end - 1, close);
    }
    Result = text;
}

UnicodeString RemoveHighlightTags(const UnicodeString &Text, const UnicodeString &Tag)
{
    UnicodeString r = Text;
    r.remove(QLatin1Char('<') + Tag + QLatin1Char('>'), Qt::CaseInsensitive);
    r.remove(QLatin1String("</") + Tag + QLatin1Char('>'), Qt::CaseInsensitive);
    r.replace(QLatin1String("&lt;"), QLatin1String("<"));
    r.replace(QLatin1String("&gt;"), QLatin1String(">"));
    return r;
}

UnicodeString UnwrapHashTags(const UnicodeString &Text)
{
    bool hashTag = false;
    for (qsizetype i = Text.indexOf(QLatin1Char('<')); i >= 0 && !hashTag; i = Text.indexOf(QLatin1Char('<'), i + 1))
        hashTag = i + 1 < Text.size() && Text[i + 1] == QLatin1Char('#');
    if (!hashTag)
        return Text;
    // Each "<#" takes the first ">" after it that no earlier "<#" took.
    UnicodeString r;
    r.reserve(Text.size());
    int pending = 0;
    for (qsizetype i = 0; i < Text.size(); ++i) {
        const QChar c = Text[i];
        if (c == QLatin1Char('<') && i + 1 < Text.size() && Text[i + 1] == QLatin1Char('#')) {
            ++pending;
            continue;
        }
        if (c == QLatin1Char('>') && pending > 0) {
            --pending;
            continue;
        }
        r += c;
    }
    return r;
}

UnicodeString LineBreaksToBR(const UnicodeString &Text, bool Break)
{
    if (!Text.contains(QLatin1Char('\r')) && !Text.contains(QLatin1Char('\n')))
        return Text;
    UnicodeString r;
    r.reserve(Text.size());
    for (QChar c : Text) {
        if (c == QLatin1Char('\r')) {
            if (Break)
                r += QLatin1String("<BR>");
        } else if (c != QLatin1Char('\n')) {
            r += c;
        }
    }
    return r;
}

UnicodeString PasswordMask(const UnicodeString &Text)
{
    return UnicodeString(Text.size(), QLatin1Char('*'));
}

// ---------------------------------------------------------------------------------------------
// In-text controls

void ParseControlTag(const UnicodeString &TagText, UnicodeString &Type, UnicodeString &ID, UnicodeString &Value,
                     UnicodeString &Width, UnicodeString &Height, UnicodeString &Prop, UnicodeString &MaxLen)
{
    const UnicodeString upper = AsciiUpper(TagText);
    Type = AsciiUpper(AttrValue(TagText, upper, QStringLiteral("TYPE=")));
    ID = AttrValue(TagText, upper, QStringLiteral("ID="));
    Value = DecodeHtmlEntities(AttrValue(TagText, upper, QStringLiteral("VALUE=")), true);
    Width = AttrValue(TagText, upper, QStringLiteral("WIDTH="));
    Height = AttrValue(TagText, upper, QStringLiteral("HEIGHT="));
    Prop = DecodeHtmlEntities(AttrValue(TagText, upper, QStringLiteral("PROP=")), true);
    MaxLen = AttrValue(TagText, upper, QStringLiteral("MAXLEN="));
}

bool HasControlTag(const UnicodeString &Text)
{
    return AsciiUpper(Text).contains(QLatin1String("<CONTROL"));
}

UnicodeString NextEditControlID(const UnicodeString &Text, const UnicodeString &ID)
{
    bool passed = ID.isEmpty();
    for (const TControlTag &t : ControlTags(Text)) {
        if (!passed) {
            passed = t.ID == ID;
            continue;
        }
        if (t.ID == ID)
            continue;
        if (t.Type != QLatin1String("BUTTON") && t.Type != QLatin1String("CHECK") && t.Type != QLatin1String("RADIO"))
            return t.ID;
    }
    return {};
}

UnicodeString ResetRadioControls(const UnicodeString &Text)
{
    UnicodeString r = Text;
    for (const TControlTag &t : ControlTags(Text))
        if (t.Type == QLatin1String("RADIO"))
            SetControlValue(r, t.ID, QStringLiteral("FALSE"));
    return r;
}

bool GetControlValue(const UnicodeString &Text, const UnicodeString &ID, UnicodeString &Value)
{
    const auto tags = ControlTags(Text);
    const TControlTag *t = FindControlTag(tags, ID);
    if (!t)
        return false;
    Value = t->Value;
    return true;
}

UnicodeString GetControlProp(const UnicodeString &Text, const UnicodeString &ID)
{
    const auto tags = ControlTags(Text);
    const TControlTag *t = FindControlTag(tags, ID);
    return t ? t->Prop : UnicodeString();
}

int GetControlMaxLen(const UnicodeString &Text, const UnicodeString &ID)
{
    const auto tags = ControlTags(Text);
    const TControlTag *t = FindControlTag(tags, ID);
    return t && !t->MaxLen.isEmpty() ? IntPrefixValue(t->MaxLen) : 0;
}

bool SetControlValue(UnicodeString &Text, const UnicodeString &ID, const UnicodeString &NewValue)
{
    const auto tags = ControlTags(Text);
    const TControlTag *t = FindControlTag(tags, ID);
    if (!t)
        return false;
    UnicodeString tag = QStringLiteral("<CONTROL ID=") + Quoted(t->ID) + QStringLiteral(" VALUE=") +
                        Quoted(EncodeHtmlEntities(NewValue, true)) + QStringLiteral(" WIDTH=") + Quoted(t->Width) +
                        QStringLiteral(" TYPE=") + Quoted(t->Type);
    if (!t->Prop.isEmpty())
        tag += QStringLiteral(" PROP=") + Quoted(EncodeHtmlEntities(t->Prop, true));
    if (!t->MaxLen.isEmpty())
        tag += QStringLiteral(" MAXLEN=") + Quoted(t->MaxLen);
    if (!t->Height.isEmpty())
        tag += QStringLiteral(" HEIGHT=") + Quoted(t->Height);
    tag += QLatin1Char('>');
    Text.replace(t->Start, t->End - t->Start, tag);
    return true;
}
