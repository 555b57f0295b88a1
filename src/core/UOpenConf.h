#pragma once
// The dialog that lists the configuration folders inside "PROJECTS" and picks one to open.

#include "platform/Classes.h"
#include "platform/Forms.h"
#include "platform/System.h"

#include <memory>

class TLabel;
class TListBox;
class TPanel;
class TLbButton;

class TFOpenConf : public TForm {
public:
    explicit TFOpenConf(TComponent *AOwner);

    TPanel *P_Title = nullptr;
    TLabel *L_SW_Code = nullptr;
    TLabel *L_SW_Desc = nullptr;
    TPanel *P_Button = nullptr;
    TLbButton *Btn_OK = nullptr;
    TLbButton *Btn_Cancel = nullptr;
    TLabel *Label1 = nullptr;
    TListBox *ListBox1 = nullptr;

    // The folder names found at the last showing.
    std::unique_ptr<TStringList> SL;
    // The configuration chosen in the list.
    UnicodeString Name_Conf;

    void FormCreate(TObject *Sender);
    void FormShow(TObject *Sender);
    void Load_Existing_Configuration();
    // The first entry of SL equal to Name without regard to the case of ASCII letters; -1 when
    // there is none.
    int Search_Open_Conf(const UnicodeString &Name);
    void ListBox1Click(TObject *Sender);
    void Set_Lang();
};

extern TFOpenConf *FOpenConf;
