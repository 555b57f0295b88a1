// The CANopen EDS writer as the main window's step runs it: the input cut into PDO_CANopen.xml
// and SDO_Server_CANopen.xml, the data sheet written. An EDS tool refuses a section or a key
// twice in a section, so neither may occur.
#include "support/FuzzSupport.h"

#include "core/UComon.h"
#include "core/USettings.h"
#include "editors/eds/UEds.h"
#include "platform/Classes.h"

#include <QSet>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    const std::vector<QByteArray> Files = Fuzz::Split(Fuzz::Bytes(Data, Size), 2);
    Path_Active_Conf = Fuzz::CleanDir();
    Set_Files();
    if (!Files[0].isEmpty())
        Fuzz::WriteFile(QStringLiteral("PDO_CANopen.xml"), Files[0]);
    if (!Files[1].isEmpty())
        Fuzz::WriteFile(QStringLiteral("SDO_Server_CANopen.xml"), Files[1]);
    bool Written = true;
    try {
        Write_EDS_File(Fuzz::PathOf(QStringLiteral("out.eds")));
    } catch (const Exception &) {
        Written = false;
    }
    Path_Active_Conf.clear();
    if (!Written)
        return 0;
    Fuzz::Check(EDS_Num_RxPDO >= 0 && EDS_Num_RxPDO <= EDS_Max_PDO && EDS_Num_TxPDO >= 0 && EDS_Num_TxPDO <= EDS_Max_PDO,
                "at most thirty PDOs of each kind");
    const QStringList Lines = QString::fromLatin1(Fuzz::ReadFile(QStringLiteral("out.eds"))).split(QStringLiteral("\r\n"));
    QSet<QString> Sections;
    QSet<QString> Keys;
    for (const QString &Line : Lines) {
        if (Line.startsWith(u'[')) {
            Fuzz::Check(!Sections.contains(Line), "no section twice");
            Sections.insert(Line);
            Keys.clear();
        } else if (!Line.isEmpty()) {
            const QString Key = Line.section(u'=', 0, 0);
            Fuzz::Check(!Keys.contains(Key), "no key twice in a section");
            Keys.insert(Key);
        }
    }
    return 0;
}
