#include "editors/ede/UBACnet_EDE_File.h"

#include "core/UComon.h"
#include "editors/UDescription_File.h"
#include "platform/Classes.h"
#include "platform/Encoding.h"
#include "platform/FileUtils.h"
#include "platform/SysUtils.h"
#include "platform/XMLDoc.h"

std::vector<TBACnet_EDE_Obj> EDE_Objects;
std::array<int, EDE_Object_Type_Count> EDE_Instance_Counters{};
UnicodeString EDE_Device_Instance;
bool EDE_Long_Names = false;

namespace {

struct TObject_Type {
    const char *Name;
    int Type;
};

constexpr TObject_Type Object_Types[EDE_Object_Type_Count] = {
    {"ANALOG INPUT", 0},           {"ANALOG OUT", 1},          {"ANALOG VALUE", 2},
    {"BINARY INPUT", 3},           {"BINARY OUT", 4},          {"BINARY VALUE", 5},
    {"MULTI STATE INPUT", 13},     {"MULTI STATE OUTPUT", 14}, {"MULTI STATE VALUE", 19},
    {"LIFE SAFETY POINT", 21},     {"LIFE SAFETY ZONE", 22},   {"ACCUMULATOR", 23},
    {"ACCESS DOOR", 30},           {"CHARACTERSTRING VALUE", 40}, {"DATETIME VALUE", 44},
    {"INTEGER VALUE", 45},         {"LARGE ANALOG VALUE", 46}, {"POSITIVE INTEGER VALUE", 48},
};

// A field never carries the separator, a quote that a reader would take as the start of a
// quoted field, or a line break: each would shift the columns of the line.
UnicodeString Field(const UnicodeString &S)
{
    UnicodeString R = S;
    for (QChar &c : R) {
        if (c == u';' || c == u'"')
            c = u'_';
        else if (c == u'\r' || c == u'\n')
            c = u' ';
    }
    return R;
}

UnicodeString Two(int v)
{
    return v < 10 ? QLatin1Char('0') + IntToStr(v) : IntToStr(v);
}

TXMLNode Section(const TXMLNode &Root, const UnicodeString &Name)
{
    const TXMLNode Node = Root.ChildNodes().FindNode(Name);
    if (!Node)
        throw EXMLDocError(QStringLiteral("Node \"%1\" not found").arg(Name));
    return Node;
}

void Read_Section(const TXMLNode &Section_Node)
{
    const TXMLNodeList Rows = Section_Node.ChildNodes();
    for (int i = 0; i < Rows.Count(); ++i) {
        const TXMLNode Row = Rows.Nodes(i);
        if (Row.NodeType() != ntElement)
            continue;
        const int Type = Get_Object_Type(Row.Attributes(QStringLiteral("Data_Type")));
        const UnicodeString Unit = Row.Attributes(QStringLiteral("Eng_Unit"));
        const UnicodeString Mnemonic = Row.Attributes(QStringLiteral("Mnemonic"));
        TBACnet_EDE_Obj O;
        O.DevObjInstance = EDE_Device_Instance;
        O.ObjectName = Mnemonic.left(EDE_Long_Names ? 32 : 16);
        O.ObjectType = IntToStr(Type);
        O.ObjectInstance = IntToStr(Next_Object_Instance(Type));
        O.Keyname = EDE_Device_Instance + QLatin1Char('_') + Mnemonic + QLatin1Char('_') + O.ObjectInstance;
        O.Description = O.ObjectName;
        O.UnitCode = Unit;
        EDE_Objects.push_back(std::move(O));
    }
}

} // namespace

int Get_Object_Type(const UnicodeString &Name)
{
    const UnicodeString Key = UpperCase(Trim(Name));
    for (const TObject_Type &T : Object_Types)
        if (Key == QLatin1String(T.Name))
            return T.Type;
    return 0;
}

int Next_Object_Instance(int Object_Type)
{
    for (int i = 0; i < EDE_Object_Type_Count; ++i)
        if (Object_Types[i].Type == Object_Type)
            return EDE_Instance_Counters[static_cast<size_t>(i)]++;
    return EDE_Instance_Counters[0]++;
}

