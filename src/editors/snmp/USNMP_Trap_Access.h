#pragma once
// The SNMP rules editor: the values the converter sends as traps from its internal data array
// (page "SNMP Read") and the values managers may write into it (page "SNMP Write"), kept in
// "SNMP_Trap.xml" for the MIB writer. Enabled rows are numbered as the MIB numbers its objects.

#include "editors/frame/URuleEditor.h"

class TFSNMP_Trap_Access : public TFRuleEditor {
public:
    explicit TFSNMP_Trap_Access(TComponent *AOwner);

    TTabSheet *TS_SNMP_Read = nullptr;
    TTabSheet *TS_SNMP_Write = nullptr;
    TExtColumnGrid *ACG_SNMP_Read = nullptr;
    TExtColumnGrid *ACG_SNMP_Write = nullptr;
    // The header hints of columns 1 on, one list per grid.
    TStringList *Hint_SNMP_Read = nullptr;
    TStringList *Hint_SNMP_Write = nullptr;
    // The descriptions of the enabled rows, read grid first, gathered by the check.
    std::unique_ptr<TStringList> SL_Check_Desc;
    // The positions the Position lists offer.
    int NByte_IN = 0;
    int NByte_OUT = 0;

    bool Do_Copy_In_Read() const { return Copy_Flag(0); }
    bool Do_Copy_In_Write() const { return Copy_Flag(1); }

    void Set_Lang() override;
    // True when Str holds a character other than an ASCII letter or digit; with Check_Type 1 the
    // first one must also be a lower-case letter.
    static bool Check_Error_CommName_Desc(const UnicodeString &Str, int Check_Type);
    // Numbers the rows whose Enable is "Y" 1, 2, ... in column 0 and blanks the others.
    static void Index_Row_Build(TExtColumnGrid *Grid);
    void ACG_SNMP_ReadCheckBoxClick(TObject *Sender, int ACol, int ARow, bool State);

protected:
    void Create_Set_Up() override;
    void Set_Up_Grids() override;
    void After_Load() override;
    bool Check_Row(int Grid_Index, int Row, UnicodeString &Failure) override;
    bool Check_Rules() override;
    bool Row_Enabled(int Grid_Index, int Row) const override;
};

// Whether an SNMP rule's Enable text enables it. The editor's check, its numbering and the MIB
// writer all read the Enable cell through this, so they never disagree on a hand-edited file.
bool SNMP_Rule_Enabled(const UnicodeString &Enable);

extern TFSNMP_Trap_Access *FSNMP_Trap_Access;
