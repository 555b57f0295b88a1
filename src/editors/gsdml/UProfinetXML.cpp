#include "editors/gsdml/UProfinetXML.h"

#include "core/UComon.h"
#include "core/UFabricoreFirmWare.h"
#include "editors/UDescription_File.h"
#include "platform/Classes.h"
#include "platform/Dialogs.h"
#include "platform/Encoding.h"
#include "platform/FileUtils.h"
#include "platform/SysUtils.h"
#include "platform/XMLDoc.h"

#include <algorithm>

UnicodeString GSDML_Station_Name;
int GSDML_Module_Count = 0;
std::array<std::pair<int, int>, GSDML_Max_Modules> GSDML_Module_Sizes{};

namespace {

UnicodeString S(const char *Text)
{
    return QString::fromLatin1(Text);
}

int Attribute_Int(const TXMLNode &Row, const char *Name)
{
    try {
        if (Row.NodeType() != ntElement || !Row.HasAttribute(S(Name)))
            return 0;
        int Value = 0;
        return TryStrToInt(Trim(Row.Attributes(S(Name))), Value) ? Value : 0;
    } catch (const Exception &) {
        return 0;
    }
}

// Lines of nested elements, two blanks a level.
class TLines {
public:
    explicit TLines(TStringList &L) : FL(L) {}
    void Line(const UnicodeString &Text) { FL.Add(UnicodeString(2 * FDepth, QLatin1Char(' ')) + Text); }
    void Open(const UnicodeString &Tag)
    {
        Line(QLatin1Char('<') + Tag + QLatin1Char('>'));
        ++FDepth;
    }
    void Close(const UnicodeString &Name)
    {
        --FDepth;
        Line(QStringLiteral("</") + Name + QLatin1Char('>'));
    }
    void Empty(const UnicodeString &Tag) { Line(QLatin1Char('<') + Tag + QStringLiteral("/>")); }
    void Text(const char *Name, const char *Value)
    {
        Line(QStringLiteral("<%1>%2</%1>").arg(S(Name), S(Value)));
    }

private:
    TStringList &FL;
    int FDepth = 0;
};

UnicodeString Attr(const char *Name, const UnicodeString &Value)
{
    return QLatin1Char(' ') + S(Name) + QStringLiteral("=\"") + Value + QLatin1Char('"');
}

UnicodeString Hex8(int k)
{
    return IntToHex(k, 8);
}

} // namespace

UnicodeString GSDML_Attribute_Text(const UnicodeString &Text)
{
    UnicodeString R;
    const std::u32string Chars = Text.toStdU32String();
    for (char32_t C : Chars) {
        switch (C) {
        case U'&': R += QStringLiteral("&amp;"); break;
        case U'<': R += QStringLiteral("&lt;"); break;
        case U'>': R += QStringLiteral("&gt;"); break;
        case U'"': R += QStringLiteral("&quot;"); break;
        default:
            // XML 1.0 allows no reference to the other control characters: they are dropped.
            if (C >= 0x20 && C < 0x7F)
                R += QChar(static_cast<char16_t>(C));
            else if (C == 0x9 || C == 0xA || C == 0xD || (C >= 0x7F && C <= 0xD7FF) || (C >= 0xE000 && C <= 0xFFFD)
                     || (C >= 0x10000 && C <= 0x10FFFF))
                R += QStringLiteral("&#%1;").arg(static_cast<uint>(C));
        }
    }
    return R;
}

void Read_PROFINET_Data()
{
    GSDML_Station_Name.clear();
    GSDML_Module_Count = 0;
    GSDML_Module_Sizes.fill({0, 0});
    const std::unique_ptr<TXMLDocument> Doc = NewXMLDocument();
    if (FileExists(File_ParGen)) {
        const TXMLNode Root = Load_Config_XML(Doc.get(), File_ParGen);
        Read_Child_Text(Root, S("PROFINET_NAME_STA"), GSDML_Station_Name);
    }
    if (FileExists(File_EtherNetIP_Master_Rules)) {
        const TXMLNode Root = Load_Config_XML(Doc.get(), File_EtherNetIP_Master_Rules);
        // Every rule counts, enabled or not; a comment between them is no rule.
        const TXMLNodeList Rows = Root.ChildNodes();
        for (int i = 0; i < Rows.Count() && GSDML_Module_Count < GSDML_Max_Modules; ++i) {
            const TXMLNode Row = Rows.Nodes(i);
            if (Row.NodeType() == ntElement)
                GSDML_Module_Sizes[static_cast<size_t>(GSDML_Module_Count++)] = {Attribute_Int(Row, "Num_Input"),
                                                                                 Attribute_Int(Row, "Num_Output")};
        }
    }
    if (Trim(GSDML_Station_Name).isEmpty())
        GSDML_Station_Name = S("SERIAL");
}

