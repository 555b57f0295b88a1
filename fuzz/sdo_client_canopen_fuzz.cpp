// The CANopen rules file "SDO_Client_CANopen.xml" as its editor reads it when shown, followed by what a user's OK
// does with it.
#include "support/RuleEditorFuzz.h"

#include "editors/canopen/USet_SDO_Client_Access.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    Fuzz::Run_Rule_Editor(Fuzz::Rule_Editor<TFSet_SDO_Client_Access>(), QStringLiteral("SDO_Client_CANopen.xml"), Fuzz::Bytes(Data, Size));
    return 0;
}
