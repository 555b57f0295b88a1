#include "core/URuleXML.h"

#include "platform/XMLDoc.h"

#include <gtest/gtest.h>

namespace {

TEST(RuleXML, WrittenFileHasRootRowsThenTheVersionComment)
{
    const std::unique_ptr<TXMLDocument> XML = NewXMLDocument();
    XML->LoadFromXML(QStringLiteral("<Conf_Settings><lastproj/></Conf_Settings>"));
    const TXMLNode Root = New_Rule_XML(XML.get(), EtherNetIP_Rules_Root, EtherNetIP_Rules_Version);
    const UnicodeString Row1[EtherNetIP_Rule_Columns] = {
        QStringLiteral("Y"), QStringLiteral(" 192.168.1.10"), QStringLiteral("0"), QStringLiteral("8"),
        QStringLiteral("0"), QStringLiteral("4"), QStringLiteral("1000"), QStringLiteral("1"),
        QStringLiteral("100"), QStringLiteral("1"), QStringLiteral("101"), QStringLiteral("Slave 1"),
    };
    Add_Rule_Row(Root, EtherNetIP_Rule_Attributes, Row1, EtherNetIP_Rule_Columns);
    EXPECT_EQ(XML->SaveToXML().trimmed().toStdString(),
              QStringLiteral("<EtherNetIP_Master_Access><row Enable=\"Y\" IP_Address=\" 192.168.1.10\" Start_Input=\"0\" "
                             "Num_Input=\"8\" Start_Output=\"0\" Num_Output=\"4\" Time_Poll=\"1000\" Instance_T_O=\"1\" "
                             "Connection_Point_T_O=\"100\" Instance_O_T=\"1\" Connection_Point_O_T=\"101\" "
                             "Mnemonic=\"Slave 1\"/></EtherNetIP_Master_Access><!--SW_VERSION = 1.005-->").toStdString());
}

TEST(RuleXML, NoVersionNoComment)
{
    const std::unique_ptr<TXMLDocument> XML = NewXMLDocument();
    New_Rule_XML(XML.get(), QStringLiteral("MQTT_Set_Topic"), UnicodeString());
    EXPECT_EQ(XML->ChildNodes().Count(), 1);
}

TEST(RuleXML, AttributesAndSectionsReadWithDefaults)
{
    const std::unique_ptr<TXMLDocument> XML = NewXMLDocument();
    XML->LoadFromXML(QStringLiteral("<R><!--c--><row Enable=\"\" Mnemonic=\"m\"/><Read><row/></Read>text</R>"));
    const TXMLNode Root = XML->DocumentElement();
    const TXMLNodeList Rows = Root.ChildNodes();
    EXPECT_EQ(Get_Rule_Attribute(Rows.Nodes(0), QStringLiteral("Enable"), QStringLiteral("N")), QStringLiteral("N"));
    EXPECT_EQ(Get_Rule_Attribute(Rows.Nodes(1), QStringLiteral("Enable"), QStringLiteral("N")), QString());
    EXPECT_EQ(Get_Rule_Attribute(Rows.Nodes(1), QStringLiteral("Mnemonic"), QString()), QStringLiteral("m"));
    EXPECT_EQ(Get_Rule_Attribute(Rows.Nodes(1), QStringLiteral("IP_Address"), QStringLiteral("x")), QStringLiteral("x"));
    EXPECT_EQ(Get_Rule_Attribute(Rows.Last(), QStringLiteral("Enable"), QStringLiteral("N")), QStringLiteral("N"));
    EXPECT_EQ(Get_Rule_Attribute(TXMLNode(), QStringLiteral("Enable"), QStringLiteral("N")), QStringLiteral("N"));
    EXPECT_EQ(Find_Rule_Section(Root, QStringLiteral("Read")).ChildNodes().Count(), 1);
    EXPECT_FALSE(Find_Rule_Section(Root, QStringLiteral("Write")));
    EXPECT_FALSE(Find_Rule_Section(TXMLNode(), QStringLiteral("Read")));
}

} // namespace

namespace {

// A cell text comes back from the file exactly as it was written, whatever characters it holds.
TEST(RuleXML, CellTextsComeBackUnchanged)
{
    const UnicodeString Texts[] = {
        QStringLiteral("<&\"'>"), QStringLiteral("  blanks at both ends  "), QStringLiteral("tab\there"),
        QStringLiteral("two\nlines"), QStringLiteral("cr\r\nlf"), QStringLiteral("S\u00fcd \u00b6 \u20ac"),
        QStringLiteral("]]> &amp; <!--"), QString(),
    };
    for (const UnicodeString &Text : Texts) {
        const std::unique_ptr<TXMLDocument> XML = NewXMLDocument();
        const TXMLNode Root = New_Rule_XML(XML.get(), EtherNetIP_Rules_Root, EtherNetIP_Rules_Version);
        const char *const Names[] = {"Mnemonic"};
        Add_Rule_Row(Root, Names, &Text, 1);
        const std::unique_ptr<TXMLDocument> Back = NewXMLDocument();
        Back->LoadFromXML(XML->SaveToXML());
        const TXMLNode Row = Back->DocumentElement().ChildNodes().Nodes(0);
        EXPECT_EQ(Get_Rule_Attribute(Row, QStringLiteral("Mnemonic"), QStringLiteral("missing")), Text)
            << Text.toStdString();
    }
}

} // namespace
