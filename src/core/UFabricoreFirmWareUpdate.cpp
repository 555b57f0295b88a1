// Step 4 and the start of the external update program, with steps 2 and 3 and the language
// refresh of the forms that belong to them.
#include "core/UFabricoreFirmWare.h"

#include "core/USaveBincc.h"
#include "platform/Dialogs.h"

void TFFabricoreFirmWare::Update_Device()
{
    try {
        Create_Bin(XML1);
        Save_Bin();
    } catch (const Exception &E) {
        MessageDlg(E.Message(), mtError, TMsgDlgButtons{mbOK}, 0);
        return;
    }
}

bool TFFabricoreFirmWare::Start_Program(const UnicodeString &NomeSW, const UnicodeString &Parameter, bool tipo)
{
    return false;
}

void TFFabricoreFirmWare::Step_Set_Communication()
{
}

void TFFabricoreFirmWare::Step_EtherNetIP_Access()
{
}

void TFFabricoreFirmWare::Change_Language_Editors()
{
}
