#include "core/URuleXML.h"

#include "core/USettings.h"
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

std::vector<QStringList> Read_Rule_Rows(TXMLDocument *XML, const UnicodeString &File_Name, const char *const Names[],
                                        const UnicodeString Defaults[], int Count, int Max_Rows)
{
    XML->SetActive(true);
    XML->LoadFromFile(File_Name);
    std::vector<QStringList> Rows;
    const TXMLNode Root = Document_Root(XML);
    if (!Root)
        return Rows;
    const TXMLNodeList Nodes = Root.ChildNodes();
    for (int i = 0; i < Nodes.Count() && int(Rows.size()) < Max_Rows; ++i) {
        const TXMLNode Row = Nodes.Nodes(i);
        if (Row.NodeType() != ntElement)
            continue;
        QStringList Texts;
        for (int k = 0; k < Count; ++k)
            Texts << Get_Rule_Attribute(Row, QString::fromLatin1(Names[k]), Defaults[k]);
        Rows.push_back(Texts);
    }
    return Rows;
}

void Write_Rule_File(TXMLDocument *XML, const UnicodeString &File_Name, const UnicodeString &Root_Name,
                     const UnicodeString &Version, const char *const Names[], const std::vector<QStringList> &Rows)
{
    const TXMLNode Root = New_Rule_XML(XML, Root_Name, Version);
    for (const QStringList &Texts : Rows)
        Add_Rule_Row(Root, Names, Texts.constData(), int(Texts.size()));
    XML->SaveToFile(File_Name);
}
