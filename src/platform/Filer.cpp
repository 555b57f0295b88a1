#include "platform/Filer.h"

#include "platform/System.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cmath>
#include <cstring>
#include <exception>
#include <random>
#include <utility>

int MulDiv(int Value, int Numerator, int Denominator)
{
    if (Denominator == 0)
        return -1;
    const long long p = static_cast<long long>(Value) * Numerator;
    long long q = p / Denominator;
    const long long r = p % Denominator;
    // Half away from zero: a remainder of at least half the divisor rounds the quotient outward.
    if (2 * std::llabs(r) >= std::llabs(static_cast<long long>(Denominator)))
        q += ((p < 0) != (Denominator < 0)) ? -1 : 1;
    if (q > INT32_MAX || q < INT32_MIN)
        return -1;
    return static_cast<int>(q);
}

// ---------------------------------------------------------------------------------------------
// Extended precision

void DoubleToExtended(double Value, Byte Out[10])
{
    const std::uint64_t bits = std::bit_cast<std::uint64_t>(Value);
    const bool negative = bits >> 63;
    const int e = int((bits >> 52) & 0x7FF);
    const std::uint64_t m = bits & ((std::uint64_t(1) << 52) - 1);
    std::uint64_t mantissa = 0;
    int exponent = 0;
    if (e == 0x7FF) {
        exponent = 0x7FFF;
        mantissa = (std::uint64_t(1) << 63) | (m << 11);
    } else if (e != 0) {
        // The extended form keeps the integer bit that the double leaves implicit.
        exponent = e + 16383 - 1023;
        mantissa = (std::uint64_t(1) << 63) | (m << 11);
    } else if (m != 0) {
        // A subnormal double is a normal extended value.
        const int k = std::countl_zero(m);
        mantissa = m << k;
        exponent = 16383 - 1074 + 63 - k;
    }
    for (int i = 0; i < 8; ++i)
        Out[i] = Byte(mantissa >> (8 * i));
    const unsigned top = unsigned(exponent) | (negative ? 0x8000u : 0u);
    Out[8] = Byte(top);
    Out[9] = Byte(top >> 8);
}

double ExtendedToDouble(const Byte In[10])
{
    std::uint64_t mantissa = 0;
    for (int i = 7; i >= 0; --i)
        mantissa = (mantissa << 8) | In[i];
    const unsigned top = unsigned(In[8]) | unsigned(In[9]) << 8;
    const bool negative = top & 0x8000u;
    int exponent = int(top & 0x7FFF);
    double v = 0;
    if (exponent == 0x7FFF)
        v = (mantissa << 1) == 0 ? HUGE_VAL : std::nan("");
    else if (mantissa != 0) {
        // Denormal extended values share the smallest exponent.
        if (exponent == 0)
            exponent = 1;
        v = std::ldexp(double(mantissa), exponent - 16383 - 63);
    }
    return negative ? -v : v;
}

// ---------------------------------------------------------------------------------------------
// Identifiers

