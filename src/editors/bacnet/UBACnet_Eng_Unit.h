#pragma once
// The dialog in which the user picks the engineering unit of a BACnet object: the units grouped in
// their categories, the number of the chosen one in an edit field the caller reads back.

#include "core/UConf_Dialog.h"

class TComboBox;
class TEdit;
class TLabel;
class TShape;

constexpr int Eng_Unit_Count = 237;
constexpr int Eng_Unit_Category_Count = 23;

struct TEng_Unit_Category {
    const char *Name;
    const short *Units; // in the order the unit list shows them
    int Count;
};
extern const TEng_Unit_Category Eng_Unit_Categories[Eng_Unit_Category_Count];
// The name of each unit number from 0 on.
extern const char *const Eng_Unit_Names[Eng_Unit_Count];

class TFBACnet_Eng_Unit : public TFConf_Dialog {
public:
    explicit TFBACnet_Eng_Unit(TComponent *AOwner);

    TLabel *Label1 = nullptr;
    TEdit *E_Selected_EU = nullptr;
    TLabel *Label5 = nullptr;
    TShape *Shape1 = nullptr;
    TLabel *Label2 = nullptr;
    TLabel *Label3 = nullptr;
    TComboBox *CB_Select_Type = nullptr;
    TLabel *Label4 = nullptr;
    TComboBox *CB_Select_Unit = nullptr;
    TLbButton *Btn_Select_Eng_Unit = nullptr;
    TShape *Shape2 = nullptr;

    // The name of a unit number, "unknown" outside the table.
    static UnicodeString Desc_Unit(int Num_Unit);
    // The name the unit list gives the number; three differ from Desc_Unit's.
    static UnicodeString List_Unit(int Num_Unit);

    void FormCreate(TObject *Sender);
    void FormShow(TObject *Sender);
    void CB_Select_TypeSelect(TObject *Sender);
    void Btn_Select_Eng_UnitClick(TObject *Sender);
    void Set_Lang();
    // Label5 names the unit whose number is Text (a text that is no number names none).
    void Show_Unit_Name(const UnicodeString &Text);
};

extern TFBACnet_Eng_Unit *FBACnet_Eng_Unit;
