#pragma once
// The CANopen SDO server editor: the objects of the manufacturer range that a CANopen master reads
// from the converter's input array or writes into its output array, kept in
// "SDO_Server_CANopen.xml".

#include "editors/canopen/UCANopen_Access.h"

class TFSet_SDO_Server_Access : public TFCANopen_Access {
public:
    explicit TFSet_SDO_Server_Access(TComponent *AOwner);

    TTabSheet *TS_SDO_Read = nullptr;
    TTabSheet *TS_SDO_Write = nullptr;
    // The header hints of columns 1 to 8 of each grid.
    TStringList *Hint_SDO_Client_Read = nullptr;
    TStringList *Hint_SDO_Client_Write = nullptr;

    bool Do_Copy_SDO_Read() const { return Copy_Flag(0); }
    bool Do_Copy_SDO_Write() const { return Copy_Flag(1); }
    void Btn_OK_Click(TObject *Sender) { Btn_OKClick(Sender); }

protected:
    void Create_Set_Up() override;
    bool Check_Row(int Grid_Index, int Row, UnicodeString &Failure) override;
};

extern TFSet_SDO_Server_Access *FSet_SDO_Server_Access;
