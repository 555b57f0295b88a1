#include "editors/snmp/USNMP_Trap_Access.h"

#include "core/UComon.h"
#include "core/UFabricoreFirmWare.h"
#include "grid/core/ExtColumnGrid.h"
#include "platform/ComCtrls.h"
#include "platform/Dialogs.h"
#include "platform/SysUtils.h"

#include <QSet>

TFSNMP_Trap_Access *FSNMP_Trap_Access = nullptr;

namespace {

constexpr int SNMP_Rows = 256;
constexpr int SNMP_Num_Byte = 1438;
// The longest community name and description the MIB takes.
constexpr int Name_Length = 15;

enum : int {
    Col_Enable = 1,
    Col_Community = 2,
    Col_Type = 3,
    // Read grid.
    Col_On_Timer = 6,
    Col_Time = 7,
    Col_Read_Position = 8,
    Col_IP_Address = 12,
    // Write grid.
    Col_Write_Position = 4,
};

// Where the columns that both grids have stand in each.
struct TSNMP_Cols {
    int Position, Bit, NumBits, Description, Conversion;
};
constexpr TSNMP_Cols Read_Cols = {8, 9, 10, 11, 13};
constexpr TSNMP_Cols Write_Cols = {4, 5, 6, 7, 8};

const QStringList Communities = {QStringLiteral("Harbor"), QStringLiteral("Lantern")};
const QStringList Types = {QStringLiteral("Int"), QStringLiteral("String")};
const QStringList Bits = {QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                          QStringLiteral("4"), QStringLiteral("5"), QStringLiteral("6"), QStringLiteral("7")};
const QStringList Conversions = {QStringLiteral("None"),        QStringLiteral("Float"),
                                 QStringLiteral("Float * 10"),  QStringLiteral("Float * 100"),
                                 QStringLiteral("Float / 10"),  QStringLiteral("Float / 100")};

TRule_Editor_Def SNMP_Def()
{
    const TRule_Cell Check = TRule_Cell::Check;
    const TRule_Cell List = TRule_Cell::List;
    const TColor Key = TColor(16710368);
    const TColor Trigger = TColor(11075496);
    const TColor Place = TColor(16045820);
    const TColor Size = TColor(11075583);
    const TColor Desc = TColor(16766421);
    const TColor Enable = TColor(11589887);

    TRule_Grid Read;
    Read.Columns = {
        {.Header = 1216, .Width = 40},
        {.Header = 1217, .Hint = 1239, .Attribute = "Enable", .Kind = Check, .Width = 50, .Color = Enable,
         .Load_Default = "Y"},
        {.Header = 1218, .Hint = 1240, .Attribute = "Community_Name", .Kind = TRule_Cell::Combo, .Width = 130,
         .Color = Key, .Items = Communities},
        {.Header = 1219, .Hint = 1241, .Attribute = "Type", .Kind = List, .Width = 60, .Color = Key, .Items = Types},
        {.Header = 1220, .Hint = 1242, .Attribute = "On_Change", .Kind = Check, .Width = 75, .Color = Trigger,
         .Load_Default = "N"},
        {.Header = 1221, .Hint = 1243, .Attribute = "On_Command", .Kind = Check, .Width = 50, .Color = Trigger,
         .Load_Default = "N"},
        {.Header = 1222, .Hint = 1244, .Attribute = "On_Timer", .Kind = Check, .Width = 60, .Color = Trigger,
         .Load_Default = "N"},
        {.Header = 1223, .Hint = 1245, .Attribute = "Time", .Width = 65, .Color = Trigger},
        {.Header = 1224, .Hint = 1246, .Attribute = "Position", .Kind = List, .Width = 60, .Color = Place},
        {.Header = 1225, .Hint = 1247, .Attribute = "Bit", .Kind = List, .Width = 60, .Color = Place, .Items = Bits},
        {.Header = 1226, .Hint = 1248, .Attribute = "NumBits", .Width = 95, .Color = Size},
        {.Header = 1227, .Hint = 1249, .Attribute = "Description", .Width = 130, .Color = Desc},
        {.Header = 1228, .Hint = 1250, .Attribute = "IP_Address", .Width = 120, .Color = TColor(15000777)},
        {.Header = 1281, .Hint = 1283, .Attribute = "Conversion", .Kind = List, .Width = 100, .Color = Enable,
         .Items = Conversions, .Load_Default = "None"},
        {.Header = 1229, .Hint = 1251, .Attribute = "Mnemonic", .Width = 130, .Color = clWhite},
    };
    Read.Rows = SNMP_Rows;
    Read.Key_Col = Col_Community;
    Read.Section = QStringLiteral("SNMP_Trap_Read");

    TRule_Grid Write;
    Write.Columns = {
        {.Header = 1230, .Width = 40},
        {.Header = 1231, .Hint = 1252, .Attribute = "Enable", .Kind = Check, .Width = 50, .Color = Enable,
         .Load_Default = "Y"},
        {.Header = 1232, .Hint = 1253, .Attribute = "Community_Name", .Kind = TRule_Cell::Combo, .Width = 130,
         .Color = Key, .Items = Communities},
        {.Header = 1233, .Hint = 1254, .Attribute = "Type", .Kind = List, .Width = 60, .Color = Key, .Items = Types},
        {.Header = 1234, .Hint = 1255, .Attribute = "Position", .Kind = List, .Width = 60, .Color = Place},
        {.Header = 1235, .Hint = 1256, .Attribute = "Bit", .Kind = List, .Width = 60, .Color = Place, .Items = Bits},
        {.Header = 1236, .Hint = 1257, .Attribute = "NumBits", .Width = 95, .Color = Size},
        {.Header = 1237, .Hint = 1258, .Attribute = "Description", .Width = 130, .Color = Desc},
        {.Header = 1282, .Hint = 1284, .Attribute = "Conversion", .Kind = List, .Width = 100, .Color = Enable,
         .Items = Conversions, .Load_Default = "None"},
        {.Header = 1238, .Hint = 1259, .Attribute = "Mnemonic", .Width = 500, .Color = clWhite},
    };
    Write.Rows = SNMP_Rows;
    Write.Key_Col = Col_Community;
    Write.Section = QStringLiteral("SNMP_Trap_Write");

    TRule_Editor_Def D;
    D.Name = "FSNMP_Trap_Access";
    D.Client_Width = 1256;
    D.Text_Base = 1200;
    D.Button_Hints = 1210;
    D.Row_Prefix = 1260;
    D.Delete_Text = 1275;
    D.File = &File_SNMP_Trap;
    D.Root = QStringLiteral("SNMP_Trap");
    D.Grids.push_back(Read);
    D.Grids.push_back(Write);
    return D;
}

bool Is_Letter_Or_Digit(QChar C)
{
    return (C >= QLatin1Char('a') && C <= QLatin1Char('z')) || (C >= QLatin1Char('A') && C <= QLatin1Char('Z'))
           || (C >= QLatin1Char('0') && C <= QLatin1Char('9'));
}

} // namespace

