#include "editors/UDescription_File.h"

#include "core/UFabricoreFirmWare.h"
#include "core/USettings.h"
#include "platform/Classes.h"
#include "platform/Encoding.h"
#include "platform/FileUtils.h"
#include "platform/XMLDoc.h"

#include <QFileInfo>

TXMLNode Load_Config_XML(TXMLDocument *Doc, const UnicodeString &File_Name)
{
    const QFileInfo Info(NativePath(File_Name));
    if (!Info.isFile())
        throw EFOpenError(QStringLiteral("Cannot open file \"%1\". It is not a regular file").arg(NativePath(File_Name)));
    if (Info.size() > Max_Config_File_Size)
        throw EFOpenError(QStringLiteral("Cannot open file \"%1\". The file is too large").arg(NativePath(File_Name)));
    Doc->LoadFromFile(File_Name);
    const TXMLNode Root = Document_Root(Doc);
    if (!Root)
        throw EXMLDocError(QStringLiteral("The file \"%1\" holds no element").arg(NativePath(File_Name)));
    return Root;
}

TXMLDocument *Shared_XML()
{
    if (FFabricoreFirmWare)
        return FFabricoreFirmWare->XML1;
    static const std::unique_ptr<TXMLDocument> Own = NewXMLDocument();
    return Own.get();
}

bool Read_Child_Text(const TXMLNode &Root, const UnicodeString &Name, UnicodeString &Text)
{
    try {
        const TXMLNode Node = Root.ChildNodes().FindNode(Name);
        if (!Node)
            return false;
        Text = Node.Text();
        return true;
    } catch (const Exception &) {
        return false;
    }
}

void Save_Description_File(TStringList &Lines, const UnicodeString &File_Name, TEncoding *Encoding)
{
    Lines.SetLineBreak(QStringLiteral("\r\n"));
    Lines.SetWriteBOM(false);
    Lines.SaveToFile(File_Name, Encoding);
}
