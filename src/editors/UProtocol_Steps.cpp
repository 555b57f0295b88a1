#include "editors/UProtocol_Steps.h"

#include "core/UFabricoreFirmWare.h"
#include "editors/ede/UBACnet_EDE_File.h"
#include "editors/eds/UEds.h"
#include "editors/gsd/UProfibus_GSD.h"
#include "editors/gsdml/UProfinetFileName.h"
#include "editors/gsdml/UProfinetXML.h"
#include "editors/mib/USNMP_MIB.h"

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
    Protocol_Steps.Change_Language = [] {
        if (FProfinetFileName)
            FProfinetFileName->Set_Lang();
    };
}
