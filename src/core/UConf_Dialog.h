#pragma once
// The frame every dialog of the configurator shares: the title panel with the software code
// and the description, and the button panel with OK and Cancel (Cancel closes with Cancel).

#include "platform/Forms.h"

class TLabel;
class TPanel;
class TLbButton;

class TFConf_Dialog : public TForm {
public:
    // Gives the form the configurator's look and makes the two panels with their controls.
    explicit TFConf_Dialog(TComponent *AOwner);

    TPanel *P_Title = nullptr;
    TLabel *L_SW_Code = nullptr;
    TLabel *L_SW_Desc = nullptr;
    TPanel *P_Button = nullptr;
    TLbButton *Btn_OK = nullptr;
    TLbButton *Btn_Cancel = nullptr;
};
