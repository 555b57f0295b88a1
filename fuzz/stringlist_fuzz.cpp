// String lists from outside text: a stream in any encoding (byte-order marks, the UTF encodings,
// the ANSI and OEM code pages), comma text and delimited text with a delimiter and quote chosen
// by the input. What a list writes must read back as the same list.
//
// Input: one byte of options (bits 0-2 the encoding given to the load, bit 3 StrictDelimiter,
// bit 4 a sorted list, bit 5 the OEM code page for the raw text), the delimiter, the quote
// character, then the text.
#include "support/FuzzSupport.h"

#include "platform/Classes.h"
#include "platform/Encoding.h"

namespace {

TEncoding *EncodingOf(int Choice)
{
    switch (Choice) {
    case 1: return TEncoding::UTF8();
    case 2: return TEncoding::Unicode();
    case 3: return TEncoding::BigEndianUnicode();
    case 4: return TEncoding::ANSI();
    case 5: return TEncoding::OEM();
    case 6: return TEncoding::Latin1();
    default: return nullptr;
    }
}

// Item separators and quotes that the delimited form can carry: a blank or a control character
// as delimiter is also a separator of its own without StrictDelimiter, so such lists cannot
// come back unchanged.
bool RoundTrips(QChar Delim, QChar Quote)
{
    return Delim != Quote && Delim > QLatin1Char(' ') && Quote > QLatin1Char(' ') && !Delim.isSurrogate() && !Quote.isSurrogate();
}

void CheckDelimited(TStringList &List, QChar Delim, QChar Quote, bool Strict)
{
    TStringList Copy;
    Copy.SetStrictDelimiter(List.StrictDelimiter());
    Copy.SetCommaText(List.CommaText());
    if (!Copy.Equals(&List))
        Fuzz::CheckSame(Copy.Text(), List.Text(), "comma text does not read back as the same list");
    Fuzz::Check(Copy.Equals(&List), "comma text does not read back as the same list");

    TStringList Other;
    Other.SetDelimiter(Delim);
    Other.SetQuoteChar(Quote);
    Other.SetStrictDelimiter(Strict);
    List.SetDelimiter(Delim);
    List.SetQuoteChar(Quote);
    List.SetStrictDelimiter(Strict);
    const UnicodeString Text = List.DelimitedText();
    Other.SetDelimitedText(Text);
    if (RoundTrips(Delim, Quote) && !Other.Equals(&List))
        Fuzz::CheckSame(Other.Text(), List.Text(), "delimited text does not read back as the same list");
    if (RoundTrips(Delim, Quote))
        Fuzz::Check(Other.Equals(&List), "delimited text does not read back as the same list");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    if (Size < 3)
        return 0;
    const int Options = Data[0];
    const QChar Delim = QLatin1Char(static_cast<char>(Data[1]));
    const QChar Quote = QLatin1Char(static_cast<char>(Data[2]));
    const bool Strict = Options & 8;
    const QByteArray Bytes = Fuzz::Bytes(Data + 3, Size - 3);

    // The stream as a file would give it.
    TStringList Lines;
    {
        TBytesStream Stream(Bytes);
        Lines.LoadFromStream(&Stream, EncodingOf(Options & 7));
    }
    Fuzz::Check(Lines.Encoding() != nullptr, "a loaded list knows no encoding");
    {
        TBytesStream Out;
        Lines.SaveToStream(&Out);
        Out.SetPosition(0);
        TStringList Again;
        Again.LoadFromStream(&Out, Lines.Encoding());
        Fuzz::Check(Again.Equals(&Lines), "a saved list does not load back the same");
    }
    for (int i = 0; i < Lines.Count() && i < 64; ++i) {
        (void)Lines.Names(i);
        (void)Lines.ValueFromIndex(i);
        Fuzz::Check(Lines.IndexOf(Lines.Strings(i)) >= 0, "a line is not found in its list");
    }
    CheckDelimited(Lines, Delim, Quote, Strict);

    // The raw text as comma and delimited text, as pasted or typed text reaches a list.
    const UnicodeString Raw = (Options & 32) ? TEncoding::OEM()->GetString(Bytes) : QString::fromUtf8(Bytes);
    TStringList Items;
    if (Options & 16) {
        Items.SetSorted(true);
        Items.SetDuplicates(dupIgnore);
    }
    Items.SetCommaText(Raw);
    TStringList Plain;
    Plain.Assign(&Items);
    CheckDelimited(Plain, Delim, Quote, Strict);

    Items.SetDelimiter(Delim);
    Items.SetQuoteChar(Quote);
    Items.SetStrictDelimiter(Strict);
    Items.SetDelimitedText(Raw);
    Plain.Assign(&Items);
    CheckDelimited(Plain, Delim, Quote, Strict);
    return 0;
}
