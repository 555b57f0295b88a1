#pragma once
// The dialog that names a new configuration and creates its folder inside "PROJECTS".

#include "core/UConf_Dialog.h"
#include "platform/Forms.h"
#include "platform/System.h"

class TLabel;
class TEdit;
class TPanel;
class TLbButton;

class TFNew_Project : public TFConf_Dialog {
public:
    explicit TFNew_Project(TComponent *AOwner);

    TLabel *Label1 = nullptr;
    TEdit *E_New_Proj = nullptr;

    void FormCreate(TObject *Sender);
    void FormShow(TObject *Sender);
    void E_New_ProjKeyPress(TObject *Sender, WideChar &Key);
    void Btn_OKClick(TObject *Sender);
    void Set_Lang();
};

extern TFNew_Project *FNew_Project;

// True when Name can only name a folder directly inside the configurations' folder: not empty,
// not "." or "..", no path separator, no control character, and not starting with "." (a
// hidden folder would never be listed for opening).
bool Is_Conf_Folder_Name(const UnicodeString &Name);
