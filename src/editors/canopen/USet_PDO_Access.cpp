#include "editors/canopen/USet_PDO_Access.h"

#include "core/UComon.h"
#include "core/UFabricoreFirmWare.h"
#include "platform/ComCtrls.h"

TFSet_PDO_Access *FSet_PDO_Access = nullptr;

namespace {

constexpr int PDO_Rows = 30;

enum : int {
    Col_COBID = 1,
    Col_Dimension = 2,
    Col_Byte1 = 3,
    Col_Time = 11,
};

// COB-ID, Dimension and the eight byte positions, alike in both grids.
std::vector<TRule_Column> PDO_Columns(int Header, int Hint)
{
    std::vector<TRule_Column> C = {
        {.Header = Header, .Width = 40},
        CANopen_Column(Header + 1, Hint, "COB-ID", 65, Rule_Color_Address),
        CANopen_Column(Header + 2, Hint + 1, "Dimension", 65, Rule_Color_Address),
    };
    static const char *const Bytes[8] = {"Address_B1", "Address_B2", "Address_B3", "Address_B4",
                                         "Address_B5", "Address_B6", "Address_B7", "Address_B8"};
    for (int k = 0; k < 8; ++k)
        C.push_back(CANopen_Column(Header + 3 + k, Hint + 2 + k, Bytes[k], 45, Rule_Color_Data));
    return C;
}

TRule_Editor_Def PDO_Def()
{
    std::vector<TRule_Column> Receive = PDO_Columns(2016, 2043);
    Receive.push_back(CANopen_Column(2027, 2053, "TimeOut", 65, Rule_Color_Trigger));
    Receive.push_back(CANopen_Column(2028, 2054, "Mnemonic", 173, clWhite));
    std::vector<TRule_Column> Transmit = PDO_Columns(2029, 2055);
    Transmit.push_back(CANopen_Column(2040, 2065, "Send_Time", 65, Rule_Color_Trigger));
    Transmit.push_back(CANopen_Column(2041, 2066, "On_Change", 68, Rule_Color_Trigger, TRule_Cell::Check));
    Transmit.push_back(CANopen_Column(2042, 2067, "Mnemonic", 105, clWhite));
    return CANopen_Editor_Def({"FSet_PDO_Access", 798, 2000, 2068, 2091, &File_PDO_CANopen, "PDO_CANopen",
                               {"Receive_PDO", "Transmit_PDO"}},
                              std::move(Receive), std::move(Transmit), PDO_Rows);
}

} // namespace

TFSet_PDO_Access::TFSet_PDO_Access(TComponent *AOwner)
    : TFCANopen_Access(AOwner, PDO_Def(), "TS_Receive_PDO", "TS_Transmit_PDO")
{
    TS_Receive_PDO = Page(0);
    TS_Transmit_PDO = Page(1);
}

void TFSet_PDO_Access::Create_Set_Up()
{
    Hint_PDO_Receive = Hint_List(0);
    Hint_PDO_Transmit = Hint_List(1);
}

bool TFSet_PDO_Access::Check_Row(int Grid_Index, int Row, UnicodeString &Failure)
{
    // The transmit texts follow the receive ones by eleven.
    const int t = Grid_Index == 0 ? 0 : 11;
    const int COBID = Cell_Int(Grid_Index, Col_COBID, Row);
    if (COBID < 0 || COBID > 0x7FF)
        return Fail(Failure, Lang_Text(2069 + t));
    const int Dimension = Cell_Int(Grid_Index, Col_Dimension, Row);
    if (Dimension < 1 || Dimension > 8)
        return Fail(Failure, Lang_Text(2070 + t));
    for (int k = 1; k <= Dimension; ++k)
        if (!Check_Address(Grid_Index, Row, Col_Byte1 + k - 1, 2070 + t + k, Failure))
            return false;
    const int Time = Cell_Int(Grid_Index, Col_Time, Row);
    if (Grid_Index == 0 && (Time < 0 || Time > 65535))
        return Fail(Failure, Lang_Text(2079));
    if (Grid_Index == 1 && (Time < 0 || Time > 100000000))
        return Fail(Failure, Lang_Text(2090));
    return true;
}
