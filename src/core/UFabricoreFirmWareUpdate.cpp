// Step 4 and the start of the external update program, with steps 2 and 3 and the language
// refresh of the forms that belong to them.
#include "core/UFabricoreFirmWare.h"

#include "core/UBoot.h"
#include "core/UEtherNetIP_Master_Access.h"
#include "core/UParGen.h"
#include "core/USaveBincc.h"
#include "platform/FileUtils.h"
#include "platform/ShellApi.h"
#include "platform/Windows.h"

namespace {

constexpr DWORD Wait_Step_Ms = 10;

} // namespace

void TFFabricoreFirmWare::Update_Device()
{
    try {
        Create_Bin(XML1);
        Save_Bin();
    } catch (...) {
        // An image that could not be made or written must not be handed to the device.
        Application->HandleException(this);
        return;
    }
    if (!FBoot)
        return;
    FBoot->Form_Type = 1;
    FBoot->ShowModal();
}

bool TFFabricoreFirmWare::Start_Program(const UnicodeString &NomeSW, const UnicodeString &Parameter, bool tipo)
{
    SHELLEXECUTEINFOW Info;
    Info.cbSize = sizeof(SHELLEXECUTEINFOW);
    Info.fMask = SEE_MASK_NOCLOSEPROCESS;
    Info.lpFile = NomeSW;
    Info.lpParameters = Parameter;
    Info.nShow = tipo ? SW_HIDE : SW_SHOWNORMAL;

    // Nothing ever sets the event: each wait on it is a 10 ms pause that handles no messages.
    HANDLE Pause = CreateEventW(nullptr, false, false, QStringLiteral("HandleCed"));
    bool Started = false;
    Start_Program_Error.clear();
    try {
        Started = ShellExecuteExW(&Info);
    } catch (...) {
        Started = false;
        Info.hInstApp = SE_ERR_OOM;
    }
    if (!Started)
        Start_Program_Error = QStringLiteral("Cannot run \"%1\". %2.").arg(NativePath(NomeSW), ShellErrorText(Info.hInstApp));
    ResetEvent(Pause);
    if (Started && Info.hProcess) {
        const DWORD T0 = GetTickCount();
        for (;;) {
            DWORD Code = 0;
            // A handle that answers nothing counts as a program that has ended.
            if (!GetExitCodeProcess(Info.hProcess, &Code) || Code != STILL_ACTIVE) {
                WaitForSingleObject(Pause, Wait_Step_Ms);
                break;
            }
            if (GetTickCount() - T0 >= Update_Program_Wait_Ms)
                break;
            WaitForSingleObject(Pause, Wait_Step_Ms);
        }
        CloseHandle(Info.hProcess);
    }
    CloseHandle(Pause);
    return Started;
}

void TFFabricoreFirmWare::Step_Set_Communication()
{
    if (FParGen)
        FParGen->ShowModal();
}

void TFFabricoreFirmWare::Step_EtherNetIP_Access()
{
    if (FEtherNetIP_Master_Access)
        FEtherNetIP_Master_Access->ShowModal();
}

void TFFabricoreFirmWare::Change_Language_Editors()
{
    if (FBoot)
        FBoot->Set_Lang();
    if (FParGen)
        FParGen->Set_Lang();
    if (FEtherNetIP_Master_Access)
        FEtherNetIP_Master_Access->Set_Lang();
    if (Protocol_Steps.Change_Language)
        Protocol_Steps.Change_Language();
}
