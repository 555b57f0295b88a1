// The CAN receive frames file "CAN_Rec_Frames.xml" as its editor reads it when shown, followed by what a user's OK does
// with it.
#include "support/RuleEditorFuzz.h"

#include "editors/can/UReceiveCAN.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    Fuzz::Run_Rule_Editor(Fuzz::Rule_Editor<TFReceiveCAN>(), QStringLiteral("CAN_Rec_Frames.xml"), Fuzz::Bytes(Data, Size));
    return 0;
}
