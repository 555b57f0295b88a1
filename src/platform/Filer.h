#pragma once
// The binary component stream of the form resources: a signature, class and object names as
// short strings, then properties as a name and a tagged value. The writer picks the smallest
// tag that holds a value; the reader checks every length against the bytes that remain, so a
// truncated or foreign stream raises EReadError instead of reading past its end.

#include "platform/Classes.h"
#include "platform/Graphics.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <cstring>
#include <memory>

enum TValueType : Byte {
    vaNull = 0, vaList = 1, vaInt8 = 2, vaInt16 = 3, vaInt32 = 4, vaExtended = 5, vaString = 6, vaIdent = 7,
    vaFalse = 8, vaTrue = 9, vaBinary = 10, vaSet = 11, vaLString = 12, vaNil = 13, vaCollection = 14,
    vaSingle = 15, vaCurrency = 16, vaDate = 17, vaWString = 18, vaInt64 = 19, vaUTF8String = 20
};

// The writer gathers the bytes and hands them to the stream in large blocks: at Flush, when
// the block is full, and when the writer goes out of scope without an exception in flight.
class TFilerWriter {
public:
    explicit TFilerWriter(TStream *Stream);
    ~TFilerWriter() noexcept(false);
    TFilerWriter(const TFilerWriter &) = delete;
    TFilerWriter &operator=(const TFilerWriter &) = delete;

    void WriteSignature();
    // A length byte and at most 255 bytes of UTF-8 (class, object and property names).
    void WriteStr(const UnicodeString &Value);
    void WriteStr(QLatin1StringView Value);
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
    // vaExtended and the 10-byte x87 extended-precision form of the value.
    void WriteFloat(double Value);
    // vaBinary, a 4-byte count and the bytes.
    void WriteBinary(const QByteArray &Data);
    // Bytes as they stand, for framing that the caller has put together once.
    void WriteRaw(QByteArrayView Data) { Bytes(Data.data(), static_cast<int>(Data.size())); }
    // Hands the gathered bytes to the stream.
    void Flush();

private:
    static constexpr int Block = 1 << 16;
    void Bytes(const void *Data, int Count)
    {
        if (Count <= Block - FLen) {
            std::memcpy(FBuf.get() + FLen, Data, static_cast<std::size_t>(Count));
            FLen += Count;
        } else {
            LargeBytes(Data, Count);
        }
    }
    void LargeBytes(const void *Data, int Count);
    void Len32(std::uint32_t N);
    TStream *FStream;
    std::unique_ptr<char[]> FBuf;
    int FLen = 0;
    int FUncaught;
};

// One value as read: the tag and, by kind, its number, text or set elements.
struct TFilerValue {
    TValueType Type = vaNull;
    int Int = 0;
    UnicodeString Text;  // texts and identifiers
    QStringList Items;   // set elements or list entries
    double Float = 0;    // vaExtended
    QByteArray Data;     // vaBinary
};

// The reader takes the bytes of a memory stream where they lie and those of any other stream in
// large blocks; the stream stands at the first byte not read once the reader goes out of scope.
class TFilerReader {
public:
    explicit TFilerReader(TStream *Stream);
    ~TFilerReader();
    TFilerReader(const TFilerReader &) = delete;
    TFilerReader &operator=(const TFilerReader &) = delete;

    void ReadSignature()
    {
        if (std::memcmp(Take(4), "TPF0", 4) != 0)
            Error();
    }
    UnicodeString ReadStr();
    // The bytes of the next short string, valid until the next read: names compare without a
    // copy.
    QByteArrayView ReadStrBytes()
    {
        const int n = Byte(*Take(1));
        return QByteArrayView(Take(n), n);
    }
    TValueType ReadValue() { return static_cast<TValueType>(Byte(*Take(1))); }
    TValueType NextValue()
    {
        const TValueType v = ReadValue();
        --FCur;
        return v;
    }
    bool EndOfList() { return NextValue() == vaNull; }
    // When the next bytes are Data, moves past them and answers true; otherwise leaves the
    // position alone.
    bool SkipIf(QByteArrayView Data)
    {
        if (FLim - FCur < Data.size() || std::memcmp(FCur, Data.data(), static_cast<std::size_t>(Data.size())) != 0)
            return false;
        FCur += Data.size();
        return true;
    }
    void ReadListEnd()
    {
        if (ReadValue() != vaNull)
            Error();
    }
    // Reads one simple value (numbers, texts, identifiers, Booleans, sets, lists of texts).
    TFilerValue ReadSimple();
    // One value of the kind asked for, as AsInteger, AsString and AsBoolean take it from
    // ReadSimple; any other kind raises the reader's error.
    int ReadInteger();
    UnicodeString ReadString();
    // The same into Into, whose room is used again for a short text.
    void ReadString(UnicodeString &Into);
    bool ReadBoolean();
    // Whether the views ReadStrBytes answers stay valid while the stream is left alone (they do
    // over a memory stream); otherwise they last until the next read.
    bool ViewsStay() const { return FDirect; }

