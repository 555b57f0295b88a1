#pragma once
// The CANopen PDO editor: the receive PDOs whose data bytes go into the converter's input array
// and the transmit PDOs whose data bytes come from its output array, kept in "PDO_CANopen.xml".

#include "editors/canopen/UCANopen_Access.h"

class TFSet_PDO_Access : public TFCANopen_Access {
public:
    explicit TFSet_PDO_Access(TComponent *AOwner);

    TTabSheet *TS_Receive_PDO = nullptr;
    TTabSheet *TS_Transmit_PDO = nullptr;
    // The header hints of columns 1 to 12 and 1 to 13.
    TStringList *Hint_PDO_Receive = nullptr;
    TStringList *Hint_PDO_Transmit = nullptr;

    bool Do_Copy_Receive_PDO() const { return Copy_Flag(0); }
    bool Do_Copy_Transmit_PDO() const { return Copy_Flag(1); }
    void Btn_OK_Click(TObject *Sender) { Btn_OKClick(Sender); }

protected:
    void Create_Set_Up() override;
    bool Check_Row(int Grid_Index, int Row, UnicodeString &Failure) override;
};

extern TFSet_PDO_Access *FSet_PDO_Access;
