// The XML document as the program reads its files: the bytes as a file through LoadFromFile (in
// whatever encoding they come: byte-order marks, UTF-16, a declared single-byte code page), the
// whole tree walked as the readers walk it, then saved and loaded again, as UTF-8 and as UTF-16:
// what was saved must load back to the same tree.
#include "support/FuzzSupport.h"

#include "platform/SysUtils.h"
#include "platform/XMLDoc.h"

#include <QStringList>

#include <utility>
#include <vector>

namespace {

// Every node of the tree in document order with what a reader can ask of it. Siblings are
// walked by NextSibling, so the walk stays linear however many children a node has.
QString Dump(TXMLDocument &Doc)
{
    QStringList Out;
    std::vector<std::pair<TXMLNode, int>> Stack;
    for (TXMLNode N = Doc.ChildNodes().Last(); N; N = N.PreviousSibling())
        Stack.emplace_back(N, 0);
    while (!Stack.empty()) {
        const auto [N, Depth] = Stack.back();
        Stack.pop_back();
        QString Line = QString(Depth, QLatin1Char(' ')) + QString::number(static_cast<int>(N.NodeType())) + QLatin1Char(' ') + N.NodeName();
        try {
            Line += QStringLiteral(" value=") + N.NodeValue();
        } catch (const EXMLDocError &) {
            Line += QStringLiteral(" (mixed)");
        }
        for (const TXMLAttribute &A : N.AttributeNodes()) {
            Line += QLatin1Char(' ') + A.Name + QStringLiteral("=[") + A.Value + QLatin1Char(']');
            Fuzz::Check(N.HasAttribute(A.Name), "an attribute listed is not found by name");
        }
        Out << Line;
        if (N.NodeType() == ntElement) {
            (void)N.IsTextElement();
            (void)N.ChildNodes().FindNode(QStringLiteral("row"));
            std::vector<TXMLNode> Children;
            for (TXMLNode C = N.ChildNodes().First(); C; C = C.NextSibling()) {
                Fuzz::Check(C.ParentNode() == N, "a child's parent is another node");
                Children.push_back(C);
            }
            Fuzz::Check(static_cast<int>(Children.size()) == N.ChildNodes().Count(), "sibling walk and child count differ");
            for (auto It = Children.rbegin(); It != Children.rend(); ++It)
                Stack.emplace_back(*It, Depth + 1);
        }
    }
    return Out.join(QLatin1Char('\n'));
}

bool Load(TXMLDocument &Doc, const QString &Name)
{
    try {
        Doc.LoadFromFile(Fuzz::PathOf(Name));
        return true;
    } catch (const EDOMParseError &) {
    } catch (const EFOpenError &) {
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    Fuzz::CleanDir();
    Fuzz::WriteFile(QStringLiteral("in.xml"), Fuzz::Bytes(Data, Size));
    auto Doc = NewXMLDocument();
    if (!Load(*Doc, QStringLiteral("in.xml")))
        return 0;
    (void)Doc->DocumentElement();
    (void)Doc->Encoding();
    (void)Doc->XML();

    // Saving rewrites a declared code page to UTF-8, so the tree is compared as saved.
    Doc->SaveToFile(Fuzz::PathOf(QStringLiteral("out.xml")));
    const QString Tree = Dump(*Doc);

    auto Again = NewXMLDocument();
    Fuzz::Check(Load(*Again, QStringLiteral("out.xml")), "a saved document does not load");
    Fuzz::CheckSame(Dump(*Again), Tree, "a saved document loads to another tree");

    QByteArray Utf16("\xFF\xFE", 2);
    const QString Text = Doc->SaveToXML();
    Utf16.append(reinterpret_cast<const char *>(Text.utf16()), Text.size() * 2);
    Fuzz::WriteFile(QStringLiteral("utf16.xml"), Utf16);
    auto Wide = NewXMLDocument();
    Fuzz::Check(Load(*Wide, QStringLiteral("utf16.xml")), "the document as UTF-16 does not load");
    Fuzz::CheckSame(Dump(*Wide), Tree, "the document as UTF-16 loads to another tree");
    return 0;
}
