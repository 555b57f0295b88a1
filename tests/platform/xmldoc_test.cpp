#include "platform/XMLDoc.h"

#include "platform/Encoding.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QDir>

namespace {

class XMLDocTest : public TempDirTest {
protected:
    XMLDocTest() : FXml(std::make_unique<TXMLDocument>(nullptr)) { FXml->SetName(QStringLiteral("XML1")); }
    TXMLDocument &XML1() { return *FXml; }
    QString Win(const QString &name) const { return Dir() + QStringLiteral("\\") + name; }

    // The rule file as the editors write it: root, comment after it, rows with attributes.
    void WriteRules()
    {
        XML1().SetActive(true);
        XML1().ChildNodes().Clear();
        TXMLNode root = XML1().AddChild(QStringLiteral("EtherNetIP_Master_Access"));
        XML1().ChildNodes().Add(XML1().CreateNode(QStringLiteral("SW_VERSION = 1.005"), ntComment));
        TXMLNode row = root->AddChild(QStringLiteral("row"));
        row->SetAttribute(QStringLiteral("Enable"), QStringLiteral("Y"));
        row->SetAttribute(QStringLiteral("IP_Address"), QStringLiteral("192.168.2.10"));
        row->SetAttribute(QStringLiteral("Mnemonic"), QStringLiteral("line1\r\nline2\tend & <more> \"q\""));
    }

    std::unique_ptr<TXMLDocument> FXml;
};

TEST_F(XMLDocTest, SavesWithoutDeclarationOrIndentationCommentAfterRoot)
{
    WriteRules();
    XML1().SaveToFile(Win("EtherNetIP_Master_Rules.xml"));
    EXPECT_EQ(ReadBytes("EtherNetIP_Master_Rules.xml"),
              QByteArray("<EtherNetIP_Master_Access><row Enable=\"Y\" IP_Address=\"192.168.2.10\" "
                         "Mnemonic=\"line1&#13;&#10;line2&#09;end &amp; &lt;more> &quot;q&quot;\"/>"
                         "</EtherNetIP_Master_Access><!--SW_VERSION = 1.005-->"));
}

TEST_F(XMLDocTest, SettingsFileShapeWithEmptyElements)
{
    XML1().SetActive(true);
    XML1().ChildNodes().Clear();
    TXMLNode root = XML1().AddChild(QStringLiteral("Conf_Settings"));
    root->AddChild(QStringLiteral("lastproj"))->AddChild(QStringLiteral("projectname"))->SetText(QString());
    root->AddChild(QStringLiteral("lastlang"))->AddChild(QStringLiteral("language"))->SetText(QStringLiteral("Italiano"));
    root->AddChild(QStringLiteral("lastipadd"))->AddChild(QStringLiteral("ipaddress"))->SetText(QStringLiteral("  "));
    EXPECT_EQ(XML1().XML(), QStringLiteral("<Conf_Settings><lastproj><projectname></projectname></lastproj>"
                                          "<lastlang><language>Italiano</language></lastlang>"
                                          "<lastipadd><ipaddress>  </ipaddress></lastipadd></Conf_Settings>"));
    XML1().SaveToFile(Win("Fabricor.xml"));
    XML1().LoadFromFile(Win("Fabricor.xml"));
    TXMLNode loaded = XML1().ChildNodes()[0];
    EXPECT_EQ(loaded->ChildNodes()["lastproj"]->ChildNodes()["projectname"]->Text(), QString());
    EXPECT_EQ(loaded->ChildNodes()["lastlang"]->ChildNodes()["language"]->Text(), QStringLiteral("Italiano"));
    EXPECT_EQ(loaded->ChildNodes()["lastipadd"]->ChildNodes()["ipaddress"]->Text(), QStringLiteral("  ")) << "blanks are a value";
}

TEST_F(XMLDocTest, AttributesKeepTheirOrderAndSurviveTheRoundTrip)
{
    WriteRules();
    TXMLNode row = XML1().DocumentElement()->ChildNodes()[0];
    row->SetAttribute(QStringLiteral("Enable"), QStringLiteral("N")); // updated in place
    row->SetAttribute(QStringLiteral("Start_Input"), QStringLiteral("0"));
    XML1().SaveToFile(Win("rules.xml"));

    auto other = std::make_unique<TXMLDocument>(nullptr);
    other->LoadFromFile(Win("rules.xml"));
    TXMLNode back = other->ChildNodes()->First()->ChildNodes()->Nodes(0);
    QStringList names;
    for (const TXMLAttribute &a : back->AttributeNodes())
        names << a.Name;
    EXPECT_EQ(names, QStringList({"Enable", "IP_Address", "Mnemonic", "Start_Input"}));
    EXPECT_EQ(back->Attributes(QStringLiteral("Enable")), QStringLiteral("N"));
    EXPECT_EQ(back->Attributes(QStringLiteral("Mnemonic")), QStringLiteral("line1\r\nline2\tend & <more> \"q\""));
    EXPECT_TRUE(back->HasAttribute(QStringLiteral("IP_Address")));
    EXPECT_FALSE(back->HasAttribute(QStringLiteral("Time_Poll")));
    try {
        back->Attributes(QStringLiteral("Time_Poll"));
        FAIL() << "a missing attribute must raise";
    } catch (const EXMLDocError &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Attribute \"Time_Poll\" not found"));
    }
    // The comment is the document's second node, after the root.
    ASSERT_EQ(other->ChildNodes()->Count(), 2);
    EXPECT_EQ(other->ChildNodes()[1]->NodeType(), ntComment);
    EXPECT_EQ(other->ChildNodes()[1]->Text(), QStringLiteral("SW_VERSION = 1.005"));
}