TFSNMP_Trap_Access::TFSNMP_Trap_Access(TComponent *AOwner) : TFRuleEditor(AOwner, SNMP_Def())
{
    TS_SNMP_Read = Page(0);
    TS_SNMP_Write = Page(1);
    TS_SNMP_Read->SetName(QStringLiteral("TS_SNMP_Read"));
    TS_SNMP_Write->SetName(QStringLiteral("TS_SNMP_Write"));
    ACG_SNMP_Read = Grid(0);
    ACG_SNMP_Write = Grid(1);
    ACG_SNMP_Read->SetName(QStringLiteral("ACG_SNMP_Read"));
    ACG_SNMP_Write->SetName(QStringLiteral("ACG_SNMP_Write"));
    for (TExtColumnGrid *G : {ACG_SNMP_Read, ACG_SNMP_Write}) {
        for (int Col : {int(Col_Community), G == ACG_SNMP_Read ? Read_Cols.Description : Write_Cols.Description})
            G->Columns()->Items(Col)->SetEditLength(Name_Length);
        G->OnCheckBoxClick = [this](TObject *S, int ACol, int ARow, bool State) {
            ACG_SNMP_ReadCheckBoxClick(S, ACol, ARow, State);
        };
    }
}

void TFSNMP_Trap_Access::Create_Set_Up()
{
    PageControl1->SetActivePage(TS_SNMP_Read);
    Hint_SNMP_Read = Hint_List(0);
    Hint_SNMP_Write = Hint_List(1);
    SL_Check_Desc = std::make_unique<TStringList>();
}

void TFSNMP_Trap_Access::Set_Lang()
{
    TFRuleEditor::Set_Lang();
    TS_SNMP_Read->SetCaption(Lang_Text(1208));
    TS_SNMP_Write->SetCaption(Lang_Text(1209));
}

void TFSNMP_Trap_Access::Set_Up_Grids()
{
    NByte_IN = SNMP_Num_Byte;
    NByte_OUT = SNMP_Num_Byte;
    Fill_Number_Items(ACG_SNMP_Read, Col_Read_Position, NByte_IN);
    Fill_Number_Items(ACG_SNMP_Write, Col_Write_Position, NByte_OUT);
}

void TFSNMP_Trap_Access::After_Load()
{
    Index_Row_Build(ACG_SNMP_Read);
    Index_Row_Build(ACG_SNMP_Write);
}

