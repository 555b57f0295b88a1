// The walk of an XML document for the string grid's XML import.
#include "grid/services/GridXmlWalk.h"

#include "platform/FileUtils.h"
#include "platform/XMLDoc.h"

#include <vector>

UnicodeString UnescapeGridXmlField(UnicodeString Text)
{
    Text.replace(QLatin1StringView("$amp;"), QLatin1StringView("&"));
    Text.replace(QLatin1StringView("&gt;"), QLatin1StringView(">"));
    Text.replace(QLatin1StringView("&lt;"), QLatin1StringView("<"));
    Text.replace(QLatin1StringView("&quot;"), QLatin1StringView("\""));
    return Text;
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
