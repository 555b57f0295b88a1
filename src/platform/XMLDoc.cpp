#include "platform/XMLDoc.h"

#include "platform/Encoding.h"
#include "platform/FileUtils.h"

#include <pugixml.hpp>

#include <QRegularExpression>
#include <QStringDecoder>
#include <algorithm>
#include <cstring>
#include <string_view>
#include <unordered_map>

using XmlDom::TNodeType;

// One tree. Nodes made by CreateNode and nodes removed from their parent wait in a hidden
// holder element at document level, so that every handle stays valid until the tree dies:
// pugixml frees a removed node at once, and the system's code may still hold it.
//
// The system walks children by index (Count, then Nodes(i)), while the tree only links
// siblings: the visible children of a parent are listed once and kept until that parent's
// children change, so that such a walk stays linear.
struct TXMLDocState {
    pugi::xml_document Doc;
    pugi::xml_node Holder;
    TXMLDocOptions Options;
    std::unordered_map<pugi::xml_node_struct *, std::vector<pugi::xml_node>> ChildLists;
    pugi::xml_node_struct *LastParent = nullptr;
    std::vector<pugi::xml_node> *LastList = nullptr;

    explicit TXMLDocState(const TXMLDocOptions &options) : Options(options) { AddHolder(); }
    void AddHolder() { Holder = Doc.append_child(pugi::node_element); }
    bool IsHolder(const pugi::xml_node &n) const { return n == Holder; }
    // Detaches a node while keeping it alive.
    void Park(const pugi::xml_node &n)
    {
        Changed(n.parent());
        Holder.append_move(n);
    }

    // The visible children of a node: the holder never shows.
    const std::vector<pugi::xml_node> &Children(const pugi::xml_node &parent)
    {
        // A walk asks for the same parent again and again.
        if (LastParent == parent.internal_object() && LastParent)
            return *LastList;
        auto [it, made] = ChildLists.try_emplace(parent.internal_object());
        if (made) {
            for (pugi::xml_node c = parent.first_child(); c; c = c.next_sibling())
                if (!IsHolder(c))
                    it->second.push_back(c);
        }
        LastParent = parent.internal_object();
        LastList = &it->second;
        return it->second;
    }
    // The children of parent changed in any way.
    void Changed(const pugi::xml_node &parent)
    {
        if (LastParent == parent.internal_object())
            LastParent = nullptr;
        ChildLists.erase(parent.internal_object());
    }
    // Child was added as the last visible child of parent.
    void Appended(const pugi::xml_node &parent, const pugi::xml_node &child)
    {
        if (const auto it = ChildLists.find(parent.internal_object()); it != ChildLists.end())
            it->second.push_back(child);
    }
};

namespace {

// Whitespace between elements is indentation and no node, but an element whose only content
// is blanks keeps them: values are stored as typed.
constexpr unsigned ParseFlags = pugi::parse_cdata | pugi::parse_escapes | pugi::parse_eol | pugi::parse_comments |
                                pugi::parse_declaration | pugi::parse_pi | pugi::parse_wconv_attribute |
                                pugi::parse_ws_pcdata_single;

pugi::xml_node NodeOf(pugi::xml_node_struct *n)
{
    return pugi::xml_node(n);
}

std::string Utf8(const UnicodeString &s)
{
    return s.toStdString();
}

// A name for a lookup, made without the heap when it is short ASCII, as attribute names are:
// readers ask for one per row.
class TLookupName {
public:
    explicit TLookupName(const UnicodeString &s)
    {
        const qsizetype n = s.size();
        if (n < qsizetype(sizeof(FShort))) {
            const char16_t *p = reinterpret_cast<const char16_t *>(s.constData());
            qsizetype i = 0;
            for (; i < n && p[i] != 0 && p[i] < 0x80; ++i)
                FShort[i] = static_cast<char>(p[i]);
            if (i == n) {
                FShort[n] = '\0';
                FText = FShort;
                return;
            }
        }
        FLong = Utf8(s);
        FText = FLong.c_str();
    }
    TLookupName(const TLookupName &) = delete;
    TLookupName &operator=(const TLookupName &) = delete;
    const char *c_str() const { return FText; }

private:
    char FShort[64];
    std::string FLong;
    const char *FText = nullptr;
};

// QString::fromUtf8 drops a leading U+FEFF as a byte-order mark; in a name, a value or a text
// it is a character of its own.
UnicodeString Str(const char *s)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::ConvertInitialBom);
    return utf8(QByteArrayView(s));
}

[[noreturn]] void Fail(const UnicodeString &msg)
{
    throw EXMLDocError(msg);
}

bool IsNameStart(QChar c)
{
    return c.isLetter() || c == u'_' || c == u':' || c.unicode() >= 0x80;
}

// Names the writer could not read back are refused when they are made, not when the file is
// read the next time.
void CheckName(const UnicodeString &name, const char *what)
{
    bool ok = !name.isEmpty() && IsNameStart(name[0]);
    for (qsizetype i = 1; ok && i < name.size(); ++i) {
        const QChar c = name[i];
        ok = IsNameStart(c) || c.isDigit() || c == u'-' || c == u'.';
    }
    if (!ok)
        Fail(QStringLiteral("Invalid %1 name \"%2\"").arg(QLatin1String(what), name));
}

