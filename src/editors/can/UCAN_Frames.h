#pragma once
// What the CAN receive and transmit editors share: the columns that describe a frame and its
// data bytes, and the checks of a frame's identifier, length and byte positions.

#include "editors/frame/URuleEditor.h"

#include <vector>

class TExtColumnGrid;

// The two frame formats, as the Type column offers them.
inline const UnicodeString CAN_Type_11_Bits = QStringLiteral("2.0A (11 bits)");
inline const UnicodeString CAN_Type_29_Bits = QStringLiteral("2.0B (29 bits)");

// The positions of the converter's internal data array that a data byte may name.
constexpr int CAN_Max_Byte = 1500;
constexpr int CAN_Frame_Rows = 512;

enum : int {
    CAN_Col_Enable = 1,
    CAN_Col_COBID = 2,
    CAN_Col_Type = 3,
    CAN_Col_Dim = 4,
};

// What the two editors declare alike: one grid of CAN_Frame_Rows frames keyed by the COB-ID,
// reset over its shown columns, hinted by the shown column's number, focused when shown.
struct TCAN_Editor {
    const char *Name;
    int Client_Width;
    int Text_Base;
    int Button_Hints;
    int Row_Prefix;
    int Delete_Text;
    const UnicodeString *File;
    const char *Root;
};
TRule_Editor_Def CAN_Editor_Def(const TCAN_Editor &E, std::vector<TRule_Column> Columns);

// Columns 0 ("N") to 4 (Dimension): headers from Header_First on, hints from Hint_First on.
std::vector<TRule_Column> CAN_Frame_Columns(int Header_First, int Hint_First);
// The eight data-byte list columns, their items filled at each showing.
std::vector<TRule_Column> CAN_Byte_Columns(int Header_First, int Hint_First);
// Each byte column from First_Col on offers "None" and the positions 0 .. Max_Byte - 1.
void Fill_CAN_Byte_Items(TExtColumnGrid *Grid, int First_Col, int Max_Byte);

// The texts of the frame checks in one editor's block.
struct TCAN_Check_Texts {
    int CobID_11;
    int CobID_29;
    int Dimension;
    int Byte1;
    int Byte2; // Byte2 .. Byte8 follow it
    int Or_None;
};
// The COB-ID within its type's range, then the length 1..8.
bool Check_CAN_Frame(TExtColumnGrid *Grid, int Row, const TCAN_Check_Texts &Texts, UnicodeString &Failure);
// The bytes within the length: "None", empty or a position 0 .. Max_Byte - 1.
bool Check_CAN_Bytes(TExtColumnGrid *Grid, int Row, int First_Col, int Max_Byte, const TCAN_Check_Texts &Texts,
                     UnicodeString &Failure);
