// The program unit Fabricor_EtherNetIP_Master: creates every form, main window first so that
// the language table exists before the others take their texts, and runs the message loop
// until the main window closes.
#include "core/UAbout.h"
#include "core/UBoot.h"
#include "core/UFabricoreFirmWare.h"
#include "core/UNew_Project.h"
#include "core/UOpenConf.h"
#include "core/UParGen.h"
#include "core/USoftOptions.h"
#include "editors/UProtocol_Steps.h"
#include "platform/Forms.h"

int main(int argc, char *argv[])
{
    TApplicationHost host(argc, argv);
    Application->Initialize();
    Application->SetMainFormOnTaskBar(true);
    Application->CreateForm(FFabricoreFirmWare);
    Application->CreateForm(FNew_Project);
    Application->CreateForm(FOpenConf);
    Application->CreateForm(FAbout);
    Application->CreateForm(FSoftOptions);
    Application->CreateForm(FParGen);
    Application->CreateForm(FBoot);
    Register_Protocol_Steps();
    Application->Run();
    return 0;
}
