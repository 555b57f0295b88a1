#include "platform/Encoding.h"

#include <QStringDecoder>
#include <array>
#include <unordered_map>

namespace {

// Upper halves of the two single-byte code pages. The five bytes that Windows-1252 leaves
// undefined map to the C1 control with the same number, as the system's own conversion does,
// so that any byte sequence survives a round trip.
constexpr std::array<char16_t, 128> Cp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
    0x00A0, 0x00A1, 0x00A2, 0x00A3, 0x00A4, 0x00A5, 0x00A6, 0x00A7, 0x00A8, 0x00A9, 0x00AA, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x00AF,
    0x00B0, 0x00B1, 0x00B2, 0x00B3, 0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x00B9, 0x00BA, 0x00BB, 0x00BC, 0x00BD, 0x00BE, 0x00BF,
    0x00C0, 0x00C1, 0x00C2, 0x00C3, 0x00C4, 0x00C5, 0x00C6, 0x00C7, 0x00C8, 0x00C9, 0x00CA, 0x00CB, 0x00CC, 0x00CD, 0x00CE, 0x00CF,
    0x00D0, 0x00D1, 0x00D2, 0x00D3, 0x00D4, 0x00D5, 0x00D6, 0x00D7, 0x00D8, 0x00D9, 0x00DA, 0x00DB, 0x00DC, 0x00DD, 0x00DE, 0x00DF,
    0x00E0, 0x00E1, 0x00E2, 0x00E3, 0x00E4, 0x00E5, 0x00E6, 0x00E7, 0x00E8, 0x00E9, 0x00EA, 0x00EB, 0x00EC, 0x00ED, 0x00EE, 0x00EF,
    0x00F0, 0x00F1, 0x00F2, 0x00F3, 0x00F4, 0x00F5, 0x00F6, 0x00F7, 0x00F8, 0x00F9, 0x00FA, 0x00FB, 0x00FC, 0x00FD, 0x00FE, 0x00FF,
};

constexpr std::array<char16_t, 128> Cp437High = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5,
    0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9, 0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192,
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA, 0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556, 0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510,
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F, 0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567,
    0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B, 0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,
    0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4, 0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229,
    0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248, 0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0,
};

class TSingleByteTable {
public:
    explicit TSingleByteTable(const std::array<char16_t, 128> &high) : FHigh(high)
    {
        for (int i = 0; i < 128; ++i)
            FReverse.emplace(high[i], static_cast<char>(0x80 + i));
    }

    UnicodeString Decode(const QByteArray &bytes) const
    {
        // The lower half is ASCII in both tables: widened at once, then the upper half mapped.
        UnicodeString s = QString::fromLatin1(bytes);
        char16_t *out = reinterpret_cast<char16_t *>(s.data());
        for (qsizetype i = 0; i < s.size(); ++i)
            if (out[i] >= 0x80)
                out[i] = FHigh[out[i] - 0x80];
        return s;
    }

    QByteArray Encode(const UnicodeString &s) const
    {
        // One byte per character at most: written in place, the output cut to what was made.
        QByteArray bytes(s.size(), Qt::Uninitialized);
        char *out = bytes.data();
        const char16_t *in = reinterpret_cast<const char16_t *>(s.constData());
        const qsizetype n = s.size();
        qsizetype k = 0;
        for (qsizetype i = 0; i < n; ++i) {
            const char16_t c = in[i];
            if (c < 0x80) {
                out[k++] = static_cast<char>(c);
                continue;
            }
            if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(in[i + 1]))
                ++i; // one character outside the plane, one "?"
            const auto it = FReverse.find(c);
            out[k++] = it != FReverse.end() ? it->second : '?';
        }
        bytes.truncate(k);
        return bytes;
    }

private:
    const std::array<char16_t, 128> &FHigh;
    std::unordered_map<char16_t, char> FReverse;
};

const TSingleByteTable &Table1252()
{
    static const TSingleByteTable table(Cp1252High);
    return table;
}

const TSingleByteTable &Table437()
{
    static const TSingleByteTable table(Cp437High);
    return table;
}

QByteArray Utf16Bytes(const UnicodeString &s, bool bigEndian)
{
    QByteArray bytes(s.size() * 2, Qt::Uninitialized);
    char *out = bytes.data();
    const char16_t *in = reinterpret_cast<const char16_t *>(s.constData());
    for (qsizetype i = 0; i < s.size(); ++i) {
        const char16_t u = in[i];
        const char lo = static_cast<char>(u & 0xFF), hi = static_cast<char>(u >> 8);
        out[2 * i] = bigEndian ? hi : lo;
        out[2 * i + 1] = bigEndian ? lo : hi;
    }
    return bytes;
}

UnicodeString Utf16String(const QByteArray &bytes, bool bigEndian)
{
    // A byte-order mark is the caller's business (GetBufferEncoding), so a mark left in the
    // bytes stays in the text.
    QStringDecoder decoder(bigEndian ? QStringConverter::Utf16BE : QStringConverter::Utf16LE,
                           QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    UnicodeString s = decoder.decode(bytes);
    if (bytes.size() % 2 != 0 && (s.isEmpty() || s.back() != QChar::ReplacementCharacter))
        s.append(QChar::ReplacementCharacter);
    return s;
}

} // namespace