void CheckComment(const UnicodeString &text)
{
    if (text.contains(QLatin1String("--")) || text.endsWith(u'-'))
        Fail(QStringLiteral("A comment may not contain \"--\" or end with \"-\": \"%1\"").arg(text));
}

TNodeType TypeOf(const pugi::xml_node &n)
{
    switch (n.type()) {
    case pugi::node_element: return TNodeType::ntElement;
    case pugi::node_pcdata: return TNodeType::ntText;
    case pugi::node_cdata: return TNodeType::ntCData;
    case pugi::node_comment: return TNodeType::ntComment;
    case pugi::node_pi:
    case pugi::node_declaration: return TNodeType::ntProcessingInstr;
    case pugi::node_doctype: return TNodeType::ntDocType;
    case pugi::node_document: return TNodeType::ntDocument;
    case pugi::node_null: break;
    }
    return TNodeType::ntReserved;
}

bool IsText(const pugi::xml_node &n)
{
    return n.type() == pugi::node_pcdata || n.type() == pugi::node_cdata;
}

pugi::xml_node RootElement(const TXMLDocState &state)
{
    for (pugi::xml_node c = state.Doc.first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_element && !state.IsHolder(c))
            return c;
    return pugi::xml_node();
}

struct TStringWriter : pugi::xml_writer {
    std::string Out;
    void write(const void *data, size_t size) override { Out.append(static_cast<const char *>(data), size); }
};

// pugixml writes a CR in text as it is, which the parser's end-of-line rule reads back as LF;
// a text's CR (it came from "&#13;") is written as that reference again. Attribute values are
// escaped already, and comments, CDATA and processing instructions hold no CR once parsed, so
// only the text between markup is touched.
std::string EscapeTextCR(const std::string &s)
{
    if (s.find('\r') == std::string::npos)
        return s;
    std::string out;
    out.reserve(s.size() + 32);
    size_t i = 0;
    while (i < s.size()) {
        if (s[i] == '\r') {
            out += "&#13;";
            ++i;
        } else if (s[i] == '<') {
            const char *close = s.compare(i, 4, "<!--") == 0 ? "-->" : s.compare(i, 9, "<![CDATA[") == 0 ? "]]>" : s.compare(i, 2, "<?") == 0 ? "?>" : ">";
            const size_t end = s.find(close, i + 1);
            const size_t stop = end == std::string::npos ? s.size() : end + std::strlen(close);
            out.append(s, i, stop - i);
            i = stop;
        } else {
            out += s[i++];
        }
    }
    return out;
}

std::string Print(const pugi::xml_node &n, bool indent)
{
    TStringWriter w;
    n.print(w, "  ", indent ? pugi::format_indent : pugi::format_raw);
    return EscapeTextCR(w.Out);
}

// Line and column (from 1, counted in characters) of a byte offset in UTF-8 text.
std::pair<int, int> LineColumn(const QByteArray &utf8, qsizetype offset)
{
    int line = 1, column = 1;
    offset = std::clamp<qsizetype>(offset, 0, utf8.size());
    for (qsizetype i = 0; i < offset; ++i) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        if (b == '\n') {
            ++line;
            column = 1;
        } else if ((b & 0xC0) != 0x80) {
            ++column;
        }
    }
    return {line, column};
}

[[noreturn]] void ParseFail(TXMLParseErrorCode code, const UnicodeString &reason, const QByteArray &utf8, qsizetype offset,
                            const UnicodeString &source)
{
    const auto [line, column] = LineColumn(utf8, offset);
    UnicodeString msg = QStringLiteral("%1 at line %2, column %3 (offset %4)").arg(reason).arg(line).arg(column).arg(offset);
    if (!source.isEmpty())
        msg += QStringLiteral(" in \"%1\"").arg(source);
    throw EDOMParseError(msg, int(code), line);
}

// Offset of the first byte that does not belong to valid UTF-8, -1 when all is valid.
qsizetype InvalidUtf8At(const QByteArray &b)
{
    qsizetype i = 0;
    while (i < b.size()) {
        const auto c = static_cast<unsigned char>(b[i]);
        int extra = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 && c >= 0xC2 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 && c <= 0xF4 ? 3 : -1;
        if (extra < 0 || i + extra >= b.size() + (extra == 0 ? 1 : 0))
            return i;
        for (int k = 1; k <= extra; ++k)
            if ((static_cast<unsigned char>(b[i + k]) & 0xC0) != 0x80)
                return i;
        i += extra + 1;
    }
    return -1;
}

