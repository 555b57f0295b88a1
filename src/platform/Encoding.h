#pragma once
// Text encodings and code pages: UTF-8, UTF-16 in both byte orders, the ANSI code page
// (Windows-1252, fixed so that files read the same on every machine) and the OEM code page (437).

#include "platform/System.h"

class TEncoding {
public:
    enum class TKind { UTF8, UTF16LE, UTF16BE, CP1252, CP437, Latin1 };

    // Process-lifetime instances; never delete them.
    static TEncoding *UTF8();
    static TEncoding *Unicode();          // UTF-16 little endian
    static TEncoding *BigEndianUnicode(); // UTF-16 big endian
    static TEncoding *ANSI();             // Windows-1252
    static TEncoding *OEM();              // code page 437
    static TEncoding *Latin1();           // ISO-8859-1, for documents that declare it
    static TEncoding *Default();          // the ANSI code page
    // The encoding for a code page number (65001, 1200, 1201, 1252, 437, 28591), else nullptr.
    static TEncoding *GetEncoding(int CodePage);

    TKind Kind() const { return FKind; }
    int CodePage() const;
    // True for the UTF encodings, which carry a byte-order mark when written by the system.
    bool IsUnicode() const;
    // The byte-order mark of this encoding; empty for the single-byte code pages.
    QByteArray GetPreamble() const;
    // Characters a code page cannot represent become "?".
    QByteArray GetBytes(const UnicodeString &S) const;
    // Bytes that are not valid in the encoding become U+FFFD (UTF) or are mapped one to one
    // (single-byte code pages map every byte to some character).
    UnicodeString GetString(const QByteArray &Bytes) const;

    // When Enc is null: detects a UTF-8, UTF-16LE or UTF-16BE byte-order mark at the start of
    // Buf, sets Enc to that encoding (ANSI when there is none) and returns the mark's length
    // (0 without a mark). When Enc is given: returns the length of its preamble when Buf starts
    // with it, else 0.
    static int GetBufferEncoding(const QByteArray &Buf, TEncoding *&Enc);

    TEncoding(const TEncoding &) = delete;
    TEncoding &operator=(const TEncoding &) = delete;

private:
    explicit TEncoding(TKind Kind) : FKind(Kind) {}
    TKind FKind;
};

// The classic character conversions between the ANSI world (our Unicode strings) and the OEM
// code page 437; characters 437 cannot represent become "?".
UnicodeString OemToChar(const QByteArray &Oem);
QByteArray CharToOem(const UnicodeString &S);