TEST_F(XMLDocTest, ReadsWhatOtherWritersProduce)
{
    const QString text = QStringLiteral("<Par_Gen><Name>caff\u00E8 \u20AC \u2018x\u2019</Name></Par_Gen>");
    const struct {
        const char *what;
        QByteArray bytes;
    } cases[] = {
        {"UTF-8", text.toUtf8()},
        {"UTF-8 with BOM", QByteArray("\xEF\xBB\xBF") + text.toUtf8()},
        {"UTF-8 declared", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n" + text.toUtf8()},
        {"UTF-16LE with BOM", TEncoding::Unicode()->GetPreamble() + TEncoding::Unicode()->GetBytes(QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-16\"?>") + text)},
        {"UTF-16BE with BOM", TEncoding::BigEndianUnicode()->GetPreamble() + TEncoding::BigEndianUnicode()->GetBytes(text)},
        {"windows-1252 declared", TEncoding::ANSI()->GetBytes(QStringLiteral("<?xml version=\"1.0\" encoding=\"windows-1252\"?>") + text)},
        {"ANSI without declaration", TEncoding::ANSI()->GetBytes(text)},
    };
    for (const auto &c : cases) {
        WriteBytes(QStringLiteral("in.xml"), c.bytes);
        XML1().LoadFromFile(Win(QStringLiteral("in.xml")));
        EXPECT_EQ(XML1().DocumentElement()->ChildNodes()["Name"]->Text(), QStringLiteral("caff\u00E8 \u20AC \u2018x\u2019")) << c.what;
    }

    WriteBytes(QStringLiteral("latin1.xml"), QByteArray("<?xml version='1.0' encoding='ISO-8859-1'?><a v='\xE8'>\xE9</a>"));
    XML1().LoadFromFile(Win(QStringLiteral("latin1.xml")));
    EXPECT_EQ(XML1().DocumentElement()->Text(), QStringLiteral("\u00E9"));
    EXPECT_EQ(XML1().DocumentElement()->Attributes(QStringLiteral("v")), QStringLiteral("\u00E8"));
}

