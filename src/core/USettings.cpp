#include "core/USettings.h"

#include "core/UComon.h"
#include "platform/FileUtils.h"
#include "platform/XMLDoc.h"

#include <memory>

namespace {

// The text of element Child inside element Parent below Root; raises on any failure.
UnicodeString Child_Text(const TXMLNode &Root, const char *Parent, const char *Child)
{
    const TXMLNode P = Root.ChildNodes().FindNode(QString::fromLatin1(Parent));
    if (!P)
        throw EXMLDocError(QStringLiteral("Node \"%1\" not found").arg(QString::fromLatin1(Parent)));
    const TXMLNode C = P.ChildNodes().FindNode(QString::fromLatin1(Child));
    if (!C)
        throw EXMLDocError(QStringLiteral("Node \"%1\" not found").arg(QString::fromLatin1(Child)));
    return C.Text();
}

bool Read_Flag(const TXMLNode &Root, const char *Child)
{
    try {
        return Child_Text(Root, "lastinternet", Child) == QLatin1String("1");
    } catch (const Exception &) {
        return false;
    }
}

void Set_Default_Setting()
{
    Name_Active_Conf.clear();
    Path_Active_Conf.clear();
    Last_IP_Address = Default_IP_Address;
    Language_Name = Default_Language;
    Opt_Internet = false;
    Opt_Check_Update = false;
    Opt_Jump_Field = false;
    Opt_AutoSize_Col = false;
}

void Add_Text_Element(const TXMLNode &Parent, const char *Name, const UnicodeString &Text)
{
    Parent.AddChild(QString::fromLatin1(Name)).SetText(Text);
}

UnicodeString Flag_Text(bool Flag)
{
    return Flag ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace

TXMLNode Document_Root(TXMLDocument *XML)
{
    const TXMLNodeList Nodes = XML->ChildNodes();
    for (int i = 0; i < Nodes.Count(); ++i) {
        const TXMLNode Node = Nodes.Nodes(i);
        if (Node.NodeType() == ntElement)
            return Node;
    }
    return TXMLNode();
}

void Read_Setting(TXMLDocument *XML1)
{
    std::unique_ptr<TXMLDocument> Scratch;
    if (!XML1) {
        Scratch = NewXMLDocument();
        XML1 = Scratch.get();
    }
    const UnicodeString File_Name = Path_Exe + Setting_File_Name;
    Set_Default_Setting();
    if (!FileExists(File_Name))
        return;
    TXMLNode Root;
    try {
        XML1->SetActive(true);
        XML1->LoadFromFile(File_Name);
        Root = Document_Root(XML1);
    } catch (const Exception &) {
        // A file that is no XML is treated like a missing one: the defaults stay.
        return;
    }
    try {
        Name_Active_Conf = Child_Text(Root, "lastproj", "projectname");
    } catch (const Exception &) {
        Name_Active_Conf.clear();
    }
    try {
        Last_IP_Address = Child_Text(Root, "lastipadd", "ipaddress");
    } catch (const Exception &) {
        Last_IP_Address = Default_IP_Address;
    }
    try {
        Language_Name = Child_Text(Root, "lastlang", "language");
    } catch (const Exception &) {
        Language_Name = Default_Language;
    }
    Opt_Internet = Read_Flag(Root, "enable_internet");
    Opt_Check_Update = Read_Flag(Root, "enable_update");
    Opt_Jump_Field = Read_Flag(Root, "enable_jump_field_tables");
    Opt_AutoSize_Col = Read_Flag(Root, "Double_Click_Auto_Size");
}

void Save_Setting(TXMLDocument *XML1)
{
    std::unique_ptr<TXMLDocument> Scratch;
    if (!XML1) {
        Scratch = NewXMLDocument();
        XML1 = Scratch.get();
    }
    XML1->SetActive(true);
    // The shared document may still hold a file that an editor or the compiler loaded.
    XML1->ChildNodes().Clear();
    const TXMLNode Root = XML1->AddChild(QStringLiteral("Conf_Settings"));
    Add_Text_Element(Root.AddChild(QStringLiteral("lastproj")), "projectname", Name_Active_Conf);
    Add_Text_Element(Root.AddChild(QStringLiteral("lastipadd")), "ipaddress", Last_IP_Address);
    Add_Text_Element(Root.AddChild(QStringLiteral("lastlang")), "language", Language_Name);
    const TXMLNode Internet = Root.AddChild(QStringLiteral("lastinternet"));
    Add_Text_Element(Internet, "enable_internet", Flag_Text(Opt_Internet));
    Add_Text_Element(Internet, "enable_update", Flag_Text(Opt_Check_Update));
    Add_Text_Element(Internet, "enable_jump_field_tables", Flag_Text(Opt_Jump_Field));
    Add_Text_Element(Internet, "Double_Click_Auto_Size", Flag_Text(Opt_AutoSize_Col));
    XML1->SaveToFile(Path_Exe + Setting_File_Name);
}

void Set_Files()
{
    File_ParGen = Path_Active_Conf + QStringLiteral("\\ParGen.xml");
    File_EtherNetIP_Master_Rules = Path_Active_Conf + QStringLiteral("\\EtherNetIP_Master_Rules.xml");
    File_SNMP_Trap = Path_Active_Conf + QStringLiteral("\\SNMP_Trap.xml");
    File_CAN_Rec_Frames = Path_Active_Conf + QStringLiteral("\\CAN_Rec_Frames.xml");
    File_CAN_Send_Frames = Path_Active_Conf + QStringLiteral("\\CAN_Send_Frames.xml");
    File_BACnet_Slave_SetAccess = Path_Active_Conf + QStringLiteral("\\BACnet_Slave_SetAccess.xml");
    File_KNX_SetAccess = Path_Active_Conf + QStringLiteral("\\KNX_SetAccess.xml");
    File_MQTT_Set_Topic = Path_Active_Conf + QStringLiteral("\\MQTT_Set_Topic.xml");
    File_SDO_Server_CANopen = Path_Active_Conf + QStringLiteral("\\SDO_Server_CANopen.xml");
    File_SDO_Client_CANopen = Path_Active_Conf + QStringLiteral("\\SDO_Client_CANopen.xml");
    File_PDO_CANopen = Path_Active_Conf + QStringLiteral("\\PDO_CANopen.xml");
}
