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
    std::vector<TRule_Column> Columns = CAN_Frame_Columns(1408, 1429);
    // Text 1433 belongs to no column.
    Columns.push_back({.Header = 1413, .Hint = 1434, .Attribute = "TimeOut", .Width = 75, .Color = Rule_Color_Trigger,
                       .Load_Default = "0"});
    for (TRule_Column &C : CAN_Byte_Columns(1414, 1435))
        Columns.push_back(C);
    Columns.push_back({.Header = 1422, .Hint = 1443, .Attribute = "Mnemonic", .Width = 185, .Load_Default = ""});
    return CAN_Editor_Def({"FReceiveCAN", 1010, 1400, 1423, 1444, 1458, &File_CAN_Rec_Frames, "Receive_Frames"},
                          std::move(Columns));
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
