#pragma once
// The XML document component (`TXMLDocument`, `XML1` on the forms) and its node handles.
//
// Nodes are handles: a TXMLNode (also spelt _di_IXMLNode) is cheap to copy, compares equal
// when it names the same node, and keeps the tree it belongs to alive, so a handle stays
// valid after the document was cleared or reloaded (it then names a node of the old tree).
// A node removed from its parent stays usable and can be added again. A default-made handle
// is null: test it with `if (node)` / `IsNull()`; using a null handle raises EXMLDocError.
// The classic pointer spelling works too: node->ChildNodes()["x"]->Text().
//
// Reading accepts UTF-8 (with or without byte-order mark), UTF-16 with byte-order mark, and
// documents that declare windows-1252 or ISO-8859-1. Whitespace-only text between elements is
// dropped, so indentation never shows up as nodes; an element whose only content is blanks
// keeps them as its text. An XML declaration
// read from a file is the document's first node (a processing instruction named "xml").
// Writing gives UTF-8 without XML declaration, byte-order mark or indentation unless asked for;
// attributes keep the order in which they were added; CR, LF and TAB in attribute values are
// written as character references so that they survive the round trip.

#include "platform/Classes.h"
#include "platform/Sets.h"
#include "platform/System.h"

#include <memory>
#include <vector>

struct TXMLDocState;
namespace pugi {
struct xml_node_struct;
class xml_node;
}

// The grid names the look of its tree nodes TNodeType as well; the DOM's node kinds keep their
// name in a namespace of their own so that a form may use both, and are reached by their nt...
// constants.
namespace XmlDom {
enum class TNodeType {
    ntReserved, ntElement, ntAttribute, ntText, ntCData, ntEntityRef, ntEntity,
    ntProcessingInstr, ntComment, ntDocument, ntDocType, ntDocFragment, ntNotation
};
} // namespace XmlDom
constexpr XmlDom::TNodeType ntElement = XmlDom::TNodeType::ntElement;
constexpr XmlDom::TNodeType ntText = XmlDom::TNodeType::ntText;
constexpr XmlDom::TNodeType ntCData = XmlDom::TNodeType::ntCData;
constexpr XmlDom::TNodeType ntProcessingInstr = XmlDom::TNodeType::ntProcessingInstr;
constexpr XmlDom::TNodeType ntComment = XmlDom::TNodeType::ntComment;
constexpr XmlDom::TNodeType ntDocument = XmlDom::TNodeType::ntDocument;
constexpr XmlDom::TNodeType ntDocType = XmlDom::TNodeType::ntDocType;

enum class TXMLDocOption { doNodeAutoCreate, doNodeAutoIndent };
using TXMLDocOptions = TSet<TXMLDocOption>;
constexpr TXMLDocOption doNodeAutoCreate = TXMLDocOption::doNodeAutoCreate;
constexpr TXMLDocOption doNodeAutoIndent = TXMLDocOption::doNodeAutoIndent;

// The code an EDOMParseError carries: one fixed number for each kind of fault, never 0.
enum TXMLParseErrorCode {
    xpeInternal = 1, // the parser ran out of memory or failed in itself
    xpeUnrecognizedTag,
    xpeBadProcessingInstr,
    xpeBadComment,
    xpeBadCData,
    xpeBadDocType,
    xpeBadText,
    xpeBadStartTag,
    xpeBadAttribute,
    xpeBadEndTag,
    xpeTagMismatch,
    xpeNoRoot,
    xpeSecondRoot,
    xpeMisplacedDeclaration,
    xpeInvalidCharacter,
    xpeDuplicateAttribute,
    xpeInvalidByte,
    xpeUnsupportedEncoding
};

class TXMLNode;
class TXMLNodeList;
class TXMLDocument;
using _di_IXMLNode = TXMLNode;
using _di_IXMLNodeList = TXMLNodeList;

struct TXMLAttribute {
    UnicodeString Name;
    UnicodeString Value;
};

class TXMLNode {
public:
    TXMLNode() = default;

    bool IsNull() const { return FNode == nullptr; }
    explicit operator bool() const { return FNode != nullptr; }
    bool operator==(const TXMLNode &o) const { return FNode == o.FNode; }
    bool operator!=(const TXMLNode &o) const { return FNode != o.FNode; }
    // Lets code written against interface pointers keep its arrows.
    const TXMLNode *operator->() const { return this; }

