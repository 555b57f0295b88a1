#include "editors/gsd/UProfibus_GSD.h"

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

int GSD_In_Bytes = 0;
int GSD_Out_Bytes = 0;

namespace {

constexpr int Line_Width = 85;
constexpr int Module_Bytes = 64;

UnicodeString Rep(QChar C, int n)
{
    return UnicodeString(std::max(0, n), C);
}

UnicodeString Framed(const UnicodeString &Text)
{
    UnicodeString S = QStringLiteral(";* ") + Text;
    return S + Rep(u' ', Line_Width - 1 - static_cast<int>(S.size())) + QLatin1Char('*');
}

UnicodeString Rule_Line()
{
    return QStringLiteral(";* ") + Rep(u'=', 80) + QStringLiteral(" *");
}

// A line of the maker block: 11 blanks after ";*".
UnicodeString Maker_Line(const UnicodeString &Text)
{
    return Framed(Rep(u' ', 10) + Text);
}

void Banner(TStringList &L, const UnicodeString &Title, int Width)
{
    const UnicodeString Rule = QLatin1Char(';') + Rep(u'=', Width - 1);
    const UnicodeString Head = QStringLiteral(";==== ") + Title + QLatin1Char(' ');
    L.Add(Rule);
    L.Add(Head + Rep(u'=', Width - static_cast<int>(Head.size())));
    L.Add(Rule);
}

UnicodeString Q(const UnicodeString &S)
{
    return QLatin1Char('"') + S + QLatin1Char('"');
}

UnicodeString Hex2(int v)
{
    return IntToHex(v, 2);
}

int Read_Size(const TXMLNode &Root, const UnicodeString &Name)
{
    UnicodeString Text;
    if (!Read_Child_Text(Root, Name, Text))
        return 0;
    return std::clamp(StrToIntDef(Text, 0), 0, GSD_Max_Bytes);
}

} // namespace

int GSD_Module_Count(int Bytes)
{
    return Bytes <= 0 ? 0 : (Bytes + Module_Bytes - 1) / Module_Bytes;
}

UnicodeString GSD_File_Name(const UnicodeString &Chosen)
{
    return Chosen.toLower().endsWith(QStringLiteral(".gsd")) ? Chosen : Chosen + QStringLiteral(".gsd");
}

void Read_GSD_Sizes()
{
    const std::unique_ptr<TXMLDocument> Doc = NewXMLDocument();
    const TXMLNode Root = Load_Config_XML(Doc.get(), File_ParGen);
    GSD_In_Bytes = Read_Size(Root, QStringLiteral("PROFINET_NB_IN"));
    GSD_Out_Bytes = Read_Size(Root, QStringLiteral("PROFINET_NB_OUT"));
}

