#pragma once
// The KNX rules editor: the telegrams the converter writes onto the KNX bus from its internal
// data array (addresses, service, priority, format, triggers and the place of the data), kept
// in "KNX_SetAccess.xml".

#include "editors/frame/URuleEditor.h"

class TFKNXAccess : public TFRuleEditor {
public:
    explicit TFKNXAccess(TComponent *AOwner);

    TExtColumnGrid *ACG_KNX_in_Write = nullptr;
    // The header hints of columns 1 to 16.
    TStringList *Hint = nullptr;
    // The flag of a second grid this editor does not have: only ever cleared.
    bool Do_Copy_In_Read = false;
    // The size of the internal data array: the bound of Position and of the data it holds.
    int Max_Num_Byte = 0;

    bool Do_Copy_In_Write() const { return Copy_Flag(0); }
    void ACG_KNX_in_WriteClickCell(TObject *Sender, int ARow, int ACol) { ClickCell(Sender, ARow, ACol); }
    void Btn_CopyRowClick(TObject *Sender);

protected:
    void Create_Set_Up() override;
    void Set_Up_Grids() override;
    void Clear_Copy_Flags() override;
    bool Loaded_Cell(int Grid_Index, int Col, int Row, bool Present, UnicodeString &Text) override;
    bool Check_Row(int Grid_Index, int Row, UnicodeString &Failure) override;
};

extern TFKNXAccess *FKNXAccess;