TEST_F(XMLDocTest, ResavingADeclaredAnsiFileWritesUtf8AndSaysSo)
{
    WriteBytes(QStringLiteral("in.xml"), TEncoding::ANSI()->GetBytes(QStringLiteral("<?xml version=\"1.0\" encoding=\"windows-1252\"?><a>\u20AC</a>")));
    XML1().LoadFromFile(Win(QStringLiteral("in.xml")));
    EXPECT_EQ(XML1().ChildNodes()[0]->NodeName(), QStringLiteral("xml"));
    EXPECT_EQ(XML1().ChildNodes()[0]->NodeType(), ntProcessingInstr);
    XML1().SaveToFile(Win(QStringLiteral("out.xml")));
    EXPECT_EQ(ReadBytes(QStringLiteral("out.xml")), QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?><a>\u20AC</a>").toUtf8());
}

TEST_F(XMLDocTest, OnlyTheDeclarationsEncodingAttributeChoosesTheCodePage)
{
    // "encoding=" inside another attribute's name or value is no encoding: the UTF-8 text
    // stays UTF-8, and what is saved reads back the same.
    const QByteArray cases[] = {
        "<?xml version=\"1.0 encoding='ISO-8859-1'\"?><a v=\"\xC3\xA8\">\xC3\xA9</a>",
        "<?xml version=\"1.0\" xencoding=\"windows-1252\"?><a v=\"\xC3\xA8\">\xC3\xA9</a>",
    };
    for (const QByteArray &bytes : cases) {
        WriteBytes(QStringLiteral("in.xml"), bytes);
        XML1().LoadFromFile(Win(QStringLiteral("in.xml")));
        EXPECT_EQ(XML1().DocumentElement()->Text(), QStringLiteral("\u00E9")) << bytes.constData();
        XML1().SaveToFile(Win(QStringLiteral("out.xml")));
        XML1().LoadFromFile(Win(QStringLiteral("out.xml")));
        EXPECT_EQ(XML1().DocumentElement()->Attributes(QStringLiteral("v")), QStringLiteral("\u00E8")) << bytes.constData();
    }
}

TEST_F(XMLDocTest, CarriageReturnsByteOrderMarkCharactersAndDoubleHyphensAsWellFormedDocumentsHaveThem)
{
    // A CR in text comes only from a reference and must be written as one again, or the
    // next load would read it as a line feed.
    WriteBytes(QStringLiteral("in.xml"), "<a>line1&#13;&#10;line2&#13;<b>x&#13;</b></a>");
    XML1().LoadFromFile(Win(QStringLiteral("in.xml")));
    XML1().SaveToFile(Win(QStringLiteral("out.xml")));
    EXPECT_EQ(ReadBytes(QStringLiteral("out.xml")), QByteArray("<a>line1&#13;\nline2&#13;<b>x&#13;</b></a>"));
    XML1().LoadFromFile(Win(QStringLiteral("out.xml")));
    EXPECT_EQ(XML1().DocumentElement()->ChildNodes()[0]->Text(), QStringLiteral("line1\r\nline2\r"));

    // U+FEFF at the start of a name, a value or a text is a character, not a byte-order mark.
    WriteBytes(QStringLiteral("in.xml"), "<a \xEF\xBB\xBFn=\"\xEF\xBB\xBFv\">\xEF\xBB\xBFt</a>");
    XML1().LoadFromFile(Win(QStringLiteral("in.xml")));
    const TXMLNode a = XML1().DocumentElement();
    ASSERT_EQ(a->AttributeNodes().size(), 1u);
    EXPECT_EQ(a->AttributeNodes()[0].Name, QStringLiteral("\uFEFFn"));
    EXPECT_EQ(a->Attributes(QStringLiteral("\uFEFFn")), QStringLiteral("\uFEFFv"));
    EXPECT_EQ(a->Text(), QStringLiteral("\uFEFFt"));

    // A comment with "--" or a final "-" is no XML, and saving could not keep it as it is.
    // Nor is a character reference past the last character, or to half a surrogate pair.
    for (const char *bytes : {"<a><!-- a -- b --></a>", "<!--x---><a/>", "<a>x&#9222222222;</a>", "<a v=\"&#x110000;\"/>", "<a>&#xD800;</a>"}) {
        WriteBytes(QStringLiteral("bad.xml"), bytes);
        EXPECT_THROW(XML1().LoadFromFile(Win(QStringLiteral("bad.xml"))), EDOMParseError) << bytes;
    }
}

TEST_F(XMLDocTest, IndentedFilesAndDeclarationsAsTheReadersSeeThem)
{
    WriteBytes(QStringLiteral("ParGen.xml"), "<?xml version=\"1.0\"?>\n<!-- hand made -->\n<Par_Gen>\n  <SERIAL_SERIAL>1</SERIAL_SERIAL>\n"
                                             "  <Mixed>a<b/></Mixed>\n  <Empty/>\n</Par_Gen>\n<!--SW_VERSION = 1.000-->\n");
    XML1().LoadFromFile(Win(QStringLiteral("ParGen.xml")));
    // The first node is the declaration, as the settings reader expects; whitespace is no node.
    ASSERT_EQ(XML1().ChildNodes()->Count(), 4);
    EXPECT_THROW(XML1().ChildNodes()[0]->ChildNodes()["lastproj"], EXMLDocError);
    EXPECT_EQ(XML1().ChildNodes()[1]->NodeType(), ntComment);
    TXMLNode root = XML1().DocumentElement();
    ASSERT_EQ(root->ChildNodes()->Count(), 3);
    EXPECT_EQ(root->ChildNodes()[0]->Text(), QStringLiteral("1"));
    EXPECT_TRUE(root->ChildNodes()[0]->IsTextElement());
    EXPECT_THROW(root->ChildNodes()["Mixed"]->Text(), EXMLDocError);
    EXPECT_EQ(root->ChildNodes()["Empty"]->Text(), QString());
    EXPECT_FALSE(root->ChildNodes()["Empty"]->IsTextElement());
    EXPECT_FALSE(root->ChildNodes()->FindNode(QStringLiteral("PROFINET_NB_IN")));
    try {
        root->ChildNodes()["PROFINET_NB_IN"];
        FAIL() << "a missing element must raise";
    } catch (const EXMLDocError &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Node \"PROFINET_NB_IN\" not found"));
    }
    EXPECT_THROW(root->ChildNodes()[3], EXMLDocError);
    EXPECT_THROW(root->ChildNodes()->FindNode(QStringLiteral("x"))->Text(), EXMLDocError) << "a null node raises, never crashes";

    XML1().SetOptions({doNodeAutoCreate});
    EXPECT_EQ(root->ChildNodes()["PROFINET_NB_IN"]->Text(), QString());
    EXPECT_EQ(root->ChildNodes()->Count(), 4);
}

