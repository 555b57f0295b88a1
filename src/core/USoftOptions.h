#pragma once
// The options dialog: the user-interface language out of the language files present, the
// internet options with the immediate version check, and the two table options. Its
// Check_Version is also the version query of the main window's update timer.

#include "platform/Classes.h"
#include "platform/ExtCtrlsPanels.h"
#include "core/UConf_Dialog.h"
#include "platform/Forms.h"
#include "platform/System.h"

#include <memory>

class TLabel;
class TCheckBox;
class TPanel;
class TImage;
class TLbButton;
class TPageControl;
class TTabSheet;

// Slots of one language page.
constexpr int Lang_Slots = 6;

class TFSoftOptions : public TFConf_Dialog {
public:
    explicit TFSoftOptions(TComponent *AOwner);

    TPageControl *PC_Options = nullptr;
    TTabSheet *TS_Language = nullptr;
    TTabSheet *TS_Con_Options = nullptr;
    TTabSheet *TS_Soft_Settings = nullptr;
    TLabel *L_Sel_Lang = nullptr;
    TImage *I_L1 = nullptr, *I_L2 = nullptr, *I_L3 = nullptr, *I_L4 = nullptr, *I_L5 = nullptr, *I_L6 = nullptr;
    TLabel *L_L1 = nullptr, *L_L2 = nullptr, *L_L3 = nullptr, *L_L4 = nullptr, *L_L5 = nullptr, *L_L6 = nullptr;
    TLbButton *Btn_Prev = nullptr;
    TLabel *L_Page_Lang = nullptr;
    TLbButton *Btn_Next = nullptr;
    TCheckBox *CB_En_Con = nullptr;
    TCheckBox *CB_Update = nullptr;
    TLbButton *Btn_Check_Update = nullptr;
    TLinkLabel *LL_Check_Update = nullptr;
    TCheckBox *CB_Soft_Set_Jump_Table = nullptr;
    TCheckBox *CB_DoubleClick_Auto_Size = nullptr;

    // The language page shown, from 1.
    int Show_Page = 1;
    // The language files found, with their extension, sorted without regard to case.
    std::unique_ptr<TStringList> SL_Languages;
    // The language chosen here; it becomes Language_Name only with OK.
    UnicodeString Language_In_Use;

    void FormCreate(TObject *Sender);
    void FormShow(TObject *Sender);
    void Create_Lang_List();
    void Update_Lang_Page(int Num_Page);
    void Btn_NextClick(TObject *Sender);
    void LangClick(TObject *Sender);
    void Update_CheckBox();
    void CB_En_ConClick(TObject *Sender);
    void Btn_Check_UpdateClick(TObject *Sender);
    void LL_Check_UpdateLinkClick(TObject *Sender, const UnicodeString &Link, TSysLinkType LinkType);
    void Btn_OKClick(TObject *Sender);
    void Set_Lang();
    // True when the maker's version service names a newer version than this build's. A failed,
    // slow or unreadable answer reads as no newer version.
    bool Check_Version();
    // Whether the service's answer (its body as text) names a newer version than this build's.
    static bool Is_Newer_Version(const UnicodeString &Answer);
    // The four digits of a version text "VER. d.ddd" as one number; -1 when they are no number.
    static int Conv_Version(const UnicodeString &Ver_str);

    TImage *Slot_Image(int k) const;
    TLabel *Slot_Label(int k) const;
};

extern TFSoftOptions *FSoftOptions;

// The version of this build, as the about box shows it and the version query compares it.
inline const UnicodeString Const_SW_Version = QStringLiteral("1.000");