void Build_PROFINET_Text(TStringList &L)
{
    L.Clear();
    TLines X(L);
    const int N = GSDML_Module_Count;
    const UnicodeString Station = GSDML_Attribute_Text(GSDML_Station_Name);
    const UnicodeString Profile = S("http://www.profibus.com/GSDML/2003/11/DeviceProfile");

    X.Line(S("<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>"));
    X.Line(S("<!-- A fieldbus integration example. -->"));
    X.Open(S("ISO15745Profile") + Attr("xmlns", Profile) + Attr("xmlns:xsi", S("http://www.w3.org/2001/XMLSchema-instance"))
           + Attr("xsi:schemaLocation", Profile + S(" ..\\xsd\\GSDML-DeviceProfile-v2.31.xsd")));
    X.Open(S("ProfileHeader"));
    X.Text("ProfileIdentification", "PROFINET Device Profile");
    X.Text("ProfileRevision", "1.00");
    X.Text("ProfileName", "Device Profile for PROFINET Devices");
    X.Text("ProfileSource", "PROFIBUS Nutzerorganisation e. V. (PNO)");
    X.Text("ProfileClassID", "Device");
    X.Open(S("ISO15745Reference"));
    X.Text("ISO15745Part", "4");
    X.Text("ISO15745Edition", "1");
    X.Text("ProfileTechnology", "GSDML");
    X.Close(S("ISO15745Reference"));
    X.Close(S("ProfileHeader"));

    X.Open(S("ProfileBody"));
    X.Open(S("DeviceIdentity") + Attr("VendorID", S("0x6B3D")) + Attr("DeviceID", S("0x0D93")));
    X.Empty(S("InfoText") + Attr("TextId", S("IDT_INFO_Device")));
    X.Empty(S("VendorName") + Attr("Value", S("VeltraCorp")));
    X.Close(S("DeviceIdentity"));
    X.Open(S("DeviceFunction"));
    X.Empty(S("Family") + Attr("MainFamily", S("Gateway")) + Attr("ProductFamily", S("DV40368")));
    X.Close(S("DeviceFunction"));
    X.Open(S("ApplicationProcess"));

    X.Open(S("DeviceAccessPointList"));
    X.Open(S("DeviceAccessPointItem") + Attr("PNIO_Version", S("V2.3")) + Attr("RequiredSchemaVersion", S("V2.25"))
           + Attr("ID", S("IDD_1")) + Attr("PhysicalSlots", S("0..127")) + Attr("ModuleIdentNumber", S("0x00000001"))
           + Attr("MinDeviceInterval", S("64")) + Attr("ImplementationType", Station)
           + Attr("DNS_CompatibleName", Station) + Attr("FixedInSlots", S("0")) + Attr("ObjectUUID_LocalIndex", S("1"))
           + Attr("MultipleWriteSupported", S("true")) + Attr("MaxSupportedRecordSize", S("8192"))
           + Attr("ParameterizationSpeedupSupported", S("true")) + Attr("PowerOnToCommReady", S("350"))
           + Attr("DeviceAccessSupported", S("true")) + Attr("CheckDeviceID_Allowed", S("false"))
           + Attr("NameOfStationNotTransferable", S("true")));
    X.Open(S("ModuleInfo"));
    X.Empty(S("Name") + Attr("TextId", S("IDT_NAME_DAP1")));
    X.Empty(S("InfoText") + Attr("TextId", S("IDT_INFO_DAP1")));
    X.Empty(S("VendorName") + Attr("Value", S("VeltraCorp")));
    X.Empty(S("OrderNumber") + Attr("Value", S("DV40368-A1")));
    X.Close(S("ModuleInfo"));
    X.Open(S("SubslotList"));
    for (const auto &[Number, Text] : {std::pair<const char *, const char *>{"1", "IDT_SUBSLOT_1"},
                                       {"32768", "IDT_SUBSLOT_Interface"},
                                       {"32769", "IDT_SUBSLOT_Port1"},
                                       {"32770", "IDT_SUBSLOT_Port2"}})
        X.Empty(S("SubslotItem") + Attr("SubslotNumber", S(Number)) + Attr("TextId", S(Text)));
    X.Close(S("SubslotList"));
    X.Empty(S("IOConfigData") + Attr("MaxInputLength", S("1440")) + Attr("MaxOutputLength", S("1440"))
            + Attr("MaxDataLength", S("2880")));
    X.Open(S("UseableModules"));
    for (int k = 1; k <= N; ++k)
        X.Empty(S("ModuleItemRef") + Attr("ModuleItemTarget", S("IDM_") + IntToStr(k)) + Attr("FixedInSlots", IntToStr(k)));
    X.Close(S("UseableModules"));
    X.Open(S("VirtualSubmoduleList"));
    X.Open(S("VirtualSubmoduleItem") + Attr("ID", S("IDS_V1")) + Attr("SubmoduleIdentNumber", S("0x00000000")));
    X.Empty(S("IOData") + Attr("IOPS_Length", S("1")) + Attr("IOCS_Length", S("1")));
    X.Open(S("ModuleInfo"));
    X.Empty(S("Name") + Attr("TextId", S("IDT_NAME_VS1")));
    X.Empty(S("InfoText") + Attr("TextId", S("IDT_INFO_VS1")));
    X.Close(S("ModuleInfo"));
    X.Close(S("VirtualSubmoduleItem"));
    X.Close(S("VirtualSubmoduleList"));
    X.Open(S("SystemDefinedSubmoduleList"));
    X.Open(S("InterfaceSubmoduleItem") + Attr("ID", S("IDS_I")) + Attr("SubmoduleIdentNumber", S("0x00000001"))
           + Attr("SubslotNumber", S("32768")) + Attr("TextId", S("IDT_NAME_IS"))
           + Attr("SupportedRT_Classes", S("RT_CLASS_1")) + Attr("SupportedProtocols", S("SNMP;LLDP"))
           + Attr("SupportedMibs", S("MIB2")));
    X.Open(S("ApplicationRelations"));
    X.Empty(S("TimingProperties") + Attr("SendClock", S("32")) + Attr("ReductionRatio", S("1 2 4 8 16 32 64 128 256 512")));
    X.Close(S("ApplicationRelations"));
    X.Close(S("InterfaceSubmoduleItem"));
    for (const auto &[Id, Number, Text] : {std::tuple<const char *, const char *, const char *>{"IDS_P1", "32769", "IDT_NAME_PS1"},
                                           {"IDS_P2", "32770", "IDT_NAME_PS2"}})
        X.Empty(S("PortSubmoduleItem") + Attr("ID", S(Id)) + Attr("SubmoduleIdentNumber", S("0x00000002"))
                + Attr("SubslotNumber", S(Number)) + Attr("TextId", S(Text)) + Attr("MaxPortRxDelay", S("350"))
                + Attr("MaxPortTxDelay", S("160")));
    X.Close(S("SystemDefinedSubmoduleList"));
    X.Line(S("<!-- This element tells the engineering tool that the DAP supports fieldbus integration (slot clusters). -->"));
    X.Line(S("<!-- <FieldbusIntegrationSlots MaxSupported=\"127\" Range=\"100..9999\"/> -->"));
    X.Close(S("DeviceAccessPointItem"));
    X.Close(S("DeviceAccessPointList"));

    X.Open(S("ModuleList"));
    X.Line(S("<!-- The \"normal\" module carrying the FAP. -->"));
    for (int k = 1; k <= N; ++k) {
        const UnicodeString Ks = IntToStr(k);
        const UnicodeString Name_M = S("IDT_NAME_M") + Ks;
        const auto [In, Out] = GSDML_Module_Sizes[static_cast<size_t>(k - 1)];
        X.Open(S("ModuleItem") + Attr("ID", S("IDM_") + Ks) + Attr("ModuleIdentNumber", S("0x00000002")));
        X.Open(S("ModuleInfo"));
        X.Empty(S("Name") + Attr("TextId", Name_M));
        X.Empty(S("InfoText") + Attr("TextId", S("IDT_INFO_M") + Ks));
        X.Empty(S("OrderNumber") + Attr("Value", S("12345-0040-M")));
        X.Close(S("ModuleInfo"));
        X.Open(S("VirtualSubmoduleList"));
        X.Open(S("VirtualSubmoduleItem") + Attr("ID", S("IDM_") + Ks) + Attr("SubmoduleIdentNumber", S("0x") + Hex8(k)));
        X.Open(S("IOData") + Attr("IOPS_Length", S("1")) + Attr("IOCS_Length", S("1")));
        if (Out > 0)
            X.Line(S("<Input><DataItem") + Attr("DataType", S("OctetString")) + Attr("Length", IntToStr(Out))
                   + Attr("TextId", S("IDT_Input_1")) + S("/></Input>"));
        if (In > 0)
            X.Line(S("<Output><DataItem") + Attr("DataType", S("OctetString")) + Attr("Length", IntToStr(In))
                   + Attr("TextId", S("IDT_Output_1")) + S("/></Output>"));
        X.Close(S("IOData"));
        X.Open(S("RecordDataList"));
        X.Open(S("ParameterRecordDataItem") + Attr("Index", S("128")) + Attr("Length", S("2")));
        X.Empty(S("Name") + Attr("TextId", Name_M + S("_IDT_REF_channel")));
        X.Empty(S("Const") + Attr("ByteOffset", S("0")) + Attr("Data", S("0x00,0x00")));
        X.Empty(S("Ref") + Attr("TextId", S("IDT_REF_reaction_to_cpu_stop")) + Attr("Visible", S("true"))
                + Attr("DataType", S("BitArea")) + Attr("ByteOffset", S("0")) + Attr("BitOffset", S("0"))
                + Attr("BitLength", S("2")) + Attr("DefaultValue", S("2")) + Attr("AllowedValues", S("0..2"))
                + Attr("ValueItemTarget", S("IDV_reaction_to_cpu_stop")) + Attr("ID", S("IDT_REF_reaction_to_cpu_stop")));
        X.Open(S("MenuList"));
        X.Open(S("MenuItem") + Attr("ID", Name_M + S("_IDT_REF_channel")));
        X.Empty(S("Name") + Attr("TextId", Name_M + S("_IDT_REF_channel")));
        X.Empty(S("MenuRef") + Attr("MenuTarget", Name_M + S("_Base_Parameters")));
        X.Close(S("MenuItem"));
        X.Open(S("MenuItem") + Attr("ID", Name_M + S("_Base_Parameters")));
        X.Empty(S("Name") + Attr("TextId", Name_M + S("_Base_Parameters")));
        X.Empty(S("ParameterRef") + Attr("ParameterTarget", S("IDT_REF_reaction_to_cpu_stop")));
        X.Close(S("MenuItem"));
        X.Close(S("MenuList"));
        X.Close(S("ParameterRecordDataItem"));
        X.Close(S("RecordDataList"));
        X.Open(S("ModuleInfo"));
        X.Empty(S("Name") + Attr("TextId", Name_M));
        X.Empty(S("InfoText") + Attr("TextId", S("IDT_INFO_M") + Ks));
        X.Close(S("ModuleInfo"));
        X.Close(S("VirtualSubmoduleItem"));
        X.Close(S("VirtualSubmoduleList"));
        X.Close(S("ModuleItem"));
    }
    X.Close(S("ModuleList"));

    X.Open(S("ValueList"));
    X.Open(S("ValueItem") + Attr("ID", S("IDV_reaction_to_cpu_stop")));
    X.Open(S("Assignments"));
    for (const auto &[Text, Content] : {std::pair<const char *, const char *>{"IDT_ASSIGN_do_set_substitude_values", "0"},
                                        {"IDT_ASSIGN_do_values_will_hold", "1"},
                                        {"IDT_ASSIGN_do_continue_counting", "2"}})
        X.Empty(S("Assign") + Attr("TextId", S(Text)) + Attr("Content", S(Content)));
    X.Close(S("Assignments"));
    X.Close(S("ValueItem"));
    X.Close(S("ValueList"));

    X.Open(S("CategoryList"));
    for (const char *Kind : {"DI", "DO"}) {
        X.Open(S("CategoryItem") + Attr("ID", S("IDC_") + S(Kind)) + Attr("TextId", S("IDT_CATEGORY_") + S(Kind)));
        X.Empty(S("InfoText") + Attr("TextId", S("IDT_INFO_") + S(Kind)));
        X.Close(S("CategoryItem"));
    }
    X.Close(S("CategoryList"));

    X.Open(S("ExternalTextList"));
    X.Open(S("PrimaryLanguage"));
    auto Text = [&X](const UnicodeString &Id, const UnicodeString &Value) {
        X.Empty(S("Text") + Attr("TextId", Id) + Attr("Value", Value));
    };
    for (const auto &[Id, Value] : {std::pair<const char *, const char *>{"IDT_INFO_Device", "Veltra Gateways"},
                                    {"IDT_NAME_DAP1", "EthernetIPMaster"},
                                    {"IDT_INFO_DAP1", "EthernetIP Adapter"},
                                    {"IDT_SUBSLOT_1", "Subslot 1"},
                                    {"IDT_SUBSLOT_Interface", "Interface"},
                                    {"IDT_SUBSLOT_Port1", "Port 1"},
                                    {"IDT_SUBSLOT_Port2", "Port 2"},
                                    {"IDT_RECORD_NAME_Head", "Parameters of head module"},
                                    {"IDT_REF_Power", "Percent power"},
                                    {"IDT_NAME_VS1", "Submodule V1"},
                                    {"IDT_INFO_VS1", "Description of submodule V1"},
                                    {"IDT_NAME_IS", "I"},
                                    {"IDT_NAME_PS1", "P1"},
                                    {"IDT_NAME_PS2", "P2"}})
        Text(S(Id), S(Value));
    for (int k = 1; k <= N; ++k) {
        const UnicodeString Name_M = S("IDT_NAME_M") + IntToStr(k);
        Text(Name_M, S("Module"));
        Text(S("IDT_INFO_M") + IntToStr(k), S("device EthernetIPSlave") + IntToStr(k));
        Text(Name_M + S("_IDT_REF_channel"), S("Canale x"));
        Text(Name_M + S("_Base_Parameters"), S("Base Parameters"));
    }
    for (const auto &[Id, Value] : {std::pair<const char *, const char *>{"IDT_NAME_FAP", "FAP for EthernetIPMaster"},
                                    {"IDT_INFO_FAP", "Description of FAP for EthernetIPMaster"},
                                    {"IDT_RECORD_NAME_SlotCluster", "Parameters of the FAP"},
                                    {"IDT_REF_SlotClusterBegin", "Beginning of slot cluster"},
                                    {"IDT_NAME_M_PB1", "EthernetIPMaster "},
                                    {"IDT_INFO_M_PB1", "Description of EthernetIPMaster"},
                                    {"IDT_NAME_S_PB1", "Module of a EthernetIPMaster"},
                                    {"IDT_INFO_S_PB1", "Description of module of a EthernetIPMaster"},
                                    {"IDT_PB_Input", "Digital input EthernetIPMaster"},
                                    {"IDT_PB_InputBit0", "Digital input bit EthernetIPMaster"},
                                    {"IDT_NAME_S1", "Submodule 1"},
                                    {"IDT_INFO_S1", "Description of submodule 1"},
                                    {"IDT_Input_1", "Input byte"},
                                    {"IDT_Output_1", "Output word"},
                                    {"IDT_CATEGORY_DI", "Digital Input"},
                                    {"IDT_INFO_DI", "Description of digital input"},
                                    {"IDT_CATEGORY_DO", "Digital output"},
                                    {"IDT_INFO_DO", "Description of digital output"},
                                    {"IDT_REF_reaction_to_cpu_stop", "Reaction to CPU STOP"}})
        Text(S(Id), S(Value));
    // The last three are written value first, as the tools that made this file did.
    for (const auto &[Id, Value] : {std::pair<const char *, const char *>{"IDT_ASSIGN_do_set_substitude_values", "Output substitute value"},
                                    {"IDT_ASSIGN_do_values_will_hold", "Keep last value"},
                                    {"IDT_ASSIGN_do_continue_counting", "Continue operation"}})
        X.Empty(S("Text") + Attr("Value", S(Value)) + Attr("TextId", S(Id)));
    X.Close(S("PrimaryLanguage"));
    X.Close(S("ExternalTextList"));
    X.Close(S("ApplicationProcess"));
    X.Close(S("ProfileBody"));
    X.Close(S("ISO15745Profile"));
}

void Write_PROFINET_XML(const UnicodeString &File_Name)
{
    Read_PROFINET_Data();
    TStringList Lines;
    Build_PROFINET_Text(Lines);
    Save_Description_File(Lines, File_Name, TEncoding::UTF8());
}

void Create_PROFINET_XML(const UnicodeString &File_Name)
{
    TSaveDialog Dialog(nullptr);
    Dialog.SetInitialDir(Path_Active_Conf);
    Dialog.SetFilter(QStringLiteral("PROFINET XML (*.xml)|") + File_Name);
    Dialog.SetFileName(File_Name);
    if (!Dialog.Execute())
        return;
    const UnicodeString Target = ExtractFileDir(Dialog.FileName()) + QStringLiteral("\\") + File_Name;
    if (FileExists(Target)
        && MessageDlg(Lang_Text(911), mtConfirmation, TMsgDlgButtons{mbYes, mbNo}, 0) != mrYes)
        return;
    Write_PROFINET_XML(Target);
}