// Turns the bytes of a file into UTF-8 for the parser: byte-order marks first, then the
// encoding the declaration names, and text without either is UTF-8 as the standard says
// (ANSI text that is no valid UTF-8 is taken as what an earlier writer meant).
QByteArray ToUtf8(const QByteArray &bytes, const UnicodeString &source)
{
    TEncoding *enc = nullptr;
    const int bom = TEncoding::GetBufferEncoding(bytes, enc);
    if (bom > 0 && enc != TEncoding::UTF8())
        return enc->GetString(bytes.mid(bom)).toUtf8();
    if (bom > 0) {
        const QByteArray text = bytes.mid(bom);
        if (const qsizetype bad = InvalidUtf8At(text); bad >= 0)
            ParseFail(xpeInvalidByte, QStringLiteral("Invalid byte for the encoding \"utf-8\""), text, bad, source);
        return text;
    }
    if (bytes.size() >= 2 && bytes[0] == '<' && bytes[1] == '\0')
        return TEncoding::Unicode()->GetString(bytes).toUtf8();
    if (bytes.size() >= 2 && bytes[0] == '\0' && bytes[1] == '<')
        return TEncoding::BigEndianUnicode()->GetString(bytes).toUtf8();

    UnicodeString declared;
    if (bytes.startsWith("<?xml")) {
        // The declaration's attributes one after the other, as the parser reads them: a name
        // or a value that merely contains "encoding=" must not choose the code page, or the
        // text would be decoded in one and declared in another when saved.
        const qsizetype end = bytes.indexOf("?>");
        const QString decl = QString::fromLatin1(bytes.left(end < 0 ? 256 : end));
        static const QRegularExpression attr(QStringLiteral("\\s+([^\\s=]+)\\s*=\\s*(?:\"([^\"]*)\"|'([^']*)')"));
        qsizetype pos = 5;
        for (;;) {
            const auto m = attr.match(decl, pos, QRegularExpression::NormalMatch, QRegularExpression::AnchorAtOffsetMatchOption);
            if (!m.hasMatch())
                break;
            if (m.captured(1) == QLatin1String("encoding")) {
                declared = (m.capturedStart(2) >= 0 ? m.captured(2) : m.captured(3)).trimmed().toLower();
                break;
            }
            pos = m.capturedEnd();
        }
    }
    if (declared == QLatin1String("windows-1252") || declared == QLatin1String("cp1252") || declared == QLatin1String("x-cp1252"))
        return TEncoding::ANSI()->GetString(bytes).toUtf8();
    if (declared == QLatin1String("iso-8859-1") || declared == QLatin1String("iso_8859-1") || declared == QLatin1String("latin1")
        || declared == QLatin1String("latin-1") || declared == QLatin1String("l1"))
        return TEncoding::Latin1()->GetString(bytes).toUtf8();
    const qsizetype bad = InvalidUtf8At(bytes);
    if (declared.isEmpty())
        return bad < 0 ? bytes : TEncoding::ANSI()->GetString(bytes).toUtf8();
    // A UTF-16 declaration on single-byte text is what writers do that save a string: the
    // text is what counts. ASCII is a part of UTF-8.
    if (declared == QLatin1String("utf-8") || declared == QLatin1String("utf8") || declared == QLatin1String("utf-16")
        || declared == QLatin1String("us-ascii") || declared == QLatin1String("ascii")) {
        if (bad >= 0)
            ParseFail(xpeInvalidByte, QStringLiteral("Invalid byte for the encoding \"%1\"").arg(declared), bytes, bad, source);
        return bytes;
    }
    ParseFail(xpeUnsupportedEncoding, QStringLiteral("Unsupported encoding \"%1\"").arg(declared), bytes, 0, source);
}

const char *Description(const pugi::xml_parse_result &r)
{
    return r.description();
}

TXMLParseErrorCode ErrorCode(const pugi::xml_parse_result &r)
{
    switch (r.status) {
    case pugi::status_unrecognized_tag: return xpeUnrecognizedTag;
    case pugi::status_bad_pi: return xpeBadProcessingInstr;
    case pugi::status_bad_comment: return xpeBadComment;
    case pugi::status_bad_cdata: return xpeBadCData;
    case pugi::status_bad_doctype: return xpeBadDocType;
    case pugi::status_bad_pcdata: return xpeBadText;
    case pugi::status_bad_start_element: return xpeBadStartTag;
    case pugi::status_bad_attribute: return xpeBadAttribute;
    case pugi::status_bad_end_element: return xpeBadEndTag;
    case pugi::status_end_element_mismatch: return xpeTagMismatch;
    case pugi::status_no_document_element: return xpeNoRoot;
    default: return xpeInternal;
    }
}

} // namespace

// ---------------------------------------------------------------------------------------------
// TXMLNode

void TXMLNode::Check() const
{
    if (!FNode)
        Fail(QStringLiteral("The node does not exist"));
}

TNodeType TXMLNode::NodeType() const
{
    Check();
    return TypeOf(NodeOf(FNode));
}

UnicodeString TXMLNode::NodeName() const
{
    Check();
    const pugi::xml_node n = NodeOf(FNode);
    switch (n.type()) {
    case pugi::node_element:
    case pugi::node_pi: return Str(n.name());
    case pugi::node_declaration: return QStringLiteral("xml");
    case pugi::node_pcdata: return QStringLiteral("#text");
    case pugi::node_cdata: return QStringLiteral("#cdata-section");
    case pugi::node_comment: return QStringLiteral("#comment");
    case pugi::node_document: return QStringLiteral("#document");
    default: return Str(n.name());
    }
}

