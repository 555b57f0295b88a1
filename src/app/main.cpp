// The program unit Fabricor_EtherNetIP_Master: creates every form, main window first so that
// the language table exists before the others take their texts, and runs the message loop
// until the main window closes.
#include "core/UAbout.h"
#include "core/UBoot.h"
#include "core/UEtherNetIP_Master_Access.h"
#include "core/UFabricoreFirmWare.h"
#include "core/UNew_Project.h"
#include "core/UOpenConf.h"
#include "core/UParGen.h"
#include "core/USoftOptions.h"
#include "editors/UProtocol_Steps.h"
#include "editors/can/UReceiveCAN.h"
#include "editors/can/UTransmitCAN.h"
#include "editors/gsdml/UProfinetFileName.h"
#include "editors/knx/UKNXAccess.h"
#include "platform/Forms.h"

int main(int argc, char *argv[])
{
    TApplicationHost host(argc, argv);
    // What a form raises while it is made, or what escapes the message loop, is shown and ends
    // the program in order instead of aborting it.
    try {
        Application->Initialize();
        Application->SetMainFormOnTaskBar(true);
        Application->CreateForm(FFabricoreFirmWare);
        Application->CreateForm(FNew_Project);
        Application->CreateForm(FOpenConf);
        Application->CreateForm(FAbout);
        Application->CreateForm(FSoftOptions);
        Application->CreateForm(FParGen);
        Application->CreateForm(FEtherNetIP_Master_Access);
        Application->CreateForm(FProfinetFileName);
        Application->CreateForm(FBoot);
        Application->CreateForm(FReceiveCAN);
        Application->CreateForm(FTransmitCAN);
        Application->CreateForm(FKNXAccess);
        Register_Protocol_Steps();
        Application->Run();
    } catch (...) {
        try {
            Application->HandleException(nullptr);
        } catch (...) {
        }
    }
    return 0;
}
