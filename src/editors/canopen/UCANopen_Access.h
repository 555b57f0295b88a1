#pragma once
// What the three CANopen editors (PDO, SDO client, SDO server) share: two grids on pages with
// their headers in the cells of row 0, the header hints of the active page, a click on the
// number that selects the row, Delete Row over the shown columns, every attribute required in
// the file, and the check of an internal array position.

#include "editors/frame/URuleEditor.h"

class TTabSheet;

// The size of each of the converter's two internal arrays, in bytes.
constexpr int CANopen_NByte = 1440;

struct TCANopen_Editor {
    const char *Name;
    int Client_Width;
    int Text_Base;    // caption; the buttons, their hints and the two pages follow it
    int Row_Prefix;
    int Delete_Text;
    const UnicodeString *File;
    const char *Root;
    const char *Sections[2];
};
TRule_Editor_Def CANopen_Editor_Def(const TCANopen_Editor &E, std::vector<TRule_Column> First,
                                    std::vector<TRule_Column> Second, int Rows);
// A column of a CANopen grid: a required attribute.
TRule_Column CANopen_Column(int Header, int Hint, const char *Attribute, int Width, TColor Color,
                            TRule_Cell Kind = TRule_Cell::Text);

class TFCANopen_Access : public TFRuleEditor {
public:
    TFCANopen_Access(TComponent *AOwner, TRule_Editor_Def Def, const char *First_Page, const char *Second_Page);

    TExtColumnGrid *sga = nullptr;
    TExtColumnGrid *sgb = nullptr;
    // The bounds of the positions in the first grid (input array) and the second (output array).
    int PROFINET_NByte_IN = 0;
    int PROFINET_NByte_OUT = 0;

    void Set_Lang() override;

protected:
    void Set_Up_Grids() override;
    // The position in Col lies within the array of the grid; else text Text with the highest
    // position after it.
    bool Check_Address(int Grid_Index, int Row, int Col, int Text, UnicodeString &Failure) const;
    // The positions of an SDO of N_Byte bytes (1, 2 or 4) from First_Col on, their texts from
    // First_Text on.
    bool Check_SDO_Bytes(int Grid_Index, int Row, int N_Byte, int First_Col, int First_Text,
                         UnicodeString &Failure) const;
    static bool Fail(UnicodeString &Failure, const UnicodeString &Text)
    {
        Failure = Text;
        return false;
    }
};

// The SDO client and server editors alike: a read list and a write list on the pages
// TS_SDO_Read and TS_SDO_Write.
class TFCANopen_SDO_Access : public TFCANopen_Access {
public:
    TFCANopen_SDO_Access(TComponent *AOwner, TRule_Editor_Def Def);

    TTabSheet *TS_SDO_Read = nullptr;
    TTabSheet *TS_SDO_Write = nullptr;
    // The header hints of each list from column 1 on.
    TStringList *Hint_SDO_Client_Read = nullptr;
    TStringList *Hint_SDO_Client_Write = nullptr;

    bool Do_Copy_SDO_Read() const { return Copy_Flag(0); }
    bool Do_Copy_SDO_Write() const { return Copy_Flag(1); }
    void Btn_OK_Click(TObject *Sender) { Btn_OKClick(Sender); }

protected:
    void Create_Set_Up() override;
};