UnicodeString TXMLNode::NodeValue() const
{
    Check();
    const pugi::xml_node n = NodeOf(FNode);
    if (n.type() == pugi::node_element)
        return Text();
    if (n.type() == pugi::node_declaration) {
        UnicodeString v;
        for (const pugi::xml_attribute a : n.attributes())
            v += QStringLiteral("%1%2=\"%3\"").arg(v.isEmpty() ? QString() : QStringLiteral(" "), Str(a.name()), Str(a.value()));
        return v;
    }
    return Str(n.value());
}

void TXMLNode::SetNodeValue(const UnicodeString &Value) const
{
    Check();
    pugi::xml_node n = NodeOf(FNode);
    switch (n.type()) {
    case pugi::node_element: SetText(Value); return;
    case pugi::node_comment: CheckComment(Value); [[fallthrough]];
    case pugi::node_pcdata:
    case pugi::node_cdata:
    case pugi::node_pi: n.set_value(Utf8(Value).c_str()); return;
    default: Fail(QStringLiteral("The value of node \"%1\" cannot be set").arg(NodeName()));
    }
}

UnicodeString TXMLNode::Text() const
{
    Check();
    const pugi::xml_node n = NodeOf(FNode);
    if (n.type() != pugi::node_element)
        return NodeValue();
    UnicodeString text;
    for (const pugi::xml_node c : n.children()) {
        if (!IsText(c))
            Fail(QStringLiteral("Element \"%1\" does not contain a single text node").arg(Str(n.name())));
        text += Str(c.value());
    }
    return text;
}

void TXMLNode::SetText(const UnicodeString &Value) const
{
    Check();
    pugi::xml_node n = NodeOf(FNode);
    if (n.type() != pugi::node_element) {
        SetNodeValue(Value);
        return;
    }
    for (const pugi::xml_node c : n.children())
        if (!IsText(c))
            Fail(QStringLiteral("Element \"%1\" does not contain a single text node").arg(Str(n.name())));
    while (pugi::xml_node c = n.first_child())
        FState->Park(c);
    n.append_child(pugi::node_pcdata).set_value(Utf8(Value).c_str());
    FState->Changed(n);
}

bool TXMLNode::IsTextElement() const
{
    Check();
    const pugi::xml_node n = NodeOf(FNode);
    return n.type() == pugi::node_element && n.first_child() && n.first_child() == n.last_child() && IsText(n.first_child());
}

TXMLNodeList TXMLNode::ChildNodes() const
{
    Check();
    return TXMLNodeList(FState, FNode);
}

bool TXMLNode::HasChildNodes() const
{
    Check();
    return bool(NodeOf(FNode).first_child());
}

TXMLNode TXMLNode::AddChild(const UnicodeString &TagName) const
{
    Check();
    pugi::xml_node n = NodeOf(FNode);
    if (n.type() != pugi::node_element)
        Fail(QStringLiteral("Node \"%1\" cannot hold elements").arg(NodeName()));
    CheckName(TagName, "element");
    pugi::xml_node c = n.append_child(Utf8(TagName).c_str());
    FState->Appended(n, c);
    return TXMLNode(FState, c.internal_object());
}

TXMLNode TXMLNode::ParentNode() const
{
    Check();
    const pugi::xml_node p = NodeOf(FNode).parent();
    if (!p || p.type() == pugi::node_document || FState->IsHolder(p))
        return TXMLNode();
    return TXMLNode(FState, p.internal_object());
}

TXMLNode TXMLNode::NextSibling() const
{
    Check();
    const pugi::xml_node s = NodeOf(FNode).next_sibling();
    if (!s || FState->IsHolder(s) || FState->IsHolder(NodeOf(FNode).parent()))
        return TXMLNode();
    return TXMLNode(FState, s.internal_object());
}

TXMLNode TXMLNode::PreviousSibling() const
{
    Check();
    const pugi::xml_node s = NodeOf(FNode).previous_sibling();
    if (!s || FState->IsHolder(s) || FState->IsHolder(NodeOf(FNode).parent()))
        return TXMLNode();
    return TXMLNode(FState, s.internal_object());
}

UnicodeString TXMLNode::Attributes(const UnicodeString &AttrName) const
{
    Check();
    const pugi::xml_attribute a = NodeOf(FNode).attribute(TLookupName(AttrName).c_str());
    if (!a)
        Fail(QStringLiteral("Attribute \"%1\" not found").arg(AttrName));
    return Str(a.value());
}

void TXMLNode::SetAttribute(const UnicodeString &AttrName, const UnicodeString &Value) const
{
    Check();
    pugi::xml_node n = NodeOf(FNode);
    if (n.type() != pugi::node_element)
        Fail(QStringLiteral("Node \"%1\" cannot hold attributes").arg(NodeName()));
    const std::string name = Utf8(AttrName);
    pugi::xml_attribute a = n.attribute(name.c_str());
    if (!a) {
        CheckName(AttrName, "attribute");
        a = n.append_attribute(name.c_str());
    }
    a.set_value(Utf8(Value).c_str());
}