TEncoding *TEncoding::UTF8()
{
    static TEncoding e(TKind::UTF8);
    return &e;
}

TEncoding *TEncoding::Unicode()
{
    static TEncoding e(TKind::UTF16LE);
    return &e;
}

TEncoding *TEncoding::BigEndianUnicode()
{
    static TEncoding e(TKind::UTF16BE);
    return &e;
}

TEncoding *TEncoding::ANSI()
{
    static TEncoding e(TKind::CP1252);
    return &e;
}

TEncoding *TEncoding::OEM()
{
    static TEncoding e(TKind::CP437);
    return &e;
}

TEncoding *TEncoding::Latin1()
{
    static TEncoding e(TKind::Latin1);
    return &e;
}

TEncoding *TEncoding::Default()
{
    return ANSI();
}

TEncoding *TEncoding::GetEncoding(int CodePage)
{
    switch (CodePage) {
    case 65001: return UTF8();
    case 1200: return Unicode();
    case 1201: return BigEndianUnicode();
    case 1252: return ANSI();
    case 437: return OEM();
    case 28591: return Latin1();
    default: return nullptr;
    }
}

int TEncoding::CodePage() const
{
    switch (FKind) {
    case TKind::UTF8: return 65001;
    case TKind::UTF16LE: return 1200;
    case TKind::UTF16BE: return 1201;
    case TKind::CP1252: return 1252;
    case TKind::CP437: return 437;
    case TKind::Latin1: return 28591;
    }
    return 0;
}

bool TEncoding::IsUnicode() const
{
    return FKind == TKind::UTF8 || FKind == TKind::UTF16LE || FKind == TKind::UTF16BE;
}

QByteArray TEncoding::GetPreamble() const
{
    switch (FKind) {
    case TKind::UTF8: return QByteArray("\xEF\xBB\xBF", 3);
    case TKind::UTF16LE: return QByteArray("\xFF\xFE", 2);
    case TKind::UTF16BE: return QByteArray("\xFE\xFF", 2);
    default: return QByteArray();
    }
}

QByteArray TEncoding::GetBytes(const UnicodeString &S) const
{
    switch (FKind) {
    case TKind::UTF8: return S.toUtf8();
    case TKind::UTF16LE: return Utf16Bytes(S, false);
    case TKind::UTF16BE: return Utf16Bytes(S, true);
    case TKind::CP1252: return Table1252().Encode(S);
    case TKind::CP437: return Table437().Encode(S);
    case TKind::Latin1: {
        QByteArray bytes(S.size(), Qt::Uninitialized);
        char *out = bytes.data();
        const char16_t *in = reinterpret_cast<const char16_t *>(S.constData());
        qsizetype k = 0;
        for (qsizetype i = 0; i < S.size(); ++i) {
            const char16_t c = in[i];
            if (QChar::isHighSurrogate(c) && i + 1 < S.size() && QChar::isLowSurrogate(in[i + 1]))
                ++i;
            out[k++] = c < 0x100 ? static_cast<char>(c) : '?';
        }
        bytes.truncate(k);
        return bytes;
    }
    }
    return QByteArray();
}

UnicodeString TEncoding::GetString(const QByteArray &Bytes) const
{
    switch (FKind) {
    case TKind::UTF8: {
        // Qt drops a byte-order mark at the start; as for UTF-16, a mark left in the bytes is
        // text (a file's own mark is the caller's business, GetBufferEncoding).
        qsizetype marks = 0;
        while (Bytes.size() >= (marks + 1) * 3 && Bytes.sliced(marks * 3, 3) == QByteArrayView("\xEF\xBB\xBF"))
            ++marks;
        if (marks == 0)
            return QString::fromUtf8(Bytes);
        return QString(marks, QChar(0xFEFF)) + QString::fromUtf8(Bytes.sliced(marks * 3));
    }
    case TKind::UTF16LE: return Utf16String(Bytes, false);
    case TKind::UTF16BE: return Utf16String(Bytes, true);
    case TKind::CP1252: return Table1252().Decode(Bytes);
    case TKind::CP437: return Table437().Decode(Bytes);
    case TKind::Latin1: return QString::fromLatin1(Bytes);
    }
    return UnicodeString();
}

int TEncoding::GetBufferEncoding(const QByteArray &Buf, TEncoding *&Enc)
{
    if (Enc) {
        const QByteArray preamble = Enc->GetPreamble();
        return !preamble.isEmpty() && Buf.startsWith(preamble) ? static_cast<int>(preamble.size()) : 0;
    }
    for (TEncoding *candidate : {UTF8(), Unicode(), BigEndianUnicode()}) {
        const QByteArray preamble = candidate->GetPreamble();
        if (Buf.startsWith(preamble)) {
            Enc = candidate;
            return static_cast<int>(preamble.size());
        }
    }
    Enc = Default();
    return 0;
}

UnicodeString OemToChar(const QByteArray &Oem)
{
    return TEncoding::OEM()->GetString(Oem);
}

QByteArray CharToOem(const UnicodeString &S)
{
    return TEncoding::OEM()->GetBytes(S);
}