    int AsInteger(const TFilerValue &V) const;
    UnicodeString AsString(const TFilerValue &V) const;
    bool AsBoolean(const TFilerValue &V) const;
    TColor AsColor(const TFilerValue &V) const;
    // A float, or an integer read as one.
    double AsFloat(const TFilerValue &V) const;
    QByteArray AsBinary(const TFilerValue &V) const;
    // The bytes between the position and the end of the stream.
    Int64 Remaining() const { return FEnd - Pos(); }

    [[noreturn]] static void Error();

private:
    void Bytes(void *Data, int Count);
    // Count bytes at the position, which moves past them; raises when fewer remain.
    const char *Take(int Count)
    {
        if (Count < 0 || FLim - FCur < Count)
            return TakeBeyond(Count);
        const char *p = FCur;
        FCur += Count;
        return p;
    }
    const char *TakeBeyond(int Count);
    void Refill(int Need);
    Int64 Pos() const { return FWindowStart + (FCur - FBase); }
    int ReadLength(int Unit);
    TStream *FStream;
    Int64 FEnd;
    bool FDirect = false;
    QByteArray FChunk;
    const char *FBase = nullptr;
    const char *FCur = nullptr;
    const char *FLim = nullptr;
    Int64 FWindowStart = 0;
    Int64 FStart = 0;
};

// The 80-bit x87 extended-precision form, little-endian (64-bit mantissa with its explicit
// integer bit, then sign and 15-bit exponent). Our own conversion, so that streams read the same
// on machines without an x87 type: a double converts exactly; on reading, a value beyond the
// double range becomes infinity, a value below it zero, and NaN stays NaN.
void DoubleToExtended(double Value, Byte Out[10]);
double ExtendedToDouble(const Byte In[10]);

// Names of enumeration values as the component stream writes them ("taCenter", "fsBold"):
// a table indexed by the value.
struct TIdentTable {
    const char *const *Names;
    int Count;
};
template <std::size_t N>
constexpr TIdentTable IdentTable(const char *const (&Names)[N]) { return {Names, int(N)}; }
// The name of Value; a value outside the table is written as its number.
UnicodeString IdentOfValue(const TIdentTable &Table, int Value);
// The value of an identifier, or -1 when the table does not hold it.
int ValueOfIdent(const TIdentTable &Table, const UnicodeString &Ident);
// The value of an identifier read from a stream; raises the reader's error for anything else.
int ReadIdentValue(const TIdentTable &Table, const TFilerValue &V);
// The members of a set of Table's values (bit i for value i), in the table's order.
QStringList IdentsOfSet(const TIdentTable &Table, unsigned Bits);
// The bits of a set read from a stream; raises the reader's error for an unknown member.
unsigned ReadIdentSet(const TIdentTable &Table, const TFilerValue &V);

// The platform's own enumerations: TAlignment, TBrushStyle, TFontStyle.
extern const TIdentTable AlignmentIdents;
extern const TIdentTable BrushStyleIdents;
extern const TIdentTable FontStyleIdents;

// An id for a component that names itself in a stream it writes (a grid recognising its own
// cells on the clipboard): a random base drawn once per process plus a counter, so that two
// components, or two processes, seldom share one.
Cardinal NewStreamOwnerID();

// Value * Numerator / Denominator, rounded half away from zero; -1 when Denominator is 0.
int MulDiv(int Value, int Numerator, int Denominator);