bool TXMLNode::HasAttribute(const UnicodeString &AttrName) const
{
    Check();
    return bool(NodeOf(FNode).attribute(TLookupName(AttrName).c_str()));
}

bool TXMLNode::RemoveAttribute(const UnicodeString &AttrName) const
{
    Check();
    return NodeOf(FNode).remove_attribute(Utf8(AttrName).c_str());
}

std::vector<TXMLAttribute> TXMLNode::AttributeNodes() const
{
    Check();
    std::vector<TXMLAttribute> list;
    for (const pugi::xml_attribute a : NodeOf(FNode).attributes())
        list.push_back({Str(a.name()), Str(a.value())});
    return list;
}

UnicodeString TXMLNode::XML() const
{
    Check();
    return Str(Print(NodeOf(FNode), false).c_str());
}

// ---------------------------------------------------------------------------------------------
// TXMLNodeList

void TXMLNodeList::Check() const
{
    if (FDoc) {
        FDoc->CheckActive();
        return;
    }
    if (!FParent)
        Fail(QStringLiteral("The node does not exist"));
}

TXMLDocState &TXMLNodeList::State() const
{
    Check();
    return FDoc ? *FDoc->FState : *FState;
}

pugi::xml_node TXMLNodeList::Parent() const
{
    Check();
    return FDoc ? pugi::xml_node(FDoc->FState->Doc) : pugi::xml_node(FParent);
}

TXMLNode TXMLNodeList::Handle(const pugi::xml_node &n) const
{
    if (!n)
        return TXMLNode();
    return TXMLNode(FDoc ? FDoc->FState : FState, n.internal_object());
}

int TXMLNodeList::Count() const
{
    return static_cast<int>(State().Children(Parent()).size());
}

TXMLNode TXMLNodeList::Nodes(int Index) const
{
    const auto &list = State().Children(Parent());
    if (Index < 0 || Index >= static_cast<int>(list.size()))
        Fail(QString::fromLatin1(SListIndexError).arg(Index));
    return Handle(list[static_cast<std::size_t>(Index)]);
}

TXMLNode TXMLNodeList::Nodes(const UnicodeString &Name) const
{
    TXMLNode n = FindNode(Name);
    if (n)
        return n;
    TXMLDocState &state = State();
    pugi::xml_node parent = Parent();
    if (!state.Options.Contains(doNodeAutoCreate) || parent.type() != pugi::node_element)
        Fail(QStringLiteral("Node \"%1\" not found").arg(Name));
    CheckName(Name, "element");
    const pugi::xml_node made = parent.append_child(Utf8(Name).c_str());
    state.Appended(parent, made);
    return Handle(made);
}

TXMLNode TXMLNodeList::FindNode(const UnicodeString &Name) const
{
    const std::string name = Utf8(Name);
    TXMLDocState &state = State();
    for (pugi::xml_node c = Parent().first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_element && name == c.name() && !state.IsHolder(c))
            return Handle(c);
    return TXMLNode();
}

TXMLNode TXMLNodeList::First() const
{
    const auto &list = State().Children(Parent());
    return list.empty() ? TXMLNode() : Handle(list.front());
}

TXMLNode TXMLNodeList::Last() const
{
    const auto &list = State().Children(Parent());
    return list.empty() ? TXMLNode() : Handle(list.back());
}

int TXMLNodeList::IndexOf(const TXMLNode &Node) const
{
    const auto &list = State().Children(Parent());
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i].internal_object() == Node.FNode)
            return static_cast<int>(i);
    return -1;
}

int TXMLNodeList::IndexOf(const UnicodeString &Name) const
{
    const std::string name = Utf8(Name);
    const auto &list = State().Children(Parent());
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i].type() == pugi::node_element && name == list[i].name())
            return static_cast<int>(i);
    return -1;
}

int TXMLNodeList::Add(const TXMLNode &Node) const
{
    const int count = Count();
    Insert(count, Node);
    return count;
}