void Build_GSD_Text(TStringList &L)
{
    const int In = std::clamp(GSD_In_Bytes, 0, GSD_Max_Bytes);
    const int Out = std::clamp(GSD_Out_Bytes, 0, GSD_Max_Bytes);
    const int DI = GSD_Module_Count(Out);
    const int DO = GSD_Module_Count(In);
    const UnicodeString Empty;

    L.Clear();
    L.Add(QStringLiteral(";"));
    L.Add(QStringLiteral(";*********************** PROFIBUS Slave / MQTT - Converter **************************"));
    L.Add(Rule_Line());
    L.Add(Framed(Empty));
    L.Add(Framed(QStringLiteral("Vendor:   VeltraCorp s.r.l.")));
    L.Add(Maker_Line(QStringLiteral("1 Example Street")));
    L.Add(Maker_Line(QStringLiteral("00000 Example Town")));
    L.Add(Maker_Line(QStringLiteral("Example Province - Example Country")));
    L.Add(Maker_Line(QStringLiteral("Tel. : +00 000 0000000")));
    L.Add(Maker_Line(QStringLiteral("FAX. : +00 000 0000001")));
    L.Add(Maker_Line(QStringLiteral("eMail: support@veltracorp.example.com")));
    L.Add(Framed(Empty));
    L.Add(Rule_Line());
    L.Add(Framed(Empty));
    L.Add(Framed(QStringLiteral("Function:       EtherNet/IP Master / PROFIBUS Slave - Converter")));
    L.Add(Framed(Empty));
    L.Add(Framed(Empty));
    L.Add(Framed(QStringLiteral("Order Number : DV40327")));
    L.Add(Framed(Empty));
    L.Add(Framed(Empty));
    L.Add(QLatin1Char(';') + Rep(u'*', 84));
    L.Add(Empty);
    L.Add(Empty);

    L.Add(QStringLiteral("#Profibus_DP"));
    L.Add(Empty);
    L.Add(Empty);

    Banner(L, QStringLiteral("Prm-Text-Def-List"), 85);
    L.Add(Empty);
    L.Add(QStringLiteral("PrmText=1"));
    L.Add(QStringLiteral("Text(0)=") + Q(QStringLiteral("disable")));
    L.Add(QStringLiteral("Text(1)=") + Q(QStringLiteral("enable")));
    L.Add(QStringLiteral("EndPrmText"));
    L.Add(Empty);
    L.Add(QStringLiteral("PrmText  = 2"));
    L.Add(QStringLiteral("Text(0)  = ") + Q(QStringLiteral("clock up")));
    L.Add(QStringLiteral("Text(1)  = ") + Q(QStringLiteral("clock down")));
    L.Add(QStringLiteral("EndPrmText"));
    L.Add(Empty);
    L.Add(QStringLiteral("PrmText  = 3"));
    for (int k = 1; k <= 5; ++k)
        L.Add(QStringLiteral("Text(") + IntToStr(k) + QStringLiteral(")  = ") + Q(IntToStr(k * 10)));
    L.Add(QStringLiteral("EndPrmText"));
    L.Add(Empty);
    L.Add(Empty);

    Banner(L, QStringLiteral("Ext-User-Prm-Data-Def-List"), 86);
    L.Add(Empty);
    struct TBlock {
        const char *Name;
        const char *Data;
        const char *Ref;
    };
    static const TBlock Blocks[] = {
        {"[SlotNumber]", "Unsigned8 0 0-32", nullptr},
        {"Diagnostic Alarm", "Bit(0) 0 0-1", "Prm_Text_Ref=1"},
        {"Process Alarm", "Bit(1) 0 0-1", "Prm_Text_Ref=1"},
        {"Counter mode", "Unsigned8 0 0-1", "Prm_Text_Ref=2"},
        {"Counter timebase (ms)", "Unsigned8 1 1-5", "Prm_Text_Ref=3"},
        {"Counter high-limit", "Unsigned16 65535 0-65535", nullptr},
        {"Counter low-limit", "Unsigned16 0 0-65535", nullptr},
    };
    int n = 0;
    for (const TBlock &B : Blocks) {
        L.Add(QStringLiteral("ExtUserPrmData=") + IntToStr(++n) + QLatin1Char(' ') + Q(QString::fromLatin1(B.Name)));
        L.Add(QString::fromLatin1(B.Data));
        if (B.Ref)
            L.Add(QString::fromLatin1(B.Ref));
        L.Add(QStringLiteral("EndExtUserPrmData"));
        L.Add(Empty);
    }
    L.Add(Empty);

    Banner(L, QStringLiteral("General DP Keywords"), 86);
    L.Add(Empty);
    for (const char *Line :
         {"GSD_Revision = 5", "Vendor_Name = \"VeltraCorp\"", "Model_Name = \"DV40327\"", "Revision = \"1.00\"",
          "Ident_Number = 0x5B73", "Protocol_Ident = 0", "Station_Type = 0", "FMS_supp = 0",
          "Hardware_Release = \"V1.00\"", "Software_Release = \"V1.00\"", "Redundancy = 0", "Repeater_Ctrl_Sig = 2",
          "24V_Pins = 0"})
        L.Add(QString::fromLatin1(Line));
    L.Add(Empty);
    L.Add(Empty);

    Banner(L, QStringLiteral("Supported baudrates"), 79);
    L.Add(Empty);
    for (const char *Rate : {"9.6", "19.2", "45.45", "93.75", "187.5", "500", "1.5M", "3M", "6M", "12M"})
        L.Add(QString::fromLatin1(Rate) + QStringLiteral("_supp = 1"));
    L.Add(Empty);
    for (const char *Line : {"MaxTsdr_9.6=15", "MaxTsdr_19.2=15", "MaxTsdr_45.45=15", "MaxTsdr_93.75=15",
                             "MaxTsdr_187.5=15", "MaxTsdr_500=15", "MaxTsdr_1.5M=20", "MaxTsdr_3M=35", "MaxTsdr_6M=50",
                             "MaxTsdr_12M=95"})
        L.Add(QString::fromLatin1(Line));
    L.Add(Empty);
    L.Add(Empty);

    Banner(L, QStringLiteral("Slave specific values"), 79);
    L.Add(Empty);
    L.Add(QStringLiteral("OrderNumber=") + Q(QStringLiteral("DV40327")));
    L.Add(QStringLiteral("Slave_Family = 9@VeltraCorp@DV40327"));
    L.Add(QStringLiteral("Implementation_Type = ") + Q(QStringLiteral("VPC3+")));
    L.Add(QStringLiteral("Info_Text=") + Q(QStringLiteral("VeltraCorp: EtherNet/IP Master / PROFIBUS Slave - Converter")));
    L.Add(QStringLiteral("Bitmap_Device = ") + Q(QStringLiteral("DPV0_1N")));
    L.Add(QStringLiteral("Bitmap_SF=") + Q(QStringLiteral("DPV0_1S")));
    L.Add(Empty);
    L.Add(QStringLiteral("Freeze_Mode_supp=1"));
    L.Add(QStringLiteral("Sync_Mode_supp=1"));
    L.Add(QStringLiteral("Fail_Safe=1"));
    L.Add(QStringLiteral("Auto_Baud_supp=1"));
    L.Add(QStringLiteral("Set_Slave_Add_supp=0"));
    L.Add(Empty);
    L.Add(QStringLiteral("Min_Slave_Intervall=6"));
    L.Add(Empty);
    L.Add(QStringLiteral("Modular_Station=1"));
    L.Add(QStringLiteral("Max_Module=") + IntToStr(DI + DO));
    L.Add(QStringLiteral("Modul_Offset=1"));
    L.Add(QStringLiteral("Max_Input_Len=") + IntToStr(Out));
    L.Add(QStringLiteral("Max_Output_Len=") + IntToStr(In));
    L.Add(QStringLiteral("Max_Data_Len=") + IntToStr(Out + In));
    L.Add(QStringLiteral("Max_Diag_Data_Len=15"));
    L.Add(Empty);
    L.Add(QStringLiteral("WD_Base_1ms_supp = 1"));
    L.Add(QStringLiteral("Publisher_supp = 1"));
    L.Add(Empty);

    Banner(L, QStringLiteral("User-Prm-Data"), 79);
    L.Add(Empty);
    L.Add(QStringLiteral("Max_User_Prm_Data_Len = 12"));
    L.Add(QStringLiteral("Ext_User_Prm_Data_Const(0)= 0x00,0x00,0x00"));
    L.Add(Empty);

    Banner(L, QStringLiteral("Modulstatus"), 79);
    L.Add(Empty);
    for (int Slot = 1; Slot <= 2; ++Slot) {
        L.Add(QStringLiteral("Unit_Diag_Area = ") + IntToStr(22 + 2 * Slot) + QStringLiteral(" - ") + IntToStr(23 + 2 * Slot));
        const UnicodeString Name = QStringLiteral("Slot ") + IntToStr(Slot) + QStringLiteral(": ");
        L.Add(QStringLiteral("Value(1)= ") + Q(Name + QStringLiteral("Module error")));
        L.Add(QStringLiteral("Value(2)= ") + Q(Name + QStringLiteral("Wrong module")));
        L.Add(QStringLiteral("Value(3)= ") + Q(Name + QStringLiteral("No module")));
        L.Add(QStringLiteral("Unit_Diag_Area_End"));
    }
    L.Add(Empty);
    L.Add(Empty);

    Banner(L, QStringLiteral("Module-Definition-List"), 79);
    L.Add(Empty);
    int m = 0;
    auto Modules = [&](const UnicodeString &Kind, const UnicodeString &Format, int Count, int Bytes) {
        for (int k = 1; k <= Count; ++k) {
            ++m;
            const int Size = k < Count ? Module_Bytes : Bytes - (Count - 1) * Module_Bytes;
            L.Add(QStringLiteral("Module=") + Q(Kind + QStringLiteral("  (PORT") + IntToStr(m) + QStringLiteral(")    "))
                  + QLatin1Char(' ') + Format + QStringLiteral(",0x") + Hex2(Size - 1) + QStringLiteral(",0x00,0x")
                  + Hex2(m));
            L.Add(IntToStr(m));
            L.Add(QStringLiteral("EndModule"));
        }
    };
    Modules(QStringLiteral("DI"), QStringLiteral("0x42"), DI, Out);
    Modules(QStringLiteral("DO"), QStringLiteral("0x82"), DO, In);

    L.Add(Empty);
    L.Add(Empty);
    L.Add(Empty);
    L.Add(QStringLiteral("SlotDefinition"));
    for (int s = 1; s <= DI + DO; ++s)
        L.Add(QStringLiteral("Slot(") + IntToStr(s) + QStringLiteral(") = ") + Q(QStringLiteral("Slot ") + IntToStr(s))
              + QLatin1Char(' ') + IntToStr(s) + QLatin1Char(' ') + IntToStr(s));
    L.Add(QStringLiteral("EndSlotDefinition"));
    for (int k = 0; k < 4; ++k)
        L.Add(Empty);
}

void Write_GSD_File(const UnicodeString &File_Name)
{
    TStringList Lines;
    Build_GSD_Text(Lines);
    Save_Description_File(Lines, File_Name, TEncoding::ANSI());
}

void Create_GSD_File()
{
    if (!FileExists(File_ParGen)) {
        MessageDlg(Lang_Text(1104), mtError, TMsgDlgButtons{mbOK}, 0);
        return;
    }
    Read_GSD_Sizes();
    TSaveDialog Dialog(nullptr);
    Dialog.SetInitialDir(Path_Active_Conf);
    Dialog.SetFilter(QStringLiteral("Generic Station Description (*.gsd)|*.gsd"));
    if (!Dialog.Execute())
        return;
    const UnicodeString File_Name = GSD_File_Name(Dialog.FileName());
    if (FileExists(File_Name)
        && MessageDlg(Lang_Text(1103), mtConfirmation, TMsgDlgButtons{mbYes, mbNo}, 0) != mrYes)
        return;
    Write_GSD_File(File_Name);
}
