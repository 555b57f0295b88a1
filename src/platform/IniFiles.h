#pragma once
// INI files of our own: sections and keys kept in file order, looked up without regard to case.
//
// The reader is tolerant: blank lines, comments (";" or "#"), byte-order marks and lines without
// "=" are accepted; comments and lines without "=" stay where they were and are written back
// unchanged, so updating a file a person edited loses nothing of it.

#include "platform/Classes.h"
#include "platform/System.h"

#include <memory>
#include <vector>

class TEncoding;

// The operations every kind of INI file offers; the Read functions answer Default when the
// section or the key is missing (or, for numbers, when the text is not one).
class TCustomIniFile : public TObject {
public:
    explicit TCustomIniFile(const UnicodeString &FileName) : FFileName(FileName) {}

    const UnicodeString &FileName() const { return FFileName; }

    virtual UnicodeString ReadString(const UnicodeString &Section, const UnicodeString &Ident, const UnicodeString &Default) = 0;
    virtual void WriteString(const UnicodeString &Section, const UnicodeString &Ident, const UnicodeString &Value) = 0;
    // Decimal, or hexadecimal with "$", "0x" or "0X".
    virtual int ReadInteger(const UnicodeString &Section, const UnicodeString &Ident, int Default);
    virtual void WriteInteger(const UnicodeString &Section, const UnicodeString &Ident, int Value);
    // An integer value: 0 is false, any other number true; no number gives Default.
    virtual bool ReadBool(const UnicodeString &Section, const UnicodeString &Ident, bool Default);
    // Writes "1" or "0".
    virtual void WriteBool(const UnicodeString &Section, const UnicodeString &Ident, bool Value);
    // With the decimal separator of FormatSettings, as the classic files were written.
    virtual double ReadFloat(const UnicodeString &Section, const UnicodeString &Ident, double Default);
    virtual void WriteFloat(const UnicodeString &Section, const UnicodeString &Ident, double Value);

    // The key names of a section / the section names / the Name=Value lines of a section.
    virtual void ReadSection(const UnicodeString &Section, TStrings *Strings) = 0;
    virtual void ReadSections(TStrings *Strings) = 0;
    virtual void ReadSectionValues(const UnicodeString &Section, TStrings *Strings) = 0;
    virtual bool SectionExists(const UnicodeString &Section);
    virtual bool ValueExists(const UnicodeString &Section, const UnicodeString &Ident);
    virtual void EraseSection(const UnicodeString &Section) = 0;
    virtual void DeleteKey(const UnicodeString &Section, const UnicodeString &Ident) = 0;
    // Writes pending changes to the file.
    virtual void UpdateFile() = 0;

protected:
    UnicodeString FFileName;
};

// The whole file in memory: reads and writes change the memory only, UpdateFile writes the
// file (atomically). The encoding is the one given, else the one of the file's byte-order mark,
// else the ANSI code page.
class TMemIniFile : public TCustomIniFile {
public:
    explicit TMemIniFile(const UnicodeString &FileName, TEncoding *Encoding = nullptr);
    ~TMemIniFile() override;

    UnicodeString ReadString(const UnicodeString &Section, const UnicodeString &Ident, const UnicodeString &Default) override;
    void WriteString(const UnicodeString &Section, const UnicodeString &Ident, const UnicodeString &Value) override;
    void ReadSection(const UnicodeString &Section, TStrings *Strings) override;
    void ReadSections(TStrings *Strings) override;
    void ReadSectionValues(const UnicodeString &Section, TStrings *Strings) override;
    bool SectionExists(const UnicodeString &Section) override;
    bool ValueExists(const UnicodeString &Section, const UnicodeString &Ident) override;
    void EraseSection(const UnicodeString &Section) override;
    void DeleteKey(const UnicodeString &Section, const UnicodeString &Ident) override;
    void UpdateFile() override;

    // Forgets everything (the file is untouched until UpdateFile).
    void Clear();
    // The file as lines / replaces the contents with these lines.
    void GetStrings(TStrings *List);
    void SetStrings(TStrings *List);
    // Points the object at another file, reading it when Reload is set.
    void Rename(const UnicodeString &FileName, bool Reload);
    TEncoding *Encoding() const { return FEncoding; }
    void SetEncoding(TEncoding *Value) { FEncoding = Value; }

protected:
    // Re-reads the file (a missing file gives an empty one).
    void LoadValues();
    // The file's text as it would be written.
    UnicodeString ContentText() const;

private:
    struct TLine {
        UnicodeString Name;  // the key; empty for a comment or a line without "="
        UnicodeString Value; // the value, or the whole line when Name is empty
        bool IsKey = false;
    };
    struct TSection {
        UnicodeString Name;
        std::vector<TLine> Lines;
    };

    TSection *FindSection(const UnicodeString &Section);
    TSection &AddSection(const UnicodeString &Section);
    TLine *FindKey(TSection &Sec, const UnicodeString &Ident);
    void ParseLines(TStrings *List);

    TEncoding *FEncoding = nullptr;
    bool FEncodingGiven = false;
    // Lines before the first section (comments, stray text), kept as they were.
    std::vector<TLine> FHead;
    std::vector<TSection> FSections;
};

// An INI file whose every change goes straight to the file, and whose reads see what other
// programs wrote since.
class TIniFile : public TMemIniFile {
public:
    explicit TIniFile(const UnicodeString &FileName, TEncoding *Encoding = nullptr);

    UnicodeString ReadString(const UnicodeString &Section, const UnicodeString &Ident, const UnicodeString &Default) override;
    void WriteString(const UnicodeString &Section, const UnicodeString &Ident, const UnicodeString &Value) override;
    void ReadSection(const UnicodeString &Section, TStrings *Strings) override;
    void ReadSections(TStrings *Strings) override;
    void ReadSectionValues(const UnicodeString &Section, TStrings *Strings) override;
    bool SectionExists(const UnicodeString &Section) override;
    bool ValueExists(const UnicodeString &Section, const UnicodeString &Ident) override;
    void EraseSection(const UnicodeString &Section) override;
    void DeleteKey(const UnicodeString &Section, const UnicodeString &Ident) override;
    // EIniFileException "Unable to write to <file>" when the file cannot be written.
    void UpdateFile() override;

private:
    void Refresh();
    Int64 FInode = -1;
    Int64 FSize = -1;
    Int64 FStamp = -1;
    bool FStale = false;
};