void TXMLNodeList::Insert(int Index, const TXMLNode &Node) const
{
    Node.Check();
    TXMLDocState &state = State();
    pugi::xml_node parent = Parent();
    const auto &list = state.Children(parent);
    if (Index < 0 || Index > static_cast<int>(list.size()))
        Fail(QString::fromLatin1(SListIndexError).arg(Index));
    const pugi::xml_node node(Node.FNode);
    const bool sameTree = Node.FState.get() == &state;

    if (parent.type() == pugi::node_document) {
        switch (node.type()) {
        case pugi::node_element:
            if (const pugi::xml_node root = RootElement(state); root && root != node)
                Fail(QStringLiteral("Only one top level element is allowed"));
            break;
        case pugi::node_declaration:
            if (Index != 0 || (!list.empty() && list.front().type() == pugi::node_declaration && list.front() != node))
                Fail(QStringLiteral("The XML declaration must stand at the start of the document"));
            break;
        case pugi::node_comment:
        case pugi::node_pi:
        case pugi::node_doctype: break;
        default: Fail(QStringLiteral("A node of type \"%1\" is not allowed at the top level of the document").arg(Node.NodeName()));
        }
        if (Index == 0 && !list.empty() && list.front().type() == pugi::node_declaration && list.front() != node)
            Fail(QStringLiteral("Nothing may stand before the XML declaration"));
    } else if (parent.type() != pugi::node_element || node.type() == pugi::node_declaration || node.type() == pugi::node_doctype) {
        Fail(QStringLiteral("Node \"%1\" cannot be a child of \"%2\"").arg(Node.NodeName(), Handle(parent).NodeName()));
    }

    // Before the node at Index; at the end means before the holder at document level.
    const bool atEnd = Index == static_cast<int>(list.size());
    pugi::xml_node before = atEnd ? pugi::xml_node() : list[static_cast<std::size_t>(Index)];
    if (!before && parent.type() == pugi::node_document)
        before = state.Holder;
    pugi::xml_node placed;
    if (sameTree) {
        if (node == before)
            return;
        for (pugi::xml_node p = parent; p; p = p.parent())
            if (p == node)
                Fail(QStringLiteral("A node cannot become a child of itself or of its own children"));
        const pugi::xml_node oldParent = node.parent();
        placed = before ? parent.insert_move_before(node, before) : parent.append_move(node);
        if (placed)
            state.Changed(oldParent);
    } else {
        placed = before ? parent.insert_copy_before(node, before) : parent.append_copy(node);
    }
    if (!placed)
        Fail(QStringLiteral("Node \"%1\" cannot be inserted here").arg(Node.NodeName()));
    if (atEnd)
        state.Appended(parent, placed);
    else
        state.Changed(parent);
}

void TXMLNodeList::Delete(int Index) const
{
    const TXMLNode n = Nodes(Index);
    State().Park(pugi::xml_node(n.FNode));
}

void TXMLNodeList::Delete(const UnicodeString &Name) const
{
    const TXMLNode n = FindNode(Name);
    if (!n)
        Fail(QStringLiteral("Node \"%1\" not found").arg(Name));
    State().Park(pugi::xml_node(n.FNode));
}

int TXMLNodeList::Remove(const TXMLNode &Node) const
{
    const int index = IndexOf(Node);
    if (index >= 0)
        State().Park(pugi::xml_node(Node.FNode));
    return index;
}

void TXMLNodeList::Clear() const
{
    if (FDoc) {
        // A fresh tree: the old one lives on only as long as handles name its nodes.
        FDoc->CheckActive();
        FDoc->FState = std::make_shared<TXMLDocState>(FDoc->FOptions);
        return;
    }
    TXMLDocState &state = State();
    const pugi::xml_node parent = Parent();
    while (const pugi::xml_node c = parent.first_child())
        state.Park(c);
}

// ---------------------------------------------------------------------------------------------
// TXMLDocument

TXMLDocument::TXMLDocument(TComponent *AOwner) : TComponent(AOwner) {}

TXMLDocument::~TXMLDocument() = default;

bool TXMLDocument::Active() const
{
    return FState != nullptr;
}

void TXMLDocument::SetActive(bool Value)
{
    if (Value == Active())
        return;
    if (!Value) {
        FState.reset();
        return;
    }
    if (!FFileName.isEmpty())
        LoadFromFile(FFileName);
    else if (!FXMLText.isEmpty())
        LoadFromXML(FXMLText);
    else
        FState = std::make_shared<TXMLDocState>(FOptions);
}

void TXMLDocument::SetOptions(const TXMLDocOptions &Value)
{
    FOptions = Value;
    if (FState)
        FState->Options = Value;
}

void TXMLDocument::CheckActive() const
{
    if (!FState)
        Fail(QStringLiteral("No active document"));
}

TXMLNodeList TXMLDocument::ChildNodes() const
{
    CheckActive();
    TXMLNodeList list;
    list.FDoc = const_cast<TXMLDocument *>(this);
    return list;
}

TXMLNode TXMLDocument::DocumentElement() const
{
    CheckActive();
    const pugi::xml_node root = RootElement(*FState);
    return root ? TXMLNode(FState, root.internal_object()) : TXMLNode();
}

void TXMLDocument::SetDocumentElement(const TXMLNode &Node)
{
    CheckActive();
    TXMLNodeList list = ChildNodes();
    if (const TXMLNode old = DocumentElement(); old && old != Node) {
        const int index = list.IndexOf(old);
        list.Remove(old);
        list.Insert(index, Node);
    } else if (!old) {
        list.Add(Node);
    }
}

TXMLNode TXMLDocument::AddChild(const UnicodeString &TagName)
{
    CheckActive();
    if (RootElement(*FState))
        Fail(QStringLiteral("Only one top level element is allowed"));
    CheckName(TagName, "element");
    const pugi::xml_node root = FState->Doc.insert_child_before(Utf8(TagName).c_str(), FState->Holder);
    FState->Appended(FState->Doc, root);
    return TXMLNode(FState, root.internal_object());
}

