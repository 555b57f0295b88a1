#include "editors/knx/UKNXAccess.h"

#include "controls/LbButton.h"
#include "core/UComon.h"
#include "core/UFabricoreFirmWare.h"
#include "grid/core/ExtColumnGrid.h"
#include "platform/SysUtils.h"

TFKNXAccess *FKNXAccess = nullptr;

namespace {

constexpr int KNX_Rows = 1024;
constexpr int KNX_Max_Num_Byte = 1560;

enum : int {
    Col_Source = 2,
    Col_Destination = 3,
    Col_APCI = 4,
    Col_Priority = 5,
    Col_Format = 6,
    Col_Extended = 7,
    Col_On_Command = 9,
    Col_On_Change = 10,
    Col_On_Timer = 11,
    Col_Poll_Time = 12,
    Col_Position = 13,
    Col_Bit_Mode = 14,
    Col_Length = 15,
    Col_Mnemonic = 16,
};

const QStringList Priorities = {QStringLiteral("System"), QStringLiteral("Urgent"), QStringLiteral("Normal"),
                                QStringLiteral("Low")};

TRule_Editor_Def KNX_Def()
{
    const TColor Address = Rule_Color_Address;
    const TColor Format = Rule_Color_Format;
    const TColor Trigger = Rule_Color_Trigger;
    const TColor Data = Rule_Color_Data;
    const TRule_Cell Check = TRule_Cell::Check;
    TRule_Grid G;
    // Five attributes have a default; a row without any of the others is no row of this editor.
    G.Columns = {
        {.Header = 1714, .Width = 40},
        {.Header = 1715, .Hint = 1731, .Attribute = "Enable", .Kind = Check, .Width = 50, .Color = Rule_Color_Enable,
         .Load_Default = "Y"},
        {.Header = 1716, .Hint = 1732, .Attribute = "Source_Address", .Width = 70, .Color = Address, .Guarded = false},
        {.Header = 1717, .Hint = 1733, .Attribute = "Destination_Address", .Width = 80, .Color = Address,
         .Guarded = false},
        {.Header = 1718, .Hint = 1734, .Attribute = "APCI", .Kind = TRule_Cell::Combo, .Width = 60, .Color = Address,
         .Items = {QStringLiteral("Read"), QStringLiteral("Write")}, .Guarded = false},
        {.Header = 1719, .Hint = 1735, .Attribute = "Priority", .Kind = TRule_Cell::List, .Width = 75,
         .Color = Address, .Items = Priorities, .Load_Default = "Normal"},
        {.Header = 1720, .Hint = 1736, .Attribute = "Format", .Kind = TRule_Cell::List, .Width = 110, .Color = Format,
         .Items = {QStringLiteral("None"), QStringLiteral("Swap16"), QStringLiteral("Swap32"),
                   QStringLiteral("Swap All"), QStringLiteral("Int to Float"), QStringLiteral("Float to Int"),
                   QStringLiteral("Float16 to Float32"), QStringLiteral("Float16 to Int"),
                   QStringLiteral("Float16 to Int * 10"), QStringLiteral("Float16 to Int * 100")},
         .Load_Default = "None"},
        {.Header = 1721, .Hint = 1737, .Attribute = "Extended", .Kind = Check, .Width = 68, .Color = Format,
         .Guarded = false},
        {.Header = 1722, .Hint = 1738, .Attribute = "ReTest", .Kind = Check, .Width = 50, .Color = Format,
         .Guarded = false},
        // Text 1739 belongs to no column.
        {.Header = 1723, .Hint = 1740, .Attribute = "On_Command", .Kind = Check, .Width = 52, .Color = Trigger,
         .Load_Default = "N"},
        {.Header = 1724, .Hint = 1741, .Attribute = "On_Change", .Kind = Check, .Width = 71, .Color = Trigger,
         .Guarded = false},
        {.Header = 1725, .Hint = 1742, .Attribute = "On_Timer", .Kind = Check, .Width = 62, .Color = Trigger,
         .Load_Default = "N"},
        {.Header = 1726, .Hint = 1743, .Attribute = "Poll_Time", .Width = 67, .Color = Trigger, .Guarded = false},
        {.Header = 1727, .Hint = 1744, .Attribute = "Position", .Kind = TRule_Cell::List, .Width = 55, .Color = Data,
         .Guarded = false},
        {.Header = 1728, .Hint = 1745, .Attribute = "Bit_Mode", .Kind = TRule_Cell::List, .Width = 55, .Color = Data,
         .Items = {QStringLiteral("No"), QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2"),
                   QStringLiteral("3"), QStringLiteral("4"), QStringLiteral("5"), QStringLiteral("6"),
                   QStringLiteral("7")},
         .Guarded = false},
        {.Header = 1729, .Hint = 1746, .Attribute = "Length", .Width = 55, .Color = Data, .Guarded = false},
        {.Header = 1730, .Hint = 1747, .Attribute = "Mnemonic", .Width = 96, .Guarded = false},
    };
    G.Rows = KNX_Rows;
    G.Key_Col = Col_Source;
    G.Section = QStringLiteral("KNX_in_Write");

    TRule_Editor_Def D;
    D.Name = "FKNXAccess";
    D.Client_Width = 1141;
    D.Text_Base = 1700;
    D.Button_Hints = 1708;
    D.Row_Prefix = 1748;
    D.Delete_Text = 1760;
    D.File = &File_KNX_SetAccess;
    D.Root = QStringLiteral("BACnet_to_KNX");
    D.Grids.push_back(G);
    D.Headers_In_Cells = true;
    D.Hint_Mode = THint_Mode::Shown_Column;
    D.Delete_Shown_Only = true;
    D.Click_Selects_Row = true;
    D.Enable_Upper_Case = false;
    return D;
}

} // namespace

