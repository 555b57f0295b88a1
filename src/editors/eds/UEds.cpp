#include "editors/eds/UEds.h"

#include "core/UComon.h"
#include "editors/UDescription_File.h"
#include "platform/Classes.h"
#include "platform/Encoding.h"
#include "platform/FileUtils.h"
#include "platform/XMLDoc.h"

#include <algorithm>

std::array<EDS_PDO_Entry, 2 * EDS_Max_PDO> EDS_PDO_Table;
int EDS_Num_RxPDO = 0;
int EDS_Num_TxPDO = 0;
std::vector<SDO_Index> EDS_SDO_Indexs;

namespace {

const UnicodeString Const_EDS_File_Name = QStringLiteral("EtherNetIPMaster_CANopen.eds");
const UnicodeString Const_EDS_Product_Name = QStringLiteral("EtherNet/IP Master / CANopen - Converter");
const UnicodeString Const_EDS_Product_Number = QStringLiteral("341");
const UnicodeString Const_EDS_Order_Code = QStringLiteral("DV40341");
const char *const Const_RPDO_Var_Names[EDS_Max_PDO] = {
    "b",  "c",  "d",  "e",  "f",  "g",  "h",  "j",  "k",  "i",  "aa", "ab", "ac", "ad", "ae",
    "af", "ag", "ah", "ai", "al", "am", "an", "ao", "ap", "aq", "ar", "as", "at", "au", "av"};
const char *const Const_TPDO_Var_Names[EDS_Max_PDO] = {
    "l",  "m",  "n",  "o",  "p",  "q",  "r",  "s",  "t",  "u",  "ca", "cb", "cc", "cd", "ce",
    "cf", "cg", "ch", "ci", "cl", "cm", "cn", "co", "cp", "cq", "cr", "cs", "ct", "cu", "cv"};

UnicodeString Hex(int v, int Digits)
{
    return IntToHex(v, Digits);
}

UnicodeString Sub_Name(int Index, int Sub)
{
    return QLatin1Char('[') + Hex(Index, 4) + QStringLiteral("sub") + Hex(Sub, 1) + QLatin1Char(']');
}

// The sections of the data sheet: each one its lines and, unless told otherwise, an empty line.
class TSections {
public:
    explicit TSections(TStringList &L) : FL(L) {}
    void Section(const UnicodeString &Header, std::initializer_list<std::pair<const char *, UnicodeString>> Keys,
                 bool Blank_After = true)
    {
        FL.Add(Header);
        for (const auto &[Key, Value] : Keys)
            if (!Value.isNull())
                FL.Add(QString::fromLatin1(Key) + QLatin1Char('=') + Value);
        if (Blank_After)
            FL.Add(UnicodeString());
    }
    // The object line order of the fixed and PDO sections; a null value leaves its line out.
    void Object(const UnicodeString &Header, const UnicodeString &SubNumber, const UnicodeString &Name,
                const UnicodeString &Type, const UnicodeString &Data, const UnicodeString &Access,
                const UnicodeString &Default, const UnicodeString &Mapping, bool Blank_After = true)
    {
        Section(Header,
                {{"SubNumber", SubNumber}, {"ParameterName", Name}, {"ObjectType", Type}, {"DataType", Data},
                 {"AccessType", Access}, {"DefaultValue", Default}, {"PDOMapping", Mapping}},
                Blank_After);
    }
    // A sub-entry of a record or array (no SubNumber).
    void Entry(const UnicodeString &Header, const UnicodeString &Name, const UnicodeString &Data,
               const UnicodeString &Access, const UnicodeString &Default, const UnicodeString &Mapping,
               bool Blank_After = true)
    {
        Object(Header, UnicodeString(), Name, QStringLiteral("0x07"), Data, Access, Default, Mapping, Blank_After);
    }

private:
    TStringList &FL;
};

UnicodeString S(const char *Text)
{
    return QString::fromLatin1(Text);
}

int Read_Int(const TXMLNode &Row, const char *Name, int Default)
{
    try {
        if (!Row.HasAttribute(S(Name)))
            return Default;
        return StrToIntDef(Trim(Row.Attributes(S(Name))), Default);
    } catch (const Exception &) {
        return Default;
    }
}

// An SDO row value that must be there and be a number.
int Need_Int(const TXMLNode &Row, const char *Name, int Low, int High)
{
    const UnicodeString Text = Row.HasAttribute(S(Name)) ? Trim(Row.Attributes(S(Name))) : UnicodeString();
    int Value = 0;
    if (!TryStrToInt(Text, Value) || Value < Low || Value > High)
        throw EConvertError(QStringLiteral("SDO_Server_CANopen.xml: the %1 \"%2\" of a row is not valid")
                                .arg(S(Name), Text));
    return Value;
}

std::vector<TXMLNode> Rows_Of(const TXMLNode &Root, const char *Section)
{
    std::vector<TXMLNode> Rows;
    const TXMLNode Node = Root.ChildNodes().FindNode(S(Section));
    if (!Node)
        return Rows;
    const TXMLNodeList List = Node.ChildNodes();
    for (int i = 0; i < List.Count(); ++i)
        if (List.Nodes(i).NodeType() == ntElement)
            Rows.push_back(List.Nodes(i));
    return Rows;
}

UnicodeString Two(int v)
{
    return v < 10 ? QLatin1Char('0') + IntToStr(v) : IntToStr(v);
}

} // namespace

