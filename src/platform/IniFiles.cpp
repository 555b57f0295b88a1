#include "platform/IniFiles.h"

#include "platform/Encoding.h"
#include "platform/FileUtils.h"
#include "platform/SysUtils.h"

#include <algorithm>
#include <sys/stat.h>

namespace {

// A value with a line break would end its line early and let the rest pass for a new key or
// section; the break becomes a blank instead.
UnicodeString OneLine(const UnicodeString &Value)
{
    if (!Value.contains(QLatin1Char('\r')) && !Value.contains(QLatin1Char('\n')))
        return Value;
    UnicodeString v = Value;
    v.replace(QLatin1String("\r\n"), QLatin1String(" "));
    v.replace(QLatin1Char('\r'), QLatin1Char(' '));
    v.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return v;
}

// Inode, size and modification time: an atomic rewrite by another program changes the inode even
// when size and time look the same.
void FileSignature(const UnicodeString &Path, Int64 &Inode, Int64 &Size, Int64 &MTimeNs)
{
    struct stat st {};
    if (::stat(NativePath(Path).toLocal8Bit().constData(), &st) != 0) {
        Inode = Size = MTimeNs = -1;
        return;
    }
    Inode = static_cast<Int64>(st.st_ino);
    Size = static_cast<Int64>(st.st_size);
    MTimeNs = static_cast<Int64>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// TCustomIniFile

int TCustomIniFile::ReadInteger(const UnicodeString &Section, const UnicodeString &Ident, int Default)
{
    UnicodeString s = ReadString(Section, Ident, UnicodeString());
    if (s.size() > 2 && s[0] == u'0' && (s[1] == u'x' || s[1] == u'X'))
        s = QLatin1Char('$') + s.mid(2);
    return StrToIntDef(s, Default);
}

void TCustomIniFile::WriteInteger(const UnicodeString &Section, const UnicodeString &Ident, int Value)
{
    WriteString(Section, Ident, IntToStr(Value));
}

bool TCustomIniFile::ReadBool(const UnicodeString &Section, const UnicodeString &Ident, bool Default)
{
    return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const UnicodeString &Section, const UnicodeString &Ident, bool Value)
{
    WriteString(Section, Ident, Value ? QStringLiteral("1") : QStringLiteral("0"));
}

double TCustomIniFile::ReadFloat(const UnicodeString &Section, const UnicodeString &Ident, double Default)
{
    const UnicodeString s = ReadString(Section, Ident, UnicodeString());
    double value = 0;
    return !s.isEmpty() && TryStrToFloat(s, value) ? value : Default;
}

void TCustomIniFile::WriteFloat(const UnicodeString &Section, const UnicodeString &Ident, double Value)
{
    WriteString(Section, Ident, FloatToStr(Value));
}

bool TCustomIniFile::SectionExists(const UnicodeString &Section)
{
    TStringList keys;
    ReadSection(Section, &keys);
    return keys.Count() > 0;
}

bool TCustomIniFile::ValueExists(const UnicodeString &Section, const UnicodeString &Ident)
{
    TStringList keys;
    ReadSection(Section, &keys);
    return keys.IndexOf(Ident) >= 0;
}

// ---------------------------------------------------------------------------------------------
// TMemIniFile

TMemIniFile::TMemIniFile(const UnicodeString &FileName, TEncoding *Encoding)
    : TCustomIniFile(FileName), FEncoding(Encoding), FEncodingGiven(Encoding != nullptr)
{
    LoadValues();
}

TMemIniFile::~TMemIniFile() = default;

void TMemIniFile::LoadValues()
{
    Clear();
    if (FFileName.isEmpty() || !FileExists(FFileName))
        return;
    const QByteArray bytes = ReadFileBytes(FFileName);
    TEncoding *enc = FEncodingGiven ? FEncoding : nullptr;
    const int bom = TEncoding::GetBufferEncoding(bytes, enc);
    if (!enc)
        enc = TEncoding::Default();
    FEncoding = enc;
    TStringList lines;
    lines.SetText(enc->GetString(bytes.mid(bom)));
    ParseLines(&lines);
}

void TMemIniFile::Clear()
{
    FHead.clear();
    FSections.clear();
}

void TMemIniFile::ParseLines(TStrings *List)
{
    Clear();
    TSection *current = nullptr;
    const int n = List->Count();
    for (int i = 0; i < n; ++i) {
        const UnicodeString s = Trim(List->Strings(i));
        if (s.isEmpty())
            continue;
        if (s.size() >= 2 && s.front() == u'[' && s.back() == u']') {
            // A section met twice in a file continues the first one, so lookups see all its keys.
            const UnicodeString name = Trim(s.mid(1, s.size() - 2));
            current = FindSection(name);
            if (!current)
                current = &AddSection(name);
            continue;
        }
        TLine line;
        const qsizetype eq = s.indexOf(QLatin1Char('='));
        const bool comment = s.front() == u';' || s.front() == u'#';
        if (!comment && eq > 0 && current) {
            line.Name = Trim(s.left(eq));
            line.Value = Trim(s.mid(eq + 1));
            line.IsKey = !line.Name.isEmpty();
        }
        if (!line.IsKey) {
            line.Name.clear();
            line.Value = s;
        }
        (current ? current->Lines : FHead).push_back(line);
    }
}

TMemIniFile::TSection *TMemIniFile::FindSection(const UnicodeString &Section)
{
    for (TSection &sec : FSections)
        if (SameText(sec.Name, Section))
            return &sec;
    return nullptr;
}

TMemIniFile::TSection &TMemIniFile::AddSection(const UnicodeString &Section)
{
    FSections.push_back(TSection{Section, {}});
    return FSections.back();
}

TMemIniFile::TLine *TMemIniFile::FindKey(TSection &Sec, const UnicodeString &Ident)
{
    for (TLine &line : Sec.Lines)
        if (line.IsKey && SameText(line.Name, Ident))
            return &line;
    return nullptr;
}

UnicodeString TMemIniFile::ReadString(const UnicodeString &Section, const UnicodeString &Ident, const UnicodeString &Default)
{
    TSection *sec = FindSection(Section);
    if (!sec)
        return Default;
    const TLine *line = FindKey(*sec, Ident);
    return line ? line->Value : Default;
}

void TMemIniFile::WriteString(const UnicodeString &Section, const UnicodeString &Ident, const UnicodeString &Value)
{
    TSection *sec = FindSection(Section);
    if (!sec)
        sec = &AddSection(Section);
    if (TLine *line = FindKey(*sec, Ident)) {
        line->Value = OneLine(Value);
        return;
    }
    // A new key goes after the section's last key, ahead of any trailing comment (which most
    // likely introduces the next section).
    auto lastKey = std::find_if(sec->Lines.rbegin(), sec->Lines.rend(), [](const TLine &l) { return l.IsKey; });
    const auto at = lastKey == sec->Lines.rend() ? sec->Lines.end() : lastKey.base();
    sec->Lines.insert(at, TLine{Ident, OneLine(Value), true});
}

void TMemIniFile::ReadSection(const UnicodeString &Section, TStrings *Strings)
{
    Strings->BeginUpdate();
    try {
        Strings->Clear();
        if (TSection *sec = FindSection(Section))
            for (const TLine &line : sec->Lines)
                if (line.IsKey)
                    Strings->Add(line.Name);
    } catch (...) {
        Strings->EndUpdate();
        throw;
    }
    Strings->EndUpdate();
}

void TMemIniFile::ReadSections(TStrings *Strings)
{
    Strings->BeginUpdate();
    try {
        Strings->Clear();
        for (const TSection &sec : FSections)
            Strings->Add(sec.Name);
    } catch (...) {
        Strings->EndUpdate();
        throw;
    }
    Strings->EndUpdate();
}

void TMemIniFile::ReadSectionValues(const UnicodeString &Section, TStrings *Strings)
{
    Strings->BeginUpdate();
    try {
        Strings->Clear();
        if (TSection *sec = FindSection(Section))
            for (const TLine &line : sec->Lines)
                if (line.IsKey)
                    Strings->Add(line.Name + QLatin1Char('=') + line.Value);
    } catch (...) {
        Strings->EndUpdate();
        throw;
    }
    Strings->EndUpdate();
}

bool TMemIniFile::SectionExists(const UnicodeString &Section)
{
    return FindSection(Section) != nullptr;
}

bool TMemIniFile::ValueExists(const UnicodeString &Section, const UnicodeString &Ident)
{
    TSection *sec = FindSection(Section);
    return sec && FindKey(*sec, Ident);
}

void TMemIniFile::EraseSection(const UnicodeString &Section)
{
    FSections.erase(std::remove_if(FSections.begin(), FSections.end(), [&](const TSection &s) { return SameText(s.Name, Section); }),
                    FSections.end());
}

void TMemIniFile::DeleteKey(const UnicodeString &Section, const UnicodeString &Ident)
{
    TSection *sec = FindSection(Section);
    if (!sec)
        return;
    auto &lines = sec->Lines;
    lines.erase(std::remove_if(lines.begin(), lines.end(), [&](const TLine &l) { return l.IsKey && SameText(l.Name, Ident); }),
                lines.end());
}

UnicodeString TMemIniFile::ContentText() const
{
    TStringList list;
    const_cast<TMemIniFile *>(this)->GetStrings(&list);
    return list.Text();
}

void TMemIniFile::GetStrings(TStrings *List)
{
    List->BeginUpdate();
    try {
        List->Clear();
        for (const TLine &line : FHead)
            List->Add(line.Value);
        if (!FHead.empty())
            List->Add(UnicodeString());
        for (const TSection &sec : FSections) {
            List->Add(QLatin1Char('[') + sec.Name + QLatin1Char(']'));
            for (const TLine &line : sec.Lines)
                List->Add(line.IsKey ? line.Name + QLatin1Char('=') + line.Value : line.Value);
            List->Add(UnicodeString());
        }
    } catch (...) {
        List->EndUpdate();
        throw;
    }
    List->EndUpdate();
}

void TMemIniFile::SetStrings(TStrings *List)
{
    ParseLines(List);
}

void TMemIniFile::Rename(const UnicodeString &FileName, bool Reload)
{
    FFileName = FileName;
    if (Reload)
        LoadValues();
}

void TMemIniFile::UpdateFile()
{
    TEncoding *enc = FEncoding ? FEncoding : TEncoding::Default();
    QByteArray bytes = enc->GetBytes(ContentText());
    // Text in a code page without a mark that starts like a byte-order mark would be read back
    // in that other encoding: a blank line in front keeps it what it is.
    TEncoding *looksLike = nullptr;
    if (enc->GetPreamble().isEmpty() && TEncoding::GetBufferEncoding(bytes, looksLike) > 0)
        bytes.prepend(enc->GetBytes(QStringLiteral("\r\n")));
    WriteFileAtomic(FFileName, enc->GetPreamble() + bytes);
}

// ---------------------------------------------------------------------------------------------
// TIniFile

TIniFile::TIniFile(const UnicodeString &FileName, TEncoding *Encoding) : TMemIniFile(FileName, Encoding)
{
    FileSignature(FFileName, FInode, FSize, FStamp);
}

void TIniFile::Refresh()
{
    Int64 inode = 0, size = 0, stamp = 0;
    FileSignature(FFileName, inode, size, stamp);
    if (!FStale && inode == FInode && size == FSize && stamp == FStamp)
        return;
    LoadValues();
    FInode = inode;
    FSize = size;
    FStamp = stamp;
    FStale = false;
}

UnicodeString TIniFile::ReadString(const UnicodeString &Section, const UnicodeString &Ident, const UnicodeString &Default)
{
    Refresh();
    return TMemIniFile::ReadString(Section, Ident, Default);
}

void TIniFile::WriteString(const UnicodeString &Section, const UnicodeString &Ident, const UnicodeString &Value)
{
    Refresh();
    TMemIniFile::WriteString(Section, Ident, Value);
    UpdateFile();
}

void TIniFile::ReadSection(const UnicodeString &Section, TStrings *Strings)
{
    Refresh();
    TMemIniFile::ReadSection(Section, Strings);
}

void TIniFile::ReadSections(TStrings *Strings)
{
    Refresh();
    TMemIniFile::ReadSections(Strings);
}

void TIniFile::ReadSectionValues(const UnicodeString &Section, TStrings *Strings)
{
    Refresh();
    TMemIniFile::ReadSectionValues(Section, Strings);
}

bool TIniFile::SectionExists(const UnicodeString &Section)
{
    Refresh();
    return TMemIniFile::SectionExists(Section);
}

bool TIniFile::ValueExists(const UnicodeString &Section, const UnicodeString &Ident)
{
    Refresh();
    return TMemIniFile::ValueExists(Section, Ident);
}

void TIniFile::EraseSection(const UnicodeString &Section)
{
    Refresh();
    TMemIniFile::EraseSection(Section);
    UpdateFile();
}

void TIniFile::DeleteKey(const UnicodeString &Section, const UnicodeString &Ident)
{
    Refresh();
    TMemIniFile::DeleteKey(Section, Ident);
    UpdateFile();
}

void TIniFile::UpdateFile()
{
    try {
        TMemIniFile::UpdateFile();
    } catch (const EFCreateError &) {
        // The memory copy no longer matches the file; the next read starts from the file again.
        FStale = true;
        throw EIniFileException(QStringLiteral("Unable to write to %1").arg(FFileName));
    }
    FileSignature(FFileName, FInode, FSize, FStamp);
}
