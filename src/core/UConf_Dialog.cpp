#include "core/UConf_Dialog.h"

#include "core/UFabricoreFirmWare.h"

TFConf_Dialog::TFConf_Dialog(TComponent *AOwner) : TForm(AOwner)
{
    Style_Form(this);
    const TDialog_Frame F = New_Dialog_Frame(this);
    P_Title = F.P_Title;
    L_SW_Code = F.L_SW_Code;
    L_SW_Desc = F.L_SW_Desc;
    P_Button = F.P_Button;
    Btn_OK = F.Btn_OK;
    Btn_Cancel = F.Btn_Cancel;
}
