#pragma once
// Free routines of the grid library that classify, convert and match cell texts. None keeps state
// between calls; the locale dependent ones read FormatSettings at each call, so a change of the
// settings takes effect at once.
//
// Characters are UTF-16 code units and positions are 1-based, as everywhere in the grid code.
// The drawing routines of the same library live in ExtGridDraw.h.

#include "platform/Graphics.h"
#include "platform/SysUtils.h"
#include "platform/System.h"
#include "platform/Types.h"

#include <QChar>
#include <QStringView>

#include <vector>

class TStrings;
struct TGridRect;

// ---------------------------------------------------------------------------------------------
// Locale

QChar LocaleDecimalSeparator();
QChar LocaleThousandSeparator();
QChar LocaleDateSeparator();
QChar LocaleTimeSeparator();
UnicodeString LocaleShortDateFormat();

// ---------------------------------------------------------------------------------------------
// Classification

// What a cell holds: 0 plain, 1 mini-HTML (only looked for when DetectHTML is set), 2 RTF,
// 3 formula, 5 wide-encoded. A wide-encoded text whose first character is "=" is a formula too.
int CellTextKind(const UnicodeString &Text, bool DetectHTML);

// 0 integer, 1 decimal number in the locale's format, 2 not a number, 5 number with exponent.
int NumberKindOf(const UnicodeString &Text);

bool CharIsDigit(QChar Ch);
bool IsDigitOrMinus(QChar Ch);
// A digit, the locale's thousand or decimal separator, "e" or "E".
bool IsNumberChar(QChar Ch);
// A digit, "-", ".", "e", "E" or "+": what may stand in a number text once it uses ".".
bool IsNumberTextChar(QChar Ch);
// An IsNumberChar character, "+" or "-".
bool IsFloatChar(QChar Ch);

// The text holds "://" or "mailto:" (case-sensitive).
bool IsLinkText(const UnicodeString &Text);

// ---------------------------------------------------------------------------------------------
// Conversion

// The number in a text as a plain number text with "." as decimal point: "(1.234,50 EUR)" with
// thousand separator "." and decimal separator "," gives "-1234.50". Leading characters that
// cannot start a number are dropped (a "-" among them makes the number negative), and the copy
// ends at the first character that cannot belong to a number.
UnicodeString ExtractNumberText(const UnicodeString &Text);

// Six upper-case hexadecimal digits RRGGBB of a 0x00BBGGRR colour value.
UnicodeString ColorToHtmlHex(TColor Color);

// Wide cell texts travel through channels that keep only 8-bit characters as "|\" followed by two
// characters per UTF-16 code unit, high byte first. Decoding a text without the prefix gives it
// back unchanged; an odd last character is ignored, and only the low byte of each character counts.
UnicodeString DecodeWideCellText(const UnicodeString &Text);
UnicodeString EncodeWideCellText(const UnicodeString &Text);

// In place, through the OEM code page 437: after StringToOem each character holds one OEM byte
// (0..255); OemToString turns such a text back.
void StringToOem(UnicodeString &Text);
void OemToString(UnicodeString &Text);

// Capitalises each word of a name and lower-cases the rest, keeping "Mc" prefixes and the roman
// endings " I", " II": "ronald mcintosh" gives "Ronald McIntosh", "henry iii" "Henry III".
UnicodeString ProperCaseName(const UnicodeString &Text);

// When the text holds Prefix (given in upper case, matched without regard to case): Destination
// becomes the text with "<" and ">" escaped and the address starting at Prefix made into an
// anchor; answers True. Otherwise answers False and leaves Destination alone.
bool LinkifyUrl(const UnicodeString &Text, const UnicodeString &Prefix, UnicodeString &Destination);

// Wraps an HTML fragment, in place, in the clipboard's "HTML Format" header and document frame.
// The offsets in the header count characters, so they are right only when the result is written
// to the clipboard in a one-byte code page (Latin-1 / cp1252) - never as UTF-8.
void WrapClipboardHtml(UnicodeString &Html);

// ---------------------------------------------------------------------------------------------
// Line breaks and quoting (CR is character 13, LF character 10)

