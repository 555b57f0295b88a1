// The BACnet objects file "BACnet_Slave_SetAccess.xml" as its editor reads it when shown, followed
// by what a user's OK does with it. A second part of the input, after the line "--next-file--",
// is the configuration's ParGen.xml, whose name-length setting halves the lists.
#include "support/RuleEditorFuzz.h"

#include "editors/bacnet/UBACnetSlaveSetAccess.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    const std::vector<QByteArray> Parts = Fuzz::Split(Fuzz::Bytes(Data, Size), 2);
    Fuzz::TConf_Files Others;
    if (!Parts[1].isEmpty())
        Others.emplace_back(QStringLiteral("ParGen.xml"), Parts[1]);
    Fuzz::Run_Rule_Editor(Fuzz::Rule_Editor<TFBACnetSlaveSetAccess>(), QStringLiteral("BACnet_Slave_SetAccess.xml"),
                          Parts[0], false, Others);
    return 0;
}
