#include "editors/mib/USNMP_MIB.h"

#include "core/UComon.h"
#include "core/UFabricoreFirmWare.h"
#include "core/URuleXML.h"
#include "editors/UDescription_File.h"
#include "editors/snmp/USNMP_Trap_Access.h"
#include "platform/Classes.h"
#include "platform/Dialogs.h"
#include "platform/Encoding.h"
#include "platform/FileUtils.h"
#include "platform/SysUtils.h"
#include "platform/XMLDoc.h"

#include <QSet>

std::vector<Byte> MIB_Type_Flags_Read;
std::vector<Byte> MIB_Type_Flags_Write;

namespace {

void Read_Section(const TXMLNode &Root, const UnicodeString &Section, TStringList &Descs, std::vector<Byte> &Flags)
{
    const TXMLNode Node = Find_Rule_Section(Root, Section);
    if (!Node)
        return;
    const TXMLNodeList Rows = Node.ChildNodes();
    for (int i = 0; i < Rows.Count(); ++i) {
        const TXMLNode Row = Rows.Nodes(i);
        if (Row.NodeType() != ntElement)
            continue;
        if (!SNMP_Rule_Enabled(Get_Rule_Attribute(Row, QStringLiteral("Enable"), UnicodeString())))
            continue;
        Descs.Add(Get_Rule_Attribute(Row, QStringLiteral("Description"), UnicodeString()));
        Flags.push_back(UpperCase(Get_Rule_Attribute(Row, QStringLiteral("Type"), UnicodeString())) == QStringLiteral("INT") ? 1 : 0);
    }
}

// Descriptors are compared without regard to case: managers refuse two that differ by case only.
QString Key(const UnicodeString &Name)
{
    return Name.toLower();
}

// Every name the module defines or imports, and every name it generates for these counts.
QSet<QString> Reserved_Names(int Reads, int Writes)
{
    QSet<QString> Names;
    for (const char *N : {"GATEWAY", "MODULE-IDENTITY", "OBJECT-TYPE", "NOTIFICATION-TYPE", "DisplayString",
                          "TimeStamp", "enterprises", "identity", "veltra", "gateway", "application", "data",
                          "hellostring", "countin", "countout", "bufferin", "bufferinval", "bufferout",
                          "bufferoutval", "traps", "trapsval"})
        Names.insert(Key(QString::fromLatin1(N)));
    for (int k = 1; k <= 8; ++k) {
        Names.insert(Key(QStringLiteral("bufferinblk") + IntToStr(k)));
        Names.insert(Key(QStringLiteral("bufferoutblk") + IntToStr(k)));
    }
    for (int i = 1; i <= Reads; ++i) {
        Names.insert(Key(QStringLiteral("bufferinval") + IntToStr(i)));
        Names.insert(Key(QStringLiteral("trapval") + IntToStr(i)));
    }
    for (int j = 1; j <= Writes; ++j)
        Names.insert(Key(QStringLiteral("bufferoutval") + IntToStr(j)));
    return Names;
}

// A name a MIB compiler takes: a lower-case letter, then letters and digits. Hyphens are left
// to modules of the older notation; one in an object name of this module makes it invalid.
// The rule editor allows less; a file made by hand may hold anything.
bool Is_Descriptor(const UnicodeString &S)
{
    if (S.isEmpty() || S.size() > 64 || S[0] < u'a' || S[0] > u'z')
        return false;
    for (QChar c : S)
        if (!(c.unicode() < 128 && c.isLetterOrNumber()))
            return false;
    return true;
}

// The object names: the description, unless it cannot be a name or is a name that is taken;
// then the generated one, which no description can hold any more.
QStringList Object_Names(const TStringList &Descs, const UnicodeString &Prefix, const QSet<QString> &Reserved,
                         QSet<QString> &Taken)
{
    QStringList Names;
    for (int i = 0; i < Descs.Count(); ++i) {
        const UnicodeString D = Descs.Strings(i);
        UnicodeString Name = D;
        if (!Is_Descriptor(D) || Reserved.contains(Key(D)) || Taken.contains(Key(D)))
            Name = Prefix + IntToStr(i + 1);
        Taken.insert(Key(Name));
        Names << Name;
    }
    return Names;
}

// A quoted string of the module: a quote inside would end it and a line break would split the
// line of its object, so neither is written as such. The notation allows only 7-bit characters
// there: a letter with an accent keeps its base letter ("café" gives "cafe"), anything else
// becomes "?".
UnicodeString Quoted(const UnicodeString &S)
{
    UnicodeString R;
    R.reserve(S.size() + 2);
    R += QLatin1Char('"');
    for (qsizetype i = 0; i < S.size(); ++i) {
        const QChar c = S[i];
        if (c == u'"') {
            R += QLatin1Char('\'');
        } else if (c.unicode() < 0x20 || c.unicode() == 0x7F) {
            R += QLatin1Char(' ');
        } else if (c.unicode() < 0x80) {
            R += c;
        } else {
            // A pair of surrogates is one character and gives one "?".
            const bool Pair = c.isHighSurrogate() && i + 1 < S.size() && S[i + 1].isLowSurrogate();
            UnicodeString Base;
            bool Plain = true;
            for (QChar d : S.mid(i, Pair ? 2 : 1).normalized(QString::NormalizationForm_KD)) {
                if (d.isMark())
                    continue;
                if (d.unicode() >= 0x20 && d.unicode() < 0x7F && d != u'"')
                    Base += d;
                else
                    Plain = false;
            }
            R += Plain && !Base.isEmpty() ? Base : UnicodeString(QLatin1Char('?'));
            if (Pair)
                ++i;
        }
    }
    R += QLatin1Char('"');
    return R;
}

UnicodeString Blanks(int n)
{
    return UnicodeString(n, QLatin1Char(' '));
}

} // namespace

