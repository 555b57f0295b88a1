// The BACnet EDE writer as the main window's step runs it: the input cut into ParGen.xml and
// BACnet_Slave_SetAccess.xml, one generation written. Every line of the file keeps its eight
// fields, whatever the mnemonics, units and device instance hold.
#include "support/FuzzSupport.h"

#include "core/UComon.h"
#include "core/USettings.h"
#include "editors/ede/UBACnet_EDE_File.h"
#include "platform/Classes.h"

#include <QStringList>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    const std::vector<QByteArray> Files = Fuzz::Split(Fuzz::Bytes(Data, Size), 2);
    Path_Active_Conf = Fuzz::CleanDir();
    Name_Active_Conf = QStringLiteral("conf");
    Set_Files();
    if (!Files[0].isEmpty())
        Fuzz::WriteFile(QStringLiteral("ParGen.xml"), Files[0]);
    if (!Files[1].isEmpty())
        Fuzz::WriteFile(QStringLiteral("BACnet_Slave_SetAccess.xml"), Files[1]);
    // Each run starts as a fresh program would.
    EDE_Device_Instance.clear();
    EDE_Long_Names = false;
    bool Written = true;
    try {
        Generate_EDE_File(Fuzz::PathOf(QStringLiteral("out.csv")));
    } catch (const Exception &) {
        Written = false;
    }
    Path_Active_Conf.clear();
    Name_Active_Conf.clear();
    Fuzz::Check(EDE_Objects.empty(), "the objects are released after a generation");
    if (!Written)
        return 0;
    const QByteArray Bytes = Fuzz::ReadFile(QStringLiteral("out.csv"));
    Fuzz::Check(Bytes.endsWith("\r\n"), "the last line ends");
    const QList<QByteArray> Lines = Bytes.left(Bytes.size() - 2).split('\n');
    Fuzz::Check(Lines.size() >= 7, "the header");
    for (const QByteArray &Line : Lines) {
        Fuzz::Check(Line.endsWith('\r') || &Line == &Lines.last(), "lines end with CR LF");
        const QByteArray Text = Line.endsWith('\r') ? Line.chopped(1) : Line;
        Fuzz::Check(Text.count(';') == 7 && !Text.contains('"') && !Text.contains('\r'), "eight fields a line");
    }
    return 0;
}
