// The program unit Fabricor_EtherNetIP_Master: creates every form, fills the main window's
// protocol steps and runs the message loop until the main window closes.
#include "app/UProgram.h"
#include "editors/UProtocol_Steps.h"
#include "platform/Forms.h"

int main(int argc, char *argv[])
{
    TApplicationHost host(argc, argv);
    // What a form raises while it is made, or what escapes the message loop, is shown and ends
    // the program in order instead of aborting it.
    try {
        Application->Initialize();
        Application->SetMainFormOnTaskBar(true);
        Create_Program_Forms();
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