// Every CR becomes "<br>".
UnicodeString CRToHtmlBreak(const UnicodeString &Text);
// Every CR becomes the two characters "\n"; LFs are dropped. UnescapeLineBreaks turns "\n" back
// into CR only, so CR LF comes back as CR.
UnicodeString EscapeLineBreaks(const UnicodeString &Text);
UnicodeString UnescapeLineBreaks(const UnicodeString &Text);
// Every CR LF becomes character 11, then the text is wrapped in double quotes.
void QuoteMultilineField(UnicodeString &Text);
// Every character 11 becomes CR LF.
void VTToLineBreaks(UnicodeString &Text);
// The CR of every CR LF is removed.
void DropCRFromCRLF(UnicodeString &Text);
// Every line break (CR LF, CR or LF) becomes "~".
void LineBreaksToTilde(UnicodeString &Text);
// Every "~" becomes CR LF; a text that is exactly "^" becomes empty.
void TildeToLineBreaks(UnicodeString &Text);
UnicodeString RemoveCR(const UnicodeString &Text);
UnicodeString CRToLF(const UnicodeString &Text);
// One-line storage of a multi-line text: only a text holding a CR is packed (CR to 9, LF to 8,
// 0 to 1), and only a text holding character 8 is unpacked. A text with CRs but no LF therefore
// does not come back: stored files rely on that.
UnicodeString PackLineBreaks(const UnicodeString &Text);
// Unpacks, then gives the whole text or (Whole off) its first line.
UnicodeString UnpackLineBreaks(const UnicodeString &Text, bool Whole);
// Answers the part of Source before its first CR and takes it, the CR and one following LF from
// Source; what remains stays in Source only with KeepRest. Without a CR, answers all of Source
// and empties it.
UnicodeString TakeFirstLine(UnicodeString &Source, bool KeepRest);
// 1 + the number of CRs when MultiLine, else 1.
int CountTextLines(const UnicodeString &Text, bool MultiLine);
// Every double quote doubled.
UnicodeString DoubleQuoteChars(const UnicodeString &Text);
// Every pair of Ch made single.
UnicodeString UndoubleChar(QChar Ch, const UnicodeString &Text);

// ---------------------------------------------------------------------------------------------
// String and integer helpers

// Position of Sub in the upper-cased Text; Sub itself is taken as it is.
int PosUpperCased(const UnicodeString &Sub, const UnicodeString &Text);
// Position of Sub in Text (0 when absent), also written to P.
int PosStore(const UnicodeString &Sub, const UnicodeString &Text, int &P);
// First position of Ch, 0 when absent; the Var form also writes a found position to P.
int CharIndexOf(QChar Ch, const UnicodeString &Text);
int CharIndexOfVar(QChar Ch, const UnicodeString &Text, int &P);
// Answers the part of Source before the first Delimiter and removes it and the Delimiter from
// Source; answers an empty text and leaves Source alone when there is no Delimiter.
UnicodeString CutFirstToken(UnicodeString &Source, const UnicodeString &Delimiter);
// All lines of the list joined without separators.
UnicodeString ConcatStrings(TStrings *List);
// In place: every character replaced by Ch.
void FillStringChar(UnicodeString &Text, QChar Ch);
int CountCharOccurrences(QChar Ch, const UnicodeString &Text);
// End of the first run of Ch of odd length (a doubled Ch is an escaped one), also written to P;
// 0 when none. A Ch in the last position ends the search there.
int OddRunEndPos(QChar Ch, const UnicodeString &Text, int &P);
// How many such runs follow each other when the text is cut after each one found.
int CountUndoubledChar(QChar Ch, const UnicodeString &Text);
// In place, and also answered: removes everything up to and including the first "://", or else
// up to and including the first "mailto:".
UnicodeString StripLinkScheme(UnicodeString &Text);
// "R12C3" (any case) gives Cell = (3, 12), that is column then row. False, Cell untouched, for
// anything else.
bool ParseRCReference(const UnicodeString &Text, TPoint &Cell);
// Col and Row inside the rectangle, bounds included.
bool GridRectContains(const TGridRect &Rect, int Col, int Row);
// Low = High gives Value; otherwise a limit above 0 is applied (High wins when both apply).
int ClampToLimits(int Value, int Low, int High);
int IntMax(int A, int B);
int IntMin(int A, int B);
int WideStringPos(const UnicodeString &Sub, const UnicodeString &Text);

// ---------------------------------------------------------------------------------------------
// Filter conditions

