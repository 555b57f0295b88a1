// The SNMP rules file "SNMP_Trap.xml" as its editor reads it when shown, followed by what a user's OK does with
// it.
#include "support/RuleEditorFuzz.h"

#include "editors/snmp/USNMP_Trap_Access.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    Fuzz::Run_Rule_Editor(Fuzz::Rule_Editor<TFSNMP_Trap_Access>(), QStringLiteral("SNMP_Trap.xml"),
                          Fuzz::Bytes(Data, Size), true);
    return 0;
}
