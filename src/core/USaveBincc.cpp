#include "core/USaveBincc.h"

#include "core/UComon.h"
#include "core/URuleXML.h"
#include "core/USettings.h"
#include "platform/FileUtils.h"
#include "platform/SysUtils.h"
#include "platform/XMLDoc.h"

#include <cstring>
#include <memory>

Byte Par_Bin[Par_Bin_Size];
TRule_Bin Rules_Bin[Rule_Bin_Count];
Byte Image_Bin[Image_Bin_Size];
int Image_Len = 0;

namespace {

// Places in the parameter block.
constexpr int Ofs_Signature = 0x000;
constexpr int Ofs_Baudrate = 0x00C;
constexpr int Ofs_Parity = 0x012;
constexpr int Ofs_StopBits = 0x014;
constexpr int Ofs_IP = 0x028;
constexpr int Ofs_Mask = 0x02C;
constexpr int Ofs_Gateway = 0x030;
constexpr int Ofs_Port_1 = 0x034;
constexpr int Ofs_Port_2 = 0x036;
constexpr int Ofs_Port_3 = 0x038;
constexpr int Ofs_Baudrate_2 = 0x03C;
constexpr int Ofs_Parity_2 = 0x042;
constexpr int Ofs_StopBits_2 = 0x044;
constexpr int Ofs_Serial_Type = 0x061;
constexpr int Ofs_Total_Input = 0x074;
constexpr int Ofs_Total_Output = 0x078;
constexpr int Ofs_IP_2 = 0x130;
constexpr int Ofs_Mask_2 = 0x134;
constexpr int Ofs_Gateway_2 = 0x138;
constexpr int Ofs_Rule_Count = 0x278;
constexpr int Ofs_Rules_Address = 0x27C;
constexpr int Ofs_Checksum = 0x7FC;

const LongWord Baudrates[8] = {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};

void Put_U8(int Ofs, Byte Value)
{
    Par_Bin[Ofs] = Value;
}

void Put_U16(Byte *Buffer, int Ofs, Word Value)
{
    Buffer[Ofs] = static_cast<Byte>(Value);
    Buffer[Ofs + 1] = static_cast<Byte>(Value >> 8);
}

void Put_U32(Byte *Buffer, int Ofs, LongWord Value)
{
    for (int i = 0; i < 4; ++i)
        Buffer[Ofs + i] = static_cast<Byte>(Value >> (8 * i));
}

void Put_U16(int Ofs, Word Value)
{
    Put_U16(Par_Bin, Ofs, Value);
}

void Put_U32(int Ofs, LongWord Value)
{
    Put_U32(Par_Bin, Ofs, Value);
}

void Put_Octets(int Ofs, int Ofs_2, const Byte Octets[4])
{
    for (int k = 0; k < 4; ++k) {
        Par_Bin[Ofs + k] = Octets[k];
        Par_Bin[Ofs_2 + k] = Octets[k];
    }
}

// The text of the root's child element Name; false when it is missing or cannot be read.
bool Element_Text(const TXMLNode &Root, const char *Name, UnicodeString &Text)
{
    try {
        const TXMLNode Node = Root.ChildNodes().FindNode(QString::fromLatin1(Name));
        if (!Node)
            return false;
        Text = Node.Text();
        return true;
    } catch (const Exception &) {
        return false;
    }
}

int Element_Int(const TXMLNode &Root, const char *Name, int Default)
{
    UnicodeString Text;
    return Element_Text(Root, Name, Text) ? StrToIntDef(Text, Default) : Default;
}

bool Element_Is(const TXMLNode &Root, const char *Name, const char *Value)
{
    UnicodeString Text;
    return Element_Text(Root, Name, Text) && Text == QLatin1String(Value);
}

void Read_Octets(const TXMLNode &Root, const char *Prefix, const int Defaults[4], Byte Octets[4])
{
    for (int k = 0; k < 4; ++k) {
        const QByteArray Name = QByteArray(Prefix) + QByteArray::number(k + 1);
        Octets[k] = static_cast<Byte>(Element_Int(Root, Name.constData(), Defaults[k]));
    }
}

int Attribute_Int(const TXMLNode &Row, const char *Name, int Default)
{
    return StrToIntDef(Get_Rule_Attribute(Row, QString::fromLatin1(Name), UnicodeString()), Default);
}

// Loads a configuration file into the document and returns its root element (null when the
// document holds none). A file that is no XML raises.
TXMLNode Load_Root(TXMLDocument *XML1, const UnicodeString &File_Name)
{
    XML1->SetActive(true);
    XML1->LoadFromFile(File_Name);
    return Document_Root(XML1);
}

} // namespace

