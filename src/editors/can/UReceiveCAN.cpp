#include "editors/can/UReceiveCAN.h"

#include "core/UComon.h"
#include "core/UFabricoreFirmWare.h"
#include "editors/can/UCAN_Frames.h"
#include "grid/core/ExtColumnGrid.h"
#include "platform/SysUtils.h"

TFReceiveCAN *FReceiveCAN = nullptr;

namespace {

constexpr int Col_TimeOut = 5;
constexpr int Col_Byte1 = 6;

const TCAN_Check_Texts Check_Texts = {1445, 1446, 1447, 1449, 1451, 1450};

TRule_Editor_Def Receive_Def()
{
    TRule_Grid G;
    G.Columns = CAN_Frame_Columns(1408, 1429);
    // Text 1433 belongs to no column.
    G.Columns.push_back({.Header = 1413, .Hint = 1434, .Attribute = "TimeOut", .Width = 75,
                         .Color = Rule_Color_Trigger, .Load_Default = "0"});
    for (TRule_Column &C : CAN_Byte_Columns(1414, 1435))
        G.Columns.push_back(C);
    G.Columns.push_back({.Header = 1422, .Hint = 1443, .Attribute = "Mnemonic", .Width = 185, .Load_Default = ""});
    G.Rows = CAN_Frame_Rows;
    G.Key_Col = CAN_Col_COBID;

    TRule_Editor_Def D;
    D.Name = "FReceiveCAN";
    D.Client_Width = 1010;
    D.Text_Base = 1400;
    D.Button_Hints = 1423;
    D.Row_Prefix = 1444;
    D.Delete_Text = 1458;
    D.File = &File_CAN_Rec_Frames;
    D.Root = QStringLiteral("Receive_Frames");
    D.Grids.push_back(G);
    D.Reset_Shown_Only = true;
    D.Hint_Mode = THint_Mode::Shown_Column;
    D.Focus_Grid_On_Show = true;
    return D;
}

} // namespace

TFReceiveCAN::TFReceiveCAN(TComponent *AOwner) : TFRuleEditor(AOwner, Receive_Def())
{
    ACG_CAN_Receive = Grid(0);
    ACG_CAN_Receive->SetName(QStringLiteral("ACG_CAN_Receive"));
}

void TFReceiveCAN::Create_Set_Up()
{
    Hint_ReceiveCAN = Hint_List(0);
}

void TFReceiveCAN::Set_Up_Grids()
{
    MAX_Byte = CAN_Max_Byte;
    Fill_CAN_Byte_Items(ACG_CAN_Receive, Col_Byte1, MAX_Byte);
}

bool TFReceiveCAN::Check_Row(int Grid_Index, int Row, UnicodeString &Failure)
{
    if (!Check_CAN_Frame(ACG_CAN_Receive, Row, Check_Texts, Failure))
        return false;
    const int TimeOut = Cell_Int(Grid_Index, Col_TimeOut, Row);
    if (TimeOut < 0 || TimeOut > 100000000) {
        Failure = Lang_Text(1448);
        return false;
    }
    return Check_CAN_Bytes(ACG_CAN_Receive, Row, Col_Byte1, MAX_Byte, Check_Texts, Failure);
}
