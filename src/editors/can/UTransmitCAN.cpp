#include "editors/can/UTransmitCAN.h"

#include "core/UComon.h"
#include "core/UFabricoreFirmWare.h"
#include "editors/can/UCAN_Frames.h"
#include "grid/core/ExtColumnGrid.h"
#include "platform/SysUtils.h"

TFTransmitCAN *FTransmitCAN = nullptr;

namespace {

enum : int {
    Col_OnChange = 5,
    Col_OnCMD = 6,
    Col_OnTimer = 7,
    Col_Time = 8,
    Col_Byte1 = 9,
};

const TCAN_Check_Texts Check_Texts = {1348, 1349, 1350, 1352, 1354, 1353};

TRule_Editor_Def Transmit_Def()
{
    std::vector<TRule_Column> Columns = CAN_Frame_Columns(1308, 1331);
    // OnCMD came last to the language table, after the delete question.
    Columns.push_back({.Header = 1313, .Hint = 1335, .Attribute = "OnChange", .Kind = TRule_Cell::Check, .Width = 65,
                       .Color = Rule_Color_Trigger});
    Columns.push_back({.Header = 1362, .Hint = 1363, .Attribute = "OnCMD", .Kind = TRule_Cell::Check, .Width = 50,
                       .Color = Rule_Color_Trigger, .Load_Default = "N"});
    Columns.push_back({.Header = 1314, .Hint = 1336, .Attribute = "OnTimer", .Kind = TRule_Cell::Check, .Width = 55,
                       .Color = Rule_Color_Trigger});
    Columns.push_back({.Header = 1315, .Hint = 1337, .Attribute = "Time", .Width = 70, .Color = Rule_Color_Trigger});
    for (TRule_Column &C : CAN_Byte_Columns(1316, 1338))
        Columns.push_back(C);
    Columns.push_back({.Header = 1324, .Hint = 1346, .Attribute = "Mnemonic", .Width = 110, .Load_Default = ""});
    return CAN_Editor_Def({"FTransmitCAN", 1100, 1300, 1325, 1347, 1361, &File_CAN_Send_Frames, "Transmit_Frames"},
                          std::move(Columns));
}

} // namespace

TFTransmitCAN::TFTransmitCAN(TComponent *AOwner) : TFRuleEditor(AOwner, Transmit_Def())
{
    ACG_CAN_Transmit = Grid(0);
    ACG_CAN_Transmit->SetName(QStringLiteral("ACG_CAN_Transmit"));
}

void TFTransmitCAN::Create_Set_Up()
{
    Hint_TransmitCAN = Hint_List(0);
}

void TFTransmitCAN::Set_Up_Grids()
{
    Hard_Type = 1;
    MAX_Byte = CAN_Max_Byte;
    Fill_Hint_Lists();
    Fill_CAN_Byte_Items(ACG_CAN_Transmit, Col_Byte1, MAX_Byte);
}

bool TFTransmitCAN::Loaded_Cell(int Grid_Index, int Col, int Row, bool Present, UnicodeString &Text)
{
    if (Present)
        return true;
    const auto Flag = [](bool On) { return On ? QStringLiteral("Y") : QStringLiteral("N"); };
    switch (Col) {
    case CAN_Col_Type:
        Text = CAN_Type == 0 ? CAN_Type_11_Bits : CAN_Type_29_Bits;
        return true;
    case Col_OnChange:
        Text = Flag(Send_Type == 0);
        return true;
    case Col_OnTimer:
        Text = Flag(Send_Type == 1);
        return true;
    case Col_Time:
        // The period matters only to a frame sent on the timer.
        if (Cell(Grid_Index, Col_OnTimer, Row) != QLatin1String("Y"))
            return false;
        Text = IntToStr(Send_Time);
        return true;
    default:
        return TFRuleEditor::Loaded_Cell(Grid_Index, Col, Row, Present, Text);
    }
}

bool TFTransmitCAN::Check_Row(int Grid_Index, int Row, UnicodeString &Failure)
{
    if (!Check_CAN_Frame(ACG_CAN_Transmit, Row, Check_Texts, Failure))
        return false;
    if (UpperCase(Trim(Cell(Grid_Index, Col_OnTimer, Row))) == QLatin1String("Y")) {
        const int Time = Cell_Int(Grid_Index, Col_Time, Row);
        if (Time < 0 || Time > 100000000) {
            Failure = Lang_Text(1351);
            return false;
        }
    }
    return Check_CAN_Bytes(ACG_CAN_Transmit, Row, Col_Byte1, MAX_Byte, Check_Texts, Failure);
}
