// The SNMP MIB writer as the main window's step runs it: the bytes as SNMP_Trap.xml of a
// configuration, the rules collected, the module written. A module holds the fixed lines, one
// object per collected rule and one notification per read rule, every name once, and 7-bit
// characters only.
#include "support/FuzzSupport.h"

#include "core/UComon.h"
#include "core/USettings.h"
#include "editors/mib/USNMP_MIB.h"
#include "platform/Classes.h"

#include <QSet>
#include <QStringList>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    if (!SL_MIB_Desc_Read)
        Create_Common_Lists();
    Path_Active_Conf = Fuzz::CleanDir();
    Set_Files();
    Fuzz::WriteFile(QStringLiteral("SNMP_Trap.xml"), Fuzz::Bytes(Data, Size));
    try {
        Read_SNMP_Trap_Desc();
        Write_MIB_File(Fuzz::PathOf(QStringLiteral("out.mib")));
    } catch (const Exception &) {
        Path_Active_Conf.clear();
        return 0;
    }
    Path_Active_Conf.clear();
    const QByteArray Bytes = Fuzz::ReadFile(QStringLiteral("out.mib"));
    for (char c : Bytes)
        Fuzz::Check(static_cast<unsigned char>(c) < 0x80, "the module holds a character beyond 7 bits");
    const QStringList Lines = QString::fromLatin1(Bytes).split(QStringLiteral("\r\n"));
    const int Reads = SL_MIB_Desc_Read->Count();
    const int Writes = SL_MIB_Desc_Write->Count();
    // 56 fixed lines and the empty piece after the last line break.
    Fuzz::Check(Lines.size() == 57 + 2 * Reads + Writes, "one line per object and notification");
    Fuzz::Check(Lines.at(Lines.size() - 2) == QStringLiteral("END"), "the module ends");
    QSet<QString> Names;
    for (const QString &Line : Lines)
        if (Line.contains(QStringLiteral(" OBJECT-TYPE ")) || Line.contains(QStringLiteral(" NOTIFICATION-TYPE ")))
            Names.insert(Line.section(u' ', 0, 0).toLower());
    Fuzz::Check(Names.size() == 19 + 2 * Reads + Writes, "every object has a name of its own");
    return 0;
}
