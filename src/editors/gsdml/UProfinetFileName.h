#pragma once
// The dialog in which the user composes the name of the PROFINET GSDML file: the fixed front
// part, a part of the user's own and the date of the program's start.

#include "core/UConf_Dialog.h"
#include "platform/System.h"

class TLabel;
class TEdit;

class TFProfinetFileName : public TFConf_Dialog {
public:
    explicit TFProfinetFileName(TComponent *AOwner);

    TLabel *Label1 = nullptr;
    TLabel *Label2 = nullptr;
    TLabel *L_XML_Fix1 = nullptr;
    TLabel *Label4 = nullptr;
    TEdit *E_XML_User = nullptr;
    TLabel *Label5 = nullptr;
    TLabel *L_XML_Fix2 = nullptr;

    // The composed name, set when OK is clicked.
    UnicodeString Name_File_XML;

    void FormCreate(TObject *Sender);
    void Btn_OKClick(TObject *Sender);
    void E_XML_UserKeyPress(TObject *Sender, WideChar &Key);
    void E_XML_UserChange(TObject *Sender);
    void Set_Lang();
};

extern TFProfinetFileName *FProfinetFileName;

// False for the characters a file name cannot hold (\ / : * ? " < > | and control characters).
bool Is_File_Name_Char(QChar C);
