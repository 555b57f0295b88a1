#include "editors/can/UCAN_Frames.h"

#include "core/UFabricoreFirmWare.h"
#include "grid/core/ExtColumnGrid.h"
#include "platform/SysUtils.h"

namespace {

const char *const Byte_Attributes[8] = {"Byte1", "Byte2", "Byte3", "Byte4", "Byte5", "Byte6", "Byte7", "Byte8"};

int Cell_Int(TExtColumnGrid *Grid, int Col, int Row)
{
    return StrToIntDef(Grid->GetCellEx(Col, Row), -1);
}

bool In_Range(int Value, int Low, int High)
{
    return Value >= Low && Value <= High;
}

} // namespace

TRule_Editor_Def CAN_Editor_Def(const TCAN_Editor &E, std::vector<TRule_Column> Columns)
{
    TRule_Grid G;
    G.Columns = std::move(Columns);
    G.Rows = CAN_Frame_Rows;
    G.Key_Col = CAN_Col_COBID;
    TRule_Editor_Def D;
    D.Name = E.Name;
    D.Client_Width = E.Client_Width;
    D.Text_Base = E.Text_Base;
    D.Button_Hints = E.Button_Hints;
    D.Row_Prefix = E.Row_Prefix;
    D.Delete_Text = E.Delete_Text;
    D.File = E.File;
    D.Root = QString::fromLatin1(E.Root);
    D.Grids.push_back(std::move(G));
    D.Reset_Shown_Only = true;
    D.Hint_Mode = THint_Mode::Shown_Column;
    D.Focus_Grid_On_Show = true;
    return D;
}

std::vector<TRule_Column> CAN_Frame_Columns(int Header_First, int Hint_First)
{
    std::vector<TRule_Column> Columns(5);
    Columns[0] = {.Header = Header_First, .Width = 40};
    Columns[1] = {.Header = Header_First + 1, .Hint = Hint_First, .Attribute = "Enable", .Kind = TRule_Cell::Check,
                  .Width = 50, .Color = Rule_Color_Enable, .Load_Default = "Y"};
    Columns[2] = {.Header = Header_First + 2, .Hint = Hint_First + 1, .Attribute = "COBID", .Width = 90,
                  .Color = Rule_Color_Address};
    Columns[3] = {.Header = Header_First + 3, .Hint = Hint_First + 2, .Attribute = "CAN_Type", .Kind = TRule_Cell::List,
                  .Width = 90, .Color = Rule_Color_Address, .Items = {CAN_Type_11_Bits, CAN_Type_29_Bits}};
    Columns[4] = {.Header = Header_First + 4, .Hint = Hint_First + 3, .Attribute = "Dim", .Width = 70,
                  .Color = Rule_Color_Address};
    return Columns;
}

std::vector<TRule_Column> CAN_Byte_Columns(int Header_First, int Hint_First)
{
    std::vector<TRule_Column> Columns;
    for (int k = 0; k < 8; ++k)
        Columns.push_back({.Header = Header_First + k, .Hint = Hint_First + k, .Attribute = Byte_Attributes[k],
                           .Kind = TRule_Cell::List, .Width = 48, .Color = Rule_Color_Data});
    return Columns;
}

void Fill_CAN_Byte_Items(TExtColumnGrid *Grid, int First_Col, int Max_Byte)
{
    QStringList Items{QStringLiteral("None")};
    for (int i = 0; i < Max_Byte; ++i)
        Items << QString::number(i);
    for (int k = 0; k < 8; ++k) {
        TStringList *List = Grid->Columns()->Items(First_Col + k)->ComboItems();
        List->BeginUpdate();
        List->Clear();
        for (const QString &Text : Items)
            List->Add(Text);
        List->EndUpdate();
    }
}

bool Check_CAN_Frame(TExtColumnGrid *Grid, int Row, const TCAN_Check_Texts &Texts, UnicodeString &Failure)
{
    const int COBID = Cell_Int(Grid, CAN_Col_COBID, Row);
    // Only the 11-bit type is named exactly; any other text, an empty one too, means 29 bits.
    if (Trim(Grid->GetCellEx(CAN_Col_Type, Row)) == CAN_Type_11_Bits) {
        if (!In_Range(COBID, 0, 2047)) {
            Failure = Lang_Text(Texts.CobID_11);
            return false;
        }
    } else if (!In_Range(COBID, 0, 0x1FFFFFFF)) {
        Failure = Lang_Text(Texts.CobID_29);
        return false;
    }
    if (!In_Range(Cell_Int(Grid, CAN_Col_Dim, Row), 1, 8)) {
        Failure = Lang_Text(Texts.Dimension);
        return false;
    }
    return true;
}

bool Check_CAN_Bytes(TExtColumnGrid *Grid, int Row, int First_Col, int Max_Byte, const TCAN_Check_Texts &Texts,
                     UnicodeString &Failure)
{
    const int Dim = Cell_Int(Grid, CAN_Col_Dim, Row);
    for (int k = 1; k <= Dim && k <= 8; ++k) {
        const int Col = First_Col + k - 1;
        const UnicodeString Text = Trim(Grid->GetCellEx(Col, Row));
        if (Text.isEmpty() || Text == QLatin1String("None"))
            continue;
        if (!In_Range(Cell_Int(Grid, Col, Row), 0, Max_Byte - 1)) {
            Failure = Lang_Text(k == 1 ? Texts.Byte1 : Texts.Byte2 + k - 2) + IntToStr(Max_Byte - 1)
                      + Lang_Text(Texts.Or_None);
            return false;
        }
    }
    return true;
}