    XmlDom::TNodeType NodeType() const;
    // "#text", "#comment", "#cdata-section", "#document"; "xml" for the declaration.
    UnicodeString NodeName() const;
    // The value of a text, comment, CDATA or processing-instruction node; for an element its
    // Text.
    UnicodeString NodeValue() const;
    void SetNodeValue(const UnicodeString &Value) const;

    // An element's text: empty for an element without children, the text of an element whose
    // children are all text; raises EXMLDocError for an element that holds other nodes
    // ("Element \"x\" does not contain a single text node"). Other nodes give their value.
    UnicodeString Text() const;
    // Replaces the content of an element without element children by the text (an empty text
    // leaves an empty element); raises EXMLDocError when the element holds elements.
    void SetText(const UnicodeString &Value) const;
    // True when the element has exactly one child and it is text or CDATA.
    bool IsTextElement() const;

    TXMLNodeList ChildNodes() const;
    bool HasChildNodes() const;
    // Appends a new element and returns it.
    TXMLNode AddChild(const UnicodeString &TagName) const;
    // Null for the document's top-level nodes and for a node that was removed.
    TXMLNode ParentNode() const;
    TXMLNode NextSibling() const;
    TXMLNode PreviousSibling() const;

    // Raises EXMLDocError "Attribute \"x\" not found" when the element has no such attribute.
    UnicodeString Attributes(const UnicodeString &AttrName) const;
    // Updates the attribute in place or appends it after the others.
    void SetAttribute(const UnicodeString &AttrName, const UnicodeString &Value) const;
    void SetAttributes(const UnicodeString &AttrName, const UnicodeString &Value) const { SetAttribute(AttrName, Value); }
    bool HasAttribute(const UnicodeString &AttrName) const;
    // Removes the attribute; false when there was none.
    bool RemoveAttribute(const UnicodeString &AttrName) const;
    // The attributes in document order (a copy).
    std::vector<TXMLAttribute> AttributeNodes() const;

    // The node and its subtree as XML text (UTF-16, no declaration, no indentation).
    UnicodeString XML() const;

private:
    friend class TXMLNodeList;
    friend class TXMLDocument;
    TXMLNode(std::shared_ptr<TXMLDocState> State, pugi::xml_node_struct *Node) : FState(std::move(State)), FNode(Node) {}
    void Check() const;

    std::shared_ptr<TXMLDocState> FState;
    pugi::xml_node_struct *FNode = nullptr;
};

// The children of a node or of the document, by position (from 0) or by name.
class TXMLNodeList {
public:
    TXMLNodeList() = default;
    const TXMLNodeList *operator->() const { return this; }

    int Count() const;
    // Raises EXMLDocError "List index out of bounds (%d)" outside 0..Count-1.
    TXMLNode Nodes(int Index) const;
    // The first child element with that name; raises EXMLDocError "Node \"x\" not found" when
    // there is none, unless the document's options include doNodeAutoCreate (then it is
    // appended).
    TXMLNode Nodes(const UnicodeString &Name) const;
    TXMLNode operator[](int Index) const { return Nodes(Index); }
    TXMLNode operator[](const UnicodeString &Name) const { return Nodes(Name); }
    TXMLNode operator[](const char *Name) const { return Nodes(QString::fromUtf8(Name)); }
    // The first child element with that name, or a null node.
    TXMLNode FindNode(const UnicodeString &Name) const;
    TXMLNode First() const; // null when empty
    TXMLNode Last() const;  // null when empty
    int IndexOf(const TXMLNode &Node) const;          // -1 when not a child
    int IndexOf(const UnicodeString &Name) const;     // first element with that name, -1 when none

    // Appends or inserts a node made by CreateNode, a removed node, or a node of this tree
    // (which moves); a node of another document is copied. Returns its index.
    int Add(const TXMLNode &Node) const;
    void Insert(int Index, const TXMLNode &Node) const;
    // Removes by position or name (raises as Nodes does when missing) or the given node.
    void Delete(int Index) const;
    void Delete(const UnicodeString &Name) const;
    int Remove(const TXMLNode &Node) const; // its former index, -1 when not a child
    void Clear() const;

private:
    friend class TXMLNode;
    friend class TXMLDocument;
    TXMLNodeList(std::shared_ptr<TXMLDocState> State, pugi::xml_node_struct *Parent) : FState(std::move(State)), FParent(Parent) {}
    void Check() const;
    TXMLDocState &State() const;
    pugi::xml_node Parent() const;
    TXMLNode Handle(const pugi::xml_node &Node) const;

