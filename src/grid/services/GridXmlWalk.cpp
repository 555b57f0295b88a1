// The walk of an XML document for the string grid's XML import.
#include "grid/services/GridXmlWalk.h"

#include "platform/FileUtils.h"
#include "platform/XMLDoc.h"

#include <vector>

namespace {

const QLatin1StringView DollarAmp("$amp;");

// Characters outside XML 1.0's Char production, which not even a character reference may name.
bool IsXmlForbidden(QChar Ch, bool Paired)
{
    const char16_t c = Ch.unicode();
    if (c < 0x20)
        return c != u'\t' && c != u'\n' && c != u'\r';
    return c == 0xFFFE || c == 0xFFFF || (Ch.isSurrogate() && !Paired);
}

// At Text[i] == '$': the length of a "$#" form (with its code in Code) that the writer makes, or 0.
qsizetype DollarForm(const UnicodeString &Text, qsizetype i, char16_t &Code)
{
    if (i + 1 >= Text.size() || Text[i + 1] != u'#')
        return 0;
    qsizetype j = i + 2;
    uint v = 0;
    while (j < Text.size() && j - i < 8 && Text[j].isDigit() && Text[j].unicode() < 0x80)
        v = v * 10 + uint(Text[j++].unicode() - u'0');
    if (j == i + 2 || j >= Text.size() || Text[j] != u';' || v > 0xFFFF)
        return 0;
    if (v != u'$' && !IsXmlForbidden(QChar(char16_t(v)), false))
        return 0;
    Code = char16_t(v);
    return j + 1 - i;
}

} // namespace

UnicodeString EscapeGridXmlField(const UnicodeString &Text)
{
    UnicodeString r;
    r.reserve(Text.size());
    for (qsizetype i = 0; i < Text.size(); ++i) {
        const QChar ch = Text[i];
        const bool paired = (ch.isHighSurrogate() && i + 1 < Text.size() && Text[i + 1].isLowSurrogate()) ||
                            (ch.isLowSurrogate() && i > 0 && Text[i - 1].isHighSurrogate());
        char16_t code = 0;
        if (IsXmlForbidden(ch, paired)) {
            r += QStringLiteral("$#%1;").arg(uint(ch.unicode()));
            continue;
        }
        switch (ch.unicode()) {
        case u'&': r += DollarAmp; break;
        case u'>': r += QLatin1StringView("&gt;"); break;
        case u'<': r += QLatin1StringView("&lt;"); break;
        case u'"': r += QLatin1StringView("&quot;"); break;
        case u'\r': r += QLatin1StringView("&#13;"); break;
        case u'$':
            r += QStringView(Text).mid(i).startsWith(DollarAmp) || DollarForm(Text, i, code) ? QStringLiteral("$#36;")
                                                                                               : QStringLiteral("$");
            break;
        default: r += ch;
        }
    }
    return r;
}

UnicodeString UnescapeGridXmlField(const UnicodeString &Text)
{
    UnicodeString r;
    r.reserve(Text.size());
    for (qsizetype i = 0; i < Text.size(); ++i) {
        char16_t code = 0;
        if (Text[i] != u'$') {
            r += Text[i];
        } else if (QStringView(Text).mid(i).startsWith(DollarAmp)) {
            r += u'&';
            i += DollarAmp.size() - 1;
        } else if (const qsizetype n = DollarForm(Text, i, code)) {
            r += QChar(code);
            i += n - 1;
        } else {
            r += u'$';
        }
    }
    r.replace(QLatin1StringView("&gt;"), QLatin1StringView(">"));
    r.replace(QLatin1StringView("&lt;"), QLatin1StringView("<"));
    r.replace(QLatin1StringView("&quot;"), QLatin1StringView("\""));
    return r;
}

namespace {

// An element's text as the DOM's text property gives it: the text of all its descendants.
UnicodeString DescendantText(const TXMLNode &Node)
{
    UnicodeString r;
    std::vector<TXMLNode> stack{Node};
    while (!stack.empty()) {
        const TXMLNode n = stack.back();
        stack.pop_back();
        if (n->NodeType() == ntText || n->NodeType() == ntCData) {
            r += n->NodeValue();
            continue;
        }
        if (n->NodeType() != ntElement)
            continue;
        // Children pushed last first, so that they come off in document order.
        for (TXMLNode k = n->ChildNodes()->Last(); k; k = k->PreviousSibling())
            stack.push_back(k);
    }
    return r;
}

} // namespace

void WalkGridXml(const UnicodeString &FileName, bool LevelToRow, bool LoadFieldDescr, bool QuoteEmptyCells,
                 TGridXmlSink &Sink)
{
    if (!FileExists(FileName))
        throw Exception(QStringLiteral("XML file not found"));
    std::unique_ptr<TXMLDocument> doc = NewXMLDocument();
    if (!doc)
        throw Exception(QStringLiteral("XMLDOM server component not found"));
    try {
        doc->LoadFromFile(FileName);
    } catch (const EDOMParseError &e) {
        throw Exception(QStringLiteral("XMLDOM Parsing error %1 on line %2").arg(e.ErrorCode()).arg(e.Line()));
    }

    int row = 0, col = 0, level = 1;
    auto store = [&](const UnicodeString &Name, const UnicodeString &Value, bool NameWanted) {
        Sink.Store(col, row, Name, Value, NameWanted);
        ++col;
    };

    // A stack of our own rather than recursion: no nesting depth can exhaust the program's.
    const TXMLNodeList top = doc->DocumentElement()->ChildNodes();
    std::vector<TXMLNode> stack, kids;
    int q = 0;
    for (TXMLNode child = top->First(); child; child = child->NextSibling()) {
        if (child->NodeType() == ntText && child->NodeValue().trimmed().isEmpty())
            continue;
        col = 0;
        level = 1;
        if (LevelToRow && q == 0 && (child->NodeType() != ntElement || child->AttributeNodes().empty()))
            row = -1;
        stack.assign(1, child);
        while (!stack.empty()) {
            const TXMLNode n = stack.back();
            stack.pop_back();
            const bool element = n->NodeType() == ntElement;
            bool newRow = false;
            if (element) {
                const std::vector<TXMLAttribute> attrs = n->AttributeNodes();
                for (const TXMLAttribute &a : attrs)
                    store(a.Name, UnescapeGridXmlField(a.Value), true);
                if (LevelToRow && !attrs.empty()) {
                    ++row;
                    col = level;
                    newRow = true;
                }
            }
            // Blanks alone are no node, however the element holds them.
            kids.clear();
            if (element)
                for (TXMLNode k = n->ChildNodes()->First(); k; k = k->NextSibling())
                    if (k->NodeType() != ntText || !k->NodeValue().trimmed().isEmpty())
                        kids.push_back(k);
            const size_t count = kids.size();
            if (count > 1) {
                if (LevelToRow && !newRow) {
                    ++row;
                    col = 0;
                }
                ++level;
                stack.insert(stack.end(), kids.rbegin(), kids.rend());
            } else if (count == 1) {
                UnicodeString value = UnescapeGridXmlField(DescendantText(n));
                if (QuoteEmptyCells && value == QLatin1StringView("\"\""))
                    value.clear();
                store(n->NodeName(), value, LoadFieldDescr);
            } else {
                Sink.StoreEmpty(col, row);
                ++col;
            }
        }
        if (!LevelToRow)
            ++row;
        ++q;
    }
}