void Read_SNMP_Trap_Desc()
{
    SL_MIB_Desc_Read->Clear();
    SL_MIB_Desc_Write->Clear();
    MIB_Type_Flags_Read.clear();
    MIB_Type_Flags_Write.clear();
    if (!FileExists(File_SNMP_Trap))
        return;
    const std::unique_ptr<TXMLDocument> Doc = NewXMLDocument();
    const TXMLNode Root = Load_Config_XML(Doc.get(), File_SNMP_Trap);
    Read_Section(Root, QStringLiteral("SNMP_Trap_Read"), *SL_MIB_Desc_Read, MIB_Type_Flags_Read);
    Read_Section(Root, QStringLiteral("SNMP_Trap_Write"), *SL_MIB_Desc_Write, MIB_Type_Flags_Write);
}

void Build_MIB_Text(TStringList &L)
{
    const TStringList &Reads = *SL_MIB_Desc_Read;
    const TStringList &Writes = *SL_MIB_Desc_Write;
    const QSet<QString> Reserved = Reserved_Names(Reads.Count(), Writes.Count());
    QSet<QString> Taken;
    const QStringList Read_Names = Object_Names(Reads, QStringLiteral("bufferinval"), Reserved, Taken);
    const QStringList Write_Names = Object_Names(Writes, QStringLiteral("bufferoutval"), Reserved, Taken);
    const UnicodeString Tab = QStringLiteral("\t");

    L.Clear();
    L.Add(QStringLiteral("GATEWAY DEFINITIONS ::= BEGIN"));
    L.Add(QStringLiteral("IMPORTS"));
    L.Add(Blanks(7) + QStringLiteral("MODULE-IDENTITY,OBJECT-TYPE,NOTIFICATION-TYPE"));
    L.Add(Blanks(9) + QStringLiteral("FROM SNMPv2-SMI"));
    L.Add(Blanks(9) + QStringLiteral("DisplayString, TimeStamp"));
    L.Add(Blanks(9) + QStringLiteral("FROM SNMPv2-TC"));
    L.Add(Blanks(9) + QStringLiteral("enterprises"));
    L.Add(Blanks(9) + QStringLiteral("FROM RFC1155-SMI;"));
    L.Add(UnicodeString());
    L.Add(QStringLiteral("identity MODULE-IDENTITY"));
    L.Add(Blanks(4) + QStringLiteral("LAST-UPDATED \"201701310000Z\""));
    L.Add(Blanks(4) + QStringLiteral("ORGANIZATION \"www.veltracorp.example.com\""));
    L.Add(Blanks(4) + QStringLiteral("CONTACT-INFO"));
    L.Add(Tab + QStringLiteral(" \"VeltraCorp s.r.l., 1 Example Street"));
    L.Add(Blanks(4) + QStringLiteral("00000 Example Town"));
    L.Add(Blanks(4) + QStringLiteral("Example Country"));
    L.Add(Blanks(4) + QStringLiteral("email:") + Blanks(4) + QStringLiteral("veltracorp.example.com\""));
    L.Add(Blanks(4) + QStringLiteral("DESCRIPTION"));
    L.Add(Tab + QStringLiteral("\"MIB objects for agent module \""));
    L.Add(Blanks(4) + QStringLiteral("REVISION") + Blanks(5) + QStringLiteral("\"201701310000Z\""));
    L.Add(Blanks(4) + QStringLiteral("DESCRIPTION"));
    L.Add(Tab + QStringLiteral("\"Corrected notification \""));
    L.Add(Blanks(4) + QStringLiteral("REVISION") + Blanks(5) + QStringLiteral("\"200202060000Z\""));
    L.Add(Blanks(4) + QStringLiteral("DESCRIPTION"));
    L.Add(Tab + QStringLiteral("\"First draft\""));
    L.Add(Blanks(4) + QStringLiteral("::= { veltra 2 }"));
    L.Add(QStringLiteral("veltra") + Blanks(10) + QStringLiteral("OBJECT IDENTIFIER ::= { enterprises 52816 }"));
    L.Add(QStringLiteral("gateway OBJECT IDENTIFIER::= { veltra 1 }"));
    L.Add(QStringLiteral("application OBJECT IDENTIFIER::= { gateway 1 }"));
    L.Add(QStringLiteral("data OBJECT IDENTIFIER::= { application 1 }"));
    L.Add(QStringLiteral("hellostring OBJECT-TYPE SYNTAX OCTET STRING MAX-ACCESS read-only") + Blanks(2)
          + QStringLiteral("STATUS current") + Blanks(2) + QStringLiteral("DESCRIPTION \"\" ::= { data 1}"));
    L.Add(QStringLiteral("countin") + Blanks(2) + QStringLiteral("OBJECT-TYPE SYNTAX INTEGER") + Blanks(7)
          + QStringLiteral("MAX-ACCESS read-only") + Blanks(2) + QStringLiteral("STATUS current") + Blanks(2)
          + QStringLiteral("DESCRIPTION \"\" ::= { data 2}"));
    L.Add(QStringLiteral("countout") + Blanks(2) + QStringLiteral("OBJECT-TYPE SYNTAX INTEGER") + Blanks(7)
          + QStringLiteral("MAX-ACCESS read-write STATUS current") + Blanks(2)
          + QStringLiteral("DESCRIPTION \"\" ::= { data 3}"));

    auto Blocks = [&L](const UnicodeString &Parent, const UnicodeString &Access) {
        for (int k = 1; k <= 8; ++k)
            L.Add(Parent + QStringLiteral("blk") + IntToStr(k) + QStringLiteral(" OBJECT-TYPE SYNTAX OCTET STRING MAX-ACCESS ")
                  + Access + QStringLiteral(" STATUS current DESCRIPTION ") + Quoted(QStringLiteral("data block n.") + IntToStr(k))
                  + QStringLiteral(" ::= { ") + Parent + QLatin1Char(' ') + IntToStr(k) + QStringLiteral(" }"));
    };
    auto Objects = [&L](const TStringList &Descs, const QStringList &Names, const std::vector<Byte> &Flags,
                        const UnicodeString &Parent, const UnicodeString &Access) {
        for (int i = 0; i < Descs.Count(); ++i)
            L.Add(Names[i] + QStringLiteral(" OBJECT-TYPE SYNTAX ")
                  + (Flags[static_cast<size_t>(i)] ? QStringLiteral("INTEGER") : QStringLiteral("OCTET STRING"))
                  + QStringLiteral(" MAX-ACCESS ") + Access + QStringLiteral(" STATUS current DESCRIPTION ")
                  + Quoted(Descs.Strings(i)) + QStringLiteral(" ::= { ") + Parent + QLatin1Char(' ') + IntToStr(i + 1)
                  + QStringLiteral(" }"));
    };

    L.Add(QStringLiteral("bufferin OBJECT IDENTIFIER::= { data 4 }"));
    Blocks(QStringLiteral("bufferin"), QStringLiteral("read-only"));
    L.Add(QStringLiteral(" bufferinval OBJECT IDENTIFIER::= { bufferin 9 }"));
    Objects(Reads, Read_Names, MIB_Type_Flags_Read, QStringLiteral("bufferinval"), QStringLiteral("read-only"));
    L.Add(QStringLiteral("bufferout OBJECT IDENTIFIER::= { data 5 }"));
    Blocks(QStringLiteral("bufferout"), QStringLiteral("read-write"));
    L.Add(QStringLiteral(" bufferoutval OBJECT IDENTIFIER::= { bufferout 9 }"));
    Objects(Writes, Write_Names, MIB_Type_Flags_Write, QStringLiteral("bufferoutval"), QStringLiteral("read-write"));
    L.Add(QStringLiteral("traps OBJECT IDENTIFIER::= { application 2 }"));
    L.Add(QStringLiteral(" trapsval OBJECT IDENTIFIER::= { traps 1 }"));
    for (int i = 0; i < Reads.Count(); ++i)
        L.Add(QStringLiteral("trapval") + IntToStr(i + 1) + QStringLiteral(" NOTIFICATION-TYPE STATUS current DESCRIPTION ")
              + Quoted(Reads.Strings(i)) + QStringLiteral(" ::= { trapsval ") + IntToStr(i + 1) + QStringLiteral(" }"));
    L.Add(QStringLiteral("END"));
}

void Write_MIB_File(const UnicodeString &File_Name)
{
    TStringList Lines;
    Build_MIB_Text(Lines);
    Save_Description_File(Lines, File_Name, TEncoding::ANSI());
}

void Create_MIB_File()
{
    TSaveDialog *Dialog = FFabricoreFirmWare->SaveMIB;
    Dialog->SetInitialDir(Path_Active_Conf);
    if (!Dialog->Execute())
        return;
    const UnicodeString File_Name = Dialog->FileName();
    if (FileExists(File_Name)
        && MessageDlg(Lang_Text(1103), mtConfirmation, TMsgDlgButtons{mbYes, mbNo}, 0) != mrYes)
        return;
    Read_SNMP_Trap_Desc();
    Write_MIB_File(File_Name);
}