TEST_F(XMLDocTest, ParseErrorsAreClearAndKeepTheOldDocument)
{
    WriteRules();
    const QString before = XML1().XML();
    const struct {
        const char *what;
        QByteArray bytes;
        const char *position;
        TXMLParseErrorCode code;
        int line;
    } cases[] = {
        {"mismatched tags", "<Par_Gen>\n  <A>1</B>\n</Par_Gen>", "line 2, column", xpeTagMismatch, 2},
        {"truncated", "<Par_Gen><A>1</A>", "line 1, column", xpeTagMismatch, 1},
        {"empty file", "", "line 1, column 1", xpeNoRoot, 1},
        {"two roots", "<a/>\n<b/>", "line 2, column 2", xpeSecondRoot, 2},
        {"late declaration", "<a/><?xml version=\"1.0\"?>", "line 1, column", xpeMisplacedDeclaration, 1},
        {"unknown encoding", "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?><a/>", "line 1, column 1", xpeUnsupportedEncoding, 1},
        {"bad UTF-8", "<?xml version=\"1.0\" encoding=\"UTF-8\"?><a>\xE8</a>", "line 1, column 42", xpeInvalidByte, 1},
        {"bad UTF-8 after a byte-order mark", "\xEF\xBB\xBF<a>\n\xE8</a>", "line 2, column 1", xpeInvalidByte, 2},
        {"not XML at all", "STR1 = Hello", "line 1, column", xpeNoRoot, 1},
        {"attribute twice", "<a>\n<row Enable=\"Y\" Enable=\"N\"/></a>", "line 2, column 2", xpeDuplicateAttribute, 2},
        {"bad attribute", "<a>\n\n<b c=d/></a>", "line 3, column", xpeBadAttribute, 3},
    };
    for (const auto &c : cases) {
        WriteBytes(QStringLiteral("bad.xml"), c.bytes);
        try {
            XML1().LoadFromFile(Win(QStringLiteral("bad.xml")));
            ADD_FAILURE() << c.what << ": no error";
        } catch (const EDOMParseError &e) {
            EXPECT_TRUE(e.Message().contains(QString::fromUtf8(c.position))) << c.what << ": " << e.what();
            EXPECT_TRUE(e.Message().contains(PathOf(QStringLiteral("bad.xml")))) << c.what << ": " << e.what();
            EXPECT_EQ(e.ErrorCode(), c.code) << c.what << ": " << e.what();
            EXPECT_EQ(e.Line(), c.line) << c.what;
        }
        EXPECT_TRUE(XML1().Active());
        EXPECT_EQ(XML1().XML(), before) << c.what;
    }
    EXPECT_THROW(XML1().LoadFromFile(Win(QStringLiteral("missing.xml"))), EFOpenError);
    EXPECT_THROW(XML1().LoadFromXML(QStringLiteral("<a>")), EXMLDocError);
    EXPECT_EQ(XML1().XML(), before);

    // A good file loads after the failures.
    WriteBytes(QStringLiteral("good.xml"), "<ok/>");
    XML1().LoadFromFile(Win(QStringLiteral("good.xml")));
    EXPECT_EQ(XML1().DocumentElement()->NodeName(), QStringLiteral("ok"));
}

