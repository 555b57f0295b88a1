// The KNX rules file "KNX_SetAccess.xml" as its editor reads it when shown, followed by what a user's OK does
// with it.
#include "support/RuleEditorFuzz.h"

#include "editors/knx/UKNXAccess.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    Fuzz::Run_Rule_Editor(Fuzz::Rule_Editor<TFKNXAccess>(), QStringLiteral("KNX_SetAccess.xml"), Fuzz::Bytes(Data, Size));
    return 0;
}