void Read_PDO_EDS()
{
    EDS_Num_RxPDO = 0;
    EDS_Num_TxPDO = 0;
    if (!FileExists(File_PDO_CANopen))
        return;
    TXMLDocument *XML = Shared_XML();
    XML->SetActive(true);
    const TXMLNode Root = Load_Config_XML(XML, File_PDO_CANopen);
    auto Read = [&Root](const char *Section, int Base, int &Count) {
        const std::vector<TXMLNode> Rows = Rows_Of(Root, Section);
        Count = std::min(static_cast<int>(Rows.size()), EDS_Max_PDO);
        for (int i = 0; i < Count; ++i) {
            EDS_PDO_Entry &E = EDS_PDO_Table[static_cast<size_t>(Base + i)];
            E.COB_ID = Read_Int(Rows[static_cast<size_t>(i)], "COB-ID", 0);
            E.Dimension = std::clamp(Read_Int(Rows[static_cast<size_t>(i)], "Dimension", 8), 0, 8);
        }
    };
    Read("Receive_PDO", 0, EDS_Num_RxPDO);
    Read("Transmit_PDO", EDS_Max_PDO, EDS_Num_TxPDO);
    XML->ChildNodes().Clear();
    XML->SetActive(false);
}

void Read_SDO_Server_EDS()
{
    if (!FileExists(File_SDO_Server_CANopen))
        return;
    TXMLDocument *XML = Shared_XML();
    XML->SetActive(true);
    const TXMLNode Root = Load_Config_XML(XML, File_SDO_Server_CANopen);
    for (const auto &[Section, Readonly] : {std::pair<const char *, bool>{"SDO_Read", true}, {"SDO_Write", false}})
        for (const TXMLNode &Row : Rows_Of(Root, Section))
            Add_SDO_Sub(Need_Int(Row, "Index", EDS_SDO_Index_Low, EDS_SDO_Index_High), Need_Int(Row, "SubIndex", 0, 255),
                        Need_Int(Row, "NByte", 0, 255), Readonly);
}

int Find_SDO_Index(int Index)
{
    for (size_t i = 0; i < EDS_SDO_Indexs.size(); ++i)
        if (EDS_SDO_Indexs[i].Index == Index)
            return static_cast<int>(i);
    return -1;
}

void Add_SDO_Sub(int Index, int Sub, int Quantity, bool Readonly)
{
    const SDO_Sub_Type Entry{static_cast<Byte>(Sub), Quantity, Readonly, UnicodeString()};
    const int k = Find_SDO_Index(Index);
    if (k < 0) {
        EDS_SDO_Indexs.push_back(SDO_Index{static_cast<Word>(Index), {Entry}});
        return;
    }
    // Two sections of one name make the file unreadable for every EDS tool.
    std::vector<SDO_Sub_Type> &Subs = EDS_SDO_Indexs[static_cast<size_t>(k)].Sub_Indexs;
    if (std::none_of(Subs.begin(), Subs.end(), [&](const SDO_Sub_Type &S) { return S.Sub == Entry.Sub; }))
        Subs.push_back(Entry);
}

void Sort_SDO_Sub_Indexs()
{
    for (SDO_Index &I : EDS_SDO_Indexs)
        std::stable_sort(I.Sub_Indexs.begin(), I.Sub_Indexs.end(),
                         [](const SDO_Sub_Type &A, const SDO_Sub_Type &B) { return A.Sub < B.Sub; });
}

UnicodeString EDS_Date(TDateTime When)
{
    Word Year, Month, Day;
    DecodeDate(When, Year, Month, Day);
    return Two(Month) + QLatin1Char('-') + Two(Day) + QLatin1Char('-') + IntToStr(Year);
}