TEST_F(XMLDocTest, FailedSaveRaisesAndKeepsTheOldFile)
{
    WriteBytes(QStringLiteral("ParGen.xml"), "<old/>");
    ASSERT_TRUE(QDir(Dir()).mkdir(QStringLiteral("folder.xml")));
    WriteRules();
    EXPECT_THROW(XML1().SaveToFile(Win(QStringLiteral("folder.xml"))), EFCreateError);
    EXPECT_THROW(XML1().SaveToFile(Win(QStringLiteral("missing\\ParGen.xml"))), EFCreateError);
    EXPECT_EQ(ReadBytes(QStringLiteral("ParGen.xml")), QByteArray("<old/>"));
    XML1().SaveToFile(Win(QStringLiteral("ParGen.xml")));
    EXPECT_TRUE(ReadBytes(QStringLiteral("ParGen.xml")).startsWith("<EtherNetIP_Master_Access>"));
}

TEST_F(XMLDocTest, ActiveClearAndHandlesThatOutliveTheTree)
{
    EXPECT_FALSE(XML1().Active());
    EXPECT_THROW(XML1().ChildNodes(), EXMLDocError);
    WriteRules();
    TXMLNode oldRoot = XML1().DocumentElement();
    TXMLNodeList top = XML1().ChildNodes();
    top.Clear();
    EXPECT_EQ(top.Count(), 0) << "the document's list follows the new tree";
    EXPECT_TRUE(XML1().IsEmptyDoc());
    EXPECT_EQ(oldRoot->NodeName(), QStringLiteral("EtherNetIP_Master_Access")) << "old handles stay readable";
    EXPECT_THROW(XML1().AddChild(QStringLiteral("a"))->AddChild(QStringLiteral("bad name")), EXMLDocError);
    EXPECT_THROW(XML1().AddChild(QStringLiteral("second")), EXMLDocError) << "one root only";
    EXPECT_THROW(XML1().ChildNodes().Add(XML1().CreateNode(QStringLiteral("x"), ntText)), EXMLDocError);
    EXPECT_THROW(XML1().CreateNode(QStringLiteral("a--b"), ntComment), EXMLDocError);

    XML1().SetActive(false);
    EXPECT_THROW(XML1().DocumentElement(), EXMLDocError);
    EXPECT_THROW(XML1().SaveToFile(Win(QStringLiteral("x.xml"))), EXMLDocError);
    XML1().SetActive(true);
    EXPECT_TRUE(XML1().IsEmptyDoc());
    EXPECT_EQ(XML1().XML(), QString());
}