    // The document's own list follows the document, whose tree changes on Clear and on loading.
    TXMLDocument *FDoc = nullptr;
    std::shared_ptr<TXMLDocState> FState;
    pugi::xml_node_struct *FParent = nullptr;
};

class TXMLDocument : public TComponent {
public:
    explicit TXMLDocument(TComponent *AOwner);
    ~TXMLDocument() override;

    // An inactive document has no tree; the tree operations raise EXMLDocError "No active
    // document". Making it active loads FileName when one is set, otherwise the XML text
    // given by SetXML, otherwise starts an empty document. Making it inactive drops the tree.
    bool Active() const;
    void SetActive(bool Value);

    const UnicodeString &FileName() const { return FFileName; }
    void SetFileName(const UnicodeString &Value) { FFileName = Value; }

    TXMLDocOptions Options() const { return FOptions; }
    void SetOptions(const TXMLDocOptions &Value);

    // The top-level nodes (declaration, comments, the root element, in document order).
    // Clear on it empties the document.
    TXMLNodeList ChildNodes() const;
    // The root element, or a null node.
    TXMLNode DocumentElement() const;
    void SetDocumentElement(const TXMLNode &Node);
    // Creates the root element; raises EXMLDocError when the document already has one.
    TXMLNode AddChild(const UnicodeString &TagName);
    // A node outside the tree, to be placed with ChildNodes().Add/Insert. For ntElement the
    // name is the tag; for ntComment and ntText the name is the text (Data, when given,
    // overrides it); for ntProcessingInstr the name is the target and Data its text.
    TXMLNode CreateNode(const UnicodeString &NameOrData, XmlDom::TNodeType NodeType = ntElement,
                        const UnicodeString &Data = UnicodeString());
    TXMLNode CreateElement(const UnicodeString &TagName) { return CreateNode(TagName, ntElement); }
    bool IsEmptyDoc() const;

    // Loading replaces the whole tree and makes the document active (FileName is left as it
    // is); on any error the old tree stays as it was. A missing or unreadable file raises EFOpenError; a file that is
    // not well-formed or in an encoding we cannot read raises EDOMParseError with the
    // parser's message, the line and column and the file name.
    void LoadFromFile(const UnicodeString &AFileName);
    void LoadFromXML(const UnicodeString &XMLText);
    // Bytes as read from a file, with the same encoding rules as LoadFromFile.
    void LoadFromBytes(const QByteArray &Bytes);

    // Writes the document atomically (WriteFileAtomic) to the file, or to FileName when the
    // name is empty: the old file stays intact when the write fails (EFCreateError). A declaration that names another encoding is rewritten to
    // say UTF-8, since that is what is written.
    void SaveToFile(const UnicodeString &AFileName);
    // The document as text (UTF-16), as it would be saved but without a byte-order mark.
    UnicodeString SaveToXML() const;
    void SaveToXML(UnicodeString &XMLText) const { XMLText = SaveToXML(); }
    // The bytes SaveToFile would write.
    QByteArray SaveToBytes() const;
    // The document's text when active (SaveToXML), else the text set by SetXML.
    UnicodeString XML() const;
    // Sets the source text; an active document is reloaded from it at once.
    void SetXML(const UnicodeString &Value);

    // The declaration's attributes. Setting one adds a declaration at the top when there is
    // none, so that the document is written with "<?xml ...?>"; empty when there is none.
    UnicodeString Version() const;
    void SetVersion(const UnicodeString &Value);
    UnicodeString Encoding() const;
    void SetEncoding(const UnicodeString &Value);
    UnicodeString StandAlone() const;
    void SetStandAlone(const UnicodeString &Value);

    // A UTF-8 byte-order mark in front of the saved bytes; off unless asked for.
    bool WriteBOM() const { return FWriteBOM; }
    void SetWriteBOM(bool Value) { FWriteBOM = Value; }

private:
    friend class TXMLNodeList;
    void CheckActive() const;
    void Parse(const QByteArray &Utf8Text, const UnicodeString &Source);
    void SetDeclAttr(const char *Name, const UnicodeString &Value);
    UnicodeString DeclAttr(const char *Name) const;

    std::shared_ptr<TXMLDocState> FState; // null while inactive
    TXMLDocOptions FOptions;
    UnicodeString FFileName;
    UnicodeString FXMLText;
    bool FWriteBOM = false;
};

// The document of a form that the system never puts on a form: creates an active, empty
// document without owner.
std::unique_ptr<TXMLDocument> NewXMLDocument();
