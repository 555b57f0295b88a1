#pragma once
// The dialog that lists the configuration folders inside "PROJECTS" and picks one to open.

#include "platform/Classes.h"
#include "core/UConf_Dialog.h"
#include "platform/Forms.h"
#include "platform/System.h"

#include <memory>

class TLabel;
class TListBox;
class TPanel;
class TLbButton;

class TFOpenConf : public TFConf_Dialog {
public:
    explicit TFOpenConf(TComponent *AOwner);

    TLabel *Label1 = nullptr;
    TListBox *ListBox1 = nullptr;

    // The folder names found at the last showing.
    std::unique_ptr<TStringList> SL;
    // The configuration chosen in the list.
    UnicodeString Name_Conf;

    void FormCreate(TObject *Sender);
    void FormShow(TObject *Sender);
    void Load_Existing_Configuration();
    // The entry of SL equal to Name, else the first one equal to it without regard to the case
    // of ASCII letters; -1 when there is none.
    int Search_Open_Conf(const UnicodeString &Name);
    void ListBox1Click(TObject *Sender);
    void Set_Lang();
};

extern TFOpenConf *FOpenConf;
