#include "app/UProgram.h"

#include "core/UAbout.h"
#include "core/UBoot.h"
#include "core/UEtherNetIP_Master_Access.h"
#include "core/UFabricoreFirmWare.h"
#include "core/UNew_Project.h"
#include "core/UOpenConf.h"
#include "core/UParGen.h"
#include "core/USoftOptions.h"
#include "editors/bacnet/UBACnetSlaveSetAccess.h"
#include "editors/bacnet/UBACnet_Eng_Unit.h"
#include "editors/can/UReceiveCAN.h"
#include "editors/can/UTransmitCAN.h"
#include "editors/canopen/USet_PDO_Access.h"
#include "editors/canopen/USet_SDO_Client_Access.h"
#include "editors/canopen/USet_SDO_Server_Access.h"
#include "editors/gsdml/UProfinetFileName.h"
#include "editors/knx/UKNXAccess.h"
#include "editors/mqtt/UMQTT_Set_Topic.h"
#include "editors/mqtt/UTopicTemplate.h"
#include "editors/snmp/USNMP_Trap_Access.h"
#include "platform/Forms.h"

void Create_Program_Forms()
{
    Application->CreateForm(FFabricoreFirmWare);
    Application->CreateForm(FNew_Project);
    Application->CreateForm(FOpenConf);
    Application->CreateForm(FAbout);
    Application->CreateForm(FSoftOptions);
    Application->CreateForm(FParGen);
    Application->CreateForm(FEtherNetIP_Master_Access);
    Application->CreateForm(FProfinetFileName);
    Application->CreateForm(FBoot);
    Application->CreateForm(FSNMP_Trap_Access);
    Application->CreateForm(FReceiveCAN);
    Application->CreateForm(FTransmitCAN);
    Application->CreateForm(FBACnet_Eng_Unit);
    Application->CreateForm(FBACnetSlaveSetAccess);
    Application->CreateForm(FKNXAccess);
    Application->CreateForm(FMQTT_Set_Topic);
    Application->CreateForm(FTopicTemplate);
    Application->CreateForm(FSet_PDO_Access);
    Application->CreateForm(FSet_SDO_Client_Access);
    Application->CreateForm(FSet_SDO_Server_Access);
}

namespace {
template <class T>
void FreeForm(T *&Form)
{
    delete Form;
    Form = nullptr;
}
} // namespace

void Free_Program_Forms()
{
    FreeForm(FSet_SDO_Server_Access);
    FreeForm(FSet_SDO_Client_Access);
    FreeForm(FSet_PDO_Access);
    FreeForm(FTopicTemplate);
    FreeForm(FMQTT_Set_Topic);
    FreeForm(FKNXAccess);
    FreeForm(FBACnetSlaveSetAccess);
    FreeForm(FBACnet_Eng_Unit);
    FreeForm(FTransmitCAN);
    FreeForm(FReceiveCAN);
    FreeForm(FSNMP_Trap_Access);
    FreeForm(FBoot);
    FreeForm(FProfinetFileName);
    FreeForm(FEtherNetIP_Master_Access);
    FreeForm(FParGen);
    FreeForm(FSoftOptions);
    FreeForm(FAbout);
    FreeForm(FOpenConf);
    FreeForm(FNew_Project);
    FreeForm(FFabricoreFirmWare);
}