TXMLNode TXMLDocument::CreateNode(const UnicodeString &NameOrData, TNodeType NodeType, const UnicodeString &Data)
{
    CheckActive();
    pugi::xml_node n;
    const UnicodeString text = Data.isEmpty() ? NameOrData : Data;
    switch (NodeType) {
    case TNodeType::ntElement:
        CheckName(NameOrData, "element");
        n = FState->Holder.append_child(Utf8(NameOrData).c_str());
        break;
    case TNodeType::ntText:
        n = FState->Holder.append_child(pugi::node_pcdata);
        n.set_value(Utf8(text).c_str());
        break;
    case TNodeType::ntCData:
        n = FState->Holder.append_child(pugi::node_cdata);
        n.set_value(Utf8(text).c_str());
        break;
    case TNodeType::ntComment:
        CheckComment(text);
        n = FState->Holder.append_child(pugi::node_comment);
        n.set_value(Utf8(text).c_str());
        break;
    case TNodeType::ntProcessingInstr:
        CheckName(NameOrData, "processing instruction");
        if (NameOrData.compare(QLatin1String("xml"), Qt::CaseInsensitive) == 0)
            Fail(QStringLiteral("Set the declaration through Version and Encoding"));
        n = FState->Holder.append_child(pugi::node_pi);
        n.set_name(Utf8(NameOrData).c_str());
        n.set_value(Utf8(Data).c_str());
        break;
    default: Fail(QStringLiteral("Nodes of this type cannot be created"));
    }
    return TXMLNode(FState, n.internal_object());
}

bool TXMLDocument::IsEmptyDoc() const
{
    return !FState || FState->Children(FState->Doc).empty();
}

void TXMLDocument::LoadFromFile(const UnicodeString &AFileName)
{
    const QByteArray bytes = ReadFileBytes(AFileName);
    Parse(ToUtf8(bytes, NativePath(AFileName)), NativePath(AFileName));
}

void TXMLDocument::LoadFromXML(const UnicodeString &XMLText)
{
    Parse(XMLText.toUtf8(), UnicodeString());
}

void TXMLDocument::LoadFromBytes(const QByteArray &Bytes)
{
    Parse(ToUtf8(Bytes, UnicodeString()), UnicodeString());
}

void TXMLDocument::Parse(const QByteArray &Utf8Text, const UnicodeString &Source)
{
    auto state = std::make_shared<TXMLDocState>(FOptions);
    const pugi::xml_parse_result r = state->Doc.load_buffer(Utf8Text.constData(), static_cast<size_t>(Utf8Text.size()), ParseFlags, pugi::encoding_utf8);
    if (!r)
        ParseFail(ErrorCode(r), Str(Description(r)), Utf8Text, r.offset, Source);

    // The parser takes fragments; a document has one root and its declaration first.
    bool seenRoot = false;
    for (const pugi::xml_node c : state->Doc.children()) {
        const qsizetype at = std::max<std::ptrdiff_t>(0, c.offset_debug());
        if (c.type() == pugi::node_element) {
            if (seenRoot)
                ParseFail(xpeSecondRoot, QStringLiteral("Only one top level element is allowed"), Utf8Text, at, Source);
            seenRoot = true;
        } else if (c.type() == pugi::node_declaration && c != state->Doc.first_child()) {
            ParseFail(xpeMisplacedDeclaration, QStringLiteral("The XML declaration must stand at the start of the document"), Utf8Text, at, Source);
        }
    }
    // The parser also lets an attribute appear twice in one element; a reader would then see
    // only the first, so such a file is refused like any other that is not well-formed.
    // Nor may a comment hold "--" or end with "-": the writer would have to change it. And a
    // character reference must name a character: the parser turns "&#99999999;" into bytes that
    // are no UTF-8, which the writer would put into the file as they are.
    struct TDuplicates : pugi::xml_tree_walker {
        pugi::xml_node Element;
        std::string Name;
        pugi::xml_node Comment;
        pugi::xml_node BadChar;
        std::vector<std::pair<const char *, std::size_t>> Names;
        static bool Valid(const char *s) { return QByteArrayView(s).isValidUtf8(); }
        bool for_each(pugi::xml_node &n) override
        {
            bool valid = Valid(n.name()) && Valid(n.value());
            for (pugi::xml_attribute a = n.first_attribute(); valid && a; a = a.next_attribute())
                valid = Valid(a.name()) && Valid(a.value());
            if (!valid) {
                BadChar = n;
                return false;
            }
            if (n.type() == pugi::node_comment) {
                const std::string_view text = n.value();
                if (text.find("--") != std::string_view::npos || (!text.empty() && text.back() == '-')) {
                    Comment = n;
                    return false;
                }
            }
            pugi::xml_attribute first = n.first_attribute();
            if (!first || !first.next_attribute())
                return true;
            // Sorted, so that an element with many attributes costs n log n, not n squared;
            // the one reported is the duplicate that comes first in the element.
            Names.clear();
            for (pugi::xml_attribute a = first; a; a = a.next_attribute())
                Names.emplace_back(a.name(), Names.size());
            std::sort(Names.begin(), Names.end(), [](const auto &x, const auto &y) {
                const int c = std::strcmp(x.first, y.first);
                return c != 0 ? c < 0 : x.second < y.second;
            });
            std::size_t best = Names.size();
            for (std::size_t i = 1; i < Names.size(); ++i)
                if (std::strcmp(Names[i - 1].first, Names[i].first) == 0 && Names[i - 1].second < best) {
                    best = Names[i - 1].second;
                    Name = Names[i - 1].first;
                }
            if (best == Names.size())
                return true;
            Element = n;
            return false;
        }
    } duplicates;
    state->Doc.traverse(duplicates);
    if (duplicates.BadChar)
        ParseFail(xpeInvalidCharacter, QStringLiteral("Invalid character reference"), Utf8Text,
                  std::max<std::ptrdiff_t>(0, duplicates.BadChar.offset_debug()), Source);
    if (duplicates.Comment)
        ParseFail(xpeBadComment, QStringLiteral("A comment may not contain \"--\" or end with \"-\""), Utf8Text,
                  std::max<std::ptrdiff_t>(0, duplicates.Comment.offset_debug()), Source);
    if (duplicates.Element)
        ParseFail(xpeDuplicateAttribute, QStringLiteral("Attribute \"%1\" appears twice in element \"%2\"").arg(Str(duplicates.Name.c_str()), Str(duplicates.Element.name())),
                  Utf8Text, std::max<std::ptrdiff_t>(0, duplicates.Element.offset_debug()), Source);

    state->AddHolder();
    FState = std::move(state);
}