void Init_Par_Bin()
{
    std::memset(Par_Bin, 0, sizeof(Par_Bin));
    Put_U32(Ofs_Signature, 250000);
    Put_U32(Ofs_Baudrate, 9600);
    const Byte IP[4] = {192, 168, 2, 205};
    const Byte Mask[4] = {255, 255, 255, 0};
    for (int k = 0; k < 4; ++k) {
        Par_Bin[Ofs_IP + k] = IP[k];
        Par_Bin[Ofs_Mask + k] = Mask[k];
        Par_Bin[Ofs_Gateway + k] = 255;
    }
    Put_U16(Ofs_Port_1, 10000);
    Put_U16(Ofs_Port_2, 10001);
    Put_U16(Ofs_Port_3, 10001);
    Put_U32(Ofs_Baudrate_2, 9600);
}

void Clear_Rules_Bin()
{
    std::memset(Rules_Bin, 0, sizeof(Rules_Bin));
}

void Read_ParGen_Bin(TXMLDocument *XML1)
{
    if (!FileExists(File_ParGen))
        return;
    const TXMLNode Root = Load_Root(XML1, File_ParGen);

    static const int IP_Defaults[4] = {192, 168, 0, 5};
    static const int Mask_Defaults[4] = {255, 255, 255, 0};
    static const int Gateway_Defaults[4] = {192, 168, 0, 1};
    Byte Octets[4];
    Read_Octets(Root, "EtherNetIP_Master_IP", IP_Defaults, Octets);
    Put_Octets(Ofs_IP_2, Ofs_IP, Octets);
    Read_Octets(Root, "EtherNetIP_Master_SM", Mask_Defaults, Octets);
    Put_Octets(Ofs_Mask_2, Ofs_Mask, Octets);
    Read_Octets(Root, "EtherNetIP_Master_GAT", Gateway_Defaults, Octets);
    if (!Element_Is(Root, "EtherNetIP_Master_EN_GAT", "1"))
        std::memset(Octets, 255, sizeof(Octets));
    Put_Octets(Ofs_Gateway_2, Ofs_Gateway, Octets);

    Put_U8(Ofs_Serial_Type, Element_Is(Root, "SERIAL_SERIAL", "0") ? 1 : 0);

    const int Baud_Index = Element_Int(Root, "SERIAL_BAUDRATE", 7);
    const LongWord Baudrate = Baud_Index >= 0 && Baud_Index <= 7 ? Baudrates[Baud_Index] : 9600;
    Put_U32(Ofs_Baudrate, Baudrate);
    Put_U32(Ofs_Baudrate_2, Baudrate);

    const Word Parity = static_cast<Word>(Element_Int(Root, "SERIAL_PARITY", 0));
    Put_U16(Ofs_Parity, Parity);
    Put_U16(Ofs_Parity_2, Parity);

    const LongWord StopBits = Element_Is(Root, "SERIAL_STOPBITS", "1") ? 2 : 1;
    Put_U32(Ofs_StopBits, StopBits);
    Put_U32(Ofs_StopBits_2, StopBits);
}

