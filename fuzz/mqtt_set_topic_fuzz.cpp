// The MQTT topics file "MQTT_Set_Topic.xml" as its editor reads it when shown, followed by what a user's OK does
// with it.
#include "support/RuleEditorFuzz.h"

#include "editors/mqtt/UMQTT_Set_Topic.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    Fuzz::Run_Rule_Editor(Fuzz::Rule_Editor<TFMQTT_Set_Topic>(), QStringLiteral("MQTT_Set_Topic.xml"),
                          Fuzz::Bytes(Data, Size));
    return 0;
}
