// The PROFIBUS GSD writer as the main window's step runs it: the bytes as ParGen.xml, the sizes
// read, the file written. Whatever the sizes, a DP slave's limits hold and the modules cover them.
#include "support/FuzzSupport.h"

#include "core/UComon.h"
#include "core/USettings.h"
#include "editors/gsd/UProfibus_GSD.h"
#include "platform/Classes.h"

#include <QStringList>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    Path_Active_Conf = Fuzz::CleanDir();
    Set_Files();
    Fuzz::WriteFile(QStringLiteral("ParGen.xml"), Fuzz::Bytes(Data, Size));
    try {
        Read_GSD_Sizes();
        Write_GSD_File(Fuzz::PathOf(QStringLiteral("out.gsd")));
    } catch (const Exception &) {
        Path_Active_Conf.clear();
        return 0;
    }
    Path_Active_Conf.clear();
    Fuzz::Check(GSD_In_Bytes >= 0 && GSD_In_Bytes <= GSD_Max_Bytes && GSD_Out_Bytes >= 0 && GSD_Out_Bytes <= GSD_Max_Bytes,
                "sizes within a DP slave's limits");
    const QStringList Lines = QString::fromLatin1(Fuzz::ReadFile(QStringLiteral("out.gsd"))).split(QStringLiteral("\r\n"));
    const int Modules = GSD_Module_Count(GSD_In_Bytes) + GSD_Module_Count(GSD_Out_Bytes);
    Fuzz::Check(Lines.contains(QStringLiteral("Max_Module=") + QString::number(Modules)), "module count");
    Fuzz::Check(Lines.filter(QStringLiteral("Module=\"")).size() == Modules, "one line per module");
    return 0;
}
