#pragma once
// The binary component stream of the form resources: a signature, class and object names as
// short strings, then properties as a name and a tagged value. The writer picks the smallest
// tag that holds a value; the reader checks every length against the bytes that remain, so a
// truncated or foreign stream raises EReadError instead of reading past its end.

#include "platform/Classes.h"
#include "platform/Graphics.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

enum TValueType : Byte {
    vaNull = 0, vaList = 1, vaInt8 = 2, vaInt16 = 3, vaInt32 = 4, vaExtended = 5, vaString = 6, vaIdent = 7,
    vaFalse = 8, vaTrue = 9, vaBinary = 10, vaSet = 11, vaLString = 12, vaNil = 13, vaCollection = 14,
    vaSingle = 15, vaCurrency = 16, vaDate = 17, vaWString = 18, vaInt64 = 19, vaUTF8String = 20
};

class TFilerWriter {
public:
    explicit TFilerWriter(TStream *Stream) : FStream(Stream) {}

    void WriteSignature();
    // A length byte and at most 255 bytes of UTF-8 (class, object and property names).
    void WriteStr(const UnicodeString &Value);
    void WriteValue(TValueType Value);
    void WriteListEnd() { WriteValue(vaNull); }
    void WriteInteger(int Value);
    void WriteString(const UnicodeString &Value);
    void WriteIdent(const UnicodeString &Value);
    void WriteBoolean(bool Value) { WriteValue(Value ? vaTrue : vaFalse); }
    void WriteSet(const QStringList &Elements);
    // A colour: its name when it has one, else its number.
    void WriteColor(TColor Value);
    void WriteStrings(const QStringList &Items);

private:
    void Bytes(const void *Data, int Count) { FStream->WriteBuffer(Data, Count); }
    TStream *FStream;
};

// One value as read: the tag and, by kind, its number, text or set elements.
struct TFilerValue {
    TValueType Type = vaNull;
    int Int = 0;
    UnicodeString Text;  // texts and identifiers
    QStringList Items;   // set elements or list entries
};

class TFilerReader {
public:
    explicit TFilerReader(TStream *Stream);

    void ReadSignature();
    UnicodeString ReadStr();
    TValueType ReadValue();
    TValueType NextValue();
    bool EndOfList();
    void ReadListEnd();
    // Reads one simple value (numbers, texts, identifiers, Booleans, sets, lists of texts).
    TFilerValue ReadSimple();

    int AsInteger(const TFilerValue &V) const;
    UnicodeString AsString(const TFilerValue &V) const;
    bool AsBoolean(const TFilerValue &V) const;
    TColor AsColor(const TFilerValue &V) const;

    [[noreturn]] static void Error();

private:
    void Bytes(void *Data, int Count);
    int ReadLength(int Unit);
    TStream *FStream;
    Int64 FEnd;
};

// Value * Numerator / Denominator, rounded half away from zero; -1 when Denominator is 0.
int MulDiv(int Value, int Numerator, int Denominator);