bool SNMP_Rule_Enabled(const UnicodeString &Enable)
{
    return UpperCase(Enable) == QLatin1String("Y");
}

bool TFSNMP_Trap_Access::Row_Enabled(int Grid_Index, int Row) const
{
    return SNMP_Rule_Enabled(Cell(Grid_Index, Col_Enable, Row));
}

void TFSNMP_Trap_Access::Index_Row_Build(TExtColumnGrid *Grid)
{
    int Number = 0;
    for (int r = 1; r < Grid->RowCount(); ++r)
        Grid->SetCellEx(0, r, SNMP_Rule_Enabled(Grid->GetCellEx(Col_Enable, r)) ? IntToStr(++Number) : UnicodeString());
}

void TFSNMP_Trap_Access::ACG_SNMP_ReadCheckBoxClick(TObject *Sender, int ACol, int ARow, bool State)
{
    if (ACol != Col_Enable)
        return;
    for (int g = 0; g < Grid_Count(); ++g)
        if (Grid(g) == Sender)
            Index_Row_Build(Grid(g));
}

bool TFSNMP_Trap_Access::Check_Error_CommName_Desc(const UnicodeString &Str, int Check_Type)
{
    for (int i = 0; i < Str.size(); ++i) {
        const QChar C = Str[i];
        if (i == 0 && Check_Type == 1 ? !(C >= QLatin1Char('a') && C <= QLatin1Char('z')) : !Is_Letter_Or_Digit(C))
            return true;
    }
    return false;
}

bool TFSNMP_Trap_Access::Check_Row(int Grid_Index, int Row, UnicodeString &Failure)
{
    const auto Fail = [&Failure](int Text) {
        Failure = Lang_Text(Text);
        return false;
    };
    const auto Text_Of = [&](int Col) { return Cell(Grid_Index, Col, Row); };
    const auto Int_Of = [&](int Col) { return Cell_Int(Grid_Index, Col, Row); };
    const bool Read = Grid_Index == 0;
    const TSNMP_Cols &C = Read ? Read_Cols : Write_Cols;
    // The failure texts of the write grid in the order of its checks.
    const auto Text = [Read](int Read_Text, int Write_Text) { return Read ? Read_Text : Write_Text; };

    if (Check_Error_CommName_Desc(Text_Of(Col_Community), 0))
        return Fail(Text(1276, 1278));
    if (Trim(Text_Of(Col_Type)).isEmpty())
        return Fail(Text(1261, 1269));
    if (Read && UpperCase(Text_Of(Col_On_Timer)) == QLatin1String("Y") && !In_Range(Int_Of(Col_Time), 1, 1000000000))
        return Fail(1262);
    if (Trim(Text_Of(C.Position)).isEmpty())
        return Fail(Text(1263, 1270));
    const UnicodeString Bit = Trim(Text_Of(C.Bit));
    if (Bit.isEmpty())
        return Fail(Text(1264, 1271));
    const bool Is_Int = UpperCase(Text_Of(Col_Type)) == QLatin1String("INT");
    if (!Is_Int && Bit != QLatin1String("0"))
        return Fail(Text(1265, 1272));
    const int Size = Int_Of(C.NumBits);
    if (Is_Int && !In_Range(Size, 1, 64))
        return Fail(Text(1266, 1273));
    if (!Is_Int && !In_Range(Size, 1, 16))
        return Fail(Text(1267, 1274));
    if (Check_Error_CommName_Desc(Text_Of(C.Description), 1))
        return Fail(Text(1277, 1279));
    UnicodeString IP1, IP2, IP3, IP4;
    if (Read && !Check_IP_Address(Text_Of(Col_IP_Address), IP1, IP2, IP3, IP4))
        return Fail(1268);
    if (Trim(Text_Of(C.Conversion)).isEmpty())
        return Fail(Text(1285, 1286));
    return true;
}

bool TFSNMP_Trap_Access::Check_Rules()
{
    // The descriptions name the MIB's objects, so no two checked rows of either list may share
    // one, empty ones included.
    SL_Check_Desc->Clear();
    for (int g = 0; g < Grid_Count(); ++g) {
        const int Col = g == 0 ? Read_Cols.Description : Write_Cols.Description;
        for (int r = 1; r < Grid(g)->RowCount(); ++r)
            if (Row_Used(g, r) && Row_Enabled(g, r))
                SL_Check_Desc->Add(Cell(g, Col, r));
    }
    QSet<UnicodeString> Seen;
    for (int i = 0; i < SL_Check_Desc->Count(); ++i) {
        if (Seen.contains(SL_Check_Desc->Strings(i))) {
            MessageDlg(Lang_Text(1280), mtError, TMsgDlgButtons{mbOK}, 0);
            return false;
        }
        Seen.insert(SL_Check_Desc->Strings(i));
    }
    return true;
}