UnicodeString EDS_Time(TDateTime When)
{
    Word Hour, Min, Sec, MSec;
    DecodeTime(When, Hour, Min, Sec, MSec);
    int H = Hour;
    bool PM = false;
    if (H >= 13) {
        H -= 12;
        PM = true;
    } else if (H == 12 && Min > 0) {
        // The data sheets of this device always wrote the half hour after noon this way.
        H = 0;
        PM = true;
    }
    return Two(H) + QLatin1Char(':') + Two(Min) + (PM ? QStringLiteral("PM") : QStringLiteral("AM"));
}

void Build_EDS_Text(TStringList &L, TDateTime When)
{
    const UnicodeString Date = EDS_Date(When);
    const UnicodeString Time = EDS_Time(When);
    const int Rx = EDS_Num_RxPDO;
    const int Tx = EDS_Num_TxPDO;
    auto Rx_Entry = [](int i) { return EDS_PDO_Table[static_cast<size_t>(i)]; };
    auto Tx_Entry = [](int i) { return EDS_PDO_Table[static_cast<size_t>(EDS_Max_PDO + i)]; };
    TSections X(L);
    const UnicodeString N;

    L.Clear();
    X.Section(S("[FileInfo]"), {{"FileName", Const_EDS_File_Name}, {"FileVersion", S("1")}, {"FileRevision", S("0")},
                                {"EDSVersion", S("4.0")}, {"Description", Const_EDS_Product_Name},
                                {"CreationTime", Time}, {"CreationDate", Date}, {"CreatedBy", S("VeltraCorp")},
                                {"ModificationTime", Time}, {"ModificationDate", Date},
                                {"ModifiedBy", S("VeltraCorp")}});
    X.Section(S("[DeviceInfo]"),
              {{"VendorName", S("VeltraCorp")}, {"VendorNumber", S("0x00")}, {"ProductName", Const_EDS_Product_Name},
               {"ProductNumber", Const_EDS_Product_Number}, {"RevisionNumber", S("0x0")},
               {"OrderCode", Const_EDS_Order_Code}, {"BaudRate_10", S("1")}, {"BaudRate_20", S("1")},
               {"BaudRate_50", S("1")}, {"BaudRate_125", S("1")}, {"BaudRate_250", S("1")}, {"BaudRate_500", S("1")},
               {"BaudRate_800", S("0")}, {"BaudRate_1000", S("1")}, {"DynamicChannelsSupported", S("0")},
               {"GroupMessaging", S("0")}, {"LSS_Supported", S("0")}, {"Granularity", S("0")},
               {"SimpleBootUpSlave", S("1")}, {"SimpleBootUpMaster", S("0")}, {"NrOfRXPDO", IntToStr(Rx)},
               {"NrOfTXPDO", IntToStr(Tx)}});
    X.Section(S("[Comments]"), {{"Lines", S("0")}});
    L.Add(S("[DummyUsage]"));
    for (int k = 1; k <= 7; ++k)
        L.Add(QStringLiteral("Dummy000") + IntToStr(k) + QStringLiteral("=0"));
    L.Add(N);
    X.Section(S("[MandatoryObjects]"),
              {{"SupportedObjects", S("3")}, {"1", S("0x1000")}, {"2", S("0x1001")}, {"3", S("0x1018")}});

    L.Add(S("[OptionalObjects]"));
    L.Add(QStringLiteral("SupportedObjects=") + IntToStr(8 + 3 * Rx + 3 * Tx));
    int k = 0;
    for (const char *Object : {"0x1005", "0x1006", "0x1008", "0x1014", "0x1016", "0x1017", "0x1029", "0x1280"})
        L.Add(IntToStr(++k) + QLatin1Char('=') + S(Object));
    for (const auto &[Base, Count] : {std::pair<int, int>{0x1400, Rx}, {0x1600, Rx}, {0x1800, Tx}, {0x1A00, Tx},
                                      {0x7000, Rx}, {0x7050, Tx}})
        for (int i = 0; i < Count; ++i)
            L.Add(IntToStr(++k) + QStringLiteral("=0x") + Hex(Base + i, 4));
    L.Add(N);

    L.Add(S("[ManufacturerObjects]"));
    L.Add(QStringLiteral("SupportedObjects=") + IntToStr(static_cast<int>(EDS_SDO_Indexs.size())));
    k = 0;
    for (const SDO_Index &I : EDS_SDO_Indexs)
        L.Add(IntToStr(++k) + QStringLiteral("=0x") + Hex(I.Index, 4));
    L.Add(N);

    const UnicodeString T7 = S("0x07"), D5 = S("0x0005"), D6 = S("0x0006"), D7 = S("0x0007"), Zero = S("0");
    X.Object(S("[1000]"), N, S("Device Type"), T7, D7, S("const"), S("0x000101A4"), Zero);
    X.Object(S("[1001]"), N, S("Error Register"), T7, D5, S("ro"), S("0x00"), Zero);
    X.Object(S("[1005]"), N, S("COB-ID SYNC"), T7, D7, S("rw"), S("0x80000080"), Zero);
    X.Object(S("[1006]"), N, S("Communication Cycle Period"), T7, D7, S("rw"), S("0x00000000"), Zero);
    X.Object(S("[1008]"), N, S("Manufacturer Device Name"), T7, S("0x0009"), S("const"), S("s1"), Zero);
    X.Object(S("[1014]"), N, S("COB-ID EMCY"), T7, D7, S("ro"), S("$NODEID+0x80"), Zero);
    X.Object(S("[1016]"), S("3"), S("Heartbeat Consumer Entries"), S("0x08"), N, N, N, N);
    X.Entry(S("[1016sub0]"), S("Number of Entries"), D5, S("ro"), S("0x02"), Zero);
    X.Entry(S("[1016sub1]"), S("Consumer Heartbeat Time 1"), D7, S("rw"), S("0x00000000"), Zero);
    X.Entry(S("[1016sub2]"), S("Consumer Heartbeat Time 2"), D7, S("rw"), S("0x00000000"), Zero);
    X.Object(S("[1017]"), N, S("Producer Heartbeat Time"), T7, D6, S("rw"), S("0x000003E8"), Zero);
    X.Object(S("[1018]"), S("5"), S("Identity Object"), S("0x09"), N, N, N, N);
    X.Entry(S("[1018sub0]"), S("number of entries"), D5, S("ro"), S("0x4"), Zero);
    X.Entry(S("[1018sub1]"), S("Vendor Id"), D7, S("ro"), N, Zero);
    X.Entry(S("[1018sub2]"), S("Product Code"), D7, S("ro"), N, Zero);
    X.Entry(S("[1018sub3]"), S("Revision number"), D7, S("ro"), N, Zero);
    X.Entry(S("[1018sub4]"), S("Serial number"), D7, S("ro"), N, Zero);
    X.Object(S("[1029]"), S("2"), S("Error Behaviour"), S("0x08"), N, N, N, N);
    X.Entry(S("[1029sub0]"), S("Number of Entries"), D5, S("ro"), S("1"), Zero);
    X.Entry(S("[1029sub1]"), S("Communication Error"), D5, S("rw"), S("0x0"), Zero);
    X.Object(S("[1280]"), S("4"), S("Client SDO Parameter 1"), S("0x09"), N, N, N, N);
    X.Entry(S("[1280sub0]"), S("Number of Entries"), D5, S("ro"), S("0x03"), Zero);
    X.Entry(S("[1280sub1]"), S("COB-ID Client -> Server"), D7, S("rw"), N, Zero);
    X.Entry(S("[1280sub2]"), S("COB-ID Server -> Client"), D7, S("rw"), N, Zero);
    X.Entry(S("[1280sub3]"), S("Node ID of the SDO Server"), D5, S("rw"), N, Zero, false);

    auto Head = [](int Index) { return QLatin1Char('[') + Hex(Index, 4) + QLatin1Char(']'); };
    auto Communication = [&](int Base, const char *Kind, int i, const EDS_PDO_Entry &E) {
        const int Index = Base + i;
        X.Object(Head(Index), S("4"), S(Kind) + S(" PDO Communication Parameter ") + IntToStr(i + 1), S("0x09"), N, N, N, N);
        X.Entry(Sub_Name(Index, 0), S("Number of Entries"), D5, S("ro"), S("0x03"), Zero);
        X.Entry(Sub_Name(Index, 1), S("COB-ID"), D7, S("rw"), S("0x") + Hex(E.COB_ID, 8), Zero);
        X.Entry(Sub_Name(Index, 2), S("Transmission Type"), D5, S("rw"), S("0xFE"), Zero);
        X.Entry(Sub_Name(Index, 3), S("Inhibit Time"), D6, S("rw"), S("0x0"), Zero);
    };
    auto Mapping = [&](int Base, const UnicodeString &Name, int Data_Base, int i, const EDS_PDO_Entry &E) {
        const int Index = Base + i;
        X.Object(Head(Index), IntToStr(E.Dimension + 1), Name, S("0x09"), N, N, N, N);
        X.Entry(Sub_Name(Index, 0), S("Number of Entries"), D5, S("ro"), S("0x") + Hex(E.Dimension, 2), Zero);
        for (int j = 1; j <= E.Dimension; ++j)
            X.Entry(Sub_Name(Index, j), S("Mapping Entry ") + IntToStr(j), D7, S("ro"),
                    S("0x") + Hex(Data_Base + i, 4) + Hex(j, 2) + S("08"), Zero);
    };
    auto Data = [&](int Base, const char *Kind, const char *const Names[], const char *Sub0_Access,
                    const char *Access, int i, const EDS_PDO_Entry &E) {
        const int Index = Base + i;
        X.Object(Head(Index), IntToStr(E.Dimension + 1), S(Kind) + IntToStr(i + 1), S("0x08"), N, N, N, N);
        X.Entry(Sub_Name(Index, 0), S("Number of Entries"), D5, S(Sub0_Access), S("0x") + Hex(E.Dimension, 2), Zero);
        for (int j = 1; j <= E.Dimension; ++j)
            X.Entry(Sub_Name(Index, j), S(Names[i]) + IntToStr(j), D5, S(Access), S("0x00"), S("1"));
    };
    for (int i = 0; i < Rx; ++i)
        Communication(0x1400, "Receive", i, Rx_Entry(i));
    for (int i = 0; i < Rx; ++i)
        Mapping(0x1600, S("Receive PDO Mapping Parameter"), 0x7000, i, Rx_Entry(i));
    for (int i = 0; i < Tx; ++i)
        Communication(0x1800, "Transmit", i, Tx_Entry(i));
    for (int i = 0; i < Tx; ++i)
        Mapping(0x1A00, S("Transmit PDO Mapping Parameter ") + IntToStr(i + 1), 0x7050, i, Tx_Entry(i));
    for (int i = 0; i < Rx; ++i)
        Data(0x7000, "RPDO ", Const_RPDO_Var_Names, "ro", "rww", i, Rx_Entry(i));
    for (int i = 0; i < Tx; ++i)
        Data(0x7050, "TPDO ", Const_TPDO_Var_Names, "rw", "rwr", i, Tx_Entry(i));

    for (const SDO_Index &I : EDS_SDO_Indexs) {
        const int m = static_cast<int>(I.Sub_Indexs.size());
        const int Smallest = I.Sub_Indexs.front().Sub;
        const int Largest = I.Sub_Indexs.back().Sub;
        X.Section(Head(I.Index), {{"SubNumber", IntToStr(Smallest == 0 ? m : m + 1)},
                                  {"ParameterName", S("App Vars")},
                                  {"ObjectType", S("0x9")}});
        if (Smallest != 0)
            X.Section(Sub_Name(I.Index, 0), {{"ParameterName", S("Largest Sub-Index supported")},
                                             {"ObjectType", S("0x7")},
                                             {"DataType", D5},
                                             {"AccessType", S("ro")},
                                             {"DefaultValue", S("0x") + Hex(Largest, 2)},
                                             {"PDOMapping", Zero}});
        for (const SDO_Sub_Type &Sub : I.Sub_Indexs) {
            const int Size = Sub.Quantity == 1 ? 1 : Sub.Quantity == 2 ? 2 : 4;
            const UnicodeString Zeros(2 * Size, QLatin1Char('0'));
            const UnicodeString Fs(2 * Size, QLatin1Char('F'));
            X.Section(Sub_Name(I.Index, Sub.Sub), {{"ParameterName", S("Application Variable")},
                                                   {"ObjectType", S("0x7")},
                                                   {"DataType", Size == 1 ? D5 : Size == 2 ? D6 : D7},
                                                   {"LowLimit", S("0x") + Zeros},
                                                   {"HighLimit", S("0x") + Fs},
                                                   {"DefaultValue", S("0x") + Zeros},
                                                   {"AccessType", Sub.Readonly ? S("ro") : S("rw")},
                                                   {"PDOMapping", Zero}});
        }
    }
    L.Add(N);
}

void Write_EDS_File(const UnicodeString &File_Name)
{
    EDS_SDO_Indexs.clear();
    Read_PDO_EDS();
    Read_SDO_Server_EDS();
    Sort_SDO_Sub_Indexs();
    TStringList Lines;
    Build_EDS_Text(Lines, Now());
    Save_Description_File(Lines, File_Name, TEncoding::ANSI());
}