void Read_EtherNetIP_Rules_Bin(TXMLDocument *XML1)
{
    LongWord Rule_Count = 0;
    LongWord Total_Input = 0;
    LongWord Total_Output = 0;
    if (FileExists(File_EtherNetIP_Master_Rules)) {
        const TXMLNode Root = Load_Root(XML1, File_EtherNetIP_Master_Rules);
        const int Count = Root ? Root.ChildNodes().Count() : 0;
        // The device knows ten records; enabled rows past the tenth are left out.
        for (int i = 0; i < Count && Rule_Count < Rule_Bin_Count; ++i) {
            const TXMLNode Row = Root.ChildNodes().Nodes(i);
            if (UpperCase(Trim(Get_Rule_Attribute(Row, QStringLiteral("Enable"), UnicodeString()))) != QLatin1String("Y"))
                continue;
            TRule_Bin &Rule = Rules_Bin[Rule_Count];
            // A missing address gives the broadcast address; parts that are no octet, and an
            // empty address, give 0.
            const UnicodeString No_IP = QStringLiteral("255.255.255.255");
            std::memset(Rule.IP, 0, sizeof(Rule.IP));
            Conv_IP_Address(Get_Rule_Attribute(Row, QStringLiteral("IP_Address"), No_IP), Rule.IP[0], Rule.IP[1],
                            Rule.IP[2], Rule.IP[3]);
            Rule.Start_Input = static_cast<Word>(Attribute_Int(Row, "Start_Input", 0));
            Rule.Num_Input = static_cast<Word>(Attribute_Int(Row, "Num_Input", 0));
            Rule.Start_Output = static_cast<Word>(Attribute_Int(Row, "Start_Output", 0));
            Rule.Num_Output = static_cast<Word>(Attribute_Int(Row, "Num_Output", 0));
            Rule.Time_Poll = static_cast<LongWord>(Attribute_Int(Row, "Time_Poll", 1000));
            Rule.Instance_T_O = static_cast<Word>(Attribute_Int(Row, "Instance_T_O", 1));
            Rule.Connection_Point_T_O = static_cast<Word>(Attribute_Int(Row, "Connection_Point_T_O", 100));
            Rule.Instance_O_T = static_cast<Word>(Attribute_Int(Row, "Instance_O_T", 1));
            Rule.Connection_Point_O_T = static_cast<Word>(Attribute_Int(Row, "Connection_Point_O_T", 101));
            Rule.Offset_Input = static_cast<Word>(Total_Input);
            Total_Input += Rule.Num_Input;
            Rule.Offset_Output = static_cast<Word>(Total_Output);
            Total_Output += Rule.Num_Output;
            Rule.Reserved = 0;
            ++Rule_Count;
        }
    }
    Put_U32(Ofs_Total_Input, Total_Input);
    Put_U32(Ofs_Total_Output, Total_Output);
    Put_U32(Ofs_Rule_Count, Rule_Count);
}

int Add_Par_Bin(int Pos, Byte *Buffer)
{
    std::memcpy(Buffer + Pos, Par_Bin, sizeof(Par_Bin));
    return Pos + Par_Bin_Size;
}

int Add_Rules_Bin(int Pos, Byte *Buffer)
{
    for (const TRule_Bin &Rule : Rules_Bin) {
        Byte *R = Buffer + Pos;
        std::memcpy(R, Rule.IP, 4);
        Put_U16(R, 4, Rule.Start_Input);
        Put_U16(R, 6, Rule.Num_Input);
        Put_U16(R, 8, Rule.Offset_Input);
        Put_U16(R, 10, Rule.Start_Output);
        Put_U16(R, 12, Rule.Num_Output);
        Put_U16(R, 14, Rule.Offset_Output);
        Put_U16(R, 16, Rule.Instance_T_O);
        Put_U16(R, 18, Rule.Connection_Point_T_O);
        Put_U16(R, 20, Rule.Instance_O_T);
        Put_U16(R, 22, Rule.Connection_Point_O_T);
        Put_U32(R, 24, Rule.Time_Poll);
        Put_U32(R, 28, Rule.Reserved);
        Pos += Rule_Bin_Size;
    }
    return Pos;
}

void Compile_Bin(TXMLDocument *XML1)
{
    // A composition that stops half-way must not leave the previous image to be written.
    Image_Len = 0;
    Init_Par_Bin();
    Clear_Rules_Bin();
    Read_ParGen_Bin(XML1);
    Read_EtherNetIP_Rules_Bin(XML1);
    Put_U32(Ofs_Rules_Address, Rules_Device_Address);
    Image_Len = 0;
    LongWord Checksum = 0;
    for (int i = 0; i < Ofs_Checksum; ++i)
        Checksum += Par_Bin[i];
    Put_U32(Ofs_Checksum, Checksum);
    Image_Len = Add_Par_Bin(Image_Len, Image_Bin);
    Image_Len = Add_Rules_Bin(Image_Len, Image_Bin);
}

void Create_Bin(TXMLDocument *XML1)
{
    std::unique_ptr<TXMLDocument> Scratch;
    if (!XML1) {
        Scratch = NewXMLDocument();
        XML1 = Scratch.get();
    }
    Compile_Bin(XML1);
}

void Write_Bin()
{
    const UnicodeString File_Name = Path_Active_Conf + QStringLiteral("\\bin\\bank.bin");
    // Without an open configuration the path would name a folder at the root of the disk.
    if (Path_Active_Conf.isEmpty())
        throw EFCreateError(QStringLiteral("Cannot create file \"%1\". No configuration is open").arg(File_Name));
    // An empty image would reach the device as if it were a configuration.
    if (Image_Len <= 0)
        throw EFCreateError(QStringLiteral("Cannot create file \"%1\". The configuration image was not composed").arg(File_Name));
    WriteFileAtomic(File_Name, QByteArray(reinterpret_cast<const char *>(Image_Bin), Image_Len));
}

void Save_Bin()
{
    Write_Bin();
}