namespace {
const char *const AlignmentNames[] = {"taLeftJustify", "taRightJustify", "taCenter"};
const char *const BrushStyleNames[] = {"bsSolid", "bsClear", "bsHorizontal", "bsVertical",
                                       "bsFDiagonal", "bsBDiagonal", "bsCross", "bsDiagCross"};
const char *const FontStyleNames[] = {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"};
} // namespace

const TIdentTable AlignmentIdents = IdentTable(AlignmentNames);
const TIdentTable BrushStyleIdents = IdentTable(BrushStyleNames);
const TIdentTable FontStyleIdents = IdentTable(FontStyleNames);

UnicodeString IdentOfValue(const TIdentTable &Table, int Value)
{
    return Value >= 0 && Value < Table.Count ? QString::fromLatin1(Table.Names[Value]) : QString::number(Value);
}

int ValueOfIdent(const TIdentTable &Table, const UnicodeString &Ident)
{
    for (int i = 0; i < Table.Count; ++i)
        if (Ident == QLatin1String(Table.Names[i]))
            return i;
    return -1;
}

int ReadIdentValue(const TIdentTable &Table, const TFilerValue &V)
{
    const int v = V.Type == vaIdent ? ValueOfIdent(Table, V.Text) : -1;
    if (v < 0)
        TFilerReader::Error();
    return v;
}

QStringList IdentsOfSet(const TIdentTable &Table, unsigned Bits)
{
    QStringList l;
    for (int i = 0; i < Table.Count && i < 32; ++i)
        if (Bits & (1u << i))
            l << QString::fromLatin1(Table.Names[i]);
    return l;
}

unsigned ReadIdentSet(const TIdentTable &Table, const TFilerValue &V)
{
    if (V.Type != vaSet)
        TFilerReader::Error();
    unsigned bits = 0;
    for (const auto &e : V.Items) {
        const int v = ValueOfIdent(Table, e);
        if (v < 0 || v >= 32)
            TFilerReader::Error();
        bits |= 1u << v;
    }
    return bits;
}

Cardinal NewStreamOwnerID()
{
    static const Cardinal base = [] {
        std::random_device rd;
        return Cardinal(rd());
    }();
    static std::atomic<Cardinal> counter{0};
    return base + counter.fetch_add(1, std::memory_order_relaxed);
}

// ---------------------------------------------------------------------------------------------
// Writer

namespace {
// Large enough that a stream is read or written in few calls, small enough to stay in the cache.
constexpr int FilerBlock = 1 << 16;
} // namespace

TFilerWriter::TFilerWriter(TStream *Stream)
    : FStream(Stream), FBuf(std::make_unique_for_overwrite<char[]>(Block)), FUncaught(std::uncaught_exceptions())
{
}

TFilerWriter::~TFilerWriter() noexcept(false)
{
    // Unwinding from a failed write: what was gathered is dropped with it.
    if (std::uncaught_exceptions() == FUncaught)
        Flush();
}

void TFilerWriter::Flush()
{
    if (FLen == 0)
        return;
    const int n = std::exchange(FLen, 0);
    FStream->WriteBuffer(FBuf.get(), n);
}

void TFilerWriter::LargeBytes(const void *Data, int Count)
{
    Flush();
    if (Count > Block) {
        FStream->WriteBuffer(Data, Count);
        return;
    }
    std::memcpy(FBuf.get(), Data, static_cast<std::size_t>(Count));
    FLen = Count;
}

void TFilerWriter::Len32(std::uint32_t N)
{
    const Byte b[4] = {Byte(N), Byte(N >> 8), Byte(N >> 16), Byte(N >> 24)};
    Bytes(b, 4);
}

void TFilerWriter::WriteSignature() { Bytes("TPF0", 4); }

void TFilerWriter::WriteStr(const UnicodeString &Value)
{
    QByteArray b = Value.toUtf8();
    if (b.size() > 255)
        b.truncate(255);
    const Byte n = static_cast<Byte>(b.size());
    Bytes(&n, 1);
    Bytes(b.constData(), n);
}

void TFilerWriter::WriteStr(QLatin1StringView Value)
{
    // The names of the records and their properties are ASCII: their bytes are their UTF-8.
    const Byte n = static_cast<Byte>(std::min<qsizetype>(Value.size(), 255));
    Bytes(&n, 1);
    Bytes(Value.data(), n);
}

void TFilerWriter::WriteValue(TValueType Value)
{
    const Byte b = Value;
    Bytes(&b, 1);
}

void TFilerWriter::WriteInteger(int Value)
{
    if (Value >= -128 && Value <= 127) {
        const Byte b[2] = {vaInt8, Byte(static_cast<std::int8_t>(Value))};
        Bytes(b, 2);
    } else if (Value >= -32768 && Value <= 32767) {
        const auto v = static_cast<std::uint16_t>(static_cast<std::int16_t>(Value));
        const Byte b[3] = {vaInt16, Byte(v & 0xFF), Byte(v >> 8)};
        Bytes(b, 3);
    } else {
        const auto u = static_cast<std::uint32_t>(Value);
        const Byte b[5] = {vaInt32, Byte(u), Byte(u >> 8), Byte(u >> 16), Byte(u >> 24)};
        Bytes(b, 5);
    }
}

void TFilerWriter::WriteString(const UnicodeString &Value)
{
    const qsizetype n = Value.size();
    const char16_t *d = reinterpret_cast<const char16_t *>(Value.constData());
    bool ascii = true;
    for (qsizetype i = 0; i < n && ascii; ++i)
        ascii = d[i] < 0x80;
    if (ascii) {
        // Most cell texts: their UTF-8 is one byte per character, written without a copy.
        if (n <= 255) {
            const Byte head[2] = {vaString, Byte(n)};
            Bytes(head, 2);
        } else {
            WriteValue(vaLString);
            Len32(static_cast<std::uint32_t>(n));
        }
        for (qsizetype from = 0; from < n;) {
            if (FLen == Block)
                Flush();
            const qsizetype k = std::min<qsizetype>(n - from, Block - FLen);
            char *out = FBuf.get() + FLen;
            for (qsizetype i = 0; i < k; ++i)
                out[i] = static_cast<char>(d[from + i]);
            FLen += int(k);
            from += k;
        }
        return;
    }
    const QByteArray utf8 = Value.toUtf8();
    // Texts whose UTF-8 form is at least twice their length (mostly scripts beyond Latin) are
    // shorter as UTF-16.
    if (utf8.size() >= 2 * n) {
        WriteValue(vaWString);
        Len32(static_cast<std::uint32_t>(n));
        for (qsizetype i = 0; i < n; ++i) {
            const Byte b[2] = {Byte(d[i] & 0xFF), Byte(d[i] >> 8)};
            Bytes(b, 2);
        }
        return;
    }
    WriteValue(vaUTF8String);
    Len32(static_cast<std::uint32_t>(utf8.size()));
    Bytes(utf8.constData(), static_cast<int>(utf8.size()));
}

void TFilerWriter::WriteIdent(const UnicodeString &Value)
{
    if (Value.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        WriteValue(vaFalse);
    else if (Value.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        WriteValue(vaTrue);
    else {
        WriteValue(vaIdent);
        WriteStr(Value);
    }
}

void TFilerWriter::WriteSet(const QStringList &Elements)
{
    WriteValue(vaSet);
    for (const auto &e : Elements)
        WriteStr(e);
    WriteStr(UnicodeString());
}

void TFilerWriter::WriteColor(TColor Value)
{
    UnicodeString ident;
    if (ColorToIdent(Value, ident))
        WriteIdent(ident);
    else
        WriteInteger(Value);
}

void TFilerWriter::WriteFloat(double Value)
{
    WriteValue(vaExtended);
    Byte b[10];
    DoubleToExtended(Value, b);
    Bytes(b, 10);
}

void TFilerWriter::WriteBinary(const QByteArray &Data)
{
    WriteValue(vaBinary);
    Len32(static_cast<std::uint32_t>(Data.size()));
    Bytes(Data.constData(), static_cast<int>(Data.size()));
}

void TFilerWriter::WriteStrings(const QStringList &Items)
{
    WriteValue(vaList);
    for (const auto &s : Items)
        WriteString(s);
    WriteListEnd();
}

// ---------------------------------------------------------------------------------------------
// Reader

TFilerReader::TFilerReader(TStream *Stream) : FStream(Stream), FEnd(Stream->Size())
{
    const Int64 pos = Stream->Position();
    if (auto *m = dynamic_cast<TMemoryStream *>(Stream)) {
        // The stream's bytes are read where they lie; a position outside them leaves nothing
        // to read.
        FDirect = true;
        FBase = static_cast<const char *>(m->Memory());
        FCur = FBase + std::clamp<Int64>(pos, 0, FEnd);
        FLim = FCur;
        if (pos >= 0 && pos <= FEnd)
            FLim = FBase + FEnd;
        else
            FEnd = FCur - FBase;
    } else {
        FWindowStart = pos;
    }
    FStart = Pos();
}

TFilerReader::~TFilerReader()
{
    if (Pos() == FStart)
        return;
    try {
        FStream->SetPosition(Pos());
    } catch (...) {
        // A stream that cannot seek keeps the position its last block left it at.
    }
}

void TFilerReader::Error() { throw EReadError(QStringLiteral("Invalid stream format")); }

void TFilerReader::Refill(int Need)
{
    const Int64 pos = Pos();
    const Int64 n = std::max<Int64>(Need, std::min<Int64>(FilerBlock, FEnd - pos));
    FStream->SetPosition(pos);
    FChunk.resize(static_cast<qsizetype>(n));
    FStream->ReadBuffer(FChunk.data(), static_cast<int>(n));
    FBase = FCur = FChunk.constData();
    FLim = FBase + n;
    FWindowStart = pos;
}

const char *TFilerReader::TakeBeyond(int Count)
{
    if (Count < 0 || Remaining() < Count || FDirect)
        Error();
    Refill(Count);
    const char *p = FCur;
    FCur += Count;
    return p;
}

void TFilerReader::Bytes(void *Data, int Count)
{
    const char *p = Take(Count);
    if (Count > 0)
        std::memcpy(Data, p, static_cast<std::size_t>(Count));
}

int TFilerReader::ReadLength(int Unit)
{
    Byte b[4];
    Bytes(b, 4);
    const std::uint32_t n = std::uint32_t(b[0]) | std::uint32_t(b[1]) << 8 | std::uint32_t(b[2]) << 16 | std::uint32_t(b[3]) << 24;
    // Checked against what remains before any buffer is made for it.
    if (static_cast<Int64>(n) * Unit > Remaining())
        Error();
    return static_cast<int>(n);
}

UnicodeString TFilerReader::ReadStr()
{
    const QByteArrayView b = ReadStrBytes();
    return QString::fromUtf8(b.data(), b.size());
}

TFilerValue TFilerReader::ReadSimple()
{
    TFilerValue v;
    v.Type = ReadValue();
    switch (v.Type) {
    case vaInt8: {
        std::int8_t i = 0;
        Bytes(&i, 1);
        v.Int = i;
        break;
    }
    case vaInt16: {
        Byte b[2];
        Bytes(b, 2);
        v.Int = static_cast<std::int16_t>(std::uint16_t(b[0] | b[1] << 8));
        break;
    }
    case vaInt32: {
        Byte b[4];
        Bytes(b, 4);
        v.Int = static_cast<std::int32_t>(std::uint32_t(b[0]) | std::uint32_t(b[1]) << 8 | std::uint32_t(b[2]) << 16 | std::uint32_t(b[3]) << 24);
        break;
    }
    case vaString: {
        const int n = Byte(*Take(1));
        v.Text = QString::fromLatin1(Take(n), n);
        break;
    }
    case vaLString:
    case vaUTF8String: {
        const int n = ReadLength(1);
        const char *b = Take(n);
        v.Text = v.Type == vaLString ? QString::fromLatin1(b, n) : QString::fromUtf8(b, n);
        break;
    }
    case vaWString: {
        const int n = ReadLength(2);
        const char *b = Take(n * 2);
        v.Text.resize(n);
        for (int i = 0; i < n; ++i)
            v.Text[i] = QChar(char16_t(Byte(b[2 * i]) | Byte(b[2 * i + 1]) << 8));
        break;
    }
    case vaIdent:
        v.Text = ReadStr();
        break;
    case vaExtended: {
        Byte b[10];
        Bytes(b, 10);
        v.Float = ExtendedToDouble(b);
        break;
    }
    case vaBinary: {
        const int n = ReadLength(1);
        v.Data.resize(n);
        Bytes(v.Data.data(), n);
        break;
    }
    case vaFalse:
    case vaTrue:
    case vaNil:
    case vaNull:
        break;
    case vaSet:
        for (;;) {
            const UnicodeString e = ReadStr();
            if (e.isEmpty())
                break;
            v.Items << e;
        }
        break;
    case vaList:
        while (!EndOfList()) {
            // Lists hold plain values: a list inside a list would let a hostile stream nest
            // as deep as it is long.
            if (NextValue() == vaList)
                Error();
            const TFilerValue item = ReadSimple();
            v.Items << AsString(item);
        }
        ReadListEnd();
        break;
    default:
        Error();
    }
    return v;
}

int TFilerReader::ReadInteger()
{
    const char *b;
    switch (ReadValue()) {
    case vaInt8:
        return static_cast<std::int8_t>(*Take(1));
    case vaInt16:
        b = Take(2);
        return static_cast<std::int16_t>(std::uint16_t(Byte(b[0]) | Byte(b[1]) << 8));
    case vaInt32:
        b = Take(4);
        return static_cast<std::int32_t>(std::uint32_t(Byte(b[0])) | std::uint32_t(Byte(b[1])) << 8 |
                                         std::uint32_t(Byte(b[2])) << 16 | std::uint32_t(Byte(b[3])) << 24);
    default:
        Error();
    }
}

UnicodeString TFilerReader::ReadString()
{
    UnicodeString s;
    ReadString(s);
    return s;
}

void TFilerReader::ReadString(UnicodeString &Into)
{
    // The short text of most cells is taken without the general value.
    if (NextValue() != vaString) {
        Into = AsString(ReadSimple());
        return;
    }
    Take(1);
    const int n = Byte(*Take(1));
    const char *b = Take(n);
    Into.resize(n);
    QChar *out = Into.data();
    for (int i = 0; i < n; ++i)
        out[i] = QChar(char16_t(Byte(b[i])));
}

bool TFilerReader::ReadBoolean()
{
    switch (ReadValue()) {
    case vaFalse:
        return false;
    case vaTrue:
        return true;
    default:
        Error();
    }
}

int TFilerReader::AsInteger(const TFilerValue &V) const
{
    if (V.Type != vaInt8 && V.Type != vaInt16 && V.Type != vaInt32)
        Error();
    return V.Int;
}

UnicodeString TFilerReader::AsString(const TFilerValue &V) const
{
    if (V.Type != vaString && V.Type != vaLString && V.Type != vaWString && V.Type != vaUTF8String)
        Error();
    return V.Text;
}

bool TFilerReader::AsBoolean(const TFilerValue &V) const
{
    if (V.Type != vaFalse && V.Type != vaTrue)
        Error();
    return V.Type == vaTrue;
}

double TFilerReader::AsFloat(const TFilerValue &V) const
{
    if (V.Type == vaExtended)
        return V.Float;
    return AsInteger(V);
}

QByteArray TFilerReader::AsBinary(const TFilerValue &V) const
{
    if (V.Type != vaBinary)
        Error();
    return V.Data;
}

TColor TFilerReader::AsColor(const TFilerValue &V) const
{
    if (V.Type == vaIdent) {
        TColor c = 0;
        if (!IdentToColor(V.Text, c))
            Error();
        return c;
    }
    return AsInteger(V);
}