// True when Value satisfies Condition. Operands are joined by "&" (and), or "|", ";" and "^" (or),
// strictly from left to right; "(...)" groups; blanks outside double quotes do not count and a
// leading "=" is ignored. A "(" without its ")" groups up to the end of the condition. Every
// condition ends, however it is written; groups nested deeper than the evaluator keeps track of
// are matched as one operand.
bool MatchFilterExpression(const UnicodeString &Condition, const UnicodeString &Value, bool CaseSensitive);
// A condition read once and matched against many values, with the results MatchFilterExpression
// gives for each. The value is taken as it is (no trimming); its upper-casing is done without a
// copy where the value is plain ASCII and every operand a wildcard pattern.
class TFilterCondition {
public:
    TFilterCondition(const UnicodeString &Condition, bool CaseSensitive);
    bool Match(QStringView Value) const;
    // Match of a text the caller knows to hold ASCII characters only (all below 128).
    bool MatchAscii(QStringView Value) const;
    // For a condition that is one "*text*" search without case, with text of ASCII characters:
    // the text upper-cased, which a text of ASCII characters matches when it holds it with a..z
    // taken as A..Z. Null for any other condition.
    const UnicodeString *AsciiSearch() const;

private:
    struct TOperand {
        UnicodeString Folded;   // the operand, upper-cased unless case-sensitive
        UnicodeString Wildcard; // its wildcard form, for an operand without comparisons
        // For a wildcard form "*text*" with text of ASCII characters and no wildcard: the text.
        UnicodeString Contained;
        bool Plain = true;
    };
    // A step is an operand (Group < 0) or a group, and the operator found after it.
    struct TStep {
        int Operand = -1;
        int Group = -1;
        QChar Op;
    };
    struct TGroup {
        std::vector<TStep> Steps;
        int Last = -1;
    };
    int Parse(const UnicodeString &Text, const std::vector<qsizetype> &Close, qsizetype Begin, qsizetype End, int Depth);
    int AddOperand(const UnicodeString &Operand);
    bool Eval(int Group, QStringView Value, bool FoldAscii, const UnicodeString *Folded) const;
    bool EvalOperand(int Operand, QStringView Value, bool FoldAscii, const UnicodeString *Folded) const;
    bool FCaseSensitive;
    bool FAllPlain = true;
    // The operand when the whole condition is one "*text*" search, else -1.
    int FSole = -1;
    std::vector<TOperand> FOperands;
    std::vector<TGroup> FGroups;
};

// MatchPattern of both texts, upper-cased with the locale's rules unless CaseSensitive.
bool MatchFilterOperand(const UnicodeString &Operand, const UnicodeString &Value, bool CaseSensitive);
// One operand: ">x", ">=x", "<x", "<=x" compare (as numbers, dates or texts), "!" negates, "*" and
// "?" are wildcards, double quotes only quote. A comparand in double quotes may hold blanks.
bool MatchPattern(const UnicodeString &Pattern, const UnicodeString &Value);
// The first character of Text from OperatorSet outside double quotes, with its position in
// Position; character 0 and -1 when there is none.
QChar FindOperatorOutsideQuotes(const UnicodeString &OperatorSet, const UnicodeString &Text, int &Position);
UnicodeString StripSpacesOutsideQuotes(const UnicodeString &Text);
// Position of the first ")" at which as many ")" as "(" were seen; 0 when none.
int MatchingParenPos(const UnicodeString &Text);
// The locale's decimal separator becomes ".", its thousand separators go.
UnicodeString LocaleNumberToDotText(const UnicodeString &Text);

// ---------------------------------------------------------------------------------------------
// Date texts

// A date in the order of the locale's short date format, with the locale's date separator,
// optionally followed by a blank and a time "h:m" or "h:m:s". Never raises.
bool LocaleTextToDateTime(const UnicodeString &Text, TDateTime &Value);
// Month/day/year and day/month/year texts separated by "/", "." or "-". The year always gets a
// century: 2000 below 26, else 1900 - also a four-digit one, so such dates only compare with each
// other. 0 when the text is no such date; EConvertError for an impossible one.
TDateTime DateFromUSText(const UnicodeString &Text);
TDateTime DateFromEUText(const UnicodeString &Text);
// The next date of a series whose first two dates differ by Years, Months and Days (their
// distance in days being Difference). Steps of whole years or months keep the day and raise
// EConvertError where that day does not exist.
TDateTime StepDate(int Years, int Months, int Days, TDateTime Date, double Difference);
// The locale's date separator stands at position 2 or later and again, after it, at position 2 or
// later of the rest.
bool LooksLikeDate(const UnicodeString &Text);
