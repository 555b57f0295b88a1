#include "editors/UProtocol_Steps.h"

#include "core/UFabricoreFirmWare.h"
#include "editors/ede/UBACnet_EDE_File.h"
#include "editors/gsd/UProfibus_GSD.h"
#include "editors/mib/USNMP_MIB.h"

void Register_Protocol_Steps()
{
    Protocol_Steps.Create_MIB_File = [] { Create_MIB_File(); };
    Protocol_Steps.Create_GSD_File = [] { Create_GSD_File(); };
    Protocol_Steps.Create_EDE_File = [](const UnicodeString &File_Name) { Create_EDE_File(File_Name); };
}
