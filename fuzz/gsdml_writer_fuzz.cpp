// The PROFINET GSDML writer as the main window's step runs it: the input cut into ParGen.xml and
// EtherNetIP_Master_Rules.xml, the description written. What is written is XML that gives the
// station name back and holds one module per rule, at most ten.
#include "support/FuzzSupport.h"

#include "core/UComon.h"
#include "core/USettings.h"
#include "editors/gsdml/UProfinetXML.h"
#include "platform/Classes.h"
#include "platform/XMLDoc.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    const std::vector<QByteArray> Files = Fuzz::Split(Fuzz::Bytes(Data, Size), 2);
    Path_Active_Conf = Fuzz::CleanDir();
    Set_Files();
    if (!Files[0].isEmpty())
        Fuzz::WriteFile(QStringLiteral("ParGen.xml"), Files[0]);
    if (!Files[1].isEmpty())
        Fuzz::WriteFile(QStringLiteral("EtherNetIP_Master_Rules.xml"), Files[1]);
    bool Written = true;
    try {
        Write_PROFINET_XML(Fuzz::PathOf(QStringLiteral("out.xml")));
    } catch (const Exception &) {
        Written = false;
    }
    Path_Active_Conf.clear();
    if (!Written)
        return 0;
    const QByteArray Bytes = Fuzz::ReadFile(QStringLiteral("out.xml"));
    for (char c : Bytes)
        Fuzz::Check(c == '\r' || c == '\n' || (c >= 32 && c < 127), "the file is plain ASCII");
    const std::unique_ptr<TXMLDocument> Doc = NewXMLDocument();
    try {
        Doc->LoadFromBytes(Bytes);
    } catch (const Exception &) {
        Fuzz::Fail("the file is XML");
    }
    int Modules = 0;
    UnicodeString Station;
    try {
        const TXMLNode Process = Document_Root(Doc.get()).ChildNodes()[QStringLiteral("ProfileBody")]
                                     .ChildNodes()[QStringLiteral("ApplicationProcess")];
        Station = Process.ChildNodes()[QStringLiteral("DeviceAccessPointList")]
                      .ChildNodes()[QStringLiteral("DeviceAccessPointItem")]
                      .Attributes(QStringLiteral("DNS_CompatibleName"));
        const TXMLNodeList List = Process.ChildNodes()[QStringLiteral("ModuleList")].ChildNodes();
        for (int i = 0; i < List.Count(); ++i)
            Modules += List.Nodes(i).NodeType() == ntElement ? 1 : 0;
    } catch (const Exception &) {
        Fuzz::Fail("the file has the layout of a GSDML");
    }
    Fuzz::Check(Modules == GSDML_Module_Count && Modules <= GSDML_Max_Modules, "one module per rule, at most ten");
    // The reader drops what XML cannot carry (control characters); the rest comes back.
    UnicodeString Expected;
    for (QChar c : GSDML_Station_Name)
        if (c.unicode() >= 0x20 || c == u'\t' || c == u'\n' || c == u'\r')
            Expected += c;
    Fuzz::Check(Station == Expected || Expected.contains(u'\r') || Expected.contains(u'\n') || Expected.contains(u'\t')
                    || Expected.contains(QChar(0xFFFE)) || Expected.contains(QChar(0xFFFF)),
                "the station name reads back");
    return 0;
}