TFKNXAccess::TFKNXAccess(TComponent *AOwner) : TFRuleEditor(AOwner, KNX_Def())
{
    ACG_KNX_in_Write = Grid(0);
    ACG_KNX_in_Write->SetName(QStringLiteral("ACG_KNX_in_Write"));
    Btn_CopyRow->SetLeft(490);
    Btn_CopyRow->OnClick = [this](TObject *S) { Btn_CopyRowClick(S); };
}

void TFKNXAccess::Create_Set_Up()
{
    for (int Col : {Col_APCI, Col_On_Command, Col_On_Change})
        ACG_KNX_in_Write->UnHideColumn(Col);
    ACG_KNX_in_Write->Columns()->Items(Col_Mnemonic)->SetWidth(96);
    Hint = Hint_List(0);
}

void TFKNXAccess::Set_Up_Grids()
{
    Max_Num_Byte = KNX_Max_Num_Byte;
    Fill_Number_Items(ACG_KNX_in_Write, Col_Position, Max_Num_Byte);
}

void TFKNXAccess::Clear_Copy_Flags()
{
    TFRuleEditor::Clear_Copy_Flags();
    Do_Copy_In_Read = false;
}

void TFKNXAccess::Btn_CopyRowClick(TObject *Sender)
{
    TFRuleEditor::Btn_CopyRowClick(Sender);
    Do_Copy_In_Read = false;
}

bool TFKNXAccess::Loaded_Cell(int Grid_Index, int Col, int Row, bool Present, UnicodeString &Text)
{
    if (Col == Col_Priority && Present && !Priorities.contains(Text))
        Text = QStringLiteral("Normal");
    return TFRuleEditor::Loaded_Cell(Grid_Index, Col, Row, Present, Text);
}

bool TFKNXAccess::Check_Row(int Grid_Index, int Row, UnicodeString &Failure)
{
    const auto Fail = [&Failure](const UnicodeString &Text) {
        Failure = Text;
        return false;
    };
    const auto Text_Of = [&](int Col) { return Cell(Grid_Index, Col, Row); };
    const auto Int_Of = [&](int Col) { return Cell_Int(Grid_Index, Col, Row); };

    if (Check_KNX_Address(Trim(Text_Of(Col_Source)), false, true) != 0)
        return Fail(Lang_Text(1749));
    const UnicodeString Destination = Trim(Text_Of(Col_Destination));
    if (Is_Not_Dotted(Destination)) {
        if (Check_KNX_Address(Destination, true, false) != 0)
            return Fail(Lang_Text(1751));
    } else if (Check_KNX_Address(Destination, false, true) != 0) {
        return Fail(Lang_Text(1750));
    }
    const UnicodeString APCI = UpperCase(Text_Of(Col_APCI));
    if (APCI != QLatin1String("READ") && APCI != QLatin1String("WRITE") && !In_Range(Int_Of(Col_APCI), 0, 1023))
        return Fail(Lang_Text(1752));
    if (!Priorities.contains(Text_Of(Col_Priority)))
        return Fail(Lang_Text(1753));
    if (Trim(Text_Of(Col_Format)).isEmpty())
        return Fail(Lang_Text(1754));
    if (UpperCase(Text_Of(Col_On_Timer)) == QLatin1String("Y") && !In_Range(Int_Of(Col_Poll_Time), 1, 100000000))
        return Fail(Lang_Text(1755));
    const int Position = Int_Of(Col_Position);
    if (!In_Range(Position, 0, Max_Num_Byte - 1))
        return Fail(Lang_Text(1756) + IntToStr(Max_Num_Byte - 1));
    bool Bit_Mode = false;
    int Start_Bit = 0;
    if (UpperCase(Text_Of(Col_Bit_Mode)) != QLatin1String("NO")) {
        Start_Bit = Int_Of(Col_Bit_Mode);
        if (!In_Range(Start_Bit, 0, 7))
            return Fail(Lang_Text(1757));
        Bit_Mode = true;
    }
    const bool Extended = UpperCase(Text_Of(Col_Extended)) == QLatin1String("Y");
    const int Limit = Bit_Mode ? (Extended ? 2040 : 112) : (Extended ? 255 : 14);
    const int Length = Int_Of(Col_Length);
    if (!In_Range(Length, 1, Limit))
        return Fail(Lang_Text(1758) + IntToStr(Limit));
    const int Size = Bit_Mode ? (Start_Bit + Length + 7) / 8 : Length;
    if (Position + Size > Max_Num_Byte)
        return Fail(Lang_Text(1759) + IntToStr(Max_Num_Byte));
    return true;
}
