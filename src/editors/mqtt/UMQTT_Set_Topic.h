#pragma once
// The MQTT topics editor: the topics the converter publishes from its internal data array (page
// "MQTT Publish") and those it subscribes to and writes into it (page "MQTT Subscribe"), kept
// in "MQTT_Set_Topic.xml". A double click on a template opens the template dialog.

#include "editors/frame/URuleEditor.h"

class TFMQTT_Set_Topic : public TFRuleEditor {
public:
    explicit TFMQTT_Set_Topic(TComponent *AOwner);

    TTabSheet *TS_MQTT_Publish = nullptr;
    TTabSheet *TS_MQTT_Subscribe = nullptr;
    TExtColumnGrid *ACG_Pub = nullptr;
    TExtColumnGrid *ACG_Sub = nullptr;
    // The header hints of columns 1 on, one list per grid.
    TStringList *Hint_MQTT_Set_Topic_Pub = nullptr;
    TStringList *Hint_MQTT_Set_Topic_Sub = nullptr;

    bool Do_Copy_Pub() const { return Copy_Flag(0); }
    bool Do_Copy_Sub() const { return Copy_Flag(1); }

    void Set_Lang() override;
    // True when Str holds an odd number of "$": a keyword is left open.
    static bool Error_In_Topic_Template(const UnicodeString &Str);
    void ACG_MQTT_DblClickCell(TObject *Sender, int ARow, int ACol);
    // Edits cell (ACol, ARow) of the grid Sender in the template dialog.
    void Show_Form_Topic(TObject *Sender, int ARow, int ACol);

protected:
    void Create_Set_Up() override;
    void Set_Up_Grids() override;
    bool Check_Row(int Grid_Index, int Row, UnicodeString &Failure) override;
};

extern TFMQTT_Set_Topic *FMQTT_Set_Topic;
