#include "platform/Filer.h"

#include "platform/System.h"

#include <atomic>
#include <bit>
#include <cmath>
#include <cstring>
#include <random>

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

void TFilerWriter::WriteValue(TValueType Value)
{
    const Byte b = Value;
    Bytes(&b, 1);
}

void TFilerWriter::WriteInteger(int Value)
{
    if (Value >= -128 && Value <= 127) {
        WriteValue(vaInt8);
        const std::int8_t v = static_cast<std::int8_t>(Value);
        Bytes(&v, 1);
    } else if (Value >= -32768 && Value <= 32767) {
        WriteValue(vaInt16);
        const std::int16_t v = static_cast<std::int16_t>(Value);
        Byte b[2] = {Byte(v & 0xFF), Byte((v >> 8) & 0xFF)};
        Bytes(b, 2);
    } else {
        WriteValue(vaInt32);
        const auto u = static_cast<std::uint32_t>(Value);
        Byte b[4] = {Byte(u), Byte(u >> 8), Byte(u >> 16), Byte(u >> 24)};
        Bytes(b, 4);
    }
}

static void WriteLen32(TStream *S, std::uint32_t n)
{
    Byte b[4] = {Byte(n), Byte(n >> 8), Byte(n >> 16), Byte(n >> 24)};
    S->WriteBuffer(b, 4);
}

void TFilerWriter::WriteString(const UnicodeString &Value)
{
    const QByteArray utf8 = Value.toUtf8();
    bool ascii = true;
    for (char c : utf8)
        if (static_cast<unsigned char>(c) >= 128) {
            ascii = false;
            break;
        }
    if (ascii) {
        if (utf8.size() <= 255) {
            WriteValue(vaString);
            const Byte n = static_cast<Byte>(utf8.size());
            Bytes(&n, 1);
        } else {
            WriteValue(vaLString);
            WriteLen32(FStream, static_cast<std::uint32_t>(utf8.size()));
        }
        Bytes(utf8.constData(), static_cast<int>(utf8.size()));
        return;
    }
    // Texts whose UTF-8 form is at least twice their length (mostly scripts beyond Latin) are
    // shorter as UTF-16.
    if (utf8.size() >= 2 * Value.size()) {
        WriteValue(vaWString);
        WriteLen32(FStream, static_cast<std::uint32_t>(Value.size()));
        for (QChar ch : Value) {
            const char16_t u = ch.unicode();
            Byte b[2] = {Byte(u & 0xFF), Byte(u >> 8)};
            Bytes(b, 2);
        }
        return;
    }
    WriteValue(vaUTF8String);
    WriteLen32(FStream, static_cast<std::uint32_t>(utf8.size()));
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
    WriteLen32(FStream, static_cast<std::uint32_t>(Data.size()));
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

TFilerReader::TFilerReader(TStream *Stream) : FStream(Stream), FEnd(Stream->Size()) {}

void TFilerReader::Error() { throw EReadError(QStringLiteral("Invalid stream format")); }

void TFilerReader::Bytes(void *Data, int Count)
{
    if (Count < 0 || FEnd - FStream->Position() < Count)
        Error();
    FStream->ReadBuffer(Data, Count);
}

int TFilerReader::ReadLength(int Unit)
{
    Byte b[4];
    Bytes(b, 4);
    const std::uint32_t n = std::uint32_t(b[0]) | std::uint32_t(b[1]) << 8 | std::uint32_t(b[2]) << 16 | std::uint32_t(b[3]) << 24;
    // Checked against what remains before any buffer is made for it.
    if (static_cast<Int64>(n) * Unit > FEnd - FStream->Position())
        Error();
    return static_cast<int>(n);
}

void TFilerReader::ReadSignature()
{
    char sig[4];
    Bytes(sig, 4);
    if (std::memcmp(sig, "TPF0", 4) != 0)
        Error();
}

UnicodeString TFilerReader::ReadStr()
{
    Byte n = 0;
    Bytes(&n, 1);
    QByteArray b(n, Qt::Uninitialized);
    Bytes(b.data(), n);
    return QString::fromUtf8(b);
}

TValueType TFilerReader::ReadValue()
{
    Byte b = 0;
    Bytes(&b, 1);
    return static_cast<TValueType>(b);
}

TValueType TFilerReader::NextValue()
{
    const TValueType v = ReadValue();
    FStream->Seek(-1, soCurrent);
    return v;
}

bool TFilerReader::EndOfList() { return NextValue() == vaNull; }

void TFilerReader::ReadListEnd()
{
    if (ReadValue() != vaNull)
        Error();
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
        Byte n = 0;
        Bytes(&n, 1);
        QByteArray b(n, Qt::Uninitialized);
        Bytes(b.data(), n);
        v.Text = QString::fromLatin1(b);
        break;
    }
    case vaLString:
    case vaUTF8String: {
        const int n = ReadLength(1);
        QByteArray b(n, Qt::Uninitialized);
        Bytes(b.data(), n);
        v.Text = v.Type == vaLString ? QString::fromLatin1(b) : QString::fromUtf8(b);
        break;
    }
    case vaWString: {
        const int n = ReadLength(2);
        QByteArray b(qsizetype(n) * 2, Qt::Uninitialized);
        Bytes(b.data(), n * 2);
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
