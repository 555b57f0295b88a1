#include "core/URuleXML.h"

#include "platform/XMLDoc.h"

const char *const EtherNetIP_Rule_Attributes[EtherNetIP_Rule_Columns] = {
    "Enable", "IP_Address", "Start_Input", "Num_Input", "Start_Output", "Num_Output",
    "Time_Poll", "Instance_T_O", "Connection_Point_T_O", "Instance_O_T", "Connection_Point_O_T", "Mnemonic",
};

TXMLNode New_Rule_XML(TXMLDocument *XML, const UnicodeString &Root_Name, const UnicodeString &Version)
{
    XML->SetActive(true);
    XML->ChildNodes().Clear();
    const TXMLNode Root = XML->AddChild(Root_Name);
    if (!Version.isEmpty())
        XML->ChildNodes().Add(XML->CreateNode(QStringLiteral("SW_VERSION = ") + Version, ntComment));
    return Root;
}

TXMLNode Add_Rule_Row(const TXMLNode &Parent, const char *const Names[], const UnicodeString Values[], int Count)
{
    const TXMLNode Row = Parent.AddChild(QStringLiteral("row"));
    for (int i = 0; i < Count; ++i)
        Row.SetAttribute(QString::fromLatin1(Names[i]), Values[i]);
    return Row;
}

UnicodeString Get_Rule_Attribute(const TXMLNode &Row, const UnicodeString &Name, const UnicodeString &Default)
{
    try {
        if (Row && Row.NodeType() == ntElement && Row.HasAttribute(Name))
            return Row.Attributes(Name);
    } catch (const Exception &) {
    }
    return Default;
}

TXMLNode Find_Rule_Section(const TXMLNode &Root, const UnicodeString &Name)
{
    try {
        return Root ? Root.ChildNodes().FindNode(Name) : TXMLNode();
    } catch (const Exception &) {
        return TXMLNode();
    }
}
