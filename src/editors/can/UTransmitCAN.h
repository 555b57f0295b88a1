#pragma once
// The CAN transmit frames editor: the frames the converter sends on the CAN bus, what triggers
// each, and from which positions of its internal data array their bytes come, kept in
// "CAN_Send_Frames.xml".

#include "editors/frame/URuleEditor.h"

class TFTransmitCAN : public TFRuleEditor {
public:
    explicit TFTransmitCAN(TComponent *AOwner);

    TExtColumnGrid *ACG_CAN_Transmit = nullptr;
    // The header hints of columns 1 to 17.
    TStringList *Hint_TransmitCAN = nullptr;
    // A row's frame format is the one in its Type cell, and its Time is checked.
    int Hard_Type = 0;
    // What a loaded row lacking them takes: the frame format (0: 2.0A), the trigger (0: on
    // change, 1: on timer) and the timer period.
    int CAN_Type = 0;
    int Send_Type = 0;
    int Send_Time = 0;
    int MAX_Byte = 0;

    void ACG_CAN_TransmitDblClickCell(TObject *Sender, int ARow, int ACol) { DblClickCell(Sender, ARow, ACol); }
    void ACG_CAN_TransmitGridHint(TObject *Sender, int ARow, int ACol, UnicodeString &HintStr)
    {
        GridHint(Sender, ARow, ACol, HintStr);
    }
    void ACG_CAN_TransmitKeyPress(TObject *Sender, WideChar &Key) { KeyPress(Sender, Key); }

protected:
    void Create_Set_Up() override;
    void Set_Up_Grids() override;
    bool Loaded_Cell(int Grid_Index, int Col, int Row, bool Present, UnicodeString &Text) override;
    bool Check_Row(int Grid_Index, int Row, UnicodeString &Failure) override;
};

extern TFTransmitCAN *FTransmitCAN;