TEST_F(XMLDocTest, NodesMoveDeleteAndComeBack)
{
    XML1().SetActive(true);
    TXMLNode root = XML1().AddChild(QStringLiteral("root"));
    TXMLNode section = XML1().CreateNode(QStringLiteral("Section"));
    section->AddChild(QStringLiteral("row"))->SetAttribute(QStringLiteral("Id"), QStringLiteral("1"));
    EXPECT_FALSE(section->ParentNode());
    root->ChildNodes().Add(section);
    EXPECT_EQ(section->ParentNode(), root);
    root->ChildNodes().Insert(0, XML1().CreateNode(QStringLiteral("First")));
    EXPECT_EQ(root->ChildNodes().IndexOf(QStringLiteral("Section")), 1);
    EXPECT_EQ(root->XML(), QStringLiteral("<root><First/><Section><row Id=\"1\"/></Section></root>"));

    EXPECT_THROW(section->ChildNodes().Add(root), EXMLDocError) << "no cycles";
    root->ChildNodes().Delete(QStringLiteral("Section"));
    EXPECT_EQ(root->ChildNodes().Count(), 1);
    EXPECT_EQ(section->ChildNodes()[0]->Attributes(QStringLiteral("Id")), QStringLiteral("1")) << "a removed node stays usable";
    root->ChildNodes().Add(section);
    EXPECT_EQ(root->ChildNodes().Remove(root->ChildNodes()[0]), 0);
    EXPECT_EQ(XML1().XML(), QStringLiteral("<root><Section><row Id=\"1\"/></Section></root>"));

    // A node from another document is copied.
    auto other = NewXMLDocument();
    other->AddChild(QStringLiteral("elsewhere"))->SetText(QStringLiteral("t"));
    root->ChildNodes().Add(other->DocumentElement());
    EXPECT_EQ(root->ChildNodes()["elsewhere"]->Text(), QStringLiteral("t"));
    EXPECT_EQ(other->DocumentElement()->ParentNode(), TXMLNode());
    EXPECT_THROW(root->SetText(QStringLiteral("x")), EXMLDocError) << "would drop the children";
}

TEST_F(XMLDocTest, DeclarationAndIndentationOnlyWhenAsked)
{
    XML1().SetActive(true);
    TXMLNode root = XML1().AddChild(QStringLiteral("Ethernet_Update"));
    root->AddChild(QStringLiteral("Version"))->SetText(QStringLiteral("1000"));
    EXPECT_EQ(XML1().XML(), QStringLiteral("<Ethernet_Update><Version>1000</Version></Ethernet_Update>"));
    XML1().SetEncoding(QStringLiteral("UTF-8"));
    EXPECT_EQ(XML1().Version(), QStringLiteral("1.0"));
    XML1().SetOptions({doNodeAutoIndent});
    EXPECT_EQ(XML1().XML(), QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Ethernet_Update>\n  <Version>1000</Version>\n</Ethernet_Update>\n"));
    EXPECT_THROW(XML1().ChildNodes().Insert(0, XML1().CreateNode(QStringLiteral("c"), ntComment)), EXMLDocError);
    XML1().ChildNodes().Insert(1, XML1().CreateNode(QStringLiteral("c"), ntComment));
    EXPECT_EQ(XML1().ChildNodes()[1]->NodeType(), ntComment);
    XML1().SetWriteBOM(true);
    EXPECT_TRUE(XML1().SaveToBytes().startsWith("\xEF\xBB\xBF<?xml"));
}

} // namespace
