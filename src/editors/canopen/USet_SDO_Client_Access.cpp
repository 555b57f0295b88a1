#include "editors/canopen/USet_SDO_Client_Access.h"

#include "core/UComon.h"
#include "core/UFabricoreFirmWare.h"

TFSet_SDO_Client_Access *FSet_SDO_Client_Access = nullptr;

namespace {

constexpr int SDO_Client_Rows = 256;

enum : int {
    Col_Device = 1,
    Col_Index = 2,
    Col_SubIndex = 3,
    Col_NByte = 4,
    Col_Poll_Time = 5,
    // The write grid's On Change stands before its positions.
    Col_Read_Byte1 = 6,
    Col_Write_Byte1 = 7,
};

// ID Device .. Poll Time, alike in both grids.
std::vector<TRule_Column> Request_Columns(int Header, int Hint)
{
    return {
        {.Header = Header, .Width = 40},
        CANopen_Column(Header + 1, Hint, "Device_ID", 60, Rule_Color_Address),
        CANopen_Column(Header + 2, Hint + 1, "Index", 55, Rule_Color_Address),
        CANopen_Column(Header + 3, Hint + 2, "SubIndex", 60, Rule_Color_Address),
        CANopen_Column(Header + 4, Hint + 3, "NByte", 45, Rule_Color_Address),
        CANopen_Column(Header + 5, Hint + 4, "Poll_Time", 60, Rule_Color_Trigger),
    };
}

void Add_Bytes(std::vector<TRule_Column> &C, int Header, int Hint)
{
    static const char *const Bytes[4] = {"Address_B1", "Address_B2", "Address_B3", "Address_B4"};
    for (int k = 0; k < 4; ++k)
        C.push_back(CANopen_Column(Header + k, Hint + k, Bytes[k], 70, Rule_Color_Data));
}

TRule_Editor_Def SDO_Client_Def()
{
    std::vector<TRule_Column> Read = Request_Columns(2116, 2139);
    Add_Bytes(Read, 2122, 2144);
    Read.push_back(CANopen_Column(2126, 2148, "Mnemonic", 163, clWhite));
    std::vector<TRule_Column> Write = Request_Columns(2127, 2149);
    Write.push_back(CANopen_Column(2133, 2154, "On_Change", 68, Rule_Color_Trigger, TRule_Cell::Check));
    Add_Bytes(Write, 2134, 2155);
    Write.push_back(CANopen_Column(2138, 2159, "Mnemonic", 95, clWhite));
    return CANopen_Editor_Def({"FSet_SDO_Client_Access", 798, 2100, 2160, 2179, &File_SDO_Client_CANopen,
                               "SDO_Client_CANopen", {"SDO_Read", "SDO_Write"}},
                              std::move(Read), std::move(Write), SDO_Client_Rows);
}

} // namespace

TFSet_SDO_Client_Access::TFSet_SDO_Client_Access(TComponent *AOwner)
    : TFCANopen_SDO_Access(AOwner, SDO_Client_Def())
{
}

bool TFSet_SDO_Client_Access::Check_Row(int Grid_Index, int Row, UnicodeString &Failure)
{
    // The write texts follow the read ones by nine.
    const int t = Grid_Index == 0 ? 0 : 9;
    const int Device = Cell_Int(Grid_Index, Col_Device, Row);
    if (Device < 1 || Device > 127)
        return Fail(Failure, Lang_Text(2161 + t));
    const int Index = Cell_Int(Grid_Index, Col_Index, Row);
    if (Index < 0x1000 || Index > 0xFFFF)
        return Fail(Failure, Lang_Text(2162 + t));
    const int SubIndex = Cell_Int(Grid_Index, Col_SubIndex, Row);
    if (SubIndex < 0 || SubIndex > 0xFF)
        return Fail(Failure, Lang_Text(2163 + t));
    const int N_Byte = Cell_Int(Grid_Index, Col_NByte, Row);
    if (N_Byte != 1 && N_Byte != 2 && N_Byte != 4)
        return Fail(Failure, Lang_Text(2164 + t));
    // A read is polled; a write may be sent on change only.
    const int Poll_Time = Cell_Int(Grid_Index, Col_Poll_Time, Row);
    if (Poll_Time < (Grid_Index == 0 ? 1 : 0) || Poll_Time > 100000000)
        return Fail(Failure, Lang_Text(2165 + t));
    return Check_SDO_Bytes(Grid_Index, Row, N_Byte, Grid_Index == 0 ? Col_Read_Byte1 : Col_Write_Byte1, 2166 + t,
                           Failure);
}