void Clear_Instance_Counters()
{
    EDE_Instance_Counters.fill(0);
}

UnicodeString Get_Time_Stamp()
{
    Word Year, Month, Day, Hour, Min, Sec, MSec;
    DecodeDateTime(Now(), Year, Month, Day, Hour, Min, Sec, MSec);
    return Two(Hour) + QLatin1Char(':') + Two(Min) + QLatin1Char(':') + Two(Sec) + QLatin1Char(' ') + Two(Day)
           + QLatin1Char('/') + Two(Month) + QLatin1Char('/') + Two(Year);
}

UnicodeString Get_EDE_Name_Part()
{
    return UnicodeString();
}

void Read_ParGen_EDE()
{
    if (!FileExists(File_ParGen))
        return;
    const TXMLNode Root = Load_Config_XML(Shared_XML(), File_ParGen);
    UnicodeString Text;
    const int Type = Read_Child_Text(Root, QStringLiteral("BACnet_Type"), Text) ? StrToIntDef(Text, 0) : 0;
    if (Read_Child_Text(Root, Type == 1 ? QStringLiteral("BACnet_Ser_DEV_IDE") : QStringLiteral("BACnet_DEV_IDE"), Text))
        EDE_Device_Instance = Text;
    if (Read_Child_Text(Root, QStringLiteral("BACnet_Desc_Chars_Limit"), Text) && Text == QStringLiteral("1"))
        EDE_Long_Names = true;
}

void Read_BACnet_Objects()
{
    if (!FileExists(File_BACnet_Slave_SetAccess))
        return;
    const TXMLNode Root = Load_Config_XML(Shared_XML(), File_BACnet_Slave_SetAccess);
    // Both sections are found before the first row is read, so that a damaged file never gets
    // half its objects numbered.
    const TXMLNode Reads = Section(Root, QStringLiteral("BACnet_in_Read"));
    const TXMLNode Writes = Section(Root, QStringLiteral("BACnet_in_Write"));
    Read_Section(Reads);
    Read_Section(Writes);
}

void Build_EDE_Text(TStringList &L)
{
    L.Clear();
    L.Add(QStringLiteral("PROJECT_NAME; VeltraCorp-") + Field(Get_EDE_Name_Part()) + QLatin1Char('-')
          + Field(Name_Active_Conf) + QStringLiteral(";;;;;;"));
    L.Add(QStringLiteral("VERSION_OF_REFERENCEFILE;1.0;;;;;;"));
    L.Add(QStringLiteral("TIMESTAMP_OF_LAST_CHANGE;") + Get_Time_Stamp() + QStringLiteral(";;;;;;"));
    L.Add(QStringLiteral("AUTHOR_OF_LAST_CHANGE;VeltraCorp;;;;;;"));
    L.Add(QStringLiteral("VERSION_OF_LAYOUT;2;;;;;;"));
    L.Add(QStringLiteral("# mandatory;mandatory;mandatory;mandatory;mandatory;optional;optional;"));
    L.Add(QStringLiteral("# keyname;device obj.-instance;object-name;object-type;object-instance;description;unit-code;"));
    for (const TBACnet_EDE_Obj &O : EDE_Objects) {
        UnicodeString Line;
        for (const UnicodeString *F : {&O.Keyname, &O.DevObjInstance, &O.ObjectName, &O.ObjectType, &O.ObjectInstance,
                                       &O.Description, &O.UnitCode})
            Line += Field(*F) + QLatin1Char(';');
        L.Add(Line);
    }
}

void Write_EDE_File(const UnicodeString &File_Name)
{
    TStringList Lines;
    Build_EDE_Text(Lines);
    Save_Description_File(Lines, File_Name, TEncoding::ANSI());
}

void Generate_EDE_File(const UnicodeString &File_Name)
{
    struct TRelease {
        ~TRelease() { EDE_Objects.clear(); }
    } Release;
    EDE_Objects.clear();
    Clear_Instance_Counters();
    Read_ParGen_EDE();
    Read_BACnet_Objects();
    Write_EDE_File(File_Name);
}

void Create_EDE_File(const UnicodeString &File_Name)
{
    Generate_EDE_File(File_Name);
}
