#pragma once
// The CAN receive frames editor: the frames the converter takes from the CAN bus and where each
// of their data bytes goes in its internal data array, kept in "CAN_Rec_Frames.xml".

#include "editors/frame/URuleEditor.h"

class TFReceiveCAN : public TFRuleEditor {
public:
    explicit TFReceiveCAN(TComponent *AOwner);

    TExtColumnGrid *ACG_CAN_Receive = nullptr;
    // The header hints of columns 1 to 14.
    TStringList *Hint_ReceiveCAN = nullptr;
    int MAX_Byte = 0;

    void ACG_CAN_ReceiveDblClickCell(TObject *Sender, int ARow, int ACol) { DblClickCell(Sender, ARow, ACol); }
    void ACG_CAN_ReceiveGridHint(TObject *Sender, int ARow, int ACol, UnicodeString &HintStr)
    {
        GridHint(Sender, ARow, ACol, HintStr);
    }
    void ACG_CAN_ReceiveKeyPress(TObject *Sender, WideChar &Key) { KeyPress(Sender, Key); }

protected:
    void Create_Set_Up() override;
    void Set_Up_Grids() override;
    bool Check_Row(int Grid_Index, int Row, UnicodeString &Failure) override;
};

extern TFReceiveCAN *FReceiveCAN;
