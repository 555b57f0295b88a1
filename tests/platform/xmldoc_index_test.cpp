// Children by index stay right however the tree changes between the walks, and attributes that
// appear twice are found in elements with many of them.
#include "platform/XMLDoc.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// The children as the sibling chain gives them, which no list kept by index can fool.
std::vector<TXMLNode> Chain(const TXMLNode &parent)
{
    std::vector<TXMLNode> nodes;
    const TXMLNodeList list = parent.ChildNodes();
    if (list.Count() == 0)
        return nodes;
    // The first child found without the index: the previous sibling of the second, or the one.
    TXMLNode n = list.Nodes(0);
    while (n.PreviousSibling())
        n = n.PreviousSibling();
    for (; n; n = n.NextSibling())
        nodes.push_back(n);
    return nodes;
}

void ExpectSameChildren(const TXMLNode &parent, const char *step)
{
    const TXMLNodeList list = parent.ChildNodes();
    const std::vector<TXMLNode> chain = Chain(parent);
    ASSERT_EQ(list.Count(), static_cast<int>(chain.size())) << step;
    for (int i = 0; i < list.Count(); ++i) {
        ASSERT_EQ(list.Nodes(i), chain[static_cast<std::size_t>(i)]) << step << " at " << i;
        ASSERT_EQ(list.IndexOf(chain[static_cast<std::size_t>(i)]), i) << step;
    }
    if (!chain.empty()) {
        EXPECT_EQ(list.First(), chain.front()) << step;
        EXPECT_EQ(list.Last(), chain.back()) << step;
    }
}

TEST(XMLDocIndex, ChildrenByIndexFollowEveryChangeOfTheTree)
{
    auto doc = NewXMLDocument();
    const TXMLNode root = doc->AddChild(QStringLiteral("Rules"));
    const TXMLNode a = root.AddChild(QStringLiteral("A"));
    const TXMLNode b = root.AddChild(QStringLiteral("B"));
    std::mt19937 rng(7);
    int made = 0;
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    for (int step = 0; step < 3000; ++step) {
        // Every list is read before the change, so that a stale one would show afterwards.
        for (const TXMLNode &p : {root, a, b})
            p.ChildNodes().Count();
        const TXMLNode parent = pick(2) ? a : b;
        const TXMLNode other = parent == a ? b : a;
        const TXMLNodeList list = parent.ChildNodes();
        const int count = list.Count();
        const char *what = "";
        switch (pick(9)) {
        case 0:
            what = "AddChild";
            parent.AddChild(QStringLiteral("Row")).SetAttribute(QStringLiteral("Id"), QString::number(++made));
            break;
        case 1:
            what = "Insert of a made node";
            list.Insert(pick(count + 1), doc->CreateNode(QStringLiteral("Row")));
            break;
        case 2:
            what = "Add of a made node";
            list.Add(doc->CreateNode(QStringLiteral("x"), ntComment));
            break;
        case 3:
            if (count == 0)
                continue;
            what = "Delete";
            list.Delete(pick(count));
            break;
        case 4:
            if (count == 0)
                continue;
            what = "Remove";
            list.Remove(list.Nodes(pick(count)));
            break;
        case 5:
            if (count == 0)
                continue;
            what = "move to the other parent";
            other.ChildNodes().Insert(pick(other.ChildNodes().Count() + 1), list.Nodes(pick(count)));
            break;
        case 6:
            if (count == 0)
                continue;
            what = "move within the parent";
            list.Insert(pick(count + 1), list.Nodes(pick(count)));
            break;
        case 7:
            if (count > 0 && pick(10) != 0)
                continue;
            what = "Clear";
            list.Clear();
            break;
        case 8:
            what = "auto-created by name";
            doc->SetOptions(TXMLDocOptions{doNodeAutoCreate});
            list.Nodes(QStringLiteral("Named%1").arg(pick(4)));
            doc->SetOptions(TXMLDocOptions{});
            break;
        }
        for (const TXMLNode &p : {root, a, b})
            ExpectSameChildren(p, what);
        if (testing::Test::HasFatalFailure())
            return;
    }

    // A text that replaces the children, and the top level with its declaration.
    const TXMLNode leaf = b.AddChild(QStringLiteral("Leaf"));
    leaf.ChildNodes().Count();
    leaf.SetText(QStringLiteral("t"));
    ExpectSameChildren(leaf, "SetText");
    const TXMLNodeList top = doc->ChildNodes();
    top.Add(doc->CreateNode(QStringLiteral("after"), ntComment));
    EXPECT_EQ(top.Count(), 2);
    doc->SetVersion(QStringLiteral("1.0"));
    ASSERT_EQ(top.Count(), 3);
    EXPECT_EQ(top.Nodes(0).NodeName(), QStringLiteral("xml"));
    EXPECT_EQ(top.Nodes(1), root);
    EXPECT_EQ(top.Nodes(2).NodeType(), ntComment);
}

TEST(XMLDocIndex, AnAttributeTwiceIsFoundAmongMany)
{
    const auto element = [](int count, std::initializer_list<std::pair<int, const char *>> extra) {
        QString xml = QStringLiteral("<r><e");
        for (int i = 0; i < count; ++i) {
            for (const auto &[at, name] : extra)
                if (at == i)
                    xml += QStringLiteral(" %1=\"d\"").arg(QLatin1String(name));
            xml += QStringLiteral(" a%1=\"%1\"").arg(i);
        }
        return xml + QStringLiteral("/></r>");
    };
    auto doc = NewXMLDocument();
    doc->LoadFromXML(element(60000, {}));
    EXPECT_EQ(doc->DocumentElement().ChildNodes().Nodes(0).AttributeNodes().size(), 60000u);

    // Two names twice: the one named is the one whose first use comes first.
    const struct {
        QString Xml;
        const char *Named;
    } cases[] = {
        {element(60000, {{59990, "a17"}}), "a17"},
        {element(5000, {{10, "a4000"}, {4500, "a3"}}), "a3"},
        {element(3, {{0, "a2"}, {2, "a0"}}), "a2"},
    };
    for (const auto &c : cases) {
        try {
            doc->LoadFromXML(c.Xml);
            ADD_FAILURE() << c.Named << ": no error";
        } catch (const EDOMParseError &e) {
            EXPECT_TRUE(e.Message().startsWith(QStringLiteral("Attribute \"%1\" appears twice in element \"e\"").arg(QLatin1String(c.Named))))
                << e.Message().toStdString();
        }
    }
}

} // namespace
