#pragma once
// The BACnet object rules editor: the objects BACnet clients read, whose values come from the
// converter's input array, and those they write, whose values go to its output array, kept in
// "BACnet_Slave_SetAccess.xml" for the EDE writer.

#include "editors/frame/URuleEditor.h"

class TFBACnetSlaveSetAccess : public TFRuleEditor {
public:
    explicit TFBACnetSlaveSetAccess(TComponent *AOwner);

    TExtColumnGrid *ACG_BACnet_in_Read = nullptr;
    TExtColumnGrid *ACG_BACnet_in_Write = nullptr;
    TTabSheet *TS_BACnet_in_Read = nullptr;
    TTabSheet *TS_BACnet_in_Write = nullptr;
    // ParGen.xml asks for the longer object names, which halves the number of objects.
    bool Desc_Lenght = false;
    // The sizes of the input and output arrays in bytes.
    int NByte_IN = 0;
    int NByte_OUT = 0;

    bool Do_Copy_Read() const { return Copy_Flag(0); }
    bool Do_Copy_Write() const { return Copy_Flag(1); }
    // The most objects both lists hold together.
    int Object_Limit() const;

    void Set_Lang() override;
    void bitbtn1Click(TObject *Sender) { Btn_OKClick(Sender); }
    void ACG_BACnet_in_ReadDblClickCell(TObject *Sender, int ARow, int ACol);
    void ACG_BACnet_in_WriteDblClickCell(TObject *Sender, int ARow, int ACol);
    void ACG_BACnet_in_WriteComboChange(TObject *Sender, int ACol, int ARow, int AItemIndex,
                                        const UnicodeString &ASelection);

protected:
    void Create_Set_Up() override;
    void Set_Up_Grids() override;
    void After_Load() override;
    bool Check_Row(int Grid_Index, int Row, UnicodeString &Failure) override;
    bool Check_Rules() override;

private:
    // The engineering units dialog on the Eng. Unit cell of ARow, then the frame's double click.
    void Eng_Unit_DblClick(TObject *Sender, int ARow, int ACol);
    void Read_ParGen();
};

extern TFBACnetSlaveSetAccess *FBACnetSlaveSetAccess;