QByteArray TXMLDocument::SaveToBytes() const
{
    CheckActive();
    const auto &list = FState->Children(FState->Doc);
    if (!list.empty() && list.front().type() == pugi::node_declaration) {
        pugi::xml_attribute enc = list.front().attribute("encoding");
        if (enc && QString::fromUtf8(enc.value()).compare(QLatin1String("UTF-8"), Qt::CaseInsensitive) != 0)
            enc.set_value("UTF-8");
    }
    const bool indent = FOptions.Contains(doNodeAutoIndent);
    std::string out = FWriteBOM ? std::string("\xEF\xBB\xBF") : std::string();
    for (const pugi::xml_node &c : list)
        out += Print(c, indent);
    return QByteArray::fromStdString(out);
}

void TXMLDocument::SaveToFile(const UnicodeString &AFileName)
{
    const UnicodeString name = AFileName.isEmpty() ? FFileName : AFileName;
    if (name.isEmpty())
        Fail(QStringLiteral("No file name to save the document to"));
    WriteFileAtomic(name, SaveToBytes());
}

UnicodeString TXMLDocument::SaveToXML() const
{
    QByteArray bytes = SaveToBytes();
    if (FWriteBOM)
        bytes.remove(0, 3);
    return QString::fromUtf8(bytes);
}

UnicodeString TXMLDocument::XML() const
{
    return FState ? SaveToXML() : FXMLText;
}

void TXMLDocument::SetXML(const UnicodeString &Value)
{
    if (FState)
        LoadFromXML(Value);
    FXMLText = Value;
}

UnicodeString TXMLDocument::DeclAttr(const char *Name) const
{
    CheckActive();
    const pugi::xml_node first = FState->Doc.first_child();
    if (first.type() != pugi::node_declaration)
        return UnicodeString();
    return Str(first.attribute(Name).value());
}

void TXMLDocument::SetDeclAttr(const char *Name, const UnicodeString &Value)
{
    CheckActive();
    pugi::xml_node decl = FState->Doc.first_child();
    if (decl.type() != pugi::node_declaration) {
        decl = FState->Doc.prepend_child(pugi::node_declaration);
        decl.append_attribute("version") = "1.0";
        FState->Changed(FState->Doc);
    }
    // The declaration's attributes have a fixed order: version, encoding, standalone.
    static const char *const order[] = {"version", "encoding", "standalone"};
    std::vector<std::pair<std::string, std::string>> attrs;
    for (const char *n : order) {
        if (std::string(n) == Name) {
            if (!Value.isEmpty())
                attrs.emplace_back(n, Utf8(Value));
        } else if (const pugi::xml_attribute a = decl.attribute(n)) {
            attrs.emplace_back(n, a.value());
        }
    }
    while (decl.first_attribute())
        decl.remove_attribute(decl.first_attribute());
    for (const auto &[n, v] : attrs)
        decl.append_attribute(n.c_str()) = v.c_str();
}

UnicodeString TXMLDocument::Version() const { return DeclAttr("version"); }
void TXMLDocument::SetVersion(const UnicodeString &Value) { SetDeclAttr("version", Value); }
UnicodeString TXMLDocument::Encoding() const { return DeclAttr("encoding"); }
void TXMLDocument::SetEncoding(const UnicodeString &Value) { SetDeclAttr("encoding", Value); }
UnicodeString TXMLDocument::StandAlone() const { return DeclAttr("standalone"); }
void TXMLDocument::SetStandAlone(const UnicodeString &Value) { SetDeclAttr("standalone", Value); }

std::unique_ptr<TXMLDocument> NewXMLDocument()
{
    auto doc = std::make_unique<TXMLDocument>(nullptr);
    doc->SetActive(true);
    return doc;
}
