#include "editors/UProtocol_Steps.h"

#include "core/UFabricoreFirmWare.h"
#include "editors/bacnet/UBACnetSlaveSetAccess.h"
#include "editors/bacnet/UBACnet_Eng_Unit.h"
#include "editors/can/UReceiveCAN.h"
#include "editors/can/UTransmitCAN.h"
#include "editors/canopen/USet_PDO_Access.h"
#include "editors/canopen/USet_SDO_Client_Access.h"
#include "editors/canopen/USet_SDO_Server_Access.h"
#include "editors/ede/UBACnet_EDE_File.h"
#include "editors/eds/UEds.h"
#include "editors/gsd/UProfibus_GSD.h"
#include "editors/gsdml/UProfinetFileName.h"
#include "editors/gsdml/UProfinetXML.h"
#include "editors/knx/UKNXAccess.h"
#include "editors/mib/USNMP_MIB.h"
#include "editors/mqtt/UMQTT_Set_Topic.h"
#include "editors/mqtt/UTopicTemplate.h"
#include "editors/snmp/USNMP_Trap_Access.h"

namespace {

// The step does not read what the editor returns.
void Show_Editor(TForm *Form)
{
    if (Form)
        Form->ShowModal();
}

} // namespace

void Register_Protocol_Steps()
{
    Protocol_Steps.Create_MIB_File = [] { Create_MIB_File(); };
    Protocol_Steps.Create_GSD_File = [] { Create_GSD_File(); };
    Protocol_Steps.Create_EDE_File = [](const UnicodeString &File_Name) { Create_EDE_File(File_Name); };
    Protocol_Steps.PROFINET_XML = [] {
        if (FProfinetFileName && FProfinetFileName->ShowModal() == mrOk)
            Create_PROFINET_XML(FProfinetFileName->Name_File_XML);
    };
    Protocol_Steps.Write_EDS_File = [](const UnicodeString &File_Name) { Write_EDS_File(File_Name); };
    Protocol_Steps.CAN_Rec_Frame = [] { Show_Editor(FReceiveCAN); };
    Protocol_Steps.CAN_Send_Frame = [] { Show_Editor(FTransmitCAN); };
    Protocol_Steps.BACnet_SetAccess = [] { Show_Editor(FBACnetSlaveSetAccess); };
    Protocol_Steps.KNX_Access = [] { Show_Editor(FKNXAccess); };
    Protocol_Steps.SNMP_Trap = [] { Show_Editor(FSNMP_Trap_Access); };
    Protocol_Steps.MQTT_Set_Topic = [] { Show_Editor(FMQTT_Set_Topic); };
    Protocol_Steps.PDO_CANopen = [] { Show_Editor(FSet_PDO_Access); };
    Protocol_Steps.SDO_Client_CANopen = [] { Show_Editor(FSet_SDO_Client_Access); };
    Protocol_Steps.SDO_Server_CANopen = [] { Show_Editor(FSet_SDO_Server_Access); };
    // In the order of the main window's language change.
    Protocol_Steps.Change_Language = [] {
        if (FProfinetFileName)
            FProfinetFileName->Set_Lang();
        if (FSNMP_Trap_Access)
            FSNMP_Trap_Access->Set_Lang();
        if (FReceiveCAN)
            FReceiveCAN->Set_Lang();
        if (FTransmitCAN)
            FTransmitCAN->Set_Lang();
        if (FSet_PDO_Access)
            FSet_PDO_Access->Set_Lang();
        if (FSet_SDO_Client_Access)
            FSet_SDO_Client_Access->Set_Lang();
        if (FSet_SDO_Server_Access)
            FSet_SDO_Server_Access->Set_Lang();
        if (FBACnetSlaveSetAccess)
            FBACnetSlaveSetAccess->Set_Lang();
        if (FBACnet_Eng_Unit)
            FBACnet_Eng_Unit->Set_Lang();
        if (FKNXAccess)
            FKNXAccess->Set_Lang();
        if (FMQTT_Set_Topic)
            FMQTT_Set_Topic->Set_Lang();
        if (FTopicTemplate)
            FTopicTemplate->Set_Lang();
    };
}
