#include "editors/canopen/USet_SDO_Server_Access.h"

#include "core/UComon.h"
#include "core/UFabricoreFirmWare.h"

TFSet_SDO_Server_Access *FSet_SDO_Server_Access = nullptr;

namespace {

constexpr int SDO_Server_Rows = 500;

enum : int {
    Col_Index = 1,
    Col_SubIndex = 2,
    Col_NByte = 3,
    Col_Byte1 = 4,
};

std::vector<TRule_Column> Object_Columns(int Header, int Hint)
{
    std::vector<TRule_Column> C = {
        {.Header = Header, .Width = 40},
        CANopen_Column(Header + 1, Hint, "Index", 65, Rule_Color_Address),
        CANopen_Column(Header + 2, Hint + 1, "SubIndex", 61, Rule_Color_Address),
        CANopen_Column(Header + 3, Hint + 2, "NByte", 55, Rule_Color_Address),
    };
    static const char *const Bytes[4] = {"Address_B1", "Address_B2", "Address_B3", "Address_B4"};
    for (int k = 0; k < 4; ++k)
        C.push_back(CANopen_Column(Header + 4 + k, Hint + 3 + k, Bytes[k], 80, Rule_Color_Data));
    C.push_back(CANopen_Column(Header + 8, Hint + 7, "Mnemonic", 170, clWhite));
    return C;
}

TRule_Editor_Def SDO_Server_Def()
{
    return CANopen_Editor_Def({"FSet_SDO_Server_Access", 749, 2200, 2250, 2265, &File_SDO_Server_CANopen,
                               "SDO_Server_CANopen", {"SDO_Read", "SDO_Write"}},
                              Object_Columns(2216, 2234), Object_Columns(2225, 2242), SDO_Server_Rows);
}

} // namespace

TFSet_SDO_Server_Access::TFSet_SDO_Server_Access(TComponent *AOwner)
    : TFCANopen_SDO_Access(AOwner, SDO_Server_Def())
{
}

bool TFSet_SDO_Server_Access::Check_Row(int Grid_Index, int Row, UnicodeString &Failure)
{
    // The write texts follow the read ones by seven. Pairs of Index and SubIndex are not compared:
    // the same object may stand twice.
    const int t = Grid_Index == 0 ? 0 : 7;
    const int Index = Cell_Int(Grid_Index, Col_Index, Row);
    if (Index < 0x2000 || Index > 0x5FFF)
        return Fail(Failure, Lang_Text(2251 + t));
    const int SubIndex = Cell_Int(Grid_Index, Col_SubIndex, Row);
    if (SubIndex < 0 || SubIndex > 0xFF)
        return Fail(Failure, Lang_Text(2252 + t));
    const int N_Byte = Cell_Int(Grid_Index, Col_NByte, Row);
    if (N_Byte != 1 && N_Byte != 2 && N_Byte != 4)
        return Fail(Failure, Lang_Text(2253 + t));
    return Check_SDO_Bytes(Grid_Index, Row, N_Byte, Col_Byte1, 2254 + t, Failure);
}
